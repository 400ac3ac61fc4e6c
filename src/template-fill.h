// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "enum-model.h"

// Placeholders written inside the enum list's texts are filled again by later
// placeholders, so a few lines can multiply an output without bound; a filled
// file past this size is refused instead of exhausting memory.
inline constexpr size_t kMaxOutputSize = size_t(1) << 30;

// The two per-enum templates, read once so every enum is filled from the same
// texts, the size their filled texts may reach, and the namespace the enums
// are generated in (enumgen --namespace; empty for none).
struct EnumTemplates {
    std::string header;
    std::string source;
    size_t maxOutputSize = kMaxOutputSize;
    std::string enumNamespace{};
};

// Which of an enum's two files.
enum class EnumFile { Header, Source };

inline const char* extensionOf(EnumFile file) { return file == EnumFile::Header ? ".hpp" : ".cpp"; }

// The lines that open and close the namespace `scope` (enumgen --namespace)
// in generated code; empty for the global one.
std::string openNamespace(std::string_view scope);
std::string closeNamespace(std::string_view scope);

// Fills a per-enum template in `text` for `type`, without a namespace. False, with `text` partly
// filled, when the result would grow past `maxSize` bytes.
bool fillHeader(const EnumType& type, std::string* text, size_t maxSize);
bool fillSource(const EnumType& type, std::string* text, size_t maxSize);

// Where the templates' placeholders stand: the same for every enum, so they
// are looked for once.
struct TemplatePlaces {
    std::vector<std::pair<size_t, size_t>> header, source;
};
TemplatePlaces findPlaces(const EnumTemplates& templates);

// Fills the template of the enum's `file` into `text`, as fillHeader and
// fillSource do.
bool fillEnumFile(const EnumType& type, const EnumTemplates& templates, const TemplatePlaces& places, EnumFile file,
                  std::string* text);

// The enum's header as the application's other files include it: without
// each part from "#ifdef ENUMGEN_SOURCE_<Name>" to its "#endif", which only
// the enum's source compiles. A part with an #else or #elif of its own, or
// without its #endif, stays.
std::string includedHeader(const EnumType& type, std::string_view header);
