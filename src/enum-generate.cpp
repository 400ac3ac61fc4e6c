// SPDX-License-Identifier: MIT
#include "enum-generate.h"

#include "registry.h"
#include "text-ops.h"

namespace {

// Reports an output of `type` that was not written because it outgrew `maxSize`.
void reportOutgrown(const EnumType& type, EnumFile file, size_t maxSize, OutputRun* run) {
    run->listErrors.push_back({type.line, ListMessage::Kind::Error,
                               "enum '" + excerpt(type.name) +
                                   "': " + excerpt(outputPath(run->dir, type, extensionOf(file))) +
                                   " would grow past " + toString(static_cast<std::int64_t>(maxSize)) +
                                   " bytes, as placeholders written inside its texts are filled again by later "
                                   "ones; it is not written",
                               type.column, static_cast<int>(type.name.size())});
}

}  // namespace

void writeOutputs(const std::vector<EnumType>& enums, const Templates& templates, StaleOutputs stale, OutputRun* run) {
    writeOutput(run->dir + "enums.hpp", registryHeader(templates.registry, enums, templates.enumFiles.enumNamespace), run);
    const TemplatePlaces places = findPlaces(templates.enumFiles);
    std::string text;
    for (const EnumType& type : enums) {
        for (EnumFile file : {EnumFile::Header, EnumFile::Source}) {
            if (fillEnumFile(type, templates.enumFiles, places, file, &text))
                writeOutput(outputPath(run->dir, type, extensionOf(file)), text, run);
            else
                reportOutgrown(type, file, templates.enumFiles.maxOutputSize, run);
        }
    }
    writeOutput(run->dir + "enums.cpp", registrySource(enums, templates.enumFiles.enumNamespace), run);
    if (stale == StaleOutputs::Removed)
        removeStaleOutputs(run);
}

void writeIncludedCopies(const std::vector<EnumType>& enums, const Templates& templates, StaleOutputs stale,
                         OutputRun* run) {
    writeOutput(run->dir + "enums.hpp", registryHeader(templates.registry, enums, templates.enumFiles.enumNamespace), run);
    const TemplatePlaces places = findPlaces(templates.enumFiles);
    std::string text;
    for (const EnumType& type : enums) {
        // A header too big to fill is reported with the header itself.
        if (fillEnumFile(type, templates.enumFiles, places, EnumFile::Header, &text))
            writeOutput(outputPath(run->dir, type, ".hpp"), includedHeader(type, text), run);
    }
    // The registry source is compiled from here too, so that it includes the
    // copies.
    writeOutput(run->dir + "enums.cpp", registrySource(enums, templates.enumFiles.enumNamespace), run);
    if (stale == StaleOutputs::Removed)
        removeStaleOutputs(run);
}

std::vector<std::string> outputPaths(const std::vector<EnumType>& enums, const std::string& dir,
                                     const std::string& includeDir) {
    std::vector<std::string> paths{dir + "enums.hpp"};
    for (const EnumType& type : enums) {
        paths.push_back(outputPath(dir, type, ".hpp"));
        paths.push_back(outputPath(dir, type, ".cpp"));
    }
    paths.push_back(dir + "enums.cpp");
    if (includeDir.empty())
        return paths;
    paths.push_back(includeDir + "enums.hpp");
    for (const EnumType& type : enums)
        paths.push_back(outputPath(includeDir, type, ".hpp"));
    paths.push_back(includeDir + "enums.cpp");
    return paths;
}
