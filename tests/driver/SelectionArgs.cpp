#include "driver/SelectionArgs.h"

#include "driver/Driver.h"

#include "data/DMMain.h"
#include "platform/sys/Clock.h"
#include "platform/ui/Msg.h"
#include "transfers/common/CollectionRound.h"

namespace Driver {

const char* const kCollectionSelection =
    "--yearmon yyyymm --seqno NN [--group GG] [--bank BB] [--items 01,02] [--groups A,B] "
    "[--from SNO] [--to SNO] [--setl yyyymmdd] [--setl2 yyyymmdd] [--redt yyyymmdd] "
    "[--redt2 yyyymmdd] [--exemp 0-2] [--proc 0-5] [--sms 0-2] [--quarter 0-4]";

bool collectionSelection(const QStringList& args, CollectionSelection& s, int* quarter) {
    s.yearMon = opt(args, QStringLiteral("yearmon"));
    s.seqNo = opt(args, QStringLiteral("seqno"));
    if (s.yearMon.isEmpty() || s.seqNo.isEmpty()) return false;
    // The quarter box offers its blank entry and four quarters, nothing else.
    const QString q = opt(args, QStringLiteral("quarter"), QStringLiteral("0"));
    if (q.size() != 1 || q.at(0) < u'0' || q.at(0) > u'4') return false;
    if (quarter) *quarter = q.toInt();
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

bool collectionListing(const QStringList& args, CollectionSelection& s, CollectionListing& l, int* rc) {
    int quarter = 0;
    if (!collectionSelection(args, s, &quarter)) {
        *rc = fail(QStringLiteral("needs ") + QString::fromUtf8(kCollectionSelection));
        return false;
    }
    *rc = 1;
    // "자료조회" sees only the round tables of the quarter chosen: a round of
    // another month does not exist for it.
    const QStringList tables =
        CollectionRound::roundTables(CollectionRound::quarterMasks(quarter, Clock::today()));
    if (!CollectionRound::roundListed(tables, s.yearMon, s.seqNo)) {
        Msg::error(QStringLiteral("이체년월/회차오류"),
                   QStringLiteral("존재하지 않은 이체년월/회차입니다! 확인하시기 바랍니다."));
        return false;
    }
    if (const auto refusal = CollectionList::checkShow(s)) {
        Msg::show(refusal->caption, refusal->text, refusal->errorIcon ? MsgIcon::Error : MsgIcon::None);
        return false;
    }
    const QString g = s.gcode;
    l = CollectionList::list(s, [&g](const QString& id) { return DMData->GetGItemName(id, g); });
    if (!l.error.isEmpty()) {
        *rc = fail(l.error);
        return false;
    }
    return true;
}

} // namespace Driver
