#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "nodes/mct_parameters.h"

namespace tendra {
namespace {

// "property|elements|group|x y z"
std::string describe(const MctParameters& p) {
    std::ostringstream text;
    text << p.property << '|' << p.elements << '|' << p.group << '|' << p.insertionX << ' '
         << p.insertionY << ' ' << p.insertionZ;
    return text.str();
}

TEST(MctParameters, AcceptsValidFieldsInTheirPlainForm) {
    const struct {
        const char* name;
        MctFieldTexts texts;
        const char* parameters;
    } cases[] = {
        {"every kind of element item",
         {"15-12", "1to40 45 50to60by2", "后张束", "0, 0, 0"},
         "15-12|1to40 45 50to60by2|后张束|0 0 0"},
        {"a range of one element, the largest element",
         {"P", "5to5 999999999", "", "0 0 0"},
         "P|5to5 999999999||0 0 0"},
        {"blanks, tabs and wide blanks around and between",
         {" P 1 ", "\t1\xE3\x80\x80 2 ", "\xE3\x80\x80G ", "0 0 0"},
         "P 1|1 2|G|0 0 0"},
        {"leading zeros dropped, words in capitals lowered",
         {"P", "007TO010BY01", "", "0 0 0"},
         "P|7to10by1||0 0 0"},
        {"full-width comma and semicolon are no separators",
         {"P，1", "1", "G；2", "0 0 0"},
         "P，1|1|G；2|0 0 0"},
        {"insertion point by commas and full-width commas, read leniently",
         {"P", "1", "", "1 0, -2.5m，3e1"},
         "P|1||10 -2.5 30"},
        {"insertion point by blanks", {"P", "1", "", " 10  .5\t-7 "}, "P|1||10 0.5 -7"},
    };
    for (const auto& c : cases) {
        const MctCheck check = checkMctFields(c.texts);
        ASSERT_FALSE(check.error) << c.name << ": " << check.error->message;
        EXPECT_EQ(describe(check.parameters), c.parameters) << c.name;
    }
}

TEST(MctParameters, RefusesTheFirstBadFieldSayingWhy) {
    const struct {
        const char* name;
        MctFieldTexts texts;
        MctField field;
        const char* message;
    } cases[] = {
        {"property empty", {" ", "1", "", "0 0 0"}, MctField::Property, "钢束特性：不能为空"},
        {"property with a comma",
         {"15,12", "1", "", "0 0 0"},
         MctField::Property,
         "钢束特性：不能含逗号或分号"},
        {"property with a semicolon",
         {"P;x", "1", "", "0 0 0"},
         MctField::Property,
         "钢束特性：不能含逗号或分号"},
        {"elements empty", {"P", " \t", "", "0 0 0"}, MctField::Elements, "分配单元：不能为空"},
        {"elements separated by commas",
         {"P", "1,2", "", "0 0 0"},
         MctField::Elements,
         "分配单元：“1,2”不是单元号、NtoM 或 NtoMbyK"},
        {"blanks inside a range, named by the part",
         {"P", "1 to 4", "", "0 0 0"},
         MctField::Elements,
         "分配单元：“to”不是单元号、NtoM 或 NtoMbyK"},
        {"a range from element zero",
         {"P", "3 0to5", "", "0 0 0"},
         MctField::Elements,
         "分配单元：“0to5”中单元号须为正整数"},
        {"a range backwards",
         {"P", "9to3", "", "0 0 0"},
         MctField::Elements,
         "分配单元：“9to3”起始号大于终止号"},
        {"a step of zero",
         {"P", "1to9by0", "", "0 0 0"},
         MctField::Elements,
         "分配单元：“1to9by0”步长须至少为 1"},
        {"an element past the largest",
         {"P", "1000000000", "", "0 0 0"},
         MctField::Elements,
         "分配单元：“1000000000”中的数过大"},
        {"digits beyond any integer",
         {"P", "99999999999999999999999", "", "0 0 0"},
         MctField::Elements,
         "分配单元：“99999999999999999999999”中的数过大"},
        {"group with a comma",
         {"P", "1", "G,1", "0 0 0"},
         MctField::Group,
         "钢束组：不能含逗号或分号"},
        {"insertion point empty", {"P", "1", "", " "}, MctField::Insertion, "插入点：不能为空"},
        {"two numbers", {"P", "1", "", "1, 2"}, MctField::Insertion, "插入点：须为 x, y, z 三个数"},
        {"an empty part",
         {"P", "1", "", "1,,3"},
         MctField::Insertion,
         "插入点：须为 x, y, z 三个数"},
        {"a part that is no number",
         {"P", "1", "", "1, y, 3"},
         MctField::Insertion,
         "插入点：“y”不是数值"},
        {"a number too large",
         {"P", "1", "", "1e999, 0, 0"},
         MctField::Insertion,
         "插入点：“1e999”超出范围"},
        {"property before elements", {"", "", "", ""}, MctField::Property, "钢束特性：不能为空"},
        {"elements before group", {"P", "", "G,", ""}, MctField::Elements, "分配单元：不能为空"},
        {"group before insertion point",
         {"P", "1", "G;", ""},
         MctField::Group,
         "钢束组：不能含逗号或分号"},
    };
    for (const auto& c : cases) {
        const MctCheck check = checkMctFields(c.texts);
        ASSERT_TRUE(check.error) << c.name;
        EXPECT_EQ(check.error->field, c.field) << c.name;
        EXPECT_EQ(check.error->message, c.message) << c.name;
        EXPECT_EQ(describe(check.parameters), "|||0 0 0") << c.name << ": nothing half-accepted";
    }
}

}  // namespace
}  // namespace tendra
