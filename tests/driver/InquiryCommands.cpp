#include "driver/Driver.h"
#include "driver/PrintOutput.h"

#include "data/DMModule.h"
#include "platform/report/ReportDocument.h"
#include "platform/ui/Msg.h"
#include "van/FileInquiry.h"
#include "van/InquiryPrint.h"

#include <QFile>
#include <QJsonArray>

namespace {

using namespace FileInquiry;

const char* kUsage = "inquiry sent|received [FROM TO] [--bank BB] [--seqno NN] [--count N]"
                     " | view sent|received FILE | delete sent|received FILE";

bool kindOf(const QString& word, Kind* k) {
    if (word == QLatin1String("sent"))
        *k = Kind::Sent;
    else if (word == QLatin1String("received"))
        *k = Kind::Received;
    else
        return false;
    return true;
}

// Positional arguments: those that are neither an option nor its value.
QStringList positional(const QStringList& args) {
    QStringList out;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i].startsWith(QLatin1String("--"))) {
            ++i;
            continue;
        }
        out << args[i];
    }
    return out;
}

int listRows(Kind k, const QStringList& args) {
    ListFilter f;
    const QStringList pos = positional(args);
    f.yearMonFrom = pos.value(0);
    f.yearMonTo = pos.value(1, f.yearMonFrom);
    f.bankCd = Driver::opt(args, QStringLiteral("bank"), QStringLiteral("00"));
    f.seqNo = Driver::opt(args, QStringLiteral("seqno"));
    f.count = Driver::opt(args, QStringLiteral("count"));
    for (QChar c : f.count)
        if (!c.isDigit()) return Driver::fail(QStringLiteral("--count takes digits only"));
    QList<BookRow> rows;
    QString err;
    if (!list(k, f, &rows, &err)) {
        Msg::error(QStringLiteral("오류"), err);
        return 1;
    }
    for (const BookRow& r : rows)
        Driver::print(
            QJsonObject{{QStringLiteral("row"), QJsonArray{r.yearMon, r.seqNo, r.fileName, r.fileType,
                                                           r.bankNm, r.srDate, r.dataCnt.trimmed(), r.gcode}},
                        {QStringLiteral("bank"), r.bankCd}});
    Driver::print(QJsonObject{{QStringLiteral("count"), int(rows.size())}});
    return 0;
}

// The book row of a file; false after a message when there is none.
bool bookRow(Kind k, const QString& name, BookRow* out) {
    QList<BookRow> rows;
    list(k, {}, &rows);
    for (const BookRow& r : rows)
        if (r.fileName.trimmed() == name.trimmed()) {
            *out = r;
            return true;
        }
    Driver::print(QJsonObject{{QStringLiteral("error"), QStringLiteral("no book row: ") + name}});
    return false;
}

// The detail page as "상세자료" fills it; false after the window's box when
// the file is not shown.
bool detail(Kind k, const QString& name, FileView* v) {
    BookRow row;
    if (!bookRow(k, name, &row)) return false;
    if (!QFile::exists(DMLib->dir(folder(k)) + row.fileName.trimmed())) {
        Msg::error(QStringLiteral("파일없음"), QStringLiteral("파일이 존재하지 않습니다!!"));
        return false;
    }
    *v = view(k, row);
    if (v->status == FileView::Status::Unreadable || v->status == FileView::Status::Malformed) {
        Msg::error(QStringLiteral("화일오류"), v->message);
        return false;
    }
    return true;
}

QJsonArray rowsJson(const QList<QStringList>& rows) {
    QJsonArray out;
    for (const QStringList& r : rows)
        out.append(QJsonArray::fromStringList(r));
    return out;
}

int viewFile(Kind k, const QStringList& args) {
    FileView v;
    if (!detail(k, args.value(0), &v)) return 1;
    QJsonObject o{{QStringLiteral("viewer"), viewerName(v.viewer)},
                  {QStringLiteral("bank"), v.bankNm},
                  {QStringLiteral("masterAcct"), v.masterAcct},
                  {QStringLiteral("start"), v.startDate},
                  {QStringLiteral("end"), v.endDate},
                  {QStringLiteral("totCnt"), v.totCnt},
                  {QStringLiteral("totAmt"), v.totAmt},
                  {QStringLiteral("rows"), rowsJson(v.rows)}};
    if (k == Kind::Received) {
        o.insert(QStringLiteral("procCnt"), v.procCnt);
        o.insert(QStringLiteral("procAmt"), v.procAmt);
        o.insert(QStringLiteral("nonProcCnt"), v.nonProcCnt);
        o.insert(QStringLiteral("nonProcAmt"), v.nonProcAmt);
        o.insert(QStringLiteral("failRows"), rowsJson(v.failRows));
    }
    Driver::print(o);
    return 0;
}

int deleteFile(Kind k, const QStringList& args) {
    const QString name = args.value(0).trimmed();
    if (name.isEmpty()) return Driver::fail(QString::fromUtf8(kUsage));
    if (Msg::show(QStringLiteral("확인"), name + QStringLiteral("파일을 정말로 삭제하시겠습니까??"),
                  MsgIcon::Question, MsgButtons::OkCancel) != MsgResult::Ok) {
        Driver::print(QJsonObject{{QStringLiteral("deleted"), false}});
        return 1;
    }
    if (!remove(k, name)) {
        Msg::error(QStringLiteral("삭제실패"), QStringLiteral("삭제되지 않았습니다!!"));
        return 1;
    }
    Driver::print(QJsonObject{{QStringLiteral("deleted"), true}});
    return 0;
}

int printInquiry(const QStringList& input) {
    QStringList args = input;
    PrintOutput::Options out;
    QString err;
    if (!PrintOutput::take(args, out, &err)) return Driver::fail(err);
    const QString what = args.value(0);
    const Kind k = what == QLatin1String("sent") ? Kind::Sent : Kind::Received;
    if (what != QLatin1String("sent") && what != QLatin1String("processed") &&
        what != QLatin1String("unprocessed"))
        return Driver::fail(
            QStringLiteral("print inquiry sent|processed|unprocessed FILE --pdf FILE [--dump FILE]"));
    FileView v;
    if (!detail(k, args.value(1), &v)) return 1;
    // An empty grid prints nothing, as "인쇄" does.
    const bool empty = what == QLatin1String("unprocessed") ? v.failRows.isEmpty() : v.rows.isEmpty();
    if (empty) {
        Driver::print(QJsonObject{{QStringLiteral("result"), QStringLiteral("empty")}});
        return 1;
    }
    PrintOutput::Stream stream(out);
    const ReportDocument doc = what == QLatin1String("sent")        ? InquiryPrint::sent(v)
                               : what == QLatin1String("processed") ? InquiryPrint::processed(v)
                                                                    : InquiryPrint::unprocessed(v);
    return stream.finish(doc);
}

const struct Registrar {
    Registrar() {
        Driver::addCommand(QStringLiteral("inquiry"), QString::fromUtf8(kUsage), [](const QStringList& a) {
            Kind k = Kind::Sent;
            if (kindOf(a.value(0), &k)) return listRows(k, a.mid(1));
            if ((a.value(0) == QLatin1String("view") || a.value(0) == QLatin1String("delete")) &&
                kindOf(a.value(1), &k))
                return a.value(0) == QLatin1String("view") ? viewFile(k, a.mid(2)) : deleteFile(k, a.mid(2));
            return Driver::fail(QString::fromUtf8(kUsage));
        });
        Driver::addCommand(
            QStringLiteral("print-inquiry"),
            QStringLiteral("print inquiry sent|processed|unprocessed FILE --pdf FILE [--dump FILE]"),
            printInquiry);
    }
} registrar;

} // namespace
