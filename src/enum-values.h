// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "enum-model.h"

// What the enum list's values mean. Every part of enumgen that needs an
// item's number (the checks, the implicit values, the language server, the
// lock) asks here, so they never disagree.

// The numbers of an enum's items by name, for values that name earlier items.
using ItemNumbers = std::unordered_map<std::string_view, std::int32_t>;

// The value an item's value text gives the compiled enum, whose type is int,
// when it is an integer literal (decimal, hex, octal or binary, with digit
// separators and suffixes) or a constant expression of them with + - * ~ <<
// >> & ^ | and parentheses, and with `names`, of the items they name (`Red`
// or `<enumName>::Red`). Literals and operators are typed as C++ types them
// (0xF0000000 >> 28 is 15: the literal is unsigned), and the result is taken
// into int as static_cast<int> takes it. No value for anything else: another
// name, a result past 32 bits, an overflow or a shift the compiler refuses,
// or a result that differs where `long` is 32 bits wide (Windows).
std::optional<std::int32_t> evaluateValue(std::string_view text, const ItemNumbers* names = nullptr,
                                          std::string_view enumName = {});

// The value of each item of `type` as evaluateValue gives it, where a value
// may name the items before it.
std::vector<std::optional<std::int32_t>> itemNumbers(const EnumType& type);

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
// can tell: equal numbers (itemNumbers, so `Critical = Red` and `Critical =
// Color::Red` too), else equal texts.
void markAliases(EnumType* type);
