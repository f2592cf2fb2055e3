#pragma once
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// "로그인": the start-up password when log-in is switched on. Accepted means
// the program goes on; anything else ends it.
class TFrmL101B01 : public QDialog {
    Q_OBJECT
public:
    explicit TFrmL101B01(QWidget* parent = nullptr);

    QLabel* Label1;
    QLineEdit* EdtCompCd;
    QLineEdit* EdtPswd;
    QPushButton* BBtnConfi;
    QPushButton* BBtnCncl;

    void FormCreate();
    void BBtnConfiClick();
    void BBtnCnclClick();

    enum class Check { Ok, NoCode, NoPassword, Wrong };
    // The typed password must equal the stored one exactly, blanks and case
    // included; the company code is only required, never compared.
    static Check check(const QString& code, const QString& typed, const QString& stored);

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    QString storedPassword_;
};
