#pragma once
#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

// The notice page's dismissal for the day, kept in pop.ini beside the
// program ([PopUp] notice=yyyymmdd).
namespace NoticeState {
QString defaultIniPath();
bool dismissedToday(const QString& iniPath);
bool dismissToday(const QString& iniPath);
// The maker's notice page for schools: "/view/school.php" on the maker's
// host, or on the host ZQ_NOTICE_URL gives.
QString pageUrl();
} // namespace NoticeState

// "공지사항보기": opens the notice page in the browser and offers to hide it
// for the rest of the day.
class TfrmH102B00 : public QDialog {
    Q_OBJECT
public:
    explicit TfrmH102B00(QWidget* parent = nullptr, const QString& iniPath = NoticeState::defaultIniPath());

    QLabel* vBrowser; // the address, with a link to open it again
    QCheckBox* chkToday;
    QPushButton* cmdClose;

    void FormActivate();
    void cmdCloseClick();

protected:
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    QString iniPath_;
    bool opened_ = false;
};
