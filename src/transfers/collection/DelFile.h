#pragma once
#include <QDialog>

class QListWidget;
class QPushButton;

// "파일삭제확인": deletes the request files still waiting for their result,
// with their request-file book rows.
class TfrmDelFile : public QDialog {
    Q_OBJECT
public:
    // The round of the collection window, for the job log.
    TfrmDelFile(const QString& yearMon, const QString& seqNo, QWidget* parent = nullptr);

    QListWidget* lbFile; // filled by the caller
    QPushButton* btDel;
    QPushButton* btCancel;

    void btDelClick();

private:
    QString yearMon_, seqNo_;
};
