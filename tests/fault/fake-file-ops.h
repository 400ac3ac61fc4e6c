// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>

// The file system the fault tests give the generator in place of the
// platform's (fake-file-ops.cpp implements file-ops.h): files in memory, kept
// by their paths as the generator names them, and faults on demand.
struct FakeFiles {
    std::map<std::string, std::string> files;
    // Calls that fail, as "<action> <path>" with the action of their message:
    // "read ../enum/a.hpp", "write ../enum/a.hpp", "list ../enum/",
    // "remove ../enum/a.hpp".
    std::set<std::string> failing;
    // A file that another process removes right after a listing saw it.
    std::string vanishing;
    // The bytes that writes may still take; one that needs more fails.
    size_t spaceLeft = SIZE_MAX;
};

// The one fake file system; tests start it afresh.
FakeFiles& fakeFiles();
