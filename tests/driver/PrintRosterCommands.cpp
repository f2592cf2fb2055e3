// zq-driver print roster: the roster window's "인쇄" without the preview.

#include "driver/Driver.h"
#include "driver/PrintOutput.h"

#include "students/RosterList.h"
#include "students/RosterPrint.h"

#include <QJsonObject>

namespace {

const char* kUsage = "print-roster (--whole | --by-class) [--from SNO] [--to SNO] [--bank BB] [--acct N] "
                     "[--use 0-2] [--sex 0-2] [--reg 0-2] [--sms 0-2] --pdf FILE [--dump FILE]";

int printRoster(QStringList args) {
    PrintOutput::Options out;
    QString err;
    if (!PrintOutput::take(args, out, &err)) return Driver::fail(err);
    const bool whole = args.contains(QStringLiteral("--whole"));
    if (whole == args.contains(QStringLiteral("--by-class")))
        return Driver::fail(QString::fromUtf8(kUsage));
    const auto opt = [&args](const char* name, const QString& def = {}) {
        const int i = args.indexOf(QLatin1String("--") + QLatin1String(name));
        return i >= 0 && i + 1 < args.size() ? args.at(i + 1) : def;
    };
    RosterFilter f;
    f.sNoFrom = opt("from");
    f.sNoTo = opt("to");
    f.bankText = opt("bank", QStringLiteral("00"));
    f.acctNo = opt("acct");
    f.use = opt("use", QStringLiteral("0")).toInt();
    f.sex = opt("sex", QStringLiteral("0")).toInt();
    f.regYn = opt("reg", QStringLiteral("0")).toInt();
    f.sms = opt("sms", QStringLiteral("0")).toInt();
    // The listing the window would show; an empty grid prints nothing.
    const RosterListing l = RosterList::pListStudents(f);
    if (l.rows.isEmpty()) {
        Driver::print({{QStringLiteral("result"), QStringLiteral("empty")}});
        return 1;
    }
    const QStringList counts{RosterList::countText(QStringLiteral("총인원수: "), l.enrolled + l.transferred),
                             RosterList::countText(QStringLiteral("재학생수: "), l.enrolled),
                             RosterList::countText(QStringLiteral("전출생수: "), l.transferred)};
    const auto report = RosterPrint::make(l.rows, whole, counts);
    PrintOutput::Stream stream(out);
    return stream.finish(report->layout());
}

struct Register {
    Register() {
        Driver::addCommand(QStringLiteral("print-roster"), QString::fromUtf8(kUsage), printRoster);
    }
} reg;

} // namespace
