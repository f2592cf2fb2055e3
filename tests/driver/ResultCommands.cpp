#include "driver/Driver.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "transfers/common/ResultFile.h"
#include "transfers/common/ResultSplit.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QLocale>

namespace {

// Options of the form --name value.
using Driver::opt;

int split(const QStringList&) {
    const ResultSplit::Outcome o = ResultSplit::splitMultiRoundFiles(DMLib->dir(QStringLiteral("recv")));
    for (const MsgBox& b : o.refusals)
        Msg::show(b.caption, b.text, b.icon, b.buttons);
    Driver::print(QJsonObject{{QStringLiteral("split"), QJsonArray::fromStringList(o.splitFiles)},
                              {QStringLiteral("parts"), QJsonArray::fromStringList(o.writtenParts)},
                              {QStringLiteral("errors"), QJsonArray::fromStringList(o.errors)},
                              {QStringLiteral("refused"), QJsonArray::fromStringList(o.refusedFiles)}});
    return o.errors.isEmpty() && o.refusedFiles.isEmpty() ? 0 : 1;
}

int apply(const QStringList& args) {
    if (args.isEmpty())
        return Driver::fail(
            QStringLiteral("result apply FILE --bank BB [--group GG] [--yearmon yyyymm --seqno NN]"));
    ResultApplyRequest req;
    req.path = QFileInfo(args.first()).isAbsolute() ? args.first()
                                                    : DMLib->dir(QStringLiteral("recv")) + args.first();
    req.workBank = opt(args, QStringLiteral("bank"));
    req.gcode = opt(args, QStringLiteral("group"), QStringLiteral("01"));
    req.yearMon = opt(args, QStringLiteral("yearmon"));
    req.seqNo = opt(args, QStringLiteral("seqno"));
    const ResultFileInfo info = ResultFile::readInfo(req.path);
    req.listBankName = (req.workBank == QLatin1String("10") && info.bankCd == QLatin1String("11"))
                           ? QStringLiteral("신농협중앙")
                           : DMData->GetBankName(info.bankCd);
    req.listTransferDate = ResultFile::transferDateColumn(info.transferDate);
    req.listCount = QLocale(QLocale::Korean).toString(info.dataCount);
    const ResultApplyOutcome o = ResultApplier::apply(req);
    for (const MsgBox& b : o.messages)
        Msg::show(b.caption, b.text, b.icon, b.buttons);
    static const char* names[] = {"applied", "refused", "invalid", "need-round"};
    Driver::print(QJsonObject{{QStringLiteral("status"), QLatin1String(names[int(o.status)])},
                              {QStringLiteral("table"), o.roundTable},
                              {QStringLiteral("archive"), o.archiveName},
                              {QStringLiteral("applied"), o.appliedRows},
                              {QStringLiteral("skipped"), o.skippedRows}});
    return o.status == ResultApplyOutcome::Status::Applied ? 0 : 1;
}

int resetDate(const QStringList& args) {
    TransferDateReset r;
    r.yearMon = opt(args, QStringLiteral("yearmon"));
    r.seqNo = opt(args, QStringLiteral("seqno"));
    r.bankCd = opt(args, QStringLiteral("bank"), QStringLiteral("00"));
    r.procDt = opt(args, QStringLiteral("date"));
    r.fromSNo = opt(args, QStringLiteral("from"));
    r.toSNo = opt(args, QStringLiteral("to"));
    const QString items = opt(args, QStringLiteral("items"));
    if (!items.isEmpty()) r.itemIds = items.split(QLatin1Char(','));
    if (r.procDt.trimmed().isEmpty()) {
        Msg::error(QStringLiteral("이체일자 입력요망"), QStringLiteral("이체일자를 입력하세요!!"));
        return 1;
    }
    QString err;
    if (!ResetTransferDate(r, &err)) {
        Msg::error(QStringLiteral("미처리오류"), QStringLiteral("미처리 중에 오류가 발생하였습니다.!!"));
        return 1;
    }
    Driver::print(QJsonObject{{QStringLiteral("reset"), true}});
    return 0;
}

const struct Registrar {
    Registrar() {
        Driver::addCommand(
            QStringLiteral("result"),
            QStringLiteral("result split | apply FILE --bank BB [--group GG] [--yearmon yyyymm --seqno NN]"
                           " | reset-date --yearmon yyyymm --seqno NN --date yyyymmdd [--bank BB]"
                           " [--items 01,02] [--from SNO] [--to SNO]"),
            [](const QStringList& a) {
                const QString sub = a.value(0);
                const QStringList rest = a.mid(1);
                if (sub == QLatin1String("split")) return split(rest);
                if (sub == QLatin1String("apply")) return apply(rest);
                if (sub == QLatin1String("reset-date")) return resetDate(rest);
                return Driver::fail(QStringLiteral("result split|apply|reset-date"));
            });
    }
} registrar;

} // namespace
