#pragma once
#include <QDialog>

class QTableWidget;

// Base of the registration dialogs: Enter moves the focus to the next
// control (a focused button is pressed instead), as the office is used to.
class BasicDialog : public QDialog {
    Q_OBJECT
public:
    explicit BasicDialog(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    // Grid set-up shared by the dialogs: read-only, whole-row selection.
    static void setUpGrid(QTableWidget* grid, const QStringList& headers, const QList<int>& widths);
    // Puts the rows into the grid; no rows leave one blank row. The columns
    // in amounts show right-aligned; every column widens to its values.
    static void fillGrid(QTableWidget* grid, const QList<QStringList>& rows, const QList<int>& amounts = {});
};
