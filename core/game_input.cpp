#include "core/game_input.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

#include "platform/box_text.h"
#include "platform/text_to_number.h"
#include "platform/whole_number.h"

namespace loto {
namespace {

// "K/N", each digits alone.
std::optional<Pool> ReadPoolName(std::string_view text) {
    const std::size_t slash = text.find('/');
    if (slash == std::string_view::npos) {
        return std::nullopt;
    }
    const std::optional<int> drawn = ReadWholeNumber<int>(text.substr(0, slash));
    const std::optional<int> top = ReadWholeNumber<int>(text.substr(slash + 1));
    if (!drawn || !top || *drawn < 1 || *drawn >= *top || *top > kMostTop) {
        return std::nullopt;
    }
    return Pool{*drawn, *top};
}

// One number of a ticket, as a box reads it and a grid rounds it, or why it is none.
struct TicketNumber {
    int number = 0;
    std::optional<Refusal> refusal;
};

TicketNumber ReadNumber(std::string_view text, int top, const std::string& name) {
    const std::string_view kept = BoxText(text);
    const std::optional<double> value = TextToNumber(kept);
    const Refusal said{.why = Refused::BeyondNumbers, .typed = std::string(kept), .name = name};
    if (!value) {
        return {0, said};
    }
    if (*value < 1 || *value > top) {
        Refusal outside = said;
        outside.why = Refused::OutsidePool;
        outside.number = top;
        return {0, outside};
    }
    return {static_cast<int>(std::nearbyint(*value)), std::nullopt};  // halves to even
}

// The numbers of one pool of a ticket, named N1, N2 ... or S1, S2 ..., each distinct once rounded.
std::optional<Refusal> ReadPool(std::span<const std::string_view> values, int top, char letter,
                                NumberSet& numbers) {
    if (values.empty() || static_cast<int>(values.size()) > top) {
        return Refusal{.why = Refused::PoolSize,
                       .number = top,
                       .count = static_cast<int>(values.size()),
                       .second = letter != 'N'};
    }
    for (std::size_t i = 0; i < values.size(); ++i) {
        std::string name(1, letter);
        name += std::to_string(i + 1);
        const TicketNumber read = ReadNumber(values[i], top, name);
        if (read.refusal) {
            return read.refusal;
        }
        if (numbers.Has(read.number)) {
            return Refusal{.why = Refused::HeldAlready,
                           .typed = std::string(BoxText(values[i])),
                           .name = name,
                           .number = read.number};
        }
        numbers.Add(read.number);
    }
    return std::nullopt;
}

}  // namespace

ReadGame ParseGame(std::string_view text) {
    const Refusal refused{.why = Refused::NotAGame, .typed = std::string(text)};
    std::vector<std::string_view> parts;
    for (std::string_view rest = text;;) {
        const std::size_t plus = rest.find('+');
        parts.push_back(rest.substr(0, plus));
        if (plus == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(plus + 1);
    }
    const std::optional<Pool> main = ReadPoolName(parts[0]);
    if (!main || parts.size() > 3) {
        return {std::nullopt, refused};
    }
    Game game{.main = *main};
    std::size_t next = 1;
    if (next < parts.size() && parts[next] == "bonus") {
        game.bonus = true;
        ++next;
    }
    if (next < parts.size()) {
        const std::optional<Pool> second = ReadPoolName(parts[next]);
        if (!second || next + 1 != parts.size()) {
            return {std::nullopt, refused};
        }
        game.second = *second;
    }
    return {game, std::nullopt};
}

std::string TicketText(const DrawRule& rule) {
    std::string text;
    const auto add = [&](const NumberSet& numbers, int top) {
        for (int n = 1; n <= top; ++n) {
            if (numbers.Has(n)) {
                text.append(text.empty() ? "" : " ").append(std::to_string(n));
            }
        }
    };
    add(rule.main, rule.game.main.top);
    if (rule.game.hasSecond()) {
        text.append(" ").append(kSecondPoolMark);
        add(rule.second, rule.game.second.top);
    }
    return text;
}

ReadTicket ParseTicket(const Game& game, std::span<const std::string_view> values) {
    // The mark is read as the numbers around it are: " + " is the mark.
    const auto mark = std::find_if(values.begin(), values.end(), [](std::string_view value) {
        return WithoutBlanks(BoxText(value)) == kSecondPoolMark;
    });
    const bool marked = mark != values.end();
    if (game.hasSecond() != marked) {
        return {std::nullopt, Refusal{.why = game.hasSecond() ? Refused::SecondPoolMissing
                                                              : Refused::NoSecondPool}};
    }
    DrawRule rule{.game = game, .main = {}, .second = {}};
    const auto split = static_cast<std::size_t>(mark - values.begin());
    std::optional<Refusal> refusal = ReadPool(values.first(split), game.main.top, 'N', rule.main);
    if (!refusal && marked) {
        refusal = ReadPool(values.subspan(split + 1), game.second.top, 'S', rule.second);
    }
    if (refusal) {
        return {std::nullopt, refusal};
    }
    return {rule, std::nullopt};
}

}  // namespace loto
