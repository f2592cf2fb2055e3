#include "transfers/common/RowEdits.h"

#include "data/DMBank.h"
#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "shared/InputCheck.h"
#include "transfers/common/CollectionListing.h"
#include "transfers/common/CollectionRound.h"

#include <QDate>
#include <QVariantList>

#include <functional>

namespace RowEdit {

namespace {

const QString kMenu = QStringLiteral("집금이체");

// "항목그룹 : G, 회차:yyyymm-ss, 학번:S, 성명:N, 항목:I"
QString lineHead(const QString& tag, const Round& r, const Row& row) {
    return tag + QStringLiteral(" 항목그룹 : ") + r.groupText + QStringLiteral(", 회차:") + r.yearMon +
           QLatin1Char('-') + r.seqNo + QStringLiteral(", 학번:") + row.sno + QStringLiteral(", 성명:") +
           row.nm + QStringLiteral(", 항목:") + row.itemName;
}

Result failed(const QString& why) {
    Result res;
    res.error = why;
    return res;
}

// A value its dialog would have refused: the dialog's box, nothing written.
Result refused(const QString& caption, const QString& text) {
    Result res;
    res.outcome = Outcome::Refused;
    res.caption = caption;
    res.error = text;
    return res;
}

const QString kAmountCaption = QStringLiteral("금액입력오류");
const int kUnpaidWidth = 30;

QString quotedRound(const Round& r) {
    return Database::isRoundTableName(r.table()) ? Database::quoted(r.table()) : QString();
}

// Runs one statement with its values; affected rows into *n.
bool run(const QString& sql, const QVariantList& binds, QString* error, int* n = nullptr) {
    Query q(sql);
    for (const QVariant& v : binds)
        q.add(v);
    if (!q.exec()) {
        *error = q.error();
        return false;
    }
    if (n) *n = q.affected();
    return true;
}

// One change with its log lines in one transaction. change returns the rows
// it changed (0: the row is gone, nothing is logged) or -1 on failure.
Result inTransaction(const std::function<int(QString*, QStringList*)>& change) {
    Transaction tx;
    if (!tx.ok()) return failed(QStringLiteral("데이터베이스를 사용할 수 없습니다."));
    QString error;
    QStringList logs;
    const int n = change(&error, &logs);
    if (n < 0) return failed(error);
    Result res;
    res.rows = n;
    if (n == 0) {
        res.outcome = Outcome::NotFound;
        return res;
    }
    for (const QString& l : logs)
        if (!DMLib->WriteJobLog(kMenu, l)) return failed(QStringLiteral("작업내역을 기록할 수 없습니다."));
    if (!tx.commit()) return failed(QStringLiteral("저장할 수 없습니다."));
    res.outcome = Outcome::Done;
    return res;
}

// Updates the one row of the round by its key.
int updateRow(const Round& r, const Row& row, const QString& assignments, QVariantList binds, QString* error) {
    const QString t = quotedRound(r);
    if (t.isEmpty() || !Database::tableExists(r.table())) return 0;
    binds << r.yearMon << r.seqNo << row.sno << row.itemCd;
    int n = 0;
    if (!run(QStringLiteral("update %1 set %2 where YearMon = ? and SeqNo = ? and SNo = ? and ItemCd = ?")
                 .arg(t, assignments),
             binds, error, &n))
        return -1;
    return n;
}

} // namespace

Row fromCells(const QStringList& c) {
    Row r;
    r.sno = c.value(ColSNo);
    r.nm = c.value(ColNm);
    r.itemName = c.value(ColItem);
    r.bankCd = c.value(ColBank);
    r.acctNo = c.value(ColAcct);
    r.amt = c.value(ColAmt);
    r.exempTy = c.value(ColExemp);
    r.replyTy = c.value(ColReply);
    r.unpaid = c.value(ColUnpaid);
    r.custNo = c.value(ColCustNo);
    r.gcode = c.value(ColGcode);
    r.itemCd = c.value(ColItemCd);
    return r;
}

std::optional<qint64> parseAmount(const QString& text) {
    return InputCheck::wholeWon(text);
}

// ---- exemption

ExempStep exempStep(const QString& cell) {
    ExempStep s;
    if (cell == QLatin1String("1")) {
        s = {true, QStringLiteral("0"),
             QStringLiteral("해당 항목을 영구 '전액면제' 처리하겠습니까?\r\r'예'를 클릭하시면 다음회차에도 "
                            "'전액면제' 처리됩니다."),
             QStringLiteral("전액면제"), 1, QStringLiteral("면제여부: Y [전액면제]")};
    } else if (cell == QLatin1String("0")) {
        s = {true, QStringLiteral("2"),
             QStringLiteral("해당 항목을 영구 '부분면제' 처리하겠습니까?\r\r'예'를 클릭하시면 다음회차에도 "
                            "'부분면제' 처리됩니다."),
             QStringLiteral("부분면제"), 2, QStringLiteral("면제여부: Y [부분면제]")};
    } else if (cell == QLatin1String("2")) {
        s = {true, QStringLiteral("1"),
             QStringLiteral("해당 항목을 영구 비면제 처리하겠습니까?\r\r'예'를 클릭하시면 다음회차에도 "
                            "'비면제' 처리됩니다."),
             QStringLiteral("면제해제"), 0, QStringLiteral("면제여부: N [면제해제]")};
    }
    return s;
}

Result changeExemption(const Round& r, const Row& row, const ExempStep& step, bool permanent) {
    if (!step.valid) return failed(QStringLiteral("면제 구분이 올바르지 않습니다."));
    return inTransaction([&](QString* error, QStringList* logs) -> int {
        if (permanent) {
            // M_EXEMP names the item by its code; the row holds the ItemID
            // of its own group.
            Query it(QStringLiteral("select ItemCd, ItemAmt from C_ITEM where Gcode = ? and ItemID = ?"));
            it.add(row.gcode).add(row.itemCd);
            if (!it.exec()) {
                *error = it.error();
                return -1;
            }
            if (!it.next()) {
                *error = QStringLiteral("항목그룹 %1의 항목 %2이(가) 없습니다.").arg(row.gcode, row.itemCd);
                return -1;
            }
            const QString itemCd = it.str(0);
            const qint64 itemAmt = it.num(1);
            const QString custNo = row.custNo.trimmed();
            const QString regTail = QStringLiteral(" 항목그룹 : ") + r.groupText + QStringLiteral(", 학번:") +
                                    row.sno + QStringLiteral(", 성명:") + row.nm + QStringLiteral(", 항목:") +
                                    row.itemName;
            if (step.kind == 0) {
                int n = 0;
                if (!run(QStringLiteral("delete from M_EXEMP where CustNo = ? and ItemCd = ?"), {custNo, itemCd},
                         error, &n))
                    return -1;
                if (n > 0) *logs << QStringLiteral("[면제삭제]") + regTail;
            } else {
                const QString free = step.kind == 1 ? QStringLiteral("A") : QStringLiteral("P");
                int n = 0;
                if (!run(QStringLiteral("update M_EXEMP set Free = ? where CustNo = ? and ItemCd = ?"),
                         {free, custNo, itemCd}, error, &n))
                    return -1;
                if (n == 0 && !Database::insertRow(QStringLiteral("M_EXEMP"),
                                                   {{QStringLiteral("CustNo"), custNo},
                                                    {QStringLiteral("ItemCd"), itemCd},
                                                    {QStringLiteral("Itemval"), itemAmt},
                                                    {QStringLiteral("Free"), free}},
                                                   error))
                    return -1;
                *logs << QStringLiteral("[면제등록]") + regTail;
            }
        }
        *logs << lineHead(QStringLiteral("[면제수정]"), r, row) + step.logEnding;
        // The amount stays: the request file leaves wholly exempt rows out by
        // their ExempTy.
        return updateRow(r, row, QStringLiteral("ExempTy = ?"), {step.next}, error);
    });
}

// ---- one amount, unpaid reason, remark

Result editAmount(const Round& r, const Row& row, const QString& amountText) {
    if (const QString p = InputCheck::amountProblem(amountText); !p.isEmpty())
        return refused(kAmountCaption, p);
    const qint64 amount = *InputCheck::wholeWon(amountText);
    return inTransaction([&](QString* error, QStringList* logs) -> int {
        if (amount == 0) {
            *logs << lineHead(QStringLiteral("[금액수정]"), r, row) + QStringLiteral(", 금액:0, 면제여부:Y");
            return updateRow(r, row, QStringLiteral("Amt = 0, ExempTy = '0'"), {}, error);
        }
        *logs << lineHead(QStringLiteral("[금액수정]"), r, row) + QStringLiteral(", 금액:") +
                     QString::number(amount);
        return updateRow(r, row, QStringLiteral("Amt = ?"), {amount}, error);
    });
}

Result editUnpaid(const Round& r, const Row& row, const QString& text) {
    if (const QString p = InputCheck::textProblem(QStringLiteral("미납사유"), text, kUnpaidWidth);
        !p.isEmpty())
        return refused(QStringLiteral("미납사유"), p);
    return inTransaction([&](QString* error, QStringList* logs) -> int {
        *logs << lineHead(QStringLiteral("[미납사유입력]"), r, row) + QStringLiteral(", 미납사유:") + text;
        return updateRow(r, row, QStringLiteral("Unpaid = ?"), {Database::storable(text)}, error);
    });
}

Result editBigo(const Round& r, const Row& row, const QString& text) {
    const QString t = text.trimmed();
    const QString caption = QStringLiteral("비고란 사용자 입력");
    // The dialog's OK stays disabled while the remark is blank.
    if (t.isEmpty()) return refused(caption, QStringLiteral("비고를 입력하세요!!"));
    if (const QString p = InputCheck::textProblem(QStringLiteral("비고"), t, kUnpaidWidth); !p.isEmpty())
        return refused(caption, p);
    return inTransaction([&](QString* error, QStringList* logs) -> int {
        *logs << lineHead(QStringLiteral("[비고란입력]"), r, row) + QStringLiteral(", ") + t;
        return updateRow(r, row, QStringLiteral("Unpaid = ?"), {Database::storable(t)}, error);
    });
}

// ---- account

Result changeAccount(const Round& r, const Row& row, const QString& bankEntry, const QString& acctNo) {
    const QString bank = bankEntry.left(2);
    const QString acct = acctNo.trimmed();
    const QString custNo = row.custNo.trimmed();
    if (custNo.isEmpty()) return failed(QStringLiteral("납부자번호가 없습니다."));
    // The dialog's rules: a listed bank, and an account that bank takes
    // ("은행없음" takes any account that fits the column).
    bool listed = bank == QLatin1String("99");
    for (const QString& b : DMData->BankTexts())
        listed = listed || (bank.size() == 2 && b.startsWith(bank));
    const bool accountOk = bank == QLatin1String("99")
                               ? InputCheck::textProblem(QStringLiteral("계좌번호"), acct, 16).isEmpty()
                               : DMBankLib->CheckAcctNo(bank, acct);
    if (!listed || !accountOk)
        return refused(QStringLiteral("계좌번호오류"), QStringLiteral("계좌번호가 잘못되었습니다!"));
    return inTransaction([&](QString* error, QStringList* logs) -> int {
        int total = 0;
        // Every collection round, whatever quarter is shown: the payer's
        // unprocessed rows all go to the new account.
        for (const QString& t : CollectionRound::roundTables()) {
            int n = 0;
            if (!run(QStringLiteral("update %1 set BankCd = ?, AcctNo = ? where CustNo = ? and ReplyTy = '0'")
                         .arg(Database::quoted(t)),
                     {bank, Database::storable(acct), custNo}, error, &n))
                return -1;
            total += n;
        }
        int m = 0;
        if (!run(QStringLiteral("update M_CUST set BankCd = ?, AcctNo = ?, AcctRegYn_1 = 'N', AcctRegYn_2 = 'N' "
                                "where CustNo = ?"),
                 {bank, Database::storable(acct), custNo}, error, &m))
            return -1;
        *logs << lineHead(QStringLiteral("[계좌번호수정]"), r, row) + QStringLiteral(", 은행:") + bankEntry +
                     QStringLiteral(", 계좌번호:") + acctNo +
                     QStringLiteral(" ==>학생명부 및 다른회차에 미처리된 건도 모두 변경됨.");
        // The roster row alone counts as a change: the payer may have no
        // unprocessed row left.
        return total + m;
    });
}

// ---- bulk amount

// Names the window's item group, like every line of the window; the dialog's
// student group shows only in the rows it changed.
QString bulkLogLine(const Round& r, const BulkAmount& b, bool failed) {
    return (failed ? QStringLiteral("[금액수정실패] 항목그룹 : ") : QStringLiteral("[금액수정] 항목그룹 : ")) +
           r.groupText + QStringLiteral(", 회차:") + r.yearMon + QLatin1Char('-') + r.seqNo +
           QStringLiteral(", 학번:") + b.sno + QStringLiteral(", 성명:") + b.rowNm + QStringLiteral(", 항목:") +
           b.itemId + QStringLiteral(", 이체:") + b.rowReply;
}

Result bulkAmount(const Round& r, const BulkAmount& b) {
    // The dialog asks for a whole-won amount in one box.
    if (!InputCheck::wholeWon(b.amount)) return refused(kAmountCaption, QStringLiteral("금액을 입력하세요!"));
    const qint64 amount = *InputCheck::wholeWon(b.amount);
    const QString t = quotedRound(r);
    if (t.isEmpty() || !Database::tableExists(r.table())) return failed(QStringLiteral("회차가 없습니다."));
    const QString item = b.itemId.trimmed();
    const QString grp = b.grpNm.trimmed();
    const QString sno = b.sno;
    QString x = QStringLiteral(" and (ExempTy = '1'");
    if (b.partFree) x += QStringLiteral(" or ExempTy = '2'");
    if (b.allFree) x += QStringLiteral(" or ExempTy = '0'");
    x += QStringLiteral(")");
    const QString u = QStringLiteral("update %1 set Amt = ? where ReplyTy = '0'").arg(t);

    // Three rules, each built from scratch; the last that applies wins, so a
    // student condition drops the group, and one student's rows change
    // whatever their exemption.
    QString sql;
    QVariantList binds{amount};
    if (!item.isEmpty()) {
        sql = u + x + QStringLiteral(" and ItemCd = ?");
        binds = {amount, item};
    }
    if (!grp.isEmpty()) {
        sql = u + x;
        binds = {amount};
        if (!item.isEmpty()) {
            sql += QStringLiteral(" and ItemCd = ?");
            binds << item;
        }
        sql += QStringLiteral(" and GrpNm = ?");
        binds << grp;
    }
    if (!sno.isEmpty()) {
        sql = u;
        binds = {amount};
        if (!item.isEmpty()) {
            sql += QStringLiteral(" and ItemCd = ?");
            binds << item;
        }
        if (sno.size() == SNoLen)
            sql += QStringLiteral(" and SNo = ?");
        else if (sno.size() == 3)
            sql += x + QStringLiteral(" and substr(SNo, 1, 3) = ?");
        else if (sno.size() == 1)
            sql += x + QStringLiteral(" and substr(SNo, 1, 1) = ?");
        else
            sql.clear(); // no student condition of that shape: never every row
        binds << sno;
    }
    Result res;
    if (sql.isEmpty()) {
        DMLib->WriteJobLog(kMenu, bulkLogLine(r, b, true));
        res.outcome = Outcome::NotFound;
        return res;
    }
    Transaction tx;
    QString error;
    int n = 0;
    if (!tx.ok() || !run(sql, binds, &error, &n) || !DMLib->WriteJobLog(kMenu, bulkLogLine(r, b, false)) ||
        !tx.commit()) {
        tx.rollback();
        DMLib->WriteJobLog(kMenu, bulkLogLine(r, b, true));
        return failed(error.isEmpty() ? QStringLiteral("저장할 수 없습니다.") : error);
    }
    res.outcome = Outcome::Done;
    res.rows = n;
    return res;
}

// ---- status change

namespace {

struct Assign {
    QString action;
    QString sql;
    QVariantList binds;
    bool refund = false;
};

Assign assignment(const QString& replyTy, const StatusChange& c) {
    const auto refund = [&c](const QString& action) {
        return Assign{action,
                      QStringLiteral("ReplyTy = '3', ReplyCd = '00', REAmt = ?, ReDt = ?"),
                      {InputCheck::wholeWon(c.amount).value_or(0), c.date},
                      true};
    };
    if (replyTy == QLatin1String("0"))
        return {QStringLiteral("[미처리->현금수납]"),
                QStringLiteral("ReplyTy = '2', ProcDt = ?, ReplyCd = '00', ReDt = NULL, REAmt = 0"),
                {c.date}};
    if (replyTy == QLatin1String("1")) return refund(QStringLiteral("[정상이체->환불]"));
    if (replyTy == QLatin1String("2")) {
        if (c.selReplyTy == 0)
            return {QStringLiteral("[현금수납->미처리]"),
                    QStringLiteral("ReplyTy = '0', ReplyCd = NULL, REAmt = 0, ProcDt = NULL, ReDt = NULL"),
                    {}};
        return refund(QStringLiteral("[현금수납->환불]"));
    }
    if (replyTy == QLatin1String("3")) {
        if (c.selReplyTy == 1)
            return {QStringLiteral("[환불->자동이체]"),
                    QStringLiteral("ReplyTy = '1', ReplyCd = '00', REAmt = 0, ProcDt = ?, ReDt = NULL"),
                    {c.date}};
        if (c.selReplyTy == 2)
            return {QStringLiteral("[환불->현금수납]"),
                    QStringLiteral("ReplyTy = '2', ReplyCd = '00', REAmt = 0, ProcDt = ?, ReDt = NULL"),
                    {c.date}};
    }
    return {};
}

QString statusLine(const QString& action, const Round& r, const Row& row, const Assign& a, qint64 amount) {
    QString l = action + QStringLiteral(" 항목그룹 : ") + r.groupText + QStringLiteral(", 년월회차:") + r.yearMon +
                QLatin1Char('-') + r.seqNo + QStringLiteral(", 학번:") + row.sno + QStringLiteral(", 성명:") +
                row.nm + QStringLiteral(", 항목:") + row.itemName;
    if (a.refund) l += QStringLiteral(" 금액:") + QString::number(amount);
    return l;
}

// The dialog's checks, made again on the values: a refund's amount is whole
// won, not 0 and not over the row's amount; a date is a real date.
Result statusRefusal(const QString& table, const Row& row, const StatusChange& c, const Assign& a) {
    if (a.refund) {
        const QString caption = QStringLiteral("환불금액 확인");
        const QString t = c.amount.trimmed();
        if (t.isEmpty() || t == QLatin1String("0"))
            return refused(caption, QStringLiteral("환불금액은 반드시 입력하셔야 합니다."));
        const std::optional<qint64> amount = InputCheck::wholeWon(t);
        if (!amount) return refused(caption, QStringLiteral("금액은 숫자로만 입력하세요!"));
        // "00" or "0,000" is no refund either.
        if (*amount == 0) return refused(caption, QStringLiteral("환불금액은 반드시 입력하셔야 합니다."));
        Query q(QStringLiteral("select Amt from %1 where SNo = ? and ItemCd = ?").arg(table));
        q.add(row.sno).add(row.itemCd);
        if (q.exec() && q.next() && q.num(0) < *amount)
            return refused(QString(), QStringLiteral("적용할 금액이 적절하지 않습니다."));
    }
    const bool dated = !a.binds.isEmpty() || a.refund;
    if (dated && !QDate::fromString(c.date, QStringLiteral("yyyyMMdd")).isValid())
        return refused(QStringLiteral("일자입력오류"),
                       QStringLiteral("일자가 올바르지 않습니다. yyyy-mm-dd 형식으로 입력하세요!!"));
    return {};
}

} // namespace

QString statusAction(const QString& replyTy, const StatusChange& c) {
    return assignment(replyTy, c).action;
}

Result changeStatus(const Round& r, const Row& row, const StatusChange& c) {
    const Assign a = assignment(row.replyTy, c);
    if (a.action.isEmpty()) return failed(QStringLiteral("이체여부를 바꿀 수 없는 상태입니다."));
    const QString t = quotedRound(r);
    if (t.isEmpty() || !Database::tableExists(r.table())) return failed(QStringLiteral("회차가 없습니다."));
    if (Result refusal = statusRefusal(t, row, c, a); refusal.outcome == Outcome::Refused) return refusal;
    const qint64 amount = InputCheck::wholeWon(c.amount).value_or(0);
    Result res = inTransaction([&](QString* error, QStringList* logs) -> int {
        *logs << statusLine(a.action, r, row, a, amount);
        QVariantList binds = a.binds;
        binds << row.sno << row.itemCd;
        int n = 0;
        if (!run(QStringLiteral("update %1 set %2 where SNo = ? and ItemCd = ?").arg(t, a.sql), binds, error, &n))
            return -1;
        return n;
    });
    if (res.outcome == Outcome::Failed) {
        QString failedAction = a.action;
        failedAction.insert(failedAction.size() - 1, QStringLiteral(" 실패"));
        DMLib->WriteJobLog(kMenu, statusLine(failedAction, r, row, a, amount));
    }
    return res;
}

} // namespace RowEdit
