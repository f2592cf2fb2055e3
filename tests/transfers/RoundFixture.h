#pragma once
#include "data/DMMain.h"
#include "platform/db/Database.h"
#include "support/TestRoot.h"
#include "transfers/collection/RoundBuilder.h"

#include <QMap>

#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

// A small school for the round tests: three grades, two item groups whose
// items share an ItemID, students of several banks with whole and partial
// exemptions, and two student groups.
class RoundFixture : public TestRoot {
protected:
    void SetUp() override;

    static void student(const QString& custNo, const QString& scd, const QString& sno, const QString& nm,
                        const QString& bank, const QString& useTy = QStringLiteral("1"));
    static void item(const QString& itemCd, const QString& gcode, const QString& itemId, const QString& nm,
                     qint64 amt);
    static void exemp(const QString& custNo, const QString& itemCd, const QString& free, qint64 itemval);
    static void member(const QString& grp, const QString& custNo);

    // A round table with rows given as column -> value maps.
    static void round(const QString& suffix, const QList<QMap<QString, QVariant>>& rows);
    static QMap<QString, QVariant> row(const QString& custNo, const QString& sno, const QString& itemId,
                                       qint64 amt, const QString& replyTy = QStringLiteral("0"),
                                       const QString& exempTy = QStringLiteral("1"));

    // "SNo/ItemCd ExempTy Amt [GrpNm]" per row of a round, ordered by SNo and item.
    static QStringList rowsOf(const QString& table);
    static QStringList logRows();

    static RoundTarget target(const QString& ym, const QString& ss) {
        return RoundTarget{QStringLiteral("01.기본"), ym, ss};
    }
    static GradeSelection grades(const QStringList& g, const QStringList& items, const QString& bank,
                                 const QStringList& offered = {QStringLiteral("99"), QStringLiteral("05"),
                                                               QStringLiteral("11")});
};
