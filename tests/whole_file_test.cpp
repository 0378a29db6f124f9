// A file is written whole or not at all, by writers at the same time too, and what is written
// concerns the file that its path led to when it was opened: a link that another process moves
// meanwhile never makes it replace a device or a FIFO.
#include "platform/whole_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "tests/shell.h"

namespace loto {
namespace {

mode_t TypeOf(const std::string& path) {
    struct stat entry {};
    return ::lstat(path.c_str(), &entry) == 0 ? entry.st_mode & S_IFMT : 0;
}

// Writers at the same time, each with a content of its own and of its own length, each leave a
// whole file: what is there at any moment is one of the contents, never a mix of them.
TEST(WholeFile, WritersAtTheSameTimeEachLeaveAWholeFile) {
    char folder[] = "/tmp/loto-writers-XXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    const std::string path = std::string(folder) + "/chart.svg";
    std::vector<std::string> contents;
    for (int writer = 0; writer < 4; ++writer) {
        contents.push_back(std::string(200'000 * (writer + 1), static_cast<char>('a' + writer)));
    }
    std::atomic<bool> done = false;
    std::atomic<int> failures = 0;
    std::vector<std::thread> writers;
    for (const std::string& content : contents) {
        writers.emplace_back([&] {
            while (!done) {
                failures += WriteWholeFile(path, content) != 0 ? 1 : 0;
            }
        });
    }
    int mixed = 0, reads = 0;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (std::chrono::steady_clock::now() < end) {
        const std::string read = test::ReadFile(path);
        mixed += std::ranges::find(contents, read) == contents.end() && !read.empty() ? 1 : 0;
        ++reads;
    }
    done = true;
    for (std::thread& writer : writers) {
        writer.join();
    }
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(mixed, 0) << "of " << reads << " reads";
    EXPECT_NE(std::ranges::find(contents, test::ReadFile(path)), contents.end());
    test::Shell("rm -r " + std::string(folder));
}

TEST(WholeFile, ALinkMovedMeanwhileLeavesDevicesAndFifosAsTheyAre) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "making a device takes root";
    }
    char folder[] = "/tmp/loto-race-XXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    const std::string dir = folder;
    const std::string file = dir + "/f", device = dir + "/nul", fifo = dir + "/fifo";
    const std::string link = dir + "/l";
    ASSERT_EQ(::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);  // a /dev/null
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
    std::FILE* made = std::fopen(file.c_str(), "w");
    ASSERT_NE(made, nullptr);
    std::fclose(made);
    ASSERT_EQ(::symlink("f", link.c_str()), 0);

    // A reader keeps the FIFO open, so that writing into it never waits; another process moves
    // the link from one target to the next, each move a rename, so that the link always exists.
    std::atomic<bool> done = false;
    std::thread reader([&] {
        const int fd = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
        char buffer[4096];
        while (!done) {
            (void)!::read(fd, buffer, sizeof buffer);
        }
        ::close(fd);
    });
    std::thread mover([&] {
        const std::string moved = dir + "/l.new";
        while (!done) {
            for (const char* target : {"nul", "fifo", "f"}) {
                (void)!::symlink(target, moved.c_str());
                ::rename(moved.c_str(), link.c_str());
            }
        }
    });
    int writes = 0, failures = 0;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (std::chrono::steady_clock::now() < end) {
        failures += WriteWholeFile(link, "<svg/>\n") != 0 ? 1 : 0;
        ++writes;
    }
    done = true;
    mover.join();
    reader.join();
    EXPECT_EQ(failures, 0) << "of " << writes;
    EXPECT_EQ(TypeOf(device), static_cast<mode_t>(S_IFCHR));
    EXPECT_EQ(TypeOf(fifo), static_cast<mode_t>(S_IFIFO));
    EXPECT_EQ(TypeOf(file), static_cast<mode_t>(S_IFREG));
    EXPECT_EQ(test::ReadFile(file), "<svg/>\n");
    EXPECT_EQ(test::Shell("ls -A " + dir).out, "f\nfifo\nl\nnul\n");  // no temporary left
    test::Shell("rm -r " + dir);
}

}  // namespace
}  // namespace loto
