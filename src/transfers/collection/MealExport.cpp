#include "transfers/collection/MealExport.h"

#include "platform/db/Database.h"
#include "platform/sheet/Workbook.h"
#include "platform/text/Cp949.h"
#include "transfers/common/Rounds.h"

#include <QDir>

namespace MealExport {

namespace {

QString kindCondition(const Kinds& k) {
    if (k.autoPaid && k.cash) return QStringLiteral("r.ReplyTy IN ('1', '2')");
    if (k.autoPaid) return QStringLiteral("r.ReplyTy = '1'");
    if (k.cash) return QStringLiteral("r.ReplyTy = '2'");
    return QStringLiteral("0");
}

QString from(const QString& table) {
    return QStringLiteral(" FROM %1 r JOIN C_ITEM c ON c.Gcode = r.Gcode AND c.ItemID = r.ItemCd "
                          "JOIN \"D_ITEM\" d ON d.itemcd = c.ItemCd ")
        .arg(Database::quoted(table));
}

bool usable(const QString& table) {
    return Database::isRoundTableName(table) && table.startsWith(QLatin1String("H_200_")) &&
           Database::tableExists(table) && Database::tableExists(QStringLiteral("D_ITEM"));
}

// A value of 10 bytes or fewer is padded with blanks to 11 bytes.
QString padRight(const QString& s) {
    const int bytes = Cp949::byteLength(s);
    return bytes <= 10 ? s + QString(11 - bytes, QLatin1Char(' ')) : s;
}

QString payKind(const QString& replyTy) {
    if (replyTy == QLatin1String("1")) return QStringLiteral("I");
    if (replyTy == QLatin1String("2")) return QStringLiteral("C");
    if (replyTy == QLatin1String("3")) return QStringLiteral("R");
    return QStringLiteral(" ");
}

} // namespace

QString fileName(const QString& table) { return QLatin1Char('H') + table.mid(6, 8) + QStringLiteral(".xlsx"); }

int countRows(const QString& table, const Kinds& k, qint64* amount) {
    if (amount) *amount = 0;
    if (!usable(table)) return 0;
    Query q(QStringLiteral("SELECT COUNT(*), COALESCE(SUM(r.Amt), 0)") + from(table) + QStringLiteral("WHERE ") +
            kindCondition(k));
    if (!q.exec() || !q.next()) return 0;
    if (amount) *amount = q.num(1);
    return int(q.num(0));
}

int countPaid(const QString& table, const Kinds& k) {
    if (!Database::isRoundTableName(table) || !Database::tableExists(table)) return 0;
    Query q(QStringLiteral("SELECT COUNT(*) FROM %1 r WHERE ").arg(Database::quoted(table)) + kindCondition(k));
    if (!q.exec() || !q.next()) return 0;
    return int(q.num(0));
}

std::optional<QStringList> roundsInRange(const QString& from, const QString& to) {
    const auto ym = [](QString t) { return t.remove(QLatin1Char('-')).remove(QLatin1Char(' ')); };
    const QString f = ym(from), t = ym(to);
    if (!Rounds::isYearMon(f) || !Rounds::isYearMon(t) || f > t) return std::nullopt;
    QStringList out;
    for (const QString& table : Rounds::collectionTables()) {
        const QString key = Rounds::yearMonOf(table);
        if (key >= f && key <= t) out << table;
    }
    return out;
}

int writeRound(const QString& table, const Kinds& k, const QString& folder, QString* file, QString* error) {
    const auto fail = [error](const QString& why) {
        if (error) *error = why;
        return -1;
    };
    if (!usable(table)) return 0;
    Query q(QStringLiteral("SELECT r.SNo, r.Nm, d.itemtp, r.Amt, r.ProcDt, r.YearMon, r.ReplyTy") + from(table) +
            QStringLiteral("WHERE ") + kindCondition(k) + QStringLiteral(" ORDER BY r.SNo, r.ItemCd"));
    if (!q.exec()) return fail(q.error());
    Workbook wb;
    wb.writeRow(1, 1,
                {QStringLiteral("학번"), QStringLiteral("성명"), QStringLiteral("항목"), QStringLiteral("금액"),
                 QStringLiteral("이체일"), QStringLiteral("그룹"), QStringLiteral("수납구분")});
    int row = 1;
    while (q.next())
        wb.writeRow(++row, 1,
                    {q.str(0), padRight(q.str(1)), q.str(2), padRight(QString::number(q.num(3))), q.str(4),
                     q.str(5), payKind(q.str(6))});
    if (row == 1) return 0;
    QString dir = folder.trimmed();
    if (dir.isEmpty() || !QDir().mkpath(dir)) return fail(QStringLiteral("파일경로를 찾을수 없습니다."));
    const QString out = QDir(dir).filePath(fileName(table));
    QString why;
    if (!wb.save(out, &why)) return fail(why);
    if (file) *file = out;
    return row - 1;
}

} // namespace MealExport
