// SPDX-License-Identifier: MIT
// Runs of the built generator against failing file systems and inputs, and
// the platform's file operations against a racing process.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstring>
#include <thread>

#include "file-ops.h"
#include "test-util.h"

namespace {

class Run : public testing::Test {
protected:
    void SetUp() override {
        // Big's header outgrows the 2048-byte file-size limit used below.
        std::string list = "+Small\n-A[-first-]\n+Big\n-B\n";
        for (int i = 0; i < 100; ++i)
            list += "!" + std::string(50, 'x') + "\n";
        writeFile(tree.work / "enum-list", list);
        writeFile(tree.work / "enum_type.hpp", "// __ENUM_NAME\n__ENUM_FUNC_DESC_CASES\n__ENUM_HEADER_CONTENTS");
        writeFile(tree.work / "enum_type.cpp", "// __ENUM_NAME: __ENUM_INFOS\n");
        writeFile(tree.work / "enums.hpp", "// __ENUM_TOTAL_COUNT\n");
    }
    TempTree tree;
};

TEST_F(Run, WriteFailuresSpareOtherOutputsAndOldContentThenTheNextRunRepairs) {
    for (const char* name : {"enums.hpp", "enums.cpp", "small.cpp", "big.hpp", "big.cpp"})
        writeFile(tree.out / name, std::string("old ") + name + "\n");
    fs::permissions(tree.out / "big.hpp", fs::perms(0640));
    fs::create_directory(tree.out / "small.hpp");

    RunResult failed = runEnumgen(tree.work, "ulimit -f 4; trap '' XFSZ;", "", "--brief");
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.err,
              "enumgen: error: ../enum/small.hpp: cannot read: Is a directory\n"
              "enumgen: error: ../enum/big.hpp: cannot write: File too large\n");
    EXPECT_EQ(readFile(tree.out / "big.hpp"), "old big.hpp\n");
    for (const char* name : {"enums.hpp", "enums.cpp", "small.cpp", "big.cpp"})
        EXPECT_NE(readFile(tree.out / name).substr(0, 4), "old ") << name << " is written despite the failures";
    EXPECT_EQ(failed.out,
              "Generate enum files\nWrite to ../enum/enums.hpp\nWrite to ../enum/small.cpp\n"
              "Write to ../enum/big.cpp\nWrite to ../enum/enums.cpp\n");
    std::string files;
    for (const auto& [name, text] : snapshot(tree.out))
        files += name + " ";
    EXPECT_EQ(files, "big.cpp big.hpp enums.cpp enums.hpp small.cpp ") << "no temporary file is left";

    fs::remove(tree.out / "small.hpp");
    RunResult repaired = runEnumgen(tree.work);
    EXPECT_EQ(repaired.status, 0) << repaired.err;
    EXPECT_EQ(readFile(tree.out / "big.hpp").substr(0, 7), "// Big\n");
    EXPECT_EQ(fs::status(tree.out / "big.hpp").permissions(), fs::perms(0640)) << "a rewrite keeps the mode";
    mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(fs::status(tree.out / "small.hpp").permissions(), fs::perms(0666 & ~mask));

    // A changed description rewrites only the header that shows it.
    const std::string list = readFile(tree.work / "enum-list");
    writeFile(tree.work / "enum-list", "+Small\n-A[-second-]" + list.substr(list.find('\n', 7)));
    const std::string out = runEnumgen(tree.work).out;
    EXPECT_EQ(out, "Generate enum files\nWrite to ../enum/small.hpp\n" + readFile(tree.out / "small.hpp"));
    EXPECT_NE(out.find("\"second\""), std::string::npos);
    EXPECT_EQ(runEnumgen(tree.work).out, "Generate enum files\n");
}

TEST_F(Run, MissingOutputDirectoryFailsEveryOutputUntilItExists) {
    fs::remove(tree.out);
    RunResult result = runEnumgen(tree.work);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "Generate enum files\n");
    std::string expected;
    for (const char* name : {"enums.hpp", "small.hpp", "small.cpp", "big.hpp", "big.cpp", "enums.cpp"})
        expected += std::string("enumgen: error: ../enum/") + name + ": cannot write: No such file or directory\n";
    EXPECT_EQ(result.err, expected);
    EXPECT_FALSE(fs::exists(tree.out));

    fs::create_directory(tree.out);
    EXPECT_EQ(runEnumgen(tree.root, "", "", "-C work").status, 0);
    EXPECT_EQ(snapshot(tree.out).size(), 6u);
    RunResult check = runEnumgen(tree.work, "", "", "--check");
    EXPECT_EQ(check.status, 0);
    EXPECT_EQ(check.out, "");

    // A build log that takes both streams shows the banner before the list's errors.
    writeFile(tree.work / "enum-list", "-Orphan\n");
    std::system(("cd '" + tree.work.string() + "' && '" ENUMGEN_EXE "' >../log 2>&1").c_str());
    EXPECT_EQ(readFile(tree.root / "log"),
              "Generate enum files\nenum-list:1:1: error: '-' line before the first '+' "
              "line: there is no enum for it to belong to\n");
}

TEST_F(Run, AFifoInPlaceOfAnOutputIsReplacedWithoutWaiting) {
    ASSERT_EQ(::mkfifo((tree.out / "small.cpp").c_str(), 0644), 0);
    EXPECT_EQ(runEnumgen(tree.work).status, 0);
    EXPECT_EQ(readFile(tree.out / "small.cpp"), "// Small:     {Small::A, u\"A\"_q, u\"\"_q, (int)0}\n");
}

TEST_F(Run, AnInterruptedWriteLeavesNoPartialFile) {
    // A 120 MB header takes long enough to write that the signal comes mid-write.
    writeFile(tree.work / "enum-list", "+Big[-" + std::string(30 << 20, 'd') + "-]\n-A\n");
    writeFile(tree.work / "enum_type.hpp", "__ENUM_DESC__ENUM_DESC__ENUM_DESC__ENUM_DESC");
    const fs::path big = tree.out / "big.hpp";
    const std::string old = "old\n";
    auto writing = [&] {
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(tree.out)) {
            const std::string name = entry.path().filename().string();
            if (name.starts_with(".enumgen-") || (name == "big.hpp" && entry.file_size(ec) != old.size()))
                return true;
        }
        return false;
    };
    // An existing file is replaced through a temporary file, a new one is
    // written in place.
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        if (signal == SIGINT)
            writeFile(big, old);
        const pid_t pid = ::fork();
        if (pid == 0) {
            fs::current_path(tree.work);
            std::freopen("/dev/null", "w", stdout);
            ::execl(ENUMGEN_EXE, ENUMGEN_EXE, nullptr);
            ::_exit(127);
        }
        int status = 0;
        while (!writing() && ::waitpid(pid, &status, WNOHANG) == 0) {
        }
        ::kill(pid, signal);
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << strsignal(signal);
        EXPECT_FALSE(writing()) << strsignal(signal);
        EXPECT_TRUE(signal == SIGINT ? readFile(big) == old : !fs::exists(big)) << strsignal(signal);
        fs::remove(big);
    }
}

TEST_F(Run, ALockThatIsNoFileIsOneErrorAtOnce) {
    fs::create_directory(tree.work / "folder.lock");
    ASSERT_EQ(::mkfifo((tree.work / "fifo.lock").c_str(), 0644), 0);
    // Sparse: over 1 GiB long, without taking the room.
    writeFile(tree.root / "big.lock", "");
    fs::resize_file(tree.root / "big.lock", (std::uintmax_t{1} << 30) + 1);
    for (const auto& [lock, reason] :
         {std::pair{"folder.lock", "Is a directory"}, {"fifo.lock", "it is a device, a FIFO or a socket, not a lock file"},
          {"/dev/zero", "it is a device, a FIFO or a socket, not a lock file"},
          {"../big.lock", "it is over 1 GiB, far more than a lock holds"}}) {
        const RunResult result = runEnumgen(tree.work, "", "", std::string("--lock ") + lock);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err, std::string("enumgen: error: ") + lock + ": cannot read: " + reason + "\n");
    }
    EXPECT_TRUE(fs::is_empty(tree.out));
}

TEST_F(Run, BuildsSideBySideNeverSeeAHalfWrittenLock) {
    // Two builds of one tree make the lock at once, round after round.
    const std::string run = "'" ENUMGEN_EXE "' --brief --lock app.lock --output ";
    const int status = std::system(("cd '" + tree.work.string() + "' && mkdir ../a ../b && for i in $(seq 40); do " +
                                    "rm -f app.lock; " + run + "../a > /dev/null & " + run +
                                    "../b > /dev/null || exit 1; wait $! || exit 1; done")
                                       .c_str());
    EXPECT_EQ(status, 0);
    EXPECT_EQ(readFile(tree.work / "app.lock").substr(0, 17), "# enumgen lock 2\n");
}

TEST_F(Run, FailedStandardOutputIsAnError) {
    RunResult result = runEnumgen(tree.work, "", "/dev/full");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "enumgen: error: standard output: cannot write: No space left on device\n");
}

TEST(FileOps, ListingSurvivesEntriesRemovedMeanwhile) {
    // Another process makes and removes files while the folder is listed:
    // an entry can go between being read and being looked at.
    TempTree tree;
    std::atomic<int> rounds = 0;
    std::thread churn([&] {
        for (; rounds < 20; ++rounds) {
            for (int i = 0; i < 100; ++i)
                ::close(::open((tree.out / std::to_string(i)).c_str(), O_CREAT | O_WRONLY, 0644));
            for (int i = 0; i < 100; ++i)
                ::unlink((tree.out / std::to_string(i)).c_str());
        }
    });
    std::string err;
    for (std::vector<std::string> names; rounds < 20 && err.empty(); names.clear())
        listFiles(tree.out.string(), &names, &err);
    rounds = 20;
    churn.join();
    EXPECT_EQ(err, "");
}

}  // namespace
