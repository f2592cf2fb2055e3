// The distribution work window with its real dialogs and prints, driven
// through their controls.
#include "RoundFixture.h"

#include "frame/Main.h"
#include "platform/text/Cp949.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/Modal.h"
#include "shared/F201B03.h"
#include "shared/MainHooks.h"
#include "transfers/common/KeyEdit.h"
#include "transfers/distribution/DistribList.h"
#include "transfers/distribution/DistribPrint.h"
#include "transfers/distribution/M102B00.h"
#include "transfers/distribution/M102B01.h"
#include "transfers/distribution/M102B03.h"
#include "transfers/distribution/M102B04.h"
#include "transfers/distribution/M102B07.h"
#include "transfers/distribution/M102B08.h"
#include "transfers/distribution/M102B09.h"
#include "transfers/distribution/M102B10.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>

#include <functional>

namespace {

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
    Modal::setRunner([&](QDialog* d) {
        auto* dates = qobject_cast<TFrmM102B04*>(d);
        if (!dates) return int(QDialog::Rejected);
        dates->DTPickerMvS->setDate(start);
        dates->DTPickerMvE->setDate(end);
        dates->bbtnOKClick();
        return dates->result();
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
    Modal::setRunner([&](QDialog* d) {
        if (auto* one = qobject_cast<TFrmM102B10*>(d)) {
            one->EdtAmt->setText(typed);
            one->BBtnOKClick();
        } else if (auto* bulk = qobject_cast<TFrmM102B03*>(d)) {
            bulk->MEdtSchNo->setText(QStringLiteral("2"));
            bulk->EdtAmt->setText(typed);
            bulk->BBtnConfiClick();
        } else {
            return int(QDialog::Rejected);
        }
        return d->result();
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

// A bank-21 result record of the 80-byte layout: header, data, trailer.
QByteArray resultRec(const QByteArray& mark, const QList<std::pair<int, QByteArray>>& at) {
    QByteArray b(80, ' ');
    b.replace(0, mark.size(), mark);
    for (const auto& [off, v] : at)
        b.replace(off, v.size(), v);
    return b;
}

int pdfPages(const QByteArray& pdf) {
    int n = 0;
    for (auto it =
             QRegularExpression(QStringLiteral("/Type\\s*/Page\\b")).globalMatch(QString::fromLatin1(pdf));
         it.hasNext(); it.next())
        ++n;
    return n;
}

// Every dialog and print the window reaches by unit name, the real one,
// filled and closed as a user would: what the window hands over, what it
// reads back and what that changes.
TEST_F(DistribWindow, RealDialogsAndPrintsWorkWithTheWindow) {
    makeRound();
    // 20101's second item is owed in full: the row the file and the result
    // are about.
    Database::exec(
        QStringLiteral("update H_300_20260301 set ExempTy = '1' where SNo = '20101' and ItemCd = '06'"));
    QFile recvFile(path(QStringLiteral("recv/00210001.301")));
    ASSERT_TRUE(recvFile.open(QIODevice::WriteOnly));
    for (const QByteArray& l : {resultRec("S", {{1, "C2"}, {13, "21"}, {15, "260317"}}),
                                resultRec("D", {{1, "21"},
                                                {3, "110222333444"},
                                                {20, "00000000300"},
                                                {33, "Y"},
                                                {34, "0000"},
                                                {48, Cp949::encode(QStringLiteral("C20101 박삼"))},
                                                {76, "06"}}),
                                resultRec("E", {{1, "0000003"},
                                                {8, "0000001"},
                                                {15, "0000000000300"},
                                                {28, "0000001"},
                                                {35, "0000000000300"},
                                                {48, "0000000"},
                                                {55, "0000000000000"}})})
        recvFile.write(l + "\r\n");
    recvFile.close();

    TFrmM102B00 w;
    chooseBank(w, QStringLiteral("21"));
    w.BBtnPayDispClick();
    ASSERT_EQ(cells(w, DistCol::SNo).size(), 4);
    const auto rowOf = [&w](const char* sno, const char* item) {
        for (int r = 0; r < w.SGrdPay->dataRowCount(); ++r)
            if (w.SGrdPay->cell(r, DistCol::SNo) == QLatin1String(sno) &&
                w.SGrdPay->cell(r, DistCol::Item) == QLatin1String(item))
                return r;
        return -1;
    };

    // What each dialog was handed, in the order shown; the prints' pages.
    QStringList seen;
    bool flat = true;
    QTemporaryDir pdfDir;
    Modal::setRunner([&](QDialog* d) -> int {
        d->setResult(QDialog::Rejected);
        if (auto* one = qobject_cast<TFrmM102B10*>(d)) {
            seen << QStringLiteral("B10 ") + one->sno();
            one->EdtAmt->setText(QStringLiteral("12,000"));
            one->BBtnOKClick();
        } else if (auto* bulk = qobject_cast<TFrmM102B03*>(d)) {
            seen << QStringLiteral("B03 ") + bulk->items().join(QLatin1Char(','));
            bulk->CbItem->setEditText(QStringLiteral("06"));
            bulk->MEdtSchNo->setText(QStringLiteral("2"));
            bulk->EdtAmt->setText(QStringLiteral("300"));
            bulk->BBtnConfiClick();
        } else if (auto* dates = qobject_cast<TFrmM102B04*>(d)) {
            seen << QStringLiteral("B04 ") + dates->accounts().join(QLatin1Char(','));
            dates->DTPickerMvS->setDate(QDate(2026, 3, 17));
            dates->DTPickerMvE->setDate(QDate(2026, 3, 18));
            dates->bbtnOKClick();
        } else if (auto* result = qobject_cast<TFrmM102B08*>(d)) {
            seen << QStringLiteral("B08 %1 %2-%3 %4")
                        .arg(result->bankText(), result->yearMon(), result->seqNo(),
                             result->SGrdRecvData->item(0, 2) ? result->SGrdRecvData->item(0, 2)->text()
                                                              : QString());
            result->SGrdRecvData->selectRow(0);
            result->bbtnOKClick();
        } else if (auto* find = qobject_cast<TFrmM102B09*>(d)) {
            seen << QStringLiteral("B09");
            find->EdtSearchNm->setText(QStringLiteral("20101"));
            find->BBtnSearchClick();
            find->BBtnCloseClick();
        } else if (auto* kind = qobject_cast<TFrmF201B03*>(d)) {
            (flat ? kind->rdobtn1 : kind->rdobtn2)->setChecked(true);
            kind->BBtnOkClick();
        } else if (auto* preview = qobject_cast<QPrintPreviewDialog*>(d)) {
            const QString file = pdfDir.filePath(QStringLiteral("list%1.pdf").arg(seen.size()));
            QPrinter printer;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(file);
            emit preview->paintRequested(&printer);
            QFile pdf(file);
            EXPECT_TRUE(pdf.open(QIODevice::ReadOnly));
            seen << QStringLiteral("%1 pages %2").arg(preview->windowTitle()).arg(pdfPages(pdf.readAll()));
        }
        return d->result();
    });

    const QString done = QStringLiteral("자동이체 데이타를 생성하였습니다!");
    const QString applied = QStringLiteral("파일풀기가 완료되었습니다");
    const struct {
        const char* name;
        std::function<void()> act;
        QStringList seen, boxes;
        std::function<void()> check;
    } cases[] = {
        {"one amount",
         [&] { w.SGrdPayAct(rowOf("20101", "06"), DistCol::Amt); },
         {QStringLiteral("B10 20101")},
         {},
         [&] {
             EXPECT_EQ(w.SGrdPay->cell(rowOf("20101", "06"), DistCol::Amt), QStringLiteral("12000"));
             EXPECT_TRUE(amounts().contains(QStringLiteral("20101/06 12000 0")));
         }},
        {"bulk amount of item 06, grade 2",
         [&] { w.BBtnAmtUpdtClick(); },
         {QStringLiteral("B03 05.수업료,06.급식비,01.방과후,02.체험")},
         {},
         [&] {
             EXPECT_EQ(amounts().filter(QStringLiteral("/06 300 ")),
                       (QStringList{QStringLiteral("20101/06 300 0"), QStringLiteral("20102/06 300 0")}));
             EXPECT_EQ(w.SGrdPay->cell(rowOf("20101", "06"), DistCol::Amt), QStringLiteral("300"));
         }},
        {"request file of the marked row",
         [&] {
             w.SGrdPayAct(rowOf("20101", "06"), DistCol::Mark);
             w.bbtnFileCreateClick();
         },
         {QStringLiteral("B04 SCH2100001 55566677788     1234")},
         {done},
         [&] {
             QFile sent(path(QStringLiteral("send/26030121.301")));
             ASSERT_TRUE(sent.open(QIODevice::ReadOnly));
             const QByteArray body = sent.readAll();
             EXPECT_TRUE(body.contains("SCH2100001")) << body.toStdString();
             EXPECT_TRUE(body.contains("260317")) << body.toStdString();
             EXPECT_EQ(column(QStringLiteral("select DataCnt from M_SRFILE where FileName = '26030121.301'")),
                       QStringList{QStringLiteral("1")});
         }},
        {"result file applied and relisted",
         [&] { w.bbtnDataRecvClick(); },
         {QStringLiteral("B08 21.조흥은행 202603-01 00210001.301")},
         {applied},
         [&] {
             EXPECT_TRUE(amounts().contains(QStringLiteral("20101/06 300 1")));
             EXPECT_EQ(w.SGrdPay->cell(rowOf("20101", "06"), DistCol::Reply), QStringLiteral("1"));
             EXPECT_TRUE(w.PnlExempCnt->isVisibleTo(&w)) << "the relisting after a result";
         }},
        {"find by student number",
         [&] {
             w.SGrdPay->setCurrentDataRow(w.SGrdPay->dataRowCount() - 1);
             w.BBtnSearchClick();
         },
         {QStringLiteral("B09")},
         {},
         [&] {
             EXPECT_EQ(w.SGrdPay->cell(w.SGrdPay->currentDataRow(), DistCol::SNo), QStringLiteral("20101"));
             EXPECT_LT(w.SGrdPay->currentDataRow(), w.SGrdPay->dataRowCount() - 1) << "the first match";
         }},
        {"flat print",
         [&] {
             flat = true;
             w.BBtnPrintClick();
         },
         {QStringLiteral("인쇄 pages 1")},
         {},
         [&] {}},
        {"print by class: a page per class",
         [&] {
             flat = false;
             w.BBtnPrintClick();
         },
         {QStringLiteral("배분이체내역조회 pages 2")},
         {},
         [&] {
             // The print took the listing's conditions and the panels shown.
             const DistribPrint::Request r = DistribPrint::requestFrom(&w);
             EXPECT_EQ(r.round.table(), QStringLiteral("H_300_20260301"));
             EXPECT_EQ(r.selection.bankCd, QStringLiteral("21"));
             EXPECT_EQ(r.panels.procCnt, w.PnlProcCnt->text());
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        seen.clear();
        msg.clear();
        for (int i = 0; i < c.boxes.size(); ++i)
            msg.expect(MsgResult::Ok);
        c.act();
        EXPECT_EQ(seen, c.seen);
        EXPECT_EQ(msg.texts(), c.boxes) << msg.texts().join(QLatin1Char('|')).toStdString();
        c.check();
    }
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
