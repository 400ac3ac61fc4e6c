// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "enum-model.h"

// What the enum list's values mean. Every part of enumgen that needs an
// item's number (the checks, the implicit values, the language server, the
// lock) asks here, so they never disagree.

// The value of an item's value text when it is an integer literal (decimal,
// hex, octal or binary, with digit separators and suffixes) or a constant
// expression of them with + - * ~ << >> & ^ | and parentheses; no value for
// anything else, such as names of other enumerators or results past 2^32.
std::optional<std::int64_t> evaluateValue(std::string_view text);

// The implicit value after `value`: its trailing decimal digit run counted on
// by one ("A007" gives "A8", "-1" gives "-2"). No value when `value` does not
// end in a digit.
std::optional<std::string> addOne(std::string_view value);

// Why `next`, counted on from `previous` by its trailing digits, is not one
// more than its number: the digits belong to a hexadecimal, octal or binary
// literal and carried ("0x09" gives "0x10", 16), or follow a minus ("-1"
// gives "-2"). Decimal digits counted on elsewhere, as in "1 << 3", are what
// the list means.
enum class CountingHazard { None, NotDecimal, Downward };
CountingHazard countingHazard(std::string_view previous, std::string_view next);

// `value` followed by its number where the text does not show it plainly:
// "0x10 (16)", "1 << 2 (4)", "0b2 (no number)"; "7" stays "7".
std::string valueWithNumber(std::string_view value);

// Marks the enum's aliases: items with the value of an earlier item, which a
// switch over the values cannot take twice. Values are equal where enumgen
// can tell: numbers equal as the enum's int, equal texts, or the name of an
// earlier item (`Critical = Red`, `Critical = Color::Red`).
void markAliases(EnumType* type);
