// libFuzzer target: arbitrary bytes through the enum-list reader and the
// template filling. The input is an enum list, optionally followed by "\n%%\n"
// and the header template to fill (otherwise one that uses every placeholder).
// Besides crashes it aborts when the same input fills differently twice, when
// an item line does not become exactly one item, or when writing the outputs
// of an error-free list leaves a temporary file behind.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

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

// Item lines counted independently of the reader: after the first line whose
// trimmed text starts with '+', every line whose trimmed text starts with '-'.
size_t itemLines(std::string_view list) {
    constexpr std::string_view kSpace = " \f\v\n\r";
    size_t count = 0;
    bool inEnum = false;
    for (size_t pos = 0; pos < list.size();) {
        size_t end = list.find('\n', pos);
        if (end == std::string_view::npos)
            end = list.size();
        const std::string_view line = list.substr(pos, end - pos);
        pos = end + 1;
        const size_t first = line.find_first_not_of(kSpace);
        if (first == std::string_view::npos)
            continue;
        inEnum = inEnum || line[first] == '+';
        count += inEnum && line[first] == '-';
    }
    return count;
}

struct Filled {
    std::vector<EnumType> enums;
    std::vector<std::string> errors;
    std::vector<std::string> texts;
};

Filled fillAll(std::string_view list, const std::string& headerTemplate) {
    Filled result;
    parseEnumList(list, "enum-list", &result.enums, &result.errors);
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
    std::vector<std::string> errors;
    if (!checkOutputPaths(enums, "enum-list", &errors))
        return;
    for (const EnumType& type : enums)
        write(type, templates, &errors);
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
    check(first.texts == second.texts && first.errors == second.errors, "the same input filled differently");

    size_t items = 0;
    for (const EnumType& type : first.enums)
        items += type.items.size();
    check(items == itemLines(list), "an item line did not become exactly one item");

    if (first.errors.empty() && first.enums.size() <= kMaxEnumsWritten)
        writeAll(first.enums, headerTemplate);
    return 0;
}
