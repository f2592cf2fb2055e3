#include "frame/Main.h"

#include <QMdiArea>
#include <QMdiSubWindow>

TFrmMain* FrmMain = nullptr;

TFrmMain::TFrmMain(QWidget* parent) : QMainWindow(parent) {
    FrmMain = this;
    mdi_ = new QMdiArea(this);
    setCentralWidget(mdi_);
    setWindowTitle(QStringLiteral("소마린 '2002"));
    resize(1024, 740);
}

TFrmMain::~TFrmMain() {
    if (FrmMain == this) FrmMain = nullptr;
}

void TFrmMain::CloseAllChildren() {
    for (QMdiSubWindow* w : mdi_->subWindowList()) w->close();
}
