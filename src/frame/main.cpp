#include "frame/Main.h"
#include "frame/Startup.h"
#include "platform/ui/Msg.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("소마린 '2002 v3.1.8.9[TORVA]"));

    QString error;
    if (!Startup::createServices(QDir::currentPath(), &error)) {
        Msg::error(QStringLiteral("오류"),
                   QStringLiteral("자료 폴더를 사용할 수 없습니다.\r%1").arg(error));
        return 1;
    }
    int rc = 0;
    {
        TFrmMain w;
        w.show();
        rc = app.exec();
    }
    Startup::destroyServices();
    return rc;
}
