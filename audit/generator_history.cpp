#include "audit/generator_history.h"

#include <optional>
#include <string>
#include <vector>

#include "core/game_numbers.h"

namespace loto {
namespace {

// The first number of a draw off its pool, if any.
std::optional<int> OffPool(std::span<const std::uint8_t> numbers, const Game& game) {
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        const int top = static_cast<int>(i) < game.mainTaken() ? game.main.top : game.second.top;
        if (numbers[i] == 0 || numbers[i] > top) {
            return numbers[i];
        }
    }
    return std::nullopt;
}

BadLine OffEdge(std::uint64_t draw, std::span<const std::uint8_t> numbers, int number) {
    BadLine bad{draw, {}, std::to_string(number)};
    for (const std::uint8_t n : numbers) {
        bad.fields.push_back(std::to_string(n));
    }
    bad.reason += " is off its pool, next to an edge of the generator";
    return bad;
}

}  // namespace

History GeneratorHistory(const Game& game, GeneratorState start, std::uint64_t draws) {
    History history;
    history.main = {game.main, {}};
    history.second = {game.second, {}};
    history.main.numbers.reserve(draws * static_cast<std::uint64_t>(game.main.drawn));
    history.second.numbers.reserve(draws * static_cast<std::uint64_t>(game.second.drawn));
    history.bonus.reserve(game.bonus ? draws : 0);
    std::vector<std::uint8_t> numbers(
        static_cast<std::size_t>(game.mainTaken() + game.second.drawn));
    const auto main = numbers.begin() + game.main.drawn;
    const auto second = numbers.begin() + game.mainTaken();
    for (std::uint64_t d = 1; d <= draws; ++d) {
        DrawGameNumbers(start, game, numbers);
        if (const std::optional<int> off = OffPool(numbers, game)) {
            history.setAside.push_back(OffEdge(d, numbers, *off));
            continue;
        }
        history.main.numbers.insert(history.main.numbers.end(), numbers.begin(), main);
        if (game.bonus) {
            history.bonus.push_back(*main);
        }
        history.second.numbers.insert(history.second.numbers.end(), second, numbers.end());
    }
    return history;
}

}  // namespace loto
