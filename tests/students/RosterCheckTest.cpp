// The roster's one check, met on every path that writes M_CUST: a bad value
// is refused with its reason and the roster keeps what it had; nothing is
// cut.

#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/sheet/SheetReader.h"
#include "students/GradeFiles.h"
#include "students/NewTerm.h"
#include "students/SnoChange.h"
#include "students/StudentStore.h"
#include "support/TestRoot.h"

#include <functional>

namespace {

struct Bad {
    const char* why;
    QString text;
    const char* says; // part of the refusal
};

// Each is bad in any roster text column: over 20 bytes (the name), 30 (the
// holder) and 10 (the number) alike.
const QList<Bad>& badValues() {
    static const QList<Bad> rows{
        {"tab", QStringLiteral("가\t나"), "쓸 수 없는 문자"},
        {"CR LF", QStringLiteral("가\r\n나"), "쓸 수 없는 문자"},
        {"NUL", QStringLiteral("가") + QChar(0) + QStringLiteral("나"), "쓸 수 없는 문자"},
        {"too wide", QString(16, QChar(0xAC00)), "까지 입력할 수 있습니다"},
        {"not CP949", QStringLiteral("가") + QString::fromUcs4(U"\U0001F600"), "쓸 수 없는 문자"},
    };
    return rows;
}

class RosterCheckTest : public TestRoot {
protected:
    void SetUp() override {
        TestRoot::SetUp();
        for (const auto& [cust, sno, nm] :
             {std::tuple{"C11", "10101", "가"}, std::tuple{"C12", "10102", "나"},
              std::tuple{"C21", "20101", "다"}})
            ASSERT_TRUE(Database::insertRow(QStringLiteral("M_CUST"),
                                            {{QStringLiteral("CustNo"), QLatin1String(cust)},
                                             {QStringLiteral("SCd"), QLatin1String(sno).left(1)},
                                             {QStringLiteral("SNo"), QLatin1String(sno)},
                                             {QStringLiteral("Nm"), QString::fromUtf8(nm)},
                                             {QStringLiteral("Owr"), QStringLiteral("보호자")},
                                             {QStringLiteral("UseTy"), QStringLiteral("1")}}));
    }
    static QStringList roster() {
        return column(
            QStringLiteral("SELECT CustNo || '|' || ifnull(SCd,'') || '|' || ifnull(SNo,'') || '|' || "
                           "ifnull(Nm,'') || '|' || ifnull(Owr,'') FROM M_CUST ORDER BY CustNo"));
    }
    static StudentEntry entry(const QString& name) {
        StudentEntry e;
        e.gradeCode = QStringLiteral("1");
        e.classNo = QStringLiteral("0199");
        e.name = name;
        e.sexText = QStringLiteral("1.남자");
        e.bankText = QStringLiteral("99.은행없음");
        e.smsText = QStringLiteral("2.거부");
        return e;
    }
};

// Every writing path, each given the bad value where it takes a name or a
// number; each answers with the refusal it reports ("" when it stored).
TEST_F(RosterCheckTest, EveryWritingPathRefusesTheBadValues) {
    const std::pair<const char*, std::function<QString(const QString&)>> paths[] = {
        {"student add",
         [](const QString& bad) {
             const StoreResult r = StudentStore::save(entry(bad), {});
             return r.stored || r.boxes.isEmpty() ? QString() : r.boxes.first().text;
         }},
        {"student change",
         [](const QString& bad) {
             StudentEntry e = entry(QStringLiteral("가"));
             e.custNo = QStringLiteral("C11");
             e.classNo = QStringLiteral("0101");
             e.owr = bad;
             const StoreResult r = StudentStore::save(e, *StudentStore::find(QStringLiteral("C11")));
             return r.stored || r.boxes.isEmpty() ? QString() : r.boxes.first().text;
         }},
        {"sno change",
         [](const QString& bad) {
             QString error;
             return SnoChange::change(QStringLiteral("C11"), QStringLiteral("10199"), bad, &error) ==
                            SnoChange::Outcome::Refused
                        ? error
                        : QString();
         }},
        {"sno import",
         [](const QString& bad) {
             SheetTable t;
             t.set(1, 1, QStringLiteral("고유번호"));
             t.set(1, 2, QStringLiteral("학번"));
             t.set(2, 1, QStringLiteral("C11"));
             t.set(2, 2, QStringLiteral("1") + bad);
             const SnoChange::ImportResult r = SnoChange::importSheet(t);
             return r.ok ? QString() : r.errors.join(QLatin1Char('\n'));
         }},
        {"grade file cell",
         [](const QString& bad) {
             QString error;
             if (!GradeFiles::split(&error)) return QStringLiteral("split: ") + error;
             return GradeFiles::setCell(1, QStringLiteral("C11"), GradeFiles::Owr, bad, &error) ? QString()
                                                                                                : error;
         }},
        {"grade file addition",
         [](const QString& bad) {
             QString error;
             if (!GradeFiles::split(&error)) return QStringLiteral("split: ") + error;
             return GradeFiles::add(1, QStringLiteral("10199"),
                                    {QStringLiteral("1"), bad, QStringLiteral("99"), QString(), QString()},
                                    nullptr, &error)
                        ? QString()
                        : error;
         }},
        {"grade file merge",
         // A file edited outside the program: the row is left out and
         // reported, the rest is merged.
         [](const QString& bad) {
             QString error;
             if (!GradeFiles::split(&error)) return QStringLiteral("split: ") + error;
             {
                 Connection c;
                 c.open(GradeFiles::path(1));
                 Query q(c, QStringLiteral("UPDATE Studt SET Owr = ? WHERE CustNo = 'C11'"));
                 q.add(bad);
                 if (!q.exec()) return q.error();
             }
             const GradeFiles::MergePlan p = GradeFiles::plan();
             const GradeFiles::MergeResult r = GradeFiles::merge(p);
             if (!r.ok || r.updated != 2 || p.refused.size() != 1) return QString();
             const QStringList log = column(QStringLiteral("SELECT JobLog FROM L_Log_202603"));
             if (!log.last().endsWith(QStringLiteral("제외:1건"))) return QString();
             return r.report.filter(QStringLiteral("C11")).join(QLatin1Char('\n'));
         }},
        {"new-term apply",
         [](const QString& bad) {
             if (!NewTerm::FillVTemp().ok) return QStringLiteral("fill");
             QList<NewTermRow> rows = NewTerm::rows({}, {});
             NewTerm::setGrades(rows, true);
             NewTerm::keepOldClassAndNumber(rows);
             rows[0].newBun = bad;
             if (!NewTerm::save(rows)) return QStringLiteral("save");
             const NewTerm::ApplyResult r = NewTerm::apply({});
             return r.outcome == NewTerm::ApplyResult::Outcome::Refused ? r.lines.join(QLatin1Char('\n'))
                                                                        : QString();
         }},
    };
    const QStringList before = roster();
    for (const auto& [name, write] : paths)
        for (const Bad& bad : badValues()) {
            SCOPED_TRACE(std::string(name) + ": " + bad.why);
            const QString refusal = write(bad.text);
            EXPECT_TRUE(refusal.contains(QString::fromUtf8(bad.says))) << refusal.toStdString();
            EXPECT_EQ(roster(), before);
        }
    // A good value still passes each check (the merge and the number
    // change write it).
    EXPECT_EQ(SnoChange::change(QStringLiteral("C12"), QStringLiteral("10109"), QStringLiteral("나나")),
              SnoChange::Outcome::Changed);
}

} // namespace
