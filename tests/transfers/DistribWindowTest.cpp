// The distribution work window and its round and add-student dialogs,
// driven through their controls.
#include "RoundFixture.h"

#include "frame/Main.h"
#include "frame/MainHooks.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/Modal.h"
#include "transfers/common/KeyEdit.h"
#include "transfers/distribution/DistribList.h"
#include "transfers/distribution/M102B00.h"
#include "transfers/distribution/M102B01.h"
#include "transfers/distribution/M102B07.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

#include <optional>

namespace {

// A stand-in for a dialog unit of the window, registered for one test: its
// controls carry the object names the window fills and reads. The unit's
// own entry, if any, comes back afterwards.
class FakeUnit {
public:
    FakeUnit(const QString& unit, std::function<void(QDialog*)> build) : unit_(unit) {
        if (const FormEntry* e = FormRegistry::find(unit)) saved_ = *e;
        FormRegistry::add(
            FormEntry{unit, unit, FormEntry::Mode::Dialog, [build](QWidget* parent) -> QWidget* {
                          auto* d = new QDialog(parent);
                          build(d);
                          return d;
                      }});
    }
    ~FakeUnit() {
        FormRegistry::add(saved_ ? *saved_ : FormEntry{unit_, unit_, FormEntry::Mode::Dialog, {}});
    }

private:
    QString unit_;
    std::optional<FormEntry> saved_;
};

QLineEdit* edit(QDialog* d, const char* name, const QString& text = QString()) {
    auto* e = new QLineEdit(text, d);
    e->setObjectName(QString::fromLatin1(name));
    return e;
}

class DistribWindow : public RoundFixture {
protected:
    void SetUp() override {
        RoundFixture::SetUp();
        ASSERT_TRUE(Database::insertRow(QStringLiteral("C_ACCT"),
                                        {{QStringLiteral("BankCd"), QStringLiteral("21")},
                                         {QStringLiteral("Gubun"), QStringLiteral("배분")},
                                         {QStringLiteral("AcctNo"), QStringLiteral("55566677788")},
                                         {QStringLiteral("CompyNo"), QStringLiteral("SCH2100001")},
                                         {QStringLiteral("Passwd"), QStringLiteral("1234")},
                                         {QStringLiteral("Gcode"), QStringLiteral("01")}}));
        Modal::setRunner([](QDialog*) { return int(QDialog::Accepted); });
    }
    void TearDown() override {
        Modal::setRunner({});
        RoundFixture::TearDown();
    }
    static DistribRound::Target march() {
        return {QStringLiteral("01.기본"), QStringLiteral("202603"), QStringLiteral("01")};
    }
    // Grades 1 and 2 with both items; the students of 10101 and 20101 are
    // paid at bank 21, and 10101's second item was paid already.
    static void makeRound() {
        ASSERT_EQ(DistribRound::createByGrade(march(), {QStringLiteral("1"), QStringLiteral("2")},
                                              {QStringLiteral("05"), QStringLiteral("06")},
                                              {QStringLiteral("01.수업료"), QStringLiteral("02.급식비")})
                      .kind,
                  DistribRound::Outcome::Done);
        Database::exec(
            QStringLiteral("update H_300_20260301 set BankCd = '21' where SNo in ('10101', '20101')"));
        Database::exec(QStringLiteral("update H_300_20260301 set ReplyTy = '1', ProcDt = '20260310' where "
                                      "SNo = '10101' and ItemCd = '06'"));
    }
    static void chooseBank(TFrmM102B00& w, const QString& typed) {
        w.CbBank->setEditText(typed);
        w.CbBankChange();
    }
    static QStringList cells(const TFrmM102B00& w, int col) {
        QStringList out;
        for (const QStringList& r : w.SGrdPay->payModel()->rows())
            out << r.value(col);
        return out;
    }
    static QStringList amounts() {
        return column(
            QStringLiteral("select SNo || '/' || ItemCd || ' ' || Amt || ' ' || ReplyTy from H_300_20260301 "
                           "order by SNo, ItemCd"));
    }
};

TEST_F(DistribWindow, OpensOnTheNewestRoundAndListsWhatTheFiltersSay) {
    {
        TFrmM102B00 w;
        EXPECT_EQ(w.yearMon() + w.seqNo(), QStringLiteral("20260301"));
        EXPECT_FALSE(w.bbtnFileCreate->isEnabled());
        msg.expect(MsgResult::Ok);
        w.BBtnPayDispClick();
        EXPECT_EQ(msg.texts().last(),
                  QStringLiteral("존재하지 않은 이체년월/회차입니다! 확인하시기 바랍니다."));
        EXPECT_EQ(w.SGrdPay->dataRowCount(), 1);
    }
    makeRound();
    ASSERT_TRUE(DMData->CreateH300(QStringLiteral("20260302")));
    TFrmM102B00 w;
    EXPECT_EQ(w.seqNo(), QStringLiteral("02")) << "the newest round";
    w.MEdtSeqNo->setText(QStringLiteral("01"));
    w.BBtnPayDispClick();
    EXPECT_EQ(w.SGrdPay->dataRowCount(), 8);
    EXPECT_EQ(w.PnlTotCnt->text(), QStringLiteral("8 "));
    EXPECT_EQ(w.PnlProcAmt->text(), QStringLiteral("5,000 "));
    EXPECT_EQ(w.PnlNonProcAmt->text(), QStringLiteral("55,000 "));
    EXPECT_EQ(w.SGrdPay->payModel()->data(w.SGrdPay->payModel()->index(1, DistCol::Date), Qt::DisplayRole),
              QStringLiteral("2026-03-10"));
    EXPECT_EQ(w.SGrdPay->payModel()->data(w.SGrdPay->payModel()->index(0, DistCol::Item), Qt::DisplayRole),
              QStringLiteral("수업료"));

    // Typing the bank's two digits chooses it and clears the grid.
    chooseBank(w, QStringLiteral("21"));
    EXPECT_EQ(w.CbBank->currentText(), QStringLiteral("21.조흥은행"));
    EXPECT_EQ(w.SGrdPay->dataRowCount(), 1);
    w.BBtnPayDispClick();
    EXPECT_EQ(cells(w, DistCol::SNo), (QStringList{QStringLiteral("10101"), QStringLiteral("10101"),
                                                   QStringLiteral("20101"), QStringLiteral("20101")}));
    // Unprocessed rows of student numbers beginning 201.
    w.RGrpProc->button(2)->click();
    w.MEdtNo->setText(QStringLiteral("201"));
    w.BBtnPayDispClick();
    EXPECT_EQ(w.SGrdPay->dataRowCount(), 2);

    // A round of another item group is refused and the panels stay.
    w.cboGroup->setCurrentIndex(1);
    msg.expect(MsgResult::Ok);
    w.MEdtNo->clear();
    w.BBtnPayDispClick();
    EXPECT_EQ(msg.texts().last(), QStringLiteral("조회하신 그룹이 틀립니다. 확인해주세요"));
    EXPECT_EQ(w.SGrdPay->cell(0, DistCol::SNo), QString());
}

TEST_F(DistribWindow, RequestFileOfTheMarkedRowsNeverPaysTwice) {
    makeRound();
    QDate start(2026, 3, 17), end(2026, 3, 18);
    FakeUnit dates(QStringLiteral("M102B04"), [&](QDialog* d) {
        auto* s = new QDateEdit(start, d);
        s->setObjectName(QStringLiteral("DTPickerMvS"));
        auto* e = new QDateEdit(end, d);
        e->setObjectName(QStringLiteral("DTPickerMvE"));
        auto* c = new QComboBox(d);
        c->setObjectName(QStringLiteral("cbMAcctNo"));
    });
    TFrmM102B00 w;
    EXPECT_FALSE(w.bbtnFileCreate->isEnabled());
    chooseBank(w, QStringLiteral("21"));
    EXPECT_TRUE(w.bbtnFileCreate->isEnabled());
    w.BBtnPayDispClick();
    ASSERT_EQ(w.SGrdPay->dataRowCount(), 4);

    msg.expect(MsgResult::Ok);
    w.bbtnFileCreateClick();
    EXPECT_EQ(msg.texts().last(),
              QStringLiteral("선택한 데이터가 없습니다!!\r이체할 데이터를 선택하십시요!! "));

    // Rows 0 and 1 (10101's items, the second paid already) and row 3.
    w.SGrdPayAct(0, DistCol::Mark);
    w.SGrdPayAct(1, DistCol::Mark);
    w.SGrdPayAct(2, DistCol::Mark);
    w.SGrdPayAct(2, DistCol::Mark); // toggled off again
    w.SGrdPayAct(3, DistCol::Mark);
    ASSERT_EQ(w.markedRows().size(), 3);

    // A Saturday start is refused before anything is written.
    start = QDate(2026, 3, 21);
    msg.expect(MsgResult::Ok);
    w.bbtnFileCreateClick();
    EXPECT_TRUE(msg.texts().last().startsWith(QStringLiteral("이체일자가 토요일입니다!!")));
    EXPECT_TRUE(QDir(path(QStringLiteral("send"))).isEmpty());

    start = QDate(2026, 3, 17);
    msg.expect({MsgResult::Ok, MsgResult::Ok});
    w.bbtnFileCreateClick();
    ASSERT_EQ(msg.texts().size(), 4);
    EXPECT_TRUE(msg.texts()[2].contains(QStringLiteral("10101"))) << msg.texts()[2].toStdString();
    EXPECT_EQ(msg.texts()[3], QStringLiteral("자동이체 데이타를 생성하였습니다!"));
    EXPECT_EQ(QDir(path(QStringLiteral("send"))).entryList(QDir::Files),
              QStringList{QStringLiteral("26030121.301")});
    EXPECT_EQ(column(QStringLiteral(
                  "select DataCnt || ' ' || Gcode from M_SRFILE where FileName = '26030121.301'")),
              QStringList{QStringLiteral("2 01")});
    // The marks stay after the file; a new listing starts without them.
    EXPECT_EQ(w.markedRows().size(), 3);
    w.BBtnPayDispClick();
    EXPECT_TRUE(w.markedRows().isEmpty());
    w.BBtnSelectAllClick();
    EXPECT_EQ(w.markedRows().size(), 4);
    w.BBtnCancelClick();
    EXPECT_TRUE(w.markedRows().isEmpty());

    // Every bank again: no file can be written.
    chooseBank(w, QStringLiteral("00"));
    EXPECT_FALSE(w.bbtnFileCreate->isEnabled());
}

TEST_F(DistribWindow, RowChangesAreSavedOrSaidToHaveFailed) {
    makeRound();
    QString typed = QStringLiteral("12,000");
    FakeUnit one(QStringLiteral("M102B10"), [&](QDialog* d) {
        edit(d, "MEdtSchNo");
        edit(d, "EdtAmt", typed);
    });
    FakeUnit bulk(QStringLiteral("M102B03"), [&](QDialog* d) {
        auto* c = new QComboBox(d);
        c->setObjectName(QStringLiteral("CbItem"));
        edit(d, "MEdtSchNo", QStringLiteral("2"));
        edit(d, "EdtAmt", typed);
    });
    TFrmM102B00 w;
    w.BBtnPayDispClick();
    ASSERT_EQ(w.SGrdPay->cell(0, DistCol::SNo), QStringLiteral("10101"));

    // One row: digits with commas are an amount; anything else is refused.
    w.SGrdPayAct(0, DistCol::Amt);
    EXPECT_EQ(w.SGrdPay->cell(0, DistCol::Amt), QStringLiteral("12000"));
    typed = QStringLiteral("12OOO");
    msg.expect(MsgResult::Ok);
    w.SGrdPayAct(1, DistCol::Amt);
    EXPECT_EQ(msg.texts().last(), QStringLiteral("금액은 숫자로만 입력하세요!"));
    EXPECT_EQ(amounts().value(1), QStringLiteral("10101/06 5000 1"));

    // Bulk: the item chosen first in the list ("05.수업료"), grade 2.
    typed = QStringLiteral("300");
    w.BBtnAmtUpdtClick();
    EXPECT_EQ(amounts().filter(QStringLiteral("/05 300 ")).size(), 2);
    // A bulk update the database refuses is said so and not logged.
    Database::exec(
        QStringLiteral("create trigger nope before update on H_300_20260301 begin select raise(abort, "
                       "'locked'); end"));
    const int logs = int(logRows().size());
    msg.expect(MsgResult::Ok);
    w.BBtnAmtUpdtClick();
    EXPECT_EQ(msg.shown().last().caption, QStringLiteral("파일풀기오류"));
    EXPECT_EQ(msg.texts().last(), QStringLiteral("DB에 저장되지 않습니다.!!"));
    EXPECT_EQ(int(logRows().size()), logs);
    Database::exec(QStringLiteral("drop trigger nope"));

    // Deleting asks first.
    w.SGrdPay->setCurrentDataRow(0);
    msg.expect(MsgResult::Yes);
    w.BBtnDelShftClick();
    EXPECT_EQ(msg.texts().last(),
              QStringLiteral("학번 = 10101\r성명 = 김일\r항목 = 수업료\r을  삭제하시겠습니까?"));
    EXPECT_EQ(w.SGrdPay->dataRowCount(), 7);

    // Ctrl+F11: the transfer date is needed; then the day's paid rows are
    // unprocessed again.
    msg.expect({MsgResult::Yes, MsgResult::Ok});
    w.FormKeyDown(Qt::Key_F11, Qt::ControlModifier);
    EXPECT_EQ(msg.texts().last(), QStringLiteral("이체일자를 입력하세요!!"));
    w.FormKeyDown(Qt::Key_F11, Qt::ControlModifier | Qt::ShiftModifier); // no box at all
    w.MEdtSetlDt->setText(QStringLiteral("20260310"));
    msg.expect(MsgResult::Yes);
    w.FormKeyDown(Qt::Key_F11, Qt::ControlModifier);
    EXPECT_EQ(amounts().value(0), QStringLiteral("10101/06 5000 0"));
}

TEST_F(DistribWindow, RelistingAfterAResultCountsExemptRowsApart) {
    makeRound();
    Database::exec(QStringLiteral("update H_300_20260301 set Amt = 0 where SNo = '20101' and ItemCd = '06'"));
    TFrmM102B00 w;
    chooseBank(w, QStringLiteral("21"));
    w.CLbItem->item(0)->setCheckState(Qt::Checked); // the relisting ignores filters
    w.ReloadAfterResult();
    // 10101/05 and 20101/05 exempt, 10101/06 paid, 20101/06 exempt and
    // without amount.
    EXPECT_EQ(w.SGrdPay->dataRowCount(), 4);
    EXPECT_EQ(w.PnlExempCnt->text(), QStringLiteral("3 "));
    EXPECT_EQ(w.PnlProcCnt->text(), QStringLiteral("1 "));
    EXPECT_TRUE(w.PnlExempCnt->isVisibleTo(&w));
    w.BBtnPayDispClick();
    EXPECT_FALSE(w.PnlExempCnt->isVisibleTo(&w));
}

TEST_F(DistribWindow, CreationDialogByGradeAndByGroup) {
    TFrmM102B01 d(QStringLiteral("01.기본"));
    EXPECT_EQ(d.yearMon() + d.seqNo(), QStringLiteral("20260301"));
    d.CLbSCd->item(0)->setCheckState(Qt::Checked);  // grade 1
    d.CLbItem->item(1)->setCheckState(Qt::Checked); // 02.급식비 (ItemCd 06)
    d.BBtnCreateClick();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(column(QStringLiteral("select SNo || '/' || ItemCd from H_300_20260301 order by SNo")),
              (QStringList{QStringLiteral("10101/06"), QStringLiteral("10102/06")}));

    // The existing round asks; No adds nothing.
    TFrmM102B01 again(QStringLiteral("01.기본"));
    EXPECT_EQ(again.seqNo(), QStringLiteral("02"));
    again.MEdtSeqNo->setText(QStringLiteral("01"));
    again.PgCtrl->setCurrentWidget(again.TSGrp);
    again.LbGrp->setCurrentItem(again.LbGrp->findItems(QStringLiteral("합창단"), Qt::MatchExactly).value(0));
    again.LbItem->setCurrentRow(0);
    again.BBtnGrpAddClick();
    again.BBtnGrpAddClick(); // the same pair once only
    ASSERT_EQ(again.LbGrpSelect->count(), 1);
    EXPECT_EQ(again.LbGrpSelect->item(0)->text(),
              QStringLiteral("%1 = 01.수업료").arg(QStringLiteral("합창단"), -10));
    msg.expect(MsgResult::No);
    again.BBtnCreateClick();
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from H_300_20260301")), 2);
    msg.expect(MsgResult::Yes);
    again.BBtnCreateClick();
    EXPECT_EQ(column(QStringLiteral(
                  "select SNo || '/' || ItemCd from H_300_20260301 where ItemCd = '05' order by SNo")),
              (QStringList{QStringLiteral("20102/05"), QStringLiteral("30101/05")}));

    // Deleting the group's rows of both items empties and drops the round.
    TFrmM102B01 del(QStringLiteral("01.기본"));
    del.MEdtSeqNo->setText(QStringLiteral("01"));
    del.CLbSCd->item(0)->setCheckState(Qt::Checked);
    del.CLbSCd->item(1)->setCheckState(Qt::Checked);
    del.CLbSCd->item(2)->setCheckState(Qt::Checked);
    del.CLbItem->item(0)->setCheckState(Qt::Checked);
    del.CLbItem->item(1)->setCheckState(Qt::Checked);
    del.BBtnDelClick();
    EXPECT_FALSE(Database::tableExists(QStringLiteral("H_300_20260301")));
    msg.expect(MsgResult::Ok);
    del.BBtnDelClick();
    EXPECT_EQ(msg.texts().last(), QStringLiteral("이체년월/회차가 존재 않습니다!"));
}

TEST_F(DistribWindow, AddStudentAppendsOnlyWhatIsMissing) {
    ASSERT_EQ(DistribRound::createByGrade(march(), {QStringLiteral("3")}, {QStringLiteral("05")},
                                          {QStringLiteral("01.수업료")})
                  .kind,
              DistribRound::Outcome::Done);
    TFrmM102B07 d(QStringLiteral("01.기본"));
    d.MedtYearMon->setText(QStringLiteral("202603"));
    d.EdtSeqNo->setText(QStringLiteral("01"));

    msg.expect(MsgResult::Ok);
    d.medtStudtNo->setText(QStringLiteral("10103")); // transferred out
    d.FindStudent();
    EXPECT_EQ(msg.texts().last(),
              QStringLiteral("존재하지 않는 학번이거나 전출생입니다.\r확인 후 다시 입력하세요!!"));
    msg.expect(MsgResult::Ok);
    d.bbtnSaveClick();
    EXPECT_EQ(msg.texts().last(), QStringLiteral("학생 성명이 없습니다.\r확인 후 다시 입력하세요!!"));

    d.medtStudtNo->setText(QStringLiteral("30101"));
    d.FindStudent();
    EXPECT_EQ(d.edtStudtNm->text(), QStringLiteral("정오"));
    ASSERT_EQ(d.LbItemAdd->count(), 1) << "the item the student has already";
    d.spdAllAddItem->click();
    msg.expect(MsgResult::Ok);
    d.bbtnSaveClick();
    EXPECT_EQ(msg.texts().last(), QStringLiteral("저장되었습니다!!"));
    EXPECT_EQ(column(QStringLiteral(
                  "select ItemCd || ' ' || Amt || ' ' || ExempTy from H_300_20260301 order by ItemCd")),
              (QStringList{QStringLiteral("05 10000 1"), QStringLiteral("06 5000 1")}));
    EXPECT_EQ(logRows().last(), QStringLiteral("배분이체|[학생추가]회차:202603-01, 학번:30101, 성명:정오, "
                                               "항목:02.급식비, 은행:12, 계좌번호:123-C5, 금액:5000"));

    // Another number forgets the student found.
    d.medtStudtNo->setText(QStringLiteral("20101"));
    msg.expect(MsgResult::Ok);
    d.bbtnSaveClick();
    EXPECT_EQ(msg.texts().last(), QStringLiteral("학생 성명이 없습니다.\r확인 후 다시 입력하세요!!"));
}

TEST_F(DistribWindow, MenuItemAndToolButtonOpenTheWindow) {
    const MainHooks saved = mainHooks();
    mainHooks() = MainHooks{};
    {
        msg.expect(MsgResult::Ok); // no company code yet
        TFrmMain m;
        m.RefreshMenuState();
        ASSERT_TRUE(m.menuAction(QStringLiteral("MnuM102B00"))->isEnabled());
        auto* b = m.toolBar()->findChild<QToolButton*>(QStringLiteral("TBtnDist"));
        ASSERT_NE(b, nullptr);
        b->click();
        ASSERT_EQ(m.mdiArea()->subWindowList().size(), 1);
        QMdiSubWindow* sub = m.mdiArea()->subWindowList().first();
        EXPECT_NE(qobject_cast<TFrmM102B00*>(sub->widget()), nullptr);
        EXPECT_TRUE(sub->isMaximized());
        EXPECT_EQ(sub->widget()->windowTitle(), QStringLiteral("배분이체자료작성"));
    }
    mainHooks() = saved;
}

} // namespace
