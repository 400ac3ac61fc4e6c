// SPDX-License-Identifier: MIT
// The enum-list corner cases the golden cases do not reach.
#include <gtest/gtest.h>

#include "enum-check.h"
#include "enum-reader.h"
#include "enum-values.h"

namespace {

// The lists' texts, which the enums read from them view, kept for the whole run.
TextStore texts;

std::vector<EnumType> parse(std::string_view text, ListMessages* messages) {
    std::vector<EnumType> enums;
    parseEnumList(texts.keep(std::string(text)), &enums, messages);
    return enums;
}

TEST(Reader, NamesAndFieldsStayAsWritten) {
    // Blank lines, a lone "\r", tab-led lines, comments and a byte-order mark
    // before "+" are skipped; CRLF ends are trimmed from "+" and "-" lines but
    // kept in "!" lines, whose first byte goes even when it is a space. A
    // marker behind a tab, and a '!' behind a space, are told.
    ListMessages messages;
    auto enums = parse(
        "  \n\r\n\t-Tab\n# c\n\xEF\xBB\xBF+Bom\n+\r\n-Red [[red]]\n- Red\n- *H\n-**I\n-[[a]\n"
        "-y[[k[-z-]]]\n-x[= 5 =][:  d :]\n !h \r\n+Seq\n-A[==]\n-B\n+Zero\n-A[=0=]\n",
        &messages);
    EXPECT_EQ(
        messages,
        (ListMessages{
            {3, ListMessage::Kind::Warning,
             "a tab before '-' makes the line a comment, so the item is left out; remove the tab", 1, 1},
            {11, ListMessage::Kind::Error, "'[[' is never closed by ']]', so the key cannot be read", 2, 2},
            {12, ListMessage::Kind::Warning, "']' is inside no marker, so it is ignored; is a marker mistyped?", 12, 1},
            {14, ListMessage::Kind::Warning,
             "'!' is not the line's first byte, so the line goes into the header contents as written but "
             "for its first byte, the marker included; start the line with '!'",
             2, 1}}));
    ASSERT_EQ(enums.size(), 3u);
    EXPECT_EQ(enums[0].name, "");
    EXPECT_EQ(enums[0].headerContents, "!h \r\n");
    const auto& items = enums[0].items;
    ASSERT_EQ(items.size(), 7u);
    EXPECT_EQ(items[0].name, "Red ");
    EXPECT_EQ(items[1].name, " Red");
    EXPECT_EQ(items[2].name, " *H");
    EXPECT_EQ(items[3].name, "*I");
    EXPECT_EQ(enums[0].defaultIndex, 3) << "only a star right after '-' counts";
    EXPECT_EQ(std::string(items[4].name) + "|" + std::string(items[4].key), "|")
        << "the name ends at an unclosed marker";
    EXPECT_EQ(std::string(items[5].key) + "|" + std::string(items[5].desc), "k[-z-|z")
        << "each field is searched on the whole line";
    EXPECT_EQ(items[6].value + "|" + items[6].data, " 5 |  d ");
    EXPECT_TRUE(enums[1].sequential) << "an empty value field is no explicit value";
    EXPECT_EQ(enums[1].items[1].value, "1");
    EXPECT_FALSE(enums[2].sequential) << "an explicit value counts even when it is the position";
}

TEST(Reader, ALongListReadsAsInOneGo) {
    // Long enough to be read in parts. Each enum's last item has no value to
    // count on from, so every part reports at its own lines; a '+' inside a
    // line and a '+' line led by a space are no places to part at.
    std::string list;
    const int count = 40000;
    for (int e = 0; e < count; ++e) {
        list += e % 2 ? " +E" : "+E";
        list += std::to_string(e) + "\n-A[-a+b-]\n!#include <x>\n-B[=x=]\n-C\n";
    }
    ASSERT_GT(list.size(), 1u << 20);
    ListMessages messages;
    const auto enums = parse(list, &messages);
    ASSERT_EQ(enums.size(), size_t{count});
    ASSERT_EQ(messages.size(), size_t{count});
    for (int e = 0; e < count; ++e) {
        const EnumType& type = enums[static_cast<size_t>(e)];
        const int line = 5 * e + 1;
        ASSERT_EQ(type.name, std::string("E").append(std::to_string(e)));
        ASSERT_EQ(type.line, line);
        ASSERT_EQ(type.headerContents, "#include <x>\n");
        ASSERT_EQ(type.items.size(), 3u);
        ASSERT_EQ(type.items[2].line, line + 4);
        const ListMessage& m = messages[static_cast<size_t>(e)];
        ASSERT_EQ(m.line, line + 4);
        ASSERT_EQ(m.noteLine, line + 3);
    }
}

TEST(Reader, AddOneCountsOnTheTrailingDigits) {
    const char* cases[][2] = {{"9", "10"},
                              {"Foo2", "Foo3"},
                              {"0x10", "0x11"},
                              {"A007", "A8"},
                              {"-1", "-2"},
                              {"A0999", "A1000"},
                              {"99999999999", "100000000000"}};
    for (const auto& [value, next] : cases)
        EXPECT_EQ(addOne(value), std::optional<std::string>(next)) << value;
    EXPECT_EQ(addOne("(1 << 3)"), std::nullopt);
    EXPECT_EQ(addOne(""), std::nullopt);
}

TEST(Values, CountingWarnsWhereALiteralIsNotCountedOnByOne) {
    // A counted value that is not one more than the literal before it gets a
    // warning; counting on a decimal number inside an expression is meant.
    const std::pair<const char*, CountingHazard> cases[] = {
        {"9", CountingHazard::None},      {"0x1", CountingHazard::None},       {"0x09", CountingHazard::NotDecimal},
        {"07", CountingHazard::None},     {"010", CountingHazard::NotDecimal}, {"0b1", CountingHazard::NotDecimal},
        {"-1", CountingHazard::Downward}, {"5 - 1", CountingHazard::Downward}, {"1 << 3", CountingHazard::None},
        {"Foo09", CountingHazard::None},  {"1'009", CountingHazard::None}};
    for (const auto& [value, hazard] : cases)
        EXPECT_EQ(countingHazard(value, addOne(value).value()), hazard) << value;
    // For a literal alone, the warning and the evaluation agree.
    for (const char* literal : {"9", "0x1", "0x09", "07", "010", "0b1", "-1"}) {
        const std::string next = addOne(literal).value();
        const auto before = evaluateValue(literal), after = evaluateValue(next);
        EXPECT_EQ(countingHazard(literal, next) == CountingHazard::None, before && after && *after == *before + 1)
            << literal;
    }
}

TEST(Check, ValuesOfLiteralsAndConstantExpressions) {
    const std::pair<const char*, std::int64_t> known[] = {
        {"0x1F", 31}, {"0b101", 5},      {"010", 8},       {"1'000'000uLL", 1000000}, {"-(1 << 3) | 1", -7},
        {" ~0 ", -1}, {"2 + 3 * 4", 14}, {"6 & 3 ^ 1", 3}, {"1 << 2 + 1", 8},         {"-0x80000000", -2147483648}};
    for (const auto& [text, value] : known)
        EXPECT_EQ(evaluateValue(text), std::optional<std::int64_t>(value)) << text;
    // Anything else may be an alias or a name; it is never compared.
    for (const char* text :
         {"", "Red", "1e5", "08", "1.0", "0x", "1 || 2", "1 <= 2", "(1", "1 << 33", "0x100000000 * 2", "1_km"})
        EXPECT_EQ(evaluateValue(text), std::nullopt) << text;
    EXPECT_EQ(evaluateValue(std::string(100000, '(') + "1" + std::string(100000, ')')), std::nullopt)
        << "deep nesting gives up instead of overflowing the stack";
}

}  // namespace
