#include "students/StudentSheets.h"

#include "platform/db/Database.h"
#include "platform/sheet/SheetReader.h"
#include "platform/sheet/Workbook.h"
#include "platform/text/Cp949.h"
#include "students/F201B00.h"
#include "students/PurgeStore.h"
#include "support/TestRoot.h"
#include "support/XlsxParts.h"

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

// Numbers given today stay given: one held only by the purge archive, and
// those of an earlier import whose students are gone again. An archive row
// added between two imports counts for the second.
TEST_F(StudentSheetsTest, ImportsContinueTheDaysNumbersPastTheArchiveAndDeletions) {
    ASSERT_TRUE(PurgeStore::ensureArchive());
    const auto archive = [](const QString& seq) {
        return Database::exec(QStringLiteral("INSERT INTO D_CUST (CustNo, SNo, Nm) VALUES ('%1', '90101', '보관')")
                                  .arg(kDay + seq));
    };
    ASSERT_TRUE(archive(QStringLiteral("00005")));
    EXPECT_EQ(StudentSheets::importStudents(fixture("import_students.xlsx")).stored, 3);
    EXPECT_EQ(stored("CustNo"), QStringList({kDay + "00006", kDay + "00007", kDay + "00008"}));

    ASSERT_TRUE(Database::exec(QStringLiteral("DELETE FROM M_CUST")));
    EXPECT_EQ(StudentSheets::importStudents(fixture("import_students.xlsx")).stored, 3);
    EXPECT_EQ(stored("CustNo"), QStringList({kDay + "00009", kDay + "00010", kDay + "00011"}));

    ASSERT_TRUE(Database::exec(QStringLiteral("DELETE FROM M_CUST")));
    ASSERT_TRUE(archive(QStringLiteral("00020")));
    EXPECT_EQ(StudentSheets::importStudents(fixture("import_students.xlsx")).stored, 3);
    EXPECT_EQ(stored("CustNo"), QStringList({kDay + "00021", kDay + "00022", kDay + "00023"}));
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

namespace {

// A row of the import sheet written cell by cell: s() a shared string
// index, n() a number, d() a number styled as a date.
struct CellSpec {
    QByteArray value;
    const char* type;
    int style;
};
CellSpec s(int i) { return {QByteArray::number(i), "s", -1}; }
CellSpec n(const char* v) { return {v, nullptr, -1}; }
CellSpec d(const char* v) { return {v, nullptr, 1}; }

QByteArray sheetRow(int r, const QList<CellSpec>& cells) {
    QByteArray out = "<row r=\"" + QByteArray::number(r) + "\">";
    for (int c = 0; c < cells.size(); ++c) {
        if (cells.at(c).value.isEmpty()) continue;
        const std::string ref = Workbook::columnName(c + 1).toStdString() + std::to_string(r);
        out += XlsxParts::cell(ref.c_str(), cells.at(c).value, cells.at(c).type, cells.at(c).style);
    }
    return out + "</row>";
}

const QByteArray kDateStyle = "<cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"14\"/></cellXfs>";

} // namespace

TEST_F(StudentSheetsTest, CellsKeepTheirMeaningAndControlCharactersRefuseTheRow) {
    // Shared strings: 0 header, 1 a name, 2 a valid account, 3-8 texts
    // carrying control characters as the file format escapes them.
    const QByteArray sst = "<si><t>학번</t></si><si><t>홍길동</t></si><si><t>123456789012</t></si>"
                           "<si><t>홍_x0009_길동</t></si><si><t>홍길_x0000_동</t></si>"
                           "<si><t>010_x000D__x000A_11112222</t></si><si><t>예금_x000A_주</t></si>"
                           "<si><t>2025_x0009_032</t></si><si><t>77</t></si>";
    QByteArray data = sheetRow(1, {s(0)});
    // SNo, name, sex, bank, account, holder, in-date, out-date, Ju_No, phone, SMS, student's number
    data += sheetRow(2, {n("10101"), s(1), n("1"), n("4"), s(2), s(1), d("45718"), {}, {}, n("1011112222"), n("1")});
    data += sheetRow(3, {n("10102"), s(1), n("1"), s(8), s(2), s(1), n("20250302"), {}, {}, n("1711112222")});
    data += sheetRow(4, {n("10103"), s(1), n("1"), n("4"), s(2), s(1), {}, {}, {}, n("21234567")});
    data += sheetRow(5, {n("10104"), s(3), n("1"), n("4"), s(2)});
    data += sheetRow(6, {n("10105"), s(4), n("1"), n("4"), s(2)});
    data += sheetRow(7, {n("10106"), s(1), n("1"), n("4"), s(2), {}, {}, {}, {}, s(5)});
    data += sheetRow(8, {n("10107"), s(1), n("1"), n("4"), s(2), s(6)});
    data += sheetRow(9, {n("10108"), s(1), n("1"), n("4"), s(2), {}, s(7)});
    data += sheetRow(10, {n("10109"), s(1), n("1"), n("99"), {}, {}, {}, {}, {}, n("111112222")});
    const QString file = path(QStringLiteral("cells.xlsx"));
    ASSERT_TRUE(XlsxParts::write(file, XlsxParts::Book{data, sst, kDateStyle}));

    const SheetRun run = StudentSheets::importStudents(file);
    EXPECT_EQ(run.stored, 2);
    EXPECT_EQ(stored("SNo"), QStringList({"10101", "10109"}));
    EXPECT_EQ(stored("BankCd"), QStringList({"04", "99"}));     // 4 typed as a number
    EXPECT_EQ(stored("MTelNo"), QStringList({"01011112222", "0111112222"})); // the lost 0 put back
    EXPECT_EQ(stored("InDate"), QStringList({"20250302", ""})); // a date cell, not 45718
    const QString acct = QStringLiteral("123456789012");
    const QStringList expected{
        kHead.arg("10102", "77", acct) + " 은행코드가 은행목록에 없습니다",
        kHead.arg("10103", "04", acct) + " 숫자로 입력된 핸드폰번호(21234567)의 앞자리 0을 알 수 없습니다",
        kHead.arg("10104", "04", acct) + " 성명에 쓸 수 없는 문자가 있습니다!!",
        kHead.arg("10105", "04", acct) + " 성명에 쓸 수 없는 문자가 있습니다!!",
        kHead.arg("10106", "04", acct) + " 휴대폰번호에 쓸 수 없는 문자가 있습니다!!",
        kHead.arg("10107", "04", acct) + " 예금주에 쓸 수 없는 문자가 있습니다!!",
        kHead.arg("10108", "04", acct) + " 전입일에 쓸 수 없는 문자가 있습니다!!",
    };
    EXPECT_EQ(run.rejected, expected);
    EXPECT_EQ(errorLines(StudentSheets::importErrorFile()), expected);
}

TEST_F(StudentSheetsTest, HeaderRowAloneImportsNothingAndSaysSo) {
    const QString file = path(QStringLiteral("header.xlsx"));
    Workbook wb;
    wb.writeRow(1, 1, {QStringLiteral("학번"), QStringLiteral("성명")});
    ASSERT_TRUE(wb.save(file));
    for (const SheetRun& run : {StudentSheets::importStudents(file), StudentSheets::batchChange(file)}) {
        EXPECT_EQ(run.stored, 0);
        ASSERT_EQ(run.boxes.size(), 1);
        EXPECT_EQ(run.boxes.first().text, QStringLiteral("불러올 자료가 없습니다."));
        EXPECT_EQ(run.boxes.first().icon, MsgIcon::Information);
    }
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM M_CUST")), 0);
}

// Row 4 holds only a memo in column M, past the columns the import reads;
// the students below it are imported all the same, from either format.
class MemoRowImport : public StudentSheetsTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(MemoRowImport, RowWithOnlyAMemoPastTheReadColumnsStopsNoImport) {
    const SheetRun run = StudentSheets::importStudents(fixture(GetParam()));
    ASSERT_TRUE(run.ran);
    EXPECT_EQ(run.stored, 4);
    EXPECT_EQ(stored("SNo"), QStringList({"10101", "10102", "10103", "10104"}));
    EXPECT_EQ(run.rejected, QStringList{kHead.arg("", "", "") + " 학번이 없습니다"});
}

INSTANTIATE_TEST_SUITE_P(Formats, MemoRowImport, ::testing::Values("memo_row.xls", "memo_row.xlsx"));

TEST_F(StudentSheetsTest, WorkbooksOutOfProportionAreRefusedAndChangeNothing) {
    QFile old(StudentSheets::importErrorFile());
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("earlier run\r\n");
    old.close();
    // More rows than the limit (a smaller one, to keep the file small),
    // and a sheet part packed a thousand to one.
    QByteArray many = sheetRow(1, {s(0)});
    for (int r = 2; r <= 300; ++r)
        many += sheetRow(r, {n(QByteArray::number(10100 + r).constData()), s(1), n("1"), n("99")});
    QByteArray empty;
    for (int i = 0; i < 1000000; ++i) empty += "<row/>";
    const struct {
        const char* name;
        XlsxParts::Book book;
        const char* refusal;
    } cases[] = {
        {"rows", {many, "<si><t>학번</t></si><si><t>홍길동</t></si>"}, "자료가 있는 행이 200행을 넘는"},
        {"ratio", {empty}, "압축률이 200배를 넘는"},
    };
    SheetLimits l;
    l.rows = 200;
    SheetReader::setLimits(l);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = path(QStringLiteral("hostile.xlsx"));
        ASSERT_TRUE(XlsxParts::write(file, c.book));
        for (const SheetRun& run : {StudentSheets::importStudents(file), StudentSheets::batchChange(file)}) {
            EXPECT_FALSE(run.ran);
            ASSERT_EQ(run.boxes.size(), 1);
            EXPECT_EQ(run.boxes.first().icon, MsgIcon::Error);
            EXPECT_TRUE(run.boxes.first().text.contains(QString::fromUtf8(c.refusal))) << run.boxes.first().text.toStdString();
        }
    }
    SheetReader::setLimits({});
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM M_CUST")), 0);
    EXPECT_EQ(errorLines(StudentSheets::importErrorFile()), QStringList{QStringLiteral("earlier run")});
}

TEST_F(StudentSheetsTest, BatchChangeTakesPayerNumbersTypedAsNumbersAndRefusesControlCharacters) {
    ASSERT_EQ(StudentSheets::importStudents(fixture("import_students.xlsx")).stored, 3);
    Workbook up;
    up.writeRow(1, 1, {QStringLiteral("학생고유번호")});
    up.writeRow(2, 1, {(kDay + "00001").toLongLong(), QString(), QString(), QStringLiteral("1001013234999")});
    up.writeRow(3, 1, {kDay + "00002", QString(), QString(), QStringLiteral("100101\t3234999")});
    const QString file = path(QStringLiteral("up.xlsx"));
    ASSERT_TRUE(up.save(file));
    const SheetRun run = StudentSheets::batchChange(file);
    EXPECT_EQ(run.stored, 1);
    EXPECT_EQ(stored("Ju_No_Stud"), QStringList({"1001013234999", "", ""}));
    EXPECT_EQ(run.rejected, QStringList{QStringLiteral("학생고유번호(%1)의 학생주민번호에 쓸 수 없는 문자가 있습니다!!")
                                            .arg(kDay + "00002")});
}
