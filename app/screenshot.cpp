#include "app/screenshot.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QStyleHints>

#include "platform/system_run_time.h"
#include "window/frm_loto.h"

namespace loto {
namespace {

// French forms, a fixed date, and a clock that stands still: the speed test takes no time, so
// the estimate is the fixed date itself.
class FixedClock final : public RunTime {
public:
    double MonotonicSeconds() override { return 0; }
    LocalDateTime Now() override {
        using namespace std::chrono;
        return local_days{year{2026} / 12 / 7} + hours{12};
    }
    std::string DateText(LocalDateTime date) const override { return french_.DateText(date); }
    std::string_view DecimalSeparator() const override { return french_.DecimalSeparator(); }

private:
    SystemRunTime french_{TextLocale("fr_FR")};
};

}  // namespace

bool SaveScreenshot(const QString& path) {
    // A text cursor that blinks would be drawn or not depending on how long the run took.
    QGuiApplication::styleHints()->setCursorFlashTime(0);
    FixedClock clock;
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
