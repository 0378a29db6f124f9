#pragma once

#include <QColor>
#include <QFont>

#include "window/design.h"

class QWidget;

namespace loto {

// Creates one control of the design as a child of `form`, at its place and with its looks.
QWidget* CreateControl(const ControlDesign& design, QWidget* form);

// The design's font: the point sizes are whole pixel heights at 96 dots per inch, kept in
// device-independent pixels so that they scale with the rest of the window.
[[nodiscard]] QFont DesignFont(const FontDesign& font);

// A 0x00BBGGRR colour.
[[nodiscard]] QColor DesignColour(std::uint32_t bgr);

// Faces for "Arial" and "Arial Black" where the desktop lacks them.
void InstallFontSubstitutes();

}  // namespace loto
