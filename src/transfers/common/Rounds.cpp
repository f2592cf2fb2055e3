#include "transfers/common/Rounds.h"

#include "platform/db/Database.h"
#include "platform/sys/System.h"
#include "platform/text/Cp949.h"
#include "platform/ui/Msg.h"

#include <QRegularExpression>

#include <algorithm>

namespace Rounds {

namespace {

const QString kPrefix = QStringLiteral("H_200_");

bool allDigits(const QString& s) {
    return !s.isEmpty() && std::all_of(s.begin(), s.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

bool isYearMon(const QString& ym) {
    return ym.size() == 6 && allDigits(ym);
}

bool isSeqNo(const QString& ss) {
    return ss.size() == 2 && allDigits(ss) && ss != QLatin1String("00");
}

QString tableName(const QString& ym, const QString& ss) {
    if (!isYearMon(ym) || !isSeqNo(ss)) return {};
    return kPrefix + ym + ss;
}

QString yearMonOf(const QString& table) {
    return table.mid(6, 6);
}
QString seqNoOf(const QString& table) {
    return table.mid(12, 2);
}
QString keyLine(const QString& table) {
    return yearMonOf(table) + QStringLiteral(" / ") + seqNoOf(table);
}

QStringList collectionTables() {
    return tablesByMask(QStringLiteral("H_200_*.db"));
}

QStringList tablesByMask(const QString& mask) {
    QList<QRegularExpression> patterns;
    for (QString p : mask.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        p = p.trimmed();
        if (p.endsWith(QLatin1String(".db"), Qt::CaseInsensitive)) p.chop(3);
        if (p.isEmpty()) continue;
        patterns << QRegularExpression(QRegularExpression::wildcardToRegularExpression(p),
                                       QRegularExpression::CaseInsensitiveOption);
    }
    QStringList out;
    for (const QString& t : Database::listTables(QStringLiteral("*"))) {
        if (!Database::isRoundTableName(t)) continue;
        for (const auto& re : patterns)
            if (re.match(t).hasMatch()) {
                out << t;
                break;
            }
    }
    std::sort(out.begin(), out.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return out;
}

QString quarterMask(int quarter, const QDate& today) {
    if (quarter < 1 || quarter > 4) return QStringLiteral("H_200_*.db");
    // The school year starts in March: January and February belong to the
    // year that began the March before.
    const int first = today.month() >= 3 ? today.year() : today.year() - 1;
    QStringList parts;
    for (int i = 0; i < 3; ++i) {
        const int m = 3 + 3 * (quarter - 1) + i; // 3..14
        const int year = m > 12 ? first + 1 : first;
        const int month = m > 12 ? m - 12 : m;
        parts << QStringLiteral("H_200_%1%2*.db").arg(year).arg(month, 2, 10, QLatin1Char('0'));
    }
    return parts.join(QLatin1Char(';'));
}

QString nextSeqNo(const QStringList& tables, const QString& ym) {
    for (auto it = tables.crbegin(); it != tables.crend(); ++it) {
        if (yearMonOf(*it) != ym) continue;
        const int n = seqNoOf(*it).toInt();
        if (n >= 99) return {};
        return QStringLiteral("%1").arg(n + 1, 2, 10, QLatin1Char('0'));
    }
    return QStringLiteral("01");
}

QString greatestGcode(const QString& table) {
    const QString t = Database::quoted(table);
    if (t.isEmpty() || !Database::columns(table).contains(QStringLiteral("Gcode"), Qt::CaseInsensitive))
        return {};
    Query q(QStringLiteral("SELECT MAX(Gcode) FROM %1").arg(t));
    if (!q.exec() || !q.next()) return {};
    return q.str(0).trimmed();
}

bool isBankFamily(const QString& code) {
    return code == QLatin1String("10") || code == QLatin1String("11") || code == QLatin1String("12");
}

QStringList bankCodes(const BankChoice& choice) {
    static const QStringList family{QStringLiteral("10"), QStringLiteral("11"), QStringLiteral("12")};
    QStringList out;
    auto addCode = [&out](const QString& c) {
        if (isBankFamily(c)) {
            for (const QString& f : family)
                if (!out.contains(f)) out << f;
        } else if (!out.contains(c)) {
            out << c;
        }
    };
    if (choice.code == QLatin1String("00")) {
        // With nothing but "99" on offer the choice takes nobody: no bank
        // can be billed without a collection account.
        if (choice.offered.size() < 2) return {QStringLiteral("00")};
        for (const QString& c : choice.offered)
            addCode(c);
        return out;
    }
    addCode(choice.code);
    return out;
}

QStringList offeredBanks(const QString& gcode) {
    QStringList out{QStringLiteral("99")};
    Query q(
        QStringLiteral("SELECT DISTINCT BankCd FROM C_ACCT WHERE Gubun = ? AND Gcode = ? ORDER BY BankCd"));
    q.add(QStringLiteral("집금")).add(gcode);
    if (q.exec())
        while (q.next())
            if (!q.str(0).isEmpty() && !out.contains(q.str(0))) out << q.str(0);
    return out;
}

Exemption exemption(bool found, const QString& free, qint64 itemval, qint64 itemAmt) {
    Exemption e;
    e.amt = itemAmt;
    if (!found) return e;
    QString kind;
    const QString f = free.trimmed();
    if (f.isEmpty()) {
        // A row saved without a kind gets one now, and keeps it.
        e.normalise = true;
        if (itemval < itemAmt) {
            e.newFree = QStringLiteral("P");
            e.newItemval = itemval;
        } else {
            e.newFree = QStringLiteral("A");
            e.newItemval = 0;
        }
        kind = e.newFree;
    } else {
        kind = f;
    }
    if (kind == QLatin1String("A") || itemval < 0) {
        e.exempTy = QStringLiteral("0");
        e.amt = 0;
    } else {
        e.exempTy = QStringLiteral("2");
        // An exemption above the amount leaves nothing to collect, never a
        // negative amount.
        e.amt = std::max<qint64>(0, itemAmt - itemval);
    }
    return e;
}

QString groupItemLine(const QString& grpNm, const QString& itemLine) {
    const int pad = std::max(0, 10 - Cp949::byteLength(grpNm));
    return grpNm + QString(pad, QLatin1Char(' ')) + QStringLiteral(" = ") + itemLine;
}

bool ensureTitleTable() {
    if (Database::tableExists(QStringLiteral("M_TITLE"))) return true;
    return Database::exec(
        QStringLiteral("create table M_TITLE( yearmon char(10), seqno char(2), title char(30))"));
}

QString title(const QString& ym, const QString& ss) {
    if (!Database::tableExists(QStringLiteral("M_TITLE"))) return {};
    Query q(
        QStringLiteral("SELECT title FROM M_TITLE WHERE yearmon = ? AND seqno = ? ORDER BY rowid LIMIT 1"));
    q.add(ym).add(ss);
    if (!q.exec() || !q.next()) return {};
    return q.str(0);
}

bool saveTitle(const QString& ym, const QString& ss, const QString& text) {
    if (!ensureTitleTable()) return false;
    return Database::insertRow(QStringLiteral("M_TITLE"), {{QStringLiteral("yearmon"), ym.trimmed()},
                                                           {QStringLiteral("seqno"), ss},
                                                           {QStringLiteral("title"), text.trimmed()}});
}

QString roundCaption(const QString& ym, const QString& ss) {
    if (ym.size() != 6 || ss.size() != 2) return {};
    return ym.left(4) + QLatin1Char('/') + ym.mid(4, 2) + QStringLiteral("  ") + ss +
           QStringLiteral("회차  ") + title(ym, ss);
}

namespace {

bool booked(const QString& srType, const QString& yymm, const QString& ss) {
    Query q(QStringLiteral("SELECT count(*) FROM M_SRFILE WHERE SRType = ? AND YearMon = ? AND SeqNo = ?"));
    q.add(srType).add(yymm).add(ss);
    return q.exec() && q.next() && q.num(0) > 0;
}

} // namespace

bool requestBooked(const QString& table) {
    Query q(QStringLiteral("SELECT count(*) FROM M_SRFILE WHERE SRType = 'S' AND YearMon = ? AND SeqNo = ? "
                           "AND substr(coalesce(FileType, ''), 1, 1) <> '3'"));
    q.add(table.mid(8, 4)).add(seqNoOf(table));
    return q.exec() && q.next() && q.num(0) > 0;
}

QStringList mergeCandidates(const QString& gcode) {
    QStringList out;
    const QStringList tables = collectionTables();
    for (auto it = tables.crbegin(); it != tables.crend(); ++it) {
        const QString yymm = it->mid(8, 4);
        const QString ss = seqNoOf(*it);
        // A request file out without its result: the round is still with
        // the bank.
        if (booked(QStringLiteral("S"), yymm, ss) && !booked(QStringLiteral("R"), yymm, ss)) continue;
        if (greatestGcode(*it) != gcode.trimmed()) continue;
        out << *it;
    }
    return out;
}

QList<RoundLine> selectorRounds(const QString& mask, const QString& gcode) {
    const QStringList tables = tablesByMask(mask);
    QList<RoundLine> out;
    if (tables.isEmpty()) return out;
    const bool collection = tables.first().mid(2, 3) == QLatin1String("200");
    const QString g = gcode.trimmed();
    for (auto it = tables.crbegin(); it != tables.crend(); ++it) {
        if (!g.isEmpty() && greatestGcode(*it) != g) continue;
        RoundLine l;
        l.table = *it;
        l.key = keyLine(*it);
        l.display =
            collection ? l.key + QStringLiteral("  /  ") + title(yearMonOf(*it), seqNoOf(*it)) : l.key;
        out << l;
    }
    return out;
}

QStringList studentGroups() {
    QStringList out;
    Query q(QStringLiteral("SELECT GrpNm FROM C_GRP WHERE GrpNm IS NOT NULL GROUP BY GrpNm ORDER BY GrpNm"));
    if (q.exec())
        while (q.next())
            out << q.str(0);
    return out;
}

QString programTitle() {
    return QStringLiteral("소마린 '2002 v%1[TORVA]").arg(System::programVersion());
}

void plainBox(const QString& text) {
    Msg::show(programTitle(), text);
}

} // namespace Rounds
