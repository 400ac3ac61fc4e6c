#pragma once

#include <cstdint>
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

// The start of `text` for a message: at most 60 bytes, with "..." when cut.
std::string excerpt(std::string_view text);

// Byte-wise ASCII case conversion; every other byte stays as it is.
std::string toLower(std::string_view text);
std::string toUpper(std::string_view text);

// Decimal text of `number`.
std::string toString(std::int64_t number);
