// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "list-syntax.h"
#include "text-store.h"

// What the data of an item without any starts with, before its value text:
// the item's data is its value.
inline constexpr std::string_view kValueAsData = "(int)";

// One enumeration of the enum list with its items. Field texts are kept
// exactly as they stand between their markers; they are pasted into generated
// code unchanged.
struct EnumType {
    struct Item {
        // Views into the texts of a TextStore, such as the list's own text.
        StoredText key;
        StoredText name;
        StoredText desc;
        // Counted on from the previous item's where the list gives none.
        std::string value;
        std::string data;
        // Where the item's "-" line, its name and its key and value
        // markers stand in the enum list: line and 1-based byte column, 0
        // for a marker the line does not have.
        int line = 0;
        int column = 0;
        int keyColumn = 0;
        int valueColumn = 0;
        // What the item was before, which stored data may still hold, as
        // the lock keeps it: keys and names, then from `formerValuesAt` on
        // numbers in decimal (formerTexts, formerValues). One vector, as
        // most items have none: a second would cost a list of a million
        // items a tenth more memory and time.
        std::vector<std::string> former{};
        std::uint32_t formerValuesAt = 0;
        // Whether an earlier item has the item's value, so that the item
        // reads and writes as that one.
        bool alias = false;
    };

    std::string key;
    std::string name;
    std::string desc;
    std::string dataType;
    std::string headerContents;
    std::string footerContents;
    std::string flagsName;
    bool sequential = true;
    std::vector<Item> items;
    std::int32_t defaultIndex = 0;
    // Where the enum's "+" line, its name and its key marker stand, so
    // messages can point at them.
    int line = 0;
    int column = 0;
    int keyColumn = 0;
    // The texts of removed items, which a stored flags text may still hold:
    // the lock keeps them.
    std::vector<std::string> retiredTexts{};
};

inline std::span<const std::string> formerTexts(const EnumType::Item& item) {
    return std::span(item.former).first(item.formerValuesAt);
}

inline std::span<const std::string> formerValues(const EnumType::Item& item) {
    return std::span(item.former).subspan(item.formerValuesAt);
}
