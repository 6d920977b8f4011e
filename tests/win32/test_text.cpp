// UTF-8 and UTF-16 as the windows and the COM backend exchange them.
#include <gtest/gtest.h>

#include <string>

#include "win32/text.h"

namespace tendra {
namespace {

struct TextRow {
    const char* name;  // what breaks when the row fails
    std::string utf8;
    std::wstring utf16;
};

const TextRow kBothWays[] = {
    {"EmptyTextStaysEmpty", "", L""},
    {"ChineseCaption", "钢束 节点", L"钢束 节点"},
    {"CharacterBeyondTheBasicPlaneIsASurrogatePair", "\xF0\x9D\x84\x9E", L"\xD834\xDD1E"},
    {"EmbeddedNulIsKept", std::string("a\0b", 3), std::wstring(L"a\0b", 3)},
};

class BothWays : public ::testing::TestWithParam<TextRow> {};

TEST_P(BothWays, ConvertsWithoutLoss) {
    EXPECT_EQ(win32::toUtf16(GetParam().utf8), GetParam().utf16);
    EXPECT_EQ(win32::toUtf8(GetParam().utf16), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(Text, BothWays, ::testing::ValuesIn(kBothWays),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Text, AnInvalidByteBecomesTheReplacementCharacter) {
    EXPECT_EQ(win32::toUtf16("a\xFF"
                             "b"),
              L"a\xFFFD"
              L"b");
}

}  // namespace
}  // namespace tendra
