#include "students/ExempStore.h"

#include "shared/InputCheck.h"

#include "basic/ItemStore.h"
#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/text/Cp949.h"

#include <QLocale>

QString ExempRow::kindText() const {
    if (!hasAmount) return QStringLiteral("등록금액없음");
    return ExempStore::kindText(full());
}

namespace ExempStore {

namespace {

const QString kTable = QStringLiteral("M_EXEMP");

ExempResult failed(const QString& text) {
    ExempResult r;
    r.caption = QStringLiteral("오류");
    r.text = text;
    return r;
}

// One bound as a condition on the student number: a full number, or the
// grade (1) or grade and class (3) compared on that many characters.
void addBound(QString& sql, QVariantList& binds, const QString& bound, const char* op) {
    if (bound.isEmpty()) return;
    const QString o = QString::fromLatin1(op);
    if (bound.size() == SNoLen)
        sql += QStringLiteral(" and b.SNo %1 ? ").arg(o);
    else
        sql += QStringLiteral(" and substr(b.SNo, 1, %1) %2 ? ").arg(bound.size()).arg(o);
    binds << bound;
}

ExempRow rowOf(const Query& q) {
    ExempRow r;
    r.custNo = q.str(0);
    r.itemCd = q.str(1);
    r.hasAmount = !q.isNull(2);
    r.amount = q.num(2);
    r.free = q.str(3);
    return r;
}

bool writeOne(const QString& custNo, const QString& itemCd, qint64 amount, bool full, bool* inserted,
              QString* error) {
    const QString free = freeCode(full);
    Query f(QStringLiteral("SELECT count(*) FROM M_EXEMP WHERE CustNo = ? AND ItemCd = ?"));
    f.add(custNo).add(itemCd);
    if (!f.exec() || !f.next()) {
        *error = f.error();
        return false;
    }
    *inserted = f.num(0) == 0;
    if (*inserted)
        return Database::insertRow(kTable,
                                   {{QStringLiteral("CustNo"), custNo},
                                    {QStringLiteral("ItemCd"), itemCd},
                                    {QStringLiteral("Itemval"), amount},
                                    {QStringLiteral("Free"), free}},
                                   error);
    return Database::updateRows(kTable, {{QStringLiteral("Free"), free}, {QStringLiteral("Itemval"), amount}},
                                {{QStringLiteral("CustNo"), custNo}, {QStringLiteral("ItemCd"), itemCd}}, error);
}

} // namespace

QString kindText(bool full) {
    return full ? QStringLiteral("전액면제") : QStringLiteral("부분면제");
}

QString freeCode(bool full) {
    return full ? QStringLiteral("A") : QStringLiteral("P");
}

QList<ExempItem> items() {
    // Group names are padded to the widest name of the group list, so that
    // the item part of every label starts in one column.
    int w = 0;
    for (const QString& g : DMData->GroupTexts())
        w = std::max(w, Cp949::byteLength(g));
    w -= 3;
    QList<ExempItem> out;
    Query q(QStringLiteral("SELECT A.ItemCd, A.ItemID, A.ItemNm, A.Gcode, B.G_NAME FROM C_ITEM AS A, G_GROUP AS B "
                           "WHERE A.Gcode = B.G_CODE AND A.ItemNm <> '' ORDER BY A.Gcode, A.ItemID"));
    if (!q.exec()) return out;
    while (q.next()) {
        const QString gName = q.str(4);
        const int pad = std::max(0, w - Cp949::byteLength(gName) + 1);
        out << ExempItem{q.str(0).trimmed(), q.str(1).trimmed(), q.str(3).trimmed(),
                         gName + QString(pad, QLatin1Char(' ')) + QStringLiteral(": ") + q.str(1) +
                             QLatin1Char('.') + q.str(2)};
    }
    return out;
}

std::optional<qint64> parseAmount(const QString& text, ExempResult* refusal) {
    const auto refuse = [refusal](const QString& t) -> std::optional<qint64> {
        if (refusal) {
            refusal->ok = false;
            refusal->caption = QStringLiteral("입력오류");
            refusal->text = t;
        }
        return std::nullopt;
    };
    if (text.trimmed().isEmpty()) return refuse(QStringLiteral("금액을 입력해주세요!!"));
    const std::optional<qint64> v = InputCheck::wholeWon(text);
    if (!v) return refuse(QStringLiteral("금액은 숫자로 입력해주세요!!"));
    return v;
}

std::optional<ExempRow> find(const QString& custNo, const QString& itemCd, QString* error) {
    Query q(QStringLiteral("SELECT CustNo, ItemCd, Itemval, Free FROM M_EXEMP WHERE CustNo = ? AND ItemCd = ?"));
    q.add(custNo.trimmed()).add(itemCd);
    if (!q.exec()) {
        if (error) *error = q.error();
        return std::nullopt;
    }
    if (!q.next()) return std::nullopt;
    return rowOf(q);
}

QList<ExempRow> ofStudent(const QString& custNo) {
    QList<ExempRow> out;
    Query q(QStringLiteral("SELECT CustNo, ItemCd, Itemval, Free FROM M_EXEMP WHERE CustNo = ?"));
    q.add(custNo.trimmed());
    if (!q.exec()) return out;
    while (q.next())
        out << rowOf(q);
    return out;
}

ExempListResult listStudents(const QString& hak, const QString& ban, const QString& bun, const QString& hak2,
                             const QString& ban2, const QString& bun2, const QString& itemCd) {
    ExempListResult r;
    if (!IsValidSNoInput(hak, ban, bun) || !IsValidSNoInput(hak2, ban2, bun2)) {
        r.caption = QStringLiteral("학번입력 오류");
        r.error = QStringLiteral("학번 입력 정보가 올바르지 않습니다.");
        return r;
    }
    const QString from = MakeSNo(hak, ban, bun), to = MakeSNo(hak2, ban2, bun2);
    if (!IsValidSNoRange(from, to)) {
        r.caption = QStringLiteral("학번범위 설정 오류");
        r.error = QStringLiteral("학번범위 설정이 올바르지 않습니다.");
        return r;
    }
    const bool all = itemCd == QLatin1String("00");
    QString sql = all ? QStringLiteral("select b.SNo, b.Nm, b.UseTy, b.CustNo, b.SCd, NULL from M_CUST b "
                                       "where b.UseTy = '1' ")
                      : QStringLiteral("select b.SNo, b.Nm, b.UseTy, b.CustNo, b.SCd, a.Itemval "
                                       "from M_EXEMP a, M_CUST b where a.ItemCd = ? and a.CustNo = b.CustNo "
                                       "and b.UseTy = '1' ");
    QVariantList binds;
    if (!all) binds << itemCd;
    addBound(sql, binds, from, ">=");
    addBound(sql, binds, to, "<=");
    sql += QStringLiteral("order by b.SNo, b.CustNo");
    Query q(sql);
    for (const QVariant& b : binds)
        q.add(b);
    if (!q.exec()) {
        r.caption = QStringLiteral("오류");
        r.error = q.error();
        return r;
    }
    while (q.next())
        r.rows << ExempStudent{q.str(0), q.str(1), q.str(2), q.str(3), q.str(4),
                               all ? QString() : QString::number(q.num(5))};
    r.ok = true;
    return r;
}

QString logLine(const QString& action, const QString& sCd, const QString& sNo, const QString& itemLabel,
                const QString& tail) {
    QString g;
    for (const QString& t : DMData->GradeTexts())
        if (!sCd.isEmpty() && t.startsWith(sCd)) {
            g = t.mid(2, 1);
            break;
        }
    return action + g + QStringLiteral("학년 ") + sNo.mid(1, 2) + QStringLiteral("반 ") + sNo.mid(3, SNoLen - 3) +
           QStringLiteral("번 ") + QStringLiteral("(") + itemLabel + tail;
}

ExempResult save(const ExempSave& s, const QString& menuName, const std::function<QString(bool)>& logOf) {
    ExempResult r;
    const std::optional<qint64> amount = parseAmount(s.amountText, &r);
    if (!amount) return r;
    Transaction t;
    QString error;
    if (!t.ok()) return failed(QStringLiteral("데이터베이스가 사용 중입니다."));
    if (!writeOne(s.custNo.trimmed(), s.itemCd, *amount, s.full, &r.inserted, &error)) return failed(error);
    if (!DMLib->WriteJobLog(menuName, logOf(r.inserted)) || !t.commit())
        return failed(QStringLiteral("작업기록을 저장하지 못했습니다."));
    r.ok = true;
    r.rows = 1;
    return r;
}

ExempResult release(const QString& custNo, const QString& itemCd, const QString& menuName,
                    const QString& logLine) {
    Transaction t;
    if (!t.ok()) return failed(QStringLiteral("데이터베이스가 사용 중입니다."));
    Query q(QStringLiteral("DELETE FROM M_EXEMP WHERE CustNo = ? AND ItemCd = ?"));
    q.add(custNo.trimmed()).add(itemCd);
    if (!q.exec()) return failed(q.error());
    ExempResult r;
    r.rows = q.affected();
    if (!DMLib->WriteJobLog(menuName, logLine) || !t.commit())
        return failed(QStringLiteral("작업기록을 저장하지 못했습니다."));
    r.ok = true;
    return r;
}

ExempResult releaseMany(const QList<ExempStudent>& students, const QString& itemCd, const QString& extraLog) {
    Transaction t;
    if (!t.ok()) return failed(QStringLiteral("데이터베이스가 사용 중입니다."));
    ExempResult r;
    QString numbers;
    for (const ExempStudent& s : students) {
        Query q(QStringLiteral("DELETE FROM M_EXEMP WHERE CustNo = ? AND ItemCd = ?"));
        q.add(s.custNo.trimmed()).add(itemCd);
        if (!q.exec()) return failed(q.error());
        r.rows += q.affected();
        numbers += s.sNo + QLatin1Char(',');
    }
    if (!numbers.trimmed().isEmpty() && !DMLib->WriteJobLog(QStringLiteral("면제학생일괄삭제"), numbers))
        return failed(QStringLiteral("작업기록을 저장하지 못했습니다."));
    if (!extraLog.isEmpty() && !DMLib->WriteJobLog(QStringLiteral("면제항목학생등록"), extraLog))
        return failed(QStringLiteral("작업기록을 저장하지 못했습니다."));
    if (!t.commit()) return failed(QStringLiteral("저장하지 못했습니다."));
    r.ok = true;
    return r;
}

ExempResult saveMany(const QList<ExempStudent>& students, const QString& itemCd, const QString& amountText,
                     bool full) {
    ExempResult r;
    const std::optional<qint64> amount = parseAmount(amountText, &r);
    if (!amount) return r;
    Transaction t;
    if (!t.ok()) return failed(QStringLiteral("데이터베이스가 사용 중입니다."));
    for (const ExempStudent& s : students) {
        bool inserted = false;
        QString error;
        if (!writeOne(s.custNo.trimmed(), itemCd, *amount, full, &inserted, &error)) return failed(error);
        ++r.rows;
    }
    if (!t.commit()) return failed(QStringLiteral("저장하지 못했습니다."));
    r.ok = true;
    return r;
}

} // namespace ExempStore
