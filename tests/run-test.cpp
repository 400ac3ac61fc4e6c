// Runs of the built generator against failing file systems and inputs.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "test-util.h"

namespace {

std::string leftoverTemporaries(const fs::path& dir) {
    std::string names;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.path().filename().string().starts_with(".enumgen-"))
            names += entry.path().filename().string() + " ";
    return names;
}

class Run : public testing::Test {
protected:
    void SetUp() override {
        // Big's header outgrows the file-size limit used below; Small's does not.
        std::string list = "+Small\n-A\n+Big\n";
        for (int i = 0; i < 100; ++i)
            list += "!" + std::string(50, 'x') + "\n";
        writeFile(tree.work / "enum-list", list + "-B\n");
        writeFile(tree.work / "enum_type.hpp", "// __ENUM_NAME\n__ENUM_HEADER_CONTENTS");
        writeFile(tree.work / "enum_type.cpp", "// __ENUM_NAME: __ENUM_INFOS\n");
        writeFile(tree.work / "enums.hpp", "// __ENUM_TOTAL_COUNT\n");
    }
    TempTree tree;
};

TEST_F(Run, WriteFailuresSpareOtherOutputsAndOldContentThenTheNextRunRepairs) {
    writeFile(tree.out / "big.hpp", "old big header\n");
    fs::permissions(tree.out / "big.hpp", fs::perms(0640));
    fs::create_directory(tree.out / "small.hpp");

    RunResult failed = runEnumgen(tree.work, 2000);
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.err,
              "enumgen: error: ../enum/small.hpp: cannot read: Is a directory\n"
              "enumgen: error: ../enum/big.hpp: cannot write: File too large\n");
    EXPECT_EQ(failed.out.find("Write to ../enum/big.hpp"), std::string::npos);
    EXPECT_EQ(failed.out.find("Write to ../enum/small.hpp"), std::string::npos);
    EXPECT_EQ(readFile(tree.out / "big.hpp"), "old big header\n");
    EXPECT_EQ(leftoverTemporaries(tree.out), "");
    for (const char* written : {"enums.hpp", "small.cpp", "big.cpp", "enums.cpp"})
        EXPECT_NE(failed.out.find(std::string("Write to ../enum/") + written + "\n"), std::string::npos) << written;

    fs::remove(tree.out / "small.hpp");
    RunResult repaired = runEnumgen(tree.work);
    EXPECT_EQ(repaired.status, 0) << repaired.err;
    EXPECT_EQ(repaired.out.rfind("Generate enum files\nWrite to ../enum/small.hpp\n// Small\n", 0), 0u);
    EXPECT_EQ(readFile(tree.out / "big.hpp").size(), 5107u);
    EXPECT_EQ(fs::status(tree.out / "big.hpp").permissions(), fs::perms(0640)) << "a rewrite keeps the mode";
    mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(fs::status(tree.out / "small.hpp").permissions(), fs::perms(0666 & ~mask));

    EXPECT_EQ(runEnumgen(tree.work).out, "Generate enum files\n");
}

TEST_F(Run, MissingOutputDirectoryFailsEveryOutput) {
    fs::remove(tree.out);
    RunResult result = runEnumgen(tree.work);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "Generate enum files\n");
    std::string expected;
    for (const char* name : {"enums.hpp", "small.hpp", "small.cpp", "big.hpp", "big.cpp", "enums.cpp"})
        expected += std::string("enumgen: error: ../enum/") + name + ": cannot write: No such file or directory\n";
    EXPECT_EQ(result.err, expected);
}

TEST_F(Run, UnreadableInputsStopTheRunBeforeAnyOutput) {
    fs::remove(tree.work / "enum-list");
    fs::create_directory(tree.work / "enum-list");
    fs::remove(tree.work / "enum_type.cpp");
    fs::create_directory(tree.work / "enum_type.cpp");
    writeFile(tree.out / "enums.hpp", "old\n");
    RunResult result = runEnumgen(tree.work);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "Generate enum files\n");
    EXPECT_EQ(result.err,
              "enumgen: error: enum-list: cannot read: Is a directory\n"
              "enumgen: error: enum_type.cpp: cannot read: Is a directory\n");
    EXPECT_EQ(snapshot(tree.out), (std::map<std::string, std::string>{{"enums.hpp", "old\n"}}));
}

TEST_F(Run, OutputDirectoryMustNotBeTheWorkingDirectory) {
    // Run inside ../enum itself: the registry header would overwrite its template.
    for (const char* input : {"enum-list", "enums.hpp", "enum_type.hpp", "enum_type.cpp"})
        fs::copy_file(tree.work / input, tree.out / input);
    RunResult result = runEnumgen(tree.out);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err,
              "enumgen: error: ../enum/: is the working directory, so the generated files would overwrite the "
              "templates\n");
    EXPECT_EQ(readFile(tree.out / "enums.hpp"), "// __ENUM_TOTAL_COUNT\n");
}

TEST_F(Run, FailedStandardOutputIsAnError) {
    RunResult result = runEnumgen(tree.work, 0, "/dev/full");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "enumgen: error: standard output: cannot write: No space left on device\n");
}

}  // namespace
