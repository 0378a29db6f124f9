// Loto 6/49: creates the window, shows it and runs the event loop.
#include <QApplication>
#include <QTextStream>
#include <csignal>
#include <optional>

#include "app/application.h"
#include "app/qt_start_guard.h"
#include "app/screenshot.h"
#include "app/start_probe.h"
#include "platform/system_run_time.h"
#include "window/frm_loto.h"

int main(int argc, char** argv) {
    // A file size limit is then an ordinary write error, reported, instead of a silent death.
    std::signal(SIGXFSZ, SIG_IGN);
    const loto::StartProbe probe = loto::ProbeStart(argc, argv);
    // Without a display only what needs none (--version, --help, --screenshot) can be done; the
    // offscreen platform lets Qt start and read the options all the same.
    if (!probe.displayWanted) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    std::optional<QApplication> app;
    {
        const loto::QtStartGuard guard;
        app.emplace(argc, argv);  // takes Qt's own options out of argv
    }
    const loto::StartOptions options = loto::ReadStartOptions(QApplication::arguments());
    if (options.exitStatus) {
        return *options.exitStatus;
    }
    loto::SetUpApplication(probe.style);
    QTextStream err(stderr);
    if (options.screenshotPath) {
        const std::optional<QString> failure = loto::SaveScreenshot(*options.screenshotPath);
        if (failure) {
            err << *failure << '\n';
        }
        return failure ? 1 : 0;
    }
    if (!probe.displayWanted) {
        err << loto::NoDisplayMessage() << '\n';
        return 1;
    }
    loto::SystemRunTime runTime(loto::TextLocale());
    loto::FrmLoto form(runTime);
    form.show();
    return QApplication::exec();
}
