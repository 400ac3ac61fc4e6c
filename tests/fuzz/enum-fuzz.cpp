// SPDX-License-Identifier: MIT
// libFuzzer target: arbitrary bytes through the enum-list reader and the
// template filling. The input is an enum list, optionally followed by "\n%%\n"
// and the header template to fill (otherwise one that uses every placeholder).
// Besides crashes it aborts when the same input reads or fills differently
// twice, or when writing the outputs of a list leaves anything but the enums'
// own files behind.
#include <unistd.h>

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
    checkOutputPaths(enums, kOutputDir, &messages);
    if (hasErrors(messages))
        return;
    OutputRun run;
    for (const EnumType& type : enums)
        write(type, templates, false, false, &run);
    std::set<std::string> outputs;
    for (const EnumType& type : enums)
        outputs.insert({outputPath(kOutputDir, type, ".hpp"), outputPath(kOutputDir, type, ".cpp")});
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

    if (first.enums.size() <= kMaxEnumsWritten)
        writeAll(first.enums, headerTemplate);
    return 0;
}
