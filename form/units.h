#pragma once

#include <cmath>
#include <cstdint>

#include "form/vocabulary.h"

namespace loto {

// The design's units as every toolkit draws them, at 96 dots per inch: 15 twips a pixel, font
// sizes as whole pixel heights, colours as red, green and blue.

inline constexpr int kTwipsPerPixel = 15;

[[nodiscard]] constexpr int Pixels(int twips) noexcept {
    return twips / kTwipsPerPixel;
}

// 9.75 points are 13 pixels, 20.25 points 27.
[[nodiscard]] inline int FontPixels(const FontDesign& font) noexcept {
    return static_cast<int>(std::lround(font.points * 96 / 72));
}

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
};

[[nodiscard]] constexpr Rgb ToRgb(std::uint32_t bgr) noexcept {
    return {static_cast<int>(bgr & 0xFF), static_cast<int>(bgr >> 8 & 0xFF),
            static_cast<int>(bgr >> 16 & 0xFF)};
}

// The colours of the classic light desktop that the design was drawn on. Where the design leaves
// a colour to the desktop, it is one of these whatever the desktop's theme: half of a dark theme
// would leave the window half dark.
inline constexpr std::uint32_t kClassicWhite = 0x00FFFFFF;
inline constexpr std::uint32_t kClassicLightGrey = 0x00C0C0C0;
inline constexpr std::uint32_t kClassicDarkGrey = 0x00808080;
inline constexpr std::uint32_t kClassicBlack = 0x00000000;

// A colour of the design, or `classic` where it is the desktop's.
[[nodiscard]] constexpr std::uint32_t ShownColour(std::uint32_t bgr,
                                                  std::uint32_t classic) noexcept {
    return bgr == kDefaultColour ? classic : bgr;
}

// A toolkit's word for an alignment, picked from its three.
template <typename T>
[[nodiscard]] constexpr T ByAlign(Align align, T left, T centre, T right) noexcept {
    switch (align) {
        case Align::Left:
            return left;
        case Align::Centre:
            return centre;
        case Align::Right:
            return right;
    }
    return left;
}

}  // namespace loto
