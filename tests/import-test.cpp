// SPDX-License-Identifier: MIT
// Golden cases of enumgen-import: each folder under import/golden/ holds the
// headers of a case, its command line in `args` (one argument a line) and
// what the run must give: expected/list (standard output), expected/stderr,
// expected/status, and any file of another name in expected/ as the run
// leaves it in the case's folder. The case runs in a copy of its folder, in
// whose files and arguments @DIR@ stands for the copy and @FAKE_QT@ for the
// stand-in of Qt's macros; messages name the copy @DIR@. Every list a run
// writes must read, and fill the Qt templates, without an error from enumgen.
// Each case runs with one, three and the default number of parsing threads.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "test-util.h"

namespace {

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

RunResult runIn(const fs::path& dir, const std::string& command) {
    RunResult result;
    const std::string shell = "cd '" + dir.string() + "' && " + command + " >'" + (dir / ".stdout").string() + "' 2>'" +
                              (dir / ".stderr").string() + "'";
    result.status = WEXITSTATUS(std::system(shell.c_str()));
    result.out = readFile(dir / ".stdout");
    result.err = readFile(dir / ".stderr");
    fs::remove(dir / ".stdout");
    fs::remove(dir / ".stderr");
    return result;
}

class Import : public testing::TestWithParam<std::string> {};

TEST_P(Import, ListAndMessagesMatchExpected) {
    const fs::path source = fs::path(IMPORT_DIR) / "golden" / GetParam();
    TempTree tree;
    const fs::path dir = tree.work;
    const auto substitute = [&](const std::string& text) {
        return replaceAll(replaceAll(text, "@DIR@", dir.string()), "@FAKE_QT@", IMPORT_DIR "/fake-qt");
    };
    for (const auto& [path, text] : snapshot(source))
        if (!path.starts_with("expected")) {
            fs::create_directories((dir / path).parent_path());
            writeFile(dir / path, substitute(text));
        }
    std::string arguments;
    std::istringstream args(readFile(source / "args"));
    for (std::string arg; std::getline(args, arg);)
        arguments += " '" + substitute(arg) + "'";

    const fs::path expected = source / "expected";
    // However many headers are parsed at once, the run gives the same.
    RunResult run;
    for (const char* jobs : {" -j1", " -j3", ""}) {
        run = runIn(dir, "'" IMPORT_EXE "'" + std::string(jobs) + arguments);
        EXPECT_EQ(run.status, std::stoi(readFile(expected / "status"))) << jobs;
        EXPECT_EQ(run.out, readFile(expected / "list")) << jobs;
        EXPECT_EQ(replaceAll(run.err, dir.string(), "@DIR@"), readFile(expected / "stderr")) << jobs;
    }
    std::vector<fs::path> lists;
    if (run.out.starts_with("#"))
        lists.push_back(dir / ".list");
    writeFile(dir / ".list", run.out);
    for (const auto& [name, text] : snapshot(expected))
        if (name != "list" && name != "stderr" && name != "status") {
            EXPECT_EQ(readFile(dir / name), text) << name;
            lists.push_back(dir / name);
        }
    for (const fs::path& list : lists) {
        const RunResult generated =
            runIn(tree.out, "'" ENUMGEN_EXE "' --brief --templates '" TEMPLATES_DIR "' --list '" + list.string() + "'");
        EXPECT_EQ(generated.status, 0) << generated.err;
        EXPECT_EQ(generated.err.find(": error:"), std::string::npos) << generated.err;
    }
}

std::vector<std::string> cases() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(fs::path(IMPORT_DIR) / "golden"))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

INSTANTIATE_TEST_SUITE_P(Cases, Import, testing::ValuesIn(cases()),
                         [](const testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

}  // namespace
