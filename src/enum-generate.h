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

// Which outputs a folder gets: all of them, or, in the folder the
// application's other files include from, the registry files and each enum's
// header as includedHeader gives it.
enum class OutputSet { All, IncludedCopies };

// One output of a run: its path and what fills it.
struct PlannedOutput {
    enum class Filling { RegistryHeader, EnumHeader, EnumSource, IncludedHeader, RegistrySource };
    Filling filling = Filling::RegistryHeader;
    // The enum whose file it is; none for a registry file.
    const EnumType* type = nullptr;
    std::string path;
};

// The outputs of `enums` in `dir`, in the order a run handles them: the
// registry header, each enum's files, the registry source. The writers and
// --outputs all go by it.
std::vector<PlannedOutput> planOutputs(const std::vector<EnumType>& enums, const std::string& dir, OutputSet set);

// Handles every output of `enums` in `run`'s folder, as planOutputs gives
// them for OutputSet::All; then the stale files, as `stale` says. An output
// that cannot be filled or written does not stop the others.
void writeOutputs(const std::vector<EnumType>& enums, const Templates& templates, StaleOutputs stale, OutputRun* run);

// The same for the included copies (OutputSet::IncludedCopies).
void writeIncludedCopies(const std::vector<EnumType>& enums, const Templates& templates, StaleOutputs stale,
                         OutputRun* run);

// The paths of every output in `dir` and of the included copies in
// `includeDir`, in the order they are written; none in an empty `includeDir`.
std::vector<std::string> outputPaths(const std::vector<EnumType>& enums, const std::string& dir,
                                     const std::string& includeDir);
