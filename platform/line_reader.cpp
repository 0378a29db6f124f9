#include "platform/line_reader.h"

#include <cerrno>

namespace loto {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

// Byte by byte: a line is bounded while it is read, not once it is whole, and a NUL is a byte
// of its field like any other.
std::optional<std::string_view> LineReader::Next() {
    line_.clear();
    errno = 0;
    int c = 0;
    while ((c = getc_unlocked(file_)) != EOF && c != '\n') {
        if (line_.size() == kMaxLineBytes) {
            ++number_;
            tooLong_ = true;
            return std::nullopt;
        }
        line_.push_back(static_cast<char>(c));
    }
    if (c == EOF && (std::ferror(file_) != 0 || line_.empty())) {
        error_ = std::ferror(file_) != 0 ? (errno != 0 ? errno : EIO) : 0;
        return std::nullopt;
    }
    ++number_;
    std::string_view line(line_);
    if (number_ == 1 && line.starts_with(kByteOrderMark)) {
        line.remove_prefix(kByteOrderMark.size());  // spreadsheets and editors save with one
    }
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    return line;
}

}  // namespace loto
