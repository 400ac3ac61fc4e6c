// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "file-ops.h"
#include "list-message.h"
#include "output-paths.h"

// What a run does with each output whose new text differs from the file.
enum class OutputMode {
    Write,  // rewrite it; the command line prints "Write to <path>" and its text
    Brief,  // rewrite it; the command line prints "Write to <path>"
    Check,  // leave it; the command line prints "Out of date: <path>"
};

// Something a run did to an output, or found out of date, for the command
// line to tell.
struct OutputEvent {
    enum class Kind { Written, OutOfDate, Removed };
    Kind kind = Kind::Written;
    std::string_view path;
    // The text written; empty for the other kinds.
    std::string_view text;
};

// The outputs of one run into one folder: where they go, how they are
// handled and what came of them.
struct OutputRun {
    std::string dir = kOutputDir;
    OutputMode mode = OutputMode::Write;
    // A run with no arguments leaves an empty output missing (writing.missing);
    // one told its folder makes every output it names.
    FileWriting writing;
    // Told of each event as it happens, so the command line prints a text
    // while it is at hand; none to tell nobody.
    void (*tell)(OutputMode mode, const OutputEvent& event) = nullptr;
    // Every output path handled so far, and how many were written, removed or
    // found out of date.
    std::vector<std::string> paths;
    int changes = 0;
    std::vector<std::string> errors;
    // Outputs not written for a mistake at an enum-list line.
    ListMessages listErrors;
};

// Handles one output as `run` says; false, with the reason in `run`, when it
// could not be read or written.
bool writeOutput(const std::string& path, const std::string& text, OutputRun* run);

// Removes the .hpp and .cpp files in the run's folder that are none of its
// outputs, such as the files of a removed enum (with OutputMode::Check,
// leaves them and counts them out of date). For folders that only the
// generator writes; a file that another run removed first is no failure.
bool removeStaleOutputs(OutputRun* run);
