// The window against its design, control by control: the figures typed here in pixels
// (twips / 15) and RGB, the captions with their runs of spaces, and what is drawn.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QSet>
#include <vector>

#include "platform/system_run_time.h"
#include "window/frm_loto.h"

namespace loto {
namespace {

constexpr QRgb kDefault = 0;  // the colour is left to the desktop
constexpr QRgb kWhite = 0xFFFFFF, kGreen = 0x008000, kBlue = 0x0000FF, kRed = 0xFF0000,
               kYellow = 0xFFFF00, kLightBlue = 0x8080FF, kPaleBlue = 0xC0C0FF,
               kLightGreen = 0xC0FFC0, kLightCyan = 0xC0FFFF, kLightYellow = 0xFFFF80;
constexpr auto L = Qt::AlignLeft, C = Qt::AlignHCenter, R = Qt::AlignRight;

QString S(int spaces) {
    return QString(spaces, ' ');
}

struct Expected {
    QString name;
    const char* kind;  // Qt class
    QRect rect;
    int fontPixels;
    bool italic;
    QRgb text, background;
    Qt::Alignment align;
    bool shown;
    QString caption;
};

// clang-format off
const std::vector<Expected> kControls = [] {
    std::vector<Expected> controls = {
        {"LblNbTirages", "QLabel", {8, 8, 345, 25}, 16, false, kDefault, kLightGreen, C, true, S(2) + "Nombre de tirages de 6 num\u00E9ros \u00E0 simuler :"},
        {"LblNumFavoris", "QLabel", {8, 40, 241, 41}, 21, false, kDefault, kYellow, C, true, "Saisie de 6 num\u00E9ros"},
        {"LblHeureFin", "QLabel", {360, 48, 233, 33}, 13, false, kDefault, kLightCyan, C, true, S(3) + "DATE ET HEURE PREVUES POUR" + S(4) + "LA FIN DES TIRAGES"},
        {"LblR\u00E9sultats", "QLabel", {8, 120, 585, 17}, 16, false, kDefault, kLightYellow, L, true, S(59) + "RESULTATS"},
        {"LblBonsN\u00B0", "QLabel", {8, 144, 81, 25}, 13, false, kDefault, kLightGreen, C, true, "Nb bons N\u00B0"},
        {"LblNbFoisSortis", "QLabel", {96, 144, 177, 25}, 19, false, kDefault, kLightGreen, C, true, "Nb de fois Sortis"},
        {"LblTheorique", "QLabel", {288, 144, 185, 25}, 19, false, kDefault, kLightGreen, C, true, "Nb Th\u00E9orique"},
        {"LblEcart", "QLabel", {488, 144, 105, 25}, 19, false, kDefault, kLightGreen, C, true, "Ecart en %"},
        {"LblAucunN\u00B0", "QLabel", {8, 176, 81, 25}, 13, false, kDefault, kLightCyan, C, true, "Aucun" + S(5) + "N\u00B0"},
        {"LblUnN\u00B0", "QLabel", {8, 208, 81, 17}, 13, false, kDefault, kLightCyan, C, true, "Un" + S(11) + "N\u00B0"},
        {"LblDeuxN\u00B0", "QLabel", {8, 232, 81, 17}, 13, false, kDefault, kLightCyan, C, true, "Deux" + S(7) + "N\u00B0"},
        {"LblTroisN\u00B0", "QLabel", {8, 272, 81, 17}, 13, false, kDefault, kLightCyan, C, true, "Trois" + S(7) + "N\u00B0"},
        {"LblQuatreN\u00B0", "QLabel", {8, 296, 81, 17}, 13, false, kDefault, kLightCyan, C, true, "Quatre" + S(4) + "N\u00B0"},
        {"LblCinqN\u00B0", "QLabel", {8, 320, 81, 17}, 13, false, kDefault, kLightCyan, C, true, "Cinq" + S(7) + "N\u00B0"},
        {"LblSixN\u00B0", "QLabel", {8, 344, 81, 25}, 13, false, kDefault, kLightCyan, C, true, "Six" + S(9) + "N\u00B0"},
        {"LblValidGrille", "QLabel", {112, 384, 353, 49}, 19, false, kRed, kWhite, C, false, S(6) + "GRILLE NON VALIDE : N\u00B0 1 \u00E0 49" + S(9) + "ET TOUS DIFFERENTS  S.V.P"},
        {"LblTest", "QLabel", {112, 384, 353, 49}, 16, true, kDefault, kYellow, C, false, "P A T I E N T E Z  S.V.P  PENDANT LE TEST DE RAPIDITE DU  PC"},
        {"LblPatientez", "QLabel", {112, 384, 353, 49}, 16, true, kDefault, kLightBlue, C, false, "P A T I E N T E Z  S.V.P TIRAGES EN COURS"},
        // A box whose text colour is fixed keeps white beneath it on any desktop.
        {"TxtNbTirages", "QLineEdit", {360, 8, 233, 35}, 27, false, kBlue, kWhite, R, true, ""},
        {"CmdSimuler", "QPushButton", {256, 48, 97, 57}, 16, false, kDefault, kPaleBlue, C, true, "SIMULER"},
        {"CmdEffacer", "QPushButton", {8, 384, 81, 49}, 15, false, kDefault, kPaleBlue, C, true, "EFFACER"},
        {"CmdQuitter", "QPushButton", {488, 384, 105, 49}, 16, false, kDefault, kPaleBlue, C, true, "QUITTER"},
        {"TxtDateFin", "QLineEdit", {360, 88, 233, 25}, 21, false, kDefault, kDefault, C, true, ""},
    };
    const char* ordinals[] = {"1er", "2eme", "3eme", "4eme", "5eme", "6eme"};
    for (int i = 0; i < 6; ++i) {
        controls.push_back({QStringLiteral("Txt%1N\u00B0").arg(ordinals[i]), "QLineEdit", {8 + 40 * i, 72, 41, 40}, 24, false, kGreen, kWhite, C, true, ""});
    }
    // Result rows: the top, then the heights of the Stat, Theo and Ecart boxes.
    const int rows[7][4] = {{176, 27, 25, 25}, {200, 24, 25, 24}, {224, 24, 25, 25}, {272, 24, 25, 25}, {296, 24, 25, 25}, {320, 24, 25, 25}, {344, 24, 25, 25}};
    const std::pair<const char*, QRect> columns[] = {{"Stat", {96, 0, 177, 0}}, {"Theo", {288, 0, 185, 0}}, {"Ecart", {488, 0, 105, 0}}};
    for (int k = 0; k < 7; ++k) {
        for (int c = 0; c < 3; ++c) {
            const QRect rect(columns[c].second.x(), rows[k][0], columns[c].second.width(), rows[k][c + 1]);
            controls.push_back({QStringLiteral("Txt%1%2N\u00B0").arg(columns[c].first).arg(k), "QLineEdit", rect, 16, false, kDefault, kDefault, R, true, ""});
        }
    }
    return controls;
}();
// clang-format on

QRgb Rgb(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFF;
}

bool Holds(const QImage& image, QRect area, QRgb colour) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (Rgb(image, x, y) == colour) {
                return true;
            }
        }
    }
    return false;
}

// The colours as drawn: the background in two corners clear of border and caption, and the text
// colour itself among the caption's pixels (text boxes are given a text to draw). Where the
// design leaves a colour to the desktop, a text box takes the desktop's; labels and buttons keep
// black text on the backgrounds that the design fixes.
void ExpectDrawnColours(QWidget* control, const Expected& e) {
    const QPalette desktop = QApplication::palette();
    auto* box = qobject_cast<QLineEdit*>(control);
    if (box != nullptr) {
        box->setText(QStringLiteral("88"));
    }
    const QImage image = control->grab().toImage();
    if (box != nullptr) {
        box->clear();
    }
    const int inset = qobject_cast<QLabel*>(control) != nullptr ? 0 : 3;
    const QRect inside = image.rect().adjusted(inset, inset, -inset, -inset);
    const QRgb background =
        e.background != kDefault ? e.background : desktop.color(QPalette::Base).rgb() & 0xFFFFFF;
    const QRgb text = e.text != kDefault ? e.text
                      : box != nullptr   ? desktop.color(QPalette::Text).rgb() & 0xFFFFFF
                                         : 0x000000;
    EXPECT_EQ(Rgb(image, inside.left(), inside.top()), background) << e.name.toStdString();
    EXPECT_EQ(Rgb(image, inside.right(), inside.bottom()), background) << e.name.toStdString();
    EXPECT_TRUE(Holds(image, inside, text)) << e.name.toStdString() << ": no pixel of its text";
}

void ExpectControl(FrmLoto& form, const Expected& e) {
    QWidget* control = form.findChild<QWidget*>(e.name);
    ASSERT_NE(control, nullptr) << e.name.toStdString();
    const std::string name = e.name.toStdString();
    EXPECT_STREQ(control->metaObject()->className(), e.kind) << name;
    EXPECT_EQ(control->geometry(), e.rect) << name;
    EXPECT_EQ(control->font().pixelSize(), e.fontPixels) << name;
    EXPECT_TRUE(control->font().bold()) << name;
    EXPECT_EQ(control->font().italic(), e.italic) << name;
    EXPECT_EQ(control->isVisibleTo(&form), e.shown) << name;
    if (const auto* label = qobject_cast<QLabel*>(control)) {
        EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask, e.align) << name;
        EXPECT_EQ(label->text(), e.caption) << name;
    } else if (const auto* box = qobject_cast<QLineEdit*>(control)) {
        EXPECT_EQ(box->alignment() & Qt::AlignHorizontal_Mask, e.align) << name;
    } else {
        EXPECT_EQ(qobject_cast<QPushButton*>(control)->text(), e.caption) << name;
    }
    ExpectDrawnColours(control, e);
}

// Every control as designed, on a light desktop and on a dark one, where every caption stays
// black on its pastel colour.
TEST(WindowDesign, EveryControlOnLightAndDarkDesktops) {
    const QPalette light = QApplication::palette();
    QPalette dark(QColor(0x30, 0x30, 0x30), QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::ButtonText, Qt::white);
    dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::Base, QColor(0x18, 0x18, 0x18));
    for (const QPalette& desktop : {light, dark}) {
        QApplication::setPalette(desktop);
        SystemRunTime runTime{TextLocale("fr_FR")};
        FrmLoto form{runTime};
        for (const Expected& e : kControls) {
            ExpectControl(form, e);
        }
        EXPECT_EQ(form.findChildren<QWidget*>().size(), 50);
        EXPECT_EQ(form.windowTitle(), "Form1");
        EXPECT_EQ(form.size(), QSize(607, 455));
        EXPECT_EQ(Rgb(form.grab().toImage(), 4, 4), 0xC0C0C0u);
    }
    QApplication::setPalette(light);
}

class WindowDesignTest : public ::testing::Test {
protected:
    SystemRunTime runTime{TextLocale("fr_FR")};
    FrmLoto form{runTime};
};

// Text boxes sit in the classic two-pixel sunken bevel: dark grey and black on the top and left,
// light grey and white on the bottom and right; TxtNbTirages and TxtDateFin have none. Button
// faces are the design's pale blue, flat, between the raised bevel and the caption.
TEST_F(WindowDesignTest, ClassicBevelsAndFlatFaces) {
    const auto edges = [](QWidget* control) {
        const QImage image = control->grab().toImage();
        const int w = image.width(), h = image.height();
        return std::vector<QRgb>{Rgb(image, 0, h / 2),     Rgb(image, 1, h / 2),
                                 Rgb(image, w / 2, 0),     Rgb(image, w / 2, 1),
                                 Rgb(image, w - 2, h / 2), Rgb(image, w - 1, h / 2),
                                 Rgb(image, w / 2, h - 2), Rgb(image, w / 2, h - 1)};
    };
    const std::vector<QRgb> sunken = {0x808080, 0x000000, 0x808080, 0x000000,
                                      0xC0C0C0, 0xFFFFFF, 0xC0C0C0, 0xFFFFFF};
    const FrmLotoWidgets& controls = form.controls();
    for (QLineEdit* box : controls.favourites) {
        EXPECT_EQ(edges(box), sunken) << box->objectName().toStdString();
    }
    for (const auto& column : controls.results) {
        for (QLineEdit* box : column) {
            EXPECT_EQ(edges(box), sunken) << box->objectName().toStdString();
        }
    }
    EXPECT_EQ(edges(controls.drawCount), std::vector<QRgb>(8, kWhite));
    for (QPushButton* button : {controls.simuler, controls.effacer, controls.quitter}) {
        const QImage image = button->grab().toImage();
        for (const QPoint at : {QPoint(3, 3), QPoint(image.width() - 4, image.height() / 2),
                                QPoint(image.width() / 2, image.height() - 4)}) {
            EXPECT_EQ(Rgb(image, at.x(), at.y()), kPaleBlue)
                << button->objectName().toStdString() << " at " << at.x() << "," << at.y();
        }
        EXPECT_FALSE(button->isDefault() || button->autoDefault());
    }
}

// Screen readers name every control in French, each text box distinctly.
TEST_F(WindowDesignTest, AccessibleNames) {
    QMap<QString, QString> nameOf;
    QSet<QString> boxNames;
    for (QWidget* control : form.findChildren<QWidget*>()) {
        const QString name =
            QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
        EXPECT_FALSE(name.isEmpty()) << control->objectName().toStdString();
        nameOf[control->objectName()] = name;
        if (qobject_cast<QLineEdit*>(control) != nullptr) {
            boxNames.insert(name);
        }
    }
    EXPECT_EQ(boxNames.size(), 29);
    const std::pair<const char*, const char*> names[] = {
        {"TxtNbTirages", "Nombre de tirages"},
        {"Txt1erN\u00B0", "1er num\u00E9ro"},
        {"Txt6emeN\u00B0", "6e num\u00E9ro"},
        {"TxtStat3N\u00B0", "Nb de fois sortis, 3 bons num\u00E9ros"},
        {"TxtEcart0N\u00B0", "\u00C9cart en %, aucun bon num\u00E9ro"},
        {"TxtTheo1N\u00B0", "Nb th\u00E9orique, 1 bon num\u00E9ro"},
        {"TxtDateFin", "Date et heure pr\u00E9vues pour la fin des tirages"},
        {"LblTest", "Patientez s'il vous pla\u00EEt, test de rapidit\u00E9 du PC"},
        {"LblAucunN\u00B0", "Aucun N\u00B0"},
        {"CmdSimuler", "Simuler"},
    };
    for (const auto& [object, name] : names) {
        EXPECT_EQ(nameOf.value(QString::fromUtf8(object)), QString::fromUtf8(name)) << object;
    }
}

// The Tab key visits the boxes and buttons in the design's order, and later siblings are drawn
// over earlier ones: labels behind everything, then the boxes and buttons in the design's order.
TEST_F(WindowDesignTest, TabAndStackingOrders) {
    const auto results = [](const char* column, bool down) {
        QStringList names;
        for (int k = 0; k < 7; ++k) {
            names << QStringLiteral("Txt%1%2N\u00B0").arg(column).arg(down ? k : 6 - k);
        }
        return names;
    };
    const QStringList tab =
        QStringList{"TxtNbTirages",   "Txt1erN\u00B0",  "Txt2emeN\u00B0", "Txt3emeN\u00B0",
                    "Txt4emeN\u00B0", "Txt5emeN\u00B0", "Txt6emeN\u00B0", "CmdSimuler",
                    "CmdEffacer",     "CmdQuitter"} +
        results("Stat", true) + results("Theo", true) + results("Ecart", true) +
        QStringList{"TxtDateFin", "TxtNbTirages"};
    QStringList visited;
    QWidget* at = form.controls().drawCount;
    for (qsizetype i = 0; i < tab.size(); ++i, at = at->nextInFocusChain()) {
        while (at->focusPolicy() == Qt::NoFocus || at == &form) {
            at = at->nextInFocusChain();
        }
        visited << at->objectName();
    }
    EXPECT_EQ(visited, tab);

    const QStringList frontToBack =
        QStringList{"TxtDateFin"} + results("Ecart", false) + results("Theo", false) +
        results("Stat", false) +
        QStringList{"CmdQuitter",     "CmdEffacer",     "CmdSimuler",     "Txt1erN\u00B0",
                    "Txt6emeN\u00B0", "Txt5emeN\u00B0", "Txt4emeN\u00B0", "Txt3emeN\u00B0",
                    "Txt2emeN\u00B0", "TxtNbTirages",   "LblValidGrille", "LblTest",
                    "LblPatientez"};
    QStringList drawn;  // front to back
    bool labelsBegun = false;
    for (auto child = form.children().crbegin(); child != form.children().crend(); ++child) {
        const bool label = qobject_cast<QLabel*>(*child) != nullptr;
        EXPECT_TRUE(label || !labelsBegun) << "a label in front of a box or button";
        labelsBegun = labelsBegun || label;
        if (frontToBack.contains((*child)->objectName())) {
            drawn << (*child)->objectName();
        }
    }
    EXPECT_EQ(drawn, frontToBack);
}

}  // namespace
}  // namespace loto
