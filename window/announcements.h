#pragma once

#include <QObject>
#include <QPointer>
#include <array>

#include "core/enum_array.h"
#include "form/vocabulary.h"

class QLabel;
class QWidget;

namespace loto {

// What a screen reader hears of the window: notifications of no size, one for each message and
// one for the end of a run (Orca speaks a notification that appears and ignores a plain label
// that does). A message is heard once the event loop has its turn, and only if it still shows
// then: one shown and hidden again within a step of a command (the wait message before a refused
// grid) is never seen, so it is not heard either.
class Announcements final : public QObject {
public:
    // `messages`: the labels that show the messages, whose accessible names are heard.
    Announcements(QWidget& form, const EnumArray<Message, QLabel*>& messages);

    // Follows a message label that has just been shown or hidden.
    void MessageChanged(Message message);
    // Says that a run has written its results, or takes it back.
    void SetRunEnded(bool ended);

private:
    EnumArray<Message, QPointer<QLabel>> messages_;
    EnumArray<Message, QLabel*> heard_{};
    QLabel* runEnded_ = nullptr;
};

}  // namespace loto
