#include "core/game.h"

namespace loto {

std::string GameName(const Game& game) {
    std::string text = std::to_string(game.main.drawn) + "/" + std::to_string(game.main.top);
    if (game.bonus) {
        text += "+bonus";
    }
    if (game.hasSecond()) {
        text.append("+").append(std::to_string(game.second.drawn));
        text.append("/").append(std::to_string(game.second.top));
    }
    return text;
}

}  // namespace loto
