// Golden cases: each folder under golden/ holds an input tree and what a run
// over it must leave behind.
//   input/            the working directory: enum list and templates
//   before/           (optional) the output directory's content before the run
//   expected/enum/    the output directory's whole content after the run
//   expected/stdout, expected/stderr, expected/status
// Every case is run twice; the second run must touch nothing and print only
// the banner (or, for a failing case, fail the same way again).
#include <gtest/gtest.h>

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
    fs::copy(dir / "input", tree.work, fs::copy_options::recursive);
    if (fs::exists(dir / "before"))
        fs::copy(dir / "before", tree.out, fs::copy_options::recursive);
    const int expectedStatus = std::stoi(readFile(dir / "expected" / "status"));

    RunResult first = runEnumgen(tree.work);
    EXPECT_EQ(first.status, expectedStatus);
    EXPECT_EQ(first.out, readFile(dir / "expected" / "stdout"));
    EXPECT_EQ(first.err, readFile(dir / "expected" / "stderr"));
    EXPECT_EQ(snapshot(tree.out), snapshot(dir / "expected" / "enum"));
    EXPECT_EQ(snapshot(tree.work), snapshot(dir / "input")) << "inputs must never change";

    const auto before = stamps(tree.out);
    RunResult second = runEnumgen(tree.work);
    EXPECT_EQ(second.status, expectedStatus);
    EXPECT_EQ(second.out, "Generate enum files\n");
    EXPECT_EQ(second.err, first.err);
    EXPECT_EQ(stamps(tree.out), before);
}

INSTANTIATE_TEST_SUITE_P(Cases, Golden, testing::ValuesIn(goldenCases()),
                         [](const testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

}  // namespace
