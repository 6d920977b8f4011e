// How the three commands tell the user ending a pick or a selection from a
// fault, on AutoCAD and on a compatible CAD that reports the ending under a
// number of its own.
#include <gtest/gtest.h>

#include <functional>

#include "cad/command.h"
#include "nodes/commands.h"
#include "tests/support/drawing_session.h"

namespace tendra {
namespace {

using testing::DrawingSession;
using testing::kUnknownError;
using testing::ShownMessage;

constexpr std::int32_t kOwnNumber = -2147220991;  // 0x80040201, no number AutoCAD uses

enum class Command { Origin, Picking, Polyline };
enum class Cad { AutoCad, Compatible };

struct EndingCase {
    const char* name;
    Command command;
    Cad cad;
    const char* failing;  // the member whose last call fails
    std::int32_t number;
    bool followUpFails;  // the CAD answers nothing after the failure
    bool ended;          // taken as the user's ending
    int captionReads;    // Caption reads after the failure
};

void PrintTo(const EndingCase& c, std::ostream* out) {
    *out << c.name;
}

const EndingCase kCases[] = {
    {"OriginEFailEndsOnAutoCad", Command::Origin, Cad::AutoCad, "GetPoint", cad::kEFail, false,
     true, 0},
    {"OriginOwnNumberIsAFaultOnAutoCad", Command::Origin, Cad::AutoCad, "GetPoint", kOwnNumber,
     false, false, 0},
    {"OriginTakes80210020AsACompatibleCadsOwnNumber", Command::Origin, Cad::Compatible, "GetPoint",
     cad::kInputEnded, false, true, 1},
    {"OriginEFailEndsOnACompatibleCadWithoutAFollowUpRead", Command::Origin, Cad::Compatible,
     "GetPoint", cad::kEFail, false, true, 0},
    {"OriginOwnNumberEndsOnACompatibleCadThatAnswers", Command::Origin, Cad::Compatible, "GetPoint",
     kOwnNumber, false, true, 1},
    {"OriginOwnNumberIsAFaultOnACompatibleCadThatStoppedAnswering", Command::Origin,
     Cad::Compatible, "GetPoint", kOwnNumber, true, false, 1},
    {"OriginMarkerFailureIsAFaultOnACompatibleCadThatAnswers", Command::Origin, Cad::Compatible,
     "AddPoint", kOwnNumber, false, false, 0},

    {"PickingInputEndedWritesTheTableOnAutoCad", Command::Picking, Cad::AutoCad, "GetPoint",
     cad::kInputEnded, false, true, 0},
    {"PickingOwnNumberIsAFaultOnAutoCad", Command::Picking, Cad::AutoCad, "GetPoint", kOwnNumber,
     false, false, 0},
    {"PickingInputEndedWritesTheTableOnACompatibleCadWithoutAFollowUpRead", Command::Picking,
     Cad::Compatible, "GetPoint", cad::kInputEnded, false, true, 0},
    {"PickingOwnNumberWritesTheTableOnACompatibleCadThatAnswers", Command::Picking, Cad::Compatible,
     "GetPoint", kOwnNumber, false, true, 1},
    {"PickingOwnNumberIsAFaultOnACompatibleCadThatStoppedAnswering", Command::Picking,
     Cad::Compatible, "GetPoint", kOwnNumber, true, false, 1},
    {"PickingMarkerFailureIsAFaultOnACompatibleCadThatAnswers", Command::Picking, Cad::Compatible,
     "AddPoint", kOwnNumber, false, false, 0},

    {"SelectionEFailEndsQuietlyOnAutoCad", Command::Polyline, Cad::AutoCad, "SelectOnScreen",
     cad::kEFail, false, true, 0},
    {"SelectionOwnNumberIsAFaultOnAutoCad", Command::Polyline, Cad::AutoCad, "SelectOnScreen",
     kOwnNumber, false, false, 0},
    {"SelectionEFailEndsOnACompatibleCadWithoutAFollowUpRead", Command::Polyline, Cad::Compatible,
     "SelectOnScreen", cad::kEFail, false, true, 0},
    {"SelectionOwnNumberEndsQuietlyOnACompatibleCadThatAnswers", Command::Polyline, Cad::Compatible,
     "SelectOnScreen", kOwnNumber, false, true, 1},
    {"SelectionOwnNumberIsAFaultOnACompatibleCadThatStoppedAnswering", Command::Polyline,
     Cad::Compatible, "SelectOnScreen", kOwnNumber, true, false, 1},
};

// Origin (100, 50), two nodes picked or a polyline selected, then the input ends.
void prepare(DrawingSession& session, const EndingCase& c) {
    if (c.cad == Cad::Compatible) {
        session.cad.runningAs = {"ZWCAD.Application"};
    }
    session.startAt(100, 50);
    session.form.options[Option::Check1] = false;
    session.form.output = "old table";
    if (c.command == Command::Origin) {
        session.cad.queuePoint(10, 20);
    } else if (c.command == Command::Picking) {
        session.cad.queuePoint(110, 60);
        session.cad.queuePoint(120, 55);
    } else {
        session.cad.prepareSelection({testing::polyline({100, 50, 110, 60})});
    }
}

void run(DrawingSession& session, Command command) {
    if (command == Command::Origin) {
        session.commands.initialiseOrigin();
    } else if (command == Command::Picking) {
        session.commands.pickNodes();
    } else {
        session.commands.extractPolylineNodes();
    }
}

// The position, from 1, of the last call to this member in a run without failures.
int lastCallTo(const EndingCase& c) {
    DrawingSession rehearsal;
    prepare(rehearsal, c);
    run(rehearsal, c.command);
    int last = 0;
    for (std::size_t i = 0; i < rehearsal.cad.calls().size(); ++i) {
        if (rehearsal.cad.calls()[i].member == c.failing) {
            last = static_cast<int>(i) + 1;
        }
    }
    return last;
}

class InputEnding : public ::testing::TestWithParam<EndingCase> {};

TEST_P(InputEnding, EndsAsForEnterOnlyWhereTheCadAllowsIt) {
    const EndingCase& c = GetParam();
    const int failing = lastCallTo(c);
    ASSERT_GT(failing, 0) << "no call to " << c.failing;
    DrawingSession session;
    prepare(session, c);
    const std::size_t pointsBefore = session.cad.points().size();
    session.cad.failCall(failing, c.number);
    if (c.followUpFails) {
        session.cad.onCall = [&](const testing::Call& call) {
            if (call.failed && call.member == c.failing) {
                for (int k = 1; k <= 3; ++k) {
                    session.cad.failCall(k, -2147023174);  // RPC_S_SERVER_UNAVAILABLE
                }
            }
        };
    }

    EXPECT_NO_THROW(run(session, c.command));

    EXPECT_EQ(session.form.messages,
              c.ended ? std::vector<ShownMessage>{} : std::vector<ShownMessage>{kUnknownError});
    const auto& calls = session.cad.calls();
    ASSERT_GE(calls.size(), static_cast<std::size_t>(failing));
    int captionReads = 0;
    for (std::size_t i = static_cast<std::size_t>(failing); i < calls.size(); ++i) {
        if (calls[i].text() == "Application.Caption") {
            ++captionReads;
            EXPECT_EQ(calls[i].failed, c.followUpFails);
        }
    }
    EXPECT_EQ(captionReads, c.captionReads);
    if (c.command == Command::Origin) {
        // An ended pick keeps the previous origin; a failed marker leaves the new one.
        const bool picked = std::string(c.failing) != "GetPoint";
        EXPECT_EQ(session.form.output, "");
        EXPECT_EQ(session.cad.points().size(), pointsBefore);
        const cad::Point origin = picked ? cad::Point{10, 20, 0} : cad::Point{100, 50, 0};
        EXPECT_EQ(session.commands.origin(), origin);
    } else if (c.command == Command::Picking) {
        const bool twoNodes = std::string(c.failing) == "GetPoint";
        EXPECT_EQ(session.form.output,
                  c.ended ? "10.000\t10.000\t0\r\n20.000\t5.000\t0\r\n" : "old table");
        // The nodes picked before the ending join the marker group only with the table.
        const std::vector<int>* group = session.cad.group(DrawingSession::name(0));
        ASSERT_NE(group, nullptr);
        EXPECT_EQ(group->size(), c.ended ? 3u : 1u);
        EXPECT_EQ(session.cad.points().size() - pointsBefore, twoNodes ? 2u : 1u);
    } else {
        EXPECT_EQ(session.form.output, "old table");
        EXPECT_EQ(session.cad.points().size(), pointsBefore);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, InputEnding, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tendra
