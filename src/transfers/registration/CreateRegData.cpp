#include "transfers/registration/CreateRegData.h"

#include "data/DMMain.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/GridFit.h"
#include "platform/ui/Modal.h"
#include "platform/ui/Msg.h"
#include "transfers/common/M101B02.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

TFrmCreateRegData* FrmCreateRegData = nullptr;

namespace {

const FormRegistrar registrar(FormEntry{
    QStringLiteral("CreateRegData"), QStringLiteral("계좌등록자료작성"), FormEntry::Mode::WorkWindow,
    [](QWidget* parent) -> QWidget* { return new TFrmCreateRegData(parent); }});

const struct {
    const char16_t* title;
    int width;
} kColumns[] = {{u"학번", 50},
                {u"성명", 60},
                {u"성별", 40},
                {u"등록은행", 70},
                {u"대상은행", 70},
                {u"대표기관코드", 80},
                {u"계좌번호", 100},
                {u"납부자번호", 80},
                {u"예금주 주민번호", 100},
                {u"신청일자", 70},
                {u"처리여부", 70},
                {u"실패사유", 120},
                {u"", 0}};

QLabel* countPanel(QWidget* owner, const char* name) {
    auto* p = new QLabel(owner);
    p->setObjectName(QString::fromLatin1(name));
    p->setFrameShape(QFrame::Panel);
    p->setFrameShadow(QFrame::Sunken);
    p->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    p->setMinimumWidth(80);
    return p;
}

QString counted(qint64 n) {
    return QLocale(QLocale::English).toString(n) + QLatin1Char(' ');
}

} // namespace

TFrmCreateRegData::TFrmCreateRegData(QWidget* parent) : QWidget(parent) {
    FrmCreateRegData = this;
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("FrmCreateRegData"));
    setWindowTitle(QStringLiteral("계좌등록자료작성"));

    auto* top = new QVBoxLayout(this);
    auto* row1 = new QHBoxLayout;
    CbBank = new QComboBox(this);
    CbBank->setObjectName(QStringLiteral("CbBank"));
    CbBank->setMinimumWidth(160);
    CbBank->addItems(RegRun::bankTexts());
    BtnMake = new QPushButton(QStringLiteral("자료생성"), this);
    BtnMake->setObjectName(QStringLiteral("BtnMake"));
    BtnMake->setEnabled(false);
    MEdtYearMon = new QLineEdit(this);
    MEdtYearMon->setObjectName(QStringLiteral("MEdtYearMon"));
    MEdtYearMon->setInputMask(QStringLiteral("0000-00; "));
    MEdtYearMon->setMaximumWidth(80);
    MEdtSeqNo = new QLineEdit(this);
    MEdtSeqNo->setObjectName(QStringLiteral("MEdtSeqNo"));
    MEdtSeqNo->setInputMask(QStringLiteral("00; "));
    MEdtSeqNo->setMaximumWidth(40);
    SBtnYearMonSelect = new QPushButton(QStringLiteral("선택"), this);
    SBtnYearMonSelect->setObjectName(QStringLiteral("SBtnYearMonSelect"));
    row1->addWidget(new QLabel(QStringLiteral("등록은행"), this));
    row1->addWidget(CbBank);
    row1->addWidget(BtnMake);
    row1->addSpacing(20);
    row1->addWidget(new QLabel(QStringLiteral("등록회차"), this));
    row1->addWidget(MEdtYearMon);
    row1->addWidget(MEdtSeqNo);
    row1->addWidget(SBtnYearMonSelect);

    auto* box = new QGroupBox(QStringLiteral("결과"), this);
    box->setObjectName(QStringLiteral("ResultTp"));
    auto* bl = new QHBoxLayout(box);
    resultGroup_ = new QButtonGroup(this);
    const char16_t* kinds[] = {u"전체", u"등록실패", u"등록성공"};
    for (int i = 0; i < 3; ++i) {
        ResultTp[i] = new QRadioButton(QString::fromUtf16(kinds[i]), box);
        resultGroup_->addButton(ResultTp[i], i);
        bl->addWidget(ResultTp[i]);
    }
    ResultTp[0]->setChecked(true);
    row1->addWidget(box);
    row1->addStretch();
    top->addLayout(row1);

    auto* row2 = new QHBoxLayout;
    BtnSearch = new QPushButton(QStringLiteral("자료조회"), this);
    BtnSearch->setObjectName(QStringLiteral("BtnSearch"));
    BtnCreate = new QPushButton(QStringLiteral("파일작성"), this);
    BtnCreate->setObjectName(QStringLiteral("BtnCreate"));
    BtnResolve = new QPushButton(QStringLiteral("파일풀기"), this);
    BtnResolve->setObjectName(QStringLiteral("BtnResolve"));
    PnlTotCnt = countPanel(this, "PnlTotCnt");
    PnlFineCnt = countPanel(this, "PnlFineCnt");
    PnlFalseCnt = countPanel(this, "PnlFalseCnt");
    row2->addWidget(BtnSearch);
    row2->addWidget(BtnCreate);
    row2->addWidget(BtnResolve);
    row2->addSpacing(20);
    row2->addWidget(new QLabel(QStringLiteral("총건수"), this));
    row2->addWidget(PnlTotCnt);
    row2->addWidget(new QLabel(QStringLiteral("등록성공건수"), this));
    row2->addWidget(PnlFineCnt);
    row2->addWidget(new QLabel(QStringLiteral("등록실패건수"), this));
    row2->addWidget(PnlFalseCnt);
    row2->addStretch();
    top->addLayout(row2);

    SGrdReg = new QTableWidget(this);
    SGrdReg->setObjectName(QStringLiteral("SGrdReg"));
    SGrdReg->setColumnCount(13);
    SGrdReg->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SGrdReg->verticalHeader()->hide();
    for (int c = 0; c < 13; ++c) {
        SGrdReg->setHorizontalHeaderItem(c, new QTableWidgetItem(QString::fromUtf16(kColumns[c].title)));
        SGrdReg->setColumnWidth(c, kColumns[c].width);
    }
    SGrdReg->setColumnHidden(12, true);
    for (int c = 0; c < 12; ++c)
        GridFit::widen(SGrdReg, c);
    top->addWidget(SGrdReg, 1);

    connect(CbBank, &QComboBox::currentIndexChanged, this, [this] { CbBankChange(); });
    connect(BtnMake, &QPushButton::clicked, this, &TFrmCreateRegData::BtnMakeClick);
    connect(BtnSearch, &QPushButton::clicked, this, &TFrmCreateRegData::BtnSearchClick);
    connect(SBtnYearMonSelect, &QPushButton::clicked, this, &TFrmCreateRegData::SBtnYearMonSelectClick);
    connect(BtnCreate, &QPushButton::clicked, this, &TFrmCreateRegData::BtnCreateClick);
    connect(BtnResolve, &QPushButton::clicked, this, &TFrmCreateRegData::BtnResolveClick);
    // The listing belongs to the run and the filter it was made with.
    connect(MEdtYearMon, &QLineEdit::textChanged, this, [this] { clearGrid(); });
    connect(MEdtSeqNo, &QLineEdit::textChanged, this, [this] { clearGrid(); });
    connect(resultGroup_, &QButtonGroup::idClicked, this, [this] { clearGrid(); });
}

TFrmCreateRegData::~TFrmCreateRegData() {
    if (FrmCreateRegData == this) FrmCreateRegData = nullptr;
}

QString TFrmCreateRegData::yearMon() const {
    return MEdtYearMon->text().remove(QLatin1Char('-')).trimmed();
}

QString TFrmCreateRegData::seqNo() const {
    return MEdtSeqNo->text().trimmed();
}

RegRun::Filter TFrmCreateRegData::filter() const {
    switch (resultGroup_->checkedId()) {
    case 1:
        return RegRun::Filter::Failed;
    case 2:
        return RegRun::Filter::Registered;
    default:
        return RegRun::Filter::All;
    }
}

void TFrmCreateRegData::CbBankChange() {
    BtnMake->setEnabled(CbBank->currentIndex() > 0);
}

void TFrmCreateRegData::clearGrid() {
    listing_ = {};
    SGrdReg->setRowCount(0);
    PnlTotCnt->clear();
    PnlFineCnt->clear();
    PnlFalseCnt->clear();
}

void TFrmCreateRegData::pShowRegList() {
    clearGrid();
    listing_ = RegRun::list(yearMon(), seqNo(), filter());
    SGrdReg->setRowCount(int(listing_.rows.size()));
    int r = 0;
    for (const RegRun::Row& row : listing_.rows) {
        const QStringList cells{row.SNo,
                                row.Nm,
                                RegRun::sexText(row.Sex),
                                DMData->GetBankName(row.RegBankCd),
                                DMData->GetBankName(row.BankCd),
                                row.RepFacCd,
                                row.AcctNo,
                                row.NapbuNo,
                                row.SocId,
                                row.ReqDt,
                                RegRun::resultText(row.Result),
                                RegRun::reasonText(row.ErrCd),
                                row.RegBankCd};
        const bool failed = row.Result == QLatin1String("N");
        for (int c = 0; c < cells.size(); ++c) {
            auto* it = new QTableWidgetItem(cells[c]);
            it->setForeground(failed ? Qt::red : Qt::black);
            SGrdReg->setItem(r, c, it);
        }
        ++r;
    }
    GridFit::widenToContents(SGrdReg);
    PnlTotCnt->setText(counted(listing_.total));
    PnlFineCnt->setText(counted(listing_.registered));
    PnlFalseCnt->setText(counted(listing_.failed));
}

void TFrmCreateRegData::BtnMakeClick() {
    const RegRun::Created c = RegRun::create(CbBank->currentText().left(2), CbBank->currentText());
    if (!c.ok) return;
    MEdtYearMon->setText(c.yearMon);
    MEdtSeqNo->setText(c.seqNo);
    pShowRegList();
}

void TFrmCreateRegData::BtnSearchClick() {
    clearGrid();
    if (!RegRun::exists(yearMon(), seqNo())) {
        Msg::show(QCoreApplication::applicationName(), QStringLiteral("존재하지않는 회차입니다~!!"),
                  MsgIcon::None, MsgButtons::Ok, this);
        return;
    }
    pShowRegList();
}

void TFrmCreateRegData::SBtnYearMonSelectClick() {
    TFrmM101B02 dlg(this);
    dlg.InitAction(QStringLiteral("H_R00_*.db"));
    dlg.EdGcode->clear();
    if (Modal::exec(&dlg) != QDialog::Accepted) return;
    MEdtYearMon->setText(dlg.yearMon());
    MEdtSeqNo->setText(dlg.seqNo());
    MEdtSeqNo->setFocus();
}

void TFrmCreateRegData::BtnCreateClick() {
    RegRun::writeRequest(yearMon(), seqNo(), listing_);
}

void TFrmCreateRegData::BtnResolveClick() {
    const QList<RegRun::Applied> done = RegRun::applyAll();
    BtnSearch->setFocus();
    for (auto it = done.crbegin(); it != done.crend(); ++it)
        if (it->status == RegRun::Applied::Status::Applied) {
            MEdtYearMon->setText(it->yearMon);
            MEdtSeqNo->setText(it->seqNo);
            pShowRegList();
            return;
        }
}
