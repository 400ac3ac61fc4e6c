// SPDX-License-Identifier: MIT
// file-ops.h over FakeFiles, keeping the contract file-ops.h states.
#include "fake-file-ops.h"

#include "file-ops.h"

namespace {

bool failing(const char* action, const std::string& path, std::string* err) {
    if (!fakeFiles().failing.count(action + (" " + path)))
        return false;
    *err = path + ": cannot " + action + ": Input/output error";
    return true;
}

}  // namespace

FakeFiles& fakeFiles() {
    static FakeFiles files;
    return files;
}

bool readAll(const std::string& path, std::string* text, std::string* err, MissingFile missing) {
    text->clear();
    if (failing("read", path, err))
        return false;
    const auto file = fakeFiles().files.find(path);
    if (file != fakeFiles().files.end())
        *text = file->second;
    else if (missing == MissingFile::IsError)
        *err = path + ": cannot read: No such file or directory";
    return file != fakeFiles().files.end() || missing == MissingFile::ReadsEmpty;
}

bool compareFile(const std::string& path, const std::string& text, bool* differs, std::string* err,
                 MissingOutput missing) {
    if (failing("read", path, err))
        return false;
    const auto file = fakeFiles().files.find(path);
    *differs = file == fakeFiles().files.end() ? !text.empty() || missing == MissingOutput::DiffersFromAll
                                               : file->second != text;
    return true;
}

// A failed write, like a full disk, leaves the file as it was: the platforms
// write an existing file's text to a temporary file and remove a new one.
bool overwrite(const std::string& path, const std::string& text, std::string* err, MissingOutput missing) {
    bool differs = true;
    if (!compareFile(path, text, &differs, err, missing) || !differs || failing("write", path, err))
        return differs;
    if (text.size() > fakeFiles().spaceLeft) {
        *err = path + ": cannot write: No space left on device";
        return true;
    }
    fakeFiles().spaceLeft -= text.size();
    fakeFiles().files[path] = text;
    return true;
}

bool listFiles(const std::string& dir, std::vector<std::string>* names, std::string* err) {
    if (failing("list", dir, err))
        return false;
    for (const auto& [path, text] : fakeFiles().files)
        if (path.starts_with(dir) && path.find('/', dir.size()) == std::string::npos)
            names->push_back(path.substr(dir.size()));
    fakeFiles().files.erase(fakeFiles().vanishing);
    return true;
}

bool removeFile(const std::string& path, bool* removed, std::string* err) {
    *removed = false;
    if (failing("remove", path, err))
        return false;
    *removed = fakeFiles().files.erase(path) > 0;
    return true;
}

bool sameDirectory(const std::string& a, const std::string& b) { return a == b; }

void removeTempFileOnInterrupt() {}

void reuseFreedMemory() {}

bool changeDirectory(const std::string&, std::string*) { return true; }

void writeStandardStreamsAsBytes() {}

void readStandardInputAsBytes() {}

bool deviceNamesAreReserved() { return false; }
