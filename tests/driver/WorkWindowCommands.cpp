#include "driver/Driver.h"
#include "driver/SelectionArgs.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/ui/Msg.h"
#include "transfers/common/CollectionListing.h"
#include "transfers/common/StudentAdd.h"

#include <QJsonArray>

namespace {

using Driver::opt;
using Driver::listOpt;

const char* kShowUsage = "round-show --yearmon yyyymm --seqno NN [--group GG] [--bank BB] [--items 01,02] "
                         "[--groups A,B] [--from SNO] [--to SNO] [--setl yyyymmdd] [--setl2 yyyymmdd] "
                         "[--redt yyyymmdd] [--redt2 yyyymmdd] [--exemp 0-2] [--proc 0-5] [--sms 0-2] "
                         "[--quarter 0-4]";

int show(const QStringList& args) {
    CollectionSelection s;
    if (!Driver::collectionSelection(args, s)) return Driver::fail(QString::fromUtf8(kShowUsage));
    // The window's checks come first, as "자료조회" makes them.
    CollectionListing l;
    int rc = 0;
    if (!Driver::collectionListing(args, s, l, &rc)) return rc;
    static const char* names[] = {"SNo",     "Nm",    "Item",   "BankCd", "AcctNo", "Amt",   "ExempTy",
                                  "ReplyTy", "Date",  "Reg",    "GrpNm",  "Unpaid", "REAmt", "ReDt",
                                  "CustNo",  "Gcode", "ItemCd", "GName",  "MTelNo", "smsYN", "SCd"};
    for (const QStringList& r : l.rows) {
        QJsonObject o;
        for (int c = 0; c < ColCount; ++c)
            o.insert(QLatin1String(names[c]), r.value(c));
        Driver::print(QJsonObject{{QStringLiteral("row"), o}});
    }
    const CollectionTotals& t = l.totals;
    Driver::print(QJsonObject{{QStringLiteral("rows"), int(l.rows.size())},
                              {QStringLiteral("totCnt"), t.totCnt()},
                              {QStringLiteral("totAmt"), t.totAmt()},
                              {QStringLiteral("procCnt"), t.procCnt},
                              {QStringLiteral("procAmt"), t.procAmt},
                              {QStringLiteral("nonProcCnt"), t.nonProcCnt},
                              {QStringLiteral("nonProcAmt"), t.nonProcAmt},
                              {QStringLiteral("exempCnt"), t.exempCnt},
                              {QStringLiteral("exempAmt"), t.exempAmt},
                              {QStringLiteral("reCnt"), t.reCnt},
                              {QStringLiteral("reAmt"), t.reAmt},
                              {QStringLiteral("reCnt2"), t.reCnt2},
                              {QStringLiteral("reAmt2"), t.reAmt2}});
    return 0;
}

const char* kAddUsage = "round-add-student --yearmon yyyymm --seqno NN --sno SNO --items 01,02 [--group GG]";

int addStudent(const QStringList& args) {
    StudentAdd::Request r;
    r.yearMon = opt(args, QStringLiteral("yearmon"));
    r.seqNo = opt(args, QStringLiteral("seqno"));
    r.sno = opt(args, QStringLiteral("sno"));
    r.gcode = opt(args, QStringLiteral("group"), QStringLiteral("01"));
    const QStringList items = listOpt(args, QStringLiteral("items"));
    if (r.yearMon.isEmpty() || r.seqNo.isEmpty() || r.sno.isEmpty() || items.isEmpty())
        return Driver::fail(QString::fromUtf8(kAddUsage));
    const auto s = StudentAdd::findStudent(r.sno);
    if (!s) {
        Msg::error(QStringLiteral("입력오류"),
                   QStringLiteral("존재하지 않는 학번이거나 전출생입니다.\r확인 후 다시 입력하세요!!"));
        return 1;
    }
    r.student = *s;
    r.nm = s->nm;
    // The entries as the dialog lists them: ItemID + "." + the group's item name.
    for (const QString& id : items)
        r.entries << id + QLatin1Char('.') + DMData->GetGItemName(id, r.gcode);
    const StudentAdd::Outcome o = StudentAdd::save(r);
    if (!o.ok) return Driver::fail(o.error);
    Msg::show(QStringLiteral("저장완료"), QStringLiteral("저장되었습니다!!"));
    QJsonArray added;
    for (const StudentAdd::AddedRow& a : o.added)
        added.append(QJsonObject{{QStringLiteral("ItemCd"), a.itemId},
                                 {QStringLiteral("ExempTy"), a.exempTy},
                                 {QStringLiteral("Amt"), a.amt}});
    Driver::print(QJsonObject{{QStringLiteral("added"), added},
                              {QStringLiteral("skipped"), QJsonArray::fromStringList(o.skipped)}});
    return 0;
}

const struct Registrar {
    Registrar() {
        Driver::addCommand(QStringLiteral("round-show"), QString::fromUtf8(kShowUsage), show);
        Driver::addCommand(QStringLiteral("round-add-student"), QString::fromUtf8(kAddUsage), addStudent);
    }
} registrar;

} // namespace
