#include <gtest/gtest.h>

#include "cad/connection.h"
#include "tests/support/fake_form.h"
#include "tests/support/scripted_cad.h"

namespace tendra {
namespace {

using testing::FakeForm;
using testing::ScriptedCad;
using Members = std::vector<std::string>;

struct ConnectionCase {
    const char* name;
    bool running;
    bool installed;
    bool hasDocument;
    Members expectedCalls;
    int instancesStarted;
    std::size_t messages;
};

void PrintTo(const ConnectionCase& c, std::ostream* os) { *os << c.name; }

class ConnectionTest : public ::testing::TestWithParam<ConnectionCase> {};

TEST_P(ConnectionTest, FollowsTheStepsInOrder) {
    const auto& c = GetParam();
    ScriptedCad cad;
    cad.running = c.running;
    cad.installed = c.installed;
    cad.hasDocument = c.hasDocument;
    FakeForm form;
    cad::Module1 module1(cad.platform(), form);

    module1.connect();

    EXPECT_EQ(cad.members(), c.expectedCalls);
    EXPECT_EQ(cad.instancesStarted(), c.instancesStarted);
    EXPECT_EQ(form.messages.size(), c.messages);
    const bool reached = c.running || c.installed;
    EXPECT_EQ(module1.application() != nullptr, reached);
    EXPECT_EQ(module1.document() != nullptr, reached && c.hasDocument);
    EXPECT_EQ(cad.visible(), reached);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ConnectionTest,
    ::testing::Values(
        ConnectionCase{"AttachesToTheRunningCad", true, true, true,
                       {"Platform.GetActiveObject", "Application.Visible",
                        "Application.ActiveDocument", "Application.Caption",
                        "Platform.AppActivate"},
                       0, 0},
        ConnectionCase{"StartsOneWhenNoneRuns", false, true, true,
                       {"Platform.GetActiveObject", "Platform.CreateObject",
                        "Application.Visible", "Application.ActiveDocument",
                        "Application.Caption", "Platform.AppActivate"},
                       1, 0},
        ConnectionCase{"NeitherRunningNorInstalledShowsOneMessage", false, false, true,
                       {"Platform.GetActiveObject", "Platform.CreateObject"}, 0, 1},
        ConnectionCase{"NoDrawingOpenStillActivatesTheWindow", true, true, false,
                       {"Platform.GetActiveObject", "Application.Visible",
                        "Application.ActiveDocument", "Application.Caption",
                        "Platform.AppActivate"},
                       0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Connection, TotalFailureShowsThePlatformsDescriptionUnderTheApplicationTitle) {
    ScriptedCad cad;
    cad.running = false;
    cad.installed = false;
    cad.startFailure = "Class not registered";
    FakeForm form;
    cad::Module1 module1(cad.platform(), form);

    module1.connect();

    ASSERT_EQ(form.messages.size(), 1u);
    EXPECT_EQ(form.messages[0],
              (testing::ShownMessage{"Class not registered", kApplicationTitle, MessageIcon::None}));
    EXPECT_TRUE(cad.activatedWindows().empty());
}

TEST(Connection, ActivatesTheWindowBearingTheCaption) {
    ScriptedCad cad;
    cad.caption = "AutoCAD 2004 - [桥梁.dwg]";
    FakeForm form;
    cad::Module1 module1(cad.platform(), form);

    module1.connect();

    EXPECT_EQ(cad.activatedWindows(), std::vector<std::string>{"AutoCAD 2004 - [桥梁.dwg]"});
}

TEST(Connection, TwoCallsInARowKeepTheSameReferences) {
    ScriptedCad cad;
    FakeForm form;
    cad::Module1 module1(cad.platform(), form);
    module1.connect();
    const auto application = module1.application();
    const auto document = module1.document();

    module1.connect();

    EXPECT_EQ(module1.application(), application);
    EXPECT_EQ(module1.document(), document);
    EXPECT_EQ(cad.instancesStarted(), 0);
}

// Each step of a later connection fails in turn; the references it would
// have set keep their earlier values and the remaining steps still run.
TEST(Connection, AFailingStepKeepsThePreviousReferences) {
    for (int step = 1; step <= 5; ++step) {
        SCOPED_TRACE("failing call " + std::to_string(step));
        ScriptedCad cad;
        FakeForm form;
        cad::Module1 module1(cad.platform(), form);
        module1.connect();
        const auto application = module1.application();
        const auto document = module1.document();
        cad.clearCalls();

        cad.failCall(step, -2147418113);
        module1.connect();

        EXPECT_EQ(module1.application(), application);
        EXPECT_EQ(module1.document(), document);
        EXPECT_TRUE(form.messages.empty());
        // A failed attach falls back to starting; without a caption there is
        // no window to activate; every other step runs on.
        const std::size_t expected[] = {6, 5, 5, 4, 5};
        EXPECT_EQ(cad.callCount(), expected[step - 1]);
    }
}

TEST(Connection, ReferencesNeverSetFailWithANumberNotAnEndedPrompt) {
    ScriptedCad cad;
    FakeForm form;
    cad::Module1 module1(cad.platform(), form);
    try {
        module1.requireDocument();
        FAIL() << "no document was connected";
    } catch (const cad::CadError& error) {
        EXPECT_EQ(error.number(), cad::kObjectNotSet);
    }
    EXPECT_THROW(module1.activateCadWindow(), cad::CadError);
}

}  // namespace
}  // namespace tendra
