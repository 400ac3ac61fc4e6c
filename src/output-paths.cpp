// SPDX-License-Identifier: MIT
#include "output-paths.h"

#include <string_view>
#include <unordered_map>

#include "file-ops.h"
#include "list-places.h"
#include "text-ops.h"

namespace {

// The longest file name most file systems take (NAME_MAX on Linux).
constexpr std::int64_t kMaxFileName = 255;

// Names Windows keeps for devices, whatever extension follows them.
bool isDeviceName(std::string_view lowerName) {
    if (lowerName == "con" || lowerName == "prn" || lowerName == "aux" || lowerName == "nul")
        return true;
    return lowerName.size() == 4 && (lowerName.starts_with("com") || lowerName.starts_with("lpt")) &&
           lowerName[3] >= '1' && lowerName[3] <= '9';
}

}  // namespace

std::string outputPath(const std::string& dir, const EnumType& type, const char* extension) {
    return dir + toLower(type.name) + extension;
}

void checkOutputPaths(const std::vector<EnumType>& enums, const std::string& dir, ListMessages* messages) {
    auto error = [messages](const EnumType& type, auto text, const EnumType* first = nullptr) {
        ListMessage& m = messages->emplace_back(messageAt(placeOf(type), ListMessage::Kind::Error, std::move(text)));
        if (first)
            noteAt(&m, placeOf(*first), "enum '" + excerpt(first->name) + "' is here");
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
            messages->push_back(messageAt(
                placeOf(type), deviceNamesAreReserved() ? ListMessage::Kind::Error : ListMessage::Kind::Warning,
                "enum '" + excerpt(type.name) + "' would write " + outputPath(type, ".hpp") +
                    ", which Windows takes for the device '" + lowerName + "'; rename the enum"));
            if (deviceNamesAreReserved())
                continue;
        }
        if (lowerName + ".hpp" == kRegistryHeader) {
            error(type, "enum '" + excerpt(type.name) + "' would write " + outputPath(type, ".hpp") +
                            " and .cpp, which are the registry files; rename the enum");
            continue;
        }
        auto [owner, added] = owners.emplace(std::move(lowerName), &type);
        if (!added)
            error(type,
                  namingLine("enum '" + excerpt(type.name) + "' writes the same files as enum '" +
                                 excerpt(owner->second->name) + "'",
                             " on line ", owner->second->line,
                             ": " + excerpt(outputPath(type, ".hpp")) + " and .cpp"),
                  owner->second);
    }
}
