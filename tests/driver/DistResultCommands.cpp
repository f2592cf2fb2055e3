// dist result list|apply: the distribution result files waiting in recv and
// their application to a round, as the result dialog does them.
#include "driver/Driver.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/ui/Msg.h"
#include "transfers/distribution/DistribResult.h"

#include <QFileInfo>
#include <QJsonObject>
#include <QLocale>

namespace {

using Driver::opt;

const char* kUsage =
    "dist result list --bank BB | dist result apply FILE --bank BB --round yyyymm-ss [--group 01]";

QString countColumn(qint64 n) {
    return QLocale(QLocale::Korean).toString(n).rightJustified(10);
}

int list(const QStringList& a) {
    const QString bank = opt(a, QStringLiteral("bank"));
    if (bank.isEmpty()) return Driver::fail(QString::fromUtf8(kUsage));
    for (const ResultFileInfo& f : DistribResult::filesForBank(DMLib->dir(QStringLiteral("recv")), bank))
        Driver::print(
            QJsonObject{{QStringLiteral("file"), f.fileName},
                        {QStringLiteral("recvDate"), f.recvDate},
                        {QStringLiteral("bank"), DMData->GetBankName(f.bankCd)},
                        {QStringLiteral("transferDate"), ResultFile::transferDateColumn(f.transferDate)},
                        {QStringLiteral("count"), f.dataCount}});
    return 0;
}

int apply(const QStringList& a) {
    const QString file = a.value(0);
    const QString round = opt(a, QStringLiteral("round"));
    if (file.isEmpty() || file.startsWith(QStringLiteral("--")))
        return Driver::fail(QString::fromUtf8(kUsage));
    ResultApplyRequest req;
    req.path = QFileInfo(file).isAbsolute() ? file : DMLib->dir(QStringLiteral("recv")) + file;
    req.workBank = opt(a, QStringLiteral("bank"), QFileInfo(file).fileName().mid(2, 2));
    req.gcode = opt(a, QStringLiteral("group"), QStringLiteral("01"));
    req.yearMon = round.left(6);
    req.seqNo = round.mid(7, 2);
    const ResultFileInfo info = DistribResult::readInfo(req.path);
    req.listBankName = DMData->GetBankName(info.bankCd);
    req.listTransferDate = ResultFile::transferDateColumn(info.transferDate);
    req.listCount = countColumn(info.dataCount);
    const ResultApplyOutcome o = DistribResult::apply(req);
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

const bool registered = [] {
    Driver::addCommand(QStringLiteral("dist-result"), QString::fromUtf8(kUsage), [](const QStringList& a) {
        const QString w = a.value(0);
        if (w == QLatin1String("list")) return list(a.mid(1));
        if (w == QLatin1String("apply")) return apply(a.mid(1));
        return Driver::fail(QString::fromUtf8(kUsage));
    });
    return true;
}();

} // namespace
