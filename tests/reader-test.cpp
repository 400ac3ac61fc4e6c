#include <gtest/gtest.h>

#include "enum-reader.h"

namespace {

std::vector<EnumType> parse(const std::string& text) {
    std::vector<EnumType> enums;
    std::vector<std::string> errors;
    EXPECT_TRUE(parseEnumList(text, "enum-list", &enums, &errors)) << testing::PrintToString(errors);
    return enums;
}

std::vector<std::string> parseErrors(const std::string& text) {
    std::vector<EnumType> enums;
    std::vector<std::string> errors;
    EXPECT_FALSE(parseEnumList(text, "enum-list", &enums, &errors));
    return errors;
}

TEST(Reader, WorkedExample) {
    auto enums = parse("+Color[[color]][-Colour-]\n-Red\n-*Green[=5=]\n-Blue");
    ASSERT_EQ(enums.size(), 1u);
    const EnumType& color = enums[0];
    EXPECT_EQ(color.name, "Color");
    EXPECT_EQ(color.key, "color");
    EXPECT_EQ(color.desc, "Colour");
    EXPECT_EQ(color.dataType, "QVariant");
    EXPECT_FALSE(color.sequential);
    EXPECT_EQ(color.defaultIndex, 1);
    ASSERT_EQ(color.items.size(), 3u);
    const char* expected[][3] = {{"Red", "0", "(int)0"}, {"Green", "5", "(int)5"}, {"Blue", "6", "(int)6"}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(color.items[i].name, expected[i][0]);
        EXPECT_EQ(color.items[i].value, expected[i][1]);
        EXPECT_EQ(color.items[i].data, expected[i][2]);
    }
}

TEST(Reader, NamesAndFieldsStayAsWritten) {
    auto enums = parse("+\n-Red [[red]]\n- Red\n- *H\n-**I\n-[[a]\n-y[[k[-z-]]]\n-x[= 5 =][:  d :]\n");
    ASSERT_EQ(enums.size(), 1u);
    EXPECT_EQ(enums[0].name, "");
    const auto& items = enums[0].items;
    ASSERT_EQ(items.size(), 7u);
    EXPECT_EQ(items[0].name, "Red ");
    EXPECT_EQ(items[0].key, "red");
    EXPECT_EQ(items[1].name, " Red");
    EXPECT_EQ(items[2].name, " *H");
    EXPECT_EQ(items[3].name, "*I");
    EXPECT_EQ(enums[0].defaultIndex, 3) << "only a star right after '-' counts";
    EXPECT_EQ(items[4].name, "") << "the name ends at an unclosed marker";
    EXPECT_EQ(items[4].key, "");
    EXPECT_EQ(items[5].key, "k[-z-") << "each field is searched on the whole line";
    EXPECT_EQ(items[5].desc, "z");
    EXPECT_EQ(items[6].value, " 5 ");
    EXPECT_EQ(items[6].data, "  d ");
}

TEST(Reader, LinesSkippedOrIgnored) {
    // Blank and whitespace lines, a lone "\r", a tab-led line, comments and a
    // byte-order mark before "+" all leave the list as it is; CRLF ends are trimmed.
    auto enums = parse("  \n\r\n\t-Tabbed\n# comment\n\xEF\xBB\xBF+Bom\n+A\r\n-X\r\n  -Y  \r\n\t-Z\n");
    ASSERT_EQ(enums.size(), 1u);
    EXPECT_EQ(enums[0].name, "A");
    ASSERT_EQ(enums[0].items.size(), 2u);
    EXPECT_EQ(enums[0].items[0].name, "X");
    EXPECT_EQ(enums[0].items[1].name, "Y");
    EXPECT_TRUE(parse("").empty());
}

TEST(Reader, HeaderAndFooterLines) {
    auto enums = parse("+A\n!#include <QString>\n$}\n$ x\n !y \r\n");
    ASSERT_EQ(enums.size(), 1u);
    EXPECT_EQ(enums[0].headerContents, "#include <QString>\n!y \r\n") << "the first byte goes, even a space";
    EXPECT_EQ(enums[0].footerContents, "\n}\n x\n");
}

TEST(Reader, EnumLineFields) {
    auto enums = parse("+Flags[~Flag~][:quint8:][=3=]\n-A[=1 << 0=]\n-B\n-C\n+Seq\n-A\n-*B[==]\n+Zero\n-A[=0=]");
    ASSERT_EQ(enums.size(), 3u);
    EXPECT_EQ(enums[0].flagsName, "Flag");
    EXPECT_EQ(enums[0].dataType, "quint8");
    EXPECT_EQ(enums[0].items[1].value, "1 << 1");
    EXPECT_EQ(enums[0].items[2].value, "1 << 2");
    EXPECT_TRUE(enums[1].sequential) << "an empty value field is no explicit value";
    EXPECT_EQ(enums[1].items[1].value, "1");
    EXPECT_EQ(enums[1].defaultIndex, 1);
    EXPECT_FALSE(enums[2].sequential);
}

TEST(Reader, AddOneCountsOnTheTrailingDigits) {
    const char* cases[][2] = {{"0", "1"},           {"9", "10"},         {"Foo2", "Foo3"},
                              {"1 << 3", "1 << 4"}, {"0x10", "0x11"},    {"A007", "A8"},
                              {"-1", "-2"},         {"A000", "A1"},      {"A0999", "A1000"},
                              {"99999999999", "100000000000"},           {"2147483647", "2147483648"}};
    for (const auto& [value, next] : cases)
        EXPECT_EQ(addOne(value), std::optional<std::string>(next)) << value;
    EXPECT_EQ(addOne("Foo"), std::nullopt);
    EXPECT_EQ(addOne("(1 << 3)"), std::nullopt);
    EXPECT_EQ(addOne(""), std::nullopt);
}

TEST(Reader, Errors) {
    EXPECT_EQ(parseErrors("# c\n!x\n$y\n-z\n+A\n-B"),
              (std::vector<std::string>{
                  "enum-list:2: '!' line before the first '+' line: there is no enum for it to belong to",
                  "enum-list:3: '$' line before the first '+' line: there is no enum for it to belong to",
                  "enum-list:4: '-' line before the first '+' line: there is no enum for it to belong to"}));
    // Only the first item without a value to count on from is reported; an
    // explicit value starts the count again, and so does the next enum.
    EXPECT_EQ(parseErrors("+A\n-X[=Foo=]\n-Y\n-Z\n-W[=1=]\n-V\n-U[=a=]\n+B\n-P[=(1)=]\n-Q\n"),
              (std::vector<std::string>{
                  "enum-list:3: item 'Y' has no value to count on from: the previous value 'Foo' does not end in a "
                  "decimal digit; give the item an explicit value with [=...=]",
                  "enum-list:10: item 'Q' has no value to count on from: the previous value '(1)' does not end in a "
                  "decimal digit; give the item an explicit value with [=...=]"}));
}

}  // namespace
