#pragma once
#include <QDialog>

#include <optional>

class QLineEdit;
class QPushButton;
class TKeyEdit;

// "금액수정": the new amount of one distribution row. The caller puts the
// row's student number in (property "sno") and reads the amount after OK
// (property "amountText", or amount()).
class TFrmM102B10 : public QDialog {
    Q_OBJECT
    Q_PROPERTY(QString sno READ sno WRITE setSNo)
    Q_PROPERTY(QString amountText READ amountText)
public:
    explicit TFrmM102B10(QWidget* parent = nullptr);

    QLineEdit* MEdtSchNo;
    TKeyEdit* EdtAmt;
    QPushButton* BBtnOK;
    QPushButton* BBtnCncl;

    void BBtnOKClick();
    void BBtnCnclClick();

    QString sno() const;
    void setSNo(const QString& sno);
    QString amountText() const;
    // Whole won, commas allowed; none for anything else.
    std::optional<qint64> amount() const;

protected:
    void keyPressEvent(QKeyEvent* e) override;
};

namespace DistribAmount {
// The amount dialogs' check on OK: an empty amount, or one that is not whole
// won, shows its box and keeps the dialog open.
bool accepted(const QString& text, QWidget* parent);
} // namespace DistribAmount
