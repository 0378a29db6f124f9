// What every front end shows of a command of a game, figured once: the tiers' expected counts and
// waits only where they are numbers, and the money's z-scores with and without the jackpot.
#include "report/game_figures.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/support/example_games.h"

namespace loto {
namespace {

using test::Ticket;

const DrawRule& SixOf49() {
    static const DrawRule rule = Ticket(kSixOfFortyNine, {7, 10, 14, 20, 30, 40});
    return rule;
}

MoneyLaw Law(Cents jackpot, Cents small) {
    PrizeTable table{.price = 220, .prizes = std::vector<Cents>(7)};
    table.prizes[3] = small;
    table.prizes[6] = jackpot;
    return *MakeMoneyLaw(SixOf49(), table);
}

// A million draws with one jackpot, each tier first hit at the draw given.
GameReport MillionDraws() {
    return {.requested = 1e6,
            .tally = {436000, 413000, 132000, 17650, 969, 18, 1},
            .drawsDone = 1000000,
            .firstHit = {1, 2, 9, 40, 12, 300, 0}};
}

TEST(GameFigures, TierFiguresOnlyWhereTheyAreNumbers) {
    const struct {
        const char* name;
        bool stopped, unreadable, until, waits;
    } rows[] = {
        {"completed", false, false, false, false},
        {"stopped", true, false, false, true},
        {"unreadable", false, true, false, false},
        {"drawn until a tier", false, false, true, true},
    };
    for (const auto& [name, stopped, unreadable, until, waits] : rows) {
        GameReport report = MillionDraws();
        report.requested = 5e6;  // drawn until a tier, it took a million of them
        report.stopped = stopped;
        Play play{.waits = waits, .drawsPerWeek = 2};
        if (until) {
            play.until = "6";
        }
        const GameFigures figures = FigureGame(SixOf49(), report, play, true, unreadable);
        ASSERT_EQ(figures.tiers.size(), 7U) << name;
        const TierFigures& three = figures.tiers[3];
        EXPECT_EQ(three.count, 17650U) << name;
        const double draws = until ? 1e6 : 5e6;
        if (stopped || unreadable) {
            EXPECT_FALSE(three.expected) << name;
            EXPECT_FALSE(three.deviation) << name;
        } else {
            EXPECT_DOUBLE_EQ(*three.expected, draws * three.tier.probability) << name;
            EXPECT_NEAR(*three.deviation, (17650 / *three.expected - 1) * 100, 1e-12) << name;
        }
        EXPECT_EQ(three.meanWait.has_value(), waits) << name;
        EXPECT_EQ(three.firstHit, waits ? 40U : 0U) << name;
        if (waits) {
            EXPECT_DOUBLE_EQ(*three.meanWait, 1 / three.tier.probability) << name;
            EXPECT_DOUBLE_EQ(*three.meanWaitYears, *three.meanWait / (2 * kWeeksAYear)) << name;
        }
        EXPECT_EQ(figures.stats.has_value(), !unreadable) << name;
        EXPECT_EQ(figures.Completed(), !stopped && !unreadable) << name;
    }
}

TEST(GameFigures, MoneyScoresWithAndWithoutTheJackpot) {
    const MoneyLaw law = Law(200000000, 500);
    const GameFigures figures = FigureGame(SixOf49(), MillionDraws(), {.money = law}, false);
    ASSERT_TRUE(figures.money);
    const Cents won = 17650 * 500 + 200000000;
    EXPECT_EQ(figures.money->spent, Cents{220000000});
    EXPECT_EQ(figures.money->won, won);
    EXPECT_DOUBLE_EQ(*figures.money->z, (static_cast<double>(won) - 1e6 * law.expectedReturn) /
                                            std::sqrt(1e6 * law.variance));
    EXPECT_DOUBLE_EQ(*figures.money->zBelowTop, (17650.0 * 500 - 1e6 * law.returnBelowTop) /
                                                    std::sqrt(1e6 * law.varianceBelowTop));
    EXPECT_EQ(figures.money->topTier, "6");
    // Any prize: tiers 3 and 6 pay; the first draw in either, 40, as tier 6 was never hit.
    ASSERT_TRUE(figures.anyPrize);
    const double any = figures.tiers[3].tier.probability + figures.tiers[6].tier.probability;
    EXPECT_DOUBLE_EQ(figures.anyPrize->probability, any);
    EXPECT_DOUBLE_EQ(*figures.anyPrize->meanWait, 1 / any);
    EXPECT_EQ(figures.anyPrize->firstHit, 40U);
    EXPECT_FALSE(figures.anyPrize->meanWaitYears);  // no draws a week

    // One tier that pays: nothing varies below it; nothing drawn: no score at all.
    EXPECT_FALSE(
        FigureGame(SixOf49(), MillionDraws(), {.money = Law(100, 0)}, false).money->zBelowTop);
    EXPECT_FALSE(FigureGame(SixOf49(), {}, {.money = law}, false).money->z);
    EXPECT_FALSE(MeanWait(0));
}

}  // namespace
}  // namespace loto
