#include "students/F301B01.h"

#include "data/DMModule.h"
#include "platform/ui/Cp949Validator.h"
#include "platform/ui/Msg.h"
#include "students/F301B00.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace {

QString numberMask() {
    return SNoLen == 5 ? QStringLiteral("0-00-00; ") : QStringLiteral("0-00-000; ");
}

} // namespace

TFrmF301B01::TFrmF301B01(TFrmF301B00* owner) : QDialog(owner), owner_(owner) {
    setWindowTitle(QStringLiteral("찾기"));
    auto* g = new QGridLayout(this);
    CbSelect = new QComboBox(this);
    CbSelect->addItems({QStringLiteral("1.학번"), QStringLiteral("2.성명")});
    EdtSearchNm = new QLineEdit(this);
    EdtSearchNm->setObjectName(QStringLiteral("EdtSearchNm"));
    EdtSearchNm->setInputMask(numberMask());
    CContSearch = new QCheckBox(QStringLiteral("계속검색"), this);
    BBtnSearch = new QPushButton(QStringLiteral("찾기"), this);
    BBtnClose = new QPushButton(QStringLiteral("닫기"), this);
    g->addWidget(CbSelect, 0, 0);
    g->addWidget(EdtSearchNm, 0, 1);
    g->addWidget(CContSearch, 1, 1);
    g->addWidget(BBtnSearch, 2, 0);
    g->addWidget(BBtnClose, 2, 1);
    connect(CbSelect, &QComboBox::activated, this, [this](int) { CbSelectChange(); });
    connect(BBtnSearch, &QPushButton::clicked, this, &TFrmF301B01::BBtnSearchClick);
    connect(BBtnClose, &QPushButton::clicked, this, &QDialog::reject);
    EdtSearchNm->installEventFilter(this);
    if (owner_) owner_->setListRow(0);
}

void TFrmF301B01::CbSelectChange() {
    EdtSearchNm->clear();
    if (CbSelect->currentIndex() == 0) {
        EdtSearchNm->setValidator(nullptr);
        EdtSearchNm->setInputMask(numberMask());
    } else {
        EdtSearchNm->setInputMask(QString());
        Cp949Validator::limit(EdtSearchNm, 20, false);
    }
    found_ = false;
    if (owner_) owner_->setListRow(0);
    EdtSearchNm->setFocus();
}

void TFrmF301B01::BBtnSearchClick() {
    if (!owner_) return;
    const int rows = owner_->listRows();
    const int cur = owner_->listRow();
    if (rows > 0 && cur == rows - 1) {
        Msg::info(QStringLiteral("찾기"), QStringLiteral("자료의 끝입니다!"), this);
        return;
    }
    int hit = -1;
    if (CbSelect->currentIndex() == 0) {
        QString digits = EdtSearchNm->text();
        digits.remove(QLatin1Char('-'));
        digits = digits.trimmed();
        for (int r = 0; r < rows && hit < 0; ++r)
            if (owner_->listCell(r, 0) == digits) hit = r;
    } else {
        // A continued search goes on below the row it found last; a new one
        // starts at the top.
        int start = 0;
        if (CContSearch->isChecked() && cur >= 0) start = found_ || cur > 0 ? cur + 1 : 0;
        const QString name = EdtSearchNm->text();
        for (int r = start; r < rows && hit < 0; ++r)
            if (owner_->listCell(r, 1) == name) hit = r;
    }
    if (hit < 0) {
        Msg::info(QStringLiteral("찾기"), QStringLiteral("자료가 없거나 더이상 찾을수 없습니다!"), this);
        return;
    }
    found_ = true;
    owner_->setListRow(hit);
    owner_->SGrdCustClick(hit);
}

bool TFrmF301B01::eventFilter(QObject* watched, QEvent* event) {
    if (watched == EdtSearchNm && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            BBtnSearchClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
