// SPDX-License-Identifier: MIT
// The writer over a fake file system (fake-file-ops.cpp) that fails on
// demand, through the library's own write path.
#include <gtest/gtest.h>

#include <map>

#include "enum-generate.h"
#include "fake-file-ops.h"

namespace {

// The paths of the events each run told, by kind, each followed by a space.
std::map<OutputEvent::Kind, std::string> told;

void record(OutputMode, const OutputEvent& event) { told[event.kind] += std::string(event.path) + " "; }

class Fault : public testing::Test {
protected:
    void SetUp() override {
        fakeFiles() = {};
        told.clear();
        for (const char* name : {"Color", "Size"}) {
            EnumType& type = enums.emplace_back();
            type.name = name;
            type.items.resize(1);
            type.items[0].name = texts.keep(type.name + "Item");
        }
        templates.registry = "// __ENUM_TOTAL_COUNT\n";
        templates.enumFiles.header = "// __ENUM_NAME header\n";
        templates.enumFiles.source = "// __ENUM_NAME source\n";
        run.tell = record;
    }
    TextStore texts;
    std::vector<EnumType> enums;
    Templates templates;
    OutputRun run;
};

TEST_F(Fault, FailedWritesKeepTheOldTextLeaveNoNewFileAndSpareTheOtherOutputs) {
    fakeFiles().files = {{"../enum/color.hpp", "old\n"}, {"../enum/size.hpp", "old\n"}};
    fakeFiles().failing = {"write ../enum/color.hpp", "read ../enum/size.hpp"};
    // Room for all but the last output, the registry source.
    fakeFiles().spaceLeft = 100;
    writeOutputs(enums, templates, StaleOutputs::Kept, &run);
    EXPECT_EQ(run.errors, (std::vector<std::string>{"../enum/color.hpp: cannot write: Input/output error",
                                                    "../enum/size.hpp: cannot read: Input/output error",
                                                    "../enum/enums.cpp: cannot write: No space left on device"}));
    EXPECT_EQ(told[OutputEvent::Kind::Written], "../enum/enums.hpp ../enum/color.cpp ../enum/size.cpp ");
    EXPECT_EQ(fakeFiles().files["../enum/color.cpp"], "// Color source\n");
    EXPECT_EQ(fakeFiles().files["../enum/color.hpp"], "old\n");
    EXPECT_EQ(fakeFiles().files["../enum/size.hpp"], "old\n");
    EXPECT_FALSE(fakeFiles().files.count("../enum/enums.cpp"));
}

TEST_F(Fault, StaleFilesGoEvenWhenOneVanishesAndAFailedListingIsReported) {
    fakeFiles().files = {{"../enum/old.hpp", ""}, {"../enum/gone.cpp", ""}, {"../enum/notes.txt", ""},
                         {"../enum/sub/deep.hpp", ""}, {"../include/old.hpp", ""}, {"../include/locked.hpp", ""}};
    fakeFiles().vanishing = "../enum/gone.cpp";
    fakeFiles().failing = {"remove ../include/locked.hpp"};
    writeOutputs(enums, templates, StaleOutputs::Removed, &run);
    EXPECT_EQ(run.errors, std::vector<std::string>());
    EXPECT_EQ(told[OutputEvent::Kind::Removed], "../enum/old.hpp ");
    EXPECT_TRUE(fakeFiles().files.count("../enum/notes.txt") && fakeFiles().files.count("../enum/sub/deep.hpp"));

    told.clear();
    OutputRun included;
    included.dir = "../include/";
    included.tell = record;
    writeIncludedCopies(enums, templates, StaleOutputs::Removed, &included);
    EXPECT_EQ(included.errors, std::vector<std::string>{"../include/locked.hpp: cannot remove: Input/output error"});
    EXPECT_EQ(told[OutputEvent::Kind::Removed], "../include/old.hpp ");
    EXPECT_EQ(fakeFiles().files["../include/color.hpp"], "// Color header\n");

    OutputRun unlisted;
    fakeFiles().failing = {"list ../enum/"};
    fakeFiles().files["../enum/old.cpp"] = "";
    EXPECT_FALSE(removeStaleOutputs(&unlisted));
    EXPECT_EQ(unlisted.errors, std::vector<std::string>{"../enum/: cannot list: Input/output error"});
    EXPECT_TRUE(fakeFiles().files.count("../enum/old.cpp"));
}

TEST_F(Fault, AnEmptyOutputIsMadeOnlyByARunToldItsFolder) {
    templates = {};
    writeOutputs(enums, templates, StaleOutputs::Kept, &run);
    EXPECT_EQ(told[OutputEvent::Kind::Written], "../enum/enums.cpp ");

    fakeFiles() = {};
    OutputRun check;
    check.tell = record;
    check.mode = OutputMode::Check;
    check.writing.missing = MissingOutput::DiffersFromAll;
    writeOutputs(enums, templates, StaleOutputs::Kept, &check);
    EXPECT_EQ(told[OutputEvent::Kind::OutOfDate],
              "../enum/enums.hpp ../enum/color.hpp ../enum/color.cpp ../enum/size.hpp ../enum/size.cpp "
              "../enum/enums.cpp ");
    EXPECT_TRUE(fakeFiles().files.empty());

    run = {};
    run.tell = record;
    run.writing.missing = MissingOutput::DiffersFromAll;
    writeOutputs(enums, templates, StaleOutputs::Kept, &run);
    EXPECT_EQ(fakeFiles().files.size(), 6u);
    EXPECT_EQ(fakeFiles().files["../enum/color.hpp"], "");
}

TEST_F(Fault, AnInterruptionAnywhereRemovesOnlyWhatTheRunCreated) {
    // The last run made every output but enums.cpp, which is gone since; a
    // missing output is followed by the lock, which must survive whatever
    // happens while its new text is written.
    const std::map<std::string, std::string> before = {
        {"../enum/enums.hpp", "// 2\n"},          {"../enum/color.hpp", "old\n"},
        {"../enum/color.cpp", "// Color source\n"}, {"../enum/size.hpp", "// Size header\n"},
        {"../enum/size.cpp", "// Size source\n"},   {"app.enums.lock", "old lock\n"}};
    auto runWith = [&](int interruptAt) {
        fakeFiles() = {};
        fakeFiles().files = before;
        fakeFiles().interruptAt = interruptAt;
        run = {};
        writeOutputs(enums, templates, StaleOutputs::Kept, &run);
        OutputRun lock;
        lock.dir = "";
        lock.writing.newFiles = NewFiles::ThroughTemporary;
        writeOutput("app.enums.lock", "new lock\n", &lock);
    };
    runWith(-1);
    const std::map<std::string, std::string> after = fakeFiles().files;
    ASSERT_EQ(after.size(), before.size() + 1);
    ASSERT_EQ(after.at("app.enums.lock"), "new lock\n");
    const int calls = fakeFiles().calls;
    for (int at = 1; at <= calls; ++at) {
        EXPECT_THROW(runWith(at), FakeInterrupt);
        // Every file holds its old text or its whole new one, or is missing
        // when the run would have made it; no temporary file is left.
        for (const auto& [path, text] : fakeFiles().files)
            EXPECT_TRUE(after.count(path) && (text == after.at(path) || (before.count(path) && text == before.at(path))))
                << path << " holds '" << text << "' after an interruption at call " << at;
        for (const auto& [path, text] : before)
            EXPECT_TRUE(fakeFiles().files.count(path)) << path << " is gone after an interruption at call " << at;
    }
}

}  // namespace
