#include "app/screenshot.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImageReader>
#include <QImageWriter>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QStyleHints>
#include <cstring>

#include "platform/fixed_run_time.h"
#include "platform/quoted_text.h"
#include "platform/whole_file.h"
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
    // The text cursor is drawn in the active window only: the picture waits for it to be, which
    // a busy machine may delay.
    form.activateWindow();
    QElapsedTimer waited;
    waited.start();
    while (!form.isActiveWindow() && waited.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    form.Control<QLineEdit>(Is(Role::DrawCount))->setText(QStringLiteral("1000"));
    const char* numbers[] = {"7", "10", "14", "20", "30", "40"};
    for (int position = 1; position <= kFavouriteCount; ++position) {
        form.Control<QLineEdit>(FavouriteAt(position))
            ->setText(QString::fromUtf8(numbers[position - 1]));
    }
    form.Control<QPushButton>(Is(Role::Simuler))->click();
    return form.grab();
}

// The extension of a file name, in lower case: what follows the last period of its last part.
QByteArray Extension(const std::string& path) {
    const std::size_t name = path.rfind('/') + 1;  // 0 without a folder
    const std::size_t period = path.rfind('.');
    if (period == std::string::npos || period < name) {
        return {};
    }
    return QByteArray::fromStdString(path.substr(period + 1)).toLower();
}

}  // namespace

std::optional<QString> SaveScreenshot(const std::string& path) {
    const QString quoted = QString::fromStdString(Quoted(path));
    const QByteArray format = Extension(path);
    const QList<QByteArray> formats = QImageWriter::supportedImageFormats();
    if (!formats.contains(format)) {
        return QStringLiteral("loto : format d'image inconnu pour %1 ; extensions possibles : %2")
            .arg(quoted, QString::fromLatin1(formats.join(", ")));
    }
    // Drawn in memory first: the file's own errors are then those of one plain write.
    const QPixmap window = SampleRun();
    QByteArray image;
    QBuffer buffer(&image);
    buffer.open(QIODevice::ReadWrite);
    window.save(&buffer, format.constData());
    buffer.seek(0);
    // Icons and cursors hold at most 256 pixels a side: the picture would be shrunk.
    if (QImageReader(&buffer, format).size() != window.size()) {
        return QStringLiteral(
                   "loto : le format %1 ne peut pas garder la taille de la fen\u00EAtre "
                   "(%2 x %3) : %4")
            .arg(QString::fromLatin1(format))
            .arg(window.width())
            .arg(window.height())
            .arg(quoted);
    }
    const int error =
        WriteWholeFile(path, {image.constData(), static_cast<std::size_t>(image.size())});
    if (error != 0) {
        return QStringLiteral("loto : impossible d'\u00E9crire l'image %1 : %2")
            .arg(quoted, QString::fromLocal8Bit(std::strerror(error)));
    }
    return std::nullopt;
}

}  // namespace loto
