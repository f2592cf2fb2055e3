#include "students/StGroupStore.h"

#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/text/Cp949.h"
#include "shared/InputCheck.h"
#include "students/StudentStore.h"

#include <algorithm>

QString StGroupStudent::line() const {
    return sNo.leftJustified(10) + nm.leftJustified(20) + useTy.leftJustified(1).left(1) + custNo.rightJustified(10);
}

namespace {

void sortLines(QList<StGroupStudent>& l) {
    std::stable_sort(l.begin(), l.end(),
                     [](const StGroupStudent& a, const StGroupStudent& b) { return a.line() < b.line(); });
}

} // namespace

void StGroupLists::load(const QString& name) {
    src_ = StGroupStore::allStudents();
    dest_.clear();
    sortLines(src_);
    move(src_, dest_, StGroupStore::members(name));
}

QList<StGroupStudent> StGroupLists::filtered(const QList<StGroupStudent>& list, const QString& filter) {
    const QString f = filter.trimmed();
    if (f.isEmpty()) return list;
    QList<StGroupStudent> out;
    for (const StGroupStudent& s : list)
        if (s.sNo.left(f.size()).trimmed() == f) out << s;
    return out;
}

int StGroupLists::toDest(const QStringList& custNos) {
    return move(src_, dest_, custNos);
}

int StGroupLists::toSrc(const QStringList& custNos) {
    return move(dest_, src_, custNos);
}

int StGroupLists::move(QList<StGroupStudent>& from, QList<StGroupStudent>& to, const QStringList& custNos) {
    int moved = 0;
    for (const QString& c : custNos) {
        for (int i = 0; i < from.size(); ++i) {
            if (from.at(i).custNo.trimmed() != c.trimmed()) continue;
            to << from.takeAt(i);
            ++moved;
            break;
        }
    }
    sortLines(to);
    return moved;
}

namespace StGroupStore {

namespace {

StGroupResult failed(const QString& text) {
    StGroupResult r;
    r.caption = QStringLiteral("오류");
    r.text = text;
    return r;
}

const QString kMenu = QString::fromUtf16(kMenuName);

} // namespace

QStringList names() {
    QStringList out;
    Query q(QStringLiteral("SELECT GrpNm FROM C_GRP WHERE GrpNm IS NOT NULL GROUP BY GrpNm ORDER BY GrpNm"));
    if (!q.exec()) return out;
    while (q.next())
        out << q.str(0);
    return out;
}

QList<StGroupStudent> allStudents() {
    QList<StGroupStudent> out;
    Query q(QStringLiteral("SELECT SNo, Nm, UseTy, CustNo FROM M_CUST ORDER BY SNo, CustNo"));
    if (!q.exec()) return out;
    while (q.next())
        out << StGroupStudent{q.str(0), q.str(1), q.str(2), q.str(3)};
    return out;
}

QStringList members(const QString& name) {
    QStringList out;
    const QString n = name.trimmed();
    Query q(n.isEmpty() ? QStringLiteral("SELECT T2.CustNo FROM M_CUST T1, C_GRP T2 "
                                         "WHERE T2.GrpNm IS NULL AND T1.CustNo = T2.CustNo")
                        : QStringLiteral("SELECT T2.CustNo FROM M_CUST T1, C_GRP T2 "
                                         "WHERE T2.GrpNm = ? AND T1.CustNo = T2.CustNo"));
    if (!n.isEmpty()) q.add(n);
    if (!q.exec()) return out;
    while (q.next())
        out << q.str(0);
    return out;
}

bool checkName(const QString& name, StGroupResult* refusal) {
    const QString n = name.trimmed();
    QString text;
    if (n.isEmpty())
        text = QStringLiteral("그룹명을 입력하세요!");
    else if (InputCheck::hasControl(n) || !Cp949::canEncode(n) || Cp949::byteLength(n) > 10)
        text = QStringLiteral("그룹명은 5자이내로 입력하세요!");
    if (text.isEmpty()) return true;
    if (refusal) {
        refusal->ok = false;
        refusal->caption = QStringLiteral("그룹명입력오류");
        refusal->text = text;
    }
    return false;
}

StGroupResult save(const QString& name, const QList<StGroupStudent>& list) {
    const QString n = name.trimmed();
    if (n.isEmpty()) return failed(QStringLiteral("그룹명을 확인하세요."));
    if (StGroupResult r; !checkName(n, &r)) return r;
    Transaction t;
    if (!t.ok()) return failed(QStringLiteral("데이터베이스가 사용 중입니다."));
    // Rows left without a name belong to no group.
    Query blank(QStringLiteral("DELETE FROM C_GRP WHERE GrpNm IS NULL"));
    Query del(QStringLiteral("DELETE FROM C_GRP WHERE GrpNm = ?"));
    del.add(n);
    if (!blank.exec()) return failed(blank.error());
    if (!del.exec()) return failed(del.error());
    if (!DMLib->WriteJobLog(kMenu, QStringLiteral("[삭제]그룹명: ") + n))
        return failed(QStringLiteral("작업기록을 저장하지 못했습니다."));
    StGroupResult r;
    for (const StGroupStudent& s : list) {
        QString error;
        if (!Database::insertRow(QStringLiteral("C_GRP"),
                                 {{QStringLiteral("GrpNm"), n}, {QStringLiteral("CustNo"), s.custNo.trimmed()}},
                                 &error))
            return failed(error);
        if (!DMLib->WriteJobLog(kMenu, QStringLiteral("[등록] (학번:") + s.sNo + QStringLiteral(", 성명:") + s.nm +
                                           QStringLiteral(") ") + QStringLiteral("그룹명 : ") + n))
            return failed(QStringLiteral("작업기록을 저장하지 못했습니다."));
        ++r.rows;
    }
    if (!t.commit()) return failed(QStringLiteral("저장하지 못했습니다."));
    r.ok = true;
    return r;
}

StGroupResult rename(const QString& oldName, const QString& newName) {
    const QString o = oldName.trimmed();
    const QString n = newName.trimmed();
    StGroupResult r;
    if (!checkName(n, &r)) return r;
    Transaction t;
    if (!t.ok()) return failed(QStringLiteral("그룹명 변경중 에러가 발생하였습니다."));
    Query q(QStringLiteral("UPDATE C_GRP SET GrpNm = ? WHERE GrpNm = ?"));
    q.add(n).add(o);
    if (!q.exec()) return failed(QStringLiteral("그룹명 변경중 에러가 발생하였습니다."));
    r.rows = q.affected();
    // A name no row carries is no group: nothing was renamed.
    if (r.rows == 0) {
        StGroupResult none = failed(QStringLiteral("그룹명을 확인하세요."));
        none.caption = StudentStore::plainCaption();
        return none;
    }
    if (!DMLib->WriteJobLog(kMenu, QStringLiteral("[수정]") + o + QStringLiteral(" -> ") + n) || !t.commit())
        return failed(QStringLiteral("그룹명 변경중 에러가 발생하였습니다."));
    r.ok = true;
    return r;
}

} // namespace StGroupStore
