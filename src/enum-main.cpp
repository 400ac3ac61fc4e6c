#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

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

// Runs the whole generation. Every input is read and checked before the first
// output is touched; an output that cannot be written does not stop the
// others. Returns true when every output holds its new text.
bool generate() {
    std::fputs("Generate enum files\n", stdout);

    std::vector<std::string> errors;
    std::vector<EnumType> enums;
    readEnums(&enums, &errors);
    std::string registryTemplate;
    EnumTemplates templates;
    std::string err;
    for (auto [path, text] :
         {std::pair{kRegistryTemplate, &registryTemplate}, std::pair{kHeaderTemplate, &templates.header},
          std::pair{kSourceTemplate, &templates.source}}) {
        if (!readAll(path, text, &err))
            errors.push_back(err);
    }
    checkOutputPaths(enums, kEnumListPath, &errors);
    if (sameDirectory(".", kOutputDir))
        errors.push_back(std::string(kOutputDir) +
                         ": is the working directory, so the generated files would overwrite the templates");
    if (!errors.empty()) {
        reportErrors(errors);
        return false;
    }

    const std::string total = toString(static_cast<std::int64_t>(enums.size()));
    writeOutput(std::string(kOutputDir) + "enums.hpp", replace(registryTemplate, "__ENUM_TOTAL_COUNT", total), &errors);
    for (const EnumType& type : enums)
        write(type, templates, &errors);
    writeOutput(std::string(kOutputDir) + "enums.cpp", registrySource(enums), &errors);

    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        errors.push_back(std::string("standard output: cannot write: ") + std::strerror(errno));
    reportErrors(errors);
    return errors.empty();
}

}  // namespace

int main() {
    try {
        return generate() ? 0 : 1;
    } catch (const std::exception& e) {
        // Out of memory, typically; every output written so far is complete.
        reportError(e.what());
        return 1;
    }
}
