#pragma once
#include <QDialog>

class QPushButton;
class QTableWidget;

// "데이터복구": lists the company's backups in databack, restores or deletes
// the chosen one.
class TFrmT103B00 : public QDialog {
    Q_OBJECT
public:
    explicit TFrmT103B00(QWidget* parent = nullptr);

    QTableWidget* SGrdBackup;
    QPushButton* BbtnRecovery;
    QPushButton* BbtnDel;
    QPushButton* bbtnDone;

    void FillList();
    void SGrdBackupClick();
    void SGrdBackupDblClick();
    void BbtnRecoveryClick();
    void BbtnDelClick();

    // The archive of the current row: FSchCode + date + " " + time + ".zip".
    QString currentArchiveName() const;

private:
    bool currentRowHasText() const;
};

// The restore with its questions and boxes, for the dialog and the driver:
// label is the archive's name without ".zip". True when restored.
bool RestoreWithQuestions(const QString& archive, const QString& label, QWidget* parent);
