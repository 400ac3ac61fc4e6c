// SPDX-License-Identifier: MIT
// The file primitives and process services on POSIX systems.
#include "file-ops.h"
#include "file-primitives.h"

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

FileFault faultOf(int errnum) {
    const FileFault::Kind kind = errnum == ENOENT ? FileFault::Kind::Missing
                                 : errnum == EEXIST                    ? FileFault::Kind::Exists
                                                                       : FileFault::Kind::Other;
    return {kind, std::strerror(errnum)};
}

// The file this run created and is writing, for the interrupt handler to
// remove. A fixed buffer, since a signal handler may read memory but not
// allocate it.
char gTempPath[4096];
volatile std::sig_atomic_t gTempInUse = 0;

constexpr int kInterrupts[] = {SIGINT, SIGTERM, SIGHUP};

void removeTempAndDie(int signal) {
    if (gTempInUse)
        ::unlink(gTempPath);
    // The default action, so the caller sees the process end by this signal.
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

}  // namespace

bool openToRead(const std::string& path, PipeWait wait, ReadHandle* file, FileFault* fault) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | (wait == PipeWait::Never ? O_NONBLOCK : 0));
    struct stat st;
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        *fault = faultOf(errno);
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    file->handle = fd;
    file->info.kind = S_ISREG(st.st_mode) ? FileKind::Regular : S_ISDIR(st.st_mode) ? FileKind::Directory : FileKind::Other;
    file->info.size = static_cast<std::uint64_t>(st.st_size);
    file->info.permissions = st.st_mode & 07777;
    return true;
}

bool readSome(ReadHandle* file, char* buffer, size_t size, size_t* count, FileFault* fault) {
    *count = 0;
    while (*count < size) {
        const ssize_t n = ::read(static_cast<int>(file->handle), buffer + *count, size - *count);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            *fault = faultOf(errno);
            return false;
        }
        if (n == 0)
            break;
        *count += static_cast<size_t>(n);
    }
    return true;
}

void closeRead(ReadHandle* file) {
    ::close(static_cast<int>(file->handle));
    file->handle = -1;
}

bool createExclusive(const std::string& path, std::optional<unsigned> permissions, WriteHandle* file,
                     FileFault* fault) {
    if (path.size() >= sizeof gTempPath) {
        *fault = faultOf(ENAMETOOLONG);
        return false;
    }
    // The interruptions wait while the file is made and marked, so that the
    // handler removes it once it exists, and nothing before.
    sigset_t held, old;
    sigemptyset(&held);
    for (int signal : kInterrupts)
        sigaddset(&held, signal);
    ::sigprocmask(SIG_BLOCK, &held, &old);
    // An exact mode replaces the one the umask leaves once the file is ours.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, permissions ? 0600 : 0666);
    const int savedErrno = errno;
    if (fd >= 0) {
        std::memcpy(gTempPath, path.c_str(), path.size() + 1);
        gTempInUse = 1;
    }
    ::sigprocmask(SIG_SETMASK, &old, nullptr);
    if (fd < 0) {
        *fault = faultOf(savedErrno);
        return false;
    }
    file->handle = fd;
    file->permissions = permissions;
    if (permissions && ::fchmod(fd, static_cast<mode_t>(*permissions)) != 0) {
        *fault = faultOf(errno);
        ::close(fd);
        ::unlink(path.c_str());
        endRemovalOnInterrupt();
        return false;
    }
    return true;
}

bool writeAllOf(WriteHandle* file, std::string_view text, FileFault* fault) {
    while (!text.empty()) {
        const ssize_t n = ::write(static_cast<int>(file->handle), text.data(), text.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            *fault = faultOf(errno);
            return false;
        }
        text.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

bool closeWritten(WriteHandle* file, FileFault* fault) {
    const bool ok = ::close(static_cast<int>(file->handle)) == 0;
    file->handle = -1;
    if (!ok)
        *fault = faultOf(errno);
    return ok;
}

void endRemovalOnInterrupt() { gTempInUse = 0; }

bool renameOver(const std::string& from, const std::string& to, FileFault* fault) {
    if (::rename(from.c_str(), to.c_str()) == 0)
        return true;
    *fault = faultOf(errno);
    return false;
}

bool removePath(const std::string& path, FileFault* fault) {
    if (::unlink(path.c_str()) == 0)
        return true;
    *fault = faultOf(errno);
    return false;
}

bool listFolder(const std::string& dir, std::vector<std::string>* names, FileFault* fault) {
    DIR* stream = ::opendir(dir.c_str());
    if (!stream) {
        *fault = faultOf(errno);
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
        *fault = faultOf(failure);
    return failure == 0;
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
    for (int signal : kInterrupts) {
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
    *err = path + ": cannot change into: " + std::strerror(errno);
    return false;
}

void writeStandardStreamsAsBytes() {}

void readStandardInputAsBytes() {}

bool deviceNamesAreReserved() { return false; }
