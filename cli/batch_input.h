#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace loto {

// The longest batch line that is read, its line break aside: seven boxes of 1,000 characters
// take at most 21,006 bytes, and a line that never ends (/dev/zero) must not fill the memory.
inline constexpr std::size_t kMaxLineBytes = 1 << 20;

// Lines of a batch, read from a file that may fail: a read error and a line past the bound are
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

// The fields of a batch line, separated by ';', as parts of the line: without a game the seven
// boxes, draws first; with one, the number of draws and the ticket. Nothing is copied.
[[nodiscard]] std::vector<std::string_view> SplitFields(std::string_view line);

// A line of blanks only, skipped.
[[nodiscard]] bool IsBlankLine(std::string_view line) noexcept;

}  // namespace loto
