#include "app/qt_start_guard.h"

#include <QRegularExpression>
#include <cstdio>
#include <cstdlib>

#include "app/application.h"
#include "platform/quoted_text.h"

namespace loto {

QtStartGuard::QtStartGuard() {
    previous_ = qInstallMessageHandler(Handle);
}

QtStartGuard::~QtStartGuard() {
    qInstallMessageHandler(previous_);
}

void QtStartGuard::Handle(QtMsgType type, const QMessageLogContext&, const QString& message) {
    static const QRegularExpression plugin(
        QStringLiteral("Could not (?:find|load) the Qt platform plugin \"([^\"]*)\""));
    if (message.contains(QStringLiteral("could not connect to display"))) {
        displayUnreachable_ = true;
    }
    if (const QRegularExpressionMatch found = plugin.match(message); found.hasMatch()) {
        plugin_ = found.captured(1).toStdString();
    }
    if (type != QtFatalMsg) {
        std::fprintf(stderr, "%s\n", PrintableText(message.toStdString()).c_str());
        return;
    }
    const QString said = displayUnreachable_ || plugin_.empty()
                             ? NoDisplayMessage()
                             : PlatformPluginMessage(QString::fromStdString(Quoted(plugin_)));
    std::fprintf(stderr, "%s\n", said.toLocal8Bit().constData());
    std::_Exit(1);
}

}  // namespace loto
