#include "basic/StudentExport.h"

#include "data/DMMain.h"
#include "platform/db/Database.h"
#include "platform/sheet/SheetReader.h"
#include "platform/text/Cp949.h"
#include "support/TestRoot.h"

#include <QFile>

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
