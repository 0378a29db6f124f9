#pragma once

#include <array>
#include <string>

#include "core/enum_array.h"
#include "core/game.h"

namespace loto {

// The three columns of the result rows: draws that matched k numbers, what the probabilities
// predict, and the deviation in percent.
enum class ResultColumn { Stat, Theo, Ecart };
template <>
inline constexpr std::size_t kEnumCount<ResultColumn> = 3;
inline constexpr std::array kResultColumns{ResultColumn::Stat, ResultColumn::Theo,
                                           ResultColumn::Ecart};

// The messages that share one spot of the window: the three of the design, and why a number of
// draws beyond the range of numbers draws nothing.
enum class Message { ValidGrille, Test, Patientez, ValidNbTirages };
template <>
inline constexpr std::size_t kEnumCount<Message> = 4;
inline constexpr std::array kMessages{Message::ValidGrille, Message::Test, Message::Patientez,
                                      Message::ValidNbTirages};

// The texts of the 21 result boxes, by column and k.
using ResultTexts = EnumArray<ResultColumn, PerRow<std::string>>;

// The window as the commands see it: its input texts, its output boxes and its messages. The
// desktop window and the page implement it on their controls; loto-sim reads the report instead.
class CommandWindow {
public:
    virtual ~CommandWindow() = default;

    [[nodiscard]] virtual std::string DrawCountText() = 0;              // TxtNbTirages
    [[nodiscard]] virtual std::string FavouriteText(int position) = 0;  // 1 to 6: Txt1erN° ...
    virtual void SetEstimateText(const std::string& text) = 0;          // TxtDateFin
    virtual void SetResultText(ResultColumn column, int k, const std::string& text) = 0;
    virtual void SetMessageVisible(Message message, bool visible) = 0;
    // Heard, not seen: that a run has written its results, or that those are gone.
    virtual void SetRunEnded(bool ended) = 0;
};

}  // namespace loto
