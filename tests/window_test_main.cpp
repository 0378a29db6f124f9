// The window's tests need an application object: on the offscreen platform, without a display.
#include <gtest/gtest.h>

#include <QApplication>

#include "window/looks.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    loto::InstallFontSubstitutes();
    loto::UseClassicStyle();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
