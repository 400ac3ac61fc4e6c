// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <string_view>

// The bytes that give an enum list its shape, for the reader and for the
// importer, which writes lists.

// The first byte of a line, after leading space, says what it is.
inline constexpr char kEnumLead = '+';
inline constexpr char kItemLead = '-';
inline constexpr char kHeaderLead = '!';
inline constexpr char kFooterLead = '$';
// After the lead of an item line: the enum's default item.
inline constexpr char kDefaultMark = '*';

// A field's markers on a "+" or "-" line, and what messages call the field.
struct FieldMarkers {
    std::string_view open, close, field;
};
inline constexpr FieldMarkers kKeyMarkers{"[[", "]]", "key"};
inline constexpr FieldMarkers kValueMarkers{"[=", "=]", "value"};
inline constexpr FieldMarkers kDescMarkers{"[-", "-]", "description"};
inline constexpr FieldMarkers kDataMarkers{"[:", ":]", "data"};
inline constexpr FieldMarkers kFlagsMarkers{"[~", "~]", "flags name"};
// In the order the reader keeps a line's fields.
inline constexpr std::array<FieldMarkers, 5> kFieldMarkers = {kKeyMarkers, kValueMarkers, kDescMarkers, kDataMarkers,
                                                              kFlagsMarkers};

// The bytes a field's two markers add to its text, as in "[=" "1" "=]":
// what a message about the whole field underlines.
inline constexpr int kMarkersWidth = static_cast<int>(kValueMarkers.open.size() + kValueMarkers.close.size());
