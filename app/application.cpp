#include "app/application.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTextStream>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "loto_version.h"
#include "window/application_icon.h"
#include "window/looks.h"

namespace loto {
namespace {

QString Version() {
    return QString::fromUtf8(kVersion.data(), static_cast<qsizetype>(kVersion.size()));
}

// Qt's options come with one dash or two, and with their value either apart or after '='.
bool NamesOption(int argc, char** argv, const char* name) {
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        arg += arg[0] == '-' && arg[1] == '-' ? 2 : (arg[0] == '-' ? 1 : 0);
        const std::size_t length = std::strlen(name);
        if (argv[i][0] == '-' && std::strncmp(arg, name, length) == 0 &&
            (arg[length] == '\0' || arg[length] == '=')) {
            return true;
        }
    }
    return false;
}

QtMessageHandler previousHandler = nullptr;

void ExitOnFatal(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtFatalMsg) {
        previousHandler(type, context, message);
        return;
    }
    std::fprintf(stderr, "%s\n", NoDisplayMessage().toLocal8Bit().constData());
    std::_Exit(1);
}

}  // namespace

bool DisplayAvailable(int argc, char** argv) {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || NamesOption(argc, argv, "platform");
}

bool StyleChosen(int argc, char** argv) {
    return NamesOption(argc, argv, "style");
}

StartOptions ReadStartOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Simulation du Loto 6/49 : six num\u00E9ros tir\u00E9s sur 49.\n"
                       "Accepte aussi les options standard de Qt (-platform, -display, -style"
                       "\u2026). loto-sim fait les m\u00EAmes tirages sans fen\u00EAtre."));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Affiche cette aide."));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Affiche la version."));
    const QCommandLineOption screenshot(
        QStringLiteral("screenshot"),
        QStringLiteral("Enregistre la fen\u00EAtre apr\u00E8s 1000 tirages sur 7 10 14 20 30 40."),
        QStringLiteral("fichier.png"));
    parser.addOptions({help, version, screenshot});
    QTextStream err(stderr);
    if (!parser.parse(arguments)) {
        err << "loto: " << parser.errorText() << '\n';
        return {2, {}};
    }
    if (!parser.positionalArguments().isEmpty()) {
        err << "loto: argument inconnu : " << parser.positionalArguments().constFirst() << '\n';
        return {2, {}};
    }
    QTextStream out(stdout);
    if (parser.isSet(version)) {
        out << Version() << '\n';
        return {0, {}};
    }
    if (parser.isSet(help)) {
        out << parser.helpText();
        return {0, {}};
    }
    return {std::nullopt, parser.value(screenshot)};
}

// The title bar reads the design's title alone: the program's name goes to the desktop entry
// and the window class, not to a display name that Qt would append to the title.
void SetUpApplication(bool keepChosenStyle) {
    QApplication::setApplicationName(QStringLiteral("loto"));
    QApplication::setApplicationVersion(Version());
    QGuiApplication::setDesktopFileName(QStringLiteral("org.loto649.Loto"));
    if (!keepChosenStyle) {
        UseClassicStyle();
    }
    QApplication::setWindowIcon(ApplicationIcon());
    InstallFontSubstitutes();
}

QString NoDisplayMessage() {
    return QStringLiteral(
        "loto : aucun écran où montrer la fenêtre (DISPLAY et WAYLAND_DISPLAY n'en "
        "désignent aucun d'accessible) ; lancez-le depuis une session de bureau, ou sous un "
        "écran virtuel : xvfb-run loto");
}

void ExitClearlyIfQtCannotStart() {
    previousHandler = qInstallMessageHandler(ExitOnFatal);
}

void RestoreQtMessages() {
    qInstallMessageHandler(previousHandler);
}

}  // namespace loto
