// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "enum-reader.h"
#include "output-paths.h"

// The command line: options only, each on its own.
struct Options {
    bool help = false;
    bool version = false;
    bool check = false;
    bool brief = false;
    bool outputs = false;
    bool removeStale = false;
    bool lsp = false;
    bool qml = false;
    std::vector<std::string> directories;
    std::string list = kEnumListPath;
    // The templates' folder; empty for the working directory.
    std::string templates;
    std::string output = kOutputDir;
    // Whether --output named the folder: then every output is made, even an
    // empty one, since a build system compiles what --outputs names.
    bool outputNamed = false;
    // Where the application's files include the headers from; empty for none.
    std::string includeDir;
    // The C++ namespace the enums are generated in, such as app::settings;
    // empty for the global one.
    std::string enumNamespace;
    // The lock file the list is checked against; empty for none.
    std::string lock;
    bool lockUpdate = false;
    bool locked = false;
};

// What --help prints.
extern const char kUsage[];

// Reads the arguments into `options`; false, with `err` filled, for a wrong one.
bool parseArguments(int argc, char** argv, Options* options, std::string* err);
