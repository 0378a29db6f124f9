#include "platform/box_text.h"

namespace loto {

std::string_view BoxText(std::string_view text) noexcept {
    int units = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte & 0xC0) == 0x80) {
            continue;  // within a character already counted
        }
        units += byte >= 0xF0 ? 2 : 1;  // beyond U+FFFF, a pair of surrogates
        if (units > kBoxCharacterLimit) {
            return text.substr(0, i);
        }
    }
    return text;
}

}  // namespace loto
