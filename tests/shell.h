#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace loto::test {

struct ShellResult {
    int status = -1;  // the exit status, or 128 + the signal that ended the command
    std::string out;  // what it wrote on standard output
};

// Runs a command line through /bin/sh and collects its standard output.
inline ShellResult Shell(const std::string& command) {
    ShellResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return result;
    }
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        result.out.append(buffer.data(), n);
    }
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

}  // namespace loto::test
