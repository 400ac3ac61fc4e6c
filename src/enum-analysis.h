// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "enum-check.h"
#include "enum-lock.h"
#include "enum-model.h"
#include "list-message.h"
#include "output-paths.h"
#include "text-store.h"

// The lock file a list is checked against.
struct LockInput {
    std::string path;
    // Its text; none when there is no lock file yet.
    std::optional<std::string> text;
    LockMode mode = LockMode::Extend;
};

// What the analysis of an enum list needs besides its text.
struct AnalysisOptions {
    // The folder the outputs go to, whose paths are checked.
    std::string outputDir = kOutputDir;
    QmlNames qml = QmlNames::Unchecked;
    std::optional<LockInput> lock{};
};

// An enum list read and checked: what every front end (the command line,
// the language server, the fuzz targets) works from.
struct ListAnalysis {
    // Keeps the list's text, which the items' texts are parts of.
    TextStore texts;
    StoredText text;
    std::vector<EnumType> enums;
    // In line order; those about the lock file itself last.
    ListMessages messages;
    // What the lock file is to hold, with a lock.
    std::optional<std::string> lockText{};
};

// Reads the enum list `text`, checks its enums and their output paths, and
// with a lock checks the list against it and makes the lock's new text.
ListAnalysis analyzeList(std::string text, const AnalysisOptions& options);
