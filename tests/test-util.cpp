#include "test-util.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

TempTree::TempTree() {
    std::string pattern = (fs::temp_directory_path() / "enumgen-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    root = pattern;
    work = root / "work";
    out = root / "enum";
    fs::create_directory(work);
    fs::create_directory(out);
}

TempTree::~TempTree() {
    std::error_code ec;
    fs::remove_all(root, ec);
}

RunResult runEnumgen(const fs::path& dir, long fileSizeLimit, const char* stdoutPath) {
    char outName[] = "/tmp/enumgen-out-XXXXXX";
    char errName[] = "/tmp/enumgen-err-XXXXXX";
    int outFd = ::mkstemp(outName);
    int errFd = ::mkstemp(errName);
    pid_t pid = ::fork();
    if (pid == 0) {
        if (stdoutPath)
            outFd = ::open(stdoutPath, O_WRONLY);
        ::dup2(outFd, 1);
        ::dup2(errFd, 2);
        if (fileSizeLimit > 0) {
            std::signal(SIGXFSZ, SIG_IGN);
            struct rlimit limit = {static_cast<rlim_t>(fileSizeLimit), static_cast<rlim_t>(fileSizeLimit)};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        if (::chdir(dir.c_str()) == 0)
            ::execl(ENUMGEN_EXE, "enumgen", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ::close(outFd);
    ::close(errFd);
    RunResult result;
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = readFile(outName);
    result.err = readFile(errName);
    ::unlink(outName);
    ::unlink(errName);
    return result;
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

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
