#pragma once

#include <string>
#include <vector>

#include "enum-model.h"

// Where all output goes; it must exist already.
inline constexpr char kOutputDir[] = "../enum/";

// The two per-enum templates, read once so every enum is filled from the same
// texts.
struct EnumTemplates {
    std::string header;
    std::string source;
};

// The per-enum templates filled for `type`.
std::string fillHeader(const EnumType& type, std::string text);
std::string fillSource(const EnumType& type, std::string text);

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
