#include "data/DMMain.h"
#include "platform/db/Database.h"
#include "platform/report/ReportDocument.h"
#include "platform/settings/Registry.h"
#include "platform/ui/Modal.h"
#include "reports/P103B00.h"
#include "reports/P401B00.h"
#include "reports/Receipts.h"
#include "reports/Refunds.h"
#include "reports/ReportCatalog.h"
#include "support/PdfText.h"
#include "support/TestRoot.h"
#include "transfers/common/Rounds.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

struct Row {
    const char* table;
    const char* sno;
    const char* item;
    const char* bank;
    int amt;
    const char* exemp;
    const char* reply;
    int reAmt; // -1: null
    const char* procDt;
    const char* gcode = "01";
};

// Four rounds: two of March, one of June, one of January of the next year
// (the fourth quarter of the school year that contains 2026-03-16).
class Reports : public TestRoot {
protected:
    void SetUp() override {
        TestRoot::SetUp();
        for (const char* s : {"20260301", "20260302", "20260601", "20270101"})
            ASSERT_TRUE(DMData->CreateH200(QString::fromLatin1(s)));
        ins("G_GROUP", {{"G_CODE", "02"}, {"G_NAME", "방과후"}});
        ins("C_ITEM", {{"ItemCd", "A1"}, {"Gcode", "01"}, {"ItemID", "01"}, {"ItemNm", "수업료"}});
        ins("C_ITEM", {{"ItemCd", "A2"}, {"Gcode", "01"}, {"ItemID", "02"}, {"ItemNm", "급식비"}});
        ins("C_ITEM", {{"ItemCd", "B1"}, {"Gcode", "02"}, {"ItemID", "01"}, {"ItemNm", "바이올린"}});
        DMData->LoadLists();
        const Row rows[] = {
            {"20260301", "10101", "01", "04", 1000, "1", "1", -1, "20260310"},
            {"20260301", "10101", "02", "11", 2000, "1", "2", 0, "20260311"},
            {"20260301", "10102", "01", "10", 3000, "1", "1", 1000, "20260310"}, // partly refunded
            {"20260301", "10103", "01", "12", 4000, "1", "3", 4000, "20260310"}, // wholly refunded
            {"20260301", "10104", "01", "04", 5000, "2", "1", 0, "20260310"},    // partly exempt
            {"20260301", "10105", "01", "04", 6000, "1", "0", 0, ""},            // unpaid
            {"20260301", "20101", "01", "99", 7000, "1", "1", 0, "20260312"},
            {"20260302", "10101", "01", "04", 100, "1", "1", 0, "20260320"},
            {"20260302", "10101", "02", "04", 200, "1", "1", 0, "20260320", "02"},
            {"20260601", "10101", "01", "04", 300, "1", "1", 0, "20260610"},
            {"20270101", "10101", "01", "04", 400, "1", "1", 0, "20270110"},
        };
        for (const Row& r : rows)
            add(r);
    }
    void TearDown() override {
        Modal::setRunner({});
        TestRoot::TearDown();
    }
    static void ins(const char* table, std::initializer_list<std::pair<const char*, QVariant>> v) {
        ColumnValues cv;
        for (const auto& [k, val] : v)
            cv.append({QString::fromLatin1(k), val.typeId() == QMetaType::Int
                                                   ? val
                                                   : QVariant(QString::fromUtf8(val.toByteArray()))});
        ASSERT_TRUE(Database::insertRow(QString::fromLatin1(table), cv));
    }
    static void add(const Row& r) {
        const QString t = QStringLiteral("H_200_") + QString::fromLatin1(r.table);
        ColumnValues v{{QStringLiteral("YearMon"), QString::fromLatin1(r.table).left(6)},
                       {QStringLiteral("SeqNo"), QString::fromLatin1(r.table).mid(6)},
                       {QStringLiteral("SNo"), QString::fromLatin1(r.sno)},
                       {QStringLiteral("ItemCd"), QString::fromLatin1(r.item)},
                       {QStringLiteral("BankCd"), QString::fromLatin1(r.bank)},
                       {QStringLiteral("AcctNo"), QStringLiteral("12345678901234")},
                       {QStringLiteral("Amt"), r.amt},
                       {QStringLiteral("ExempTy"), QString::fromLatin1(r.exemp)},
                       {QStringLiteral("ReplyTy"), QString::fromLatin1(r.reply)},
                       {QStringLiteral("ProcDt"), QString::fromLatin1(r.procDt)},
                       {QStringLiteral("CustNo"), QStringLiteral("C") + QString::fromLatin1(r.sno)},
                       {QStringLiteral("Nm"), QStringLiteral("학생") + QString::fromLatin1(r.sno)},
                       {QStringLiteral("SCd"), QString::fromLatin1(r.sno).left(1)},
                       {QStringLiteral("Gcode"), QString::fromLatin1(r.gcode)}};
        if (r.reAmt >= 0) {
            v.append({QStringLiteral("REAmt"), r.reAmt});
            v.append({QStringLiteral("ReDt"), QStringLiteral("20260325")});
        }
        QString error;
        ASSERT_TRUE(Database::insertRow(t, v, &error)) << error.toStdString();
    }
    static ReportSelection range(const char* first, const char* last = "") {
        ReportSelection s;
        s.gcode = QStringLiteral("01");
        s.ym1 = QString::fromLatin1(first).left(6);
        s.seq1 = QString::fromLatin1(first).mid(6);
        s.ym2 = QString::fromLatin1(last).left(6);
        s.seq2 = QString::fromLatin1(last).mid(6);
        return s;
    }
    // "sno:paid" of every listed row.
    static QStringList listed(const ReportSelection& s) {
        const ReportListing l = Receipts::list(s);
        if (l.box) return {QStringLiteral("box:") + l.box->text};
        QStringList out;
        for (const RoundRow& r : l.source)
            out << r.table.mid(6) + QLatin1Char(':') + r.sNo + QLatin1Char(':') + QString::number(r.paid());
        return out;
    }
};

TEST_F(Reports, ReceiptSelections) {
    struct Case {
        const char* name;
        std::function<void(ReportSelection&)> set;
        QStringList want;
    };
    const auto ids = [](std::initializer_list<const char*> l) {
        QStringList out;
        for (const char* s : l)
            out << QString::fromUtf8(s);
        return out;
    };
    const Case cases[] = {
        {"one round: paid, not exempt, partly refunded less its refund, null REAmt whole",
         [](ReportSelection&) {},
         ids({"20260301:10101:1000", "20260301:10101:2000", "20260302:10101:100", "20260302:10101:200",
              "20260301:10102:2000", "20260301:20101:7000"})},
        {"a range of the quarter's rounds",
         [](ReportSelection& s) {
             s.ym1 = QStringLiteral("202603");
             s.seq1 = QStringLiteral("01");
             s.ym2 = QStringLiteral("202712");
             s.seq2 = QStringLiteral("99");
             s.quarter = 4;
             s.hak1 = QStringLiteral("1");
             s.hak2 = QStringLiteral("1");
         },
         ids({"20270101:10101:400"})},
        {"first quarter only",
         [](ReportSelection& s) {
             s.ym2 = QStringLiteral("202712");
             s.seq2 = QStringLiteral("99");
             s.quarter = 1;
             s.itemIds = {QStringLiteral("02")};
         },
         ids({"20260301:10101:2000"})},
        {"bank family",
         [](ReportSelection& s) { s.bank = QStringLiteral("12"); },
         ids({"20260301:10101:2000", "20260301:10102:2000"})},
        {"one bank",
         [](ReportSelection& s) { s.bank = QStringLiteral("99"); },
         ids({"20260301:20101:7000"})},
        {"grade and class to a whole number",
         [](ReportSelection& s) {
             s.hak1 = QStringLiteral("1");
             s.ban1 = QStringLiteral("01");
             s.hak2 = QStringLiteral("1");
             s.ban2 = QStringLiteral("01");
             s.bun2 = QStringLiteral("01");
             s.ym2 = QString();
             s.seq2 = QString();
         },
         ids({"20260301:10101:1000", "20260301:10101:2000"})},
        {"cash only, a date",
         [](ReportSelection& s) {
             s.extra.insert(QStringLiteral("kind"), QStringLiteral("2"));
             s.extra.insert(QStringLiteral("date"), QStringLiteral("20260311"));
         },
         ids({"20260301:10101:2000"})},
        {"transfers only on a date",
         [](ReportSelection& s) {
             s.extra.insert(QStringLiteral("kind"), QStringLiteral("1"));
             s.extra.insert(QStringLiteral("date"), QStringLiteral("20260311"));
         },
         QStringList()},
        {"first round after the last",
         [](ReportSelection& s) {
             s.ym1 = QStringLiteral("202603");
             s.seq1 = QStringLiteral("02");
             s.ym2 = QStringLiteral("202603");
             s.seq2 = QStringLiteral("01");
         },
         ids({"box:조회시작회차가 조회종료회차보다 큽니다."})},
        {"no table in the range",
         [](ReportSelection& s) {
             s.seq1 = QStringLiteral("07");
             s.ym2.clear();
             s.seq2.clear();
         },
         ids({"box:해당하는 자료가 없습니다."})},
        {"no round given", [](ReportSelection& s) { s.seq1.clear(); },
         ids({"box:이체년월과 회차는 반드시 입력하세요!!"})},
        {"a number without a class", [](ReportSelection& s) {
             s.hak1 = QStringLiteral("1");
             s.bun1 = QStringLiteral("01");
         },
         ids({"box:학번 입력 정보가 올바르지 않습니다."})},
    };
    for (const Case& c : cases) {
        ReportSelection s = range("20260301", "20260302");
        c.set(s);
        QStringList got = listed(s);
        QStringList want = c.want;
        if (!want.isEmpty() && !want.first().startsWith(QLatin1String("box:"))) {
            got.sort();
            want.sort();
        }
        EXPECT_EQ(got, want) << c.name;
    }
}

TEST_F(Reports, ReceiptPages) {
    // One student with twelve rows, four more with one each.
    ASSERT_TRUE(DMData->CreateH200(QStringLiteral("20260303")));
    QList<QByteArray> keep;
    for (int i = 1; i <= 12; ++i) {
        keep << QByteArray::number(i).rightJustified(2, '0');
        keep << "202603" + keep.last();
        add({"20260303", "30101", keep.at(keep.size() - 2).constData(), "04", 1000 * i, "1", "1", 0,
             keep.last().constData()});
    }
    for (const char* sno : {"30102", "30103", "30104", "30105"})
        add({"20260303", sno, "01", "04", 500, "1", "1", 0, "20260305"});
    ReportSelection s = range("20260303");
    QList<RoundRow> rows;
    std::optional<ReportBox> box;
    ASSERT_TRUE(Receipts::rows(s, false, &rows, &box));
    const QList<ReceiptPage> pages = Receipts::paginate(rows, s, false);
    ASSERT_EQ(pages.size(), 2);
    EXPECT_EQ(pages[0].blocks[0].lines.size(), 9);
    EXPECT_EQ(pages[0].blocks[0].totAmt.trimmed(), QStringLiteral("45,000"));
    EXPECT_EQ(pages[0].blocks[1].sNo, QStringLiteral("30101"));
    EXPECT_EQ(pages[0].blocks[1].lines.size(), 3);
    EXPECT_EQ(pages[0].blocks[1].totAmt.trimmed(), QStringLiteral("33,000"));
    EXPECT_EQ(pages[0].blocks[1].hanAmt, QStringLiteral("삼만삼천"));
    EXPECT_EQ(pages[0].blocks[1].acct, QStringLiteral("123456789XXXXX"));
    EXPECT_EQ(pages[0].blocks[3].sNo, QStringLiteral("30103"));
    EXPECT_EQ(pages[1].blocks[0].sNo, QStringLiteral("30104"));
    EXPECT_EQ(pages[1].blocks[1].sNo, QStringLiteral("30105"));
    EXPECT_FALSE(pages[1].blocks[2].used);

    // Two copies: two students a page, each on both halves.
    const QList<ReceiptPage> two = Receipts::paginate(rows.mid(12), s, true);
    ASSERT_EQ(two.size(), 2);
    EXPECT_EQ(two[0].blocks[0].sNo, two[0].blocks[1].sNo);
    EXPECT_EQ(two[0].blocks[2].sNo, QStringLiteral("30103"));
    EXPECT_EQ(two[1].blocks[0].sNo, QStringLiteral("30104"));
    EXPECT_EQ(two[1].blocks[2].sNo, QStringLiteral("30105"));
}

TEST_F(Reports, ReceiptPrintoutNamesTheSchoolWithoutASeal) {
    ASSERT_TRUE(Registry::writeString(QStringLiteral("SchoolInfo"), QStringLiteral("SchNm"), QString()));
    ASSERT_TRUE(Registry::writeString(QStringLiteral("SchoolInfo"), QStringLiteral("KidNm"), QStringLiteral("해님유치원")));
    ReportSelection s = range("20260301");
    s.extra.insert(QStringLiteral("double"), QStringLiteral("1"));
    ReportDocument doc;
    ASSERT_FALSE(Receipts::print(s, &doc));
    ASSERT_EQ(doc.pages.size(), 2); // three students, two a page
    const QStringList texts = doc.pages[0].texts();
    EXPECT_TRUE(texts.contains(QStringLiteral("해님유치원")));
    EXPECT_TRUE(texts.contains(QStringLiteral("(학부모보관용)")));
    EXPECT_TRUE(texts.contains(QStringLiteral("123456789XXXXX")));
    EXPECT_TRUE(texts.contains(QStringLiteral("삼천")));
    EXPECT_TRUE(texts.contains(QStringLiteral("일자 : 2026-03-16")));
}

TEST_F(Reports, RefundListAndPrint) {
    add({"20260302", "10106", "02", "99", 800, "2", "3", 300, "20260320"});
    add({"20260302", "20102", "01", "04", 900, "1", "3", 900, "20260320"});
    ReportSelection s = range("20260302");
    ReportListing l = Refunds::list(s);
    ASSERT_FALSE(l.box);
    ASSERT_EQ(l.rows.size(), 2);
    EXPECT_EQ(l.rows[0][3], QStringLiteral("은행없음"));
    EXPECT_EQ(l.rows[0][7], QStringLiteral("부분환불"));
    EXPECT_EQ(l.rows[1][7], QStringLiteral("전액환불"));
    EXPECT_EQ(l.total, 1200);

    s.extra.insert(QStringLiteral("redt"), QStringLiteral("20260326"));
    EXPECT_TRUE(Refunds::list(s).rows.isEmpty());

    // Two grades: a page each; the partly exempt refund is listed, not counted.
    const ReportDocument doc = Refunds::printRows(l.source, s.gcode);
    ASSERT_EQ(doc.pages.size(), 2);
    EXPECT_TRUE(doc.pages[0].texts().contains(QStringLiteral("1 학년 ")));
    EXPECT_TRUE(doc.pages[1].texts().contains(QStringLiteral("2 학년 ")));
    const QStringList last = doc.pages[1].texts();
    const int at = int(last.indexOf(QStringLiteral("전체합계")));
    ASSERT_GE(at, 0) << last.join(QLatin1Char('|')).toStdString();
    // Grade 1's partial refund of a partly exempt student is not counted.
    const QStringList grade1 = doc.pages[0].texts();
    const int f1 = int(grade1.indexOf(QStringLiteral("부분환불건수:")));
    ASSERT_GE(f1, 0);
    EXPECT_EQ(grade1.at(f1 + 1), QStringLiteral("0"));
    EXPECT_EQ(last.mid(at - 8, 8).join(QLatin1Char('|')).simplified(),
              QStringLiteral("전액환불건수:| 1 |전액환불금액:| 900 |부분환불건수:| 0 |부분환불금액:| 0"));
}

TEST_F(Reports, WindowsListAndPrint) {
    TFrmP103B00 w;
    w.MEdtYearMon->setText(QStringLiteral("202603"));
    w.MEdtSeqNo->setText(QStringLiteral("01"));
    w.search();
    EXPECT_EQ(w.listing().rows.size(), 4);
    EXPECT_EQ(w.pnlTotAmt->text(), QStringLiteral("12,000"));
    EXPECT_EQ(w.grid->item(0, 3)->text().trimmed(), QStringLiteral("1,000"));
    int previews = 0;
    Modal::setRunner([&previews](QDialog*) {
        ++previews;
        return 0;
    });
    w.print();
    EXPECT_EQ(previews, 1);

    TFrmP401B00 r;
    EXPECT_EQ(r.MEdtYearMon->text(), QStringLiteral("2027-01"));
    r.MEdtYearMon->setText(QStringLiteral("202603"));
    r.search();
    EXPECT_EQ(r.listing().rows.size(), 1);
    r.print();
    EXPECT_EQ(previews, 2);
}

} // namespace

namespace {

TEST(QuarterMask, SchoolYearOfToday) {
    const struct {
        int quarter;
        QDate today;
        const char* mask;
    } cases[] = {
        {0, QDate(2026, 3, 16), "H_200_*.db"},
        {1, QDate(2026, 3, 16), "H_200_202603*.db;H_200_202604*.db;H_200_202605*.db"},
        {4, QDate(2026, 3, 16), "H_200_202612*.db;H_200_202701*.db;H_200_202702*.db"},
        {4, QDate(2027, 2, 1), "H_200_202612*.db;H_200_202701*.db;H_200_202702*.db"},
        {1, QDate(2027, 1, 5), "H_200_202603*.db;H_200_202604*.db;H_200_202605*.db"},
        {3, QDate(2026, 12, 31), "H_200_202609*.db;H_200_202610*.db;H_200_202611*.db"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Rounds::quarterMask(c.quarter, c.today), QString::fromLatin1(c.mask)) << c.today.toString().toStdString();
}

} // namespace

namespace {

// Every printout of the catalog: its fixed texts fit their boxes, and the
// text layer of its PDF reads back as its page dump.
class EveryReport : public Reports {};

TEST_F(EveryReport, FixedTextsFitAndThePdfReadsBackAsPrinted) {
    ReportSelection s = range("20260301", "20260302");
    s.extra = {{QStringLiteral("kind"), QStringLiteral("0")},
               {QStringLiteral("year"), QStringLiteral("2026")},
               {QStringLiteral("sdate"), QStringLiteral("20260301")},
               {QStringLiteral("edate"), QStringLiteral("20260331")},
               {QStringLiteral("deadline"), QStringLiteral("20260331")},
               {QStringLiteral("desc"), QStringLiteral("자동이체하오니 납부하여 주십시요.")},
               {QStringLiteral("desc2"), QStringLiteral("이체합니다")},
               {QStringLiteral("date"), QStringLiteral("20260310")},
               {QStringLiteral("no"), QStringLiteral("12")},
               {QStringLiteral("title"), QStringLiteral("수련회 안내")},
               {QStringLiteral("body"), QStringLiteral("1 학년 수련회를  아래와 같이 실시합니다.")},
               {QStringLiteral("pnm"), QStringLiteral("홍 길동")},
               {QStringLiteral("pjumin"), QStringLiteral("800101-1234567")},
               {QStringLiteral("paddr"), QStringLiteral("서울시 중구 1-2")},
               {QStringLiteral("company"), QStringLiteral("한국 상사")},
               {QStringLiteral("addr"), QStringLiteral("서울시 중구")},
               {QStringLiteral("relation"), QStringLiteral("부")}};
    s.itemIds = {QStringLiteral("01"), QStringLiteral("02")};
    for (const char* sno : {"10101", "10102", "10104"})
        ins("M_CUST", {{"CustNo", QByteArray("C") + sno}, {"SNo", sno}, {"Nm", QByteArray("학생") + sno}});
    QStringList printed;
    for (const ReportEntry& e : ReportCatalog::all()) {
        if (!e.print) continue;
        SCOPED_TRACE(e.name.toStdString());
        ReportSelection own = s;
        if (e.name == QLatin1String("letter"))
            own.extra[QStringLiteral("date")] = QStringLiteral("2026-03-10");
        ReportDocument doc;
        if (const auto box = e.print(own, &doc)) {
            printed << e.name + QStringLiteral(":box:") + box->text;
            continue;
        }
        printed << e.name;
        EXPECT_EQ(doc.cutLabels(), QStringList());
        if (PdfText::available()) EXPECT_EQ(PdfText::mismatches(doc), QStringList());
    }
    // One of each kind at least: receipts, lists, blocks, forms, certificate.
    for (const char* name :
         {"receipts", "refunds", "notices", "unpaid", "letter", "income-resolution", "payment-resolution",
          "refund-resolution", "collection-resolution", "daysum", "income", "certificate"})
        EXPECT_TRUE(printed.contains(QString::fromLatin1(name)))
            << printed.join(QLatin1Char('\n')).toStdString();
}

} // namespace
