// SPDX-License-Identifier: MIT
#pragma once

#include <cassert>
#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

class TextStore;

// A text an enum's item holds: a view into a text a TextStore keeps. Only a
// store makes one, and only a stored text makes a part of itself, so a model
// never views a text nobody keeps. A list of a million items holds its texts
// once, in the list's text, rather than allocating most of them again.
class StoredText {
public:
    StoredText() = default;
    operator std::string_view() const { return text_; }
    size_t size() const { return text_.size(); }
    bool empty() const { return text_.empty(); }
    friend bool operator==(const StoredText& a, std::string_view b) { return a.text_ == b; }
    friend bool operator==(const StoredText& a, const StoredText& b) { return a.text_ == b.text_; }
    // `part`, which lies within this text, as a stored text.
    StoredText part(std::string_view within) const {
        assert(within.empty() ||
               (within.data() >= text_.data() && within.data() + within.size() <= text_.data() + text_.size()));
        return StoredText(within);
    }

private:
    friend class TextStore;
    explicit StoredText(std::string_view text) : text_(text) {}
    std::string_view text_;
};

// Keeps the texts a model's stored texts view, for as long as the model
// lives. Moving a store keeps every text where it is; copying one would not
// keep the views, so a store is not copied.
class TextStore {
public:
    TextStore() = default;
    TextStore(TextStore&&) = default;
    TextStore& operator=(TextStore&&) = default;
    TextStore(const TextStore&) = delete;
    TextStore& operator=(const TextStore&) = delete;

    // Keeps `text` and gives a view of all of it.
    StoredText keep(std::string text) {
        if (stores_.empty())
            stores_.emplace_back();
        return StoredText(stores_.back().emplace_back(std::move(text)));
    }
    // Takes over the texts `other` keeps, which stay where they are.
    void adopt(TextStore other) {
        for (std::deque<std::string>& texts : other.stores_)
            stores_.push_back(std::move(texts));
    }

private:
    // A deque of deques: neither moves its elements as it grows, and moving
    // a deque keeps them in place, so adopting a store keeps its views.
    std::deque<std::deque<std::string>> stores_;
};
