// SPDX-License-Identifier: MIT
#pragma once

#include <clang-c/CXString.h>

#include <string>
#include <vector>

// The text of a string libclang gave, which it disposes of.
std::string fromClang(CXString text);

// The compiler flags each header is parsed with: C++17 first, then the flags
// of the build's compile_commands.json in `buildDir` (none when it is empty),
// then `extra` as given. A header the database does not name (headers are
// rarely compiled on their own) takes the command of the source file whose
// path is most like its own, as clang's tools do. Returns false, with `err`
// filled, when the database cannot be read.
bool headerFlags(const std::string& buildDir, const std::vector<std::string>& headers,
                 const std::vector<std::string>& extra, std::vector<std::vector<std::string>>* flags, std::string* err);
