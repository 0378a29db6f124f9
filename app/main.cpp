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
    // What needs no display (--version, --help, --screenshot) is done without one, even where the
    // environment names a display that is gone; without a display nothing else can be done, and
    // the offscreen platform lets Qt start and read the options all the same.
    if (!probe.displayWanted || !probe.windowWanted) {
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
    if (options.screenshot) {
        const std::optional<QString> failure =
            loto::SaveScreenshot(loto::ScreenshotPath(argc, argv).value_or(""));
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
