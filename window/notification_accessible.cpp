#include "window/notification_accessible.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace loto {
namespace {

constexpr const char* kNotification = "lotoNotification";

class NotificationAccessible final : public QAccessibleWidget {
public:
    explicit NotificationAccessible(QWidget* widget)
        : QAccessibleWidget(widget, QAccessible::Notification) {}
};

QAccessibleInterface* NotificationFactory(const QString&, QObject* object) {
    if (object != nullptr && object->isWidgetType() && object->property(kNotification).toBool()) {
        return new NotificationAccessible(static_cast<QWidget*>(object));
    }
    return nullptr;
}

}  // namespace

void AnnounceAsNotification(QWidget& widget) {
    static const bool installed = [] {
        QAccessible::installFactory(NotificationFactory);
        return true;
    }();
    (void)installed;
    widget.setProperty(kNotification, true);
    // Under a screen reader Qt makes a widget's interface as the widget is made, before this.
    QAccessibleInterface* made = QAccessible::queryAccessibleInterface(&widget);
    if (made != nullptr && made->role() != QAccessible::Notification) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
    }
}

}  // namespace loto
