// SPDX-License-Identifier: MIT
#include "enum-analysis.h"

#include "enum-reader.h"

ListAnalysis analyzeList(std::string_view text, const AnalysisOptions& options) {
    ListAnalysis analysis;
    parseEnumList(text, &analysis.enums, &analysis.messages);
    checkEnums(analysis.enums, options.qml, &analysis.messages);
    checkOutputPaths(analysis.enums, options.outputDir, &analysis.messages);
    sortByLine(&analysis.messages);
    return analysis;
}
