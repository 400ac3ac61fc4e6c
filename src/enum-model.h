#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One enumeration of the enum list with its items. Field texts are kept
// exactly as they stand between their markers; they are pasted into generated
// code unchanged.
struct EnumType {
    struct Item {
        std::string key;
        std::string name;
        std::string value;
        std::string desc;
        std::string data;
        // Enum-list line of the item's "-" line.
        int line = 0;
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
    // Enum-list line of the enum's "+" line, so messages can point at it.
    int line = 0;
};
