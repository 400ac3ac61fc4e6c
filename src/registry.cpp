// SPDX-License-Identifier: MIT
#include "registry.h"

#include <cstdint>

#include "output-paths.h"
#include "template-fill.h"
#include "text-ops.h"

std::string registryHeader(std::string registryTemplate, const std::vector<EnumType>& enums, std::string_view scope) {
    replace(registryTemplate, "__ENUM_TOTAL_COUNT", toString(static_cast<std::int64_t>(enums.size())));
    replace(registryTemplate, "__ENUM_OPEN_NAMESPACE", openNamespace(scope));
    return replace(registryTemplate, "__ENUM_CLOSE_NAMESPACE", closeNamespace(scope));
}

std::string registrySource(const std::vector<EnumType>& enums, std::string_view scope) {
    const std::string total = toString(static_cast<std::int64_t>(enums.size()));
    std::string includes = std::string("#include \"") + kRegistryHeader + "\"\n";
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
    // The functions belong to the list's namespace, as its enums do, so two
    // lists of one program each have their own.
    if (!scope.empty())
        return includes + openNamespace(scope) + "\n" + converter + ids + "\n" + closeNamespace(scope) + "\n";
    return includes + converter + ids + "\n";
}
