#pragma once
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// 로그인: the VAN company code and password. Used by the session window and
// the SMS sender; it checks only that a company code was given.
class TFrmC101B01 : public QDialog {
    Q_OBJECT
public:
    explicit TFrmC101B01(QWidget* parent = nullptr);

    QLabel* Label1;
    QLabel* PnlCompCd;
    QLineEdit* EdtCompCd;
    QLabel* PnlPswd;
    QLineEdit* EdtPswd;
    QPushButton* BBtnConfi;
    QPushButton* BBtnCncl;

    void BBtnConfiClick();
    QString compCd() const;
    QString password() const;
};

// Shows the log-in dialog; true on OK with the trimmed entries.
bool AskVanLogIn(QWidget* parent, QString* compCd, QString* password);
