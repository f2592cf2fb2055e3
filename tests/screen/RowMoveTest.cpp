#include "platform/ui/RowMove.h"
#include "basic/AccountStore.h"
#include "basic/F103B00.h"
#include "basic/F104B00.h"
#include "basic/F105B00.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "students/ExempStore.h"
#include "students/F201B00.h"
#include "students/F301B00.h"
#include "students/PerDcInfo.h"
#include "support/TestRoot.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

#include <vector>

// A key that moves a grid's highlight loads the highlighted row into the
// fields beside the grid, as a click on it does, so a save after the move
// changes that row and no other.

namespace {

struct Keys {
    const char* name;
    QList<QPair<Qt::Key, Qt::KeyboardModifiers>> keys;
};

void press(QAbstractItemView* view, const Keys& k) {
    for (const auto& [key, mods] : k.keys)
        QTest::keyClick(view, key, mods);
}

void clickRow(QAbstractItemView* view, int row) {
    const QRect r = view->visualRect(view->model()->index(row, 0));
    ASSERT_TRUE(r.isValid()) << "row " << row << " is not shown";
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, r.center());
}

const Qt::KeyboardModifiers kNone = Qt::NoModifier;

class RowMoveTest : public TestRoot {
protected:
    static void ins(const QString& table, const ColumnValues& v) {
        ASSERT_TRUE(Database::insertRow(table, v));
    }
    static void student(const QString& custNo, const QString& sNo, const QString& nm, const QString& tel) {
        ins(QStringLiteral("M_CUST"), {{QStringLiteral("CustNo"), custNo},
                                       {QStringLiteral("SCd"), sNo.left(1)},
                                       {QStringLiteral("SNo"), sNo},
                                       {QStringLiteral("Nm"), nm},
                                       {QStringLiteral("Sex"), QStringLiteral("1")},
                                       {QStringLiteral("BankCd"), QStringLiteral("04")},
                                       {QStringLiteral("AcctNo"), QStringLiteral("123456789012")},
                                       {QStringLiteral("UseTy"), QStringLiteral("1")},
                                       {QStringLiteral("MTelNo"), tel},
                                       {QStringLiteral("smsYN"), QStringLiteral("1")}});
    }
    static QString tel(const QString& custNo) {
        const QStringList t = column(QStringLiteral("SELECT MTelNo FROM M_CUST WHERE CustNo = ?"), {custNo});
        return t.value(0);
    }
};

// The shared hook: keys that move the row run the handler once, with the new
// row; a click, a move made by the program, a key that leaves the row and
// Enter run nothing.
TEST_F(RowMoveTest, OnlyKeyMovesOfTheRowRunTheHandler) {
    QTableWidget g(5, 2);
    g.setSelectionBehavior(QAbstractItemView::SelectRows);
    g.setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 2; ++c)
            g.setItem(r, c, new QTableWidgetItem(QStringLiteral("r%1c%2").arg(r).arg(c)));
    g.setItem(3, 0, new QTableWidgetItem(QStringLiteral("kim")));
    g.resize(300, 400);
    g.show();
    // Vectors: Qt's own == of two empty int lists hands memcmp a null pointer.
    std::vector<int> runs;
    RowMove::follow(&g, [&](int row) { runs.push_back(row); });

    const struct {
        Keys keys;
        int from;
        std::vector<int> runs;
    } cases[] = {
        {{"Down", {{Qt::Key_Down, kNone}}}, 1, {2}},
        {{"Up", {{Qt::Key_Up, kNone}}}, 1, {0}},
        {{"Up at the top", {{Qt::Key_Up, kNone}}}, 0, {}},
        {{"Down at the bottom", {{Qt::Key_Down, kNone}}}, 4, {}},
        {{"Page Down", {{Qt::Key_PageDown, kNone}}}, 0, {4}},
        {{"Page Up", {{Qt::Key_PageUp, kNone}}}, 4, {0}},
        {{"Ctrl+End", {{Qt::Key_End, Qt::ControlModifier}}}, 1, {4}},
        {{"Ctrl+Home", {{Qt::Key_Home, Qt::ControlModifier}}}, 3, {0}},
        {{"End goes to the last row", {{Qt::Key_End, kNone}}}, 1, {4}},
        {{"Home goes to the first row", {{Qt::Key_Home, kNone}}}, 3, {0}},
        {{"two downs", {{Qt::Key_Down, kNone}, {Qt::Key_Down, kNone}}}, 0, {1, 2}},
        {{"Right stays in the row", {{Qt::Key_Right, kNone}}}, 2, {}},
        {{"Enter is the window's", {{Qt::Key_Return, kNone}}}, 2, {}},
        {{"typing finds a row", {{Qt::Key_K, kNone}}}, 0, {3}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys.name);
        g.setCurrentCell(c.from, 0);
        EXPECT_TRUE(runs.empty()) << "a move by the program";
        press(&g, c.keys);
        EXPECT_EQ(runs, c.runs);
        runs.clear();
    }

    clickRow(&g, 2);
    EXPECT_TRUE(runs.empty()) << "a click has its own signal";
    EXPECT_EQ(g.currentRow(), 2);
}

class RosterRowMove : public RowMoveTest {
protected:
    void SetUp() override {
        RowMoveTest::SetUp();
        ins(QStringLiteral("C_SCD"), {{QStringLiteral("SCd"), QStringLiteral("1")},
                                      {QStringLiteral("SCdNm"), QStringLiteral("1학년")}});
        student(QStringLiteral("A"), QStringLiteral("10101"), QStringLiteral("김하나"),
                QStringLiteral("01011110001"));
        student(QStringLiteral("B"), QStringLiteral("10102"), QStringLiteral("이둘"),
                QStringLiteral("01022220002"));
        student(QStringLiteral("C"), QStringLiteral("10103"), QStringLiteral("박셋"),
                QStringLiteral("01033330003"));
    }
};

TEST_F(RosterRowMove, KeysLoadTheHighlightedStudent) {
    TFrmF201B00 w;
    w.resize(1200, 700);
    w.show();
    ASSERT_EQ(w.gridRowCount(), 4);
    const struct {
        Keys keys;
        int clicked; // grid data row, 0-based
        const char* custNo;
    } cases[] = {
        {{"Down", {{Qt::Key_Down, kNone}}}, 0, "B"},
        {{"Up", {{Qt::Key_Up, kNone}}}, 2, "B"},
        {{"Page Down", {{Qt::Key_PageDown, kNone}}}, 0, "C"},
        {{"Ctrl+End", {{Qt::Key_End, Qt::ControlModifier}}}, 0, "C"},
        {{"Ctrl+Home", {{Qt::Key_Home, Qt::ControlModifier}}}, 2, "A"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys.name);
        clickRow(w.SGrdMCust, c.clicked);
        w.SGrdMCust->setFocus();
        press(w.SGrdMCust, c.keys);
        const QString no = QString::fromLatin1(c.custNo);
        EXPECT_EQ(w.EdtCustNo->text(), no);
        EXPECT_EQ(w.gridCell(6, w.gridRow()), no) << "the fields show the highlighted row";
        EXPECT_EQ(w.EdtMtelNo->text(), tel(no));
        EXPECT_EQ(w.focusWidget(), w.SGrdMCust) << "the focus stays in the grid";
    }

    // Enter keeps its own step: it loads the current row, wherever the
    // program put it.
    clickRow(w.SGrdMCust, 0);
    w.setGridRow(3);
    EXPECT_EQ(w.EdtCustNo->text(), QStringLiteral("A"));
    QTest::keyClick(w.SGrdMCust, Qt::Key_Return);
    EXPECT_EQ(w.EdtCustNo->text(), QStringLiteral("C"));
}

TEST_F(RosterRowMove, SaveAfterAnArrowChangesTheHighlightedStudentOnly) {
    TFrmF201B00 w;
    w.resize(1200, 700);
    w.show();
    clickRow(w.SGrdMCust, 0);
    w.SGrdMCust->setFocus();
    QTest::keyClick(w.SGrdMCust, Qt::Key_Down);
    w.EdtMtelNo->setText(QStringLiteral("01099998888"));
    w.BBtnUpdtClick();
    EXPECT_TRUE(msg.shown().isEmpty()) << msg.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(tel(QStringLiteral("B")), QStringLiteral("01099998888"));
    EXPECT_EQ(tel(QStringLiteral("A")), QStringLiteral("01011110001"));
    EXPECT_EQ(tel(QStringLiteral("C")), QStringLiteral("01033330003"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM M_CUST WHERE Nm IN ('김하나', '이둘', '박셋')")),
              3);
}

class ExemptionRowMove : public RowMoveTest {
protected:
    void SetUp() override {
        RowMoveTest::SetUp();
        ins(QStringLiteral("C_SCD"), {{QStringLiteral("SCd"), QStringLiteral("1")},
                                      {QStringLiteral("SCdNm"), QStringLiteral("1학년")}});
        for (const auto& [cd, id, nm, amt] :
             {std::tuple{"A1", "01", u"수업료", 100000}, std::tuple{"A2", "02", u"급식비", 50000}})
            ins(QStringLiteral("C_ITEM"), {{QStringLiteral("ItemCd"), QString::fromLatin1(cd)},
                                           {QStringLiteral("Gcode"), QStringLiteral("01")},
                                           {QStringLiteral("ItemID"), QString::fromLatin1(id)},
                                           {QStringLiteral("ItemNm"), QString::fromUtf16(nm)},
                                           {QStringLiteral("ItemAmt"), amt}});
        student(QStringLiteral("A"), QStringLiteral("10101"), QStringLiteral("김하나"), QString());
        student(QStringLiteral("B"), QStringLiteral("10102"), QStringLiteral("이둘"), QString());
        student(QStringLiteral("C"), QStringLiteral("10103"), QStringLiteral("박셋"), QString());
        // B holds both items, so his own grid has two rows to move through.
        for (const char* item : {"A1", "A2"})
            ins(QStringLiteral("M_EXEMP"), {{QStringLiteral("CustNo"), QStringLiteral("B")},
                                            {QStringLiteral("ItemCd"), QString::fromLatin1(item)},
                                            {QStringLiteral("Itemval"), 1000},
                                            {QStringLiteral("Free"), QStringLiteral("A")}});
    }
    static int exemptions(const char* custNo) {
        return int(scalar(QStringLiteral("SELECT count(*) FROM M_EXEMP WHERE CustNo = ?"),
                          {QString::fromLatin1(custNo)}));
    }
};

TEST_F(ExemptionRowMove, ArrowsLoadTheStudentAndHisItem) {
    TFrmF301B00 w;
    w.resize(1200, 700);
    w.show();
    w.BBtnInquiryClick();
    ASSERT_EQ(w.listRows(), 3);

    clickRow(w.SGrdCust, 0);
    ASSERT_EQ(w.EdtCustNo->text(), QStringLiteral("A"));
    w.SGrdCust->setFocus();
    QTest::keyClick(w.SGrdCust, Qt::Key_Down);
    EXPECT_EQ(w.EdtCustNo->text(), QStringLiteral("B"));
    ASSERT_EQ(w.DCPriceGrid->rowCount(), 2) << "his exemptions are listed";
    EXPECT_EQ(w.focusWidget(), w.SGrdCust);

    // In his exemption grid the arrow chooses the item of the row.
    clickRow(w.DCPriceGrid, 0);
    EXPECT_EQ(w.CboItemT.value(w.SBFree->currentIndex()), QStringLiteral("A1"));
    w.DCPriceGrid->setFocus();
    QTest::keyClick(w.DCPriceGrid, Qt::Key_Down);
    EXPECT_EQ(w.CboItemT.value(w.SBFree->currentIndex()), QStringLiteral("A2"));
    EXPECT_EQ(w.focusWidget(), w.DCPriceGrid);

    // The roster's dialog of one student's exemptions does the same.
    SelCustNo = QStringLiteral("B");
    TFrmPerDcInfo d;
    d.show();
    clickRow(d.DCPriceItemGrid, 0);
    EXPECT_EQ(d.CBDCItems->currentText(), d.DCPriceItemGrid->item(0, 0)->text());
    d.DCPriceItemGrid->setFocus();
    QTest::keyClick(d.DCPriceItemGrid, Qt::Key_Down);
    EXPECT_EQ(d.CBDCItems->currentText(), d.DCPriceItemGrid->item(1, 0)->text());
    EXPECT_NE(d.CBDCItems->currentIndex(), 0);
    EXPECT_EQ(d.focusWidget(), d.DCPriceItemGrid);
}

TEST_F(ExemptionRowMove, SaveAfterAnArrowRegistersTheHighlightedStudentOnly) {
    TFrmF301B00 w;
    w.resize(1200, 700);
    w.show();
    w.BBtnInquiryClick();
    clickRow(w.SGrdCust, 1);
    w.SGrdCust->setFocus();
    QTest::keyClick(w.SGrdCust, Qt::Key_Down);
    ASSERT_EQ(w.EdtCustNo->text(), QStringLiteral("C"));
    w.SBFree->setCurrentIndex(int(w.CboItemT.indexOf(QStringLiteral("A1"))));
    w.SBFreeChange();
    w.BBtnSaveClick();
    EXPECT_TRUE(msg.shown().isEmpty()) << msg.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(exemptions("C"), 1);
    EXPECT_EQ(exemptions("B"), 2);
    EXPECT_EQ(exemptions("A"), 0);
}

// The registration dialogs: the row the arrow reaches fills the inputs.
class DialogRowMove : public RowMoveTest {};

TEST_F(DialogRowMove, ArrowsFillTheInputsOfEachDialog) {
    for (const auto& [code, name] : {std::pair{"02", u"방과후"}, std::pair{"03", u"특기적성"}})
        ins(QStringLiteral("G_GROUP"), {{QStringLiteral("G_CODE"), QString::fromLatin1(code)},
                                        {QStringLiteral("G_NAME"), QString::fromUtf16(name)}});
    for (const auto& [cd, id, nm] : {std::tuple{"A1", "01", u"수업료"}, std::tuple{"A2", "02", u"급식비"}})
        ins(QStringLiteral("C_ITEM"), {{QStringLiteral("ItemCd"), QString::fromLatin1(cd)},
                                       {QStringLiteral("Gcode"), QStringLiteral("01")},
                                       {QStringLiteral("ItemID"), QString::fromLatin1(id)},
                                       {QStringLiteral("ItemNm"), QString::fromUtf16(nm)},
                                       {QStringLiteral("ItemAmt"), 1000}});
    for (const char* compy : {"1001", "1002"}) {
        AcctInput in;
        in.bankCd = QStringLiteral("11");
        in.acctNo = QStringLiteral("30101234567") + QLatin1Char(compy[3]);
        in.compyNo = QString::fromLatin1(compy);
        in.gcode = QStringLiteral("01");
        ASSERT_TRUE(AccountStore::save(in).saved);
    }

    TFrmF105B00 groups;
    TFrmF104B00 items;
    TFrmF103B00 accounts;
    const struct {
        const char* name;
        QDialog* dialog;
        QTableWidget* grid;
        QLineEdit* input;
        int column; // of the grid, what the input shows
    } cases[] = {
        {"item groups", &groups, groups.SGridGroup, groups.EditGName, 1},
        {"fee items", &items, items.SGrdItem, items.EdtItemNm, TFrmF104B00::ColName},
        {"bank accounts", &accounts, accounts.SGrdMBank, accounts.EdtInCompyNo, TFrmF103B00::ColCompyNo},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.dialog->show();
        ASSERT_GE(c.grid->rowCount(), 2);
        clickRow(c.grid, 0);
        ASSERT_EQ(c.input->text(), c.grid->item(0, c.column)->text());
        c.grid->setFocus();
        QTest::keyClick(c.grid, Qt::Key_Down);
        EXPECT_EQ(c.input->text(), c.grid->item(1, c.column)->text());
        EXPECT_EQ(c.dialog->focusWidget(), c.grid);
        c.dialog->hide();
    }
}

TEST_F(DialogRowMove, AccountSaveAfterAnArrowChangesTheHighlightedAccountOnly) {
    for (const char* compy : {"1001", "1002"}) {
        AcctInput in;
        in.bankCd = QStringLiteral("11");
        in.acctNo = QStringLiteral("30101234567") + QLatin1Char(compy[3]);
        in.compyNo = QString::fromLatin1(compy);
        in.passwd = QStringLiteral("1111");
        in.gcode = QStringLiteral("01");
        ASSERT_TRUE(AccountStore::save(in).saved);
    }
    TFrmF103B00 f;
    f.show();
    clickRow(f.SGrdMBank, 0);
    const QString first = f.EdtInCompyNo->text();
    f.SGrdMBank->setFocus();
    QTest::keyClick(f.SGrdMBank, Qt::Key_Down);
    const QString second = f.EdtInCompyNo->text();
    ASSERT_NE(first, second);
    f.EdtInPasswd->setText(QStringLiteral("2222"));
    f.gClick();
    EXPECT_TRUE(msg.shown().isEmpty()) << msg.texts().join(QLatin1Char('|')).toStdString();
    const auto passwd = [](const QString& compy) {
        return column(QStringLiteral("SELECT Passwd FROM C_ACCT WHERE CompyNo = ?"), {compy}).value(0);
    };
    EXPECT_EQ(passwd(second), QStringLiteral("2222"));
    EXPECT_EQ(passwd(first), QStringLiteral("1111"));
}

} // namespace
