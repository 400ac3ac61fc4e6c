// SPDX-License-Identifier: MIT
// file-primitives.h and the process services of file-ops.h over FakeFiles.
#include "fake-file-ops.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "file-ops.h"
#include "file-primitives.h"

namespace {

// The path and read offset of each file opened, by handle.
std::vector<std::pair<std::string, size_t>> opened;

// Counts the call, is interrupted where the test says, and fails it when the
// test says so.
bool fails(const char* action, const std::string& path, FileFault* fault) {
    FakeFiles& fake = fakeFiles();
    if (++fake.calls == fake.interruptAt) {
        if (!fake.marked.empty())
            fake.files.erase(fake.marked);
        throw FakeInterrupt{};
    }
    if (!fake.failing.count(action + (" " + path)))
        return false;
    *fault = {FileFault::Kind::Other, "Input/output error"};
    return true;
}

std::intptr_t open(const std::string& path) {
    opened.emplace_back(path, 0);
    return static_cast<std::intptr_t>(opened.size() - 1);
}

}  // namespace

FakeFiles& fakeFiles() {
    static FakeFiles files;
    return files;
}

bool openToRead(const std::string& path, PipeWait, ReadHandle* file, FileFault* fault) {
    if (fails("read", path, fault))
        return false;
    const auto found = fakeFiles().files.find(path);
    if (found == fakeFiles().files.end()) {
        *fault = {FileFault::Kind::Missing, std::strerror(ENOENT)};
        return false;
    }
    file->handle = open(path);
    file->info = {FileKind::Regular, found->second.size(), 0644};
    return true;
}

bool readSome(ReadHandle* file, char* buffer, size_t size, size_t* count, FileFault* fault) {
    auto& [path, offset] = opened[static_cast<size_t>(file->handle)];
    if (fails("read", path, fault))
        return false;
    const std::string& text = fakeFiles().files[path];
    *count = std::min(size, text.size() - std::min(offset, text.size()));
    text.copy(buffer, *count, std::min(offset, text.size()));
    offset += *count;
    return true;
}

void closeRead(ReadHandle* file) { file->handle = -1; }

bool createExclusive(const std::string& path, std::optional<unsigned>, WriteHandle* file, FileFault* fault) {
    if (fails("write", path, fault))
        return false;
    if (!fakeFiles().files.emplace(path, std::string()).second) {
        *fault = {FileFault::Kind::Exists, std::strerror(EEXIST)};
        return false;
    }
    fakeFiles().marked = path;
    file->handle = open(path);
    return true;
}

bool writeAllOf(WriteHandle* file, std::string_view text, FileFault* fault) {
    const std::string& path = opened[static_cast<size_t>(file->handle)].first;
    if (fails("write", path, fault))
        return false;
    if (text.size() > fakeFiles().spaceLeft) {
        *fault = {FileFault::Kind::Other, std::strerror(ENOSPC)};
        return false;
    }
    fakeFiles().spaceLeft -= text.size();
    fakeFiles().files[path].append(text);
    return true;
}

bool closeWritten(WriteHandle* file, FileFault* fault) {
    return !fails("write", opened[static_cast<size_t>(file->handle)].first, fault);
}

void endRemovalOnInterrupt() { fakeFiles().marked.clear(); }

bool renameOver(const std::string& from, const std::string& to, FileFault* fault) {
    if (fails("write", to, fault))
        return false;
    auto& files = fakeFiles().files;
    files[to] = std::move(files[from]);
    files.erase(from);
    return true;
}

bool removePath(const std::string& path, FileFault* fault) {
    if (fails("remove", path, fault))
        return false;
    if (fakeFiles().files.erase(path) == 0) {
        *fault = {FileFault::Kind::Missing, std::strerror(ENOENT)};
        return false;
    }
    return true;
}

bool listFolder(const std::string& dir, std::vector<std::string>* names, FileFault* fault) {
    if (fails("list", dir, fault))
        return false;
    for (const auto& [path, text] : fakeFiles().files)
        if (path.starts_with(dir) && path.find('/', dir.size()) == std::string::npos)
            names->push_back(path.substr(dir.size()));
    fakeFiles().files.erase(fakeFiles().vanishing);
    return true;
}

bool sameDirectory(const std::string& a, const std::string& b) { return a == b; }

void removeTempFileOnInterrupt() {}

void reuseFreedMemory() {}

bool changeDirectory(const std::string&, std::string*) { return true; }

void writeStandardStreamsAsBytes() {}

void readStandardInputAsBytes() {}

bool deviceNamesAreReserved() { return false; }
