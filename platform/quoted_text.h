#pragma once

#include <string>
#include <string_view>

namespace loto {

// Text from an untrusted input made safe to echo on a terminal: printable ASCII as it stands,
// every other byte as \xNN, and no more than `limit` characters of it before an ellipsis.
[[nodiscard]] std::string Quoted(std::string_view text, std::size_t limit = 40);

// A message that may hold untrusted text, made safe for a terminal: control bytes as \xNN, the
// rest (UTF-8 included) as it stands.
[[nodiscard]] std::string PrintableText(std::string_view text);

}  // namespace loto
