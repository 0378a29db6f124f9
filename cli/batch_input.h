#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string_view>

namespace loto {

// Lines of a batch, read from a file that may fail: a read error is told apart from the end.
class LineReader {
public:
    explicit LineReader(std::FILE* file) noexcept : file_(file) {}
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // The next line without its line break (LF or CRLF), and the first without a UTF-8
    // byte-order mark; none at the end or on an error. Valid until the next call or Shrink().
    [[nodiscard]] std::optional<std::string_view> Next();
    // Gives back the memory of a long line once its fields have been copied.
    void Shrink() noexcept;
    // The errno of a failed read, 0 when the input simply ended.
    [[nodiscard]] int error() const noexcept { return error_; }
    // The number of the line last read, from 1.
    [[nodiscard]] std::uint64_t number() const noexcept { return number_; }

private:
    std::FILE* file_;
    char* buffer_ = nullptr;
    std::size_t capacity_ = 0;
    std::uint64_t number_ = 0;
    int error_ = 0;
};

// The seven boxes of a batch line (draws first, separated by ';'), as parts of the line, or none
// when it does not hold exactly seven fields. Nothing is copied.
using BoxTexts = std::array<std::string_view, 7>;
struct BatchFields {
    std::optional<BoxTexts> boxes;
    std::uint64_t count = 0;
};
[[nodiscard]] BatchFields SplitBatchLine(std::string_view line);

// A line of blanks only, skipped.
[[nodiscard]] bool IsBlankLine(std::string_view line) noexcept;

}  // namespace loto
