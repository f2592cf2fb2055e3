#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/Modal.h"
#include "support/TestRoot.h"
#include "transfers/collection/M101B00.h"
#include "transfers/collection/M101B07.h"
#include "transfers/common/KeyEdit.h"
#include "transfers/common/M101B02.h"
#include "transfers/collection/M101B06.h"
#include "transfers/collection/M101B10.h"
#include "transfers/collection/M101B12.h"
#include "students/SMSEdit.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <QRadioButton>

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

class WorkWindow : public TestRoot {
protected:
    void SetUp() override {
        TestRoot::SetUp();
        ins("G_GROUP", {{"G_CODE", "02"}, {"G_NAME", "방과후"}});
        ins("C_ITEM",
            {{"ItemCd", "A1"}, {"Gcode", "01"}, {"ItemID", "01"}, {"ItemNm", "수업료"}, {"ItemAmt", 100000}});
        ins("C_ITEM",
            {{"ItemCd", "A2"}, {"Gcode", "01"}, {"ItemID", "02"}, {"ItemNm", "급식비"}, {"ItemAmt", 50000}});
        ins("C_ITEM", {{"ItemCd", "B1"},
                       {"Gcode", "02"},
                       {"ItemID", "01"},
                       {"ItemNm", "바이올린"},
                       {"ItemAmt", 30000}});
        ins("C_ACCT", {{"BankCd", "11"}, {"Gubun", "집금"}, {"AcctNo", "1"}, {"Gcode", "01"}});
        ins("C_ACCT", {{"BankCd", "04"}, {"Gubun", "집금"}, {"AcctNo", "2"}, {"Gcode", "01"}});
        ins("C_GRP", {{"GrpNm", "합창단"}, {"CustNo", "C1"}});
        ins("M_CUST", {{"CustNo", "C1"},
                       {"SNo", "30101"},
                       {"Nm", "김하나"},
                       {"UseTy", "1"},
                       {"BankCd", "04"},
                       {"AcctNo", "777"},
                       {"SCd", "3"}});
        ins("M_CUST", {{"CustNo", "C9"},
                       {"SNo", "30201"},
                       {"Nm", "새학생"},
                       {"UseTy", "1"},
                       {"BankCd", "11"},
                       {"AcctNo", "888"},
                       {"SCd", "3"}});
        ins("M_EXEMP", {{"CustNo", "C9"}, {"ItemCd", "A2"}, {"Itemval", 20000}, {"Free", "P"}});
        ASSERT_TRUE(DMData->CreateH200(QStringLiteral("20240502")));
        ASSERT_TRUE(DMData->CreateH200(QStringLiteral("20240503")));
        row("30101", "01", "04", "0", "1", 100000, "C1");
        row("30101", "02", "04", "1", "1", 50000, "C1");
        row("30102", "01", "11", "2", "1", 100000, "C2");
        row("30102", "02", "11", "0", "0", 0, "C2");
        row("30103", "01", "11", "3", "1", 100000, "C3", 40000);
        // Request files of May were booked for rounds 01 and 02 of group 01.
        ins("M_SRFILE", {{"SRType", "S"},
                         {"FileName", "24050104.201"},
                         {"YearMon", "2405"},
                         {"SeqNo", "01"},
                         {"BankCd", "04"},
                         {"Gcode", "01"}});
        ins("M_SRFILE", {{"SRType", "S"},
                         {"FileName", "24050204.202"},
                         {"YearMon", "2405"},
                         {"SeqNo", "02"},
                         {"BankCd", "04"},
                         {"Gcode", "01"}});
    }
    void TearDown() override {
        Modal::setRunner({});
        TestRoot::TearDown();
    }
    static void ins(const char* table, std::initializer_list<std::pair<const char*, QVariant>> v) {
        ColumnValues cv;
        for (const auto& [k, val] : v)
            cv.append(
                {QString::fromLatin1(k), val.typeId() == QMetaType::QString || val.typeId() == QMetaType::Int
                                             ? val
                                             : QVariant(QString::fromUtf8(val.toByteArray()))});
        ASSERT_TRUE(Database::insertRow(QString::fromLatin1(table), cv));
    }
    static void row(const char* sno, const char* item, const char* bank, const char* reply, const char* exemp,
                    int amt, const char* cust, int reAmt = -1) {
        ColumnValues v{{QStringLiteral("YearMon"), QStringLiteral("202405")},
                       {QStringLiteral("SeqNo"), QStringLiteral("03")},
                       {QStringLiteral("SNo"), QString::fromLatin1(sno)},
                       {QStringLiteral("ItemCd"), QString::fromLatin1(item)},
                       {QStringLiteral("BankCd"), QString::fromLatin1(bank)},
                       {QStringLiteral("Amt"), amt},
                       {QStringLiteral("ReplyTy"), QString::fromLatin1(reply)},
                       {QStringLiteral("ExempTy"), QString::fromLatin1(exemp)},
                       {QStringLiteral("CustNo"), QString::fromLatin1(cust)},
                       {QStringLiteral("Nm"), QStringLiteral("학생")},
                       {QStringLiteral("Gcode"), QStringLiteral("01")}};
        if (reAmt >= 0) {
            v.append({QStringLiteral("REAmt"), reAmt});
            v.append({QStringLiteral("ReDt"), QStringLiteral("20240520")});
        }
        ASSERT_TRUE(Database::insertRow(QStringLiteral("H_200_20240503"), v));
    }
    static QStringList panels(const TFrmM101B00& w) {
        QStringList out;
        for (QLabel* p :
             {w.PnlTotCnt, w.PnlTotAmt, w.PnlProcCnt, w.PnlProcAmt, w.PnlNonProcCnt, w.PnlNonProcAmt,
              w.PnlExempCnt, w.PnlExempAmt, w.PnlReCnt, w.PnlReAmt, w.PnlReCnt2, w.PnlReAmt2})
            out << p->text();
        return out;
    }
    static QString shown(const TFrmM101B00& w, int row, int col) {
        return w.SGrdPay->model()->index(row, col).data().toString();
    }
};

TEST_F(WorkWindow, OpensListsAndTotals) {
    ASSERT_NE(FormRegistry::find(QStringLiteral("M101B00")), nullptr);
    TFrmM101B00 w;
    w.show();
    EXPECT_EQ(FrmM101B00, &w);
    // The newest round table's month, the highest round booked for it.
    EXPECT_EQ(w.yearMon(), QStringLiteral("202405"));
    EXPECT_EQ(w.seqNo(), QStringLiteral("02"));
    EXPECT_EQ(w.cboGroup->currentText(), QStringLiteral("01.기본"));
    ASSERT_EQ(w.CbBank->count(), 4);
    EXPECT_EQ(w.CbBank->currentText(), QStringLiteral("00.모든은행"));
    EXPECT_FALSE(w.bbtnDataRecv->isEnabled());
    EXPECT_EQ(w.CLbItem->count(), 2);
    EXPECT_EQ(w.ChkLstGrp->count(), 1);

    // Round 02 holds no row of the group.
    msg.expect(MsgResult::Ok);
    w.BBtnPayDispClick();
    EXPECT_EQ(msg.texts().value(0), QStringLiteral("입력하신 회차와 항목그룹이 맞지않습니다."));

    // Choose round 3 and list it.
    w.MEdtSeqNo->setText(QStringLiteral("3"));
    w.MEdtSeqNoExit();
    EXPECT_EQ(w.seqNo(), QStringLiteral("03"));
    w.BBtnPayDispClick();
    ASSERT_EQ(w.SGrdPay->dataRowCount(), 5);
    EXPECT_EQ(panels(w),
              (QStringList{QStringLiteral("5 "), QStringLiteral("400,000 "), QStringLiteral("3 "),
                           QStringLiteral("210,000 "), QStringLiteral("1 "), QStringLiteral("100,000 "),
                           QStringLiteral("1 "), QStringLiteral("50,000 "), QStringLiteral("0 "),
                           QStringLiteral("0 "), QStringLiteral("1 "), QStringLiteral("40,000 ")}));
    EXPECT_EQ(shown(w, 0, ColItem), QStringLiteral("수업료"));
    EXPECT_EQ(shown(w, 0, ColReply), QStringLiteral("미처리"));
    EXPECT_EQ(shown(w, 0, ColAmt), QStringLiteral("100,000 "));
    EXPECT_EQ(shown(w, 0, ColBank), DMData->GetBankName(QStringLiteral("04")));
    EXPECT_EQ(shown(w, 3, ColExemp), QStringLiteral("◎"));
    EXPECT_EQ(shown(w, 4, ColReply), QStringLiteral("부분환불"));
    EXPECT_EQ(w.SGrdPay->model()->index(0, ColReply).data(Qt::ForegroundRole).value<QColor>(),
              QColor(Qt::red));
    EXPECT_TRUE(w.FListSql.contains(QLatin1String("H_200_20240503")));
    EXPECT_TRUE(w.BBtnDelShft->isEnabled());
    EXPECT_TRUE(w.BBtnAmtUpdt->isEnabled());
    EXPECT_TRUE(w.bbtnSuNap->isEnabled());
    EXPECT_TRUE(w.BBtnSearch->isEnabled());

    // Typing a bank code picks its entry and the file buttons follow.
    w.CbBank->setEditText(QStringLiteral("11"));
    w.CbBankChange();
    EXPECT_EQ(w.bankCode(), QStringLiteral("11"));
    EXPECT_TRUE(w.CbBank->currentText().startsWith(QLatin1String("11.")));
    EXPECT_TRUE(w.bbtnDataRecv->isEnabled());
    w.BBtnPayDispClick();
    EXPECT_EQ(w.SGrdPay->dataRowCount(), 3);
    EXPECT_EQ(panels(w).value(0), QStringLiteral("3 "));

    // The processed filter fills the transfer-date bounds and empties the
    // grid, and with it the totals of the listing no longer shown.
    w.RGrpProc->button(1)->click();
    EXPECT_EQ(w.SGrdPay->cell(0, ColSNo), QString());
    EXPECT_EQ(w.SGrdPay->dataRowCount(), 1);
    EXPECT_EQ(panels(w), QStringList(12, QString()));
}

// Only listed payers who accept SMS and have a mobile number are handed to
// the composer; a refusal, a missing payer row or a blank number is not.
TEST_F(WorkWindow, SmsHandsTheListedPayersToTheComposer) {
    ASSERT_TRUE(Database::exec(QStringLiteral("update M_CUST set MTelNo = '010-1111-2222', smsYN = '2'")));
    ins("M_CUST", {{"CustNo", "C2"}, {"SNo", "30102"}, {"Nm", "둘"}, {"UseTy", "1"}, {"SCd", "3"},
                   {"MTelNo", "  "}, {"smsYN", "1"}}); // consent without a number; C3 has no payer row
    QList<QList<SmsFile::Recipient>> handed;
    Modal::setRunner([&](QDialog* d) {
        if (auto* sms = qobject_cast<TFrmSMSEdit*>(d)) handed << sms->SGridSMS;
        return int(QDialog::Rejected);
    });
    TFrmM101B00 w;
    w.show();
    w.MEdtSeqNo->setText(QStringLiteral("03"));
    w.MEdtSeqNoExit();
    w.BBtnPayDispClick();
    ASSERT_EQ(w.SGrdPay->dataRowCount(), 5);
    ASSERT_TRUE(w.BBtnSMS->isEnabled());
    msg.expect(MsgResult::Ok);
    w.BBtnSMS->click();
    EXPECT_EQ(msg.texts().value(0), QStringLiteral("문자메세지 발송대상이 없습니다.!!"));
    EXPECT_TRUE(handed.isEmpty());

    ASSERT_TRUE(Database::exec(QStringLiteral("update M_CUST set smsYN = '1' where CustNo = 'C1'")));
    w.BBtnPayDispClick();
    w.BBtnSMS->click();
    ASSERT_EQ(handed.size(), 1);
    ASSERT_EQ(handed[0].size(), 2);
    const SmsFile::Recipient& r = handed[0][0];
    EXPECT_EQ(QStringList({r.sno, r.item, r.amount, r.tel, r.scd, r.msg}),
              QStringList({QStringLiteral("30101"), QStringLiteral("수업료"), QStringLiteral("100,000"),
                           QStringLiteral("010-1111-2222"), QString(), QString()}));
    EXPECT_EQ(handed[0][1].item, QStringLiteral("급식비"));
    EXPECT_EQ(handed[0][1].amount, QStringLiteral("50,000"));

    // The driver hands over the same recipients.
    stopServices();
    QProcess p;
    p.start(QStringLiteral(ZQ_DRIVER_PATH),
            {QStringLiteral("--root"), root(), QStringLiteral("sms"), QStringLiteral("recipients"),
             QStringLiteral("collection"), QStringLiteral("--yearmon"), QStringLiteral("202405"),
             QStringLiteral("--seqno"), QStringLiteral("03")});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0);
    const QList<QByteArray> lines = p.readAllStandardOutput().trimmed().split('\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(QJsonDocument(QJsonDocument::fromJson(lines[1]).object().value(QStringLiteral("recipient")).toArray())
                  .toJson(QJsonDocument::Compact)
                  .toStdString(),
              R"(["30101","학생","급식비","50,000","","010-1111-2222",""])");
}

TEST_F(WorkWindow, ProgramSetGroupDoesNotRunTheGroupChange) {
    TFrmM101B00 w;
    w.MEdtSeqNo->setText(QStringLiteral("03"));
    // The user picks group 02: banks, items and round follow it.
    w.cboGroup->setCurrentIndex(1);
    EXPECT_EQ(w.CbBank->count(), 2);
    EXPECT_EQ(w.seqNo(), QString());
    EXPECT_EQ(w.CboItemN, QStringList{QStringLiteral("바이올린")});
    // Listing a round of group 01 switches the combo back and rebuilds the
    // item lists, without the group change (the round stays, the banks too).
    w.MEdtSeqNo->setText(QStringLiteral("03"));
    w.pDispPay();
    EXPECT_EQ(w.cboGroup->currentText(), QStringLiteral("01.기본"));
    EXPECT_EQ(w.CboItemN, (QStringList{QStringLiteral("수업료"), QStringLiteral("급식비")}));
    EXPECT_EQ(w.seqNo(), QStringLiteral("03"));
    EXPECT_EQ(w.CbBank->count(), 2);
    EXPECT_EQ(w.SGrdPay->dataRowCount(), 5);
    // Item names of the grid are those of the group selected at listing.
    EXPECT_EQ(w.SGrdPay->cell(0, ColItem), QStringLiteral("바이올린"));
}

TEST_F(WorkWindow, RoundSelectorSetsTheRound) {
    TFrmM101B00 w;
    QString offered;
    Modal::setRunner([&](QDialog* d) {
        auto* b02 = dynamic_cast<TFrmM101B02*>(d);
        EXPECT_NE(b02, nullptr);
        if (!b02) return int(QDialog::Rejected);
        EXPECT_EQ(b02->EdGcode->text(), QStringLiteral("01"));
        b02->FormActivate();
        // Round 02 has no row of the group, so only round 03 is offered.
        for (int i = 0; i < b02->LbYearMon->count(); ++i)
            offered += b02->LbYearMon->item(i)->text() + QLatin1Char('|');
        b02->LbYearMon->setCurrentRow(0);
        return int(QDialog::Accepted);
    });
    w.SBtnYearMonSelectClick();
    EXPECT_EQ(offered, QStringLiteral("202405 / 03|"));
    EXPECT_EQ(w.yearMon() + w.seqNo(), QStringLiteral("20240503"));
    EXPECT_FALSE(w.BBtnAdd->isEnabled());
    w.BBtnPayDispClick();
    EXPECT_TRUE(w.BBtnAdd->isEnabled());
    // A change of the round empties the grid and disables "자료추가".
    w.MEdtSeqNo->setText(QStringLiteral("02"));
    EXPECT_FALSE(w.BBtnAdd->isEnabled());
    EXPECT_EQ(w.SGrdPay->cell(0, ColSNo), QString());
}

TEST_F(WorkWindow, EditExitRulesAndRefusals) {
    TFrmM101B00 w;
    w.MEdtYearMon->setText(QStringLiteral("2024"));
    w.MEdtYearMonExit();
    EXPECT_EQ(w.yearMon(), QStringLiteral("202603"));
    w.MEdtSeqNo->clear();
    w.MEdtSeqNoExit();
    EXPECT_EQ(w.seqNo(), QStringLiteral("01"));
    msg.expect({MsgResult::Ok, MsgResult::Ok, MsgResult::Ok});
    w.BBtnPayDispClick();
    w.MEdtYearMon->setText(QStringLiteral("202405"));
    w.MEdtSeqNo->setText(QStringLiteral("03"));
    w.SBanFromEdit->setText(QStringLiteral("01")); // a class without a grade
    w.BBtnPayDispClick();
    w.SBanFromEdit->clear();
    w.SHakFromEdit->setText(QStringLiteral("4"));
    w.SHakToEdit->setText(QStringLiteral("3"));
    w.BBtnPayDispClick();
    EXPECT_EQ(msg.texts(),
              (QStringList{QStringLiteral("존재하지 않은 이체년월/회차입니다! 확인하시기 바랍니다."),
                           QStringLiteral("학번 입력 정보가 올바르지 않습니다."),
                           QStringLiteral("학번범위 설정이 올바르지 않습니다.")}));
    EXPECT_EQ(w.SGrdPay->cell(0, ColSNo), QString());
    // Letters never reach the student-number bounds.
    int pos = 0;
    QString letter = QStringLiteral("a");
    EXPECT_EQ(w.SHakToEdit->validator()->validate(letter, pos), QValidator::Invalid);
}

TEST_F(WorkWindow, DeleteAndAddStudent) {
    TFrmM101B00 w;
    w.MEdtSeqNo->setText(QStringLiteral("03"));
    w.BBtnPayDispClick();
    ASSERT_EQ(w.SGrdPay->dataRowCount(), 5);
    w.SGrdPay->setCurrentDataRow(1);
    msg.expect(MsgResult::Yes);
    w.BBtnDelShftClick();
    EXPECT_EQ(msg.shown().value(0).caption, QStringLiteral("학생삭제"));
    EXPECT_TRUE(msg.shown().value(0).defaultNo);
    EXPECT_EQ(msg.texts().value(0),
              QStringLiteral("학번 = 30101\r성명 = 학생\r항목 = 급식비\r을  삭제하시겠습니까?"));
    EXPECT_EQ(w.SGrdPay->dataRowCount(), 4);

    // A waiting request file of the row's bank refuses the deletion.
    ins("M_SRFILE", {{"SRType", "S"},
                     {"FileName", "24050304.201"},
                     {"YearMon", "2405"},
                     {"SeqNo", "03"},
                     {"BankCd", "04"},
                     {"Gcode", "01"}});
    w.SGrdPay->setCurrentDataRow(0);
    msg.expect(MsgResult::Ok);
    w.BBtnDelShftClick();
    EXPECT_EQ(msg.texts().value(1), QStringLiteral("수신대기상태인 자료입니다."));
    EXPECT_EQ(w.SGrdPay->dataRowCount(), 4);

    // Add student 30201 with items 01 and 02 (partly exempt by 20,000).
    Modal::setRunner([this](QDialog* d) {
        auto* b07 = dynamic_cast<TFrmM101B07*>(d);
        EXPECT_NE(b07, nullptr);
        if (!b07) return int(QDialog::Rejected);
        EXPECT_EQ(b07->yearMon(), QStringLiteral("202405"));
        EXPECT_EQ(b07->seqNo(), QStringLiteral("03"));
        msg.expect(MsgResult::Ok);
        b07->bbtnSaveClick(); // no student yet
        b07->SHakEdit->setText(QStringLiteral("3"));
        b07->SBanEdit->setText(QStringLiteral("02"));
        b07->SBunEdit->setText(QStringLiteral("1"));
        b07->pFindStudent();
        EXPECT_EQ(b07->edtStudtNm->text(), QStringLiteral("새학생"));
        b07->spdAllAddItem->click();
        EXPECT_EQ(b07->LbItemAdd->count(), 2);
        msg.expect(MsgResult::Ok);
        b07->bbtnSaveClick();
        return int(QDialog::Rejected);
    });
    w.BBtnAddShftClick();
    EXPECT_EQ(msg.texts().value(2).left(12), QStringLiteral("학생 성명이 없습니다."));
    EXPECT_EQ(msg.texts().value(3), QStringLiteral("저장되었습니다!!"));
    EXPECT_EQ(msg.shown().value(3).icon, MsgIcon::None);
    ASSERT_EQ(w.SGrdPay->dataRowCount(), 6);
    EXPECT_EQ(w.SGrdPay->cell(5, ColSNo), QStringLiteral("30201"));
    EXPECT_EQ(w.SGrdPay->cell(5, ColAmt), QStringLiteral("30000"));
    EXPECT_EQ(w.SGrdPay->cell(5, ColExemp), QStringLiteral("2"));
    EXPECT_EQ(w.SGrdPay->cell(5, ColBank), QStringLiteral("11"));
}

TEST_F(WorkWindow, AddStudentFindsAndKeepsExistingItems) {
    // The dialog offers the items the window cached for its group.
    DMData->SetItemGroup(QStringLiteral("01"));
    TFrmM101B07 d(QStringLiteral("01"));
    d.MedtYearMon->setText(QStringLiteral("202405"));
    d.EdtSeqNo->setText(QStringLiteral("03"));
    d.SHakEdit->setText(QStringLiteral("3"));
    d.SBanEdit->setText(QStringLiteral("01"));
    d.SBunEdit->setText(QStringLiteral("01"));
    d.pFindStudent();
    EXPECT_EQ(d.edtStudtNm->text(), QStringLiteral("김하나"));
    ASSERT_EQ(d.LbItemAdd->count(), 2);
    EXPECT_EQ(d.LbItem->count(), 0);
    // Changing the number forgets the student.
    d.SBunEdit->setText(QStringLiteral("02"));
    EXPECT_EQ(d.edtStudtNm->text(), QString());
    msg.expect(MsgResult::Ok);
    d.SBunEdit->setText(QStringLiteral("09"));
    d.pFindStudent();
    EXPECT_EQ(msg.texts().value(0),
              QStringLiteral("존재하지 않는 학번이거나 전출생입니다.\r확인 후 다시 입력하세요!!"));
}

TEST_F(WorkWindow, AddStudentKeysNeverSkipTheClass) {
    TFrmM101B07 d(QStringLiteral("01"));
    d.show();
    d.activateWindow();
    d.SHakEdit->setFocus();
    QApplication::processEvents();
    // Typing the grade moves on by itself; a Tab right after stays there.
    QTest::keyClick(d.SHakEdit, Qt::Key_3);
    EXPECT_EQ(d.focusWidget(), d.SBanEdit);
    QTest::keyClick(d.SBanEdit, Qt::Key_Tab);
    EXPECT_EQ(d.focusWidget(), d.SBanEdit);
    QTest::keyClicks(d.SBanEdit, QStringLiteral("01"));
    EXPECT_EQ(d.focusWidget(), d.SBunEdit);
    QTest::keyClick(d.SBunEdit, Qt::Key_Tab);
    EXPECT_EQ(d.focusWidget(), d.SBunEdit);
    EXPECT_EQ(d.SBanEdit->text(), QStringLiteral("01"));
    // A second Tab, or one after typing, moves as usual.
    QTest::keyClick(d.SBunEdit, Qt::Key_Tab);
    EXPECT_NE(d.focusWidget(), d.SBunEdit);

    // The name field holds a whole name of its column.
    EXPECT_GE(d.edtStudtNm->width(),
              d.edtStudtNm->fontMetrics().horizontalAdvance(QStringLiteral("가나다라마바사아자차")));
}

TEST_F(WorkWindow, RowEditsThroughTheDialogs) {
    TFrmM101B00 w;
    w.MEdtSeqNo->setText(QStringLiteral("03"));
    w.BBtnPayDispClick();
    ASSERT_EQ(w.SGrdPay->dataRowCount(), 5);
    // Unpaid reason of the first (unprocessed, bank 04) row: its round 03
    // has no request file, so the dialog opens straight away.
    w.SGrdPay->setCurrentDataRow(0);
    Modal::setRunner([](QDialog* d) {
        auto* b12 = dynamic_cast<TFrmM101B12*>(d);
        EXPECT_NE(b12, nullptr);
        if (!b12) return int(QDialog::Rejected);
        EXPECT_EQ(b12->edtItem->text(), QStringLiteral("01.수업료"));
        b12->EdtUnPaid->setText(QStringLiteral("잔액부족"));
        return int(QDialog::Accepted);
    });
    w.SGrdPayDblClick(ColUnpaid);
    EXPECT_EQ(w.SGrdPay->cell(0, ColUnpaid), QStringLiteral("잔액부족"));

    // Cash for the same row through "현금수납".
    Modal::setRunner([](QDialog* d) {
        auto* b06 = dynamic_cast<TFrmM101B06*>(d);
        EXPECT_NE(b06, nullptr);
        if (!b06) return int(QDialog::Rejected);
        EXPECT_TRUE(b06->rdoReplyty2->isChecked());
        b06->bbtnOKClick();
        return b06->result();
    });
    w.bbtnSuNapClick();
    EXPECT_EQ(w.SGrdPay->cell(0, ColReply), QStringLiteral("2"));
    EXPECT_EQ(w.SGrdPay->cell(0, ColDate), QStringLiteral("2026-03-16"));

    // Find the student 30103 by number.
    Modal::setRunner([](QDialog* d) {
        auto* b10 = dynamic_cast<TFrmM101B10*>(d);
        EXPECT_NE(b10, nullptr);
        if (!b10) return int(QDialog::Rejected);
        EXPECT_EQ(b10->cboItem->count(), 2);
        b10->setMode(RowFind::Mode::SNo);
        b10->SHakEdit->setText(QStringLiteral("3"));
        b10->SBanEdit->setText(QStringLiteral("01"));
        b10->SBunEdit->setText(QStringLiteral("03"));
        b10->BBtnSearchClick();
        return int(QDialog::Rejected);
    });
    w.BBtnSearchClick();
    EXPECT_EQ(w.SGrdPay->currentDataRow(), 4);
}

} // namespace
