// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "enum-check.h"
#include "enum-model.h"
#include "list-message.h"
#include "output-paths.h"

// What the analysis of an enum list needs besides its text.
struct AnalysisOptions {
    // The folder the outputs go to, whose paths are checked.
    std::string outputDir = kOutputDir;
    QmlNames qml = QmlNames::Unchecked;
};

// An enum list read and checked: what every front end (the command line,
// the language server, the fuzz targets) works from.
struct ListAnalysis {
    std::vector<EnumType> enums;
    // In line order.
    ListMessages messages;
};

// Reads the enum list `text`, checks its enums and their output paths.
ListAnalysis analyzeList(std::string_view text, const AnalysisOptions& options);
