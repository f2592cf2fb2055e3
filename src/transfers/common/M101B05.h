#pragma once
#include <QDialog>

class QLineEdit;
class QPushButton;

// "관리부호입력": bank 23's management code and the matrix code the user
// reads for it from the bank's card.
class TFrmM101B05 : public QDialog {
    Q_OBJECT
public:
    explicit TFrmM101B05(QWidget* parent = nullptr);

    QLineEdit* EdtBokGi1; // 관리부호 (shown only)
    QLineEdit* EdtBokGi2; // 매트릭스부호
    QPushButton* BBtnConfi;
    QPushButton* BBtnCncl;

public slots:
    void BBtnConfiClick();
    void BBtnCnclClick();

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
};
