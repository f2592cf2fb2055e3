#include "driver/Driver.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return Driver::run(argc, argv);
}
