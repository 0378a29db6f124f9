#pragma once

#include <QClipboard>
#include <QLineEdit>

namespace loto {

// A text box whose paste keeps the text as it was copied. Qt decodes copied UTF-8 text with the
// byte-order mark at its start (U+FEFF) taken away, where the design's reading of a box keeps it
// (the text "\uFEFF7" reads as 0, as on the page and in loto-sim); every way to paste, the keys,
// the middle button and the box's menu, goes through the copy's own bytes instead.
class BoxLineEdit final : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void Paste(QClipboard::Mode mode);
};

// What was copied, as text: the UTF-8 bytes themselves where the copy has them (as
// text/plain;charset=utf-8, X11's UTF8_STRING or text/plain), a leading byte-order mark kept;
// Qt's text of it otherwise.
[[nodiscard]] QString CopiedText(QClipboard::Mode mode);

}  // namespace loto
