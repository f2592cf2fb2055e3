#include "van/C101B03.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

TFrmC101B03::TFrmC101B03(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral(u"암호변경"));
    auto makeEdit = [this] {
        auto* e = new QLineEdit(this);
        e->setMaxLength(6);
        e->setEchoMode(QLineEdit::Password);
        e->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[\\x21-\\x7e]*")), e));
        return e;
    };
    EdtCurrPswd = makeEdit();
    EdtUpdtPswd = makeEdit();
    EdtConfiPswd = makeEdit();
    BBtnConfi = new QPushButton(QStringLiteral(u"확인"), this);
    BBtnCncl = new QPushButton(QStringLiteral(u"취소"), this);
    BBtnConfi->setAutoDefault(false);
    BBtnCncl->setAutoDefault(false);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral(u"현재비밀번호"), EdtCurrPswd);
    form->addRow(QStringLiteral(u"변경비밀번호"), EdtUpdtPswd);
    form->addRow(QStringLiteral(u"확인비밀번호"), EdtConfiPswd);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BBtnConfi);
    buttons->addWidget(BBtnCncl);
    auto* v = new QVBoxLayout(this);
    v->addLayout(form);
    v->addLayout(buttons);
    setFixedSize(sizeHint());
    connect(EdtCurrPswd, &QLineEdit::returnPressed, this, [this] { EdtUpdtPswd->setFocus(); });
    connect(EdtUpdtPswd, &QLineEdit::returnPressed, this, [this] { EdtConfiPswd->setFocus(); });
    connect(EdtConfiPswd, &QLineEdit::returnPressed, this, [this] { BBtnConfi->setFocus(); });
    connect(BBtnConfi, &QPushButton::clicked, this, &QDialog::accept);
    connect(BBtnCncl, &QPushButton::clicked, this, &QDialog::reject);
}
