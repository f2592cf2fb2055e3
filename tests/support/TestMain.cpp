#include "platform/report/Report.h"
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
    // Every report any test lays out: a fixed text of a form is never cut at
    // its box (values may be, by their own rule).
    Report::setLayoutCheck([](const ReportDocument& doc) {
        for (const QString& cut : doc.cutLabels())
            ADD_FAILURE() << "fixed label cut at its box in " << doc.title.toStdString() << ": "
                          << cut.toStdString();
    });
    return RUN_ALL_TESTS();
}
