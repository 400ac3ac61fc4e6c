#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "enum-check.h"
#include "enum-reader.h"
#include "enum-writer.h"
#include "file-ops.h"
#include "text-ops.h"

namespace {

constexpr char kRegistryTemplate[] = "enums.hpp";
constexpr char kHeaderTemplate[] = "enum_type.hpp";
constexpr char kSourceTemplate[] = "enum_type.cpp";

void reportError(const std::string& message) { std::fprintf(stderr, "enumgen: error: %s\n", message.c_str()); }

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
    std::vector<std::string> directories;
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
    "  -C <dir>     run as if started in <dir>\n"
    "  --check      write nothing; print each file that is out of date, and exit\n"
    "               with 1 if there is any\n"
    "  --brief      print the paths of rewritten files without their texts\n"
    "  --outputs    write nothing; print the paths of the files a run writes\n"
    "  -h, --help   print this help and exit\n"
    "  --version    print the version and exit\n"
    "\n"
    "Exit status: 0 after a complete run, 1 when the run could not do its whole\n"
    "job or --check found a file out of date, 2 for a wrong command line.\n";

// Reads the arguments into `options`; false, with `err` filled, for a wrong one.
bool parseArguments(int argc, char** argv, Options* options, std::string* err) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help")
            options->help = true;
        else if (arg == "--version")
            options->version = true;
        else if (arg == "--check")
            options->check = true;
        else if (arg == "--brief")
            options->brief = true;
        else if (arg == "--outputs")
            options->outputs = true;
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
    return true;
}

void reportListMessages(ListMessages messages) {
    // In line order, as a reader goes through the list.
    std::stable_sort(messages.begin(), messages.end(),
                     [](const ListMessage& a, const ListMessage& b) { return a.line < b.line; });
    for (const ListMessage& m : messages)
        std::fprintf(stderr, "enumgen: %s: %s%s\n", m.kind == ListMessage::Kind::Error ? "error" : "warning",
                     lineLocation(kEnumListPath, m.line).c_str(), m.text.c_str());
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
    run.mode = options.check ? OutputMode::Check : options.brief ? OutputMode::Brief : OutputMode::Write;
    if (run.mode != OutputMode::Check && !options.outputs)
        std::fputs("Generate enum files\n", stdout);
    if (!errors.empty()) {
        reportErrors(errors);
        return false;
    }

    std::vector<EnumType> enums;
    ListMessages messages;
    std::string err;
    if (!readEnums(&enums, &messages, &err))
        errors.push_back(err);
    std::string registryTemplate;
    EnumTemplates templates;
    for (auto [path, text] :
         {std::pair{kRegistryTemplate, &registryTemplate}, std::pair{kHeaderTemplate, &templates.header},
          std::pair{kSourceTemplate, &templates.source}}) {
        if (!readAll(path, text, &err))
            errors.push_back(err);
    }
    checkEnums(enums, &messages);
    checkOutputPaths(enums, &messages);
    if (sameDirectory(".", kOutputDir))
        errors.push_back(std::string(kOutputDir) +
                         ": is the working directory, so the generated files would overwrite the templates");
    reportListMessages(messages);
    if (!errors.empty() || hasErrors(messages)) {
        reportErrors(errors);
        return false;
    }

    if (options.outputs) {
        // For build systems, which must know the files before a run makes them.
        std::printf("%senums.hpp\n", kOutputDir);
        for (const EnumType& type : enums)
            std::printf("%s\n%s\n", outputPath(type, ".hpp").c_str(), outputPath(type, ".cpp").c_str());
        std::printf("%senums.cpp\n", kOutputDir);
        return std::fflush(stdout) == 0;
    }

    const std::string total = toString(static_cast<std::int64_t>(enums.size()));
    writeOutput(std::string(kOutputDir) + "enums.hpp", replace(registryTemplate, "__ENUM_TOTAL_COUNT", total), &run);
    for (const EnumType& type : enums)
        write(type, templates, &run);
    writeOutput(std::string(kOutputDir) + "enums.cpp", registrySource(enums), &run);

    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        run.errors.push_back(std::string("standard output: cannot write: ") + std::strerror(errno));
    reportErrors(run.errors);
    return run.errors.empty() && (run.mode != OutputMode::Check || run.outOfDate == 0);
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
    removeTempFileOnInterrupt();
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
