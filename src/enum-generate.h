// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "enum-model.h"
#include "enum-writer.h"
#include "template-fill.h"

// Every template a run fills.
struct Templates {
    std::string registry;
    EnumTemplates enumFiles;
};

// Whether a run removes the .hpp and .cpp files of its folders that it did
// not write, such as those of a removed enum.
enum class StaleOutputs { Kept, Removed };

// Handles every output of `enums` in `run`'s folder, in this order: the
// registry header, each enum's header and source, the registry source; then
// the stale files, as `stale` says. An output that cannot be filled or
// written does not stop the others.
void writeOutputs(const std::vector<EnumType>& enums, const Templates& templates, StaleOutputs stale, OutputRun* run);

// The same for the folder the application's other files include from: the
// registry files and each enum's header as includedHeader gives it.
void writeIncludedCopies(const std::vector<EnumType>& enums, const Templates& templates, StaleOutputs stale,
                         OutputRun* run);

// The paths of the outputs the two write, in their order; none in an empty
// `includeDir`.
std::vector<std::string> outputPaths(const std::vector<EnumType>& enums, const std::string& dir,
                                     const std::string& includeDir);
