// The window against its design, beyond what the README's picture shows (app_test compares that
// picture pixel for pixel): a dark desktop, the hidden messages and screen readers.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QSet>
#include <algorithm>
#include <tuple>

#include "platform/system_run_time.h"
#include "window/frm_loto.h"

namespace loto {
namespace {

QRgb Rgb(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFF;
}

bool Holds(const QImage& image, QRgb colour) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);  // rows without padding
    const auto* pixels = reinterpret_cast<const QRgb*>(rgb.constBits());
    return std::any_of(pixels, pixels + rgb.width() * rgb.height(),
                       [&](QRgb pixel) { return (pixel & 0xFFFFFF) == colour; });
}

class WindowDesign : public ::testing::Test {
protected:
    SystemRunTime runTime{TextLocale("fr_FR")};
    FrmLoto form{runTime};
};

// On a dark desktop every control is drawn exactly as on a light one: the colours that the design
// leaves open are the classic light desktop's, white boxes with black text.
TEST_F(WindowDesign, DarkDesktop) {
    const auto drawn = [&] {
        FrmLoto fresh{runTime};
        for (QLineEdit* box : fresh.findChildren<QLineEdit*>()) {
            box->setText(QStringLiteral("88"));
        }
        QMap<QString, QImage> images;
        for (QWidget* control : fresh.findChildren<QWidget*>()) {
            images[control->objectName()] = control->grab().toImage();
        }
        return images;
    };
    const QPalette light = QApplication::palette();
    const QMap<QString, QImage> onLight = drawn();
    // White texts on dark buttons, boxes and window.
    const QColor grey(0x30, 0x30, 0x30);
    QApplication::setPalette(QPalette(Qt::white, grey, grey.lighter(), grey.darker(), grey,
                                      Qt::white, Qt::white, QColor(0x18, 0x18, 0x18),
                                      QColor(0x20, 0x20, 0x20)));
    const QMap<QString, QImage> onDark = drawn();
    QApplication::setPalette(light);

    ASSERT_EQ(onDark.size(), 51 + kEnumCount<Message> + 1);  // and the notifications of no size
    for (auto control = onDark.cbegin(); control != onDark.cend(); ++control) {
        EXPECT_EQ(*control, onLight[control.key()]) << control.key().toStdString();
    }
    const QImage result = onDark["TxtStat0N\u00B0"];
    EXPECT_EQ(Rgb(result, 3, 3), 0xFFFFFFu);
    EXPECT_TRUE(Holds(result, 0x000000));
}

// The messages share one place, each drawn in front of those shown before it:
// LblValidNbTirages over LblValidGrille over LblTest over LblPatientez.
TEST_F(WindowDesign, MessagesInFrontOfOneAnother) {
    // The message, its face, its text's colour and its caption.
    const std::tuple<Message, QRgb, QRgb, const char*> messages[] = {
        {Message::Patientez, 0x8080FF, 0x000000, "P A T I E N T E Z  S.V.P TIRAGES EN COURS"},
        {Message::Test, 0xFFFF00, 0x000000,
         "P A T I E N T E Z  S.V.P  PENDANT LE TEST DE RAPIDITE DU  PC"},
        {Message::ValidGrille, 0xFFFFFF, 0xFF0000,
         "      GRILLE NON VALIDE : N\u00B0 1 \u00E0 49         ET TOUS DIFFERENTS  S.V.P"},
        {Message::ValidNbTirages, 0xFFFFFF, 0xFF0000,
         "      NOMBRE DE TIRAGES ILLISIBLE :         HORS DES LIMITES DU PC"},
    };
    for (const auto& [message, background, text, caption] : messages) {
        QLabel* label = form.Control<QLabel>(Shows(message));
        EXPECT_FALSE(label->isVisibleTo(&form));
        form.model().SetShown(Shows(message), true);
        EXPECT_EQ(label->text(), QString::fromUtf8(caption));
        const QImage image = form.grab(QRect(112, 384, 353, 49)).toImage();
        EXPECT_EQ(Rgb(image, 1, 1), background) << label->objectName().toStdString();
        EXPECT_TRUE(Holds(image, text)) << label->objectName().toStdString();
    }
}

// Screen readers name every control in French, each text box distinctly.
TEST_F(WindowDesign, AccessibleNames) {
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
        {"LblR\u00E9sultats", "RESULTATS"},
        {"LblHeureFin", "DATE ET HEURE PREVUES POUR LA FIN DES TIRAGES"},
        {"Txt1erN\u00B0", "1er num\u00E9ro"},
        {"TxtStat3N\u00B0", "Nb de fois sortis, 3 bons num\u00E9ros"},
        {"TxtEcart0N\u00B0", "\u00C9cart en %, aucun bon num\u00E9ro"},
        {"TxtDateFin", "Date et heure pr\u00E9vues pour la fin des tirages"},
        {"LblTest", "Patientez s'il vous pla\u00EEt, test de rapidit\u00E9 du PC"},
    };
    for (const auto& [object, name] : names) {
        EXPECT_EQ(nameOf.value(QString::fromUtf8(object)), QString::fromUtf8(name)) << object;
    }
    EXPECT_EQ(form.windowTitle(), "Form1");
    EXPECT_EQ(form.objectName(), "FrmLoto");  // the name that automation tools find it by
}

}  // namespace
}  // namespace loto
