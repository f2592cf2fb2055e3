// dist round ... and dist request write: distribution rounds and their
// request file on plain values, with the boxes the window shows.
#include "driver/Driver.h"

#include "data/DMMain.h"
#include "platform/ui/Msg.h"
#include "transfers/common/RowEdits.h"
#include "transfers/distribution/DistribList.h"
#include "transfers/distribution/DistribRequest.h"
#include "transfers/distribution/DistribRound.h"
#include "transfers/distribution/M102B10.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonObject>

namespace {

using Driver::opt;
using Driver::listOpt;

const char* kUsage =
    "dist round create|add --ym YYYYMM [--seq SS] [--group 01] (--grades 1,2 --items ITEMCD,... | --groups "
    "GRP=ITEMCD,...) | dist round delete --ym --seq (--grades --items | --groups) | dist round list [--gcode 01] | "
    "dist request write --bank 20|21 --round yyyymm-ss --start yyyy-mm-dd [--end yyyy-mm-dd] [--group 01] "
    "[--account N] [--marks SNO/ITEMCD,...] | dist show --round yyyymm-ss [--group 01] [--bank BB] [--items C,..] "
    "[--sno DIGITS] [--procdt yyyymmdd] [--proc 0-2] [--reload] | dist student add --round yyyymm-ss --sno SNO "
    "--items ITEMCD,... [--group 01] | dist edit amount|bulk|delete --round yyyymm-ss [--group 01] "
    "[--sno SNO] [--item ITEMCD] [--amount A] | dist reset-date --round yyyymm-ss --date yyyymmdd [--group 01]";

QString groupText(const QString& gcode) {
    for (const QString& g : DMData->GroupTexts())
        if (g.left(2) == gcode) return g;
    return gcode;
}

QString itemLine(const QString& itemCd);

DistribRound::Target target(const QStringList& a) {
    const QString rk = opt(a, QStringLiteral("round"));
    return {groupText(opt(a, QStringLiteral("group"), QStringLiteral("01"))), rk.left(6), rk.mid(7, 2)};
}

int show(const QStringList& a) {
    const DistribRound::Target t = target(a);
    DistribList::Selection s;
    s.bankCd = opt(a, QStringLiteral("bank"), QStringLiteral("00"));
    s.itemCds = listOpt(a, QStringLiteral("items"));
    s.snoPrefix = opt(a, QStringLiteral("sno"));
    s.procDt = opt(a, QStringLiteral("procdt"));
    s.procIdx = opt(a, QStringLiteral("proc"), QStringLiteral("0")).toInt();
    // --reload: the listing after a result file (every row of the bank).
    const bool reload = a.contains(QStringLiteral("--reload"));
    const DistribList::Listing l = reload ? DistribList::reload(t, s.bankCd) : DistribList::list(t, s);
    if (!l.tableExists) {
        Msg::error(QStringLiteral("이체년월/회차오류"),
                   QStringLiteral("존재하지 않은 이체년월/회차입니다! 확인하시기 바랍니다."));
        return 1;
    }
    if (!l.error.isEmpty()) return Driver::fail(l.error);
    if (!l.wrongGroup.isEmpty()) {
        Msg::show(QCoreApplication::applicationName(), l.wrongGroup);
        return 1;
    }
    for (const DistribList::Row& r : l.rows)
        Driver::print(QJsonObject{{QStringLiteral("row"),
                                   QJsonObject{{QStringLiteral("SNo"), r.SNo},
                                               {QStringLiteral("Nm"), r.Nm},
                                               {QStringLiteral("ItemCd"), r.ItemCd},
                                               {QStringLiteral("BankCd"), r.BankCd},
                                               {QStringLiteral("AcctNo"), r.AcctNo},
                                               {QStringLiteral("Amt"), r.Amt},
                                               {QStringLiteral("ExempTy"), r.ExempTy},
                                               {QStringLiteral("ReplyTy"), r.ReplyTy},
                                               {QStringLiteral("ReplyCd"), r.ReplyCd},
                                               {QStringLiteral("ProcDt"), r.ProcDt}}}});
    Driver::print(QJsonObject{{QStringLiteral("rows"), int(l.rows.size())},
                              {QStringLiteral("totCnt"), l.procCnt + l.nonProcCnt},
                              {QStringLiteral("totAmt"), l.procAmt + l.nonProcAmt},
                              {QStringLiteral("procCnt"), l.procCnt},
                              {QStringLiteral("procAmt"), l.procAmt},
                              {QStringLiteral("nonProcCnt"), l.nonProcCnt},
                              {QStringLiteral("nonProcAmt"), l.nonProcAmt},
                              {QStringLiteral("exempCnt"), l.exempCnt},
                              {QStringLiteral("exempAmt"), l.exempAmt}});
    return 0;
}

// "학생추가": one student's items appended to the round.
int student(const QStringList& a) {
    if (a.value(0) != QLatin1String("add")) return Driver::fail(QString::fromUtf8(kUsage));
    const DistribRound::Target t = target(a.mid(1));
    const QString sno = opt(a, QStringLiteral("sno"));
    const std::optional<StudentAdd::Student> found = StudentAdd::findStudent(sno);
    if (!found) {
        Msg::error(QStringLiteral("입력오류"),
                   QStringLiteral("존재하지 않는 학번이거나 전출생입니다.\r확인 후 다시 입력하세요!!"));
        return 1;
    }
    DistribRound::StudentItems s{sno, found->nm, *found, listOpt(a, QStringLiteral("items")), {}};
    for (const QString& i : s.itemCds)
        s.itemLines << itemLine(i);
    const DistribRound::AddOutcome o = DistribRound::addStudent(t, s);
    if (!o.ok) {
        Msg::error(QStringLiteral("저장오류"), QStringLiteral("저장하지 못했습니다.\r") + o.error);
        return 1;
    }
    Msg::show(QStringLiteral("저장완료"), QStringLiteral("저장되었습니다!!"));
    Driver::print(QJsonObject{{QStringLiteral("added"), QJsonArray::fromStringList(o.added)},
                              {QStringLiteral("skipped"), QJsonArray::fromStringList(o.skipped)}});
    return 0;
}

int outcome(const DistribList::Result& r, const QString& failCaption, const QString& failText) {
    if (r.outcome == DistribList::Outcome::Failed) Msg::error(failCaption, failText + QStringLiteral("\r") + r.error);
    DistribList::showRefusal(r);
    Driver::print(QJsonObject{{QStringLiteral("done"), r.outcome == DistribList::Outcome::Done},
                              {QStringLiteral("rows"), r.rows}});
    return r.outcome == DistribList::Outcome::Done ? 0 : 1;
}

int edit(const QStringList& a) {
    const QString what = a.value(0);
    const DistribRound::Target t = target(a.mid(1));
    const QString sno = opt(a, QStringLiteral("sno")), item = opt(a, QStringLiteral("item"));
    QString nm;
    for (const DistribRow& r : DistribRequest::roundRows(t))
        if (r.SNo == sno && r.ItemCd == item) nm = r.Nm;
    if (what == QLatin1String("delete")) {
        if (Msg::show(QStringLiteral("학생삭제"),
                      QStringLiteral("학번 = ") + sno + QStringLiteral("\r성명 = ") + nm + QStringLiteral("\r항목 = ") +
                          DMData->GetItemName(item) + QStringLiteral("\r을  삭제하시겠습니까?"),
                      MsgIcon::Question, MsgButtons::YesNo) == MsgResult::No)
            return 1;
        return outcome(DistribList::deleteRow(t, sno, item, nm), QStringLiteral("오류"),
                       QStringLiteral("삭제하지 못했습니다."));
    }
    // The amount goes to the store as typed: it refuses what the dialogs
    // refuse, with their box.
    const QString amt = opt(a, QStringLiteral("amount"));
    if (what == QLatin1String("amount"))
        return outcome(DistribList::editAmount(t, sno, item, nm, amt), QStringLiteral("오류"),
                       QStringLiteral("자료를 저장하지 못했습니다."));
    if (what == QLatin1String("bulk"))
        return outcome(
            DistribList::bulkAmount(t, item + QLatin1Char('.') + DMData->GetItemName(item), sno, amt),
            QStringLiteral("파일풀기오류"), QStringLiteral("DB에 저장되지 않습니다.!!"));
    return Driver::fail(QString::fromUtf8(kUsage));
}

// "ItemID.ItemNm" of an item code, as the dialogs list it.
QString itemLine(const QString& itemCd) {
    Query q(QStringLiteral("select ItemID, ItemNm from C_ITEM where ItemCd = ?"));
    q.add(itemCd);
    return q.exec() && q.next() ? q.str(0) + QLatin1Char('.') + q.str(1) : itemCd;
}

QList<DistribRound::GroupPair> pairs(const QStringList& a) {
    QList<DistribRound::GroupPair> out;
    for (const QString& p : listOpt(a, QStringLiteral("groups"))) {
        const QString g = p.section(QLatin1Char('='), 0, 0), i = p.section(QLatin1Char('='), 1);
        out << DistribRound::GroupPair{g, i, QStringLiteral("%1 = %2").arg(g, -10).arg(itemLine(i))};
    }
    return out;
}

int report(const DistribRound::Target& t, const DistribRound::Outcome& o) {
    DistribRound::show(o);
    Driver::print(QJsonObject{{QStringLiteral("table"), t.table()},
                              {QStringLiteral("done"), o.kind == DistribRound::Outcome::Done},
                              {QStringLiteral("rows"), o.rows},
                              {QStringLiteral("dropped"), o.dropped}});
    return o.kind == DistribRound::Outcome::Done ? 0 : 1;
}

int round(const QStringList& a) {
    const QString sub = a.value(0);
    const QString gcode = opt(a, QStringLiteral("group"), QStringLiteral("01"));
    if (sub == QLatin1String("list")) {
        for (const QString& l : DistribRound::selectorLines(opt(a, QStringLiteral("gcode"))))
            Driver::print(QJsonObject{{QStringLiteral("line"), l}});
        return 0;
    }
    const QString ym = opt(a, QStringLiteral("ym"));
    if (ym.size() != 6) return Driver::fail(QString::fromUtf8(kUsage));
    DistribRound::Target t{groupText(gcode), ym, opt(a, QStringLiteral("seq"))};
    const QStringList grades = listOpt(a, QStringLiteral("grades")), items = listOpt(a, QStringLiteral("items"));
    QStringList lines;
    for (const QString& i : items)
        lines << itemLine(i);
    if (sub == QLatin1String("create") || sub == QLatin1String("add")) {
        if (t.seqNo.isEmpty()) t.seqNo = DistribRound::nextSeqNo(ym);
        if (DistribRound::exists(t) &&
            Msg::show(QStringLiteral("이체파일생성"),
                      QStringLiteral("이체년월/회차가 존재합니다! 이체자료를 추가하시겠습니까?"), MsgIcon::Question,
                      MsgButtons::YesNo) != MsgResult::Yes)
            return 1;
        if (a.contains(QStringLiteral("--groups"))) return report(t, DistribRound::createByGroup(t, pairs(a)));
        return report(t, DistribRound::createByGrade(t, grades, items, lines));
    }
    if (sub == QLatin1String("delete")) {
        if (a.contains(QStringLiteral("--groups"))) return report(t, DistribRound::deleteByGroup(t, pairs(a)));
        return report(t, DistribRound::deleteByGrade(t, grades, items, lines));
    }
    return Driver::fail(QString::fromUtf8(kUsage));
}

int request(const QStringList& a) {
    if (a.value(0) != QLatin1String("write")) return Driver::fail(QString::fromUtf8(kUsage));
    const QString rk = opt(a, QStringLiteral("round"));
    const QString bank = opt(a, QStringLiteral("bank"));
    DistribRequest::Run r;
    r.round = {groupText(opt(a, QStringLiteral("group"), QStringLiteral("01"))), rk.left(6), rk.mid(7, 2)};
    if (rk.size() != 9 || bank.isEmpty()) return Driver::fail(QString::fromUtf8(kUsage));
    r.bankText = bank + QLatin1Char('.') + DMData->GetBankName(bank);
    r.start = QDate::fromString(opt(a, QStringLiteral("start")), QStringLiteral("yyyy-MM-dd"));
    r.end = QDate::fromString(opt(a, QStringLiteral("end"), opt(a, QStringLiteral("start"))), QStringLiteral("yyyy-MM-dd"));
    if (!r.start.isValid() || !r.end.isValid()) return Driver::fail(QStringLiteral("bad --start or --end"));
    r.acctLine = DistribRequest::accountLines(bank).value(opt(a, QStringLiteral("account"), QStringLiteral("1")).toInt() - 1);
    const QStringList marks = listOpt(a, QStringLiteral("marks"));
    if (marks.isEmpty()) {
        // Every row the window lists for the bank, as its "전체선택" marks them.
        DistribList::Selection s;
        s.bankCd = bank;
        for (const DistribList::Row& l : DistribList::list(r.round, s).rows) {
            DistribRow d;
            d.SNo = l.SNo;
            d.Nm = l.Nm;
            d.BankCd = l.BankCd;
            d.AcctNo = l.AcctNo;
            d.ItemCd = l.ItemCd;
            d.ItemNm = DMData->GetItemName(l.ItemCd);
            d.Amt = l.Amt;
            d.ReplyTy = l.ReplyTy;
            r.marked << d;
        }
    } else {
        for (const DistribRow& d : DistribRequest::roundRows(r.round))
            if (marks.contains(d.SNo + QLatin1Char('/') + d.ItemCd)) r.marked << d;
    }
    const DistribRequest::Result res = DistribRequest::write(r);
    Driver::print(QJsonObject{{QStringLiteral("file"), res.fileName},
                              {QStringLiteral("count"), res.count},
                              {QStringLiteral("leftOut"), QJsonArray::fromStringList(res.leftOut)}});
    return res.ok ? 0 : 1;
}

const bool registered = [] {
    Driver::addCommand(QStringLiteral("dist"), QString::fromUtf8(kUsage), [](const QStringList& a) {
        const QString w = a.value(0);
        if (w == QLatin1String("round")) return round(a.mid(1));
        if (w == QLatin1String("request")) return request(a.mid(1));
        if (w == QLatin1String("show")) return show(a.mid(1));
        if (w == QLatin1String("edit")) return edit(a.mid(1));
        if (w == QLatin1String("student")) return student(a.mid(1));
        if (w == QLatin1String("reset-date")) {
            const DistribList::Result r = DistribList::resetDate(target(a.mid(1)), opt(a, QStringLiteral("date")));
            return outcome(r, QStringLiteral("미처리오류"), QStringLiteral("미처리 중에 오류가 발생하였습니다.!!"));
        }
        // Other words ("dist result ...", "dist find ...") are commands of their own files.
        if (!w.isEmpty()) return Driver::runCommand(QStringLiteral("dist-") + w, a.mid(1));
        return Driver::fail(QString::fromUtf8(kUsage));
    });
    return true;
}();

} // namespace
