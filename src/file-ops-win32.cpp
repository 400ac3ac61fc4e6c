// SPDX-License-Identifier: MIT
// The file primitives and process services on Windows, through the
// wide-character API, so UTF-8 paths name the files they say.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>

#include "file-ops.h"
#include "file-primitives.h"

namespace {

// A file another process holds open (an IDE's indexer, a virus scanner) is
// tried again for two seconds before the run gives up on it.
constexpr int kTries = 40;
constexpr DWORD kPauseMillis = 50;

bool isBusy(DWORD code) { return code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION; }

bool isMissing(DWORD code) { return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND; }

// The UTF-16 form of a UTF-8 path; false, with the last error set, for bytes
// that are not UTF-8.
bool widen(const std::string& text, std::wstring* wide) {
    wide->clear();
    if (text.empty())
        return true;
    const int size = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), int(text.size()), nullptr, 0);
    if (size == 0)
        return false;
    wide->resize(size_t(size));
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), int(text.size()), wide->data(), size) ==
           size;
}

// The reason for a failure on `path`. A missing file and a folder in a file's
// place read as they do on POSIX systems; anything else is Windows' own text.
std::string reason(DWORD code, const std::wstring& path) {
    if (isMissing(code))
        return std::strerror(ENOENT);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (code == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::strerror(EISDIR);
    char* buffer = nullptr;
    const DWORD size = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
        MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text(buffer ? buffer : "", size);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.'))
        text.pop_back();
    return text.empty() ? "error " + std::to_string(code) : text;
}

FileFault faultOf(DWORD code, const std::wstring& path) {
    const FileFault::Kind kind = isMissing(code) ? FileFault::Kind::Missing
                                 : code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS ? FileFault::Kind::Exists
                                                                                             : FileFault::Kind::Other;
    return {kind, reason(code, path)};
}

// The UTF-16 form of `path`; false, with `fault`, for bytes that are not UTF-8.
bool widenPath(const std::string& path, std::wstring* wide, FileFault* fault) {
    if (widen(path, wide))
        return true;
    *fault = faultOf(GetLastError(), *wide);
    return false;
}

HANDLE handleOf(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

// Opens an existing file for reading, waiting a while for one that another
// process holds open without sharing it.
HANDLE openForReading(const std::wstring& path) {
    for (int tries = 1;; ++tries) {
        HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || !isBusy(GetLastError()) || tries == kTries)
            return file;
        Sleep(kPauseMillis);
    }
}

// The file this run created and is writing, for the Ctrl-C handler to
// remove. The handler runs on a thread of its own, so the path is in a fixed
// buffer, the file is opened to allow its deletion while it is being
// written, and the handler waits while a file is being made and marked.
wchar_t gTempPath[MAX_PATH * 4];
volatile LONG gTempInUse = 0;
SRWLOCK gMarking = SRWLOCK_INIT;

// The attributes a replacement takes over from the file it replaces.
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

BOOL WINAPI removeTempAndDie(DWORD) {
    AcquireSRWLockExclusive(&gMarking);
    if (InterlockedCompareExchange(&gTempInUse, 0, 0)) {
        // It may be read-only already.
        SetFileAttributesW(gTempPath, FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(gTempPath);
    }
    // The status Windows' own handler ends a process with on Ctrl-C; ending
    // here also stops the main thread before it renames the deleted file.
    ExitProcess(STATUS_CONTROL_C_EXIT);
}

}  // namespace

bool openToRead(const std::string& path, PipeWait, ReadHandle* file, FileFault* fault) {
    std::wstring widePath;
    if (!widenPath(path, &widePath, fault))
        return false;
    HANDLE handle = openForReading(widePath);
    BY_HANDLE_FILE_INFORMATION info;
    if (handle == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(handle, &info)) {
        *fault = faultOf(GetLastError(), widePath);
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
        return false;
    }
    file->handle = reinterpret_cast<std::intptr_t>(handle);
    // A device (NUL, CON) or a pipe is no file on a disk.
    file->info.kind = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? FileKind::Directory
                      : GetFileType(handle) == FILE_TYPE_DISK            ? FileKind::Regular
                                                                         : FileKind::Other;
    file->info.size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
    file->info.permissions = info.dwFileAttributes & kKeptAttributes;
    return true;
}

bool readSome(ReadHandle* file, char* buffer, size_t size, size_t* count, FileFault* fault) {
    *count = 0;
    while (*count < size) {
        DWORD n = 0;
        if (!ReadFile(handleOf(file->handle), buffer + *count, DWORD(std::min<size_t>(size - *count, 1u << 30)), &n,
                      nullptr)) {
            *fault = faultOf(GetLastError(), std::wstring());
            return false;
        }
        if (n == 0)
            break;
        *count += n;
    }
    return true;
}

void closeRead(ReadHandle* file) {
    CloseHandle(handleOf(file->handle));
    file->handle = -1;
}

bool createExclusive(const std::string& path, std::optional<unsigned> permissions, WriteHandle* file,
                     FileFault* fault) {
    std::wstring widePath;
    if (!widenPath(path, &widePath, fault))
        return false;
    if (widePath.size() >= std::size(gTempPath)) {
        *fault = faultOf(ERROR_FILENAME_EXCED_RANGE, widePath);
        return false;
    }
    // Made and marked in one step for the handler, so that it removes the
    // file once it exists, and nothing before.
    AcquireSRWLockExclusive(&gMarking);
    HANDLE handle = CreateFileW(widePath.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    const DWORD code = GetLastError();
    if (handle != INVALID_HANDLE_VALUE) {
        std::memcpy(gTempPath, widePath.c_str(), (widePath.size() + 1) * sizeof(wchar_t));
        InterlockedExchange(&gTempInUse, 1);
    }
    ReleaseSRWLockExclusive(&gMarking);
    if (handle == INVALID_HANDLE_VALUE) {
        *fault = faultOf(code, widePath);
        return false;
    }
    file->handle = reinterpret_cast<std::intptr_t>(handle);
    file->permissions = permissions;
    return true;
}

bool writeAllOf(WriteHandle* file, std::string_view text, FileFault* fault) {
    while (!text.empty()) {
        DWORD written = 0;
        if (!WriteFile(handleOf(file->handle), text.data(), DWORD(std::min<size_t>(text.size(), 1u << 30)), &written,
                       nullptr)) {
            *fault = faultOf(GetLastError(), std::wstring());
            return false;
        }
        text.remove_prefix(written);
    }
    return true;
}

bool closeWritten(WriteHandle* file, FileFault* fault) {
    // The attributes go on last: a read-only file could not be written.
    bool ok = CloseHandle(handleOf(file->handle));
    file->handle = -1;
    const DWORD kept = file->permissions.value_or(0) & kKeptAttributes;
    ok = ok && (kept == 0 || SetFileAttributesW(gTempPath, kept));
    if (!ok)
        *fault = faultOf(GetLastError(), gTempPath);
    return ok;
}

void endRemovalOnInterrupt() { InterlockedExchange(&gTempInUse, 0); }

bool renameOver(const std::string& from, const std::string& to, FileFault* fault) {
    std::wstring wideFrom, wideTo;
    if (!widenPath(from, &wideFrom, fault) || !widenPath(to, &wideTo, fault))
        return false;
    // A read-only target gives up its flag for the move, and gets it back
    // when the move fails.
    const DWORD attributes = GetFileAttributesW(wideTo.c_str());
    const bool readOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    if (readOnly && !SetFileAttributesW(wideTo.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY)) {
        *fault = faultOf(GetLastError(), wideTo);
        return false;
    }
    for (int tries = 1;; ++tries) {
        if (MoveFileExW(wideFrom.c_str(), wideTo.c_str(), MOVEFILE_REPLACE_EXISTING))
            return true;
        const DWORD code = GetLastError();
        // A target held open shows as a sharing violation or as access denied.
        if ((!isBusy(code) && code != ERROR_ACCESS_DENIED) || tries == kTries) {
            if (readOnly)
                SetFileAttributesW(wideTo.c_str(), attributes);
            *fault = faultOf(code, wideTo);
            return false;
        }
        Sleep(kPauseMillis);
    }
}

bool removePath(const std::string& path, FileFault* fault) {
    std::wstring widePath;
    if (!widenPath(path, &widePath, fault))
        return false;
    // A read-only file goes too, as on POSIX systems; it keeps its flag if it cannot.
    const DWORD attributes = GetFileAttributesW(widePath.c_str());
    const bool readOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    if (readOnly)
        SetFileAttributesW(widePath.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    if (DeleteFileW(widePath.c_str()))
        return true;
    const DWORD code = GetLastError();
    if (readOnly)
        SetFileAttributesW(widePath.c_str(), attributes);
    *fault = faultOf(code, widePath);
    return false;
}

bool listFolder(const std::string& dir, std::vector<std::string>* names, FileFault* fault) {
    std::wstring wideDir;
    if (!widenPath(dir, &wideDir, fault))
        return false;
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((wideDir + L"/*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        *fault = faultOf(GetLastError(), wideDir);
        return false;
    }
    do {
        if (entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE))
            continue;
        const int size = WideCharToMultiByte(CP_UTF8, 0, entry.cFileName, -1, nullptr, 0, nullptr, nullptr);
        std::string name(size_t(size > 0 ? size : 1), '\0');
        WideCharToMultiByte(CP_UTF8, 0, entry.cFileName, -1, name.data(), size, nullptr, nullptr);
        name.resize(name.size() - 1);
        names->push_back(name);
    } while (FindNextFileW(search, &entry));
    const DWORD code = GetLastError();
    FindClose(search);
    if (code != ERROR_NO_MORE_FILES) {
        *fault = faultOf(code, wideDir);
        return false;
    }
    return true;
}

bool sameDirectory(const std::string& a, const std::string& b) {
    BY_HANDLE_FILE_INFORMATION info[2];
    const std::string* paths[2] = {&a, &b};
    for (int i = 0; i < 2; ++i) {
        std::wstring widePath;
        if (!widen(*paths[i], &widePath))
            return false;
        // Backup semantics, the flag that lets a folder be opened.
        HANDLE folder = CreateFileW(widePath.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (folder == INVALID_HANDLE_VALUE)
            return false;
        const bool ok = GetFileInformationByHandle(folder, &info[i]);
        CloseHandle(folder);
        if (!ok || !(info[i].dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            return false;
    }
    return info[0].dwVolumeSerialNumber == info[1].dwVolumeSerialNumber &&
           info[0].nFileIndexHigh == info[1].nFileIndexHigh && info[0].nFileIndexLow == info[1].nFileIndexLow;
}

void removeTempFileOnInterrupt() { SetConsoleCtrlHandler(removeTempAndDie, TRUE); }

// The Windows heap has no such setting; it is left as it is.
void reuseFreedMemory() {}

bool changeDirectory(const std::string& path, std::string* err) {
    std::wstring widePath;
    if (widen(path, &widePath) && SetCurrentDirectoryW(widePath.c_str()))
        return true;
    *err = path + ": cannot change into: " + reason(GetLastError(), widePath);
    return false;
}

void writeStandardStreamsAsBytes() {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

void readStandardInputAsBytes() { _setmode(_fileno(stdin), _O_BINARY); }

bool deviceNamesAreReserved() { return true; }
