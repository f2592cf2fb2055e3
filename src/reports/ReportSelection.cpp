#include "reports/ReportSelection.h"

#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/settings/Registry.h"
#include "platform/sys/Clock.h"
#include "transfers/common/Rounds.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocale>

void ReportBox::show(QWidget* parent) const {
    Msg::show(caption, text, icon, MsgButtons::Ok, parent);
}

namespace ReportSelect {

namespace {

ReportBox errorBox(const QString& caption, const QString& text) {
    return ReportBox{caption, text, MsgIcon::Error};
}

ReportBox plainBox(const QString& text) {
    return ReportBox{Rounds::programTitle(), text, MsgIcon::None};
}

// A student-number bound as a condition: the whole number, or its first
// character (grade) or first three (grade and class).
void addBound(ReportWhere& w, const QString& p, const char* op) {
    const QString o = QString::fromLatin1(op);
    if (p.size() == SNoLen)
        w.add(QStringLiteral("and SNo %1 ?").arg(o), {p});
    else if (p.size() == 3 || p.size() == 1)
        w.add(QStringLiteral("and substr(SNo, 1, %1) %2 ?").arg(p.size()).arg(o), {p});
}

} // namespace

ReportBox noData() {
    return plainBox(QStringLiteral("해당하는 자료가 없습니다."));
}

std::optional<ReportBox> checkStudents(const ReportSelection& s) {
    if (!IsValidSNoInput(s.hak1, s.ban1, s.bun1) || !IsValidSNoInput(s.hak2, s.ban2, s.bun2))
        return errorBox(QStringLiteral("학번입력 오류"), QStringLiteral("학번 입력 정보가 올바르지 않습니다."));
    if (!IsValidSNoRange(MakeSNo(s.hak1, s.ban1, s.bun1), MakeSNo(s.hak2, s.ban2, s.bun2)))
        return errorBox(QStringLiteral("학번범위 설정 오류"), QStringLiteral("학번범위 설정이 올바르지 않습니다."));
    return std::nullopt;
}

std::optional<ReportBox> checkSearch(const ReportSelection& s) {
    if (s.ym1.trimmed().isEmpty() || s.seq1.trimmed().isEmpty())
        return errorBox(QStringLiteral("입력요망"), QStringLiteral("이체년월과 회차는 반드시 입력하세요!!"));
    return checkStudents(s);
}

std::optional<ReportBox> roundTables(const ReportSelection& s, QStringList* tables) {
    tables->clear();
    const QString first = s.ym1 + s.seq1;
    const QString second = s.ym2 + s.seq2;
    const QString last = second.isEmpty() ? first : second;
    if (first > last) return plainBox(QStringLiteral("조회시작회차가 조회종료회차보다 큽니다."));
    for (const QString& t : Rounds::tablesByMask(Rounds::quarterMask(s.quarter, Clock::today()))) {
        const QString key = t.mid(6, 8);
        if (key >= first && key <= last) *tables << t;
    }
    if (tables->isEmpty()) return noData();
    return std::nullopt;
}

void addItems(ReportWhere& w, const ReportSelection& s) {
    if (s.itemIds.isEmpty()) return;
    QStringList marks;
    QVariantList values{s.gcode};
    for (const QString& i : s.itemIds) {
        marks << QStringLiteral("?");
        values << i;
    }
    w.add(QStringLiteral("and Gcode = ? and ItemCd IN (%1)").arg(marks.join(QLatin1Char(','))), values);
}

void addBank(ReportWhere& w, const ReportSelection& s) {
    const QString b = s.bank.left(2);
    if (b.isEmpty() || b == QLatin1String("00")) return;
    if (Rounds::isBankFamily(b))
        w.add(QStringLiteral("and BankCd IN ('10', '11', '12')"));
    else
        w.add(QStringLiteral("and BankCd = ?"), {b});
}

void addStudents(ReportWhere& w, const ReportSelection& s) {
    addBound(w, MakeSNo(s.hak1, s.ban1, s.bun1), ">=");
    addBound(w, MakeSNo(s.hak2, s.ban2, s.bun2), "<=");
}

bool readRows(const QStringList& tables, const ReportWhere& where, QList<RoundRow>* rows, QString* error) {
    rows->clear();
    for (const QString& t : tables) {
        if (!Database::isRoundTableName(t)) continue;
        Query q(QStringLiteral("SELECT YearMon, SeqNo, CustNo, SNo, Nm, SCd, Gcode, ItemCd, BankCd, AcctNo, "
                               "ExempTy, ReplyTy, ProcDt, ReDt, Amt, COALESCE(REAmt, 0) FROM %1 %2")
                    .arg(Database::quoted(t), where.sql));
        for (const QVariant& v : where.binds)
            q.add(v);
        if (!q.exec()) {
            if (error) *error = q.error();
            return false;
        }
        while (q.next()) {
            RoundRow r;
            r.table = t;
            r.yearMon = q.str(0);
            r.seqNo = q.str(1);
            r.custNo = q.str(2);
            r.sNo = q.str(3);
            r.nm = q.str(4);
            r.sCd = q.str(5);
            r.gcode = q.str(6);
            r.itemCd = q.str(7);
            r.bankCd = q.str(8);
            r.acctNo = q.str(9);
            r.exempTy = q.str(10);
            r.replyTy = q.str(11);
            r.procDt = q.str(12);
            r.reDt = q.str(13);
            r.amt = q.num(14);
            r.reAmt = q.num(15);
            rows->append(r);
        }
    }
    return true;
}

QString amount(qint64 v, int width) {
    static const QLocale korean(QLocale::Korean);
    const QString t = korean.toString(v);
    return width > 0 ? t.rightJustified(width) : t;
}

QString dateText(const QString& d) {
    if (d.size() != 8) return {};
    const QStringView v(d);
    QString out;
    out.reserve(10);
    out.append(v.left(4))
        .append(QLatin1Char('-'))
        .append(v.mid(4, 2))
        .append(QLatin1Char('-'))
        .append(v.mid(6, 2));
    return out;
}

QString maskedAcct(const QString& acctNo) {
    return acctNo.left(9) + QStringLiteral("XXXXX");
}

QString schoolName() {
    const QString key = QStringLiteral("SchoolInfo");
    const QString sch = Registry::readString(key, QStringLiteral("SchNm"));
    return sch.trimmed().isEmpty() ? Registry::readString(key, QStringLiteral("KidNm")) : sch;
}

QImage seal() {
    QImage img;
    if (DMLib) img.load(DMLib->path(QStringLiteral("schoolseal.bmp")));
    return img;
}

} // namespace ReportSelect
