#include "window/controls.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <cmath>
#include <vector>

#include "window/accessible_names.h"

namespace loto {
namespace {

constexpr std::uint32_t kClassicWhite = 0x00FFFFFF;
constexpr std::uint32_t kClassicLightGrey = 0x00C0C0C0;
constexpr std::uint32_t kClassicDarkGrey = 0x00808080;
constexpr std::uint32_t kClassicBlack = 0x00000000;

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

Qt::Alignment HorizontalAlignment(Align align) {
    switch (align) {
        case Align::Left:
            return Qt::AlignLeft;
        case Align::Centre:
            return Qt::AlignHCenter;
        case Align::Right:
            return Qt::AlignRight;
    }
    return Qt::AlignLeft;
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

// The colours that the design leaves to the desktop are those of the classic light desktop it
// was drawn on, white boxes with black text, whatever the desktop's theme: half of a dark theme
// would leave the window half dark.
QWidget* CreateTextBox(const ControlDesign& design, QWidget* form) {
    auto* box = new QLineEdit(form);
    box->setAlignment(HorizontalAlignment(design.align) | Qt::AlignVCenter);
    box->setFrame(design.border);
    box->setMaxLength(kBoxCharacterLimit);
    const auto classic = [](std::uint32_t bgr, std::uint32_t colour) {
        return bgr == kDefaultColour ? colour : bgr;
    };
    SetColour(box, QPalette::Base, classic(design.background, kClassicWhite));
    SetColour(box, QPalette::Text, classic(design.textColour, kClassicBlack));
    return box;
}

QWidget* CreateButton(const ControlDesign& design, QWidget* form) {
    auto* button = new QPushButton(ToQString(design.caption), form);
    button->setAutoDefault(false);
    SetColour(button, QPalette::Button, design.background);
    return button;
}

int Pixels(int twips) {
    return twips / kTwipsPerPixel;
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
    control->setGeometry(Pixels(design.left), Pixels(design.top), Pixels(design.width),
                         Pixels(design.height));
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
            controls.results.at(static_cast<std::size_t>(use.column)).at(row) = box();
            break;
        case Role::Message:
            controls.messages.at(static_cast<std::size_t>(use.message)) = label();
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
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>(bgr >> 8 & 0xFF),
                  static_cast<int>(bgr >> 16 & 0xFF));
}

QFont DesignFont(const FontDesign& font) {
    QFont qfont(ToQString(font.family));
    qfont.setPixelSize(static_cast<int>(std::lround(font.points * 96 / 72)));
    qfont.setBold(font.bold);
    qfont.setItalic(font.italic);
    return qfont;
}

}  // namespace loto
