#include "window/application_icon.h"

// The resources live in a static library: nothing references them, so they must be registered.
static void RegisterResources() {
    Q_INIT_RESOURCE(loto);
}

namespace loto {

QIcon ApplicationIcon() {
    RegisterResources();
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/loto-16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/icons/loto-32.png"), QSize(32, 32));
    return icon;
}

}  // namespace loto
