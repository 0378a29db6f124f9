#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/prizes.h"
#include "core/tiers.h"

namespace loto {

struct PrintedGame;

// What the options of money and waiting times add to a command of a game: each tier's mean wait
// and first hit, what the ticket cost and won against the exact law, and the tier it drew until.
struct PlayShown {
    bool waits = false;
    std::optional<MoneyLaw> money;
    std::optional<double> drawsPerWeek;
    std::optional<std::string> until;  // the tier asked for, or "any"

    // A wait of `draws` draws in years at the draws a week given; none without them.
    [[nodiscard]] std::optional<double> Years(double draws) const noexcept;
};

// A year of draws: 365.25 / 7 weeks.
inline constexpr double kWeeksAYear = 365.25 / 7;

// The tiers that pay, their probability together, and the first draw of the command in any.
struct AnyPrize {
    double probability = 0;
    std::uint64_t firstHit = 0;  // from 1; 0 for never
};
[[nodiscard]] AnyPrize FindAnyPrize(const PrintedGame& printed);

// The command's money: its spending and winnings to the cent, their exact expectation per draw,
// and the z-score of the winnings against it; none where its variance is 0 or nothing was drawn.
struct MoneyFigures {
    Cents spent = 0;
    Cents won = 0;
    std::optional<double> z;
};
[[nodiscard]] MoneyFigures Figures(const MoneyLaw& law, const PrintedGame& printed);

// The fields that a tier's JSON object gains: mean_wait, mean_wait_years, first_hit.
void AddWaitsJson(nlohmann::json& entry, const PrintedGame& printed, const Tier& tier);
// The object's fields "money", "any_prize" and "until", where asked for.
void AddPlayJson(nlohmann::json& object, const PrintedGame& printed);

// The lines under the table: the money, any prize's wait and the tier drawn until.
[[nodiscard]] std::string PlayText(const PrintedGame& printed, std::string_view separator);
// A tier's columns of waits in the text table, and their heads.
[[nodiscard]] std::string WaitsHead();
[[nodiscard]] std::string WaitsColumns(const PrintedGame& printed, const Tier& tier,
                                       std::string_view separator);

// CSV: the columns that the options add to each line of a tier, and their names.
[[nodiscard]] std::string PlayCsvHeader(bool waits, bool money);
[[nodiscard]] std::vector<std::string> PlayCsvFields(const PrintedGame& printed, const Tier& tier);

}  // namespace loto
