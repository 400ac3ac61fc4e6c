#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "enum-model.h"

// The enum list, read from the working directory.
inline constexpr char kEnumListPath[] = "enum-list";

// `text` without leading and trailing space, form feed, vertical tab, newline
// and carriage return. Tabs are not trimmed.
std::string_view trim(std::string_view text);

// The text between the first `open` and the first `close` after it; empty
// when either is missing.
std::string_view extractBetween(std::string_view text, std::string_view open, std::string_view close);

// The implicit value after `value`: its trailing decimal digit run counted on
// by one ("A007" gives "A8", "-1" gives "-2"). No value when `value` does not
// end in a digit.
std::optional<std::string> addOne(std::string_view value);

// "file:line: ", the prefix of every message about an enum-list line.
std::string lineLocation(const std::string& fileName, int line);

// A mistake at one line of the enum list. An error stops the run before any
// output is touched; a warning is reported and the run goes on.
struct ListMessage {
    enum class Kind { Error, Warning };
    int line = 0;
    Kind kind = Kind::Error;
    std::string text;

    bool operator==(const ListMessage&) const = default;
};
using ListMessages = std::vector<ListMessage>;

bool hasErrors(const ListMessages& messages);

// Parses enum-list text into `enums`. Lines that cannot be handled, and
// markers left open, add to `messages`.
void parseEnumList(std::string_view text, std::vector<EnumType>* enums, ListMessages* messages);

// Reads and parses the enum list; false, with `err` filled, when it cannot be read.
bool readEnums(std::vector<EnumType>* enums, ListMessages* messages, std::string* err);
