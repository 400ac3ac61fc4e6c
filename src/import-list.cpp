// SPDX-License-Identifier: MIT
#include "import-list.h"

#include <algorithm>
#include <map>

#include "enum-analysis.h"
#include "enum-reader.h"

namespace {

// Appends `text` between `markers` to `line`; returns the 1-based
// column where it opens.
int appendMarker(std::string* line, const FieldMarkers& markers, std::string_view text) {
    const int column = static_cast<int>(line->size()) + 1;
    line->append(markers.open).append(text).append(markers.close);
    return column;
}

// A comment naming the headers, so a reader of the list knows where it came from.
std::string listComment(const std::vector<std::string>& headers) {
    std::string comment = "# Imported by enumgen-import from";
    for (const std::string& header : headers)
        comment.append(" ").append(header);
    comment +=
        ".\n# Every item has its value as it was, and as its key its old name, which QMetaEnum::valueToKey and "
        "QSettings stored.\n";
    return comment;
}

}  // namespace

std::string renderEnumList(const std::vector<std::string>& headers, ImportResult* result) {
    std::string list = listComment(headers);
    int lineNumber = static_cast<int>(std::count(list.begin(), list.end(), '\n'));
    for (size_t e = 0; e < result->enums.size(); ++e) {
        EnumType& type = result->enums[e];
        const EnumOrigin& origin = result->origins[e];
        std::string line(1, kEnumLead);
        line.append(type.name);
        type.line = ++lineNumber;
        type.column = 2;
        type.keyColumn = appendMarker(&line, kKeyMarkers, type.key);
        if (!type.flagsName.empty())
            appendMarker(&line, kFlagsMarkers, type.flagsName);
        if (!type.desc.empty())
            appendMarker(&line, kDescMarkers, type.desc);
        list.append(line).append("\n");
        for (EnumType::Item& item : type.items) {
            if (std::find(origin.hiddenFromMoc.begin(), origin.hiddenFromMoc.end(), item.name) !=
                origin.hiddenFromMoc.end()) {
                list.append("# ").append(item.name).append(
                    ": hidden from moc (#ifndef Q_MOC_RUN), so QMetaEnum never knew it\n");
                ++lineNumber;
            }
            line.assign(1, kItemLead).append(item.name);
            item.line = ++lineNumber;
            item.column = 2;
            // The value and key come before the description, so that nothing
            // in it can be taken for their markers.
            item.valueColumn = item.value.empty() ? 0 : appendMarker(&line, kValueMarkers, item.value);
            item.keyColumn = appendMarker(&line, kKeyMarkers, item.key);
            if (!item.desc.empty())
                appendMarker(&line, kDescMarkers, item.desc);
            list.append(line).append("\n");
        }
    }
    return list;
}

void checkImportedList(const std::string& list, ImportResult* result) {
    const ListMessages messages = analyzeList(list, {}).messages;
    // The declaration behind each line of the list.
    std::map<int, SourcePlace> places;
    for (size_t e = 0; e < result->enums.size(); ++e) {
        places[result->enums[e].line] = result->origins[e].place;
        for (size_t i = 0; i < result->enums[e].items.size(); ++i)
            places[result->enums[e].items[i].line] = result->origins[e].items[i];
    }
    for (const ListMessage& m : messages) {
        const auto place = places.find(m.line);
        const bool error = m.kind == ListMessage::Kind::Error;
        result->messages.push_back({error ? ImportMessage::Kind::Error : ImportMessage::Kind::Warning,
                                    place == places.end() ? SourcePlace{} : place->second,
                                    std::string(error ? "enumgen will stop at this in the list: "
                                                      : "enumgen will warn of this in the list: ") +
                                        // The list's line means nothing beside the
                                        // declarations; the note points there instead.
                                        withoutNoteLine(m)});
        if (const auto note = places.find(m.noteLine); m.noteLine > 0 && note != places.end())
            result->messages.push_back({ImportMessage::Kind::Note, note->second, m.note});
    }
}
