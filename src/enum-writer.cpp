#include "enum-writer.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <type_traits>
#include <unordered_map>
#include <unordered_set>

#include "enum-reader.h"
#include "file-ops.h"
#include "text-ops.h"

namespace {

// The longest file name most file systems take (NAME_MAX on Linux).
constexpr std::int64_t kMaxFileName = 255;

constexpr char kIndexedLookup[] = "return 0 <= e && e < size() ? &info[(int)e] : nullptr;";
constexpr char kSearchedLookup[] =
    "\n"
    "    auto it = std::find_if(info.cbegin(), info.cend(),\n"
    "                            [e] (const Item &info)\n"
    "                            { return info.value == e; });\n"
    "    return it != info.cend() ? &(*it) : nullptr;\n";

// Names Windows keeps for devices, whatever extension follows them.
bool isDeviceName(std::string_view lowerName) {
    if (lowerName == "con" || lowerName == "prn" || lowerName == "aux" || lowerName == "nul")
        return true;
    return lowerName.size() == 4 && (lowerName.starts_with("com") || lowerName.starts_with("lpt")) &&
           lowerName[3] >= '1' && lowerName[3] <= '9';
}

// The texts built from the items are sized first, so even an enum of a
// million items is built in one allocation.
std::string valuesText(const EnumType& type) {
    size_t size = 0;
    for (const EnumType::Item& item : type.items)
        size += item.name.size() + item.value.size() + 14;
    std::string text;
    text.reserve(size);
    for (const EnumType::Item& item : type.items) {
        if (!text.empty())
            text += ",\n";
        text.append("    ").append(item.name).append(" = (int)").append(item.value);
    }
    return text;
}

std::string infosText(const EnumType& type) {
    size_t size = 0;
    for (const EnumType::Item& item : type.items)
        size += type.name.size() + 2 * item.name.size() + item.key.size() + item.data.size() + 26;
    std::string text;
    text.reserve(size);
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
    size_t size = 34;
    for (const EnumType::Item& item : type.items)
        size += item.name.size() + item.desc.size() + 61;
    std::string text;
    text.reserve(size);
    for (const EnumType::Item& item : type.items) {
        text.append("        case Enum::").append(item.name);
        text.append(": return qApp->translate(\"EnumInfo\", \"").append(item.desc).append("\");\n");
    }
    return text.append("        default: return QString();");
}

// Reports an output of `type` that was not written because it outgrew `maxSize`.
bool reportOutgrown(const EnumType& type, const char* extension, size_t maxSize, OutputRun* run) {
    run->listErrors.push_back({type.line, ListMessage::Kind::Error,
                               "enum '" + excerpt(type.name) + "': " + excerpt(outputPath(run->dir, type, extension)) +
                                   " would grow past " + toString(static_cast<std::int64_t>(maxSize)) +
                                   " bytes, as placeholders written inside its texts are filled again by later "
                                   "ones; it is not written",
                               type.column, static_cast<int>(type.name.size())});
    return false;
}

}  // namespace

// The placeholders in the order they are filled: a placeholder inside an
// inserted field is filled only by a replacement that comes later.
constexpr std::string_view kHeaderPlaceholders[] = {
    "__ENUM_NAME",
    "__ENUM_KEY",
    "__ENUM_DESC",
    "__ENUM_DEFAULT",
    "__ENUM_DATA_TYPE",
    "__ENUM_HEADER_CONTENTS",
    "__ENUM_FOOTER_CONTENTS",
    "__ENUM_UPPERS",
    "__ENUM_LOWERS",
    "__ENUM_IS_FLAG",
    "__ENUM_FLAGS_NAME",
    "__ENUM_VALUES",
    "__ENUM_COUNT",
    "__ENUM_FUNC_DESC_CASES",
    "__ENUM_FUNC_ITEM",
};
constexpr std::string_view kSourcePlaceholders[] = {"__ENUM_NAME", "__ENUM_COUNT", "__ENUM_INFOS", "__ENUM_LOWERS"};
static_assert(findableInOnePass(kHeaderPlaceholders) && findableInOnePass(kSourcePlaceholders));

bool fillHeader(const EnumType& type, std::string* text, size_t maxSize) {
    // An enum without items has no default item to name.
    const bool hasDefault = type.defaultIndex >= 0 && static_cast<size_t>(type.defaultIndex) < type.items.size();
    const std::string uppers = toUpper(type.name);
    const std::string lowers = toLower(type.name);
    const std::string values = valuesText(type);
    const std::string count = toString(static_cast<std::int64_t>(type.items.size()));
    const std::string cases = descriptionCasesText(type);
    const std::string_view texts[] = {
        type.name,
        type.key,
        type.desc,
        hasDefault ? std::string_view(type.items[static_cast<size_t>(type.defaultIndex)].name) : std::string_view(),
        type.dataType,
        type.headerContents,
        type.footerContents,
        uppers,
        lowers,
        type.flagsName.empty() ? "0" : "1",
        type.flagsName,
        values,
        count,
        cases,
        type.sequential ? kIndexedLookup : kSearchedLookup,
    };
    static_assert(std::size(kHeaderPlaceholders) == std::extent_v<decltype(texts)>);
    std::string scratch;
    return replaceInTurn(*text, kHeaderPlaceholders, texts, maxSize, scratch);
}

bool fillSource(const EnumType& type, std::string* text, size_t maxSize) {
    const std::string count = toString(static_cast<std::int64_t>(type.items.size()));
    const std::string infos = infosText(type);
    const std::string lowers = toLower(type.name);
    const std::string_view texts[] = {type.name, count, infos, lowers};
    static_assert(std::size(kSourcePlaceholders) == std::extent_v<decltype(texts)>);
    std::string scratch;
    return replaceInTurn(*text, kSourcePlaceholders, texts, maxSize, scratch);
}

std::string outputPath(const std::string& dir, const EnumType& type, const char* extension) {
    return dir + toLower(type.name) + extension;
}

void checkOutputPaths(const std::vector<EnumType>& enums, const std::string& dir, ListMessages* messages) {
    auto error = [messages](const EnumType& type, std::string text, const EnumType* first = nullptr) {
        messages->push_back({type.line, ListMessage::Kind::Error, std::move(text), type.column,
                             static_cast<int>(type.name.size()), first ? first->line : 0, first ? first->column : 0,
                             first ? "enum '" + excerpt(first->name) + "' is here" : std::string(),
                             first ? static_cast<int>(first->name.size()) : 0});
    };
    auto outputPath = [&dir](const EnumType& type, const char* extension) {
        return ::outputPath(dir, type, extension);
    };
    std::unordered_map<std::string, const EnumType*> owners;
    owners.reserve(enums.size());
    for (const EnumType& type : enums) {
        if (type.name.find('\0') != std::string::npos) {
            error(type, "enum name holds a NUL byte, which no file name can hold");
            continue;
        }
        if (type.name.find('/') != std::string::npos) {
            error(type, "enum name '" + excerpt(type.name) +
                            "' holds a '/'; an enum's files must be plain file names in " + dir);
            continue;
        }
        std::string lowerName = toLower(type.name);
        if (lowerName.size() + std::string_view(".hpp").size() > kMaxFileName) {
            error(type, "enum name '" + excerpt(type.name) + "' is " +
                            toString(static_cast<std::int64_t>(type.name.size())) +
                            " bytes long; its file names would pass the " + toString(kMaxFileName) +
                            " bytes a file name may have");
            continue;
        }
        if (isDeviceName(lowerName)) {
            // A project shared across platforms breaks on Windows, so other
            // platforms warn.
            messages->push_back({type.line,
                                 deviceNamesAreReserved() ? ListMessage::Kind::Error : ListMessage::Kind::Warning,
                                 "enum '" + excerpt(type.name) + "' would write " + outputPath(type, ".hpp") +
                                     ", which Windows takes for the device '" + lowerName + "'; rename the enum",
                                 type.column, static_cast<int>(type.name.size())});
            if (deviceNamesAreReserved())
                continue;
        }
        if (lowerName == "enums") {
            error(type, "enum '" + excerpt(type.name) + "' would write " + outputPath(type, ".hpp") +
                            " and .cpp, which are the registry files; rename the enum");
            continue;
        }
        auto [owner, added] = owners.emplace(std::move(lowerName), &type);
        if (!added)
            error(type,
                  "enum '" + excerpt(type.name) + "' writes the same files as enum '" + excerpt(owner->second->name) +
                      "' on line " + toString(owner->second->line) + ": " + excerpt(outputPath(type, ".hpp")) +
                      " and .cpp",
                  owner->second);
    }
}

bool writeOutput(const std::string& path, const std::string& text, OutputRun* run) {
    run->paths.push_back(path);
    std::string err;
    bool differs = false;
    if (run->mode == OutputMode::Check)
        compareFile(path, text, &differs, &err);
    else
        differs = overwrite(path, text, &err);
    if (!err.empty()) {
        run->errors.push_back(err);
        return false;
    }
    if (!differs)
        return true;
    ++run->outOfDate;
    if (run->mode == OutputMode::Check) {
        std::printf("Out of date: %s\n", path.c_str());
        return true;
    }
    std::printf("Write to %s\n", path.c_str());
    if (run->mode == OutputMode::Write)
        std::fwrite(text.data(), 1, text.size(), stdout);
    return true;
}

bool removeStaleOutputs(OutputRun* run) {
    std::vector<std::string> names;
    std::string err;
    if (!listFiles(run->dir, &names, &err)) {
        run->errors.push_back(err);
        return false;
    }
    std::sort(names.begin(), names.end());
    const std::unordered_set<std::string> outputs(run->paths.begin(), run->paths.end());
    bool ok = true;
    for (const std::string& name : names) {
        const std::string path = run->dir + name;
        if (!(name.ends_with(".hpp") || name.ends_with(".cpp")) || outputs.count(path))
            continue;
        ++run->outOfDate;
        if (run->mode == OutputMode::Check) {
            std::printf("Out of date: %s\n", path.c_str());
        } else if (removeFile(path, &err)) {
            std::printf("Remove %s\n", path.c_str());
        } else {
            run->errors.push_back(err);
            ok = false;
        }
    }
    return ok;
}

bool write(const EnumType& type, const EnumTemplates& templates, OutputRun* run) {
    std::string header = templates.header;
    const bool headerOk = fillHeader(type, &header, templates.maxOutputSize)
                              ? writeOutput(outputPath(run->dir, type, ".hpp"), header, run)
                              : reportOutgrown(type, ".hpp", templates.maxOutputSize, run);
    std::string source = templates.source;
    const bool sourceOk = fillSource(type, &source, templates.maxOutputSize)
                              ? writeOutput(outputPath(run->dir, type, ".cpp"), source, run)
                              : reportOutgrown(type, ".cpp", templates.maxOutputSize, run);
    return headerOk && sourceOk;
}
