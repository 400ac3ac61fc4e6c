// SPDX-License-Identifier: MIT
#pragma once

#include "enum-model.h"
#include "list-message.h"

// The parts of an item a message may be about.
enum class ItemField { Name, Value };

// Where an enum's name stands in the list.
inline ListPlace placeOf(const EnumType& type) { return {type.line, type.column, static_cast<int>(type.name.size())}; }

// Where `field` of `item` stands in the list: its markers and their text, or
// the item's name when the line does not write the field, as for a value
// counted on.
inline ListPlace placeOf(const EnumType::Item& item, ItemField field) {
    if (field == ItemField::Value && item.valueColumn)
        return {item.line, item.valueColumn, static_cast<int>(item.value.size()) + kMarkersWidth};
    return {item.line, item.column, static_cast<int>(item.name.size())};
}
