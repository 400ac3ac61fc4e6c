#include <gtest/gtest.h>

#include "enum-writer.h"
#include "text-ops.h"

namespace {

std::string replaced(std::string text, const char* from, const char* to) { return replace(text, from, to); }

TEST(Text, ReplaceNeverSearchesWhatItInserted) {
    EXPECT_EQ(replaced("__ENUM_NAME__ENUM_NAME", "__ENUM_NAME", "Color"), "ColorColor");
    EXPECT_EQ(replaced("AB", "AB", "ABAB"), "ABAB");
    EXPECT_EQ(replaced("xAAAy", "AA", "A"), "xAAy");
    EXPECT_EQ(replaced("none here", "__ENUM_NAME", "X"), "none here");
    EXPECT_EQ(replaced("a__ENUM_Xb", "__ENUM_X", ""), "ab");
}

TEST(Text, CaseAndNumbers) {
    EXPECT_EQ(toUpper("MyEnum_1\xC3\xA9"), "MYENUM_1\xC3\xA9");
    EXPECT_EQ(toLower("MyEnum_1\xC3\x89"), "myenum_1\xC3\x89");
    EXPECT_EQ(toString(0), "0");
    EXPECT_EQ(toString(-3), "-3");
}

EnumType color() {
    EnumType type;
    type.name = "Color";
    type.items = {{"red", "Red", "0", "Red colour", "(int)0"}, {"green", "Green", "1", "Green colour", "(int)1"}};
    return type;
}

TEST(Fill, ItemTexts) {
    EXPECT_EQ(fillHeader(color(), "__ENUM_VALUES|__ENUM_COUNT"), "    Red = (int)0,\n    Green = (int)1|2");
    EXPECT_EQ(fillSource(color(), "__ENUM_INFOS|__ENUM_COUNT"),
              "    {Color::Red, u\"Red\"_q, u\"red\"_q, (int)0},\n"
              "    {Color::Green, u\"Green\"_q, u\"green\"_q, (int)1}|2");
    EXPECT_EQ(fillHeader(color(), "__ENUM_FUNC_DESC_CASES"),
              "        case Enum::Red: return qApp->translate(\"EnumInfo\", \"Red colour\");\n"
              "        case Enum::Green: return qApp->translate(\"EnumInfo\", \"Green colour\");\n"
              "        default: return QString();");
    EXPECT_EQ(outputPath(color(), ".hpp"), "../enum/color.hpp");
}

TEST(Fill, LaterPlaceholdersInFieldsAreFilledEarlierOnesAreNot) {
    EnumType type = color();
    type.headerContents = "__ENUM_LOWERS __ENUM_NAME __ENUM_COUNT\n";
    type.desc = "__ENUM_KEY __ENUM_DEFAULT";
    EXPECT_EQ(fillHeader(type, "__ENUM_HEADER_CONTENTS__ENUM_DESC"), "color __ENUM_NAME 2\n__ENUM_KEY Red");
    // The source template fills only its own four placeholders.
    EXPECT_EQ(fillSource(type, "__ENUM_KEY __ENUM_FUNC_ITEM __ENUM_LOWERS"), "__ENUM_KEY __ENUM_FUNC_ITEM color");
    EXPECT_EQ(fillHeader(type, "__ENUM_INFOS __ENUM_TOTAL_COUNT"), "__ENUM_INFOS __ENUM_TOTAL_COUNT");
}

TEST(Fill, DefaultFlagsAndLookup) {
    EnumType type = color();
    const char* tmpl = "__ENUM_DEFAULT|__ENUM_IS_FLAG|__ENUM_FLAGS_NAME|__ENUM_FUNC_ITEM";
    EXPECT_EQ(fillHeader(type, tmpl), "Red|0||return 0 <= e && e < size() ? &info[(int)e] : nullptr;");
    type.defaultIndex = 1;
    type.flagsName = "Flag";
    type.sequential = false;
    EXPECT_EQ(fillHeader(type, tmpl),
              "Green|1|Flag|\n"
              "    auto it = std::find_if(info.cbegin(), info.cend(),\n"
              "                            [e] (const Item &info)\n"
              "                            { return info.value == e; });\n"
              "    return it != info.cend() ? &(*it) : nullptr;\n");
    type.items.clear();
    type.defaultIndex = 0;
    EXPECT_EQ(fillHeader(type, "[__ENUM_DEFAULT|__ENUM_VALUES|__ENUM_COUNT]"), "[||0]");
}

TEST(Fill, OutputPathChecks) {
    std::vector<EnumType> enums(3);
    enums[0].name = "Color";
    enums[0].line = 1;
    enums[1].name = std::string("Bad\0Name", 8);
    enums[1].line = 2;
    enums[2].name = "color";
    enums[2].line = 3;
    std::vector<std::string> errors;
    EXPECT_FALSE(checkOutputPaths(enums, "enum-list", &errors));
    EXPECT_EQ(errors, (std::vector<std::string>{
                          "enum-list:2: enum name holds a NUL byte, which no file name can hold",
                          "enum-list:3: enum 'color' writes the same files as enum 'Color' on line 1: "
                          "../enum/color.hpp and .cpp"}));
}

}  // namespace
