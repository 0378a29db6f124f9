#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "core/command_window.h"
#include "platform/box_text.h"

namespace loto {

// The window's fixed design: every control with its place and looks, in twips (1/1440 inch) and
// 0x00BBGGRR colours. The window builds itself from this table and nothing changes it at run time.

enum class ControlKind { Label, TextBox, Button };
enum class Align { Left, Centre, Right };

// What the commands use a control for: the window finds its inputs, outputs, messages and
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
};

struct FontDesign {
    std::string_view family;
    double points;
    bool bold;
    bool italic;
};

inline constexpr std::uint32_t kDefaultColour = 0xFFFFFFFFu;  // the desktop's colour for the role
inline constexpr int kTwipsPerPixel = 15;                     // at 96 dots per inch

struct ControlDesign {
    std::string_view name;  // the control's name, as the window knows it (UTF-8)
    ControlKind kind;
    std::string_view caption;
    int left;
    int top;
    int width;
    int height;
    FontDesign font;
    std::uint32_t textColour;
    std::uint32_t background;
    Align align;
    bool shownAtStart;
    int tabIndex;
    // TxtNbTirages and TxtDateFin have this one setting off: they are drawn without the sunken
    // border, and keep their places in the Tab order.
    bool border;
    ControlUse use;
};

struct FormDesign {
    std::string_view title;
    int clientWidth;   // twips
    int clientHeight;  // twips
    std::uint32_t background;
    FontDesign font;  // for labels without a font of their own
};

[[nodiscard]] const FormDesign& FrmLotoDesign();

// The controls from back to front: labels first, then text boxes and buttons.
[[nodiscard]] std::span<const ControlDesign> FrmLotoControls();

// The control that the commands use for `use`: a favourite, a result, a message, an input, an
// output or a button, each of which the table holds once (checked when the program is built).
[[nodiscard]] const ControlDesign& DesignedControl(const ControlUse& use);

}  // namespace loto
