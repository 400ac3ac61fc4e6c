// Scripted sessions of enumgen --lsp: each folder here holds
//   messages  what the editor sends, one JSON body a line, framed by the test;
//             a line starting with '!' is a JSON string sent as raw bytes, and
//             '#' starts a comment
//   answers   every message enumgen must send back, one a line, compared as JSON
//   status    the exit status
//   files/    (optional) files the session's working directory holds, $WORK
//             in messages and answers
// "$WORK" in messages and answers is the working directory's path.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "../test-util.h"

namespace {

using json = nlohmann::json;

std::vector<std::string> lines(const fs::path& path) {
    std::vector<std::string> result;
    std::istringstream text(readFile(path));
    for (std::string line; std::getline(text, line);)
        if (!line.empty() && !line.starts_with('#'))
            result.push_back(line);
    return result;
}

class Session : public testing::TestWithParam<std::string> {};

TEST_P(Session, AnswersAndStatusMatch) {
    const fs::path dir = fs::path(LSP_DIR) / GetParam();
    TempTree tree;
    if (fs::exists(dir / "files"))
        fs::copy(dir / "files", tree.work, fs::copy_options::recursive);
    const auto placed = [&tree](std::string line) {
        for (size_t at; (at = line.find("$WORK")) != std::string::npos;)
            line.replace(at, 5, tree.work.string());
        return line;
    };
    std::string input;
    for (std::string line : lines(dir / "messages")) {
        line = placed(line);
        input += line.starts_with('!') ? json::parse(line.substr(1)).get<std::string>()
                                       : "Content-Length: " + std::to_string(line.size()) + "\r\n\r\n" + line;
    }
    writeFile(tree.root / "messages", input);
    const RunResult run = runEnumgen(tree.work, "", "", "--lsp < ../messages");
    EXPECT_EQ(run.status, std::stoi(readFile(dir / "status")));

    std::vector<json> answers;
    for (size_t at = 0; (at = run.out.find("Content-Length: ", at)) != std::string::npos;) {
        const size_t length = std::stoul(run.out.substr(at + 16));
        at = run.out.find("\r\n\r\n", at) + 4;
        answers.push_back(json::parse(run.out.substr(at, length)));
        at += length;
    }
    const std::vector<std::string> expected = lines(dir / "answers");
    for (size_t i = 0; i < std::max(answers.size(), expected.size()); ++i)
        EXPECT_EQ(i < answers.size() ? answers[i] : json(),
                  i < expected.size() ? json::parse(placed(expected[i])) : json())
            << "answer " << i + 1;
}

INSTANTIATE_TEST_SUITE_P(Sessions, Session, testing::Values("editing", "lock", "utf-8-exit-without-shutdown"),
                         [](const testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

}  // namespace
