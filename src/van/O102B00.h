#pragma once
#include <QDialog>

class QLineEdit;
class QPushButton;

// 통신환경설정: the address and port of the VAN operator's server.
class TFrmO102B00 : public QDialog {
    Q_OBJECT
public:
    explicit TFrmO102B00(QWidget* parent = nullptr);

    QLineEdit* EdtAddress;
    QLineEdit* EdtPortNo;
    QPushButton* BBtnConfi;
    QPushButton* BBtnCncl;

    void BBtnConfiClick();
};
