#include "core/draws.h"

#include "core/draw_sets.h"

namespace loto {
namespace {

// The serial loop of a game: its main pool (the bonus drawn from the rest of it), and its second
// pool, each scored by a table of its own, Set and SecondSet wide enough for each pool's numbers.
template <typename Set, typename SecondSet>
class SerialGame {
public:
    explicit SerialGame(const DrawRule& rule)
        : rule_(rule),
          main_(rule.main, rule.game.main.top),
          second_(rule.second, rule.game.hasSecond() ? rule.game.second.top : 0) {}

    // One draw: its tier. A game of one pool and no bonus (kPlain) has its matches for tier.
    template <int kDrawn, bool kPlain>
    [[nodiscard]] int Draw(GeneratorState& state) const noexcept {
        const Game& game = rule_.game;
        Set drawn{};
        const auto matches = static_cast<int>(
            DrawPool<kDrawn>(state, main_, game.main.drawn, drawn) % main_.kCounted);
        if constexpr (kPlain) {
            return matches;
        }
        const int bonus = game.bonus ? DrawBonus(state, drawn) : 0;
        int matched = 0;
        if (game.hasSecond()) {
            SecondSet second = 0;
            matched = static_cast<int>(DrawPool<0>(state, second_, game.second.drawn, second) %
                                       second_.kCounted);
        }
        return strides_.Index(matches, bonus, matched);
    }

    template <int kDrawn>
    void Into(GeneratorState& state, std::uint64_t draws,
              std::span<std::uint64_t> tally) const noexcept {
        if (!rule_.game.bonus && !rule_.game.hasSecond()) {
            Loop<kDrawn, true>(state, draws, tally);
        } else {
            Loop<kDrawn, false>(state, draws, tally);
        }
    }

private:
    template <int kDrawn, bool kPlain>
    void Loop(GeneratorState& state, std::uint64_t draws,
              std::span<std::uint64_t> tally) const noexcept {
        GeneratorState local = state;
        for (std::uint64_t i = 0; i < draws; ++i) {
            ++tally[static_cast<std::size_t>(Draw<kDrawn, kPlain>(local))];
        }
        state = local;
    }

    // Candidates of the main pool until one that the draw does not hold: whether the ticket has it.
    int DrawBonus(GeneratorState& state, Set& drawn) const noexcept {
        for (;;) {
            std::uint64_t total = 0;
            main_.Take(NextNumber(state, static_cast<std::uint64_t>(rule_.game.main.top)), drawn,
                       total);
            if (total != 0) {
                return static_cast<int>(total % main_.kCounted);
            }
        }
    }

    const DrawRule& rule_;
    BasicScoringTable<Set> main_;
    BasicScoringTable<SecondSet> second_;
    TierStrides strides_ = rule_.Strides();
};

}  // namespace

// One draw of the game, behind the one class whatever its sets' widths.
struct DrawByDraw::Loop {
    virtual ~Loop() = default;
    [[nodiscard]] virtual int Next(GeneratorState& state) const noexcept = 0;
};

namespace {

template <typename Set, typename SecondSet>
struct GameLoop final : DrawByDraw::Loop {
    explicit GameLoop(const DrawRule& drawn) : rule(drawn), game(rule) {}
    [[nodiscard]] int Next(GeneratorState& state) const noexcept override {
        return rule.game.bonus || rule.game.hasSecond() ? game.template Draw<0, false>(state)
                                                        : game.template Draw<0, true>(state);
    }
    DrawRule rule;
    SerialGame<Set, SecondSet> game;
};

}  // namespace

DrawByDraw::DrawByDraw(const DrawRule& rule) {
    WithSetFor(rule.game.main.top, [&](auto set) {
        WithSetFor(rule.game.second.top, [&](auto secondSet) {
            using Chosen =
                GameLoop<typename decltype(set)::type, typename decltype(secondSet)::type>;
            loop_ = std::make_unique<const Chosen>(rule);
        });
    });
}

DrawByDraw::~DrawByDraw() = default;

int DrawByDraw::Next(GeneratorState& state) const noexcept {
    return loop_->Next(state);
}

void DrawInto(GeneratorState& state, std::uint64_t draws, const DrawRule& rule,
              std::span<std::uint64_t> tally) noexcept {
    // Each pool's set as wide as its numbers need, the common counts of a draw compiled in.
    WithSetFor(rule.game.main.top, [&](auto set) {
        WithSetFor(rule.game.second.top, [&](auto secondSet) {
            using Serial =
                SerialGame<typename decltype(set)::type, typename decltype(secondSet)::type>;
            const Serial game(rule);
            WithDrawnCount(rule.game.main.drawn, [&](auto drawn) {
                game.template Into<decltype(drawn)::value>(state, draws, tally);
            });
        });
    });
}

double ValuesPerDraw(const Game& game) noexcept {
    const auto pool = [](int taken, int top) {
        double values = 0;
        for (int i = 0; i < taken; ++i) {
            values += static_cast<double>(top) / (top - i);
        }
        return values;
    };
    return pool(game.mainTaken(), game.main.top) + pool(game.second.drawn, game.second.top);
}

double ValuesPerDrawVariance(const Game& game) noexcept {
    // The candidates for the (i + 1)th number of a pool of N: geometric, of success (N - i) / N.
    const auto pool = [](int taken, int top) {
        double variance = 0;
        for (int i = 0; i < taken; ++i) {
            variance += static_cast<double>(i) * top / ((top - i) * static_cast<double>(top - i));
        }
        return variance;
    };
    return pool(game.mainTaken(), game.main.top) + pool(game.second.drawn, game.second.top);
}

}  // namespace loto
