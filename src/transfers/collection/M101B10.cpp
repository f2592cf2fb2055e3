#include "transfers/collection/M101B10.h"

#include "data/DMModule.h"
#include "platform/ui/Msg.h"
#include "shared/ButtonRow.h"
#include "transfers/common/RowDialogs.h"
#include "transfers/common/KeyEdit.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {
const QString kFind = QStringLiteral("찾기");
const QString kGoOn = QStringLiteral("계속찾기");
} // namespace

TFrmM101B10::TFrmM101B10(std::function<QList<QStringList>()> rows, std::function<void(int)> select,
                         QWidget* parent)
    : QDialog(parent), rows_(std::move(rows)), select_(std::move(select)) {
    setWindowTitle(QStringLiteral("찾기"));
    CbSelect1 = new QRadioButton(QStringLiteral("계좌번호"), this);
    CbSelect2 = new QRadioButton(QStringLiteral("학번번호"), this);
    CbSelect3 = new QRadioButton(QStringLiteral("성    명"), this);
    auto* digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9 ]*")), this);
    txtAccountNo = new TKeyEdit(this);
    txtAccountNo->setValidator(digits);
    auto sno = [&](int len) {
        auto* e = new TKeyEdit(this);
        e->setMaxLength(len);
        e->setValidator(digits);
        return e;
    };
    SHakEdit = sno(1);
    SBanEdit = sno(2);
    SBunEdit = sno(SNoLen - 3);
    txtName = new TKeyEdit(this);
    cboItem = new QComboBox(this);
    BBtnSearch = new QPushButton(kFind, this);
    BBtnClose = new QPushButton(QStringLiteral("닫기"), this);

    connect(CbSelect1, &QRadioButton::clicked, this, [this] { setMode(RowFind::Mode::Account); });
    connect(CbSelect2, &QRadioButton::clicked, this, [this] { setMode(RowFind::Mode::SNo); });
    connect(CbSelect3, &QRadioButton::clicked, this, [this] { setMode(RowFind::Mode::Name); });
    connect(cboItem, &QComboBox::currentIndexChanged, this, [this] { resetButton(); });
    connect(BBtnSearch, &QPushButton::clicked, this, &TFrmM101B10::BBtnSearchClick);
    connect(BBtnClose, &QPushButton::clicked, this, &QDialog::reject);
    // Enter searches; the student-number edits move on as they fill up and
    // back on Backspace when empty.
    for (TKeyEdit* e : {txtAccountNo, SHakEdit, SBanEdit, SBunEdit, txtName})
        e->onKey = [this, e](QKeyEvent* k, const QString& before) {
            if (isEnterKey(k)) {
                BBtnSearchClick();
                return true;
            }
            if (k->key() == Qt::Key_Backspace && before.isEmpty()) {
                if (e == SBanEdit) SHakEdit->setFocus();
                if (e == SBunEdit) SBanEdit->setFocus();
            }
            return false;
        };
    SHakEdit->afterKey = [this](QKeyEvent* k, const QString& before) {
        if (isCharKey(k) && before.isEmpty()) SBanEdit->setFocus();
    };
    SBanEdit->afterKey = [this](QKeyEvent* k, const QString& before) {
        if (isCharKey(k) && before.size() == 1) SBunEdit->setFocus();
    };
    for (QWidget* w : {static_cast<QWidget*>(txtAccountNo), static_cast<QWidget*>(SHakEdit),
                       static_cast<QWidget*>(txtName)})
        w->installEventFilter(this);

    auto* g = new QGridLayout;
    g->addWidget(CbSelect1, 0, 0);
    g->addWidget(txtAccountNo, 0, 1);
    g->addWidget(CbSelect2, 1, 0);
    auto* s = new QHBoxLayout;
    s->addWidget(SHakEdit);
    s->addWidget(SBanEdit);
    s->addWidget(SBunEdit);
    g->addLayout(s, 1, 1);
    g->addWidget(CbSelect3, 2, 0);
    g->addWidget(txtName, 2, 1);
    g->addWidget(new QLabel(QStringLiteral("항목"), this), 3, 0);
    g->addWidget(cboItem, 3, 1);
    auto* top = new QVBoxLayout(this);
    top->addLayout(g);
    top->addLayout(ButtonRow::rightAligned({BBtnSearch, BBtnClose}));
    CbSelect3->setChecked(true);
    setMode(RowFind::Mode::Name);
}

bool TFrmM101B10::eventFilter(QObject* o, QEvent* e) {
    // Clicking into an input chooses its search.
    if (e->type() == QEvent::MouseButtonPress) {
        if (o == txtAccountNo) setMode(RowFind::Mode::Account);
        if (o == SHakEdit) setMode(RowFind::Mode::SNo);
        if (o == txtName) setMode(RowFind::Mode::Name);
    }
    return QDialog::eventFilter(o, e);
}

void TFrmM101B10::resetButton() {
    BBtnSearch->setText(kFind);
    state_.goOn = false;
}

void TFrmM101B10::setMode(RowFind::Mode m) {
    mode_ = m;
    CbSelect1->setChecked(m == RowFind::Mode::Account);
    CbSelect2->setChecked(m == RowFind::Mode::SNo);
    CbSelect3->setChecked(m == RowFind::Mode::Name);
    resetButton();
    txtAccountNo->setEnabled(m == RowFind::Mode::Account);
    for (TKeyEdit* e : {SHakEdit, SBanEdit, SBunEdit})
        e->setEnabled(m == RowFind::Mode::SNo);
    txtName->setEnabled(m == RowFind::Mode::Name);
    if (m == RowFind::Mode::Account) txtAccountNo->setFocus();
    if (m == RowFind::Mode::SNo) SHakEdit->setFocus();
    if (m == RowFind::Mode::Name) txtName->setFocus();
}

void TFrmM101B10::BBtnSearchClick() {
    RowFind::Query q;
    q.mode = mode_;
    q.itemLine = cboItem->currentText();
    switch (mode_) {
    case RowFind::Mode::Account:
        if (txtAccountNo->text().trimmed().isEmpty()) {
            RowDialogs::plainBox(QStringLiteral("찾을 계좌번호가 입력되어 있지 않습니다"), this);
            return;
        }
        q.text = txtAccountNo->text();
        break;
    case RowFind::Mode::SNo:
        if (!IsValidSNoInput(SHakEdit->text(), SBanEdit->text(), SBunEdit->text())) {
            Msg::error(QStringLiteral("학번입력 오류"), QStringLiteral("학번 입력 정보가 올바르지 않습니다."), this);
            return;
        }
        q.text = MakeSNo(SHakEdit->text(), SBanEdit->text(), SBunEdit->text());
        break;
    case RowFind::Mode::Name:
        if (txtName->text().trimmed().isEmpty()) {
            RowDialogs::plainBox(QStringLiteral("찾을 학생 이름이 입력되어 있지 않습니다"), this);
            return;
        }
        q.text = txtName->text();
        break;
    }
    const int r = RowFind::find(rows_(), q, &state_);
    if (r == 0) {
        Msg::error(QStringLiteral("자료찾기 실패"), QStringLiteral("검색한 자료가 존재하지 않습니다."), this);
        return;
    }
    if (state_.goOn) BBtnSearch->setText(kGoOn);
    select_(r - 1);
}
