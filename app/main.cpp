// Loto 6/49: creates the window, shows it and runs the event loop.
#include <QApplication>

#include "app/application.h"
#include "platform/system_run_time.h"
#include "window/frm_loto.h"

int main(int argc, char** argv) {
    const loto::StartOptions options = loto::ReadStartOptions(argc, argv);
    if (options.exitStatus) {
        return *options.exitStatus;
    }
    QApplication app(argc, argv);
    loto::SetUpApplication();
    loto::SystemRunTime runTime(loto::TextLocale());
    loto::FrmLoto form(runTime);
    form.show();
    if (!options.screenshotPath.isEmpty()) {
        return loto::SaveScreenshot(form, options.screenshotPath) ? 0 : 1;
    }
    return app.exec();
}
