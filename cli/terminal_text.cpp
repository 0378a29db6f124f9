#include "cli/terminal_text.h"

#include <cstdio>

namespace loto {

std::string Quoted(std::string_view text, std::size_t limit) {
    std::string quoted = "\"";
    std::size_t shown = 0;
    for (const char c : text) {
        if (shown == limit) {
            return quoted + "\"...";
        }
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && c != '\\' && c != '"') {
            quoted.push_back(c);
        } else {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            quoted += escaped;
        }
        ++shown;
    }
    return quoted + '"';
}

}  // namespace loto
