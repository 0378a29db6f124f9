#include "window/box_line_edit.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QStringDecoder>
#include <memory>
#include <optional>

#include "window/x11_selection.h"

namespace loto {

QString CopiedText(QClipboard::Mode mode) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* copied = clipboard->mimeData(mode);
    const auto ownBytes = [copied](const QString& format) {
        return copied != nullptr && copied->hasFormat(format) ? std::optional(copied->data(format))
                                                              : std::nullopt;
    };
    // Qt decodes X11's UTF8_STRING itself, which it gives as text/plain: that target is read
    // apart. Elsewhere text/plain is the copy's own bytes, or Qt's UTF-8 of a text it decoded.
    std::optional<QByteArray> bytes = ownBytes(QStringLiteral("text/plain;charset=utf-8"));
    if (!bytes) {
        bytes = X11Utf8String(mode);
    }
    if (!bytes) {
        bytes = ownBytes(QStringLiteral("text/plain"));
    }
    if (!bytes) {
        return clipboard->text(mode);
    }
    QStringDecoder decode(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decode(*bytes);
}

void BoxLineEdit::Paste(QClipboard::Mode mode) {
    const QString text = CopiedText(mode);
    if (!isReadOnly() && (!text.isEmpty() || hasSelectedText())) {
        insert(text);
    }
}

// Shift+Ctrl+Insert pastes the selection on X11, as Qt's own box does.
void BoxLineEdit::keyPressEvent(QKeyEvent* event) {
    if (!event->matches(QKeySequence::Paste)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const bool selection = event->key() == Qt::Key_Insert &&
                           event->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier) &&
                           QGuiApplication::clipboard()->supportsSelection();
    Paste(selection ? QClipboard::Selection : QClipboard::Clipboard);
    event->accept();
}

void BoxLineEdit::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton && !isReadOnly() &&
        QGuiApplication::clipboard()->supportsSelection()) {
        deselect();
        Paste(QClipboard::Selection);
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

// The menu's own "Paste" is the action that shows the paste key beside its name.
void BoxLineEdit::contextMenuEvent(QContextMenuEvent* event) {
    const std::unique_ptr<QMenu> menu(createStandardContextMenu());
    const QString key =
        QLatin1Char('\t') + QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
    for (QAction* action : menu->actions()) {
        if (action->text().endsWith(key)) {
            disconnect(action, &QAction::triggered, this, nullptr);
            connect(action, &QAction::triggered, this, [this] { Paste(QClipboard::Clipboard); });
        }
    }
    menu->exec(event->globalPos());
}

}  // namespace loto
