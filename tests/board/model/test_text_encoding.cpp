// Text between DXF code pages and UTF-8, escapes included.
#include <gtest/gtest.h>

#include "cad/board/model/text_encoding.h"

namespace tendra::board {
namespace {

TEST(TextDecoderTest, CodePagesAndEscapes) {
    struct Row {
        const char* name;
        const char* version;
        const char* codePage;
        std::string raw;
        std::string expected;
    };
    const std::string gbk = "\xB8\xD6\xCA\xF8";  // 钢束
    const Row rows[] = {
        {"GBK drawing", "AC1015", "ANSI_936", gbk, "钢束"},
        {"code page names are not case-sensitive", "AC1015", "ansi_936", gbk, "钢束"},
        {"Western drawing", "AC1015", "ANSI_1252", "90\xB0", "90°"},
        {"UTF-8 from AutoCAD 2007 on, whatever the code page", "AC1032", "ANSI_936", "钢束",
         "钢束"},
        {"no code page, valid UTF-8", "", "", "钢束", "钢束"},
        {"no code page, not UTF-8: GB18030", "", "", gbk, "钢束"},
        {"a byte the code page lacks", "AC1015", "ANSI_936",
         "a\xFF"
         "b",
         "a\xEF\xBF\xBD"
         "b"},
        {"unknown code page reads as UTF-8", "AC1015", "ANSI_XYZ", "钢", "钢"},
        {"\\U+ escape", "AC1015", "ANSI_936", "\\U+4E2D\\U+6587", "中文"},
        {"lower-case \\u+ escape", "AC1015", "ANSI_936", "\\u+4e2d", "中"},
        {"surrogate pair in two escapes", "AC1015", "", "\\U+D83D\\U+DE00", "😀"},
        {"lone surrogate", "AC1015", "", "\\U+D83Dx", "\xEF\xBF\xBDx"},
        {"\\M+ escape in code page 936", "AC1015", "ANSI_1252", "\\M+5D6D0", "中"},
        {"escaped backslash is no escape", "AC1015", "", "\\\\U+4E2D", "\\\\U+4E2D"},
        {"short escape stays as it is", "AC1015", "", "\\U+4E", "\\U+4E"},
        {"escape at the very end", "AC1015", "", "x\\", "x\\"},
    };
    for (const Row& row : rows) {
        const TextDecoder decoder(row.version, row.codePage);
        EXPECT_EQ(decoder.decode(row.raw), row.expected) << row.name;
    }
}

TEST(TextEncoderTest, GbkWithEscapesInPieces) {
    struct Row {
        const char* name;
        std::string utf8;
        std::size_t maxBytes;
        std::vector<std::string> expected;
    };
    const Row rows[] = {
        {"Chinese in GBK", "钢束N1", 0, {"\xB8\xD6\xCA\xF8N1"}},
        {"outside GBK", "😀", 0, {"\\U+D83D\\U+DE00"}},
        {"control characters", "a\nb\tc", 0, {"a\\U+000Ab\\U+0009c"}},
        {"pieces never split a character", "钢束钢", 5, {"\xB8\xD6\xCA\xF8", "\xB8\xD6"}},
        {"pieces never split an escape", "ab😀", 8, {"ab", "\\U+D83D", "\\U+DE00"}},
        {"empty text is one empty piece", "", 10, {""}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(encodeForDxf(row.utf8, row.maxBytes), row.expected) << row.name;
    }
}

}  // namespace
}  // namespace tendra::board
