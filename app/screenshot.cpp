#include "app/screenshot.h"

#include <QBuffer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSaveFile>
#include <QStyleHints>

#include "platform/fixed_run_time.h"
#include "platform/quoted_text.h"
#include "window/frm_loto.h"

namespace loto {
namespace {

QPixmap SampleRun() {
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
    return form.grab();
}

}  // namespace

std::optional<QString> SaveScreenshot(const QString& path) {
    const QString quoted = QString::fromStdString(Quoted(path.toStdString()));
    const QByteArray format = QFileInfo(path).suffix().toLower().toLatin1();
    const QList<QByteArray> formats = QImageWriter::supportedImageFormats();
    if (!formats.contains(format)) {
        return QStringLiteral("loto : format d'image inconnu pour %1 ; extensions possibles : %2")
            .arg(quoted, QString::fromLatin1(formats.join(", ")));
    }
    // Drawn in memory first: the file's own errors are then those of one plain write.
    QByteArray image;
    QBuffer buffer(&image);
    buffer.open(QIODevice::WriteOnly);
    SampleRun().save(&buffer, format.constData());
    QSaveFile file(path);
    bool written = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    // A write cut short by a size limit says why only at the next one.
    for (qint64 done = 0, step = 0; written && done < image.size(); done += step) {
        step = file.write(image.constData() + done, image.size() - done);
        written = step > 0;
    }
    if (!written || !file.commit()) {
        return QStringLiteral("loto : impossible d'\u00E9crire l'image %1 : %2")
            .arg(quoted, file.errorString());
    }
    return std::nullopt;
}

}  // namespace loto
