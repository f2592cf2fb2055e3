#include "transfers/common/CollectionListing.h"
#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "support/TestRoot.h"
#include "transfers/common/CollectionRound.h"
#include "transfers/common/StudentAdd.h"

namespace {

struct Row {
    const char *sno, *item, *bank;
    const char* replyTy;
    const char* exempTy;
    int amt;
    int reAmt; // -1: null
    const char *replyCd, *procDt, *grp, *reDt, *cust;
};

// One round with every state: unprocessed (one failed), transferred, cash,
// refunded wholly and partly, wholly exempt with and without an amount,
// partly exempt, and exempt rows whose amount comes from the fallbacks.
const Row kRows[] = {
    {"30101", "01", "11", "0", "1", 100000, -1, "1007", "00000000", "1반", "", "C1"},
    {"30101", "02", "10", "1", "1", 50000, -1, "0000", "20240510", "1반", "", "C1"},
    {"30102", "01", "12", "2", "1", 100000, -1, "", "20240512", "O'Neil반", "", "C2"},
    {"30102", "02", "81", "3", "1", 50000, 50000, "", "20240510", "O'Neil반", "20240520", "C2"},
    {"30103", "01", "25", "3", "1", 100000, 30000, "", "20240510", "", "20240521", "C3"},
    {"30103", "02", "04", "0", "0", 0, -1, "", "", "", "", "C3"},
    {"30104", "01", "99", "0", "0", 80000, -1, "", "", "", "", "C4"},
    {"30104", "02", "04", "0", "2", 20000, -1, "", "", "", "", "C4"},
    {"30105", "03", "04", "0", "0", 0, -1, "", "", "", "", "C5"},
    {"30106", "03", "04", "0", "1", 9000, -1, "", "", "", "", "C6"},
    {"30107", "03", "04", "1", "1", 8000, -1, "", "20240511", "", "", "C7"},
    {"30108", "04", "04", "0", "0", 0, -1, "", "", "", "", "C8"},
};

class Collection : public TestRoot {
protected:
    void SetUp() override {
        TestRoot::SetUp();
        ASSERT_TRUE(DMData->CreateH200(QStringLiteral("20240503")));
        for (const Row& r : kRows)
            addRow(r);
        item("A1", "01", "01", "수업료", 100000);
        item("A2", "01", "02", "급식비", 50000);
        item("A3", "01", "03", "우유", 0);
        item("B2", "02", "02", "방과후", 7000);
        for (const char* c : {"C1", "C2", "C3"})
            cust(c, "30000", "1", "04", "111", "1");
        cust("C4", "30104", "1", "04", "111", "2");
    }

    static void addRow(const Row& r) {
        ColumnValues v{{QStringLiteral("YearMon"), QStringLiteral("202405")},
                       {QStringLiteral("SeqNo"), QStringLiteral("03")},
                       {QStringLiteral("SNo"), QString::fromLatin1(r.sno)},
                       {QStringLiteral("ItemCd"), QString::fromLatin1(r.item)},
                       {QStringLiteral("BankCd"), QString::fromLatin1(r.bank)},
                       {QStringLiteral("AcctNo"), QStringLiteral("1234")},
                       {QStringLiteral("Amt"), r.amt},
                       {QStringLiteral("ReplyTy"), QString::fromLatin1(r.replyTy)},
                       {QStringLiteral("ExempTy"), QString::fromLatin1(r.exempTy)},
                       {QStringLiteral("ReplyCd"), QString::fromLatin1(r.replyCd)},
                       {QStringLiteral("ProcDt"), QString::fromLatin1(r.procDt)},
                       {QStringLiteral("GrpNm"), QString::fromUtf8(r.grp)},
                       {QStringLiteral("ReDt"), QString::fromLatin1(r.reDt)},
                       {QStringLiteral("CustNo"), QString::fromLatin1(r.cust)},
                       {QStringLiteral("Nm"), QStringLiteral("학생") + QString::fromLatin1(r.sno)},
                       {QStringLiteral("Gcode"), QStringLiteral("01")}};
        if (r.reAmt >= 0) v.append({QStringLiteral("REAmt"), r.reAmt});
        ASSERT_TRUE(Database::insertRow(QStringLiteral("H_200_20240503"), v));
    }
    static void item(const char* cd, const char* g, const char* id, const char* nm, int amt) {
        ASSERT_TRUE(Database::insertRow(QStringLiteral("C_ITEM"),
                                        {{QStringLiteral("ItemCd"), QString::fromLatin1(cd)},
                                         {QStringLiteral("Gcode"), QString::fromLatin1(g)},
                                         {QStringLiteral("ItemID"), QString::fromLatin1(id)},
                                         {QStringLiteral("ItemNm"), QString::fromUtf8(nm)},
                                         {QStringLiteral("ItemAmt"), amt}}));
    }
    static void cust(const char* c, const char* sno, const char* use, const char* bank, const char* acct,
                     const char* sms) {
        ASSERT_TRUE(Database::insertRow(QStringLiteral("M_CUST"),
                                        {{QStringLiteral("CustNo"), QString::fromLatin1(c)},
                                         {QStringLiteral("SNo"), QString::fromLatin1(sno)},
                                         {QStringLiteral("Nm"), QStringLiteral("이름")},
                                         {QStringLiteral("UseTy"), QString::fromLatin1(use)},
                                         {QStringLiteral("BankCd"), QString::fromLatin1(bank)},
                                         {QStringLiteral("AcctNo"), QString::fromLatin1(acct)},
                                         {QStringLiteral("SCd"), QStringLiteral("3")},
                                         {QStringLiteral("MTelNo"), QStringLiteral("010")},
                                         {QStringLiteral("smsYN"), QString::fromLatin1(sms)}}));
    }

    static CollectionSelection sel(const char* bank = "00") {
        CollectionSelection s;
        s.gcode = QStringLiteral("01");
        s.bankCd = QString::fromLatin1(bank);
        s.yearMon = QStringLiteral("202405");
        s.seqNo = QStringLiteral("03");
        return s;
    }
    static CollectionListing list(const CollectionSelection& s) {
        return CollectionList::list(s, [](const QString& id) { return QStringLiteral("항목") + id; });
    }
    static QStringList keys(const CollectionListing& l) {
        QStringList out;
        for (const QStringList& r : l.rows)
            out << r[ColSNo] + QLatin1Char('/') + r[ColItemCd];
        return out;
    }
    static QString totals(const CollectionTotals& t) {
        return QStringLiteral("%1 %2 | %3 %4 | %5 %6 | %7 %8 | %9 %10 | %11 %12")
            .arg(t.totCnt())
            .arg(t.totAmt())
            .arg(t.procCnt)
            .arg(t.procAmt)
            .arg(t.nonProcCnt)
            .arg(t.nonProcAmt)
            .arg(t.exempCnt)
            .arg(t.exempAmt)
            .arg(t.reCnt)
            .arg(t.reAmt)
            .arg(t.reCnt2)
            .arg(t.reAmt2);
    }
};

TEST_F(Collection, TotalsOfEveryState) {
    const CollectionListing l = list(sel());
    ASSERT_TRUE(l.tableExists);
    ASSERT_EQ(l.rows.size(), 12) << l.error.toStdString();
    // total | processed | unprocessed | exempt | refunded | partly refunded
    EXPECT_EQ(totals(l.totals),
              QStringLiteral("12 576000 | 4 228000 | 3 129000 | 4 139000 | 1 50000 | 1 30000"));
    // The refunds leave the total at the sum of the amounts billed.
    EXPECT_EQ(l.totals.totAmt(),
              scalar(QStringLiteral("select sum(Amt) from H_200_20240503 where ExempTy <> '0'")) +
                  l.totals.exempAmt);
    EXPECT_EQ(CollectionList::panelText(l.totals.totAmt()), QStringLiteral("576,000 "));
    EXPECT_EQ(CollectionList::panelText(0), QStringLiteral("0 "));
}

TEST_F(Collection, ExemptAmountFallbacks) {
    const CollectionListing l = list(sel("04"));
    // 30103/02: amount 0, the item's amount of the selected group (50,000);
    // 30105/03: the item costs 0, so the first non-exempt row of the item
    // in key order (30106: 9,000); 30108/04: no item, no such row: 0.
    EXPECT_EQ(l.totals.exempCnt, 3);
    EXPECT_EQ(l.totals.exempAmt, 50000 + 9000);
    // The item amount is looked up in the selected group.
    CollectionSelection g2 = sel("04");
    g2.gcode = QStringLiteral("02");
    EXPECT_EQ(list(g2).totals.exempAmt, 7000 + 9000);
    // A wholly exempt row that keeps its amount adds that amount.
    EXPECT_EQ(list(sel("99")).totals.exempAmt, 80000);
}

TEST_F(Collection, BankFamilies) {
    const struct {
        const char* bank;
        const char* rows;
    } cases[] = {
        {"00", "30101/01 30101/02 30102/01 30102/02 30103/01 30103/02 30104/01 30104/02 30105/03 30106/03 "
               "30107/03 30108/04"},
        {"10", "30101/01 30101/02 30102/01"},
        {"11", "30101/01 30101/02 30102/01"},
        {"12", "30101/01 30101/02 30102/01"},
        {"81", "30102/02 30103/01"},
        {"25", "30103/01"},
        {"99", "30104/01"},
        {"26", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bank);
        EXPECT_EQ(keys(list(sel(c.bank))).join(QLatin1Char(' ')), QString::fromLatin1(c.rows));
    }
}

TEST_F(Collection, Filters) {
    const struct {
        const char* name;
        std::function<void(CollectionSelection&)> set;
        const char* rows;
    } cases[] = {
        {"items",
         [](auto& s) {
             s.itemIds = {QStringLiteral("03.우유"), QStringLiteral("04")};
         },
         "30105/03 30106/03 30107/03 30108/04"},
        {"group with a quote", [](auto& s) { s.groups = {QStringLiteral("O'Neil반")}; }, "30102/01 30102/02"},
        {"grade and class bound",
         [](auto& s) { s.fromSNo = QStringLiteral("301"), s.toSNo = QStringLiteral("301"); },
         "30101/01 30101/02 30102/01 30102/02 30103/01 30103/02 30104/01 30104/02 30105/03 30106/03 30107/03 "
         "30108/04"},
        {"full number bounds",
         [](auto& s) { s.fromSNo = QStringLiteral("30104"), s.toSNo = QStringLiteral("30105"); },
         "30104/01 30104/02 30105/03"},
        {"grade bound", [](auto& s) { s.fromSNo = QStringLiteral("4"); }, ""},
        {"other lengths add nothing", [](auto& s) { s.toSNo = QStringLiteral("30"); },
         "30101/01 30101/02 30102/01 30102/02 30103/01 30103/02 30104/01 30104/02 30105/03 30106/03 30107/03 "
         "30108/04"},
        {"transfer dates",
         [](auto& s) { s.setlDt = QStringLiteral("20240510"), s.setlDt2 = QStringLiteral("20240511"); },
         "30101/02 30102/02 30103/01 30107/03"},
        {"refund dates", [](auto& s) { s.reDt = QStringLiteral("20240521"); }, "30103/01"},
        {"wholly exempt", [](auto& s) { s.exempIdx = 1; }, "30103/02 30104/01 30105/03 30108/04"},
        {"not wholly exempt", [](auto& s) { s.exempIdx = 2; },
         "30101/01 30101/02 30102/01 30102/02 30103/01 30104/02 30106/03 30107/03"},
        {"processed", [](auto& s) { s.procIdx = 1; }, "30101/02 30102/01 30102/02 30103/01 30107/03"},
        {"unprocessed", [](auto& s) { s.procIdx = 2; },
         "30101/01 30103/02 30104/01 30104/02 30105/03 30106/03 30108/04"},
        {"transferred", [](auto& s) { s.procIdx = 3; }, "30101/02 30107/03"},
        {"cash", [](auto& s) { s.procIdx = 4; }, "30102/01"},
        {"refunded", [](auto& s) { s.procIdx = 5; }, "30102/02 30103/01"},
        {"sms receivers", [](auto& s) { s.smsIdx = 1; },
         "30101/01 30101/02 30102/01 30102/02 30103/01 30103/02"},
        {"sms refusers", [](auto& s) { s.smsIdx = 2; }, "30104/01 30104/02"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CollectionSelection s = sel();
        c.set(s);
        const CollectionListing l = list(s);
        EXPECT_TRUE(l.error.isEmpty()) << l.error.toStdString();
        EXPECT_EQ(keys(l).join(QLatin1Char(' ')), QString::fromLatin1(c.rows));
    }
}

TEST_F(Collection, RowCells) {
    const CollectionListing l = list(sel());
    const QStringList& failed = l.rows[0];
    EXPECT_EQ(failed[ColNm], QStringLiteral("학생30101"));
    EXPECT_EQ(failed[ColItem], QStringLiteral("항목01"));
    EXPECT_EQ(failed[ColDate], QStringLiteral("1007")); // the reply code of a failed transfer
    EXPECT_EQ(failed[ColReAmt], QString());
    EXPECT_EQ(failed[ColTel], QStringLiteral("010"));
    EXPECT_EQ(failed[ColSms], QStringLiteral("1"));
    EXPECT_EQ(failed[ColGName], QStringLiteral("기본"));
    EXPECT_EQ(l.rows[1][ColDate], QStringLiteral("2024-05-10")); // reply code zero: the date
    EXPECT_EQ(l.rows[2][ColDate], QStringLiteral("2024-05-12"));
    EXPECT_EQ(l.rows[3][ColReDt], QStringLiteral("2024-05-20"));
    EXPECT_EQ(l.rows[3][ColReAmt], QStringLiteral("50000"));
    EXPECT_EQ(l.rows[3][ColGrp], QStringLiteral("O'Neil반"));
    EXPECT_EQ(l.rows[3][ColAmt], QStringLiteral("50000"));
    EXPECT_EQ(l.rows[4][ColAmt], QStringLiteral("100000"));
    EXPECT_TRUE(l.listFromSql.startsWith(QLatin1String(" from ")));
    EXPECT_TRUE(l.listFromSql.endsWith(QLatin1String("order by t1.SNo, t1.ItemCd")));
    EXPECT_TRUE(l.listSql.endsWith(l.listFromSql + QLatin1Char(' ')));
}

TEST_F(Collection, RelistingAfterAResultFile) {
    const CollectionListing l = CollectionList::listTable(QStringLiteral("H_200_20240503"),
                                                          QStringLiteral("00"), QStringLiteral("01"), {});
    ASSERT_EQ(l.rows.size(), 12);
    // Every row not exactly "1" counts as exempt with its own amount; a
    // refunded row shows what stayed paid.
    EXPECT_EQ(totals(l.totals),
              QStringLiteral("12 517000 | 4 228000 | 2 109000 | 5 100000 | 1 50000 | 1 30000"));
    EXPECT_EQ(l.rows[4][ColAmt], QStringLiteral("70000"));
    EXPECT_EQ(l.rows[0][ColDate], QStringLiteral("1007"));
    EXPECT_EQ(l.rows[0][ColTel], QString());
    EXPECT_EQ(l.rows[0][ColSCd], QString());
    // Here 81 is not widened to 25.
    EXPECT_EQ(keys(CollectionList::listTable(QStringLiteral("H_200_20240503"), QStringLiteral("81"),
                                             QStringLiteral("01"), {})),
              QStringList{QStringLiteral("30102/02")});
    EXPECT_EQ(CollectionList::listTable(QStringLiteral("H_200_20240503"), QStringLiteral("11"),
                                        QStringLiteral("01"), {})
                  .rows.size(),
              3);
}

TEST_F(Collection, MissingAndOlderRoundTables) {
    CollectionSelection s = sel();
    s.seqNo = QStringLiteral("04");
    EXPECT_FALSE(list(s).tableExists);
    s.seqNo = QStringLiteral("0'");
    EXPECT_FALSE(list(s).tableExists);
    // A round table of the layout before groups, remarks and refunds.
    TableDef old = Tables::H200(QStringLiteral("20240401"));
    old.fields = old.fields.mid(0, 14);
    old.indexes.clear();
    ASSERT_TRUE(Database::createTable(old, true));
    ASSERT_TRUE(Database::insertRow(QStringLiteral("H_200_20240401"),
                                    {{QStringLiteral("YearMon"), QStringLiteral("202404")},
                                     {QStringLiteral("SeqNo"), QStringLiteral("01")},
                                     {QStringLiteral("SNo"), QStringLiteral("30101")},
                                     {QStringLiteral("ItemCd"), QStringLiteral("01")},
                                     {QStringLiteral("BankCd"), QStringLiteral("04")},
                                     {QStringLiteral("Amt"), 1000},
                                     {QStringLiteral("ReplyTy"), QStringLiteral("3")},
                                     {QStringLiteral("ExempTy"), QStringLiteral("1")}}));
    s.yearMon = QStringLiteral("202404");
    s.seqNo = QStringLiteral("01");
    s.groups = {QStringLiteral("1반")};
    s.reDt = QStringLiteral("20240101");
    CollectionListing l = list(s);
    EXPECT_TRUE(l.error.isEmpty()) << l.error.toStdString();
    EXPECT_TRUE(l.rows.isEmpty());
    s.groups.clear();
    s.reDt.clear();
    l = list(s);
    ASSERT_EQ(l.rows.size(), 1) << l.error.toStdString();
    EXPECT_EQ(l.totals.reCnt2, 1);
    EXPECT_EQ(l.totals.reAmt2, 0);
    EXPECT_EQ(CollectionList::listTable(QStringLiteral("H_200_20240401"), QStringLiteral("00"),
                                        QStringLiteral("01"), {})
                  .rows.size(),
              1);
}

// ---- the window's other look-ups and the row deletion

TEST_F(Collection, OpeningRoundAndBankList) {
    // No round table: this month, and no booked round, so no round number.
    Database::dropTable(QStringLiteral("H_200_20240503"));
    CollectionRound::OpeningRound o =
        CollectionRound::openingRound(CollectionRound::roundTables(), QStringLiteral("01"));
    EXPECT_EQ(o.yearMon, QStringLiteral("202603"));
    EXPECT_EQ(o.seqNo, QString());
    // Rounds up to 03 of May, request files booked for rounds 01 and 02.
    for (const char* t : {"20240501", "20240502", "20240503", "20240401"})
        ASSERT_TRUE(DMData->CreateH200(QString::fromLatin1(t)));
    for (const auto& [file, seq, g] :
         {std::tuple{"24050111.201", "01", "01"}, std::tuple{"24050211.202", "02", "01"},
          std::tuple{"24050311.203", "03", "02"}})
        ASSERT_TRUE(Database::insertRow(QStringLiteral("M_SRFILE"),
                                        {{QStringLiteral("SRType"), QStringLiteral("S")},
                                         {QStringLiteral("FileName"), QString::fromLatin1(file)},
                                         {QStringLiteral("YearMon"), QStringLiteral("2405")},
                                         {QStringLiteral("SeqNo"), QString::fromLatin1(seq)},
                                         {QStringLiteral("BankCd"), QStringLiteral("11")},
                                         {QStringLiteral("Gcode"), QString::fromLatin1(g)}}));
    const QStringList tables = CollectionRound::roundTables();
    EXPECT_EQ(tables.last(), QStringLiteral("H_200_20240503"));
    o = CollectionRound::openingRound(tables, QStringLiteral("01"));
    EXPECT_EQ(o.yearMon + o.seqNo, QStringLiteral("20240502"));
    EXPECT_EQ(CollectionRound::lastBookedRound(QStringLiteral("202405"), QStringLiteral("02")),
              QStringLiteral("03"));
    EXPECT_TRUE(CollectionRound::roundListed(tables, QStringLiteral("202404"), QStringLiteral("01")));
    EXPECT_FALSE(CollectionRound::roundListed(tables, QStringLiteral("202404"), QStringLiteral("1")));

    for (const auto& [bank, gubun, g] : {std::tuple{"11", "집금", "01"}, std::tuple{"04", "집금", "01"},
                                         std::tuple{"20", "배분", "01"}, std::tuple{"23", "집금", "02"}})
        ASSERT_TRUE(Database::insertRow(QStringLiteral("C_ACCT"),
                                        {{QStringLiteral("BankCd"), QString::fromLatin1(bank)},
                                         {QStringLiteral("Gubun"), QString::fromUtf8(gubun)},
                                         {QStringLiteral("AcctNo"), QStringLiteral("1")},
                                         {QStringLiteral("Gcode"), QString::fromLatin1(g)}}));
    const QStringList banks = CollectionRound::bankEntries(QStringLiteral("01"));
    ASSERT_EQ(banks.size(), 4);
    EXPECT_EQ(banks[0], QStringLiteral("00.모든은행"));
    EXPECT_EQ(banks[1], QStringLiteral("99.은행없음"));
    EXPECT_EQ(banks[2].left(3), QStringLiteral("04."));
    EXPECT_EQ(banks[3].left(3), QStringLiteral("11."));
}

TEST_F(Collection, WaitingFilesByBankFamily) {
    ASSERT_TRUE(Database::insertRow(QStringLiteral("M_SRFILE"),
                                    {{QStringLiteral("SRType"), QStringLiteral("S")},
                                     {QStringLiteral("FileName"), QStringLiteral("24050312.201")},
                                     {QStringLiteral("YearMon"), QStringLiteral("2405")},
                                     {QStringLiteral("SeqNo"), QStringLiteral("03")},
                                     {QStringLiteral("BankCd"), QStringLiteral("12")}}));
    auto waiting = [](const char* bank) {
        return CollectionRound::fileState(QStringLiteral("202405"), QStringLiteral("03"),
                                          QString::fromLatin1(bank))
            .waiting();
    };
    // No account at 10/11/12: no bank condition at all.
    EXPECT_TRUE(waiting("11"));
    EXPECT_FALSE(waiting("04"));
    auto acct = [](const char* bank) {
        ASSERT_TRUE(Database::insertRow(QStringLiteral("C_ACCT"),
                                        {{QStringLiteral("BankCd"), QString::fromLatin1(bank)},
                                         {QStringLiteral("Gubun"), QStringLiteral("집금")},
                                         {QStringLiteral("AcctNo"), QStringLiteral("1")}}));
    };
    acct("11");
    EXPECT_TRUE(waiting("10")); // one family
    acct("12");
    EXPECT_FALSE(waiting("10")); // two families
    EXPECT_TRUE(waiting("12"));
    ASSERT_TRUE(Database::insertRow(QStringLiteral("M_SRFILE"),
                                    {{QStringLiteral("SRType"), QStringLiteral("R")},
                                     {QStringLiteral("FileName"), QStringLiteral("24050312.R01")},
                                     {QStringLiteral("YearMon"), QStringLiteral("2405")},
                                     {QStringLiteral("SeqNo"), QStringLiteral("03")},
                                     {QStringLiteral("BankCd"), QStringLiteral("12")}}));
    EXPECT_FALSE(waiting("12"));
    EXPECT_TRUE(
        CollectionRound::fileState(QStringLiteral("202405"), QStringLiteral("03"), QStringLiteral("12"))
            .receivedBack());
}

TEST_F(Collection, DeletingOneRow) {
    CollectionRound::RowDelete d{
        QStringLiteral("202405"),    QStringLiteral("03"),     QStringLiteral("30101"),  QStringLiteral("02"),
        QStringLiteral("학생30101"), QStringLiteral("급식비"), QStringLiteral("01.기본")};
    // A transferred row may go.
    EXPECT_EQ(CollectionRound::deleteRow(d), CollectionRound::DeleteResult::Deleted);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from H_200_20240503 where SNo = '30101'")), 1);
    EXPECT_EQ(column(QStringLiteral("select JobLog from L_Log_202603")),
              QStringList{QStringLiteral(
                  "[학생삭제] 항목그룹 : 01.기본, 회차:202405-03, 학번:30101, 성명:학생30101, 항목:급식비")});
    // Not found again: nothing is logged.
    EXPECT_EQ(CollectionRound::deleteRow(d), CollectionRound::DeleteResult::NotFound);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from L_Log_202603")), 1);
}

TEST_F(Collection, ProcDateSpan) {
    const CollectionRound::DateSpan s =
        CollectionRound::procDateSpan(QStringLiteral("202405"), QStringLiteral("03"));
    EXPECT_EQ(s.first, QStringLiteral("00000000"));
    EXPECT_EQ(s.last, QStringLiteral("20240512"));
}

// ---- adding a student

class AddStudent : public Collection {
protected:
    void SetUp() override {
        Collection::SetUp();
        item("A5", "01", "05", "체험", 30000);
        item("A6", "01", "06", "앨범", 40000);
        cust("C9", "30201", "1", "04", "555", "1");
        cust("C10", "30202", "0", "04", "666", "1"); // transferred out
        for (const auto& [it, val, free] : {std::tuple{"A1", 100000, "A"}, std::tuple{"A2", 0, "A"},
                                            std::tuple{"A5", 0, "P"}, std::tuple{"A6", 15000, "P"}})
            ASSERT_TRUE(Database::insertRow(QStringLiteral("M_EXEMP"),
                                            {{QStringLiteral("CustNo"), QStringLiteral("C9")},
                                             {QStringLiteral("ItemCd"), QString::fromLatin1(it)},
                                             {QStringLiteral("Itemval"), val},
                                             {QStringLiteral("Free"), QString::fromLatin1(free)}}));
    }
    QString row(const char* sno, const char* item) {
        return column(
                   QStringLiteral("select ExempTy || '|' || Amt || '|' || BankCd || '|' || AcctNo || '|' || "
                                  "ReplyTy || '|' || CustNo || '|' || Gcode || '|' || ifnull(ProcDt, '') "
                                  "from H_200_20240503 where SNo = ? and ItemCd = ?"),
                   {QString::fromLatin1(sno), QString::fromLatin1(item)})
            .value(0);
    }
};

TEST_F(AddStudent, FindsEnrolledStudentsOnly) {
    const auto s = StudentAdd::findStudent(QStringLiteral("30201"));
    ASSERT_TRUE(s.has_value());
    EXPECT_EQ(s->custNo, QStringLiteral("C9"));
    EXPECT_EQ(s->acctNo, QStringLiteral("555"));
    EXPECT_FALSE(StudentAdd::findStudent(QStringLiteral("30202")).has_value());
    EXPECT_FALSE(StudentAdd::findStudent(QStringLiteral("39999")).has_value());
    EXPECT_EQ(
        StudentAdd::itemsInRound(QStringLiteral("202405"), QStringLiteral("03"), QStringLiteral("30101")),
        (QStringList{QStringLiteral("01"), QStringLiteral("02")}));
}

TEST_F(AddStudent, ExemptionsAndExistingItems) {
    StudentAdd::Request r;
    r.yearMon = QStringLiteral("202405");
    r.seqNo = QStringLiteral("03");
    r.sno = QStringLiteral("30201");
    r.nm = QStringLiteral("새학생");
    r.student = *StudentAdd::findStudent(r.sno);
    r.gcode = QStringLiteral("01");
    r.entries = {QStringLiteral("01.수업료"), QStringLiteral("02.급식비"), QStringLiteral("05.체험"),
                 QStringLiteral("06.앨범"), QStringLiteral("07.없음")};
    StudentAdd::Outcome o = StudentAdd::save(r);
    ASSERT_TRUE(o.ok) << o.error.toStdString();
    ASSERT_EQ(o.added.size(), 5);
    EXPECT_EQ(row("30201", "01"), QStringLiteral("0|0|04|555|0|C9|01|")); // wholly, the full amount exempted
    EXPECT_EQ(row("30201", "02"),
              QStringLiteral("0|50000|04|555|0|C9|01|")); // wholly, nothing exempted: keeps it
    EXPECT_EQ(row("30201", "05"), QStringLiteral("2|30000|04|555|0|C9|01|")); // partly, nothing exempted
    EXPECT_EQ(row("30201", "06"), QStringLiteral("2|25000|04|555|0|C9|01|")); // partly
    EXPECT_EQ(row("30201", "07"), QStringLiteral("1|0|04|555|0|C9|01|"));     // no such item in the group
    EXPECT_EQ(o.added[3].logLine, QStringLiteral("[학생추가]회차:202405-03, 학번:30201, 성명:새학생, "
                                                 "항목:06.앨범, 은행:04, 계좌번호:555, 금액:25000"));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from L_Log_202603 where MenuName = '집금이체'")), 5);

    // Saving again with one more item appends only that one; an exemption
    // above the item's amount leaves nothing to collect, never a negative
    // amount.
    r.entries << QStringLiteral("03.우유");
    ASSERT_TRUE(Database::insertRow(QStringLiteral("M_EXEMP"), {{QStringLiteral("CustNo"), QStringLiteral("C9")},
                                                                {QStringLiteral("ItemCd"), QStringLiteral("A3")},
                                                                {QStringLiteral("Itemval"), 999999},
                                                                {QStringLiteral("Free"), QStringLiteral("P")}}));
    o = StudentAdd::save(r);
    ASSERT_TRUE(o.ok);
    ASSERT_EQ(o.added.size(), 1);
    EXPECT_EQ(o.added[0].itemId, QStringLiteral("03"));
    EXPECT_EQ(row("30201", "03"), QStringLiteral("2|0|04|555|0|C9|01|"));
    EXPECT_EQ(o.skipped.size(), 5);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from H_200_20240503 where SNo = '30201'")), 6);

    // The added rows list with the round: wholly exempt rows with an amount
    // add it to the exempt total.
    CollectionSelection s = sel("04");
    s.fromSNo = s.toSNo = QStringLiteral("30201");
    const CollectionListing l = list(s);
    EXPECT_EQ(l.totals.exempCnt, 2);
    EXPECT_EQ(l.totals.exempAmt, 100000 + 50000);
}

TEST_F(AddStudent, AMissingRoundChangesNothing) {
    StudentAdd::Request r;
    r.yearMon = QStringLiteral("202405");
    r.seqNo = QStringLiteral("09");
    r.sno = QStringLiteral("30201");
    r.entries = {QStringLiteral("01.수업료")};
    EXPECT_FALSE(StudentAdd::save(r).ok);
    EXPECT_FALSE(Database::tableExists(QStringLiteral("H_200_20240509")));
    // A failure inside the save leaves no row and no log line behind.
    r.seqNo = QStringLiteral("03");
    r.student.custNo = QStringLiteral("C9");
    r.entries = {QStringLiteral("05.체험"), QStringLiteral("06.앨범")};
    ASSERT_TRUE(
        Database::exec(QStringLiteral("create trigger no_album before insert on H_200_20240503 "
                                      "when new.ItemCd = '06' begin select raise(abort, 'no'); end")));
    EXPECT_FALSE(StudentAdd::save(r).ok);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from H_200_20240503 where SNo = '30201'")), 0);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from sqlite_master where name = 'L_Log_202603'")) == 0 ||
                  scalar(QStringLiteral("select count(*) from L_Log_202603")) == 0,
              true);
}

TEST_F(AddStudent, AFailedExemptionLookUpSavesNothing) {
    StudentAdd::Request r;
    r.yearMon = QStringLiteral("202405");
    r.seqNo = QStringLiteral("03");
    r.sno = QStringLiteral("30201");
    r.nm = QStringLiteral("새학생");
    r.student = *StudentAdd::findStudent(r.sno);
    r.gcode = QStringLiteral("01");
    r.entries = {QStringLiteral("06.앨범")};
    // The student's partial exemption cannot be read: the row must not go
    // in at the full amount as if there were none.
    ASSERT_TRUE(Database::exec(QStringLiteral("alter table M_EXEMP rename to M_EXEMP_GONE")));
    const StudentAdd::Outcome o = StudentAdd::save(r);
    ASSERT_TRUE(Database::exec(QStringLiteral("alter table M_EXEMP_GONE rename to M_EXEMP")));
    EXPECT_FALSE(o.ok);
    EXPECT_TRUE(o.added.isEmpty());
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from H_200_20240503 where SNo = '30201'")), 0);
}

} // namespace
