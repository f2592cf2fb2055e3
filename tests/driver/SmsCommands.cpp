// zq-driver sms compose|send: the SMS composer opened from the roster and
// its upload, without a window on screen.

#include "driver/Driver.h"
#include "driver/SelectionArgs.h"

#include "data/DMModule.h"
#include "platform/text/Cp949.h"
#include "platform/ui/Msg.h"
#include "students/RosterList.h"
#include "students/SMSEdit.h"
#include "students/SmsSession.h"
#include "transfers/collection/CollectionExport.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QPlainTextEdit>

namespace {

using Driver::opt;

const char* kUsage =
    "sms compose [--form NAME | --text TEXT] [--from SNO] [--to SNO] [--bank BB] [--use 0-2] | "
    "sms send [--host H] [--port P] [--company C --password P] [--timeout ms] | "
    "sms recipients collection SELECTION";

// As "문자메세지" hands over the roster's listing: the students with consent
// and a mobile number; the form filled in for each; the send file written.
int compose(const QStringList& args) {
    RosterFilter f;
    f.sNoFrom = opt(args, QStringLiteral("from"));
    f.sNoTo = opt(args, QStringLiteral("to"));
    f.bankText = opt(args, QStringLiteral("bank"), QStringLiteral("00"));
    f.use = opt(args, QStringLiteral("use"), QStringLiteral("0")).toInt();
    const RosterListing l = RosterList::pListStudents(f);
    TFrmSMSEdit d;
    d.SGridSMS = RosterList::smsRecipients(l.rows);
    if (d.SGridSMS.isEmpty()) {
        Msg::show(QCoreApplication::applicationName(), QStringLiteral("문자메세지 발송대상이 없습니다.!!"));
        return 1;
    }
    const QString form = opt(args, QStringLiteral("form"));
    if (!form.isEmpty()) {
        if (!SmsFile::formNames().contains(form)) return Driver::fail(QStringLiteral("no form ") + form);
        d.pLoadFormList(form);
    }
    if (args.contains(QStringLiteral("--text"))) d.MemoMsg->setPlainText(opt(args, QStringLiteral("text")));
    d.FormActivate();
    const QString text = d.formText();
    for (int k = 1; k <= d.SGridSMS.size(); ++k)
        d.sApplyForm(k, text);
    if (!d.bMakeSmsFile()) {
        Msg::show(QCoreApplication::applicationName(), QStringLiteral("메세지 발송실패(MakeDataFile)~!!"));
        return 1;
    }
    for (const SmsFile::Recipient& r : d.SGridSMS)
        Driver::print(
            {{QStringLiteral("row"), QJsonArray{r.sno, r.nm, r.tel, r.msg, Cp949::byteLength(r.msg)}}});
    Driver::print({{QStringLiteral("result"), QStringLiteral("written")},
                   {QStringLiteral("file"), SmsSendFile()},
                   {QStringLiteral("count"), int(d.SGridSMS.size())},
                   {QStringLiteral("form"), text}});
    return 0;
}

// "문자메세지" of the collection window: the recipients it hands to the
// composer for the listing under the window's selections.
int collectionRecipients(const QStringList& args) {
    CollectionSelection s;
    CollectionListing l;
    int rc = 0;
    if (!Driver::collectionListing(args, s, l, &rc)) return rc;
    const QList<SmsFile::Recipient> rs = CollectionExport::smsRecipients(l.rows);
    if (rs.isEmpty()) {
        Msg::show(QCoreApplication::applicationName(), QStringLiteral("문자메세지 발송대상이 없습니다.!!"));
        return 1;
    }
    for (const SmsFile::Recipient& r : rs)
        Driver::print({{QStringLiteral("recipient"), QJsonArray{r.sno, r.nm, r.item, r.amount, r.date, r.tel, r.scd}}});
    Driver::print({{QStringLiteral("count"), int(rs.size())}});
    return 0;
}

// Uploads the send file as "문자메세지전송" does after writing it.
int send(const QStringList& args) {
    const QString file = SmsSendFile();
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return Driver::fail(QStringLiteral("no send file ") + file);
    const int recipients = int(f.size() / SmsFile::kRecordWidth);
    f.close();
    SmsSession::Request r;
    const QString company = opt(args, QStringLiteral("company"));
    if (company.isEmpty()) {
        SmsSession::readLogOn(&r);
    } else {
        r.company = company;
        r.password = opt(args, QStringLiteral("password"));
    }
    const QString host = opt(args, QStringLiteral("host")), port = opt(args, QStringLiteral("port"));
    if (host.isEmpty() || port.isEmpty()) {
        if (!SmsSession::readServer(&r)) return 1;
    }
    if (!host.isEmpty()) r.host = host;
    if (!port.isEmpty()) r.port = quint16(port.toUInt());
    r.file = file;
    r.recipients = recipients;
    r.formText = opt(args, QStringLiteral("form-text"));
    SmsSession s;
    const int timeout = opt(args, QStringLiteral("timeout")).toInt();
    if (timeout > 0) s.setReadTimeout(timeout);
    s.onMessage = [](const TVanMsg& m, bool sent) {
        Driver::print({{sent ? QStringLiteral("sent") : QStringLiteral("received"), true},
                       {QStringLiteral("JobCode"), QString::fromLatin1(m.JobCode)},
                       {QStringLiteral("RecCount"), QString::fromLatin1(m.RecCount)},
                       {QStringLiteral("BlockNo"), QString::fromLatin1(m.BlockNo)},
                       {QStringLiteral("RespCode"), QString::fromLatin1(m.RespCode)}});
    };
    bool done = false, ok = false;
    QObject::connect(&s, &SmsSession::finished, [&](bool v) {
        ok = v;
        done = true;
    });
    if (!s.start(r)) return 1;
    QEventLoop loop;
    while (!done)
        loop.processEvents(QEventLoop::WaitForMoreEvents);
    Driver::print({{QStringLiteral("result"), ok ? QStringLiteral("sent") : QStringLiteral("failed")},
                   {QStringLiteral("count"), recipients}});
    return ok ? 0 : 1;
}

const struct Registrar {
    Registrar() {
        Driver::addCommand(QStringLiteral("sms"), QString::fromUtf8(kUsage), [](const QStringList& args) {
            const QString what = args.value(0);
            if (what == QLatin1String("compose")) return compose(args.mid(1));
            if (what == QLatin1String("send")) return send(args.mid(1));
            if (what == QLatin1String("recipients") && args.value(1) == QLatin1String("collection"))
                return collectionRecipients(args.mid(2));
            return Driver::fail(QString::fromUtf8(kUsage));
        });
    }
} registrar;

} // namespace
