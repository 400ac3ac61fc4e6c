// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The file system's single steps, one implementation per platform
// (file-ops-posix.cpp, file-ops-win32.cpp) and one in memory for the fault
// tests. They hold no policy: when to compare, where a temporary file goes,
// what is cleaned up after a failure is file-ops.cpp's, written once over
// these. Paths are UTF-8, with '/' between names on every platform.
//
// Every primitive returns true on success; on failure it fills `fault` and
// leaves nothing behind that it made.

struct FileFault {
    enum class Kind {
        Missing,  // the file, or a folder on its path, does not exist
        Exists,   // an exclusive create found a file there already
        Other,
    };
    Kind kind = Kind::Other;
    // The system's reason, as a message ends it: "Permission denied".
    std::string reason;
};

enum class FileKind { Regular, Directory, Other };

// What a file is, and what a file replacing it keeps of it: its mode on
// POSIX systems; its read-only, hidden, system and not-indexed attributes on
// Windows.
struct FileInfo {
    FileKind kind = FileKind::Regular;
    std::uint64_t size = 0;
    unsigned permissions = 0;
};

// Whether opening a FIFO waits until something writes to it, as a list read
// from a pipe needs, or opens at once, so that a FIFO where a file should be
// cannot stall the run (it is then only looked at, never read).
enum class PipeWait { ForWriter, Never };

struct ReadHandle {
    std::intptr_t handle = -1;
    FileInfo info;
};

// Opens the file at `path` for reading and tells what it is. Another
// process holding it open (on Windows) is waited for a while.
bool openToRead(const std::string& path, PipeWait wait, ReadHandle* file, FileFault* fault);
// Reads up to `size` bytes; `count` is short only at the end of the file.
bool readSome(ReadHandle* file, char* buffer, size_t size, size_t* count, FileFault* fault);
void closeRead(ReadHandle* file);

struct WriteHandle {
    std::intptr_t handle = -1;
    std::optional<unsigned> permissions;
};

// Creates the file `path`, which must not exist yet (Kind::Exists when it
// does), for writing, with `permissions` or, when none, the default ones.
// From the moment the file exists, and only then, it is the one file an
// interruption of the run removes (removeTempFileOnInterrupt), until
// endRemovalOnInterrupt: a file that was there before is never marked.
bool createExclusive(const std::string& path, std::optional<unsigned> permissions, WriteHandle* file,
                     FileFault* fault);
bool writeAllOf(WriteHandle* file, std::string_view text, FileFault* fault);
// Closes the file, giving it its permissions where the platform can only do
// that once it is written.
bool closeWritten(WriteHandle* file, FileFault* fault);
// The file created last is finished with (renamed, removed or complete): an
// interruption leaves it.
void endRemovalOnInterrupt();

// Moves the file `from` over `to` in one step, replacing any file there, a
// read-only one too; another process holding `to` open (on Windows) is
// waited for a while.
bool renameOver(const std::string& from, const std::string& to, FileFault* fault);
// Removes the file at `path`, a read-only one too.
bool removePath(const std::string& path, FileFault* fault);
// The names of the regular files in the folder `dir`, in no set order. An
// entry removed while the folder is read is left out.
bool listFolder(const std::string& dir, std::vector<std::string>* names, FileFault* fault);
