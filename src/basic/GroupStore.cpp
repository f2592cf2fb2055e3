#include "basic/GroupStore.h"

#include "data/DMModule.h"
#include "platform/db/Database.h"

#include <QSet>

namespace GroupStore {

namespace {
const QString kTable = QStringLiteral("G_GROUP");
const QString kCaption = QStringLiteral("그룹저장");

bool isTwoDigits(const QString& s) {
    return s.size() == 2 && TDMLib::IsAllDigits(s);
}
} // namespace

QList<GroupRow> rows() {
    QList<GroupRow> out;
    Query q(QStringLiteral("SELECT G_CODE, G_NAME, G_MEMO FROM G_GROUP ORDER BY G_CODE"));
    if (!q.exec()) return out;
    while (q.next())
        out << GroupRow{q.str(0), q.str(1), q.str(2)};
    return out;
}

QString nextCode() {
    QSet<int> used;
    int highest = 0;
    for (const GroupRow& g : rows()) {
        bool ok = false;
        const int n = g.code.trimmed().toInt(&ok);
        if (!ok) continue;
        used.insert(n);
        highest = std::max(highest, n);
    }
    if (highest < 99) return QStringLiteral("%1").arg(highest + 1, 2, 10, QLatin1Char('0'));
    for (int n = 1; n <= 99; ++n)
        if (!used.contains(n)) return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
    return {};
}

QString displayText(const QString& code) {
    Query q(QStringLiteral("SELECT G_CODE, G_NAME FROM G_GROUP WHERE G_CODE = ?"));
    q.add(code);
    if (!q.exec() || !q.next()) return {};
    return q.str(0) + QLatin1Char('.') + q.str(1);
}

SaveResult save(const GroupRow& g, const QString& shownName) {
    SaveResult r;
    if (g.name.trimmed().isEmpty()) {
        r.refusal = Refusal{kCaption, QStringLiteral("그룹명은 필수입력 항목입니다."), FieldName};
        return r;
    }
    if ((r.refusal = InputCheck::checkText(kCaption, FieldName, QStringLiteral("그룹명"), g.name,
                                           Database::columnWidth(kTable, QStringLiteral("G_NAME")))))
        return r;
    if ((r.refusal = InputCheck::checkText(kCaption, FieldMemo, QStringLiteral("설명"), g.memo,
                                           Database::columnWidth(kTable, QStringLiteral("G_MEMO")))))
        return r;

    Query find(QStringLiteral("SELECT count(*) FROM G_GROUP WHERE G_CODE = ?"));
    find.add(g.code);
    if (!find.exec() || !find.next()) return r;
    r.inserted = g.code.isEmpty() || find.num(0) == 0;
    // Rounds, items and accounts carry the group as two digits.
    if (r.inserted && !isTwoDigits(g.code)) {
        r.refusal = Refusal{kCaption, QStringLiteral("그룹코드는 숫자 두 자리입니다."), FieldCode};
        return r;
    }

    Transaction tx;
    bool ok;
    if (r.inserted) {
        ok = Database::insertRow(kTable, {{QStringLiteral("G_CODE"), g.code},
                                          {QStringLiteral("G_NAME"), g.name},
                                          {QStringLiteral("G_MEMO"), g.memo}}) &&
             DMLib->WriteJobLog(QStringLiteral("항목그룹추가"),
                                QStringLiteral("추가 : ") + g.name + QStringLiteral(" : ") + g.memo);
    } else {
        ok = Database::updateRows(kTable,
                                  {{QStringLiteral("G_NAME"), g.name}, {QStringLiteral("G_MEMO"), g.memo}},
                                  {{QStringLiteral("G_CODE"), g.code}}) &&
             DMLib->WriteJobLog(QStringLiteral("항목그룹수정"),
                                QStringLiteral("수정 : ") + shownName + QStringLiteral(" -> ") + g.name);
    }
    r.saved = ok && tx.commit();
    return r;
}

bool remove(const QString& code, const QString& shownName) {
    Transaction tx;
    Query del(QStringLiteral("DELETE FROM G_GROUP WHERE G_CODE = ?"));
    del.add(code);
    if (!del.exec()) return false;
    if (!DMLib->WriteJobLog(QStringLiteral("항목그룹삭제"),
                            QStringLiteral("삭제 : ") + shownName + QStringLiteral(" -> 삭제")))
        return false;
    return tx.commit();
}

} // namespace GroupStore
