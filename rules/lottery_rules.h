#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/draw_rule.h"
#include "platform/amount_text.h"

namespace loto {

// A lottery's rules as its operator publishes them, read from a JSON file: the game, the price,
// how each tier pays (a fixed amount, or a share of the prize fund that its winners split), the
// sales that fund the prizes, the jackpot and what happens when nobody wins it, tax, and how a
// jackpot is paid. Amounts in units of the currency, as the file writes them.

struct RuleTier {
    std::string name;  // as tickets name it: "5+2", "5+b", "3"
    int index = 0;     // DrawRule::TierIndex of a ticket of K (and M) numbers
    std::optional<Cents> fixed{};
    std::optional<double> share{};  // of the prize fund, split among the tier's winners
};

// The tickets sold a draw, the user's among them: base, and per_jackpot more for each unit of
// the advertised jackpot (sales grow with it).
struct Sales {
    double base = 0;
    double perJackpot = 0;

    [[nodiscard]] double At(double jackpot) const noexcept { return base + perJackpot * jackpot; }
};

struct JackpotRules {
    Cents start = 0;       // the jackpot now
    int tier = 0;          // the tier that wins it
    bool rollover = true;  // its share carries to the next draw when nobody wins it
    std::optional<Cents> cap{};
    std::optional<int> rollDown{};        // the tier that the excess over the cap goes to
    std::optional<int> mustBeWonAfter{};  // draws at the cap, after which it rolls down
};

enum class TaxOn { Excess, Whole };

struct TaxRules {
    double rate = 0;
    double threshold = 0;  // cents: a double, as the prizes it is compared with
    TaxOn on = TaxOn::Excess;

    // What a prize of `prize` cents leaves after tax.
    [[nodiscard]] double After(double prize) const noexcept {
        if (prize <= threshold) {
            return prize;
        }
        return prize - rate * (on == TaxOn::Whole ? prize : prize - threshold);
    }
};

// A jackpot paid as it is won, or as an annuity: `years` yearly payments, each `growth` larger
// than the one before, summing to the jackpot; worth their value discounted at `discount` a year.
struct Payout {
    bool annuity = false;
    int years = 0;
    double growth = 0;
    double discount = 0;

    // What a jackpot paid so is worth now, as a share of it.
    [[nodiscard]] double PresentShare() const noexcept;
};

struct LotteryRules {
    Game game;
    Cents price = 0;
    std::optional<double> drawsPerWeek;
    std::vector<RuleTier> tiers;
    double prizeFund = 0;  // the share of sales that goes to prizes
    Sales sales;
    std::optional<JackpotRules> jackpot;
    std::optional<TaxRules> tax;
    Payout payout;
    std::string source;
    std::string asOf;

    // A ticket of K (and M) numbers of the game, against which the tiers are indexed.
    [[nodiscard]] DrawRule Ticket() const;
    // The fund of a share tier at `sold` tickets: its share of the prize fund of their price.
    [[nodiscard]] double Fund(const RuleTier& tier, double sold) const noexcept {
        return FundOf(FundShare(tier), sold, static_cast<double>(price));
    }
    // Its parts, for a process that reads them once: the tier's share of the sales, and the fund
    // of that share at `sold` tickets of `price` cents.
    [[nodiscard]] double FundShare(const RuleTier& tier) const noexcept {
        return tier.share.value_or(0) * prizeFund;
    }
    [[nodiscard]] static double FundOf(double fundShare, double sold, double price) noexcept {
        return fundShare * sold * price;
    }
};

// The rules of a file's text, or why they cannot be read, the field named: "tiers.5+2.share:
// 1.2 is not a share from 0 to 1", "jackpot.cap: under jackpot.start".
struct ReadRules {
    std::optional<LotteryRules> rules;
    std::string fault;
};
[[nodiscard]] ReadRules ParseRules(std::string_view text);

// A rules file read whole, at most a megabyte: a directory, a file too large or unreadable is
// refused with the reason.
[[nodiscard]] ReadRules ReadRulesFile(const std::string& path);

}  // namespace loto
