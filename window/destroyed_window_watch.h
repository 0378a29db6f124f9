#pragma once

#include <QAbstractNativeEventFilter>

class QWidget;

namespace loto {

// Closes a window, as its close button would, when the display destroys its native window from
// outside (`xdotool windowclose`, a window manager that goes wrong): the program would otherwise
// run on with no window to show or to quit from.
class DestroyedWindowWatch final : public QAbstractNativeEventFilter {
public:
    explicit DestroyedWindowWatch(QWidget& window);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    QWidget& window_;
};

}  // namespace loto
