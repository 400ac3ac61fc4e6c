// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>

// The file system the fault tests give the generator in place of the
// platform's (fake-file-ops.cpp implements file-primitives.h, so the real
// reading and writing run over it): files in memory, kept by their paths as
// the generator names them, and faults on demand.
struct FakeFiles {
    std::map<std::string, std::string> files;
    // Calls that fail, as "<action> <path>" with the action of their message:
    // "read ../enum/a.hpp", "write ../enum/a.hpp" (creating, writing or
    // renaming over it), "list ../enum/", "remove ../enum/a.hpp".
    std::set<std::string> failing;
    // A file that another process removes right after a listing saw it.
    std::string vanishing;
    // The bytes that writes may still take; one that needs more fails.
    size_t spaceLeft = SIZE_MAX;
    // The primitive calls made so far; the run is interrupted when it is
    // about to make call number `interruptAt`: the file marked for removal
    // goes, as the platforms' handlers do, and FakeInterrupt is thrown.
    int calls = 0;
    int interruptAt = -1;
    std::string marked;
};

struct FakeInterrupt {};

// The one fake file system; tests start it afresh.
FakeFiles& fakeFiles();
