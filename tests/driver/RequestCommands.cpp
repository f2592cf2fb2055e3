#include "driver/Driver.h"

#include "data/DMMain.h"
#include "platform/db/Database.h"
#include "platform/ui/Modal.h"
#include "transfers/common/BatFile.h"
#include "transfers/collection/CollectFileRun.h"
#include "transfers/common/M101B04.h"
#include "transfers/common/M101B05.h"

#include <QComboBox>
#include <QDateEdit>
#include <QJsonObject>
#include <QLineEdit>

namespace {

const char* kUsage =
    "request write --group G --bank B --round yyyymm-ss --start yyyy-mm-dd [--end yyyy-mm-dd] "
    "[--account N] [--from H,B,N] [--to H,B,N] [--items 01,02] [--groups A,B] [--mgmt CODE]";

QString entryOf(const QStringList& texts, const QString& code) {
    for (const QString& t : texts)
        if (t.startsWith(code + QLatin1Char('.'))) return t;
    return code;
}

// Writes a collection request file as the work window's button would, the
// dialogs filled from the arguments.
int requestWrite(const QStringList& args) {
    QMap<QString, QString> opt;
    for (int i = 0; i + 1 < args.size(); i += 2) {
        if (!args.at(i).startsWith(QLatin1String("--"))) return Driver::fail(QString::fromUtf8(kUsage));
        opt.insert(args.at(i).mid(2), args.at(i + 1));
    }
    if (args.size() % 2 != 0 || !opt.contains(QStringLiteral("group")) ||
        !opt.contains(QStringLiteral("bank")) || !opt.contains(QStringLiteral("round")) ||
        !opt.contains(QStringLiteral("start")))
        return Driver::fail(QString::fromUtf8(kUsage));

    CollectSelection sel;
    sel.Gcode = opt.value(QStringLiteral("group"));
    sel.BankCd = opt.value(QStringLiteral("bank"));
    const QStringList round = opt.value(QStringLiteral("round")).split(QLatin1Char('-'));
    if (round.size() != 2 || round.at(0).size() != 6 || round.at(1).size() != 2)
        return Driver::fail(QStringLiteral("bad --round"));
    sel.YearMon = round.at(0);
    sel.SeqNo = round.at(1);
    sel.GroupText = entryOf(DMData->GroupTexts(), sel.Gcode);
    sel.BankText = sel.BankCd == QLatin1String("00") ? QStringLiteral("00.모든은행")
                   : sel.BankCd == QLatin1String("99")
                       ? QStringLiteral("99.은행없음")
                       : sel.BankCd + QLatin1Char('.') + DMData->GetBankName(sel.BankCd);
    auto bound = [&](const char* name, QString* h, QString* b, QString* n) {
        const QStringList p = opt.value(QString::fromLatin1(name)).split(QLatin1Char(','));
        *h = p.value(0), *b = p.value(1), *n = p.value(2);
    };
    bound("from", &sel.SHakFrom, &sel.SBanFrom, &sel.SBunFrom);
    bound("to", &sel.SHakTo, &sel.SBanTo, &sel.SBunTo);
    if (opt.contains(QStringLiteral("items")))
        sel.ItemIds = opt.value(QStringLiteral("items")).split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (opt.contains(QStringLiteral("groups")))
        sel.GrpNames = opt.value(QStringLiteral("groups")).split(QLatin1Char(','), Qt::SkipEmptyParts);
    const QDate start = QDate::fromString(opt.value(QStringLiteral("start")), QStringLiteral("yyyy-MM-dd"));
    const QDate end = opt.contains(QStringLiteral("end"))
                          ? QDate::fromString(opt.value(QStringLiteral("end")), QStringLiteral("yyyy-MM-dd"))
                          : start;
    if (!start.isValid() || !end.isValid()) return Driver::fail(QStringLiteral("bad --start or --end"));
    const int account = opt.value(QStringLiteral("account"), QStringLiteral("0")).toInt();

    // The grid as listed: the round's unprocessed rows.
    bool hasUnproc = false;
    const QString table = QStringLiteral("H_200_") + sel.RunKey();
    if (Database::isRoundTableName(table) && Database::tableExists(table)) {
        Query q(QStringLiteral("select 1 from %1 where ReplyTy = '0' limit 1").arg(Database::quoted(table)));
        hasUnproc = q.exec() && q.next();
    }
    if (!CollectFileRun::bCheckFileCreate(sel, hasUnproc)) return 1;

    const bool haveCode = opt.contains(QStringLiteral("mgmt"));
    const QString code = opt.value(QStringLiteral("mgmt"));
    Modal::setRunner([&](QDialog* d) {
        if (auto* dates = qobject_cast<TFrmM101B04*>(d)) {
            dates->DTPickerMvS->setDate(start);
            dates->DTPickerMvE->setDate(end);
            dates->cbMAcctNo->setCurrentIndex(account);
            dates->bbtnOKClick();
        } else if (auto* mgmt = qobject_cast<TFrmM101B05*>(d)) {
            Driver::print(QJsonObject{{QStringLiteral("managementCode"), mgmt->EdtBokGi1->text()}});
            mgmt->EdtBokGi2->setText(code);
            if (haveCode)
                mgmt->BBtnConfiClick();
            else
                mgmt->BBtnCnclClick();
        } else {
            return Driver::runModal(d);
        }
        return d->result();
    });
    const CollectFileRun::Outcome out = CollectFileRun::TimeShowTimer(sel);
    Modal::setRunner(Driver::runModal);
    if (!out.Written) return 1;
    Driver::print(QJsonObject{{QStringLiteral("file"), out.FileName},
                              {QStringLiteral("count"), out.DataCnt},
                              {QStringLiteral("total"), double(BatFile::Run.Total)}});
    return 0;
}

struct Registrar {
    Registrar() {
        Driver::addCommand(QStringLiteral("request"), QString::fromUtf8(kUsage), [](const QStringList& a) {
            if (a.isEmpty() || a.first() != QLatin1String("write"))
                return Driver::fail(QString::fromUtf8(kUsage));
            return requestWrite(a.mid(1));
        });
    }
} registrar;

} // namespace
