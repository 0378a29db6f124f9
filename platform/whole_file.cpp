#include "platform/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace loto {
namespace {

// The target's own permissions when it exists, as a new file would have them otherwise.
mode_t ModeFor(const std::string& path) {
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0) {
        return existing.st_mode & 07777;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// An interrupted write is a failure: only a signal that asks the program to stop interrupts one.
int WriteAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t written = ::write(fd, content.data(), content.size());
        if (written < 0) {
            return errno;
        }
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

// A device or a pipe (/dev/stdout, /dev/null, a FIFO) is written as it stands: renaming a file
// over it would replace it.
int WriteInPlace(const std::string& path, std::string_view content) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    const int error = WriteAll(fd, content);
    return ::close(fd) != 0 && error == 0 ? errno : error;
}

// The path that a chain of links leads to, made or not, as a shell's redirection follows it: the
// file to replace, into `path`. ELOOP past as many links as the system follows.
int FollowLinks(std::string& path) {
    constexpr int kMaxLinks = 40;
    for (int links = 0;; ++links) {
        struct stat entry {};
        if (::lstat(path.c_str(), &entry) != 0 || !S_ISLNK(entry.st_mode)) {
            return 0;  // a missing file is made; other failures show when it is written
        }
        if (links == kMaxLinks) {
            return ELOOP;
        }
        std::string target(static_cast<std::size_t>(entry.st_size) + 1, '\0');
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0) {
            return errno;
        }
        target.resize(static_cast<std::size_t>(length));
        const std::size_t slash = path.rfind('/');
        path = target.starts_with('/') || slash == std::string::npos
                   ? target
                   : path.substr(0, slash + 1) + target;
    }
}

// The file that an existing path leads to, through links the system follows itself (those of
// /proc too); the last of a chain of links otherwise, to be made.
int Target(std::string& path) {
    struct stat existing {};
    if (::stat(path.c_str(), &existing) != 0) {
        return errno == ENOENT ? FollowLinks(path) : errno;
    }
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
        return errno;
    }
    path = resolved;
    std::free(resolved);
    return 0;
}

}  // namespace

int WriteWholeFile(const std::string& linkOrPath, std::string_view content) {
    struct stat existing {};
    if (::stat(linkOrPath.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
        return WriteInPlace(linkOrPath, content);
    }
    std::string path = linkOrPath;
    if (const int error = Target(path); error != 0) {
        return error;
    }
    const std::size_t slash = path.rfind('/');
    std::string temporary =
        (slash == std::string::npos ? "" : path.substr(0, slash + 1)) + ".loto-XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        return errno;
    }
    int error = ::fchmod(fd, ModeFor(path)) == 0 ? WriteAll(fd, content) : errno;
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && std::rename(temporary.c_str(), path.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temporary.c_str());
    }
    return error;
}

}  // namespace loto
