// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "enum-model.h"
#include "enum-reader.h"

// The value of an item's value text when it is an integer literal (decimal,
// hex, octal or binary, with digit separators and suffixes) or a constant
// expression of them with + - * ~ << >> & ^ | and parentheses; no value for
// anything else, such as names of other enumerators or results past 2^32.
std::optional<std::int64_t> evaluateValue(std::string_view text);

// Adds to `messages` every mistake of the enum list that would break the
// generated code whatever the templates (errors: names that are no C++
// identifiers, items named alike) and what is usually a mistake (warnings:
// equal values or keys).
void checkEnums(const std::vector<EnumType>& enums, ListMessages* messages);
