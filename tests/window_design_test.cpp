// The window against its design, control by control. The figures are typed here in pixels
// (twips / 15) and RGB, apart from the window's own description.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QSet>
#include <limits>
#include <vector>

#include "platform/system_run_time.h"
#include "window/application_icon.h"
#include "window/frm_loto.h"

namespace loto {
namespace {

struct Expected {
    const char* name;
    const char* kind;  // Qt class
    int x, y, w, h;
    int fontPixels;
    bool italic;
    QRgb text;        // 0: the style's default
    QRgb background;  // 0: the style's default
    Qt::Alignment align;
    bool shown;
};

constexpr QRgb kDefault = 0;
constexpr QRgb kWhite = 0xFFFFFF, kGreen = 0x008000, kBlue = 0x0000FF, kRed = 0xFF0000,
               kYellow = 0xFFFF00, kLightBlue = 0x8080FF, kPaleBlue = 0xC0C0FF,
               kLightGreen = 0xC0FFC0, kLightCyan = 0xC0FFFF, kLightYellow = 0xFFFF80;
constexpr auto L = Qt::AlignLeft, C = Qt::AlignHCenter, R = Qt::AlignRight;

// clang-format off
const Expected kExpected[] = {
    {"LblNbTirages", "QLabel", 8, 8, 345, 25, 16, false, kDefault, kLightGreen, C, true},
    {"LblNumFavoris", "QLabel", 8, 40, 241, 41, 21, false, kDefault, kYellow, C, true},
    {"LblHeureFin", "QLabel", 360, 48, 233, 33, 13, false, kDefault, kLightCyan, C, true},
    {"LblR\u00E9sultats", "QLabel", 8, 120, 585, 17, 16, false, kDefault, kLightYellow, L, true},
    {"LblBonsN\u00B0", "QLabel", 8, 144, 81, 25, 13, false, kDefault, kLightGreen, C, true},
    {"LblNbFoisSortis", "QLabel", 96, 144, 177, 25, 19, false, kDefault, kLightGreen, C, true},
    {"LblTheorique", "QLabel", 288, 144, 185, 25, 19, false, kDefault, kLightGreen, C, true},
    {"LblEcart", "QLabel", 488, 144, 105, 25, 19, false, kDefault, kLightGreen, C, true},
    {"LblAucunN\u00B0", "QLabel", 8, 176, 81, 25, 13, false, kDefault, kLightCyan, C, true},
    {"LblUnN\u00B0", "QLabel", 8, 208, 81, 17, 13, false, kDefault, kLightCyan, C, true},
    {"LblDeuxN\u00B0", "QLabel", 8, 232, 81, 17, 13, false, kDefault, kLightCyan, C, true},
    {"LblTroisN\u00B0", "QLabel", 8, 272, 81, 17, 13, false, kDefault, kLightCyan, C, true},
    {"LblQuatreN\u00B0", "QLabel", 8, 296, 81, 17, 13, false, kDefault, kLightCyan, C, true},
    {"LblCinqN\u00B0", "QLabel", 8, 320, 81, 17, 13, false, kDefault, kLightCyan, C, true},
    {"LblSixN\u00B0", "QLabel", 8, 344, 81, 25, 13, false, kDefault, kLightCyan, C, true},
    {"LblValidGrille", "QLabel", 112, 384, 353, 49, 19, false, kRed, kWhite, C, false},
    {"LblTest", "QLabel", 112, 384, 353, 49, 16, true, kDefault, kYellow, C, false},
    {"LblPatientez", "QLabel", 112, 384, 353, 49, 16, true, kDefault, kLightBlue, C, false},
    {"TxtNbTirages", "QLineEdit", 360, 8, 233, 35, 27, false, kBlue, kWhite, R, true},
    {"Txt1erN\u00B0", "QLineEdit", 8, 72, 41, 40, 24, false, kGreen, kWhite, C, true},
    {"Txt2emeN\u00B0", "QLineEdit", 48, 72, 41, 40, 24, false, kGreen, kWhite, C, true},
    {"Txt3emeN\u00B0", "QLineEdit", 88, 72, 41, 40, 24, false, kGreen, kWhite, C, true},
    {"Txt4emeN\u00B0", "QLineEdit", 128, 72, 41, 40, 24, false, kGreen, kWhite, C, true},
    {"Txt5emeN\u00B0", "QLineEdit", 168, 72, 41, 40, 24, false, kGreen, kWhite, C, true},
    {"Txt6emeN\u00B0", "QLineEdit", 208, 72, 41, 40, 24, false, kGreen, kWhite, C, true},
    {"CmdSimuler", "QPushButton", 256, 48, 97, 57, 16, false, kDefault, kPaleBlue, C, true},
    {"CmdEffacer", "QPushButton", 8, 384, 81, 49, 15, false, kDefault, kPaleBlue, C, true},
    {"CmdQuitter", "QPushButton", 488, 384, 105, 49, 16, false, kDefault, kPaleBlue, C, true},
    {"TxtDateFin", "QLineEdit", 360, 88, 233, 25, 21, false, kDefault, kDefault, C, true},
};
// clang-format on

// Result rows: top and height of the Stat, Theo and Ecart boxes.
struct RowBoxes {
    int top;
    int statHeight, theoHeight, ecartHeight;
};
const RowBoxes kRows[] = {{176, 27, 25, 25}, {200, 24, 25, 24}, {224, 24, 25, 25},
                          {272, 24, 25, 25}, {296, 24, 25, 25}, {320, 24, 25, 25},
                          {344, 24, 25, 25}};

class WindowDesignTest : public ::testing::Test {
protected:
    SystemRunTime runTime{TextLocale("fr_FR")};
    FrmLoto form{runTime};

    QWidget* Control(const QString& name) { return form.findChild<QWidget*>(name); }
};

void ExpectControl(QWidget* control, const Expected& e) {
    ASSERT_NE(control, nullptr) << e.name;
    EXPECT_STREQ(control->metaObject()->className(), e.kind) << e.name;
    EXPECT_EQ(control->geometry(), QRect(e.x, e.y, e.w, e.h)) << e.name;
    EXPECT_EQ(control->font().pixelSize(), e.fontPixels) << e.name;
    EXPECT_TRUE(control->font().bold()) << e.name;
    EXPECT_EQ(control->font().italic(), e.italic) << e.name;
    Qt::Alignment align;
    if (const auto* label = qobject_cast<QLabel*>(control)) {
        align = label->alignment();
        EXPECT_TRUE(align & Qt::AlignTop) << e.name;
        EXPECT_TRUE(label->wordWrap()) << e.name;
    } else if (const auto* box = qobject_cast<QLineEdit*>(control)) {
        align = box->alignment();
        EXPECT_TRUE(box->text().isEmpty()) << e.name;
        EXPECT_EQ(box->maxLength(), std::numeric_limits<int>::max()) << e.name;
    } else {
        align = Qt::AlignHCenter;
    }
    EXPECT_EQ(align & Qt::AlignHorizontal_Mask, e.align) << e.name;
}

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

// The colours as drawn: the background in a corner clear of border and caption, and the text
// colour itself among the caption's pixels. Text boxes are given a text to draw. Where the design
// leaves a colour to the desktop, a text box takes the desktop's; labels and buttons keep black
// text on the backgrounds that the design fixes.
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
    const int inset = box != nullptr || qobject_cast<QPushButton*>(control) ? 3 : 0;
    const QRect inside = image.rect().adjusted(inset, inset, -inset, -inset);
    const QRgb background =
        e.background != kDefault ? e.background : desktop.color(QPalette::Base).rgb() & 0xFFFFFF;
    const QRgb text = e.text != kDefault ? e.text
                      : box != nullptr   ? desktop.color(QPalette::Text).rgb() & 0xFFFFFF
                                         : 0x000000;
    EXPECT_EQ(Rgb(image, inside.left(), inside.top()), background) << e.name;
    EXPECT_EQ(Rgb(image, inside.right(), inside.bottom()), background) << e.name;
    EXPECT_TRUE(Holds(image, inside, text)) << e.name << " has no pixel of its text colour";
}

// Runs `check` on a window built under a dark desktop palette, then restores the desktop's.
template <typename Check>
void UnderDarkDesktop(Check check) {
    const QPalette light = QApplication::palette();
    QPalette dark(QColor(0x30, 0x30, 0x30), QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::ButtonText, Qt::white);
    dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::Base, QColor(0x18, 0x18, 0x18));
    QApplication::setPalette(dark);
    SystemRunTime runTime{TextLocale("fr_FR")};
    FrmLoto form{runTime};
    check(form);
    QApplication::setPalette(light);
}

TEST_F(WindowDesignTest, EveryControlHasItsPlaceAndLooks) {
    for (const Expected& e : kExpected) {
        ExpectControl(Control(QString::fromUtf8(e.name)), e);
        EXPECT_EQ(Control(QString::fromUtf8(e.name))->isVisibleTo(&form), e.shown) << e.name;
    }
    for (int k = 0; k < 7; ++k) {
        const RowBoxes& row = kRows[k];
        const auto name = [k](const char* column) {
            return QStringLiteral("Txt%1%2N\u00B0").arg(QLatin1String(column)).arg(k);
        };
        ExpectControl(Control(name("Stat")), {"Stat", "QLineEdit", 96, row.top, 177, row.statHeight,
                                              16, false, kDefault, kDefault, R, true});
        ExpectControl(Control(name("Theo")),
                      {"Theo", "QLineEdit", 288, row.top, 185, row.theoHeight, 16, false, kDefault,
                       kDefault, R, true});
        ExpectControl(Control(name("Ecart")),
                      {"Ecart", "QLineEdit", 488, row.top, 105, row.ecartHeight, 16, false,
                       kDefault, kDefault, R, true});
    }
    EXPECT_EQ(form.findChildren<QWidget*>().size(), 50);
}

TEST_F(WindowDesignTest, DrawnColoursOnLightAndDarkDesktops) {
    const auto check = [](FrmLoto& window) {
        for (const Expected& e : kExpected) {
            ExpectDrawnColours(window.findChild<QWidget*>(QString::fromUtf8(e.name)), e);
        }
        for (const QLineEdit* box : window.controls().results[0]) {
            ExpectDrawnColours(const_cast<QLineEdit*>(box), {"Stat", "QLineEdit", 0, 0, 0, 0, 0,
                                                             false, kDefault, kDefault, R, true});
        }
    };
    check(form);
    UnderDarkDesktop(check);
}

// Text boxes sit in the classic two-pixel sunken bevel: dark grey and black on the top and left,
// light grey and white on the bottom and right. TxtNbTirages and TxtDateFin have none.
TEST_F(WindowDesignTest, SunkenBevelsOfTextBoxes) {
    const auto bevels = [](QLineEdit* box) {
        const QImage image = box->grab().toImage();
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
        EXPECT_EQ(bevels(box), sunken) << box->objectName().toStdString();
    }
    for (const auto& column : controls.results) {
        for (QLineEdit* box : column) {
            EXPECT_EQ(bevels(box), sunken) << box->objectName().toStdString();
        }
    }
    EXPECT_EQ(bevels(controls.drawCount), std::vector<QRgb>(8, 0xFFFFFF));
}

// Every button face is the design's pale blue, flat, between the bevel and the caption.
TEST_F(WindowDesignTest, ButtonFacesAreFlatPaleBlue) {
    for (QPushButton* button :
         {form.controls().simuler, form.controls().effacer, form.controls().quitter}) {
        const QImage image = button->grab().toImage();
        for (const QPoint at : {QPoint(3, 3), QPoint(image.width() - 4, image.height() / 2),
                                QPoint(image.width() / 2, image.height() - 4)}) {
            EXPECT_EQ(Rgb(image, at.x(), at.y()), kPaleBlue)
                << button->objectName().toStdString() << " at " << at.x() << "," << at.y();
        }
    }
}

// Screen readers name every control in French, each text box distinctly.
TEST_F(WindowDesignTest, AccessibleNames) {
    QMap<QString, QString> nameOf;
    QSet<QString> boxNames;
    for (QWidget* control : form.findChildren<QWidget*>()) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
        ASSERT_NE(accessible, nullptr);
        const QString name = accessible->text(QAccessible::Name);
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

TEST_F(WindowDesignTest, TheWindowItself) {
    EXPECT_EQ(form.windowTitle(), "Form1");
    EXPECT_EQ(form.objectName(), "FrmLoto");
    EXPECT_EQ(form.size(), QSize(607, 455));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());  // fixed size
    EXPECT_EQ(form.palette().color(QPalette::Window).rgb() & 0xFFFFFF, 0xC0C0C0u);
    EXPECT_EQ(form.font().pixelSize(), 13);
    EXPECT_TRUE(form.font().bold());
    for (const QPushButton* button : form.findChildren<QPushButton*>()) {
        EXPECT_FALSE(button->isDefault());
        EXPECT_FALSE(button->autoDefault());
    }
    const QList<QSize> sizes = ApplicationIcon().availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
    EXPECT_TRUE(sizes.contains(QSize(32, 32)));
}

// Arial is drawn with a face of the same metrics; Arial Black with a heavy, wide one.
TEST_F(WindowDesignTest, FontsResolveToInstalledFaces) {
    EXPECT_EQ(QFontInfo(Control("TxtNbTirages")->font()).family(), "Liberation Sans");
    EXPECT_EQ(QFontInfo(form.font()).family(), "Liberation Sans");
    EXPECT_EQ(QFontInfo(Control("LblTest")->font()).family(), "DejaVu Sans");
}

// Every space of a caption counts.
TEST_F(WindowDesignTest, CaptionsKeepEverySpace) {
    const std::pair<const char*, QString> captions[] = {
        {"LblNbTirages", "  Nombre de tirages de 6 num\u00E9ros \u00E0 simuler :"},
        {"LblNumFavoris", "Saisie de 6 num\u00E9ros"},
        {"LblHeureFin",
         QString(3, ' ') + "DATE ET HEURE PREVUES POUR" + QString(4, ' ') + "LA FIN DES TIRAGES"},
        {"LblR\u00E9sultats", QString(59, ' ') + "RESULTATS"},
        {"LblBonsN\u00B0", "Nb bons N\u00B0"},
        {"LblNbFoisSortis", "Nb de fois Sortis"},
        {"LblTheorique", "Nb Th\u00E9orique"},
        {"LblEcart", "Ecart en %"},
        {"LblAucunN\u00B0", "Aucun" + QString(5, ' ') + "N\u00B0"},
        {"LblUnN\u00B0", "Un" + QString(11, ' ') + "N\u00B0"},
        {"LblDeuxN\u00B0", "Deux" + QString(7, ' ') + "N\u00B0"},
        {"LblTroisN\u00B0", "Trois" + QString(7, ' ') + "N\u00B0"},
        {"LblQuatreN\u00B0", "Quatre" + QString(4, ' ') + "N\u00B0"},
        {"LblCinqN\u00B0", "Cinq" + QString(7, ' ') + "N\u00B0"},
        {"LblSixN\u00B0", "Six" + QString(9, ' ') + "N\u00B0"},
        {"LblValidGrille", QString(6, ' ') + "GRILLE NON VALIDE : N\u00B0 1 \u00E0 49" +
                               QString(9, ' ') + "ET TOUS DIFFERENTS  S.V.P"},
        {"LblTest", "P A T I E N T E Z  S.V.P  PENDANT LE TEST DE RAPIDITE DU  PC"},
        {"LblPatientez", "P A T I E N T E Z  S.V.P TIRAGES EN COURS"},
    };
    for (const auto& [name, caption] : captions) {
        const auto* label = form.findChild<QLabel*>(QString::fromUtf8(name));
        ASSERT_NE(label, nullptr) << name;
        EXPECT_EQ(label->text(), caption) << name;
    }
    EXPECT_EQ(form.findChild<QLabel*>("LblR\u00E9sultats")->text().size(), 68);
    EXPECT_EQ(form.findChild<QLabel*>("LblValidGrille")->text().size(), 69);
    EXPECT_EQ(form.findChild<QLabel*>("LblTest")->text().size(), 60);
    EXPECT_EQ(form.findChild<QLabel*>("LblPatientez")->text().size(), 41);
    for (const auto& [name, caption] :
         {std::pair{"CmdSimuler", "SIMULER"}, std::pair{"CmdEffacer", "EFFACER"},
          std::pair{"CmdQuitter", "QUITTER"}}) {
        EXPECT_EQ(form.findChild<QPushButton*>(name)->text(), caption);
    }
}

TEST_F(WindowDesignTest, TabOrder) {
    QStringList expected = {"TxtNbTirages",   "Txt1erN\u00B0",  "Txt2emeN\u00B0", "Txt3emeN\u00B0",
                            "Txt4emeN\u00B0", "Txt5emeN\u00B0", "Txt6emeN\u00B0", "CmdSimuler",
                            "CmdEffacer",     "CmdQuitter"};
    for (const char* column : {"Stat", "Theo", "Ecart"}) {
        for (int k = 0; k < 7; ++k) {
            expected << QStringLiteral("Txt%1%2N\u00B0").arg(QLatin1String(column)).arg(k);
        }
    }
    expected << "TxtDateFin"
             << "TxtNbTirages";
    QStringList visited;
    QWidget* at = Control("TxtNbTirages");
    for (int i = 0; i < expected.size(); ++i) {
        visited << at->objectName();
        at = at->nextInFocusChain();
        while (at->focusPolicy() == Qt::NoFocus || at == &form) {
            at = at->nextInFocusChain();
        }
    }
    EXPECT_EQ(visited, expected);
    for (const QLabel* label : form.findChildren<QLabel*>()) {
        EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
    }
}

// Later siblings are drawn over earlier ones.
TEST_F(WindowDesignTest, StackingOrder) {
    const QObjectList& children = form.children();
    const auto depth = [&](const QString& name) {
        return children.indexOf(form.findChild<QObject*>(name));
    };
    QStringList frontToBack = {"TxtDateFin"};
    for (const char* column : {"Ecart", "Theo", "Stat"}) {
        for (int k = 6; k >= 0; --k) {
            frontToBack << QStringLiteral("Txt%1%2N\u00B0").arg(QLatin1String(column)).arg(k);
        }
    }
    frontToBack << "CmdQuitter"
                << "CmdEffacer"
                << "CmdSimuler"
                << "Txt1erN\u00B0"
                << "Txt6emeN\u00B0"
                << "Txt5emeN\u00B0"
                << "Txt4emeN\u00B0"
                << "Txt3emeN\u00B0"
                << "Txt2emeN\u00B0"
                << "TxtNbTirages";
    for (qsizetype i = 1; i < frontToBack.size(); ++i) {
        EXPECT_GT(depth(frontToBack[i - 1]), depth(frontToBack[i])) << frontToBack[i].toStdString();
    }
    EXPECT_GT(depth("LblValidGrille"), depth("LblTest"));
    EXPECT_GT(depth("LblTest"), depth("LblPatientez"));
    for (const QLabel* label : form.findChildren<QLabel*>()) {
        EXPECT_LT(children.indexOf(label), depth("TxtNbTirages"))
            << label->objectName().toStdString();
    }
}

}  // namespace
}  // namespace loto
