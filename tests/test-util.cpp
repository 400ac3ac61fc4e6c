// SPDX-License-Identifier: MIT
#include "test-util.h"

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

TempTree::TempTree() {
    std::string pattern = (fs::temp_directory_path() / "enumgen-test-XXXXXX").string();
    root = ::mkdtemp(pattern.data());
    work = root / "work";
    out = root / "enum";
    fs::create_directory(work);
    fs::create_directory(out);
}

TempTree::~TempTree() { fs::remove_all(root); }

RunResult runEnumgen(const fs::path& dir, const std::string& setup, std::string stdoutPath, const std::string& args) {
    const std::string errPath = (dir.parent_path() / "stderr.txt").string();
    const bool captureOut = stdoutPath.empty();
    if (captureOut)
        stdoutPath = (dir.parent_path() / "stdout.txt").string();
    const char* custom = std::getenv("ENUMGEN_COMMAND");
    const std::string command = "cd '" + dir.string() + "' && " + setup + " exec " +
                                (custom ? custom : "'" ENUMGEN_EXE "'") + " " + args + " >'" + stdoutPath + "' 2>'" +
                                errPath + "'";
    RunResult result;
    result.status = WEXITSTATUS(std::system(command.c_str()));
    if (captureOut)
        result.out = readFile(stdoutPath);
    result.err = readFile(errPath);
    return result;
}

std::string readFile(const fs::path& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

void writeFile(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::map<std::string, std::string> snapshot(const fs::path& dir) {
    std::map<std::string, std::string> files;
    if (!fs::exists(dir))
        return files;
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), dir).string()] = readFile(entry.path());
    return files;
}

std::map<std::string, std::string> stamps(const fs::path& dir) {
    std::map<std::string, std::string> result;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        struct stat st;
        ::lstat(entry.path().c_str(), &st);
        result[fs::relative(entry.path(), dir).string()] = std::to_string(st.st_ino) + "@" +
                                                           std::to_string(st.st_mtim.tv_sec) + "." +
                                                           std::to_string(st.st_mtim.tv_nsec);
    }
    return result;
}
