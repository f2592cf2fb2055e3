#include "students/RosterList.h"
#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/ui/Modal.h"
#include "students/F201B00.h"
#include "students/F201B01.h"
#include "students/F201B04.h"
#include "support/TestRoot.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

class RosterListTest : public TestRoot {
protected:
    void SetUp() override {
        TestRoot::SetUp();
        SNoLen = 5;
    }
    void TearDown() override {
        SNoLen = 5;
        TestRoot::TearDown();
    }

    static void student(const QString& custNo, const QString& sNo, const QString& bank, const QString& useTy,
                        const QString& sex = QStringLiteral("1"), const QString& reg1 = QStringLiteral("N"),
                        const QString& reg2 = QStringLiteral("N"), const QString& sms = QStringLiteral("1"),
                        const QString& acct = QString()) {
        ASSERT_TRUE(Database::insertRow(QStringLiteral("M_CUST"),
                                        {{QStringLiteral("CustNo"), custNo},
                                         {QStringLiteral("SCd"), sNo.left(1)},
                                         {QStringLiteral("SNo"), sNo},
                                         {QStringLiteral("Nm"), QStringLiteral("학생") + sNo},
                                         {QStringLiteral("Sex"), sex},
                                         {QStringLiteral("BankCd"), bank},
                                         {QStringLiteral("AcctNo"), acct},
                                         {QStringLiteral("UseTy"), useTy},
                                         {QStringLiteral("AcctRegYn_1"), reg1},
                                         {QStringLiteral("AcctRegYn_2"), reg2},
                                         {QStringLiteral("smsYN"), sms}}));
    }

    static QStringList numbers(const RosterFilter& f) {
        QStringList out;
        for (const StudentRow& s : RosterList::pListStudents(f).rows)
            out << s.sNo;
        return out;
    }
};

TEST_F(RosterListTest, BoundsAreCompleted) {
    const struct {
        int len;
        const char *in, *lower, *upper;
    } cases[] = {
        {5, "1", "10101", "19999"},
        {5, "105", "10501", "10599"},
        {5, "10507", "10507", "10507"},
        {6, "1", "101001", "199999"},
        {6, "105", "105001", "105999"},
        {6, "105007", "105007", "105007"},
        {5, "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        SNoLen = c.len;
        EXPECT_EQ(RosterList::completeLower(QString::fromLatin1(c.in)), QString::fromLatin1(c.lower));
        EXPECT_EQ(RosterList::completeUpper(QString::fromLatin1(c.in)), QString::fromLatin1(c.upper));
    }
}

TEST_F(RosterListTest, FiltersSelectAndCount) {
    student(QStringLiteral("A1"), QStringLiteral("10101"), QStringLiteral("04"), QStringLiteral("1"));
    student(QStringLiteral("A2"), QStringLiteral("10102"), QStringLiteral("10"), QStringLiteral("0"),
            QStringLiteral("2"), QStringLiteral("Y"), QStringLiteral("N"), QStringLiteral("2"));
    student(QStringLiteral("A3"), QStringLiteral("20101"), QStringLiteral("11"), QStringLiteral("1"),
            QStringLiteral("1"), QStringLiteral("W"), QStringLiteral("Y"));
    student(QStringLiteral("A4"), QStringLiteral("30101"), QStringLiteral("12"), QStringLiteral("1"),
            QStringLiteral("2"), QString(), QStringLiteral("Y"), QStringLiteral("1"), QStringLiteral("777"));
    student(QStringLiteral("A5"), QStringLiteral("39999"), QStringLiteral("99"), QStringLiteral("0"));
    student(QStringLiteral("A6"), QStringLiteral("40101"), QStringLiteral("81"), QStringLiteral("1"));

    struct Row {
        const char* why;
        RosterFilter f;
        QStringList expected;
    };
    const auto F = [](std::function<void(RosterFilter&)> edit) {
        RosterFilter f;
        f.bankText = QStringLiteral("00.모든은행");
        edit(f);
        return f;
    };
    const Row rows[] = {
        {"everyone in number order",
         F([](RosterFilter&) {}),
         {"10101", "10102", "20101", "30101", "39999", "40101"}},
        {"grade 1 to grade 3 alone",
         F([](RosterFilter& f) { f.sNoFrom = "1", f.sNoTo = "3"; }),
         {"10101", "10102", "20101", "30101", "39999"}},
        {"grade and class bounds",
         F([](RosterFilter& f) { f.sNoFrom = "201", f.sNoTo = "301"; }),
         {"20101", "30101"}},
        {"full bounds", F([](RosterFilter& f) { f.sNoFrom = "10102", f.sNoTo = "10102"; }), {"10102"}},
        {"bank 11 lists the whole family",
         F([](RosterFilter& f) { f.bankText = "11.농협중앙"; }),
         {"10102", "20101", "30101"}},
        {"bank 12 too", F([](RosterFilter& f) { f.bankText = "12.회원농협"; }), {"10102", "20101", "30101"}},
        {"one bank", F([](RosterFilter& f) { f.bankText = "81.하나은행"; }), {"40101"}},
        {"no bank", F([](RosterFilter& f) { f.bankText = "99.은행없음"; }), {"39999"}},
        {"a bank nobody has", F([](RosterFilter& f) { f.bankText = "45.새마을금고"; }), {}},
        {"account", F([](RosterFilter& f) { f.acctNo = "777"; }), {"30101"}},
        {"enrolled", F([](RosterFilter& f) { f.use = 1; }), {"10101", "20101", "30101", "40101"}},
        {"transferred", F([](RosterFilter& f) { f.use = 2; }), {"10102", "39999"}},
        {"girls", F([](RosterFilter& f) { f.sex = 2; }), {"10102", "30101"}},
        {"unregistered: registering and blank too",
         F([](RosterFilter& f) { f.regYn = 1; }),
         {"10101", "20101", "30101", "39999", "40101"}},
        {"unregistered with the unit",
         F([](RosterFilter& f) { f.regYn = 2; }),
         {"10101", "10102", "39999", "40101"}},
        {"sms refused", F([](RosterFilter& f) { f.sms = 2; }), {"10102"}},
        {"conditions together",
         F([](RosterFilter& f) {
             f.bankText = "10.신농협중앙";
             f.use = 1;
             f.sNoFrom = "2";
         }),
         {"20101", "30101"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.why);
        EXPECT_EQ(numbers(r.f), r.expected);
    }
    const RosterListing all = RosterList::pListStudents(rows[0].f);
    EXPECT_EQ(all.enrolled, 4);
    EXPECT_EQ(all.transferred, 2);
    EXPECT_EQ(RosterList::countText(QStringLiteral("총인원수: "), 12345), QStringLiteral("총인원수: 12,345"));
}

TEST_F(RosterListTest, CellsAndRegistrationStates) {
    StudentRow s;
    s.sNo = QStringLiteral("10101");
    s.sex = QStringLiteral("3");
    s.useTy = QStringLiteral("0");
    s.bankCd = QStringLiteral("04");
    s.acctRegYn1 = QStringLiteral("W");
    EXPECT_EQ(RosterList::cell(s, 2), QString());
    EXPECT_EQ(RosterList::cell(s, 3), QStringLiteral("국민은행"));
    EXPECT_EQ(RosterList::cell(s, 5), QStringLiteral("전출"));
    EXPECT_EQ(RosterList::regState(s, 6).text, QStringLiteral("등록중"));
    EXPECT_EQ(RosterList::regState(s, 6).colour, RosterList::RegColour::Blue);
    EXPECT_EQ(RosterList::regState(s, 7).text, QStringLiteral(" "));
    s.bankCd = QStringLiteral("99");
    EXPECT_EQ(RosterList::cell(s, 3), QString());
    s.bankCd = QStringLiteral("12");
    s.acctRegYn1 = QStringLiteral("Y");
    s.acctRegYn2.clear();
    EXPECT_EQ(RosterList::regState(s, 6).text, QStringLiteral("중앙:등록"));
    EXPECT_EQ(RosterList::regState(s, 6).colour, RosterList::RegColour::Row);
    EXPECT_EQ(RosterList::regState(s, 7).text, QStringLiteral("단위:미등록"));
    EXPECT_EQ(RosterList::regState(s, 7).colour, RosterList::RegColour::Red);
}

TEST_F(RosterListTest, ClassAndNumberAreNormalised) {
    const struct {
        int len;
        const char *in, *out;
    } cases[] = {
        {5, "    ", "    "}, {5, "5   ", "05"},     {5, "1 5 ", "0105"},   {5, "  5 ", "05"},
        {5, "1234", "1234"}, {6, "1 5  ", "01005"}, {6, "1215 ", "12015"}, {6, "12345", "12345"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(RosterList::normClassNo(QString::fromLatin1(c.in), c.len), QString::fromLatin1(c.out));
    }
}

// The window itself: enter a student, save, see him listed, find him.
class RosterWindowTest : public RosterListTest {
protected:
    void SetUp() override {
        RosterListTest::SetUp();
        for (const char* g : {"1", "2"})
            ASSERT_TRUE(Database::insertRow(
                QStringLiteral("C_SCD"),
                {{QStringLiteral("SCd"), QString::fromLatin1(g)},
                 {QStringLiteral("SCdNm"), QString::fromLatin1(g) + QStringLiteral("학년")}}));
    }
    void TearDown() override {
        Modal::setRunner({});
        RosterListTest::TearDown();
    }
};

TEST_F(RosterWindowTest, EnterSaveListFind) {
    TFrmF201B00 w;
    EXPECT_EQ(FrmF201B00, &w);
    EXPECT_EQ(w.gridRowCount(), 2); // header and one empty row
    EXPECT_EQ(w.LblTot->text(), QStringLiteral("총인원수: 0"));
    EXPECT_EQ(w.CBBank->itemText(0), QStringLiteral("99.은행없음"));
    EXPECT_EQ(w.CBSBank->currentText(), QStringLiteral("00.모든은행"));

    // A name too long for its field is refused as typed.
    w.EdtNm->setText(QString());
    w.EdtNm->insert(QStringLiteral("가나다라마"));
    EXPECT_EQ(w.EdtNm->text(), QString());
    w.EdtNm->insert(QStringLiteral("가나다라"));
    EXPECT_EQ(w.EdtNm->text(), QStringLiteral("가나다라"));

    // The first save asks for the number.
    w.BBtnAddClick();
    w.CbMNo->setCurrentIndex(1);
    w.EdtNm->setText(QStringLiteral("홍길동"));
    w.CBsmsYN->setCurrentIndex(1);
    msg.expect(MsgResult::Ok);
    w.BBtnUpdtClick();
    ASSERT_EQ(msg.shown().size(), 1);
    EXPECT_EQ(msg.shown().first().text, QStringLiteral("학번을 입력하세요"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM M_CUST")), 0);

    w.MEdtSNo->setText(QStringLiteral("1 5 "));
    w.MEdtSNoExit();
    EXPECT_EQ(w.classNoText(), QStringLiteral("0105"));
    w.CBBank->setCurrentIndex(w.CBBank->findText(QStringLiteral("04."), Qt::MatchStartsWith));
    w.EdtAcctNo->setText(QStringLiteral("123456789012"));
    w.MedtOutDate->setText(QStringLiteral("20260310"));
    w.BBtnUpdtClick();
    EXPECT_EQ(msg.shown().size(), 1);
    EXPECT_EQ(
        scalar(QStringLiteral("SELECT count(*) FROM M_CUST WHERE SNo = '20105' AND SCd = '2' AND UseTy = '0' "
                              "AND OutDate = '20260310' AND BankCd = '04'")),
        1);

    // Listed, counted, and the entry emptied again.
    EXPECT_EQ(w.gridRowCount(), 2);
    EXPECT_EQ(w.gridCell(0, 1), QStringLiteral("20105"));
    EXPECT_EQ(w.gridCell(3, 1), QStringLiteral("국민은행"));
    EXPECT_EQ(w.LblUseN->text(), QStringLiteral("전출생수: 1"));
    EXPECT_TRUE(w.EdtCustNo->text().isEmpty());

    // A second student, then find the first by name from the top.
    w.BBtnAddClick();
    w.CbMNo->setCurrentIndex(0);
    w.MEdtSNo->setText(QStringLiteral("0101"));
    w.EdtNm->setText(QStringLiteral("김철수"));
    w.CBsmsYN->setCurrentIndex(1);
    w.BBtnUpdtClick();
    EXPECT_EQ(w.gridRowCount(), 3);
    EXPECT_EQ(w.gridCell(1, 1), QStringLiteral("김철수"));

    Modal::setRunner([&](QDialog* d) {
        auto* f = qobject_cast<TFrmF201B01*>(d);
        EXPECT_NE(f, nullptr);
        f->CbSelect->setCurrentIndex(1);
        f->CbSelectChange();
        f->EdtSearchNm->setText(QStringLiteral("홍길동"));
        f->BBtnSearchClick();
        return 2;
    });
    w.BBtnSearchClick();
    EXPECT_EQ(w.gridRow(), 2);
    EXPECT_EQ(w.EdtNm->text(), QStringLiteral("홍길동"));
    EXPECT_EQ(w.classNoText(), QStringLiteral("0105"));
    EXPECT_EQ(w.CBBank->currentText().left(2), QStringLiteral("04"));

    // Searching on from the last row asks at once to start again.
    msg.expect(MsgResult::Ok);
    FindRow = 2;
    EXPECT_EQ(
        TFrmF201B01::findRow(
            w.gridRowCount(), [&](int r) { return w.gridCell(1, r); }, QStringLiteral("홍길동"), true, true),
        -1);
    EXPECT_EQ(msg.shown().last().text, QStringLiteral("자료의 끝입니다!\r처음부터 다시 검색하시겠습니까?"));
    EXPECT_EQ(FindRow, 0);
    EXPECT_EQ(
        TFrmF201B01::findRow(
            w.gridRowCount(), [&](int r) { return w.gridCell(1, r); }, QStringLiteral("홍길동"), true, true),
        2);

    // Changing the loaded student's name through the window.
    w.EdtNm->setText(QStringLiteral("홍길순"));
    w.BBtnUpdtClick();
    EXPECT_EQ(w.gridCell(1, 2), QStringLiteral("홍길순"));

    // The all-students SMS change alternates; consent goes only to the
    // student with a mobile number, as the entry box would refuse it
    // without one.
    ASSERT_TRUE(
        Database::exec(QStringLiteral("UPDATE M_CUST SET MTelNo = '010-1234-5678' WHERE Nm = '홍길순'")));
    msg.expect(MsgResult::Yes);
    w.BBtnSMSALLClick();
    EXPECT_EQ(column(QStringLiteral("SELECT Nm FROM M_CUST WHERE smsYN = '1'")),
              QStringList{QStringLiteral("홍길순")});
    EXPECT_EQ(column(QStringLiteral("SELECT Nm FROM M_CUST WHERE smsYN = '2'")),
              QStringList{QStringLiteral("김철수")});
    EXPECT_EQ(w.BBtnSMSALL->text(), QStringLiteral("전체거부"));
    msg.expect(MsgResult::Yes);
    w.BBtnSMSALLClick();
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM M_CUST WHERE smsYN = '2'")), 2);
    EXPECT_EQ(msg.shown().last().text,
              QStringLiteral("SMS수신여부를 \"전체거부\" 으로 일괄변경하시겠습니까?"));
}

TEST_F(RosterWindowTest, EnterInTheNumberBoundsRunsTheSearch) {
    TFrmF201B00 w;
    w.show();
    w.SHakFromEdit->setText(QStringLiteral("3"));
    w.SHakToEdit->setText(QStringLiteral("1"));
    msg.expect(MsgResult::Ok);
    QTest::keyClick(w.SBunToEdit, Qt::Key_Return);
    ASSERT_EQ(msg.shown().size(), 1);
    EXPECT_EQ(msg.shown()[0].text, QStringLiteral("학번범위 설정이 올바르지 않습니다."));
    EXPECT_EQ(w.focusWidget(), w.BBtnInquiry);
}

TEST_F(RosterWindowTest, RowClickNeverKeepsThePreviousStudentsChoices) {
    // A student saved with a blank bank box and one without an SMS answer
    // (older data): clicking them after another student must not leave that
    // student's bank and consent in the boxes, where a save would store them.
    student(QStringLiteral("A"), QStringLiteral("10101"), QStringLiteral("04"), QStringLiteral("1"),
            QStringLiteral("1"), QStringLiteral("N"), QStringLiteral("N"), QStringLiteral("1"),
            QStringLiteral("123456789012"));
    student(QStringLiteral("B"), QStringLiteral("10102"), QString(), QStringLiteral("1"), QStringLiteral("1"),
            QStringLiteral("N"), QStringLiteral("N"), QString());
    TFrmF201B00 w;
    // The blank row of an empty listing leaves the boxes of a new student.
    w.RGrpUse->button(2)->setChecked(true);
    w.RGrpUseClick();
    w.setGridRow(1);
    w.SGrdMCustClick();
    EXPECT_EQ(w.CBBank->currentText(), QStringLiteral("99.은행없음"));
    EXPECT_EQ(w.CBsmsYN->currentText(), QStringLiteral("1.수신"));
    w.RGrpUse->button(0)->setChecked(true);
    w.RGrpUseClick();
    w.setGridRow(1);
    w.SGrdMCustClick();
    EXPECT_EQ(w.CBBank->currentText(), QStringLiteral("04.국민은행"));
    w.setGridRow(2);
    w.SGrdMCustClick();
    EXPECT_EQ(w.EdtCustNo->text(), QStringLiteral("B"));
    EXPECT_EQ(w.CBBank->currentText(), QString());
    EXPECT_EQ(w.CBsmsYN->currentText(), QString());

    // A name change stores the name and nothing of the other student.
    w.EdtNm->setText(QStringLiteral("새이름"));
    w.BBtnUpdtClick();
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM M_CUST WHERE CustNo = 'B' AND Nm = '새이름' AND "
                                    "COALESCE(BankCd, '') = '' AND COALESCE(smsYN, '') = ''")),
              1);
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM L_Log_202603 WHERE JobLog LIKE '%SMS%' OR JobLog "
                                    "LIKE '%은행코드%'")),
              0);

    // Codes the boxes do not offer (stored before the roster refused them)
    // show as empty boxes too, never as the previous student's choice.
    student(QStringLiteral("C"), QStringLiteral("10103"), QStringLiteral("04"), QStringLiteral("1"),
            QStringLiteral("3"), QStringLiteral("N"), QStringLiteral("N"), QStringLiteral("9"));
    w.RGrpUseClick();
    w.setGridRow(1);
    w.SGrdMCustClick();
    EXPECT_EQ(w.CbSex->currentText(), QStringLiteral("1.남자"));
    w.setGridRow(3);
    w.SGrdMCustClick();
    EXPECT_EQ(w.EdtCustNo->text(), QStringLiteral("C"));
    EXPECT_EQ(w.CbSex->currentText(), QString());
    EXPECT_EQ(w.CBsmsYN->currentText(), QString());
}

TEST_F(RosterWindowTest, PickerMovesEntries) {
    ASSERT_TRUE(DMData->CreateH200(QStringLiteral("20070301")));
    ASSERT_TRUE(DMData->CreateH200(QStringLiteral("20070401")));
    ASSERT_TRUE(DMData->CreateH300(QStringLiteral("20070301")));
    TFrmF201B04 p;
    QStringList left;
    for (int i = 0; i < p.LbYearMonDest->count(); ++i)
        left << p.LbYearMonDest->item(i)->text();
    EXPECT_EQ(left, (QStringList{QStringLiteral("[배분]200703 / 01"), QStringLiteral("[집금]200704 / 01"),
                                 QStringLiteral("[집금]200703 / 01")}));
    msg.expect(MsgResult::Ok);
    p.SBtnAddClick();
    EXPECT_EQ(msg.shown().last().text, QStringLiteral("선택할 회차를 선택하십시요"));
    p.LbYearMonDest->setCurrentRow(2);
    p.SBtnAddClick();
    p.SBtnAllAddClick();
    EXPECT_EQ(p.chosen(),
              (QStringList{QStringLiteral("[집금]200703 / 01"), QStringLiteral("[배분]200703 / 01"),
                           QStringLiteral("[집금]200704 / 01")}));
    EXPECT_EQ(p.LbYearMonDest->count(), 0);
}

} // namespace
