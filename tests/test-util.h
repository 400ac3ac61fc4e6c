// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace fs = std::filesystem;

// A fresh tree per test: `work` is the generator's working directory and
// `out` the output directory beside it.
struct TempTree {
    TempTree();
    ~TempTree();
    fs::path root, work, out;
};

struct RunResult {
    int status = -1;
    std::string out, err;
};

// Runs enumgen in `dir` from a shell with `args` (shell words), after `setup`
// (limits, traps); standard output is captured unless it goes to `stdoutPath`.
// The command is the built enumgen, or $ENUMGEN_COMMAND when that is set.
RunResult runEnumgen(const fs::path& dir, const std::string& setup = "", std::string stdoutPath = "",
                     const std::string& args = "");

std::string readFile(const fs::path& path);
void writeFile(const fs::path& path, const std::string& text);

// Every regular file below `dir` with its content; none when `dir` is missing.
std::map<std::string, std::string> snapshot(const fs::path& dir);
// Every entry below `dir` with its inode and modification time: a rewrite
// renames a new file into place, so even one within a clock tick shows.
std::map<std::string, std::string> stamps(const fs::path& dir);
