#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/ui/Modal.h"
#include "students/ExempStore.h"
#include "students/F201B00.h"
#include "students/F301B00.h"
#include "students/F301B01.h"
#include "students/PerDcInfo.h"
#include "students/ThreeAcrossPrint.h"
#include "support/TestRoot.h"
#include "transfers/collection/RoundBuilder.h"

#include <QCheckBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

class Exemption : public TestRoot {
protected:
    void SetUp() override {
        TestRoot::SetUp();
        ins("C_SCD", {{"SCd", "1"}, {"SCdNm", "1학년"}});
        ins("C_ITEM",
            {{"ItemCd", "A1"}, {"Gcode", "01"}, {"ItemID", "01"}, {"ItemNm", "수업료"}, {"ItemAmt", 100000}});
        ins("C_ITEM",
            {{"ItemCd", "A2"}, {"Gcode", "01"}, {"ItemID", "02"}, {"ItemNm", "급식비"}, {"ItemAmt", 50000}});
        // C2 and C3 share a student number.
        student("C1", "10101", "김하나");
        student("C2", "10102", "이둘");
        student("C3", "10102", "박셋");
        student("C4", "10201", "최넷");
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
    static void student(const char* no, const char* sno, const char* nm) {
        ins("M_CUST", {{"CustNo", no},
                       {"SNo", sno},
                       {"Nm", nm},
                       {"UseTy", "1"},
                       {"SCd", "1"},
                       {"BankCd", "04"},
                       {"AcctNo", "123"}});
    }
    // Free and Itemval of a stored exemption, "-" when there is none.
    static QString stored(const char* custNo, const char* itemCd) {
        const auto r = ExempStore::find(QString::fromLatin1(custNo), QString::fromLatin1(itemCd));
        return r ? r->free + QLatin1Char('/') + QString::number(r->amount) : QStringLiteral("-");
    }
    static int rowOf(const TFrmF301B00& w, const char* custNo) {
        for (int i = 0; i < w.listRows(); ++i)
            if (w.listCell(i, 3) == QLatin1String(custNo)) return i;
        return -1;
    }
    // Loads the student and chooses the item in the edit area.
    static void pick(TFrmF301B00& w, const char* custNo, const char* itemCd) {
        w.SGrdCustClick(rowOf(w, custNo));
        w.SBFree->setCurrentIndex(int(w.CboItemT.indexOf(QString::fromLatin1(itemCd))));
        w.SBFreeChange();
    }
    static void partial(TFrmF301B00& w, const QString& amount) {
        w.RBPfree->setChecked(true);
        w.RBAfreeClick();
        w.EBPfree->setText(amount);
    }
};

TEST_F(Exemption, WindowAndDialogFeedTheRound) {
    TFrmF301B00 w;
    w.BBtnInquiryClick();
    ASSERT_EQ(w.listRows(), 4);
    EXPECT_EQ(w.lblTotCnt->text(), QStringLiteral("4 "));
    EXPECT_EQ(w.SBFree->itemText(1), QStringLiteral("기본 : 01.수업료"));

    // Full: the amount shown, which is the item's.
    pick(w, "C1", "A1");
    EXPECT_EQ(w.EBPfree->text(), QStringLiteral("100000"));
    EXPECT_FALSE(w.Cfree->isVisible());
    w.BBtnSaveClick();
    EXPECT_EQ(stored("C1", "A1"), QStringLiteral("A/100000"));
    EXPECT_EQ(w.DCPriceGrid->item(0, 1)->text(), QStringLiteral("전액면제"));

    // Partial, typed with a comma.
    pick(w, "C2", "A2");
    partial(w, QStringLiteral("20,000"));
    w.BBtnSaveClick();
    EXPECT_EQ(stored("C2", "A2"), QStringLiteral("P/20000"));

    // A typo is refused and stores nothing.
    pick(w, "C1", "A2");
    partial(w, QStringLiteral("1O000"));
    msg.expect(MsgResult::Ok);
    w.BBtnSaveClick();
    EXPECT_EQ(msg.texts().last(), QStringLiteral("금액은 숫자로 입력해주세요!!"));
    EXPECT_EQ(stored("C1", "A2"), QStringLiteral("-"));

    // The roster's dialog writes the same rows.
    SelCustNo = QStringLiteral("C4");
    TFrmPerDcInfo d;
    d.SNoView->setText(QStringLiteral("10201"));
    d.NameView->setText(QStringLiteral("최넷"));
    EXPECT_EQ(d.DCPriceItemGrid->rowCount(), 2); // one row per fee item
    d.CBDCItems->setCurrentIndex(2);
    d.CBDCItemsChange();
    d.RBPfree->setChecked(true);
    d.EDCPrice->setText(QStringLiteral("5000"));
    d.SaveBtnClick();
    EXPECT_EQ(stored("C4", "A2"), QStringLiteral("P/5000"));
    EXPECT_EQ(d.CBDCItems->currentIndex(), 0);
    EXPECT_EQ(d.EDCPrice->text(), QStringLiteral("0"));
    EXPECT_EQ(d.DCPriceItemGrid->item(0, 2)->text(), QStringLiteral("5000"));
    msg.expect(MsgResult::Ok);
    d.SaveBtnClick(); // the choice is back on "면제항목선택"
    EXPECT_EQ(msg.texts().last(), QStringLiteral("면제항목을 선택하세요."));
    d.CBDCItems->setCurrentIndex(1);
    d.CBDCItemsChange();
    d.EDCPrice->setText(QString());
    msg.expect(MsgResult::Ok);
    d.SaveBtnClick();
    EXPECT_EQ(msg.texts().last(), QStringLiteral("금액을 입력해주세요!!"));
    EXPECT_EQ(stored("C4", "A1"), QStringLiteral("-"));
    d.CBDCItemsChange();
    d.SaveBtnClick();
    EXPECT_EQ(stored("C4", "A1"), QStringLiteral("A/100000"));

    EXPECT_EQ(column(QStringLiteral("SELECT JobLog FROM ") + DMData->LogTableName).filter(QStringLiteral("[면제항목 등록]")),
              (QStringList{QStringLiteral("[면제항목 등록] 학번 : 10201, 성명 : 최넷, 면제항목 : 기본 : 02.급식비 부분면제"),
                           QStringLiteral("[면제항목 등록] 학번 : 10201, 성명 : 최넷, 면제항목 : 기본 : 01.수업료 전액면제")}));
    EXPECT_EQ(column(QStringLiteral("SELECT JobLog FROM ") + DMData->LogTableName).filter(QStringLiteral("등록 -> ")).first(),
              QStringLiteral("등록 -> 1학년 01반 01번 (기본 : 01.수업료),  100000원 전액면제"));

    RoundTarget t{QStringLiteral("01.기본"), QStringLiteral("202603"), QStringLiteral("01")};
    GradeSelection s;
    s.grades = {QStringLiteral("1")};
    s.itemIds = {QStringLiteral("01"), QStringLiteral("02")};
    s.bank = Rounds::BankChoice{QStringLiteral("04"), {}};
    ASSERT_TRUE(RoundBuilder::createByGrade(t, s).ok());
    const QStringList rows = column(QStringLiteral("SELECT CustNo || ':' || ItemCd || ':' || ExempTy || ':' || Amt "
                                                   "FROM H_200_20260301 ORDER BY CustNo, ItemCd"));
    EXPECT_TRUE(rows.contains(QStringLiteral("C1:01:0:0")));
    EXPECT_TRUE(rows.contains(QStringLiteral("C1:02:1:50000")));
    EXPECT_TRUE(rows.contains(QStringLiteral("C2:02:2:30000")));
    EXPECT_TRUE(rows.contains(QStringLiteral("C4:01:0:0")));
    EXPECT_TRUE(rows.contains(QStringLiteral("C4:02:2:45000")));
}

TEST_F(Exemption, ListingAndRelease) {
    ins("M_EXEMP", {{"CustNo", "C4"}, {"ItemCd", "A2"}, {"Free", "P"}});
    ins("M_EXEMP", {{"CustNo", "C1"}, {"ItemCd", "A2"}, {"Itemval", 7000}, {"Free", "P"}});
    TFrmF301B00 w;
    w.CbItem->setCurrentIndex(2);
    w.CbItemChange();
    w.BBtnInquiryClick();
    ASSERT_EQ(w.listRows(), 2);
    EXPECT_EQ(w.listCell(0, 6), QStringLiteral("7000"));
    EXPECT_EQ(w.listCell(1, 6), QStringLiteral("0"));
    w.SGrdCustClick(1);
    EXPECT_EQ(w.DCPriceGrid->item(0, 1)->text(), QStringLiteral("등록금액없음"));

    // Nobody in the range: one blank row, count 0.
    w.SHakFromEdit->setText(QStringLiteral("3"));
    w.SHakToEdit->setText(QStringLiteral("3"));
    w.BBtnInquiryClick();
    EXPECT_EQ(w.listRows(), 0);
    EXPECT_EQ(w.SGrdCust->rowCount(), 1);
    EXPECT_EQ(w.lblTotCnt->text(), QStringLiteral("0 "));
    w.SHakFromEdit->clear();
    w.SHakToEdit->clear();

    // Release one student: the box is there only for an item he holds.
    w.BBtnInquiryClick();
    pick(w, "C1", "A2");
    ASSERT_FALSE(w.Cfree->isHidden());
    w.Cfree->setChecked(true);
    w.CfreeClick();
    w.BBtnSaveClick();
    EXPECT_EQ(stored("C1", "A2"), QStringLiteral("-"));
    EXPECT_TRUE(w.Cfree->isHidden());
}

TEST_F(Exemption, BatchActionsAreWholeOrNothing) {
    TFrmF301B00 w;
    w.BBtnInquiryClick();
    w.cmdChkAllClick(1);
    EXPECT_EQ(w.iCountMarked(), 4);
    pick(w, "C1", "A1");
    partial(w, QStringLiteral("3000"));
    w.CASedit->setChecked(true);
    msg.expect({MsgResult::Yes, MsgResult::Ok});
    w.BBtnSaveClick();
    EXPECT_EQ(msg.texts().last(), QStringLiteral("일괄수정"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM M_EXEMP WHERE ItemCd = 'A1' AND Itemval = 3000")), 4);
    EXPECT_EQ(w.iCountMarked(), 0);

    // A write that fails for the last student leaves every row as it was.
    ASSERT_TRUE(Database::exec(QStringLiteral("CREATE TRIGGER t_fail BEFORE UPDATE ON M_EXEMP "
                                              "WHEN NEW.CustNo = 'C4' BEGIN SELECT RAISE(ABORT, 'disk full'); END")));
    w.cmdChkAllClick(1);
    partial(w, QStringLiteral("9000"));
    w.CASedit->setChecked(true);
    msg.expect({MsgResult::Yes, MsgResult::Ok, MsgResult::Ok});
    w.BBtnSaveClick();
    EXPECT_EQ(msg.shown().last().icon, MsgIcon::Error);
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM M_EXEMP WHERE Itemval = 9000")), 0);

    ASSERT_TRUE(Database::exec(QStringLiteral("DROP TRIGGER t_fail")));
    ASSERT_TRUE(Database::exec(QStringLiteral("CREATE TRIGGER t_fail BEFORE DELETE ON M_EXEMP "
                                              "WHEN OLD.CustNo = 'C4' BEGIN SELECT RAISE(ABORT, 'disk full'); END")));
    const QList<ExempStudent> all = w.listed();
    EXPECT_FALSE(ExempStore::releaseMany(all, QStringLiteral("A1")).ok);
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM M_EXEMP WHERE ItemCd = 'A1'")), 4);
    ASSERT_TRUE(Database::exec(QStringLiteral("DROP TRIGGER t_fail")));

    // Batch release through the window: the marked rows and the log line.
    w.cmdChkAllClick(0);
    w.SGrdCustDblClick(rowOf(w, "C2"), 7);
    w.SGrdCustDblClick(rowOf(w, "C3"), 7);
    pick(w, "C1", "A1");
    w.Cfree->setChecked(true);
    w.CASedit->setChecked(true);
    msg.expect(MsgResult::Yes);
    w.BBtnSaveClick();
    EXPECT_EQ(column(QStringLiteral("SELECT CustNo FROM M_EXEMP ORDER BY CustNo")),
              (QStringList{QStringLiteral("C1"), QStringLiteral("C4")}));
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM ") + DMData->LogTableName +
                     QStringLiteral(" WHERE MenuName = '면제학생일괄삭제' AND JobLog = '10102,10102,'")),
              1);
}

// Amounts the exemption edits never pass, handed to the store: refused with
// the window's box, nothing written; commas are whole won.
TEST_F(Exemption, StoreRefusesAmountsTheWindowNeverPasses) {
    const auto state = [] {
        return column(QStringLiteral("SELECT CustNo || '/' || ItemCd || '/' || coalesce(Free, '') || '/' || "
                                     "coalesce(Itemval, '') FROM M_EXEMP ORDER BY 1"));
    };
    const QString numbers = QStringLiteral("금액은 숫자로 입력해주세요!!");
    const struct {
        const char* name;
        QString amount, text;
    } cases[] = {
        {"letters", QStringLiteral("1x0"), numbers},
        {"empty", QString(), QStringLiteral("금액을 입력해주세요!!")},
        {"negative", QStringLiteral("-500"), numbers},
        {"a fraction", QStringLiteral("500.5"), numbers},
        {"TAB inside", QStringLiteral("5\t00"), numbers},
        {"NUL inside", QStringLiteral("5") + QChar(0) + QStringLiteral("00"), numbers},
    };
    const QStringList before = state();
    const QList<ExempStudent> students{
        {QStringLiteral("10101"), QString(), QString(), QStringLiteral("C1"), QString(), QString()}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ExempResult one =
            ExempStore::save({QStringLiteral("C1"), QStringLiteral("A2"), c.amount, false},
                             QStringLiteral("면제등록"), [](bool) { return QStringLiteral("x"); });
        EXPECT_FALSE(one.ok);
        EXPECT_EQ(one.text, c.text);
        const ExempResult many = ExempStore::saveMany(students, QStringLiteral("A2"), c.amount, false);
        EXPECT_FALSE(many.ok);
        EXPECT_EQ(many.text, c.text);
        EXPECT_EQ(state(), before);
    }
    EXPECT_TRUE(ExempStore::saveMany(students, QStringLiteral("A2"), QStringLiteral("3,000"), false).ok);
    EXPECT_EQ(stored("C1", "A2"), QStringLiteral("P/3000"));
}

// Through the driver the amount and the group name reach the stores as
// typed; the stores refuse them with the window's box.
TEST_F(Exemption, DriverValuesReachTheStores) {
    const auto drive = [this](const QStringList& args, int* rc) {
        stopServices();
        QProcess p;
        p.start(QStringLiteral(ZQ_DRIVER_PATH), QStringList{QStringLiteral("--root"), root(),
                                                            QStringLiteral("--today"), QStringLiteral("20260316")} +
                                                    args);
        EXPECT_TRUE(p.waitForFinished(60000));
        *rc = p.exitCode();
        QList<QJsonObject> out;
        for (const QByteArray& l : p.readAllStandardOutput().split('\n'))
            if (!l.trimmed().isEmpty()) out << QJsonDocument::fromJson(l).object();
        startServices();
        return out;
    };
    const struct {
        const char* name;
        QStringList args;
        QString text;
    } cases[] = {
        {"exemption amount with letters",
         {QStringLiteral("exemption"), QStringLiteral("save"), QStringLiteral("C1"), QStringLiteral("A2"),
          QStringLiteral("--amount"), QStringLiteral("1x0"), QStringLiteral("--partial")},
         QStringLiteral("금액은 숫자로 입력해주세요!!")},
        {"exemption amount negative",
         {QStringLiteral("exemption"), QStringLiteral("save"), QStringLiteral("C1"), QStringLiteral("A2"),
          QStringLiteral("--amount"), QStringLiteral("-100"), QStringLiteral("--partial")},
         QStringLiteral("금액은 숫자로 입력해주세요!!")},
        {"group name over 10 bytes",
         {QStringLiteral("stgroup"), QStringLiteral("save"), QStringLiteral("가나다라마바"), QStringLiteral("C1")},
         QStringLiteral("그룹명은 5자이내로 입력하세요!")},
        {"group name with a TAB",
         {QStringLiteral("stgroup"), QStringLiteral("save"), QStringLiteral("합\t창"), QStringLiteral("C1")},
         QStringLiteral("그룹명은 5자이내로 입력하세요!")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int rc = -1;
        const QList<QJsonObject> out = drive(c.args, &rc);
        EXPECT_EQ(rc, 1);
        ASSERT_FALSE(out.isEmpty());
        EXPECT_EQ(out.last().value(QStringLiteral("text")).toString(), c.text);
        EXPECT_EQ(stored("C1", "A2"), QStringLiteral("-"));
        EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM C_GRP WHERE CustNo = 'C1'")), 0);
    }
    int rc = -1;
    drive({QStringLiteral("exemption"), QStringLiteral("save"), QStringLiteral("C1"), QStringLiteral("A2"),
           QStringLiteral("--amount"), QStringLiteral("3,000"), QStringLiteral("--partial")},
          &rc);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(stored("C1", "A2"), QStringLiteral("P/3000"));
}

TEST_F(Exemption, FindByNameContinues) {
    ins("M_CUST", {{"CustNo", "C5"}, {"SNo", "10301"}, {"Nm", "이둘"}, {"UseTy", "1"}, {"SCd", "1"}});
    TFrmF301B00 w;
    w.BBtnInquiryClick();
    TFrmF301B01 f(&w);
    f.CbSelect->setCurrentIndex(1);
    f.CbSelectChange();
    f.EdtSearchNm->setText(QStringLiteral("이둘"));
    f.CContSearch->setChecked(true);
    f.BBtnSearchClick();
    EXPECT_EQ(w.EdtCustNo->text(), QStringLiteral("C2"));
    f.BBtnSearchClick();
    EXPECT_EQ(w.EdtCustNo->text(), QStringLiteral("C5"));
    msg.expect(MsgResult::Ok);
    f.BBtnSearchClick();
    EXPECT_EQ(msg.texts().last(), QStringLiteral("자료의 끝입니다!"));
}

TEST_F(Exemption, RosterButtonOpensTheDialog) {
    TFrmF201B00 roster;
    roster.BBtnInquiryClick();
    EXPECT_FALSE(roster.SBtnExempReg->isEnabled());
    roster.setGridRow(1);
    roster.SGrdMCustClick();
    ASSERT_TRUE(roster.SBtnExempReg->isEnabled());
    QString shown;
    Modal::setRunner([&shown](QDialog* d) {
        auto* f = qobject_cast<TFrmPerDcInfo*>(d);
        if (f) shown = f->CustNoView->text() + QLatin1Char('|') + f->SNoView->text() + QLatin1Char('|') +
                       f->NameView->text();
        return int(QDialog::Rejected);
    });
    roster.SBtnExempReg->click();
    EXPECT_EQ(shown, QStringLiteral("C1|10101|김하나"));
}

} // namespace

namespace {

TEST_F(Exemption, WindowsFitTheSmallScreen) {
    TFrmF301B00 w;
    SelCustNo = QStringLiteral("C1");
    TFrmPerDcInfo d;
    for (QWidget* x : {static_cast<QWidget*>(&w), static_cast<QWidget*>(&d)}) {
        const QSize s = x->minimumSizeHint();
        EXPECT_LE(s.width(), 1340) << x->windowTitle().toStdString();
        EXPECT_LE(s.height(), 600) << x->windowTitle().toStdString();
        EXPECT_LE(x->size().height(), 700);
    }
}

} // namespace

namespace {

TEST_F(Exemption, PrintThreeToALine) {
    TFrmF301B00 w;
    w.BBtnInquiryClick();
    msg.expect(MsgResult::Ok);
    w.BBtnPrintClick(); // "00.모든학생" prints nothing
    EXPECT_EQ(msg.texts().last(), QStringLiteral("데이터가 없거나 항목을 선택하지 않았습니다."));

    QList<QStringList> rows;
    for (int i = 1; i <= 7; ++i)
        rows << QStringList{QStringLiteral("1010%1").arg(i), QStringLiteral("학생%1").arg(i), QStringLiteral("1000")};
    TFrmF301P00 report(QStringLiteral("기본 : 01.수업료"), rows);
    const QStringList texts = report.layout().pages.value(0).texts();
    EXPECT_TRUE(texts.contains(QStringLiteral("[항목명]   기본 : 01.수업료")));
    EXPECT_TRUE(texts.contains(QStringLiteral("총면제학생수: 7")));
    // Three detail lines: the last holds the seventh student and two blanks.
    const int seventh = int(texts.indexOf(QStringLiteral("10107")));
    ASSERT_GE(seventh, 0);
    EXPECT_EQ(texts.mid(seventh, 9).join(QLatin1Char('|')), QStringLiteral("10107|학생7|1000||||||"));
    EXPECT_EQ(texts.indexOf(QStringLiteral("10104")) + 9, seventh);
}

} // namespace
