#include "driver/SelectionArgs.h"

#include "driver/Driver.h"

namespace Driver {

bool collectionSelection(const QStringList& args, CollectionSelection& s) {
    s.yearMon = opt(args, QStringLiteral("yearmon"));
    s.seqNo = opt(args, QStringLiteral("seqno"));
    if (s.yearMon.isEmpty() || s.seqNo.isEmpty()) return false;
    s.gcode = opt(args, QStringLiteral("group"), QStringLiteral("01"));
    s.bankCd = opt(args, QStringLiteral("bank"), QStringLiteral("00"));
    s.itemIds = listOpt(args, QStringLiteral("items"));
    s.groups = listOpt(args, QStringLiteral("groups"));
    s.fromSNo = opt(args, QStringLiteral("from"));
    s.toSNo = opt(args, QStringLiteral("to"));
    s.setlDt = opt(args, QStringLiteral("setl"));
    s.setlDt2 = opt(args, QStringLiteral("setl2"));
    s.reDt = opt(args, QStringLiteral("redt"));
    s.reDt2 = opt(args, QStringLiteral("redt2"));
    s.exempIdx = opt(args, QStringLiteral("exemp"), QStringLiteral("0")).toInt();
    s.procIdx = opt(args, QStringLiteral("proc"), QStringLiteral("0")).toInt();
    s.smsIdx = opt(args, QStringLiteral("sms"), QStringLiteral("0")).toInt();
    return true;
}

} // namespace Driver
