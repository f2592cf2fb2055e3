#include "basic/GradeStore.h"

#include "data/DMModule.h"
#include "platform/db/Database.h"

namespace GradeStore {

namespace {
const QString kTable = QStringLiteral("C_SCD");
const QString kCaption = QStringLiteral("입력요망");
} // namespace

const QStringList& kinds() {
    static const QStringList k{QStringLiteral("유치원"), QStringLiteral("초등학교"), QStringLiteral("중학교"),
                               QStringLiteral("고등학교")};
    return k;
}

QList<GradeRow> rows() {
    QList<GradeRow> out;
    Query q(QStringLiteral("SELECT SCd, SCdNm, CompyNm FROM C_SCD ORDER BY SCd"));
    if (!q.exec()) return out;
    while (q.next())
        out << GradeRow{q.str(0), q.str(1), q.str(2)};
    return out;
}

Refusal check(const GradeRow& g) {
    if (g.code.trimmed().isEmpty())
        return Refusal{kCaption, QStringLiteral("학년코드를 입력해주세요!!"), FieldCode};
    // The code is the first character of a student number: one character.
    if (g.code.size() != 1 || g.code.at(0).isSpace())
        return Refusal{kCaption, QStringLiteral("학년코드는 한 글자로 입력해주세요!!"), FieldCode};
    if (Refusal r = InputCheck::checkText(kCaption, FieldCode, QStringLiteral("학년코드"), g.code, 2))
        return r;
    if (Refusal r = InputCheck::checkText(kCaption, FieldName, QStringLiteral("학년명"), g.name,
                                          Database::columnWidth(kTable, QStringLiteral("SCdNm"))))
        return r;
    if (!g.kind.isEmpty() && !kinds().contains(g.kind))
        return Refusal{kCaption, QStringLiteral("학교구분을 선택해주세요!!"), FieldKind};
    return {};
}

SaveResult save(const GradeRow& g) {
    SaveResult r;
    r.refusal = check(g);
    if (r.refusal) return r;

    Query find(QStringLiteral("SELECT count(*) FROM C_SCD WHERE SCd = ?"));
    find.add(g.code);
    if (!find.exec() || !find.next()) return r;
    r.inserted = find.num(0) == 0;

    Transaction tx;
    bool ok;
    if (r.inserted)
        ok = Database::insertRow(kTable, {{QStringLiteral("SCd"), g.code},
                                          {QStringLiteral("SCdNm"), g.name},
                                          {QStringLiteral("CompyNm"), g.kind}});
    else
        ok = Database::updateRows(kTable,
                                  {{QStringLiteral("SCdNm"), g.name}, {QStringLiteral("CompyNm"), g.kind}},
                                  {{QStringLiteral("SCd"), g.code}});
    ok = ok && DMLib->WriteJobLog(
                   kMenuName,
                   (r.inserted ? QStringLiteral("[등록]코드 : ") : QStringLiteral("[수정]코드 : ")) + g.code +
                       QStringLiteral(", 학년명 : ") + g.name + QStringLiteral(", 학교선택 : ") + g.kind);
    r.saved = ok && tx.commit();
    return r;
}

bool remove(const QString& code) {
    Transaction tx;
    Query del(QStringLiteral("DELETE FROM C_SCD WHERE SCd = ?"));
    del.add(code);
    if (!del.exec()) return false;
    if (!DMLib->WriteJobLog(kMenuName, QStringLiteral("[삭제]학년 : ") + code)) return false;
    return tx.commit();
}

} // namespace GradeStore
