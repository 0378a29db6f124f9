#include "form/colours.h"

namespace loto {

ControlColours ShownColours(const ControlDesign& control) {
    const auto shown = [](std::uint32_t designed, std::uint32_t classic) {
        return designed == kDefaultColour ? classic : designed;
    };
    const std::uint32_t desktop =
        control.kind == ControlKind::TextBox ? palette::kWhite : FrmLotoDesign().background;
    return {.face = shown(control.background, desktop),
            .text = shown(control.textColour, palette::kBlack)};
}

}  // namespace loto
