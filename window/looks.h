#pragma once

namespace loto {

// The classic desktop that the design assumes: Qt's "Windows" style, which fills button faces
// flat with their colour and draws text boxes in a two-pixel sunken bevel.
void UseClassicStyle();

// Faces for "Arial" and "Arial Black" where the desktop lacks them.
void InstallFontSubstitutes();

}  // namespace loto
