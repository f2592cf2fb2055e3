#include "platform/ui/Korean.h"

#include <QApplication>

#include <gtest/gtest.h>

// Every test executable runs with a QApplication; widgets draw offscreen.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    // The tests see the program as the office does: Korean whatever LANG says.
    Korean::useKorean(app);
    return RUN_ALL_TESTS();
}
