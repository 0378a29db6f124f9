#pragma once

class QWidget;

namespace loto {

// Qt gives a label the accessible role of static text, and screen readers ignore a static text
// that appears (Orca 43: "Ignoring event type due to role"); a notification that appears they
// speak. The window's messages, and the word that a run has ended, have that role.
void AnnounceAsNotification(QWidget& widget);

}  // namespace loto
