// The main window's command state over the scripted CAD, for command tests:
//
//   DrawingSession session;
//   session.startAt(100, 50);        // a successful Command3, calls forgotten
//   session.cad.queuePoint(110, 60);
//   session.commands.pickNodes();
//   EXPECT_EQ(session.form.output, "10.000\t10.000\t0\r\n-10.000\t10.000\t0\r\n");
#pragma once

#include <string>

#include "cad/connection.h"
#include "cad/names.h"
#include "nodes/commands.h"
#include "tests/support/fake_form.h"
#include "tests/support/scripted_cad.h"

namespace tendra::testing {

struct DrawingSession {
    // The name maker's clock stands still, so the names it makes are known.
    static constexpr double kClock = 36000.25;

    ScriptedCad cad;
    FakeForm form{&cad};
    cad::NameMaker names{[] { return kClock; }};
    cad::Module1 module1{cad.platform(), form};
    DrawingCommands commands{module1, form, names};

    // The name the session's name maker hands out i-th, counted from 0.
    static std::string name(int i) {
        cad::NameMaker same([] { return kClock; });
        std::string result;
        for (int made = 0; made <= i; ++made) {
            result = same.next();
        }
        return result;
    }

    // A successful origin initialisation at (x, y); its calls and form log
    // are forgotten, so a test sees only what comes after.
    void startAt(double x, double y) {
        cad.queuePoint(x, y);
        commands.initialiseOrigin();
        cad.clearCalls();
        form.log.clear();
    }

    // The label under which the call log shows the marker group.
    std::string markerGroupLabel(int i) const { return "Group:" + name(i); }
};

}  // namespace tendra::testing
