#include "data/DMMain.h"
#include "platform/db/Database.h"
#include "platform/report/ReportDocument.h"
#include "platform/settings/Registry.h"
#include "platform/sheet/SheetReader.h"
#include "platform/ui/Modal.h"
#include "reports/EduCertificate.h"
#include "reports/P111B00.h"
#include "reports/ReceiptSum.h"
#include "reports/ReceiptSums.h"
#include "reports/SumTax.h"
#include "reports/SumTax_mon.h"
#include "reports/YearEndTax.h"
#include "support/TestRoot.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

struct Pay {
    const char* table;
    const char* cust;
    const char* gcode;
    const char* item;
    int amt;
    int reAmt; // -1: null
    const char* reply;
    const char* exemp;
    const char* procDt;
    const char* bank;
};

// A school year of rounds from March 2025 to February 2026. Students: 10101
// (C1), 10102 twice (C2 and C3, a number two students share), 20101 (C4).
// Items of group 01: 01 입학금, 02 수업료, 03 운영비; of group 02: 01 방과후.
const Pay kPays[] = {
    {"20250301", "C1", "01", "01", 100000, -1, "1", "1", "20250310", "04"},
    {"20250301", "C1", "01", "02", 50000, 0, "1", "1", "20250310", "04"},
    {"20250301", "C2", "01", "02", 50000, 20000, "3", "1", "20250312", "11"}, // partly refunded
    {"20250301", "C3", "01", "02", 50000, 50000, "3", "1", "20250312", "11"}, // wholly refunded
    {"20250301", "C4", "01", "02", 50000, -1, "0", "1", "", "04"},            // unpaid
    {"20250601", "C1", "01", "02", 50000, -1, "2", "1", "20250605", "99"},    // cash
    {"20250601", "C2", "01", "02", 50000, -1, "1", "2", "20250610", "12"},    // partly exempt
    {"20250601", "C1", "02", "01", 30000, -1, "1", "1", "20250610", "04"},    // group 02
    {"20250901", "C1", "01", "02", 50000, -1, "1", "1", "20250930", "04"},
    {"20250901", "C1", "01", "03", 20000, -1, "1", "1", "20250930", "04"},
    {"20250901", "C3", "01", "02", 50000, -1, "1", "1", "20250915", "04"},
    {"20251201", "C1", "01", "02", 50000, -1, "1", "1", "20251210", "04"},
    {"20251201", "C2", "01", "02", 50000, -1, "1", "1", "20260105", "11"}, // December round paid in January
    {"20260101", "C1", "01", "02", 50000, -1, "1", "1", "20260110", "04"},
    {"20260201", "C1", "01", "02", 50000, -1, "1", "1", "20260210", "04"},
};

QString custNo(const char* c) {
    return QStringLiteral("25001000") + QString::fromLatin1(c).mid(1).rightJustified(2, QLatin1Char('0'));
}

class YearEnd : public TestRoot {
protected:
    void SetUp() override {
        TestRoot::SetUp();
        ins("G_GROUP", {{"G_CODE", "02"}, {"G_NAME", "방과후"}});
        ins("C_ITEM", {{"ItemCd", "A1"}, {"Gcode", "01"}, {"ItemID", "01"}, {"ItemNm", "입학금"}});
        ins("C_ITEM", {{"ItemCd", "A2"}, {"Gcode", "01"}, {"ItemID", "02"}, {"ItemNm", "수업료"}});
        ins("C_ITEM", {{"ItemCd", "A3"}, {"Gcode", "01"}, {"ItemID", "03"}, {"ItemNm", "운영비"}});
        ins("C_ITEM", {{"ItemCd", "B1"}, {"Gcode", "02"}, {"ItemID", "01"}, {"ItemNm", "방과후"}});
        DMData->LoadLists();
        const struct {
            const char *cust, *sno, *nm, *juno;
        } students[] = {{"C1", "10101", "김하나", "1501013000001"},
                        {"C2", "10102", "이두리", "1502024000002"},
                        {"C3", "10102", "박세나", "1503033000003"},
                        {"C4", "20101", "최네오", "1504044000004"}};
        for (const auto& s : students) {
            ColumnValues v{{QStringLiteral("CustNo"), custNo(s.cust)},
                           {QStringLiteral("SNo"), QString::fromLatin1(s.sno)},
                           {QStringLiteral("SCd"), QString::fromLatin1(s.sno).left(1)},
                           {QStringLiteral("Nm"), QString::fromUtf8(s.nm)},
                           {QStringLiteral("Ju_No_Stud"), QString::fromLatin1(s.juno)}};
            ASSERT_TRUE(Database::insertRow(QStringLiteral("M_CUST"), v));
        }
        for (const char* t : {"20250301", "20250601", "20250901", "20251201", "20260101", "20260201"})
            ASSERT_TRUE(DMData->CreateH200(QString::fromLatin1(t)));
        for (const Pay& p : kPays) {
            ColumnValues v{{QStringLiteral("YearMon"), QString::fromLatin1(p.table).left(6)},
                           {QStringLiteral("SeqNo"), QString::fromLatin1(p.table).mid(6)},
                           {QStringLiteral("CustNo"), custNo(p.cust)},
                           {QStringLiteral("SNo"), QStringLiteral("99999")}, // the roster's number counts
                           {QStringLiteral("Nm"), QStringLiteral("x")},
                           {QStringLiteral("Gcode"), QString::fromLatin1(p.gcode)},
                           {QStringLiteral("ItemCd"), QString::fromLatin1(p.item)},
                           {QStringLiteral("BankCd"), QString::fromLatin1(p.bank)},
                           {QStringLiteral("AcctNo"), QStringLiteral("11122233344455")},
                           {QStringLiteral("Amt"), p.amt},
                           {QStringLiteral("ExempTy"), QString::fromLatin1(p.exemp)},
                           {QStringLiteral("ReplyTy"), QString::fromLatin1(p.reply)},
                           {QStringLiteral("ProcDt"), QString::fromLatin1(p.procDt)}};
            // Each row its own SNo key, as the round's primary key wants.
            v[3].second = QString::fromLatin1(p.cust) + QString::fromLatin1(p.gcode);
            if (p.reAmt >= 0) v.append({QStringLiteral("REAmt"), p.reAmt});
            QString error;
            ASSERT_TRUE(
                Database::insertRow(QStringLiteral("H_200_") + QString::fromLatin1(p.table), v, &error))
                << error.toStdString();
        }
    }
    static void ins(const char* table, std::initializer_list<std::pair<const char*, const char*>> v) {
        ColumnValues cv;
        for (const auto& [k, val] : v)
            cv.append({QString::fromLatin1(k), QString::fromUtf8(val)});
        ASSERT_TRUE(Database::insertRow(QString::fromLatin1(table), cv));
    }
    static qint64 nullRefunds() {
        qint64 n = 0;
        for (const char* t : {"20250301", "20250601", "20250901", "20251201", "20260101", "20260201"})
            n += scalar(QStringLiteral("SELECT COUNT(*) FROM H_200_%1 WHERE REAmt IS NULL")
                            .arg(QString::fromLatin1(t)));
        return n;
    }
    static ReportSelection quarterSel(const char* year) {
        ReportSelection s;
        s.gcode = QStringLiteral("01");
        s.extra = {{QStringLiteral("year"), QString::fromLatin1(year)},
                   {QStringLiteral("items1"), QStringLiteral("01")},
                   {QStringLiteral("items2"), QStringLiteral("02")},
                   {QStringLiteral("items3"), QStringLiteral("03")}};
        return s;
    }
    static QStringList cells(const ReportListing& l, std::initializer_list<int> cols) {
        if (l.box) return {QStringLiteral("box:") + l.box->text};
        QStringList out;
        for (const QStringList& r : l.rows) {
            QStringList c;
            for (int i : cols)
                c << r.value(i).trimmed();
            out << c.join(QLatin1Char('|'));
        }
        return out;
    }
};

TEST_F(YearEnd, QuarterFigures) {
    const qint64 nulls = nullRefunds();
    struct Case {
        const char* name;
        std::function<void(ReportSelection&)> set;
        QStringList want; // sno|name|item|amount|date|code|period
        qint64 total;
    };
    const auto L = [](std::initializer_list<const char*> l) {
        QStringList out;
        for (const char* s : l)
            out << QString::fromUtf8(s);
        return out;
    };
    const Case cases[] = {
        {"refunds taken off, by student", [](ReportSelection&) {},
         L({"10101|김하나|입학금|100,000|2025-03-10|101|101", "10101|김하나|수업료|50,000|2025-03-10|102|101",
            "10101|김하나|수업료|50,000|2025-06-05|102|102", "10101|김하나|수업료|50,000|2025-09-30|102|103",
            "10101|김하나|운영비|20,000|2025-09-30|103|103", "10101|김하나|수업료|50,000|2025-12-10|102|104",
            "10102|이두리|수업료|30,000|2025-03-12|102|101", "10102|이두리|수업료|50,000|2025-06-10|102|102",
            "10102|박세나|수업료|50,000|2025-09-15|102|103"}),
         450000},
        {"refunds kept, by payment date, one class",
         [](ReportSelection& s) {
             s.extra.insert(QStringLiteral("refund"), QStringLiteral("1"));
             s.extra.insert(QStringLiteral("sort"), QStringLiteral("1"));
             s.extra.insert(QStringLiteral("items1"), QString());
             s.hak1 = s.hak2 = QStringLiteral("1");
             s.ban1 = s.ban2 = QStringLiteral("01");
             s.bun1 = s.bun2 = QStringLiteral("02");
         },
         L({"10102|이두리|수업료|50,000|2025-03-12|102|101", "10102|박세나|수업료|50,000|2025-03-12|102|101",
            "10102|이두리|수업료|50,000|2025-06-10|102|102",
            "10102|박세나|수업료|50,000|2025-09-15|102|103"}),
         200000},
        {"the next year takes the December round paid in January; edited quarter dates and codes",
         [](ReportSelection& s) {
             s.extra.insert(QStringLiteral("year"), QStringLiteral("2026"));
             s.extra.insert(QStringLiteral("q1"), QStringLiteral("A1"));
             s.extra.insert(QStringLiteral("q1e"), QStringLiteral("20260131"));
             s.extra.insert(QStringLiteral("nap2"), QStringLiteral("T2"));
         },
         L({"10101|김하나|수업료|50,000|2026-01-10|T2|A1", "10101|김하나|수업료|50,000|2026-02-10|T2|",
            "10102|이두리|수업료|50,000|2026-01-05|T2|A1"}),
         150000},
        {"a year of three digits matches no round",
         [](ReportSelection& s) { s.extra.insert(QStringLiteral("year"), QStringLiteral("202")); },
         {},
         0},
        {"no item",
         [](ReportSelection& s) {
             for (const char* k : {"items1", "items2", "items3"})
                 s.extra.remove(QString::fromLatin1(k));
         },
         L({"box:선택된 항목이 하나도 없습니다.."}), 0},
        {"blank period code",
         [](ReportSelection& s) { s.extra.insert(QStringLiteral("q3"), QStringLiteral(" ")); },
         L({"box:3분기 차수코드를 입력해주세요."}), 0},
        {"blank payment code", [](ReportSelection& s) { s.extra.insert(QStringLiteral("nap3"), QString()); },
         L({"box:학교운영지원비-납입금코드를 입력해주세요."}), 0},
        {"blank year", [](ReportSelection& s) { s.extra.insert(QStringLiteral("year"), QString()); },
         L({"box:회계년도를 입력해주세요."}), 0},
        {"class without grade", [](ReportSelection& s) { s.ban2 = QStringLiteral("01"); },
         L({"box:학번 입력 정보가 올바르지 않습니다."}), 0},
    };
    for (const Case& c : cases) {
        ReportSelection s = quarterSel("2025");
        c.set(s);
        const ReportListing l = YearEndTax::quarterly(s);
        EXPECT_EQ(cells(l, {0, 1, 2, 3, 4, 5, 6}), c.want) << c.name;
        EXPECT_EQ(l.total, c.total) << c.name;
        if (!l.box) {
            EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM M_SumTax")), l.rows.size()) << c.name;
        }
    }
    // The student's own resident number travels with the row.
    const ReportListing l = YearEndTax::quarterly(quarterSel("2025"));
    EXPECT_EQ(l.rows.value(6).value(7), QStringLiteral("1502024000002"));
    // The round tables were only read.
    EXPECT_EQ(nullRefunds(), nulls);
}

TEST_F(YearEnd, MonthFigures) {
    ReportSelection s;
    s.gcode = QStringLiteral("01");
    s.extra = {{QStringLiteral("year"), QStringLiteral("2025")},
               {QStringLiteral("items1"), QStringLiteral("01")},
               {QStringLiteral("items2"), QStringLiteral("02,03")},
               {QStringLiteral("group2"), QStringLiteral("02")},
               {QStringLiteral("items21"), QStringLiteral("01")},
               {QStringLiteral("nap21"), QStringLiteral("105")}};
    ReportListing l = YearEndTax::monthly(s);
    // sno|name|amount|last date|code|period: one line per payer, code and
    // month; 2025-09's 수업료 and 운영비 share code 102.
    EXPECT_EQ(cells(l, {0, 1, 2, 3, 4, 5}),
              (QStringList{QStringLiteral("10101|김하나|100,000|2025-03-10|101|203"),
                           QStringLiteral("10101|김하나|50,000|2025-03-10|102|203"),
                           QStringLiteral("10101|김하나|50,000|2025-06-05|102|206"),
                           QStringLiteral("10101|김하나|30,000|2025-06-10|105|206"),
                           QStringLiteral("10101|김하나|70,000|2025-09-30|102|209"),
                           QStringLiteral("10101|김하나|50,000|2025-12-10|102|212"),
                           QStringLiteral("10102|이두리|30,000|2025-03-12|102|203"),
                           QStringLiteral("10102|이두리|50,000|2025-06-10|102|206"),
                           QStringLiteral("10102|박세나|50,000|2025-09-15|102|209")}));
    EXPECT_EQ(l.total, 480000);
    EXPECT_EQ(
        scalar(QStringLiteral("SELECT COUNT(*) FROM M_SumTax WHERE NapCd = '102' AND ProcMon = '202509'")),
        3);

    // Both combos on group 01 with 02 under both: group 2's code wins; a
    // group-2 code never reaches a group-1 item of another group.
    s.extra.insert(QStringLiteral("group2"), QStringLiteral("01"));
    s.extra.insert(QStringLiteral("items21"), QStringLiteral("02"));
    l = YearEndTax::monthly(s);
    EXPECT_EQ(cells(l, {0, 2, 4, 5}).mid(0, 3),
              (QStringList{QStringLiteral("10101|100,000|101|203"), QStringLiteral("10101|50,000|105|203"),
                           QStringLiteral("10101|50,000|105|206")}));
    s.extra.remove(QStringLiteral("items1"));
    s.extra.remove(QStringLiteral("items2"));
    s.extra.remove(QStringLiteral("items21"));
    EXPECT_EQ(cells(YearEndTax::monthly(s), {}),
              QStringList{QStringLiteral("box:선택된 항목이 하나도 없습니다..")});
}

TEST_F(YearEnd, WorkbooksReadBack) {
    const QString q = path(QStringLiteral("q.xlsx")), m = path(QStringLiteral("m.xlsx"));
    int rows = 0;
    ASSERT_FALSE(YearEndTax::exportQuarterly(quarterSel("2025"), q, &rows));
    EXPECT_EQ(rows, 9);
    std::optional<SheetTable> t = SheetReader::read(q, 1);
    ASSERT_TRUE(t);
    const auto row = [&t](int r, int cols) {
        QStringList out;
        for (int c = 1; c <= cols; ++c)
            out << t->text(r, c);
        return out.join(QLatin1Char('|'));
    };
    EXPECT_EQ(t->rowCount(), 10);
    EXPECT_EQ(row(1, 7), QStringLiteral("회계년도|납입금코드|차수코드|주민등록번호|성명|수납일|수납액"));
    EXPECT_EQ(row(2, 7), QStringLiteral("2025|101|101|1501013000001|김하나|20250310|100000"));
    EXPECT_EQ(row(8, 7), QStringLiteral("2025|102|101|1502024000002|이두리|20250312|30000"));

    ReportSelection s = quarterSel("2025");
    s.extra.insert(QStringLiteral("items2"), QStringLiteral("02,03"));
    ASSERT_FALSE(YearEndTax::exportMonthly(s, m, &rows));
    EXPECT_EQ(rows, 8);
    t = SheetReader::read(m, 1);
    ASSERT_TRUE(t);
    EXPECT_EQ(row(1, 10),
              QStringLiteral("학년|반|번호|회계년도|납입금코드|차수코드|주민등록번호|성명|수납일|수납액"));
    EXPECT_EQ(row(5, 10), QStringLiteral("1|01|01|2025|102|209|1501013000001|김하나|20250930|70000"));

    // Nothing found: no file.
    s.extra.insert(QStringLiteral("year"), QStringLiteral("2024"));
    const std::optional<ReportBox> box = YearEndTax::exportMonthly(s, path(QStringLiteral("none.xlsx")));
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, QStringLiteral("조회된 자료가 없습니다!"));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("none.xlsx"))));
}

TEST_F(YearEnd, CertificatePerPayer) {
    ReportSelection s;
    s.gcode = QStringLiteral("01");
    s.itemIds = {QStringLiteral("01"), QStringLiteral("02"), QStringLiteral("03")};
    s.extra = {{QStringLiteral("year"), QStringLiteral("2025")},
               {QStringLiteral("group2"), QStringLiteral("02")},
               {QStringLiteral("items2"), QStringLiteral("01")}};
    const ReportListing l = EduCertificate::list(s);
    // sno|name|date|quarter|amount: four rows per payer; the two students
    // numbered 10102 keep their own sums.
    EXPECT_EQ(
        cells(l, {0, 1, 2, 3, 5}),
        (QStringList{
            QStringLiteral("10101|김하나|2025-03-31|1/4|150000"),
            QStringLiteral("10101|김하나|2025-06-30|2/4|80000"),
            QStringLiteral("10101|김하나|2025-09-30|3/4|70000"),
            QStringLiteral("10101|김하나|2025-12-31|4/4|50000"),
            QStringLiteral("10102|이두리|2025-03-31|1/4|30000"),
            QStringLiteral("10102|이두리|2025-06-30|2/4|50000"),
            QStringLiteral("10102|이두리|2025-09-30|3/4|0"), QStringLiteral("10102|이두리|2025-12-31|4/4|0"),
            QStringLiteral("10102|박세나|2025-03-31|1/4|0"), QStringLiteral("10102|박세나|2025-06-30|2/4|0"),
            QStringLiteral("10102|박세나|2025-09-30|3/4|50000"),
            QStringLiteral("10102|박세나|2025-12-31|4/4|0"), QStringLiteral("20101|최네오|2025-03-31|1/4|0"),
            QStringLiteral("20101|최네오|2025-06-30|2/4|0"), QStringLiteral("20101|최네오|2025-09-30|3/4|0"),
            QStringLiteral("20101|최네오|2025-12-31|4/4|0")}));

    // One class only; a blank year and a number without a class refused.
    s.hak1 = QStringLiteral("2");
    EXPECT_EQ(EduCertificate::list(s).rows.size(), 4);
    s.extra.insert(QStringLiteral("year"), QString());
    EXPECT_EQ(cells(EduCertificate::list(s), {}), QStringList{QStringLiteral("box:년도를 선택해주세요.")});
    s.extra.insert(QStringLiteral("year"), QStringLiteral("2025"));
    s.bun1 = QStringLiteral("01");
    EXPECT_EQ(cells(EduCertificate::list(s), {}),
              QStringList{QStringLiteral("box:학번 입력 정보가 올바르지 않습니다.")});

    // The printout takes the grid as it stands: an edited amount, a text
    // that is no number (0), and the total of the four lines.
    QList<QStringList> grid = l.rows.mid(0, 8);
    grid[1][5] = QStringLiteral("90000");
    grid[2][5] = QStringLiteral("abc");
    grid << QStringList{QStringLiteral("30101")}; // a block without its fourth row prints nothing
    CertificateTexts texts;
    texts.pNm = QStringLiteral("김아빠");
    texts.schNm = QStringLiteral("해님초등학교");
    texts.issuer = QStringLiteral("해님초등학교");
    const ReportDocument doc = EduCertificate::printRows(grid, texts);
    ASSERT_EQ(doc.pages.size(), 2);
    QStringList p1 = doc.pages[0].texts();
    for (QString& t : p1)
        t = t.trimmed();
    for (const char* want : {"1 학년 01 반 01 번", "김하나", "1501013000001", "김아빠", "해님초등학교장",
                             "150,000", "90,000", "0", "50,000", "290,000", "2026 년 03 월 16 일"})
        EXPECT_TRUE(p1.contains(QString::fromUtf8(want))) << want;
    EXPECT_TRUE(doc.pages[1].texts().contains(QStringLiteral("이두리")));
}

TEST_F(YearEnd, ReceiptSumsPerPayer) {
    ReportSelection s;
    s.gcode = QStringLiteral("01");
    s.itemIds = {QStringLiteral("01"), QStringLiteral("02"), QStringLiteral("03")};
    s.extra = {{QStringLiteral("group2"), QStringLiteral("02")},
               {QStringLiteral("items2"), QStringLiteral("01")}};
    struct Case {
        const char* name;
        std::function<void(ReportSelection&)> set;
        QStringList want; // sno|name|amount|date per row
    };
    const Case cases[] = {
        {"all of last year (the default period), every kind and bank",
         [](ReportSelection&) {},
         {QStringLiteral("10101|김하나|100,000|2025-03-10"), QStringLiteral("10101|김하나|50,000|2025-03-10"),
          QStringLiteral("10101|김하나|50,000|2025-06-05"), QStringLiteral("10101|김하나|30,000|2025-06-10"),
          QStringLiteral("10101|김하나|50,000|2025-09-30"), QStringLiteral("10101|김하나|20,000|2025-09-30"),
          QStringLiteral("10101|김하나|50,000|2025-12-10"), QStringLiteral("10102|이두리|30,000|2025-03-12"),
          QStringLiteral("10102|박세나|50,000|2025-09-15")}},
        {"cash only",
         [](ReportSelection& s) { s.extra.insert(QStringLiteral("kind"), QStringLiteral("2")); },
         {QStringLiteral("10101|김하나|50,000|2025-06-05")}},
        {"bank 12 reads the family of 10, 11 and 12",
         [](ReportSelection& s) { s.bank = QStringLiteral("12"); },
         {QStringLiteral("10102|이두리|30,000|2025-03-12")}},
        {"from June 1 to January: May's rounds on are read, the period and the kind still hold",
         [](ReportSelection& s) {
             s.extra.insert(QStringLiteral("sdt"), QStringLiteral("20250601"));
             s.extra.insert(QStringLiteral("edt"), QStringLiteral("20260131"));
             s.extra.insert(QStringLiteral("kind"), QStringLiteral("1"));
             s.hak1 = QStringLiteral("1");
             s.ban1 = QStringLiteral("01");
             s.bun1 = QStringLiteral("02");
         },
         {QStringLiteral("10102|이두리|50,000|2026-01-05"),
          QStringLiteral("10102|박세나|50,000|2025-09-15")}},
    };
    for (const Case& c : cases) {
        ReportSelection t = s;
        c.set(t);
        EXPECT_EQ(cells(ReceiptSums::list(t), {0, 1, 3, 4}), c.want) << c.name;
    }
    // March 1 less 31 days falls in January.
    EXPECT_EQ(ReceiptSums::roundTables(QStringLiteral("20260301"), QStringLiteral("20260331")),
              (QStringList{QStringLiteral("H_200_20260101"), QStringLiteral("H_200_20260201")}));

    ASSERT_TRUE(Registry::writeString(QStringLiteral("SchoolInfo"), QStringLiteral("SchNm"),
                                      QStringLiteral("해님초등학교")));
    s.extra.insert(QStringLiteral("ho"), QStringLiteral("제7호"));
    s.extra.insert(QStringLiteral("bigo"), QStringLiteral("연말정산용"));
    ReportDocument doc;
    ASSERT_FALSE(ReceiptSums::print(s, &doc));
    // A receipt each: the two students numbered 10102 apart.
    ASSERT_EQ(doc.pages.size(), 3);
    QStringList p1 = doc.pages[0].texts();
    for (QString& t : p1)
        t = t.trimmed();
    for (const char* want : {"10101", "김하나", "111222333XXXXX", "삼십오만", "350,000", "제7호",
                             "연말정산용", "해님초등학교", "방과후"})
        EXPECT_TRUE(p1.contains(QString::fromUtf8(want))) << want;
    EXPECT_TRUE(doc.pages[1].texts().contains(QStringLiteral("이두리")));
    EXPECT_FALSE(doc.pages[1].texts().contains(QStringLiteral("박세나")));
    EXPECT_TRUE(doc.pages[2].texts().contains(QStringLiteral("박세나")));

    // 31 payments of one payer: the 31st on a page of its own, its own total.
    QList<RoundRow> rows;
    for (int i = 0; i < 31; ++i) {
        RoundRow r;
        r.custNo = QStringLiteral("X");
        r.sNo = QStringLiteral("30101");
        r.amt = i == 30 ? 777 : 1000;
        rows << r;
    }
    const QList<ReceiptSumPage> pages = ReceiptSums::paginate(rows);
    ASSERT_EQ(pages.size(), 2);
    EXPECT_EQ(pages[0].lines.size(), 30);
    EXPECT_EQ(pages[0].totAmt.trimmed(), QStringLiteral("30,000"));
    EXPECT_EQ(pages[1].totAmt.trimmed(), QStringLiteral("777"));
    EXPECT_EQ(ReceiptSums::paginate(rows.mid(0, 30)).size(), 1);
}

void check(QListWidget* l, int row) {
    l->item(row)->setCheckState(Qt::Checked);
}

TEST_F(YearEnd, Windows) {
    int previews = 0;
    Modal::setRunner([&previews](QDialog*) {
        ++previews;
        return 0;
    });

    // Quarterly: an item checked in one list leaves the others; All under
    // list 2 takes every item from list 1, the next All only clears its own.
    TfrmSumTax q;
    q.MEdtYear->setText(QStringLiteral("2025"));
    check(q.CLbNCd_item[0], 0);
    EXPECT_EQ(q.DTP_e[2]->date(), QDate(2025, 9, 30));
    q.BBtnCheckAll[1]->click();
    EXPECT_EQ(TYearEndForm::checkedIds(q.CLbNCd_item[0]), QString());
    EXPECT_EQ(TYearEndForm::checkedIds(q.CLbNCd_item[1]), QStringLiteral("01,02,03"));
    q.BBtnCheckAll[2]->click();
    EXPECT_EQ(TYearEndForm::checkedIds(q.CLbNCd_item[1]), QStringLiteral("01,02,03"));
    check(q.CLbNCd_item[0], 0);
    check(q.CLbNCd_item[2], 2);
    EXPECT_EQ(TYearEndForm::checkedIds(q.CLbNCd_item[1]), QStringLiteral("02"));
    q.bbtnSearch->click();
    EXPECT_EQ(q.pnlTotAmt->text(), QStringLiteral("450,000"));
    EXPECT_EQ(q.grid->item(0, 5)->text(), QStringLiteral("101"));
    answerFiles({path(QStringLiteral("w.xlsx"))});
    msg.expect(MsgResult::Ok);
    q.bbtnPrint->click();
    EXPECT_EQ(msg.texts().value(0), QStringLiteral("엑셀화일을 생성하였습니다!"));
    EXPECT_EQ(fileDialogs.value(0).fileName, QStringLiteral("2025_연말정산자료.xlsx"));
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("w.xlsx"))));
    // A blank code is refused with the focus on it.
    msg.clear();
    q.EdtNapCd_nm[1]->clear();
    msg.expect(MsgResult::Ok);
    q.bbtnSearch->click();
    EXPECT_EQ(msg.texts().value(0), QStringLiteral("수업료-납입금코드를 입력해주세요."));

    // Monthly: group 2 is the second group at opening.
    TfrmSumTax_mon m;
    EXPECT_EQ(m.cboGroup_2->currentText().left(2), QStringLiteral("02"));
    EXPECT_EQ(m.EdtNapCd_nm[13]->text(), QStringLiteral("104"));
    m.MEdtYear->setText(QStringLiteral("2025"));
    check(m.CLbNCd_item[0], 1);
    check(m.CLbNCd_item[10], 0);
    m.bbtnSearch->click();
    // June's 수업료 and 방과후 share code 101: one line of 80,000.
    EXPECT_EQ(m.listing().rows.size(), 7);
    EXPECT_EQ(m.pnlTotAmt->text(), QStringLiteral("360,000"));
    EXPECT_EQ(m.grid->item(1, 2)->text().trimmed(), QStringLiteral("80,000"));

    // Certificate: a blank year refused; a corrected amount printed.
    TFrmP111B00 c;
    msg.clear();
    c.cboYear->setCurrentIndex(c.cboYear->count() - 1);
    msg.expect(MsgResult::Ok);
    c.bbtnSearch->click();
    EXPECT_EQ(msg.texts().value(0), QStringLiteral("년도를 선택해주세요."));
    EXPECT_EQ(c.grid->item(0, 0), nullptr);
    c.cboYear->setCurrentText(QStringLiteral("2025"));
    EXPECT_EQ(c.DTP_s[1]->date(), QDate(2025, 4, 1));
    c.BBtnCheckAll->click();
    c.bbtnSearch->click();
    EXPECT_EQ(c.grid->rowCount(), 16);
    c.grid->item(0, 5)->setText(QStringLiteral("1"));
    c.print();
    EXPECT_EQ(previews, 1);

    // Summed receipts: the listing and its print.
    TfrmReceiptSum r;
    r.BBtnCheckAll->click();
    r.bbtnSearch->click();
    EXPECT_EQ(r.listing().rows.size(), 8);
    r.bbtnPrint->click();
    EXPECT_EQ(previews, 2);
    Modal::setRunner({});
}

TEST_F(YearEnd, DriverCommands) {
    stopServices();
    const auto run = [this](const QStringList& args) {
        QProcess p;
        p.start(QStringLiteral(ZQ_DRIVER_PATH),
                QStringList{QStringLiteral("--root"), root(), QStringLiteral("--today"),
                            QStringLiteral("20260316")} +
                    args);
        EXPECT_TRUE(p.waitForFinished(60000));
        QList<QJsonObject> out;
        for (const QByteArray& l : p.readAllStandardOutput().split('\n'))
            if (!l.trimmed().isEmpty()) out << QJsonDocument::fromJson(l).object();
        return std::make_pair(p.exitCode(), out);
    };
    const QStringList sel =
        QString::fromLatin1("--year 2025 --items1 01 --items2 02 --items3 03").split(QLatin1Char(' '));
    auto [rc, out] =
        run(QStringList{QStringLiteral("report"), QStringLiteral("list"), QStringLiteral("sumtax")} + sel);
    EXPECT_EQ(rc, 0);
    ASSERT_FALSE(out.isEmpty());
    EXPECT_EQ(out.last()[QStringLiteral("total")].toInteger(), 450000);

    std::tie(rc, out) = run(
        QStringList{QStringLiteral("export"), QStringLiteral("sumtax-mon"), path(QStringLiteral("m.xlsx"))} +
        sel);
    EXPECT_EQ(rc, 0);
    ASSERT_FALSE(out.isEmpty());
    EXPECT_EQ(out.last()[QStringLiteral("rows")].toInt(), 9);
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("m.xlsx"))));

    for (const char* report : {"certificate", "receipt-sum"}) {
        std::tie(rc, out) =
            run({QStringLiteral("print"), QString::fromLatin1(report), QStringLiteral("--year"),
                 QStringLiteral("2025"), QStringLiteral("--items"), QStringLiteral("01,02"),
                 QStringLiteral("--pdf"), path(QStringLiteral("o.pdf"))});
        EXPECT_EQ(rc, 0) << report;
        ASSERT_FALSE(out.isEmpty());
        EXPECT_EQ(out.last()[QStringLiteral("pages")].toInt(), std::string(report) == "certificate" ? 4 : 3)
            << report;
    }
    startServices();
}

} // namespace
