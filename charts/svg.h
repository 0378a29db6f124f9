#pragma once

#include <algorithm>
#include <cmath>
#include <string>

namespace loto {

// What every chart of loto-sim is drawn with.

// The start of a self-contained SVG document on a white ground, its title centred at the top.
[[nodiscard]] std::string SvgStart(double width, double height, const std::string& title);

// A logarithmic axis from `low` to `high`.
struct LogAxis {
    double low, high;
    // From the power of ten at or below the smallest value to the one above the largest.
    static LogAxis Around(double smallest, double largest) {
        return {std::pow(10, std::floor(std::log10(smallest))),
                std::pow(10, std::ceil(std::log10(std::max(largest, 1.0)) + 1e-12))};
    }
    [[nodiscard]] double Fraction(double value) const {
        const double v = std::clamp(value, low, high);
        return (std::log10(v) - std::log10(low)) / (std::log10(high) - std::log10(low));
    }
};

// The span that holds every value up to `largest`, rounded up to 1, 2 or 5 times a power of ten;
// 100 when there is nothing to hold.
[[nodiscard]] double RoundedSpan(double largest);

// 10 to the power of value's exponent, the exponent raised.
[[nodiscard]] std::string PowerOfTen(double value);

}  // namespace loto
