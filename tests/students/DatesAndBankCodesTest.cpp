// A student's dates are days of the calendar or nothing, and bank codes
// from outside in today's three-digit form are read as the list's two, on
// every path that writes the roster; the imports' closing boxes count what
// was stored and refused.

#include "platform/db/Database.h"
#include "platform/sheet/Workbook.h"
#include "platform/text/Cp949.h"
#include "shared/InputCheck.h"
#include "students/GradeFiles.h"
#include "students/SnoChange.h"
#include "students/StudentSheets.h"
#include "students/StudentStore.h"
#include "support/TestRoot.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <functional>

namespace {

const QString kDateText = QStringLiteral("일자가 올바르지 않습니다. yyyy-mm-dd 형식으로 입력하세요!!");

struct DateCase {
    const char* why;
    const char* date;
    bool stored;
};

const DateCase kDates[] = {
    {"a day", "20260302", true},
    {"30 February", "20260230", false},
    {"29 February of a leap year", "20240229", true},
    {"29 February of a common year", "20250229", false},
    {"incomplete (2026-02-)", "202602", false},
    {"empty", "", true},
};

// Where a date went in: the store's answer ("" when stored).
struct Outcome {
    QString refusal;
    QString focus;
};

class DatesAndBankCodesTest : public TestRoot {
protected:
    void SetUp() override {
        TestRoot::SetUp();
        ASSERT_TRUE(Database::insertRow(QStringLiteral("M_CUST"), {{QStringLiteral("CustNo"), QStringLiteral("C11")},
                                                                   {QStringLiteral("SCd"), QStringLiteral("1")},
                                                                   {QStringLiteral("SNo"), QStringLiteral("10101")},
                                                                   {QStringLiteral("Nm"), QStringLiteral("가")},
                                                                   {QStringLiteral("Sex"), QStringLiteral("1")},
                                                                   {QStringLiteral("BankCd"), QStringLiteral("99")},
                                                                   {QStringLiteral("InDate"), QStringLiteral("20250302")},
                                                                   {QStringLiteral("UseTy"), QStringLiteral("1")},
                                                                   {QStringLiteral("smsYN"), QStringLiteral("2")}}));
    }
    static StudentEntry fresh() {
        StudentEntry e;
        e.gradeCode = QStringLiteral("1");
        e.classNo = QStringLiteral("0199");
        e.name = QStringLiteral("새학생");
        e.sexText = QStringLiteral("1.남자");
        e.bankText = QStringLiteral("99.은행없음");
        e.smsText = QStringLiteral("2.거부");
        return e;
    }
    static StudentEntry edit(const StudentRow& b) {
        StudentEntry e;
        e.custNo = b.custNo;
        e.gradeCode = b.sCd;
        e.classNo = b.sNo.mid(1);
        e.name = b.nm;
        e.sexText = b.sex + QStringLiteral(".남자");
        e.bankText = QStringLiteral("99.은행없음");
        e.inDate = b.inDate;
        e.outDate = b.outDate;
        e.smsText = QStringLiteral("2.거부");
        return e;
    }
    static Outcome of(const StoreResult& r) {
        if (r.stored) return {};
        const QString focus = r.focus == StudentField::MedtInDate    ? QStringLiteral("MedtInDate")
                              : r.focus == StudentField::MedtOutDate ? QStringLiteral("MedtOutDate")
                                                                     : QStringLiteral("other");
        return {r.boxes.isEmpty() ? QStringLiteral("?") : r.boxes.first().caption + QLatin1Char('|') +
                                                              r.boxes.first().text,
                focus};
    }
    // One student's roster columns, as a line.
    static QString rosterRow(const QString& where) {
        return column(QStringLiteral("SELECT SNo || '|' || ifnull(InDate,'') || '|' || ifnull(OutDate,'') || '|' "
                                     "|| ifnull(UseTy,'') || '|' || ifnull(BankCd,'') FROM M_CUST WHERE ") +
                      where)
            .value(0);
    }
    QString workbook(const QString& name, const QList<QVariantList>& rows) {
        Workbook wb;
        wb.writeRow(1, 1, {QStringLiteral("학번"), QStringLiteral("성명")});
        int r = 1;
        for (const QVariantList& row : rows)
            wb.writeRow(++r, 1, row);
        const QString file = path(name);
        EXPECT_TRUE(wb.save(file));
        return file;
    }
    struct DriverRun {
        int code = -1;
        QList<QJsonObject> lines;
        QJsonObject last() const { return lines.value(lines.size() - 1); }
        QList<QJsonObject> boxes() const {
            QList<QJsonObject> out;
            for (const QJsonObject& o : lines)
                if (o.contains(QStringLiteral("box"))) out << o;
            return out;
        }
    };
    DriverRun drive(const QStringList& args) {
        stopServices();
        QProcess p;
        p.start(QStringLiteral(ZQ_DRIVER_PATH),
                QStringList{QStringLiteral("--root"), root(), QStringLiteral("--today"), QStringLiteral("20260316")} +
                    args);
        DriverRun r;
        EXPECT_TRUE(p.waitForFinished(60000));
        r.code = p.exitCode();
        for (const QByteArray& l : p.readAllStandardOutput().split('\n'))
            if (!l.trimmed().isEmpty()) r.lines << QJsonDocument::fromJson(l).object();
        startServices();
        return r;
    }
};

TEST_F(DatesAndBankCodesTest, TheDayRule) {
    for (const DateCase& c : kDates) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(InputCheck::dateProblem(QString::fromLatin1(c.date)).isEmpty(), c.stored);
    }
    for (const char* bad : {"2026 302", "2026-3-2", "20261301", "20260000", "00000101", "2026030a", "202603021"})
        EXPECT_FALSE(InputCheck::isDay(QString::fromLatin1(bad))) << bad;
    EXPECT_EQ(InputCheck::dateProblem(QStringLiteral("   ")), QString());
    EXPECT_EQ(InputCheck::dateMessage(), kDateText);
}

// Every path that writes a student's dates, with each date: a day or
// nothing is stored; anything else is refused with the date boxes' message
// and the roster keeps what it had.
TEST_F(DatesAndBankCodesTest, EveryPathStoresDaysAndRefusesTheRest) {
    const std::pair<const char*, std::function<Outcome(const QString&)>> paths[] = {
        {"new student, entry date",
         [](const QString& d) {
             StudentEntry e = fresh();
             e.inDate = d;
             return of(StudentStore::save(e, {}));
         }},
        {"changed student, leaving date",
         [](const QString& d) {
             const StudentRow b = *StudentStore::find(QStringLiteral("C11"));
             StudentEntry e = edit(b);
             e.outDate = d;
             return of(StudentStore::save(e, b));
         }},
        {"roster import",
         [this](const QString& d) {
             const QString file = workbook(QStringLiteral("dates.xlsx"),
                                           {{QStringLiteral("10199"), QStringLiteral("새학생"), QStringLiteral("1"),
                                             QStringLiteral("99"), QString(), QString(), d, d}});
             const SheetRun run = StudentSheets::importStudents(file);
             return Outcome{run.rejected.join(QLatin1Char('\n')), QString()};
         }},
        {"grade file cell",
         [](const QString& d) {
             QString error;
             if (!GradeFiles::split(&error)) return Outcome{QStringLiteral("split: ") + error, QString()};
             if (!GradeFiles::setCell(1, QStringLiteral("C11"), int(GradeFiles::kFields.indexOf(QStringLiteral("OutDate"))), d,
                                      &error))
                 return Outcome{error, QString()};
             // Stored in the file, then merged into the roster.
             const GradeFiles::MergeResult r = GradeFiles::merge(GradeFiles::plan());
             return Outcome{r.ok ? QString() : r.error, QString()};
         }},
        {"grade file edited outside",
         [](const QString& d) {
             QString error;
             if (!GradeFiles::split(&error)) return Outcome{QStringLiteral("split: ") + error, QString()};
             {
                 Connection c;
                 c.open(GradeFiles::path(1));
                 Query q(c, QStringLiteral("UPDATE Studt SET InDate = ?, OutDate = ? WHERE CustNo = 'C11'"));
                 q.add(d).add(d);
                 if (!q.exec()) return Outcome{q.error(), QString()};
             }
             const GradeFiles::MergePlan p = GradeFiles::plan();
             const GradeFiles::MergeResult r = GradeFiles::merge(p);
             if (!r.ok) return Outcome{r.error, QString()};
             return Outcome{p.refused.join(QLatin1Char('\n')), QString()};
         }},
        {"driver: student add",
         [this](const QString& d) {
             const DriverRun r = drive({QStringLiteral("student"), QStringLiteral("add"), QStringLiteral("--grade"),
                                        QStringLiteral("1"), QStringLiteral("--sno"), QStringLiteral("0199"),
                                        QStringLiteral("--name"), QStringLiteral("새학생"), QStringLiteral("--sms"),
                                        QStringLiteral("2"), QStringLiteral("--indate"), d,
                                        QStringLiteral("--outdate"), d});
             if (r.code == 0) return Outcome{};
             const QJsonObject box = r.boxes().value(0);
             return Outcome{box.value(QStringLiteral("box")).toString() + QLatin1Char('|') +
                                box.value(QStringLiteral("text")).toString(),
                            r.last().value(QStringLiteral("focus")).toString()};
         }},
        {"driver: student change",
         [this](const QString& d) {
             const DriverRun r = drive({QStringLiteral("student"), QStringLiteral("change"), QStringLiteral("C11"),
                                        QStringLiteral("--outdate"), d});
             if (r.code == 0) return Outcome{};
             const QJsonObject box = r.boxes().value(0);
             return Outcome{box.value(QStringLiteral("box")).toString() + QLatin1Char('|') +
                                box.value(QStringLiteral("text")).toString(),
                            r.last().value(QStringLiteral("focus")).toString()};
         }},
    };
    const QString windowBox = QStringLiteral("일자입력오류|") + kDateText;
    for (const auto& [name, write] : paths)
        for (const DateCase& c : kDates) {
            SCOPED_TRACE(std::string(name) + ": " + c.why);
            const QString d = QString::fromLatin1(c.date);
            const QString before = rosterRow(QStringLiteral("CustNo = 'C11'"));
            const Outcome o = write(d);
            if (c.stored) {
                EXPECT_EQ(o.refusal, QString());
                // The student written holds the date.
                const QString now =
                    column(QStringLiteral("SELECT SNo || '|' || ifnull(InDate,'') || '|' || ifnull(OutDate,'') "
                                          "|| '|' FROM M_CUST ORDER BY SNo"))
                        .join(QLatin1Char(' '));
                EXPECT_TRUE(now.contains(QLatin1Char('|') + d + QLatin1Char('|'))) << now.toStdString();
            } else {
                EXPECT_TRUE(o.refusal.contains(kDateText)) << o.refusal.toStdString();
                EXPECT_EQ(rosterRow(QStringLiteral("CustNo = 'C11'")), before);
                EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM M_CUST WHERE SNo = '10199'")), 0);
                // The window's paths: its box and the focus on the date.
                if (!o.focus.isEmpty()) {
                    EXPECT_EQ(o.refusal, windowBox);
                    EXPECT_TRUE(o.focus.startsWith(QStringLiteral("Medt"))) << o.focus.toStdString();
                }
            }
            // Each case starts from the same roster.
            ASSERT_TRUE(Database::exec(QStringLiteral("DELETE FROM M_CUST WHERE SNo = '10199'")));
            ASSERT_TRUE(Database::exec(
                QStringLiteral("UPDATE M_CUST SET InDate = '20250302', OutDate = '', UseTy = '1' WHERE CustNo = 'C11'")));
        }
}

// The focus goes to the date that was refused; an entry date is checked
// before the leaving date, and a refused leaving date leaves the student
// enrolled.
TEST_F(DatesAndBankCodesTest, TheRefusedDateGetsTheFocus) {
    const StudentRow b = *StudentStore::find(QStringLiteral("C11"));
    StudentEntry e = edit(b);
    e.outDate = QStringLiteral("202602");
    StoreResult r = StudentStore::save(e, b);
    EXPECT_FALSE(r.stored);
    EXPECT_EQ(r.focus, StudentField::MedtOutDate);
    ASSERT_EQ(r.boxes.size(), 1);
    EXPECT_EQ(r.boxes.first().icon, MsgIcon::Error);
    e.inDate = QStringLiteral("20260230");
    EXPECT_EQ(StudentStore::save(e, b).focus, StudentField::MedtInDate);
    EXPECT_EQ(rosterRow(QStringLiteral("CustNo = 'C11'")), QStringLiteral("10101|20250302||1|99"));
    // Today's texts with separators in a workbook are days.
    const QString file = workbook(QStringLiteral("sep.xlsx"),
                                  {{QStringLiteral("10198"), QStringLiteral("둘"), QStringLiteral("1"),
                                    QStringLiteral("99"), QString(), QString(), QStringLiteral("2026-03-02"),
                                    QStringLiteral("2026.02.30")}});
    const SheetRun run = StudentSheets::importStudents(file);
    EXPECT_EQ(run.stored, 0);
    ASSERT_EQ(run.rejected.size(), 1);
    EXPECT_TRUE(run.rejected.first().endsWith(QStringLiteral(" 전출일(20260230): ") + kDateText))
        << run.rejected.first().toStdString();
}

TEST_F(DatesAndBankCodesTest, ThreeDigitBankCodes) {
    const struct {
        const char* code;
        const char* read; // nullptr: refused
        const char* says;
    } cases[] = {
        {"04", "04", ""},     {"", "", ""},        {"004", "04", ""},
        {"011", "11", ""},    {"020", "20", ""},   {"099", nullptr, "은행목록에 없습니다"},
        {"077", nullptr, "은행목록에 없습니다"}, {"104", nullptr, "올바르지 않습니다"},
        {"0004", nullptr, "올바르지 않습니다"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        QString why;
        const std::optional<QString> read = StudentStore::outsideBankCode(QString::fromLatin1(c.code), &why);
        ASSERT_EQ(read.has_value(), c.read != nullptr);
        if (read) EXPECT_EQ(*read, QString::fromLatin1(c.read));
        else {
            EXPECT_TRUE(why.contains(QString::fromUtf8(c.says))) << why.toStdString();
            EXPECT_TRUE(why.contains(QString::fromLatin1(c.code))) << why.toStdString();
        }
    }
}

// An office's own list with today's codes: every row is stored with the
// list's two-digit code, and the box counts them.
TEST_F(DatesAndBankCodesTest, ImportReadsTodaysBankCodes) {
    QList<QVariantList> rows;
    const char* banks[][2] = {{"004", "123456789012"}, {"011", "1234567890123"}, {"020", "100200300400"}};
    for (int i = 0; i < 12; ++i)
        rows << QVariantList{QStringLiteral("1%1").arg(2001 + i), QStringLiteral("학생%1").arg(i), QStringLiteral("1"),
                             QString::fromLatin1(banks[i % 3][0]), QString::fromLatin1(banks[i % 3][1]),
                             QStringLiteral("보호자")};
    rows << QVariantList{QStringLiteral("13001"), QStringLiteral("다른"), QStringLiteral("1"), QStringLiteral("104"),
                         QStringLiteral("123456789012")};
    const SheetRun run = StudentSheets::importStudents(workbook(QStringLiteral("banks.xlsx"), rows));
    EXPECT_EQ(run.stored, 12);
    EXPECT_EQ(column(QStringLiteral("SELECT DISTINCT BankCd FROM M_CUST WHERE SNo LIKE '12%' ORDER BY BankCd")),
              (QStringList{QStringLiteral("04"), QStringLiteral("11"), QStringLiteral("20")}));
    // The line names the code as the list holds it.
    EXPECT_EQ(run.rejected, QStringList{QStringLiteral("학번 = 13001 은행코드 = 104 계좌번호 = 123456789012 "
                                                       "은행코드(104)가 올바르지 않습니다(두 자리 은행코드)")});
    ASSERT_EQ(run.boxes.size(), 1);
    EXPECT_EQ(run.boxes.first().caption, QStringLiteral("알림"));
    EXPECT_EQ(run.boxes.first().text,
              QStringLiteral("학생명부로 변환이 완료되었습니다!!\r저장 12건, 오류 1건\r변환도중에 에러가 발생하였습니다\r") +
                  QDir::toNativeSeparators(StudentSheets::importErrorFile()) + QStringLiteral(" 파일을 확인하세요!!"));
}

// Grade files: a code typed or found in a file in today's form is read as
// the list's; another is refused with its reason.
TEST_F(DatesAndBankCodesTest, GradeFilesReadTodaysBankCodes) {
    QString error;
    ASSERT_TRUE(GradeFiles::split(&error)) << error.toStdString();
    const int bank = int(GradeFiles::BankCd);
    EXPECT_TRUE(GradeFiles::setCell(1, QStringLiteral("C11"), bank, QStringLiteral("011"), &error));
    EXPECT_EQ(GradeFiles::rows(1).value(0).value(bank), QStringLiteral("11"));
    EXPECT_FALSE(GradeFiles::setCell(1, QStringLiteral("C11"), bank, QStringLiteral("123"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("은행코드(123)"))) << error.toStdString();
    QString custNo;
    ASSERT_TRUE(GradeFiles::add(1, QStringLiteral("10102"),
                                {QStringLiteral("1"), QStringLiteral("둘"), QStringLiteral("020"),
                                 QStringLiteral("100200300400"), QString()},
                                &custNo, &error))
        << error.toStdString();
    EXPECT_FALSE(GradeFiles::change(1, QStringLiteral("C11"), QStringLiteral("10103"),
                                    {QStringLiteral("1"), QStringLiteral("가"), QStringLiteral("0004"), QString(),
                                     QString()},
                                    &error));
    {
        Connection c;
        c.open(GradeFiles::path(1));
        ASSERT_TRUE(c.exec(QStringLiteral("UPDATE Studt SET BankCd = '004', AcctNo = '123456789012' "
                                          "WHERE CustNo = 'C11'")));
    }
    const GradeFiles::MergePlan p = GradeFiles::plan();
    EXPECT_TRUE(p.refused.isEmpty()) << p.refused.join(QLatin1Char('\n')).toStdString();
    const GradeFiles::MergeResult r = GradeFiles::merge(p);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(column(QStringLiteral("SELECT BankCd FROM M_CUST ORDER BY SNo")),
              (QStringList{QStringLiteral("04"), QStringLiteral("20")}));

    ASSERT_TRUE(GradeFiles::split(&error));
    {
        Connection c;
        c.open(GradeFiles::path(1));
        ASSERT_TRUE(c.exec(QStringLiteral("UPDATE Studt SET BankCd = '077' WHERE CustNo = 'C11'")));
    }
    const GradeFiles::MergePlan refused = GradeFiles::plan();
    ASSERT_EQ(refused.refused.size(), 1);
    EXPECT_TRUE(refused.refused.first().endsWith(QStringLiteral(" - 은행코드(077)의 은행이 은행목록에 없습니다")))
        << refused.refused.first().toStdString();
}

// The closing boxes: what was stored and refused, said plainly when nothing
// was stored, with the error list by its whole path.
TEST_F(DatesAndBankCodesTest, ClosingBoxesCountWhatWasStored) {
    // Every row refused: a student number the roster holds, or a date that is no day.
    QList<QVariantList> refused;
    for (int i = 0; i < 120; ++i)
        refused << QVariantList{i % 2 ? QStringLiteral("10101") : QStringLiteral("1%1").arg(3001 + i),
                                QStringLiteral("학생"), QStringLiteral("1"), QStringLiteral("99"), QString(),
                                QString(), QStringLiteral("20260230")};
    const QString all = workbook(QStringLiteral("refused.xlsx"), refused);
    const QString errors = QDir::toNativeSeparators(StudentSheets::importErrorFile());
    SheetRun run = StudentSheets::importStudents(all);
    EXPECT_EQ(run.stored, 0);
    EXPECT_EQ(run.rejected.size(), 120);
    ASSERT_EQ(run.boxes.size(), 1);
    EXPECT_EQ(run.boxes.first().caption, QStringLiteral("변환실패"));
    EXPECT_EQ(run.boxes.first().icon, MsgIcon::Error);
    EXPECT_EQ(run.boxes.first().text, QStringLiteral("학생명부에 저장된 학생이 없습니다!!\r저장 0건, 오류 120건\r") +
                                          errors + QStringLiteral(" 파일을 확인하세요!!"));
    EXPECT_TRUE(QDir::isAbsolutePath(StudentSheets::importErrorFile()));

    // All stored.
    run = StudentSheets::importStudents(workbook(QStringLiteral("good.xlsx"),
                                                 {{QStringLiteral("10102"), QStringLiteral("나"), QStringLiteral("1"),
                                                   QStringLiteral("99")}}));
    ASSERT_EQ(run.boxes.size(), 1);
    EXPECT_EQ(run.boxes.first().caption, QStringLiteral("변환성공"));
    EXPECT_EQ(run.boxes.first().text, QStringLiteral("학생명부로 변환이 완료되었습니다!!\r저장 1건, 오류 0건"));

    // The batch change: every payer number unknown, then one known.
    Workbook up;
    up.writeRow(1, 1, {QStringLiteral("학생고유번호")});
    up.writeRow(2, 1, {QStringLiteral("9999999999"), QString(), QString(), QStringLiteral("1")});
    up.writeRow(3, 1, {QStringLiteral("9999999998"), QString(), QString(), QStringLiteral("1")});
    const QString upFile = path(QStringLiteral("up.xlsx"));
    ASSERT_TRUE(up.save(upFile));
    run = StudentSheets::batchChange(upFile);
    ASSERT_EQ(run.boxes.size(), 1);
    EXPECT_EQ(run.boxes.first().caption, QStringLiteral("변경실패"));
    EXPECT_EQ(run.boxes.first().icon, MsgIcon::Error);
    EXPECT_EQ(run.boxes.first().text, QStringLiteral("학생명부에 변경된 학생이 없습니다!!\r저장 0건, 오류 2건\r") +
                                          QDir::toNativeSeparators(StudentSheets::batchChangeErrorFile()) +
                                          QStringLiteral(" 파일을 확인하세요!!"));
    up.writeRow(3, 1, {QStringLiteral("C11"), QString(), QString(), QStringLiteral("1")});
    ASSERT_TRUE(up.save(upFile));
    run = StudentSheets::batchChange(upFile);
    ASSERT_EQ(run.boxes.size(), 1);
    EXPECT_EQ(run.boxes.first().caption, QStringLiteral("알림"));
    EXPECT_TRUE(run.boxes.first().text.startsWith(
        QStringLiteral("학생명부 일괄변경이 완료되었습니다!!\r저장 1건, 오류 1건\r일괄변경도중에 에러가 발생하였습니다\r")))
        << run.boxes.first().text.toStdString();

    // Through the driver, box for box: the all-refused import fails.
    const DriverRun d = drive({QStringLiteral("import"), QStringLiteral("students"), all});
    EXPECT_EQ(d.code, 1);
    ASSERT_EQ(d.boxes().size(), 1);
    EXPECT_EQ(d.boxes().first().value(QStringLiteral("box")).toString(), QStringLiteral("변환실패"));
    EXPECT_TRUE(d.boxes().first().value(QStringLiteral("text")).toString().contains(QStringLiteral("저장 0건, 오류 120건")));
}

// The number import: a header row alone has nothing to import; a refused
// sheet stores nothing and says how many rows were refused; a stored one
// counts its rows.
TEST_F(DatesAndBankCodesTest, NumberImportBoxes) {
    const auto numbers = [this](const QString& name, const QList<QStringList>& rows) {
        Workbook wb;
        wb.writeRow(1, 1, {QStringLiteral("학생고유번호"), QStringLiteral("학번")});
        int r = 1;
        for (const QStringList& row : rows)
            wb.writeRow(++r, 1, {row.value(0), row.value(1)});
        const QString file = path(name);
        EXPECT_TRUE(wb.save(file));
        return file;
    };
    const struct {
        const char* name;
        QList<QStringList> rows;
        int code;
        const char* caption;
        QString text;
        int stored, refused;
    } cases[] = {
        {"header only", {}, 0, "알림", QStringLiteral("불러올 자료가 없습니다."), 0, 0},
        {"refused",
         {{"C11", "10109"}, {"C99", "10108"}, {"", "10107"}},
         1,
         "확인요망",
         QStringLiteral("불러온 자료에 오류가 있어 아무것도 저장하지 않았습니다.\r저장 0건, 오류 2건 (전체 3건)\r"
                        "확인한 후 다시 입력하세요!!"),
         0,
         2},
        {"stored", {{"C11", "10109"}}, 0, "저장완료", QStringLiteral("저장이 완료되었습니다!!\r저장 1건, 오류 0건"), 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DriverRun r = drive({QStringLiteral("sno"), QStringLiteral("import"),
                                   numbers(QString::fromLatin1(c.name) + QStringLiteral(".xlsx"), c.rows)});
        EXPECT_EQ(r.code, c.code);
        ASSERT_EQ(r.boxes().size(), 1);
        EXPECT_EQ(r.boxes().first().value(QStringLiteral("box")).toString(), QString::fromUtf8(c.caption));
        EXPECT_EQ(r.boxes().first().value(QStringLiteral("text")).toString(), c.text);
        EXPECT_EQ(r.last().value(QStringLiteral("stored")).toInt(), c.stored);
        EXPECT_EQ(r.last().value(QStringLiteral("refused")).toInt(), c.refused);
    }
    EXPECT_EQ(column(QStringLiteral("SELECT SNo FROM M_CUST")), QStringList{QStringLiteral("10109")});
}

} // namespace
