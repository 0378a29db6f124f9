#include "platform/event_loop_pump.h"

#include <QCoreApplication>

namespace loto {

bool EventLoopPump::ProcessEvents(const DrawProgress&) {
    if (sinceDispatch_.elapsed() >= kDispatchEveryMs) {
        sinceDispatch_.restart();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    return true;
}

}  // namespace loto
