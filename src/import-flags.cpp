// SPDX-License-Identifier: MIT
#include "import-flags.h"

#include <clang-c/CXCompilationDatabase.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <string_view>

#include "file-ops.h"

namespace fs = std::filesystem;

std::string fromClang(CXString text) {
    const char* chars = clang_getCString(text);
    std::string result = chars ? chars : "";
    clang_disposeString(text);
    return result;
}

namespace {

// The database and its command lists, released when the run is done.
struct Database {
    CXCompilationDatabase db = nullptr;
    ~Database() {
        if (db)
            clang_CompilationDatabase_dispose(db);
    }
};
struct Commands {
    CXCompileCommands list = nullptr;
    ~Commands() {
        if (list)
            clang_CompileCommands_dispose(list);
    }
    unsigned size() const { return list ? clang_CompileCommands_getSize(list) : 0; }
};

// The flags of `command` that say how to parse: without the compiler, the
// source file, the output and dependency files, and the build's precompiled
// header, which a header parsed on its own cannot use. Relative paths are
// taken from the command's folder, as the build took them.
void addCommandFlags(CXCompileCommand command, std::vector<std::string>* flags) {
    const std::string file = fromClang(clang_CompileCommand_getFilename(command));
    const std::string dir = fromClang(clang_CompileCommand_getDirectory(command));
    constexpr std::array<std::string_view, 5> kWithValue = {"-o", "-MF", "-MT", "-MQ", "-include-pch"};
    constexpr std::array<std::string_view, 6> kAlone = {"-c", "-MD", "-MMD", "-MP", "-M", "-MM"};
    std::vector<std::string> args;
    for (unsigned i = 1; i < clang_CompileCommand_getNumArgs(command); ++i)
        args.push_back(fromClang(clang_CompileCommand_getArg(command, i)));
    // What follows "--" are the files to compile.
    args.erase(std::find(args.begin(), args.end(), "--"), args.end());
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool pch = arg == "-include" && i + 1 < args.size() && args[i + 1].find("cmake_pch") != std::string::npos;
        if (std::find(kWithValue.begin(), kWithValue.end(), arg) != kWithValue.end() || pch)
            ++i;
        else if (arg == "-Xclang" && i + 1 < args.size() &&
                 (args[i + 1] == "-include-pch" || args[i + 1] == "-include") && i + 3 < args.size() &&
                 args[i + 3].find("cmake_pch") != std::string::npos)
            i += 3;
        else if (std::find(kAlone.begin(), kAlone.end(), arg) == kAlone.end() && arg != file &&
                 (fs::path(dir) / arg).lexically_normal() != fs::path(file).lexically_normal() &&
                 !(arg.starts_with("-o") && arg.size() > 2))
            flags->push_back(arg);
    }
    flags->push_back("-working-directory");
    flags->push_back(dir);
}

// The command of `header` in the database; false when it has none. clang
// gives a header that has no command of its own that of the source file
// whose path is most like its own.
bool addDatabaseFlags(CXCompilationDatabase db, const fs::path& header, std::vector<std::string>* flags) {
    Commands commands{clang_CompilationDatabase_getCompileCommands(db, header.c_str())};
    if (commands.size() == 0)
        return false;
    addCommandFlags(clang_CompileCommands_getCommand(commands.list, 0), flags);
    return true;
}

}  // namespace

bool headerFlags(const std::string& buildDir, const std::vector<std::string>& headers,
                 const std::vector<std::string>& extra, std::vector<std::vector<std::string>>* flags,
                 std::string* err) {
    Database database;
    if (!buildDir.empty()) {
        // libclang says why it cannot read a database only on standard
        // error, in its own words; a missing file is told here instead.
        std::string text;
        if (!readAll((fs::path(buildDir) / "compile_commands.json").string(), &text, err, MissingFile::IsError))
            return false;
        CXCompilationDatabase_Error error = CXCompilationDatabase_NoError;
        database.db = clang_CompilationDatabase_fromDirectory(buildDir.c_str(), &error);
        if (error != CXCompilationDatabase_NoError || !database.db) {
            *err = (fs::path(buildDir) / "compile_commands.json").string() + ": cannot read as a compilation database";
            return false;
        }
    }
    for (const std::string& header : headers) {
        std::vector<std::string> own = {"-x", "c++", "-std=c++17"};
        if (database.db && !addDatabaseFlags(database.db, fs::absolute(header).lexically_normal(), &own)) {
            *err = (fs::path(buildDir) / "compile_commands.json").string() + ": has no command to parse " + header +
                   " with";
            return false;
        }
        own.insert(own.end(), extra.begin(), extra.end());
        flags->push_back(std::move(own));
    }
    return true;
}
