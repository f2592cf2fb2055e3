#include "frame/Main.h"
#include "frame/AutoUpdate.h"
#include "frame/Startup.h"
#include "platform/sys/System.h"
#include "platform/ui/Korean.h"
#include "platform/ui/Msg.h"

#include <QApplication>
#include <QDir>

// ZQ_EXIT_AFTER_START=1 ends a normal start right after the services are
// created, before any window: tests observe the start modes headlessly.
static bool exitAfterStart() {
    return qgetenv("ZQ_EXIT_AFTER_START") == "1";
}

int main(int argc, char** argv) {
    System::keepFreedMemory();
    // The arguments as given, before Qt takes its own options out of them.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    QApplication app(argc, argv);
    Korean::useKorean(app);
    QApplication::setWindowIcon(Korean::programIcon());

    AutoUpdate update(System::exeFolder());
    update.MakeDownFolder();
    switch (startModeFor(args)) {
    case StartMode::UpdateCheck:
        if (update.RunUpdateCheck(QCoreApplication::applicationPid(),
                                  QCoreApplication::applicationFilePath()))
            return 0;
        break;
    case StartMode::Replacement:
        if (RunReplacement(args)) return 0;
        break;
    case StartMode::Normal:
        break;
    }

    app.setApplicationName(ProgramTitle);
    QString error;
    if (!Startup::createServices(QDir::currentPath(), &error)) {
        Msg::error(QStringLiteral("오류"), QStringLiteral("자료 폴더를 사용할 수 없습니다.\r%1").arg(error));
        return 1;
    }
    if (exitAfterStart()) {
        Startup::destroyServices();
        return 0;
    }
    int rc = 0;
    {
        TFrmMain w;
        // A refused log-in ends the program before the window is shown.
        if (!w.Terminated()) {
            w.ShowOnScreen();
            rc = app.exec();
        }
    }
    Startup::destroyServices();
    return rc;
}
