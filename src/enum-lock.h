// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "enum-model.h"
#include "list-message.h"

// The lock: what stored data may hold of each enum, kept between runs beside
// the enum list, so that a value or key once released never changes or comes
// back with another meaning in silence.

struct LockItem {
    std::string name;
    // The item's number in decimal where it has one, else its value's text.
    std::string value;
    bool valueIsNumber = true;
    std::string key;
    // Keys and names the item had before: stored data may still hold them.
    std::vector<std::string> formerKeys;
    std::vector<std::string> formerNames;
    // Numbers the item had before, in decimal: stored data may hold them.
    std::vector<std::string> formerValues;
    // An item with the value of an earlier item, which reads as that one.
    bool alias = false;
    // A removed item, kept so that its value and key are not used again.
    bool retired = false;
    // Where it stands in the lock file; 0 for an item not read from one.
    int line = 0;
};

struct LockEnum {
    std::string name;
    bool flags = false;
    // A removed enum: every item of it is retired.
    bool retired = false;
    std::vector<LockItem> items;
    int line = 0;
};

struct Lock {
    std::vector<LockEnum> enums;
};

// What a run may do with the lock.
enum class LockMode {
    // Compatible changes are added to it; breaking ones are errors.
    Extend,
    // The list's changes are accepted: removed items and enums stay as
    // retired, changed keys and names as former ones.
    Update,
    // Any change it would need is an error (for CI).
    Frozen,
};

// Reads the lock text of the file `path`; a damaged lock adds errors at its
// lines (with `file` set to `path`) and reads as far as it is sound.
Lock parseLock(std::string_view text, const std::string& path, ListMessages* messages);

// The lock as its file holds it.
std::string formatLock(const Lock& lock);

// The lock the list makes from `old` under `mode`. Breaking changes (and with
// LockMode::Frozen every change) add errors at the list's lines with a note
// at the lock's line in `path`. Each item's former keys and names and each
// enum's retired keys are given to `enums`, for the templates.
Lock relock(std::vector<EnumType>* enums, const Lock& old, LockMode mode, const std::string& path,
            ListMessages* messages);
