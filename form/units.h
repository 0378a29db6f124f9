#pragma once

#include <cmath>

#include "form/vocabulary.h"

namespace loto {

// The design's units as every toolkit draws them, at 96 dots per inch: 15 twips a pixel, font
// sizes as whole pixel heights.

inline constexpr int kTwipsPerPixel = 15;

[[nodiscard]] constexpr int Pixels(int twips) noexcept {
    return twips / kTwipsPerPixel;
}

// 9.75 points are 13 pixels, 20.25 points 27.
[[nodiscard]] inline int FontPixels(const FontDesign& font) noexcept {
    return static_cast<int>(std::lround(font.points * 96 / 72));
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
