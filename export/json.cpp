#include "export/json.h"

#include <chrono>

#include "core/game_input.h"
#include "export/json_numbers.h"
#include "platform/printf.h"

namespace loto {
namespace {

using nlohmann::json;

// A local date and time in ISO 8601 ("2026-12-09T07:08:53"), null for none.
json IsoTimeJson(const std::optional<LocalDateTime>& time) {
    if (!time) {
        return nullptr;
    }
    const auto day = std::chrono::floor<std::chrono::days>(*time);
    const std::chrono::year_month_day date{day};
    const std::chrono::hh_mm_ss clock{*time - day};
    return Printf("%04d-%02u-%02uT%02d:%02d:%02d", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(clock.hours().count()),
                  static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()));
}

json JsonArray(const std::vector<double>& values) {
    json array = json::array();
    for (const double value : values) {
        array.push_back(JsonDouble(value));
    }
    return array;
}

json CommandStatsJson(const Significance& stats) {
    json groups = json::array();
    for (const ClassGroup& group : stats.groups) {
        groups.push_back({group.first, group.last});
    }
    const std::optional<ChiSquareTest>& test = stats.chiSquare;
    return {{"z", JsonArray(stats.z)},
            {"p", JsonArray(stats.p)},
            {"chi_square", test ? json(test->statistic) : json()},
            {"df", test ? json(test->degreesOfFreedom) : json()},
            {"p_value", test ? json(test->pValue) : json()},
            {"groups", groups}};
}

json NumbersJson(const NumberSet& set, int top) {
    json numbers = json::array();
    for (int n = 1; n <= top; ++n) {
        if (set.Has(n)) {
            numbers.push_back(n);
        }
    }
    return numbers;
}

json TicketJson(const DrawRule& rule) {
    json ticket = {{"main", NumbersJson(rule.main, rule.game.main.top)}};
    if (rule.game.hasSecond()) {
        ticket["second"] = NumbersJson(rule.second, rule.game.second.top);
    }
    return ticket;
}

json FirstHitJson(std::uint64_t draw) {
    return draw != 0 ? json(draw) : json();
}

json AmountJson(Cents cents) {
    return JsonDigits(AmountText(cents));
}

json TierJson(const GameFigures& figures, std::size_t i) {
    const TierFigures& row = figures.tiers[i];
    const Tier& tier = row.tier;
    json entry = {{"tier", TierName(tier)},
                  {"main", tier.main},
                  {"bonus", tier.bonus ? json(*tier.bonus) : json()},
                  {"second", tier.second ? json(*tier.second) : json()},
                  {"count", figures.unreadable ? json() : json(row.count)},
                  {"expected", JsonDouble(row.expected)},
                  {"probability", JsonDouble(tier.probability)},
                  {"deviation", JsonDouble(row.deviation)}};
    if (figures.stats) {
        entry["z"] = JsonDouble(figures.stats->z[i]);
        entry["p"] = JsonDouble(figures.stats->p[i]);
    }
    if (figures.play.shared) {
        // A draw's expected payout of the tier, shared and taxed.
        entry["expected_payout"] =
            JsonDouble(tier.probability *
                       static_cast<double>(
                           figures.play.shared->law.payouts[static_cast<std::size_t>(tier.index)]) /
                       100);
    }
    if (figures.play.waits) {
        entry["mean_wait"] = JsonDouble(row.meanWait);
        entry["mean_wait_years"] = JsonDouble(row.meanWaitYears);
        entry["first_hit"] = FirstHitJson(row.firstHit);
    }
    return entry;
}

json GameStatsJson(const GameFigures& figures) {
    const Significance& stats = *figures.stats;
    json groups = json::array();
    for (const ClassGroup& group : stats.groups) {
        json names = json::array();
        for (int i = group.first; i <= group.last; ++i) {
            names.push_back(TierName(figures.tiers[static_cast<std::size_t>(i)].tier));
        }
        groups.push_back(names);
    }
    const std::optional<ChiSquareTest>& test = stats.chiSquare;
    return {{"chi_square", test ? JsonDouble(test->statistic) : json()},
            {"df", test ? json(test->degreesOfFreedom) : json()},
            {"p_value", test ? JsonDouble(test->pValue) : json()},
            {"groups", groups}};
}

// The object's fields "money", "any_prize" and "until", where asked for.
void AddPlayJson(json& object, const GameFigures& figures) {
    const Play& play = figures.play;
    if (play.money) {
        const MoneyLaw& law = *play.money;
        const MoneyFigures& money = *figures.money;
        object["money"] = {{"price", AmountJson(law.price)},
                           {"cost", AmountJson(law.cost)},
                           {"spent", AmountJson(money.spent)},
                           {"won", AmountJson(money.won)},
                           {"net", AmountJson(money.won - money.spent)},
                           {"expected_return", JsonDouble(law.expectedReturn / 100)},
                           {"expected_net", JsonDouble(ExpectedNetUnits(law))},
                           {"return_rate", JsonDouble(law.returnRate())},
                           {"z", JsonDouble(money.z)},
                           {"top_tier", money.topTier ? json(*money.topTier) : json()},
                           {"top_tier_variance_share", JsonDouble(law.topTierVarianceShare())},
                           {"z_below_top", JsonDouble(money.zBelowTop)}};
        if (const std::optional<SharedPlay>& shared = play.shared) {
            json& shownMoney = object["money"];
            shownMoney["expected_return_shared"] = JsonDouble(shared->law.expectedReturn / 100);
            shownMoney["return_rate_shared"] = JsonDouble(shared->law.returnRate());
            shownMoney["break_even_jackpot"] =
                shared->breakEven ? JsonDouble(*shared->breakEven / 100) : json();
            shownMoney["best_jackpot"] =
                shared->bestJackpot ? JsonDouble(*shared->bestJackpot / 100) : json();
        }
        const AnyPrize& any = *figures.anyPrize;
        object["any_prize"] = {{"probability", JsonDouble(any.probability)},
                               {"mean_wait", JsonDouble(any.meanWait)},
                               {"mean_wait_years", JsonDouble(any.meanWaitYears)},
                               {"first_hit", FirstHitJson(any.firstHit)}};
    }
    if (play.until) {
        const std::optional<std::uint64_t>& hit = figures.report.untilHit;
        object["until"] = {{"tier", *play.until}, {"draws", hit ? json(*hit) : json()}};
    }
}

json TestJson(const AuditEntry& entry) {
    const TestResult& test = entry.test;
    const std::optional<CalibratedP>& c = test.calibrated;
    return {{"name", test.name},
            {"pool", PoolName(entry.pool)},
            {"statistic", JsonDouble(test.statistic)},
            {"df", test.freedom ? json(*test.freedom) : json()},
            {"p_value", JsonDouble(test.pValue)},
            {"p_holm", JsonDouble(entry.holm)},
            {"calibrated", c.has_value()},
            {"p_interval", c ? json::array({JsonDouble(c->low), JsonDouble(c->high)}) : json()},
            {"histories", c ? json(c->histories) : json()}};
}

}  // namespace

json ToJson(const PrintedCommand& printed) {
    const SimulateReport& report = printed.report;
    json texts = {{"estimate", report.estimateText}};
    json observed = json::array();
    json expected = json::array();
    json deviation = json::array();
    for (int k = 0; k < kResultRows; ++k) {
        texts["observed"].push_back(report.texts[ResultColumn::Stat][k]);
        texts["expected"].push_back(report.texts[ResultColumn::Theo][k]);
        texts["deviation"].push_back(report.texts[ResultColumn::Ecart][k]);
        observed.push_back(report.tally[k]);
        expected.push_back(JsonSingle(report.ShownExpected(k)));
        deviation.push_back(JsonDouble(report.ShownDeviation(k)));
    }
    json object = {
        {"stream", printed.stream},
        {"command", printed.command},
        {"valid", !report.refused()},
        {"interrupted", report.stopped()},
        {"estimate", IsoTimeJson(report.estimate)},
        {"observed", report.refused() ? json(nullptr) : observed},
        {"expected", report.completed() ? expected : json(nullptr)},
        {"deviation", report.completed() ? deviation : json(nullptr)},
        {"draws", report.drawsDone},
        {"seconds", report.drawSeconds},
        {"texts", texts},
    };
    if (report.refused()) {
        object["refused"] = report.outcome == Outcome::InvalidGrid ? "grid" : "unreadable";
        object["field"] = InputName(report.refusedInput);
    }
    if (printed.statsAsked) {
        object["stats"] = printed.stats ? CommandStatsJson(*printed.stats) : json();
    }
    return object;
}

json ToJson(const PrintedGame& printed) {
    const GameFigures& figures = printed.figures;
    const GameReport& report = figures.report;
    json tiers = json::array();
    for (std::size_t i = 0; i < figures.tiers.size(); ++i) {
        tiers.push_back(TierJson(figures, i));
    }
    json object = {{"stream", printed.stream},
                   {"command", printed.command},
                   {"game", GameName(figures.rule.game)},
                   {"ticket", TicketJson(figures.rule)},
                   {"valid", !figures.unreadable},
                   {"interrupted", report.stopped},
                   {"estimate", IsoTimeJson(report.estimate)},
                   {"tiers", tiers},
                   {"draws", report.drawsDone},
                   {"seconds", report.drawSeconds}};
    if (figures.unreadable) {
        object["refused"] = "unreadable";
        object["field"] = "DRAWS";
    }
    if (figures.statsAsked) {
        object["stats"] = figures.stats ? GameStatsJson(figures) : json();
    }
    AddPlayJson(object, figures);
    return object;
}

json WaitsJson(const std::string& tier, const WaitsSample& sample, const WaitsTest& test) {
    json classes = json::array();
    for (const WaitClass& c : test.classes) {
        classes.push_back(
            {{"first", c.first},
             {"last", c.last != 0 ? json(c.last) : json()},
             {"observed", c.observed},
             {"expected", JsonDouble(c.probability * static_cast<double>(sample.count()))}});
    }
    const ChiSquareTest* chi =
        test.chiSquare && test.chiSquare->chiSquare ? &*test.chiSquare->chiSquare : nullptr;
    return {{"waits",
             {{"tier", tier},
              {"probability", JsonDouble(sample.probability)},
              {"commands", sample.count()},
              {"bound", sample.bound},
              {"censored", sample.censored},
              {"mean", JsonDouble(test.mean)},
              {"law_mean", JsonDouble(test.lawMean)},
              {"law_mean_below_bound", JsonDouble(test.lawMeanBelowBound)},
              {"median", JsonDouble(test.median)},
              {"law_median", JsonDouble(test.lawMedian)},
              {"classes", classes},
              {"chi_square", chi != nullptr ? JsonDouble(chi->statistic) : json()},
              {"df", chi != nullptr ? json(chi->degreesOfFreedom) : json()},
              {"p_value", chi != nullptr ? JsonDouble(chi->pValue) : json()}}}};
}

json LifetimesJson(const Lifetimes::Summary& summary) {
    return {{"summary",
             {{"lifetimes", summary.lifetimes},
              {"ahead", JsonDouble(summary.ahead)},
              {"net_median", JsonDigits(AmountText(summary.median))},
              {"net_p01", JsonDigits(AmountText(summary.p01))},
              {"net_p99", JsonDigits(AmountText(summary.p99))},
              {"net_mean", JsonDouble(summary.mean / 100)},
              {"net_sd", JsonDouble(summary.sd / 100)},
              {"expected_net", JsonDouble(summary.expectedNet / 100)},
              {"expected_sd", JsonDouble(summary.expectedSd / 100)}}}};
}

json ToJson(const AuditReport& report) {
    json setAside = json::array();
    for (const BadLine& bad : report.setAside) {
        json entry = {{"line", bad.line}, {"fields", bad.fields}, {"reason", bad.reason}};
        if (!bad.file.empty()) {
            entry["file"] = bad.file;
        }
        setAside.push_back(std::move(entry));
    }
    json tests = json::array();
    for (const AuditEntry& entry : report.family) {
        tests.push_back(TestJson(entry));
    }
    json power = json::array();
    for (const FaultPower& fault : report.power) {
        static constexpr const char* kFaults[] = {"none", "number", "pair", "repeat"};
        power.push_back({{"fault", kFaults[static_cast<int>(fault.fault)]},
                         {"flagged", JsonDouble(fault.flagged)},
                         {"bias_90", fault.bias90 ? JsonDouble(*fault.bias90) : json()}});
    }
    json audit = {{"draws", report.draws},
                  {"game", GameName(report.game)},
                  {"ticket", report.ticket ? TicketJson(*report.ticket) : json()},
                  {"set_aside", setAside},
                  {"tests", tests},
                  {"flagged", report.flagged()},
                  {"power", power}};
    if (report.files > 1) {
        audit["files"] = report.files;
        audit["repeated"] = report.repeated;
    }
    return audit;
}

json ToJson(const std::vector<AuditReport>& periods) {
    json each = json::array();
    std::uint64_t draws = 0;
    bool flagged = false;
    for (const AuditReport& report : periods) {
        json period = ToJson(report);
        each.push_back({{"from", report.period->from},
                        {"to", report.period->to},
                        {"game", period["game"]},
                        {"draws", report.draws},
                        {"tests", period["tests"]},
                        {"flagged", report.flagged()},
                        {"power", period["power"]}});
        draws += report.draws;
        flagged = flagged || report.flagged();
    }
    json audit = ToJson(periods.front());
    return {{"draws", draws},
            {"ticket", audit["ticket"]},
            {"set_aside", audit["set_aside"]},
            {"periods", each},
            {"flagged", flagged}};
}

json RoundsJson(const Rounds& rounds) {
    const RoundsFigures figures = FigureRounds(rounds);
    const auto units = [](std::optional<double> cents) {
        return cents ? JsonDouble(*cents / 100) : json();
    };
    return {{"rounds",
             {{"draws", rounds.draws},
              {"jackpot_wins", rounds.jackpotWins},
              {"rolled_down", rounds.rolledDown},
              {"jackpot_won_at",
               {{"median", units(figures.median)},
                {"p1", units(figures.p1)},
                {"p99", units(figures.p99)}}},
              {"mean_draws_between", figures.meanCycle ? JsonDouble(*figures.meanCycle) : json()},
              {"law_mean_draws_between", JsonDouble(rounds.lawMeanCycle)},
              {"spent", JsonDouble(rounds.spent / 100)},
              {"won", JsonDouble(rounds.won / 100)},
              {"net", JsonDouble((rounds.won - rounds.spent) / 100)},
              {"interrupted", rounds.stopped}}}};
}

}  // namespace loto
