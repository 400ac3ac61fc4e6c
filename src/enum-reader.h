// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "enum-model.h"
#include "list-message.h"

// The enum list a run reads unless it is told another.
inline constexpr char kEnumListPath[] = "enum-list";

// `text` without leading and trailing space, form feed, vertical tab, newline
// and carriage return. Tabs are not trimmed.
std::string_view trim(std::string_view text);

// Parses enum-list text into `enums`. Lines that cannot be handled, markers
// left open, text outside every marker, texts that cannot be string literals,
// values counted on in a way that is rarely meant, a marker behind a tab and
// a '!' or '$' behind spaces add to `messages`. The
// items' texts are parts of `text`.
void parseEnumList(StoredText list, std::vector<EnumType>* enums, ListMessages* messages);
