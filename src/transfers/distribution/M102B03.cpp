#include "transfers/distribution/M102B03.h"

#include "platform/ui/FormRegistry.h"
#include "shared/ButtonRow.h"
#include "transfers/common/AmountDialog.h"
#include "transfers/common/RowEdits.h"
#include "transfers/common/KeyEdit.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFrmM102B03::TFrmM102B03(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("일괄금액입력"));
    CbItem = new QComboBox(this);
    CbItem->setEditable(true);
    CbItem->setInsertPolicy(QComboBox::NoInsert);
    CbItem->setMinimumContentsLength(16);
    // Two typed digits choose the item of that code.
    connect(CbItem, &QComboBox::editTextChanged, this, [this](const QString& t) {
        if (t.size() != 2) return;
        for (int i = 0; i < CbItem->count(); ++i)
            if (CbItem->itemText(i).startsWith(t)) {
                CbItem->setCurrentIndex(i);
                return;
            }
    });
    MEdtSchNo = new QLineEdit(this);
    MEdtSchNo->setInputMask(QStringLiteral("9-99-999;_"));
    EdtAmt = AmountEntry::makeEdit(this, [this] { BBtnConfiClick(); });
    BBtnConfi = new QPushButton(QStringLiteral("수정"), this);
    BBtnCncl = new QPushButton(QStringLiteral("취소"), this);
    BBtnConfi->setAutoDefault(false);
    BBtnCncl->setAutoDefault(false);
    connect(BBtnConfi, &QPushButton::clicked, this, &TFrmM102B03::BBtnConfiClick);
    connect(BBtnCncl, &QPushButton::clicked, this, &TFrmM102B03::BBtnCnclClick);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("항목"), CbItem);
    form->addRow(QStringLiteral("학번"), MEdtSchNo);
    form->addRow(QStringLiteral("금액"), EdtAmt);
    auto* top = new QVBoxLayout(this);
    top->addLayout(form);
    top->addLayout(ButtonRow::rightAligned({BBtnConfi, BBtnCncl}));
}

void TFrmM102B03::setItems(const QStringList& items) {
    CbItem->clear();
    CbItem->addItems(items);
    CbItem->setCurrentIndex(items.isEmpty() ? -1 : 0);
}

QStringList TFrmM102B03::items() const {
    QStringList out;
    for (int i = 0; i < CbItem->count(); ++i)
        out << CbItem->itemText(i);
    return out;
}

QString TFrmM102B03::itemText() const {
    return CbItem->currentText();
}

// The prefix is the digits typed from the left, up to the first blank.
QString TFrmM102B03::snoPrefix() const {
    QString out;
    for (QChar c : MEdtSchNo->text()) {
        if (c == QLatin1Char('-')) continue;
        if (!c.isDigit()) break;
        out += c;
    }
    return out;
}

QString TFrmM102B03::amountText() const {
    return EdtAmt->text().trimmed();
}

std::optional<qint64> TFrmM102B03::amount() const {
    return RowEdit::parseAmount(EdtAmt->text());
}

void TFrmM102B03::BBtnConfiClick() {
    if (!AmountEntry::accepted(EdtAmt->text(), this)) {
        EdtAmt->setFocus();
        return;
    }
    accept();
}

void TFrmM102B03::BBtnCnclClick() {
    reject();
}

void TFrmM102B03::keyPressEvent(QKeyEvent* e) {
    if (isEnterKey(e)) {
        focusNextChild();
        return;
    }
    QDialog::keyPressEvent(e);
}

namespace {
const FormRegistrar registrar(FormEntry{QStringLiteral("M102B03"), QStringLiteral("일괄금액입력"),
                                        FormEntry::Mode::Dialog,
                                        [](QWidget* parent) -> QWidget* { return new TFrmM102B03(parent); }});
} // namespace
