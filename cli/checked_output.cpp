#include "cli/checked_output.h"

#include <cerrno>

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

}  // namespace loto
