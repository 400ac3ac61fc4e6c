// SPDX-License-Identifier: MIT
#include "enum-reader.h"

#include <algorithm>
#include <array>
#include <exception>
#include <iterator>
#include <thread>

#include "file-ops.h"
#include "text-ops.h"

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The five markers of a "+" or "-" line, and the field each one holds.
struct Marker {
    std::string_view open, close, field;
};
constexpr std::array<Marker, 5> kMarkers = {{{"[[", "]]", "key"},
                                             {"[=", "=]", "value"},
                                             {"[-", "-]", "description"},
                                             {"[:", ":]", "data"},
                                             {"[~", "~]", "flags name"}}};

// The fields of one "+" or "-" line, after its lead byte and optional star.
struct Definition {
    std::string_view name;
    std::array<std::string_view, kMarkers.size()> fields;
    // Where each marker opens in the text, and where its closing marker
    // ends; npos for a marker the line does not have or never closes.
    std::array<size_t, kMarkers.size()> opened, closed;

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
    size_t missing = kMarkers.size();
    for (size_t at = text.find('['); at != std::string_view::npos && missing > 0 && at + 1 < text.size();
         at = text.find('[', at + 1)) {
        const size_t marker = kSecondBytes.find(text[at + 1]);
        if (marker != std::string_view::npos && def.opened[marker] == std::string_view::npos) {
            def.opened[marker] = at;
            --missing;
        }
    }
    size_t nameEnd = text.size();
    for (size_t marker = 0; marker < kMarkers.size(); ++marker) {
        const size_t at = def.opened[marker];
        if (at == std::string_view::npos)
            continue;
        nameEnd = std::min(nameEnd, at);
        const Marker& m = kMarkers[marker];
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
    std::array<std::pair<size_t, size_t>, kMarkers.size()> spans;
    size_t count = 0;
    for (size_t marker = 0; marker < kMarkers.size(); ++marker) {
        if (def.opened[marker] != std::string_view::npos)
            spans[count++] = {def.opened[marker], std::min(def.closed[marker], text.size())};
    }
    std::sort(spans.begin(), spans.begin() + count);
    size_t pos = def.name.size();
    for (size_t span = 0; pos < text.size(); ++span) {
        const size_t gapEnd = span < count ? spans[span].first : text.size();
        if (gapEnd > pos) {
            const std::string_view gap = text.substr(pos, gapEnd - pos);
            const size_t first = gap.find_first_not_of(" \t");
            if (first != std::string_view::npos)
                return trim(gap.substr(first));
        }
        if (span >= count)
            break;
        pos = std::max(pos, spans[span].second);
    }
    return {};
}

// Where a text pasted between double quotes would end the string literal
// early (a '"' not escaped by '\\') or escape its closing quote (a '\\' at
// the end); npos when it makes a sound literal.
size_t literalBreak(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '"')
            return i;
        if (text[i] == '\\' && ++i == text.size())
            return i - 1;
    }
    return std::string_view::npos;
}

// The '-' lines from `pos` up to the next '+' line: the items of the enum
// whose line ends at `pos`. Reserving them up front spares an enum of a
// million items the copies and fresh pages of a growing vector.
size_t itemLinesAhead(std::string_view text, size_t pos) {
    size_t items = 0;
    while (pos < text.size()) {
        const size_t end = std::min(text.find('\n', pos), text.size());
        const std::string_view line = trim(text.substr(pos, end - pos));
        if (!line.empty() && line.front() == '+')
            break;
        if (!line.empty() && line.front() == '-')
            ++items;
        pos = end + 1;
    }
    return items;
}

}  // namespace

std::string_view trim(std::string_view text) {
    constexpr std::string_view kSpace = " \f\v\n\r";
    size_t begin = text.find_first_not_of(kSpace);
    if (begin == std::string_view::npos)
        return {};
    return text.substr(begin, text.find_last_not_of(kSpace) - begin + 1);
}

std::string_view extractBetween(std::string_view text, std::string_view open, std::string_view close) {
    size_t start = text.find(open);
    if (start == std::string_view::npos)
        return {};
    start += open.size();
    size_t end = text.find(close, start);
    if (end == std::string_view::npos)
        return {};
    return text.substr(start, end - start);
}

std::optional<std::string> addOne(std::string_view value) {
    size_t runStart = value.size();
    while (runStart > 0 && isDigit(value[runStart - 1]))
        --runStart;
    if (runStart == value.size())
        return std::nullopt;
    // Counted in decimal on the digits themselves, so a run of any length
    // counts on exactly; leading zeros go, as they would through an int.
    size_t digitsStart = runStart;
    while (digitsStart + 1 < value.size() && value[digitsStart] == '0')
        ++digitsStart;
    std::string result;
    result.reserve(value.size() + 1);
    result.append(value.substr(0, runStart)).append(value.substr(digitsStart));
    size_t i = result.size();
    while (i > runStart && result[i - 1] == '9')
        result[--i] = '0';
    if (i == runStart)
        result.insert(runStart, 1, '1');
    else
        ++result[i - 1];
    return result;
}

bool hasErrors(const ListMessages& messages) {
    return std::any_of(messages.begin(), messages.end(),
                       [](const ListMessage& m) { return m.kind == ListMessage::Kind::Error; });
}

void sortByLine(ListMessages* messages) {
    std::stable_sort(messages->begin(), messages->end(),
                     [](const ListMessage& a, const ListMessage& b) { return a.line < b.line; });
}

namespace {

// Parses `text`, a part of the list that starts at a line start, whose first
// line is the one after line `linesBefore`.
void parsePart(std::string_view text, int linesBefore, std::vector<EnumType>* enums, ListMessages* messages) {
    using Kind = ListMessage::Kind;
    // Set once an item's implicit value could not be computed, so the items
    // after it in the same enum do not repeat the same complaint.
    bool valueUnknown = false;
    int lineNumber = linesBefore;
    for (size_t pos = 0; pos < text.size();) {
        size_t end = std::min(text.find('\n', pos), text.size());
        const std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNumber;

        const std::string_view trimmed = trim(line);
        if (trimmed.empty())
            continue;
        const char lead = trimmed.front();
        if (lead != '+' && lead != '-' && lead != '!' && lead != '$')
            continue;
        if (lead != '+' && enums->empty()) {
            messages->push_back(
                {lineNumber, Kind::Error,
                 std::string("'") + lead + "' line before the first '+' line: there is no enum for it to belong to",
                 static_cast<int>(trimmed.data() - line.data() + 1), 1});
            continue;
        }

        if (lead == '!') {
            EnumType& type = enums->back();
            type.headerContents.append(line.substr(1)).push_back('\n');
            continue;
        }
        if (lead == '$') {
            EnumType& type = enums->back();
            if (type.footerContents.empty())
                type.footerContents.push_back('\n');
            type.footerContents.append(line.substr(1)).push_back('\n');
            continue;
        }

        std::string_view body = trimmed.substr(1);
        const bool starred = !body.empty() && body.front() == '*';
        if (starred)
            body.remove_prefix(1);
        const Definition def = readDefinition(body);
        // 1-based column in the line of a position in `body`.
        const auto column = [&](size_t at) { return static_cast<int>(body.data() - line.data() + at + 1); };
        const auto markerColumn = [&](size_t marker) {
            return def.opened[marker] == std::string_view::npos ? 0 : column(def.opened[marker]);
        };
        for (size_t marker = 0; marker < kMarkers.size(); ++marker) {
            const Marker& m = kMarkers[marker];
            if (def.opened[marker] != std::string_view::npos && def.closed[marker] == std::string_view::npos)
                messages->push_back({lineNumber, Kind::Error,
                                     "'" + std::string(m.open) + "' is never closed by '" + std::string(m.close) +
                                         "', so the " + std::string(m.field) + " cannot be read",
                                     markerColumn(marker), static_cast<int>(m.open.size())});
        }
        if (const std::string_view outside = textOutsideMarkers(body, def); !outside.empty())
            messages->push_back(
                {lineNumber, Kind::Warning,
                 "'" + excerpt(outside) + "' is inside no marker, so it is ignored; is a marker mistyped?",
                 column(static_cast<size_t>(outside.data() - body.data())), static_cast<int>(outside.size())});
        // Keys and descriptions become string literals in the generated code.
        for (size_t marker : {size_t{0}, size_t{2}}) {
            if (const size_t at = literalBreak(def.fields[marker]); at != std::string_view::npos)
                messages->push_back(
                    {lineNumber, Kind::Error,
                     "the " + std::string(kMarkers[marker].field) +
                         (def.fields[marker][at] == '"' ? " holds a '\"' that would end its string literal; write \\\""
                                                        : " ends in a '\\' that would escape the closing quote of its "
                                                          "string literal; write \\\\"),
                     column(def.opened[marker] + kMarkers[marker].open.size() + at), 1});
        }

        if (lead == '+') {
            EnumType& type = enums->emplace_back();
            type.name = def.name;
            type.key = def.key();
            type.desc = def.desc();
            type.dataType = def.data().empty() ? std::string_view("QVariant") : def.data();
            type.flagsName = def.flagsName();
            type.line = lineNumber;
            type.column = column(0);
            type.keyColumn = markerColumn(0);
            type.items.reserve(itemLinesAhead(text, pos));
            valueUnknown = false;
            continue;
        }

        EnumType& type = enums->back();
        // Built in its place: moving a million items into the list costs
        // more than filling them.
        EnumType::Item& item = type.items.emplace_back();
        item.name = def.name;
        item.key = def.key();
        item.desc = def.desc();
        item.line = lineNumber;
        item.column = column(0);
        item.keyColumn = markerColumn(0);
        item.valueColumn = markerColumn(1);
        if (!def.value().empty()) {
            item.value = def.value();
            type.sequential = false;
            valueUnknown = false;
        } else if (type.items.size() == 1) {
            item.value = "0";
        } else if (!valueUnknown) {
            const EnumType::Item& previousItem = type.items[type.items.size() - 2];
            const std::string& previous = previousItem.value;
            if (std::optional<std::string> next = addOne(previous)) {
                item.value = std::move(*next);
            } else {
                messages->push_back(
                    {lineNumber, Kind::Error,
                     "item '" + excerpt(item.name) + "' has no value to count on from: the previous value '" +
                         excerpt(previous) +
                         "' does not end in a decimal digit; give the item an explicit value with [=...=]",
                     item.column, static_cast<int>(item.name.size()), previousItem.line,
                     previousItem.valueColumn ? previousItem.valueColumn : previousItem.column,
                     "the value to count on from is here",
                     static_cast<int>(previousItem.valueColumn ? previousItem.value.size() + 4
                                                               : previousItem.name.size())});
                valueUnknown = true;
            }
        }
        if (def.data().empty())
            item.data.append("(int)").append(item.value);
        else
            item.data = def.data();
        if (starred)
            type.defaultIndex = static_cast<std::int32_t>(type.items.size() - 1);
    }
}

// The second half of a list parsed in two, on its own thread.
void parseSecondHalf(std::string_view text, size_t split, std::vector<EnumType>* enums, ListMessages* messages,
                     std::exception_ptr* failure) {
    try {
        const auto linesBefore = std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(split), '\n');
        parsePart(text.substr(split), static_cast<int>(linesBefore), enums, messages);
    } catch (...) {
        *failure = std::current_exception();
    }
}

}  // namespace

void parseEnumList(std::string_view text, std::vector<EnumType>* enums, ListMessages* messages) {
    // A long list is parsed in two halves at once, split before a '+' line,
    // so that each half holds whole enums and reads as it would in one go.
    constexpr size_t kMinSplitSize = size_t{1} << 20;
    size_t split = text.size() < kMinSplitSize ? std::string_view::npos : text.find('+', text.size() / 2);
    while (split != std::string_view::npos && text[split - 1] != '\n')
        split = text.find('+', split + 1);
    if (split == std::string_view::npos) {
        parsePart(text, 0, enums, messages);
        return;
    }
    std::vector<EnumType> second;
    ListMessages secondMessages;
    std::exception_ptr failure;
    {
        const std::jthread thread(parseSecondHalf, text, split, &second, &secondMessages, &failure);
        parsePart(text.substr(0, split), 0, enums, messages);
    }
    if (failure)
        std::rethrow_exception(failure);
    enums->insert(enums->end(), std::make_move_iterator(second.begin()), std::make_move_iterator(second.end()));
    messages->insert(messages->end(), secondMessages.begin(), secondMessages.end());
}

bool readEnums(const std::string& path, std::string* text, std::vector<EnumType>* enums, ListMessages* messages,
               std::string* err) {
    if (!readAll(path, text, err, MissingFile::IsError))
        return false;
    parseEnumList(*text, enums, messages);
    return true;
}
