#include "cli/money_report.h"

#include <cmath>
#include <sstream>

#include "cli/game_report.h"
#include "cli/json_numbers.h"
#include "cli/text_format.h"

namespace loto {
namespace {

using nlohmann::json;

json FirstHitJson(std::uint64_t draw) {
    return draw != 0 ? json(draw) : json();
}

json AmountJson(Cents cents) {
    return JsonDigits(AmountText(cents));
}

std::string Amount(Cents cents, std::string_view separator) {
    return AmountText(cents, separator);
}

std::string Figure(std::optional<double> value, const char* format, std::string_view separator) {
    return Shown(value, format, separator);
}

// The expected net a draw in units, in a Double for the machine formats.
double ExpectedNet(const MoneyLaw& law) {
    return static_cast<double>(law.expectedNet() / 100);
}

// The name of the rarest tier that pays, none without one.
std::optional<std::string> TopTierName(const PrintedGame& printed) {
    for (const Tier& tier : printed.tiers) {
        if (tier.index == printed.play.money->topTier) {
            return TierName(tier);
        }
    }
    return std::nullopt;
}

}  // namespace

AnyPrize FindAnyPrize(const PrintedGame& printed) {
    return FindAnyPrize(*printed.play.money, printed.tiers, printed.report);
}

MoneyFigures Figures(const PrintedGame& printed) {
    return Figures(*printed.play.money, printed.report);
}

void AddWaitsJson(json& entry, const PrintedGame& printed, const Tier& tier) {
    const std::optional<double> wait = MeanWait(tier.probability);
    entry["mean_wait"] = JsonDouble(wait);
    entry["mean_wait_years"] = JsonDouble(wait ? printed.play.Years(*wait) : std::nullopt);
    entry["first_hit"] = FirstHitJson(FirstHit(printed.report, tier));
}

void AddPlayJson(json& object, const PrintedGame& printed) {
    const PlayShown& play = printed.play;
    if (play.money) {
        const MoneyLaw& law = *play.money;
        const MoneyFigures figures = Figures(printed);
        const std::optional<std::string> top = TopTierName(printed);
        object["money"] = {{"price", AmountJson(law.price)},
                           {"cost", AmountJson(law.cost)},
                           {"spent", AmountJson(figures.spent)},
                           {"won", AmountJson(figures.won)},
                           {"net", AmountJson(figures.won - figures.spent)},
                           {"expected_return", JsonDouble(law.expectedReturn / 100)},
                           {"expected_net", JsonDouble(ExpectedNet(law))},
                           {"return_rate", JsonDouble(law.returnRate())},
                           {"z", JsonDouble(figures.z)},
                           {"top_tier", top ? json(*top) : json()},
                           {"top_tier_variance_share", JsonDouble(law.topTierVarianceShare())},
                           {"z_below_top", JsonDouble(figures.zBelowTop)}};
        const AnyPrize any = FindAnyPrize(printed);
        const std::optional<double> wait = MeanWait(any.probability);
        object["any_prize"] = {
            {"probability", JsonDouble(any.probability)},
            {"mean_wait", JsonDouble(wait)},
            {"mean_wait_years", JsonDouble(wait ? play.Years(*wait) : std::nullopt)},
            {"first_hit", FirstHitJson(any.firstHit)}};
    }
    if (play.until) {
        const std::optional<std::uint64_t>& hit = printed.report.untilHit;
        object["until"] = {{"tier", *play.until}, {"draws", hit ? json(*hit) : json()}};
    }
}

std::string PlayText(const PrintedGame& printed, std::string_view separator) {
    const PlayShown& play = printed.play;
    std::ostringstream out;
    if (play.money) {
        const MoneyLaw& law = *play.money;
        const MoneyFigures figures = Figures(printed);
        out << "ticket: " << Amount(law.cost, separator) << " a draw";
        if (law.cost != law.price) {
            out << " (" << Amount(law.price, separator) << " a combination)";
        }
        out << "; spent " << Amount(figures.spent, separator) << ", won "
            << Amount(figures.won, separator) << ", net "
            << Amount(figures.won - figures.spent, separator) << '\n';
        // The net's digits are the return's: the cost is exact.
        const double expectedReturn = law.expectedReturn / 100;
        out << "expected a draw: return " << Fixed(expectedReturn, 4, separator) << ", net "
            << Fixed(law.expectedNet() / 100, 4, separator, std::fabs(expectedReturn) * 1e-15L)
            << (law.returnRate()
                    ? ", return rate " + Figure(law.returnRate(), "%.2f", separator) + " %"
                    : std::string(", no return rate (the ticket costs nothing)"))
            << "; the winnings' z-score " << Figure(figures.z, "%.3f", separator) << '\n';
        if (const std::optional<std::string> top = TopTierName(printed)) {
            out << "the rarest paying tier, " << *top << ", carries "
                << Figure(law.topTierVarianceShare().value_or(NAN) * 100, "%.2f", separator)
                << " % of the winnings' variance; without it, their z-score is "
                << Figure(figures.zBelowTop, "%.3f", separator) << '\n';
        }
        const AnyPrize any = FindAnyPrize(printed);
        const std::optional<double> wait = MeanWait(any.probability);
        out << "any prize: mean wait " << Fixed(wait, 2, separator) << " draws";
        if (play.drawsPerWeek) {
            out << " (" << Fixed(wait ? play.Years(*wait) : std::nullopt, 2, separator)
                << " years)";
        }
        out << ", first hit "
            << (any.firstHit != 0 ? "at draw " + std::to_string(any.firstHit) : "none") << '\n';
    }
    if (play.until) {
        const std::optional<std::uint64_t>& hit = printed.report.untilHit;
        out << "until " << *play.until << ": "
            << (hit ? "hit at draw " + std::to_string(*hit)
                    : "not hit in " + std::to_string(printed.report.drawsDone) + " draws")
            << '\n';
    }
    return out.str();
}

std::string WaitsHead() {
    return PadLeft("mean wait", 16) + PadLeft("years", 12) + PadLeft("first hit", 12);
}

std::string WaitsColumns(const PrintedGame& printed, const Tier& tier, std::string_view separator) {
    const std::optional<double> wait = MeanWait(tier.probability);
    const std::uint64_t hit = FirstHit(printed.report, tier);
    return PadLeft(Figure(wait, "%.6g", separator), 16) +
           PadLeft(Figure(wait ? printed.play.Years(*wait) : std::nullopt, "%.4g", separator), 12) +
           PadLeft(hit != 0 ? std::to_string(hit) : "-", 12);
}

std::string PlayCsvHeader(bool waits, bool money) {
    std::string header;
    if (waits) {
        header += ",mean_wait,mean_wait_years,first_hit";
    }
    if (money) {
        header +=
            ",payout,price,cost,spent,won,net,expected_return,expected_net,return_rate,z,"
            "top_tier_variance_share,z_below_top";
    }
    return header;
}

std::vector<std::string> PlayCsvFields(const PrintedGame& printed, const Tier& tier) {
    const PlayShown& play = printed.play;
    std::vector<std::string> fields;
    const auto index = static_cast<std::size_t>(tier.index);
    if (play.waits) {
        const std::optional<double> wait = MeanWait(tier.probability);
        const std::uint64_t hit = FirstHit(printed.report, tier);
        fields.push_back(Shortest(wait));
        fields.push_back(Shortest(wait ? play.Years(*wait) : std::nullopt));
        fields.push_back(hit != 0 ? std::to_string(hit) : "");
    }
    if (play.money) {
        const MoneyLaw& law = *play.money;
        const MoneyFigures figures = Figures(printed);
        fields.insert(fields.end(),
                      {AmountText(law.payouts[index]), AmountText(law.price), AmountText(law.cost),
                       AmountText(figures.spent), AmountText(figures.won),
                       AmountText(figures.won - figures.spent),
                       Shortest(std::optional(law.expectedReturn / 100)),
                       Shortest(std::optional(ExpectedNet(law))), Shortest(law.returnRate()),
                       Shortest(figures.z), Shortest(law.topTierVarianceShare()),
                       Shortest(figures.zBelowTop)});
    }
    return fields;
}

}  // namespace loto
