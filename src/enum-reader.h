// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "enum-model.h"

// The enum list a run reads unless it is told another.
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

// A mistake at one line of the enum list. An error stops the run before any
// output is touched; a warning is reported and the run goes on.
struct ListMessage {
    enum class Kind { Error, Warning };
    int line = 0;
    Kind kind = Kind::Error;
    std::string text;
    // 1-based byte column and length of what the message is about; 0 when it
    // is about the whole line.
    int column = 0;
    int length = 0;
    // The other place a clash involves, what to say of it, and how many
    // bytes it spans.
    int noteLine = 0;
    int noteColumn = 0;
    std::string note{};
    int noteLength = 0;

    bool operator==(const ListMessage&) const = default;
};
using ListMessages = std::vector<ListMessage>;

bool hasErrors(const ListMessages& messages);

// Puts messages in line order, as a reader goes through the list; those of
// one line keep their order.
void sortByLine(ListMessages* messages);

// Parses enum-list text into `enums`. Lines that cannot be handled, markers
// left open, text outside every marker and texts that cannot be string
// literals add to `messages`. The items' texts are views into `text`, which
// must stay as it is while they are used.
void parseEnumList(std::string_view text, std::vector<EnumType>* enums, ListMessages* messages);

// Reads the enum list at `path` into `text` and parses it; false, with `err`
// filled, when it cannot be read.
bool readEnums(const std::string& path, std::string* text, std::vector<EnumType>* enums, ListMessages* messages,
               std::string* err);
