// print dist, dist find and dist dates: the distribution window's list
// prints, its find and what its dates dialog proposes, on the listing that
// dist show makes.
#include "driver/Driver.h"
#include "driver/PrintOutput.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/sys/Clock.h"
#include "platform/ui/Msg.h"
#include "transfers/distribution/DistribPrint.h"
#include "transfers/distribution/DistribRequest.h"
#include "transfers/distribution/M102B09.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonObject>

namespace {

using Driver::listOpt;
using Driver::opt;

const char* const kSelection = "--round yyyymm-ss [--group 01] [--bank BB] [--items ITEMCD,...] [--sno "
                               "DIGITS] [--procdt yyyymmdd] [--proc 0-2]";

DistribPrint::Request request(const QStringList& a) {
    DistribPrint::Request r;
    const QString rk = opt(a, QStringLiteral("round"));
    const QString gcode = opt(a, QStringLiteral("group"), QStringLiteral("01"));
    QString group = gcode;
    for (const QString& g : DMData->GroupTexts())
        if (g.left(2) == gcode) group = g;
    r.round = {group, rk.left(6), rk.mid(7, 2)};
    r.selection.bankCd = opt(a, QStringLiteral("bank"), QStringLiteral("00"));
    r.selection.itemCds = listOpt(a, QStringLiteral("items"));
    r.selection.snoPrefix = opt(a, QStringLiteral("sno"));
    r.selection.procDt = opt(a, QStringLiteral("procdt"));
    r.selection.procIdx = opt(a, QStringLiteral("proc"), QStringLiteral("0")).toInt();
    return r;
}

// The listing as "조회" makes it, with its boxes; false ends the command.
bool listing(const DistribPrint::Request& r, DistribList::Listing& l, int* rc) {
    if (r.round.yearMon.size() != 6 || r.round.seqNo.size() != 2) {
        *rc = Driver::fail(QStringLiteral("--round yyyymm-ss is needed"));
        return false;
    }
    l = DistribList::list(r.round, r.selection);
    *rc = 1;
    if (!l.tableExists) {
        Msg::error(QStringLiteral("이체년월/회차오류"),
                   QStringLiteral("존재하지 않은 이체년월/회차입니다! 확인하시기 바랍니다."));
        return false;
    }
    if (!l.error.isEmpty()) {
        *rc = Driver::fail(l.error);
        return false;
    }
    if (!l.wrongGroup.isEmpty()) {
        Msg::show(QCoreApplication::applicationName(), l.wrongGroup);
        return false;
    }
    *rc = 0;
    return true;
}

int printDist(QStringList a) {
    PrintOutput::Options out;
    QString err;
    if (!PrintOutput::take(a, out, &err)) return Driver::fail(err);
    DistribPrint::Request r = request(a);
    DistribList::Listing l;
    int rc = 0;
    if (!listing(r, l, &rc)) return rc;
    if (l.rows.isEmpty()) {
        Driver::print(QJsonObject{{QStringLiteral("result"), QStringLiteral("empty")}});
        return 1;
    }
    r.panels = DistribPrint::totals(l);
    const auto report = DistribPrint::makeList(a.contains(QStringLiteral("--by-class")),
                                               DistribPrint::rows(l.rows), r.panels);
    PrintOutput::Stream stream(out);
    return stream.finish(report->layout());
}

int find(const QStringList& a) {
    const DistribPrint::Request r = request(a);
    DistribList::Listing l;
    int rc = 0;
    if (!listing(r, l, &rc)) return rc;
    const QString by = opt(a, QStringLiteral("by"), QStringLiteral("sno"));
    const int criterion = by == QLatin1String("name")   ? DistribFind::ByName
                          : by == QLatin1String("acct") ? DistribFind::ByAcct
                                                        : DistribFind::BySNo;
    QString text = opt(a, QStringLiteral("text"));
    if (criterion == DistribFind::BySNo) text = NormSNo(SNoLen, text);
    QStringList cells;
    for (const DistribList::Row& row : l.rows)
        cells << (criterion == DistribFind::ByName   ? row.Nm
                  : criterion == DistribFind::ByAcct ? row.AcctNo
                                                     : row.SNo);
    int last = 0;
    const int times = opt(a, QStringLiteral("times"), QStringLiteral("1")).toInt();
    for (int i = 0; i < times; ++i) {
        const int found = DistribFind::find(cells, text, &last);
        if (found > 0) {
            const DistribList::Row& row = l.rows.at(found - 1);
            Driver::print(QJsonObject{{QStringLiteral("found"), found},
                                      {QStringLiteral("SNo"), row.SNo},
                                      {QStringLiteral("Nm"), row.Nm},
                                      {QStringLiteral("ItemCd"), row.ItemCd}});
            continue;
        }
        if (Msg::show(QStringLiteral("찾기"),
                      QStringLiteral("자료의 끝입니다!\r처음부터 다시 검색하시겠습니까?"),
                      MsgIcon::Information, MsgButtons::OkCancel) == MsgResult::Ok)
            last = 0;
    }
    return 0;
}

int dates(const QStringList& a) {
    const QDate tomorrow = Clock::today().addDays(1);
    Driver::print(QJsonObject{
        {QStringLiteral("start"), tomorrow.toString(QStringLiteral("yyyy-MM-dd"))},
        {QStringLiteral("end"), tomorrow.toString(QStringLiteral("yyyy-MM-dd"))},
        {QStringLiteral("accounts"),
         QJsonArray::fromStringList(DistribRequest::accountLines(opt(a, QStringLiteral("bank"))))},
        {QStringLiteral("itemIndex"), 0}});
    return 0;
}

const bool registered = [] {
    Driver::addCommand(QStringLiteral("print-dist"),
                       QStringLiteral("print dist ") + QString::fromUtf8(kSelection) +
                           QStringLiteral(" [--by-class] --pdf FILE [--dump FILE]"),
                       printDist);
    Driver::addCommand(QStringLiteral("dist-find"),
                       QStringLiteral("dist find ") + QString::fromUtf8(kSelection) +
                           QStringLiteral(" --by sno|name|acct --text TEXT [--times N]"),
                       find);
    Driver::addCommand(QStringLiteral("dist-dates"), QStringLiteral("dist dates --bank 20|21"), dates);
    return true;
}();

} // namespace
