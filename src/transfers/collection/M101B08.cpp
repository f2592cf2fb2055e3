#include "transfers/collection/M101B08.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "transfers/common/ResultSplit.h"

#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

TFrmM101B08::TFrmM101B08(const QString& bankText, const QString& groupText, QWidget* parent)
    : QDialog(parent), bankText_(bankText), groupText_(groupText) {
    setWindowTitle(QStringLiteral("파일풀기"));
    auto* lay = new QVBoxLayout(this);
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
    mv->addStretch();
    PnlMv->setVisible(false);
    lay->addWidget(PnlMv);
    lblcheck = new QLabel(
        QStringLiteral("이체일자와 자료건수가 윗부분에 세팅되어 있는 년 월 회차에 \r\n\r\n맞는지 확인 후 "
                       "확인버튼을 누르셔야 합니다"),
        this);
    lblcheck->setVisible(false);
    lay->addWidget(lblcheck);
    SGrdRecvData = new QTableWidget(this);
    SGrdRecvData->setSelectionBehavior(QAbstractItemView::SelectRows);
    SGrdRecvData->setSelectionMode(QAbstractItemView::SingleSelection);
    SGrdRecvData->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SGrdRecvData->verticalHeader()->hide();
    lay->addWidget(SGrdRecvData);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    bbtnOK = new QPushButton(QStringLiteral("확인"), this);
    bbtnCncl = new QPushButton(QStringLiteral("취소"), this);
    buttons->addWidget(bbtnOK);
    buttons->addWidget(bbtnCncl);
    lay->addLayout(buttons);
    connect(bbtnOK, &QPushButton::clicked, this, &TFrmM101B08::bbtnOKClick);
    connect(bbtnCncl, &QPushButton::clicked, this, &TFrmM101B08::bbtnCnclClick);
    connect(SGrdRecvData, &QTableWidget::cellDoubleClicked, this, [this] { SGrdRecvDataDblClick(); });
    resize(420, 320);
    FormCreate();
}

void TFrmM101B08::FormCreate() {
    const ResultSplit::Outcome split = ResultSplit::splitMultiRoundFiles(DMLib->dir(QStringLiteral("recv")));
    // A file that could not be split stays whole; applied as it is, it would
    // mark one round with the results of another.
    for (const QString& name : split.errors)
        Msg::error(QStringLiteral("화일처리 오류"),
                   QStringLiteral("여러 회차의 결과파일을 회차별로 나누지 못했습니다.\r"
                                  "받은 파일 정리 후 다시 파일풀기 하세요.\r화일명: ") +
                       name,
                   this);
    SGrdRecvData->setColumnCount(5);
    SGrdRecvData->setHorizontalHeaderLabels({QStringLiteral("수신일자"), QStringLiteral("은행"),
                                             QStringLiteral("화일명"), QStringLiteral("이체일자"),
                                             QStringLiteral("자료건수")});
    const int widths[] = {60, 80, 90, 60, 50};
    for (int i = 0; i < 5; ++i)
        SGrdRecvData->setColumnWidth(i, widths[i] + 20);
    FillFileList();
}

void TFrmM101B08::FillFileList() {
    const QString bank = bankText_.left(2);
    files_ = ResultFile::filesForBank(DMLib->dir(QStringLiteral("recv")), bank);
    SGrdRecvData->setRowCount(std::max<qsizetype>(1, files_.size()));
    SGrdRecvData->clearContents();
    const QLocale loc(QLocale::Korean);
    for (int r = 0; r < files_.size(); ++r) {
        const ResultFileInfo& f = files_[r];
        const QString bankName = (bank == QLatin1String("10") && f.bankCd == QLatin1String("11"))
                                     ? QStringLiteral("신농협중앙")
                                     : DMData->GetBankName(f.bankCd);
        const QStringList cells{f.recvDate, bankName, f.fileName,
                                ResultFile::transferDateColumn(f.transferDate),
                                loc.toString(f.dataCount).rightJustified(10)};
        for (int c = 0; c < 5; ++c)
            SGrdRecvData->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    if (!files_.isEmpty()) SGrdRecvData->selectRow(0);
}

QString TFrmM101B08::yearMon() const {
    return TDMLib::DigitsOnly(MEdtYearMon->text());
}

QString TFrmM101B08::seqNo() const {
    return TDMLib::DigitsOnly(MEdtSeqNo->text());
}

void TFrmM101B08::SGrdRecvDataDblClick() {
    const int row = SGrdRecvData->currentRow();
    if (row < 0 || row >= files_.size()) return;
    const ResultFileInfo& f = files_[row];
    const ResultReader reader = ResultFile::chooseReader(f.bankCd, f.recLen);
    if (reader != ResultReader::NH80) {
        applyRow(row);
        return;
    }
    // Banks 10 and 11 in 80 bytes: the first listed file of the dialog's round.
    const QString round = yearMon() + seqNo();
    for (int r = 0; r < files_.size(); ++r) {
        QFile file(files_[r].path);
        if (!file.open(QIODevice::ReadOnly)) continue;
        const QByteArray head = file.readLine();
        if (QStringLiteral("20") + QString::fromLatin1(head.mid(31, 6)) == round) {
            SGrdRecvData->selectRow(r);
            applyRow(r);
            return;
        }
    }
}

void TFrmM101B08::applyRow(int row) {
    ResultApplyRequest req;
    req.path = files_[row].path;
    req.workBank = bankText_.left(2);
    req.gcode = groupText_.left(2);
    req.yearMon = yearMon();
    req.seqNo = seqNo();
    req.listBankName = SGrdRecvData->item(row, 1)->text();
    req.listTransferDate = SGrdRecvData->item(row, 3)->text();
    req.listCount = SGrdRecvData->item(row, 4)->text();
    const ResultApplyOutcome o = ResultApplier::apply(req);
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
