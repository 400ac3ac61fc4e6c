// SPDX-License-Identifier: MIT
#include "enum-reader.h"

#include <algorithm>
#include <array>

#include "enum-values.h"
#include "list-places.h"
#include "text-ops.h"

namespace {

// The fields of one "+" or "-" line, after its lead byte and optional star.
struct Definition {
    std::string_view name;
    std::array<std::string_view, kFieldMarkers.size()> fields;
    // Where each marker opens in the text, and where its closing marker
    // ends; npos for a marker the line does not have or never closes.
    std::array<size_t, kFieldMarkers.size()> opened, closed;

    std::string_view key() const { return fields[0]; }
    std::string_view value() const { return fields[1]; }
    std::string_view desc() const { return fields[2]; }
    std::string_view data() const { return fields[3]; }
    std::string_view flagsName() const { return fields[4]; }
};

Definition readDefinition(std::string_view text) {
    // Where each opener first occurs, found in one pass over the '[' bytes
    // rather than one search of the whole line per marker.
    constexpr std::string_view kSecondBytes = "[=-:~";
    Definition def;
    def.opened.fill(std::string_view::npos);
    def.closed.fill(std::string_view::npos);
    size_t missing = kFieldMarkers.size();
    for (size_t at = text.find('['); at != std::string_view::npos && missing > 0 && at + 1 < text.size();
         at = text.find('[', at + 1)) {
        const size_t marker = kSecondBytes.find(text[at + 1]);
        if (marker != std::string_view::npos && def.opened[marker] == std::string_view::npos) {
            def.opened[marker] = at;
            --missing;
        }
    }
    size_t nameEnd = text.size();
    for (size_t marker = 0; marker < kFieldMarkers.size(); ++marker) {
        const size_t at = def.opened[marker];
        if (at == std::string_view::npos)
            continue;
        nameEnd = std::min(nameEnd, at);
        const FieldMarkers& m = kFieldMarkers[marker];
        const size_t start = at + m.open.size();
        const size_t end = text.find(m.close, start);
        if (end == std::string_view::npos)
            continue;
        def.fields[marker] = text.substr(start, end - start);
        def.closed[marker] = end + m.close.size();
    }
    def.name = text.substr(0, nameEnd);
    return def;
}

// The first text after the name that no marker holds, such as a mistyped
// marker "(-Red-)" or a remark; empty when there is none. Space between
// markers does not count, nor the rest of a line after an unclosed marker,
// which is a mistake of its own.
std::string_view textOutsideMarkers(std::string_view text, const Definition& def) {
    for (size_t pos = def.name.size();;) {
        while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t'))
            ++pos;
        if (pos >= text.size())
            return {};
        // Past the markers that hold `pos`, or up to the next one.
        size_t coveredTo = pos, nextOpen = text.size();
        for (size_t marker = 0; marker < kFieldMarkers.size(); ++marker) {
            const size_t open = def.opened[marker];
            const size_t end = std::min(def.closed[marker], text.size());
            if (open <= pos && end > pos)
                coveredTo = std::max(coveredTo, end);
            else if (open != std::string_view::npos && open > pos)
                nextOpen = std::min(nextOpen, open);
        }
        if (coveredTo == pos)
            return trim(text.substr(pos, nextOpen - pos));
        pos = coveredTo;
    }
}

// The '-' lines from `pos` up to the next '+' line: the items of the enum
// whose line ends at `pos`. Reserving them up front spares an enum of a
// million items the copies and fresh pages of a growing vector.
size_t itemLinesAhead(std::string_view text, size_t pos) {
    size_t items = 0;
    while (pos < text.size()) {
        const size_t end = std::min(text.find('\n', pos), text.size());
        const std::string_view line = trim(text.substr(pos, end - pos));
        if (!line.empty() && line.front() == kEnumLead)
            break;
        if (!line.empty() && line.front() == kItemLead)
            ++items;
        pos = end + 1;
    }
    return items;
}

// What a line of the list is, by its first byte after leading space.
enum class LineKind { Other, Enum, Item, Header, Footer };

LineKind classify(std::string_view trimmed) {
    switch (trimmed.empty() ? '\0' : trimmed.front()) {
        case kEnumLead:
            return LineKind::Enum;
        case kItemLead:
            return LineKind::Item;
        case kHeaderLead:
            return LineKind::Header;
        case kFooterLead:
            return LineKind::Footer;
        default:
            return LineKind::Other;
    }
}

// A "+" or "-" line being read: its number, its whole text, its definition
// (after the lead byte and star) and the fields read from that.
struct DefinitionLine {
    int number = 0;
    std::string_view text;
    std::string_view body;
    bool starred = false;
    Definition def;

    // 1-based column in the line of a position in `body`.
    int column(size_t at) const { return static_cast<int>(body.data() - text.data() + at + 1); }
    int markerColumn(size_t marker) const {
        return def.opened[marker] == std::string_view::npos ? 0 : column(def.opened[marker]);
    }
};

DefinitionLine readDefinitionLine(int number, std::string_view text, std::string_view trimmed) {
    DefinitionLine line;
    line.number = number;
    line.text = text;
    line.body = trimmed.substr(1);
    line.starred = !line.body.empty() && line.body.front() == kDefaultMark;
    if (line.starred)
        line.body.remove_prefix(1);
    line.def = readDefinition(line.body);
    return line;
}

// Markers left open, text outside every marker, and keys and descriptions
// that would break the string literals they become.
void reportMarkerMistakes(const DefinitionLine& line, ListMessages* messages) {
    using Kind = ListMessage::Kind;
    const Definition& def = line.def;
    for (size_t marker = 0; marker < kFieldMarkers.size(); ++marker) {
        const FieldMarkers& m = kFieldMarkers[marker];
        if (def.opened[marker] != std::string_view::npos && def.closed[marker] == std::string_view::npos)
            messages->push_back({line.number, Kind::Error,
                                 std::string("'").append(m.open) + "' is never closed by '" + std::string(m.close) +
                                     "', so the " + std::string(m.field) + " cannot be read",
                                 line.markerColumn(marker), static_cast<int>(m.open.size())});
    }
    if (const std::string_view outside = textOutsideMarkers(line.body, def); !outside.empty())
        messages->push_back({line.number, Kind::Warning,
                             std::string("'").append(excerpt(outside)) +
                                 "' is inside no marker, so it is ignored; is a marker mistyped?",
                             line.column(static_cast<size_t>(outside.data() - line.body.data())),
                             static_cast<int>(outside.size())});
    for (size_t marker : {size_t{0}, size_t{2}}) {
        const size_t at = literalBreak(def.fields[marker]);
        if (at == std::string_view::npos)
            continue;
        messages->push_back(
            {line.number, Kind::Error,
             "the " + std::string(kFieldMarkers[marker].field) +
                 (def.fields[marker][at] == '"' ? " holds a '\"' that would end its string literal; write \\\""
                                                : " ends in a '\\' that would escape the closing quote of its "
                                                  "string literal; write \\\\"),
             line.column(def.opened[marker] + kFieldMarkers[marker].open.size() + at), 1});
    }
}

void readEnumLine(const DefinitionLine& line, std::string_view rest, std::vector<EnumType>* enums) {
    const Definition& def = line.def;
    EnumType& type = enums->emplace_back();
    type.name = def.name;
    type.key = def.key();
    type.desc = def.desc();
    type.dataType = def.data().empty() ? std::string_view("QVariant") : def.data();
    type.flagsName = def.flagsName();
    type.line = line.number;
    type.column = line.column(0);
    type.keyColumn = line.markerColumn(0);
    type.items.reserve(itemLinesAhead(rest, 0));
}

// Gives `item`, which has no value of its own, the value counted on from the
// item before it; false when there is none to count on from.
bool countOn(const EnumType::Item& previous, EnumType::Item* item, ListMessages* messages) {
    using Kind = ListMessage::Kind;
    std::optional<std::string> next = addOne(previous.value);
    if (!next) {
        ListMessage m =
            messageAt(placeOf(*item, ListField::Name), Kind::Error,
                      "item '" + excerpt(item->name) +
                          "' has no value to count on from: the previous "
                          "value '" +
                          excerpt(previous.value) +
                          "' does not end in a decimal digit; give the item an explicit value with [=...=]");
        noteAt(&m, placeOf(previous, ListField::Value), "the value to count on from is here");
        messages->push_back(std::move(m));
        return false;
    }
    item->value = std::move(*next);
    const CountingHazard hazard = countingHazard(previous.value, item->value);
    if (hazard == CountingHazard::None)
        return true;
    ListMessage m =
        messageAt(placeOf(*item, ListField::Name), Kind::Warning,
                  "item '" + excerpt(item->name) + "' is counted on to " + excerpt(valueWithNumber(item->value)) +
                      " from " + excerpt(valueWithNumber(previous.value)) +
                      (hazard == CountingHazard::NotDecimal
                           ? ": counting adds one to the last digits as decimal text, not to the number"
                           : ": counting adds one to the digits after the minus, so the value goes down") +
                      "; give the item an explicit value with [=...=]");
    noteAt(&m, placeOf(previous, ListField::Value), "the value counted on from is here");
    messages->push_back(std::move(m));
    return true;
}

// Reads an item line into the last enum. `valueUnknown` is set once an
// item's value could not be counted, so the items after it in the same enum
// do not repeat the same complaint.
void readItemLine(const DefinitionLine& line, const StoredText& list, EnumType* type, bool* valueUnknown,
                  ListMessages* messages) {
    const Definition& def = line.def;
    // Built in its place: moving a million items into the list costs more
    // than filling them.
    EnumType::Item& item = type->items.emplace_back();
    item.name = list.part(def.name);
    item.key = list.part(def.key());
    item.desc = list.part(def.desc());
    item.line = line.number;
    item.column = line.column(0);
    item.keyColumn = line.markerColumn(0);
    item.valueColumn = line.markerColumn(1);
    if (!def.value().empty()) {
        item.value = def.value();
        type->sequential = false;
        *valueUnknown = false;
    } else if (type->items.size() == 1) {
        item.value = '0';
    } else if (!*valueUnknown) {
        *valueUnknown = !countOn(type->items[type->items.size() - 2], &item, messages);
    }
    if (def.data().empty())
        item.data.append(kValueAsData).append(item.value);
    else
        item.data = def.data();
    if (line.starred)
        type->defaultIndex = static_cast<std::int32_t>(type->items.size() - 1);
}

// Appends a "!" or "$" line's text, without its first byte, to the last enum.
void readContentLine(LineKind kind, std::string_view text, EnumType* type) {
    std::string& contents = kind == LineKind::Header ? type->headerContents : type->footerContents;
    if (kind == LineKind::Footer && contents.empty())
        contents.push_back('\n');
    contents.append(text.substr(1)).push_back('\n');
}

// A line whose marker follows a tab is a comment, as the list is defined
// and lists may rely on; since what was meant is plain, it is told rather
// than dropped in silence.
void reportTabbedMarker(int number, std::string_view line, std::string_view trimmed, ListMessages* messages) {
    if (trimmed.empty() || trimmed.front() != '\t')
        return;
    const size_t marker = trimmed.find_first_not_of(" \t\f\v\r");
    if (marker == std::string_view::npos || classify(trimmed.substr(marker)) == LineKind::Other)
        return;
    const char lead = trimmed[marker];
    const bool definition = lead == '+' || lead == '-';
    const std::string_view loss = lead == '+'   ? ", so no enum opens here; "
                                  : lead == '-' ? ", so the item is left out; "
                                                : ", so its text is left out; ";
    messages->push_back(
        {number, ListMessage::Kind::Warning,
         std::string("a tab before '") + lead + "' makes the line a comment" + std::string(loss) +
             (definition ? std::string("remove the tab") : std::string("start the line with '") + lead + "'"),
         static_cast<int>(trimmed.data() - line.data() + 1), static_cast<int>(marker)});
}

// A '!' or '$' line's text is its untrimmed line from the second byte, as
// the list is defined; behind spaces, the spaces and the marker go into the
// generated code, which is told rather than pasted in silence.
void reportIndentedContent(int number, std::string_view line, std::string_view trimmed, LineKind kind,
                           ListMessages* messages) {
    if (line.front() == trimmed.front())
        return;
    messages->push_back({number, ListMessage::Kind::Warning,
                         std::string("'") + trimmed.front() +
                             "' is not the line's first byte, so the line goes into the " +
                             (kind == LineKind::Header ? "header" : "footer") +
                             " contents as written but for its first byte, the marker included; start the line "
                             "with '" +
                             trimmed.front() + "'",
                         static_cast<int>(trimmed.data() - line.data() + 1), 1});
}

}  // namespace

std::string_view trim(std::string_view text) {
    constexpr std::string_view kSpace = " \f\v\n\r";
    size_t begin = text.find_first_not_of(kSpace);
    if (begin == std::string_view::npos)
        return {};
    return text.substr(begin, text.find_last_not_of(kSpace) - begin + 1);
}

void parseEnumList(StoredText list, std::vector<EnumType>* enums, ListMessages* messages) {
    const std::string_view text = list;
    bool valueUnknown = false;
    int number = 0;
    for (size_t pos = 0; pos < text.size();) {
        const size_t end = std::min(text.find('\n', pos), text.size());
        const std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++number;
        const std::string_view trimmed = trim(line);
        const LineKind kind = classify(trimmed);
        if (kind == LineKind::Other) {
            reportTabbedMarker(number, line, trimmed, messages);
            continue;
        }
        if (kind != LineKind::Enum && enums->empty()) {
            messages->push_back({number, ListMessage::Kind::Error,
                                 std::string("'") + trimmed.front() +
                                     "' line before the first '+' line: there is no enum for it to belong to",
                                 static_cast<int>(trimmed.data() - line.data() + 1), 1});
            continue;
        }
        if (kind == LineKind::Header || kind == LineKind::Footer) {
            reportIndentedContent(number, line, trimmed, kind, messages);
            readContentLine(kind, line, &enums->back());
            continue;
        }
        const DefinitionLine definition = readDefinitionLine(number, line, trimmed);
        reportMarkerMistakes(definition, messages);
        if (kind == LineKind::Enum) {
            readEnumLine(definition, text.substr(std::min(pos, text.size())), enums);
            valueUnknown = false;
        } else {
            readItemLine(definition, list, &enums->back(), &valueUnknown, messages);
        }
    }
}
