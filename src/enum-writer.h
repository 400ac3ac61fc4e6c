// SPDX-License-Identifier: MIT
#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "enum-model.h"
#include "enum-reader.h"

// Where output goes unless a run is told another folder; it must exist already.
inline constexpr char kOutputDir[] = "../enum/";

// Placeholders written inside the enum list's texts are filled again by later
// placeholders, so a few lines can multiply an output without bound; a filled
// file past this size is refused instead of exhausting memory.
inline constexpr size_t kMaxOutputSize = size_t(1) << 30;

// The two per-enum templates, read once so every enum is filled from the same
// texts, and the size their filled texts may reach.
struct EnumTemplates {
    std::string header;
    std::string source;
    size_t maxOutputSize = kMaxOutputSize;
};

// Fills a per-enum template in `text` for `type`. False, with `text` partly
// filled, when the result would grow past `maxSize` bytes.
bool fillHeader(const EnumType& type, std::string* text, size_t maxSize);
bool fillSource(const EnumType& type, std::string* text, size_t maxSize);

// Output path of one of the enum's files in `dir`, which ends in '/';
// `extension` is ".hpp" or ".cpp".
std::string outputPath(const std::string& dir, const EnumType& type, const char* extension);

// Checks that every enum's files stay inside the output directory `dir` and
// that no two outputs share a path, so no output is silently lost to another.
void checkOutputPaths(const std::vector<EnumType>& enums, const std::string& dir, ListMessages* messages);

// What a run does with each output whose new text differs from the file.
enum class OutputMode {
    Write,  // rewrite it, then print "Write to <path>" and its text
    Brief,  // rewrite it, then print "Write to <path>"
    Check,  // leave it, and print "Out of date: <path>"
};

// The outputs of one run: where they go, how they are handled and what came
// of them.
struct OutputRun {
    std::string dir = kOutputDir;
    OutputMode mode = OutputMode::Write;
    int outOfDate = 0;
    // Every output path handled so far.
    std::vector<std::string> paths;
    std::vector<std::string> errors;
    // Outputs not written for a mistake at an enum-list line.
    ListMessages listErrors;
};

// Handles one output as `run` says; false, with the reason in `run`, when it
// could not be read or written.
bool writeOutput(const std::string& path, const std::string& text, OutputRun* run);

// Removes the .hpp and .cpp files in the run's folder that are none of its
// outputs, such as the files of a removed enum, printing "Remove <path>" (with
// --check, leaves them and prints "Out of date: <path>"). For folders that
// only the generator writes.
bool removeStaleOutputs(OutputRun* run);

// The per-enum outputs, each enum's header then its source, that threads
// compare with their files ahead of a run, each taking them from one end.
struct OutputQueue {
    std::mutex mutex;
    size_t front = 0;
    size_t back = 0;
    // For each output: 1 once it is found to hold its new text already.
    std::vector<char> same;
    // For each output: its text, once it is found to differ, kept for its
    // write (up to 256 MB of texts a thread).
    std::vector<std::string> texts;
};

// Fills outputs taken from the front (or the back) of `queue` and compares
// them with their files in `dir`, marking those that hold their text already,
// until the queue is empty or a few have differed. Writes nothing, and leaves
// every failure to the run that follows.
void compareAhead(const std::vector<EnumType>& enums, const EnumTemplates& templates, const std::string& dir,
                  bool fromBack, OutputQueue* queue);

// Fills both templates for `type` and handles the enum's header and source
// with writeOutput; an output known to hold its text already is only counted
// as handled.
bool write(const EnumType& type, const EnumTemplates& templates, bool headerIsSame, bool sourceIsSame, OutputRun* run);

// Handles every enum's header and source, in order, as `write` does, after
// compareAhead filled `queue`. A second thread fills the outputs a few texts
// ahead of the writes, so that filling one overlaps writing another, and
// takes the texts that the comparison kept rather than filling them again.
bool writeEnums(const std::vector<EnumType>& enums, const EnumTemplates& templates, OutputQueue* queue,
                OutputRun* run);

// The enum's header as the application's other files include it: without
// each part from "#ifdef ENUMGEN_SOURCE_<Name>" to its "#endif", which only
// the enum's source compiles. A part with an #else or #elif of its own, or
// without its #endif, stays.
std::string includedHeader(const EnumType& type, std::string_view header);

// Fills the enum's header and handles its included copy, in `run`'s folder,
// with writeOutput.
bool writeIncluded(const EnumType& type, const EnumTemplates& templates, OutputRun* run);
