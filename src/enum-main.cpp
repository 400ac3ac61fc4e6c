// SPDX-License-Identifier: MIT
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "enum-check.h"
#include "enum-lsp.h"
#include "enum-reader.h"
#include "enum-writer.h"
#include "file-ops.h"
#include "text-ops.h"

namespace {

constexpr char kRegistryTemplate[] = "enums.hpp";
constexpr char kHeaderTemplate[] = "enum_type.hpp";
constexpr char kSourceTemplate[] = "enum_type.cpp";

// Standard output is flushed first, so a build log shows a message after
// what came before it.
void reportError(const std::string& message) {
    std::fflush(stdout);
    std::fprintf(stderr, "enumgen: error: %s\n", message.c_str());
}

void reportErrors(const std::vector<std::string>& messages) {
    for (const std::string& message : messages)
        reportError(message);
}

// The registry source: an include of every enum header, the meta-type id to
// name/variant converter chain, and the array of all meta-type ids.
std::string registrySource(const std::vector<EnumType>& enums) {
    const std::string total = toString(static_cast<std::int64_t>(enums.size()));
    std::string includes = "#include \"enums.hpp\"\n";
    std::string converter =
        "auto _EnumNameVariantConverter(int metaType) -> EnumNameVariantConverter\n"
        "{\n"
        "    EnumNameVariantConverter conv;\n";
    std::string ids = "auto _EnumMetaTypeIds() -> const std::array<int, " + total +
                      ">&\n{\n    static const std::array<int, " + total + "> ids = {\n";
    for (size_t i = 0; i < enums.size(); ++i) {
        const std::string& name = enums[i].name;
        includes.append("#include \"").append(toLower(name)).append(".hpp\"\n");
        converter.append("    if (metaType == qMetaTypeId<").append(name).append(">()) {\n");
        converter.append("        conv.variantToName = _EnumVariantToEnumName<").append(name).append(">;\n");
        converter.append("        conv.nameToVariant = _EnumNameToEnumVariant<").append(name).append(">;\n");
        converter.append("    } else");
        ids.append("        qMetaTypeId<").append(name).append(">()").append(i + 1 < enums.size() ? ",\n" : "");
    }
    converter += "\n        return EnumNameVariantConverter();\n    return conv;\n}\n";
    ids += "\n    };\n    return ids;\n}";
    return includes + converter + ids;
}

// The command line: options only, each on its own.
struct Options {
    bool help = false;
    bool version = false;
    bool check = false;
    bool brief = false;
    bool outputs = false;
    bool removeStale = false;
    bool lsp = false;
    std::vector<std::string> directories;
    std::string list = kEnumListPath;
    // The templates' folder; empty for the working directory.
    std::string templates;
    std::string output = kOutputDir;
    // Where the application's files include the headers from; empty for none.
    std::string includeDir;
};

constexpr char kUsage[] =
    "Usage: enumgen [options]\n"
    "\n"
    "Generates the enum files of an application from its enum list. Reads\n"
    "enum-list and the templates enum_type.hpp, enum_type.cpp and enums.hpp from\n"
    "the working directory, and writes a header and a source per enum and the\n"
    "registry files enums.hpp and enums.cpp into ../enum/, which must exist.\n"
    "A file is rewritten only when its text changes; each rewritten file is\n"
    "printed with its text.\n"
    "\n"
    "Options:\n"
    "  --list <file>       read the enum list <file> instead of enum-list\n"
    "  --templates <dir>   read the templates from <dir>\n"
    "  --output <dir>      write into <dir> instead of ../enum/\n"
    "  --include-dir <dir> also write the registry files and each header into\n"
    "                      <dir>, for the application's other files to include:\n"
    "                      there a header lacks each part from\n"
    "                      #ifdef ENUMGEN_SOURCE_<Name> to its #endif, which only\n"
    "                      the enum's source compiles, so a change in that part\n"
    "                      leaves the copy, and what includes it, alone\n"
    "  --remove-stale      remove the .hpp and .cpp files in the output folder\n"
    "                      (and the include folder) that the run does not write\n"
    "                      (for folders that only enumgen writes)\n"
    "  -C <dir>            run as if started in <dir>\n"
    "  --check             write nothing; print each file that is out of date,\n"
    "                      and exit with 1 if there is any\n"
    "  --brief             print the paths of rewritten files without their texts\n"
    "  --outputs           write nothing; print the paths of the files a run writes\n"
    "  --lsp               serve an editor as a language server on standard input\n"
    "                      and output: the messages while the list is edited,\n"
    "                      item values on hover, the enums as symbols; only\n"
    "                      --output goes with it\n"
    "  -h, --help          print this help and exit\n"
    "  --version           print the version and exit\n"
    "\n"
    "Mistakes in the enum list are reported as <file>:<line>:<column>: error: ...\n"
    "or warning: ..., the form compilers use and IDEs read.\n"
    "\n"
    "Exit status: 0 after a complete run, 1 when the run could not do its whole\n"
    "job or --check found a file out of date, 2 for a wrong command line.\n";

// Reads the arguments into `options`; false, with `err` filled, for a wrong one.
bool parseArguments(int argc, char** argv, Options* options, std::string* err) {
    const std::pair<const char*, std::string*> valued[] = {
        {"--list", &options->list}, {"--templates", &options->templates}, {"--output", &options->output},
        {"--include-dir", &options->includeDir}};
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        // "--name value" or "--name=value".
        std::string* value = nullptr;
        for (const auto& [name, target] : valued) {
            if (arg == name && i + 1 < argc) {
                value = target;
                *value = argv[++i];
            } else if (arg == name) {
                *err = "option '" + arg + "' needs a value";
                return false;
            } else if (arg.starts_with(std::string(name) + "=")) {
                value = target;
                *value = arg.substr(std::string_view(name).size() + 1);
            }
        }
        if (value && value->empty())
            *err = "option '" + excerpt(arg) + "' needs a value";
        else if (value)
            continue;
        else if (arg == "-h" || arg == "--help")
            options->help = true;
        else if (arg == "--version")
            options->version = true;
        else if (arg == "--check")
            options->check = true;
        else if (arg == "--brief")
            options->brief = true;
        else if (arg == "--outputs")
            options->outputs = true;
        else if (arg == "--remove-stale")
            options->removeStale = true;
        else if (arg == "--lsp")
            options->lsp = true;
        else if (arg == "-C" && i + 1 < argc)
            options->directories.push_back(argv[++i]);
        else if (arg == "-C")
            *err = "option '-C' needs a directory";
        else if (arg.starts_with("-C"))
            options->directories.push_back(arg.substr(2));
        else if (arg.starts_with("-"))
            *err = "unknown option '" + excerpt(arg) + "'";
        else
            *err = "unexpected argument '" + excerpt(arg) + "'";
        if (!err->empty())
            return false;
    }
    for (std::string* dir : {&options->output, &options->includeDir})
        if (!dir->empty() && !dir->ends_with('/'))
            *dir += '/';
    // The editor sends the list; nothing is read from files or written.
    if (options->lsp &&
        (options->check || options->brief || options->outputs || options->removeStale ||
         !options->directories.empty() || !options->templates.empty() || !options->includeDir.empty() ||
         options->list != kEnumListPath)) {
        *err = "option '--lsp' goes only with --output";
        return false;
    }
    return true;
}

// "<list>:<line>[:<column>]: ", the place of a message in the form compilers
// use, so IDEs take the message to the list's line.
std::string listPlace(const std::string& list, int line, int column) {
    std::string place = list + ":" + toString(line);
    if (column > 0)
        place.append(":").append(toString(column));
    return place.append(": ");
}

void reportListMessages(const std::string& list, ListMessages messages) {
    sortByLine(&messages);
    std::fflush(stdout);
    for (const ListMessage& m : messages) {
        std::fprintf(stderr, "%s%s: %s\n", listPlace(list, m.line, m.column).c_str(),
                     m.kind == ListMessage::Kind::Error ? "error" : "warning", m.text.c_str());
        if (m.noteLine > 0)
            std::fprintf(stderr, "%snote: %s\n", listPlace(list, m.noteLine, m.noteColumn).c_str(), m.note.c_str());
    }
}

// A run's second thread: the list checks, then, for a sound list, outputs
// compared from the back. A failure is passed on to the first thread.
void checkThenCompare(const std::vector<EnumType>& enums, ListMessages* messages, const EnumTemplates& templates,
                      const std::string& dir, OutputQueue* queue, std::exception_ptr* failure) {
    try {
        checkEnums(enums, messages);
        if (!hasErrors(*messages))
            compareAhead(enums, templates, dir, true, queue);
    } catch (...) {
        *failure = std::current_exception();
    }
}

std::string templatePath(const Options& options, const char* name) {
    if (options.templates.empty())
        return name;
    return options.templates + (options.templates.ends_with('/') ? "" : "/") + name;
}

// Runs the whole generation. Every input is read and checked before the first
// output is touched; an output that cannot be written does not stop the
// others. Returns true when every output holds its new text (with --check:
// when every output holds it already).
bool generate(const Options& options) {
    std::vector<std::string> errors;
    for (const std::string& directory : options.directories) {
        std::string err;
        if (!changeDirectory(directory, &err))
            errors.push_back(err);
    }
    OutputRun run;
    run.dir = options.output;
    run.mode = options.check ? OutputMode::Check : options.brief ? OutputMode::Brief : OutputMode::Write;
    if (run.mode != OutputMode::Check && !options.outputs)
        std::fputs("Generate enum files\n", stdout);
    if (!errors.empty()) {
        reportErrors(errors);
        return false;
    }

    std::string list;
    std::vector<EnumType> enums;
    ListMessages messages;
    std::string err;
    if (!readEnums(options.list, &list, &enums, &messages, &err))
        errors.push_back(err);
    std::string registryTemplate;
    EnumTemplates templates;
    for (auto [name, text] :
         {std::pair{kRegistryTemplate, &registryTemplate}, std::pair{kHeaderTemplate, &templates.header},
          std::pair{kSourceTemplate, &templates.source}}) {
        if (!readAll(templatePath(options, name), text, &err))
            errors.push_back(err);
    }
    // The list is checked on a second thread, which then helps compare the
    // outputs with their files, from the back; nothing is written before the
    // checks end. Outputs with a doubtful path are not even read.
    ListMessages pathMessages;
    checkOutputPaths(enums, run.dir, &pathMessages);
    OutputQueue queue;
    queue.same.assign(2 * enums.size(), 0);
    queue.texts.resize(queue.same.size());
    if (errors.empty() && !hasErrors(pathMessages) && !options.outputs)
        queue.back = queue.same.size();
    {
        std::exception_ptr failure;
        std::jthread checker(checkThenCompare, std::cref(enums), &messages, std::cref(templates), std::cref(run.dir),
                             &queue, &failure);
        compareAhead(enums, templates, run.dir, false, &queue);
        checker.join();
        if (failure)
            std::rethrow_exception(failure);
    }
    messages.insert(messages.end(), pathMessages.begin(), pathMessages.end());
    for (const std::string& dir : {run.dir, options.includeDir})
        if (!dir.empty() && sameDirectory(options.templates.empty() ? "." : options.templates, dir))
            errors.push_back(dir +
                             (options.templates.empty() ? ": is the working directory" : ": is the templates folder") +
                             ", so the generated files would overwrite the templates");
    if (!options.includeDir.empty() && sameDirectory(options.includeDir, run.dir))
        errors.push_back(options.includeDir + ": is the output folder, so the included copies would overwrite the headers");
    reportListMessages(options.list, messages);
    if (!errors.empty() || hasErrors(messages)) {
        reportErrors(errors);
        return false;
    }

    if (options.outputs) {
        // For build systems, which must know the files before a run makes them.
        std::printf("%senums.hpp\n", run.dir.c_str());
        for (const EnumType& type : enums)
            std::printf("%s\n%s\n", outputPath(run.dir, type, ".hpp").c_str(),
                        outputPath(run.dir, type, ".cpp").c_str());
        std::printf("%senums.cpp\n", run.dir.c_str());
        if (!options.includeDir.empty()) {
            std::printf("%senums.hpp\n", options.includeDir.c_str());
            for (const EnumType& type : enums)
                std::printf("%s\n", outputPath(options.includeDir, type, ".hpp").c_str());
            std::printf("%senums.cpp\n", options.includeDir.c_str());
        }
        return std::fflush(stdout) == 0;
    }

    const std::string total = toString(static_cast<std::int64_t>(enums.size()));
    const std::string registryHeader = replace(registryTemplate, "__ENUM_TOTAL_COUNT", total);
    const std::string registry = registrySource(enums);
    writeOutput(run.dir + "enums.hpp", registryHeader, &run);
    writeEnums(enums, templates, &queue, &run);
    writeOutput(run.dir + "enums.cpp", registry, &run);
    if (options.removeStale)
        removeStaleOutputs(&run);
    if (!options.includeDir.empty()) {
        // The registry source is compiled from here too, so that it includes
        // the copies.
        OutputRun included;
        included.dir = options.includeDir;
        included.mode = run.mode;
        writeOutput(included.dir + "enums.hpp", registryHeader, &included);
        for (const EnumType& type : enums)
            writeIncluded(type, templates, &included);
        writeOutput(included.dir + "enums.cpp", registry, &included);
        if (options.removeStale)
            removeStaleOutputs(&included);
        run.outOfDate += included.outOfDate;
        run.errors.insert(run.errors.end(), included.errors.begin(), included.errors.end());
    }

    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        run.errors.push_back(std::string("standard output: cannot write: ") + std::strerror(errno));
    reportListMessages(options.list, run.listErrors);
    reportErrors(run.errors);
    return run.errors.empty() && run.listErrors.empty() && (run.mode != OutputMode::Check || run.outOfDate == 0);
}

// The whole program; `main` only turns an escaping exception into a message.
int run(int argc, char** argv) {
    writeStandardStreamsAsBytes();
    Options options;
    std::string err;
    if (!parseArguments(argc, argv, &options, &err)) {
        reportError(err + " (see enumgen --help)");
        return 2;
    }
    if (options.help || options.version) {
        std::fputs(options.help ? kUsage : "enumgen " ENUMGEN_VERSION "\n", stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    if (options.lsp) {
        LspServer server;
        server.outputDir = options.output;
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
        reportError(e.what());
        return 1;
    }
}
