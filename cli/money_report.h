#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/play_figures.h"
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

    [[nodiscard]] std::optional<double> Years(double draws) const noexcept {
        return WaitYears(draws, drawsPerWeek);
    }
};

// The command's prizes and money against the law of its ticket's prizes.
[[nodiscard]] AnyPrize FindAnyPrize(const PrintedGame& printed);
[[nodiscard]] MoneyFigures Figures(const PrintedGame& printed);

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
