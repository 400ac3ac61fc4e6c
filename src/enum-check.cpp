// SPDX-License-Identifier: MIT
#include "enum-check.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <string>
#include <unordered_map>
#include <vector>

#include "enum-values.h"
#include "list-places.h"
#include "text-ops.h"

namespace {

using Kind = ListMessage::Kind;

// C++20 keywords and alternative tokens, sorted for a binary search.
constexpr std::array<std::string_view, 92> kKeywords = {
    "alignas",     "alignof",  "and",        "and_eq",    "asm",       "auto",         "bitand",
    "bitor",       "bool",     "break",      "case",      "catch",     "char",         "char16_t",
    "char32_t",    "char8_t",  "class",      "co_await",  "co_return", "co_yield",     "compl",
    "concept",     "const",    "const_cast", "consteval", "constexpr", "constinit",    "continue",
    "decltype",    "default",  "delete",     "do",        "double",    "dynamic_cast", "else",
    "enum",        "explicit", "export",     "extern",    "false",     "float",        "for",
    "friend",      "goto",     "if",         "inline",    "int",       "long",         "mutable",
    "namespace",   "new",      "noexcept",   "not",       "not_eq",    "nullptr",      "operator",
    "or",          "or_eq",    "private",    "protected", "public",    "register",     "reinterpret_cast",
    "requires",    "return",   "short",      "signed",    "sizeof",    "static",       "static_assert",
    "static_cast", "struct",   "switch",     "template",  "this",      "thread_local", "throw",
    "true",        "try",      "typedef",    "typeid",    "typename",  "union",        "unsigned",
    "using",       "virtual",  "void",       "volatile",  "wchar_t",   "while",        "xor",
    "xor_eq"};
static_assert(std::is_sorted(kKeywords.begin(), kKeywords.end()));

// Qt's keyword macros: a name spelled like one is replaced by the
// preprocessor wherever Qt's headers define it.
constexpr std::array<std::string_view, 12> kQtMacros = {"Q_EMIT",    "Q_FOREACH", "Q_FOREVER", "Q_SIGNAL",
                                                        "Q_SIGNALS", "Q_SLOT",    "Q_SLOTS",   "emit",
                                                        "foreach",   "forever",   "signals",   "slots"};
static_assert(std::is_sorted(kQtMacros.begin(), kQtMacros.end()));

// C++ keywords and Qt's keyword macros all start with a lower-case letter or
// "Q_", so most names, such as Red, need no search of either table.
constexpr bool mayBeReserved(std::string_view name) {
    return (name.front() >= 'a' && name.front() <= 'z') || name.starts_with("Q_");
}
static_assert(std::all_of(kKeywords.begin(), kKeywords.end(), mayBeReserved));
static_assert(std::all_of(kQtMacros.begin(), kQtMacros.end(), mayBeReserved));

// What is wrong with `name` as the C++ identifier the generated code makes of
// it, or nothing.
std::optional<std::string> nameProblem(std::string_view name) {
    if (name.empty())
        return std::string("has no name");
    if (std::all_of(name.begin(), name.end(), isIdentifierByte) && !isDigit(name.front())) {
        if (mayBeReserved(name) && std::binary_search(kKeywords.begin(), kKeywords.end(), name))
            return "name '" + excerpt(name) + "' is a C++ keyword";
        return std::nullopt;
    }
    std::string problem = "name '" + excerpt(name) + "' is not a C++ identifier";
    // A space before the first marker is the usual slip; say how to mend it.
    if (name.back() == ' ')
        return problem + ": remove the space between the name and the first marker";
    if (name.front() == ' ')
        return problem + ": remove the space before the name";
    return problem + " (letters, digits and '_', not starting with a digit)";
}

// Reports a name problem; true when the name is sound.
bool checkName(std::string_view name, const char* what, int line, int column, ListMessages* messages) {
    // Most names, such as Red, are identifiers that nothing reserved is
    // spelled like.
    if (!name.empty() && !mayBeReserved(name) && !isDigit(name.front()) &&
        std::all_of(name.begin(), name.end(), isIdentifierByte))
        return true;
    const int length = static_cast<int>(name.size());
    std::optional<std::string> problem = nameProblem(name);
    if (problem)
        messages->push_back({line, Kind::Error, what + std::string(" ") + *problem, column, length});
    else if (mayBeReserved(name) && std::binary_search(kQtMacros.begin(), kQtMacros.end(), name))
        messages->push_back({line, Kind::Warning,
                             what + std::string(" name '") + excerpt(name) +
                                 "' is one of Qt's keyword macros, so the generated header does not compile where "
                                 "Qt defines it (Qt's keywords are on by default); rename the " +
                                 what,
                             column, length});
    return !problem;
}

// A key's hash spread over all 64 bits (splitmix64's finish), so that keys
// differing only in a few bits, such as flag values, spread over all groups
// and slots.
constexpr std::uint64_t mix(std::uint64_t x) {
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// The word at `bytes`, wherever it is aligned.
template <class Word>
std::uint64_t load(const char* bytes) {
    Word word;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

// A text's hash, read in words: names and keys are short, and std::hash
// costs a call and more rounds per text. The last word may overlap the one
// before it, so no byte is read alone. Only the high half is kept: it is
// enough to pick a group and a slot, and equal hashes are compared by their
// keys anyway.
std::uint32_t hashOf(std::string_view text) {
    const char* bytes = text.data();
    const size_t size = text.size();
    std::uint64_t hash = size;
    if (size >= 8) {
        for (size_t i = 0; i + 8 < size; i += 8)
            hash = (hash ^ load<std::uint64_t>(bytes + i)) * 0x9E3779B97F4A7C15ull;
        hash ^= load<std::uint64_t>(bytes + size - 8);
    } else if (size >= 4) {
        hash ^= load<std::uint32_t>(bytes) << 32 | load<std::uint32_t>(bytes + size - 4);
    } else if (size > 0) {
        hash ^= std::uint64_t{static_cast<unsigned char>(bytes[0])} << 16 |
                std::uint64_t{static_cast<unsigned char>(bytes[size / 2])} << 8 |
                static_cast<unsigned char>(bytes[size - 1]);
    }
    return static_cast<std::uint32_t>(mix(hash) >> 32);
}

std::uint32_t hashOf(std::int64_t value) {
    return static_cast<std::uint32_t>(mix(static_cast<std::uint64_t>(value)) >> 32);
}

// What items are compared by.
enum class CompareBy { Name, Key, Value };

bool equalIn(CompareBy field, const EnumType::Item& a, const EnumType::Item& b) {
    switch (field) {
        case CompareBy::Name:
            return a.name == b.name;
        case CompareBy::Key:
            return a.key == b.key;
        case CompareBy::Value:
            break;
    }
    return evaluateValue(a.value) == evaluateValue(b.value);
}

// Enums are compared by their keys alone.
bool equalIn(CompareBy, const EnumType& a, const EnumType& b) { return a.key == b.key; }

// The hashed keys of some items (or enums) to compare, in their order: the index of
// each one's item and the key's hash. The keys themselves are looked up only
// for equal hashes, which keeps a million keys small.
struct HashedKeys {
    std::vector<std::uint32_t> items;
    std::vector<std::uint32_t> hashes;
};

// Empties `keys` and makes room for `count` keys: growing step by step would
// copy a million keys a few times over.
void clear(HashedKeys* keys, size_t count) {
    keys->items.clear();
    keys->hashes.clear();
    keys->items.reserve(count);
    keys->hashes.reserve(count);
}

template <class Key>
void add(HashedKeys* keys, size_t item, Key key) {
    keys->items.push_back(static_cast<std::uint32_t>(item));
    keys->hashes.push_back(hashOf(key));
}

// An item whose key equals that of an earlier item, the first with it.
struct Clash {
    std::uint32_t item;
    std::uint32_t first;
};

// For each of `count` items the first item its key clashes with, or -1.
void firstClashOf(const std::vector<Clash>& clashes, size_t count, std::vector<std::int32_t>* sameAs) {
    sameAs->assign(count, -1);
    for (const Clash& clash : clashes)
        (*sameAs)[clash.item] = static_cast<std::int32_t>(clash.first);
}

// Drops the keys of items that repeat an earlier item's name: that is their
// one mistake, and their keys and values are not compared.
void dropRenamed(HashedKeys* keys, const std::vector<std::int32_t>& sameName) {
    size_t kept = 0;
    for (size_t k = 0; k < keys->items.size(); ++k) {
        if (sameName[keys->items[k]] < 0) {
            keys->items[kept] = keys->items[k];
            keys->hashes[kept] = keys->hashes[k];
            ++kept;
        }
    }
    keys->items.resize(kept);
    keys->hashes.resize(kept);
}

// A slot of a hash table: a key's hash and its index + 1 (0: empty).
using Slot = std::pair<std::uint32_t, std::uint32_t>;

// Up to this many keys go in one table, which then fits the cache.
constexpr size_t kGroupSize = 4096;

// Buffers markEqual reuses from one call to the next, so a list of many
// small enums allocates them once.
struct Tables {
    std::vector<Slot> slots;
    std::vector<std::uint32_t> begin;
    // The keys' hashes and indices sorted by group.
    std::vector<Slot> grouped;
};

// An empty table of at least `size` slots, a power of two.
void clearTable(std::vector<Slot>* slots, size_t size) {
    size_t power = 16;
    while (power < size)
        power <<= 1;
    slots->assign(power, {0, 0});
}

// Puts key `k` into the table unless an equal key is already in it, which
// makes a clash.
template <class Record>
void insertOrClash(const HashedKeys& keys, std::uint32_t k, std::uint32_t hash, const std::vector<Record>& records,
                   CompareBy field, std::vector<Slot>& slots, std::vector<Clash>* clashes) {
    const size_t mask = slots.size() - 1;
    for (size_t at = hash & mask;; at = (at + 1) & mask) {
        auto& [slotHash, slotIndex] = slots[at];
        if (slotIndex == 0) {
            slots[at] = {hash, k + 1};
            return;
        }
        // The items are looked up only for equal hashes: a million of them
        // are more than the cache holds.
        if (slotHash == hash && equalIn(field, records[keys.items[k]], records[keys.items[slotIndex - 1]])) {
            clashes->push_back({keys.items[k], keys.items[slotIndex - 1]});
            return;
        }
    }
}

// Adds to `clashes` each record whose key (its `field`) equals an earlier
// record's. More keys than fit one table are first spread by hash over
// groups that do, each searched in a table of its own, so a million keys
// cost a few passes over arrays rather than a cache miss each.
template <class Record>
void markEqual(const HashedKeys& keys, const std::vector<Record>& records, CompareBy field, Tables* tables,
               std::vector<Clash>* clashes) {
    const size_t count = keys.items.size();
    if (count <= kGroupSize) {
        // At most half full: a small enum's table is cleared for each
        // enum, and a larger one would cost more to clear than it saves.
        clearTable(&tables->slots, 2 * count);
        for (std::uint32_t k = 0; k < count; ++k)
            insertOrClash(keys, k, keys.hashes[k], records, field, tables->slots, clashes);
        return;
    }
    int groupBits = 0;
    while ((count >> groupBits) > kGroupSize)
        ++groupBits;
    auto groupOf = [groupBits](std::uint32_t hash) { return size_t(hash >> (32 - groupBits)); };
    // The keys sorted by group, in their order within each group.
    std::vector<std::uint32_t>& begin = tables->begin;
    begin.assign((size_t{1} << groupBits) + 1, 0);
    for (std::uint32_t hash : keys.hashes)
        ++begin[groupOf(hash) + 1];
    for (size_t group = 1; group < begin.size(); ++group)
        begin[group] += begin[group - 1];
    tables->grouped.resize(count);
    for (std::uint32_t k = 0; k < count; ++k)
        tables->grouped[begin[groupOf(keys.hashes[k])]++] = {keys.hashes[k], k};
    // Each group's begin is now the next group's.
    for (size_t group = 0, from = 0; group + 1 < begin.size(); ++group) {
        // At most a quarter full: in a fuller table an insert meets a taken
        // slot so often that the processor mispredicts it every few keys.
        clearTable(&tables->slots, 4 * (begin[group] - from));
        for (; from < begin[group]; ++from)
            insertOrClash(keys, tables->grouped[from].second, tables->grouped[from].first, records, field,
                          tables->slots, clashes);
    }
}

// Starts loading memory that a loop reads soon. The work done per item
// leaves the processor too few loads in flight to keep ahead of a million
// items of 128 bytes, and it would wait for most of them. A hint only,
// given where the compiler has one.
void prefetch(const void* address) {
#if defined(__GNUC__)
    __builtin_prefetch(address);
#else
    static_cast<void>(address);
#endif
}

// How many items ahead the item pass has loaded: 1 KiB, enough to hide the
// wait for memory.
constexpr size_t kAhead = 8;

// What the checks of one enum's items work in, kept from one enum to the
// next.
struct ItemScratch {
    HashedKeys names, keys, values;
    std::vector<Clash> nameClashes, keyClashes, valueClashes;
    std::vector<std::int32_t> sameName, sameKey, sameValue;
    Tables tables;
};

// Gathers the names of the soundly named items, and the keys and values of
// those, in one pass: a million items are more than the cache holds, and each
// pass over them costs a miss per item.
void gatherItems(const EnumType& type, ItemScratch* scratch, ListMessages* messages) {
    const std::vector<EnumType::Item>& items = type.items;
    clear(&scratch->names, items.size());
    clear(&scratch->keys, items.size());
    clear(&scratch->values, type.sequential ? 0 : items.size());
    for (size_t i = 0; i < items.size(); ++i) {
        const EnumType::Item& item = items[i];
        if (i + kAhead < items.size()) {
            prefetch(&items[i + kAhead].name);
            prefetch(&items[i + kAhead].line);
        }
        if (!checkName(item.name, "item", item.line, item.column, messages))
            continue;
        add(&scratch->names, i, std::string_view(item.name));
        if (!item.key.empty())
            add(&scratch->keys, i, std::string_view(item.key));
        // Values counted on from 0 alone never meet.
        if (!type.sequential) {
            if (std::optional<std::int32_t> value = evaluateValue(item.value))
                add(&scratch->values, i, *value);
        }
    }
}

// A message about `item` whose note points at the same field of `first`.
ListMessage clashMessage(const EnumType::Item& item, const EnumType::Item& first, ListField field,
                         ListMessage::Kind kind, TextNamingLine text, std::string note) {
    ListMessage m = messageAt(placeOf(item, field), kind, std::move(text));
    noteAt(&m, placeOf(first, field), std::move(note));
    return m;
}

// Reports each item whose name, key or value an earlier item has.
void reportClashes(const EnumType& type, const ItemScratch& scratch, ListMessages* messages) {
    using Item = EnumType::Item;
    const std::vector<Item>& items = type.items;
    for (std::uint32_t i : scratch.names.items) {
        const std::int32_t sameName = scratch.sameName[i], sameKey = scratch.sameKey[i],
                           sameValue = scratch.sameValue[i];
        if (sameName < 0 && sameKey < 0 && sameValue < 0)
            continue;
        const Item& item = items[i];
        const std::string quoted = "item '" + excerpt(item.name) + "'";
        if (sameName >= 0) {
            // The same item twice is one mistake: its key and value are not compared again.
            const Item& first = items[static_cast<size_t>(sameName)];
            messages->push_back(clashMessage(
                item, first, ListField::Name, Kind::Error,
                namingLine(quoted + " is already an item of enum '" + excerpt(type.name) + "'", ", on line ", first.line),
                quoted + " is first defined here"));
            continue;
        }
        if (sameKey >= 0) {
            const Item& first = items[static_cast<size_t>(sameKey)];
            messages->push_back(clashMessage(item, first, ListField::Key, Kind::Warning,
                                             namingLine(quoted + " has the key '" + excerpt(item.key) + "' of item '" +
                                                            excerpt(first.name) + "'",
                                                        " on line ", first.line, "; fromKey finds only the first"),
                                             "item '" + excerpt(first.name) + "' has the key here"));
        }
        if (sameValue >= 0) {
            const Item& first = items[static_cast<size_t>(sameValue)];
            const std::string value = toString(evaluateValue(item.value).value_or(0));
            messages->push_back(clashMessage(item, first, ListField::Value, Kind::Warning,
                                             namingLine(quoted + " has the value " + value + " of item '" +
                                                            excerpt(first.name) + "'",
                                                        " on line ", first.line,
                                                        ", which makes it an alias: it reads as item '" +
                                                            excerpt(first.name) + "' and is written as it"),
                                             "item '" + excerpt(first.name) + "' has the value " + value + " here"));
        }
    }
}

void checkItems(const EnumType& type, ItemScratch* scratch, ListMessages* messages) {
    gatherItems(type, scratch, messages);
    const size_t count = type.items.size();
    scratch->nameClashes.clear();
    scratch->keyClashes.clear();
    scratch->valueClashes.clear();
    markEqual(scratch->names, type.items, CompareBy::Name, &scratch->tables, &scratch->nameClashes);
    if (!scratch->nameClashes.empty()) {
        firstClashOf(scratch->nameClashes, count, &scratch->sameName);
        dropRenamed(&scratch->keys, scratch->sameName);
        dropRenamed(&scratch->values, scratch->sameName);
    }
    markEqual(scratch->keys, type.items, CompareBy::Key, &scratch->tables, &scratch->keyClashes);
    markEqual(scratch->values, type.items, CompareBy::Value, &scratch->tables, &scratch->valueClashes);
    if (scratch->nameClashes.empty() && scratch->keyClashes.empty() && scratch->valueClashes.empty())
        return;
    firstClashOf(scratch->nameClashes, count, &scratch->sameName);
    firstClashOf(scratch->keyClashes, count, &scratch->sameKey);
    firstClashOf(scratch->valueClashes, count, &scratch->sameValue);
    reportClashes(type, *scratch, messages);
}

// Names QML takes for something else: its own types and JavaScript's global
// objects. QML keywords are lower-case, which no type name may be.
constexpr std::array<std::string_view, 25> kQmlTaken = {
    "Array",    "Binding", "Boolean", "Component", "Connections", "Date",   "Error",   "Function", "Infinity",
    "JSON",     "Map",     "Math",    "NaN",       "Number",      "Object", "Promise", "Proxy",    "Qt",
    "QtObject", "Reflect", "RegExp",  "Set",       "String",      "Symbol", "Timer"};

// What keeps the enum from being a QML type, or nothing: every enum E is the
// QML type E with the model type EModel, and in C++ the namespace EEnum.
std::optional<std::string> qmlProblem(const EnumType& type,
                                      const std::unordered_map<std::string_view, const EnumType*>& byName,
                                      const EnumType** other) {
    const std::string_view name = type.name;
    if (name.front() < 'A' || name.front() > 'Z')
        return std::string("QML type names start with an upper-case letter");
    if (std::find(kQmlTaken.begin(), kQmlTaken.end(), name) != kQmlTaken.end())
        return std::string("QML has a type of that name");
    for (auto [suffix, what] : {std::pair{"Model", "model type"}, std::pair{"Enum", "C++ namespace"}}) {
        if (!name.ends_with(suffix))
            continue;
        const auto found = byName.find(name.substr(0, name.size() - std::string_view(suffix).size()));
        if (found != byName.end()) {
            *other = found->second;
            return "it is the " + std::string(what) + " of enum '" + excerpt(found->second->name) + "'";
        }
    }
    return std::nullopt;
}

void checkQmlNames(const std::vector<EnumType>& enums, ListMessages* messages) {
    std::unordered_map<std::string_view, const EnumType*> byName;
    for (const EnumType& type : enums)
        byName.emplace(type.name, &type);
    for (const EnumType& type : enums) {
        if (type.name.empty())
            continue;
        const EnumType* other = nullptr;
        if (const std::optional<std::string> problem = qmlProblem(type, byName, &other)) {
            ListMessage m = messageAt(placeOf(type), Kind::Error,
                                      "enum '" + excerpt(type.name) + "' cannot be a QML type: " + *problem);
            if (other)
                noteAt(&m, placeOf(*other), "enum '" + excerpt(other->name) + "' is here");
            messages->push_back(std::move(m));
        }
    }
}

}  // namespace

void checkEnums(const std::vector<EnumType>& enums, QmlNames qml, ListMessages* messages) {
    ItemScratch scratch;
    HashedKeys keys;
    clear(&keys, enums.size());
    for (size_t e = 0; e < enums.size(); ++e) {
        if (!enums[e].key.empty())
            add(&keys, e, std::string_view(enums[e].key));
    }
    std::vector<Clash> clashes;
    markEqual(keys, enums, CompareBy::Key, &scratch.tables, &clashes);
    std::vector<std::int32_t> sameKey;
    firstClashOf(clashes, enums.size(), &sameKey);
    for (size_t e = 0; e < enums.size(); ++e) {
        const EnumType& type = enums[e];
        // A '/' or NUL byte in an enum name is reported with the enum's files.
        if (type.name.find_first_of(std::string_view("/\0", 2)) == std::string::npos)
            checkName(type.name, "enum", type.line, type.column, messages);
        if (sameKey[e] >= 0) {
            const EnumType& first = enums[static_cast<size_t>(sameKey[e])];
            ListMessage& m = messages->emplace_back(
                messageAt(placeOf(type, ListField::Key), Kind::Warning,
                          namingLine("enum '" + excerpt(type.name) + "' has the key '" + excerpt(type.key) +
                                         "' of enum '" + excerpt(first.name) + "'",
                                     " on line ", first.line)));
            noteAt(&m, placeOf(first, ListField::Key), "enum '" + excerpt(first.name) + "' has the key here");
        }
        checkItems(type, &scratch, messages);
    }
    if (qml == QmlNames::Checked)
        checkQmlNames(enums, messages);
}
