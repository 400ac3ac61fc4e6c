// SPDX-License-Identifier: MIT
#include "enum-writer.h"

#include <algorithm>
#include <array>
#include <condition_variable>
#include <cstdio>
#include <exception>
#include <span>
#include <stop_token>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <unordered_set>
#include <utility>

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

// What a placeholder is filled with.
enum class Field {
    Name,
    Key,
    Desc,
    Default,
    DataType,
    HeaderContents,
    FooterContents,
    Uppers,
    Lowers,
    IsFlag,
    FlagsName,
    Values,
    Count,
    DescriptionCases,
    ItemLookup,
    Infos,
};

constexpr std::string_view kPlaceholders[] = {
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
    "__ENUM_INFOS",
};

// The fields of each template in the order they are filled: a placeholder
// inside an inserted field is filled only by a replacement that comes later.
constexpr Field kHeaderFields[] = {
    Field::Name,           Field::Key,
    Field::Desc,           Field::Default,
    Field::DataType,       Field::HeaderContents,
    Field::FooterContents, Field::Uppers,
    Field::Lowers,         Field::IsFlag,
    Field::FlagsName,      Field::Values,
    Field::Count,          Field::DescriptionCases,
    Field::ItemLookup,
};
constexpr Field kSourceFields[] = {Field::Name, Field::Count, Field::Infos, Field::Lowers};

template <size_t N>
constexpr std::array<std::string_view, N> placeholdersOf(const Field (&fields)[N]) {
    std::array<std::string_view, N> placeholders;
    for (size_t i = 0; i < N; ++i)
        placeholders[i] = kPlaceholders[static_cast<size_t>(fields[i])];
    return placeholders;
}
constexpr auto kHeaderPlaceholders = placeholdersOf(kHeaderFields);
constexpr auto kSourcePlaceholders = placeholdersOf(kSourceFields);
static_assert(findableInOnePass(kHeaderPlaceholders) && findableInOnePass(kSourcePlaceholders));

// The fields that are texts of the list or fixed ones.
std::string_view plainField(const EnumType& type, Field field) {
    switch (field) {
        case Field::Name:
            return type.name;
        case Field::Key:
            return type.key;
        case Field::Desc:
            return type.desc;
        case Field::Default:
            // An enum without items has no default item to name.
            return type.defaultIndex >= 0 && static_cast<size_t>(type.defaultIndex) < type.items.size()
                       ? std::string_view(type.items[static_cast<size_t>(type.defaultIndex)].name)
                       : std::string_view();
        case Field::DataType:
            return type.dataType;
        case Field::HeaderContents:
            return type.headerContents;
        case Field::FooterContents:
            return type.footerContents;
        case Field::IsFlag:
            return type.flagsName.empty() ? "0" : "1";
        case Field::FlagsName:
            return type.flagsName;
        case Field::ItemLookup:
            return type.sequential ? kIndexedLookup : kSearchedLookup;
        default:
            return {};
    }
}

// At least the size of the field, so an output is reserved once, even for an
// enum of a million items.
size_t sizeBound(const EnumType& type, Field field) {
    size_t size = 0;
    switch (field) {
        case Field::Values:
            for (const EnumType::Item& item : type.items)
                size += item.name.size() + item.value.size() + 14;
            return size;
        case Field::DescriptionCases:
            size = 34;
            for (const EnumType::Item& item : type.items)
                size += item.name.size() + item.desc.size() + 61;
            return size;
        case Field::Infos:
            for (const EnumType::Item& item : type.items)
                size += type.name.size() + 2 * item.name.size() + item.key.size() + item.data.size() + 26;
            return size;
        case Field::Uppers:
        case Field::Lowers:
            return type.name.size();
        case Field::Count:
            return 20;
        default:
            return plainField(type, field).size();
    }
}

// Appends the field to `out`: the texts built from the items go straight to
// where they stand in the output.
void appendField(std::string& out, const EnumType& type, Field field) {
    bool first = true;
    switch (field) {
        case Field::Values:
            for (const EnumType::Item& item : type.items) {
                out.append(first ? "    " : ",\n    ").append(item.name).append(" = (int)").append(item.value);
                first = false;
            }
            return;
        case Field::DescriptionCases:
            for (const EnumType::Item& item : type.items) {
                out.append("        case Enum::").append(item.name);
                out.append(": return qApp->translate(\"EnumInfo\", \"").append(item.desc).append("\");\n");
            }
            out.append("        default: return QString();");
            return;
        case Field::Infos:
            for (const EnumType::Item& item : type.items) {
                out.append(first ? "    {" : ",\n    {").append(type.name).append("::").append(item.name);
                out.append(", u\"").append(item.name).append("\"_q, u\"").append(item.key).append("\"_q, ");
                out.append(item.data).append("}");
                first = false;
            }
            return;
        case Field::Uppers:
            out += toUpper(type.name);
            return;
        case Field::Lowers:
            out += toLower(type.name);
            return;
        case Field::Count:
            out += toString(static_cast<std::int64_t>(type.items.size()));
            return;
        default:
            out += plainField(type, field);
    }
}

// Fills the template in `text` with `fields` in turn, each in place of its
// placeholder, as replaceWithin does step by step. The placeholders cannot
// overlap, so the steps differ from one pass only where an inserted text
// brings a placeholder, which would then stand in the one-pass result: in
// nearly every fill the output is built in one pass, each field where it
// goes. No step's text is longer than the template and every field it
// receives together, so when they fit in `maxSize`, every step does. False
// when a step would outgrow `maxSize`, with `text` partly filled.
bool fill(const EnumType& type, std::span<const Field> fields, std::span<const std::string_view> placeholders,
          std::string* text, size_t maxSize) {
    const std::vector<std::pair<size_t, size_t>> found = findEach(*text, placeholders);
    size_t bound = text->size();
    for (auto [at, i] : found)
        bound += sizeBound(type, fields[i]);
    if (bound <= maxSize) {
        std::string out;
        out.reserve(bound);
        size_t copied = 0;
        for (auto [at, i] : found) {
            out.append(*text, copied, at - copied);
            appendField(out, type, fields[i]);
            copied = at + placeholders[i].size();
        }
        out.append(*text, copied);
        if (findEach(out, placeholders).empty()) {
            text->swap(out);
            return true;
        }
    }
    std::string field, scratch;
    for (size_t i = 0; i < fields.size(); ++i) {
        field.clear();
        appendField(field, type, fields[i]);
        if (!replaceWithin(*text, placeholders[i], field, maxSize, scratch))
            return false;
    }
    return true;
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

bool fillHeader(const EnumType& type, std::string* text, size_t maxSize) {
    return fill(type, kHeaderFields, kHeaderPlaceholders, text, maxSize);
}

bool fillSource(const EnumType& type, std::string* text, size_t maxSize) {
    return fill(type, kSourceFields, kSourcePlaceholders, text, maxSize);
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

namespace {

// Fills the template of the enum's header or source into `text`.
bool fillOutput(const EnumType& type, const EnumTemplates& templates, bool header, std::string* text) {
    *text = header ? templates.header : templates.source;
    return header ? fillHeader(type, text, templates.maxOutputSize) : fillSource(type, text, templates.maxOutputSize);
}

bool writeOne(const EnumType& type, const EnumTemplates& templates, bool header, bool isSame, OutputRun* run) {
    const char* extension = header ? ".hpp" : ".cpp";
    std::string path = outputPath(run->dir, type, extension);
    if (isSame) {
        run->paths.push_back(std::move(path));
        return true;
    }
    std::string text;
    if (!fillOutput(type, templates, header, &text))
        return reportOutgrown(type, extension, templates.maxOutputSize, run);
    return writeOutput(path, text, run);
}

}  // namespace

void compareAhead(const std::vector<EnumType>& enums, const EnumTemplates& templates, const std::string& dir,
                  bool fromBack, OutputQueue* queue) {
    // A run that changes a few enums still leaves the rest to compare; one
    // that changes all of them, such as a first run, gives up soon.
    constexpr int kMaxDiffering = 8;
    constexpr size_t kMaxKeptBytes = size_t{256} << 20;
    int differing = 0;
    size_t kept = 0;
    std::string text, err;
    while (differing < kMaxDiffering) {
        size_t output = 0;
        {
            const std::lock_guard<std::mutex> lock(queue->mutex);
            if (queue->front == queue->back)
                return;
            output = fromBack ? --queue->back : queue->front++;
        }
        const EnumType& type = enums[output / 2];
        const bool header = output % 2 == 0;
        bool differs = true;
        const bool filled = fillOutput(type, templates, header, &text);
        if (filled && compareFile(outputPath(dir, type, header ? ".hpp" : ".cpp"), text, &differs, &err) &&
            !differs) {
            queue->same[output] = 1;
            continue;
        }
        // The write takes the text rather than filling it again, so a first
        // run fills outputs here while the list is checked.
        ++differing;
        if (filled && kept + text.size() <= kMaxKeptBytes) {
            kept += text.size();
            queue->texts[output] = std::move(text);
        }
    }
}

bool write(const EnumType& type, const EnumTemplates& templates, bool headerIsSame, bool sourceIsSame, OutputRun* run) {
    const bool headerOk = writeOne(type, templates, true, headerIsSame, run);
    const bool sourceOk = writeOne(type, templates, false, sourceIsSame, run);
    return headerOk && sourceOk;
}

namespace {

// Where each output's text stands while the writes go on: to be filled,
// being filled or filled by the second thread, kept by the comparison (or
// not needed), or too big to fill.
enum class TextState : char { ToFill, Filling, Filled, Kept, Outgrown };

// The outputs' texts as the two threads of the writes fill them. Each
// output is taken, in order, by whichever thread comes to it first; the
// first thread writes them in order, and fills the next one itself rather
// than wait for the second.
struct SharedFill {
    std::mutex mutex;
    std::condition_variable_any changed;
    std::vector<TextState> states;
    // The first output that no thread has taken, and the one being written.
    size_t next = 0;
    size_t writing = 0;
    // Bytes filled ahead of the writes.
    size_t bytes = 0;
    // Who waits, so that a thread wakes the other only then.
    bool writerWaits = false;
    bool fillerWaits = false;
    std::exception_ptr failure;
};

// Room for enough texts that the second thread, woken once half of it is
// free, fills many per wake-up (each costs the writes a system call); the
// byte limit keeps memory near what the largest outputs need.
constexpr size_t kMaxAheadTexts = 64;
constexpr size_t kMaxAheadBytes = size_t{64} << 20;

void fillAhead(std::stop_token stop, const std::vector<EnumType>& enums, const EnumTemplates& templates,
               OutputQueue* queue, SharedFill* shared) {
    const size_t count = queue->same.size();
    std::unique_lock lock(shared->mutex);
    try {
        for (;;) {
            auto canTake = [shared, count] {
                while (shared->next < count && shared->states[shared->next] != TextState::ToFill)
                    ++shared->next;
                return shared->next == count || (shared->next < shared->writing + kMaxAheadTexts &&
                                                  shared->bytes < kMaxAheadBytes);
            };
            shared->fillerWaits = true;
            // Stopped when the writes end, done or cut short by an exception.
            const bool go = shared->changed.wait(lock, stop, canTake);
            shared->fillerWaits = false;
            if (!go || shared->next == count)
                return;
            const size_t output = shared->next++;
            shared->states[output] = TextState::Filling;
            std::string& text = queue->texts[output];
            lock.unlock();
            const bool filled = fillOutput(enums[output / 2], templates, output % 2 == 0, &text);
            if (!filled)
                std::string().swap(text);
            lock.lock();
            shared->states[output] = filled ? TextState::Filled : TextState::Outgrown;
            shared->bytes += text.size();
            if (shared->writerWaits)
                shared->changed.notify_all();
        }
    } catch (...) {
        if (!lock.owns_lock())
            lock.lock();
        shared->failure = std::current_exception();
        shared->changed.notify_all();
    }
}

}  // namespace

bool writeEnums(const std::vector<EnumType>& enums, const EnumTemplates& templates, OutputQueue* queue,
                OutputRun* run) {
    const std::vector<char>& same = queue->same;
    SharedFill shared;
    shared.states.resize(same.size(), TextState::ToFill);
    for (size_t output = 0; output < same.size(); ++output)
        if (same[output] || !queue->texts[output].empty())
            shared.states[output] = TextState::Kept;
    const std::jthread filler(fillAhead, std::cref(enums), std::cref(templates), queue, &shared);
    bool ok = true;
    for (size_t output = 0; output < same.size(); ++output) {
        const EnumType& type = enums[output / 2];
        const char* extension = output % 2 == 0 ? ".hpp" : ".cpp";
        std::string path = outputPath(run->dir, type, extension);
        if (same[output]) {
            run->paths.push_back(std::move(path));
            continue;
        }
        bool mine = false;
        {
            std::unique_lock lock(shared.mutex);
            shared.writing = output;
            if (shared.states[output] == TextState::ToFill) {
                // Taken in order: nobody has taken this one, nor any after it.
                shared.next = output + 1;
                mine = true;
            } else {
                shared.writerWaits = true;
                shared.changed.wait(lock, [&shared, output] {
                    return shared.states[output] >= TextState::Filled || shared.failure;
                });
                shared.writerWaits = false;
                if (shared.states[output] < TextState::Filled)
                    std::rethrow_exception(shared.failure);
                if (shared.states[output] == TextState::Filled)
                    shared.bytes -= queue->texts[output].size();
            }
            // Woken only once half its room is free, the second thread fills
            // a few texts per wake-up.
            if (shared.fillerWaits && shared.next <= output + kMaxAheadTexts / 2)
                shared.changed.notify_all();
        }
        std::string text = std::move(queue->texts[output]);
        const bool filled = mine ? fillOutput(type, templates, output % 2 == 0, &text)
                                 : shared.states[output] != TextState::Outgrown;
        ok = (filled ? writeOutput(path, text, run) : reportOutgrown(type, extension, templates.maxOutputSize, run)) &&
             ok;
    }
    return ok;
}

namespace {

// The directive of a preprocessor line ("ifdef", "endif", ...) and what
// follows it, without the spaces around; an empty directive for other lines.
std::pair<std::string_view, std::string_view> directive(std::string_view line) {
    auto skipSpace = [&line] {
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
    };
    skipSpace();
    if (!line.starts_with('#'))
        return {};
    line.remove_prefix(1);
    skipSpace();
    size_t length = 0;
    while (length < line.size() && line[length] >= 'a' && line[length] <= 'z')
        ++length;
    const std::string_view name = line.substr(0, length);
    line.remove_prefix(length);
    skipSpace();
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r' || line.back() == '\n'))
        line.remove_suffix(1);
    return {name, line};
}

}  // namespace

std::string includedHeader(const EnumType& type, std::string_view header) {
    const std::string macro = "ENUMGEN_SOURCE_" + type.name;
    std::string included;
    included.reserve(header.size());
    auto lineEnd = [header](size_t pos) {
        const size_t newline = header.find('\n', pos);
        return newline == std::string_view::npos ? header.size() : newline + 1;
    };
    size_t pos = 0;
    while (pos < header.size()) {
        size_t end = lineEnd(pos);
        const auto [name, rest] = directive(header.substr(pos, end - pos));
        if (name == "ifdef" && rest == macro) {
            // Up to the part's #endif; a part that cannot be left out is
            // kept whole, and the search goes on after it, so each line is
            // looked at once.
            int depth = 1;
            bool whole = false;
            while (end < header.size() && !whole) {
                const size_t next = lineEnd(end);
                const std::string_view inner = directive(header.substr(end, next - end)).first;
                if (inner == "if" || inner == "ifdef" || inner == "ifndef")
                    ++depth;
                else if (inner == "endif")
                    whole = --depth == 0;
                else if (depth == 1 && inner.starts_with("el"))
                    break;
                end = next;
            }
            if (whole) {
                pos = end;
                continue;
            }
        }
        included.append(header.substr(pos, end - pos));
        pos = end;
    }
    return included;
}

bool writeIncluded(const EnumType& type, const EnumTemplates& templates, OutputRun* run) {
    std::string text;
    // A header too big to fill is reported with the header itself.
    if (!fillOutput(type, templates, true, &text))
        return false;
    return writeOutput(outputPath(run->dir, type, ".hpp"), includedHeader(type, text), run);
}
