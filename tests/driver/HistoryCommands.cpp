// zq-driver history / totals: the student transfer history (학생별이체자료조회)
// and the round totals (학생자료집계), with their printouts and the history's
// workbook.

#include "driver/Driver.h"
#include "driver/PrintOutput.h"

#include "data/DMMain.h"
#include "platform/report/ReportDocument.h"
#include "platform/ui/Msg.h"
#include "transfers/common/Rounds.h"
#include "van/RoundTotals.h"
#include "van/TransferHistory.h"

#include <QJsonArray>

namespace {

const char* kHistoryUsage = "history FROM TO (--sno H[,B[,N]] | --name NAME) [--state 0-2] [--group GG] "
                            "[--items 01,02] [--date yyyymmdd] [--date2 yyyymmdd]";
const char* kTotalsUsage =
    "totals collection|distribution --round yyyymm-ss [--grade G] [--bank BB] [--item II] "
    "[--date yyyymmdd]";

using Driver::opt;

// "yyyymm" or "yyyy-mm" as the month lists show it.
QString monthText(const QString& v) {
    return v.size() == 6 && !v.contains(QLatin1Char('-')) ? v.left(4) + QLatin1Char('-') + v.mid(4) : v;
}

// The window's selection from the options; false (rc set) when the usage
// is wrong or 검색 refuses before it reads anything.
bool historySelection(const QStringList& args, TransferHistory::Selection& s, int* rc) {
    QStringList pos;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i].startsWith(QLatin1String("--"))) {
            ++i;
            continue;
        }
        pos << args[i];
    }
    if (pos.size() < 2) {
        *rc = Driver::fail(QString::fromUtf8(kHistoryUsage));
        return false;
    }
    s.yearFrom = monthText(pos[0]);
    s.yearTo = monthText(pos[1]);
    s.byName = args.contains(QStringLiteral("--name"));
    s.name = opt(args, QStringLiteral("name"));
    const QStringList sno = opt(args, QStringLiteral("sno")).split(QLatin1Char(','));
    s.hak = sno.value(0);
    s.ban = sno.value(1);
    s.bun = sno.value(2);
    s.state = opt(args, QStringLiteral("state"), QStringLiteral("0")).toInt();
    s.gcode = opt(args, QStringLiteral("group"), QStringLiteral("01"));
    s.itemIds = Driver::listOpt(args, QStringLiteral("items"));
    s.dateFrom = opt(args, QStringLiteral("date"));
    s.dateTo = opt(args, QStringLiteral("date2"));
    if (s.state < 0 || s.state > 2) {
        *rc = Driver::fail(QStringLiteral("--state takes 0, 1 or 2"));
        return false;
    }
    if (const auto refusal = TransferHistory::check(s)) {
        Msg::show(refusal->caption, refusal->text, refusal->error ? MsgIcon::Error : MsgIcon::None);
        *rc = 1;
        return false;
    }
    if (TransferHistory::broad(s) &&
        !Msg::askYesNo(QStringLiteral("학생별이체현황"), TransferHistory::kBroadQuestion)) {
        *rc = 1;
        return false;
    }
    return true;
}

// 검색: the rows, or false (rc set) after the window's box.
bool historySearch(const QStringList& args, TransferHistory::Selection& s, TransferHistory::Result& r,
                   int* rc) {
    if (!historySelection(args, s, rc)) return false;
    QString err;
    if (!TransferHistory::search(s, &r, &err)) {
        Msg::error(QStringLiteral("오류"), err);
        *rc = 1;
        return false;
    }
    return true;
}

QStringList panelTexts(const TransferHistory::Totals& t) {
    QStringList out;
    for (qint64 v : t.values())
        out << TransferHistory::panelText(v);
    return out;
}

int history(const QStringList& args) {
    TransferHistory::Selection s;
    TransferHistory::Result r;
    int rc = 0;
    if (!historySearch(args, s, r, &rc)) return rc;
    for (const QStringList& row : r.rows)
        Driver::print(QJsonObject{{QStringLiteral("row"), QJsonArray::fromStringList(row)}});
    if (r.rows.isEmpty())
        Msg::info(QStringLiteral("학생별이체자료"), QStringLiteral("해당되는 자료가 없습니다."));
    Driver::print(QJsonObject{{QStringLiteral("count"), int(r.rows.size())},
                              {QStringLiteral("tables"), r.tables},
                              {QStringLiteral("totals"), QJsonArray::fromStringList(panelTexts(r.totals))}});
    return 0;
}

int printHistory(QStringList args) {
    PrintOutput::Options out;
    QString err;
    if (!PrintOutput::take(args, out, &err)) return Driver::fail(err);
    TransferHistory::Selection s;
    TransferHistory::Result r;
    int rc = 0;
    if (!historySearch(args, s, r, &rc)) return rc;
    if (r.rows.isEmpty()) {
        Msg::show(Rounds::programTitle(), QStringLiteral("인쇄할 내용이 없습니다."));
        return 1;
    }
    PrintOutput::Stream stream(out);
    return stream.finish(TransferHistory::print(r.rows, panelTexts(r.totals),
                                                TransferHistory::conditionText(s, r.snoCondition)));
}

int exportHistory(QStringList args) {
    if (args.isEmpty() || args.first().startsWith(QLatin1String("--")))
        return Driver::fail(QStringLiteral("export history FILE ") +
                            QString::fromUtf8(kHistoryUsage).mid(8));
    const QString file = args.takeFirst();
    TransferHistory::Selection s;
    TransferHistory::Result r;
    int rc = 0;
    if (!historySearch(args, s, r, &rc)) return rc;
    if (r.rows.isEmpty()) {
        Msg::error(QStringLiteral("엑셀저장실패"), QStringLiteral("조회된 자료가 없습니다!"));
        return 1;
    }
    QString err;
    if (!TransferHistory::exportTo(r.rows, file, &err)) {
        Msg::error(QStringLiteral("엑셀저장실패"), err);
        return 1;
    }
    Msg::info(QStringLiteral("화일생성"), QStringLiteral("엑셀화일을 생성하였습니다!"));
    Driver::print({{QStringLiteral("file"), file}, {QStringLiteral("rows"), int(r.rows.size())}});
    return 0;
}

// The combos' texts as the window shows them for the codes given.
QString entryFor(const QStringList& entries, const QString& code, const QString& all) {
    if (code.isEmpty() || code == QLatin1String("00")) return all;
    for (const QString& e : entries)
        if (e.section(QLatin1Char('.'), 0, 0) == code) return e;
    return code;
}

bool totalsRun(const QStringList& args, RoundTotals::Selection& s, RoundTotals::Result& r, int* rc) {
    const QString kind = args.value(0);
    if (kind != QLatin1String("collection") && kind != QLatin1String("distribution")) {
        *rc = Driver::fail(QString::fromUtf8(kTotalsUsage));
        return false;
    }
    s.kind =
        kind == QLatin1String("collection") ? RoundTotals::Kind::Collection : RoundTotals::Kind::Distribution;
    const QString round = opt(args, QStringLiteral("round"));
    s.yearMon = round.section(QLatin1Char('-'), 0, 0);
    s.seqNo = round.section(QLatin1Char('-'), 1, 1);
    s.grade = opt(args, QStringLiteral("grade"), QStringLiteral("00"));
    s.bank = opt(args, QStringLiteral("bank"), QStringLiteral("00"));
    s.item = opt(args, QStringLiteral("item"), QStringLiteral("00"));
    s.date = opt(args, QStringLiteral("date"));
    if (s.yearMon.trimmed().isEmpty() || s.seqNo.trimmed().isEmpty()) {
        Msg::error(QStringLiteral("입력요망"), RoundTotals::kMissingRound);
        *rc = 1;
        return false;
    }
    QString err;
    if (!RoundTotals::run(s, RoundTotals::gradeEntries(), &r, &err)) {
        Msg::error(QStringLiteral("오류"), err);
        *rc = 1;
        return false;
    }
    return true;
}

int totals(const QStringList& args) {
    RoundTotals::Selection s;
    RoundTotals::Result r;
    int rc = 0;
    if (!totalsRun(args, s, r, &rc)) return rc;
    for (const RoundTotals::Line& l : r.lines)
        Driver::print(
            QJsonObject{{QStringLiteral("line"), QJsonArray::fromStringList(RoundTotals::cells(l))}});
    Driver::print(
        QJsonObject{{QStringLiteral("by"), r.byClass ? QStringLiteral("반") : QStringLiteral("학  년")},
                    {QStringLiteral("total"), QJsonArray::fromStringList(RoundTotals::totalTexts(r.total))}});
    return 0;
}

int printTotals(QStringList args) {
    PrintOutput::Options out;
    QString err;
    if (!PrintOutput::take(args, out, &err)) return Driver::fail(err);
    RoundTotals::Selection s;
    RoundTotals::Result r;
    int rc = 0;
    if (!totalsRun(args, s, r, &rc)) return rc;
    RoundTotals::PrintCondition c;
    // A collection round's choice switches the bank and item lists to its group.
    QString gcode = QStringLiteral("01");
    if (s.kind == RoundTotals::Kind::Collection) {
        const QString g = RoundTotals::roundGroup(RoundTotals::tableName(s));
        if (!g.isEmpty()) gcode = g;
    }
    DMData->SetItemGroup(gcode);
    c.bank = entryFor(RoundTotals::bankEntries(gcode), s.bank, QStringLiteral("00.모든은행"));
    c.item = entryFor(DMData->ItemTexts(), s.item, QStringLiteral("00.모든항목"));
    c.grade = entryFor(RoundTotals::gradeEntries(), s.grade, QStringLiteral("00.전학년"));
    c.yearMon = s.yearMon;
    c.seqNo = s.seqNo;
    PrintOutput::Stream stream(out);
    return stream.finish(RoundTotals::print(r, c));
}

const struct Registrar {
    Registrar() {
        Driver::addCommand(QStringLiteral("history"), QString::fromUtf8(kHistoryUsage), history);
        Driver::addCommand(QStringLiteral("print-history"),
                           QStringLiteral("print ") + QString::fromUtf8(kHistoryUsage) +
                               QStringLiteral(" --pdf FILE [--dump FILE]"),
                           printHistory);
        Driver::addCommand(QStringLiteral("export-history"),
                           QStringLiteral("export history FILE ") + QString::fromUtf8(kHistoryUsage).mid(8),
                           exportHistory);
        Driver::addCommand(QStringLiteral("totals"), QString::fromUtf8(kTotalsUsage), totals);
        Driver::addCommand(QStringLiteral("print-totals"),
                           QStringLiteral("print ") + QString::fromUtf8(kTotalsUsage) +
                               QStringLiteral(" --pdf FILE [--dump FILE]"),
                           printTotals);
    }
} registrar;

} // namespace
