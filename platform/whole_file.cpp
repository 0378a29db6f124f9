#include "platform/whole_file.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <string>

namespace loto {
namespace {

// A file descriptor closed when it goes.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) noexcept : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    [[nodiscard]] int get() const noexcept { return fd_; }
    [[nodiscard]] bool valid() const noexcept { return fd_ >= 0; }
    // Closes it now, for the error that a close can report (a write that failed late).
    [[nodiscard]] int Close() noexcept {
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int fd_;
};

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

bool SameFile(const struct stat& a, const struct stat& b) noexcept {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The folder and the name of a path, "." for a name alone.
std::pair<std::string, std::string> Split(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return {".", path};
    }
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

// The path that a chain of links leads to, as a shell's redirection follows it to make the file it
// names: ELOOP past as many links as the system follows.
int FollowLinks(std::string& path) {
    constexpr int kMaxLinks = 40;
    for (int links = 0;; ++links) {
        struct stat entry {};
        if (::lstat(path.c_str(), &entry) != 0 || !S_ISLNK(entry.st_mode)) {
            return 0;
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

// A new, empty file of this process's own in `folder`, under a name that no one else uses: its
// descriptor, or minus the errno.
int MakeTemporary(int folder, std::string& name) {
    static std::atomic<unsigned> counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::array<char, 64> text{};
        std::snprintf(text.data(), text.size(), ".loto-%ld-%u", static_cast<long>(::getpid()),
                      ++counter);
        const int fd = ::openat(folder, text.data(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) {
            name = text.data();
            return fd;
        }
        if (errno != EEXIST) {
            return -errno;
        }
    }
    return -EEXIST;
}

// The content written whole into a new file in `folder`, given `mode` and, where the system lets
// it, `owner`'s user and group; its name in `name`.
int WriteTemporary(int folder, std::string_view content, const struct stat& owner, mode_t mode,
                   std::string& name) {
    Descriptor file(MakeTemporary(folder, name));
    if (!file.valid()) {
        return -file.get();
    }
    // Only root may give a file away; a failure leaves it this process's, as a rename must.
    if (owner.st_uid != ::geteuid() || owner.st_gid != ::getegid()) {
        (void)!::fchown(file.get(), owner.st_uid, owner.st_gid);
    }
    int error = ::fchmod(file.get(), mode) == 0 ? WriteAll(file.get(), content) : errno;
    if (const int closed = file.Close(); error == 0) {
        error = closed;
    }
    if (error != 0) {
        ::unlinkat(folder, name.c_str(), 0);
    }
    return error;
}

// Puts the temporary in place of the entry `name` of `folder`: over it when it is `replaced`,
// which must still be the file that was opened; only where no entry is when there is none to
// replace, so that an entry made meanwhile (a device, by another user) is never replaced blindly.
int PutInPlace(int folder, const std::string& temporary, const std::string& name,
               const struct stat* replaced) {
    if (replaced != nullptr) {
        // A name that leads elsewhere now, or nowhere (another writer's file took its place):
        // start again.
        struct stat entry {};
        if (::fstatat(folder, name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0) {
            return errno == ENOENT ? EAGAIN : errno;
        }
        if (!SameFile(entry, *replaced)) {
            return EAGAIN;
        }
        return ::renameat(folder, temporary.c_str(), folder, name.c_str()) == 0 ? 0 : errno;
    }
    if (::renameat2(folder, temporary.c_str(), folder, name.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL) {
        return errno == EEXIST ? EAGAIN : errno;
    }
    // A file system without the flag: a hard link is made only where no entry is either.
    if (::linkat(folder, temporary.c_str(), folder, name.c_str(), 0) != 0) {
        return errno == EEXIST ? EAGAIN : errno;
    }
    ::unlinkat(folder, temporary.c_str(), 0);
    return 0;
}

// Writes `content` beside the entry `path` of a folder and renames it there; `opened` is the
// regular file that the path led to, or none when the path leads nowhere yet.
int ReplaceBeside(const std::string& path, std::string_view content, const struct stat* opened) {
    const auto [folderPath, name] = Split(path);
    const Descriptor folder(::open(folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid()) {
        return errno;
    }
    struct stat owner {};
    owner.st_uid = ::geteuid();
    owner.st_gid = ::getegid();
    mode_t mode = 0666;
    if (opened != nullptr) {
        owner = *opened;
        mode = opened->st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    std::string temporary;
    if (const int error = WriteTemporary(folder.get(), content, owner, mode, temporary);
        error != 0) {
        return error;
    }
    const int error = PutInPlace(folder.get(), temporary, name, opened);
    if (error != 0) {
        ::unlinkat(folder.get(), temporary.c_str(), 0);
    }
    return error;
}

// Where the file open on `fd` has its entry, through no link: the folder that holds it.
int EntryOf(int fd, std::string& path) {
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    std::string target(4096, '\0');
    const ssize_t length = ::readlink(link.c_str(), target.data(), target.size());
    if (length < 0 || static_cast<std::size_t>(length) == target.size()) {
        return length < 0 ? errno : ENAMETOOLONG;
    }
    target.resize(static_cast<std::size_t>(length));
    path = std::move(target);
    return 0;
}

// One attempt: EAGAIN when the path changed under it.
int WriteOnce(const std::string& path, std::string_view content) {
    // The file is opened once, as a redirection opens it (links followed, the user's right to
    // write checked), and what is done next concerns that very file: a device or a FIFO is written
    // as it stands, a regular file replaced by a whole copy beside its own entry.
    Descriptor file(::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
    if (!file.valid()) {
        if (errno != ENOENT) {
            return errno;
        }
        std::string made = path;
        if (const int error = FollowLinks(made); error != 0) {
            return error;
        }
        return ReplaceBeside(made, content, nullptr);
    }
    struct stat opened {};
    if (::fstat(file.get(), &opened) != 0) {
        return errno;
    }
    if (!S_ISREG(opened.st_mode)) {
        const int error = WriteAll(file.get(), content);
        const int closed = file.Close();
        return error != 0 ? error : closed;
    }
    std::string entry;
    if (const int error = EntryOf(file.get(), entry); error != 0) {
        return error;
    }
    return ReplaceBeside(entry, content, &opened);
}

}  // namespace

int WriteWholeFile(const std::string& path, std::string_view content) {
    constexpr int kAttempts = 100;
    int error = EAGAIN;
    for (int attempt = 0; attempt < kAttempts && error == EAGAIN; ++attempt) {
        error = WriteOnce(path, content);
    }
    return error;
}

}  // namespace loto
