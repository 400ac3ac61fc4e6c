// SPDX-License-Identifier: MIT
// Golden cases: each folder under golden/ holds an input tree and what a run
// over it must leave behind.
//   input/            (optional) the working directory: enum list and templates
//   before/           (optional) the output directory's content before the run
//   expected/enum/    the output directory's whole content after the run
//   expected/work/    (optional) the files of the working directory that the
//                     run writes, such as a lock; every other input must stay
//   expected/stdout, expected/stderr, expected/status
//   args              (optional) the command line, one argument a line
//   expected-<platform>/  (optional) in place of expected/ where the platform
//                     $ENUMGEN_PLATFORM behaves otherwise
// Every case is run twice; the second run must touch nothing and print the
// same again, or only the banner after a first run that wrote files.
#include <gtest/gtest.h>

#include <sstream>

#include "test-util.h"

namespace {

std::vector<std::string> goldenCases() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(GOLDEN_DIR))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class Golden : public testing::TestWithParam<std::string> {};

TEST_P(Golden, RunMatchesExpectedAndSecondRunChangesNothing) {
    const fs::path dir = fs::path(GOLDEN_DIR) / GetParam();
    TempTree tree;
    if (fs::exists(dir / "input"))
        fs::copy(dir / "input", tree.work, fs::copy_options::recursive);
    if (fs::exists(dir / "before"))
        fs::copy(dir / "before", tree.out, fs::copy_options::recursive);
    const char* platform = std::getenv("ENUMGEN_PLATFORM");
    fs::path expected = dir / "expected";
    if (platform && fs::exists(dir / ("expected-" + std::string(platform))))
        expected = dir / ("expected-" + std::string(platform));
    const int expectedStatus = std::stoi(readFile(expected / "status"));
    std::string args;
    std::istringstream lines(readFile(dir / "args"));
    for (std::string arg; std::getline(lines, arg);)
        args += " '" + arg + "'";

    const auto old = snapshot(tree.out);
    const auto inputs = snapshot(tree.work);
    auto work = inputs;
    for (const auto& [name, text] : snapshot(expected / "work"))
        work[name] = text;
    RunResult first = runEnumgen(tree.work, "", "", args);
    EXPECT_EQ(first.status, expectedStatus);
    EXPECT_EQ(first.out, readFile(expected / "stdout"));
    EXPECT_EQ(first.err, readFile(expected / "stderr"));
    EXPECT_EQ(snapshot(tree.out), snapshot(expected / "enum"));
    EXPECT_EQ(snapshot(tree.work), work) << "inputs must never change, but for what expected/work names";

    const auto before = stamps(tree.out), workBefore = stamps(tree.work);
    RunResult second = runEnumgen(tree.work, "", "", args);
    EXPECT_EQ(second.status, expectedStatus);
    const bool wrote = snapshot(tree.out) != old || work != inputs;
    EXPECT_EQ(second.out, wrote ? "Generate enum files\n" : first.out);
    // What --lock-update accepted it says once, when it writes the lock.
    std::string accepted;
    std::istringstream errLines(first.err);
    for (std::string line; std::getline(errLines, line);)
        if (line.find(": note: accepted: ") == std::string::npos)
            accepted += line + "\n";
    EXPECT_EQ(second.err, accepted);
    EXPECT_EQ(stamps(tree.out), before);
    EXPECT_EQ(stamps(tree.work), workBefore);
}

INSTANTIATE_TEST_SUITE_P(Cases, Golden, testing::ValuesIn(goldenCases()),
                         [](const testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

}  // namespace
