#include "app/application.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QStyleFactory>
#include <QTextStream>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "loto_version.h"
#include "platform/quoted_text.h"
#include "window/application_icon.h"
#include "window/looks.h"

namespace loto {
namespace {

QString Version() {
    return QString::fromUtf8(kVersion.data(), static_cast<qsizetype>(kVersion.size()));
}

QString QuotedArgument(const QString& text) {
    return QString::fromStdString(Quoted(text.toStdString()));
}

// Qt's options, with one dash or two, that a platform other than the one started leaves behind
// (-display under the offscreen platform): accepted and ignored, never refused.
void AcceptQtOptions(QCommandLineParser& parser) {
    for (const char* name :
         {"platform", "platformpluginpath", "platformtheme", "plugin", "qmljsdebugger",
          "qwindowgeometry", "qwindowicon", "qwindowtitle", "session", "display", "geometry",
          "title", "icon", "name", "style", "stylesheet", "dialogs", "fontengine"}) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("valeur"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

const QString kHelp = QStringLiteral(
    "Utilisation : loto [options]\n"
    "Simulation du Loto 6/49 : six num\u00E9ros tir\u00E9s sur 49.\n\n"
    "Options :\n"
    "  -h, --help                  Affiche cette aide.\n"
    "  --version                   Affiche la version.\n"
    "  --screenshot <fichier.png>  Enregistre la fen\u00EAtre apr\u00E8s 1000 tirages sur 7 10 "
    "14 20 30 40.\n\n"
    "Les options standard de Qt sont accept\u00E9es (-platform, -display, -style\u2026).\n"
    "loto-sim fait les m\u00EAmes tirages sans fen\u00EAtre.\n");

// The version or the help on standard output: one that cannot be written is a failure, said,
// not a success with nothing said.
StartOptions Said(const QString& text, const QString& what) {
    const QByteArray bytes = text.toUtf8();
    if (std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout) !=
            static_cast<std::size_t>(bytes.size()) ||
        std::fflush(stdout) != 0) {
        const int error = errno != 0 ? errno : EIO;
        QTextStream(stderr) << QStringLiteral("loto : impossible d'\u00E9crire ") << what
                            << QStringLiteral(" : ") << QString::fromLocal8Bit(std::strerror(error))
                            << '\n';
        return {1, {}};
    }
    return {0, {}};
}

}  // namespace

StartOptions ReadStartOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    const QCommandLineOption screenshot(QStringLiteral("screenshot"), QString(),
                                        QStringLiteral("fichier.png"));
    parser.addOptions({help, version, screenshot});
    AcceptQtOptions(parser);
    QTextStream err(stderr);
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (unknown.isEmpty()) {
            err << QStringLiteral("loto : il manque le nom du fichier apr\u00E8s --screenshot\n");
        } else {
            err << QStringLiteral("loto : option inconnue : ") << QuotedArgument(unknown.first())
                << '\n';
        }
        return {2, {}};
    }
    if (!parser.positionalArguments().isEmpty()) {
        err << QStringLiteral("loto : argument inconnu : ")
            << QuotedArgument(parser.positionalArguments().constFirst()) << '\n';
        return {2, {}};
    }
    if (parser.isSet(version)) {
        return Said(Version() + '\n', QStringLiteral("la version"));
    }
    if (parser.isSet(help)) {
        return Said(kHelp, QStringLiteral("l'aide"));
    }
    if (parser.isSet(screenshot)) {
        return {std::nullopt, true};
    }
    return {};
}

// The title bar reads the design's title alone: the program's name goes to the desktop entry
// and the window class, not to a display name that Qt would append to the title.
void SetUpApplication(const std::optional<std::string>& style) {
    QApplication::setApplicationName(QStringLiteral("loto"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.loto649.Loto"));
    const bool styleExists = style && QStyleFactory::keys().contains(QString::fromStdString(*style),
                                                                     Qt::CaseInsensitive);
    if (!styleExists) {
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

QString PlatformPluginMessage(const QString& quotedName) {
    return QStringLiteral(
               "loto : le module de plateforme de Qt %1 ne peut pas \u00EAtre "
               "charg\u00E9 (option -platform ou variable QT_QPA_PLATFORM)")
        .arg(quotedName);
}

}  // namespace loto
