#include "transfers/collection/RowEditFlow.h"

#include "platform/ui/Msg.h"
#include "transfers/common/CollectionListing.h"
#include "transfers/common/CollectionRound.h"
#include "transfers/collection/WaitingFiles.h"

#include <QCoreApplication>

namespace RowEditFlow {

using RowEdit::Outcome;
using RowEdit::Result;
using RowEdit::Round;
using RowEdit::Row;

namespace {

const QString kReceived = QStringLiteral("이미 은행으로부터 결과가 수신된 자료입니다.\r\r");
const QString kReceivedCaption = QStringLiteral("수신완료내역 수정확인");

void plainBox(const QString& text, QWidget* parent) {
    Msg::show(QCoreApplication::applicationName(), text, MsgIcon::None, MsgButtons::Ok, parent);
}

bool received(const Round& r, const Row& row) {
    return CollectionRound::fileState(r.yearMon, r.seqNo, row.bankCd).receivedBack();
}

bool confirmReceived(const QString& text, const QString& caption, QWidget* parent) {
    return Msg::show(caption, kReceived + text, MsgIcon::Warning, MsgButtons::YesNo, parent) == MsgResult::Yes;
}

bool confirmAmountChange(const Round& r, const Row& row, QWidget* parent) {
    return !received(r, row) ||
           confirmReceived(QStringLiteral("금액설정이 변경될 경우 추가 이체자료에 반영됩니다.\r\r금액설정을 "
                                          "변경하시겠습니까?"),
                           kReceivedCaption, parent);
}

// A change that failed is said so; nothing reports it done.
void reportFailure(const Result& res, QWidget* parent) {
    if (res.outcome == Outcome::Refused) {
        if (res.caption.isEmpty())
            plainBox(res.error, parent);
        else
            Msg::error(res.caption, res.error, parent);
    }
    if (res.outcome == Outcome::Failed)
        Msg::error(QStringLiteral("오류"), QStringLiteral("자료를 저장하지 못했습니다.\r") + res.error, parent);
}

After relist() {
    return After{After::Relist, -1, {}};
}

After editExemption(const Round& r, const Row& row, QWidget* parent) {
    if (received(r, row) &&
        !confirmReceived(QStringLiteral("면제설정이 변경될 경우 추가 이체자료에 반영됩니다.\r\r면제설정을 "
                                        "변경하시겠습니까?"),
                         kReceivedCaption, parent))
        return {};
    const RowEdit::ExempStep step = RowEdit::exempStep(row.exempTy);
    if (!step.valid) return relist();
    const bool permanent =
        Msg::show(step.caption, step.question, MsgIcon::Question, MsgButtons::YesNo, parent) == MsgResult::Yes;
    reportFailure(RowEdit::changeExemption(r, row, step, permanent), parent);
    return relist();
}

After editAmount(const Round& r, const Row& row, const Dialogs& d, QWidget* parent) {
    if (!confirmAmountChange(r, row, parent)) return {};
    if (const std::optional<QString> a = d.amount(row))
        reportFailure(RowEdit::editAmount(r, row, *a), parent);
    return relist();
}

After editRemark(const Round& r, const Row& row, const Dialogs& d, QWidget* parent) {
    const bool unprocessed = row.replyTy == QLatin1String("0");
    const std::optional<QString> text = unprocessed ? d.unpaid(row) : d.bigo();
    if (!text) return {};
    const Result res = unprocessed ? RowEdit::editUnpaid(r, row, *text) : RowEdit::editBigo(r, row, *text);
    reportFailure(res, parent);
    if (!res.done()) return {};
    return After{After::SetCell, ColUnpaid, unprocessed ? *text : text->trimmed()};
}

After editAccount(const Round& r, const Row& row, const Dialogs& d, QWidget* parent) {
    const std::optional<AccountInput> a = d.account(row);
    if (!a) return {};
    reportFailure(RowEdit::changeAccount(r, row, a->bankEntry, a->acctNo), parent);
    return relist();
}

} // namespace

bool waitingOffer(const Round& r, const Row& row, const Dialogs& d, QWidget* parent) {
    if (!CollectionRound::fileState(r.yearMon, r.seqNo, row.bankCd).waiting()) return true;
    if (Msg::show(QStringLiteral("수신대기파일"),
                  QStringLiteral("수신대기상태인 자료입니다.\r\r수신대기중인 파일을 삭제하고 새로 작성하시겠습니까?"),
                  MsgIcon::Question, MsgButtons::YesNo, parent) != MsgResult::Yes) {
        plainBox(QStringLiteral("수신대기상태인 자료입니다."), parent);
        return false;
    }
    return d.delFile(WaitingFiles::list(r.yearMon, r.seqNo, row.bankCd));
}

After dblClick(const Round& r, const Row& row, int col, const Dialogs& d, QWidget* parent) {
    if (row.sno.isEmpty()) return {};
    if (!waitingOffer(r, row, d, parent)) return {};
    if (row.replyTy != QLatin1String("0") && col != ColReply && col != ColUnpaid) {
        if (row.replyTy == QLatin1String("1"))
            plainBox(QStringLiteral("정상이체건에 대해서 해당 셀은 수정할 수 없습니다."), parent);
        else if (row.replyTy == QLatin1String("2"))
            plainBox(QStringLiteral("현금수납건에 대해서 해당 셀은 수정할 수 없습니다."), parent);
        else if (row.replyTy == QLatin1String("3"))
            plainBox(QStringLiteral("환불건에 대해서 해당 셀은 수정할 수 없습니다."), parent);
        return {};
    }
    switch (col) {
    case ColExemp:
        return editExemption(r, row, parent);
    case ColReply:
        // Exempt rows are left alone here; the button reaches them.
        if (row.exempTy == QLatin1String("1")) return changeStatus(r, row, d, parent);
        return {};
    case ColNm:
    case ColAmt:
        return editAmount(r, row, d, parent);
    case ColUnpaid:
        return editRemark(r, row, d, parent);
    case ColBank:
    case ColAcct:
        return editAccount(r, row, d, parent);
    default:
        return {};
    }
}

After bulkAmount(const Round& r, const Row& row, const Dialogs& d, QWidget* parent) {
    if (row.replyTy != QLatin1String("0")) {
        plainBox(QStringLiteral("금액수정 대상건이 아닙니다."), parent);
        return {};
    }
    if (!confirmAmountChange(r, row, parent)) return {};
    if (!waitingOffer(r, row, d, parent)) return {};
    std::optional<BulkInput> b = d.bulk(row);
    if (!b) return {};
    b->rowNm = row.nm;
    b->rowReply = row.replyTy;
    const Result res = RowEdit::bulkAmount(r, *b);
    if (res.outcome == Outcome::NotFound) {
        // Nothing picked: no rule says which rows to change.
        Msg::error(QStringLiteral("금액수정"),
                   QStringLiteral("금액을 수정할 항목, 학생그룹 또는 학번을 선택하세요!!"), parent);
        return {};
    }
    reportFailure(res, parent);
    return relist();
}

After changeStatus(const Round& r, const Row& row, const Dialogs& d, QWidget* parent) {
    if (row.sno.isEmpty()) return {};
    if (received(r, row)) {
        const bool paid = row.replyTy == QLatin1String("1") || row.replyTy == QLatin1String("2");
        const bool yes =
            paid ? confirmReceived(QStringLiteral("이체내역을 수정 하시겠습니까?"), kReceivedCaption, parent)
                 : confirmReceived(QStringLiteral("현금수납처리하면 추가 이체자료에 반영됩니다.\r\r현금수납 "
                                                  "처리하시겠습니까?"),
                                   QStringLiteral("수신완료내역 현금수납확인"), parent);
        if (!yes) return {};
    }
    if (!waitingOffer(r, row, d, parent)) return {};
    const std::optional<RowEdit::StatusChange> c = d.status(row);
    if (!c) return {};
    bool ok = false;
    const qint64 amt = row.amt.toLongLong(&ok);
    if (ok && amt < RowEdit::parseAmount(c->amount).value_or(0)) {
        plainBox(QStringLiteral("적용할 금액이 적절하지 않습니다."), parent);
        return {};
    }
    reportFailure(RowEdit::changeStatus(r, row, *c), parent);
    return relist();
}

} // namespace RowEditFlow
