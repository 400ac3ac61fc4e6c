// SPDX-License-Identifier: MIT
// Times enumgen against the file system's own speed, with the bundled
// example's templates over synthetic enum lists of several sizes:
//   first run      into an empty output folder, against `cp -r` of that tree;
//   unchanged run  against `cat` of every output file to /dev/null;
//   one change     after one enum's description changed;
//   checks         the list checks alone, in this process, on the parsed list,
//                  and their share of an unchanged run.
// Each figure is the best of several runs. Prints the ratios to the baselines
// and how much each figure grows when the input doubles.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "enum-check.h"
#include "enum-reader.h"

namespace fs = std::filesystem;

namespace {

struct Size {
    int enums;
    int items;
};

struct Figures {
    double first = 0, copy = 0, unchanged = 0, cat = 0, oneChange = 0, checks = 0;
    size_t files = 0, bytes = 0;
};

// A realistic enum list: keys and descriptions everywhere, a header line per
// enum, explicit values in every third enum and flags in every fourth.
// `changed` gives enum 0 another description.
std::string enumList(Size size, bool changed) {
    std::string list;
    for (int e = 0; e < size.enums; ++e) {
        const std::string name = "Enum" + std::to_string(e);
        list += "+" + name + "[[enum-" + std::to_string(e) + "]][-" + (changed && e == 0 ? "Changed" : "Description") +
                " of " + name + "-]" + (e % 4 == 3 ? "[~" + name + "Flags~]" : "") + "\n";
        list += "!#include <QString>\n";
        for (int i = 0; i < size.items; ++i) {
            list += "-Item" + std::to_string(i) + "[[item-" + std::to_string(i) + "]][-Item " + std::to_string(i) +
                    " of " + name + "-]";
            if (i == 0 && e % 4 == 3)
                list += "[=1 << 0=]";
            else if (i == 0 && e % 3 == 2)
                list += "[=10=]";
            list += "\n";
        }
    }
    return list;
}

double seconds(const std::string& command) {
    const auto start = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "enum-bench: failed: %s\n", command.c_str());
        std::exit(1);
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Best of `runs` timings of each command, each after its `prepare` (not
// timed). The commands take turns, so a slow spell of the disk hits both.
std::pair<double, double> bestOfBoth(int runs, const std::string& prepareA, const std::string& commandA,
                                     const std::string& prepareB, const std::string& commandB) {
    double a = 1e300, b = 1e300;
    for (int i = 0; i < runs; ++i) {
        seconds(prepareA);
        a = std::min(a, seconds(commandA));
        seconds(prepareB);
        b = std::min(b, seconds(commandB));
    }
    return {a, b};
}

Figures measure(const fs::path& root, Size size, int runs) {
    const fs::path work = root / "work";
    const fs::path row = root / (std::to_string(size.enums) + "x" + std::to_string(size.items));
    fs::create_directory(row);
    const std::string out = (row / "enum").string();
    const auto enumgenInto = [&work](const std::string& dir) {
        return "cd '" + work.string() + "' && '" ENUMGEN_EXE "' --output '" + dir + "/' > /dev/null";
    };
    const std::string enumgen = enumgenInto(out);
    std::ofstream(work / "enum-list") << enumList(size, false);

    // Each first run and each copy makes a folder of its own, and the row's
    // folders are removed only when the row ends: ext4 without a journal
    // passes over the inodes freed in the last half minute when it makes a
    // file, which made both figures swing threefold from run to run. Kept any
    // longer, they would fill memory that a virtual machine's host has not
    // backed yet, whose first use is slow. Writes of one timed run are
    // flushed before the next starts, so neither side pays for the other's
    // writeback.
    Figures f;
    f.first = f.copy = 1e300;
    for (int i = 0; i < runs; ++i) {
        const std::string first = (row / ("first-" + std::to_string(i))).string();
        const std::string copy = (row / ("copy-" + std::to_string(i))).string();
        seconds("mkdir '" + first + "' && sync");
        f.first = std::min(f.first, seconds(enumgenInto(first)));
        seconds("sync");
        f.copy = std::min(f.copy, seconds("cp -r '" + first + "' '" + copy + "'"));
        seconds("sync");
    }
    seconds("cp -r '" + (row / "first-0").string() + "' '" + out + "'");
    std::tie(f.unchanged, f.cat) =
        bestOfBoth(runs, "true", enumgen, "true", "find '" + out + "' -type f -exec cat {} + > /dev/null");
    for (const auto& entry : fs::directory_iterator(out)) {
        ++f.files;
        f.bytes += entry.file_size();
    }
    TextStore texts;
    std::vector<EnumType> enums;
    ListMessages messages;
    parseEnumList(texts.keep(enumList(size, false)), &enums, &messages);
    f.checks = 1e300;
    for (int i = 0; i < runs; ++i) {
        messages.clear();
        const auto start = std::chrono::steady_clock::now();
        checkEnums(enums, QmlNames::Unchecked, &messages);
        f.checks = std::min(f.checks, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    // Alternate the description, so every timed run has one header to rewrite.
    f.oneChange = 1e300;
    for (int i = 0; i < runs; ++i) {
        std::ofstream(work / "enum-list") << enumList(size, i % 2 == 0);
        f.oneChange = std::min(f.oneChange, seconds(enumgen));
    }
    fs::remove_all(row);
    return f;
}

void printRow(Size size, const Figures& f, const Figures* half) {
    char label[32];
    std::snprintf(label, sizeof label, "%d x %d", size.enums, size.items);
    std::printf("| %s | %zu | %.1f | %.3f | %.3f | %.2f | %.3f | %.3f | %.2f | %.3f | %.3f (%.0f%%) |", label, f.files,
                f.bytes / 1e6, f.first, f.copy, f.first / f.copy, f.unchanged, f.cat, f.unchanged / f.cat, f.oneChange,
                f.checks, 100 * f.checks / f.unchanged);
    if (half)
        std::printf(" %.2f / %.2f / %.2f |\n", f.first / half->first, f.unchanged / half->unchanged,
                    f.oneChange / half->oneChange);
    else
        std::printf(" |\n");
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::string pattern = (fs::temp_directory_path() / "enum-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        std::perror("enum-bench: mkdtemp");
        return 1;
    }
    const fs::path root = pattern;
    fs::create_directory(root / "work");
    for (const char* name : {"enum_type.hpp", "enum_type.cpp", "enums.hpp"})
        fs::copy_file(fs::path(TEMPLATES_DIR) / name, root / "work" / name);

    std::printf(
        "| enums x items | files | MB | first run s | cp -r s | ratio | unchanged s | cat s | ratio | "
        "one change s | checks s (share of unchanged) | growth per doubling: first / unchanged / one change |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|---|---|---|\n");
    // A large application's list, a first run of a very large one, and two
    // series that double their input from row to row.
    const std::vector<std::vector<Size>> series = {
        {{200, 20}},
        {{2000, 50}},
        {{1250, 50}, {2500, 50}, {5000, 50}, {10000, 50}},
        {{1, 125000}, {1, 250000}, {1, 500000}, {1, 1000000}},
    };
    // Rows named after the runs ("200x20") are measured alone, to measure a
    // noisy row again.
    const auto chosen = [&](Size size) {
        const std::string label = std::to_string(size.enums) + "x" + std::to_string(size.items);
        return argc <= 2 || std::find(argv + 2, argv + argc, label) != argv + argc;
    };
    for (const std::vector<Size>& sizes : series) {
        Figures previous;
        for (size_t i = 0; i < sizes.size(); ++i) {
            if (!chosen(sizes[i]))
                continue;
            const Figures f = measure(root, sizes[i], runs);
            const bool doubled = i > 0 && chosen(sizes[i - 1]) &&
                                 sizes[i].enums * sizes[i].items == 2 * sizes[i - 1].enums * sizes[i - 1].items;
            printRow(sizes[i], f, doubled ? &previous : nullptr);
            std::fflush(stdout);
            previous = f;
        }
    }
    fs::remove_all(root);
    return 0;
}
