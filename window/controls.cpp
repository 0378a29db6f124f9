#include "window/controls.h"

#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <vector>

#include "form/accessible_names.h"
#include "form/colours.h"
#include "form/units.h"
#include "platform/box_text.h"
#include "window/box_line_edit.h"
#include "window/qt_text.h"

namespace loto {
namespace {

Qt::Alignment HorizontalAlignment(Align align) {
    return ByAlign<Qt::Alignment>(align, Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight);
}

// The colours that form/ decides, as the roles of the widget's palette that draw them.
void SetColours(QWidget* widget, QPalette::ColorRole face, QPalette::ColorRole text,
                const ControlDesign& design) {
    const ControlColours colours = ShownColours(design);
    QPalette palette = widget->palette();
    palette.setColor(face, DesignColour(colours.face));
    palette.setColor(text, DesignColour(colours.text));
    widget->setPalette(palette);
}

// A label paints its whole rectangle, starts its caption at the top, wraps at spaces and cuts
// what does not fit. Plain text keeps every space of the caption.
QWidget* CreateLabel(const ControlDesign& design, QWidget* form) {
    auto* label = new QLabel(form);
    label->setTextFormat(Qt::PlainText);
    label->setText(ToQString(design.caption));
    label->setWordWrap(true);
    label->setAlignment(HorizontalAlignment(design.align) | Qt::AlignTop);
    label->setAutoFillBackground(true);
    SetColours(label, QPalette::Window, QPalette::WindowText, design);
    return label;
}

QWidget* CreateTextBox(const ControlDesign& design, QWidget* form) {
    auto* box = new BoxLineEdit(form);
    box->setAlignment(HorizontalAlignment(design.align) | Qt::AlignVCenter);
    box->setFrame(design.border);
    box->setMaxLength(kBoxCharacterLimit);
    SetColours(box, QPalette::Base, QPalette::Text, design);
    return box;
}

QWidget* CreateButton(const ControlDesign& design, QWidget* form) {
    auto* button = new QPushButton(ToQString(design.caption), form);
    SetColours(button, QPalette::Button, QPalette::ButtonText, design);
    return button;
}

}  // namespace

QWidget* CreateControl(const ControlDesign& design, QWidget* form) {
    QWidget* control = nullptr;
    switch (design.kind) {
        case ControlKind::Label:
            control = CreateLabel(design, form);
            break;
        case ControlKind::TextBox:
            control = CreateTextBox(design, form);
            break;
        case ControlKind::Button:
            control = CreateButton(design, form);
            break;
    }
    control->setObjectName(ToQString(design.name));
    control->setAccessibleName(ToQString(AccessibleName(design)));
    const Place& place = design.place;
    control->setGeometry(Pixels(place.left), Pixels(place.top), Pixels(place.width),
                         Pixels(place.height));
    control->setFont(DesignFont(design.font));
    control->setVisible(design.shownAtStart);
    return control;
}

void SetTabOrder(const std::vector<QWidget*>& controls) {
    const std::span<const ControlDesign> designs = FrmLotoControls();
    std::vector<std::pair<int, QWidget*>> focusable;
    for (std::size_t i = 0; i < designs.size(); ++i) {
        if (designs[i].kind != ControlKind::Label) {
            focusable.emplace_back(designs[i].tabIndex, controls.at(i));
        }
    }
    std::stable_sort(focusable.begin(), focusable.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < focusable.size(); ++i) {
        QWidget::setTabOrder(focusable[i - 1].second, focusable[i].second);
    }
}

QPalette FormPalette(const FormDesign& form, QPalette desktop) {
    desktop.setColor(QPalette::Window, DesignColour(form.background));
    desktop.setColor(QPalette::WindowText, DesignColour(palette::kBlack));
    desktop.setColor(QPalette::ButtonText, DesignColour(palette::kBlack));
    desktop.setColor(QPalette::Light, DesignColour(kBevels.light));
    desktop.setColor(QPalette::Midlight, DesignColour(kBevels.midlight));
    desktop.setColor(QPalette::Mid, DesignColour(kBevels.dark));
    desktop.setColor(QPalette::Dark, DesignColour(kBevels.dark));
    desktop.setColor(QPalette::Shadow, DesignColour(kBevels.shadow));
    return desktop;
}

QColor DesignColour(std::uint32_t bgr) {
    const Rgb rgb = ToRgb(bgr);
    return QColor(rgb.red, rgb.green, rgb.blue);
}

QFont DesignFont(const FontDesign& font) {
    QFont qfont(ToQString(font.family));
    qfont.setPixelSize(FontPixels(font));
    qfont.setBold(font.bold);
    qfont.setItalic(font.italic);
    return qfont;
}

}  // namespace loto
