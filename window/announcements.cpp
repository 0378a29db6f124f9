#include "window/announcements.h"

#include <QLabel>
#include <QTimer>

#include "window/accessible_names.h"
#include "window/notification_accessible.h"

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

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

Announcements::Announcements(QWidget& form, const std::array<QLabel*, kMessageCount>& messages)
    : QObject(&form) {
    for (std::size_t i = 0; i < messages.size(); ++i) {
        messages_[i] = messages[i];
        heard_[i] = Notification(form, messages[i]->objectName() + QStringLiteral("Entendu"),
                                 messages[i]->accessibleName());
    }
    runEnded_ = Notification(form, FromUtf8(kRunEndedId), FromUtf8(kRunEndedName));
}

void Announcements::MessageChanged(Message message) {
    const auto i = static_cast<std::size_t>(message);
    if (!messages_[i]->isVisible()) {
        heard_[i]->hide();
        return;
    }
    QTimer::singleShot(0, this, [this, i] {
        if (messages_[i] && messages_[i]->isVisible()) {
            heard_[i]->show();
        }
    });
}

void Announcements::SetRunEnded(bool ended) {
    runEnded_->setVisible(ended);
}

}  // namespace loto
