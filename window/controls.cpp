#include "window/controls.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>
#include <limits>

namespace loto {
namespace {

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
    label->setMargin(0);
    label->setIndent(0);
    label->setAutoFillBackground(true);
    SetColour(label, QPalette::Window, design.background);
    SetColour(label, QPalette::WindowText, design.textColour);
    return label;
}

QWidget* CreateTextBox(const ControlDesign& design, QWidget* form) {
    auto* box = new QLineEdit(form);
    box->setAlignment(HorizontalAlignment(design.align) | Qt::AlignVCenter);
    box->setFrame(design.border);
    box->setMaxLength(std::numeric_limits<int>::max());  // no length limit
    SetColour(box, QPalette::Base, design.background);
    SetColour(box, QPalette::Text, design.textColour);
    return box;
}

QWidget* CreateButton(const ControlDesign& design, QWidget* form) {
    auto* button = new QPushButton(ToQString(design.caption), form);
    button->setAutoDefault(false);
    button->setDefault(false);
    SetColour(button, QPalette::Button, design.background);
    return button;
}

int Pixels(int twips) {
    return twips / kTwipsPerPixel;
}

}  // namespace

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

void InstallFontSubstitutes() {
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial Black"), QStringLiteral("DejaVu Sans"));
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
    control->setGeometry(Pixels(design.left), Pixels(design.top), Pixels(design.width),
                         Pixels(design.height));
    control->setFont(DesignFont(design.font));
    control->setVisible(design.shownAtStart);
    return control;
}

}  // namespace loto
