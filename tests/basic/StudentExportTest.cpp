#include "basic/StudentExport.h"

#include "data/DMMain.h"
#include "platform/db/Database.h"
#include "platform/sheet/SheetReader.h"
#include "platform/text/Cp949.h"
#include "support/TestRoot.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

class StudentExportTest : public TestRoot {
protected:
    void addStudent(const QString& custNo, const QString& sNo, const QString& nm, const QString& bank,
                    const QString& owr = QString()) {
        ASSERT_TRUE(Database::insertRow(QStringLiteral("M_CUST"), {{QStringLiteral("CustNo"), custNo},
                                                                   {QStringLiteral("SCd"), sNo.left(1)},
                                                                   {QStringLiteral("SNo"), sNo},
                                                                   {QStringLiteral("Nm"), nm},
                                                                   {QStringLiteral("BankCd"), bank},
                                                                   {QStringLiteral("AcctNo"), QStringLiteral("012345678901")},
                                                                   {QStringLiteral("Owr"), owr},
                                                                   {QStringLiteral("UseTy"), QStringLiteral("1")},
                                                                   {QStringLiteral("smsYN"), QStringLiteral("1")}}));
    }
    void addRemark(const QString& custNo, const QString& bigo) {
        ASSERT_TRUE(DMData->CBigoExists() || DMData->CreateCBigo());
        ASSERT_TRUE(Database::insertRow(QStringLiteral("C_Bigo"),
                                        {{QStringLiteral("CustNo"), custNo}, {QStringLiteral("Bigo"), bigo}}));
    }
    void threeStudents() {
        addStudent(QStringLiteral("0910900002"), QStringLiteral("10102"), QStringLiteral("이영희"), QStringLiteral("04"));
        addStudent(QStringLiteral("123456"), QStringLiteral("10101"), QStringLiteral("홍길동"), QStringLiteral("77"),
                   QStringLiteral("아주아주아주긴예금주이름입니다")); // 28 bytes, over its 20
        addStudent(QStringLiteral("091090000123"), QStringLiteral("20101"), QStringLiteral("김"), QStringLiteral("99"));
        addRemark(QStringLiteral("0910900002"), QStringLiteral("형제 할인"));
    }
};

TEST_F(StudentExportTest, TextLinesHaveTheirByteWidthsInNumberOrder) {
    threeStudents();
    const QString file = path(QStringLiteral("StudentData.txt"));
    const StudentExport::Result r = StudentExport::writeText(file);
    ASSERT_TRUE(r.written) << r.error.toStdString();
    EXPECT_EQ(r.rows, 3);
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines.at(3).isEmpty());
    const auto field = [&lines](int line, int i) { return Cp949::decode(lines.at(line).chopped(1).split(',').at(i)); };
    // Number order: 10101, 10102, 20101.
    EXPECT_EQ(field(0, 0), QStringLiteral("    123456"));     // shorter: blanks on the left
    EXPECT_EQ(field(1, 0), QStringLiteral("0910900002"));     // ten fills it exactly
    EXPECT_EQ(field(2, 0), QStringLiteral("091090000123"));   // longer: whole
    EXPECT_EQ(field(0, 2), QStringLiteral("홍길동") + QString(14, QLatin1Char(' '))); // 6 bytes + 14
    EXPECT_EQ(field(0, 4), QString(20, QLatin1Char(' ')));   // bank 77 is not listed
    EXPECT_EQ(field(1, 4), QStringLiteral("국민은행") + QString(12, QLatin1Char(' ')));
    EXPECT_EQ(field(0, 6), QStringLiteral("아주아주아주긴예금주이름입니다"));
    EXPECT_EQ(field(0, 13), QLatin1Char('\'') + QString(79, QLatin1Char(' ')));
    EXPECT_EQ(field(1, 13), QStringLiteral("'형제 할인") + QString(70, QLatin1Char(' ')));
    EXPECT_TRUE(lines.at(0).endsWith('\r'));
    EXPECT_EQ(lines.at(1).size(), 10 + 10 + 20 + 2 + 20 + 20 + 20 + 2 + 1 + 1 + 8 + 8 + 13 + 80 + 13 + 1);
}

TEST_F(StudentExportTest, WorkbookHasTheHeadingsAndTextCells) {
    threeStudents();
    answerFiles({path(QStringLiteral("out.xlsx"))});
    msg.expect(MsgResult::Ok);
    const StudentExport::Result r = StudentExport::MnuT202B00Click(nullptr);
    ASSERT_TRUE(r.written) << r.error.toStdString();
    ASSERT_EQ(fileDialogs.size(), 1);
    EXPECT_EQ(fileDialogs.first().title, QStringLiteral("학생자료를 엑셀화일로 만들기"));
    EXPECT_EQ(fileDialogs.first().fileName, QStringLiteral("StudentData.xlsx"));
    EXPECT_EQ(fileDialogs.first().defaultSuffix, QStringLiteral("xlsx"));
    EXPECT_EQ(msg.texts(), QStringList{QStringLiteral("엑셀화일을 생성하였습니다!")});

    const std::optional<SheetTable> t = SheetReader::read(path(QStringLiteral("out.xlsx")));
    ASSERT_TRUE(t);
    EXPECT_EQ(t->rowCount(), 4);
    EXPECT_EQ(t->columnCount(), 17);
    EXPECT_EQ(t->text(1, 1), QStringLiteral("학생고유번호"));
    EXPECT_EQ(t->text(1, 17), QStringLiteral("학생주민번호"));
    EXPECT_EQ(t->value(3, 1), QVariant(QStringLiteral("0910900002"))); // text, zero kept
    EXPECT_EQ(t->value(3, 6), QVariant(QStringLiteral("012345678901")));
    EXPECT_EQ(t->text(3, 14), QStringLiteral("형제 할인"));
    EXPECT_FALSE(t->value(2, 14).isValid()); // no remark: nothing
    EXPECT_FALSE(t->value(2, 5).isValid());  // unlisted bank: nothing
}

// The workbook is written row by row while the students are read; a roster
// of many rows (well past the writer's buffers) reads back whole, in number
// order, every cell a text equal to the student's column.
TEST_F(StudentExportTest, LargeRosterReadsBackEqual) {
    constexpr int n = 1500;
    ASSERT_TRUE(DMData->CBigoExists() || DMData->CreateCBigo());
    QList<QStringList> expected; // by student number, as on the sheet
    {
        Transaction tx;
        Query cust(QStringLiteral("INSERT INTO M_CUST (CustNo, SCd, SNo, Nm, BankCd, AcctNo, Owr, Sex, UseTy, "
                                  "InDate, OutDate, Ju_No, MTelNo, smsYN, Ju_No_Stud) "
                                  "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
        Query bigo(QStringLiteral("INSERT INTO C_Bigo (CustNo, Bigo) VALUES (?,?)"));
        for (int i = 0; i < n; ++i) {
            // Inserted out of number order: the sheet sorts them.
            const int k = (i * 7) % n;
            const QString sNo = QStringLiteral("%1%2%3")
                                    .arg(1 + k / 500)
                                    .arg(1 + (k / 25) % 20, 2, 10, QLatin1Char('0'))
                                    .arg(1 + k % 25, 2, 10, QLatin1Char('0'));
            const QString custNo = QStringLiteral("%1").arg(k, 10, 10, QLatin1Char('0'));
            const QString bank = k % 3 ? QStringLiteral("04") : QStringLiteral("77");
            const QString remark = k % 4 ? QString() : QStringLiteral(" 형제 할인 <%1> & ' \"").arg(k);
            const QStringList row{custNo,
                                  sNo,
                                  QStringLiteral("학생%1").arg(k),
                                  bank,
                                  k % 3 ? QStringLiteral("국민은행") : QString(),
                                  QStringLiteral("0012%1").arg(k, 8, 10, QLatin1Char('0')),
                                  k % 5 ? QStringLiteral("보호자%1").arg(k) : QString(),
                                  sNo.left(1),
                                  k % 2 ? QStringLiteral("1") : QStringLiteral("2"),
                                  k % 10 ? QStringLiteral("1") : QStringLiteral("2"),
                                  QStringLiteral("20250302"),
                                  k % 10 ? QString() : QStringLiteral("20260115"),
                                  QStringLiteral("0001011%1").arg(k, 6, 10, QLatin1Char('0')),
                                  remark,
                                  QStringLiteral("010%1").arg(k, 8, 10, QLatin1Char('0')),
                                  QStringLiteral("1"),
                                  QStringLiteral("1001013%1").arg(k, 6, 10, QLatin1Char('0'))};
            for (int c : {0, 7, 1, 2, 3, 5, 6, 8, 9, 10, 11, 12, 14, 15, 16}) // the INSERT's order
                cust.add(row.at(c));
            ASSERT_TRUE(cust.exec()) << cust.error().toStdString();
            if (!remark.isEmpty()) {
                bigo.add(custNo).add(remark);
                ASSERT_TRUE(bigo.exec());
            }
            expected << row;
        }
        ASSERT_TRUE(tx.commit());
    }
    std::sort(expected.begin(), expected.end(),
              [](const QStringList& a, const QStringList& b) { return a.at(1) < b.at(1); });

    const QString file = path(QStringLiteral("StudentData.xlsx"));
    const StudentExport::Result r = StudentExport::writeWorkbook(file);
    ASSERT_TRUE(r.written) << r.error.toStdString();
    EXPECT_EQ(r.rows, n);

    QString error;
    const std::optional<SheetTable> t = SheetReader::read(file, 1, &error);
    ASSERT_TRUE(t) << error.toStdString();
    ASSERT_EQ(t->rowCount(), n + 1);
    EXPECT_EQ(t->columnCount(), 17);
    EXPECT_EQ(t->text(1, 14), QStringLiteral("비고"));
    int wrong = 0;
    for (int i = 0; i < n && wrong < 5; ++i)
        for (int c = 0; c < 17; ++c) {
            const QString& want = expected.at(i).at(c);
            const QVariant got = t->value(i + 2, c + 1);
            // A text cell, never a number; an empty value leaves the cell empty.
            const QVariant wanted = want.isEmpty() ? QVariant() : QVariant(want);
            if (got != wanted) {
                ADD_FAILURE() << "row " << i + 2 << " column " << c + 1 << ": " << got.toString().toStdString()
                              << " instead of " << want.toStdString();
                ++wrong;
            }
        }
    EXPECT_EQ(QDir(QFileInfo(file).absolutePath()).entryList({QStringLiteral(".StudentData*")},
                                                              QDir::Files | QDir::Hidden),
              QStringList{}); // no temporary file stays
}

TEST_F(StudentExportTest, NoStudentWritesNothingAndSaysNothing) {
    answerFiles({path(QStringLiteral("a.txt")), path(QStringLiteral("a.xlsx")), QString()});
    EXPECT_FALSE(StudentExport::MnuT201B00Click(nullptr).written);
    EXPECT_FALSE(StudentExport::MnuT202B00Click(nullptr).written);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("a.txt"))));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("a.xlsx"))));
    threeStudents();
    EXPECT_FALSE(StudentExport::MnuT201B00Click(nullptr).written); // cancelled
    EXPECT_EQ(fileDialogs.at(2).fileName, QStringLiteral("StudentData.txt"));
    EXPECT_TRUE(msg.shown().isEmpty());
}

} // namespace
