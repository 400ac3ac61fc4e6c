#include "text-ops.h"

#include <cctype>

std::string& replace(std::string& text, std::string_view from, std::string_view to) {
    size_t found = text.find(from);
    if (found == std::string::npos)
        return text;
    // Built afresh rather than spliced in place, so many occurrences cost one
    // pass instead of one move of the tail each.
    std::string result;
    result.reserve(text.size());
    size_t copied = 0;
    while (found != std::string::npos) {
        result.append(text, copied, found - copied).append(to);
        copied = found + from.size();
        found = text.find(from, copied);
    }
    result.append(text, copied);
    text.swap(result);
    return text;
}

bool replaceWithin(std::string& text, std::string_view from, std::string_view to, size_t maxSize) {
    size_t count = 0;
    for (size_t found = text.find(from); found != std::string::npos; found = text.find(from, found + from.size()))
        ++count;
    // Computed as counts, not sizes, so a huge product cannot overflow.
    const size_t kept = text.size() - count * from.size();
    if (kept > maxSize || (count > 0 && to.size() > (maxSize - kept) / count))
        return false;
    replace(text, from, to);
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
