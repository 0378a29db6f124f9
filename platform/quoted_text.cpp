#include "platform/quoted_text.h"

#include <cstdio>

namespace loto {
namespace {

void AppendEscaped(std::string& text, unsigned char byte) {
    char escaped[5];
    std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
    text += escaped;
}

bool IsControl(unsigned char byte) {
    return byte < 0x20 || byte == 0x7F;
}

}  // namespace

std::string Quoted(std::string_view text, std::size_t limit) {
    std::string quoted = "\"";
    std::size_t shown = 0;
    for (const char c : text) {
        if (shown == limit) {
            return quoted + "\"...";
        }
        const auto byte = static_cast<unsigned char>(c);
        if (!IsControl(byte) && byte < 0x80 && c != '\\' && c != '"') {
            quoted.push_back(c);
        } else {
            AppendEscaped(quoted, byte);
        }
        ++shown;
    }
    return quoted + '"';
}

std::string PrintableText(std::string_view text) {
    std::string printable;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsControl(byte) && c != '\n' && c != '\t') {
            AppendEscaped(printable, byte);
        } else {
            printable.push_back(c);
        }
    }
    return printable;
}

}  // namespace loto
