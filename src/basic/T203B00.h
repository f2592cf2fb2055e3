#pragma once
#include <QDialog>
#include <QStringList>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;

// "학생일괄삭제": deletes every student of one grade with his exemptions and
// group memberships (typically the graduates), in one transaction.
class TFrmT203B00 : public QDialog {
    Q_OBJECT
public:
    explicit TFrmT203B00(QWidget* parent = nullptr);

    QLineEdit* EdtStudtNo;
    QPushButton *bbtnRun, *bbtnDone;
    QLabel* Steps[3]; // "면제등록학생삭제", "그룹등록학생삭제", "학생기본정보삭제"
    QProgressBar *GaugeMain, *GaugeSub;
    QTimer* Timer1;

    void bbtnRunClick();
    void Timer1Timer();

private:
    void stepState(int step, bool done);
};
