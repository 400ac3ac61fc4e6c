// SPDX-License-Identifier: MIT
// libFuzzer target: arbitrary bytes through the analysis of an enum list and
// the template filling. The input is an enum list, optionally followed by
// "\n%%\n" and the header template to fill (otherwise one that uses every
// placeholder). Besides crashes it aborts when the same input reads or fills
// differently twice, or when writing the outputs of a list, as the command
// line does, leaves anything but those outputs behind.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "enum-analysis.h"
#include "enum-generate.h"

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
    "__ENUM_COUNT __ENUM_FUNC_DESC_CASES __ENUM_FUNC_ITEM __ENUM_INFOS __ENUM_TR_CASES __ENUM_FORMER_TEXTS "
    "__ENUM_RETIRED_TEXTS __ENUM_ALIASES";

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "enum-fuzz: %s\n", what);
        std::abort();
    }
}

struct Filled {
    ListAnalysis analysis;
    std::vector<std::string> texts;
};

Filled fillAll(std::string_view list, const std::string& headerTemplate) {
    Filled result{analyzeList(std::string(list), {kOutputDir, QmlNames::Checked}), {}};
    for (const EnumType& type : result.analysis.enums) {
        std::string header = headerTemplate;
        std::string source = kEveryPlaceholder;
        const bool fits = fillHeader(type, &header, kMaxOutput) && fillSource(type, &source, kMaxOutput);
        result.texts.push_back(fits ? header + source : "(too large)");
    }
    return result;
}

// Writes the outputs into ../enum as a run does, removing those of the
// input before, then checks that nothing but this list's outputs is there.
void writeAll(const std::vector<EnumType>& enums, const std::string& headerTemplate) {
    const Templates templates{"__ENUM_TOTAL_COUNT", {headerTemplate, kEveryPlaceholder, kMaxOutput}};
    OutputRun run;
    writeOutputs(enums, templates, StaleOutputs::Removed, &run);
    const std::vector<std::string> paths = outputPaths(enums, kOutputDir, "");
    const std::set<std::string> outputs(paths.begin(), paths.end());
    for (const auto& entry : fs::directory_iterator(kOutputDir))
        check(outputs.count(kOutputDir + entry.path().filename().string()), "a file other than an output was left");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The outputs go to ../enum, as in a real run.
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
    check(first.texts == second.texts && first.analysis.messages == second.analysis.messages,
          "the same input filled differently");

    // A list with errors writes nothing, as in a run.
    if (first.analysis.enums.size() <= kMaxEnumsWritten && !hasErrors(first.analysis.messages))
        writeAll(first.analysis.enums, headerTemplate);
    return 0;
}
