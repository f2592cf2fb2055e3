// zq-driver report list NAME and print NAME: every report of the catalog,
// with the selection options all report windows share.

#include "driver/Driver.h"
#include "driver/PrintOutput.h"
#include "driver/ReportArgs.h"

#include "reports/ReportCatalog.h"

#include <QJsonArray>
#include <QJsonObject>

namespace {

const char* const kUsage =
    "[--group GG] [--items 01,02] [--bank BB] [--quarter 0-4] [--round yyyymm-ss] [--round2 yyyymm-ss]\n"
    "      [--from H,B,N] [--to H,B,N] [--double] [--KEY VALUE]...  (the report's own: --date --kind --ho\n"
    "      --totitem --bigo for receipts, --item --redt --redt2 for refunds)";

// Options into a selection; false (after printing why) on a bad one.
bool parse(const QStringList& args, ReportSelection* s, int* rc) {
    s->gcode = QStringLiteral("01");
    for (int i = 0; i < args.size(); ++i) {
        const QString opt = args.at(i);
        if (!opt.startsWith(QLatin1String("--"))) {
            *rc = Driver::fail(QStringLiteral("bad option ") + opt);
            return false;
        }
        const QString k = opt.mid(2);
        if (k == QLatin1String("double")) {
            s->extra.insert(k, QStringLiteral("1"));
            continue;
        }
        if (i + 1 >= args.size()) {
            *rc = Driver::fail(opt + QStringLiteral(" needs a value"));
            return false;
        }
        const QString v = args.at(++i);
        const QStringList parts = v.split(QLatin1Char(','));
        if (k == QLatin1String("group")) {
            s->gcode = v;
        } else if (k == QLatin1String("items")) {
            s->itemIds = v.split(QLatin1Char(','), Qt::SkipEmptyParts);
        } else if (k == QLatin1String("bank")) {
            s->bank = v;
        } else if (k == QLatin1String("quarter")) {
            s->quarter = v.toInt();
        } else if (k == QLatin1String("round") || k == QLatin1String("round2")) {
            const QStringList r = v.split(QLatin1Char('-'));
            (k == QLatin1String("round") ? s->ym1 : s->ym2) = r.value(0);
            (k == QLatin1String("round") ? s->seq1 : s->seq2) = r.value(1);
        } else if (k == QLatin1String("from")) {
            s->hak1 = parts.value(0);
            s->ban1 = parts.value(1);
            s->bun1 = parts.value(2);
        } else if (k == QLatin1String("to")) {
            s->hak2 = parts.value(0);
            s->ban2 = parts.value(1);
            s->bun2 = parts.value(2);
        } else {
            s->extra.insert(k, v);
        }
    }
    return true;
}

int reportCommand(const QStringList& args) {
    if (args.value(0) != QLatin1String("list") || args.size() < 2)
        return Driver::fail(QStringLiteral("report list NAME [selection]"));
    const ReportEntry* e = ReportCatalog::find(args.at(1));
    if (!e) return Driver::fail(QStringLiteral("no report ") + args.at(1));
    ReportSelection s;
    int rc = 0;
    if (!parse(args.mid(2), &s, &rc)) return rc;
    const ReportListing l = e->list(s);
    if (l.box) {
        l.box->show();
        return 1;
    }
    for (const QStringList& row : l.rows)
        Driver::print(QJsonObject{{QStringLiteral("row"), QJsonArray::fromStringList(row)}});
    Driver::print(QJsonObject{{QStringLiteral("count"), l.count}, {QStringLiteral("total"), l.total}});
    return 0;
}

int printCommand(const ReportEntry& e, QStringList args) {
    PrintOutput::Options out;
    QString error;
    if (!PrintOutput::take(args, out, &error)) return Driver::fail(error);
    ReportSelection s;
    int rc = 0;
    if (!parse(args, &s, &rc)) return rc;
    PrintOutput::Stream stream(out);
    ReportDocument doc;
    if (const std::optional<ReportBox> box = e.print(s, &doc)) {
        box->show();
        return 1;
    }
    return stream.finish(doc);
}

const struct Registrar {
    Registrar() {
        Driver::addCommand(QStringLiteral("report"),
                           QStringLiteral("report list NAME ") + QString::fromUtf8(kUsage), reportCommand);
        for (const ReportEntry& e : ReportCatalog::all()) {
            if (!e.print) continue;
            const ReportEntry* entry = &e;
            Driver::addCommand(QStringLiteral("print-") + e.name,
                               QStringLiteral("print ") + e.name + QStringLiteral(" [selection] --pdf FILE [--dump FILE]"),
                               [entry](const QStringList& a) { return printCommand(*entry, a); });
        }
    }
} registrar;

} // namespace

// The selection options for other report commands (the workbook exports).
bool Driver::reportSelection(const QStringList& args, ReportSelection* s, int* rc) {
    return parse(args, s, rc);
}
