// SPDX-License-Identifier: MIT
#include "enum-generate.h"

#include "registry.h"
#include "text-ops.h"

namespace {

// Reports the output `planned`, which was not written because it outgrew `maxSize`.
void reportOutgrown(const PlannedOutput& planned, size_t maxSize, OutputRun* run) {
    const EnumType& type = *planned.type;
    run->listErrors.push_back({type.line, ListMessage::Kind::Error,
                               "enum '" + excerpt(type.name) + "': " + excerpt(planned.path) + " would grow past " +
                                   toString(static_cast<std::int64_t>(maxSize)) +
                                   " bytes, as placeholders written inside its texts are filled again by later "
                                   "ones; it is not written",
                               type.column, static_cast<int>(type.name.size())});
}

}  // namespace

std::vector<PlannedOutput> planOutputs(const std::vector<EnumType>& enums, const std::string& dir, OutputSet set) {
    using Filling = PlannedOutput::Filling;
    std::vector<PlannedOutput> plan;
    plan.reserve(2 * enums.size() + 2);
    plan.push_back({Filling::RegistryHeader, nullptr, dir + kRegistryHeader});
    for (const EnumType& type : enums) {
        if (set == OutputSet::IncludedCopies) {
            plan.push_back({Filling::IncludedHeader, &type, outputPath(dir, type, extensionOf(EnumFile::Header))});
            continue;
        }
        plan.push_back({Filling::EnumHeader, &type, outputPath(dir, type, extensionOf(EnumFile::Header))});
        plan.push_back({Filling::EnumSource, &type, outputPath(dir, type, extensionOf(EnumFile::Source))});
    }
    // In the included copies' folder too, so that it includes the copies.
    plan.push_back({Filling::RegistrySource, nullptr, dir + kRegistrySource});
    return plan;
}

namespace {

void writePlan(const std::vector<EnumType>& enums, const Templates& templates, OutputSet set, StaleOutputs stale,
               OutputRun* run) {
    using Filling = PlannedOutput::Filling;
    const std::string_view scope = templates.enumFiles.enumNamespace;
    const TemplatePlaces places = findPlaces(templates.enumFiles);
    std::string text;
    for (const PlannedOutput& planned : planOutputs(enums, run->dir, set)) {
        switch (planned.filling) {
            case Filling::RegistryHeader:
                writeOutput(planned.path, registryHeader(templates.registry, enums, scope), run);
                break;
            case Filling::RegistrySource:
                writeOutput(planned.path, registrySource(enums, scope), run);
                break;
            case Filling::EnumHeader:
            case Filling::EnumSource: {
                const EnumFile file = planned.filling == Filling::EnumHeader ? EnumFile::Header : EnumFile::Source;
                if (fillEnumFile(*planned.type, templates.enumFiles, places, file, &text))
                    writeOutput(planned.path, text, run);
                else
                    reportOutgrown(planned, templates.enumFiles.maxOutputSize, run);
                break;
            }
            case Filling::IncludedHeader:
                // A header too big to fill is reported with the header itself.
                if (fillEnumFile(*planned.type, templates.enumFiles, places, EnumFile::Header, &text))
                    writeOutput(planned.path, includedHeader(*planned.type, text), run);
                break;
        }
    }
    if (stale == StaleOutputs::Removed)
        removeStaleOutputs(run);
}

}  // namespace

void writeOutputs(const std::vector<EnumType>& enums, const Templates& templates, StaleOutputs stale, OutputRun* run) {
    writePlan(enums, templates, OutputSet::All, stale, run);
}

void writeIncludedCopies(const std::vector<EnumType>& enums, const Templates& templates, StaleOutputs stale,
                         OutputRun* run) {
    writePlan(enums, templates, OutputSet::IncludedCopies, stale, run);
}

std::vector<std::string> outputPaths(const std::vector<EnumType>& enums, const std::string& dir,
                                     const std::string& includeDir) {
    std::vector<std::string> paths;
    for (const PlannedOutput& planned : planOutputs(enums, dir, OutputSet::All))
        paths.push_back(planned.path);
    if (!includeDir.empty())
        for (const PlannedOutput& planned : planOutputs(enums, includeDir, OutputSet::IncludedCopies))
            paths.push_back(planned.path);
    return paths;
}
