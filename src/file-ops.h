// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The file system and process services the generator needs. Reading and
// writing are written once, in file-ops.cpp, over the platform's primitives
// (file-primitives.h); the process services have one implementation per
// platform (file-ops-posix.cpp, file-ops-win32.cpp). Paths are UTF-8, with
// '/' between names on every platform. Every function returns true on
// success; a failure is reported as "<path>: cannot <action>: <reason>".

enum class MissingFile { ReadsEmpty, IsError };

// Reads the whole file at `path` into `text`, waiting for a FIFO's writer. A
// file that does not exist reads as empty unless `missing` says it is an
// error; every other failure fills `err` and returns false.
bool readAll(const std::string& path, std::string* text, std::string* err,
             MissingFile missing = MissingFile::ReadsEmpty);

// Reads the lock file at `path`, the same way for every front end: `text` is
// none when there is no file yet, and an empty file is an empty text (a
// damaged lock, as the lock's reader tells). A folder, a FIFO, a device or a
// file over 1 GiB is an error, told at once without reading or waiting.
bool readLockFile(const std::string& path, std::optional<std::string>* text, std::string* err);

// Whether a missing output holds the empty text already, so that an empty
// text is never written to a missing file, or differs from every text.
enum class MissingOutput { HoldsEmptyText, DiffersFromAll };

// Sets `differs` to whether the file at `path` holds other text than `text`;
// a missing file holds the empty text unless `missing` says otherwise. A file
// that cannot be read fills `err` and returns false.
bool compareFile(const std::string& path, std::string_view text, bool* differs, std::string* err,
                 MissingOutput missing = MissingOutput::HoldsEmptyText);

// How a new file gets its text: in place, as outputs do (a reader may see it
// half written), or through a temporary file and a rename, as the lock does,
// so that nobody ever sees it empty or cut short.
enum class NewFiles { InPlace, ThroughTemporary };

// How overwrite writes a series of files, and what it learnt from the last.
struct FileWriting {
    MissingOutput missing = MissingOutput::HoldsEmptyText;
    NewFiles newFiles = NewFiles::InPlace;
    // In a folder being filled every output is missing: once one was, the
    // next new file is created at once, which spares looking it up first.
    bool lastWasMissing = false;
};

// Makes the file at `path` hold exactly `text`, writing only when it does not
// already, so an unchanged output keeps its time stamp. The same on every
// platform:
// - An existing file gets its new text through a temporary file beside it
//   that is renamed over it, so a failed write leaves the old file as it was.
//   The new file keeps the old one's permissions (the mode; on Windows the
//   read-only, hidden and system attributes). A read-only file is replaced
//   too, as a rename replaces it on POSIX systems: the folder decides, and
//   the outputs' folder belongs to the generator.
// - A new file is written as `writing` says, with the default permissions;
//   one that appears meanwhile is replaced as above.
// The file being written, temporary or new, is removed when its write fails
// or the run is interrupted (removeTempFileOnInterrupt), so no file is left
// half written; a file that was there before the run is never removed.
// `changed` tells whether the content differed from `text` (a missing file
// as compareFile tells); a failure fills `err`.
bool overwrite(const std::string& path, std::string_view text, FileWriting* writing, bool* changed,
               std::string* err);

// The names of the regular files in the directory `dir`, in no set order. An
// entry removed while the directory is read is left out.
bool listFiles(const std::string& dir, std::vector<std::string>* names, std::string* err);

// Removes the file at `path`, a read-only one too. A file that is gone
// already (another run removed it since it was listed) is no failure:
// `removed` tells whether this call removed it.
bool removeFile(const std::string& path, bool* removed, std::string* err);

// True when both paths name the same existing directory.
bool sameDirectory(const std::string& a, const std::string& b);

// Removes the file that this run created and is writing, temporary or new,
// when the run is interrupted (Ctrl-C, a build tool stopping it), then ends
// as the interruption would have.
void removeTempFileOnInterrupt();

// Keeps the memory the run frees for its next allocations rather than handing
// it back to the system: each output needs buffers as large as the last
// one's, and every fresh page costs a fault.
void reuseFreedMemory();

// Makes `path` the working directory.
bool changeDirectory(const std::string& path, std::string* err);

// Makes standard output and standard error write their bytes as they are,
// with no line-end translation, so every platform prints the same bytes.
void writeStandardStreamsAsBytes();

// Makes standard input read its bytes as they are, for a byte-counted
// protocol such as the language server's.
void readStandardInputAsBytes();

// Whether the platform cannot create a file named like a device (con, nul,
// com1, lpt1, ...), with any extension.
bool deviceNamesAreReserved();
