#include "window/looks.h"

#include <QApplication>
#include <QFont>
#include <QStyleFactory>

namespace loto {

void UseClassicStyle() {
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Windows")));
}

void InstallFontSubstitutes() {
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial Black"), QStringLiteral("DejaVu Sans"));
}

}  // namespace loto
