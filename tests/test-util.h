#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace fs = std::filesystem;

// A fresh directory tree per test: `work` is the generator's working
// directory and `out` its output directory beside it.
struct TempTree {
    TempTree();
    ~TempTree();
    fs::path root;
    fs::path work;
    fs::path out;
};

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the built enumgen in `dir`. A non-zero `fileSizeLimit` caps the size of
// files it writes, with SIGXFSZ ignored so the write itself fails.
RunResult runEnumgen(const fs::path& dir, long fileSizeLimit = 0, const char* stdoutPath = nullptr);

std::string readFile(const fs::path& path);
void writeFile(const fs::path& path, const std::string& text);

// Every regular file below `dir`, by relative path, with its content.
std::map<std::string, std::string> snapshot(const fs::path& dir);
// Every entry below `dir` with its modification time and inode, to see what a
// run touched: a rewrite renames a new file into place, so even a rewrite
// within one clock tick shows.
std::map<std::string, std::string> stamps(const fs::path& dir);
