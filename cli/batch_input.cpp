#include "cli/batch_input.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace loto {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kKeptCapacity = 1 << 16;

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
    if (number_ == 1 && line.starts_with(kByteOrderMark)) {
        line.remove_prefix(kByteOrderMark.size());  // spreadsheets and editors save with one
    }
    for (const char end : {'\n', '\r'}) {
        if (!line.empty() && line.back() == end) {
            line.remove_suffix(1);
        }
    }
    return line;
}

void LineReader::Shrink() noexcept {
    if (capacity_ > kKeptCapacity) {
        std::free(buffer_);
        buffer_ = nullptr;
        capacity_ = 0;
    }
}

BatchFields SplitBatchLine(std::string_view line) {
    const auto count = static_cast<std::uint64_t>(std::count(line.begin(), line.end(), ';')) + 1;
    BoxTexts boxes;
    if (count != boxes.size()) {
        return {std::nullopt, count};
    }
    for (std::string_view& box : boxes) {
        const std::size_t end = std::min(line.find(';'), line.size());
        box = line.substr(0, end);
        line.remove_prefix(std::min(end + 1, line.size()));
    }
    return {boxes, count};
}

bool IsBlankLine(std::string_view line) noexcept {
    return line.find_first_not_of(" \t\r") == std::string_view::npos;
}

}  // namespace loto
