// The board's text layout without a painter: MTEXT codes to lines, wrapping,
// placement by attachment point, TEXT alignment offsets, MTEXT rotation, the
// rectangle selections take a text by.
#include <gtest/gtest.h>

#include <cmath>

#include "cad/board/model/text_layout.h"

namespace tendra::board {
namespace {

// One unit of width per byte at height 1, growing with the height.
double byBytes(std::string_view text, double height) {
    return static_cast<double>(text.size()) * height;
}

TEST(TextLayoutTest, MTextCodesToLines) {
    struct Row {
        const char* name;
        std::string formatted;
        std::vector<std::string> texts;
        std::vector<double> heights;
    };
    const Row rows[] = {
        {"plain text is one line", "abc", {"abc"}, {2}},
        {"\\P breaks the line", "a\\Pb", {"a", "b"}, {2, 2}},
        {"a line feed breaks the line", "a\nb", {"a", "b"}, {2, 2}},
        {"\\~ is a space", "a\\~b", {"a b"}, {2}},
        {"escaped backslash and braces", "\\\\\\{x\\}", {"\\{x}"}, {2}},
        {"braces alone vanish", "{ab}", {"ab"}, {2}},
        {"font, colour, width, alignment codes vanish",
         "\\fArial|b1;\\C1;\\W0.8;\\A1;x",
         {"x"},
         {2}},
        {"stacked fraction", "\\S1^2;", {"1/2"}, {2}},
        {"stacked with #", "\\S3#4;", {"3/4"}, {2}},
        {"relative height", "\\H1.5x;big", {"big"}, {3}},
        {"absolute height", "\\H5;big", {"big"}, {5}},
        {"height ends with its braces", "{\\H3x;a}\\Pb", {"a", "b"}, {6, 2}},
        {"tallest character sets the line", "a{\\H2x;b}c", {"abc"}, {4}},
        {"a bad height changes nothing", "\\Hx;a", {"a"}, {2}},
        {"style switches vanish", "\\Lunder\\l\\Oover\\o", {"underover"}, {2}},
        {"control codes", "%%c20 %%d %%p1 %%%", {"⌀20 ° ±1 %"}, {2}},
        {"an unfinished code ends the text", "a\\f", {"a"}, {2}},
        {"a trailing backslash stays", "a\\", {"a\\"}, {2}},
    };
    for (const Row& row : rows) {
        const std::vector<MTextLine> lines = mtextLines(row.formatted, 2);
        ASSERT_EQ(lines.size(), row.texts.size()) << row.name;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].text, row.texts[i]) << row.name;
            EXPECT_DOUBLE_EQ(lines[i].height, row.heights[i]) << row.name;
        }
    }
}

TEST(TextLayoutTest, WrappingToTheReferenceWidth) {
    struct Row {
        const char* name;
        std::string text;
        double width;
        std::vector<std::string> expected;
    };
    const Row rows[] = {
        {"no width wraps nothing", "aaa bbb ccc", 0, {"aaa bbb ccc"}},
        {"short enough", "aaa bbb", 7, {"aaa bbb"}},
        {"breaks at a space", "aaa bbb ccc", 8, {"aaa bbb", "ccc"}},
        {"a word too long is cut", "abcdefgh", 3, {"abc", "def", "gh"}},
        {"Chinese breaks between characters", "钢束钢束", 6, {"钢束", "钢束"}},
        {"a character wider than the width stands alone", "钢", 1, {"钢"}},
        {"an empty line stays", "", 5, {""}},
    };
    for (const Row& row : rows) {
        const auto wrapped = wrapLines({{row.text, 1}}, row.width, byBytes);
        std::vector<std::string> texts;
        for (const MTextLine& line : wrapped) {
            texts.push_back(line.text);
        }
        EXPECT_EQ(texts, row.expected) << row.name;
    }
}

// Two lines, "abcd" and "ab", height 1: the block is 4 wide, 1 + 5/3 tall.
TEST(TextLayoutTest, PlacementByAttachmentPoint) {
    const double tall = 1 + kMTextLineSpacing;
    struct Row {
        const char* name;
        int attachment;
        double referenceWidth;
        Vec2 first;
        Vec2 second;
    };
    const Row rows[] = {
        {"top left", 1, 0, {0, -1}, {0, -1 - kMTextLineSpacing}},
        {"top centre centres each line", 2, 0, {-2, -1}, {-1, -1 - kMTextLineSpacing}},
        {"top right", 3, 0, {-4, -1}, {-2, -1 - kMTextLineSpacing}},
        {"middle left", 4, 0, {0, tall / 2 - 1}, {0, tall / 2 - 1 - kMTextLineSpacing}},
        {"bottom right", 9, 0, {-4, tall - 1}, {-2, tall - 1 - kMTextLineSpacing}},
        {"reference width sets the block", 3, 10, {-4, -1}, {-2, -1 - kMTextLineSpacing}},
        {"centre within the reference width", 2, 10, {-2, -1}, {-1, -1 - kMTextLineSpacing}},
        {"attachment out of range is top left", 0, 0, {0, -1}, {0, -1 - kMTextLineSpacing}},
    };
    for (const Row& row : rows) {
        const auto placed =
            placeMText({{"abcd", 1}, {"ab", 1}}, row.attachment, row.referenceWidth, byBytes);
        ASSERT_EQ(placed.size(), 2u) << row.name;
        EXPECT_NEAR(placed[0].baseline.x, row.first.x, 1e-12) << row.name;
        EXPECT_NEAR(placed[0].baseline.y, row.first.y, 1e-12) << row.name;
        EXPECT_NEAR(placed[1].baseline.x, row.second.x, 1e-12) << row.name;
        EXPECT_NEAR(placed[1].baseline.y, row.second.y, 1e-12) << row.name;
    }
}

// A text 10 wide, cap height 4, descent 1.
TEST(TextLayoutTest, TextAlignmentOffsets) {
    struct Row {
        const char* name;
        int horizontal;
        int vertical;
        Vec2 expected;
    };
    const Row rows[] = {
        {"left baseline", 0, 0, {0, 0}}, {"centre", 1, 0, {-5, 0}},
        {"right", 2, 0, {-10, 0}},       {"aligned starts at the anchor", 3, 0, {0, 0}},
        {"middle", 4, 0, {-5, -2}},      {"fit starts at the anchor", 5, 0, {0, 0}},
        {"bottom left", 0, 1, {0, 1}},   {"middle left", 0, 2, {0, -2}},
        {"top right", 2, 3, {-10, -4}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(textOffset(10, 4, 1, row.horizontal, row.vertical), row.expected) << row.name;
    }
}

TEST(TextLayoutTest, MTextRotation) {
    struct Row {
        const char* name;
        double x, y, angle;
        double expected;
    };
    const Row rows[] = {
        {"unit direction", 0, 1, 0, 90},
        {"long direction is only a direction", 3, 3, 0, 45},
        {"short direction", 0.001, 0, 77, 0},
        {"zero vector takes code 50", 0, 0, 30, 30},
        {"not a number takes code 50", std::nan(""), 1, 30, 30},
        {"nothing at all is unrotated", 0, 0, std::nan(""), 0},
    };
    for (const Row& row : rows) {
        EXPECT_NEAR(mtextAngle(row.x, row.y, row.angle), row.expected, 1e-9) << row.name;
    }
}

// Height 10 throughout: a narrow character 6 wide, a wide one 10, the
// rectangle from 2.5 below the baseline to 10 above it.
TEST(TextLayoutTest, OutlineSelectionsTakeATextBy) {
    struct Row {
        const char* name;
        TextOutline outline;
        Vec2 lowerLeft;
        Vec2 upperRight;
    };
    auto text = [](std::string content, cad::Point at, double angle = 0) {
        return Text{at, 10, angle, std::move(content)};
    };
    Text centred = text("N1", {0, 0, 0});
    centred.horizontalAlignment = 1;
    centred.alignAt = {50, 0, 0};
    auto mtext = [](std::string content, int attachment, cad::Point at = {0, 0, 0}) {
        MText m;
        m.at = at;
        m.height = 10;
        m.attachment = attachment;
        m.text = std::move(content);
        return m;
    };
    const Row rows[] = {
        {"latin characters are 0.6 of the height",
         textOutline(text("N1", {100, 50, 0})),
         {100, 47.5},
         {112, 60}},
        {"chinese characters take a square each",
         textOutline(text("钢束N1", {0, 0, 0})),
         {0, -2.5},
         {32, 10}},
        {"%%d takes the width of the degree sign it shows",
         textOutline(text("30%%d", {0, 0, 0})),
         {0, -2.5},
         {18, 10}},
        {"centred text sits on its alignment point", textOutline(centred), {44, -2.5}, {56, 10}},
        {"a quarter turn runs upwards",
         textOutline(text("N1", {0, 0, 0}, 90)),
         {2.5, 0},
         {-10, 12}},
        {"top-left mtext hangs below its insertion point, one rectangle for its lines",
         textOutline(mtext("钢束\\PN2", 1)),
         {0, -10 - 50.0 / 3 - 2.5},
         {20, 0}},
        {"mtext format codes take no width",
         textOutline(mtext("{\\fSimSun|b0;钢束N1}", 1)),
         {0, -12.5},
         {32, 0}},
        {"middle-centre mtext is centred on its insertion point",
         textOutline(mtext("N1", 5, {100, 100, 0})),
         {94, 92.5},
         {106, 105}},
    };
    for (const Row& row : rows) {
        EXPECT_NEAR(row.outline[0].x, row.lowerLeft.x, 1e-9) << row.name;
        EXPECT_NEAR(row.outline[0].y, row.lowerLeft.y, 1e-9) << row.name;
        EXPECT_NEAR(row.outline[2].x, row.upperRight.x, 1e-9) << row.name;
        EXPECT_NEAR(row.outline[2].y, row.upperRight.y, 1e-9) << row.name;
    }
}

}  // namespace
}  // namespace tendra::board
