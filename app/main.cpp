// Loto 6/49: creates the window, shows it and runs the event loop.
#include <QApplication>
#include <QTextStream>

#include "app/application.h"
#include "app/screenshot.h"
#include "platform/system_run_time.h"
#include "window/frm_loto.h"

int main(int argc, char** argv) {
    // Without a display only what needs none (--version, --help, --screenshot) can be done; the
    // offscreen platform lets Qt start and read the options all the same.
    const bool display = loto::DisplayAvailable(argc, argv);
    if (!display) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const bool styleChosen = loto::StyleChosen(argc, argv);
    loto::ExitClearlyIfQtCannotStart();
    QApplication app(argc, argv);  // takes Qt's own options out of argv
    loto::RestoreQtMessages();
    const loto::StartOptions options = loto::ReadStartOptions(QApplication::arguments());
    if (options.exitStatus) {
        return *options.exitStatus;
    }
    loto::SetUpApplication(styleChosen);
    if (!display && options.screenshotPath.isEmpty()) {
        QTextStream(stderr) << loto::NoDisplayMessage() << '\n';
        return 1;
    }
    if (!options.screenshotPath.isEmpty()) {
        if (loto::SaveScreenshot(options.screenshotPath)) {
            return 0;
        }
        QTextStream(stderr) << QStringLiteral("loto : impossible d'écrire l'image ")
                            << options.screenshotPath << '\n';
        return 1;
    }
    loto::SystemRunTime runTime(loto::TextLocale());
    loto::FrmLoto form(runTime);
    form.show();
    return app.exec();
}
