#include "basic/ItemStore.h"

#include "basic/GroupStore.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"

#include <QRegularExpression>
#include <QSet>

namespace ItemStore {

namespace {

const QString kTable = QStringLiteral("C_ITEM");
const QString kCaption = QStringLiteral("입력오류");

QString twoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

// One more than the highest code in use; past 99 the first free code from
// 01, so a code never outgrows its two characters.
QString nextFree(const QStringList& codes) {
    QSet<int> used;
    int highest = 0;
    for (const QString& c : codes) {
        bool ok = false;
        const int n = c.trimmed().toInt(&ok);
        if (!ok) continue;
        used.insert(n);
        highest = std::max(highest, n);
    }
    if (highest < 99) return twoDigits(highest + 1);
    for (int n = 1; n <= 99; ++n)
        if (!used.contains(n)) return twoDigits(n);
    return {};
}

QStringList column(const QString& sql, const QVariantList& binds = {}) {
    Query q(sql);
    for (const QVariant& b : binds)
        q.add(b);
    QStringList out;
    if (!q.exec()) return out;
    while (q.next())
        out << q.str(0);
    return out;
}

ItemRow rowOf(const Query& q) {
    return ItemRow{q.str(QStringLiteral("ItemCd")),  q.str(QStringLiteral("ItemID")),
                   q.str(QStringLiteral("ItemNm")),  q.str(QStringLiteral("Kwan")),
                   q.str(QStringLiteral("Hang")),    q.num(QStringLiteral("ItemAmt")),
                   q.str(QStringLiteral("EduType")), q.str(QStringLiteral("Gcode"))};
}

// True when another item of the group already has that ItemID.
bool itemIdTaken(const QString& gcode, const QString& itemId, const QString& ownItemCd) {
    Query q(QStringLiteral("SELECT count(*) FROM C_ITEM WHERE ItemID = ? AND Gcode = ? AND ItemCd IS NOT ?"));
    q.add(itemId).add(gcode).add(ownItemCd);
    return q.exec() && q.next() && q.num(0) > 0;
}

QString rtrim(const QString& s) {
    int end = s.size();
    while (end > 0 && s.at(end - 1) == QLatin1Char(' '))
        --end;
    return s.left(end);
}

// The checks of an entry (row: the item it edits), before anything is
// written; amount gets the amount read.
Refusal checkInput(const ItemInput& in, const std::optional<ItemRow>& row, qint64* amount) {
    const auto refuse = [](const QString& text, int field) { return Refusal{kCaption, text, field}; };
    const QString own = row ? row->itemCd : QString();
    if (in.gcode.isEmpty()) return refuse(QStringLiteral("항목그룹을 선택해주세요!!"), FieldGroup);
    // The code must be free in the item's group, whether the code or the
    // group changed, before anything is written.
    const bool idOrGroupMoved =
        row ? (in.itemId != row->itemId || in.gcode != row->gcode) : in.itemId != in.shownItemId;
    if (idOrGroupMoved && itemIdTaken(in.gcode, in.itemId, own))
        return refuse(QStringLiteral("항목그룹내 항목코드가 중복됩니다!!"), FieldItemId);
    if (in.itemId == QLatin1String("00"))
        return refuse(QStringLiteral("항목코드로 00 번은 입력하실수 없습니다!!"), FieldItemId);
    if (in.itemId.size() != 2 || !TDMLib::IsAllDigits(in.itemId))
        return refuse(QStringLiteral("항목코드는 숫자 두 자리로 입력해주세요!!"), FieldItemId);
    if (in.name.trimmed().isEmpty()) return refuse(QStringLiteral("항목명을 입력해주세요!!"), FieldName);
    if (in.amount.trimmed().isEmpty()) return refuse(QStringLiteral("금액을 입력해주세요!!"), FieldAmount);
    if (!parseAmount(in.amount, amount))
        return refuse(QStringLiteral("금액은 숫자로 입력해주세요!!"), FieldAmount);
    const int width = 10;
    if (Refusal bad = InputCheck::checkText(kCaption, FieldName, QStringLiteral("항목명"), in.name, width))
        return bad;
    if (Refusal bad = InputCheck::checkText(kCaption, FieldKwan, QStringLiteral("관"), in.kwan, width))
        return bad;
    return InputCheck::checkText(kCaption, FieldHang, QStringLiteral("항"), in.hang, width);
}

// The changed columns of an item, each with its log line, in one transaction.
SaveResult saveEdit(const ItemInput& in, const ItemRow& row, qint64 amount, const QString& eduType) {
    SaveResult r;
    const QString prefix = QStringLiteral("(항목그룹: ") + GroupStore::displayText(row.gcode) +
                           QStringLiteral(" ,항목코드: ") + row.itemId + QStringLiteral(",항목명: ") +
                           row.name + QStringLiteral(") ");
    ColumnValues set;
    QStringList logs;
    auto change = [&](const char* field, const QVariant& v, const QString& log) {
        set << std::pair{QString::fromLatin1(field), v};
        if (!log.isEmpty()) logs << QStringLiteral("[수정]") + prefix + log;
    };
    if (in.gcode != row.gcode) change("Gcode", in.gcode, QStringLiteral(" 그룹변경 : ") + in.gcode);
    if (in.itemId != row.itemId) change("ItemID", in.itemId, QStringLiteral(" 항목코드 : ") + in.itemId);
    if (in.name != row.name) change("ItemNm", in.name, QStringLiteral(" 항목명 : ") + in.name);
    if (amount != row.amount) change("ItemAmt", amount, QStringLiteral(" 금액 : ") + QString::number(amount));
    if (in.kwan != row.kwan) change("Kwan", in.kwan, QStringLiteral(" 관 : ") + in.kwan);
    if (in.hang != row.hang) change("Hang", in.hang, QStringLiteral(" 항 : ") + in.hang);
    if ((row.eduType == QLatin1String("1")) != in.eduTarget)
        change("EduType", eduType,
               in.eduTarget ? QStringLiteral(" 교육비납입증명서 : 대상")
                            : QStringLiteral(" 교육비납입증명서 : 비대상"));

    r.itemCd = row.itemCd;
    r.logPrefix = prefix;
    if (set.isEmpty()) {
        r.saved = true;
        return r;
    }
    Transaction tx;
    bool ok = Database::updateRows(kTable, set, {{QStringLiteral("ItemCd"), row.itemCd}});
    for (const QString& l : logs)
        ok = ok && DMLib->WriteJobLog(kMenuName, l);
    r.saved = ok && tx.commit();
    if (r.saved && amount != row.amount) {
        r.amountChanged = true;
        r.oldAmount = row.amount;
        r.newAmount = amount;
    }
    return r;
}

// A new item under the next free code, logged, in one transaction.
SaveResult saveNew(const ItemInput& in, qint64 amount, const QString& eduType) {
    SaveResult r;
    const auto refuse = [&r](const QString& text, int field) {
        r.refusal = Refusal{kCaption, text, field};
        return r;
    };
    if (itemIdTaken(in.gcode, in.itemId, QString()))
        return refuse(QStringLiteral("항목코드가 중복됩니다!!"), FieldItemId);
    const bool empty = column(QStringLiteral("SELECT count(*) FROM C_ITEM")).value(0) == QLatin1String("0");
    // Decided before the placeholder goes in, which takes 00 itself.
    const QString itemCd = empty ? QStringLiteral("01") : nextItemCd();
    if (itemCd.isEmpty())
        return refuse(
            QStringLiteral("항목은 99개까지 등록할 수 있습니다. 더 이상 항목코드를 부여할 수 없습니다!!"),
            FieldItemId);

    Transaction tx;
    bool ok = true;
    if (empty) ok = Database::insertRow(kTable, {{QStringLiteral("ItemCd"), kPlaceholder}});
    ok = ok && Database::insertRow(kTable, {{QStringLiteral("ItemCd"), itemCd},
                                            {QStringLiteral("ItemID"), in.itemId},
                                            {QStringLiteral("ItemNm"), in.name},
                                            {QStringLiteral("Kwan"), in.kwan},
                                            {QStringLiteral("Hang"), in.hang},
                                            {QStringLiteral("ItemAmt"), amount},
                                            {QStringLiteral("Gcode"), in.gcode},
                                            {QStringLiteral("EduType"), eduType}});
    ok = ok && DMLib->WriteJobLog(
                   kMenuName, QStringLiteral("[등록]항목그룹: ") + GroupStore::displayText(in.gcode) +
                                  QStringLiteral(", 항목코드: ") + in.itemId + QStringLiteral(", 항목명: ") +
                                  in.name + QStringLiteral(", 관:") + in.kwan + QStringLiteral(", 항:") +
                                  in.hang + QStringLiteral(", 금액:") + QString::number(amount) +
                                  (in.eduTarget ? QStringLiteral(", 교육비납입증명서:대상")
                                                : QStringLiteral(", 교육비납입증명서:비대상")));
    r.saved = ok && tx.commit();
    r.inserted = r.saved;
    r.itemCd = itemCd;
    return r;
}

} // namespace

QList<ItemRow> rowsOfGroup(const QString& gcode) {
    QList<ItemRow> out;
    Query q(QStringLiteral("SELECT * FROM C_ITEM WHERE Gcode = ? ORDER BY ItemID ASC"));
    q.add(gcode);
    if (!q.exec()) return out;
    while (q.next())
        out << rowOf(q);
    return out;
}

std::optional<ItemRow> find(const QString& itemCd) {
    Query q(QStringLiteral("SELECT * FROM C_ITEM WHERE ItemCd = ?"));
    q.add(itemCd);
    if (!q.exec() || !q.next()) return std::nullopt;
    return rowOf(q);
}

QString nextItemId(const QString& gcode) {
    return nextFree(column(QStringLiteral("SELECT ItemID FROM C_ITEM WHERE Gcode = ?"), {gcode}));
}

QString nextItemCd() {
    return nextFree(column(QStringLiteral("SELECT ItemCd FROM C_ITEM")));
}

QString normalizeItemId(const QString& text) {
    if (text.size() == 1 && TDMLib::IsAllDigits(text)) return QLatin1Char('0') + text;
    return text;
}

bool parseAmount(const QString& text, qint64* amount) {
    QString t = text;
    t.remove(QLatin1Char(',')).remove(QLatin1Char(' '));
    // A fraction of a won is only accepted as ".0".
    static const QRegularExpression re(QStringLiteral("^(\\d{1,12})(\\.0*)?$"));
    const auto m = re.match(t);
    if (!m.hasMatch()) return false;
    if (amount) *amount = m.captured(1).toLongLong();
    return true;
}

SaveResult save(const ItemInput& raw) {
    ItemInput in = raw;
    in.itemId = normalizeItemId(in.itemId.trimmed());
    in.name = rtrim(in.name);
    in.kwan = rtrim(in.kwan);
    in.hang = rtrim(in.hang);
    const std::optional<ItemRow> row = in.itemCd != kPlaceholder ? find(in.itemCd) : std::nullopt;
    SaveResult r;
    qint64 amount = 0;
    if ((r.refusal = checkInput(in, row, &amount))) return r;
    const QString eduType = in.eduTarget ? QStringLiteral("1") : QStringLiteral("2");
    if (row) return saveEdit(in, *row, amount, eduType);
    return saveNew(in, amount, eduType);
}

int carryAmount(const QString& itemCd, qint64 oldAmount, qint64 newAmount, const QString& logPrefix) {
    Transaction tx;
    Query q(QStringLiteral("UPDATE M_EXEMP SET Itemval = ? WHERE TRIM(ItemCd) = ? AND Itemval = ?"));
    q.add(newAmount).add(itemCd.trimmed()).add(oldAmount);
    if (!q.exec()) return -1;
    const int n = q.affected();
    if (n > 0 && !DMLib->WriteJobLog(QStringLiteral("면제금액자동수정"),
                                     QStringLiteral("[수정]") + logPrefix + QStringLiteral(" 금액 : ") +
                                         QString::number(newAmount)))
        return -1;
    return tx.commit() ? n : -1;
}

bool remove(const QString& itemCd, const QString& shownItemId) {
    if (itemCd.trimmed().isEmpty() || itemCd == kPlaceholder) return false;
    const std::optional<ItemRow> row = find(itemCd);
    if (!row) return false;
    Transaction tx;
    Query del(QStringLiteral("DELETE FROM C_ITEM WHERE ItemCd = ?"));
    del.add(itemCd);
    if (!del.exec() || del.affected() != 1) return false;
    if (!DMLib->WriteJobLog(kMenuName, QStringLiteral("[삭제]항목그룹: ") +
                                           GroupStore::displayText(row->gcode) +
                                           QStringLiteral(", 항목코드: ") + shownItemId +
                                           QStringLiteral(" , 항목명: ") + row->name))
        return false;
    return tx.commit();
}

} // namespace ItemStore
