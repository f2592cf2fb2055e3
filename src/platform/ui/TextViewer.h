#pragma once
#include <QDialog>

class QPlainTextEdit;

// A read-only text viewer: shows a text file (or a text) the way the office
// used to open lists in Notepad. Shown through the Modal runner, so tests
// and the driver see what it holds without a window.
class TextViewer : public QDialog {
    Q_OBJECT
public:
    TextViewer(const QString& title, const QString& text, QWidget* parent = nullptr);
    QString text() const;

    // Shows the file's text (CP949 or UTF-8) modally; false when it cannot
    // be read.
    static bool showFile(const QString& path, QWidget* parent = nullptr);
    static void showText(const QString& title, const QString& text, QWidget* parent = nullptr);

private:
    QPlainTextEdit* edit_;
};
