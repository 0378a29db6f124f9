#include "app/application.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QStyleFactory>
#include <QTextStream>

#include "loto_version.h"
#include "window/application_icon.h"
#include "window/controls.h"
#include "window/frm_loto.h"

namespace loto {

StartOptions ReadStartOptions(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Simulation du Loto 6/49 : six num\u00E9ros tir\u00E9s sur 49."));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Affiche cette aide."));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Affiche la version."));
    const QCommandLineOption screenshot(
        QStringLiteral("screenshot"),
        QStringLiteral("Enregistre la fen\u00EAtre apr\u00E8s 1000 tirages sur 7 10 14 20 30 40."),
        QStringLiteral("fichier.png"));
    parser.addOptions({help, version, screenshot});
    QTextStream out(stdout);
    if (!parser.parse(arguments)) {
        QTextStream(stderr) << parser.errorText() << '\n';
        return {2, {}};
    }
    if (parser.isSet(version)) {
        out << QString::fromUtf8(kVersion.data(), static_cast<qsizetype>(kVersion.size())) << '\n';
        return {0, {}};
    }
    if (parser.isSet(help)) {
        // Without an application object yet, the parser does not know the program's name.
        out << parser.helpText().replace(QStringLiteral("<executable_name>"),
                                         QStringLiteral("loto"));
        return {0, {}};
    }
    return {std::nullopt, parser.value(screenshot)};
}

void SetUpApplication() {
    QApplication::setApplicationName(QStringLiteral("loto"));
    QApplication::setApplicationDisplayName(QStringLiteral("Loto 6/49"));
    QApplication::setApplicationVersion(
        QString::fromUtf8(kVersion.data(), static_cast<qsizetype>(kVersion.size())));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setWindowIcon(ApplicationIcon());
    InstallFontSubstitutes();
}

bool SaveScreenshot(FrmLoto& form, const QString& path) {
    const auto box = [&form](const char* name) {
        return form.findChild<QLineEdit*>(QString::fromUtf8(name));
    };
    box("TxtNbTirages")->setText(QStringLiteral("1000"));
    const char* favourites[] = {"Txt1erN\u00B0",  "Txt2emeN\u00B0", "Txt3emeN\u00B0",
                                "Txt4emeN\u00B0", "Txt5emeN\u00B0", "Txt6emeN\u00B0"};
    const char* numbers[] = {"7", "10", "14", "20", "30", "40"};
    for (int i = 0; i < 6; ++i) {
        box(favourites[i])->setText(QString::fromUtf8(numbers[i]));
    }
    form.findChild<QPushButton*>(QStringLiteral("CmdSimuler"))->click();
    return form.grab().save(path);
}

}  // namespace loto
