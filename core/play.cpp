#include "core/play.h"

namespace loto {

ReadPlay MakePlay(const DrawRule& rule, const PlayAsked& asked) {
    Play play{.waits = asked.waits,
              .money = std::nullopt,
              .drawsPerWeek = asked.drawsPerWeek,
              .until = asked.until};
    if (asked.price || !asked.prizes.empty()) {
        const ReadPrizes prizes = MakePrizeTable(rule, asked.price.value_or(0), asked.prizes);
        if (!prizes.table) {
            return {std::nullopt, prizes.refusal};
        }
        play.money = MakeMoneyLaw(rule, *prizes.table);
        if (!play.money) {
            return {std::nullopt, Refusal{.why = Refused::TooMuchMoney}};
        }
    }
    if (asked.until) {
        ReadUntil read =
            ReadUntilTier(rule, asked.untilAnyPrize ? kAnyPrize : *asked.until, play.money);
        if (read.refusal) {
            return {std::nullopt, read.refusal};
        }
        play.untilTiers = std::move(read.tiers);
    }
    return {std::move(play), std::nullopt};
}

}  // namespace loto
