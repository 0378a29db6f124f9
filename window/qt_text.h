#pragma once

#include <QString>
#include <string_view>

namespace loto {

// UTF-8 text of the design or of a command as Qt's text.
[[nodiscard]] inline QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace loto
