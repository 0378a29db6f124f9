#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <array>

#include "core/command_window.h"
#include "form/design.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace loto {

// The controls that the commands read, write, show and click, found by their role in the design.
struct FrmLotoWidgets {
    QLineEdit* drawCount = nullptr;
    std::array<QLineEdit*, kFavouriteCount> favourites{};  // Txt1erN° to Txt6emeN°
    QLineEdit* estimate = nullptr;
    EnumArray<ResultColumn, PerRow<QLineEdit*>> results{};
    EnumArray<Message, QLabel*> messages{};
    QPushButton* simuler = nullptr;
    QPushButton* effacer = nullptr;
    QPushButton* quitter = nullptr;
};

// Creates every control of the design on `form`, back to front, in the design's Tab order.
FrmLotoWidgets BuildControls(QWidget* form);

// The window's own colours over the desktop's: its grey, the classic bevels, and black text on
// every label and button, whose backgrounds the design fixes whatever the desktop's theme.
[[nodiscard]] QPalette FormPalette(const FormDesign& form, QPalette desktop);

// The design's font: the point sizes are whole pixel heights at 96 dots per inch, kept in
// device-independent pixels so that they scale with the rest of the window.
[[nodiscard]] QFont DesignFont(const FontDesign& font);

// A 0x00BBGGRR colour.
[[nodiscard]] QColor DesignColour(std::uint32_t bgr);

}  // namespace loto
