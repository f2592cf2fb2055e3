#include "students/F302B01.h"

#include "platform/ui/Msg.h"
#include "students/StGroupStore.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The name checks of both dialogs; false after the box.
bool nameOk(QWidget* dlg, QLineEdit* edit) {
    StGroupResult r;
    if (StGroupStore::checkName(edit->text(), &r)) return true;
    Msg::error(r.caption, r.text, dlg);
    edit->setFocus();
    return false;
}

} // namespace

TFrmF302B01::TFrmF302B01(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("그룹명 생성"));
    auto* g = new QGridLayout(this);
    edtGroupNm = new QLineEdit(this);
    edtGroupNm->setObjectName(QStringLiteral("edtGroupNm"));
    BBtnOk = new QPushButton(QStringLiteral("확인"), this);
    BBtnCancel = new QPushButton(QStringLiteral("취소"), this);
    g->addWidget(new QLabel(QStringLiteral("그룹명"), this), 0, 0);
    g->addWidget(edtGroupNm, 0, 1, 1, 2);
    g->addWidget(BBtnOk, 1, 1);
    g->addWidget(BBtnCancel, 1, 2);
    connect(BBtnOk, &QPushButton::clicked, this, &TFrmF302B01::BBtnOkClick);
    connect(edtGroupNm, &QLineEdit::returnPressed, this, &TFrmF302B01::BBtnOkClick);
    connect(BBtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFrmF302B01::BBtnOkClick() {
    if (nameOk(this, edtGroupNm)) accept();
}

TFrmF302B02::TFrmF302B02(const QString& oldName, bool copy, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("그룹명 수정"));
    auto* g = new QGridLayout(this);
    txtOldGroup = new QLabel(oldName, this);
    Label12 = new QLabel(copy ? QStringLiteral("복사그룹명") : QStringLiteral("변경그룹명"), this);
    sleNewGroup = new QLineEdit(this);
    sleNewGroup->setObjectName(QStringLiteral("sleNewGroup"));
    BBtnOk = new QPushButton(QStringLiteral("확인"), this);
    BBtnCancel = new QPushButton(QStringLiteral("취소"), this);
    g->addWidget(new QLabel(QStringLiteral("기존그룹명"), this), 0, 0);
    g->addWidget(txtOldGroup, 0, 1, 1, 2);
    g->addWidget(Label12, 1, 0);
    g->addWidget(sleNewGroup, 1, 1, 1, 2);
    g->addWidget(BBtnOk, 2, 1);
    g->addWidget(BBtnCancel, 2, 2);
    connect(BBtnOk, &QPushButton::clicked, this, &TFrmF302B02::BBtnOkClick);
    connect(sleNewGroup, &QLineEdit::returnPressed, this, &TFrmF302B02::BBtnOkClick);
    connect(BBtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFrmF302B02::BBtnOkClick() {
    if (nameOk(this, sleNewGroup)) accept();
}
