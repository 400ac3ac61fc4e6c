// SPDX-License-Identifier: MIT
#include "enum-lock.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <utility>

#include "enum-values.h"
#include "text-ops.h"

namespace {

constexpr std::string_view kHeader = "# enumgen lock 1";

// ---- Reading and writing the lock file ----

// `text` between double quotes, with '\\', '"' and line ends escaped.
std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"')
            out.push_back('\\');
        if (c == '\n' || c == '\r')
            out.append(c == '\n' ? "\\n" : "\\r");
        else
            out.push_back(c);
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
        if (c == '\\' && ++pos < text.size())
            c = text[pos] == 'n' ? '\n' : text[pos] == 'r' ? '\r' : text[pos];
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
            item->value = std::move(*value);
            item->valueIsNumber = number;
        } else {
            item->key = std::move(*value);
        }
    }
    while (std::optional<std::string> word = nextWord(line)) {
        std::optional<std::string> former = nextWord(line);
        if (!former || (*word != "former-key" && *word != "former-name") || !line->wasQuoted) {
            lockError(reader, *line,
                      "item '" + excerpt(item->name) + "': expected former-key \"<text>\" or former-name \"<text>\"");
            return false;
        }
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

}  // namespace

Lock parseLock(std::string_view text, const std::string& path, ListMessages* messages) {
    LockReader reader{path, messages};
    Lock lock;
    std::unordered_map<std::string, int> seenEnums, seenItems;
    for (size_t pos = 0; pos < text.size();) {
        const size_t end = std::min(text.find('\n', pos), text.size());
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++reader.line;
        if (line.ends_with('\r'))
            line.remove_suffix(1);
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
            for (const std::string& key : item.formerKeys)
                text.append(" former-key ").append(quoted(key));
            for (const std::string& name : item.formerNames)
                text.append(" former-name ").append(quoted(name));
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

// The text stored data holds of an item: its key, or its name where it has
// no key (the bundled templates' enumText).
std::string_view storedText(std::string_view key, std::string_view name) { return key.empty() ? name : key; }

// The value as the lock records it: "n<number>" or "t<text>", so that a
// number and a text never compare equal.
std::string valueId(std::string_view value, bool isNumber) { return (isNumber ? "n" : "t") + std::string(value); }

LockItem lockItemOf(const EnumType::Item& item) {
    LockItem locked;
    locked.name = item.name;
    const std::optional<std::int64_t> number = evaluateValue(item.value);
    locked.valueIsNumber = number.has_value();
    locked.value = number ? toString(*number) : item.value;
    locked.key = item.key;
    return locked;
}

std::string shownValue(const LockItem& item) {
    return item.valueIsNumber ? item.value : "'" + excerpt(item.value) + "'";
}

// Adds an error at the list's `line` with a note at the lock's `lockLine`.
void refuse(const Relock& r, int line, int column, int length, std::string text, int lockLine, std::string note) {
    ListMessage m{line, ListMessage::Kind::Error, std::move(text), column, length};
    if (lockLine > 0) {
        m.noteLine = lockLine;
        m.note = std::move(note);
        m.noteFile = r.path;
    }
    r.messages->push_back(std::move(m));
}

// A breaking change: accepted under LockMode::Update, else an error.
void breaking(const Relock& r, int line, int column, int length, std::string text, int lockLine, std::string note) {
    if (r.mode != LockMode::Update)
        refuse(r, line, column, length, std::move(text), lockLine, std::move(note));
}

// A compatible change, an error only under LockMode::Frozen.
void compatible(const Relock& r, int line, int column, int length, const std::string& what) {
    if (r.mode == LockMode::Frozen)
        refuse(r, line, column, length, what + " is not in the lock " + r.path + " yet; a run without --locked adds it",
               0, {});
}

// The old entries of one enum, by what a new item may clash with.
// Its texts are views into the old lock, which outlives it.
struct LockIndex {
    std::unordered_map<std::string_view, size_t> byName;
    // Retired items by value and by stored text, and every item by its
    // former texts.
    std::unordered_map<std::string, size_t> retiredValues;
    std::unordered_map<std::string_view, size_t> retiredTexts, formerTexts;
};

LockIndex indexOf(const LockEnum& old) {
    LockIndex index;
    for (size_t i = 0; i < old.items.size(); ++i) {
        const LockItem& item = old.items[i];
        index.byName.emplace(item.name, i);
        for (const std::string& former : item.formerKeys)
            index.formerTexts.emplace(former, i);
        for (const std::string& former : item.formerNames)
            index.formerTexts.emplace(former, i);
    }
    return index;
}

// Adds to `index` the items the lock keeps retired after this run: those
// retired before and those the list no longer has, which `matched` tells.
void indexRetired(const LockEnum& old, const std::vector<bool>& matched, LockIndex* index) {
    for (size_t i = 0; i < old.items.size(); ++i) {
        if (matched[i])
            continue;
        const LockItem& item = old.items[i];
        index->retiredValues.emplace(valueId(item.value, item.valueIsNumber), i);
        index->retiredTexts.emplace(storedText(item.key, item.name), i);
    }
}

// Former keys and names that are the item's own again are former no more.
void dropCurrent(LockItem* item) {
    std::erase(item->formerKeys, item->key);
    std::erase(item->formerNames, item->name);
}

// The lock entry of a list item that the lock has under its name.
LockItem relockKnown(const Relock& r, const EnumType& type, size_t index, const LockItem& old) {
    const EnumType::Item& item = type.items[index];
    LockItem locked = lockItemOf(item);
    const std::string quotedName = "item '" + excerpt(item.name) + "'";
    if (old.retired) {
        if (locked.value != old.value || locked.key != old.key)
            refuse(r, item.line, item.column, static_cast<int>(item.name.size()),
                   quotedName + " was removed, and the lock keeps it retired with the value " + shownValue(old) +
                       " and the key '" + excerpt(old.key) + "'; bring it back with them, or give it another name",
                   old.line, "the retired item is here");
        locked.formerKeys = old.formerKeys;
        locked.formerNames = old.formerNames;
        return locked;
    }
    if (locked.value != old.value || locked.valueIsNumber != old.valueIsNumber) {
        const bool counted = item.valueColumn == 0 && index > 0;
        breaking(r, item.line, counted ? item.column : item.valueColumn,
                 counted ? static_cast<int>(item.name.size()) : static_cast<int>(item.value.size()) + kMarkersWidth,
                 quotedName + " has the value " + shownValue(locked) + ", where the lock holds " + shownValue(old) +
                     (counted ? ", as it counts on from item '" + excerpt(type.items[index - 1].name) + "'" : "") +
                     ": stored data holding " + shownValue(old) + " would read as another item or none; give it [=" +
                     (old.valueIsNumber ? old.value : excerpt(old.value)) +
                     "=], or accept the change with --lock-update",
                 old.line, quotedName + " is locked here");
    }
    locked.formerKeys = old.formerKeys;
    locked.formerNames = old.formerNames;
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
            old.line, quotedName + " is locked here");
        locked.formerKeys.push_back(old.key);
    }
    dropCurrent(&locked);
    return locked;
}

// Reports a new item that takes the value or stored text of a retired item,
// or a text another item had: stored data holding it meant something else.
void refuseReuse(const Relock& r, const EnumType::Item& item, const LockItem& locked, const LockEnum& old,
                 const LockIndex& index, size_t self) {
    const std::string quotedName = "item '" + excerpt(item.name) + "'";
    if (const auto found = index.retiredValues.find(valueId(locked.value, locked.valueIsNumber));
        found != index.retiredValues.end() && found->second != self) {
        const LockItem& retired = old.items[found->second];
        refuse(
            r, item.line, item.valueColumn ? item.valueColumn : item.column,
            item.valueColumn ? static_cast<int>(item.value.size()) + kMarkersWidth : static_cast<int>(item.name.size()),
            quotedName + " takes the value " + shownValue(locked) + " of the removed item '" + excerpt(retired.name) +
                "': stored data holding it meant '" + excerpt(retired.name) + "'; give it another value",
            retired.line, "the retired item is here");
    }
    const std::string text(storedText(locked.key, locked.name));
    const size_t* owner = nullptr;
    const auto retired = index.retiredTexts.find(text);
    if (retired != index.retiredTexts.end())
        owner = &retired->second;
    else if (const auto former = index.formerTexts.find(text); former != index.formerTexts.end())
        owner = &former->second;
    if (!owner || *owner == self)
        return;
    const LockItem& other = old.items[*owner];
    const bool removed = retired != index.retiredTexts.end();
    refuse(r, item.line, item.keyColumn ? item.keyColumn : item.column,
           item.keyColumn ? static_cast<int>(item.key.size()) + kMarkersWidth : static_cast<int>(item.name.size()),
           quotedName + " is stored as '" + excerpt(text) + "', which " + (removed ? "the removed item '" : "item '") +
               excerpt(other.name) + "' was stored as: stored data holding it meant that item; give it another key",
           other.line, "that item is here");
}

// The lock entry of a list item the lock does not have under its name when
// an item the list no longer names had its value: the same item, renamed.
// None for a new item.
std::optional<LockItem> relockRenamed(const Relock& r, const EnumType::Item& item, const LockEnum& old,
                                      std::unordered_map<std::string, std::vector<size_t>>* removedByValue,
                                      size_t* renamedFrom) {
    LockItem locked = lockItemOf(item);
    auto& candidates = (*removedByValue)[valueId(locked.value, locked.valueIsNumber)];
    if (candidates.empty())
        return std::nullopt;
    *renamedFrom = candidates.front();
    candidates.erase(candidates.begin());
    const LockItem& renamed = old.items[*renamedFrom];
    breaking(r, item.line, item.column, static_cast<int>(item.name.size()),
             "item '" + excerpt(item.name) + "' has the value " + shownValue(locked) + " of item '" +
                 excerpt(renamed.name) +
                 "', which is gone: a rename? Names stored before, and QML code, would no longer read as it; keep "
                 "the name, or accept the change with --lock-update, which keeps '" +
                 excerpt(renamed.name) + "' as a former name that still reads",
             renamed.line, "item '" + excerpt(renamed.name) + "' is locked here");
    locked.formerKeys = renamed.formerKeys;
    locked.formerNames = renamed.formerNames;
    locked.formerNames.push_back(renamed.name);
    if (!renamed.key.empty() && renamed.key != locked.key)
        locked.formerKeys.push_back(renamed.key);
    dropCurrent(&locked);
    return locked;
}

// Keeps in `locked`, retired, the items of `old` that the list no longer
// has; removing one that was not retired before is a breaking change.
void retireRemoved(const Relock& r, const EnumType& type, const LockEnum& old, const std::vector<bool>& matched,
                   LockEnum* locked) {
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
                     removed.line, "item '" + excerpt(removed.name) + "' is locked here");
        locked->items.push_back(removed);
        locked->items.back().retired = true;
    }
}

// The lock of one enum that the list has.
LockEnum relockEnum(const Relock& r, const EnumType& type, const LockEnum& old) {
    LockEnum locked;
    locked.name = type.name;
    locked.flags = !type.flagsName.empty();
    if (locked.flags != old.flags)
        breaking(r, type.line, type.column, static_cast<int>(type.name.size()),
                 "enum '" + excerpt(type.name) + "' is " + (locked.flags ? "now" : "no longer") +
                     " a flags type, where the lock holds " + (old.flags ? "one" : "a plain enum") +
                     ": stored texts and numbers would read otherwise; accept the change with --lock-update if it "
                     "is meant",
                 old.line, "enum '" + excerpt(type.name) + "' is locked here");
    LockIndex index = indexOf(old);
    std::vector<bool> matched(old.items.size(), false);
    std::vector<std::optional<LockItem>> items(type.items.size());
    // Where each list item was in the lock; npos for a new one.
    std::vector<size_t> was(type.items.size(), std::string::npos);
    for (size_t i = 0; i < type.items.size(); ++i) {
        if (const auto found = index.byName.find(type.items[i].name); found != index.byName.end()) {
            was[i] = found->second;
            items[i] = relockKnown(r, type, i, old.items[found->second]);
        }
    }
    for (size_t i : was)
        if (i != std::string::npos)
            matched[i] = true;
    // The items the list no longer names, by value, for the new ones to be
    // taken as renamed.
    std::unordered_map<std::string, std::vector<size_t>> removedByValue;
    for (size_t i = 0; i < old.items.size(); ++i)
        if (!matched[i] && !old.items[i].retired)
            removedByValue[valueId(old.items[i].value, old.items[i].valueIsNumber)].push_back(i);
    for (size_t i = 0; i < type.items.size(); ++i) {
        if (!items[i] && (items[i] = relockRenamed(r, type.items[i], old, &removedByValue, &was[i])))
            matched[was[i]] = true;
    }
    // What the lock keeps retired after this run may not be taken by an item
    // that is new or holds another value or text than before.
    indexRetired(old, matched, &index);
    for (size_t i = 0; i < type.items.size(); ++i) {
        const EnumType::Item& item = type.items[i];
        if (!items[i]) {
            items[i] = lockItemOf(item);
            compatible(r, item.line, item.column, static_cast<int>(item.name.size()),
                       "item '" + excerpt(item.name) + "'");
        }
        const LockItem* before = was[i] == std::string::npos ? nullptr : &old.items[was[i]];
        if (!before || before->value != items[i]->value ||
            storedText(before->key, before->name) != storedText(items[i]->key, items[i]->name))
            refuseReuse(r, item, *items[i], old, index, was[i]);
    }
    for (std::optional<LockItem>& item : items)
        locked.items.push_back(std::move(*item));
    retireRemoved(r, type, old, matched, &locked);
    return locked;
}

// A lock entry for an enum the list no longer has: retired with its items.
LockEnum retireEnum(const Relock& r, const LockEnum& old, int line) {
    if (!old.retired)
        breaking(r, line, 0, 0,
                 "enum '" + excerpt(old.name) +
                     "' is gone from the list, but stored data may hold its values and keys; keep it, or accept "
                     "its removal with --lock-update, which keeps its items as retired",
                 old.line, "enum '" + excerpt(old.name) + "' is locked here");
    LockEnum retired = old;
    retired.retired = true;
    for (LockItem& item : retired.items)
        item.retired = true;
    return retired;
}

// Gives the list's enums what the lock remembers for the templates: former
// texts that still read as an item, and texts of removed items.
void rememberInEnums(const Lock& lock, std::vector<EnumType>* enums) {
    for (size_t e = 0; e < enums->size(); ++e) {
        EnumType& type = (*enums)[e];
        const LockEnum& locked = lock.enums[e];
        for (size_t i = 0; i < locked.items.size(); ++i) {
            const LockItem& item = locked.items[i];
            if (item.retired) {
                type.retiredTexts.emplace_back(storedText(item.key, item.name));
                type.retiredTexts.insert(type.retiredTexts.end(), item.formerKeys.begin(), item.formerKeys.end());
                continue;
            }
            std::vector<std::string>& former = type.items[i].formerTexts;
            former = item.formerKeys;
            former.insert(former.end(), item.formerNames.begin(), item.formerNames.end());
        }
    }
}

}  // namespace

Lock relock(std::vector<EnumType>* enums, const Lock& old, LockMode mode, const std::string& path,
            ListMessages* messages) {
    const Relock r{mode, path, messages};
    std::unordered_map<std::string_view, const LockEnum*> oldByName;
    for (const LockEnum& type : old.enums)
        oldByName.emplace(type.name, &type);
    Lock lock;
    for (const EnumType& type : *enums) {
        const auto found = oldByName.find(type.name);
        if (found != oldByName.end()) {
            lock.enums.push_back(relockEnum(r, type, *found->second));
            oldByName.erase(found);
            continue;
        }
        LockEnum added;
        added.name = type.name;
        added.flags = !type.flagsName.empty();
        for (const EnumType::Item& item : type.items)
            added.items.push_back(lockItemOf(item));
        compatible(r, type.line, type.column, static_cast<int>(type.name.size()), "enum '" + excerpt(type.name) + "'");
        lock.enums.push_back(std::move(added));
    }
    // The list's enums come first, in its order; those it no longer has
    // follow in the lock's order.
    rememberInEnums(lock, enums);
    const int firstLine = enums->empty() ? 1 : enums->front().line;
    for (const LockEnum& type : old.enums)
        if (oldByName.count(type.name))
            lock.enums.push_back(retireEnum(r, type, firstLine));
    if (mode == LockMode::Frozen && !hasErrors(*messages) && formatLock(lock) != formatLock(old))
        refuse(r, firstLine, 0, 0, "the lock " + path + " is out of date; a run without --locked updates it", 0, {});
    return lock;
}
