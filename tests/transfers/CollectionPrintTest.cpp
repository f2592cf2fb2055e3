#include "transfers/collection/CollectionPrint.h"
#include "data/DMBank.h"
#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/sheet/SheetReader.h"
#include "support/PdfText.h"
#include "support/TestRoot.h"
#include "transfers/collection/CollectionExport.h"
#include "transfers/common/CollectionListing.h"
#include "transfers/collection/M101P.h"
#include "transfers/common/Rounds.h"

#include <QProcess>
#include <QStandardPaths>

namespace {

struct Row {
    const char *sno, *item, *replyTy, *exempTy;
    int amt, reAmt; // reAmt -1: null
    const char *replyCd, *procDt, *grp;
};

// Two classes: 3-01 with a transfer, a failure, a partial and a whole
// refund; 3-02 with a wholly and a partly exempt row.
const Row kRows[] = {
    {"30101", "01", "1", "1", 10000, -1, "0000", "20080325", "가반"},
    {"30101", "02", "0", "1", 10000, -1, "0012", "", "가반"},
    {"30102", "01", "3", "1", 10000, 3000, "", "20080325", "나반"},
    {"30102", "02", "3", "1", 5000, 5000, "", "20080325", ""},
    {"30201", "01", "0", "0", 0, -1, "", "", ""},
    {"30201", "02", "0", "2", 4000, -1, "", "", ""},
};

class CollectionPrintTest : public TestRoot {
protected:
    void SetUp() override {
        TestRoot::SetUp();
        ASSERT_TRUE(DMData->CreateH200(QStringLiteral("20240503")));
        for (const Row& r : kRows) {
            ColumnValues v{{QStringLiteral("YearMon"), QStringLiteral("202405")},
                           {QStringLiteral("SeqNo"), QStringLiteral("03")},
                           {QStringLiteral("SNo"), QString::fromLatin1(r.sno)},
                           {QStringLiteral("ItemCd"), QString::fromLatin1(r.item)},
                           {QStringLiteral("BankCd"), QStringLiteral("04")},
                           {QStringLiteral("AcctNo"), QStringLiteral("12345678")},
                           {QStringLiteral("Amt"), r.amt},
                           {QStringLiteral("ReplyTy"), QString::fromLatin1(r.replyTy)},
                           {QStringLiteral("ExempTy"), QString::fromLatin1(r.exempTy)},
                           {QStringLiteral("ReplyCd"), QString::fromLatin1(r.replyCd)},
                           {QStringLiteral("ProcDt"), QString::fromLatin1(r.procDt)},
                           {QStringLiteral("GrpNm"), QString::fromUtf8(r.grp)},
                           {QStringLiteral("CustNo"), QStringLiteral("C") + QString::fromLatin1(r.sno)},
                           {QStringLiteral("Nm"), QStringLiteral("학생") + QString::fromLatin1(r.sno)},
                           {QStringLiteral("Gcode"), QStringLiteral("01")}};
            if (r.reAmt >= 0) v.append({QStringLiteral("REAmt"), r.reAmt});
            ASSERT_TRUE(Database::insertRow(QStringLiteral("H_200_20240503"), v));
        }
        for (const char* id : {"01", "02"}) {
            QString err;
            ASSERT_TRUE(
                Database::insertRow(QStringLiteral("C_ITEM"),
                                    {{QStringLiteral("ItemCd"), QStringLiteral("K") + QLatin1Char(id[1])},
                                     {QStringLiteral("Gcode"), QStringLiteral("01")},
                                     {QStringLiteral("ItemID"), QString::fromLatin1(id)},
                                     {QStringLiteral("ItemNm"), QStringLiteral("항목") + QLatin1String(id)},
                                     {QStringLiteral("ItemAmt"), 10000}},
                                    &err))
                << err.toStdString();
        }
        DMData->ReloadItems();
        CollectionSelection s;
        s.gcode = QStringLiteral("01");
        s.bankCd = QStringLiteral("00");
        s.yearMon = QStringLiteral("202405");
        s.seqNo = QStringLiteral("03");
        listing = CollectionList::list(s, [](const QString& id) { return id; });
        ASSERT_EQ(listing.rows.size(), 6);
    }

    CollectionPrint::ListOptions options(bool portrait, bool whole, int code = 1100) const {
        CollectionPrint::ListOptions o;
        o.portrait = portrait;
        o.whole = whole;
        o.fieldSelCode = code;
        o.group = QStringLiteral("01.기본");
        o.gcode = QStringLiteral("01");
        o.yearMon = QStringLiteral("202405");
        o.seqNo = QStringLiteral("03");
        const CollectionTotals& t = listing.totals;
        for (qint64 v : {t.procCnt, t.procAmt, t.nonProcCnt, t.nonProcAmt, t.exempCnt, t.exempAmt, t.reCnt,
                         t.reAmt, t.reCnt2, t.reAmt2})
            o.totals << CollectionList::panelText(v);
        return o;
    }
    ReportDocument print(const CollectionPrint::ListOptions& o) const {
        const auto r =
            CollectionPrint::makeList(o, CollectionPrint::listRows(listing.listSql, listing.binds));
        return r ? r->layout() : ReportDocument{};
    }
    // The value printed after a figure's title.
    static QString figure(const QStringList& texts, const QString& title) {
        const int i = int(texts.lastIndexOf(title));
        return i >= 0 && i + 1 < texts.size() ? texts.at(i + 1) : QStringLiteral("?");
    }
    CollectionListing listing;
};

TEST_F(CollectionPrintTest, ByClassPagesCarryTheirFiguresAndTheWindowsTotals) {
    for (bool portrait : {false, true}) {
        SCOPED_TRACE(portrait);
        const ReportDocument doc = print(options(portrait, false));
        ASSERT_EQ(doc.pages.size(), 2);
        EXPECT_EQ(doc.setup.landscape, !portrait);
        const QStringList p1 = doc.pages[0].texts(), p2 = doc.pages[1].texts();
        EXPECT_TRUE(p1.contains(QStringLiteral("집금이체내역조회")));
        EXPECT_TRUE(p1.contains(QStringLiteral("3 학년 01 반")));
        EXPECT_TRUE(p2.contains(QStringLiteral("3 학년 02 반")));
        // 3-01: a transfer of 10,000 and the 7,000 kept of a partial refund.
        const struct {
            const char16_t* title;
            const char* v1;
            const char* v2;
        } figs[] = {{u"처리건수:", "2", "0"},     {u"처리금액:", "17,000", "0"},
                    {u"미처리건수:", "1", "0"},   {u"미처리금액:", "10,000", "0"},
                    {u"면제건수:", "0", "1"},     {u"면제금액:", "0", "0"},
                    {u"환불건수:", "1", "0"},     {u"환불금액:", "5,000", "0"},
                    {u"부분환불건수:", "1", "0"}, {u"부분환불금액:", "3,000", "0"}};
        for (const auto& f : figs) {
            SCOPED_TRACE(QString::fromUtf16(f.title).toStdString());
            EXPECT_EQ(figure(p1, QString::fromUtf16(f.title)), QLatin1String(f.v1));
            EXPECT_EQ(figure(p2, QString::fromUtf16(f.title)), QLatin1String(f.v2));
        }
        // The report totals are the window's panels.
        const CollectionTotals& t = listing.totals;
        EXPECT_EQ(figure(p2, QStringLiteral("총처리금액:")), CollectionList::panelText(t.procAmt).trimmed());
        EXPECT_EQ(figure(p2, QStringLiteral("총부분환불건수:")),
                  CollectionList::panelText(t.reCnt2).trimmed());
        EXPECT_FALSE(p1.contains(QStringLiteral("총처리금액:")));
    }
}

TEST_F(CollectionPrintTest, RowsPrintTheirCodesWrittenOut) {
    const ReportDocument doc = print(options(false, true));
    ASSERT_EQ(doc.pages.size(), 1);
    const QStringList t = doc.pages[0].texts();
    const int first = int(t.indexOf(QStringLiteral("30101")));
    ASSERT_GE(first, 0);
    // SNo, Nm, item, bank, account, amount, exempt, state, date, refund, refund date, group, unpaid
    EXPECT_EQ(t.mid(first, 13),
              (QStringList{"30101", "학생30101", "항목01", DMData->GetBankName(QStringLiteral("04")),
                           "12345678XXXXX", "      10,000 ", "X", "처리", "2008-03-25", "", "", "가반", ""}));
    const QStringList failed = t.mid(int(t.indexOf(QStringLiteral("30101"), first + 1)), 13);
    EXPECT_EQ(failed.at(7), QStringLiteral("미처리"));
    EXPECT_EQ(failed.at(8), DMBankLib->GetReplyText(QStringLiteral("04"), QStringLiteral("0012")));
    const QStringList partial = t.mid(int(t.indexOf(QStringLiteral("30102"))), 13);
    EXPECT_EQ(partial.at(7), QStringLiteral("환불처리"));
    EXPECT_EQ(partial.at(9), QStringLiteral("       3,000 "));
    EXPECT_TRUE(t.contains(QStringLiteral("O")));
    EXPECT_EQ(figure(t, QStringLiteral("처리건수:")),
              CollectionList::panelText(listing.totals.procCnt).trimmed());
}

// Every list form prints a masked account of fourteen characters and the
// dates whole, and what a reader copies out of its PDF is what was printed.
TEST_F(CollectionPrintTest, ListsPrintAccountsAndDatesWhole) {
    ASSERT_TRUE(Database::exec(QStringLiteral("UPDATE H_200_20240503 SET AcctNo = '11000000001234', ReDt = "
                                              "'20080401' WHERE SNo = '30102'")));
    CollectionSelection s;
    s.gcode = QStringLiteral("01");
    s.bankCd = QStringLiteral("00");
    s.yearMon = QStringLiteral("202405");
    s.seqNo = QStringLiteral("03");
    listing = CollectionList::list(s, [](const QString& id) { return id; });
    const struct {
        const char* name;
        bool portrait, whole;
        int code;
    } forms[] = {{"landscape whole", false, true, 0},
                 {"landscape by class", false, false, 0},
                 {"portrait whole", true, true, 1100},
                 {"portrait by class", true, false, 1100}};
    for (const auto& f : forms) {
        SCOPED_TRACE(f.name);
        const ReportDocument doc = print(options(f.portrait, f.whole, f.code));
        QStringList all;
        for (const ReportPage& p : doc.pages)
            all << p.texts();
        EXPECT_TRUE(all.contains(QStringLiteral("110000000XXXXX")));
        EXPECT_TRUE(all.contains(QStringLiteral("2008-03-25")));
        EXPECT_TRUE(all.contains(QStringLiteral("2008-04-01")));
        if (PdfText::available() && f.portrait && f.whole) EXPECT_EQ(PdfText::mismatches(doc), QStringList());
    }
}

// Portrait with 그룹 and 환불금액: the refund right-aligned in the whole
// list, centred by class; a partly exempt row marked only in the whole list.
TEST_F(CollectionPrintTest, PortraitOptionalColumns) {
    const auto whole = CollectionPrint::makeList(options(true, true, 1001),
                                                 CollectionPrint::listRows(listing.listSql, listing.binds));
    auto* p11 = dynamic_cast<TFrmM101P11*>(whole.get());
    ASSERT_NE(p11, nullptr);
    EXPECT_EQ(p11->pxtOne->text, QStringLiteral("그룹"));
    EXPECT_EQ(p11->pxtTwo->text, QStringLiteral("환불금액"));
    EXPECT_EQ(p11->QRBand2->find(QStringLiteral("fxtREAmt"))->align, ReportAlign::Right);
    const QStringList t = whole->layout().pages[0].texts();
    EXPECT_TRUE(t.contains(QStringLiteral("△")));
    const QStringList partial = t.mid(int(t.indexOf(QStringLiteral("30102"))), 11);
    EXPECT_EQ(partial.at(9), QStringLiteral("나반"));
    EXPECT_EQ(partial.at(10), QStringLiteral("       3,000 "));

    const auto byClass = CollectionPrint::makeList(options(true, false, 1001), {});
    ASSERT_NE(dynamic_cast<TFrmM101P10*>(byClass.get()), nullptr);
    EXPECT_EQ(byClass->QRBand2->find(QStringLiteral("fxtREAmt"))->align, ReportAlign::Center);
    EXPECT_FALSE(print(options(true, false, 1001)).pages[1].texts().contains(QStringLiteral("△")));
    EXPECT_EQ(CollectionPrint::makeList(options(true, true, 1000), {}), nullptr);
    ASSERT_NE(dynamic_cast<TFrmM101P01*>(CollectionPrint::makeList(options(false, true, 0), {}).get()),
              nullptr);
    ASSERT_NE(dynamic_cast<TFrmM101P00*>(CollectionPrint::makeList(options(false, false, 0), {}).get()),
              nullptr);
}

TEST_F(CollectionPrintTest, ReceiptsInOneAndTwoCopies) {
    const CollectionPrint::Receipt r{QStringLiteral("30101"),      QStringLiteral("학생30101"),
                                     QStringLiteral("1234567890"), QStringLiteral("10000"),
                                     QStringLiteral("항목01"),     QStringLiteral("2008-03-25")};
    const ReportDocument two = CollectionPrint::makeReceipt(r, true)->layout();
    ASSERT_EQ(two.pages.size(), 1);
    const QStringList t = two.pages[0].texts();
    EXPECT_EQ(t.count(QStringLiteral("(학교보관용)")), 1);
    EXPECT_EQ(t.count(QStringLiteral("(학부모보관용)")), 1);
    EXPECT_EQ(t.count(QStringLiteral("123456XXXX")), 2);
    EXPECT_EQ(t.count(TDMLib::AmtToKorean(10000)), 2);
    EXPECT_EQ(t.count(QStringLiteral("10000")), 4); // the line and the total, twice
    EXPECT_EQ(t.count(QStringLiteral("2026-03-16")), 2);
    // The copy labels sit left and right.
    for (const PageItem& it : two.pages[0].items) {
        if (it.text == QStringLiteral("(학교보관용)")) {
            EXPECT_LT(it.rect.left(), 100);
        }
        if (it.text == QStringLiteral("(학부모보관용)")) {
            EXPECT_GT(it.rect.left(), 100);
        }
    }

    const QStringList one = CollectionPrint::makeReceipt(r, false)->layout().pages[0].texts();
    EXPECT_FALSE(one.contains(QStringLiteral("(학교보관용)")));
    EXPECT_FALSE(one.contains(QStringLiteral("(학부모보관용)")));
    EXPECT_EQ(one.count(QStringLiteral("학생30101")), 1);

    // An amount that is not a number still prints, without the words.
    CollectionPrint::Receipt odd = r;
    odd.amount = QStringLiteral("1O000");
    EXPECT_EQ(CollectionPrint::makeReceipt(odd, false)->layout().pages.size(), 1);
}

TEST_F(CollectionPrintTest, WhichRowsGetAReceiptAndHowAccountsAreMasked) {
    const struct {
        const char *amt, *reply;
        bool allowed;
    } cases[] = {{"10000", "1", true},
                 {"10000", "2", true},
                 {"10000", "3", false},
                 {"10000", "0", false},
                 {"0", "1", false}};
    for (const auto& c : cases)
        EXPECT_EQ(CollectionPrint::receiptAllowed(QLatin1String(c.amt), QLatin1String(c.reply)), c.allowed)
            << c.amt << " " << c.reply;
    EXPECT_EQ(CollectionPrint::receiptAccount(QStringLiteral("1234567890")), QStringLiteral("123456XXXX"));
    EXPECT_EQ(CollectionPrint::receiptAccount(QStringLiteral("123")), QStringLiteral("XXXX"));
    EXPECT_EQ(CollectionPrint::listAccount(QStringLiteral("1234")), QStringLiteral("1234XXXXX"));
    EXPECT_EQ(CollectionPrint::transferDate(QStringLiteral("0000"), QStringLiteral("2008032"),
                                            QStringLiteral("04")),
              QStringLiteral("2008032"));
    EXPECT_EQ(CollectionPrint::transferDate(QString(), QStringLiteral("2008032"), QStringLiteral("04")),
              QString());
    EXPECT_EQ(CollectionPrint::transferDate(QStringLiteral("A1"), QString(), QStringLiteral("04")),
              QStringLiteral("A1"));
}

// The quarters of the school year that contains today.
TEST_F(CollectionPrintTest, QuarterMasks) {
    const struct {
        QDate today;
        int quarter;
        const char* mask;
    } cases[] = {
        {QDate(2026, 3, 2), 1, "H_200_202603*.db;H_200_202604*.db;H_200_202605*.db"},
        {QDate(2026, 3, 2), 4, "H_200_202612*.db;H_200_202701*.db;H_200_202702*.db"},
        {QDate(2026, 12, 1), 3, "H_200_202609*.db;H_200_202610*.db;H_200_202611*.db"},
        {QDate(2027, 1, 15), 4, "H_200_202612*.db;H_200_202701*.db;H_200_202702*.db"},
        {QDate(2027, 2, 28), 2, "H_200_202606*.db;H_200_202607*.db;H_200_202608*.db"},
        {QDate(2027, 2, 28), 0, "H_200_*.db"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Rounds::quarterMask(c.quarter, c.today), QLatin1String(c.mask))
            << c.today.toString(Qt::ISODate).toStdString() << " " << c.quarter;
}

TEST_F(CollectionPrintTest, ExportReadBack) {
    for (const auto& [item, val] : {std::pair{"K1", 10000}, std::pair{"K2", 6000}})
        ASSERT_TRUE(Database::insertRow(QStringLiteral("M_EXEMP"),
                                        {{QStringLiteral("CustNo"), QStringLiteral("C30201")},
                                         {QStringLiteral("ItemCd"), QLatin1String(item)},
                                         {QStringLiteral("Itemval"), val},
                                         {QStringLiteral("Free"), QStringLiteral("1")}}));
    QList<QStringList> rows = listing.rows;
    rows[0][ColSNo] = QStringLiteral("03010"); // a leading zero stays
    const QString file = path(QStringLiteral("out.xlsx"));
    QString err;
    ASSERT_TRUE(CollectionExport::write(rows, file, &err)) << err.toStdString();
    const auto sheet = SheetReader::read(file);
    ASSERT_TRUE(sheet.has_value());
    EXPECT_EQ(sheet->text(1, 1), QStringLiteral("학번"));
    EXPECT_EQ(sheet->text(1, 15), QStringLiteral("환불일자"));
    EXPECT_EQ(sheet->text(2, 1), QStringLiteral("03010"));
    EXPECT_EQ(sheet->text(2, 6), QStringLiteral("12345678"));
    EXPECT_EQ(sheet->text(2, 7), QStringLiteral("      10,000 "));
    EXPECT_EQ(sheet->text(2, 8), QStringLiteral("Ｘ"));
    EXPECT_EQ(sheet->text(2, 9), QStringLiteral("처리"));
    EXPECT_EQ(sheet->text(2, 10), QStringLiteral("2008-03-25"));
    EXPECT_EQ(sheet->text(6, 8), QStringLiteral("◎"));
    EXPECT_EQ(sheet->text(7, 8), QStringLiteral("◐"));
    EXPECT_EQ(sheet->text(8, 1), QString());
    EXPECT_EQ(sheet->text(9, 1), QString());
    const struct {
        const char16_t *label, *amountLabel;
        const char *count, *amount;
    } sum[] = {{u"전체건수     :", u"전체금액     :", "6", "      39,000 "},
               {u"현금수납건수 :", u"현금수납금액 :", "0", "           0 "},
               {u"자동이체건수 :", u"자동이체금액 :", "1", "      10,000 "},
               {u"환불건수     :", u"환불금액     :", "2", "      15,000 "},
               {u"미처리건수   :", u"미처리금액   :", "3", "      14,000 "},
               {u"전액면제건수 :", u"전액면제금액 :", "1", "      10,000 "},
               {u"부분면제건수 :", u"부분면제금액 :", "1", "       2,000 "}};
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(sheet->text(10 + i, 1), QString::fromUtf16(sum[i].label));
        EXPECT_EQ(sheet->value(10 + i, 3).typeId(), QMetaType::Double);
        EXPECT_EQ(sheet->text(10 + i, 3), QLatin1String(sum[i].count));
        EXPECT_EQ(sheet->text(10 + i, 5), QString::fromUtf16(sum[i].amountLabel));
        EXPECT_EQ(sheet->text(10 + i, 7), QLatin1String(sum[i].amount));
    }
    // A folder that does not exist: refused, nothing written.
    EXPECT_FALSE(CollectionExport::write(rows, path(QStringLiteral("no/out.xlsx")), &err));
}

TEST_F(CollectionPrintTest, DriverPrintsTheListAndAReceipt) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) GTEST_SKIP() << "no pdftotext";
    stopServices();
    const auto run = [this](const QStringList& extra) {
        QProcess p;
        p.start(QStringLiteral(ZQ_DRIVER_PATH),
                QStringList{QStringLiteral("--root"), root(), QStringLiteral("print")} + extra +
                    QStringList{QStringLiteral("--yearmon"), QStringLiteral("202405"),
                                QStringLiteral("--seqno"), QStringLiteral("03"), QStringLiteral("--pdf"),
                                path(QStringLiteral("o.pdf"))});
        p.waitForFinished(60000);
        QProcess t;
        t.start(QStringLiteral("pdftotext"), {path(QStringLiteral("o.pdf")), QStringLiteral("-")});
        t.waitForFinished(30000);
        return std::make_pair(
            p.exitCode(),
            QString::fromUtf8(t.readAllStandardOutput()).remove(QLatin1Char(' ')).remove(QChar(0x01)));
    };
    const auto [rc, text] =
        run({QStringLiteral("collection"), QStringLiteral("--landscape"), QStringLiteral("--by-class")});
    EXPECT_EQ(rc, 0);
    for (const char* s : {"집금이체내역조회", "3학년01반", "학생30201", "부분환불금액:"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(s))) << s;
    const auto [rc2, receipt] = run({QStringLiteral("collection-receipts"), QStringLiteral("--row"), QStringLiteral("1"),
                                     QStringLiteral("--copies"), QStringLiteral("2")});
    EXPECT_EQ(rc2, 0);
    for (const char* s : {"영수증", "(학부모보관용)", "학생30101", "원정"})
        EXPECT_TRUE(receipt.contains(QString::fromUtf8(s))) << s << receipt.toStdString();
}

} // namespace
