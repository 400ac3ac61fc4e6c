// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

constexpr bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Letters, digits, '_' and the bytes from 0x80 up, which are how UTF-8
// identifiers are written; a table, as every byte of every name is looked up.
inline constexpr std::array<bool, 256> kIdentifierBytes = [] {
    std::array<bool, 256> bytes{};
    for (int c = 0; c < 256; ++c)
        bytes[c] = c >= 0x80 || c == '_' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    return bytes;
}();

constexpr bool isIdentifierByte(char c) { return kIdentifierBytes[static_cast<unsigned char>(c)]; }

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

// Every non-overlapping occurrence of any of `froms`, none of them empty,
// left to right: where it starts and the index of the text found there. For
// froms that are findableInOnePass, that is every occurrence of each.
std::vector<std::pair<size_t, size_t>> findEach(std::string_view text, std::span<const std::string_view> froms);

// Where a text pasted between double quotes would end the string literal
// early (a '"' not escaped by '\\') or escape its closing quote (a '\\' at
// the end); npos when it makes a sound literal.
size_t literalBreak(std::string_view text);

// The start of `text` for a message: at most 60 bytes, with "..." when cut,
// and control bytes written as "\x00".
std::string excerpt(std::string_view text);

// Byte-wise ASCII case conversion; every other byte stays as it is.
std::string toLower(std::string_view text);
std::string toUpper(std::string_view text);

// Decimal text of `number`.
std::string toString(std::int64_t number);

// A preprocessor line's directive ("ifdef", "endif", ...) and what follows
// it, without the spaces around; an empty name for other lines.
struct PreprocessorDirective {
    std::string_view name, rest;
};
PreprocessorDirective preprocessorDirective(std::string_view line);
