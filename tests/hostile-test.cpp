// SPDX-License-Identifier: MIT
// Big and hostile enum lists through the built generator with the bundled
// templates: each run completes, or fails with a short message, within a
// memory cap of a small multiple of its input and output.
#include <gtest/gtest.h>

#include "test-util.h"

namespace {

class Hostile : public testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"enum_type.hpp", "enum_type.cpp", "enums.hpp"})
            fs::copy_file(fs::path(TEMPLATES_DIR) / name, tree.work / name);
    }

    // Runs enumgen with the address space capped at three times `bytes`, the
    // size of its input and output, plus room for the program itself. Sanitizer
    // builds reserve address space up front, so they run uncapped.
    RunResult run(size_t bytes) {
#ifdef ENUMGEN_SANITIZE
        (void)bytes;
        return runEnumgen(tree.work, "", "/dev/null");
#else
        const size_t capKiB = (3 * bytes >> 10) + (64 << 10);
        return runEnumgen(tree.work, "ulimit -v " + std::to_string(capKiB) + ";", "/dev/null");
#endif
    }

    TempTree tree;
};

TEST_F(Hostile, HundredMegabyteListOfTenThousandEnums) {
    // Long texts make the list big; ten thousand enums are enough files to
    // show a run stays linear without timing the file system.
    std::string list;
    const std::string padding(850, 'x');
    for (int e = 0; e < 10000; ++e) {
        list += "+Enum" + std::to_string(e) + "[[enum-" + std::to_string(e) + "]][-Enum number " + padding + "-]\n";
        for (int i = 0; i < 10; ++i)
            list += "-Item" + std::to_string(i) + "[[item-" + std::to_string(i) + "]][-Item " + padding + "-]\n";
    }
    ASSERT_GT(list.size(), 90u << 20);
    writeFile(tree.work / "enum-list", list);
    RunResult result = run(list.size() + (150u << 20));
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(std::distance(fs::directory_iterator(tree.out), fs::directory_iterator()), 20002);
    EXPECT_NE(readFile(tree.out / "enum9999.hpp").find("Item9 = 9"), std::string::npos);
}

TEST_F(Hostile, MillionItemsInOneEnumAndFiftyMegabyteLines) {
    std::string list = "+Huge[[huge]][-" + std::string(50 << 20, 'd') + "-]\n#" + std::string(50 << 20, 'c') + "\n";
    // Two equal keys far apart must still meet in the checks' tables.
    for (int i = 0; i < 1000000; ++i)
        list += "-I" + std::to_string(i) + "[[k" + std::to_string(i == 999998 ? 7 : i) + "]]\n";
    writeFile(tree.work / "enum-list", list);
    RunResult result = run(list.size() + (300u << 20));
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err,
              "enum-list:1000001:9: warning: item 'I999998' has the key 'k7' of item 'I7' on line 10; "
              "fromKey finds only the first\nenum-list:10:4: note: item 'I7' has the key here\n");
    const std::string header = readFile(tree.out / "huge.hpp");
    EXPECT_NE(header.find("    I999999 = 999999\n"), std::string::npos);
    EXPECT_NE(header.find(std::string(50 << 20, 'd')), std::string::npos);
}

TEST_F(Hostile, RepeatedMarkersNulBytesAndInvalidUtf8) {
    std::string markers;
    for (int i = 0; i < 5000000; ++i)
        markers += "[[";
    const std::string bytes("N\0\xff\xfe\xc3(", 6);
    const std::string list = "+Markers" + markers + "]]\n-A" + std::string(1 << 20, '[') + "[=" + markers +
                             "=]]]\n+Bytes\n-B[-" + bytes + "-]\n-C[[" + bytes + "]]\n+Flags" +
                             std::string(10 << 20, '[') + "[~[~[~~]~]~]]]\n";
    writeFile(tree.work / "enum-list", list);
    RunResult result = run(16 * list.size());
    EXPECT_EQ(result.status, 0) << result.err;
    // Every byte reaches the output as it stands.
    const std::string header = readFile(tree.out / "bytes.hpp");
    EXPECT_NE(header.find("translate(\"Bytes\", \"" + bytes + "\")"), std::string::npos);
    EXPECT_NE(readFile(tree.out / "bytes.cpp").find("{Bytes::C, u\"C\"_q, u\"" + bytes + "\"_q"), std::string::npos);
}

TEST_F(Hostile, InputsThatCannotBeGeneratedFailWithShortMessages) {
    // Placeholders inside the texts fill each other: a thousand times a
    // thousand times a thousand copies.
    std::string thousand[3];
    for (int i = 0; i < 1000; ++i) {
        thousand[0] += "__ENUM_DEFAULT";
        thousand[1] += "__ENUM_DATA_TYPE";
        thousand[2] += "__ENUM_HEADER_CONTENTS";
    }
    writeFile(tree.work / "enum-list",
              "+Fine\n-A\n+Bomb[-" + thousand[0] + "-][:" + thousand[2] + ":]\n-" + thousand[1] + "\n+Next\n-B\n");
    RunResult bomb = run(64 << 20);
    EXPECT_EQ(bomb.status, 1);
    EXPECT_EQ(bomb.err,
              "enum-list:3:2: error: enum 'Bomb': ../enum/bomb.hpp would grow past 1073741824 bytes, as "
              "placeholders written inside its texts are filled again by later ones; it is not written\n");
    EXPECT_FALSE(fs::exists(tree.out / "bomb.hpp"));
    EXPECT_TRUE(fs::exists(tree.out / "bomb.cpp") && fs::exists(tree.out / "next.hpp"));

    fs::remove_all(tree.out);
    fs::create_directory(tree.out);
    const std::string longName(50 << 20, 'L');
    writeFile(tree.work / "enum-list",
              "+" + longName + "\n+Nul" + std::string(1, '\0') + "\n-X[=Foo=]\n-" + longName + "\n");
    RunResult names = run(64 << 20);
    EXPECT_EQ(names.status, 1);
    const std::string cut = std::string(60, 'L') + "...";
    EXPECT_EQ(names.err, "enum-list:1:2: error: enum name '" + cut +
                             "' is 52428800 bytes long; its file names would pass the 255 bytes a file name may have\n"
                             "enum-list:2:2: error: enum name holds a NUL byte, which no file name can hold\n"
                             "enum-list:4:2: error: item '" +
                             cut +
                             "' has no value to count on from: the previous value "
                             "'Foo' does not end in a decimal digit; give the item an explicit value with [=...=]\n"
                             "enum-list:3:3: note: the value to count on from is here\n");
    EXPECT_TRUE(fs::is_empty(tree.out));
}

}  // namespace
