#include "window/announcements.h"

#include <QLabel>
#include <QTimer>

#include "form/accessible_names.h"
#include "window/notification_accessible.h"
#include "window/qt_text.h"

namespace loto {
namespace {

QLabel* Notification(QWidget& form, const QString& id, const QString& name) {
    auto* label = new QLabel(&form);
    label->setObjectName(id);
    label->setAccessibleName(name);
    label->setGeometry(0, 0, 0, 0);
    label->hide();
    AnnounceAsNotification(*label);
    return label;
}

}  // namespace

Announcements::Announcements(QWidget& form, const EnumArray<Message, QLabel*>& messages)
    : QObject(&form) {
    for (const Message message : kMessages) {
        messages_[message] = messages[message];
        heard_[message] =
            Notification(form, messages[message]->objectName() + QStringLiteral("Entendu"),
                         messages[message]->accessibleName());
    }
    runEnded_ = Notification(form, ToQString(kRunEndedId), ToQString(kRunEndedName));
}

void Announcements::MessageChanged(Message message) {
    if (!messages_[message]->isVisible()) {
        heard_[message]->hide();
        return;
    }
    QTimer::singleShot(0, this, [this, message] {
        if (messages_[message] && messages_[message]->isVisible()) {
            heard_[message]->show();
        }
    });
}

void Announcements::SetRunEnded(bool ended) {
    runEnded_->setVisible(ended);
}

}  // namespace loto
