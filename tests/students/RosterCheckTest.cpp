// The roster's one check, met on every path that writes M_CUST: a bad value
// is refused with its reason and the roster keeps what it had; nothing is
// cut.

#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/sheet/SheetReader.h"
#include "platform/sheet/Workbook.h"
#include "platform/text/Cp949.h"
#include "students/GradeFiles.h"
#include "students/NewTerm.h"
#include "students/SnoChange.h"
#include "students/StudentSheets.h"
#include "students/StudentStore.h"
#include "support/TestRoot.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <algorithm>
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

// The codes the entry boxes offer: sex "1.남자"/"2.여자", SMS consent
// "1.수신"/"2.거부", and a consent needs a mobile number. Blank codes are a
// student stored without them (an archive's, an old import's) and stay.
struct Codes {
    const char* why;
    const char* sex;
    const char* sms;
    const char* tel;
    const char* says;  // part of the refusal; nullptr when stored
    const char* focus; // the entry control a window path sends the focus to
};

const Codes kCodes[] = {
    {"sex 3", "3", "2", "", "성별(3): 1.남자, 2.여자 중에서 선택하세요!!", "CbSex"},
    {"consent 9", "1", "9", "", "SMS수신여부(9): 1.수신, 2.거부 중에서 선택하세요!!", "CBsmsYN"},
    {"consent without a mobile number", "2", "1", "", "SMS를 수신하게하려면", "EdtMtelNo"},
    {"consent with a mobile number", "2", "1", "010-1234-5678", nullptr, nullptr},
    {"refusal without a mobile number", "1", "2", "", nullptr, nullptr},
    {"no codes", "", "", "", nullptr, nullptr},
};

// A path's answer: the refusal it reports ("" when it stored) and, for the
// window's paths, the focus.
struct Answer {
    QString refusal;
    QString focus;
};

QString focusName(StudentField f) {
    switch (f) {
    case StudentField::CbSex:
        return QStringLiteral("CbSex");
    case StudentField::CBsmsYN:
        return QStringLiteral("CBsmsYN");
    case StudentField::EdtMtelNo:
        return QStringLiteral("EdtMtelNo");
    default:
        return QStringLiteral("other");
    }
}

Answer answerOf(const StoreResult& r) {
    if (r.stored) return {};
    if (r.boxes.isEmpty()) return {QStringLiteral("?"), focusName(r.focus)};
    return {r.boxes.first().text, focusName(r.focus)};
}

class RosterCodesTest : public RosterCheckTest {
protected:
    // The student changed holds codes of his own, so that each row's codes
    // differ from what he had.
    void SetUp() override {
        RosterCheckTest::SetUp();
        ASSERT_TRUE(Database::exec(QString::fromUtf16(kC11)));
    }
    static constexpr const char16_t* kC11 =
        u"UPDATE M_CUST SET Sex = '1', smsYN = '2', MTelNo = '010-9999-0000' WHERE CustNo = 'C11'";
    static StudentEntry withCodes(StudentEntry e, const Codes& c) {
        const QString sex = QString::fromLatin1(c.sex), sms = QString::fromLatin1(c.sms);
        // The boxes' texts for the codes they offer; anything else as given.
        e.sexText = sex == QLatin1String("1")   ? QStringLiteral("1.남자")
                    : sex == QLatin1String("2") ? QStringLiteral("2.여자")
                                                : sex;
        e.smsText = sms == QLatin1String("1")   ? QStringLiteral("1.수신")
                    : sms == QLatin1String("2") ? QStringLiteral("2.거부")
                                                : sms;
        e.mTelNo = QString::fromLatin1(c.tel);
        return e;
    }
    // Sex, consent and mobile number of every student.
    static QStringList codes() {
        return column(
            QStringLiteral("SELECT SNo || '|' || ifnull(Sex,'') || '|' || ifnull(smsYN,'') || '|' || "
                           "ifnull(MTelNo,'') FROM M_CUST ORDER BY SNo"));
    }
    Answer drive(const QStringList& args) {
        stopServices();
        QProcess p;
        p.start(QStringLiteral(ZQ_DRIVER_PATH),
                QStringList{QStringLiteral("--root"), root(), QStringLiteral("--today"),
                            QStringLiteral("20260316")} +
                    args);
        EXPECT_TRUE(p.waitForFinished(60000));
        QList<QJsonObject> lines;
        for (const QByteArray& l : p.readAllStandardOutput().split('\n'))
            if (!l.trimmed().isEmpty()) lines << QJsonDocument::fromJson(l).object();
        startServices();
        if (p.exitCode() == 0) return {};
        Answer a{QStringLiteral("?"),
                 lines.value(lines.size() - 1).value(QStringLiteral("focus")).toString()};
        for (const QJsonObject& o : lines)
            if (o.contains(QStringLiteral("box"))) {
                a.refusal = o.value(QStringLiteral("text")).toString();
                break;
            }
        return a;
    }
};

// Every path that writes a student's sex, consent or mobile number, with
// each row: the boxes' codes are stored, anything else is refused with the
// window's words and the roster keeps what it had.
TEST_F(RosterCodesTest, EveryPathRefusesCodesTheBoxesDoNotOffer) {
    const std::pair<const char*, std::function<Answer(const Codes&)>> paths[] = {
        {"window: new student",
         [](const Codes& c) {
             return answerOf(StudentStore::save(withCodes(entry(QStringLiteral("새학생")), c), {}));
         }},
        {"window: changed student",
         [](const Codes& c) {
             const StudentRow b = *StudentStore::find(QStringLiteral("C11"));
             StudentEntry e = entry(b.nm);
             e.custNo = b.custNo;
             e.classNo = b.sNo.mid(1);
             e.owr = b.owr;
             return answerOf(StudentStore::save(withCodes(e, c), b));
         }},
        {"roster import",
         [this](const Codes& c) {
             Workbook wb;
             wb.writeRow(1, 1, {QStringLiteral("학번"), QStringLiteral("성명")});
             wb.writeRow(2, 1,
                         {QStringLiteral("10199"), QStringLiteral("새학생"), QString::fromLatin1(c.sex),
                          QStringLiteral("99"), QString(), QString(), QString(), QString(), QString(),
                          QString::fromLatin1(c.tel), QString::fromLatin1(c.sms), QString()});
             const QString file = path(QStringLiteral("codes.xlsx"));
             if (!wb.save(file)) return Answer{QStringLiteral("workbook"), QString()};
             const SheetRun run = StudentSheets::importStudents(file);
             // The error list names the refused row.
             QFile list(StudentSheets::importErrorFile());
             if (!list.open(QIODevice::ReadOnly)) return Answer{QStringLiteral("no error list"), QString()};
             const QString lines = Cp949::decode(list.readAll());
             if (lines != (run.rejected.isEmpty()
                               ? QString()
                               : run.rejected.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")))
                 return Answer{QStringLiteral("error list: ") + lines, QString()};
             if (run.rejected.isEmpty()) return Answer{};
             const QString head = QStringLiteral("학번 = 10199 은행코드 = 99 계좌번호 =  ");
             return Answer{run.rejected.first().startsWith(head)
                               ? run.rejected.first()
                               : QStringLiteral("unnamed: ") + run.rejected.first(),
                           QString()};
         }},
        {"grade file cells",
         [](const Codes& c) {
             QString error;
             if (!GradeFiles::split(&error)) return Answer{QStringLiteral("split: ") + error, QString()};
             const auto field = [](const char* name) {
                 return int(GradeFiles::kFields.indexOf(QLatin1String(name)));
             };
             for (const auto& [f, v] : {std::pair{field("Sex"), c.sex}, std::pair{field("MTelNo"), c.tel},
                                        std::pair{field("smsYN"), c.sms}})
                 if (!GradeFiles::setCell(1, QStringLiteral("C11"), f, QString::fromLatin1(v), &error))
                     return Answer{error, QString()};
             const GradeFiles::MergeResult r = GradeFiles::merge(GradeFiles::plan());
             return Answer{r.ok ? QString() : QStringLiteral("merge: ") + r.error, QString()};
         }},
        {"grade file edited outside",
         [](const Codes& c) {
             QString error;
             if (!GradeFiles::split(&error)) return Answer{QStringLiteral("split: ") + error, QString()};
             {
                 Connection db;
                 db.open(GradeFiles::path(1));
                 Query q(db, QStringLiteral(
                                 "UPDATE Studt SET Sex = ?, smsYN = ?, MTelNo = ? WHERE CustNo = 'C11'"));
                 q.add(QString::fromLatin1(c.sex))
                     .add(QString::fromLatin1(c.sms))
                     .add(QString::fromLatin1(c.tel));
                 if (!q.exec()) return Answer{q.error(), QString()};
             }
             const GradeFiles::MergePlan p = GradeFiles::plan();
             const GradeFiles::MergeResult r = GradeFiles::merge(p);
             if (!r.ok) return Answer{QStringLiteral("merge: ") + r.error, QString()};
             return Answer{p.refused.filter(QStringLiteral("C11")).join(QLatin1Char('\n')), QString()};
         }},
        {"driver: student add",
         [this](const Codes& c) {
             return drive({QStringLiteral("student"), QStringLiteral("add"), QStringLiteral("--grade"),
                           QStringLiteral("1"), QStringLiteral("--sno"), QStringLiteral("0199"),
                           QStringLiteral("--name"), QStringLiteral("새학생"), QStringLiteral("--sex"),
                           QString::fromLatin1(c.sex), QStringLiteral("--sms"), QString::fromLatin1(c.sms),
                           QStringLiteral("--tel"), QString::fromLatin1(c.tel)});
         }},
        {"driver: student change",
         [this](const Codes& c) {
             return drive({QStringLiteral("student"), QStringLiteral("change"), QStringLiteral("C11"),
                           QStringLiteral("--sex"), QString::fromLatin1(c.sex), QStringLiteral("--sms"),
                           QString::fromLatin1(c.sms), QStringLiteral("--tel"), QString::fromLatin1(c.tel)});
         }},
    };
    const QStringList before = codes();
    for (const auto& [name, write] : paths)
        for (const Codes& c : kCodes) {
            SCOPED_TRACE(std::string(name) + ": " + c.why);
            const Answer a = write(c);
            if (!c.says) {
                EXPECT_EQ(a.refusal, QString());
                // The student written holds the codes.
                const QString now = QStringLiteral("|%1|%2|%3")
                                        .arg(QString::fromLatin1(c.sex), QString::fromLatin1(c.sms),
                                             QString::fromLatin1(c.tel));
                const auto holding = [&now](const QStringList& rows) {
                    return std::count_if(rows.cbegin(), rows.cend(),
                                         [&now](const QString& r) { return r.endsWith(now); });
                };
                EXPECT_EQ(holding(codes()) - holding(before), 1) << codes().join(' ').toStdString();
            } else {
                EXPECT_TRUE(a.refusal.contains(QString::fromUtf8(c.says))) << a.refusal.toStdString();
                EXPECT_EQ(codes(), before);
                // The window's paths: its box and the focus on the box refused.
                if (!a.focus.isEmpty()) EXPECT_EQ(a.focus, QString::fromLatin1(c.focus));
            }
            // Each case starts from the same roster.
            ASSERT_TRUE(Database::exec(QStringLiteral("DELETE FROM M_CUST WHERE SNo = '10199'")));
            ASSERT_TRUE(Database::exec(QString::fromUtf16(kC11)));
            ASSERT_EQ(codes(), before);
        }
}

// A consent without a mobile number is refused with the entry box's own
// box, after the window's checks of the bank and the account.
TEST_F(RosterCodesTest, ConsentWithoutMobileIsTheWindowsBox) {
    StudentEntry e = withCodes(entry(QStringLiteral("새학생")), kCodes[2]);
    e.bankText = QStringLiteral("04.국민은행");
    StoreResult r = StudentStore::save(e, {});
    ASSERT_EQ(r.boxes.size(), 1);
    EXPECT_EQ(r.boxes.first().text, QStringLiteral("계좌번호를 확인하세요."));
    e.bankText = QStringLiteral("99.은행없음");
    r = StudentStore::save(e, {});
    ASSERT_EQ(r.boxes.size(), 1);
    EXPECT_EQ(r.boxes.first().caption, QStringLiteral("휴대폰번호입력오류"));
    EXPECT_EQ(r.boxes.first().text, QStringLiteral("SMS를 수신하게하려면\r휴대폰번호를 입력하셔야합니다.."));
    EXPECT_EQ(r.focus, StudentField::EdtMtelNo);
    // In a list the same words stand on one line.
    QString column;
    EXPECT_EQ(StudentStore::rosterProblem({{QStringLiteral("smsYN"), QStringLiteral("1")},
                                           {QStringLiteral("MTelNo"), QStringLiteral(" ")}},
                                          true, &column),
              QStringLiteral("SMS를 수신하게하려면 휴대폰번호를 입력하셔야합니다.."));
    EXPECT_EQ(column, QStringLiteral("MTelNo"));
}

} // namespace
