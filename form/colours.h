#pragma once

#include <cstdint>

#include "form/design.h"

namespace loto {

// The colours that the form shows, decided here for every view: the design's palette, and the
// classic light desktop that the design was drawn on where it leaves a colour to the desktop.
// Whatever the desktop's theme, the form is drawn so: half of a dark theme would leave the window
// half dark.

// The design's palette, 0x00BBGGRR.
namespace palette {
inline constexpr std::uint32_t kBlack = 0x00000000;
inline constexpr std::uint32_t kDarkGrey = 0x00808080;
inline constexpr std::uint32_t kLightGrey = 0x00C0C0C0;
inline constexpr std::uint32_t kWhite = 0x00FFFFFF;
inline constexpr std::uint32_t kGreen = 0x00008000;
inline constexpr std::uint32_t kBlue = 0x00FF0000;
inline constexpr std::uint32_t kRed = 0x000000FF;
inline constexpr std::uint32_t kYellow = 0x0000FFFF;
inline constexpr std::uint32_t kLightBlue = 0x00FF8080;
inline constexpr std::uint32_t kPaleBlue = 0x00FFC0C0;
inline constexpr std::uint32_t kLightGreen = 0x00C0FFC0;
inline constexpr std::uint32_t kLightCyan = 0x00FFFFC0;
inline constexpr std::uint32_t kLightYellow = 0x0080FFFF;
}  // namespace palette

// A control as it is drawn: the colour of its face and of its text.
struct ControlColours {
    std::uint32_t face;
    std::uint32_t text;

    friend constexpr bool operator==(const ControlColours&, const ControlColours&) = default;
};

// The design's colours of a control, the classic desktop's where the design leaves them open:
// white boxes with black text, labels and buttons on the form's grey with black text.
[[nodiscard]] ControlColours ShownColours(const ControlDesign& control);

// The classic desktop's bevels: a box sunken into the form (dark grey, then black, above and
// left; white, then light grey, below and right), a button raised out of it (the reverse).
struct Bevels {
    std::uint32_t light = palette::kWhite;
    std::uint32_t midlight = palette::kLightGrey;
    std::uint32_t dark = palette::kDarkGrey;
    std::uint32_t shadow = palette::kBlack;
};
inline constexpr Bevels kBevels{};

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
};

[[nodiscard]] constexpr Rgb ToRgb(std::uint32_t bgr) noexcept {
    return {static_cast<int>(bgr & 0xFF), static_cast<int>(bgr >> 8 & 0xFF),
            static_cast<int>(bgr >> 16 & 0xFF)};
}

}  // namespace loto
