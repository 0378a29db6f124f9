#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace loto {

// The longest line that is read, its line break aside: far more than a batch line of seven boxes
// of 1,000 characters or a history's line of a few dozen fields, and a line that never ends
// (/dev/zero) must not fill the memory.
inline constexpr std::size_t kMaxLineBytes = 1 << 20;

// Lines of a text, read from a file that may fail: a read error and a line past the bound are
// told apart from the end.
class LineReader {
public:
    explicit LineReader(std::FILE* file) noexcept : file_(file) {}

    // The next line without its line break (LF or CRLF), and the first without a UTF-8
    // byte-order mark; none at the end, on an error or past kMaxLineBytes. Valid until the next
    // call.
    [[nodiscard]] std::optional<std::string_view> Next();
    // The errno of a failed read, 0 when the input simply ended.
    [[nodiscard]] int error() const noexcept { return error_; }
    // Whether reading stopped at a line longer than kMaxLineBytes.
    [[nodiscard]] bool tooLong() const noexcept { return tooLong_; }
    // The number of the line last read, from 1.
    [[nodiscard]] std::uint64_t number() const noexcept { return number_; }

private:
    std::FILE* file_;
    std::string line_;
    std::uint64_t number_ = 0;
    int error_ = 0;
    bool tooLong_ = false;
};

}  // namespace loto
