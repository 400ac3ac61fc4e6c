// SPDX-License-Identifier: MIT
#include "stored-reads.h"

#include <algorithm>
#include <charconv>
#include <set>
#include <unordered_map>
#include <unordered_set>

namespace {

// `text` after the byte `kind`, built by append: g++ 12 warns of "t" + text.
StoredForm form(char kind, std::string_view text) {
    StoredForm result(1, kind);
    result.append(text);
    return result;
}

StoredForm textForm(std::string_view text) { return form('t', text); }
StoredForm numberForm(std::string_view decimal) { return form('n', decimal); }

// What items with one value share: the number, or for a value that is no
// number its text, so that a number and a text never compare equal.
std::string valueId(const LockItem& item) { return form(item.valueIsNumber ? 'n' : 'v', item.value); }

// Adds each form once, the first time: the generated code looks a form up in
// the order the forms are added here.
struct ReadsBuilder {
    std::vector<StoredRead> reads;
    // Copies: the reads' own texts move as the vector grows.
    std::unordered_set<std::string> seen;

    void add(StoredForm form, std::optional<size_t> item, size_t owner) {
        if (!seen.insert(form).second)
            return;
        reads.push_back({std::move(form), item, owner});
    }
};

// The texts stored data may hold of an item: its key, name, former keys and
// former names, in the order the generated code tries them.
template <class Add>
void forEachText(const LockItem& item, Add add) {
    if (!item.key.empty())
        add(item.key);
    add(item.name);
    for (const std::string& key : item.formerKeys)
        add(key);
    for (const std::string& name : item.formerNames)
        add(name);
}

std::uint32_t bitsOf(std::string_view decimal) {
    std::int64_t number = 0;
    std::from_chars(decimal.data(), decimal.data() + decimal.size(), number);
    return static_cast<std::uint32_t>(number);
}

}  // namespace

std::optional<std::int64_t> lockNumber(const LockItem& item) {
    if (!item.valueIsNumber)
        return std::nullopt;
    std::int64_t number = 0;
    std::from_chars(item.value.data(), item.value.data() + item.value.size(), number);
    return number;
}

std::vector<StoredRead> storedReads(const LockEnum& type) {
    const std::vector<LockItem>& items = type.items;
    std::unordered_map<std::string, size_t> firstWithValue;
    for (size_t i = 0; i < items.size(); ++i)
        if (!items[i].retired)
            firstWithValue.emplace(valueId(items[i]), i);
    const auto reading = [&](size_t i) { return items[i].alias ? firstWithValue[valueId(items[i])] : i; };
    ReadsBuilder b;
    // Keys first, then names, then former texts, as the generated code tries them.
    for (size_t i = 0; i < items.size(); ++i)
        if (!items[i].retired && !items[i].key.empty())
            b.add(textForm(items[i].key), reading(i), i);
    for (size_t i = 0; i < items.size(); ++i)
        if (!items[i].retired)
            b.add(textForm(items[i].name), reading(i), i);
    for (size_t i = 0; i < items.size(); ++i)
        if (!items[i].retired)
            forEachText(items[i], [&](const std::string& text) { b.add(textForm(text), reading(i), i); });
    if (!type.flags) {
        for (size_t i = 0; i < items.size(); ++i)
            if (!items[i].retired && items[i].valueIsNumber)
                b.add(numberForm(items[i].value), reading(i), i);
        for (size_t i = 0; i < items.size(); ++i)
            if (!items[i].retired)
                for (const std::string& value : items[i].formerValues)
                    b.add(numberForm(value), reading(i), i);
    }
    // What no current item reads from: a retired item's forms read as nothing.
    for (size_t i = 0; i < items.size(); ++i) {
        if (!items[i].retired)
            continue;
        forEachText(items[i], [&](const std::string& text) { b.add(textForm(text), std::nullopt, i); });
        if (type.flags)
            continue;
        if (items[i].valueIsNumber)
            b.add(numberForm(items[i].value), std::nullopt, i);
        for (const std::string& value : items[i].formerValues)
            b.add(numberForm(value), std::nullopt, i);
    }
    return std::move(b.reads);
}

namespace {

// For each item of `old`, the item of `now` that continues it.
std::vector<std::optional<size_t>> successors(size_t oldCount, const std::vector<std::optional<size_t>>& origin) {
    std::vector<std::optional<size_t>> next(oldCount);
    for (size_t j = 0; j < origin.size(); ++j)
        if (origin[j])
            next[*origin[j]] = j;
    return next;
}

// The reads by their forms; views into `reads`, which outlives them.
std::unordered_map<std::string_view, const StoredRead*> byForm(const std::vector<StoredRead>& reads) {
    std::unordered_map<std::string_view, const StoredRead*> map;
    for (const StoredRead& read : reads)
        map.emplace(read.form, &read);
    return map;
}

}  // namespace

std::vector<ReadChange> changedReads(const LockEnum& old, const LockEnum& now,
                                     const std::vector<std::optional<size_t>>& origin) {
    const std::vector<std::optional<size_t>> next = successors(old.items.size(), origin);
    const std::vector<StoredRead> reads = storedReads(now);
    const auto nowReads = byForm(reads);
    std::vector<ReadChange> changes;
    for (const StoredRead& before : storedReads(old)) {
        // A retired item brought back with its value and key reads as it again.
        const size_t meant = before.item ? *before.item : before.owner;
        std::optional<size_t> expected;
        if (next[meant] && !now.items[*next[meant]].retired)
            expected = next[meant];
        const auto found = nowReads.find(before.form);
        const std::optional<size_t> reading = found == nowReads.end() ? std::nullopt : found->second->item;
        if (reading == expected)
            continue;
        // Where the form reads as nothing now, the item that lost it is to blame.
        const size_t culprit = found != nowReads.end() && found->second->item ? found->second->owner : *expected;
        changes.push_back({before.form, before.item, reading, before.owner, culprit});
    }
    return changes;
}

std::vector<ReadChange> flagsBitsReadAsAnother(const LockEnum& old, const LockEnum& now,
                                               const std::vector<std::optional<size_t>>& origin) {
    const std::vector<std::optional<size_t>> next = successors(old.items.size(), origin);
    std::vector<ReadChange> changes;
    for (size_t j = 0; j < now.items.size(); ++j) {
        const LockItem& item = now.items[j];
        if (item.retired || !item.valueIsNumber || bitsOf(item.value) == 0)
            continue;
        const std::optional<size_t> from = origin[j];
        if (from && old.items[*from].valueIsNumber && old.items[*from].value == item.value && !old.items[*from].retired)
            continue;
        const std::uint32_t bits = bitsOf(item.value);
        for (size_t k = 0; k < old.items.size(); ++k) {
            if (k == from)
                continue;
            const LockItem& other = old.items[k];
            const auto clash = [&](std::string_view value, bool current) {
                const std::uint32_t theirs = bitsOf(value);
                if ((theirs & bits) == 0)
                    return;
                // Bits that combine whole items still there mean what they meant.
                const bool kept = current && next[k] && !now.items[*next[k]].retired &&
                                  now.items[*next[k]].value == other.value;
                if ((theirs & ~bits) == 0 && kept)
                    return;
                changes.push_back({numberForm(value), k, j, k, j});
            };
            if (other.valueIsNumber)
                clash(other.value, !other.retired);
            for (const std::string& value : other.formerValues)
                clash(value, false);
        }
    }
    return changes;
}

namespace {

// What a number reads as with the items of a flags enum: every current item
// whose bits it holds, or, for 0, the items of no bits.
std::vector<size_t> flagsReading(const LockEnum& type, std::uint32_t number) {
    std::vector<size_t> items;
    for (size_t j = 0; j < type.items.size(); ++j) {
        const LockItem& item = type.items[j];
        if (item.retired || !item.valueIsNumber)
            continue;
        const std::uint32_t bits = bitsOf(item.value);
        if (number == 0 ? bits == 0 : bits != 0 && (bits & number) == bits)
            items.push_back(j);
    }
    return items;
}

}  // namespace

std::vector<ReadChange> numbersReadOtherwise(const LockEnum& old, const LockEnum& now,
                                             const std::vector<std::optional<size_t>>& origin) {
    const std::vector<std::optional<size_t>> next = successors(old.items.size(), origin);
    const std::vector<StoredRead> reads = now.flags ? std::vector<StoredRead>() : storedReads(now);
    const auto plainReads = byForm(reads);
    std::vector<ReadChange> changes;
    for (size_t k = 0; k < old.items.size(); ++k) {
        const LockItem& item = old.items[k];
        std::vector<std::string> numbers = item.formerValues;
        if (item.valueIsNumber)
            numbers.push_back(item.value);
        std::optional<size_t> expected;
        if (!item.retired && next[k] && !now.items[*next[k]].retired)
            expected = next[k];
        for (const std::string& number : numbers) {
            std::optional<size_t> reading;
            bool same = false;
            if (now.flags) {
                // What tests true on the number, then and now, by value: an
                // alias tests with its item.
                std::set<std::string> meant, tested;
                if (!old.flags && expected)
                    meant.insert(now.items[*expected].value);
                for (size_t i : old.flags ? flagsReading(old, bitsOf(number)) : std::vector<size_t>())
                    if (next[i] && !now.items[*next[i]].retired)
                        meant.insert(now.items[*next[i]].value);
                for (size_t j : flagsReading(now, bitsOf(number))) {
                    tested.insert(now.items[j].value);
                    if (!meant.count(now.items[j].value))
                        reading = j;
                }
                same = meant == tested;
            } else {
                const auto found = plainReads.find(numberForm(number));
                reading = found == plainReads.end() ? std::nullopt : found->second->item;
                same = reading == expected;
            }
            if (!same)
                changes.push_back({numberForm(number), item.retired ? std::nullopt : std::optional(k), reading, k,
                                   reading ? *reading : expected.value_or(0)});
        }
    }
    return changes;
}

std::vector<std::pair<size_t, size_t>> lockContradictions(const LockEnum& type) {
    const std::vector<LockItem>& items = type.items;
    std::vector<std::pair<size_t, size_t>> pairs;
    std::unordered_map<std::string, size_t> byValue, retiredForms;
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].retired) {
            forEachText(items[i], [&](const std::string& text) { retiredForms.emplace(textForm(text), i); });
            if (items[i].valueIsNumber && !items[i].alias)
                retiredForms.emplace(numberForm(items[i].value), i);
            for (const std::string& value : items[i].formerValues)
                retiredForms.emplace(numberForm(value), i);
        } else if (!items[i].alias) {
            if (const auto [at, added] = byValue.emplace(valueId(items[i]), i); !added)
                pairs.emplace_back(at->second, i);
        }
    }
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].retired)
            continue;
        std::optional<size_t> with;
        const auto check = [&](const StoredForm& form) {
            if (const auto found = retiredForms.find(form); found != retiredForms.end() && !with)
                with = found->second;
        };
        forEachText(items[i], [&](const std::string& text) { check(textForm(text)); });
        if (items[i].valueIsNumber)
            check(numberForm(items[i].value));
        if (with)
            pairs.emplace_back(i, *with);
    }
    return pairs;
}

void yieldRetiredForms(LockEnum* type) {
    std::unordered_set<StoredForm> held;
    for (const LockItem& item : type->items) {
        if (item.retired)
            continue;
        forEachText(item, [&](const std::string& text) { held.insert(textForm(text)); });
        if (item.valueIsNumber)
            held.insert(numberForm(item.value));
    }
    const auto isHeld = [&](const std::string& text) { return held.count(textForm(text)) > 0; };
    for (LockItem& item : type->items) {
        if (!item.retired)
            continue;
        if (isHeld(item.key))
            item.key.clear();
        std::erase_if(item.formerKeys, isHeld);
        std::erase_if(item.formerNames, isHeld);
        std::erase_if(item.formerValues, [&](const std::string& value) { return held.count(numberForm(value)) > 0; });
        if (item.valueIsNumber && held.count(numberForm(item.value)))
            item.alias = true;
    }
}
