#include <gtest/gtest.h>

#include "tests/support/drawing_session.h"

namespace tendra {
namespace {

using testing::DrawingSession;
using Lines = std::vector<std::string>;

TEST(InitialiseOrigin, FirstClickPicksMarksGroupsAndEnablesTheNodeButtons) {
    DrawingSession session;
    session.form.output = "an older table";
    session.cad.queuePoint(12.5, -3, 7);

    session.commands.initialiseOrigin();

    const std::string group = session.name(0);
    EXPECT_EQ(session.cad.transcript(),
              (Lines{"Platform.GetActiveObject \"AutoCAD.Application\"", "Application.Visible True",
                     "Application.ActiveDocument", "Application.Caption",
                     "Platform.AppActivate \"AutoCAD 2000 - [Drawing1.dwg]\"", "Document.Utility",
                     "Utility.GetPoint \"点取坐标原点 \"", "Document.ModelSpace",
                     "ModelSpace.AddPoint (12.5, -3, 0)", "Point#1.Color 1",
                     "Document.SetVariable \"pdmode\", 3", "Document.Groups",
                     "Groups.Add \"" + group + "\"", "Group:" + group + ".AppendItems [Point#1]"}));
    // The box is emptied before the CAD is even reached.
    ASSERT_FALSE(session.form.log.empty());
    EXPECT_EQ(session.form.log.front().what, "write Text8");
    EXPECT_EQ(session.form.log.front().cadCallsBefore, 0u);
    EXPECT_EQ(session.form.output, "");
    EXPECT_EQ(session.commands.origin(), (cad::Point{12.5, -3, 0}));
    ASSERT_EQ(session.cad.points().size(), 1u);
    EXPECT_EQ(session.cad.points()[0].at, (cad::Point{12.5, -3, 0}));
    EXPECT_EQ(session.cad.points()[0].color, 1);
    EXPECT_EQ(session.cad.variables().at("pdmode"), 3);
    ASSERT_NE(session.cad.group(group), nullptr);
    EXPECT_EQ(*session.cad.group(group), std::vector<int>{1});
    EXPECT_NE(session.commands.markerGroup(), nullptr);
    EXPECT_TRUE(session.form.nodeButtonsEnabled);
    EXPECT_TRUE(session.form.messages.empty());
    EXPECT_EQ(session.form.count("write Label4"), 0u);
}

TEST(InitialiseOrigin, ASecondClickStartsAFurtherGroupAndMovesTheOrigin) {
    DrawingSession session;
    session.cad.queuePoint(1, 2);
    session.cad.queuePoint(30, 40);

    session.commands.initialiseOrigin();
    const auto firstGroup = session.commands.markerGroup();
    session.form.output = "a table";
    session.commands.initialiseOrigin();

    EXPECT_EQ(session.form.output, "");
    EXPECT_EQ(session.commands.origin(), (cad::Point{30, 40, 0}));
    EXPECT_NE(session.commands.markerGroup(), firstGroup);
    ASSERT_EQ(session.cad.groups().size(), 2u);
    EXPECT_NE(session.name(0), session.name(1));
    EXPECT_EQ(*session.cad.group(session.name(0)), std::vector<int>{1});
    EXPECT_EQ(*session.cad.group(session.name(1)), std::vector<int>{2});
    ASSERT_EQ(session.cad.points().size(), 2u);
    EXPECT_EQ(session.cad.points()[1].color, 1);
}

}  // namespace
}  // namespace tendra
