#pragma once

#include <string>
#include <string_view>

namespace loto {

// The three columns of the result rows: draws that matched k numbers, what the probabilities
// predict, and the deviation in percent.
enum class ResultColumn { Stat, Theo, Ecart };

// The messages that share one spot of the window: the three of the design, and why a number of
// draws beyond the range of numbers draws nothing.
enum class Message { ValidGrille, Test, Patientez, ValidNbTirages };
inline constexpr int kMessageCount = 4;

inline constexpr int kFavouriteCount = 6;
inline constexpr int kResultRows = 7;

// The captions of the messages, every space included.
[[nodiscard]] constexpr std::string_view MessageCaption(Message message) {
    switch (message) {
        case Message::ValidGrille:
            return "      GRILLE NON VALIDE : N\u00B0 1 \u00E0 49         ET TOUS DIFFERENTS  "
                   "S.V.P";
        case Message::Test:
            return "P A T I E N T E Z  S.V.P  PENDANT LE TEST DE RAPIDITE DU  PC";
        case Message::Patientez:
            return "P A T I E N T E Z  S.V.P TIRAGES EN COURS";
        case Message::ValidNbTirages:
            return "      NOMBRE DE TIRAGES ILLISIBLE :         HORS DES LIMITES DU PC";
    }
    return {};
}

// The window as the commands see it: its input texts, its output boxes and its messages. The
// window implements it on its controls; loto-sim on plain strings.
class CommandWindow {
public:
    virtual ~CommandWindow() = default;

    [[nodiscard]] virtual std::string DrawCountText() = 0;              // TxtNbTirages
    [[nodiscard]] virtual std::string FavouriteText(int position) = 0;  // 1 to 6: Txt1erN° ...
    virtual void SetEstimateText(const std::string& text) = 0;          // TxtDateFin
    virtual void SetResultText(ResultColumn column, int k, const std::string& text) = 0;
    virtual void SetMessageVisible(Message message, bool visible) = 0;
};

}  // namespace loto
