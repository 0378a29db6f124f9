#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "core/enum_array.h"
#include "core/six_of_forty_nine.h"

namespace loto {

// The words of the window's design, whichever toolkit draws it.

// The three columns of the result rows: draws that matched k numbers, what the probabilities
// predict, and the deviation in percent.
enum class ResultColumn { Stat, Theo, Ecart };
inline constexpr std::array kResultColumns{ResultColumn::Stat, ResultColumn::Theo,
                                           ResultColumn::Ecart};
template <>
inline constexpr std::size_t kEnumCount<ResultColumn> = std::size(kResultColumns);

// The messages that share one spot of the window: the three of the design, and why a number of
// draws beyond the range of numbers draws nothing.
enum class Message { ValidGrille, Test, Patientez, ValidNbTirages };
inline constexpr std::array kMessages{Message::ValidGrille, Message::Test, Message::Patientez,
                                      Message::ValidNbTirages};
template <>
inline constexpr std::size_t kEnumCount<Message> = std::size(kMessages);

enum class ControlKind { Label, TextBox, Button };
enum class Align { Left, Centre, Right };

// What the commands use a control for: the front ends find the inputs, outputs, messages and
// buttons by role, the favourites by position, the result boxes by column and row, the messages
// by the message they show.
enum class Role {
    Caption,  // fixed text, never touched at run time
    DrawCount,
    Favourite,
    Estimate,
    Result,
    Message,
    Simuler,
    Effacer,
    Quitter,
};

struct ControlUse {
    Role role = Role::Caption;
    int row = 0;  // a favourite's position, 1 to 6; a result's k, 0 to 6
    ResultColumn column = ResultColumn::Stat;  // of a result
    Message message = Message::ValidGrille;    // of a message

    friend constexpr bool operator==(const ControlUse&, const ControlUse&) = default;
};

[[nodiscard]] constexpr ControlUse Is(Role role) noexcept {
    return {.role = role};
}
[[nodiscard]] constexpr ControlUse FavouriteAt(int position) noexcept {
    return {.role = Role::Favourite, .row = position};
}
[[nodiscard]] constexpr ControlUse ResultAt(ResultColumn column, int k) noexcept {
    return {.role = Role::Result, .row = k, .column = column};
}
[[nodiscard]] constexpr ControlUse Shows(Message message) noexcept {
    return {.role = Role::Message, .message = message};
}

// The kind of control that serves a role: text boxes hold the inputs and outputs, labels the
// captions and messages, buttons the commands.
[[nodiscard]] constexpr ControlKind KindFor(Role role) noexcept {
    switch (role) {
        case Role::Caption:
        case Role::Message:
            return ControlKind::Label;
        case Role::DrawCount:
        case Role::Favourite:
        case Role::Estimate:
        case Role::Result:
            return ControlKind::TextBox;
        case Role::Simuler:
        case Role::Effacer:
        case Role::Quitter:
            return ControlKind::Button;
    }
    return ControlKind::Label;
}

// A place and size in twips (1/1440 inch), from the top-left corner of the window's client area.
struct Place {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct FontDesign {
    std::string_view family{};
    double points = 0;
    bool bold = false;
    bool italic = false;
};

// Where a control stands on a touch screen or a narrow one: a line of the one column that the
// form becomes there, and its part of the line's kPhoneColumns columns, from `column` (1 for
// the first) over `span` of them.
inline constexpr int kPhoneColumns = 12;
struct PhoneCell {
    int line = 0;
    int column = 1;
    int span = kPhoneColumns;

    friend constexpr bool operator==(const PhoneCell&, const PhoneCell&) = default;
};

// A colour as the design writes it, 0x00BBGGRR, or the desktop's colour for the control's role.
inline constexpr std::uint32_t kDefaultColour = 0xFFFFFFFFu;

}  // namespace loto
