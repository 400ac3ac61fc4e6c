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
