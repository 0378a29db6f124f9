#include "panel/panel_session.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "charts/run_chart.h"
#include "charts/waits_chart.h"
#include "core/game_input.h"
#include "core/play.h"
#include "core/prize_input.h"
#include "export/csv.h"
#include "export/json.h"
#include "export/json_numbers.h"
#include "panel/example_rules.h"
#include "panel/panel_words.h"
#include "platform/amount_text.h"
#include "platform/box_text.h"
#include "platform/french_numbers.h"
#include "platform/split_values.h"
#include "platform/text_to_number.h"
#include "platform/whole_number.h"
#include "rules/shared_money.h"

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

// The example rules of that file, read; none for a file that is none of the examples.
std::optional<LotteryRules> ExampleRulesOf(std::string_view file) {
    for (const ExampleRules& example : ExampleRulesFiles()) {
        if (example.file == file) {
            return ParseRules(example.text).rules;
        }
    }
    return std::nullopt;
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

// How many commands a box asks for, blank for the default; refused outside 1 to kMostPanelRuns.
std::optional<std::string> TakeCount(std::string_view typed, PanelCount box, int& count) {
    const std::string text = WithoutBlanks(typed);
    if (text.empty()) {
        return std::nullopt;
    }
    const std::optional<int> read = ReadWholeNumber<int>(text);
    if (!read || *read < 1 || *read > kMostPanelRuns) {
        return CountRefusalText(box, typed);
    }
    count = *read;
    return std::nullopt;
}

std::optional<std::string> Played(const DrawRule& rule, const PlayAsked& asked,
                                  std::optional<Play>& play) {
    ReadPlay read = MakePlay(rule, asked);
    play = std::move(read.play);
    return read.refusal ? std::optional(PanelRefusalText(*read.refusal)) : std::nullopt;
}

// What the boxes ask for: the ticket and its play, how many commands of the draws, and the
// rules that share and tax its prizes.
struct PanelAsked {
    DrawRule rule;
    std::optional<Play> play;
    int repeats = 1;
    int lifetimes = 0;
    std::optional<LotteryRules> rules;
};

// The rules chosen, of the game typed.
std::optional<std::string> TakeRules(const PanelFields& fields, PanelAsked& asked) {
    if (fields.rules.empty()) {
        return std::nullopt;
    }
    asked.rules = ExampleRulesOf(fields.rules);
    if (!asked.rules) {
        return NoSuchRulesText(fields.rules);
    }
    if (asked.rules->game != asked.rule.game) {
        return RulesOfAnotherGameText(asked.rules->game, asked.rule.game);
    }
    return std::nullopt;
}

// The ticket's prizes shared and taxed by the rules at their jackpot now, as loto-sim's --rules
// shares them.
void Share(PanelAsked& asked) {
    const LotteryRules& rules = *asked.rules;
    const double jackpot = static_cast<double>(rules.jackpot ? rules.jackpot->start : Cents{0});
    asked.play->shared = ShareTicket(rules, asked.rule, jackpot, FindBreakEven(rules));
}

// The boxes in the order that they stand, the first refused one said: the rules and the ticket,
// its money, the draws a week, the tier, the repetitions (drawn until the tier) or the lifetimes
// (a run), then the number of draws.
std::optional<std::string> Take(const PanelFields& fields, PanelCommand command,
                                PanelAsked& asked) {
    DrawRule& rule = asked.rule;
    std::optional<Play>& play = asked.play;
    PlayAsked typed{.waits = true};
    std::optional<std::string> refusal = TakeTicket(fields, rule);
    if (!refusal) {
        refusal = TakeRules(fields, asked);
    }
    if (!refusal) {
        refusal = TakeMoney(fields, typed);
    }
    if (!refusal) {
        refusal = Played(rule, typed, play);  // its money alone, refused before the next boxes
    }
    if (!refusal) {
        refusal = TakeWeeks(fields, typed);
    }
    if (!refusal && command == PanelCommand::Until) {
        refusal = TakeUntil(fields, typed);
    }
    if (!refusal) {
        refusal = Played(rule, typed, play);
    }
    if (!refusal && asked.rules) {
        Share(asked);
    }
    if (!refusal && command == PanelCommand::Until) {
        refusal = TakeCount(fields.repeats, PanelCount::Repeats, asked.repeats);
    }
    if (!refusal && command == PanelCommand::Run) {
        refusal = TakeCount(fields.lifetimes, PanelCount::Lifetimes, asked.lifetimes);
        if (!refusal && asked.lifetimes > 0 && !play->money) {
            refusal = LifetimesWithoutMoneyText();
        }
    }
    return refusal;
}

// A run's progress over its commands: the draws of each one after those of the ones before, out
// of a fixed total, since a bound of draws times the commands could pass 2^64.
class CommandsPump final : public EventPump {
public:
    CommandsPump(EventPump& page, int commands) : page_(page), commands_(commands) {}

    void Next() noexcept { ++done_; }

    [[nodiscard]] bool ProcessEvents(const DrawProgress& progress) override {
        if (commands_ == 1) {
            return page_.ProcessEvents(progress);
        }
        constexpr std::uint64_t kSteps = 1'000'000;
        const auto part = progress.total > 0
                              ? static_cast<std::uint64_t>(static_cast<long double>(progress.done) *
                                                           kSteps / progress.total)
                              : 0;
        return page_.ProcessEvents({static_cast<std::uint64_t>(done_) * kSteps + part,
                                    static_cast<std::uint64_t>(commands_) * kSteps});
    }

private:
    EventPump& page_;
    int commands_;
    int done_ = 0;
};

}  // namespace

std::optional<PanelFields> RulesFields(std::string_view file, PanelFields fields) {
    const std::optional<LotteryRules> rules = ExampleRulesOf(file);
    if (!rules) {
        return std::nullopt;
    }
    PlayAsked asked;
    AskOfRules(*rules, std::nullopt, asked);
    fields.game = GameName(rules->game);
    fields.price = AmountText(*asked.price);
    fields.prizes.clear();
    for (const PrizeArgument& prize : asked.prizes) {
        fields.prizes +=
            (fields.prizes.empty() ? "" : " ") + prize.tier + '=' + AmountText(prize.amount);
    }
    fields.drawsPerWeek =
        asked.drawsPerWeek ? FrenchNumber(*asked.drawsPerWeek, {.maxSignificant = 6}) : "";
    fields.rules = std::string(file);
    return fields;
}

PanelSession::PanelSession(RunTime& runTime, unsigned threads) : session_(runTime, threads) {}

PanelShown PanelSession::Run(const PanelFields& fields, PanelCommand command, EventPump& pump) {
    PanelAsked asked;
    std::optional<std::string> refusal = Take(fields, command, asked);
    const std::optional<double> requested = TextToNumber(BoxText(fields.draws));
    if (!refusal && !requested) {
        refusal = DrawsRefusalText(fields.draws);
    }
    if (refusal) {
        return {.refusal = std::move(*refusal)};
    }
    const Play& play = *asked.play;
    const bool lives = asked.lifetimes > 0;
    PanelShown shown{.asked = lives ? asked.lifetimes : asked.repeats, .lives = lives};
    shown.csv = GameCsvHeader(true, play.waits, play.money.has_value());
    RunSummary summary(shown.asked > 1 && command == PanelCommand::Until, lives);
    CommandsPump commands(pump, shown.asked);
    for (int i = 0; i < shown.asked; ++i, commands.Next()) {
        repetition_ = {i + 1, shown.asked};
        Figure(shown, asked.rule,
               session_.Simulate({.requested = *requested,
                                  .rule = asked.rule,
                                  .speedTest = command == PanelCommand::Run && !lives,
                                  .firstHits = true,
                                  .until = play.untilTiers},
                                 commands),
               play);
        if (!shown.figures.Completed()) {
            break;  // stopped: as loto-sim, no summary of the commands before
        }
        summary.Add(shown.figures);
    }
    repetition_ = {};
    if (shown.figures.Completed()) {
        Summarise(shown, summary);
    }
    if (shown.chart.empty() && shown.chartRuns > 0) {
        shown.chart = ChartSvg(*chart_, TierRows(chartNames_));
    }
    return shown;
}

void PanelSession::Figure(PanelShown& shown, const DrawRule& rule, GameReport report,
                          const Play& play) {
    shown.figures = FigureGame(rule, std::move(report), play, true);
    shown.command = ++commands_;
    ++shown.commands;
    const PrintedGame printed{.stream = 0, .command = shown.command, .figures = shown.figures};
    shown.json += DumpJson(ToJson(printed)) + '\n';
    shown.csv += ToCsv(printed);
    Chart(shown);
}

void PanelSession::Summarise(PanelShown& shown, const RunSummary& summary) {
    shown.waits = summary.waits();
    shown.lifetimes = summary.lifetimes();
    if (shown.waits) {
        const std::string& tier = *shown.figures.play.until;
        shown.json += DumpJson(WaitsJson(tier, shown.waits->sample, shown.waits->test)) + '\n';
        shown.chart = WaitsChartSvg(tier, shown.waits->sample, shown.waits->test);
    }
    if (shown.lifetimes) {
        shown.json += DumpJson(LifetimesJson(*shown.lifetimes)) + '\n';
    }
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
    shown.chartRuns = chart_->commands();
}

}  // namespace loto
