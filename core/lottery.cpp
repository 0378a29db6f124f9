#include "core/lottery.h"

namespace loto {

std::string GameName(const Game& game) {
    std::string text = std::to_string(game.drawn) + "/" + std::to_string(game.top);
    if (game.bonus) {
        text += "+bonus";
    }
    if (game.hasSecond()) {
        text.append("+").append(std::to_string(game.secondDrawn));
        text.append("/").append(std::to_string(game.secondTop));
    }
    return text;
}

}  // namespace loto
