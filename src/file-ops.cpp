// SPDX-License-Identifier: MIT
// Reading and writing files, once for every platform, over the primitives of
// file-primitives.h.
#include <cerrno>
#include <chrono>
#include <cstring>

#include "file-ops.h"
#include "file-primitives.h"

namespace {

constexpr size_t kChunk = size_t{64} * 1024;
// No lock comes near this; a bigger file is a mistake, not a lock to read.
constexpr std::uint64_t kMaxLockSize = std::uint64_t{1} << 30;

std::string fileError(const std::string& path, const char* action, const std::string& reason) {
    return path + ": cannot " + action + ": " + reason;
}

// Reads the open file to its end, after what `text` holds already: first
// the size the file had when opened, in one go, then on in chunks (the file
// may have grown, or have no size, like a pipe). More than `limit` bytes in
// all stops the read with `tooBig`.
bool readRest(ReadHandle* file, std::string* text, std::uint64_t limit, bool* tooBig, FileFault* fault) {
    *tooBig = false;
    if (file->info.kind == FileKind::Regular && file->info.size <= limit) {
        text->resize(static_cast<size_t>(file->info.size));
        size_t count = 0;
        if (!readSome(file, text->data(), text->size(), &count, fault))
            return false;
        text->resize(count);
    }
    char buffer[kChunk];
    for (size_t count = kChunk; count == kChunk;) {
        if (!readSome(file, buffer, kChunk, &count, fault))
            return false;
        text->append(buffer, count);
        if (text->size() > limit) {
            *tooBig = true;
            return true;
        }
    }
    return true;
}

// What compare found of the file at a path.
struct Found {
    bool missing = false;
    bool differs = true;
    // The permissions a replacement keeps; none for a missing file.
    std::optional<unsigned> permissions;
};

// Compares the open regular file with `text` without holding the whole file
// in memory; a size difference settles it without reading.
bool sameContent(ReadHandle* file, std::string_view text, bool* same, FileFault* fault) {
    *same = false;
    if (file->info.size != text.size())
        return true;
    char buffer[kChunk];
    size_t offset = 0;
    for (size_t count = kChunk; count == kChunk; offset += count) {
        if (!readSome(file, buffer, kChunk, &count, fault))
            return false;
        if (count > text.size() - offset || std::memcmp(buffer, text.data() + offset, count) != 0)
            return true;
    }
    *same = offset == text.size();
    return true;
}

// Looks at the file at `path` against `text`. A FIFO or device there differs
// from any text, without being read or waited for, and is replaced like any
// other file; a folder cannot be read.
bool find(const std::string& path, std::string_view text, MissingOutput missing, Found* found, std::string* err) {
    ReadHandle file;
    FileFault fault;
    if (!openToRead(path, PipeWait::Never, &file, &fault)) {
        found->missing = fault.kind == FileFault::Kind::Missing;
        found->differs = !text.empty() || missing == MissingOutput::DiffersFromAll;
        if (!found->missing)
            *err = fileError(path, "read", fault.reason);
        return found->missing;
    }
    bool same = false;
    bool ok = file.info.kind != FileKind::Directory;
    if (!ok)
        fault.reason = std::strerror(EISDIR);
    else if (file.info.kind == FileKind::Regular)
        ok = sameContent(&file, text, &same, &fault);
    closeRead(&file);
    if (!ok) {
        *err = fileError(path, "read", fault.reason);
        return false;
    }
    found->differs = !same;
    found->permissions = file.info.permissions;
    return true;
}

// Writes `text` to the file `path`, which must not exist yet; a failed write
// removes it again. The file stays marked for removal on interruption.
bool writeMarked(const std::string& path, std::string_view text, std::optional<unsigned> permissions,
                 FileFault* fault) {
    WriteHandle file;
    if (!createExclusive(path, permissions, &file, fault))
        return false;
    bool ok = writeAllOf(&file, text, fault);
    FileFault closing;
    if (!closeWritten(&file, &closing) && ok) {
        ok = false;
        *fault = closing;
    }
    if (!ok) {
        FileFault ignored;
        removePath(path, &ignored);
    }
    return ok;
}

// writeMarked for a file that is whole once written.
bool writeNew(const std::string& path, std::string_view text, FileFault* fault) {
    const bool ok = writeMarked(path, text, std::nullopt, fault);
    endRemovalOnInterrupt();
    return ok;
}

// A fresh hidden name in the folder of `path`, short, so that a target name
// near the length limit still fits.
std::string temporaryBeside(const std::string& path) {
    static std::uint64_t state =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        reinterpret_cast<std::uintptr_t>(&state);
    state = state * 6364136223846793005u + 1442695040888963407u;
    constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    const size_t slash = path.rfind('/');
    std::string name = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + ".enumgen-";
    for (std::uint64_t bits = state >> 16, i = 0; i < 6; ++i, bits /= 36)
        name.push_back(kLetters[bits % 36]);
    return name;
}

// Writes `text` to a temporary file beside `path` and renames it over
// `path`; a failure removes the temporary file and leaves `path` as it was.
bool replaceThroughTemporary(const std::string& path, std::string_view text, std::optional<unsigned> permissions,
                             FileFault* fault) {
    for (int tries = 0; tries < 100; ++tries) {
        const std::string temporary = temporaryBeside(path);
        // Marked until renamed, so that an interruption removes it.
        const bool written = writeMarked(temporary, text, permissions, fault);
        const bool renamed = written && renameOver(temporary, path, fault);
        FileFault ignored;
        if (written && !renamed)
            removePath(temporary, &ignored);
        endRemovalOnInterrupt();
        if (written || fault->kind != FileFault::Kind::Exists)
            return renamed;
    }
    return false;
}

}  // namespace

bool readAll(const std::string& path, std::string* text, std::string* err, MissingFile missing) {
    text->clear();
    ReadHandle file;
    FileFault fault;
    if (!openToRead(path, PipeWait::ForWriter, &file, &fault)) {
        if (fault.kind == FileFault::Kind::Missing && missing == MissingFile::ReadsEmpty)
            return true;
        *err = fileError(path, "read", fault.reason);
        return false;
    }
    bool tooBig = false;
    bool ok = file.info.kind != FileKind::Directory;
    if (!ok)
        fault.reason = std::strerror(EISDIR);
    else
        ok = readRest(&file, text, SIZE_MAX, &tooBig, &fault);
    closeRead(&file);
    if (!ok) {
        text->clear();
        *err = fileError(path, "read", fault.reason);
    }
    return ok;
}

bool readLockFile(const std::string& path, std::optional<std::string>* text, std::string* err) {
    text->reset();
    ReadHandle file;
    FileFault fault;
    if (!openToRead(path, PipeWait::Never, &file, &fault)) {
        if (fault.kind == FileFault::Kind::Missing)
            return true;
        *err = fileError(path, "read", fault.reason);
        return false;
    }
    std::string read;
    bool tooBig = file.info.size > kMaxLockSize;
    bool ok = file.info.kind == FileKind::Regular && !tooBig && readRest(&file, &read, kMaxLockSize, &tooBig, &fault);
    closeRead(&file);
    if (file.info.kind == FileKind::Directory)
        fault.reason = std::strerror(EISDIR);
    else if (file.info.kind == FileKind::Other)
        fault.reason = "it is a device, a FIFO or a socket, not a lock file";
    else if (tooBig)
        fault.reason = "it is over 1 GiB, far more than a lock holds";
    if (!ok || tooBig) {
        *err = fileError(path, "read", fault.reason);
        return false;
    }
    *text = std::move(read);
    return true;
}

bool compareFile(const std::string& path, std::string_view text, bool* differs, std::string* err,
                 MissingOutput missing) {
    Found found;
    const bool ok = find(path, text, missing, &found, err);
    *differs = found.differs;
    return ok;
}

bool overwrite(const std::string& path, std::string_view text, FileWriting* writing, bool* changed,
               std::string* err) {
    *changed = false;
    const bool inPlace = writing->newFiles == NewFiles::InPlace;
    FileFault fault;
    // Any failure of the quick way, such as a file there after all, leads to
    // the usual one.
    if (writing->lastWasMissing && inPlace && (!text.empty() || writing->missing == MissingOutput::DiffersFromAll) &&
        writeNew(path, text, &fault)) {
        *changed = true;
        return true;
    }
    Found found;
    if (!find(path, text, writing->missing, &found, err))
        return false;
    writing->lastWasMissing = found.missing;
    if (!found.differs)
        return true;
    *changed = true;
    // A new file written in place needs neither a temporary file nor a
    // rename; one that has appeared since is replaced like any other.
    bool written = found.missing && inPlace && writeNew(path, text, &fault);
    if (!written && (!found.missing || !inPlace || fault.kind == FileFault::Kind::Exists))
        written = replaceThroughTemporary(path, text, found.permissions, &fault);
    if (!written)
        *err = fileError(path, "write", fault.reason);
    return written;
}

bool listFiles(const std::string& dir, std::vector<std::string>* names, std::string* err) {
    FileFault fault;
    if (listFolder(dir, names, &fault))
        return true;
    *err = fileError(dir, "list", fault.reason);
    return false;
}

bool removeFile(const std::string& path, bool* removed, std::string* err) {
    FileFault fault;
    *removed = removePath(path, &fault);
    if (*removed || fault.kind == FileFault::Kind::Missing)
        return true;
    *err = fileError(path, "remove", fault.reason);
    return false;
}
