// SPDX-License-Identifier: MIT
#include "command-line.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "text-ops.h"

const char kUsage[] =
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
    "  --namespace <name>  generate the enums in the C++ namespace <name>, such\n"
    "                      as app::settings, where templates use it\n"
    "  --qml               also check that every enum can be a QML type, as the\n"
    "                      build integrations' QML modules make each of them\n"
    "  --lock <file>       check the list against the lock <file> before anything\n"
    "                      is written: a value, key or name it holds may not\n"
    "                      change or be used again by another item; a missing\n"
    "                      lock is made, and compatible changes are added to it\n"
    "  --lock-update       with --lock: accept the list's changes and rewrite the\n"
    "                      lock; removed items stay in it as retired, changed\n"
    "                      keys and names as former ones that still read\n"
    "  --locked            with --lock, for CI: any change the lock would need is\n"
    "                      an error, and nothing is written\n"
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
    "                      --output and --qml go with it\n"
    "  -h, --help          print this help and exit\n"
    "  --version           print the version and exit\n"
    "\n"
    "Mistakes in the enum list are reported as <file>:<line>:<column>: error: ...\n"
    "or warning: ..., the form compilers use and IDEs read.\n"
    "\n"
    "Exit status: 0 after a complete run, 1 when the run could not do its whole\n"
    "job or --check found a file out of date, 2 for a wrong command line.\n";

namespace {

// The value of `--name value` or `--name=value` at argv[*i] for each option
// that takes one; true when argv[*i] is one of them, with `*i` past its value.
bool readValued(int argc, char** argv, int* i, Options* options, std::string* err) {
    const std::pair<const char*, std::string*> valued[] = {{"--list", &options->list},
                                                           {"--templates", &options->templates},
                                                           {"--output", &options->output},
                                                           {"--include-dir", &options->includeDir},
                                                           {"--lock", &options->lock},
                                                           {"--namespace", &options->enumNamespace}};
    const std::string_view arg = argv[*i];
    for (const auto& [name, target] : valued) {
        if (arg == name && *i + 1 < argc) {
            *target = argv[++*i];
        } else if (arg == name) {
            *err = "option '" + std::string(arg) + "' needs a value";
            return true;
        } else if (arg.starts_with(name) && arg.substr(std::string_view(name).size()).starts_with('=')) {
            *target = arg.substr(std::string_view(name).size() + 1);
        } else {
            continue;
        }
        if (target->empty())
            *err = "option '" + excerpt(arg) + "' needs a value";
        options->outputNamed = options->outputNamed || target == &options->output;
        return true;
    }
    return false;
}

// The options that stand alone; true when argv[*i] is one of them or -C,
// with `*i` past -C's directory.
bool readFlag(int argc, char** argv, int* i, Options* options, std::string* err) {
    const std::pair<const char*, bool*> flags[] = {{"-h", &options->help},
                                                   {"--help", &options->help},
                                                   {"--version", &options->version},
                                                   {"--check", &options->check},
                                                   {"--brief", &options->brief},
                                                   {"--outputs", &options->outputs},
                                                   {"--remove-stale", &options->removeStale},
                                                   {"--lsp", &options->lsp},
                                                   {"--qml", &options->qml},
                                                   {"--lock-update", &options->lockUpdate},
                                                   {"--locked", &options->locked}};
    const std::string_view arg = argv[*i];
    for (const auto& [name, flag] : flags) {
        if (arg == name) {
            *flag = true;
            return true;
        }
    }
    if (arg == "-C" && *i + 1 < argc)
        options->directories.push_back(argv[++*i]);
    else if (arg == "-C")
        *err = "option '-C' needs a directory";
    else if (arg.starts_with("-C"))
        options->directories.emplace_back(arg.substr(2));
    else
        return false;
    return true;
}

// Whether `name` is a namespace that generated code can open: identifiers
// joined by "::".
bool isNamespaceName(std::string_view name) {
    for (;;) {
        const size_t end = std::min(name.find("::"), name.size());
        const std::string_view part = name.substr(0, end);
        if (part.empty() || isDigit(part.front()) ||
            !std::all_of(part.begin(), part.end(), isIdentifierByte))
            return false;
        if (end == name.size())
            return true;
        name.remove_prefix(end + 2);
    }
}

}  // namespace

bool parseArguments(int argc, char** argv, Options* options, std::string* err) {
    for (int i = 1; i < argc && err->empty(); ++i) {
        if (readValued(argc, argv, &i, options, err) || readFlag(argc, argv, &i, options, err))
            continue;
        const std::string_view arg = argv[i];
        *err = (arg.starts_with("-") ? "unknown option '" : "unexpected argument '") + excerpt(arg) + "'";
    }
    if (!err->empty())
        return false;
    for (std::string* dir : {&options->output, &options->includeDir})
        if (!dir->empty() && !dir->ends_with('/'))
            *dir += '/';
    if (!options->enumNamespace.empty() && !isNamespaceName(options->enumNamespace))
        *err = "option '--namespace' takes a C++ namespace name such as app::settings, not '" +
               excerpt(options->enumNamespace) + "'";
    else if ((options->lockUpdate || options->locked) && options->lock.empty())
        *err = std::string("option '") + (options->locked ? "--locked" : "--lock-update") + "' goes with --lock <file>";
    else if (options->lockUpdate && options->locked)
        *err = "options '--lock-update' and '--locked' contradict each other";
    // A build or CI reads what either prints; one of the two would be lost.
    else if (options->outputs && options->check)
        *err = "options '--outputs' and '--check' do not go together: each prints a list of its own";
    // The editor sends the list; nothing is read from files or written.
    else if (options->lsp && (options->check || options->brief || options->outputs || options->removeStale ||
                              !options->directories.empty() || !options->templates.empty() ||
                              !options->includeDir.empty() || options->list != kEnumListPath || !options->lock.empty()))
        *err = "option '--lsp' goes only with --output and --qml";
    return err->empty();
}
