// SPDX-License-Identifier: MIT
// The file operations on Windows, through the wide-character API, so UTF-8
// paths name the files they say.
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

namespace {

constexpr DWORD kChunk = 64 * 1024;

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

std::string fileError(const std::string& path, const char* action, DWORD code, const std::wstring& widePath) {
    return path + ": cannot " + action + ": " + reason(code, widePath);
}

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

// Reads up to `size` bytes; the count read is short only at the end of the file.
bool readFull(HANDLE file, char* buffer, DWORD size, DWORD* done) {
    *done = 0;
    while (*done < size) {
        DWORD n = 0;
        if (!ReadFile(file, buffer + *done, size - *done, &n, nullptr))
            return false;
        if (n == 0)
            break;
        *done += n;
    }
    return true;
}

// Compares the open file's content with `text` in chunks; a size difference
// settles it without reading.
bool sameContent(HANDLE file, const std::string& text, bool* same) {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size))
        return false;
    if (static_cast<unsigned long long>(size.QuadPart) != text.size()) {
        *same = false;
        return true;
    }
    char buffer[kChunk];
    size_t offset = 0;
    for (;;) {
        DWORD count = 0;
        if (!readFull(file, buffer, kChunk, &count))
            return false;
        if (count > text.size() - offset || std::memcmp(buffer, text.data() + offset, count) != 0) {
            *same = false;
            return true;
        }
        offset += count;
        if (count < kChunk)
            break;
    }
    *same = offset == text.size();
    return true;
}

// The file being written, temporary or new, for the Ctrl-C handler to remove.
// The handler runs on a thread of its own, so the path is in a fixed buffer
// and the file is opened to allow its deletion while it is being written.
wchar_t gTempPath[MAX_PATH * 4];
volatile LONG gTempInUse = 0;

// The attributes a replacement takes over from the file it replaces.
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Deletes the file being written, which may be read-only already.
void discardTemp() {
    SetFileAttributesW(gTempPath, FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(gTempPath);
}

BOOL WINAPI removeTempAndDie(DWORD) {
    if (InterlockedCompareExchange(&gTempInUse, 0, 0))
        discardTemp();
    // The status Windows' own handler ends a process with on Ctrl-C; ending
    // here also stops the main thread before it renames the deleted file.
    ExitProcess(STATUS_CONTROL_C_EXIT);
}

// Creates the file `path`, which must not exist yet, for writing, and makes
// it the one an interruption removes.
HANDLE createMarked(const std::wstring& path) {
    if (path.size() >= std::size(gTempPath)) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return INVALID_HANDLE_VALUE;
    }
    std::memcpy(gTempPath, path.c_str(), (path.size() + 1) * sizeof(wchar_t));
    InterlockedExchange(&gTempInUse, 1);
    HANDLE file =
        CreateFileW(gTempPath, GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        InterlockedExchange(&gTempInUse, 0);
        SetLastError(code);
    }
    return file;
}

// Writes `text` to the file just created and closes it, deleting it on
// failure; the last error tells why.
bool fillMarked(HANDLE file, const std::string& text) {
    bool ok = true;
    for (size_t done = 0; ok && done < text.size();) {
        const DWORD chunk = DWORD(std::min<size_t>(text.size() - done, 1u << 30));
        DWORD written = 0;
        ok = WriteFile(file, text.data() + done, chunk, &written, nullptr);
        done += written;
    }
    DWORD code = GetLastError();
    if (!CloseHandle(file) && ok) {
        ok = false;
        code = GetLastError();
    }
    if (!ok)
        discardTemp();
    SetLastError(code);
    return ok;
}

// Creates a fresh hidden temporary file in `folder` (empty or ending in a
// separator) and makes it the one an interruption removes.
HANDLE createTemp(const std::wstring& folder) {
    static unsigned counter = 0;
    constexpr wchar_t kLetters[] = L"abcdefghijklmnopqrstuvwxyz0123456789";
    for (int tries = 0; tries < 100; ++tries) {
        unsigned long long seed =
            GetTickCount64() * 6364136223846793005ull + GetCurrentProcessId() * 1442695040888963407ull + ++counter;
        std::wstring path = folder + L".enumgen-";
        for (int i = 0; i < 6; ++i, seed /= 36)
            path += kLetters[seed % 36];
        HANDLE file = createMarked(path);
        const DWORD code = GetLastError();
        if (file != INVALID_HANDLE_VALUE || (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS))
            return file;
    }
    return INVALID_HANDLE_VALUE;
}

// Writes `text` to `path`, which must not exist yet. On failure the file is
// removed and the last error set (ERROR_FILE_EXISTS when `path` has appeared
// since).
bool createFile(const std::wstring& path, const std::string& text) {
    HANDLE file = createMarked(path);
    const bool ok = file != INVALID_HANDLE_VALUE && fillMarked(file, text);
    InterlockedExchange(&gTempInUse, 0);
    return ok;
}

// Moves the temporary file over `path`, waiting a while for a target that
// another process holds open. A read-only target gives up its flag for the
// move, and gets it back when the move fails.
bool moveOver(const std::wstring& path, DWORD attributes) {
    const bool readOnly = attributes & FILE_ATTRIBUTE_READONLY;
    if (readOnly && !SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY))
        return false;
    for (int tries = 1;; ++tries) {
        if (MoveFileExW(gTempPath, path.c_str(), MOVEFILE_REPLACE_EXISTING))
            return true;
        const DWORD code = GetLastError();
        // A target held open shows as a sharing violation or as access denied.
        if ((!isBusy(code) && code != ERROR_ACCESS_DENIED) || tries == kTries) {
            if (readOnly)
                SetFileAttributesW(path.c_str(), attributes);
            SetLastError(code);
            return false;
        }
        Sleep(kPauseMillis);
    }
}

// Writes `text` to a temporary file beside `path` with the kept ones of the
// target's `attributes` and moves it over `path` in one step. On failure the
// temporary file is removed and the last error set.
bool replaceFile(const std::wstring& path, const std::string& text, DWORD attributes) {
    const size_t separator = path.find_last_of(L"/\\");
    HANDLE file = createTemp(separator == std::wstring::npos ? std::wstring() : path.substr(0, separator + 1));
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool ok = fillMarked(file, text);
    if (ok && (attributes & kKeptAttributes))
        ok = SetFileAttributesW(gTempPath, attributes & kKeptAttributes);
    ok = ok && moveOver(path, attributes);
    const DWORD code = GetLastError();
    if (!ok)
        discardTemp();
    InterlockedExchange(&gTempInUse, 0);
    SetLastError(code);
    return ok;
}

// Compares the file at `path` with `text` and gives its attributes, or tells
// that it is `absent`; false, with `err`, when it cannot be read.
bool inspect(const std::string& path, const std::wstring& widePath, const std::string& text, MissingOutput missing,
             bool* differs, bool* absent, DWORD* attributes, std::string* err) {
    *absent = false;
    HANDLE file = openForReading(widePath);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        *differs = !text.empty() || missing == MissingOutput::DiffersFromAll;
        *absent = isMissing(code);
        if (*absent)
            return true;
        *err = fileError(path, "read", code, widePath);
        return false;
    }
    bool same = false;
    BY_HANDLE_FILE_INFORMATION info;
    const bool ok = GetFileInformationByHandle(file, &info) && sameContent(file, text, &same);
    const DWORD code = GetLastError();
    CloseHandle(file);
    if (!ok) {
        *err = fileError(path, "read", code, widePath);
        return false;
    }
    *differs = !same;
    *attributes = info.dwFileAttributes;
    return true;
}

}  // namespace

bool readAll(const std::string& path, std::string* text, std::string* err, MissingFile missing) {
    text->clear();
    std::wstring widePath;
    if (!widen(path, &widePath)) {
        *err = fileError(path, "read", GetLastError(), widePath);
        return false;
    }
    HANDLE file = openForReading(widePath);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        if (isMissing(code) && missing == MissingFile::ReadsEmpty)
            return true;
        *err = fileError(path, "read", code, widePath);
        return false;
    }
    char buffer[kChunk];
    DWORD count = 0;
    bool ok;
    while ((ok = readFull(file, buffer, kChunk, &count)) && count > 0)
        text->append(buffer, count);
    const DWORD code = GetLastError();
    CloseHandle(file);
    if (!ok) {
        text->clear();
        *err = fileError(path, "read", code, widePath);
    }
    return ok;
}

bool compareFile(const std::string& path, const std::string& text, bool* differs, std::string* err,
                 MissingOutput missing) {
    std::wstring widePath;
    if (!widen(path, &widePath)) {
        *err = fileError(path, "read", GetLastError(), widePath);
        return false;
    }
    bool absent;
    DWORD attributes;
    return inspect(path, widePath, text, missing, differs, &absent, &attributes, err);
}

bool overwrite(const std::string& path, const std::string& text, std::string* err, MissingOutput missing) {
    std::wstring widePath;
    if (!widen(path, &widePath)) {
        *err = fileError(path, "write", GetLastError(), widePath);
        return true;
    }
    bool differs = true;
    bool absent = false;
    DWORD attributes = 0;
    if (!inspect(path, widePath, text, missing, &differs, &absent, &attributes, err))
        return true;
    if (!differs)
        return false;
    // A new file needs neither a temporary file nor a rename; one that has
    // appeared since is replaced like any other.
    bool written = absent && createFile(widePath, text);
    if (!written && (!absent || GetLastError() == ERROR_FILE_EXISTS))
        written = replaceFile(widePath, text, attributes);
    if (!written)
        *err = fileError(path, "write", GetLastError(), widePath);
    return true;
}

bool listFiles(const std::string& dir, std::vector<std::string>* names, std::string* err) {
    std::wstring wideDir;
    if (!widen(dir, &wideDir)) {
        *err = fileError(dir, "list", GetLastError(), wideDir);
        return false;
    }
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((wideDir + L"/*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        *err = fileError(dir, "list", GetLastError(), wideDir);
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
        *err = fileError(dir, "list", code, wideDir);
        return false;
    }
    return true;
}

bool removeFile(const std::string& path, bool* removed, std::string* err) {
    *removed = false;
    std::wstring widePath;
    if (!widen(path, &widePath)) {
        *err = fileError(path, "remove", GetLastError(), widePath);
        return false;
    }
    // A read-only file goes too, as on POSIX systems; it keeps its flag if it cannot.
    const DWORD attributes = GetFileAttributesW(widePath.c_str());
    const bool readOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    if (readOnly)
        SetFileAttributesW(widePath.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    *removed = DeleteFileW(widePath.c_str());
    const DWORD code = GetLastError();
    if (*removed || isMissing(code))
        return true;
    if (readOnly)
        SetFileAttributesW(widePath.c_str(), attributes);
    *err = fileError(path, "remove", code, widePath);
    return false;
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
    *err = fileError(path, "change into", GetLastError(), widePath);
    return false;
}

void writeStandardStreamsAsBytes() {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

void readStandardInputAsBytes() { _setmode(_fileno(stdin), _O_BINARY); }

bool deviceNamesAreReserved() { return true; }
