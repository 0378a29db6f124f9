#include "web/panel_view.h"

#include <emscripten/val.h>

#include <cmath>

#include "core/play_figures.h"
#include "core/statistics.h"
#include "form/panel_words.h"

namespace loto {
namespace {

using emscripten::val;

val Number(std::optional<double> value) {
    return value ? val(*value) : val::null();
}

val Count(std::uint64_t count) {
    return val(static_cast<double>(count));
}

val TierShown(const PanelShown& shown, const Tier& tier) {
    const GameReport& report = shown.report;
    const std::uint64_t count = report.tally[static_cast<std::size_t>(tier.index)];
    std::optional<double> expected;
    std::optional<double> deviation;
    if (!report.stopped) {
        expected = ExpectedDraws(report, shown.until.has_value()) * tier.probability;
        deviation = DeviationPercent(static_cast<double>(count), *expected);
    }
    const std::optional<double> wait = MeanWait(tier.probability);
    val row = val::object();
    row.set("tier", TierName(tier));
    row.set("count", Count(count));
    row.set("expected", Number(expected));
    row.set("deviation", Number(deviation && std::isfinite(*deviation) ? deviation : std::nullopt));
    row.set("meanWait", Number(wait));
    row.set("years", Number(wait ? WaitYears(*wait, shown.drawsPerWeek) : std::nullopt));
    row.set("firstHit", Count(FirstHit(report, tier)));
    return row;
}

val MoneyShown(const PanelShown& shown) {
    const MoneyLaw& law = *shown.money;
    const MoneyFigures figures = Figures(law, shown.report);
    const AnyPrize any = FindAnyPrize(law, shown.tiers, shown.report);
    const std::optional<double> wait = MeanWait(any.probability);
    val money = val::object();
    money.set("price", AmountText(law.price));
    money.set("cost", AmountText(law.cost));
    money.set("spent", AmountText(figures.spent));
    money.set("won", AmountText(figures.won));
    money.set("net", AmountText(figures.won - figures.spent));
    money.set("expectedReturn", law.expectedReturn / 100);
    money.set("expectedNet", static_cast<double>(law.expectedNet() / 100));
    money.set("returnRate", Number(law.returnRate()));
    money.set("z", Number(figures.z));
    money.set("anyWait", Number(wait));
    money.set("anyYears", Number(wait ? WaitYears(*wait, shown.drawsPerWeek) : std::nullopt));
    money.set("anyFirstHit", Count(any.firstHit));
    return money;
}

}  // namespace

PanelFields PanelTyped() {
    const val typed = val::module_property("lotoPanelFields")();
    const auto field = [&typed](const char* name) { return typed[name].as<std::string>(); };
    return {.game = field("game"),
            .ticket = field("ticket"),
            .second = field("second"),
            .draws = field("draws"),
            .price = field("price"),
            .prizes = field("prizes"),
            .drawsPerWeek = field("drawsPerWeek"),
            .until = field("until")};
}

void ShowPanelStarted() {
    val::module_property("lotoPanelStarted")();
}

void ShowPanelProgress(const DrawProgress& progress, const std::string& status) {
    val::module_property("lotoPanelProgress")(Count(progress.done), Count(progress.total), status);
}

void ShowPanel(const PanelShown& shown) {
    val result = val::object();
    result.set("refusal", shown.refusal);
    result.set("status", PanelEndText(shown));
    result.set("game", GameName(shown.rule.game));
    result.set("draws", Count(shown.report.drawsDone));
    result.set("estimate", shown.report.estimateText);
    val tiers = val::array();
    for (const Tier& tier : shown.tiers) {
        tiers.call<void>("push", TierShown(shown, tier));
    }
    result.set("tiers", tiers);
    result.set("money", shown.money ? MoneyShown(shown) : val::null());
    if (shown.until) {
        val until = val::object();
        until.set("tier", *shown.until);
        until.set("draws", shown.report.untilHit ? Count(*shown.report.untilHit) : val::null());
        result.set("until", until);
    } else {
        result.set("until", val::null());
    }
    val::module_property("lotoPanelShow")(result);
}

}  // namespace loto
