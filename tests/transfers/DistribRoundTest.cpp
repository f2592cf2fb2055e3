#include "RoundFixture.h"

#include "transfers/distribution/DistribList.h"
#include "transfers/distribution/DistribRound.h"
#include "transfers/distribution/M102B02.h"

#include <QLineEdit>
#include <QListWidget>

namespace {

class DistribRounds : public RoundFixture {
protected:
    static DistribRound::Target march(const char* ss = "01") {
        return {QStringLiteral("01.기본"), QStringLiteral("202603"), QString::fromLatin1(ss)};
    }
    static QStringList rows300(const char* table = "H_300_20260301") {
        return column(QStringLiteral("select CustNo || '/' || ItemCd || ' ' || ExempTy || ' ' || Amt || ' ' || "
                                     "ReplyTy from %1 order by SNo, ItemCd")
                          .arg(QString::fromLatin1(table)));
    }
};

TEST_F(DistribRounds, CreateByGradeTwiceAddsOnlyWhatIsMissing) {
    EXPECT_EQ(DistribRound::nextSeqNo(QStringLiteral("202603")), QStringLiteral("01"));
    const QStringList items{QStringLiteral("05")}, lines{QStringLiteral("01.수업료")};
    DistribRound::Outcome o = DistribRound::createByGrade(march(), {QStringLiteral("2")}, items, lines);
    ASSERT_EQ(o.kind, DistribRound::Outcome::Done) << o.text.toStdString();
    EXPECT_EQ(o.rows, 2);
    // Round rows keep the item's code across groups; exempt items (full or
    // partial) are marked with the full amount.
    EXPECT_EQ(rows300(), (QStringList{QStringLiteral("C3/05 0 10000 0"), QStringLiteral("C4/05 0 10000 0")}));
    Database::exec(QStringLiteral("update H_300_20260301 set Amt = 1 where CustNo = 'C3'"));
    o = DistribRound::createByGrade(march(), {QStringLiteral("2"), QStringLiteral("3")}, items, lines);
    EXPECT_EQ(o.rows, 1);
    EXPECT_EQ(rows300(), (QStringList{QStringLiteral("C3/05 0 1 0"), QStringLiteral("C4/05 0 10000 0"),
                                      QStringLiteral("C5/05 1 10000 0")}));
    EXPECT_EQ(DistribRound::nextSeqNo(QStringLiteral("202603")), QStringLiteral("02"));
    EXPECT_EQ(DistribRound::selectorLines(QStringLiteral("01")), QStringList{QStringLiteral("202603 / 01")});
    EXPECT_TRUE(DistribRound::selectorLines(QStringLiteral("02")).isEmpty());
    EXPECT_EQ(logRows().value(0), QStringLiteral("배분이체|[학년별회차생성] 항목그룹: 01.기본, 회차:202603-01, "
                                                 "학년:\"2\", 항목:\"01.수업료\""));

    // Nobody chosen, or nobody found: no empty round is left behind.
    msg.expect(MsgResult::Ok);
    DistribRound::show(DistribRound::createByGrade(march("02"), {}, items, lines));
    o = DistribRound::createByGrade(march("02"), {QStringLiteral("9")}, items, lines);
    EXPECT_EQ(o.kind, DistribRound::Outcome::Refused);
    EXPECT_FALSE(Database::tableExists(QStringLiteral("H_300_20260302")));
}

TEST_F(DistribRounds, DeletesKeepOrDropTransferredRowsAndEmptiedRounds) {
    ASSERT_EQ(DistribRound::createByGroup(
                  march(), {{QStringLiteral("합창단"), QStringLiteral("05"), QStringLiteral("합창단     = 01.수업료")}})
                  .kind,
              DistribRound::Outcome::Done);
    EXPECT_EQ(rows300(), (QStringList{QStringLiteral("C4/05 0 10000 0"), QStringLiteral("C5/05 1 10000 0")}));
    Database::exec(QStringLiteral("update H_300_20260301 set ReplyTy = '1' where CustNo = 'C4'"));
    // By grade: the transferred row stays.
    DistribRound::Outcome o = DistribRound::deleteByGrade(march(), {QStringLiteral("2"), QStringLiteral("3")},
                                                          {QStringLiteral("05")}, {QStringLiteral("01.수업료")});
    EXPECT_EQ(o.rows, 1);
    EXPECT_FALSE(o.dropped);
    EXPECT_EQ(rows300(), QStringList{QStringLiteral("C4/05 0 10000 1")});
    // By group: transferred rows go too, and the emptied round is dropped.
    o = DistribRound::deleteByGroup(march(), {{QStringLiteral("방과후반"), QStringLiteral("05"), QString()}});
    EXPECT_EQ(o.rows, 1);
    EXPECT_TRUE(o.dropped);
    EXPECT_FALSE(Database::tableExists(QStringLiteral("H_300_20260301")));
    EXPECT_EQ(logRows().last(), QStringLiteral("배분이체|[회차DB삭제] 항목그룹: 01.기본,  202603-01회차 DB 삭제"));
    EXPECT_EQ(DistribRound::deleteByGroup(march(), {{QStringLiteral("x"), QStringLiteral("05"), QString()}}).text,
              QStringLiteral("이체년월/회차가 존재 않습니다!"));
}

TEST_F(DistribRounds, ListingEditsAndReset) {
    ASSERT_EQ(DistribRound::createByGrade(march(), {QStringLiteral("1"), QStringLiteral("2")},
                                          {QStringLiteral("05"), QStringLiteral("06")},
                                          {QStringLiteral("01.수업료"), QStringLiteral("02.급식비")})
                  .kind,
              DistribRound::Outcome::Done);
    Database::exec(QStringLiteral("update H_300_20260301 set ReplyTy = '1', ProcDt = '20260310' where CustNo = 'C1'"));
    DistribList::Selection s;
    DistribList::Listing l = DistribList::list(march(), s);
    EXPECT_EQ(l.rows.size(), 8);
    EXPECT_EQ(l.procCnt, 2);
    EXPECT_EQ(l.procAmt, 15000);
    s.snoPrefix = QStringLiteral("201");
    s.procIdx = 2;
    EXPECT_EQ(DistribList::list(march(), s).rows.size(), 4);

    using DistribList::Outcome;
    EXPECT_EQ(DistribList::editAmount(march(), QStringLiteral("10101"), QStringLiteral("05"),
                                      QStringLiteral("김일"), QStringLiteral("7000"))
                  .outcome,
              Outcome::Done);
    EXPECT_EQ(DistribList::bulkAmount(march(), QStringLiteral("06.급식비"), QStringLiteral("2"),
                                      QStringLiteral("100"))
                  .rows,
              2);
    EXPECT_EQ(DistribList::deleteRow(march(), QStringLiteral("10102"), QStringLiteral("06"), QString()).rows, 1);
    EXPECT_EQ(DistribList::resetDate(march(), QStringLiteral("20260310")).rows, 1); // the exempt row stays paid
    EXPECT_EQ(column(QStringLiteral("select SNo || '/' || ItemCd || ' ' || Amt || ' ' || ReplyTy from H_300_20260301 "
                                    "order by SNo, ItemCd")),
              (QStringList{QStringLiteral("10101/05 7000 1"), QStringLiteral("10101/06 5000 0"),
                           QStringLiteral("10102/05 10000 0"), QStringLiteral("20101/05 10000 0"),
                           QStringLiteral("20101/06 100 0"), QStringLiteral("20102/05 10000 0"),
                           QStringLiteral("20102/06 100 0")}));
    EXPECT_EQ(logRows().last(), QStringLiteral("배분이체|[학생삭제]회차:202603-01, 학번:10102, 성명:, 항목:06"));

    // A round of another group is not listed.
    const DistribRound::Target other{QStringLiteral("02.방과후"), QStringLiteral("202603"), QStringLiteral("01")};
    l = DistribList::list(other, {});
    EXPECT_TRUE(l.rows.isEmpty());
    EXPECT_EQ(l.wrongGroup, QStringLiteral("조회하신 그룹이 틀립니다. 확인해주세요"));
}

TEST_F(DistribRounds, SelectorListsNewestFirstByGroup) {
    for (const char* ss : {"01", "02"})
        ASSERT_EQ(DistribRound::createByGrade(march(ss), {QStringLiteral("1")}, {QStringLiteral("05")}, {}).kind,
                  DistribRound::Outcome::Done);
    TFrmM102B02 d;
    d.EdGcode->setText(QStringLiteral("01"));
    d.FormShow();
    ASSERT_EQ(d.LbYearMon->count(), 2);
    EXPECT_EQ(d.LbYearMon->item(0)->text(), QStringLiteral("202603 / 02"));
    // OK with nothing chosen changes nothing.
    d.BBtnOKClick();
    EXPECT_EQ(d.result(), QDialog::Rejected);
    d.LbYearMon->setCurrentRow(1);
    d.BBtnOKClick();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(d.yearMon() + d.seqNo(), QStringLiteral("20260301"));
    d.EdGcode->setText(QStringLiteral("02"));
    d.FormShow();
    EXPECT_EQ(d.LbYearMon->count(), 0);
}

// Amounts the dialogs never pass, handed to the stores: refused with the
// dialogs' box, nothing written; commas are whole won.
TEST_F(DistribRounds, AmountStoresRefuseWhatTheDialogsNeverPass) {
    ASSERT_EQ(DistribRound::createByGrade(march(), {QStringLiteral("1")}, {QStringLiteral("05")},
                                          {QStringLiteral("01.수업료")})
                  .kind,
              DistribRound::Outcome::Done);
    const auto state = [] {
        return column(QStringLiteral(
                   "select SNo || '/' || ItemCd || ' ' || Amt from H_300_20260301 order by SNo")) +
               logRows();
    };
    const QString numbers = QStringLiteral("금액은 숫자로만 입력하세요!");
    const struct {
        const char* name;
        QString amount, prefix;
        QString caption, text;
    } cases[] = {
        {"letters", QStringLiteral("1x0"), QStringLiteral("1"), QStringLiteral("금액입력오류"), numbers},
        {"empty", QString(), QStringLiteral("1"), QStringLiteral("금액입력오류"),
         QStringLiteral("금액을 입력하세요!")},
        {"negative", QStringLiteral("-100"), QStringLiteral("1"), QStringLiteral("금액입력오류"), numbers},
        {"a line break", QStringLiteral("1\r\n00"), QStringLiteral("1"), QStringLiteral("금액입력오류"),
         numbers},
        {"a prefix that is not digits", QStringLiteral("100"), QStringLiteral("1'"),
         QStringLiteral("학번입력 오류"), QStringLiteral("학번 입력 정보가 올바르지 않습니다.")},
    };
    const QStringList before = state();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DistribList::Result bulk =
            DistribList::bulkAmount(march(), QStringLiteral("05.수업료"), c.prefix, c.amount);
        EXPECT_EQ(bulk.outcome, DistribList::Outcome::Refused);
        EXPECT_EQ(bulk.caption, c.caption);
        EXPECT_EQ(bulk.error, c.text);
        if (c.prefix == QLatin1String("1")) {
            const DistribList::Result one = DistribList::editAmount(
                march(), QStringLiteral("10101"), QStringLiteral("05"), QString(), c.amount);
            EXPECT_EQ(one.outcome, DistribList::Outcome::Refused);
            EXPECT_EQ(one.error, c.text);
        }
        EXPECT_EQ(state(), before);
    }
    EXPECT_EQ(DistribList::editAmount(march(), QStringLiteral("10101"), QStringLiteral("05"), QString(),
                                      QStringLiteral("3,000"))
                  .outcome,
              DistribList::Outcome::Done);
    EXPECT_EQ(column(QStringLiteral("select Amt from H_300_20260301 where SNo = '10101'")),
              QStringList{QStringLiteral("3000")});
}

} // namespace
