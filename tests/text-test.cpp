// SPDX-License-Identifier: MIT
// What the golden cases do not reach: replacement corner cases and bytes
// outside ASCII.
#include <gtest/gtest.h>

#include "template-fill.h"
#include "text-ops.h"

namespace {

std::string replaced(std::string text, const char* from, const char* to) { return replace(text, from, to); }

TEST(Text, ReplaceNeverSearchesWhatItInserted) {
    EXPECT_EQ(replaced("__ENUM_NAME__ENUM_NAME", "__ENUM_NAME", "Color"), "ColorColor");
    EXPECT_EQ(replaced("AB", "AB", "ABAB"), "ABAB");
    EXPECT_EQ(replaced("xAyAz", "A", "BCD"), "xBCDyBCDz");
    EXPECT_EQ(replaced("xAAAy", "AA", "A"), "xAAy");
    EXPECT_EQ(replaced("a__ENUM_Xb", "__ENUM_X", ""), "ab");
    EXPECT_EQ(toUpper("MyEnum_1\xC3\xA9"), "MYENUM_1\xC3\xA9");
    EXPECT_EQ(toLower("MyEnum_1\xC3\x89"), "myenum_1\xC3\x89");
}

TEST(Text, FillFillsPlaceholdersThatInsertedTextsBring) {
    auto filled = [](std::string text, std::string name, std::string key, size_t maxSize = 100) {
        EnumType type;
        type.name = std::move(name);
        type.key = std::move(key);
        return fillHeader(type, &text, maxSize) ? text : "(too big)";
    };
    EXPECT_EQ(filled("<__ENUM_NAME|__ENUM_KEY>", "n", "k"), "<n|k>");
    EXPECT_EQ(filled("<__ENUM_NAMEKEY|__ENUM_KEY>", "__ENUM_", "k"), "<k|k>");
    EXPECT_EQ(filled("<__ENUM_KEY>", "n", "__ENUM_NAME"), "<__ENUM_NAME>");
    EXPECT_EQ(filled("__ENUM_NAME__ENUM_DESC", std::string(95, 'n'), ""), "(too big)");
}

}  // namespace
