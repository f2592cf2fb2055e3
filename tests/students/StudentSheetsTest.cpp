#include "students/StudentSheets.h"

#include "platform/db/Database.h"
#include "platform/sheet/SheetReader.h"
#include "platform/sheet/Workbook.h"
#include "platform/text/Cp949.h"
#include "students/F201B00.h"
#include "support/TestRoot.h"

#include <QFile>

namespace {

// Payer numbers given on the fixed test day, 2026-03-16.
const QString kDay = QStringLiteral("0") + QString::number(QDate(2002, 1, 1).daysTo(QDate(2026, 3, 16)));

QString fixture(const char* name) {
    return QStringLiteral(ZQ_TEST_SOURCE_DIR "/platform/sheets/") + QString::fromUtf8(name);
}

QStringList errorLines(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return {QStringLiteral("<missing>")};
    const QByteArray bytes = f.readAll();
    if (bytes.isEmpty()) return {};
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    QStringList lines = Cp949::decode(bytes).split(QStringLiteral("\r\n"));
    lines.removeLast();
    return lines;
}

const QString kHead = QStringLiteral("학번 = %1 은행코드 = %2 계좌번호 = %3");

class StudentSheetsTest : public TestRoot {
protected:
    QStringList stored(const char* field) {
        return column(QStringLiteral("SELECT %1 FROM M_CUST ORDER BY CustNo").arg(QLatin1String(field)));
    }
};

TEST_F(StudentSheetsTest, ImportStoresGoodRowsAndListsEachRefusedRowWithItsReason) {
    const SheetRun run = StudentSheets::importStudents(fixture("import_students.xlsx"));
    ASSERT_TRUE(run.ran);
    EXPECT_EQ(run.stored, 3);
    // 10101 was typed as a number; the row after the empty one is not read.
    EXPECT_EQ(stored("SNo"), QStringList({"10101", "10102", "10107"}));
    EXPECT_EQ(stored("CustNo"), QStringList({kDay + "00001", kDay + "00002", kDay + "00003"}));
    EXPECT_EQ(stored("Nm"), QStringList({"홍길동", "이영희", "박민수"}));
    EXPECT_EQ(stored("UseTy"), QStringList({"1", "1", "1"})); // also with an out-date
    EXPECT_EQ(stored("AcctRegYn_1"), QStringList({"", "", ""}));
    EXPECT_EQ(stored("Ju_No_Stud"), QStringList({"1001013234567", "", ""}));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM L_Log_202603 WHERE JobLog LIKE '[엑셀등록]학번:%'")), 3);

    const QString acct = QStringLiteral("123456789012");
    const QStringList expected{
        kHead.arg("", "04", acct) + " 학번이 없습니다",
        kHead.arg("1010", "04", acct) + " 학번 자릿수 오류",
        kHead.arg("00101", "04", acct) + " 학반자료 오류(0은 허용안됨)",
        kHead.arg("10001", "04", acct) + " 학반자료 오류(0은 허용안됨)",
        kHead.arg("10101", "04", acct) + " 이미 존재하는 학번입니다",
        kHead.arg("10103", "04", "1234") + " 계좌번호가 틀렸습니다",
        kHead.arg("10104", "04", acct) + " 성명이 없습니다",
        kHead.arg("10105", "04", acct) + " 성명 자료가 너무 깁니다(20바이트 이하)",
        kHead.arg("10106", "04", acct) + " 성명에 쓸 수 없는 글자가 있습니다",
    };
    EXPECT_EQ(run.rejected, expected);
    EXPECT_EQ(errorLines(StudentSheets::importErrorFile()), expected);
    ASSERT_EQ(run.boxes.size(), 1);
    EXPECT_EQ(run.boxes.first().caption, QStringLiteral("알림"));
    EXPECT_TRUE(run.boxes.first().text.contains(QStringLiteral("Error_Student.txt")));
}

TEST_F(StudentSheetsTest, DatabaseFailureStopsTheImportAndKeepsTheRowsStored) {
    ASSERT_TRUE(Database::exec(QStringLiteral("CREATE TRIGGER fail_10107 BEFORE INSERT ON M_CUST "
                                              "WHEN NEW.SNo = '10107' BEGIN SELECT RAISE(ABORT, 'disk full'); END")));
    const SheetRun run = StudentSheets::importStudents(fixture("import_students.xlsx"));
    EXPECT_EQ(run.stored, 2);
    EXPECT_EQ(stored("SNo"), QStringList({"10101", "10102"}));
    // Neither the failed row's number record nor its log row stays.
    EXPECT_EQ(scalar(QStringLiteral("SELECT LastSeq FROM M_CUSTSEQ")), 2);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM L_Log_202603")), 2);
    ASSERT_EQ(run.boxes.size(), 1);
    EXPECT_EQ(run.boxes.first().icon, MsgIcon::Error);
    EXPECT_TRUE(run.boxes.first().text.contains(QStringLiteral("10107"))) << run.boxes.first().text.toStdString();
    EXPECT_EQ(errorLines(StudentSheets::importErrorFile()).size(), 9);
}

TEST_F(StudentSheetsTest, AFileThatIsNoWorkbookChangesNothing) {
    QFile f(path(QStringLiteral("students.xlsx")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("10101,홍길동\r\n");
    f.close();
    QFile old(StudentSheets::importErrorFile());
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("earlier run\r\n");
    old.close();
    for (const SheetRun& run : {StudentSheets::importStudents(f.fileName()), StudentSheets::batchChange(f.fileName())}) {
        EXPECT_FALSE(run.ran);
        ASSERT_EQ(run.boxes.size(), 1);
        EXPECT_EQ(run.boxes.first().icon, MsgIcon::Error);
    }
    EXPECT_EQ(errorLines(StudentSheets::importErrorFile()), QStringList{QStringLiteral("earlier run")});
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM M_CUST")), 0);
}

TEST_F(StudentSheetsTest, BatchChangeRoundTrip) {
    ASSERT_EQ(StudentSheets::importStudents(fixture("import_students.xlsx")).stored, 3);
    const QString down = path(QStringLiteral("학생명부_일괄변경원본.xlsx"));
    const SheetRun d = StudentSheets::writeBatchWorkbook(down);
    ASSERT_TRUE(d.ran);
    ASSERT_EQ(d.boxes.size(), 1);
    EXPECT_EQ(d.boxes.first().text, QStringLiteral("엑셀화일을 생성하였습니다!"));
    std::optional<SheetTable> t = SheetReader::read(down);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->text(1, 4), QStringLiteral("학생주민번호"));
    // Payer numbers keep their leading zero: they are text cells.
    EXPECT_EQ(t->value(2, 1), QVariant(kDay + QStringLiteral("00001")));
    EXPECT_EQ(t->text(4, 2), QStringLiteral("10107"));

    // The office edits column D and sends it back with a row of its own.
    Workbook up;
    for (int r = 1; r <= t->rowCount(); ++r)
        for (int c = 1; c <= 4; ++c)
            up.writeCell(r, c, t->value(r, c));
    up.writeCell(2, 4, qint64(1001013234999)); // typed as a number
    up.writeCell(3, 4, QStringLiteral("12345678901234"));
    up.writeCell(4, 4, QStringLiteral("1107014234567"));
    up.writeRow(5, 1, {QStringLiteral("9999999999"), QString(), QString(), QStringLiteral("1")});
    const QString edited = path(QStringLiteral("edited.xlsx"));
    ASSERT_TRUE(up.save(edited));

    const SheetRun u = StudentSheets::batchChange(edited);
    EXPECT_EQ(u.stored, 2);
    EXPECT_EQ(stored("Ju_No_Stud"), QStringList({"1001013234999", "", "1107014234567"}));
    const QStringList expected{
        QStringLiteral("학생고유번호(%1)의 학생주민번호가 너무 깁니다(13바이트 이하)~!!").arg(kDay + "00002"),
        QStringLiteral("존재하지 않는 학생고유번호(9999999999) 입니다~!!"),
    };
    EXPECT_EQ(errorLines(StudentSheets::batchChangeErrorFile()), expected);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM L_Log_202603 WHERE JobLog LIKE '[일괄변경]%'")), 2);
    ASSERT_EQ(u.boxes.size(), 1);
    EXPECT_EQ(u.boxes.first().caption, QStringLiteral("알림"));
}

TEST_F(StudentSheetsTest, RosterButtonsPickTheFileAndListAgain) {
    TFrmF201B00 form;
    answerFiles({fixture("import_students.xlsx"), QString()});
    msg.expect(MsgResult::Ok);
    form.bbtnFileReadClick();
    EXPECT_EQ(form.grid->students(), 3);
    ASSERT_EQ(fileDialogs.size(), 1);
    EXPECT_EQ(fileDialogs.first().title, QStringLiteral("엑셀파일에서 학생자료 불러오기"));
    EXPECT_EQ(fileDialogs.first().folder, root());

    form.bbtnTTmod_dnClick(); // cancelled: nothing written, no box
    ASSERT_EQ(fileDialogs.size(), 2);
    EXPECT_EQ(fileDialogs.at(1).fileName, QStringLiteral("학생명부_일괄변경원본.xlsx"));
    EXPECT_EQ(fileDialogs.at(1).mode, FileDialogSpec::Mode::Save);
    EXPECT_EQ(msg.shown().size(), 1);
}

} // namespace

namespace {

// The batch-change box adds to the roster's right column: the window must
// still fit a 1366x768 screen below the main window's menu and tool bar.
TEST_F(StudentSheetsTest, RosterStillFitsASmallScreen) {
    TFrmF201B00 form;
    const QSize min = form.minimumSizeHint();
    EXPECT_LE(min.height(), 600) << min.height();
    EXPECT_LE(min.width(), 1300) << min.width();
}

} // namespace
