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

// Parses enum-list text into `enums`. Lines that cannot be handled add a
// "file:line: message" to `errors`; returns false when any did.
bool parseEnumList(std::string_view text, const std::string& fileName, std::vector<EnumType>* enums,
                   std::vector<std::string>* errors);

// Reads and parses the enum list; a list that cannot be read is an error too.
bool readEnums(std::vector<EnumType>* enums, std::vector<std::string>* errors);
