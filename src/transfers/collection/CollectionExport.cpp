#include "transfers/collection/CollectionExport.h"

#include "data/DMMain.h"
#include "platform/db/Database.h"
#include "platform/sheet/Workbook.h"
#include "transfers/common/CollectionListing.h"

#include <QLocale>

namespace CollectionExport {

namespace {

qint64 amountOf(const QString& cell) {
    QString t = cell;
    t.remove(QLatin1Char(',')).remove(QLatin1Char(' '));
    return t.toLongLong(); // an empty amount (a null Amt) counts 0
}

QString amountText(qint64 v) {
    return QStringLiteral("%1 ").arg(QLocale(QLocale::English).toString(v), 12);
}

QString exempMark(const QString& c) {
    if (c == QLatin1String("2")) return QStringLiteral("◐");
    if (c == QLatin1String("0")) return QStringLiteral("◎");
    if (c == QLatin1String("1")) return QStringLiteral("Ｘ");
    return c;
}

QString replyText(const QString& c) {
    if (c == QLatin1String("0")) return QStringLiteral("미처리");
    if (c == QLatin1String("1")) return QStringLiteral("처리");
    if (c == QLatin1String("2")) return QStringLiteral("현금수납");
    if (c == QLatin1String("3")) return QStringLiteral("환불처리");
    return c;
}

} // namespace

qint64 exemptAmount(const QString& custNo, const QString& itemId, const QString& gcode) {
    Query q(QStringLiteral("select e.Itemval from M_EXEMP e join C_ITEM i on e.ItemCd = i.ItemCd "
                           "where e.CustNo = ? and i.ItemID = ? and i.Gcode = ?"));
    q.add(custNo).add(itemId).add(gcode);
    if (!q.exec() || !q.next()) return 0;
    return q.num(0);
}

QList<SmsRecipient> smsRecipients(const QList<QStringList>& rows) {
    QList<SmsRecipient> out;
    for (const QStringList& c : rows) {
        // Refusal, or no payer row at all, counts as no number.
        const QString tel = c.value(ColSms) == QLatin1String("1") ? c.value(ColTel).trimmed() : QString();
        if (tel.isEmpty()) continue;
        SmsRecipient r;
        r.sno = c.value(ColSNo);
        r.nm = c.value(ColNm);
        r.item = c.value(ColItem);
        r.amount = QLocale(QLocale::English).toString(amountOf(c.value(ColAmt)));
        r.date = c.value(ColDate);
        r.tel = tel;
        r.scd = c.value(ColSCd);
        out << r;
    }
    return out;
}

bool write(const QList<QStringList>& rows, const QString& path, QString* error) {
    Workbook wb;
    wb.writeRow(1, 1,
                {QStringLiteral("학번"), QStringLiteral("성명"), QStringLiteral("항목"),
                 QStringLiteral("은행코드"), QStringLiteral("은행명"), QStringLiteral("계좌번호"),
                 QStringLiteral("금액"), QStringLiteral("면제"), QStringLiteral("이체"),
                 QStringLiteral("이체일"), QStringLiteral("그룹"), QStringLiteral("항목그룹"),
                 QStringLiteral("미납사유"), QStringLiteral("환불금액"), QStringLiteral("환불일자")});
    // all, cash, transfer, refund, unprocessed, wholly exempt, partly exempt
    qint64 cnt[7] = {}, amt[7] = {};
    int r = 2;
    for (const QStringList& c : rows) {
        const auto v = [&c](int col) { return c.value(col); };
        const QString bank = v(ColBank);
        const qint64 a = amountOf(v(ColAmt));
        // Every text cell stays text, so numbers keep their leading zeros.
        wb.writeRow(r++, 1,
                    {v(ColSNo), v(ColNm), v(ColItem), bank,
                     bank == QLatin1String("99") ? QStringLiteral("은행없음")
                                                 : (DMData ? DMData->GetBankName(bank) : QString()),
                     v(ColAcct), amountText(a), exempMark(v(ColExemp)), replyText(v(ColReply)), v(ColDate),
                     v(ColGrp), v(ColGName), v(ColUnpaid), v(ColReAmt), v(ColReDt)});
        ++cnt[0];
        amt[0] += a;
        static const char* states[] = {"2", "1", "3", "0"};
        for (int s = 0; s < 4; ++s)
            if (v(ColReply) == QLatin1String(states[s])) {
                ++cnt[1 + s];
                amt[1 + s] += a;
            }
        if (v(ColExemp) == QLatin1String("0")) {
            ++cnt[5];
            amt[5] += exemptAmount(v(ColCustNo), v(ColItemCd), v(ColGcode));
        } else if (v(ColExemp) == QLatin1String("2")) {
            ++cnt[6];
            amt[6] += exemptAmount(v(ColCustNo), v(ColItemCd), v(ColGcode)) - a;
        }
    }
    static const char16_t* labels[7][2] = {
        {u"전체건수     :", u"전체금액     :"}, {u"현금수납건수 :", u"현금수납금액 :"},
        {u"자동이체건수 :", u"자동이체금액 :"}, {u"환불건수     :", u"환불금액     :"},
        {u"미처리건수   :", u"미처리금액   :"}, {u"전액면제건수 :", u"전액면제금액 :"},
        {u"부분면제건수 :", u"부분면제금액 :"}};
    const int top = int(rows.size()) + 4; // two empty rows after the data
    for (int i = 0; i < 7; ++i) {
        wb.writeCell(top + i, 1, QString::fromUtf16(labels[i][0]));
        wb.writeCell(top + i, 3, cnt[i]);
        wb.writeCell(top + i, 5, QString::fromUtf16(labels[i][1]));
        wb.writeCell(top + i, 7, amountText(amt[i]));
    }
    return wb.save(path, error);
}

} // namespace CollectionExport
