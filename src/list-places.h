// SPDX-License-Identifier: MIT
#pragma once

#include "enum-model.h"
#include "list-message.h"

// The parts of an enum's or item's line a message may be about.
enum class ListField { Name, Key, Value };

// Where a field of `line` stands whose markers open at `fieldColumn` and
// hold `text`: the markers and their text, or the name when the line does
// not write the field (a column of 0), as for a value counted on.
template <class Line>
ListPlace placeOf(const Line& line, int fieldColumn, std::string_view text) {
    if (fieldColumn)
        return {line.line, fieldColumn, static_cast<int>(text.size()) + kMarkersWidth};
    return {line.line, line.column, static_cast<int>(line.name.size())};
}

inline ListPlace placeOf(const EnumType& type, ListField field = ListField::Name) {
    return field == ListField::Key ? placeOf(type, type.keyColumn, type.key) : placeOf(type, 0, {});
}

inline ListPlace placeOf(const EnumType::Item& item, ListField field) {
    switch (field) {
        case ListField::Key:
            return placeOf(item, item.keyColumn, item.key);
        case ListField::Value:
            return placeOf(item, item.valueColumn, item.value);
        case ListField::Name:
            break;
    }
    return placeOf(item, 0, {});
}
