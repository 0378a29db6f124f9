#include "window/destroyed_window_watch.h"

#include <xcb/xproto.h>

#include <QCoreApplication>
#include <QWidget>

namespace loto {

DestroyedWindowWatch::DestroyedWindowWatch(QWidget& window) : window_(window) {
    QCoreApplication::instance()->installNativeEventFilter(this);
}

bool DestroyedWindowWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    constexpr std::uint8_t kSentByAnotherClient = 0x80;
    if ((event->response_type & ~kSentByAnotherClient) == XCB_DESTROY_NOTIFY &&
        reinterpret_cast<const xcb_destroy_notify_event_t*>(event)->window ==
            window_.internalWinId()) {
        QMetaObject::invokeMethod(&window_, &QWidget::close, Qt::QueuedConnection);
    }
    return false;
}

}  // namespace loto
