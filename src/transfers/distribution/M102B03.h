#pragma once
#include <QDialog>

#include <optional>

class QComboBox;
class QLineEdit;
class QPushButton;
class TKeyEdit;

// "일괄금액입력": one amount for every row of an item, or of the item and a
// student-number prefix. The caller fills the item entries ("ItemCd.ItemNm",
// property "items") and reads "itemText", "snoPrefix" (digits, empty: every
// student) and "amountText" after OK.
class TFrmM102B03 : public QDialog {
    Q_OBJECT
    Q_PROPERTY(QStringList items READ items WRITE setItems)
    Q_PROPERTY(QString itemText READ itemText)
    Q_PROPERTY(QString snoPrefix READ snoPrefix)
    Q_PROPERTY(QString amountText READ amountText)
public:
    explicit TFrmM102B03(QWidget* parent = nullptr);

    QComboBox* CbItem;
    QLineEdit* MEdtSchNo;
    TKeyEdit* EdtAmt;
    QPushButton* BBtnConfi;
    QPushButton* BBtnCncl;

    void BBtnConfiClick();
    void BBtnCnclClick();

    // The entries; the first is selected.
    void setItems(const QStringList& items);
    QStringList items() const;
    QString itemText() const;
    QString snoPrefix() const;
    QString amountText() const;
    std::optional<qint64> amount() const;

protected:
    void keyPressEvent(QKeyEvent* e) override;
};
