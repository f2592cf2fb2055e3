#include "transfers/common/ResultDialog.h"

#include "data/DMModule.h"
#include "platform/ui/GridFit.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

TResultFileDialog::TResultFileDialog(const QString& bankText, const QString& groupText, QWidget* parent)
    : QDialog(parent), bankText_(bankText), groupText_(groupText) {
    setWindowTitle(QStringLiteral("파일풀기"));
    lay_ = new QVBoxLayout(this);
}

QHBoxLayout* TResultFileDialog::buildRoundLine() {
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
    mv->addWidget(MEdtSeqNo);
    lay_->addWidget(PnlMv);
    return mv;
}

void TResultFileDialog::addAboveList(QWidget* w) {
    lay_->addWidget(w);
}

void TResultFileDialog::buildFileList() {
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
    // The clerk checks the transfer date and the count against the round:
    // every column shows whole, the widest values they hold included.
    const QString widest[] = {QStringLiteral("0000.00.00"), QString(), QStringLiteral("00000000.000"),
                              QStringLiteral("0000.00.00"), QStringLiteral("9,999,999").rightJustified(10)};
    for (int i = 0; i < 5; ++i)
        GridFit::widen(SGrdRecvData, i, widest[i]);
    GridFit::showAllColumns(SGrdRecvData);
    lay_->addWidget(SGrdRecvData);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    bbtnOK = new QPushButton(QStringLiteral("확인"), this);
    bbtnCncl = new QPushButton(QStringLiteral("취소"), this);
    buttons->addWidget(bbtnOK);
    buttons->addWidget(bbtnCncl);
    lay_->addLayout(buttons);
    connect(bbtnOK, &QPushButton::clicked, this, &TResultFileDialog::bbtnOKClick);
    connect(bbtnCncl, &QPushButton::clicked, this, &TResultFileDialog::bbtnCnclClick);
    connect(SGrdRecvData, &QTableWidget::cellDoubleClicked, this, [this] { SGrdRecvDataDblClick(); });
}

QString TResultFileDialog::yearMon() const {
    return TDMLib::DigitsOnly(MEdtYearMon->text());
}

QString TResultFileDialog::seqNo() const {
    return TDMLib::DigitsOnly(MEdtSeqNo->text());
}

void TResultFileDialog::showFiles(QList<ResultFileInfo> files,
                                  const std::function<QString(const ResultFileInfo&)>& bankName) {
    files_ = std::move(files);
    SGrdRecvData->clearContents();
    SGrdRecvData->setRowCount(std::max<qsizetype>(1, files_.size()));
    const QLocale loc(QLocale::Korean);
    for (int r = 0; r < files_.size(); ++r) {
        const ResultFileInfo& f = files_[r];
        const QStringList cells{f.recvDate, bankName(f), f.fileName,
                                ResultFile::transferDateColumn(f.transferDate),
                                loc.toString(f.dataCount).rightJustified(10)};
        for (int c = 0; c < 5; ++c)
            SGrdRecvData->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    GridFit::widenToContents(SGrdRecvData);
    GridFit::showAllColumns(SGrdRecvData);
    lay_->activate();
    if (width() < minimumWidth()) resize(minimumWidth(), height());
    if (!files_.isEmpty()) SGrdRecvData->selectRow(0);
}

void TResultFileDialog::SGrdRecvDataDblClick() {
    const int row = SGrdRecvData->currentRow();
    if (row < 0 || row >= files_.size()) return;
    applyRow(row);
}

void TResultFileDialog::applyRow(int row) {
    ResultApplyRequest req;
    req.path = files_[row].path;
    req.workBank = bankText_.left(2);
    req.gcode = groupText_.left(2);
    req.yearMon = yearMon();
    req.seqNo = seqNo();
    req.listBankName = SGrdRecvData->item(row, 1)->text();
    req.listTransferDate = SGrdRecvData->item(row, 3)->text();
    req.listCount = SGrdRecvData->item(row, 4)->text();
    const ResultApplyOutcome o = applyFile(req);
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
