// dist round ... and dist request write: distribution rounds and their
// request file on plain values, with the boxes the window shows.
#include "driver/Driver.h"

#include "data/DMMain.h"
#include "platform/ui/Msg.h"
#include "transfers/distribution/DistribRequest.h"
#include "transfers/distribution/DistribRound.h"

#include <QJsonArray>
#include <QJsonObject>

namespace {

QString opt(const QStringList& args, const QString& name, const QString& def = QString()) {
    const int i = args.indexOf(QStringLiteral("--") + name);
    return i >= 0 && i + 1 < args.size() ? args[i + 1] : def;
}
QStringList listOpt(const QStringList& args, const QString& name) {
    const QString v = opt(args, name);
    return v.isEmpty() ? QStringList() : v.split(QLatin1Char(','));
}

const char* kUsage =
    "dist round create|add --ym YYYYMM [--seq SS] [--group 01] (--grades 1,2 --items ITEMCD,... | --groups "
    "GRP=ITEMCD,...) | dist round delete --ym --seq (--grades --items | --groups) | dist round list [--gcode 01] | "
    "dist request write --bank 20|21 --round yyyymm-ss --start yyyy-mm-dd [--end yyyy-mm-dd] [--group 01] "
    "[--account N] [--marks SNO/ITEMCD,...]";

QString groupText(const QString& gcode) {
    for (const QString& g : DMData->GroupTexts())
        if (g.left(2) == gcode) return g;
    return gcode;
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
    if (ym.size() != 6) return Driver::fail(QString::fromLatin1(kUsage));
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
    return Driver::fail(QString::fromLatin1(kUsage));
}

int request(const QStringList& a) {
    if (a.value(0) != QLatin1String("write")) return Driver::fail(QString::fromLatin1(kUsage));
    const QString rk = opt(a, QStringLiteral("round"));
    const QString bank = opt(a, QStringLiteral("bank"));
    DistribRequest::Run r;
    r.round = {groupText(opt(a, QStringLiteral("group"), QStringLiteral("01"))), rk.left(6), rk.mid(7, 2)};
    if (rk.size() != 9 || bank.isEmpty()) return Driver::fail(QString::fromLatin1(kUsage));
    r.bankText = bank + QLatin1Char('.') + DMData->GetBankName(bank);
    r.start = QDate::fromString(opt(a, QStringLiteral("start")), QStringLiteral("yyyy-MM-dd"));
    r.end = QDate::fromString(opt(a, QStringLiteral("end"), opt(a, QStringLiteral("start"))), QStringLiteral("yyyy-MM-dd"));
    if (!r.start.isValid() || !r.end.isValid()) return Driver::fail(QStringLiteral("bad --start or --end"));
    r.acctLine = DistribRequest::accountLines(bank).value(opt(a, QStringLiteral("account"), QStringLiteral("1")).toInt() - 1);
    const QStringList marks = listOpt(a, QStringLiteral("marks"));
    for (const DistribRow& d : DistribRequest::roundRows(r.round))
        if (marks.isEmpty() || marks.contains(d.SNo + QLatin1Char('/') + d.ItemCd)) r.marked << d;
    const DistribRequest::Result res = DistribRequest::write(r);
    Driver::print(QJsonObject{{QStringLiteral("file"), res.fileName},
                              {QStringLiteral("count"), res.count},
                              {QStringLiteral("leftOut"), QJsonArray::fromStringList(res.leftOut)}});
    return res.ok ? 0 : 1;
}

const bool registered = [] {
    Driver::addCommand(QStringLiteral("dist"), QString::fromLatin1(kUsage), [](const QStringList& a) {
        const QString w = a.value(0);
        if (w == QLatin1String("round")) return round(a.mid(1));
        if (w == QLatin1String("request")) return request(a.mid(1));
        return Driver::fail(QString::fromLatin1(kUsage));
    });
    return true;
}();

} // namespace
