#include "enum-writer.h"

#include <unordered_map>

#include "enum-reader.h"
#include "file-ops.h"
#include "text-ops.h"

namespace {

constexpr char kIndexedLookup[] = "return 0 <= e && e < size() ? &info[(int)e] : nullptr;";
constexpr char kSearchedLookup[] =
    "\n"
    "    auto it = std::find_if(info.cbegin(), info.cend(),\n"
    "                            [e] (const Item &info)\n"
    "                            { return info.value == e; });\n"
    "    return it != info.cend() ? &(*it) : nullptr;\n";

std::string valuesText(const EnumType& type) {
    std::string text;
    for (const EnumType::Item& item : type.items) {
        if (!text.empty())
            text += ",\n";
        text.append("    ").append(item.name).append(" = (int)").append(item.value);
    }
    return text;
}

std::string infosText(const EnumType& type) {
    std::string text;
    for (const EnumType::Item& item : type.items) {
        if (!text.empty())
            text += ",\n";
        text.append("    {").append(type.name).append("::").append(item.name);
        text.append(", u\"").append(item.name).append("\"_q, u\"").append(item.key).append("\"_q, ");
        text.append(item.data).append("}");
    }
    return text;
}

std::string descriptionCasesText(const EnumType& type) {
    std::string text;
    for (const EnumType::Item& item : type.items) {
        text.append("        case Enum::").append(item.name);
        text.append(": return qApp->translate(\"EnumInfo\", \"").append(item.desc).append("\");\n");
    }
    return text.append("        default: return QString();");
}

}  // namespace

std::string fillHeader(const EnumType& type, std::string text) {
    // The order matters: a placeholder inside an inserted field is filled
    // only by a replacement that comes later.
    replace(text, "__ENUM_NAME", type.name);
    replace(text, "__ENUM_KEY", type.key);
    replace(text, "__ENUM_DESC", type.desc);
    // An enum without items has no default item to name.
    const std::string noDefault;
    const bool hasDefault = type.defaultIndex >= 0 && static_cast<size_t>(type.defaultIndex) < type.items.size();
    replace(text, "__ENUM_DEFAULT", hasDefault ? type.items[static_cast<size_t>(type.defaultIndex)].name : noDefault);
    replace(text, "__ENUM_DATA_TYPE", type.dataType);
    replace(text, "__ENUM_HEADER_CONTENTS", type.headerContents);
    replace(text, "__ENUM_FOOTER_CONTENTS", type.footerContents);
    replace(text, "__ENUM_UPPERS", toUpper(type.name));
    replace(text, "__ENUM_LOWERS", toLower(type.name));
    replace(text, "__ENUM_IS_FLAG", type.flagsName.empty() ? "0" : "1");
    replace(text, "__ENUM_FLAGS_NAME", type.flagsName);
    replace(text, "__ENUM_VALUES", valuesText(type));
    replace(text, "__ENUM_COUNT", toString(static_cast<std::int64_t>(type.items.size())));
    replace(text, "__ENUM_FUNC_DESC_CASES", descriptionCasesText(type));
    replace(text, "__ENUM_FUNC_ITEM", type.sequential ? kIndexedLookup : kSearchedLookup);
    return text;
}

std::string fillSource(const EnumType& type, std::string text) {
    replace(text, "__ENUM_NAME", type.name);
    replace(text, "__ENUM_COUNT", toString(static_cast<std::int64_t>(type.items.size())));
    replace(text, "__ENUM_INFOS", infosText(type));
    replace(text, "__ENUM_LOWERS", toLower(type.name));
    return text;
}

std::string outputPath(const EnumType& type, const char* extension) {
    return kOutputDir + toLower(type.name) + extension;
}

bool checkOutputPaths(const std::vector<EnumType>& enums, const std::string& listName,
                      std::vector<std::string>* errors) {
    const size_t errorsBefore = errors->size();
    std::unordered_map<std::string, const EnumType*> owners;
    owners.reserve(enums.size());
    for (const EnumType& type : enums) {
        if (type.name.find('\0') != std::string::npos) {
            errors->push_back(lineLocation(listName, type.line) +
                              "enum name holds a NUL byte, which no file name can hold");
            continue;
        }
        if (type.name.find('/') != std::string::npos) {
            errors->push_back(lineLocation(listName, type.line) + "enum name '" + type.name +
                              "' holds a '/'; an enum's files must be plain file names in " + kOutputDir);
            continue;
        }
        std::string lowerName = toLower(type.name);
        if (lowerName == "enums") {
            errors->push_back(lineLocation(listName, type.line) + "enum '" + type.name + "' would write " +
                              outputPath(type, ".hpp") + " and .cpp, which are the registry files; rename the enum");
            continue;
        }
        auto [owner, added] = owners.emplace(std::move(lowerName), &type);
        if (!added)
            errors->push_back(lineLocation(listName, type.line) + "enum '" + type.name +
                              "' writes the same files as enum '" + owner->second->name + "' on line " +
                              std::to_string(owner->second->line) + ": " + outputPath(type, ".hpp") + " and .cpp");
    }
    return errors->size() == errorsBefore;
}

bool writeOutput(const std::string& path, const std::string& text, std::vector<std::string>* errors) {
    std::string err;
    overwrite(path, text, &err);
    if (!err.empty())
        errors->push_back(err);
    return err.empty();
}

bool write(const EnumType& type, const EnumTemplates& templates, std::vector<std::string>* errors) {
    const bool headerOk = writeOutput(outputPath(type, ".hpp"), fillHeader(type, templates.header), errors);
    return writeOutput(outputPath(type, ".cpp"), fillSource(type, templates.source), errors) && headerOk;
}
