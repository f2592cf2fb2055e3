#include "van/C101B02.h"

#include "platform/sys/Clock.h"
#include "platform/ui/DatePicker.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFrmC101B02::TFrmC101B02(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral(u"조회"));
    PnlSechDt = new QLabel(QStringLiteral(u"조회일자"), this);
    auto makePicker = [this] {
        auto* d = new DatePicker(this);
        d->setDate(Clock::today());
        return d;
    };
    DTPkerSDt = makePicker();
    DTPkerEDt = makePicker();
    BBtnConfi = new QPushButton(QStringLiteral(u"확인"), this);
    BBtnCncl = new QPushButton(QStringLiteral(u"취소"), this);
    auto* row = new QHBoxLayout;
    row->addWidget(PnlSechDt);
    row->addWidget(DTPkerSDt);
    row->addWidget(new QLabel(QStringLiteral("~"), this));
    row->addWidget(DTPkerEDt);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BBtnConfi);
    buttons->addWidget(BBtnCncl);
    auto* v = new QVBoxLayout(this);
    v->addLayout(row);
    v->addLayout(buttons);
    setFixedSize(sizeHint());
    connect(BBtnConfi, &QPushButton::clicked, this, &QDialog::accept);
    connect(BBtnCncl, &QPushButton::clicked, this, &QDialog::reject);
}

QString TFrmC101B02::firstDate() const {
    return DTPkerSDt->date().toString(QStringLiteral("yyyyMMdd"));
}
QString TFrmC101B02::lastDate() const {
    return DTPkerEDt->date().toString(QStringLiteral("yyyyMMdd"));
}
