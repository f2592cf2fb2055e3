#include "data/DMMain.h"
#include "platform/db/Database.h"
#include "platform/sys/Clock.h"
#include "students/F201B00.h"
#include "students/PurgeActions.h"
#include "students/StudentStore.h"
#include "support/TestRoot.h"

#include <QButtonGroup>
#include <QEvent>
#include <QPushButton>
#include <QRadioButton>

namespace {

// Notes that a widget was shown.
struct ShowWatch : QObject {
    bool shown = false;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Show) shown = true;
        return false;
    }
};

class Purge : public TestRoot {
protected:
    // A student with every roster column filled (UseTy as given).
    static void addStudent(const QString& custNo, const QString& sNo, const QString& nm, const QString& useTy) {
        ColumnValues v;
        const QStringList cols = Database::columns(QStringLiteral("M_CUST"));
        for (const QString& c : cols) v.append({c, QStringLiteral("x")});
        const auto set = [&v](const char* c, const QString& val) {
            for (auto& p : v)
                if (p.first == QLatin1String(c)) p.second = val;
        };
        set("CustNo", custNo);
        set("SCd", sNo.left(1));
        set("SNo", sNo);
        set("Nm", nm);
        set("UseTy", useTy);
        set("Owr", QStringLiteral("O'Neil \"부\""));
        set("MTelNo", QStringLiteral("010-1234-5678"));
        set("smsYN", QStringLiteral("1"));
        set("Ju_No_Stud", QStringLiteral("1501013123456"));
        set("AcctRegYn_1", QStringLiteral("Y"));
        set("AcctRegDt", QStringLiteral("20250302"));
        ASSERT_TRUE(Database::insertRow(QStringLiteral("M_CUST"), v));
    }

    // Every column of every student, one text per student.
    static QStringList roster() {
        return column(QStringLiteral("SELECT CustNo || '|' || SCd || '|' || SNo || '|' || Nm || '|' || Sex || '|' || "
                                     "BankCd || '|' || AcctNo || '|' || Owr || '|' || UseTy || '|' || InDate || "
                                     "'|' || OutDate || '|' || Ju_No || '|' || AcctRegYn_1 || '|' || AcctRegYn_2 || "
                                     "'|' || AcctRegDt || '|' || MTelNo || '|' || smsYN || '|' || Ju_No_Stud "
                                     "FROM M_CUST ORDER BY CustNo"));
    }

    void threeOut() {
        addStudent(QStringLiteral("0800000001"), QStringLiteral("10101"), QStringLiteral("김'철수"),
                   QStringLiteral("0"));
        addStudent(QStringLiteral("0800000002"), QStringLiteral("10102"), QStringLiteral("재학생"),
                   QStringLiteral("1"));
        addStudent(QStringLiteral("0800000003"), QStringLiteral("20301"), QStringLiteral("이영희"),
                   QStringLiteral("0"));
    }
};

TEST_F(Purge, PurgeThenRestoreGivesBackEveryColumn) {
    threeOut();
    const QStringList before = roster();
    ASSERT_EQ(before.size(), 3);

    msg.expect({MsgResult::Yes, MsgResult::Ok});
    const PurgeResult p = PurgeActions::outDel(QStringLiteral("학생명부"), nullptr);
    EXPECT_EQ(p.outcome, PurgeResult::Outcome::Done);
    EXPECT_EQ(msg.texts().last(), QStringLiteral("2건이 삭제되었습니다."));
    EXPECT_EQ(column(QStringLiteral("SELECT CustNo FROM M_CUST")), QStringList{QStringLiteral("0800000002")});
    EXPECT_EQ(column(QStringLiteral("SELECT DISTINCT v_x00d FROM D_CUST")), QStringList{QStringLiteral("2026-03-16")});
    EXPECT_EQ(column(QStringLiteral("SELECT JobLog FROM L_Log_202603 WHERE MenuName = '전출생일괄삭제'")),
              QStringList{QStringLiteral("10101김'철수,20301이영희,")});

    msg.clear();
    msg.expect({MsgResult::Yes, MsgResult::Ok});
    const PurgeResult r = PurgeActions::dCancel(QStringLiteral("학생명부"), nullptr);
    EXPECT_EQ(r.outcome, PurgeResult::Outcome::Done);
    EXPECT_EQ(msg.texts(), (QStringList{QStringLiteral("최근(2026-03-16)에 삭제한 전출생을 복원하시겠습니까?"),
                                        QStringLiteral("2건이 복원되었습니다.")}));
    EXPECT_EQ(roster(), before);
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM D_CUST")), 0);

    // Nothing left to restore, nothing left to purge.
    msg.clear();
    msg.expect(MsgResult::Ok);
    EXPECT_EQ(PurgeActions::dCancel(QStringLiteral("학생명부"), nullptr).outcome, PurgeResult::Outcome::Nothing);
    EXPECT_EQ(msg.texts(), QStringList{QStringLiteral("삭제된 데이타가 없습니다.")});
    ASSERT_TRUE(Database::exec(QStringLiteral("UPDATE M_CUST SET UseTy = '1'")));
    msg.clear();
    msg.expect({MsgResult::Yes, MsgResult::Ok});
    EXPECT_EQ(PurgeActions::outDel(QStringLiteral("학생명부"), nullptr).outcome, PurgeResult::Outcome::Nothing);
    EXPECT_EQ(msg.texts().last(), QStringLiteral("해당되는 자료가 없습니다."));
}

// The window's runs end in order: when the closing box appears the
// progress panel is gone, the list shows the students as they are now and
// the job-log row is written.
TEST_F(Purge, TheWindowsClosingBoxComesLast) {
    threeOut();
    TFrmF201B00 w;
    w.show();
    w.RGrpUse->button(2)->setChecked(true);
    w.RGrpUseClick();
    ASSERT_EQ(w.grid->students(), 2);
    const struct {
        const char* run;
        void (TFrmF201B00::*click)();
        const char* closing;
        const char16_t* menu;
        int listed; // transferred-out students listed afterwards
    } runs[] = {
        {"purge", &TFrmF201B00::cmdOutDelClick, "2건이 삭제되었습니다.", PurgeStore::kPurgeMenu, 0},
        {"restore", &TFrmF201B00::cmdDCancelClick, "2건이 복원되었습니다.", PurgeStore::kRestoreMenu, 2},
    };
    for (const auto& r : runs) {
        SCOPED_TRACE(r.run);
        msg.clear();
        msg.expect({MsgResult::Yes, MsgResult::Ok});
        ShowWatch panel;
        w.pnProgress->installEventFilter(&panel);
        int closings = 0;
        msg.onShow([&](const MsgBox& b) {
            if (b.text != QString::fromUtf8(r.closing)) return;
            ++closings;
            EXPECT_TRUE(w.pnProgress->isHidden());
            EXPECT_EQ(w.grid->students(), r.listed);
            EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM L_Log_202603 WHERE MenuName = ?"),
                             {QString::fromUtf16(r.menu)}),
                      1);
        });
        (w.*r.click)();
        EXPECT_EQ(closings, 1) << msg.texts().join(QLatin1Char('|')).toStdString();
        EXPECT_TRUE(panel.shown) << "the panel stood while the students were copied";
        w.pnProgress->removeEventFilter(&panel);
    }
}

TEST_F(Purge, BatchesRestoreNewestFirst) {
    addStudent(QStringLiteral("0800000001"), QStringLiteral("10101"), QStringLiteral("첫째"), QStringLiteral("0"));
    ASSERT_EQ(PurgeStore::purge().count, 1);
    Clock::set(fixedNow().addDays(3));
    addStudent(QStringLiteral("0800000002"), QStringLiteral("10102"), QStringLiteral("둘째"), QStringLiteral("0"));
    ASSERT_EQ(PurgeStore::purge().count, 1);

    EXPECT_EQ(PurgeStore::latestBatch(), QStringLiteral("2026-03-19"));
    EXPECT_EQ(PurgeStore::restore(PurgeStore::latestBatch()).count, 1);
    EXPECT_EQ(column(QStringLiteral("SELECT Nm FROM M_CUST")), QStringList{QStringLiteral("둘째")});
    EXPECT_EQ(PurgeStore::latestBatch(), QStringLiteral("2026-03-16"));
}

TEST_F(Purge, AFailureHalfWayChangesNothing) {
    threeOut();
    const QStringList before = roster();
    const qint64 logs = scalar(QStringLiteral("SELECT count(*) FROM L_Log_202603"));
    ASSERT_TRUE(PurgeStore::ensureArchive());
    // The second student's copy fails.
    ASSERT_TRUE(Database::exec(QStringLiteral("CREATE TRIGGER no_copy BEFORE INSERT ON D_CUST "
                                              "WHEN new.CustNo = '0800000003' BEGIN SELECT raise(abort, 'no'); END")));
    msg.expect({MsgResult::Yes, MsgResult::Ok});
    EXPECT_EQ(PurgeActions::outDel(QStringLiteral("학생명부"), nullptr).outcome, PurgeResult::Outcome::Failed);
    EXPECT_EQ(msg.shown().last().icon, MsgIcon::Error);
    EXPECT_EQ(roster(), before);
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM D_CUST")), 0);
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM L_Log_202603")), logs);

    // The same for a restore whose second student cannot go back.
    ASSERT_TRUE(Database::exec(QStringLiteral("DROP TRIGGER no_copy")));
    ASSERT_EQ(PurgeStore::purge().count, 2);
    const QStringList purged = roster();
    const QStringList archive = column(QStringLiteral("SELECT CustNo || v_x00d || Nm FROM D_CUST ORDER BY CustNo"));
    ASSERT_TRUE(Database::exec(QStringLiteral("CREATE TRIGGER no_back BEFORE INSERT ON M_CUST "
                                              "WHEN new.CustNo = '0800000003' BEGIN SELECT raise(abort, 'no'); END")));
    EXPECT_EQ(PurgeStore::restore(QStringLiteral("2026-03-16")).outcome, PurgeResult::Outcome::Failed);
    EXPECT_EQ(roster(), purged);
    EXPECT_EQ(column(QStringLiteral("SELECT CustNo || v_x00d || Nm FROM D_CUST ORDER BY CustNo")), archive);
}

TEST_F(Purge, PurgedPayerNumbersAreNotGivenAgain) {
    StudentEntry e;
    e.gradeCode = QStringLiteral("1");
    e.classNo = QStringLiteral("0101");
    e.name = QStringLiteral("전출");
    e.sexText = QStringLiteral("1.남자");
    e.bankText = QStringLiteral("99.은행없음");
    e.smsText = QStringLiteral("2.거부");
    e.outDate = QStringLiteral("20260310");
    const StoreResult s = StudentStore::save(e, {}, {[](const StoreBox&) { return true; }, {}});
    ASSERT_TRUE(s.stored);
    ASSERT_TRUE(Database::exec(QStringLiteral("UPDATE M_CUST SET UseTy = '0'")));
    ASSERT_EQ(PurgeStore::purge().count, 1);
    // Even without the record of given numbers, the archive keeps it taken.
    ASSERT_TRUE(Database::exec(QStringLiteral("DELETE FROM M_CUSTSEQ")));
    EXPECT_GT(StudentStore::sNewCustNo(), s.custNo);
}

TEST_F(Purge, RestoredNumberHeldByAnotherIsNamed) {
    addStudent(QStringLiteral("0800000001"), QStringLiteral("10101"), QStringLiteral("떠난이"), QStringLiteral("0"));
    ASSERT_EQ(PurgeStore::purge().count, 1);
    addStudent(QStringLiteral("0800000009"), QStringLiteral("10101"), QStringLiteral("새학생"), QStringLiteral("1"));
    msg.expect({MsgResult::Yes, MsgResult::Ok, MsgResult::Ok});
    const PurgeResult r = PurgeActions::dCancel(QStringLiteral("학생명부"), nullptr);
    EXPECT_EQ(r.outcome, PurgeResult::Outcome::Done);
    EXPECT_EQ(r.clashes, QStringList{QStringLiteral("10101 떠난이")});
    EXPECT_EQ(msg.shown().last().icon, MsgIcon::Warning);
    EXPECT_TRUE(msg.texts().last().contains(QStringLiteral("10101 떠난이")));
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM M_CUST WHERE SNo = '10101'")), 2);
}

TEST_F(Purge, JobLogKeepsTheListStart) {
    for (int i = 1; i <= 80; ++i)
        addStudent(QStringLiteral("08000%1").arg(i, 5, 10, QLatin1Char('0')),
                   QStringLiteral("301%1").arg(i, 2, 10, QLatin1Char('0')), QStringLiteral("학생이름"),
                   QStringLiteral("0"));
    int calls = 0;
    const PurgeResult r = PurgeStore::purge([&calls](int done, int total) {
        ++calls;
        EXPECT_EQ(total, 80);
        EXPECT_EQ(done, calls);
    });
    EXPECT_EQ(r.count, 80);
    EXPECT_GT(r.list.size(), PurgeStore::kLogChars);
    const QString logged = column(QStringLiteral("SELECT JobLog FROM L_Log_202603")).last();
    EXPECT_TRUE(r.list.startsWith(logged));
}

TEST_F(Purge, AnOldArchiveGainsTheMissingColumns) {
    stopServices();
    {
        // An archive of the old 13 columns, with one purged student.
        startServices();
        ASSERT_TRUE(Database::exec(QStringLiteral(
            "create table D_CUST( CustNo char(12), SCd char(2), SNo char(10), Nm char(20), Sex char(1), "
            "BankCd char(2), AcctNo char(15), Owr char(30), UseTy char(1), InDate char(8), OutDate char(8), "
            "Ju_No char(13), v_x00d char(10) )")));
        ASSERT_TRUE(Database::insertRow(QStringLiteral("D_CUST"), {{QStringLiteral("CustNo"), QStringLiteral("0700000001")},
                                                                  {QStringLiteral("SNo"), QStringLiteral("10101")},
                                                                  {QStringLiteral("Nm"), QStringLiteral("옛학생")},
                                                                  {QStringLiteral("UseTy"), QStringLiteral("0")},
                                                                  {QStringLiteral("v_x00d"), QStringLiteral("2020-02-02")}}));
        stopServices();
    }
    startServices();
    QStringList want;
    for (const FieldDef& f : Tables::DCust().fields) want << f.name;
    EXPECT_EQ(Database::columns(QStringLiteral("D_CUST")), want);
    EXPECT_EQ(PurgeStore::restore(QStringLiteral("2020-02-02")).count, 1);
    EXPECT_EQ(column(QStringLiteral("SELECT Nm || UseTy || coalesce(MTelNo, '-') FROM M_CUST")), QStringList{QStringLiteral("옛학생0-")});
}

TEST_F(Purge, RosterButtonsOnlyForTransferredOut) {
    TFrmF201B00 w;
    EXPECT_FALSE(w.cmdOutDel->isEnabled());
    EXPECT_FALSE(w.cmdDCancel->isEnabled());
    w.RGrpUse->button(2)->click();
    EXPECT_TRUE(w.cmdOutDel->isEnabled());
    EXPECT_TRUE(w.cmdDCancel->isEnabled());
    w.RGrpUse->button(1)->click();
    EXPECT_FALSE(w.cmdOutDel->isEnabled());
}

} // namespace
