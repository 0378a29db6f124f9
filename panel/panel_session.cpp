#include "panel/panel_session.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "charts/run_chart.h"
#include "core/game_input.h"
#include "core/play.h"
#include "core/prize_input.h"
#include "panel/panel_words.h"
#include "platform/box_text.h"
#include "platform/split_values.h"
#include "platform/text_to_number.h"

namespace loto {
namespace {

// What separates the numbers of a ticket, and the amounts of the prizes, where a comma is a
// decimal one.
constexpr std::string_view kBetweenNumbers = " \t\r\n,;";
constexpr std::string_view kBetweenAmounts = " \t\r\n;";

std::vector<std::string_view> Values(std::string_view text,
                                     std::string_view between = kBetweenNumbers) {
    return SplitValues(text, between);
}

bool Blank(std::string_view text) {
    return Values(text).empty();
}

// A number as typed on the page, where a decimal comma is as good as a point: a phone's French
// decimal keyboard offers only the comma.
std::string WithPoint(std::string_view text) {
    std::string amount(text);
    std::replace(amount.begin(), amount.end(), ',', '.');
    return amount;
}

// Each reads its boxes into what is asked, or says why they are refused.
std::optional<std::string> TakeTicket(const PanelFields& fields, DrawRule& rule) {
    const ReadGame game = ParseGame(fields.game);
    if (!game.game) {
        return PanelRefusalText(*game.refusal);
    }
    std::vector<std::string_view> values = Values(fields.ticket);
    if (game.game->hasSecond()) {
        values.push_back(kSecondPoolMark);
        const std::vector<std::string_view> second = Values(fields.second);
        values.insert(values.end(), second.begin(), second.end());
    } else if (!Blank(fields.second)) {
        return PanelRefusalText(Refusal{.why = Refused::NoSecondPool});
    }
    const ReadTicket ticket = ParseTicket(*game.game, values);
    if (!ticket.rule) {
        return PanelRefusalText(*ticket.refusal);
    }
    rule = *ticket.rule;
    return std::nullopt;
}

std::optional<std::string> TakeMoney(const PanelFields& fields, PlayAsked& asked) {
    const std::vector<std::string_view> typedPrice = Values(fields.price, kBetweenAmounts);
    if (!typedPrice.empty()) {
        asked.price =
            typedPrice.size() == 1 ? ReadAmount(WithPoint(typedPrice.front())) : std::nullopt;
        if (!asked.price) {
            return PriceRefusalText(fields.price);
        }
    }
    for (const std::string_view text : Values(fields.prizes, kBetweenAmounts)) {
        Refusal refusal;
        const std::optional<PrizeArgument> prize = ReadPrizeArgument(WithPoint(text), refusal);
        if (!prize) {
            return PanelRefusalText(refusal);
        }
        asked.prizes.push_back(*prize);
    }
    return std::nullopt;
}

std::optional<std::string> TakeWeeks(const PanelFields& fields, PlayAsked& asked) {
    if (Values(fields.drawsPerWeek, kBetweenAmounts).empty()) {
        return std::nullopt;
    }
    const std::optional<double> perWeek = TextToNumber(WithPoint(BoxText(fields.drawsPerWeek)));
    if (!perWeek || !DrawsPerWeekAllowed(*perWeek)) {
        return DrawsPerWeekRefusalText(fields.drawsPerWeek);
    }
    asked.drawsPerWeek = perWeek;
    return std::nullopt;
}

std::optional<std::string> TakeUntil(const PanelFields& fields, PlayAsked& asked) {
    const std::vector<std::string_view> typed = Values(fields.until);
    if (typed.size() != 1) {
        return UntilMissingText();
    }
    asked.until = std::string(typed.front());
    asked.untilAnyPrize = typed.front() == kAnyPrizeWord;
    return std::nullopt;
}

std::optional<std::string> Played(const DrawRule& rule, const PlayAsked& asked,
                                  std::optional<Play>& play) {
    ReadPlay read = MakePlay(rule, asked);
    play = std::move(read.play);
    return read.refusal ? std::optional(PanelRefusalText(*read.refusal)) : std::nullopt;
}

// The boxes in the order that they stand, the first refused one said: the ticket, its money,
// the draws a week, the tier, then the number of draws.
std::optional<std::string> Take(const PanelFields& fields, PanelCommand command, DrawRule& rule,
                                std::optional<Play>& play) {
    PlayAsked asked{.waits = true};
    std::optional<std::string> refusal = TakeTicket(fields, rule);
    if (!refusal) {
        refusal = TakeMoney(fields, asked);
    }
    if (!refusal) {
        refusal = Played(rule, asked, play);  // its money alone, refused before the next boxes
    }
    if (!refusal) {
        refusal = TakeWeeks(fields, asked);
    }
    if (!refusal && command == PanelCommand::Until) {
        refusal = TakeUntil(fields, asked);
    }
    if (!refusal) {
        refusal = Played(rule, asked, play);
    }
    return refusal;
}

}  // namespace

PanelSession::PanelSession(RunTime& runTime, unsigned threads) : session_(runTime, threads) {}

PanelShown PanelSession::Run(const PanelFields& fields, PanelCommand command, EventPump& pump) {
    DrawRule rule;
    std::optional<Play> play;
    std::optional<std::string> refusal = Take(fields, command, rule, play);
    const std::optional<double> requested = TextToNumber(BoxText(fields.draws));
    if (!refusal && !requested) {
        refusal = DrawsRefusalText(fields.draws);
    }
    if (refusal) {
        return {.refusal = std::move(*refusal), .figures = {}};
    }
    GameReport report = session_.Simulate({.requested = *requested,
                                           .rule = rule,
                                           .speedTest = command == PanelCommand::Run,
                                           .firstHits = true,
                                           .until = play->untilTiers},
                                          pump);
    PanelShown shown{.refusal = {},
                     .figures = FigureGame(rule, std::move(report), std::move(*play), true),
                     .command = ++commands_};
    Chart(shown);
    return shown;
}

void PanelSession::Chart(PanelShown& shown) {
    const GameFigures& figures = shown.figures;
    if (!figures.Completed() || figures.report.drawsDone == 0) {
        return;  // as loto-sim, which charts only the commands that drew whole
    }
    std::vector<std::string> names = TierNames(figures);
    std::vector<double> probabilities = Probabilities(figures);
    if (!chart_ || chart_->probabilities() != probabilities || chartNames_ != names) {
        chart_.emplace(std::move(probabilities));
        chartNames_ = std::move(names);
    }
    chart_->Add(figures.report.drawsDone, Counts(figures));
    shown.chart = ChartSvg(*chart_, TierRows(chartNames_));
    shown.chartRuns = chart_->commands();
}

}  // namespace loto
