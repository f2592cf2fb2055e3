#include "transfers/common/M101B05.h"

#include "platform/text/Cp949.h"
#include "shared/ButtonRow.h"

#include <QFormLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFrmM101B05::TFrmM101B05(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("관리부호입력"));
    EdtBokGi1 = new QLineEdit(this);
    EdtBokGi1->setObjectName(QStringLiteral("EdtBokGi1"));
    EdtBokGi1->setReadOnly(true);
    EdtBokGi1->setEnabled(false);
    EdtBokGi1->setFocusPolicy(Qt::NoFocus);
    EdtBokGi1->setMaxLength(4);
    EdtBokGi2 = new QLineEdit(this);
    EdtBokGi2->setObjectName(QStringLiteral("EdtBokGi2"));
    EdtBokGi2->setMaxLength(4);
    EdtBokGi2->installEventFilter(this);
    // The trailer holds four bytes: keep the typed code within them.
    connect(EdtBokGi2, &QLineEdit::textEdited, this, [this](const QString& t) {
        QString kept;
        for (QChar c : t)
            if (Cp949::canEncode(QString(c))) kept += c;
        kept = Cp949::cutToBytes(kept, 4);
        if (kept != t) EdtBokGi2->setText(kept);
    });
    BBtnConfi = new QPushButton(QStringLiteral("확인"), this);
    BBtnCncl = new QPushButton(QStringLiteral("취소"), this);
    connect(BBtnConfi, &QPushButton::clicked, this, &TFrmM101B05::BBtnConfiClick);
    connect(BBtnCncl, &QPushButton::clicked, this, &TFrmM101B05::BBtnCnclClick);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("관리부호"), EdtBokGi1);
    form->addRow(QStringLiteral("매트릭스부호"), EdtBokGi2);
    auto* top = new QVBoxLayout(this);
    top->addLayout(form);
    top->addLayout(ButtonRow::rightAligned({BBtnConfi, BBtnCncl}));
    EdtBokGi2->setFocus();
}

void TFrmM101B05::BBtnConfiClick() {
    accept();
}

void TFrmM101B05::BBtnCnclClick() {
    reject();
}

bool TFrmM101B05::eventFilter(QObject* o, QEvent* e) {
    // EdtBokGi2KeyDown: Enter confirms.
    if (o == EdtBokGi2 && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            BBtnConfiClick();
            return true;
        }
    }
    return QDialog::eventFilter(o, e);
}
