#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "cli/exit_status.h"

namespace loto {

// An output whose every write is checked and flushed: results that cannot be written (a full
// disk, a closed pipe) are lost, and the program must not go on as if they had been written.
class CheckedOutput {
public:
    explicit CheckedOutput(std::FILE* file) noexcept : file_(file) {}

    // False once a write has failed; nothing more is written then.
    [[nodiscard]] bool Write(std::string_view text);
    // The errno of the failed write, 0 while every write went through.
    [[nodiscard]] int error() const noexcept { return error_; }

private:
    std::FILE* file_;
    int error_ = 0;
};

// Writes results to `out`, or a chart to the file at `path`: Drew, or the status of a write that
// failed, said on standard error unless a signal stopped it while it waited for a reader.
[[nodiscard]] ExitStatus WriteResults(CheckedOutput& out, std::string_view text);
[[nodiscard]] ExitStatus WriteChartFile(const std::string& path, const std::string& svg);

}  // namespace loto
