// SPDX-License-Identifier: MIT
// libFuzzer target: the lock's one promise as a property. Each input is a
// sequence of edits to a small enum (insert, remove, rename, key and value
// changes, key swaps, plain or flags, bringing a removed item back), each
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
        case 6:  // a plain enum made flags or back, before it has a history
            if (n || !m->removed.empty())
                return false;
            m->flags = !m->flags;
            return true;
        default:  // a value that is a bit, as flags have them
            if (!n)
                return false;
            m->items[a % n].value = 1 << (b % 4);
            return true;
    }
}

// The item each stored form was stored for, by the fuzzer's own ids; none
// for a form of a removed item.
using Record = std::map<std::string, std::optional<int>>;

// The fuzzer's id of the item at `index` of the lock's enum.
std::optional<int> idOf(const Model& m, const LockEnum& type, size_t index) {
    if (index < m.items.size())
        return m.items[index].id;
    const auto found = m.removed.find(type.items[index].name);
    return found == m.removed.end() ? std::nullopt : std::optional<int>(found->second.id);
}

void check(const Model& m, const Lock& lock, Record* record) {
    if (lock.enums.empty())
        return;
    const LockEnum& type = lock.enums.front();
    std::map<std::string, std::optional<int>> now;
    for (const StoredRead& read : storedReads(type))
        now[read.form] = read.item ? idOf(m, type, *read.item) : std::nullopt;
    for (const auto& [form, stored] : *record) {
        const std::optional<int> id = stored;
        const auto found = now.find(form);
        const std::optional<int> reading = found == now.end() ? std::nullopt : found->second;
        const bool gone = id && std::none_of(m.items.begin(), m.items.end(), [&](const Item& i) { return i.id == *id; });
        if (reading != id && !(gone && !reading)) {
            std::fprintf(stderr, "history-fuzz: stored '%s' was item %d, reads as %d\n", form.c_str(), id.value_or(-1),
                         reading.value_or(-1));
            std::abort();
        }
    }
    for (const auto& [form, id] : now)
        record->emplace(form, id);
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
