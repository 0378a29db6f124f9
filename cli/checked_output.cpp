#include "cli/checked_output.h"

#include <cerrno>
#include <cstring>

#include "cli/interrupt.h"
#include "platform/quoted_text.h"
#include "platform/whole_file.h"

namespace loto {

bool CheckedOutput::Write(std::string_view text) {
    if (error_ != 0) {
        return false;
    }
    errno = 0;
    const bool written =
        std::fwrite(text.data(), 1, text.size(), file_) == text.size() && std::fflush(file_) == 0;
    if (!written) {
        error_ = errno != 0 ? errno : EIO;
    }
    return written;
}

ExitStatus WriteResults(CheckedOutput& out, std::string_view text) {
    if (out.Write(text)) {
        return ExitStatus::Drew;
    }
    const ExitStatus status = FailureStatus(out.error());
    if (status == ExitStatus::Failed) {
        std::fprintf(stderr, "loto-sim: the results cannot be written: %s\n",
                     std::strerror(out.error()));
    }
    return status;
}

ExitStatus WriteChartFile(const std::string& path, const std::string& svg) {
    const int error = WriteWholeFile(path, svg);
    const ExitStatus status = error == 0 ? ExitStatus::Drew : FailureStatus(error);
    if (status == ExitStatus::Failed) {
        std::fprintf(stderr, "loto-sim: the chart cannot be written to %s: %s\n",
                     Quoted(path).c_str(), std::strerror(error));
    }
    return status;
}

}  // namespace loto
