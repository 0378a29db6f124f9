#include "form/panel_session.h"

#include <algorithm>
#include <string_view>

#include "core/game_input.h"
#include "core/play_figures.h"
#include "core/prize_input.h"
#include "form/panel_words.h"
#include "platform/box_text.h"
#include "platform/text_to_number.h"

namespace loto {
namespace {

// What separates the numbers of a ticket, and the amounts of the prizes, where a comma is a
// decimal one.
constexpr std::string_view kBetweenNumbers = " \t\r\n,;";
constexpr std::string_view kBetweenAmounts = " \t\r\n;";

// The values of a box, between the separators.
std::vector<std::string_view> Values(std::string_view text,
                                     std::string_view between = kBetweenNumbers) {
    std::vector<std::string_view> values;
    for (std::size_t start = text.find_first_not_of(between); start != std::string_view::npos;) {
        const std::size_t end = std::min(text.find_first_of(between, start), text.size());
        values.push_back(text.substr(start, end - start));
        start = text.find_first_not_of(between, end);
    }
    return values;
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

// Each reads its fields into `shown`, or says why they are refused.
std::optional<std::string> TakeTicket(const PanelFields& fields, PanelShown& shown) {
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
    shown.rule = *ticket.rule;
    return std::nullopt;
}

std::optional<std::string> TakeMoney(const PanelFields& fields, PanelShown& shown) {
    const std::vector<std::string_view> typedPrice = Values(fields.price, kBetweenAmounts);
    if (typedPrice.empty() && Blank(fields.prizes)) {
        return std::nullopt;
    }
    std::optional<Cents> price = Cents{0};
    if (!typedPrice.empty()) {
        price = typedPrice.size() == 1 ? ReadAmount(WithPoint(typedPrice.front())) : std::nullopt;
        if (!price) {
            return PriceRefusalText(fields.price);
        }
    }
    std::vector<PrizeArgument> prizes;
    for (const std::string_view text : Values(fields.prizes, kBetweenAmounts)) {
        Refusal refusal;
        const std::optional<PrizeArgument> prize = ReadPrizeArgument(WithPoint(text), refusal);
        if (!prize) {
            return PanelRefusalText(refusal);
        }
        prizes.push_back(*prize);
    }
    const ReadPrizes table = MakePrizeTable(shown.rule, *price, prizes);
    if (!table.table) {
        return PanelRefusalText(*table.refusal);
    }
    shown.money = MakeMoneyLaw(shown.rule, *table.table);
    return shown.money ? std::nullopt : std::optional(TooMuchMoneyText());
}

std::optional<std::string> TakeWeeks(const PanelFields& fields, PanelShown& shown) {
    if (Values(fields.drawsPerWeek, kBetweenAmounts).empty()) {
        return std::nullopt;
    }
    const std::optional<double> perWeek = TextToNumber(WithPoint(BoxText(fields.drawsPerWeek)));
    if (!perWeek || !DrawsPerWeekAllowed(*perWeek)) {
        return DrawsPerWeekRefusalText(fields.drawsPerWeek);
    }
    shown.drawsPerWeek = perWeek;
    return std::nullopt;
}

std::optional<std::string> TakeUntil(const PanelFields& fields, PanelShown& shown,
                                     std::vector<int>& tiers) {
    const std::vector<std::string_view> typed = Values(fields.until);
    if (typed.size() != 1) {
        return UntilMissingText();
    }
    const bool any = typed.front() == kAnyPrizeWord;
    const ReadUntil read = ReadUntilTier(shown.rule, any ? kAnyPrize : typed.front(), shown.money);
    if (read.refusal) {
        return PanelRefusalText(*read.refusal);
    }
    tiers = read.tiers;
    shown.until = std::string(typed.front());
    return std::nullopt;
}

}  // namespace

PanelSession::PanelSession(RunTime& runTime, unsigned threads) : session_(runTime, threads) {}

PanelShown PanelSession::Run(const PanelFields& fields, PanelCommand command, EventPump& pump) {
    PanelShown shown;
    std::vector<int> until;
    std::optional<std::string> refusal = TakeTicket(fields, shown);
    if (!refusal) {
        refusal = TakeMoney(fields, shown);
    }
    if (!refusal) {
        refusal = TakeWeeks(fields, shown);
    }
    if (!refusal && command == PanelCommand::Until) {
        refusal = TakeUntil(fields, shown, until);
    }
    const std::optional<double> requested = TextToNumber(BoxText(fields.draws));
    if (!refusal && !requested) {
        refusal = DrawsRefusalText(fields.draws);
    }
    if (refusal) {
        shown.refusal = std::move(*refusal);
        return shown;
    }
    shown.report = session_.Simulate({.requested = *requested,
                                      .rule = shown.rule,
                                      .speedTest = command == PanelCommand::Run,
                                      .firstHits = true,
                                      .until = until},
                                     pump);
    shown.tiers = Tiers(shown.rule, shown.report.tally);
    return shown;
}

}  // namespace loto
