#pragma once

#include <QtGlobal>
#include <string>

namespace loto {

// Watches Qt's messages while QApplication is constructed. Qt aborts with a fatal message when no
// platform plugin starts; the guard ends the program instead with one French line that says why:
// no display when the display could not be reached, otherwise the plugin that could not load.
// Qt's other messages pass, their control bytes escaped. Only one guard lives at a time.
class QtStartGuard {
public:
    QtStartGuard();
    ~QtStartGuard();
    QtStartGuard(const QtStartGuard&) = delete;
    QtStartGuard& operator=(const QtStartGuard&) = delete;

private:
    static void Handle(QtMsgType type, const QMessageLogContext& context, const QString& message);

    // Qt's handler takes no context pointer: what the guard learnt lives with the guard's class.
    static inline QtMessageHandler previous_ = nullptr;
    static inline bool displayUnreachable_ = false;
    static inline std::string plugin_;
};

}  // namespace loto
