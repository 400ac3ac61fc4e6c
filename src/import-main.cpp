// SPDX-License-Identifier: MIT
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <tuple>
#include <vector>

#include "enum-analysis.h"
#include "file-ops.h"
#include "import-headers.h"
#include "import-list.h"
#include "text-ops.h"

namespace {

constexpr char kUsage[] =
    "Usage: enumgen-import [-p <build folder>] [-o <list>] [--lock <file>] [--all | --enum <name>...]\n"
    "                      [-k] [-j <n>] <header>... [-- <compiler flags>]\n"
    "\n"
    "Writes the enum list of the enums that the C++ headers register with Q_ENUM,\n"
    "Q_FLAG, Q_ENUM_NS or Q_FLAG_NS: each item with its value and, as its key, its\n"
    "name, which QMetaEnum::valueToKey and QSettings stored; the QFlags type of\n"
    "Q_DECLARE_FLAGS; descriptions from documentation comments. Prints, in the\n"
    "form compilers use, what the code must change by hand.\n"
    "\n"
    "Options:\n"
    "  -p <build folder>  parse each header with the flags of the build's\n"
    "                     compile_commands.json (of the source file most like it\n"
    "                     when the header has no command of its own)\n"
    "  -o <list>          write the list to <list> instead of standard output\n"
    "  --all              import every enum the headers declare\n"
    "  --enum <name>      import only the enum <name> (Kind or Shape::Kind),\n"
    "                     registered or not; repeat it for more, so that a\n"
    "                     codebase moves some enums at a time\n"
    "  --lock <file>      write the lock of the list to <file> as well, so that\n"
    "                     the values and keys stored data holds are pinned from\n"
    "                     the first build (an existing lock is kept and extended)\n"
    "  -k, --keep-going   when a header cannot be parsed, still write the list of\n"
    "                     those that can, and exit 1\n"
    "  -j <n>             parse <n> headers at once (default: one per core)\n"
    "  -- <flags>         parse with these compiler flags too (-I, -D, -std=...)\n"
    "  -h, --help         print this help and exit\n"
    "  --version          print the version and exit\n"
    "\n"
    "Headers are parsed as C++17 unless the flags say otherwise. The list is the\n"
    "same whatever -j.\n"
    "\n"
    "Exit status: 0 after the list was written, 1 when a header could not be\n"
    "parsed, an --enum name was not found, or the list could not be written or\n"
    "read by enumgen, 2 for a wrong command line.\n";

struct Options {
    bool help = false;
    bool version = false;
    std::string output;
    std::string lock;
    std::string jobs;
    ImportRequest request;
};

bool parseJobs(const std::string& text, unsigned* jobs) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value == 0)
        return false;
    *jobs = value;
    return true;
}

// The value of the long option `name` that `argv[*i]` gives, as "--name=value"
// or "--name value"; nothing for another argument.
std::optional<std::string> longValue(int argc, char** argv, int* i, std::string_view name, std::string* err) {
    const std::string_view arg = argv[*i];
    if (arg.starts_with(name) && arg.size() > name.size() && arg[name.size()] == '=')
        return std::string(arg.substr(name.size() + 1));
    if (arg != name)
        return std::nullopt;
    if (*i + 1 < argc)
        return argv[++*i];
    *err = "option '" + std::string(name) + "' needs a value";
    return "";
}

bool parseArguments(int argc, char** argv, Options* options, std::string* err) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        std::string* value = arg.starts_with("-p")   ? &options->request.buildDir
                             : arg.starts_with("-o") ? &options->output
                             : arg.starts_with("-j") ? &options->jobs
                                                     : nullptr;
        if (value && arg.size() > 2)
            *value = arg.substr(arg[2] == '=' ? 3 : 2);
        else if (value && i + 1 < argc)
            *value = argv[++i];
        else if (value)
            *err = "option '" + arg + "' needs a value";
        else if (arg == "--") {
            options->request.flags.assign(argv + i + 1, argv + argc);
            break;
        } else if (auto lock = longValue(argc, argv, &i, "--lock", err))
            options->lock = *lock;
        else if (auto name = longValue(argc, argv, &i, "--enum", err))
            options->request.enums.push_back(*name);
        else if (arg == "--all")
            options->request.selection = EnumSelection::All;
        else if (arg == "-k" || arg == "--keep-going")
            options->request.onFailure = OnFailure::KeepGoing;
        else if (arg == "-h" || arg == "--help")
            options->help = true;
        else if (arg == "--version")
            options->version = true;
        else if (arg.starts_with("-") && arg != "-")
            *err = "unknown option '" + excerpt(arg) + "'";
        else
            options->request.headers.push_back(arg);
        if (value && value->empty() && err->empty())
            *err = "option '" + arg.substr(0, 2) + "' needs a value";
        if (!err->empty())
            return false;
    }
    if (options->request.headers.empty() && !options->help && !options->version)
        *err = "no header to import";
    else if (std::count(options->request.enums.begin(), options->request.enums.end(), "") > 0)
        *err = "option '--enum' needs a name";
    else if (!options->request.enums.empty() && options->request.selection == EnumSelection::All)
        *err = "options '--all' and '--enum' exclude each other";
    else if (!options->jobs.empty() && !parseJobs(options->jobs, &options->request.jobs))
        *err = "option '-j' needs a number of 1 or more, not '" + excerpt(options->jobs) + "'";
    return err->empty();
}

// Messages in the order of the headers and of their lines, as a compiler
// gives them, and each once, though a header included by several says the
// same to each; a note stays after the message it belongs to.
void orderMessages(const std::vector<std::string>& headers, ImportMessages* messages) {
    const auto rank = [&](const SourcePlace& place) {
        if (place.file.empty())
            return -1;
        const std::filesystem::path file = std::filesystem::absolute(place.file).lexically_normal();
        for (size_t i = 0; i < headers.size(); ++i)
            if (std::filesystem::absolute(headers[i]).lexically_normal() == file)
                return static_cast<int>(i);
        return static_cast<int>(headers.size());
    };
    // What a parse said keeps the compiler's order within its header.
    const auto key = [&](const ImportMessage& m) {
        return m.header >= 0 ? std::tuple(m.header, 0, 0) : std::tuple(rank(m.place), m.place.line, m.place.column);
    };
    std::vector<std::pair<std::tuple<int, int, int>, ImportMessages>> groups;
    for (ImportMessage& m : *messages) {
        if (m.kind != ImportMessage::Kind::Note || groups.empty())
            groups.push_back({key(m), {}});
        groups.back().second.push_back(std::move(m));
    }
    std::stable_sort(groups.begin(), groups.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    messages->clear();
    std::set<std::tuple<ImportMessage::Kind, std::string, int, int, std::string>> said;
    for (auto& [place, group] : groups) {
        const ImportMessage& m = group.front();
        if (said.insert({m.kind, m.place.file, m.place.line, m.place.column, m.text}).second)
            messages->insert(messages->end(), group.begin(), group.end());
    }
}

void report(const ImportMessages& messages) {
    std::fflush(stdout);
    for (const ImportMessage& m : messages) {
        const char* kind = m.kind == ImportMessage::Kind::Error     ? "error"
                           : m.kind == ImportMessage::Kind::Warning ? "warning"
                                                                    : "note";
        if (m.place.file.empty())
            std::fprintf(stderr, "enumgen-import: %s: %s\n", kind, m.text.c_str());
        else
            std::fprintf(stderr, "%s:%d:%d: %s: %s\n", m.place.file.c_str(), m.place.line, m.place.column, kind,
                         m.text.c_str());
    }
}

// Writes the lock of `list` to `path`, extending the lock there if there is
// one; false, with the reasons on standard error, when it cannot.
bool writeLock(const std::string& list, const std::string& listName, const std::string& path) {
    std::optional<std::string> text;
    std::string err;
    if (!readLockFile(path, &text, &err)) {
        std::fprintf(stderr, "enumgen-import: error: %s\n", err.c_str());
        return false;
    }
    const ListAnalysis analysis =
        analyzeList(list, {kOutputDir, QmlNames::Unchecked, LockInput{path, std::move(text), LockMode::Extend}});
    ListMessages errors;
    std::copy_if(analysis.messages.begin(), analysis.messages.end(), std::back_inserter(errors),
                 [](const ListMessage& m) { return !m.file.empty() || !m.noteFile.empty(); });
    const std::string messages = formatMessages(listName, errors);
    std::fwrite(messages.data(), 1, messages.size(), stderr);
    if (!errors.empty() || !analysis.lockText)
        return false;
    // Another build of the same tree may read it at any moment.
    FileWriting writing{MissingOutput::HoldsEmptyText, NewFiles::ThroughTemporary};
    bool changed = false;
    if (overwrite(path, *analysis.lockText, &writing, &changed, &err))
        return true;
    std::fprintf(stderr, "enumgen-import: error: %s\n", err.c_str());
    return false;
}

bool hasError(const ImportMessages& messages) {
    for (const ImportMessage& m : messages)
        if (m.kind == ImportMessage::Kind::Error)
            return true;
    return false;
}

int run(int argc, char** argv) {
    writeStandardStreamsAsBytes();
    Options options;
    std::string err;
    if (!parseArguments(argc, argv, &options, &err)) {
        std::fprintf(stderr, "enumgen-import: error: %s (see enumgen-import --help)\n", err.c_str());
        return 2;
    }
    if (options.help || options.version) {
        std::fputs(options.help ? kUsage : "enumgen-import " ENUMGEN_VERSION "\n", stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    if (options.jobs.empty())
        options.request.jobs = std::max(1u, std::thread::hardware_concurrency());
    ImportResult result;
    if (!importHeaders(options.request, &result) && options.request.onFailure == OnFailure::Stop) {
        orderMessages(options.request.headers, &result.messages);
        report(result.messages);
        return 1;
    }
    const std::string list = renderEnumList(options.request.headers, &result);
    checkImportedList(list, &result);
    bool written = true, changed = false;
    if (options.output.empty()) {
        std::fwrite(list.data(), 1, list.size(), stdout);
        written = std::fflush(stdout) == 0 && !std::ferror(stdout);
        if (!written)
            result.messages.push_back(placelessError("standard output: cannot write"));
    } else if (FileWriting writing; !overwrite(options.output, list, &writing, &changed, &err)) {
        result.messages.push_back(placelessError(err));
    }
    orderMessages(options.request.headers, &result.messages);
    report(result.messages);
    const bool locked =
        options.lock.empty() || writeLock(list, options.output.empty() ? "<list>" : options.output, options.lock);
    return hasError(result.messages) || !locked ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "enumgen-import: error: %s\n", e.what());
        return 1;
    }
}
