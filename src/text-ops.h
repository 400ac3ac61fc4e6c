#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// Replaces every occurrence of `from` in `text` by `to`, left to right; text
// just inserted is never searched again. Returns `text`.
std::string& replace(std::string& text, std::string_view from, std::string_view to);

// replace, but only when the result is at most `maxSize` bytes long; returns
// false and leaves `text` alone otherwise. The result is built in `scratch`,
// which then holds the old text: a caller filling step after step reuses both
// buffers instead of allocating (and faulting in) a new one per step.
bool replaceWithin(std::string& text, std::string_view from, std::string_view to, size_t maxSize, std::string& scratch);

// Whether the occurrences of all of `froms` in a text can be found in one
// pass: none is empty, none holds another, and no end of one is the start of
// another or of itself, so no two occurrences ever overlap.
constexpr bool findableInOnePass(std::span<const std::string_view> froms) {
    for (size_t i = 0; i < froms.size(); ++i) {
        const std::string_view a = froms[i];
        if (a.empty())
            return false;
        for (size_t j = 0; j < froms.size(); ++j) {
            const std::string_view b = froms[j];
            if (i != j && a.find(b) != std::string_view::npos)
                return false;
            for (size_t k = 1; k < a.size() && k < b.size(); ++k)
                if (a.substr(a.size() - k) == b.substr(0, k))
                    return false;
        }
    }
    return true;
}

// Replaces froms[0] by tos[0], then froms[1] by tos[1], and so on, as
// replaceWithin does step by step: a placeholder that an inserted text brings
// is filled by a later step. False when a step would outgrow `maxSize`, with
// `text` partly filled. `froms` must be findableInOnePass. Where no inserted
// text brings a placeholder, as in nearly every fill, the text is built in one
// pass instead of once per step.
bool replaceInTurn(std::string& text, std::span<const std::string_view> froms, std::span<const std::string_view> tos,
                   size_t maxSize, std::string& scratch);

// The start of `text` for a message: at most 60 bytes, with "..." when cut.
std::string excerpt(std::string_view text);

// Byte-wise ASCII case conversion; every other byte stays as it is.
std::string toLower(std::string_view text);
std::string toUpper(std::string_view text);

// Decimal text of `number`.
std::string toString(std::int64_t number);
