#include "basic/F103B00.h"

#include "basic/BasicActions.h"
#include "basic/F105B00.h"
#include "data/DMMain.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/GridFit.h"
#include "platform/ui/Modal.h"
#include "platform/ui/RowMove.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
const FormRegistrar registrar(FormEntry{QStringLiteral("F103B00"), QStringLiteral("은행등록"),
                                        FormEntry::Mode::Dialog,
                                        [](QWidget* parent) -> QWidget* { return new TFrmF103B00(parent); }});

int indexByCode(const QComboBox* c, const QString& code) {
    if (code.isEmpty()) return -1;
    for (int i = 0; i < c->count(); ++i)
        if (c->itemText(i).left(2) == code) return i;
    return -1;
}
} // namespace

TFrmF103B00::TFrmF103B00(QWidget* parent) : BasicDialog(parent) {
    setWindowTitle(QStringLiteral("은행등록"));
    auto edit = [this](const char* name, int maxLength) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->setMaxLength(maxLength);
        return e;
    };
    CBBank = new QComboBox(this);
    CBBank->setObjectName(QStringLiteral("CBBank"));
    Rdobtn1 = new QRadioButton(AccountStore::kCollect, this);
    Rdobtn1->setObjectName(QStringLiteral("Rdobtn1"));
    Rdobtn1->setChecked(true);
    Rdobtn2 = new QRadioButton(AccountStore::kDistribute, this);
    Rdobtn2->setObjectName(QStringLiteral("Rdobtn2"));
    EdtInAcctNo = edit("EdtInAcctNo", 15);
    EdtInCompyNo = edit("EdtInCompyNo", 10);
    EdtInPasswd = edit("EdtInPasswd", 10); // shown in plain text
    cboGroup = new QComboBox(this);
    cboGroup->setObjectName(QStringLiteral("cboGroup"));
    lblBankCode = new QLabel(this);
    EdtEBcode = edit("EdtEBcode", 5);
    EdtRFcode = edit("EdtRFcode", 20);
    lblInfo = new QLabel(this);
    lblInfo->setWordWrap(true);
    grpNotice = new QGroupBox(QStringLiteral("은행 자동이체에 대한 상세 설명"), this);
    mBNotice = new QPlainTextEdit(grpNotice);
    mBNotice->setObjectName(QStringLiteral("mBNotice"));
    mBNotice->setReadOnly(true);
    SGrdMBank = new QTableWidget(this);
    SGrdMBank->setObjectName(QStringLiteral("SGrdMBank"));
    g = new QPushButton(QStringLiteral("저장"), this);
    BBtnNew = new QPushButton(QStringLiteral("신규"), this);
    BBtnDel = new QPushButton(QStringLiteral("삭제"), this);
    BBtnClose = new QPushButton(QStringLiteral("닫기"), this);
    bt_gedit = new QPushButton(QStringLiteral("그룹편집"), this);
    bt_gedit->setToolTip(QStringLiteral("그룹의 추가, 삭제 및 변경"));
    for (QPushButton* b : {g, BBtnNew, BBtnDel, BBtnClose, bt_gedit})
        b->setAutoDefault(false);

    auto* kinds = new QHBoxLayout;
    kinds->addWidget(Rdobtn1);
    kinds->addWidget(Rdobtn2);
    auto* groups = new QHBoxLayout;
    groups->addWidget(cboGroup, 1);
    groups->addWidget(bt_gedit);
    auto* inputs = new QGridLayout;
    int r = 0;
    auto row = [&](QWidget* label, QWidget* w) {
        inputs->addWidget(label, r, 0);
        inputs->addWidget(w, r++, 1);
    };
    auto rowL = [&](QLayout* l, const QString& label) {
        inputs->addWidget(new QLabel(label, this), r, 0);
        inputs->addLayout(l, r++, 1);
    };
    row(new QLabel(QStringLiteral("은행"), this), CBBank);
    rowL(kinds, QStringLiteral("구분"));
    row(new QLabel(QStringLiteral("계좌번호"), this), EdtInAcctNo);
    row(new QLabel(QStringLiteral("은행부여코드"), this), EdtInCompyNo);
    row(new QLabel(QStringLiteral("비밀번호"), this), EdtInPasswd);
    rowL(groups, QStringLiteral("항목그룹"));
    inputs->addWidget(lblBankCode, r, 0);
    auto* codes = new QHBoxLayout;
    codes->addWidget(EdtEBcode);
    codes->addWidget(EdtRFcode);
    inputs->addLayout(codes, r++, 1);
    auto* noticeLayout = new QVBoxLayout(grpNotice);
    noticeLayout->addWidget(mBNotice);
    auto* middle = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addLayout(inputs);
    left->addWidget(lblInfo);
    middle->addLayout(left, 1);
    middle->addWidget(grpNotice, 1);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {BBtnNew, g, BBtnDel, BBtnClose})
        buttons->addWidget(b);
    auto* top = new QVBoxLayout(this);
    top->addWidget(SGrdMBank, 1);
    top->addLayout(middle);
    top->addLayout(buttons);
    resize(860, 640);

    connect(SGrdMBank, &QTableWidget::cellClicked, this, [this](int row, int) { SGrdMBankClick(row); });
    RowMove::follow(SGrdMBank, [this](int row) { SGrdMBankClick(row); });
    connect(CBBank, &QComboBox::activated, this, &TFrmF103B00::CBBankChange);
    connect(EdtInAcctNo, &QLineEdit::editingFinished, this, &TFrmF103B00::EdtInAcctNoExit);
    connect(g, &QPushButton::clicked, this, &TFrmF103B00::gClick);
    connect(BBtnNew, &QPushButton::clicked, this, &TFrmF103B00::BBtnNewClick);
    connect(BBtnDel, &QPushButton::clicked, this, &TFrmF103B00::BBtnDelClick);
    connect(BBtnClose, &QPushButton::clicked, this, &TFrmF103B00::BBtnCloseClick);
    connect(bt_gedit, &QPushButton::clicked, this, &TFrmF103B00::bt_geditClick);
    FormCreate();
}

void TFrmF103B00::FormCreate() {
    lblInfo->setText(
        QStringLiteral("[은행부여코드] 중 붉은색으로 되어있는것은 대표코드입니다.\n\n"
                       "신한은행 거래학교의 경우 은행에서 발급받은 CMS등록코드를 입력해주셔야합니다.\n\n"
                       "모 계좌번호 추가등록 및 변경시 반드시 은행과\n"
                       "합의가 이루어 진 후 등록해주셔야 합니다.\n\n"
                       "은행과 협의 없이 임의 등록을하시는 경우\n"
                       "정상적인 이체작업이이루어 지지 않을 수 있습니다."));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    AccountStore::ensureBankNotes(); // first opening on this data folder
    QApplication::restoreOverrideCursor();

    setUpGrid(SGrdMBank,
              {QStringLiteral("구분"), QStringLiteral("은행코드"), QStringLiteral("계좌번호"),
               QStringLiteral("은행부여코드"), QStringLiteral("비밀번호"), QStringLiteral("항목그룹"),
               QStringLiteral("교육금고코드"), QStringLiteral("CMS등록코드"), QStringLiteral("BankCd"),
               QStringLiteral("RepYn"), QStringLiteral("Gcode")},
              {50, 100, 100, 80, 55, 110, 80, 80});
    for (int c = ColBankCd; c < ColCount; ++c)
        SGrdMBank->setColumnHidden(c, true);
    // An account shows whole at the longest number the edit takes.
    GridFit::widen(SGrdMBank, ColAcctNo, QString(EdtInAcctNo->maxLength(), QLatin1Char('0')));
    for (int c = 0; c < ColBankCd; ++c)
        GridFit::widen(SGrdMBank, c);
    DMData->FillBankCombo(CBBank, QString());
    CBBank->setCurrentIndex(CBBank->count() > 0 ? 0 : -1);
    FillGroups();
    LoadGrid();
    ShowBankInputs();
}

void TFrmF103B00::FillGroups() {
    cboGroup->clear();
    DMData->FillGroupCombo(cboGroup, QString());
    cboGroup->setCurrentIndex(cboGroup->count() > 0 ? 0 : -1);
}

void TFrmF103B00::LoadGrid() {
    const QList<AcctRow> rows = AccountStore::rows();
    QList<QStringList> texts;
    for (const AcctRow& a : rows) {
        const int b = indexByCode(CBBank, a.bankCd);
        const int gi = indexByCode(cboGroup, a.gcode);
        texts << QStringList{a.gubun,   b >= 0 ? CBBank->itemText(b) : a.bankCd,
                             a.acctNo,  a.compyNo,
                             a.passwd,  gi >= 0 ? cboGroup->itemText(gi) : a.gcode,
                             a.eduCode, a.repCd,
                             a.bankCd,  a.repYn,
                             a.gcode};
    }
    fillGrid(SGrdMBank, texts);
    // The representative's institution code stands out in red bold.
    for (int r = 0; r < rows.size(); ++r) {
        if (!rows[r].isRep()) continue;
        if (QTableWidgetItem* it = SGrdMBank->item(r, ColCompyNo)) {
            it->setForeground(Qt::red);
            QFont f = it->font();
            f.setBold(true);
            it->setFont(f);
        }
    }
    GridFit::widenToContents(SGrdMBank);
}

QString TFrmF103B00::bankCode() const {
    return CBBank->currentText().left(2);
}

void TFrmF103B00::ShowBankInputs() {
    const QString bank = bankCode();
    const bool edu = bank == QLatin1String("11");
    const bool cms = bank == QLatin1String("26");
    lblBankCode->setText(edu   ? QStringLiteral("교육금고코드")
                         : cms ? QStringLiteral("CMS등록코드")
                               : QString());
    lblBankCode->setVisible(edu || cms);
    EdtEBcode->setVisible(edu);
    EdtRFcode->setVisible(cms);
}

void TFrmF103B00::CBBankChange() {
    ShowBankInputs();
}

void TFrmF103B00::pLoadBankNotice(const QString& bankCd) {
    mBNotice->clear();
    mBNotice->setPlainText(AccountStore::bankNotes(bankCd).join(QLatin1Char('\n')));
}

void TFrmF103B00::SGrdMBankClick(int row) {
    auto cell = [this, row](int c) {
        const QTableWidgetItem* it = SGrdMBank->item(row, c);
        return it ? it->text() : QString();
    };
    const QString bank = cell(ColBankCd);
    if (bank.isEmpty()) return; // the blank row of an empty table
    shown_ = AcctRow{bank,           cell(ColGubun),   cell(ColAcctNo), cell(ColCompyNo), cell(ColPasswd),
                     cell(ColGcode), cell(ColEduCode), cell(ColRepYn),  cell(ColRepCd)};
    CBBank->setCurrentIndex(indexByCode(CBBank, bank));
    ShowBankInputs();
    EdtInAcctNo->setText(shown_->acctNo);
    EdtInCompyNo->setText(shown_->compyNo);
    EdtInPasswd->setText(shown_->passwd);
    EdtEBcode->setText(shown_->eduCode);
    EdtRFcode->setText(shown_->repCd);
    (shown_->gubun == AccountStore::kCollect ? Rdobtn1 : Rdobtn2)->setChecked(true);
    pLoadBankNotice(bank);
    cboGroup->setCurrentIndex(indexByCode(cboGroup, shown_->gcode));
}

void TFrmF103B00::EdtInAcctNoExit() {
    // The error box takes the focus, which would end the editing again.
    if (checkingAcctNo_) return;
    checkingAcctNo_ = true;
    if (!AccountActions::checkAcctNo(bankCode(), EdtInAcctNo->text(), this)) EdtInAcctNo->setFocus();
    checkingAcctNo_ = false;
}

AcctInput TFrmF103B00::inputs() const {
    AcctInput in;
    in.bankCd = bankCode();
    in.distribution = !Rdobtn1->isChecked();
    in.acctNo = EdtInAcctNo->text();
    in.compyNo = EdtInCompyNo->text();
    in.passwd = EdtInPasswd->text();
    in.gcode = cboGroup->currentText().left(2);
    in.eduCode = EdtEBcode->text();
    in.repCd = EdtRFcode->text();
    return in;
}

void TFrmF103B00::gClick() {
    const ActionResult r = AccountActions::save(inputs(), this);
    switch (r.focus) {
    case AccountStore::FieldBank:
        CBBank->setFocus();
        break;
    case AccountStore::FieldKind:
        Rdobtn2->setFocus();
        break;
    case AccountStore::FieldAcctNo:
        EdtInAcctNo->setFocus();
        break;
    case AccountStore::FieldCompyNo:
        EdtInCompyNo->setFocus();
        break;
    case AccountStore::FieldPasswd:
        EdtInPasswd->setFocus();
        break;
    case AccountStore::FieldEduCode:
        EdtEBcode->setFocus();
        break;
    case AccountStore::FieldRepCd:
        EdtRFcode->setFocus();
        break;
    default:
        break;
    }
    if (r.done) LoadGrid();
}

void TFrmF103B00::BBtnNewClick() {
    for (QLineEdit* e : {EdtInAcctNo, EdtInCompyNo, EdtInPasswd, EdtEBcode, EdtRFcode})
        e->clear();
    mBNotice->clear();
    shown_.reset();
}

void TFrmF103B00::BBtnDelClick() {
    const ActionResult r = AccountActions::remove(inputs(), shown_, this);
    if (!r.done) return;
    shown_.reset();
    LoadGrid();
}

void TFrmF103B00::bt_geditClick() {
    auto* dlg = new TFrmF105B00(this);
    Modal::exec(dlg);
    delete dlg;
    FillGroups();
    LoadGrid();
}

void TFrmF103B00::BBtnCloseClick() {
    reject();
}
