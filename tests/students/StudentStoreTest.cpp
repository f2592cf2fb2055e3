#include "students/StudentStore.h"
#include "data/DMMain.h"
#include "platform/db/Database.h"
#include "platform/sys/Clock.h"
#include "platform/text/Cp949.h"
#include "support/TestRoot.h"

#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

using namespace StudentStore;

// Day part of payer numbers given on the fixed test day, 2026-03-16.
const QString kDay = QStringLiteral("0") + QString::number(QDate(2002, 1, 1).daysTo(QDate(2026, 3, 16)));

class StudentStoreTest : public TestRoot {
protected:
    static StudentEntry fresh(const QString& classNo = QStringLiteral("0101"),
                              const QString& name = QStringLiteral("홍길동")) {
        StudentEntry e;
        e.gradeCode = QStringLiteral("1");
        e.classNo = classNo;
        e.name = name;
        e.sexText = QStringLiteral("1.남자");
        e.bankText = QStringLiteral("04.국민은행");
        e.acctNo = QStringLiteral("12345678") + classNo;
        e.owr = QStringLiteral("홍판서");
        e.smsText = QStringLiteral("2.거부");
        return e;
    }

    // Saves a new student and returns his number.
    QString add(StudentEntry e) {
        e.custNo.clear();
        const StoreResult r = save(e, {}, quiet());
        EXPECT_TRUE(r.stored) << (r.boxes.isEmpty() ? std::string() : r.boxes.first().text.toStdString());
        return r.custNo;
    }

    // The entry as the window shows it after a click on the student's row.
    static StudentEntry loaded(const StudentRow& s) {
        StudentEntry e;
        e.custNo = s.custNo;
        e.gradeCode = s.sCd;
        e.classNo = s.sNo.mid(1);
        e.name = s.nm;
        e.sexText = s.sex + QStringLiteral(".x");
        e.bankText = s.bankCd + QStringLiteral(".x");
        e.acctNo = s.acctNo;
        e.owr = s.owr;
        e.juNo = s.juNo;
        e.juNoStud = s.juNoStud;
        e.inDate = s.inDate;
        e.outDate = s.outDate;
        e.mTelNo = s.mTelNo;
        e.smsText = s.smsYN + QStringLiteral(".x");
        e.bigo = e.bigoLoaded = remark(s.custNo);
        return e;
    }

    // Hooks that fail the test on any question or picker.
    StudentStoreHooks quiet() {
        StudentStoreHooks h;
        h.ask = [this](const StoreBox& b) {
            questions << b.text;
            if (answers.isEmpty()) ADD_FAILURE() << "unexpected question " << b.text.toStdString();
            return !answers.isEmpty() && answers.takeFirst();
        };
        h.pickRounds = [this]() -> std::optional<QStringList> {
            ++pickerShown;
            return picks;
        };
        return h;
    }

    static void addRoundRow(const QString& table, const QString& custNo, const QString& sNo,
                            const QString& item, const QString& replyTy) {
        ASSERT_TRUE(Database::insertRow(table, {{QStringLiteral("YearMon"), table.mid(6, 6)},
                                                {QStringLiteral("SeqNo"), table.mid(12, 2)},
                                                {QStringLiteral("SNo"), sNo},
                                                {QStringLiteral("ItemCd"), item},
                                                {QStringLiteral("BankCd"), QStringLiteral("04")},
                                                {QStringLiteral("AcctNo"), QStringLiteral("123456789012")},
                                                {QStringLiteral("Amt"), 1000},
                                                {QStringLiteral("ReplyTy"), replyTy},
                                                {QStringLiteral("CustNo"), custNo},
                                                {QStringLiteral("Nm"), QStringLiteral("홍길동")}}));
    }

    static qint64 students() { return scalar(QStringLiteral("SELECT count(*) FROM M_CUST")); }
    static QStringList logRows() {
        return column(QStringLiteral("SELECT JobLog FROM L_Log_202603 WHERE MenuName = ? ORDER BY seq"),
                      {QStringLiteral("학생명부")});
    }

    QList<bool> answers;
    QStringList questions;
    std::optional<QStringList> picks;
    int pickerShown = 0;
};

TEST_F(StudentStoreTest, NewStudentValidationInOrder) {
    // A student already holding the number 1-01-01 and the account of rows
    // that ask about it.
    add(fresh(QStringLiteral("0101"), QStringLiteral("먼저")));
    const QString plainCap = plainCaption();
    struct Row {
        const char* why;
        std::function<void(StudentEntry&)> edit;
        QString caption, text;
        StudentField focus;
        QList<bool> answers;
    };
    const Row rows[] = {
        {"blank name",
         [](StudentEntry& e) { e.name = QStringLiteral("  "); },
         plainCap,
         QStringLiteral("성명을 입력하세요."),
         StudentField::EdtNm,
         {}},
        {"name before account",
         [](StudentEntry& e) { e.name.clear(), e.acctNo.clear(); },
         plainCap,
         QStringLiteral("성명을 입력하세요."),
         StudentField::EdtNm,
         {}},
        {"line break in the name",
         [](StudentEntry& e) { e.name = QStringLiteral("홍\n길동"); },
         plainCap,
         QStringLiteral("성명에 쓸 수 없는 문자가 있습니다!!"),
         StudentField::EdtNm,
         {}},
        {"tab in the holder",
         [](StudentEntry& e) { e.owr = QStringLiteral("홍\t"); },
         plainCap,
         QStringLiteral("예금주에 쓸 수 없는 문자가 있습니다!!"),
         StudentField::None,
         {}},
        {"carriage return in the phone",
         [](StudentEntry& e) { e.mTelNo = QStringLiteral("010\r1234"); },
         plainCap,
         QStringLiteral("휴대폰번호에 쓸 수 없는 문자가 있습니다!!"),
         StudentField::EdtMtelNo,
         {}},
        {"bank without account",
         [](StudentEntry& e) { e.acctNo = QStringLiteral("  "); },
         plainCap,
         QStringLiteral("계좌번호를 확인하세요."),
         StudentField::EdtAcctNo,
         {}},
        {"account without bank",
         [](StudentEntry& e) { e.bankText = QStringLiteral("99.은행없음"); },
         plainCap,
         QStringLiteral("은행을 선택하세요."),
         StudentField::CBBank,
         {}},
        {"account with a blank bank box",
         [](StudentEntry& e) { e.bankText.clear(); },
         plainCap,
         QStringLiteral("은행을 선택하세요."),
         StudentField::CBBank,
         {}},
        {"sms without phone",
         [](StudentEntry& e) {
             e.smsText = QStringLiteral("1.수신");
             e.classNo.clear();
         },
         QStringLiteral("휴대폰번호입력오류"),
         QStringLiteral("SMS를 수신하게하려면\r휴대폰번호를 입력하셔야합니다.."),
         StudentField::EdtMtelNo,
         {}},
        {"no student number",
         [](StudentEntry& e) { e.classNo = QStringLiteral(" "); },
         QStringLiteral("학번오류"),
         QStringLiteral("학번을 입력하세요"),
         StudentField::MEdtSNo,
         {}},
        {"holder number of 14",
         [](StudentEntry& e) {
             e.juNo = QStringLiteral("12345678901234");
             e.acctNo = QStringLiteral("1");
         },
         QStringLiteral("입력오류"),
         QStringLiteral("예금주 주민등록번호는 13자리 이하로 입력하셔야 됩니다."),
         StudentField::MEdtJu_No,
         {}},
        {"bad account",
         [](StudentEntry& e) { e.acctNo = QStringLiteral("1234567890123"); },
         QStringLiteral("계좌번호오류"),
         QStringLiteral("계좌번호 오류입니다!\r다시입력하십시오."),
         StudentField::EdtAcctNo,
         {}},
        {"shared account declined",
         [](StudentEntry& e) { e.classNo = QStringLiteral("0102"); },
         QString(),
         QString(),
         StudentField::EdtAcctNo,
         {false}},
        {"number taken",
         [](StudentEntry& e) { e.acctNo = QStringLiteral("999999999999"); },
         QStringLiteral("학번오류"),
         QStringLiteral("존재하는학번입니다"),
         StudentField::MEdtSNo,
         {}},
    };
    const qint64 before = students();
    const QStringList logBefore = logRows();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        StudentEntry e = fresh(QStringLiteral("0101"));
        row.edit(e);
        answers = row.answers;
        const StoreResult r = save(e, {}, quiet());
        EXPECT_FALSE(r.stored);
        EXPECT_FALSE(r.reload);
        EXPECT_EQ(r.focus, row.focus);
        if (row.text.isEmpty()) {
            EXPECT_TRUE(r.boxes.isEmpty());
        } else {
            ASSERT_EQ(r.boxes.size(), 1);
            EXPECT_EQ(r.boxes.first().caption, row.caption);
            EXPECT_EQ(r.boxes.first().text, row.text);
            EXPECT_EQ(r.boxes.first().icon, row.caption == plainCap ? MsgIcon::None : MsgIcon::Error);
        }
        EXPECT_TRUE(answers.isEmpty());
        EXPECT_EQ(students(), before);
        EXPECT_EQ(logRows(), logBefore);
    }
    // The shared-account question names the first holder and the count.
    EXPECT_EQ(questions, QStringList{QStringLiteral(
                             "10101 먼저등 1명과 계좌번호가 동일합니다!!\r\n계좌번호를 저장하시겠습니까??")});
}

TEST_F(StudentStoreTest, NewStudentIsStoredExactly) {
    // No bank and no account passes; quotes, semicolons and a name of full
    // width are kept as typed.
    StudentEntry e = fresh(QStringLiteral("0203"), QStringLiteral("가나다라"));
    e.bankText = QStringLiteral("99.은행없음");
    e.acctNo.clear();
    e.owr = QStringLiteral("O'Brien; \"x\"");
    e.outDate = QStringLiteral("20260301");
    e.inDate = QStringLiteral("20250302");
    e.juNo = QStringLiteral("8001011234567");
    e.mTelNo = QStringLiteral("010-1234-5678");
    e.smsText = QStringLiteral("1.수신");
    e.bigo = QStringLiteral("say \"hi\"; DROP TABLE M_CUST; '");
    const StoreResult r = save(e, {}, quiet());
    ASSERT_TRUE(r.stored);
    EXPECT_TRUE(r.reload);
    EXPECT_EQ(r.focus, StudentField::CbMNo);
    EXPECT_EQ(r.custNo, kDay + QStringLiteral("00001"));
    const std::optional<StudentRow> s = find(r.custNo);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->sNo, QStringLiteral("10203"));
    EXPECT_EQ(s->sCd, QStringLiteral("1"));
    EXPECT_EQ(s->nm, QStringLiteral("가나다라"));
    EXPECT_EQ(s->owr, QStringLiteral("O'Brien; \"x\""));
    EXPECT_EQ(s->bankCd, QStringLiteral("99"));
    EXPECT_EQ(s->acctNo, QString());
    EXPECT_EQ(s->useTy, QStringLiteral("0"));
    EXPECT_EQ(s->acctRegYn1, QStringLiteral("N"));
    EXPECT_EQ(s->acctRegYn2, QStringLiteral("N"));
    EXPECT_EQ(s->smsYN, QStringLiteral("1"));
    EXPECT_EQ(s->sex, QStringLiteral("1"));
    EXPECT_EQ(remark(r.custNo), e.bigo);
    // The job log keeps the first 200 bytes of the line.
    const QString line =
        QStringLiteral("[등록]학번:10203, 성명:가나다라, 성별:1.남자, 은행:99.은행없음, 계좌번호:, 예금주: "
                       "O'Brien; \"x\", 전입일: 20250302, 전출일: 20260301, 예금주주민번호: 8001011234567, "
                       "휴대폰번호:010-1234-5678, SMS수신여부1.수신, 학생주민번호: ");
    EXPECT_EQ(logRows(), QStringList{Cp949::cutToBytes(line, 200).trimmed()});
}

TEST_F(StudentStoreTest, PayerNumbersAreNeverGivenTwice) {
    EXPECT_EQ(add(fresh(QStringLiteral("0101"))), kDay + QStringLiteral("00001"));
    const QString second = add(fresh(QStringLiteral("0102")));
    EXPECT_EQ(second, kDay + QStringLiteral("00002"));

    // The highest of the day deleted: its number stays taken.
    EXPECT_TRUE(remove(second, QStringLiteral("10102"), QStringLiteral("홍길동"),
                       {[](const StoreBox&) { return true; }, {}})
                    .stored);
    EXPECT_EQ(sNewCustNo(), kDay + QStringLiteral("00003"));

    // Purged students keep theirs in the archive.
    ASSERT_TRUE(Database::exec(
        QStringLiteral("create table D_CUST(CustNo char(12), SNo char(10), v_x00d char(10))")));
    ASSERT_TRUE(Database::insertRow(QStringLiteral("D_CUST"),
                                    {{QStringLiteral("CustNo"), kDay + QStringLiteral("00041")}}));
    // Numbers of another form are passed over.
    ASSERT_TRUE(Database::insertRow(QStringLiteral("D_CUST"),
                                    {{QStringLiteral("CustNo"), kDay + QStringLiteral("A9999")}}));
    EXPECT_EQ(sNewCustNo(), kDay + QStringLiteral("00042"));

    // Nothing is reserved until a row is posted with it.
    EXPECT_EQ(sNewCustNo(), sNewCustNo());

    // Another day starts again at 1; the first day of the count is 00000.
    Clock::set(QDateTime(QDate(2026, 3, 17), QTime(9, 0)));
    EXPECT_EQ(sNewCustNo(),
              QStringLiteral("0") + QString::number(kDay.toInt() + 1) + QStringLiteral("00001"));
    Clock::set(QDateTime(QDate(2002, 1, 1), QTime(9, 0)));
    EXPECT_EQ(sNewCustNo(), QStringLiteral("0000000001"));
}

TEST_F(StudentStoreTest, ChangeLogsEachFieldInOrder) {
    StudentEntry e0 = fresh();
    e0.bigo = QStringLiteral("첫 비고");
    const QString no = add(e0);
    StudentRow before = *find(no);

    // Nothing changed: no log row, nothing carried.
    StudentEntry same = loaded(before);
    StoreResult r = save(same, before, quiet());
    EXPECT_TRUE(r.stored);
    EXPECT_EQ(logRows().size(), 1);

    StudentEntry e = loaded(before);
    e.gradeCode = QStringLiteral("2");
    e.name = QStringLiteral("홍길순");
    e.sexText = QStringLiteral("2.여자");
    e.bankText = QStringLiteral("03.기업은행");
    e.acctNo = QStringLiteral("12345678901");
    e.owr = QStringLiteral("새 예금주");
    e.inDate = QStringLiteral("20260102");
    e.outDate = QStringLiteral("20260315");
    e.juNo = QStringLiteral("1234567890123");
    e.mTelNo = QStringLiteral("01099998888");
    e.smsText = QStringLiteral("1.수신");
    e.juNoStud = QStringLiteral("1111111111111");
    e.bigo.clear();
    picks = QStringList{};
    r = save(e, before, quiet());
    ASSERT_TRUE(r.stored) << r.boxes.value(0).text.toStdString();
    EXPECT_EQ(pickerShown, 1);
    const QString p = QStringLiteral("[수정](학번:10101 ,성명:홍길동) ");
    const QStringList expected{
        p + QStringLiteral("학년 : 2"),
        p + QStringLiteral("학번 : 20101"),
        p + QStringLiteral("성명 : 홍길순"),
        p + QStringLiteral("성별 : 2"),
        p + QStringLiteral("계좌번호 : 12345678901"),
        p + QStringLiteral("은행코드 : 03"),
        p + QStringLiteral("계좌등록 : 미등록"),
        p + QStringLiteral("예금주 : 새 예금주"),
        p + QStringLiteral("전입일 : 20260102"),
        p + QStringLiteral("전출일 : 20260315"),
        p + QStringLiteral("재학여부 : 전출"),
        p + QStringLiteral("예금주 주민번호 : 1234567890123"),
        p + QStringLiteral("휴대폰번호:01099998888"),
        p + QStringLiteral("SMS수신여부:1"),
        p + QStringLiteral("학생 주민번호 : 1111111111111"),
    };
    EXPECT_EQ(logRows().mid(1), expected);
    const StudentRow s = *find(no);
    EXPECT_EQ(s.sNo, QStringLiteral("20101"));
    EXPECT_EQ(s.sCd, QStringLiteral("2"));
    EXPECT_EQ(s.useTy, QStringLiteral("0"));
    EXPECT_EQ(s.bankCd, QStringLiteral("03"));
    EXPECT_EQ(remark(no), QString()); // cleared remarks are removed, unlogged

    // Clearing the out-date enrols him again.
    StudentEntry back = loaded(s);
    back.outDate.clear();
    ASSERT_TRUE(save(back, s, quiet()).stored);
    EXPECT_EQ(find(no)->useTy, QStringLiteral("1"));
    EXPECT_EQ(logRows().mid(16),
              (QStringList{QStringLiteral("[수정](학번:20101 ,성명:홍길순) 전출일 :"),
                           QStringLiteral("[수정](학번:20101 ,성명:홍길순) 재학여부 : 재학")}));
}

TEST_F(StudentStoreTest, ExistingStudentValidation) {
    const QString a = add(fresh(QStringLiteral("0101")));
    StudentEntry other = fresh(QStringLiteral("0102"));
    other.acctNo = QStringLiteral("210987654321");
    add(other);
    const StudentRow before = *find(a);
    struct Row {
        const char* why;
        std::function<void(StudentEntry&)> edit;
        QString caption, text;
        StudentField focus;
    };
    const Row rows[] = {
        {"bad account", [](StudentEntry& e) { e.acctNo = QStringLiteral("1"); },
         QStringLiteral("계좌번호오류"), QStringLiteral("계좌번호 오류입니다!\r다시입력하십시오."),
         StudentField::EdtAcctNo},
        {"holder number of 14", [](StudentEntry& e) { e.juNo = QStringLiteral("12345678901234"); },
         QStringLiteral("입력오류"), QStringLiteral("주민등록번호는 13자리 이하로 입력하셔야 됩니다."),
         StudentField::MEdtJu_No},
        {"number of another student", [](StudentEntry& e) { e.classNo = QStringLiteral("0102"); },
         QStringLiteral("학번변경오류"), QStringLiteral("동일한 학번이 존재합니다"), StudentField::MEdtSNo},
        {"unknown payer number", [](StudentEntry& e) { e.custNo = QStringLiteral("9999999999"); },
         QStringLiteral("고객번호오류"), QStringLiteral("존재하지 않는 고객번호입니다"), StudentField::CbMNo},
    };
    const QStringList logBefore = logRows();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        StudentEntry e = loaded(before);
        e.name = QStringLiteral("바뀐이름");
        row.edit(e);
        const StoreResult r = save(e, before, quiet());
        EXPECT_FALSE(r.stored);
        ASSERT_EQ(r.boxes.size(), 1);
        EXPECT_EQ(r.boxes.first().caption, row.caption);
        EXPECT_EQ(r.boxes.first().text, row.text);
        EXPECT_EQ(r.focus, row.focus);
        EXPECT_EQ(find(a)->nm, QStringLiteral("홍길동"));
        EXPECT_EQ(logRows(), logBefore);
    }
}

TEST_F(StudentStoreTest, AccountChanges) {
    StudentEntry other = fresh(QStringLiteral("0102"), QStringLiteral("김철수"));
    other.acctNo = QStringLiteral("210987654321");
    add(other);
    const QString no = add(fresh());
    ASSERT_TRUE(Database::updateRows(QStringLiteral("M_CUST"),
                                     {{QStringLiteral("AcctRegYn_1"), QStringLiteral("Y")},
                                      {QStringLiteral("AcctRegYn_2"), QStringLiteral("W")}},
                                     {{QStringLiteral("CustNo"), no}}));
    const StudentRow before = *find(no);

    // Declining the shared account keeps account, bank and states; the
    // picker is still offered but only when something else is carried.
    StudentEntry e = loaded(before);
    e.bankText = QStringLiteral("81.하나은행");
    e.acctNo = QStringLiteral("210987654321");
    answers = {false};
    StoreResult r = save(e, before, quiet());
    EXPECT_TRUE(r.stored);
    EXPECT_EQ(pickerShown, 0);
    StudentRow s = *find(no);
    EXPECT_EQ(s.acctNo, QStringLiteral("123456780101"));
    EXPECT_EQ(s.bankCd, QStringLiteral("04"));
    EXPECT_EQ(s.acctRegYn1, QStringLiteral("Y"));
    EXPECT_EQ(questions.size(), 1);

    // A bank-only change keeps the registration states.
    e = loaded(before);
    e.bankText = QStringLiteral("06.주택은행");
    r = save(e, before, quiet());
    EXPECT_TRUE(r.stored);
    EXPECT_EQ(pickerShown, 1);
    ASSERT_EQ(r.boxes.size(), 1);
    EXPECT_EQ(r.boxes.first().text, QStringLiteral("학생명부만 수정되었습니다!!"));
    EXPECT_EQ(r.boxes.first().icon, MsgIcon::Information);
    s = *find(no);
    EXPECT_EQ(s.bankCd, QStringLiteral("06"));
    EXPECT_EQ(s.acctRegYn1, QStringLiteral("Y"));
    EXPECT_EQ(s.acctRegYn2, QStringLiteral("W"));
    EXPECT_EQ(logRows().last(), QStringLiteral("[수정](학번:10101 ,성명:홍길동) 은행코드 : 06"));

    // A new account resets both states.
    e = loaded(s);
    e.acctNo = QStringLiteral("999988887777");
    r = save(e, s, quiet());
    s = *find(no);
    EXPECT_EQ(s.acctNo, QStringLiteral("999988887777"));
    EXPECT_EQ(s.acctRegYn1, QStringLiteral("N"));
    EXPECT_EQ(s.acctRegYn2, QStringLiteral("N"));
}

class StudentRoundsTest : public StudentStoreTest {
protected:
    void SetUp() override {
        StudentStoreTest::SetUp();
        no = add(fresh());
        mate = add(fresh(QStringLiteral("0102"), QStringLiteral("김철수")));
        for (const char* t : {"20260301", "20260401"})
            ASSERT_TRUE(DMData->CreateH200(QString::fromLatin1(t)));
        ASSERT_TRUE(DMData->CreateH300(QStringLiteral("20260301")));
        ASSERT_TRUE(DMData->CreateHR00(QStringLiteral("20260301")));
        for (const char* t : {"H_200_20260301", "H_200_20260401", "H_300_20260301"}) {
            const QString table = QString::fromLatin1(t);
            addRoundRow(table, no, QStringLiteral("10101"), QStringLiteral("01"), QStringLiteral("0"));
            addRoundRow(table, no, QStringLiteral("10101"), QStringLiteral("02"), QStringLiteral("1"));
            addRoundRow(table, mate, QStringLiteral("10102"), QStringLiteral("01"), QStringLiteral("0"));
        }
        // The mate already holds 1-03-01 in April's round.
        ASSERT_TRUE(Database::updateRows(QStringLiteral("H_200_20260401"),
                                         {{QStringLiteral("SNo"), QStringLiteral("10301")}},
                                         {{QStringLiteral("CustNo"), mate}}));
        ASSERT_TRUE(Database::insertRow(QStringLiteral("H_R00_20260301"),
                                        {{QStringLiteral("NapbuNo"), no},
                                         {QStringLiteral("AcctNo"), QStringLiteral("123456789012")},
                                         {QStringLiteral("RegBankCd"), QStringLiteral("04")}}));
        before = *find(no);
    }

    static QStringList rows(const QString& table, const QString& custNo) {
        return column(
            QStringLiteral("SELECT SNo || '|' || Nm || '|' || BankCd || '|' || AcctNo || '|' || ReplyTy "
                           "FROM %1 WHERE CustNo = ? ORDER BY ItemCd")
                .arg(table),
            {custNo});
    }

    QString no, mate;
    StudentRow before;
};

TEST_F(StudentRoundsTest, NameChangeReachesEveryRoundButRegistrations) {
    // A changed name goes to every collection and distribution round; the
    // saved account goes to the rows not yet transferred.
    ASSERT_TRUE(Database::updateRows(QStringLiteral("M_CUST"),
                                     {{QStringLiteral("AcctNo"), QStringLiteral("555")}},
                                     {{QStringLiteral("CustNo"), no}}));
    StudentEntry e = loaded(before);
    e.name = QStringLiteral(" 새이름 ");
    const StoreResult r = save(e, before, quiet());
    ASSERT_TRUE(r.stored);
    EXPECT_EQ(pickerShown, 0);
    for (const char* t : {"H_200_20260301", "H_300_20260301"})
        EXPECT_EQ(rows(QString::fromLatin1(t), no),
                  (QStringList{QStringLiteral("10101|새이름|04|555|0"),
                               QStringLiteral("10101|새이름|04|123456789012|1")}))
            << t;
    EXPECT_EQ(rows(QStringLiteral("H_200_20260301"), mate).value(0),
              QStringLiteral("10102|홍길동|04|123456789012|0"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM H_R00_20260301 WHERE NapbuNo = ?"), {no}), 1);
}

TEST_F(StudentRoundsTest, OtherFieldsNeverTouchRounds) {
    StudentEntry e = loaded(before);
    e.sexText = QStringLiteral("2.여자");
    e.owr = QStringLiteral("다른이");
    e.inDate = QStringLiteral("20250101");
    e.outDate = QStringLiteral("20260101");
    e.juNo = QStringLiteral("1");
    e.mTelNo = QStringLiteral("0101");
    e.smsText = QStringLiteral("1.수신");
    e.juNoStud = QStringLiteral("2");
    e.bigo = QStringLiteral("비고");
    const QStringList was = rows(QStringLiteral("H_200_20260301"), no);
    ASSERT_TRUE(Database::exec(QStringLiteral("UPDATE H_200_20260301 SET Nm = 'x'")));
    ASSERT_TRUE(save(e, before, quiet()).stored);
    EXPECT_EQ(pickerShown, 0);
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM H_200_20260301 WHERE Nm <> 'x'")), 0);
}

TEST_F(StudentRoundsTest, NumberChangeGoesToPickedRoundsOnly) {
    StudentEntry e = loaded(before);
    e.classNo = QStringLiteral("0201");
    e.acctNo = QStringLiteral("999988887777");
    picks = QStringList{QStringLiteral("[배분]202603 / 01")};
    ASSERT_TRUE(save(e, before, quiet()).stored);
    EXPECT_EQ(pickerShown, 1);
    EXPECT_EQ(rows(QStringLiteral("H_300_20260301"), no),
              (QStringList{QStringLiteral("10201|홍길동|04|999988887777|0"),
                           QStringLiteral("10201|홍길동|04|123456789012|1")}));
    EXPECT_EQ(rows(QStringLiteral("H_200_20260301"), no).value(0),
              QStringLiteral("10101|홍길동|04|123456789012|0"));
    EXPECT_EQ(find(no)->sNo, QStringLiteral("10201"));
}

TEST_F(StudentRoundsTest, NumberTakenInAPickedRoundRollsAllBack) {
    StudentEntry e = loaded(before);
    e.classNo = QStringLiteral("0301");
    e.name = QStringLiteral("새이름");
    picks = QStringList{QStringLiteral("[집금]202603 / 01"), QStringLiteral("[집금]202604 / 01")};
    const QStringList logBefore = logRows();
    const StoreResult r = save(e, before, quiet());
    EXPECT_FALSE(r.stored);
    EXPECT_TRUE(r.reload);
    ASSERT_EQ(r.boxes.size(), 1);
    EXPECT_EQ(r.boxes.first().text, QStringLiteral("수정하려는 학번이 이미 존재합니다.!! 학번수정오류"));
    EXPECT_EQ(find(no)->sNo, QStringLiteral("10101"));
    EXPECT_EQ(find(no)->nm, QStringLiteral("홍길동"));
    EXPECT_EQ(rows(QStringLiteral("H_200_20260301"), no).value(0),
              QStringLiteral("10101|홍길동|04|123456789012|0"));
    EXPECT_EQ(logRows(), logBefore);
}

TEST_F(StudentRoundsTest, DeleteLeavesRegistrationsAndSideTables) {
    ASSERT_TRUE(
        Database::insertRow(QStringLiteral("M_EXEMP"), {{QStringLiteral("CustNo"), no},
                                                        {QStringLiteral("ItemCd"), QStringLiteral("01")}}));
    // Declined: nothing happens. The question defaults to No.
    answers = {false};
    EXPECT_FALSE(remove(no, QStringLiteral("10101"), QStringLiteral("홍길동"), quiet()).stored);
    EXPECT_TRUE(find(no));
    msg.expect(MsgResult::No);
    EXPECT_FALSE(remove(no, QStringLiteral("10101"), QStringLiteral("홍길동")).stored);
    ASSERT_FALSE(msg.shown().isEmpty());
    EXPECT_TRUE(msg.shown().last().defaultNo);
    answers = {true};
    const StoreResult r = remove(no, QStringLiteral("10101"), QStringLiteral("홍길동"), quiet());
    ASSERT_TRUE(r.stored);
    EXPECT_TRUE(r.reload);
    EXPECT_FALSE(find(no));
    for (const char* t : {"H_200_20260301", "H_200_20260401", "H_300_20260301"})
        EXPECT_TRUE(rows(QString::fromLatin1(t), no).isEmpty()) << t;
    EXPECT_EQ(rows(QStringLiteral("H_200_20260301"), mate).size(), 1);
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM H_R00_20260301 WHERE NapbuNo = ?"), {no}), 1);
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM M_EXEMP WHERE CustNo = ?"), {no}), 1);
    EXPECT_EQ(logRows().last(), QStringLiteral("[삭제]학번 : 10101,성명 : 홍길동"));
    EXPECT_EQ(
        questions.first(),
        QStringLiteral("삭제하시면 해당 학생의 \r계좌정보 및 이체내역을 영구히 삭제됩니다\r신중히 선택하여 "
                       "주십시오.\r\r정말 삭제하시겠습니까?"));

    // A payer number nobody has.
    answers = {true};
    const StoreResult gone = remove(no, QString(), QString(), quiet());
    EXPECT_FALSE(gone.stored);
    EXPECT_EQ(gone.boxes.value(0).text, QStringLiteral("존재하지 않는 고객번호입니다"));
}

TEST_F(StudentRoundsTest, PickerEntries) {
    EXPECT_EQ(roundEntries(),
              (QStringList{QStringLiteral("[배분]202603 / 01"), QStringLiteral("[집금]202604 / 01"),
                           QStringLiteral("[집금]202603 / 01")}));
    EXPECT_EQ(roundTable(QStringLiteral("[집금]200703 / 01")), QStringLiteral("H_200_20070301"));
    EXPECT_EQ(roundTable(QStringLiteral("[배분]200703 / 12")), QStringLiteral("H_300_20070312"));
    EXPECT_EQ(roundTable(QStringLiteral("[집금]200703 / 01; drop")), QString());
}

} // namespace
