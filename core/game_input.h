#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/draw_rule.h"
#include "core/refusal.h"

namespace loto {

// What a game and a ticket are read as, from loto-sim's arguments or the page's boxes, or why they
// are refused.

inline constexpr int kMostTop = 99;  // the largest pool, N or Q

// GAME: K/N, then optionally +bonus, then optionally +M/Q, in that order, each number in decimal:
// 1 <= K < N <= 99, 1 <= M < Q <= 99.
struct ReadGame {
    std::optional<Game> game;
    std::optional<Refusal> refusal;
};
[[nodiscard]] ReadGame ParseGame(std::string_view text);

// The values of a ticket, after the number of draws: its main numbers, then, in a game with a
// second pool, "+" and the second pool's numbers. Each value is read as TextToNumber reads it and
// rounded as a grid is, halves to even, with N or Q as the top; unlike a grid, the rounded numbers
// must be distinct. A ticket holds 1 to N main numbers and, with a second pool, 1 to Q of it.
struct ReadTicket {
    std::optional<DrawRule> rule;
    std::optional<Refusal> refusal;
};
[[nodiscard]] ReadTicket ParseTicket(const Game& game, std::span<const std::string_view> values);

// The field that separates a ticket's main numbers from its second pool's.
inline constexpr std::string_view kSecondPoolMark = "+";

// A ticket's numbers as a ticket is typed: the main ones, then " +" and the second pool's.
[[nodiscard]] std::string TicketText(const DrawRule& rule);

}  // namespace loto
