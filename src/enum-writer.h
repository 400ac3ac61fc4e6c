#pragma once

#include <string>
#include <vector>

#include "enum-model.h"

// Where all output goes; it must exist already.
inline constexpr char kOutputDir[] = "../enum/";

// Placeholders written inside the enum list's texts are filled again by later
// placeholders, so a few lines can multiply an output without bound; a filled
// file past this size is refused instead of exhausting memory.
inline constexpr size_t kMaxOutputSize = size_t(1) << 30;

// The two per-enum templates, read once so every enum is filled from the same
// texts, and the size their filled texts may reach.
struct EnumTemplates {
    std::string header;
    std::string source;
    size_t maxOutputSize = kMaxOutputSize;
};

// Fills a per-enum template in `text` for `type`. False, with `text` partly
// filled, when the result would grow past `maxSize` bytes.
bool fillHeader(const EnumType& type, std::string* text, size_t maxSize);
bool fillSource(const EnumType& type, std::string* text, size_t maxSize);

// Output path of one of the enum's files; `extension` is ".hpp" or ".cpp".
std::string outputPath(const EnumType& type, const char* extension);

// Checks that every enum's files stay inside the output directory and that no
// two outputs share a path, so no output is silently lost to another.
bool checkOutputPaths(const std::vector<EnumType>& enums, const std::string& listName,
                      std::vector<std::string>* errors);

// Writes one output file with overwrite; a failure is added to `errors`.
bool writeOutput(const std::string& path, const std::string& text, std::vector<std::string>* errors);

// Fills both templates for `type` and writes the enum's header and source,
// each only when its text changed. Failures are added to `errors`.
bool write(const EnumType& type, const EnumTemplates& templates, std::vector<std::string>* errors);
