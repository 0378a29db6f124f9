#include "window/controls.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <vector>

#include "form/accessible_names.h"
#include "form/units.h"
#include "window/box_line_edit.h"

namespace loto {
namespace {

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

Qt::Alignment HorizontalAlignment(Align align) {
    return ByAlign<Qt::Alignment>(align, Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight);
}

// A colour that the design fixes; where it leaves one role to the desktop, the widget inherits it.
void SetColour(QWidget* widget, QPalette::ColorRole role, std::uint32_t bgr) {
    if (bgr == kDefaultColour) {
        return;
    }
    QPalette palette = widget->palette();
    palette.setColor(role, DesignColour(bgr));
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
    SetColour(label, QPalette::Window, design.background);
    SetColour(label, QPalette::WindowText, design.textColour);
    return label;
}

// The colours that the design leaves to the desktop are the classic light desktop's: white boxes
// with black text.
QWidget* CreateTextBox(const ControlDesign& design, QWidget* form) {
    auto* box = new BoxLineEdit(form);
    box->setAlignment(HorizontalAlignment(design.align) | Qt::AlignVCenter);
    box->setFrame(design.border);
    box->setMaxLength(kBoxCharacterLimit);
    SetColour(box, QPalette::Base, ShownColour(design.background, kClassicWhite));
    SetColour(box, QPalette::Text, ShownColour(design.textColour, kClassicBlack));
    return box;
}

QWidget* CreateButton(const ControlDesign& design, QWidget* form) {
    auto* button = new QPushButton(ToQString(design.caption), form);
    SetColour(button, QPalette::Button, design.background);
    return button;
}

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
    control->setAccessibleName(QString::fromStdString(AccessibleName(design)));
    const Place& place = design.place;
    control->setGeometry(Pixels(place.left), Pixels(place.top), Pixels(place.width),
                         Pixels(place.height));
    control->setFont(DesignFont(design.font));
    control->setVisible(design.shownAtStart);
    return control;
}

// Keeps the control that the commands use under its role.
void Register(FrmLotoWidgets& controls, const ControlUse& use, QWidget* control) {
    const auto row = static_cast<std::size_t>(use.row);
    const auto box = [control] { return static_cast<QLineEdit*>(control); };
    const auto label = [control] { return static_cast<QLabel*>(control); };
    const auto button = [control] { return static_cast<QPushButton*>(control); };
    switch (use.role) {
        case Role::Caption:
            break;
        case Role::DrawCount:
            controls.drawCount = box();
            break;
        case Role::Favourite:
            controls.favourites.at(row - 1) = box();
            break;
        case Role::Estimate:
            controls.estimate = box();
            break;
        case Role::Result:
            controls.results[use.column].at(row) = box();
            break;
        case Role::Message:
            controls.messages[use.message] = label();
            break;
        case Role::Simuler:
            controls.simuler = button();
            break;
        case Role::Effacer:
            controls.effacer = button();
            break;
        case Role::Quitter:
            controls.quitter = button();
            break;
    }
}

}  // namespace

FrmLotoWidgets BuildControls(QWidget* form) {
    FrmLotoWidgets controls;
    std::vector<std::pair<int, QWidget*>> focusable;
    for (const ControlDesign& design : FrmLotoControls()) {
        QWidget* control = CreateControl(design, form);
        Register(controls, design.use, control);
        if (design.kind != ControlKind::Label) {
            focusable.emplace_back(design.tabIndex, control);
        }
    }
    // The Tab key visits text boxes and buttons in increasing tab index; labels take no focus.
    std::stable_sort(focusable.begin(), focusable.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < focusable.size(); ++i) {
        QWidget::setTabOrder(focusable[i - 1].second, focusable[i].second);
    }
    return controls;
}

QPalette FormPalette(const FormDesign& form, QPalette desktop) {
    desktop.setColor(QPalette::Window, DesignColour(form.background));
    desktop.setColor(QPalette::WindowText, DesignColour(kClassicBlack));
    desktop.setColor(QPalette::ButtonText, DesignColour(kClassicBlack));
    desktop.setColor(QPalette::Light, DesignColour(kClassicWhite));
    desktop.setColor(QPalette::Midlight, DesignColour(kClassicLightGrey));
    desktop.setColor(QPalette::Mid, DesignColour(kClassicDarkGrey));
    desktop.setColor(QPalette::Dark, DesignColour(kClassicDarkGrey));
    desktop.setColor(QPalette::Shadow, DesignColour(kClassicBlack));
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
