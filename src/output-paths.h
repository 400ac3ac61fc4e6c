// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "enum-model.h"
#include "list-message.h"

// Where output goes unless a run is told another folder; it must exist already.
inline constexpr char kOutputDir[] = "../enum/";

// The registry files' names, which no enum's file may take.
inline constexpr char kRegistryHeader[] = "enums.hpp";
inline constexpr char kRegistrySource[] = "enums.cpp";

// Output path of one of the enum's files in `dir`, which ends in '/';
// `extension` is ".hpp" or ".cpp".
std::string outputPath(const std::string& dir, const EnumType& type, const char* extension);

// Checks that every enum's files stay inside the output directory `dir` and
// that no two outputs share a path, so no output is silently lost to another.
void checkOutputPaths(const std::vector<EnumType>& enums, const std::string& dir, ListMessages* messages);
