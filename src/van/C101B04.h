#pragma once
#include <QDialog>

class QPushButton;
class QTextEdit;

// 공지사항: shows a notice file the caller has loaded.
class TFrmC101B04 : public QDialog {
    Q_OBJECT
public:
    explicit TFrmC101B04(QWidget* parent = nullptr);

    QTextEdit* REdtMemo;
    QPushButton* BBtnConfi;

    // Loads a notice file (CP949 text); false when it cannot be read.
    bool loadFile(const QString& path);
};
