// SPDX-License-Identifier: MIT
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "command-line.h"
#include "enum-analysis.h"
#include "enum-generate.h"
#include "enum-lsp.h"
#include "file-ops.h"

namespace {

// The registry header's template has the header's own name.
constexpr const char* kRegistryTemplate = kRegistryHeader;
constexpr char kHeaderTemplate[] = "enum_type.hpp";
constexpr char kSourceTemplate[] = "enum_type.cpp";

// Standard output is flushed first, so a build log shows a message after
// what came before it.
void reportErrors(const std::vector<std::string>& messages) {
    std::fflush(stdout);
    for (const std::string& message : messages)
        std::fprintf(stderr, "enumgen: error: %s\n", message.c_str());
}

void reportListMessages(const std::string& list, const ListMessages& messages) {
    std::fflush(stdout);
    // Written by size: a message may quote a NUL of the list.
    const std::string text = formatMessages(list, messages);
    std::fwrite(text.data(), 1, text.size(), stderr);
}

// Tells what a run did to an output: "Write to <path>" and, unless brief,
// the text written; "Out of date: <path>"; "Remove <path>".
void printEvent(OutputMode mode, const OutputEvent& event) {
    const char* what = event.kind == OutputEvent::Kind::Written     ? "Write to "
                       : event.kind == OutputEvent::Kind::OutOfDate ? "Out of date: "
                                                                    : "Remove ";
    std::fputs(what, stdout);
    std::fwrite(event.path.data(), 1, event.path.size(), stdout);
    std::fputc('\n', stdout);
    if (mode == OutputMode::Write)
        std::fwrite(event.text.data(), 1, event.text.size(), stdout);
}

std::string templatePath(const Options& options, const char* name) {
    if (options.templates.empty())
        return name;
    return options.templates + (options.templates.ends_with('/') ? "" : "/") + name;
}

// The run's inputs: the list's text and the templates; what cannot be read
// adds its reason to `errors` and reads as empty.
void readInputs(const Options& options, std::string* list, Templates* templates, std::vector<std::string>* errors) {
    std::string err;
    if (!readAll(options.list, list, &err, MissingFile::IsError))
        errors->push_back(err);
    for (auto [name, text] :
         {std::pair{kRegistryTemplate, &templates->registry}, std::pair{kHeaderTemplate, &templates->enumFiles.header},
          std::pair{kSourceTemplate, &templates->enumFiles.source}}) {
        if (!readAll(templatePath(options, name), text, &err))
            errors->push_back(err);
    }
}

// The lock the run checks the list against, if it has one: a missing file is
// a lock still to make; one that cannot be read adds its reason to `errors`.
std::optional<LockInput> readLock(const Options& options, std::vector<std::string>* errors) {
    if (options.lock.empty())
        return std::nullopt;
    LockInput lock{options.lock, std::nullopt,
                   options.lockUpdate ? LockMode::Update
                   : options.locked   ? LockMode::Frozen
                                      : LockMode::Extend};
    std::string err;
    if (!readLockFile(options.lock, &lock.text, &err))
        errors->push_back(err);
    return lock;
}

// Output folders that would overwrite the templates or each other.
void checkFolders(const Options& options, std::vector<std::string>* errors) {
    for (const std::string& dir : {options.output, options.includeDir})
        if (!dir.empty() && sameDirectory(options.templates.empty() ? "." : options.templates, dir))
            errors->push_back(dir +
                              (options.templates.empty() ? ": is the working directory" : ": is the templates folder") +
                              ", so the generated files would overwrite the templates");
    if (!options.includeDir.empty() && sameDirectory(options.includeDir, options.output))
        errors->push_back(options.includeDir +
                          ": is the output folder, so the included copies would overwrite the headers");
}

// A run into `dir` as the options say, printing what it does.
OutputRun outputRun(const Options& options, const std::string& dir) {
    OutputRun run;
    run.dir = dir;
    run.mode = options.check ? OutputMode::Check : options.brief ? OutputMode::Brief : OutputMode::Write;
    run.writing.missing = options.outputNamed ? MissingOutput::DiffersFromAll : MissingOutput::HoldsEmptyText;
    run.tell = printEvent;
    return run;
}

// Writes every output and the lock, telling what it writes; true when each
// holds its new text (with --check: when each holds it already).
bool writeAll(const Options& options, const ListAnalysis& analysis, const Templates& templates) {
    const StaleOutputs stale = options.removeStale ? StaleOutputs::Removed : StaleOutputs::Kept;
    OutputRun run = outputRun(options, options.output);
    writeOutputs(analysis.enums, templates, stale, &run);
    std::vector<OutputRun> others;
    if (!options.includeDir.empty())
        writeIncludedCopies(analysis.enums, templates, stale,
                            &others.emplace_back(outputRun(options, options.includeDir)));
    // Last, so that the lock is written once the outputs it pins are.
    if (analysis.lockText) {
        OutputRun& lock = others.emplace_back(outputRun(options, ""));
        // Another build of the same tree may read it at any moment.
        lock.writing.newFiles = NewFiles::ThroughTemporary;
        writeOutput(options.lock, *analysis.lockText, &lock);
    }
    int changes = run.changes;
    for (const OutputRun& other : others) {
        changes += other.changes;
        run.errors.insert(run.errors.end(), other.errors.begin(), other.errors.end());
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        run.errors.push_back(std::string("standard output: cannot write: ") + std::strerror(errno));
    reportListMessages(options.list, run.listErrors);
    reportErrors(run.errors);
    return run.errors.empty() && run.listErrors.empty() && (run.mode != OutputMode::Check || changes == 0);
}

// Runs the whole generation. Every input is read and checked before the first
// output is touched; an output that cannot be written does not stop the
// others.
bool generate(const Options& options) {
    std::vector<std::string> errors;
    for (const std::string& directory : options.directories) {
        std::string err;
        if (!changeDirectory(directory, &err))
            errors.push_back(err);
    }
    if (!options.check && !options.outputs)
        std::fputs("Generate enum files\n", stdout);
    if (!errors.empty()) {
        reportErrors(errors);
        return false;
    }
    std::string list;
    Templates templates;
    readInputs(options, &list, &templates, &errors);
    templates.enumFiles.enumNamespace = options.enumNamespace;
    const ListAnalysis analysis = analyzeList(
        std::move(list),
        {options.output, options.qml ? QmlNames::Checked : QmlNames::Unchecked, readLock(options, &errors)});
    checkFolders(options, &errors);
    reportListMessages(options.list, analysis.messages);
    if (!errors.empty() || hasErrors(analysis.messages)) {
        reportErrors(errors);
        return false;
    }
    if (!options.outputs)
        return writeAll(options, analysis, templates);
    // For build systems, which must know the files before a run makes them.
    for (const std::string& path : outputPaths(analysis.enums, options.output, options.includeDir))
        std::printf("%s\n", path.c_str());
    return std::fflush(stdout) == 0;
}

// The whole program; `main` only turns an escaping exception into a message.
int run(int argc, char** argv) {
    writeStandardStreamsAsBytes();
    Options options;
    std::string err;
    if (!parseArguments(argc, argv, &options, &err)) {
        reportErrors({err + " (see enumgen --help)"});
        return 2;
    }
    if (options.help || options.version) {
        std::fputs(options.help ? kUsage : "enumgen " ENUMGEN_VERSION "\n", stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    if (options.lsp) {
        LspServer server;
        server.outputDir = options.output;
        server.qml = options.qml ? QmlNames::Checked : QmlNames::Unchecked;
        return runLanguageServer(std::move(server));
    }
    removeTempFileOnInterrupt();
    reuseFreedMemory();
    return generate(options) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::exception& e) {
        // Out of memory, typically; every output written so far is complete.
        reportErrors({e.what()});
        return 1;
    }
}
