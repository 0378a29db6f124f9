#pragma once

#include <optional>
#include <string>
#include <variant>

#include "platform/french_numbers.h"

namespace loto {

// A cell of what the page shows, in French, beside the value that it shows in the C locale: a
// number, a text (a tier's name, an amount's digits), or none.
using PanelValue = std::variant<std::monostate, double, std::string>;

struct PanelCell {
    std::string text;
    PanelValue value{};
};

inline constexpr FrenchDigits kTwoPlaces{.minFraction = 2, .maxFraction = 2};
inline constexpr FrenchDigits kSixFigures{.maxSignificant = 6};
inline constexpr FrenchDigits kThreePlaces{.maxFraction = 3};
inline constexpr FrenchDigits kFourFigures{.maxSignificant = 4};

// A figure and its unit, "-" where there is none.
[[nodiscard]] PanelCell FigureCell(std::optional<double> value, FrenchDigits digits,
                                   const std::string& unit = "");
// A statistic, "-" where it is not a number (the z of a tier that is certain or impossible).
[[nodiscard]] PanelCell StatisticCell(double value, FrenchDigits digits);
// A probability to four figures; under 10^-4 as a power of ten, whose zeros would not fit a cell.
[[nodiscard]] PanelCell ProbabilityCell(double p);

}  // namespace loto
