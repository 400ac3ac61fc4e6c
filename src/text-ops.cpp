// SPDX-License-Identifier: MIT
#include "text-ops.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <vector>

namespace {

constexpr size_t kSpare = size_t{1} << 20;

// Start of every non-overlapping occurrence of `from`, left to right.
std::vector<size_t> occurrences(std::string_view text, std::string_view from) {
    std::vector<size_t> found;
    for (auto [at, step] : findEach(text, std::span(&from, 1)))
        found.push_back(at);
    return found;
}

// Puts `to` in place of the `fromSize` bytes at each of `found`. Within the
// capacity `text` already has, the bytes move inside it: front to back when
// the text shrinks, back to front when it grows, each byte once. Otherwise
// the result is built in `scratch`, with up to a MiB to spare for the small
// growth of the steps that follow, and the two are swapped.
void replaceFound(std::string& text, const std::vector<size_t>& found, size_t fromSize, std::string_view to,
                  std::string& scratch) {
    const size_t oldSize = text.size();
    const size_t newSize = oldSize - found.size() * fromSize + found.size() * to.size();
    if (newSize > text.capacity()) {
        scratch.clear();
        scratch.reserve(newSize + std::min(newSize / 8, kSpare));
        size_t copied = 0;
        for (size_t at : found) {
            scratch.append(text, copied, at - copied).append(to);
            copied = at + fromSize;
        }
        scratch.append(text, copied);
        text.swap(scratch);
        return;
    }
    using Traits = std::string::traits_type;
    if (to.size() <= fromSize) {
        char* data = text.data();
        size_t write = found.front(), read = found.front();
        for (size_t i = 0; i < found.size(); ++i) {
            const size_t end = i + 1 < found.size() ? found[i + 1] : oldSize;
            Traits::copy(data + write, to.data(), to.size());
            write += to.size();
            read += fromSize;
            Traits::move(data + write, data + read, end - read);
            write += end - read;
            read = end;
        }
        text.resize(newSize);
        return;
    }
    text.resize(newSize);
    char* data = text.data();
    size_t readEnd = oldSize, writeEnd = newSize;
    for (size_t i = found.size(); i-- > 0;) {
        const size_t tail = readEnd - (found[i] + fromSize);
        writeEnd -= tail;
        Traits::move(data + writeEnd, data + found[i] + fromSize, tail);
        writeEnd -= to.size();
        Traits::copy(data + writeEnd, to.data(), to.size());
        readEnd = found[i];
    }
}

// The bytes that start and follow the start of any of a set of texts, so a
// search for all of them compares whole texts at few places: generated code
// holds a '_', the first byte of every placeholder, every few bytes, but
// seldom two.
struct AnyOf {
    std::span<const std::string_view> froms;
    std::array<bool, 256> starts{};
    std::array<bool, 256> seconds{};
    // The first byte every text shares, or -1.
    int sharedStart = -1;
};

AnyOf anyOf(std::span<const std::string_view> froms) {
    AnyOf any{froms};
    if (!froms.empty())
        any.sharedStart = static_cast<unsigned char>(froms[0][0]);
    for (std::string_view from : froms) {
        const auto start = static_cast<unsigned char>(from[0]);
        if (start != any.sharedStart)
            any.sharedStart = -1;
        any.starts[start] = true;
        if (from.size() == 1)
            any.seconds.fill(true);
        else
            any.seconds[static_cast<unsigned char>(from[1])] = true;
    }
    return any;
}

// The first occurrence of any of `any.froms` at or after `at`, with the index
// of the text found in `step`; npos when there is none.
size_t findAny(const AnyOf& any, std::string_view text, size_t at, size_t* step) {
    const size_t size = text.size();
    while (at < size) {
        if (any.sharedStart >= 0) {
            const void* hit = std::memchr(text.data() + at, any.sharedStart, size - at);
            if (!hit)
                return std::string_view::npos;
            at = static_cast<size_t>(static_cast<const char*>(hit) - text.data());
        } else if (!any.starts[static_cast<unsigned char>(text[at])]) {
            ++at;
            continue;
        }
        if (at + 1 == size || any.seconds[static_cast<unsigned char>(text[at + 1])]) {
            for (size_t i = 0; i < any.froms.size(); ++i) {
                if (text.compare(at, any.froms[i].size(), any.froms[i]) == 0) {
                    *step = i;
                    return at;
                }
            }
        }
        ++at;
    }
    return std::string_view::npos;
}

}  // namespace

std::string& replace(std::string& text, std::string_view from, std::string_view to) {
    const std::vector<size_t> found = occurrences(text, from);
    if (!found.empty()) {
        std::string scratch;
        replaceFound(text, found, from.size(), to, scratch);
    }
    return text;
}

bool replaceWithin(std::string& text, std::string_view from, std::string_view to, size_t maxSize,
                   std::string& scratch) {
    const std::vector<size_t> found = occurrences(text, from);
    // Computed as counts, not sizes, so a huge product cannot overflow.
    const size_t kept = text.size() - found.size() * from.size();
    if (kept > maxSize || (!found.empty() && to.size() > (maxSize - kept) / found.size()))
        return false;
    if (!found.empty())
        replaceFound(text, found, from.size(), to, scratch);
    return true;
}

std::vector<std::pair<size_t, size_t>> findEach(std::string_view text, std::span<const std::string_view> froms) {
    const AnyOf any = anyOf(froms);
    std::vector<std::pair<size_t, size_t>> found;
    size_t step = 0;
    for (size_t at = findAny(any, text, 0, &step); at != std::string_view::npos;
         at = findAny(any, text, at + froms[step].size(), &step))
        found.emplace_back(at, step);
    return found;
}

size_t literalBreak(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '"')
            return i;
        if (text[i] == '\\' && ++i == text.size())
            return i - 1;
    }
    return std::string_view::npos;
}

std::string excerpt(std::string_view text) {
    constexpr size_t kMax = 60;
    constexpr char kHex[] = "0123456789abcdef";
    std::string shown;
    for (char c : text.substr(0, kMax)) {
        const auto byte = static_cast<unsigned char>(c);
        // Written out, so that a message prints whole, on one line, and
        // shows what the bytes are.
        if ((byte < 0x20 && c != '\t') || byte == 0x7f)
            shown.append({'\\', 'x', kHex[byte >> 4], kHex[byte & 15]});
        else
            shown.push_back(c);
    }
    return text.size() <= kMax ? shown : shown + "...";
}

std::string toLower(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return result;
}

std::string toUpper(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return result;
}

std::string toString(std::int64_t number) { return std::to_string(number); }

PreprocessorDirective preprocessorDirective(std::string_view line) {
    auto skipSpace = [&line] {
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
    };
    skipSpace();
    if (!line.starts_with('#'))
        return {};
    line.remove_prefix(1);
    skipSpace();
    size_t length = 0;
    while (length < line.size() && line[length] >= 'a' && line[length] <= 'z')
        ++length;
    const std::string_view name = line.substr(0, length);
    line.remove_prefix(length);
    skipSpace();
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r' || line.back() == '\n'))
        line.remove_suffix(1);
    return {name, line};
}
