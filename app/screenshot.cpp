#include "app/screenshot.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QStyleHints>

#include "platform/fixed_run_time.h"
#include "window/frm_loto.h"

namespace loto {

bool SaveScreenshot(const QString& path) {
    // A text cursor that blinks would be drawn or not depending on how long the run took.
    QGuiApplication::styleHints()->setCursorFlashTime(0);
    // A clock that stands still: the speed test takes no time, so the estimate is the date itself.
    using namespace std::chrono;
    FixedRunTime clock(local_days{year{2026} / 12 / 7} + hours{12}, 0);
    FrmLoto form(clock);
    form.show();
    const FrmLotoWidgets& controls = form.controls();
    controls.drawCount->setText(QStringLiteral("1000"));
    const char* numbers[] = {"7", "10", "14", "20", "30", "40"};
    for (std::size_t i = 0; i < controls.favourites.size(); ++i) {
        controls.favourites[i]->setText(QString::fromUtf8(numbers[i]));
    }
    controls.simuler->click();
    return form.grab().save(path);
}

}  // namespace loto
