// libFuzzer target: arbitrary bytes through the enum-list reader and the
// template filling. The input is an enum list, optionally followed by "\n%%\n"
// and the header template to fill (otherwise one that uses every placeholder).
// Besides crashes it aborts when the same input fills differently twice, when
// a "+" or "-" line does not become exactly one enum or item with the line's
// fields, or when writing the outputs of an error-free list leaves anything
// but the enums' own files behind.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "enum-check.h"
#include "enum-reader.h"
#include "enum-writer.h"

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kSeparator = "\n%%\n";
// Small, so inputs that multiply their output stay fast to run.
constexpr size_t kMaxOutput = 1 << 16;
// Writing is slow; lists with more enums are only filled.
constexpr size_t kMaxEnumsWritten = 16;

const std::string kEveryPlaceholder =
    "__ENUM_NAME __ENUM_KEY __ENUM_DESC __ENUM_DEFAULT __ENUM_DATA_TYPE __ENUM_HEADER_CONTENTS "
    "__ENUM_FOOTER_CONTENTS __ENUM_UPPERS __ENUM_LOWERS __ENUM_IS_FLAG __ENUM_FLAGS_NAME {__ENUM_VALUES} "
    "__ENUM_COUNT __ENUM_FUNC_DESC_CASES __ENUM_FUNC_ITEM __ENUM_INFOS";

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "enum-fuzz: %s\n", what);
        std::abort();
    }
}

// The "+" and "-" lines after the first "+", read the plain way: each field
// searched for on the whole line, the name ending at the first marker.
struct Definition {
    char lead;
    std::string_view name, key, value, desc, data, flags;
};

std::string_view between(std::string_view text, std::string_view open, std::string_view close) {
    size_t start = text.find(open);
    if (start == std::string_view::npos)
        return {};
    start += open.size();
    const size_t end = text.find(close, start);
    return end == std::string_view::npos ? std::string_view() : text.substr(start, end - start);
}

std::vector<Definition> definitions(std::string_view list) {
    constexpr std::string_view kSpace = " \f\v\n\r";
    std::vector<Definition> result;
    for (size_t pos = 0; pos < list.size();) {
        size_t end = list.find('\n', pos);
        if (end == std::string_view::npos)
            end = list.size();
        std::string_view line = list.substr(pos, end - pos);
        pos = end + 1;
        const size_t first = line.find_first_not_of(kSpace);
        if (first == std::string_view::npos)
            continue;
        line = line.substr(first, line.find_last_not_of(kSpace) - first + 1);
        if ((line[0] != '+' && line[0] != '-') || (line[0] == '-' && result.empty()))
            continue;
        std::string_view text = line.substr(line.size() > 1 && line[1] == '*' ? 2 : 1);
        size_t nameEnd = text.size();
        for (std::string_view opener : {"[[", "[=", "[-", "[:", "[~"})
            nameEnd = std::min(nameEnd, text.find(opener));
        result.push_back({line[0], text.substr(0, nameEnd), between(text, "[[", "]]"), between(text, "[=", "=]"),
                          between(text, "[-", "-]"), between(text, "[:", ":]"), between(text, "[~", "~]")});
    }
    return result;
}

// Every "+" line became one enum and every "-" line one item, with the fields
// the line holds.
void checkDefinitions(std::string_view list, const std::vector<EnumType>& enums) {
    const std::vector<Definition> defs = definitions(list);
    size_t enumCount = 0, itemCount = 0;
    for (const Definition& def : defs) {
        if (def.lead == '+') {
            check(enumCount < enums.size(), "a '+' line did not become an enum");
            const EnumType& type = enums[enumCount++];
            check(type.name == def.name && type.key == def.key && type.desc == def.desc &&
                      type.flagsName == def.flags && type.dataType == (def.data.empty() ? "QVariant" : def.data),
                  "an enum's fields differ from its line");
            itemCount = 0;
            continue;
        }
        const EnumType& type = enums[enumCount - 1];
        check(itemCount < type.items.size(), "a '-' line did not become an item");
        const EnumType::Item& item = type.items[itemCount++];
        check(item.name == def.name && item.key == def.key && item.desc == def.desc &&
                  (def.value.empty() || item.value == def.value) && (def.data.empty() || item.data == def.data),
              "an item's fields differ from its line");
    }
    size_t items = 0;
    for (const EnumType& type : enums)
        items += type.items.size();
    size_t itemLines = 0;
    for (const Definition& def : defs)
        itemLines += def.lead == '-';
    check(enumCount == enums.size() && items == itemLines, "the reader made enums or items of no line");
}

struct Filled {
    std::vector<EnumType> enums;
    ListMessages messages;
    std::vector<std::string> texts;
};

Filled fillAll(std::string_view list, const std::string& headerTemplate) {
    Filled result;
    parseEnumList(list, &result.enums, &result.messages);
    checkEnums(result.enums, &result.messages);
    for (const EnumType& type : result.enums) {
        std::string header = headerTemplate;
        std::string source = kEveryPlaceholder;
        const bool fits = fillHeader(type, &header, kMaxOutput) && fillSource(type, &source, kMaxOutput);
        result.texts.push_back(fits ? header + source : "(too large)");
    }
    return result;
}

// Writes every enum's files into ../enum, then checks that nothing but the
// enums' own files is there and empties the folder again.
void writeAll(const std::vector<EnumType>& enums, const std::string& headerTemplate) {
    EnumTemplates templates{headerTemplate, kEveryPlaceholder, kMaxOutput};
    ListMessages messages;
    checkOutputPaths(enums, &messages);
    if (hasErrors(messages))
        return;
    OutputRun run;
    for (const EnumType& type : enums)
        write(type, templates, &run);
    std::set<std::string> outputs;
    for (const EnumType& type : enums)
        outputs.insert({outputPath(type, ".hpp"), outputPath(type, ".cpp")});
    for (const auto& entry : fs::directory_iterator(kOutputDir)) {
        check(outputs.count(kOutputDir + entry.path().filename().string()), "a temporary file was left");
        fs::remove(entry.path());
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The outputs go to ../enum, as in a real run; their echo goes nowhere.
    check(std::freopen("/dev/null", "w", stdout) != nullptr, "cannot silence standard output");
    static std::string root = (fs::temp_directory_path() / "enum-fuzz-XXXXXX").string();
    check(::mkdtemp(root.data()) != nullptr, "cannot make a temporary directory");
    fs::create_directory(fs::path(root) / "work");
    fs::create_directory(fs::path(root) / "enum");
    fs::current_path(fs::path(root) / "work");
    std::atexit([] { fs::remove_all(root); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find(kSeparator);
    const std::string_view list = input.substr(0, split);
    const std::string headerTemplate =
        split == std::string_view::npos ? kEveryPlaceholder : std::string(input.substr(split + kSeparator.size()));

    const Filled first = fillAll(list, headerTemplate);
    const Filled second = fillAll(list, headerTemplate);
    check(first.texts == second.texts && first.messages == second.messages, "the same input filled differently");

    checkDefinitions(list, first.enums);

    if (first.enums.size() <= kMaxEnumsWritten)
        writeAll(first.enums, headerTemplate);
    return 0;
}
