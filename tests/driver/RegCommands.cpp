// reg run / reg request / reg result: the account-registration window's
// steps on plain values, with the boxes it shows.
#include "driver/Driver.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "transfers/registration/RegRun.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonObject>

namespace {

using Driver::opt;

const char* kUsage = "reg run create --bank BB | reg run list --ym YYYYMM --seq SS [--result all|fail|ok] | "
                     "reg request write --ym YYYYMM --seq SS | reg result apply [FILE]";

// The combo entry of a bank code, as the window passes it.
QString bankText(const QString& bank) {
    for (const QString& t : RegRun::bankTexts())
        if (t.left(2) == bank) return t;
    return bank + QLatin1Char('.') + DMData->GetBankName(bank);
}

RegRun::Filter filterOf(const QString& v) {
    if (v == QLatin1String("fail")) return RegRun::Filter::Failed;
    if (v == QLatin1String("ok")) return RegRun::Filter::Registered;
    return RegRun::Filter::All;
}

int listRun(const QStringList& a) {
    const QString ym = opt(a, QStringLiteral("ym")), seq = opt(a, QStringLiteral("seq"));
    const RegRun::Listing l = RegRun::list(ym, seq, filterOf(opt(a, QStringLiteral("result"))));
    if (!l.exists) {
        Driver::print(QJsonObject{{QStringLiteral("exists"), false}});
        return 1;
    }
    for (const RegRun::Row& r : l.rows)
        Driver::print(QJsonObject{
            {QStringLiteral("row"), QJsonObject{{QStringLiteral("SNo"), r.SNo},
                                                {QStringLiteral("Nm"), r.Nm},
                                                {QStringLiteral("Sex"), RegRun::sexText(r.Sex)},
                                                {QStringLiteral("RegBankCd"), r.RegBankCd},
                                                {QStringLiteral("BankCd"), r.BankCd},
                                                {QStringLiteral("RepFacCd"), r.RepFacCd},
                                                {QStringLiteral("AcctNo"), r.AcctNo},
                                                {QStringLiteral("NapbuNo"), r.NapbuNo},
                                                {QStringLiteral("SocId"), r.SocId},
                                                {QStringLiteral("Result"), RegRun::resultText(r.Result)},
                                                {QStringLiteral("ErrCd"), r.ErrCd},
                                                {QStringLiteral("Reason"), RegRun::reasonText(r.ErrCd)}}}});
    Driver::print(QJsonObject{{QStringLiteral("total"), l.total},
                              {QStringLiteral("registered"), l.registered},
                              {QStringLiteral("failed"), l.failed}});
    return 0;
}

int run(const QStringList& a) {
    const QString verb = a.value(0);
    if (verb == QLatin1String("create")) {
        const QString bank = opt(a, QStringLiteral("bank"));
        // "00.모든은행" leaves 자료생성 disabled.
        if (bank.size() != 2 || bank == QLatin1String("00")) return Driver::fail(QString::fromUtf8(kUsage));
        const RegRun::Created c = RegRun::create(bank, bankText(bank));
        Driver::print(
            QJsonObject{{QStringLiteral("done"), c.ok},
                        {QStringLiteral("table"), c.ok ? RegRun::tableName(c.yearMon, c.seqNo) : QString()},
                        {QStringLiteral("repFacCd"), c.repFacCd},
                        {QStringLiteral("rows"), c.rows}});
        return c.ok ? 0 : 1;
    }
    if (verb == QLatin1String("list")) return listRun(a.mid(1));
    return Driver::fail(QString::fromUtf8(kUsage));
}

int request(const QStringList& a) {
    if (a.value(0) != QLatin1String("write")) return Driver::fail(QString::fromUtf8(kUsage));
    const QString ym = opt(a, QStringLiteral("ym")), seq = opt(a, QStringLiteral("seq"));
    // "파일작성" takes the bank and the code from the run as "자료조회" lists it.
    const RegRun::Written w = RegRun::writeRequest(ym, seq, RegRun::list(ym, seq));
    Driver::print(QJsonObject{{QStringLiteral("done"), w.ok},
                              {QStringLiteral("file"), w.fileName},
                              {QStringLiteral("count"), w.count}});
    return w.ok ? 0 : 1;
}

void printApplied(const RegRun::Applied& r) {
    const bool ok = r.status == RegRun::Applied::Status::Applied;
    Driver::print(
        QJsonObject{{QStringLiteral("applied"), ok},
                    {QStringLiteral("run"), ok ? r.yearMon + QLatin1Char('-') + r.seqNo : QString()},
                    {QStringLiteral("archive"), r.archiveName},
                    {QStringLiteral("requests"), r.requests},
                    {QStringLiteral("registered"), r.registered}});
}

int result(const QStringList& a) {
    if (a.value(0) != QLatin1String("apply")) return Driver::fail(QString::fromUtf8(kUsage));
    const QString file = a.value(1);
    if (file.isEmpty()) {
        // "파일풀기": every waiting file in turn.
        const QList<RegRun::Applied> all = RegRun::applyAll();
        bool allOk = !all.isEmpty();
        for (const RegRun::Applied& r : all) {
            printApplied(r);
            allOk = allOk && r.status == RegRun::Applied::Status::Applied;
        }
        return allOk ? 0 : 1;
    }
    // A bare name is a file in recv.
    const QString path =
        file.contains(QLatin1Char('/')) ? file : QDir(DMLib->dir(QStringLiteral("recv"))).filePath(file);
    const RegRun::Applied r = RegRun::applyFile(path);
    printApplied(r);
    return r.status == RegRun::Applied::Status::Applied ? 0 : 1;
}

const bool registered = [] {
    Driver::addCommand(QStringLiteral("reg"), QString::fromUtf8(kUsage), [](const QStringList& a) {
        const QString w = a.value(0);
        if (w == QLatin1String("run")) return run(a.mid(1));
        if (w == QLatin1String("request")) return request(a.mid(1));
        if (w == QLatin1String("result")) return result(a.mid(1));
        return Driver::fail(QString::fromUtf8(kUsage));
    });
    return true;
}();

} // namespace
