#pragma once
#include <QDialog>

class QLineEdit;
class QListWidget;
class QPushButton;

// "이체년월/회차 선택": the shared round selector. The caller sets the mask
// (InitAction; collection rounds by default) and optionally an item group
// in EdGcode, shows it, and on OK reads yearMon() / seqNo().
class TFrmM101B02 : public QDialog {
    Q_OBJECT
public:
    explicit TFrmM101B02(QWidget* parent = nullptr);

    void InitAction(const QString& mask);
    QString mask() const { return mask_; }

    // Fills the lists; runs on every activation.
    void FormActivate();
    void bLoadSeqTitle();
    void LbYearMonDblClick();

    // The chosen key line's year-month (characters 1-6) and round (10-11).
    QString yearMon() const;
    QString seqNo() const;

    QLineEdit* EdGcode = nullptr;
    QListWidget* LbYearMon = nullptr;
    QListWidget* lbSeqTitle = nullptr;
    QPushButton* BBtnOK = nullptr;
    QPushButton* BBtnCncl = nullptr;

protected:
    void showEvent(QShowEvent* e) override;

private:
    QString mask_ = QStringLiteral("H_200_*.db");
    QStringList displays_;
};
