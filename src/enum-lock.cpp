// SPDX-License-Identifier: MIT
#include "enum-lock.h"

#include <algorithm>
#include <cctype>
#include <bit>
#include <limits>
#include <optional>
#include <set>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "enum-values.h"
#include "stored-reads.h"
#include "text-ops.h"

namespace {

constexpr std::string_view kHeader = "# enumgen lock 2";
// A lock of enumgen 1.0, which marked no alias: an item with the value of an
// earlier one was one.
constexpr std::string_view kHeaderWithoutAliases = "# enumgen lock 1";

// ---- Reading and writing the lock file ----

// `text` between double quotes, with '\\', '"' and line ends escaped.
std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"')
            out.push_back('\\');
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n' || c == '\r') {
            out.append(c == '\n' ? "\\n" : "\\r");
        } else if (byte < 0x20 || byte == 0x7f) {
            // Other control bytes as \xHH, so that the lock holds none.
            static constexpr char kHex[] = "0123456789abcdef";
            out.append("\\x").push_back(kHex[byte >> 4]);
            out.push_back(kHex[byte & 15]);
        } else {
            out.push_back(c);
        }
    }
    return out + '"';
}

// One line of the lock being read: its words in turn, where a word is a run
// of bytes without space or a quoted text.
struct LockLine {
    std::string_view text;
    size_t pos = 0;
    // Whether the last word read was quoted, and where it started.
    bool wasQuoted = false;
    size_t wordStart = 0;
};

// The next word, unescaped; none at the end of the line or in a quoted text
// that never ends.
std::optional<std::string> nextWord(LockLine* line) {
    const std::string_view text = line->text;
    size_t& pos = line->pos;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t'))
        ++pos;
    line->wordStart = pos;
    line->wasQuoted = pos < text.size() && text[pos] == '"';
    if (pos == text.size())
        return std::nullopt;
    std::string word;
    if (!line->wasQuoted) {
        while (pos < text.size() && text[pos] != ' ' && text[pos] != '\t')
            word.push_back(text[pos++]);
        return word;
    }
    for (++pos; pos < text.size(); ++pos) {
        char c = text[pos];
        if (c == '"') {
            ++pos;
            return word;
        }
        if (c == '\\' && pos + 3 < text.size() && text[pos + 1] == 'x' && std::isxdigit(static_cast<unsigned char>(text[pos + 2])) &&
            std::isxdigit(static_cast<unsigned char>(text[pos + 3]))) {
            c = static_cast<char>(std::stoi(std::string(text.substr(pos + 2, 2)), nullptr, 16));
            pos += 3;
        } else if (c == '\\' && ++pos < text.size()) {
            c = text[pos] == 'n' ? '\n' : text[pos] == 'r' ? '\r' : text[pos];
        }
        word.push_back(c);
    }
    return std::nullopt;
}

// What reading one lock file needs: where it is, and where its mistakes go.
struct LockReader {
    const std::string& path;
    ListMessages* messages;
    int line = 0;
    bool failed = false;
};

void lockError(LockReader* reader, const LockLine& line, std::string text) {
    ListMessage m{reader->line, ListMessage::Kind::Error, std::move(text), static_cast<int>(line.wordStart) + 1};
    m.file = reader->path;
    reader->messages->push_back(std::move(m));
    reader->failed = true;
}

bool isNumber(std::string_view word) {
    const std::string_view digits = word.starts_with('-') ? word.substr(1) : word;
    return !digits.empty() && std::all_of(digits.begin(), digits.end(), isDigit);
}

// A number of the lock as the enum's int holds it: a lock of an earlier
// enumgen may hold 2147483648 for 0x80000000, which the compiled enum holds
// as -2147483648.
std::string asInt(const std::string& number) {
    if (number.size() > 11)
        return number;
    const std::int64_t value = std::stoll(number);
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::uint32_t>::max())
        return number;
    return toString(static_cast<std::int32_t>(static_cast<std::uint32_t>(value)));
}

// Reads "<name> value <value> key <key>" and the former keys and names of an
// "item" or "retired" line.
bool readItem(LockReader* reader, LockLine* line, LockItem* item) {
    std::optional<std::string> name = nextWord(line);
    if (!name || line->wasQuoted || name->empty()) {
        lockError(reader, *line, "an item's name is missing");
        return false;
    }
    item->name = std::move(*name);
    for (const char* field : {"value", "key"}) {
        std::optional<std::string> word = nextWord(line);
        std::optional<std::string> value = word == field ? nextWord(line) : std::nullopt;
        const bool number = value && !line->wasQuoted && isNumber(*value);
        if (!value && line->wasQuoted) {
            lockError(reader, *line, "a quoted text never ends: is the lock cut short?");
            return false;
        }
        if (!value || (!line->wasQuoted && !number) || (field == std::string_view("key") && !line->wasQuoted)) {
            lockError(reader, *line,
                      "item '" + excerpt(item->name) + "' needs " + field +
                          (field == std::string_view("key") ? " \"<text>\"" : " <number> or value \"<text>\""));
            return false;
        }
        if (field == std::string_view("value")) {
            item->value = number ? asInt(*value) : std::move(*value);
            item->valueIsNumber = number;
        } else {
            item->key = std::move(*value);
        }
    }
    while (std::optional<std::string> word = nextWord(line)) {
        if (*word == "alias" && !line->wasQuoted) {
            item->alias = true;
            continue;
        }
        std::optional<std::string> former = nextWord(line);
        const bool number = *word == "former-value";
        if (!former || (*word != "former-key" && *word != "former-name" && !number) || line->wasQuoted == number ||
            (number && !isNumber(*former))) {
            lockError(reader, *line,
                      "item '" + excerpt(item->name) +
                          "': expected alias, former-key \"<text>\", former-name \"<text>\" or former-value <number>");
            return false;
        }
        if (number)
            item->formerValues.push_back(asInt(*former));
        else
            (*word == "former-key" ? item->formerKeys : item->formerNames).push_back(std::move(*former));
    }
    // The texts become string literals of the generated code, as the list's
    // keys do; a lock edited by hand must not break them.
    std::vector<const std::string*> texts{&item->name, &item->key};
    for (const std::vector<std::string>* formers : {&item->formerKeys, &item->formerNames})
        for (const std::string& former : *formers)
            texts.push_back(&former);
    for (const std::string* text : texts) {
        if (literalBreak(*text) != std::string::npos) {
            lockError(reader, *line,
                      "item '" + excerpt(item->name) + "': the text '" + excerpt(*text) +
                          "' cannot stand in a string literal; write '\\\"' and '\\\\'");
            return false;
        }
    }
    return true;
}

// Reads an "enum" line; false for a damaged one.
bool readEnum(LockReader* reader, LockLine* line, LockEnum* type) {
    std::optional<std::string> name = nextWord(line);
    if (!name || line->wasQuoted || name->empty()) {
        lockError(reader, *line, "an enum's name is missing");
        return false;
    }
    type->name = std::move(*name);
    type->line = reader->line;
    while (std::optional<std::string> word = nextWord(line)) {
        if (*word == "flags" && !line->wasQuoted) {
            type->flags = true;
        } else if (*word == "retired" && !line->wasQuoted) {
            type->retired = true;
        } else {
            lockError(reader, *line, "enum '" + excerpt(type->name) + "': unknown word '" + excerpt(*word) + "'");
            return false;
        }
    }
    return true;
}

// Reads one line into `lock`, where `seen` tells which enums and items were
// read already and on which line.
void readLockLine(LockReader* reader, std::string_view text, Lock* lock,
                  std::unordered_map<std::string, int>* seenEnums, std::unordered_map<std::string, int>* seenItems) {
    LockLine line{text};
    const std::optional<std::string> kind = nextWord(&line);
    if (!kind || kind->starts_with('#'))
        return;
    if (*kind == "enum") {
        LockEnum type;
        if (!readEnum(reader, &line, &type))
            return;
        if (const auto [at, added] = seenEnums->emplace(type.name, reader->line); !added) {
            line.wordStart = 0;
            lockError(reader, line,
                      "enum '" + excerpt(type.name) + "' is in the lock twice, first on line " + toString(at->second));
            return;
        }
        seenItems->clear();
        lock->enums.push_back(std::move(type));
        return;
    }
    if (*kind != "item" && *kind != "retired") {
        lockError(reader, line,
                  "'" + excerpt(*kind) + "' is no line of a lock: a line starts with enum, item or retired");
        return;
    }
    if (lock->enums.empty()) {
        lockError(reader, line, "'" + *kind + "' line before the first 'enum' line");
        return;
    }
    LockItem item;
    item.retired = *kind == "retired";
    item.line = reader->line;
    if (!readItem(reader, &line, &item))
        return;
    if (const auto [at, added] = seenItems->emplace(item.name, reader->line); !added) {
        line.wordStart = 0;
        lockError(reader, line,
                  "item '" + excerpt(item.name) + "' is in enum '" + excerpt(lock->enums.back().name) +
                      "' twice, first on line " + toString(at->second));
        return;
    }
    lock->enums.back().items.push_back(std::move(item));
}

// Whether a line is one of the markers git leaves around a conflict.
bool isConflictMarker(std::string_view line) {
    return line.starts_with("<<<<<<<") || line.starts_with("=======") || line.starts_with(">>>>>>>") ||
           line.starts_with("|||||||");
}

// Marks as aliases the items of a lock without marks whose value an earlier
// current item of their enum holds.
void markOldAliases(Lock* lock) {
    for (LockEnum& type : lock->enums) {
        std::unordered_set<std::string> values;
        for (LockItem& item : type.items)
            if (!item.retired)
                item.alias = !values.insert((item.valueIsNumber ? "n" : "t") + item.value).second;
    }
}

}  // namespace

Lock parseLock(std::string_view text, const std::string& path, ListMessages* messages) {
    LockReader reader{path, messages};
    Lock lock;
    bool withoutAliases = false;
    std::unordered_map<std::string, int> seenEnums, seenItems;
    for (size_t pos = 0; pos < text.size();) {
        const size_t end = std::min(text.find('\n', pos), text.size());
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++reader.line;
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (reader.line == 1 && line == kHeaderWithoutAliases) {
            withoutAliases = true;
            continue;
        }
        if (isConflictMarker(line)) {
            lockError(&reader, LockLine{line},
                      "a merge conflict: git could not merge the lock's lines; take the lock of one side (git "
                      "checkout --ours <lock>), merge the list, then run enumgen --lock-update, which adds what the "
                      "other side changed and refuses what the two sides gave different meanings");
            continue;
        }
        if (reader.line == 1 && line != kHeader) {
            lockError(&reader, LockLine{line},
                      "this is no enumgen lock: its first line is not '" + std::string(kHeader) + "'");
            return {};
        }
        // A control byte is no text a lock writes, and would garble the
        // messages that quote the line.
        const auto control = std::find_if(line.begin(), line.end(), [](char c) {
            return (static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == '\x7f';
        });
        if (control != line.end()) {
            LockLine at{line};
            at.wordStart = static_cast<size_t>(control - line.begin());
            lockError(&reader, at, "a control byte (" + excerpt(std::string_view(&*control, 1)) +
                                       ") is no text of a lock: is the file damaged?");
            continue;
        }
        readLockLine(&reader, line, &lock, &seenEnums, &seenItems);
    }
    if (reader.line == 0)
        lockError(&reader, LockLine{}, "the lock is empty; a lock starts with '" + std::string(kHeader) + "'");
    if (!text.empty() && !text.ends_with('\n') && !reader.failed)
        lockError(&reader, LockLine{}, "the lock's last line has no line end: is it cut short?");
    if (withoutAliases)
        markOldAliases(&lock);
    return lock;
}

std::string formatLock(const Lock& lock) {
    std::string text = std::string(kHeader) +
                       "\n"
                       "# What data stored by the application may hold of each enum: its items'\n"
                       "# values and keys, and the keys and names they had before. enumgen keeps it\n"
                       "# with --lock; commit it beside the enum list. 'retired' is a removed item,\n"
                       "# whose value and key are not to be used again.\n";
    for (const LockEnum& type : lock.enums) {
        text.append("\nenum ").append(type.name);
        text.append(type.flags ? " flags" : "").append(type.retired ? " retired\n" : "\n");
        for (const LockItem& item : type.items) {
            text.append(item.retired ? "retired " : "item ").append(item.name);
            text.append(" value ").append(item.valueIsNumber ? item.value : quoted(item.value));
            text.append(" key ").append(quoted(item.key));
            text.append(item.alias ? " alias" : "");
            for (const std::string& key : item.formerKeys)
                text.append(" former-key ").append(quoted(key));
            for (const std::string& name : item.formerNames)
                text.append(" former-name ").append(quoted(name));
            for (const std::string& value : item.formerValues)
                text.append(" former-value ").append(value);
            text.push_back('\n');
        }
    }
    return text;
}

namespace {

// ---- Comparing the list with the lock ----

// What relocking one list works with.
struct Relock {
    LockMode mode;
    const std::string& path;
    ListMessages* messages;
};

// The list's enum with the number of each item's value, evaluated once.
struct ListEnum {
    const EnumType& type;
    std::vector<std::optional<std::int32_t>> numbers;
};

// The text stored data holds of an item: its key, or its name where it has
// no key (the bundled templates' enumText).
std::string_view storedText(std::string_view key, std::string_view name) { return key.empty() ? name : key; }

LockItem lockItemOf(const ListEnum& list, size_t index) {
    const EnumType::Item& item = list.type.items[index];
    LockItem locked;
    locked.name = item.name;
    const std::optional<std::int32_t> number = list.numbers[index];
    locked.valueIsNumber = number.has_value();
    locked.value = number ? toString(*number) : item.value;
    locked.key = item.key;
    locked.alias = item.alias;
    return locked;
}

std::string shownValue(const LockItem& item) {
    return item.valueIsNumber ? item.value : "'" + excerpt(item.value) + "'";
}

ListMessage messageAt(int line, int column, int length, ListMessage::Kind kind, std::string text) {
    return {line, kind, std::move(text), column, length};
}

// Adds an error at the list's `line` with a note at the lock's `lockLine`.
void refuse(const Relock& r, int line, int column, int length, std::string text, int lockLine, std::string note) {
    ListMessage m = messageAt(line, column, length, ListMessage::Kind::Error, std::move(text));
    if (lockLine > 0) {
        m.noteLine = lockLine;
        m.note = std::move(note);
        m.noteFile = r.path;
    }
    r.messages->push_back(std::move(m));
}

// A breaking change: an error, but under LockMode::Update accepted with a
// note that says so, as `cargo update` lists what it changed.
void breaking(const Relock& r, int line, int column, int length, std::string text, int lockLine, std::string note,
              const std::string& accepted) {
    if (r.mode != LockMode::Update)
        refuse(r, line, column, length, std::move(text), lockLine, std::move(note));
    else
        r.messages->push_back(messageAt(line, column, length, ListMessage::Kind::Note, "accepted: " + accepted));
}

// A compatible change, an error only under LockMode::Frozen.
void compatible(const Relock& r, int line, int column, int length, const std::string& what) {
    if (r.mode == LockMode::Frozen)
        refuse(r, line, column, length, what + " is not in the lock " + r.path + " yet; a run without --locked adds it",
               0, {});
}

// The place of an item's value in the list: its value marker, or its name
// where the value is counted on.
void valuePlace(const EnumType::Item& item, int* column, int* length) {
    *column = item.valueColumn ? item.valueColumn : item.column;
    *length = item.valueColumn ? static_cast<int>(item.value.size()) + kMarkersWidth : static_cast<int>(item.name.size());
}

// Former keys, names and values that are the item's own again are former no more.
void dropCurrent(LockItem* item) {
    std::erase(item->formerKeys, item->key);
    std::erase(item->formerNames, item->name);
    std::erase(item->formerValues, item->value);
}

// ---- Hints that lead to no other item's value ----

// Whether a list uses shifts for its values, as flags usually do.
bool spellsShifts(const EnumType& type) {
    return std::any_of(type.items.begin(), type.items.end(),
                       [](const EnumType::Item& item) { return item.value.find("<<") != std::string::npos; });
}

// `number` as the enum writes its values: "1 << 3" for a single bit where it
// uses shifts.
std::string spelled(const EnumType& type, std::int64_t number) {
    const auto bits = static_cast<std::uint32_t>(number);
    if (!type.flagsName.empty() && spellsShifts(type) && bits != 0 && (bits & (bits - 1)) == 0)
        return "1 << " + toString(std::countr_zero(bits));
    return toString(number);
}

// A value that no item of the list or the lock holds or held: the next
// number after every one, or for flags the lowest bit none has.
std::optional<std::int64_t> freeValue(const ListEnum& list, const LockEnum& old) {
    std::int64_t highest = -1;
    std::uint32_t used = 0;
    const auto see = [&](std::int64_t number) {
        highest = std::max(highest, number);
        used |= static_cast<std::uint32_t>(number);
    };
    for (const std::optional<std::int32_t>& number : list.numbers)
        if (number)
            see(*number);
    for (const LockItem& item : old.items) {
        if (const std::optional<std::int64_t> number = lockNumber(item))
            see(*number);
        for (const std::string& value : item.formerValues)
            see(std::stoll(value));
    }
    if (!list.type.flagsName.empty())
        return ~used ? std::optional<std::int64_t>(std::uint32_t{1} << std::countr_one(used)) : std::nullopt;
    return highest < std::numeric_limits<std::int32_t>::max() ? std::optional(highest + 1) : std::nullopt;
}

// What to do about an item whose locked value `old` changed: give it back,
// and where another item holds it now, give that one a free value.
std::string valueHint(const ListEnum& list, size_t index, const LockItem& old, const LockEnum& oldEnum) {
    if (!old.valueIsNumber)
        return "give it [=" + excerpt(old.value) + "=], or accept the change with --lock-update";
    const std::int64_t number = *lockNumber(old);
    std::string hint = "give it [=" + spelled(list.type, number) + "=] back";
    for (size_t j = 0; j < list.numbers.size(); ++j) {
        if (j == index || list.numbers[j] != number)
            continue;
        const EnumType::Item& holder = list.type.items[j];
        hint += ", and item '" + excerpt(holder.name) + "' on line " + toString(holder.line) +
                ", which holds it now, a value no item holds or held";
        if (const std::optional<std::int64_t> free = freeValue(list, oldEnum))
            hint += ", such as [=" + spelled(list.type, *free) + "=]";
        return hint + " (a new item is best added last)";
    }
    return hint + ", or accept the change with --lock-update";
}

// ---- Relocking one enum ----

// The lock entry of a list item that the lock has under its name.
LockItem relockKnown(const Relock& r, const ListEnum& list, size_t index, const LockItem& old, const LockEnum& oldEnum) {
    const EnumType& type = list.type;
    const EnumType::Item& item = type.items[index];
    LockItem locked = lockItemOf(list, index);
    const std::string quotedName = "item '" + excerpt(item.name) + "'";
    locked.formerKeys = old.formerKeys;
    locked.formerNames = old.formerNames;
    locked.formerValues = old.formerValues;
    if (old.retired) {
        if (locked.value != old.value || locked.key != old.key)
            refuse(r, item.line, item.column, static_cast<int>(item.name.size()),
                   quotedName + " was removed, and the lock keeps it retired with the value " + shownValue(old) +
                       " and the key '" + excerpt(old.key) + "'; bring it back with them, or give it another name",
                   old.line, "the retired item is here");
        return locked;
    }
    // A lock of an earlier enumgen may hold a value it could not evaluate as
    // its text: the same text is the same value.
    if (!old.valueIsNumber && old.value == item.value) {
        locked.value = old.value;
        locked.valueIsNumber = false;
    }
    if (locked.value != old.value || locked.valueIsNumber != old.valueIsNumber) {
        const bool counted = item.valueColumn == 0 && index > 0;
        int column = 0, length = 0;
        valuePlace(item, &column, &length);
        breaking(r, item.line, column, length,
                 quotedName + " has the value " + shownValue(locked) + ", where the lock holds " + shownValue(old) +
                     (counted ? ", as it counts on from item '" + excerpt(type.items[index - 1].name) + "'" : "") +
                     ": stored data holding " + shownValue(old) + " would read as another item or none; " +
                     valueHint(list, index, old, oldEnum),
                 old.line, quotedName + " is locked here",
                 quotedName + " has the value " + shownValue(locked) + " for " + shownValue(old) +
                     (old.valueIsNumber ? ", which still reads as it" : ""));
        if (old.valueIsNumber)
            locked.formerValues.push_back(old.value);
    }
    // An item given its first key is still read by its name.
    if (locked.key != old.key && !old.key.empty()) {
        breaking(
            r, item.line, item.keyColumn ? item.keyColumn : item.column,
            item.keyColumn ? static_cast<int>(item.key.size()) + kMarkersWidth : static_cast<int>(item.name.size()),
            quotedName + " has the key '" + excerpt(item.key) + "', where the lock holds '" + excerpt(old.key) +
                "': settings holding '" + excerpt(old.key) +
                "' would no longer read as it; keep the key, or accept the change with --lock-update, which "
                "keeps '" +
                excerpt(old.key) + "' as a former key that still reads",
            old.line, quotedName + " is locked here",
            quotedName + " has the key '" + excerpt(item.key) + "' for '" + excerpt(old.key) +
                "', which still reads as it");
        locked.formerKeys.push_back(old.key);
    }
    dropCurrent(&locked);
    return locked;
}

// The lock entry of a list item the lock does not have under its name when
// an item the list no longer names had its value: the same item, renamed.
// None for a new item.
std::optional<LockItem> relockRenamed(const Relock& r, const ListEnum& list, size_t index, const LockEnum& old,
                                      std::unordered_map<std::string, std::vector<size_t>>* removedByValue,
                                      std::optional<size_t>* renamedFrom) {
    const EnumType::Item& item = list.type.items[index];
    LockItem locked = lockItemOf(list, index);
    auto& candidates = (*removedByValue)[(locked.valueIsNumber ? "n" : "t") + locked.value];
    if (candidates.empty())
        return std::nullopt;
    *renamedFrom = candidates.front();
    candidates.erase(candidates.begin());
    const LockItem& renamed = old.items[**renamedFrom];
    breaking(r, item.line, item.column, static_cast<int>(item.name.size()),
             "item '" + excerpt(item.name) + "' has the value " + shownValue(locked) + " of item '" +
                 excerpt(renamed.name) +
                 "', which is gone: a rename? Names stored before, and QML code, would no longer read as it; keep "
                 "the name, or accept the change with --lock-update, which keeps '" +
                 excerpt(renamed.name) + "' as a former name that still reads",
             renamed.line, "item '" + excerpt(renamed.name) + "' is locked here",
             "item '" + excerpt(renamed.name) + "' is renamed '" + excerpt(item.name) + "', and its name still reads");
    locked.formerKeys = renamed.formerKeys;
    locked.formerNames = renamed.formerNames;
    locked.formerValues = renamed.formerValues;
    locked.formerNames.push_back(renamed.name);
    if (!renamed.key.empty() && renamed.key != locked.key)
        locked.formerKeys.push_back(renamed.key);
    dropCurrent(&locked);
    return locked;
}

// Keeps in `locked`, retired, the items of `old` that the list no longer
// has; removing one that was not retired before is a breaking change.
void retireRemoved(const Relock& r, const EnumType& type, const LockEnum& old, const std::vector<bool>& matched,
                   LockEnum* locked, std::vector<std::optional<size_t>>* origin) {
    for (size_t i = 0; i < old.items.size(); ++i) {
        if (matched[i])
            continue;
        const LockItem& removed = old.items[i];
        if (!removed.retired)
            breaking(r, type.line, type.column, static_cast<int>(type.name.size()),
                     "enum '" + excerpt(type.name) + "' no longer has item '" + excerpt(removed.name) +
                         "': stored data holding its value " + shownValue(removed) + " or its key '" +
                         excerpt(removed.key) +
                         "' would no longer read; keep the item, or accept its removal "
                         "with --lock-update, which keeps it as retired so that its value and key are not used again",
                     removed.line, "item '" + excerpt(removed.name) + "' is locked here",
                     "item '" + excerpt(removed.name) + "' is retired: what it was stored as reads as nothing");
        locked->items.push_back(removed);
        locked->items.back().retired = true;
        // A retired item is an alias only where it yielded its number.
        locked->items.back().alias = removed.retired && removed.alias;
        origin->push_back(i);
    }
}

// A value the lock is to hold that enumgen cannot evaluate: under a lock,
// an error, since the lock holds the number that stored data holds.
void refuseUnknownValue(const Relock& r, const ListEnum& list, size_t index) {
    const EnumType::Item& item = list.type.items[index];
    int column = 0, length = 0;
    valuePlace(item, &column, &length);
    refuse(r, item.line, column, length,
           "item '" + excerpt(item.name) + "' has the value '" + excerpt(item.value) +
               "', whose number enumgen cannot tell (a name of no earlier item, a macro, or a result that depends "
               "on the platform): the lock keeps the number stored data holds; write the number, or an expression "
               "of numbers and earlier items",
           0, {});
}

// How a stored form is shown: 'text' or the number.
std::string shownForm(std::string_view form) {
    return form.front() == 'n' ? "the number " + std::string(form.substr(1)) : "'" + excerpt(form.substr(1)) + "'";
}

// Reports a form the lock records that would read otherwise: at the item of
// the list to blame, or at the enum for a retired one.
void refuseReadChange(const Relock& r, const EnumType& type, const LockEnum& old, const LockEnum& now,
                      const ReadChange& change) {
    const LockItem& owner = old.items[change.oldOwner];
    const std::string before =
        change.before ? "meant item '" + excerpt(old.items[*change.before].name) + "'"
                      : "is what the removed item '" + excerpt(owner.name) + "' was stored as";
    const std::string reading =
        change.now ? "would now read as item '" + excerpt(now.items[*change.now].name) + "'" : "would read as nothing";
    const bool number = change.form.front() == 'n';
    std::string text = "stored data holding " + shownForm(change.form) + " " + before + ", but " + reading;
    int line = type.line, column = type.column, length = static_cast<int>(type.name.size());
    if (change.culprit < type.items.size()) {
        const EnumType::Item& item = type.items[change.culprit];
        line = item.line;
        if (number || item.alias) {
            valuePlace(item, &column, &length);
        } else {
            column = item.keyColumn ? item.keyColumn : item.column;
            length = item.keyColumn ? static_cast<int>(item.key.size()) + kMarkersWidth
                                    : static_cast<int>(item.name.size());
        }
        text += item.alias ? ": item '" + excerpt(item.name) + "' is an alias, which reads as the first item with "
                                 "its value; give it a value no item holds or held"
                           : number ? "; give item '" + excerpt(item.name) + "' a value no item holds or held"
                                    : "; give item '" + excerpt(item.name) + "' another key";
    }
    refuse(r, line, column, length, text + " (even --lock-update keeps what stored data reads as)", owner.line,
           (owner.retired ? "the retired item '" : "item '") + excerpt(owner.name) + "' is locked here");
}

// Matches the list's items with the lock's: by name, else as renamed by value.
// `origin` gets for each item the index in `old` of its entry, if any.
std::vector<LockItem> matchItems(const Relock& r, const ListEnum& list, const LockEnum& old,
                                 std::vector<std::optional<size_t>>* origin) {
    const EnumType& type = list.type;
    std::unordered_map<std::string_view, size_t> byName;
    for (size_t i = 0; i < old.items.size(); ++i)
        byName.emplace(old.items[i].name, i);
    std::vector<std::optional<LockItem>> items(type.items.size());
    origin->assign(type.items.size(), std::nullopt);
    std::vector<bool> matched(old.items.size(), false);
    for (size_t i = 0; i < type.items.size(); ++i) {
        if (const auto found = byName.find(type.items[i].name); found != byName.end()) {
            (*origin)[i] = found->second;
            matched[found->second] = true;
            items[i] = relockKnown(r, list, i, old.items[found->second], old);
        }
    }
    // The items the list no longer names, by value, for the new ones to be
    // taken as renamed.
    std::unordered_map<std::string, std::vector<size_t>> removedByValue;
    for (size_t i = 0; i < old.items.size(); ++i)
        if (!matched[i] && !old.items[i].retired)
            removedByValue[(old.items[i].valueIsNumber ? "n" : "t") + old.items[i].value].push_back(i);
    std::vector<LockItem> locked;
    for (size_t i = 0; i < type.items.size(); ++i) {
        if (!items[i] && (items[i] = relockRenamed(r, list, i, old, &removedByValue, &(*origin)[i])))
            matched[*(*origin)[i]] = true;
        if (!items[i]) {
            items[i] = lockItemOf(list, i);
            compatible(r, type.items[i].line, type.items[i].column, static_cast<int>(type.items[i].name.size()),
                       "item '" + excerpt(type.items[i].name) + "'");
        }
        if (!items[i]->valueIsNumber && (!(*origin)[i] || old.items[*(*origin)[i]].value != items[i]->value))
            refuseUnknownValue(r, list, i);
        locked.push_back(std::move(*items[i]));
    }
    LockEnum retired;
    retireRemoved(r, type, old, matched, &retired, origin);
    locked.insert(locked.end(), retired.items.begin(), retired.items.end());
    return locked;
}

// What a retired item cannot give up, its name, where a current item holds
// it as a key or former text, as only a lock that contradicted itself has
// it: refused, since the lock written would contradict itself again.
void refuseHeldRetiredNames(const Relock& r, const EnumType& type, const LockEnum& locked) {
    for (const auto& [current, retired] : lockContradictions(locked)) {
        const LockItem &item = locked.items[current], &gone = locked.items[retired];
        if (!gone.retired)
            continue;
        refuse(r, type.line, type.column, static_cast<int>(type.name.size()),
               "item '" + excerpt(item.name) + "' of enum '" + excerpt(type.name) + "' holds the name of item '" +
                   excerpt(gone.name) + "', which the lock keeps as retired: stored '" + excerpt(gone.name) +
                   "' would read as either; remove one of the two from the lock by hand",
               gone.line, "item '" + excerpt(gone.name) + "' is retired here");
    }
}

// The lock of one enum that the list has.
LockEnum relockEnum(const Relock& r, const EnumType& type, const LockEnum& old) {
    const ListEnum list{type, itemNumbers(type)};
    LockEnum locked;
    locked.name = type.name;
    locked.flags = !type.flagsName.empty();
    if (locked.flags != old.flags)
        breaking(r, type.line, type.column, static_cast<int>(type.name.size()),
                 "enum '" + excerpt(type.name) + "' is " + (locked.flags ? "now" : "no longer") +
                     " a flags type, where the lock holds " + (old.flags ? "one" : "a plain enum") +
                     ": stored texts and numbers would read otherwise; accept the change with --lock-update if it "
                     "is meant",
                 old.line, "enum '" + excerpt(type.name) + "' is locked here",
                 "enum '" + excerpt(type.name) + "' is " + (locked.flags ? "now" : "no longer") + " a flags type");
    std::vector<std::optional<size_t>> origin;
    locked.items = matchItems(r, list, old, &origin);
    if (r.mode == LockMode::Update) {
        yieldRetiredForms(&locked);
        refuseHeldRetiredNames(r, type, locked);
    }
    std::vector<ReadChange> changes = changedReads(old, locked, origin);
    if (locked.flags || old.flags) {
        const std::vector<ReadChange> numbers = numbersReadOtherwise(old, locked, origin);
        changes.insert(changes.end(), numbers.begin(), numbers.end());
    }
    if (locked.flags && old.flags) {
        const std::vector<ReadChange> bits = flagsBitsReadAsAnother(old, locked, origin);
        changes.insert(changes.end(), bits.begin(), bits.end());
    }
    // One message for each item that would read another's data: its key
    // and name are one mistake.
    std::set<std::pair<size_t, size_t>> reported;
    for (const ReadChange& change : changes)
        if (reported.emplace(change.culprit, change.oldOwner).second)
            refuseReadChange(r, type, old, locked, change);
    return locked;
}

// The lock of an enum the lock does not have: every item is new.
LockEnum addEnum(const Relock& r, const EnumType& type) {
    const ListEnum list{type, itemNumbers(type)};
    LockEnum added;
    added.name = type.name;
    added.flags = !type.flagsName.empty();
    for (size_t i = 0; i < type.items.size(); ++i) {
        added.items.push_back(lockItemOf(list, i));
        if (!added.items.back().valueIsNumber)
            refuseUnknownValue(r, list, i);
    }
    compatible(r, type.line, type.column, static_cast<int>(type.name.size()), "enum '" + excerpt(type.name) + "'");
    return added;
}

// A lock entry for an enum the list no longer has: retired with its items.
LockEnum retireEnum(const Relock& r, const LockEnum& old, int line) {
    if (!old.retired)
        breaking(r, line, 0, 0,
                 "enum '" + excerpt(old.name) +
                     "' is gone from the list, but stored data may hold its values and keys; keep it, or accept "
                     "its removal with --lock-update, which keeps its items as retired",
                 old.line, "enum '" + excerpt(old.name) + "' is locked here",
                 "enum '" + excerpt(old.name) + "' is retired with its items");
    LockEnum retired = old;
    retired.retired = true;
    for (LockItem& item : retired.items) {
        item.retired = true;
        item.alias = false;
    }
    return retired;
}

// The names of a list's or a lock's items, sorted, each after its length:
// two enums have the same exactly when their items have the same names.
template <class Items, class Current>
std::string itemNamesOf(const Items& items, Current current) {
    std::vector<std::string_view> names;
    for (const auto& item : items)
        if (current(item))
            names.emplace_back(item.name);
    std::sort(names.begin(), names.end());
    std::string joined;
    for (std::string_view name : names)
        joined.append(std::to_string(name.size())).append(":").append(name);
    return joined;
}

// The lock's enums that no list enum names and that are not retired, by
// their current items' names, for a list enum of a new name to be taken as
// one of them renamed.
using UnnamedEnums = std::unordered_map<std::string, std::vector<const LockEnum*>>;

UnnamedEnums unnamedEnums(const std::vector<EnumType>& enums, const Lock& old) {
    std::unordered_set<std::string_view> named;
    for (const EnumType& type : enums)
        named.insert(type.name);
    UnnamedEnums unnamed;
    for (auto it = old.enums.rbegin(); it != old.enums.rend(); ++it)
        if (!named.count(it->name) && !it->retired)
            unnamed[itemNamesOf(it->items, [](const LockItem& item) { return !item.retired; })].push_back(&*it);
    return unnamed;
}

// The enum of the lock, among `unnamed`, that `type` renames: the first whose
// current items are the list enum's, by name. It is taken out of `unnamed`.
const LockEnum* renamedEnum(const EnumType& type, UnnamedEnums* unnamed) {
    if (type.items.empty())
        return nullptr;
    const auto found = unnamed->find(itemNamesOf(type.items, [](const EnumType::Item&) { return true; }));
    if (found == unnamed->end() || found->second.empty())
        return nullptr;
    const LockEnum* old = found->second.back();
    found->second.pop_back();
    return old;
}

// Reports where the lock contradicts itself, as two branches' locks merged
// line by line may: it must be one read map before the list is held to it.
// Under LockMode::Update a warning: the list then decides, and what would
// read as another item is refused as ever.
void reportContradictions(const Relock& r, const Lock& old) {
    for (const LockEnum& type : old.enums) {
        for (const auto& [a, b] : lockContradictions(type)) {
            const LockItem &first = type.items[a], &second = type.items[b];
            const bool retiredForm = second.retired;
            ListMessage m{first.line > second.line || retiredForm ? first.line : second.line,
                          r.mode == LockMode::Update ? ListMessage::Kind::Warning : ListMessage::Kind::Error,
                          retiredForm ? "item '" + excerpt(first.name) + "' of enum '" + excerpt(type.name) +
                                            "' holds a value or text that the retired item '" + excerpt(second.name) +
                                            "' was stored as: stored data of one would read as the other"
                                      : "items '" + excerpt(first.name) + "' and '" + excerpt(second.name) +
                                            "' of enum '" + excerpt(type.name) + "' both hold the value " +
                                            shownValue(first) +
                                            ", and neither is an alias: stored data of one would read as the other"};
            m.text += " (two branches' locks merged?); give one of them another value or key in the list and run "
                      "enumgen --lock-update";
            m.file = r.path;
            m.noteLine = m.line == first.line ? second.line : first.line;
            m.note = "the other item is here";
            m.noteFile = r.path;
            r.messages->push_back(std::move(m));
        }
    }
}

// Gives the list's enums what the lock remembers for the templates: former
// texts that still read as an item, and every text of removed items.
void rememberInEnums(const Lock& lock, std::vector<EnumType>* enums) {
    for (size_t e = 0; e < enums->size(); ++e) {
        EnumType& type = (*enums)[e];
        const LockEnum& locked = lock.enums[e];
        for (size_t i = 0; i < locked.items.size(); ++i) {
            const LockItem& item = locked.items[i];
            if (item.retired) {
                std::vector<std::string>& texts = type.retiredTexts;
                texts.emplace_back(storedText(item.key, item.name));
                if (!item.key.empty())
                    texts.emplace_back(item.name);
                texts.insert(texts.end(), item.formerKeys.begin(), item.formerKeys.end());
                texts.insert(texts.end(), item.formerNames.begin(), item.formerNames.end());
                continue;
            }
            std::vector<std::string>& former = type.items[i].former;
            former = item.formerKeys;
            former.insert(former.end(), item.formerNames.begin(), item.formerNames.end());
            type.items[i].formerValuesAt = static_cast<std::uint32_t>(former.size());
            former.insert(former.end(), item.formerValues.begin(), item.formerValues.end());
        }
    }
}

}  // namespace

Lock relock(std::vector<EnumType>* enums, const Lock& old, LockMode mode, const std::string& path,
            ListMessages* messages) {
    const Relock r{mode, path, messages};
    reportContradictions(r, old);
    std::unordered_map<std::string_view, const LockEnum*> oldByName;
    for (const LockEnum& type : old.enums)
        oldByName.emplace(type.name, &type);
    UnnamedEnums unnamed = unnamedEnums(*enums, old);
    Lock lock;
    for (const EnumType& type : *enums) {
        auto found = oldByName.find(type.name);
        if (found == oldByName.end()) {
            const LockEnum* renamed = renamedEnum(type, &unnamed);
            if (!renamed) {
                lock.enums.push_back(addEnum(r, type));
                continue;
            }
            breaking(r, type.line, type.column, static_cast<int>(type.name.size()),
                     "enum '" + excerpt(type.name) + "' has the items of enum '" + excerpt(renamed->name) +
                         "', which is gone: a rename? Code and QML that name the enum would no longer build; keep "
                         "the name, or accept the change with --lock-update, which keeps the enum's history",
                     renamed->line, "enum '" + excerpt(renamed->name) + "' is locked here",
                     "enum '" + excerpt(renamed->name) + "' is renamed '" + excerpt(type.name) +
                         "', with what its items were stored as");
            found = oldByName.find(renamed->name);
        }
        lock.enums.push_back(relockEnum(r, type, *found->second));
        lock.enums.back().name = type.name;
        oldByName.erase(found);
    }
    // The list's enums come first, in its order; those it no longer has
    // follow in the lock's order.
    rememberInEnums(lock, enums);
    const int firstLine = enums->empty() ? 1 : enums->front().line;
    for (const LockEnum& type : old.enums)
        if (oldByName.count(type.name))
            lock.enums.push_back(retireEnum(r, type, firstLine));
    // A run that fails accepts nothing.
    if (hasErrors(*messages))
        std::erase_if(*messages, [](const ListMessage& m) { return m.kind == ListMessage::Kind::Note; });
    if (mode == LockMode::Frozen && !hasErrors(*messages) && formatLock(lock) != formatLock(old))
        refuse(r, firstLine, 0, 0, "the lock " + path + " is out of date; a run without --locked updates it", 0, {});
    return lock;
}
