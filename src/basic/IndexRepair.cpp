#include "basic/IndexRepair.h"

#include "data/DMModule.h"
#include "platform/db/Database.h"

namespace IndexRepair {

namespace {

struct Known {
    const char* name;
    const char16_t* description;
    const char16_t* log;
};

const Known kKnown[] = {
    {"M_CUST", u"학생명부", u"[인덱스복구] 학생명부 인덱스복구"},
    {"C_BANK", u"은행자료", u"[인덱스복구] 은행코드DB 인덱스복구"},
    {"C_ACCT", u"모계좌자료", u"[인덱스복구] 학교계좌등록DB 인덱스복구"},
    {"C_GRP", u"학생그룹자료", u"[인덱스복구] 그룹DB 인덱스복구"},
    {"C_ITEM", u"항목자료", u"[인덱스복구] 항목DB 인덱스복구"},
    {"M_EXEMP", u"면제학생자료", u"[인덱스복구] 면제학생DB 인덱스복구"},
    {"C_SCD", u"학년자료", u"[인덱스복구] 학년코드DB 인덱스복구"},
    {"M_SRFILE", u"송수신로그", u"[인덱스복구] 송수신DB 인덱스복구"},
};

const Known* known(const QString& table) {
    for (const Known& k : kKnown)
        if (table == QLatin1String(k.name)) return &k;
    return nullptr;
}

// Collection or distribution round: "집금이체" / "배분이체", else empty.
QString roundKind(const QString& table) {
    if (!Database::isRoundTableName(table)) return {};
    if (table.startsWith(QLatin1String("H_200"))) return QStringLiteral("집금이체");
    if (table.startsWith(QLatin1String("H_300"))) return QStringLiteral("배분이체");
    return {};
}

} // namespace

QList<TableRow> tables() {
    QList<TableRow> out;
    for (const QString& t : Database::listTables(QStringLiteral("*"))) {
        if (t.startsWith(QLatin1String("sqlite_"), Qt::CaseInsensitive)) continue;
        out.append({t, description(t)});
    }
    return out;
}

QString description(const QString& table) {
    if (const Known* k = known(table)) return QString::fromUtf16(k->description);
    const QString kind = roundKind(table);
    if (kind.isEmpty()) return {};
    return kind + QLatin1Char(' ') + table.mid(6, 4) + QStringLiteral("년 ") + table.mid(10, 2) +
           QStringLiteral("월 ") + table.mid(12, 2) + QStringLiteral("회차");
}

QString logText(const QString& table) {
    if (const Known* k = known(table)) return QString::fromUtf16(k->log);
    const QString kind = roundKind(table);
    if (kind.isEmpty()) return {};
    return QStringLiteral("[인덱스복구] ") + kind + QStringLiteral("DB(") + table + QStringLiteral(" 인덱스복구");
}

QString failText(const QString& table, bool* errorIcon) {
    // The roster's own message was an information box.
    *errorIcon = table != QLatin1String("M_CUST");
    const QString kind = roundKind(table);
    const QString what = kind.isEmpty() ? table + QStringLiteral(".DB") : kind;
    return what + QStringLiteral(" 인덱스가 복구되지 않았습니다.");
}

QStringList integrityCheck(bool* ok) {
    QStringList lines;
    Query q(QStringLiteral("PRAGMA integrity_check"));
    if (!q.exec()) {
        *ok = false;
        return {q.error()};
    }
    while (q.next()) lines << q.str(0);
    *ok = lines == QStringList{QStringLiteral("ok")};
    return lines;
}

Outcome repair(const QStringList& names) {
    Outcome o;
    for (const QString& t : names) {
        const QString log = logText(t);
        if (log.isEmpty() || !Database::tableExists(t)) continue;
        if (Database::reindex(t))
            o.repaired << t;
        else
            o.failed << t;
        DMLib->WriteJobLog(QStringLiteral("인덱스복구"), log);
    }
    o.integrity = integrityCheck(&o.integrityOk);
    return o;
}

} // namespace IndexRepair
