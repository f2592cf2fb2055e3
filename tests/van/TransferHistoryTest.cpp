#include "support/TestRoot.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/report/ReportDocument.h"
#include "platform/sheet/SheetReader.h"
#include "platform/ui/Modal.h"
#include "transfers/common/KeyEdit.h"
#include "van/M301B00.h"
#include "van/M302B00.h"
#include "van/RoundTotals.h"
#include "van/TransferHistory.h"

#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimer>

namespace {

using TransferHistory::Selection;

// Round rows: payer, student number, name, item (ItemID), group, amount,
// state, exemption, transfer date, refund.
struct R {
    const char *cust, *sno, *nm, *item, *gcode;
    qint64 amt;
    const char *reply, *exemp, *procDt;
    qint64 reAmt = -1; // -1: no refund value (NULL)
    const char* bank = "04";
};

class HistoryTest : public TestRoot {
protected:
    void SetUp() override {
        TestRoot::SetUp();
        SNoLen = 5;
        for (const auto& [cd, nm] : {std::pair{"1", u"1학년"}, {"2", u"2학년"}, {"A", u"유치원"}})
            Database::insertRow(QStringLiteral("C_SCD"), {{QStringLiteral("SCd"), QString::fromLatin1(cd)},
                                                          {QStringLiteral("SCdNm"), QString::fromUtf16(nm)}});
        // Two groups whose items share the ItemID 01.
        item("05", "01", "01", u"수업료");
        item("06", "01", "02", u"급식비");
        item("11", "02", "01", u"방과후");
        // C2 comes before C1 by payer number, though after it by student number.
        student("C1", "1", "10101", u"김일");
        student("B2", "1", "10102", u"이이");
        student("C3", "1", "10201", u"박삼");
        student("C4", "2", "20101", u"김사");
    }

    static void item(const char* itemCd, const char* gcode, const char* itemId, const char16_t* nm) {
        ASSERT_TRUE(Database::insertRow(QStringLiteral("C_ITEM"),
                                        {{QStringLiteral("ItemCd"), QString::fromLatin1(itemCd)},
                                         {QStringLiteral("ItemNm"), QString::fromUtf16(nm)},
                                         {QStringLiteral("Gcode"), QString::fromLatin1(gcode)},
                                         {QStringLiteral("ItemID"), QString::fromLatin1(itemId)}}));
    }
    static void student(const char* cust, const char* scd, const char* sno, const char16_t* nm) {
        ASSERT_TRUE(Database::insertRow(QStringLiteral("M_CUST"),
                                        {{QStringLiteral("CustNo"), QString::fromLatin1(cust)},
                                         {QStringLiteral("SCd"), QString::fromLatin1(scd)},
                                         {QStringLiteral("SNo"), QString::fromLatin1(sno)},
                                         {QStringLiteral("Nm"), QString::fromUtf16(nm)},
                                         {QStringLiteral("UseTy"), QStringLiteral("1")}}));
    }
    // A collection ("200") or distribution ("300") round.
    static void round(const char* kind, const char* suffix, const QList<R>& rows) {
        const QString s = QString::fromLatin1(suffix);
        const bool coll = QLatin1String(kind) == QLatin1String("200");
        ASSERT_TRUE(coll ? DMData->CreateH200(s) : DMData->CreateH300(s));
        const QString table = QStringLiteral("H_%1_").arg(QLatin1String(kind)) + s;
        for (const R& r : rows) {
            ColumnValues v{{QStringLiteral("YearMon"), s.left(6)},
                           {QStringLiteral("SeqNo"), s.mid(6)},
                           {QStringLiteral("CustNo"), QString::fromLatin1(r.cust)},
                           {QStringLiteral("SNo"), QString::fromLatin1(r.sno)},
                           {QStringLiteral("SCd"), QString::fromLatin1(r.sno).left(1)},
                           {QStringLiteral("Nm"), QString::fromUtf8(r.nm)},
                           {QStringLiteral("ItemCd"), QString::fromLatin1(r.item)},
                           {QStringLiteral("Gcode"), QString::fromLatin1(r.gcode)},
                           {QStringLiteral("BankCd"), QString::fromLatin1(r.bank)},
                           {QStringLiteral("AcctNo"), QStringLiteral("111-222")},
                           {QStringLiteral("Amt"), r.amt},
                           {QStringLiteral("ReplyTy"), QString::fromLatin1(r.reply)},
                           {QStringLiteral("ExempTy"), QString::fromLatin1(r.exemp)},
                           {QStringLiteral("ProcDt"), QString::fromLatin1(r.procDt)}};
            if (coll && r.reAmt >= 0) v.append({QStringLiteral("REAmt"), r.reAmt});
            if (coll && r.reAmt >= 0) v.append({QStringLiteral("ReDt"), QStringLiteral("20260410")});
            ASSERT_TRUE(Database::insertRow(table, v));
        }
    }

    // A student's rounds: two collection rounds of March and April, a
    // distribution round of March, and a round of May outside most spans.
    void history() {
        round("200", "20260301",
              {{"C1", "10101", "김일", "01", "01", 300000, "1", "1", "20260325"},
               {"C1", "10101", "김일", "02", "01", 50000, "3", "1", "20260325", 20000},
               {"B2", "10102", "이이", "01", "01", 300000, "0", "1", ""},
               {"C3", "10201", "박삼", "01", "01", 300000, "0", "0", ""}});
        round("200", "20260401",
              {{"C1", "10101", "김일", "01", "02", 80000, "3", "1", "20260424", 80000},
               {"C1", "10101", "김일", "02", "01", 50000, "2", "2", "20260420"}});
        round("200", "20260501", {{"C1", "10101", "김일", "01", "01", 300000, "0", "1", ""}});
        round("300", "20260301",
              {{"C1", "10101", "김일", "01", "01", 70000, "1", "1", "20260330"},
               {"C1", "10101", "김일", "02", "01", 10000, "0", "1", ""}});
    }

    static Selection sel(const char* hak, const char* ban = "", const char* bun = "") {
        Selection s;
        s.yearFrom = QStringLiteral("2026-03");
        s.yearTo = QStringLiteral("2026-04");
        s.hak = QString::fromLatin1(hak);
        s.ban = QString::fromLatin1(ban);
        s.bun = QString::fromLatin1(bun);
        return s;
    }

    static QStringList brief(const TransferHistory::Result& r) {
        QStringList out;
        for (const QStringList& c : r.rows)
            out << QStringList{c[0], c[2], c[3], c[4].trimmed(), c[7], c[8], c[10], c[12]}.join(
                QLatin1Char('|'));
        return out;
    }
};

TEST_F(HistoryTest, StudentAcrossCollectionAndDistributionRounds) {
    history();
    TransferHistory::Result r;
    QString err;
    ASSERT_TRUE(TransferHistory::search(sel("1", "01", "01"), &r, &err)) << err.toStdString();
    EXPECT_EQ(r.snoCondition, QStringLiteral("10101"));
    EXPECT_EQ(r.tables, 3); // May lies outside the span
    // Collection rounds first, each newest-first within; then distribution
    // rows without item name and refunds. The item of group 02 keeps its
    // own name though it shares the ItemID.
    EXPECT_EQ(
        brief(r),
        (QStringList{"10101|집금|2026/03|1|수업료|300000|1|", "10101|집금|2026/03|1|급식비|50000|3|20000",
                     "10101|집금|2026/04|1|방과후|80000|3|80000", "10101|집금|2026/04|1|급식비|50000|2|",
                     "10101|배분|2026/03|1||70000|1|", "10101|배분|2026/03|1||10000|0|"}));
    const QStringList& first = r.rows.first();
    EXPECT_EQ(first[TransferHistory::ColSeqNo], QStringLiteral("  1"));
    EXPECT_EQ(first[TransferHistory::ColProcDt], QStringLiteral("2026.03.25"));
    EXPECT_EQ(first[TransferHistory::ColReDt], QStringLiteral("    .  .  ")); // no refund date
    EXPECT_EQ(r.rows.last()[TransferHistory::ColProcDt], QStringLiteral("    .  .  "));
    EXPECT_EQ(r.rows.last()[TransferHistory::ColReDt], QString());

    // Done: 300,000 + (50,000 - 20,000) + 50,000 in cash; refund 80,000 in
    // full; partial 20,000; distribution 70,000 done and 10,000 not.
    EXPECT_EQ(r.totals.values(),
              (QList<qint64>{3, 380000, 0, 0, 1, 70000, 1, 10000, 0, 0, 1, 80000, 1, 20000}));

    // The print and the workbook carry the same rows.
    QStringList panels;
    for (qint64 v : r.totals.values())
        panels << TransferHistory::panelText(v);
    const ReportDocument doc = TransferHistory::print(
        r.rows, panels, TransferHistory::conditionText(sel("1", "01", "01"), r.snoCondition));
    EXPECT_TRUE(doc.setup.landscape);
    const QString dump = doc.dump();
    for (const char16_t* t :
         {u"학생별이체현황", u"작성년월: 2026-03 ~ 2026-04학번: 10101, 성명:  으로 조회한 결과.", u"환불처리",
          u"현금수납", u"380,000", u"부분환불금액:"})
        EXPECT_TRUE(dump.contains(QString::fromUtf16(t))) << QString::fromUtf16(t).toStdString();

    const QString file = path(QStringLiteral("학생별이체현황.xlsx"));
    ASSERT_TRUE(TransferHistory::exportTo(r.rows, file, &err)) << err.toStdString();
    const auto sheet = SheetReader::read(file);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->rowCount(), 7);
    EXPECT_EQ(sheet->text(1, 14), QStringLiteral("환불일"));
    EXPECT_EQ(sheet->text(2, 4), QStringLiteral("2026/03"));
    EXPECT_EQ(sheet->text(2, 7), QStringLiteral("111-222"));
    EXPECT_EQ(sheet->text(2, 9), QStringLiteral("300000"));
    EXPECT_EQ(sheet->text(2, 10), QStringLiteral("X"));
    EXPECT_EQ(sheet->text(5, 10), QStringLiteral("2")); // partly exempt shows its code on paper and sheet
    EXPECT_EQ(sheet->text(5, 11), QStringLiteral("현금수납"));
}

TEST_F(HistoryTest, StudentSelectionsAndFilters) {
    history();
    struct Case {
        const char* name;
        Selection s;
        QStringList expect; // "SNo|YearMon|ItemNm"
    };
    auto with = [](Selection s, auto f) {
        f(s);
        return s;
    };
    const QList<Case> cases = {
        // A class: by round, then payer number (B2 before C1).
        {"class",
         sel("1", "01"),
         {"10102|2026/03|수업료", "10101|2026/03|수업료", "10101|2026/03|급식비", "10101|2026/04|방과후",
          "10101|2026/04|급식비", "10101|2026/03|", "10101|2026/03|"}},
        {"not done",
         with(sel("1"), [](Selection& s) { s.state = 2; }),
         {"10102|2026/03|수업료", "10201|2026/03|수업료", "10101|2026/03|"}},
        {"items of group 01",
         with(sel("1", "01", "01"),
              [](Selection& s) {
                  s.gcode = QStringLiteral("01");
                  s.itemIds = {QStringLiteral("01.수업료")};
              }),
         {"10101|2026/03|수업료", "10101|2026/03|"}},
        {"dates",
         with(sel("1", "01", "01"),
              [](Selection& s) {
                  s.dateFrom = QStringLiteral("20260325");
                  s.dateTo = QStringLiteral("20260329");
              }),
         {"10101|2026/03|수업료", "10101|2026/03|급식비"}},
        {"last month before the first",
         with(sel("1", "01", "01"), [](Selection& s) { s.yearTo = QStringLiteral("2026-02"); }),
         {}},
        {"name",
         with(Selection{},
              [](Selection& s) {
                  s.yearFrom = QStringLiteral("2026-05");
                  s.yearTo = QStringLiteral("2026-05");
                  s.byName = true;
                  s.name = QStringLiteral(" 김 ");
              }),
         {"10101|2026/05|수업료"}},
        // A name is taken as typed, never as a pattern.
        {"wildcard name",
         with(sel("1"),
              [](Selection& s) {
                  s.byName = true;
                  s.name = QStringLiteral("%");
              }),
         {}},
    };
    for (const Case& c : cases) {
        TransferHistory::Result r;
        QString err;
        ASSERT_TRUE(TransferHistory::search(c.s, &r, &err)) << c.name << err.toStdString();
        QStringList got;
        for (const QStringList& row : r.rows)
            got << row[0] + QLatin1Char('|') + row[3] + QLatin1Char('|') + row[7];
        QStringList want;
        for (const QString& e : c.expect)
            want << e;
        EXPECT_EQ(got, want) << c.name;
    }
}

TEST_F(HistoryTest, InputChecksAndMonthLists) {
    round("200", "20260301", {});
    round("200", "20260302", {});
    round("200", "20260501", {});
    round("300", "20260601", {}); // distribution rounds make no month
    EXPECT_EQ(TransferHistory::yearMons(),
              (QStringList{QStringLiteral("2026-05"), QStringLiteral("2026-03")}));
    EXPECT_EQ(TransferHistory::yearMonsFrom(TransferHistory::yearMons(), QStringLiteral("2026-03")),
              (QStringList{QStringLiteral("2026-03"), QStringLiteral("2026-05")}));

    const auto bad = TransferHistory::check(sel("", "01"));
    ASSERT_TRUE(bad);
    EXPECT_EQ(bad->caption, QStringLiteral("학번입력 오류"));
    Selection byName;
    byName.byName = true;
    byName.name = QStringLiteral("  ");
    ASSERT_TRUE(TransferHistory::check(byName));
    EXPECT_EQ(TransferHistory::check(byName)->text, QStringLiteral("성명을 1자 이상 입력하세요."));
    EXPECT_FALSE(TransferHistory::check(sel("1", "01", "01")));
    EXPECT_TRUE(TransferHistory::broad(sel("1", "01")));
    EXPECT_FALSE(TransferHistory::broad(sel("1", "01", "01")));
}

// ---- round totals

class TotalsTest : public HistoryTest {
protected:
    static RoundTotals::Selection tsel(const char* grade = "00") {
        RoundTotals::Selection s;
        s.yearMon = QStringLiteral("202603");
        s.seqNo = QStringLiteral("01");
        s.grade = QString::fromLatin1(grade);
        return s;
    }
    static QStringList run(const RoundTotals::Selection& s, QStringList* total = nullptr) {
        RoundTotals::Result r;
        QString err;
        EXPECT_TRUE(RoundTotals::run(s, RoundTotals::gradeEntries(), &r, &err)) << err.toStdString();
        QStringList out;
        for (const RoundTotals::Line& l : r.lines) {
            QStringList c = RoundTotals::cells(l);
            for (QString& v : c)
                v = v.trimmed();
            out << c.join(QLatin1Char(' '));
        }
        if (total) *total = RoundTotals::totalTexts(r.total);
        return out;
    }
};

TEST_F(TotalsTest, SumsPastTwoBillionWonAndTextGradeCodes) {
    // 1.5 billion won twice in grade 1 alone: past 2,147,483,647.
    round("200", "20260301",
          {{"C1", "10101", "김일", "01", "01", 1500000000, "1", "1", "20260325"},
           {"B2", "10102", "이이", "01", "01", 1500000000, "2", "1", "20260325", -1, "11"},
           {"C3", "10201", "박삼", "01", "01", 300000, "3", "1", "20260325", 100000, "12"},
           {"C3", "10201", "박삼", "02", "01", 50000, "3", "1", "20260325", 50000},
           {"C4", "20101", "김사", "01", "01", 300000, "0", "0", ""},
           {"C9", "20102", "정오", "01", "01", 300000, "0", "1", ""},
           // A grade code that is no number (the kindergarten's "A").
           {"K1", "A0101", "유아", "01", "01", 200000, "1", "1", "20260325", -1, "10"}});
    QStringList total;
    // 학년, 처리, 미처리, 면제, 환불, 부분환불, 소계, then the amounts.
    EXPECT_EQ(run(tsel(), &total),
              (QStringList{"1 3 0 0 1 1 4 3,000,200,000 0 0 50,000 100,000 3,000,350,000",
                           "2 0 1 1 0 0 2 0 300,000 300,000 0 0 600,000",
                           "A 1 0 0 0 0 1 200,000 0 0 0 0 200,000"}));
    EXPECT_EQ(total, (QStringList{"4", "1", "1", "1", "1", "7", "3,000,400,000", "300,000", "300,000",
                                  "50,000", "100,000", "3,001,150,000"}));

    // One grade: a line per class.
    EXPECT_EQ(run(tsel("1")), (QStringList{"01 반 2 0 0 0 0 2 3,000,000,000 0 0 0 0 3,000,000,000",
                                           "02 반 1 0 0 1 1 2 200,000 0 0 50,000 100,000 350,000"}));
    EXPECT_EQ(run(tsel("A")), (QStringList{"01 반 1 0 0 0 0 1 200,000 0 0 0 0 200,000"}));
    // A grade without rows: no line and zero totals.
    EXPECT_EQ(run(tsel("2"), &total).size(), 1);
    EXPECT_EQ(run(tsel("3"), &total), QStringList());
    EXPECT_EQ(total.last(), QStringLiteral("0"));

    // Bank 11 takes the family 10, 11 and 12; a transfer date one day.
    RoundTotals::Selection s = tsel();
    s.bank = QStringLiteral("11");
    EXPECT_EQ(run(s, &total).size(), 3);
    EXPECT_EQ(total.last(), QStringLiteral("1,500,500,000"));
    s = tsel();
    s.item = QStringLiteral("02");
    run(s, &total);
    EXPECT_EQ(total.last(), QStringLiteral("50,000"));
    s = tsel();
    s.date = QStringLiteral("20260325");
    run(s, &total);
    EXPECT_EQ(total.value(5), QStringLiteral("5"));

    RoundTotals::PrintCondition c{QStringLiteral("00.모든은행"), QStringLiteral("00.모든항목"),
                                  QStringLiteral("202603"), QStringLiteral("00.전학년"),
                                  QStringLiteral("01")};
    RoundTotals::Result r;
    QString err;
    ASSERT_TRUE(RoundTotals::run(tsel(), RoundTotals::gradeEntries(), &r, &err));
    const QString dump = RoundTotals::print(r, c).dump();
    for (const char* t : {"학생자료집계", "2026/03", "총계", "3,001,150,000", "부분환불"})
        EXPECT_TRUE(dump.contains(QString::fromUtf8(t))) << t;
}

TEST_F(TotalsTest, DistributionRoundAndMissingRound) {
    round("300", "20260301",
          {{"C1", "10101", "김일", "01", "01", 70000, "1", "1", "20260330"},
           {"B2", "10102", "이이", "01", "01", 30000, "3", "1", "20260330"},
           {"C3", "10201", "박삼", "01", "01", 10000, "0", "1", ""}});
    RoundTotals::Selection s = tsel("1");
    s.kind = RoundTotals::Kind::Distribution;
    EXPECT_EQ(run(s), (QStringList{"01 반 2 0 0 0 0 2 100,000 0 0 0 0 100,000",
                                   "02 반 0 1 0 0 0 1 0 10,000 0 0 0 10,000"}));

    s.kind = RoundTotals::Kind::Collection;
    RoundTotals::Result r;
    QString err;
    EXPECT_FALSE(RoundTotals::run(s, RoundTotals::gradeEntries(), &r, &err));
    EXPECT_FALSE(err.isEmpty());
}

// ---- the windows

TEST_F(TotalsTest, WindowsSearchPrintAndSum) {
    history();
    int previews = 0;
    Modal::setRunner([&](QDialog*) {
        ++previews;
        return int(QDialog::Rejected);
    });
    {
        TFrmM301B00 w;
        EXPECT_EQ(w.cboYearF->count(), 3); // 2026-05, 04, 03
        w.cboYearF->setCurrentIndex(2);
        w.cboYearFClick();
        EXPECT_EQ(w.cboYearT->itemText(0), QStringLiteral("2026-03"));
        w.cboYearT->setCurrentIndex(1); // 2026-04
        w.SHakEdit->setText(QStringLiteral("1"));
        w.SBanEdit->setText(QStringLiteral("01"));
        w.SBunEdit->setText(QStringLiteral("01"));
        w.bbtnSearchClick();
        EXPECT_EQ(w.SGrdStudentShft->rowCount(), 6);
        EXPECT_TRUE(w.bbtnPrint->isEnabled());
        EXPECT_EQ(w.panels[1]->text(), QStringLiteral("380,000"));
        // The cell keeps the stored code; only the drawing decorates it.
        EXPECT_EQ(w.SGrdStudentShft->item(1, TransferHistory::ColReply)->text(), QStringLiteral("3"));
        w.bbtnPrintClick();
        EXPECT_EQ(previews, 1);
        answerFiles({path(QStringLiteral("w.xlsx"))});
        msg.expect(MsgResult::Ok);
        w.BBtnExcelClick();
        EXPECT_EQ(msg.shown().last().text, QStringLiteral("엑셀화일을 생성하였습니다!"));
        EXPECT_TRUE(QFile::exists(path(QStringLiteral("w.xlsx"))));

        // Name mode with nothing found: the box, print off.
        w.rbName->setChecked(true);
        w.rbHakBunClick();
        w.sleName->setText(QStringLiteral("없는"));
        msg.expect(MsgResult::Ok);
        w.bbtnSearchClick();
        EXPECT_EQ(msg.shown().last().text, QStringLiteral("해당되는 자료가 없습니다."));
        EXPECT_FALSE(w.bbtnPrint->isEnabled());
    }
    {
        TFrmM302B00 w;
        msg.expect(MsgResult::Ok);
        w.bbtnShftDateViewClick();
        EXPECT_EQ(msg.shown().last().text, RoundTotals::kMissingRound);
        w.MEdtYearMon->setText(QStringLiteral("202603"));
        w.MEdtSeqNo->setText(QStringLiteral("01"));
        w.bbtnShftDateViewClick();
        EXPECT_TRUE(w.TimeShow->isActive());
        w.TimeShowTimer();
        EXPECT_EQ(w.SGrdSum->rowCount(), 3);
        EXPECT_EQ(w.SGrdSum->item(0, 0)->text(), QStringLiteral("1"));
        EXPECT_EQ(w.totals[5]->text(), QStringLiteral("4"));
        w.cbYearStudt->setCurrentIndex(1);
        w.TimeShowTimer();
        EXPECT_EQ(w.PnlSelectTxt->text(), QStringLiteral("반"));
        EXPECT_EQ(w.SGrdSum->item(0, 0)->text(), QStringLiteral("01 반"));
        w.BbtnPrintClick();
        EXPECT_EQ(previews, 2);
    }
    Modal::setRunner({});
}

// ---- the driver's commands

class HistoryDriver : public TotalsTest {
protected:
    QList<QJsonObject> drive(const QStringList& args, int* rc, const QString& answers = QString()) {
        stopServices();
        QStringList pre{QStringLiteral("--root"), root(), QStringLiteral("--today"),
                        QStringLiteral("20260316")};
        if (!answers.isEmpty()) pre << QStringLiteral("--answers") << answers;
        QProcess p;
        p.start(QStringLiteral(ZQ_DRIVER_PATH), pre + args);
        EXPECT_TRUE(p.waitForFinished(60000));
        *rc = p.exitCode();
        QList<QJsonObject> out;
        for (const QByteArray& l : p.readAllStandardOutput().split('\n'))
            if (!l.trimmed().isEmpty()) out << QJsonDocument::fromJson(l).object();
        startServices();
        return out;
    }
    QString dumpOf(const QString& file) {
        QFile d(file);
        EXPECT_TRUE(d.open(QIODevice::ReadOnly));
        return QString::fromUtf8(d.readAll());
    }
};

TEST_F(HistoryDriver, HistoryTotalsPrintsAndWorkbook) {
    history();
    int rc = -1;
    auto out = drive({"history", "2026-03", "202604", "--sno", "1,01,01"}, &rc);
    EXPECT_EQ(rc, 0);
    ASSERT_EQ(out.size(), 7);
    EXPECT_EQ(out[0].value("row").toArray().at(2).toString(), QStringLiteral("집금"));
    EXPECT_EQ(out[5].value("row").toArray().at(2).toString(), QStringLiteral("배분"));
    EXPECT_EQ(out[6].value("totals").toArray().at(1).toString(), QStringLiteral("380,000"));

    // A broad search asks first; No stops it.
    out = drive({"history", "2026-03", "2026-04", "--sno", "1"}, &rc, QStringLiteral("no"));
    EXPECT_EQ(rc, 1);
    ASSERT_EQ(out.size(), 1);
    EXPECT_EQ(out[0].value("text").toString(), TransferHistory::kBroadQuestion);
    out = drive({"history", "2026-03", "2026-04", "--name", "없는"}, &rc);
    EXPECT_EQ(out[0].value("text").toString(), QStringLiteral("해당되는 자료가 없습니다."));
    EXPECT_EQ(out[0].value("box").toString(), QStringLiteral("학생별이체자료"));

    const QString dump = path(QStringLiteral("history.txt"));
    out = drive({"print", "history", "2026-03", "2026-04", "--sno", "1,01,01", "--dump", dump}, &rc);
    EXPECT_EQ(rc, 0);
    EXPECT_TRUE(dumpOf(dump).contains(QStringLiteral("학생별이체현황")));

    const QString book = path(QStringLiteral("out.xlsx"));
    out = drive({"export", "history", book, "2026-03", "2026-04", "--sno", "1,01,01"}, &rc);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(out.last().value("rows").toInt(), 6);
    EXPECT_TRUE(QFile::exists(book));

    out = drive({"totals", "collection", "--round", "202603-01"}, &rc);
    EXPECT_EQ(rc, 0);
    ASSERT_EQ(out.size(), 4); // grades 1, 2 and A, then the total
    EXPECT_EQ(out[3].value("total").toArray().at(5).toString(), QStringLiteral("4"));
    out = drive({"totals", "collection", "--round", "202603-09"}, &rc);
    EXPECT_EQ(rc, 1);
    EXPECT_EQ(out[0].value("box").toString(), QStringLiteral("오류"));
    out =
        drive({"print", "totals", "collection", "--round", "202603-01", "--grade", "1", "--dump", dump}, &rc);
    EXPECT_EQ(rc, 0);
    const QString t = dumpOf(dump);
    EXPECT_TRUE(t.contains(QStringLiteral("학생자료집계")));
    EXPECT_TRUE(t.contains(QStringLiteral("1.1학년")));
    EXPECT_TRUE(t.contains(QStringLiteral("01 반")));
}

} // namespace
