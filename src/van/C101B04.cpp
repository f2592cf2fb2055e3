#include "van/C101B04.h"

#include "platform/text/Cp949.h"

#include <QFile>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

TFrmC101B04::TFrmC101B04(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral(u"공지사항"));
    REdtMemo = new QTextEdit(this);
    REdtMemo->setReadOnly(true);
    REdtMemo->setLineWrapMode(QTextEdit::NoWrap);
    REdtMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    REdtMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    BBtnConfi = new QPushButton(QStringLiteral(u"닫기"), this);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(BBtnConfi);
    auto* v = new QVBoxLayout(this);
    v->addWidget(REdtMemo);
    v->addLayout(bottom);
    resize(640, 480);
    setFixedSize(size());
    connect(BBtnConfi, &QPushButton::clicked, this, &QDialog::accept);
}

bool TFrmC101B04::loadFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    REdtMemo->setPlainText(Cp949::decode(f.readAll()));
    return true;
}
