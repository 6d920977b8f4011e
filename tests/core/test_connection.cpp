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

// The calls of the steps after the attach or start, with their arguments.
Members afterAttaching() {
    return {"Application.Visible True", "Application.ActiveDocument", "Application.Caption",
            "Platform.AppActivate \"" + kCaption + "\""};
}

Members joined(Members first, const Members& then) {
    first.insert(first.end(), then.begin(), then.end());
    return first;
}

const std::string kLookForAutoCad = "Platform.GetActiveObject \"AutoCAD.Application\"";
const std::string kListVersions = "Platform.VersionedProgIds \"AutoCAD.Application\"";
const Members kLookForCompatibles{"Platform.GetActiveObject \"ZWCAD.Application\"",
                                  "Platform.GetActiveObject \"GStarCAD.Application\"",
                                  "Platform.GetActiveObject \"BricscadApp.AcadApplication\""};
const std::string kStartAutoCad = "Platform.CreateObject \"AutoCAD.Application\"";

struct ConnectionCase {
    const char* name;
    bool running;
    Members runningAs;  // empty: under every class
    Members versions;   // what the registry lists, newest first
    bool installed;
    bool hasDocument;
    Members transcript;
    int instancesStarted;
    std::vector<ShownMessage> messages;
    cad::CadKind kind;
};

void PrintTo(const ConnectionCase& c, std::ostream* os) {
    *os << c.name;
}

const ConnectionCase kConnectionCases[] = {
    {"AttachesToTheRunningCad",
     true,
     {},
     {},
     true,
     true,
     joined({kLookForAutoCad}, afterAttaching()),
     0,
     {},
     cad::CadKind::AutoCad},
    {"AttachesToTheRunningReleaseThoughANewerOneIsInstalled",
     true,
     {"AutoCAD.Application.16.2"},
     {"AutoCAD.Application.17.1", "AutoCAD.Application.16.2", "AutoCAD.Application.16"},
     true,
     true,
     joined(
         {kLookForAutoCad, kListVersions, "Platform.GetActiveObject \"AutoCAD.Application.17.1\"",
          "Platform.GetActiveObject \"AutoCAD.Application.16.2\""},
         afterAttaching()),
     0,
     {},
     cad::CadKind::AutoCad},
    {"AttachesToACompatibleCadOnlyWhenNoAutoCadRuns",
     true,
     {"GStarCAD.Application"},
     {"AutoCAD.Application.17"},
     true,
     true,
     joined({kLookForAutoCad, kListVersions, "Platform.GetActiveObject \"AutoCAD.Application.17\"",
             kLookForCompatibles[0], kLookForCompatibles[1]},
            afterAttaching()),
     0,
     {},
     cad::CadKind::Compatible},
    {"StartsAutoCadWhenNothingRuns",
     false,
     {},
     {},
     true,
     true,
     joined(joined({kLookForAutoCad, kListVersions}, kLookForCompatibles),
            joined({kStartAutoCad}, afterAttaching())),
     1,
     {},
     cad::CadKind::AutoCad},
    {"NeitherRunningNorInstalledShowsThePlatformsDescription",
     false,
     {},
     {},
     false,
     true,
     joined(joined({kLookForAutoCad, kListVersions}, kLookForCompatibles), {kStartAutoCad}),
     0,
     {kStartFailure},
     cad::CadKind::None},
    {"NoDrawingOpenStillActivatesTheWindow",
     true,
     {},
     {},
     true,
     false,
     joined({kLookForAutoCad}, afterAttaching()),
     0,
     {},
     cad::CadKind::AutoCad},
};

class ConnectionTest : public ::testing::TestWithParam<ConnectionCase> {};

TEST_P(ConnectionTest, FollowsTheStepsInOrder) {
    const auto& c = GetParam();
    Connection connection;
    ScriptedCad& cad = connection.cad;
    cad.running = c.running;
    cad.runningAs = c.runningAs;
    cad.versions = c.versions;
    cad.installed = c.installed;
    cad.hasDocument = c.hasDocument;
    cad.caption = kCaption;
    cad.startFailure = kStartFailure.text;

    connection.module1.connect();

    EXPECT_EQ(cad.transcript(), c.transcript);
    EXPECT_EQ(cad.instancesStarted(), c.instancesStarted);
    EXPECT_EQ(connection.form.messages, c.messages);
    const bool reached = c.running || c.installed;
    EXPECT_EQ(connection.module1.application() != nullptr, reached);
    EXPECT_EQ(connection.module1.document() != nullptr, reached && c.hasDocument);
    EXPECT_EQ(cad.visible(), reached);
    // The window bearing the caption comes to the front, and no other.
    EXPECT_EQ(cad.activatedWindows(), reached ? Members{kCaption} : Members{});
    EXPECT_EQ(connection.module1.kind(), c.kind);
}

INSTANTIATE_TEST_SUITE_P(Steps, ConnectionTest, ::testing::ValuesIn(kConnectionCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct VersionCase {
    const char* name;
    Members registered;
    Members newestFirst;
};

void PrintTo(const VersionCase& c, std::ostream* os) {
    *os << c.name;
}

const VersionCase kVersionCases[] = {
    {"ReleasesByNumberNotByText",
     {"AutoCAD.Application.9", "AutoCAD.Application.16", "AutoCAD.Application.10"},
     {"AutoCAD.Application.16", "AutoCAD.Application.10", "AutoCAD.Application.9"}},
    {"MinorReleasesNewestFirstAndTheBareNumberAfterThem",
     {"AutoCAD.Application.17", "AutoCAD.Application.17.0", "AutoCAD.Application.17.2",
      "AutoCAD.Application.18"},
     {"AutoCAD.Application.18", "AutoCAD.Application.17.2", "AutoCAD.Application.17.0",
      "AutoCAD.Application.17"}},
    {"CaseOfTheClassNameDoesNotMatter", {"autocad.application.16"}, {"autocad.application.16"}},
    {"OtherClassesAndOtherSuffixesAreLeftOut",
     {"AutoCAD.Application", "AutoCAD.ApplicationX.16", "AutoCAD.Application.",
      "AutoCAD.Application.x", "AutoCAD.Application.16.", "AutoCAD.Application.16.1.2",
      "AutoCAD.Application.-1", "AutoCAD.Document.16", "AutoCAD.Application.1234567"},
     {}},
};

class VersionTest : public ::testing::TestWithParam<VersionCase> {};

TEST_P(VersionTest, ListsTheVersionsNewestFirst) {
    const auto& c = GetParam();
    EXPECT_EQ(cad::versionsNewestFirst("AutoCAD.Application", c.registered), c.newestFirst);
}

INSTANTIATE_TEST_SUITE_P(Versions, VersionTest, ::testing::ValuesIn(kVersionCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The scripted CAD hands out a new document object per fetch, so a document
// reference that was kept shows as the old object.
TEST(Connection, TwoCallsInARowFetchTheDocumentAgain) {
    Connection connection;
    cad::Module1& module1 = connection.module1;
    module1.connect();
    const auto application = module1.application();
    const auto document = module1.document();
    ASSERT_NE(document, nullptr);

    module1.connect();

    EXPECT_EQ(module1.application(), application);
    ASSERT_NE(module1.document(), nullptr);
    EXPECT_NE(module1.document(), document);
    EXPECT_EQ(connection.cad.countOf("ActiveDocument"), 2u);
    EXPECT_EQ(connection.cad.instancesStarted(), 0);
}

// Each step of a later connection fails in turn; the references it would
// have set keep their earlier values and the remaining steps still run.
TEST(Connection, AFailingStepKeepsThePreviousReferences) {
    const struct {
        const char* name;
        std::size_t calls;
        bool documentKept;  // else the one fetched by this connection
    } rows[] = {
        // A failed attach falls back to the other classes, under which the
        // same CAD answers.
        {"GetActiveObject", 7, false},
        {"Visible", 5, false},
        {"ActiveDocument", 5, true},
        // Without a caption there is no window to activate.
        {"Caption", 4, false},
        {"AppActivate", 5, false},
    };
    for (int step = 1; step <= static_cast<int>(std::size(rows)); ++step) {
        const auto& row = rows[step - 1];
        SCOPED_TRACE(row.name);
        Connection connection;
        cad::Module1& module1 = connection.module1;
        module1.connect();
        const auto application = module1.application();
        const auto document = module1.document();
        connection.cad.clearCalls();

        connection.cad.failCall(step, -2147418113);
        module1.connect();

        ASSERT_EQ(connection.cad.calls().at(static_cast<std::size_t>(step) - 1).member, row.name);
        EXPECT_EQ(module1.application(), application);
        ASSERT_NE(module1.document(), nullptr);
        EXPECT_EQ(module1.document() == document, row.documentKept);
        EXPECT_TRUE(connection.form.messages.empty());
        EXPECT_EQ(connection.cad.callCount(), row.calls);
    }
}

// A later connection follows the CAD that runs then; one that reaches
// nothing keeps the application it held, and so its kind.
struct KindCase {
    const char* name;
    Members firstRunningAs;  // empty: under every class
    bool thenRunning;
    Members thenRunningAs;
    bool thenInstalled;
    cad::CadKind kind;
};

void PrintTo(const KindCase& c, std::ostream* os) {
    *os << c.name;
}

const KindCase kKindCases[] = {
    {"NothingReachableKeepsTheCompatibleCadsKind",
     {"ZWCAD.Application"},
     false,
     {},
     false,
     cad::CadKind::Compatible},
    {"AutoCadStartedOnceTheCompatibleCadWentIsAutoCad",
     {"ZWCAD.Application"},
     false,
     {},
     true,
     cad::CadKind::AutoCad},
    {"ACompatibleCadFoundOnceAutoCadWentIsCompatible",
     {},
     true,
     {"BricscadApp.AcadApplication"},
     true,
     cad::CadKind::Compatible},
};

class ConnectionKindTest : public ::testing::TestWithParam<KindCase> {};

TEST_P(ConnectionKindTest, FollowsTheApplicationHeld) {
    const auto& c = GetParam();
    Connection connection;
    connection.cad.runningAs = c.firstRunningAs;
    connection.module1.connect();
    connection.cad.running = c.thenRunning;
    connection.cad.runningAs = c.thenRunningAs;
    connection.cad.installed = c.thenInstalled;

    connection.module1.connect();

    EXPECT_EQ(connection.module1.kind(), c.kind);
    EXPECT_NE(connection.module1.application(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Kinds, ConnectionKindTest, ::testing::ValuesIn(kKindCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Connection, ReferencesNeverSetFailWithANumberNotAnEndedPrompt) {
    Connection connection;
    EXPECT_EQ(testing::errorOf([&] { connection.module1.requireDocument(); }), cad::kObjectNotSet);
    EXPECT_THROW(connection.module1.activateCadWindow(), cad::CadError);
}

}  // namespace
}  // namespace tendra
