#include "transfers/distribution/M102B08.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/ui/FormRegistry.h"
#include "transfers/distribution/DistribResult.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// The work window opens it by its unit name and hands over its round through
// the properties of the dialog or of itself.
const FormRegistrar registrar(FormEntry{QStringLiteral("M102B08"), QStringLiteral("파일풀기"),
                                        FormEntry::Mode::Dialog,
                                        [](QWidget* parent) -> QWidget* { return new TFrmM102B08(parent); }});

} // namespace

TFrmM102B08::TFrmM102B08(QWidget* parent) : QDialog(parent) {
    build();
    if (parent) {
        bankText_ = parent->property("bankText").toString();
        groupText_ = parent->property("groupText").toString();
        MEdtYearMon->setText(parent->property("yearMon").toString());
        MEdtSeqNo->setText(parent->property("seqNo").toString());
    }
    LoadFileList();
}

TFrmM102B08::TFrmM102B08(const QString& bankText, const QString& groupText, const QString& yearMon,
                         const QString& seqNo, QWidget* parent)
    : QDialog(parent), bankText_(bankText), groupText_(groupText) {
    build();
    MEdtYearMon->setText(yearMon);
    MEdtSeqNo->setText(seqNo);
    LoadFileList();
}

void TFrmM102B08::build() {
    setWindowTitle(QStringLiteral("파일풀기"));
    auto* lay = new QVBoxLayout(this);
    // The round is the work window's and is not changed here.
    PnlMv = new QWidget(this);
    auto* mv = new QHBoxLayout(PnlMv);
    mv->setContentsMargins(0, 0, 0, 0);
    mv->addWidget(new QLabel(QStringLiteral("이체년월"), PnlMv));
    MEdtYearMon = new QLineEdit(PnlMv);
    MEdtYearMon->setInputMask(QStringLiteral("9999-99; "));
    mv->addWidget(MEdtYearMon);
    mv->addWidget(new QLabel(QStringLiteral("회차"), PnlMv));
    MEdtSeqNo = new QLineEdit(PnlMv);
    MEdtSeqNo->setInputMask(QStringLiteral("99; "));
    MEdtSeqNo->setMaximumWidth(40);
    mv->addWidget(MEdtSeqNo);
    SBtnYearMonSelect = new QPushButton(QStringLiteral("선택"), PnlMv);
    mv->addWidget(SBtnYearMonSelect);
    mv->addStretch();
    PnlMv->setEnabled(false);
    lay->addWidget(PnlMv);
    SGrdRecvData = new QTableWidget(this);
    SGrdRecvData->setSelectionBehavior(QAbstractItemView::SelectRows);
    SGrdRecvData->setSelectionMode(QAbstractItemView::SingleSelection);
    SGrdRecvData->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SGrdRecvData->verticalHeader()->hide();
    SGrdRecvData->setColumnCount(5);
    SGrdRecvData->setHorizontalHeaderLabels({QStringLiteral("수신일자"), QStringLiteral("은행"),
                                             QStringLiteral("화일명"), QStringLiteral("이체일자"),
                                             QStringLiteral("자료건수")});
    const int widths[] = {60, 80, 90, 60, 50};
    for (int i = 0; i < 5; ++i)
        SGrdRecvData->setColumnWidth(i, widths[i] + 20);
    lay->addWidget(SGrdRecvData);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    bbtnOK = new QPushButton(QStringLiteral("확인"), this);
    bbtnCncl = new QPushButton(QStringLiteral("취소"), this);
    buttons->addWidget(bbtnOK);
    buttons->addWidget(bbtnCncl);
    lay->addLayout(buttons);
    connect(bbtnOK, &QPushButton::clicked, this, &TFrmM102B08::bbtnOKClick);
    connect(bbtnCncl, &QPushButton::clicked, this, &TFrmM102B08::bbtnCnclClick);
    connect(SGrdRecvData, &QTableWidget::cellDoubleClicked, this, [this] { SGrdRecvDataDblClick(); });
    resize(460, 320);
}

QString TFrmM102B08::yearMon() const {
    return TDMLib::DigitsOnly(MEdtYearMon->text());
}
QString TFrmM102B08::seqNo() const {
    return TDMLib::DigitsOnly(MEdtSeqNo->text());
}
void TFrmM102B08::setBankText(const QString& v) {
    bankText_ = v;
    LoadFileList();
}
void TFrmM102B08::setGroupText(const QString& v) {
    groupText_ = v;
}
void TFrmM102B08::setYearMon(const QString& v) {
    MEdtYearMon->setText(v);
}
void TFrmM102B08::setSeqNo(const QString& v) {
    MEdtSeqNo->setText(v);
}

void TFrmM102B08::LoadFileList() {
    files_ = bankText_.isEmpty()
                 ? QList<ResultFileInfo>{}
                 : DistribResult::filesForBank(DMLib->dir(QStringLiteral("recv")), bankText_.left(2));
    SGrdRecvData->clearContents();
    SGrdRecvData->setRowCount(std::max<qsizetype>(1, files_.size()));
    const QLocale loc(QLocale::Korean);
    for (int r = 0; r < files_.size(); ++r) {
        const ResultFileInfo& f = files_[r];
        const QStringList cells{f.recvDate, DMData->GetBankName(f.bankCd), f.fileName,
                                ResultFile::transferDateColumn(f.transferDate),
                                loc.toString(f.dataCount).rightJustified(10)};
        for (int c = 0; c < 5; ++c)
            SGrdRecvData->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    if (!files_.isEmpty()) SGrdRecvData->selectRow(0);
}

void TFrmM102B08::SGrdRecvDataDblClick() {
    const int row = SGrdRecvData->currentRow();
    if (row < 0 || row >= files_.size()) return;
    ResultApplyRequest req;
    req.path = files_[row].path;
    req.workBank = bankText_.left(2);
    req.gcode = groupText_.left(2);
    req.yearMon = yearMon();
    req.seqNo = seqNo();
    req.listBankName = SGrdRecvData->item(row, 1)->text();
    req.listTransferDate = SGrdRecvData->item(row, 3)->text();
    req.listCount = SGrdRecvData->item(row, 4)->text();
    const ResultApplyOutcome o = DistribResult::apply(req);
    for (const MsgBox& b : o.messages)
        Msg::show(b.caption, b.text, b.icon, b.buttons, this);
    switch (o.status) {
    case ResultApplyOutcome::Status::Applied:
        appliedTable_ = o.roundTable;
        accept();
        break;
    case ResultApplyOutcome::Status::Refused:
        reject();
        break;
    case ResultApplyOutcome::Status::Invalid:
    case ResultApplyOutcome::Status::NeedRound:
        break;
    }
}
