#include "cli/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

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

int WriteAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t written = ::write(fd, content.data(), content.size());
        if (written < 0 && errno != EINTR) {
            return errno;
        }
        content.remove_prefix(written < 0 ? 0 : static_cast<std::size_t>(written));
    }
    return 0;
}

// A device or a pipe (/dev/stdout, /dev/null) is written as it stands: renaming a file over it
// would replace it.
int WriteInPlace(const std::string& path, std::string_view content) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC);
    if (fd < 0) {
        return errno;
    }
    const int error = WriteAll(fd, content);
    return ::close(fd) != 0 && error == 0 ? errno : error;
}

// The file that a link leads to, which is the one to replace; the path itself otherwise.
std::string Target(const std::string& path) {
    char* resolved = ::realpath(path.c_str(), nullptr);
    std::string target = resolved != nullptr ? resolved : path;
    std::free(resolved);
    return target;
}

}  // namespace

int WriteWholeFile(const std::string& linkOrPath, std::string_view content) {
    struct stat existing {};
    if (::stat(linkOrPath.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
        return WriteInPlace(linkOrPath, content);
    }
    const std::string path = Target(linkOrPath);
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
