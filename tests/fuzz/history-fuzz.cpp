// SPDX-License-Identifier: MIT
// libFuzzer target: the lock's one promise as a property. Each input is a
// sequence of edits to a small enum (insert, remove, rename, key and value
// changes, key swaps, flags on and off, bringing a removed item back), each
// run through the analysis with --lock or --lock-update. After every step
// the analysis accepts, every form that stored data could hold after any
// earlier accepted step must read as the same item, or as nothing once that
// item is removed. The fuzzer keeps its own record of which item each form
// was stored for: the lock is only what is checked.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "enum-analysis.h"
#include "stored-reads.h"

namespace {

struct Item {
    int id;
    std::string name, key;
    std::optional<int> value;
};

struct Model {
    bool flags = false;
    std::vector<Item> items;
    // Removed items by name, to come back as themselves.
    std::map<std::string, Item> removed;
    int nextId = 0;
};

// Small pools, so that names, keys and values meet often.
const char* const kNames[] = {"A", "B", "C", "D", "E", "F"};
const char* const kKeys[] = {"", "a", "b", "c", "d", "e"};

std::string listOf(const Model& model) {
    std::string text = model.flags ? "+Mode[~Modes~]\n" : "+Mode\n";
    for (const Item& item : model.items) {
        text += "-" + item.name;
        if (!item.key.empty())
            text += "[[" + item.key + "]]";
        if (item.value)
            text += "[=" + std::to_string(*item.value) + "=]";
        text += "\n";
    }
    return text;
}

// Applies the edit `op` with its arguments; false for one that does not apply.
bool edit(Model* m, std::uint8_t op, std::uint8_t a, std::uint8_t b) {
    const size_t n = m->items.size();
    switch (op % 8) {
        case 0: {  // insert
            Item item{m->nextId++, kNames[a % 6], kKeys[b % 6], std::nullopt};
            if (b & 0x40)
                item.value = (b >> 3) & 7;
            if (const auto back = m->removed.find(item.name); back != m->removed.end())
                item = back->second;
            m->items.insert(m->items.begin() + static_cast<long>(n ? a % (n + 1) : 0), item);
            return true;
        }
        case 1:  // remove
            if (!n)
                return false;
            m->removed[m->items[a % n].name] = m->items[a % n];
            m->items.erase(m->items.begin() + static_cast<long>(a % n));
            return true;
        case 2:  // rename; to a removed item's name is that item back, as insert has it
            if (!n || m->removed.count(kNames[b % 6]))
                return false;
            m->items[a % n].name = kNames[b % 6];
            return true;
        case 3:  // key change
            if (!n)
                return false;
            m->items[a % n].key = kKeys[b % 6];
            return true;
        case 4:  // value change
            if (!n)
                return false;
            m->items[a % n].value = b & 8 ? std::optional<int>() : std::optional<int>(b & 7);
            return true;
        case 5:  // two keys swapped
            if (n < 2)
                return false;
            std::swap(m->items[a % n].key, m->items[b % n].key);
            return true;
        case 6:
            m->flags = !m->flags;
            return true;
        default:  // a value that is a bit, as flags have them
            if (!n)
                return false;
            m->items[a % n].value = 1 << (b % 4);
            return true;
    }
}

// The items each stored form was stored for, by the fuzzer's own ids: one
// for a text or a plain enum's number, every item whose bits it holds for a
// flags value; none for a form of a removed item.
using Reads = std::map<std::string, std::set<int>>;
struct Record {
    Reads reads;
    // The numbers stored while the enum was flags: a plain enum reads one of
    // the items such a number held, the one with its value.
    std::set<std::string> flagsNumbers;
};

// The fuzzer's id of the item at `index` of the lock's enum.
std::optional<int> idOf(const Model& m, const LockEnum& type, size_t index) {
    if (index < m.items.size())
        return m.items[index].id;
    const auto found = m.removed.find(type.items[index].name);
    return found == m.removed.end() ? std::nullopt : std::optional<int>(found->second.id);
}

// What each form reads as now: the model's reads, and for a flags enum every
// number an item holds or held, tested bit by bit as flagsFromText does. An
// alias stands for the first item with its value.
Reads readsNow(const Model& m, const LockEnum& type) {
    Reads now;
    for (const StoredRead& read : storedReads(type)) {
        std::set<int>& ids = now[read.form];
        if (const std::optional<int> id = read.item ? idOf(m, type, *read.item) : std::nullopt)
            ids.insert(*id);
    }
    if (!type.flags)
        return now;
    std::map<std::uint32_t, int> first;
    for (size_t j = 0; j < m.items.size(); ++j)
        first.emplace(static_cast<std::uint32_t>(std::stoll(type.items[j].value)), m.items[j].id);
    for (const LockItem& item : type.items) {
        std::vector<std::string> numbers = item.formerValues;
        numbers.push_back(item.value);
        for (const std::string& number : numbers) {
            const auto bits = static_cast<std::uint32_t>(std::stoll(number));
            std::set<int>& ids = now["n" + number];
            for (const auto& [value, id] : first)
                if (bits == 0 ? value == 0 : value != 0 && (value & bits) == value)
                    ids.insert(id);
        }
    }
    return now;
}

void check(const Model& m, const Lock& lock, Record* record) {
    if (lock.enums.empty())
        return;
    const LockEnum& type = lock.enums.front();
    const Reads now = readsNow(m, type);
    for (const auto& [form, stored] : record->reads) {
        std::set<int> expected;
        for (int id : stored)
            if (std::any_of(m.items.begin(), m.items.end(), [&](const Item& i) { return i.id == id; }))
                expected.insert(id);
        const auto found = now.find(form);
        const std::set<int> reading = found == now.end() ? std::set<int>() : found->second;
        const bool narrowed = !type.flags && record->flagsNumbers.count(form) &&
                              std::includes(expected.begin(), expected.end(), reading.begin(), reading.end());
        if (reading != expected && !narrowed) {
            std::fprintf(stderr, "history-fuzz: stored '%s' was %zu items, reads as %zu\n", form.c_str(),
                         expected.size(), reading.size());
            std::abort();
        }
    }
    for (const auto& [form, ids] : now)
        if (record->reads.emplace(form, ids).second && type.flags && form.front() == 'n')
            record->flagsNumbers.insert(form);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    Model model;
    Record record;
    std::optional<std::string> lockText;
    for (size_t i = 0; i + 3 < size && i < 4 * 64; i += 4) {
        Model next = model;
        if (!edit(&next, data[i], data[i + 1], data[i + 2]))
            continue;
        const LockMode mode = data[i + 3] & 1 ? LockMode::Update : LockMode::Extend;
        ListAnalysis analysis = analyzeList(listOf(next), {".", QmlNames::Unchecked, LockInput{"app.lock", lockText, mode}});
        if (hasErrors(analysis.messages) || !analysis.lockText)
            continue;
        model = std::move(next);
        lockText = analysis.lockText;
        ListMessages ignored;
        check(model, parseLock(*lockText, "app.lock", &ignored), &record);
    }
    return 0;
}
