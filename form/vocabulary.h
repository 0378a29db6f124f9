#pragma once

#include <cstdint>
#include <string_view>

#include "core/command_window.h"

namespace loto {

// The words of the window's design, whichever toolkit draws it.

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
