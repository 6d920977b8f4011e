#include <gtest/gtest.h>

#include "cad/connection.h"
#include "tests/support/cad_errors.h"
#include "tests/support/fake_form.h"
#include "tests/support/scripted_cad.h"

namespace tendra {
namespace {

using testing::FakeForm;
using testing::ScriptedCad;
using testing::ShownMessage;
using Members = std::vector<std::string>;

// The connection over the scripted CAD, with the form that shows its message.
struct Connection {
    ScriptedCad cad;
    FakeForm form;
    cad::Module1 module1{cad.platform(), form};
};

const std::string kCaption = "AutoCAD 2004 - [桥梁.dwg]";
const ShownMessage kStartFailure{"Class not registered", kApplicationTitle, MessageIcon::None};

struct ConnectionCase {
    const char* name;
    bool running;
    bool installed;
    bool hasDocument;
    Members expectedCalls;
    int instancesStarted;
    std::vector<ShownMessage> messages;
};

void PrintTo(const ConnectionCase& c, std::ostream* os) {
    *os << c.name;
}

class ConnectionTest : public ::testing::TestWithParam<ConnectionCase> {};

TEST_P(ConnectionTest, FollowsTheStepsInOrder) {
    const auto& c = GetParam();
    Connection connection;
    ScriptedCad& cad = connection.cad;
    cad.running = c.running;
    cad.installed = c.installed;
    cad.hasDocument = c.hasDocument;
    cad.caption = kCaption;
    cad.startFailure = kStartFailure.text;

    connection.module1.connect();

    EXPECT_EQ(cad.members(), c.expectedCalls);
    EXPECT_EQ(cad.instancesStarted(), c.instancesStarted);
    EXPECT_EQ(connection.form.messages, c.messages);
    const bool reached = c.running || c.installed;
    EXPECT_EQ(connection.module1.application() != nullptr, reached);
    EXPECT_EQ(connection.module1.document() != nullptr, reached && c.hasDocument);
    EXPECT_EQ(cad.visible(), reached);
    // The window bearing the caption comes to the front, and no other.
    EXPECT_EQ(cad.activatedWindows(), reached ? Members{kCaption} : Members{});
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ConnectionTest,
    ::testing::Values(ConnectionCase{"AttachesToTheRunningCad",
                                     true,
                                     true,
                                     true,
                                     {"Platform.GetActiveObject", "Application.Visible",
                                      "Application.ActiveDocument", "Application.Caption",
                                      "Platform.AppActivate"},
                                     0,
                                     {}},
                      ConnectionCase{"StartsOneWhenNoneRuns",
                                     false,
                                     true,
                                     true,
                                     {"Platform.GetActiveObject", "Platform.CreateObject",
                                      "Application.Visible", "Application.ActiveDocument",
                                      "Application.Caption", "Platform.AppActivate"},
                                     1,
                                     {}},
                      ConnectionCase{"NeitherRunningNorInstalledShowsThePlatformsDescription",
                                     false,
                                     false,
                                     true,
                                     {"Platform.GetActiveObject", "Platform.CreateObject"},
                                     0,
                                     {kStartFailure}},
                      ConnectionCase{"NoDrawingOpenStillActivatesTheWindow",
                                     true,
                                     true,
                                     false,
                                     {"Platform.GetActiveObject", "Application.Visible",
                                      "Application.ActiveDocument", "Application.Caption",
                                      "Platform.AppActivate"},
                                     0,
                                     {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Connection, TwoCallsInARowKeepTheSameReferences) {
    Connection connection;
    cad::Module1& module1 = connection.module1;
    module1.connect();
    const auto application = module1.application();
    const auto document = module1.document();

    module1.connect();

    EXPECT_EQ(module1.application(), application);
    EXPECT_EQ(module1.document(), document);
    EXPECT_EQ(connection.cad.instancesStarted(), 0);
}

// Each step of a later connection fails in turn; the references it would
// have set keep their earlier values and the remaining steps still run.
TEST(Connection, AFailingStepKeepsThePreviousReferences) {
    for (int step = 1; step <= 5; ++step) {
        SCOPED_TRACE("failing call " + std::to_string(step));
        Connection connection;
        cad::Module1& module1 = connection.module1;
        module1.connect();
        const auto application = module1.application();
        const auto document = module1.document();
        connection.cad.clearCalls();

        connection.cad.failCall(step, -2147418113);
        module1.connect();

        EXPECT_EQ(module1.application(), application);
        EXPECT_EQ(module1.document(), document);
        EXPECT_TRUE(connection.form.messages.empty());
        // A failed attach falls back to starting; without a caption there is
        // no window to activate; every other step runs on.
        const std::size_t expected[] = {6, 5, 5, 4, 5};
        EXPECT_EQ(connection.cad.callCount(), expected[step - 1]);
    }
}

TEST(Connection, ReferencesNeverSetFailWithANumberNotAnEndedPrompt) {
    Connection connection;
    EXPECT_EQ(testing::errorOf([&] { connection.module1.requireDocument(); }), cad::kObjectNotSet);
    EXPECT_THROW(connection.module1.activateCadWindow(), cad::CadError);
}

}  // namespace
}  // namespace tendra
