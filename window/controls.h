#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>

#include "form/design.h"

class QWidget;

namespace loto {

// The control of a row of the design on `form`: a label, a text box or a button, placed, drawn
// and named as the row says, shown or not as at start.
[[nodiscard]] QWidget* CreateControl(const ControlDesign& design, QWidget* form);

// The Tab key visits the text boxes and buttons of the design in increasing tab index; labels take
// no focus. `controls` are the design's, in the order of its table.
void SetTabOrder(const std::vector<QWidget*>& controls);

// The window's own colours over the desktop's: its grey, the classic bevels, and black text.
[[nodiscard]] QPalette FormPalette(const FormDesign& form, QPalette desktop);

// The design's font: the point sizes are whole pixel heights at 96 dots per inch, kept in
// device-independent pixels so that they scale with the rest of the window.
[[nodiscard]] QFont DesignFont(const FontDesign& font);

// A 0x00BBGGRR colour.
[[nodiscard]] QColor DesignColour(std::uint32_t bgr);

}  // namespace loto
