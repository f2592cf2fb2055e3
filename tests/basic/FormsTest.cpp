#include "basic/F102B00.h"
#include "basic/F103B00.h"
#include "basic/F104B00.h"
#include "basic/F105B00.h"
#include "data/DMMain.h"
#include "platform/db/Database.h"
#include "platform/ui/FormRegistry.h"
#include "support/TestRoot.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

namespace {

class BasicForms : public TestRoot {
protected:
    static QString cell(QTableWidget* g, int r, int c) {
        const QTableWidgetItem* it = g->item(r, c);
        return it ? it->text() : QString();
    }
    static int rowOf(QTableWidget* g, int col, const QString& text) {
        for (int r = 0; r < g->rowCount(); ++r)
            if (cell(g, r, col) == text) return r;
        return -1;
    }
};

TEST(BasicFormRegistry, EveryDialogIsRegisteredUnderItsUnit) {
    const struct {
        const char* unit;
        const char16_t* caption;
    } units[] = {{"F102B00", u"학년등록"},
                 {"F103B00", u"은행등록"},
                 {"F104B00", u"항목등록"},
                 {"F105B00", u"항목그룹등록"}};
    for (const auto& u : units) {
        const FormEntry* e = FormRegistry::find(QString::fromLatin1(u.unit));
        ASSERT_NE(e, nullptr) << u.unit;
        EXPECT_EQ(e->caption, QString::fromUtf16(u.caption));
        EXPECT_EQ(e->mode, FormEntry::Mode::Dialog);
    }
}

TEST_F(BasicForms, GradeDialogSavesAndRefusesAnEmptyCode) {
    TFrmF102B00 f;
    EXPECT_EQ(f.SGrdSCd->rowCount(), 1); // empty table: one blank row
    msg.expect(MsgResult::Ok);
    f.EdtSCdNm->setText(QStringLiteral("1학년"));
    f.BBtnUpdt->click();
    ASSERT_EQ(msg.shown().size(), 1);
    EXPECT_EQ(msg.shown()[0].icon, MsgIcon::Error);
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM C_SCD")), 0);

    f.EdtSCd->setText(QStringLiteral("1"));
    f.CbCompyNm->setCurrentIndex(2);
    f.BBtnUpdt->click();
    EXPECT_EQ(cell(f.SGrdSCd, 0, 2), QStringLiteral("중학교"));
    f.BBtnAdd->click();
    f.SGrdSCdDblClick(0);
    EXPECT_EQ(f.EdtSCdNm->text(), QStringLiteral("1학년"));
    EXPECT_EQ(f.CbCompyNm->currentText(), QStringLiteral("중학교"));
}

TEST_F(BasicForms, GroupDialogStates) {
    Database::insertRow(QStringLiteral("G_GROUP"), {{QStringLiteral("G_CODE"), QStringLiteral("03")},
                                                    {QStringLiteral("G_NAME"), QStringLiteral("셋")}});
    TFrmF105B00 f;
    EXPECT_EQ(f.NCode->text(), QStringLiteral("04"));
    EXPECT_FALSE(f.EditGName->isEnabled());

    f.SGridGroupClick(1);
    EXPECT_EQ(f.EditGCode->text(), QStringLiteral("03"));
    EXPECT_EQ(f.BTGSave->text(), QStringLiteral("삭제"));
    EXPECT_TRUE(f.BTGSave->isEnabled());
    EXPECT_FALSE(f.EditGName->isEnabled());

    f.BTGEditClick();
    EXPECT_EQ(f.BTGSave->text(), QStringLiteral("저장"));
    EXPECT_FALSE(f.BTGNew->isEnabled());
    EXPECT_EQ(f.Label4->text(), QStringLiteral("코드는 수정불가"));
    f.EditGName->setText(QStringLiteral("셋째"));
    msg.expect(MsgResult::Ok);
    f.BTGSave->click();
    EXPECT_EQ(msg.shown().last().text, QStringLiteral("저장되었습니다"));
    EXPECT_EQ(cell(f.SGridGroup, 1, 1), QStringLiteral("셋째"));

    f.BTGNewClick();
    EXPECT_EQ(f.EditGCode->text(), QStringLiteral("04"));
    EXPECT_FALSE(f.BTGEdit->isEnabled());
    f.EditGName->setText(QStringLiteral("넷"));
    msg.expect(MsgResult::Ok);
    f.BTGSave->click();
    EXPECT_EQ(f.SGridGroup->rowCount(), 3);

    // Delete: answered No keeps it, Yes removes it.
    f.SGridGroupClick(2);
    msg.expect(MsgResult::No);
    f.BTGSave->click();
    EXPECT_EQ(f.SGridGroup->rowCount(), 3);
    f.SGridGroupClick(2);
    msg.expect(MsgResult::Yes);
    f.BTGSave->click();
    EXPECT_EQ(f.SGridGroup->rowCount(), 2);
    f.BTGOK->click();
    EXPECT_EQ(DMData->GroupTexts(), (QStringList{QStringLiteral("01.기본"), QStringLiteral("03.셋째")}));
}

TEST_F(BasicForms, FeeItemDialogNewItemAndReloadOnClose) {
    Database::insertRow(QStringLiteral("G_GROUP"), {{QStringLiteral("G_CODE"), QStringLiteral("02")},
                                                    {QStringLiteral("G_NAME"), QStringLiteral("방과후")}});
    TFrmF104B00 f;
    ASSERT_EQ(f.cboGroup->count(), 2);
    EXPECT_EQ(f.cboGroup->currentText(), QStringLiteral("01.기본"));
    EXPECT_FALSE(f.BBtnUpdt->isEnabled());

    f.cboGroup->setCurrentIndex(1);
    f.cboGroupChange();
    f.BBtnAddClick();
    EXPECT_EQ(f.EdtItemCd->text(), QStringLiteral("01"));
    EXPECT_EQ(f.eItemID->text(), QStringLiteral("00"));
    EXPECT_EQ(f.BBtnUpdt->text(), QStringLiteral("저장"));
    f.EdtItemNmChange(QStringLiteral("수련회"));
    f.EdtItemNm->setText(QStringLiteral("수련회"));
    EXPECT_EQ(f.edtKwan->text(), QStringLiteral("수련회"));
    f.EdtItemAmt->setText(QStringLiteral("120,000"));
    f.BBtnUpdt->click();
    EXPECT_EQ(cell(f.SGrdItem, 0, TFrmF104B00::ColAmt), QStringLiteral("120,000"));
    EXPECT_EQ(cell(f.SGrdItem, 0, TFrmF104B00::ColGroup), QStringLiteral("02.방과후"));
    EXPECT_EQ(f.BBtnUpdt->text(), QStringLiteral("수정"));

    // Clicking the row, then editing the amount asks about the exemptions.
    f.SGrdItemClick(0);
    EXPECT_TRUE(f.BBtnUpdt->isEnabled());
    f.BBtnUpdt->click(); // 수정
    f.EdtItemAmt->setText(QStringLiteral("130000"));
    msg.expect({MsgResult::Yes, MsgResult::Ok});
    f.BBtnUpdt->click(); // 저장
    ASSERT_EQ(msg.shown().size(), 2);
    EXPECT_EQ(msg.shown()[0].caption, QStringLiteral("개인별 면제금액 변경"));
    EXPECT_EQ(msg.shown()[1].caption, QStringLiteral("변경대상 자료없음"));

    // Nothing clicked: the delete does not touch the placeholder and asks nothing.
    f.BBtnDelClick();
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM C_ITEM WHERE ItemCd = '00'")), 1);

    EXPECT_TRUE(DMData->ItemList.isEmpty()); // group 01 loaded at start
    f.BBtnClose->click();
    ASSERT_EQ(DMData->ItemList.size(), 1);
    EXPECT_EQ(DMData->ItemList[0].Display, QStringLiteral("01.수련회"));
}

TEST_F(BasicForms, AccountDialogNotesRepresentativeAndDelete) {
    AccountStore::save([] {
        AcctInput in;
        in.bankCd = QStringLiteral("11");
        in.acctNo = QStringLiteral("301012345678");
        in.compyNo = QStringLiteral("1001");
        in.gcode = QStringLiteral("01");
        return in;
    }());
    AcctInput second;
    second.bankCd = QStringLiteral("11");
    second.acctNo = QStringLiteral("301012345679");
    second.compyNo = QStringLiteral("1002");
    second.gcode = QStringLiteral("01");
    AccountStore::save(second);

    TFrmF103B00 f;
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM C_BANKH")), 114);
    ASSERT_EQ(f.SGrdMBank->rowCount(), 2);
    const int rep = rowOf(f.SGrdMBank, TFrmF103B00::ColCompyNo, QStringLiteral("1001"));
    const int other = 1 - rep;
    EXPECT_EQ(f.SGrdMBank->item(rep, TFrmF103B00::ColCompyNo)->foreground().color(), QColor(Qt::red));
    EXPECT_TRUE(f.SGrdMBank->item(rep, TFrmF103B00::ColCompyNo)->font().bold());
    EXPECT_FALSE(f.SGrdMBank->item(other, TFrmF103B00::ColCompyNo)->font().bold());
    EXPECT_EQ(cell(f.SGrdMBank, rep, TFrmF103B00::ColBank), QStringLiteral("11.농협중앙"));

    f.SGrdMBankClick(other);
    EXPECT_EQ(f.mBNotice->toPlainText().split(QLatin1Char('\n')).size(), 5);
    EXPECT_FALSE(f.EdtEBcode->isHidden());
    EXPECT_TRUE(f.EdtRFcode->isHidden());
    EXPECT_EQ(f.lblBankCode->text(), QStringLiteral("교육금고코드"));

    // The clicked row is not the representative, but the typed key is.
    f.EdtInAcctNo->setText(QStringLiteral("301012345678"));
    f.EdtInCompyNo->setText(QStringLiteral("1001"));
    msg.expect(MsgResult::Ok);
    f.BBtnDel->click();
    EXPECT_EQ(msg.shown().last().text, QStringLiteral("[대표코드]는 삭제할수 없습니다."));
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM C_ACCT")), 2);

    f.SGrdMBankClick(other);
    msg.expect(MsgResult::Yes);
    f.BBtnDel->click();
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM C_ACCT")), 1);
    EXPECT_EQ(f.SGrdMBank->rowCount(), 1);

    // A wrong account number is reported on leaving the input.
    f.EdtInAcctNo->setText(QStringLiteral("123"));
    msg.expect(MsgResult::Ok);
    f.EdtInAcctNoExit();
    EXPECT_EQ(msg.shown().last().caption, QStringLiteral("계좌번호오류"));
}

} // namespace
