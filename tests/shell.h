#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace loto::test {

struct ShellResult {
    int status = -1;  // the exit status, or 128 + the signal that ended the command
    std::string out;  // what it wrote on standard output
    std::string err;  // and on standard error
};

inline std::string ReadFile(const std::string& path) {
    std::ifstream file(path);
    return {std::istreambuf_iterator<char>(file), {}};
}

// Runs a command line through /bin/sh and collects what it writes.
inline ShellResult Shell(const std::string& command) {
    ShellResult result;
    char errPath[] = "/tmp/loto-test-err-XXXXXX";
    close(mkstemp(errPath));
    FILE* pipe = popen(("{ " + command + "\n} 2>" + errPath).c_str(), "r");
    if (pipe == nullptr) {
        std::remove(errPath);
        return result;
    }
    std::array<char, 4096> buffer{};
    for (std::size_t n = 0; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) {
        result.out.append(buffer.data(), n);
    }
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.err = ReadFile(errPath);
    std::remove(errPath);
    return result;
}

}  // namespace loto::test
