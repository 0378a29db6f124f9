#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "form/vocabulary.h"
#include "platform/box_text.h"

namespace loto {

// The window's fixed design: every control with its place and looks, in twips and 0x00BBGGRR
// colours. The desktop window and the page build themselves from this table, and nothing changes
// it at run time.

struct ControlDesign {
    std::string_view name{};  // the control's name, as the window knows it (UTF-8)
    ControlKind kind = ControlKind::Label;
    std::string_view caption = "";
    Place place{};
    FontDesign font{};
    std::uint32_t textColour = kDefaultColour;
    std::uint32_t background = kDefaultColour;
    Align align = Align::Left;
    bool shownAtStart = true;
    int tabIndex = 0;
    // TxtNbTirages and TxtDateFin have this one setting off: they are drawn without the sunken
    // border, and keep their places in the Tab order.
    bool border = true;
    ControlUse use{};
    // On a touch screen or one narrower than the window, and on one narrower still, where a line
    // of the other cannot hold its boxes 44 pixels wide.
    PhoneCell phone{};
    PhoneCell narrow{};
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

// The controls that the commands use, each of which the table holds once (checked when the
// program is built): the index in FrmLotoControls() of the one that serves `use`, and its row.
// A position, k or role that the table has no control for throws std::out_of_range.
[[nodiscard]] std::size_t ControlIndex(const ControlUse& use);
[[nodiscard]] const ControlDesign& Designed(const ControlUse& use);

}  // namespace loto
