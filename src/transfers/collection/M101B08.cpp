#include "transfers/collection/M101B08.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "transfers/common/ResultSplit.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QTableWidget>

TFrmM101B08::TFrmM101B08(const QString& bankText, const QString& groupText, QWidget* parent)
    : TResultFileDialog(bankText, groupText, parent) {
    buildRoundLine()->addStretch();
    PnlMv->setVisible(false);
    lblcheck = new QLabel(
        QStringLiteral("이체일자와 자료건수가 윗부분에 세팅되어 있는 년 월 회차에 \r\n\r\n맞는지 확인 후 "
                       "확인버튼을 누르셔야 합니다"),
        this);
    lblcheck->setVisible(false);
    addAboveList(lblcheck);
    buildFileList();
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
    // A damaged one is refused whole, with the box its application would show.
    for (const MsgBox& b : split.refusals)
        Msg::show(b.caption, b.text, b.icon, b.buttons, this);
    FillFileList();
}

void TFrmM101B08::FillFileList() {
    const QString bank = bankText_.left(2);
    showFiles(ResultFile::filesForBank(DMLib->dir(QStringLiteral("recv")), bank),
              [&bank](const ResultFileInfo& f) {
                  return (bank == QLatin1String("10") && f.bankCd == QLatin1String("11"))
                             ? QStringLiteral("신농협중앙")
                             : DMData->GetBankName(f.bankCd);
              });
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

ResultApplyOutcome TFrmM101B08::applyFile(const ResultApplyRequest& req) {
    return ResultApplier::apply(req);
}
