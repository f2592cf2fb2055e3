// zq-driver print collection / print collection-receipts: the collection window's list
// print and receipt over a listing made with the window's selections.

#include "driver/Driver.h"
#include "driver/SelectionArgs.h"
#include "driver/PrintOutput.h"

#include "data/DMMain.h"
#include "platform/db/Database.h"
#include "platform/ui/Msg.h"
#include "transfers/collection/CollectionExport.h"
#include "transfers/common/CollectionListing.h"
#include "transfers/collection/CollectionPrint.h"

#include <QCoreApplication>
#include <QJsonObject>

namespace {

const char* const kSelection = Driver::kCollectionSelection;

using Driver::opt;

bool listing(const QStringList& args, CollectionSelection& s, CollectionListing& l, int* rc) {
    return Driver::collectionListing(args, s, l, rc);
}

QString groupText(const QString& gcode) {
    for (const QString& t : DMData->GroupTexts())
        if (t.startsWith(gcode)) return t;
    return gcode;
}

int printCollection(QStringList args) {
    PrintOutput::Options out;
    QString err;
    if (!PrintOutput::take(args, out, &err)) return Driver::fail(err);
    CollectionSelection s;
    CollectionListing l;
    int rc = 0;
    if (!listing(args, s, l, &rc)) return rc;
    if (l.rows.isEmpty()) {
        Msg::show(QCoreApplication::applicationName(), QStringLiteral("인쇄할 내용이 없습니다."));
        return 1;
    }
    CollectionPrint::ListOptions o;
    o.portrait = !args.contains(QStringLiteral("--landscape"));
    o.whole = !args.contains(QStringLiteral("--by-class"));
    o.fieldSelCode = opt(args, QStringLiteral("fields"), QStringLiteral("1100")).toInt();
    o.group = groupText(s.gcode);
    o.gcode = s.gcode;
    o.yearMon = s.yearMon;
    o.seqNo = s.seqNo;
    const CollectionTotals& t = l.totals;
    for (qint64 v : {t.procCnt, t.procAmt, t.nonProcCnt, t.nonProcAmt, t.exempCnt, t.exempAmt, t.reCnt,
                     t.reAmt, t.reCnt2, t.reAmt2})
        o.totals << CollectionList::panelText(v);
    const ReportRows rows = CollectionPrint::listRows(l.listSql, l.binds, &err);
    if (!err.isEmpty()) return Driver::fail(err);
    const auto report = CollectionPrint::makeList(o, rows);
    if (!report) return Driver::fail(QStringLiteral("--fields takes 11, 101, 110, 1001, 1010 or 1100"));
    PrintOutput::Stream stream(out);
    return stream.finish(report->layout());
}

int printReceipts(QStringList args) {
    PrintOutput::Options out;
    QString err;
    if (!PrintOutput::take(args, out, &err)) return Driver::fail(err);
    CollectionSelection s;
    CollectionListing l;
    int rc = 0;
    if (!listing(args, s, l, &rc)) return rc;
    const int row = opt(args, QStringLiteral("row"), QStringLiteral("1")).toInt() - 1;
    if (row < 0 || row >= l.rows.size()) return Driver::fail(QStringLiteral("--row is not a listed row"));
    const QStringList& c = l.rows.at(row);
    if (!CollectionPrint::receiptAllowed(c.value(ColAmt), c.value(ColReply))) {
        Msg::show(QCoreApplication::applicationName(), QStringLiteral("영수증 발행 대상건이 아닙니다."));
        return 1;
    }
    CollectionPrint::Receipt r{c.value(ColSNo), c.value(ColNm),   c.value(ColAcct),
                               c.value(ColAmt), c.value(ColItem), c.value(ColDate)};
    const bool two = opt(args, QStringLiteral("copies"), QStringLiteral("1")) == QLatin1String("2");
    PrintOutput::Stream stream(out);
    return stream.finish(CollectionPrint::makeReceipt(r, two)->layout());
}

int exportCollection(QStringList args) {
    if (args.isEmpty() || args.first().startsWith(QLatin1String("--")))
        return Driver::fail(QStringLiteral("export collection FILE ") + QString::fromUtf8(kSelection));
    const QString file = args.takeFirst();
    CollectionSelection s;
    CollectionListing l;
    int rc = 0;
    if (!listing(args, s, l, &rc)) return rc;
    if (l.rows.isEmpty()) {
        Msg::error(QStringLiteral("엑셀저장실패"), QStringLiteral("조회된 자료가 없습니다!"));
        return 1;
    }
    QString err;
    if (!CollectionExport::write(l.rows, file, &err)) {
        Msg::error(QStringLiteral("엑셀저장실패"), err);
        return 1;
    }
    Msg::info(QStringLiteral("화일생성"), QStringLiteral("엑셀화일을 생성하였습니다!"));
    Driver::print({{QStringLiteral("file"), file}, {QStringLiteral("rows"), int(l.rows.size())}});
    return 0;
}

struct Register {
    Register() {
        Driver::addCommand(
            QStringLiteral("print-collection"),
            QStringLiteral("print-collection ") + QString::fromUtf8(kSelection) +
                QStringLiteral(" [--landscape] [--by-class] [--fields CODE] --pdf FILE [--dump FILE]"),
            printCollection);
        Driver::addCommand(QStringLiteral("print-collection-receipts"),
                           QStringLiteral("print-collection-receipts ") + QString::fromUtf8(kSelection) +
                               QStringLiteral(" [--row N] [--copies 2] --pdf FILE [--dump FILE]"),
                           printReceipts);
        Driver::addCommand(QStringLiteral("export-collection"),
                           QStringLiteral("export-collection FILE ") + QString::fromUtf8(kSelection),
                           exportCollection);
    }
} reg;

} // namespace
