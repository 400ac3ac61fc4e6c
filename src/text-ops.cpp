#include "text-ops.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

namespace {

constexpr size_t kSpare = size_t{1} << 20;

// Start of every non-overlapping occurrence of `from`, left to right. A hit
// of its first byte is checked at the second before it is compared whole:
// generated code holds a '_', the first byte of every placeholder, every few
// bytes, but seldom two.
std::vector<size_t> occurrences(std::string_view text, std::string_view from) {
    std::vector<size_t> found;
    if (from.size() < 2 || text.size() < from.size()) {
        for (size_t at = text.find(from); at != std::string_view::npos; at = text.find(from, at + from.size()))
            found.push_back(at);
        return found;
    }
    const size_t last = text.size() - from.size();
    for (size_t at = 0; at <= last;) {
        const void* hit = std::memchr(text.data() + at, from[0], last - at + 1);
        if (!hit)
            break;
        at = static_cast<size_t>(static_cast<const char*>(hit) - text.data());
        if (text[at + 1] == from[1] && text.compare(at + 2, from.size() - 2, from.substr(2)) == 0) {
            found.push_back(at);
            at += from.size();
        } else {
            ++at;
        }
    }
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

std::string excerpt(std::string_view text) {
    constexpr size_t kMax = 60;
    return text.size() <= kMax ? std::string(text) : std::string(text.substr(0, kMax)) + "...";
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
