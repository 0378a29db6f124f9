#pragma once

// The games that people play, each with a ticket, as the engine's tests draw them.

#include <initializer_list>
#include <vector>

#include "core/draw_rule.h"

namespace loto::test {

inline DrawRule Ticket(const Game& game, std::initializer_list<int> main,
                       std::initializer_list<int> second = {}) {
    DrawRule rule{.game = game, .main = {}, .second = {}};
    for (const int n : main) {
        rule.main.Add(n);
    }
    for (const int n : second) {
        rule.second.Add(n);
    }
    return rule;
}

// A bonus, a second pool of one or two, pools beyond 64, a keno pick of 10 against 20 drawn, a
// system ticket of 8; and for the lanes' tally, a bonus with a ticket of three (one word of
// tiers) and a second pool whose tiers take four words.
inline const std::vector<DrawRule>& ExampleRules() {
    static const std::vector<DrawRule> rules = {
        Ticket({.main = {6, 49}, .bonus = true}, {1, 2, 3, 4, 5, 6}),
        Ticket({.main = {6, 45}}, {3, 9, 17, 28, 41, 45}),
        Ticket({.main = {7, 35}}, {1, 5, 9, 13, 20, 27, 35}),
        Ticket({.main = {5, 50}, .second = {2, 12}}, {3, 14, 25, 36, 47}, {2, 9}),
        Ticket({.main = {5, 69}, .second = {1, 26}}, {7, 19, 33, 52, 69}, {13}),
        Ticket({.main = {5, 49}, .second = {1, 10}}, {1, 12, 23, 34, 45}, {10}),
        Ticket({.main = {6, 90}}, {1, 17, 33, 49, 65, 90}),
        Ticket({.main = {20, 70}}, {2, 9, 16, 23, 30, 37, 44, 51, 58, 65}),
        Ticket(kSixOfFortyNine, {4, 8, 15, 16, 23, 42, 47, 49}),
        Ticket({.main = {6, 49}, .bonus = true}, {7, 21, 42}),
        Ticket({.main = {7, 40}, .second = {3, 12}}, {2, 8, 14, 20, 26, 32, 38}, {1, 6, 11}),
    };
    return rules;
}

// Games at the edges of what the engine draws: all but one number drawn, pools on both sides of
// where the serial loop's set and the lanes' set leave one word, the largest pools main and second,
// a bonus from a pool of two words, a bonus after a count of numbers that no loop is compiled for,
// and a bonus with a second pool, whose thousands of tiers no lane's tally holds.
inline const std::vector<DrawRule>& EdgeRules() {
    static const std::vector<DrawRule> rules = [] {
        std::vector<DrawRule> edges = {
            Ticket({.main = {9, 10}}, {1, 4, 10}),
            Ticket({.main = {6, 63}}, {1, 32, 62, 63}),
            Ticket({.main = {6, 64}}, {1, 63, 64}),
            Ticket({.main = {6, 65}}, {1, 56, 57, 63, 64, 65}),
            Ticket({.main = {5, 99}}, {1, 56, 57, 64, 99}),
            Ticket({.main = {5, 50}, .second = {3, 99}}, {1, 25, 50}, {1, 56, 57, 99}),
            Ticket({.main = {7, 80}, .bonus = true}, {2, 11, 30, 56, 57, 79, 80}),
            Ticket({.main = {4, 20}, .bonus = true}, {1, 7, 20}),
        };
        DrawRule both = Ticket({.main = {30, 99}, .bonus = true, .second = {49, 99}}, {});
        for (int n = 1; n <= 99; ++n) {
            n % 3 == 0 ? both.main.Add(n) : both.second.Add(n);
        }
        edges.push_back(both);
        return edges;
    }();
    return rules;
}

// The example games and the edge games.
inline std::vector<DrawRule> EveryTestRule() {
    std::vector<DrawRule> rules = ExampleRules();
    rules.insert(rules.end(), EdgeRules().begin(), EdgeRules().end());
    return rules;
}

}  // namespace loto::test
