#include "cli/batch_input.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace loto {
namespace {

constexpr std::uint64_t kBoxCount = 7;

}  // namespace

LineReader::~LineReader() {
    std::free(buffer_);
}

std::optional<std::string_view> LineReader::Next() {
    errno = 0;
    const ssize_t length = ::getline(&buffer_, &capacity_, file_);
    if (length < 0) {
        error_ = std::ferror(file_) != 0 ? (errno != 0 ? errno : EIO) : 0;
        return std::nullopt;
    }
    ++number_;
    std::string_view line(buffer_, static_cast<std::size_t>(length));
    if (!line.empty() && line.back() == '\n') {
        line.remove_suffix(1);
    }
    return line;
}

BatchFields SplitBatchLine(std::string_view line) {
    const auto count = static_cast<std::uint64_t>(std::count(line.begin(), line.end(), ';')) + 1;
    if (count != kBoxCount) {
        return {std::nullopt, count};
    }
    std::vector<std::string> boxes(1);
    for (const char c : line) {
        if (c == ';') {
            boxes.emplace_back();
        } else if (c != '\r') {
            boxes.back().push_back(c);
        }
    }
    return {std::move(boxes), count};
}

bool IsBlankLine(std::string_view line) noexcept {
    return line.find_first_not_of(" \t\r") == std::string_view::npos;
}

}  // namespace loto
