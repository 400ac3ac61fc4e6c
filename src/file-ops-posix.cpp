// SPDX-License-Identifier: MIT
#include "file-ops.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

std::string fileError(const std::string& path, const char* action, int errnum) {
    return path + ": cannot " + action + ": " + std::strerror(errnum);
}

constexpr size_t kChunk = size_t{64} * 1024;

// Reads up to `size` bytes, retrying interrupted and short reads; returns the
// count read (short only at end of file) or -1 with errno set.
ssize_t readFull(int fd, char* buffer, size_t size) {
    size_t done = 0;
    while (done < size) {
        ssize_t n = ::read(fd, buffer + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        done += static_cast<size_t>(n);
    }
    return static_cast<ssize_t>(done);
}

bool writeFull(int fd, const char* data, size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// Compares the open file's content with `text` without holding the whole file
// in memory; a size difference settles it without reading.
bool sameContent(int fd, const struct stat& st, const std::string& text, bool* same) {
    if (!S_ISREG(st.st_mode) || static_cast<size_t>(st.st_size) != text.size()) {
        // Anything but a regular file of the right size differs, but a
        // directory must still fail here, as a read does, with its reason.
        if (S_ISDIR(st.st_mode)) {
            errno = EISDIR;
            return false;
        }
        *same = false;
        return true;
    }
    char buffer[kChunk];
    size_t offset = 0;
    for (;;) {
        ssize_t n = readFull(fd, buffer, sizeof buffer);
        if (n < 0)
            return false;
        size_t count = static_cast<size_t>(n);
        if (count > text.size() - offset || std::memcmp(buffer, text.data() + offset, count) != 0) {
            *same = false;
            return true;
        }
        offset += count;
        if (count < sizeof buffer)
            break;
    }
    *same = offset == text.size();
    return true;
}

mode_t creationMode() {
    static const mode_t mask = [] {
        mode_t m = ::umask(0);
        ::umask(m);
        return m;
    }();
    return 0666 & ~mask;
}

// The file being written, temporary or new, for the interrupt handler to
// remove. A fixed buffer, since a signal handler may read memory but not
// allocate it.
char gTempPath[4096];
volatile std::sig_atomic_t gTempInUse = 0;

void removeTempAndDie(int signal) {
    if (gTempInUse)
        ::unlink(gTempPath);
    // The default action, so the caller sees the process end by this signal.
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

// Writes `text` to a new file with `mode`: either a fresh temporary file
// beside `path`, then renamed over it, or `path` itself, which must not exist
// yet (no file can be lost there). The file being written is marked for the
// interrupt handler and removed on failure, with errno set (EEXIST when
// `path` has appeared since).
bool writeNewFile(const std::string& path, bool temporary, const std::string& text, mode_t mode) {
    std::string target = path;
    if (temporary) {
        // A short hidden name, so a target name near the length limit still fits.
        const size_t slash = path.rfind('/');
        target = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + ".enumgen-XXXXXX";
    }
    if (target.size() >= sizeof gTempPath) {
        errno = ENAMETOOLONG;
        return false;
    }
    std::memcpy(gTempPath, target.c_str(), target.size() + 1);
    // Marked before the open, so that an interruption right after it removes
    // the file too.
    gTempInUse = 1;
    int fd = temporary ? ::mkstemp(gTempPath) : ::open(gTempPath, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0) {
        gTempInUse = 0;
        return false;
    }
    // mkstemp makes a file for its owner alone.
    bool ok = writeFull(fd, text.data(), text.size()) && (!temporary || ::fchmod(fd, mode) == 0);
    int savedErrno = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        savedErrno = errno;
    }
    if (ok && temporary && ::rename(gTempPath, path.c_str()) != 0) {
        ok = false;
        savedErrno = errno;
    }
    if (!ok)
        ::unlink(gTempPath);
    gTempInUse = 0;
    errno = savedErrno;
    return ok;
}

}  // namespace

bool readAll(const std::string& path, std::string* text, std::string* err, MissingFile missing) {
    text->clear();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT && missing == MissingFile::ReadsEmpty)
            return true;
        *err = fileError(path, "read", errno);
        return false;
    }
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
        text->resize(static_cast<size_t>(st.st_size));
    // Read the expected size in one go, then on in chunks until end of file
    // (the file may have grown, or have no size, like a pipe).
    ssize_t n = readFull(fd, text->data(), text->size());
    bool ok = n >= 0;
    if (ok) {
        text->resize(static_cast<size_t>(n));
        char buffer[kChunk];
        while ((n = readFull(fd, buffer, sizeof buffer)) > 0)
            text->append(buffer, static_cast<size_t>(n));
        ok = n >= 0;
    }
    int savedErrno = errno;
    ::close(fd);
    if (!ok) {
        text->clear();
        *err = fileError(path, "read", savedErrno);
    }
    return ok;
}

namespace {

// Compares the file at `path` with `text`, and gives the mode a replacement
// should have: the file's own, or the default for a new file.
bool inspect(const std::string& path, const std::string& text, MissingOutput missingOutput, bool* differs, mode_t* mode,
             bool* missing, std::string* err) {
    *mode = creationMode();
    *missing = false;
    // Non-blocking, so a FIFO in an output's place cannot stall the run; it
    // differs from any text and is replaced like any other file.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        *differs = !text.empty() || missingOutput == MissingOutput::DiffersFromAll;
        *missing = errno == ENOENT;
        if (errno != ENOENT) {
            *err = fileError(path, "read", errno);
            return false;
        }
        return true;
    }
    struct stat st;
    bool same = false;
    bool ok = ::fstat(fd, &st) == 0 && sameContent(fd, st, text, &same);
    int savedErrno = errno;
    ::close(fd);
    if (!ok) {
        *err = fileError(path, "read", savedErrno);
        return false;
    }
    *differs = !same;
    *mode = st.st_mode & 07777;
    return true;
}

}  // namespace

bool compareFile(const std::string& path, const std::string& text, bool* differs, std::string* err,
                 MissingOutput missingOutput) {
    mode_t mode;
    bool missing;
    return inspect(path, text, missingOutput, differs, &mode, &missing, err);
}

bool overwrite(const std::string& path, const std::string& text, std::string* err, MissingOutput missingOutput) {
    // A run into an empty folder finds every output missing: once one was,
    // the next is created at once, which spares looking it up first. Any
    // failure there, such as an existing file, leads to the usual way.
    static bool lastWasMissing = false;
    if (lastWasMissing && (!text.empty() || missingOutput == MissingOutput::DiffersFromAll) &&
        writeNewFile(path, false, text, creationMode()))
        return true;
    bool differs = true;
    mode_t mode;
    bool missing;
    if (!inspect(path, text, missingOutput, &differs, &mode, &missing, err))
        return true;
    lastWasMissing = missing;
    if (!differs)
        return false;
    // A new file needs neither a temporary file nor a rename; one that has
    // appeared since is replaced like any other.
    bool written = missing && writeNewFile(path, false, text, mode);
    if (!written && (!missing || errno == EEXIST))
        written = writeNewFile(path, true, text, mode);
    if (!written)
        *err = fileError(path, "write", errno);
    return true;
}

bool listFiles(const std::string& dir, std::vector<std::string>* names, std::string* err) {
    DIR* stream = ::opendir(dir.c_str());
    if (!stream) {
        *err = fileError(dir, "list", errno);
        return false;
    }
    // readdir tells its end from a failure only by errno, which each entry's
    // lstat may have set.
    int failure = 0;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(stream);
        if (!entry) {
            failure = errno;
            break;
        }
        struct stat st;
        const std::string name = entry->d_name;
        if (::lstat((dir + "/" + name).c_str(), &st) == 0) {
            if (S_ISREG(st.st_mode))
                names->push_back(name);
        } else if (errno != ENOENT) {
            // An entry removed since readdir saw it is simply not listed.
            failure = errno;
            break;
        }
    }
    ::closedir(stream);
    if (failure != 0)
        *err = fileError(dir, "list", failure);
    return failure == 0;
}

bool removeFile(const std::string& path, bool* removed, std::string* err) {
    *removed = ::unlink(path.c_str()) == 0;
    if (*removed || errno == ENOENT)
        return true;
    *err = fileError(path, "remove", errno);
    return false;
}

bool sameDirectory(const std::string& a, const std::string& b) {
    struct stat sa, sb;
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && S_ISDIR(sa.st_mode) &&
           sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

void removeTempFileOnInterrupt() {
    struct sigaction action = {};
    action.sa_handler = removeTempAndDie;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction old;
        // A signal the caller ignores, as a shell does for background jobs, stays ignored.
        if (::sigaction(signal, nullptr, &old) == 0 && old.sa_handler != SIG_IGN)
            ::sigaction(signal, &action, nullptr);
    }
}

void reuseFreedMemory() {
#if defined(__GLIBC__)
    // Large blocks would be mapped afresh and unmapped when freed; from the
    // heap, with trimming off, they are reused.
    ::mallopt(M_MMAP_MAX, 0);
    ::mallopt(M_TRIM_THRESHOLD, -1);
#endif
}

bool changeDirectory(const std::string& path, std::string* err) {
    if (::chdir(path.c_str()) == 0)
        return true;
    *err = fileError(path, "change into", errno);
    return false;
}

void writeStandardStreamsAsBytes() {}

void readStandardInputAsBytes() {}

bool deviceNamesAreReserved() { return false; }
