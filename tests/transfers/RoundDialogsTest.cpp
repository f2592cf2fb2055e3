#include "RoundFixture.h"

#include "platform/ui/Modal.h"
#include "transfers/collection/M101B01.h"
#include "transfers/common/M101B02.h"
#include "transfers/collection/M101B0a.h"
#include "transfers/collection/M101B13.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>

namespace {

class RoundDialogs : public RoundFixture {
protected:
    void TearDown() override {
        Modal::setRunner({});
        RoundFixture::TearDown();
    }
    static RoundDialogValues values(const QString& ym = {}, const QString& ss = {}) {
        return RoundDialogValues{
            QStringLiteral("01.기본"), ym, ss,
            Rounds::BankChoice{QStringLiteral("00"),
                               {QStringLiteral("99"), QStringLiteral("05"), QStringLiteral("11")}}};
    }
    static void checkAll(QListWidget* l) {
        for (int i = 0; i < l->count(); ++i)
            l->item(i)->setCheckState(Qt::Checked);
    }
};

TEST_F(RoundDialogs, CreationDialogChecksItsChoicesThenCreatesTheNextRound) {
    round(QStringLiteral("20260301"),
          {row(QStringLiteral("C4"), QStringLiteral("20102"), QStringLiteral("01"), 1)});
    round(QStringLiteral("20260303"),
          {row(QStringLiteral("C4"), QStringLiteral("20102"), QStringLiteral("01"), 1)});
    TFrmM101B01 f(values());
    EXPECT_EQ(f.yearMon(), QStringLiteral("202603"));
    EXPECT_EQ(f.seqNo(), QStringLiteral("04"));
    EXPECT_EQ(f.pages.CLbSCd->count(), 3);
    ASSERT_EQ(f.pages.CLbItem->count(), 2);
    EXPECT_EQ(f.pages.CLbItem->item(1)->text(), QStringLiteral("02.급식비"));
    EXPECT_EQ(f.pages.CboItemT, (QStringList{QStringLiteral("01"), QStringLiteral("02")}));
    EXPECT_EQ(f.CLBSeq, (QStringList{QStringLiteral("H_200_20260303"), QStringLiteral("H_200_20260301")}));

    msg.expect({MsgResult::Ok, MsgResult::Ok});
    f.BBtnCreateClick();
    f.pages.chkGrade->click();
    f.BBtnCreateClick();
    EXPECT_EQ(msg.texts(),
              (QStringList{QStringLiteral("학년을 선택하세요."), QStringLiteral("항목을 선택하세요!!")}));
    EXPECT_EQ(msg.shown().last().caption, QStringLiteral("확인요망"));

    checkAll(f.pages.CLbItem);
    f.txtSeqTitle->setText(QStringLiteral("4회차"));
    msg.expect(MsgResult::Ok); // C7 shares C2's student number
    f.BBtnCreateClick();
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_EQ(rowsOf(QStringLiteral("H_200_20260304")).size(), 8);
    EXPECT_EQ(Rounds::title(QStringLiteral("202603"), QStringLiteral("04")), QStringLiteral("4회차"));
}

TEST_F(RoundDialogs, FirstRoundOfAMonthOffersUnusedRounds) {
    round(QStringLiteral("20260101"),
          {row(QStringLiteral("C4"), QStringLiteral("20102"), QStringLiteral("01"), 1)});
    round(QStringLiteral("20260201"),
          {row(QStringLiteral("C4"), QStringLiteral("20102"), QStringLiteral("01"), 1, QStringLiteral("1"))});
    QStringList offered;
    Modal::setRunner([&offered](QDialog* d) {
        auto* a = qobject_cast<TFrmM101B0a*>(d);
        EXPECT_NE(a, nullptr);
        if (!a) return int(QDialog::Rejected);
        for (int i = 0; i < a->clBox->count(); ++i)
            offered << a->clBox->item(i)->text();
        a->chkGrade->click();
        a->cmdClearTableClick();
        return a->result();
    });
    TFrmM101B01 f(values());
    ASSERT_EQ(f.seqNo(), QStringLiteral("01"));
    f.pages.chkGrade->click();
    f.pages.CLbItem->item(0)->setCheckState(Qt::Checked);
    msg.expect({MsgResult::Ok, MsgResult::Yes, MsgResult::Ok});
    f.BBtnCreateClick();
    EXPECT_EQ(offered, QStringList{QStringLiteral("H_200_20260101")});
    EXPECT_EQ(msg.texts().last(), QStringLiteral("1개의 회차가 삭제되었습니다."));
    EXPECT_EQ(Rounds::collectionTables(),
              (QStringList{QStringLiteral("H_200_20260201"), QStringLiteral("H_200_20260301")}));
    EXPECT_EQ(f.result(), QDialog::Accepted);
}

TEST_F(RoundDialogs, AHundredthRoundIsRefused) {
    round(QStringLiteral("20260399"), {});
    TFrmM101B01 f(values());
    EXPECT_TRUE(f.seqNo().isEmpty());
    f.pages.chkGrade->click();
    checkAll(f.pages.CLbItem);
    msg.expect(MsgResult::Ok);
    f.BBtnCreateClick();
    EXPECT_TRUE(msg.texts().last().contains(QStringLiteral("99회차")));
    EXPECT_NE(f.result(), QDialog::Accepted);
    EXPECT_EQ(Rounds::collectionTables(), QStringList{QStringLiteral("H_200_20260399")});
}

TEST_F(RoundDialogs, SelectorHandsBackTheChosenRound) {
    round(QStringLiteral("20260201"),
          {row(QStringLiteral("C4"), QStringLiteral("20102"), QStringLiteral("01"), 1)});
    round(QStringLiteral("20260301"),
          {row(QStringLiteral("C4"), QStringLiteral("20102"), QStringLiteral("01"), 1)});
    TFrmM101B02 f;
    f.EdGcode->setText(QStringLiteral("01"));
    f.FormActivate();
    ASSERT_EQ(f.lbSeqTitle->count(), 2);
    EXPECT_TRUE(f.BBtnOK->isEnabled());
    f.lbSeqTitle->setCurrentRow(1);
    f.LbYearMonDblClick();
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_EQ(f.yearMon() + f.seqNo(), QStringLiteral("20260201"));

    TFrmM101B02 none;
    none.EdGcode->setText(QStringLiteral("02"));
    none.FormActivate();
    EXPECT_FALSE(none.BBtnOK->isEnabled());
    none.LbYearMonDblClick();
    EXPECT_NE(none.result(), QDialog::Accepted);
}

TEST_F(RoundDialogs, AddRowsDialogAddsChosenGroups) {
    ASSERT_TRUE(RoundBuilder::createByGrade(
                    target(QStringLiteral("202603"), QStringLiteral("01")),
                    grades({QStringLiteral("2")}, {QStringLiteral("01")}, QStringLiteral("00")))
                    .ok());
    TFrmM101B13 f(values(QStringLiteral("202603"), QStringLiteral("01")));
    f.PgCtrl->setCurrentWidget(f.pages.TSGrp);
    msg.expect(MsgResult::Ok);
    f.BBtnCreateClick();
    EXPECT_EQ(msg.texts().last(), QStringLiteral("그룹을 추가하세요."));

    f.pages.LbGrp->setCurrentRow(int(Rounds::studentGroups().indexOf(QStringLiteral("합창단"))));
    f.pages.LbItem->setCurrentRow(1);
    f.pages.BBtnGrpAdd->click();
    f.pages.BBtnGrpAdd->click(); // the same pair once
    ASSERT_EQ(f.pages.LbGrpSelect->count(), 1);
    EXPECT_EQ(f.pages.LbGrpSelect->item(0)->text(), QStringLiteral("합창단     = 02.급식비"));
    f.BBtnCreateClick();
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_EQ(
        column(QStringLiteral("SELECT CustNo || ItemCd || GrpNm FROM H_200_20260301 WHERE GrpNm IS NOT NULL "
                              "ORDER BY CustNo")),
        (QStringList{QStringLiteral("C402합창단"), QStringLiteral("C502합창단")}));
}

} // namespace
