#include "BenchSupport.h"

#include "frame/Startup.h"

#include <QApplication>

void benchInitApp() {
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        new QApplication(argc, argv);
    }
}

BenchRoot::BenchRoot() {
    benchInitApp();
    qputenv("ZQ_REGISTRY", (dir_.path() + QStringLiteral("/registry.ini")).toLocal8Bit());
    QString e;
    Startup::createServices(dir_.path(), &e);
}

BenchRoot::~BenchRoot() { Startup::destroyServices(); }

void BenchRoot::restart() {
    Startup::destroyServices();
    QString e;
    Startup::createServices(dir_.path(), &e);
}
