#pragma once
#include <QMainWindow>

class QMdiArea;

// The MDI main window.
class TFrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TFrmMain(QWidget* parent = nullptr);
    ~TFrmMain() override;

    QMdiArea* mdiArea() const { return mdi_; }
    // Closes every open work window.
    void CloseAllChildren();

private:
    QMdiArea* mdi_ = nullptr;
};

extern TFrmMain* FrmMain;
