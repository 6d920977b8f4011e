#include <gtest/gtest.h>

#include <string>

#include "nodes/mct_parameters.h"

namespace tendra {
namespace {

// Texts that pass, so that each row can spoil one field only.
MctFieldTexts validTexts() {
    return {"15-12", "1to40", "后张束", "0, 0, 0"};
}

TEST(MctParameters, ElementLists) {
    const struct {
        const char* name;
        const char* text;
        const char* accepted;  // nullptr: refused with message
        const char* message;
    } cases[] = {
        {"one element", "7", "7", nullptr},
        {"a range", "1to40", "1to40", nullptr},
        {"a stepped range", "50to60by2", "50to60by2", nullptr},
        {"mixed items", "1to40 45 50to60by2", "1to40 45 50to60by2", nullptr},
        {"a range of one element", "5to5", "5to5", nullptr},
        {"a step wider than the range", "1to3by5", "1to3by5", nullptr},
        {"blanks, tabs and wide blanks between and around", " 1\t2\xE3\x80\x80 3to4  ", "1 2 3to4",
         nullptr},
        {"leading zeros dropped", "007to010", "7to10", nullptr},
        {"words in capitals", "1TO9BY2", "1to9by2", nullptr},
        {"the largest element", "999999999", "999999999", nullptr},
        {"empty", "", nullptr, "分配单元：不能为空"},
        {"only blanks", " \t ", nullptr, "分配单元：不能为空"},
        {"comma between items", "1,2", nullptr, "分配单元：“1,2”不是单元号、NtoM 或 NtoMbyK"},
        {"a word", "all", nullptr, "分配单元：“all”不是单元号、NtoM 或 NtoMbyK"},
        {"range without its end", "1to", nullptr, "分配单元：“1to”不是单元号、NtoM 或 NtoMbyK"},
        {"step without its number", "1to9by", nullptr,
         "分配单元：“1to9by”不是单元号、NtoM 或 NtoMbyK"},
        {"step without a range", "1by2", nullptr, "分配单元：“1by2”不是单元号、NtoM 或 NtoMbyK"},
        {"a sign", "-3", nullptr, "分配单元：“-3”不是单元号、NtoM 或 NtoMbyK"},
        {"a decimal", "2.5", nullptr, "分配单元：“2.5”不是单元号、NtoM 或 NtoMbyK"},
        {"a blank inside a range", "1 to 4", nullptr, "分配单元：“to”不是单元号、NtoM 或 NtoMbyK"},
        {"the second item bad", "1to4 x9", nullptr, "分配单元：“x9”不是单元号、NtoM 或 NtoMbyK"},
        {"element zero", "0", nullptr, "分配单元：“0”中单元号须为正整数"},
        {"range from zero", "0to5", nullptr, "分配单元：“0to5”中单元号须为正整数"},
        {"range backwards", "9to3", nullptr, "分配单元：“9to3”起始号大于终止号"},
        {"step zero", "1to9by0", nullptr, "分配单元：“1to9by0”步长须至少为 1"},
        {"element too large", "1000000000", nullptr, "分配单元：“1000000000”中的数过大"},
        {"digits beyond any integer", "99999999999999999999999", nullptr,
         "分配单元：“99999999999999999999999”中的数过大"},
    };
    for (const auto& c : cases) {
        MctFieldTexts texts = validTexts();
        texts.elements = c.text;
        const MctCheck check = checkMctFields(texts);
        if (c.accepted) {
            ASSERT_FALSE(check.error) << c.name << ": " << check.error->message;
            EXPECT_EQ(check.parameters.elements, c.accepted) << c.name;
        } else {
            ASSERT_TRUE(check.error) << c.name;
            EXPECT_EQ(check.error->field, MctField::Elements) << c.name;
            EXPECT_EQ(check.error->message, c.message) << c.name;
        }
    }
}

TEST(MctParameters, InsertionPoints) {
    const struct {
        const char* name;
        const char* text;
        double x, y, z;
        const char* message;  // nullptr: accepted
    } cases[] = {
        {"the initial text", "0, 0, 0", 0, 0, 0, nullptr},
        {"commas without blanks", "1.5,-2,3e1", 1.5, -2, 30, nullptr},
        {"blanks only", " 10  20\t30 ", 10, 20, 30, nullptr},
        {"full-width commas", "1，2，3", 1, 2, 3, nullptr},
        {"blanks inside a number between commas", "1 0, 2 0, 3", 10, 20, 3, nullptr},
        {"stray text after a number, read leniently", "5m, 6m, 7m", 5, 6, 7, nullptr},
        {"a full stop is the decimal point", ".5, -.25, 0", 0.5, -0.25, 0, nullptr},
        {"hexadecimal", "&H10, 0, 0", 16, 0, 0, nullptr},
        {"empty", "", 0, 0, 0, "插入点：不能为空"},
        {"two numbers", "1, 2", 0, 0, 0, "插入点：须为 x, y, z 三个数"},
        {"four numbers", "1 2 3 4", 0, 0, 0, "插入点：须为 x, y, z 三个数"},
        {"an empty part", "1,,3", 0, 0, 0, "插入点：须为 x, y, z 三个数"},
        {"a decimal comma splits the number", "1,5, 2, 3", 0, 0, 0, "插入点：须为 x, y, z 三个数"},
        {"a part that is no number", "1, y, 3", 0, 0, 0, "插入点：“y”不是数值"},
        {"a full stop alone", "1, 2, .", 0, 0, 0, "插入点：“.”不是数值"},
        {"too large for a number", "1e999, 0, 0", 0, 0, 0, "插入点：“1e999”超出范围"},
    };
    for (const auto& c : cases) {
        MctFieldTexts texts = validTexts();
        texts.insertion = c.text;
        const MctCheck check = checkMctFields(texts);
        if (!c.message) {
            ASSERT_FALSE(check.error) << c.name << ": " << check.error->message;
            EXPECT_EQ(check.parameters.insertionX, c.x) << c.name;
            EXPECT_EQ(check.parameters.insertionY, c.y) << c.name;
            EXPECT_EQ(check.parameters.insertionZ, c.z) << c.name;
        } else {
            ASSERT_TRUE(check.error) << c.name;
            EXPECT_EQ(check.error->field, MctField::Insertion) << c.name;
            EXPECT_EQ(check.error->message, c.message) << c.name;
        }
    }
}

TEST(MctParameters, NamesAndTheFirstBadField) {
    const struct {
        const char* name;
        MctFieldTexts texts;
        const char* property;  // accepted values, where nothing is refused
        const char* group;
        MctField field;  // refused: this field with this message
        const char* message;
    } cases[] = {
        {"all valid", {"15-12", "1to4", "后张束", "0,0,0"}, "15-12", "后张束", {}, nullptr},
        {"blanks around names dropped",
         {" 15-12 ", "1", "\xE3\x80\x80G1\t", "0 0 0"},
         "15-12",
         "G1",
         {},
         nullptr},
        {"blanks inside names kept",
         {"Strand 15", "1", "Group A", "0 0 0"},
         "Strand 15",
         "Group A",
         {},
         nullptr},
        {"group may be empty", {"P", "1", "", "0 0 0"}, "P", "", {}, nullptr},
        {"full-width comma in a name is no separator",
         {"P，1", "1", "G；2", "0 0 0"},
         "P，1",
         "G；2",
         {},
         nullptr},
        {"property empty",
         {"", "1", "", "0 0 0"},
         nullptr,
         nullptr,
         MctField::Property,
         "钢束特性：不能为空"},
        {"property only blanks",
         {"  ", "1", "", "0 0 0"},
         nullptr,
         nullptr,
         MctField::Property,
         "钢束特性：不能为空"},
        {"property with a comma",
         {"15,12", "1", "", "0 0 0"},
         nullptr,
         nullptr,
         MctField::Property,
         "钢束特性：不能含逗号或分号"},
        {"property with a semicolon",
         {"P;x", "1", "", "0 0 0"},
         nullptr,
         nullptr,
         MctField::Property,
         "钢束特性：不能含逗号或分号"},
        {"group with a comma",
         {"P", "1", "G,1", "0 0 0"},
         nullptr,
         nullptr,
         MctField::Group,
         "钢束组：不能含逗号或分号"},
        {"group with a semicolon",
         {"P", "1", ";", "0 0 0"},
         nullptr,
         nullptr,
         MctField::Group,
         "钢束组：不能含逗号或分号"},
        {"property named before elements",
         {"", "", "", ""},
         nullptr,
         nullptr,
         MctField::Property,
         "钢束特性：不能为空"},
        {"elements named before group",
         {"P", "", "G,", ""},
         nullptr,
         nullptr,
         MctField::Elements,
         "分配单元：不能为空"},
        {"group named before insertion point",
         {"P", "1", "G;", ""},
         nullptr,
         nullptr,
         MctField::Group,
         "钢束组：不能含逗号或分号"},
    };
    for (const auto& c : cases) {
        const MctCheck check = checkMctFields(c.texts);
        if (!c.message) {
            ASSERT_FALSE(check.error) << c.name << ": " << check.error->message;
            EXPECT_EQ(check.parameters.property, c.property) << c.name;
            EXPECT_EQ(check.parameters.group, c.group) << c.name;
        } else {
            ASSERT_TRUE(check.error) << c.name;
            EXPECT_EQ(check.error->field, c.field) << c.name;
            EXPECT_EQ(check.error->message, c.message) << c.name;
            EXPECT_EQ(check.parameters.property, "") << c.name << ": no half-accepted values";
        }
    }
}

}  // namespace
}  // namespace tendra
