#pragma once

#include <span>
#include <string_view>

namespace loto {

// The lotteries' rules that loto-sim ships as examples (examples/rules), built into the panel:
// the page reads no file. Each one's file name and its text, in the order of their names.
struct ExampleRules {
    std::string_view file;
    std::string_view text;
};

[[nodiscard]] std::span<const ExampleRules> ExampleRulesFiles() noexcept;

}  // namespace loto
