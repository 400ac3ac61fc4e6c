// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "enum-lock.h"

// What data an application stored reads as: the one rule the lock keeps is
// that a form stored data may hold (a key, a name, a former key or name, a
// number) never reads as another item than the one it was stored for, and a
// retired item's forms read as nothing. The generated code reads a text as
// the item with that key, else that name, else that former key or name, and
// a number as the first item with that value, else the item that had it
// before; an alias reads as the first item with its value. A flags value
// holds bits, and an item reads from it when all its bits are set.

// A form stored data may hold: 't' and a text, or 'n' and a decimal number.
using StoredForm = std::string;

// How one stored form reads: the index of the item in its LockEnum, none for
// a form that reads as nothing.
struct StoredRead {
    StoredForm form;
    std::optional<size_t> item;
    // The item whose form it is: `item`, an alias that reads as `item`, or
    // the retired item of a form that reads as nothing.
    size_t owner = 0;
};

// Every form the items of `type` give stored data, with what each reads as
// there: the forms of its current items and, reading as nothing, those of
// its retired ones. The numbers of a flags enum are left to
// flagsBitsReadAsAnother.
std::vector<StoredRead> storedReads(const LockEnum& type);

// A form recorded in the lock that now reads otherwise.
struct ReadChange {
    StoredForm form;
    // The item it read as in the old lock (none: it read as nothing), and the
    // one it reads as now, both as indexes in their LockEnum.
    std::optional<size_t> before;
    std::optional<size_t> now;
    // The item of the old LockEnum whose form it was.
    size_t oldOwner = 0;
    // The item of the new LockEnum whose value or text makes it read so:
    // the owner of the form there, or the item that lost it.
    size_t culprit = 0;
};

// The forms that `old` records and that read otherwise with `now`, where
// `origin` gives for each item of `now` the index of the item of `old` it
// continues (renamed or not), none for a new item. A form of an item that
// `now` keeps retired must read as nothing.
std::vector<ReadChange> changedReads(const LockEnum& old, const LockEnum& now,
                                     const std::vector<std::optional<size_t>>& origin);

// For a flags enum: an item of `now` that is new or holds other bits than
// before, and bits of it that stored data holds for another item of `old`
// (one retired, one whose value changed, or one it overlaps in part), so that
// a stored value would test as it. `culprit` indexes `now`, `before` `old`.
std::vector<ReadChange> flagsBitsReadAsAnother(const LockEnum& old, const LockEnum& now,
                                               const std::vector<std::optional<size_t>>& origin);

// Each number an item of `old` holds or held that would read otherwise with
// `now`, where either is a flags enum. A plain enum's number reads as the
// item with that value; a flags value as every item whose bits it holds, so
// a number must test as the items it tested as before, or for one stored by
// a plain enum as that item alone.
std::vector<ReadChange> numbersReadOtherwise(const LockEnum& old, const LockEnum& now,
                                             const std::vector<std::optional<size_t>>& origin);

// Where a lock contradicts itself, as a merge of two branches' locks may:
// two items that are no alias hold one value, or a current item holds a form
// a retired item was stored as. Each pair is the indexes of the two items.
std::vector<std::pair<size_t, size_t>> lockContradictions(const LockEnum& type);

// Has each retired item of `type` give up the forms a current item holds,
// which only a lock that contradicted itself gives both, as the current
// item reads them already. Its key and former texts go; its number stays,
// as an alias's, which reads as the item holding it.
void yieldRetiredForms(LockEnum* type);

// The number of an item's value as the lock holds it; none for a text.
std::optional<std::int64_t> lockNumber(const LockItem& item);
