#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/sheet/Workbook.h"
#include "platform/ui/Modal.h"
#include "platform/ui/TextViewer.h"
#include "students/F401B00.h"
#include "students/F401Baa.h"
#include "support/TestRoot.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

namespace {

class NewTermForms : public TestRoot {
protected:
    void SetUp() override {
        TestRoot::SetUp();
        for (const auto& [c, s, n] : {std::tuple{"C11", "10101", "가"}, {"C12", "10102", "나"}, {"C21", "20101", "다"}})
            ASSERT_TRUE(Database::insertRow(QStringLiteral("M_CUST"),
                                            {{QStringLiteral("CustNo"), QString::fromLatin1(c)},
                                             {QStringLiteral("SCd"), QString::fromLatin1(s).left(1)},
                                             {QStringLiteral("SNo"), QString::fromLatin1(s)},
                                             {QStringLiteral("Nm"), QString::fromUtf8(n)},
                                             {QStringLiteral("UseTy"), QStringLiteral("1")}}));
        // Dialogs are answered by the test: each one is handed to `dialog`.
        Modal::setRunner([this](QDialog* d) { return dialog ? dialog(d) : int(QDialog::Rejected); });
    }
    void TearDown() override {
        Modal::setRunner({});
        TestRoot::TearDown();
    }
    std::function<int(QDialog*)> dialog;
};

TEST_F(NewTermForms, AssignmentFormEditsChecksPreviewsAndApplies) {
    TFrmF401Baa w;
    ASSERT_EQ(w.vGrid->item(0, 1)->text(), QStringLiteral("C11"));
    EXPECT_TRUE(w.cmdApply->isEnabled());

    // Keep old class and number, grade one up (the dialog's default).
    msg.expect(MsgResult::Yes);
    w.cmdAllClick();
    dialog = [](QDialog*) { return 1; };
    w.cmdGradeClick();
    EXPECT_EQ(w.vGrid->item(2, 7)->text() + w.vGrid->item(2, 8)->text() + w.vGrid->item(2, 9)->text(),
              QStringLiteral("30101"));

    // Typing a number another row has: once the edit has ended, the box
    // names the second row.
    msg.expect(MsgResult::Ok);
    w.vGrid->item(1, 9)->setText(QStringLiteral("1"));
    QCoreApplication::processEvents();
    EXPECT_TRUE(msg.texts().last().startsWith(QStringLiteral("신학년번호가 동일하게 입력된 자료가 존재 합니다( 구-1-01-02")));
    EXPECT_EQ(w.vGrid->item(1, 9)->text(), QStringLiteral("01")); // padded

    // The check lists the pair in the viewer.
    QString viewed;
    dialog = [&viewed](QDialog* d) {
        if (auto* v = qobject_cast<TextViewer*>(d)) viewed = v->text();
        return 1;
    };
    w.cmdChkSNOClick();
    EXPECT_TRUE(viewed.contains(QStringLiteral("신학반번호 동일")));
    EXPECT_TRUE(QFile::exists(DMLib->FDataDir + QStringLiteral("/신학기반편성오류.txt")));

    w.vGrid->item(1, 9)->setText(QStringLiteral("2"));
    w.cmdViewClick();
    EXPECT_TRUE(w.preview);
    EXPECT_EQ(w.wGrid->item(2, 2)->text(), QStringLiteral("30101"));
    // Find by old number in the preview.
    dialog = [](QDialog* d) {
        auto* f = qobject_cast<TFrmF401Baf*>(d);
        f->cboSType->setCurrentIndex(2);
        f->mskSKey->setText(QStringLiteral("1-01-02"));
        f->cmsSearchClick();
        EXPECT_EQ(f->FindRow, 1);
        return 1;
    };
    w.cmdSearchClick();
    w.cmdCloseClick();
    EXPECT_FALSE(w.preview);

    // The final apply with grade 2 as graduates.
    msg.expect(MsgResult::Yes);
    dialog = [](QDialog* d) {
        auto* o = qobject_cast<TFrmF401Bac*>(d);
        o->Out1CheckCombo->setChecked(true);
        o->Out1Combo->setCurrentIndex(-1);
        o->Out1Combo->setEditable(true);
        o->Out1Combo->setEditText(QStringLiteral("2"));
        o->FinalConfirm = 1;
        return 1;
    };
    msg.expect(MsgResult::Ok);
    w.cmdApplyClick();
    EXPECT_EQ(msg.texts().last(), QStringLiteral("신학기 반편성 최종확정 작업이 정상으로 완료되었습니다."));
    EXPECT_EQ(column(QStringLiteral("SELECT SNo FROM M_CUST ORDER BY CustNo")),
              (QStringList{QStringLiteral("20101"), QStringLiteral("20102")}));
}

// Enter commits the cell and walks columns 7, 8, 9, then column 7 of the
// next row; a bad entry or a duplicate keeps the cursor where it is.
TEST_F(NewTermForms, EnterWalksTheNewGradeClassAndNumber) {
    TFrmF401Baa w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QTableWidget* g = w.vGrid;
    g->setFocus();
    const auto type = [g](const char* text) {
        QTest::keyClick(g, Qt::Key_F2);
        QWidget* ed = QApplication::focusWidget();
        ASSERT_NE(ed, g);
        QTest::keyClicks(ed, QString::fromLatin1(text));
        QTest::keyClick(ed, Qt::Key_Return);
        // A box comes once the edit has ended.
        QCoreApplication::processEvents();
    };
    const auto at = [g] { return std::pair{g->currentRow(), g->currentColumn()}; };
    // Rows 1 and 2 start as grade 2 with no class: both keys "2".
    g->setCurrentCell(0, 7);
    type("4");
    EXPECT_EQ(at(), std::pair(0, 8));
    type("3");
    EXPECT_EQ(g->item(0, 8)->text(), QStringLiteral("03"));
    EXPECT_EQ(at(), std::pair(0, 9));
    msg.expect(MsgResult::Ok);
    type("x");
    EXPECT_EQ(msg.texts().value(0), QStringLiteral("숫자를 입력하십시오."));
    EXPECT_EQ(at(), std::pair(0, 9));
    type("5");
    EXPECT_EQ(at(), std::pair(1, 7));
    // Row 2 typed the same: the duplicate keeps the cursor on its number.
    type("4");
    type("3");
    msg.expect(MsgResult::Ok);
    type("5");
    EXPECT_TRUE(msg.texts().last().startsWith(QStringLiteral("신학년번호가 동일하게")));
    EXPECT_EQ(at(), std::pair(1, 9));
    // Without an editor Enter moves too; the last row stays on column 9.
    g->setCurrentCell(2, 8);
    QTest::keyClick(g, Qt::Key_Return);
    EXPECT_EQ(at(), std::pair(2, 9));
    QTest::keyClick(g, Qt::Key_Return);
    EXPECT_EQ(at(), std::pair(2, 9));
}

TEST_F(NewTermForms, ClassDialogKeepsABadEntry) {
    TFrmF401Bab d;
    for (const char* bad : {"0", "00", ""}) {
        d.NewBanEdit->setText(QString::fromLatin1(bad));
        msg.expect(MsgResult::Ok);
        d.OKBtnClick();
        EXPECT_NE(d.result(), QDialog::Accepted) << bad;
    }
    d.NewBanEdit->setText(QStringLiteral("5"));
    d.OKBtnClick();
    EXPECT_EQ(d.ban, QStringLiteral("05"));
}

TEST_F(NewTermForms, NumberDialogAndWorkbook) {
    TFrmF401B00 d;
    d.edtSchLvl->setText(QStringLiteral("1"));
    d.edtSchLvlExit();
    EXPECT_EQ(d.edtStudtNm->text(), QStringLiteral("가"));
    d.medtDesStudtNo->setText(QStringLiteral("10102"));
    msg.expect(MsgResult::Ok);
    d.bbtnSaveClick();
    EXPECT_EQ(msg.texts().last(), QStringLiteral("존재하는 학번입니다"));
    d.medtDesStudtNo->setText(QStringLiteral("10109"));
    d.bbtnSaveClick();
    EXPECT_EQ(d.edtStudtNm->text(), QStringLiteral("나")); // on to the next student

    Workbook wb;
    wb.writeRow(1, 1, {QStringLiteral("고유번호"), QStringLiteral("학번")});
    wb.writeRow(2, 1, {QStringLiteral("C21"), 20105});
    const QString file = root() + QStringLiteral("/new.xlsx");
    ASSERT_TRUE(wb.save(file));
    answerFiles({file});
    msg.expect(MsgResult::Ok);
    d.bbtnExlSaveClick();
    EXPECT_EQ(msg.texts().last(), QStringLiteral("저장이 완료되었습니다!!\r저장 1건, 오류 0건"));
    EXPECT_EQ(column(QStringLiteral("SELECT SNo FROM M_CUST WHERE CustNo = 'C21'")), QStringList{QStringLiteral("20105")});
}

} // namespace
