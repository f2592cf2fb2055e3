#include "RoundFixture.h"

#include "data/DMModule.h"
#include "platform/ui/Modal.h"
#include "transfers/common/CollectionListing.h"
#include "transfers/collection/DelFile.h"
#include "transfers/collection/M101B00.h"
#include "transfers/collection/M101B03.h"
#include "transfers/collection/M101B06.h"
#include "transfers/collection/M101B09.h"
#include "transfers/collection/M101B11.h"
#include "transfers/collection/RowEditFlow.h"
#include "transfers/collection/RowFind.h"
#include "transfers/collection/WaitingFiles.h"
#include "transfers/common/KeyEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <functional>

inline void PrintTo(const QStringList& l, std::ostream* os) {
    *os << l.join(QStringLiteral(" ## ")).toStdString();
}

namespace {

using RowEditFlow::After;

// A round of March with C1 (bank 05) on two items, C4 partly exempt, C5
// wholly exempt and a processed row of C2.
class RowEdits : public RoundFixture {
protected:
    void SetUp() override {
        RoundFixture::SetUp();
        DMData->LoadLists(); // the items the fixture added
        makeRound();
    }
    void makeRound() {
        auto grp = [](QMap<QString, QVariant> r, const char* g) {
            r.insert(QStringLiteral("GrpNm"), QString::fromUtf8(g));
            return r;
        };
        round(QStringLiteral("20260301"),
              {grp(row(QStringLiteral("C1"), QStringLiteral("10101"), QStringLiteral("01"), 10000), "방과후반"),
               row(QStringLiteral("C1"), QStringLiteral("10101"), QStringLiteral("02"), 5000),
               row(QStringLiteral("C2"), QStringLiteral("10102"), QStringLiteral("01"), 10000, QStringLiteral("1")),
               grp(row(QStringLiteral("C4"), QStringLiteral("20102"), QStringLiteral("01"), 7000,
                       QStringLiteral("0"), QStringLiteral("2")),
                   "합창단"),
               grp(row(QStringLiteral("C5"), QStringLiteral("30101"), QStringLiteral("01"), 0, QStringLiteral("0"),
                       QStringLiteral("0")),
                   "합창단")});
    }
    // The fixture's permanent exemptions of group 01's first item.
    static void resetExemps() {
        Database::exec(QStringLiteral("delete from M_EXEMP where ItemCd = '05'"));
        exemp(QStringLiteral("C1"), QStringLiteral("05"), QStringLiteral("P"), 3000);
        exemp(QStringLiteral("C4"), QStringLiteral("05"), QStringLiteral("P"), 0);
    }
    static void ins(const QString& file, const QString& type, const QString& seq) {
        ASSERT_TRUE(Database::insertRow(QStringLiteral("M_SRFILE"), {{QStringLiteral("SRType"), type},
                                                                     {QStringLiteral("FileName"), file},
                                                                     {QStringLiteral("YearMon"), QStringLiteral("2603")},
                                                                     {QStringLiteral("SeqNo"), seq},
                                                                     {QStringLiteral("BankCd"), QStringLiteral("05")},
                                                                     {QStringLiteral("Gcode"), QStringLiteral("01")}}));
    }
    void TearDown() override {
        Modal::setRunner({});
        RoundFixture::TearDown();
    }

    static RowEdit::Round march() { return {QStringLiteral("202603"), QStringLiteral("01"), QStringLiteral("01.기본")}; }

    // The row as the window's grid holds it.
    static RowEdit::Row gridRow(const QString& sno, const QString& item, const QString& suffix = QStringLiteral("20260301")) {
        CollectionSelection s;
        s.gcode = QStringLiteral("01");
        s.bankCd = QStringLiteral("00");
        s.yearMon = suffix.left(6);
        s.seqNo = suffix.mid(6);
        const CollectionListing l = CollectionList::list(
            s, [](const QString& id) { return DMData->GetGItemName(id, QStringLiteral("01")); });
        for (const QStringList& c : l.rows)
            if (c.value(ColSNo) == sno && c.value(ColItemCd) == item) return RowEdit::fromCells(c);
        ADD_FAILURE() << "no row " << sno.toStdString();
        return {};
    }
    static QString cell(const QString& col, const QString& sno, const QString& item,
                        const QString& table = QStringLiteral("H_200_20260301")) {
        return column(QStringLiteral("select %1 from %2 where SNo = ? and ItemCd = ?").arg(col, table), {sno, item})
            .value(0);
    }

    // Dialogs that return given values, like a user who typed them and
    // confirmed.
    struct Typed {
        QString amount, text, bank, acct;
        std::optional<RowEdit::StatusChange> status;
        std::optional<RowEdit::BulkAmount> bulk;
        bool delFileConfirmed = true;
        QStringList delFileShown;
    };
    RowEditFlow::Dialogs dialogs(Typed* t) {
        RowEditFlow::Dialogs d;
        d.delFile = [t](const QStringList& files) {
            t->delFileShown = files;
            if (!t->delFileConfirmed) return false;
            TfrmDelFile dlg(QStringLiteral("202603"), QStringLiteral("01"));
            dlg.lbFile->addItems(files);
            dlg.btDelClick();
            return dlg.result() == QDialog::Accepted;
        };
        d.amount = [t](const RowEdit::Row&) -> std::optional<QString> {
            TFrmM101B11 dlg;
            dlg.EdtAmt->setText(t->amount);
            dlg.BBtnOKClick();
            if (dlg.result() != QDialog::Accepted) return std::nullopt;
            return dlg.EdtAmt->text();
        };
        d.unpaid = [t](const RowEdit::Row&) -> std::optional<QString> { return t->text; };
        d.bigo = [t]() -> std::optional<QString> { return t->text; };
        d.account = [t](const RowEdit::Row&) -> std::optional<RowEditFlow::AccountInput> {
            TFrmM101B09 dlg;
            dlg.selectBank(t->bank);
            dlg.MEdtAcctNo->setText(t->acct);
            dlg.BbtnOKClick();
            if (dlg.result() != QDialog::Accepted) return std::nullopt;
            return RowEditFlow::AccountInput{dlg.cbBank->currentText(), dlg.MEdtAcctNo->text()};
        };
        d.status = [t](const RowEdit::Row&) { return t->status; };
        d.bulk = [t](const RowEdit::Row&) { return t->bulk; };
        return d;
    }
    static QString exempFree(const QString& custNo, const QString& itemCd) {
        const QStringList r = column(QStringLiteral("select coalesce(Free, '-') || '/' || Itemval from M_EXEMP "
                                                    "where CustNo = ? and ItemCd = ?"),
                                     {custNo, itemCd});
        return r.isEmpty() ? QStringLiteral("none") : r.first();
    }
};

TEST_F(RowEdits, ExemptionStepsWithAndWithoutThePermanentRow) {
    struct Case {
        const char* name;
        QString sno, item, custNo, itemCd;
        MsgResult answer;
        QString newExemp, exemp; // M_EXEMP after: Free/Itemval or none
        QStringList logs;
    };
    const QString head1 = QStringLiteral("집금이체|[면제수정] 항목그룹 : 01.기본, 회차:202603-01, 학번:10101, 성명:, 항목:수업료");
    const QList<Case> cases = {
        {"not exempt to wholly, permanent: the existing row turns A", QStringLiteral("10101"), QStringLiteral("01"),
         QStringLiteral("C1"), QStringLiteral("05"), MsgResult::Yes, QStringLiteral("0"), QStringLiteral("A/3000"),
         {QStringLiteral("집금이체|[면제등록] 항목그룹 : 01.기본, 학번:10101, 성명:, 항목:수업료"),
          head1 + QStringLiteral("면제여부: Y [전액면제]")}},
        {"not exempt to wholly, this round only: M_EXEMP untouched", QStringLiteral("10101"), QStringLiteral("01"),
         QStringLiteral("C1"), QStringLiteral("05"), MsgResult::No, QStringLiteral("0"), QStringLiteral("P/3000"),
         {head1 + QStringLiteral("면제여부: Y [전액면제]")}},
        {"wholly to partly: a missing row is added with the item's amount", QStringLiteral("30101"),
         QStringLiteral("01"), QStringLiteral("C5"), QStringLiteral("05"), MsgResult::Yes, QStringLiteral("2"),
         QStringLiteral("P/10000"),
         {QStringLiteral("집금이체|[면제등록] 항목그룹 : 01.기본, 학번:30101, 성명:, 항목:수업료"),
          QStringLiteral("집금이체|[면제수정] 항목그룹 : 01.기본, 회차:202603-01, 학번:30101, 성명:, 항목:수업료"
                         "면제여부: Y [부분면제]")}},
        {"partly to none: the permanent row goes", QStringLiteral("20102"), QStringLiteral("01"),
         QStringLiteral("C4"), QStringLiteral("05"), MsgResult::Yes, QStringLiteral("1"), QStringLiteral("none"),
         {QStringLiteral("집금이체|[면제삭제] 항목그룹 : 01.기본, 학번:20102, 성명:, 항목:수업료"),
          QStringLiteral("집금이체|[면제수정] 항목그룹 : 01.기본, 회차:202603-01, 학번:20102, 성명:, 항목:수업료"
                         "면제여부: N [면제해제]")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Database::dropTable(QStringLiteral("H_200_20260301"));
        makeRound();
        resetExemps();
        Database::exec(QStringLiteral("delete from L_Log_202603"));
        const RowEdit::Row r = gridRow(c.sno, c.item);
        const QString amtBefore = cell(QStringLiteral("Amt"), c.sno, c.item);
        Typed t;
        msg.expect(c.answer);
        const After a = RowEditFlow::dblClick(march(), r, ColExemp, dialogs(&t), nullptr);
        EXPECT_EQ(a.kind, After::Relist);
        EXPECT_EQ(cell(QStringLiteral("ExempTy"), c.sno, c.item), c.newExemp);
        EXPECT_EQ(cell(QStringLiteral("Amt"), c.sno, c.item), amtBefore);
        EXPECT_EQ(exempFree(c.custNo, c.itemCd), c.exemp);
        EXPECT_EQ(logRows(), c.logs) << logRows().join(QStringLiteral(" ## ")).toStdString();
        msg.clear();
    }
}

TEST_F(RowEdits, OneAmountDigitsOnlyAndZeroExempts) {
    struct Case {
        const char* name;
        QString typed;
        QString amt, exemp;
        QString box, log;
    };
    const QString head = QStringLiteral("집금이체|[금액수정] 항목그룹 : 01.기본, 회차:202603-01, 학번:10101, 성명:, 항목:급식비");
    const QList<Case> cases = {
        {"commas are allowed", QStringLiteral("12,500"), QStringLiteral("12500"), QStringLiteral("1"), QString(),
         head + QStringLiteral(", 금액:12500")},
        {"zero makes the row wholly exempt", QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QString(),
         head + QStringLiteral(", 금액:0, 면제여부:Y")},
        {"a typo is refused, never saved as 0", QStringLiteral("12a"), QStringLiteral("5000"), QStringLiteral("1"),
         QStringLiteral("금액은 숫자로만 입력하세요!"), QString()},
        {"blank is refused", QStringLiteral(" "), QStringLiteral("5000"), QStringLiteral("1"),
         QStringLiteral("금액을 입력하세요!"), QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Database::exec(QStringLiteral("update H_200_20260301 set Amt = 5000, ExempTy = '1' where ItemCd = '02'"));
        Database::exec(QStringLiteral("delete from L_Log_202603"));
        msg.clear();
        if (!c.box.isEmpty()) msg.expect(MsgResult::Ok);
        Typed t;
        t.amount = c.typed;
        RowEditFlow::dblClick(march(), gridRow(QStringLiteral("10101"), QStringLiteral("02")), ColAmt, dialogs(&t),
                              nullptr);
        EXPECT_EQ(cell(QStringLiteral("Amt"), QStringLiteral("10101"), QStringLiteral("02")), c.amt);
        EXPECT_EQ(cell(QStringLiteral("ExempTy"), QStringLiteral("10101"), QStringLiteral("02")), c.exemp);
        EXPECT_EQ(msg.texts().value(0), c.box);
        EXPECT_EQ(logRows().value(0), c.log);
    }
}

TEST_F(RowEdits, RemarksAndRefusalsByRowState) {
    Typed t;
    t.text = QStringLiteral("통장 잔액부족");
    After a = RowEditFlow::dblClick(march(), gridRow(QStringLiteral("10101"), QStringLiteral("01")), ColUnpaid,
                                    dialogs(&t), nullptr);
    EXPECT_EQ(a.kind, After::SetCell);
    EXPECT_EQ(a.text, t.text);
    EXPECT_EQ(cell(QStringLiteral("Unpaid"), QStringLiteral("10101"), QStringLiteral("01")), t.text);
    t.text = QStringLiteral("  영수증 발급  ");
    a = RowEditFlow::dblClick(march(), gridRow(QStringLiteral("10102"), QStringLiteral("01")), ColUnpaid,
                              dialogs(&t), nullptr);
    EXPECT_EQ(cell(QStringLiteral("Unpaid"), QStringLiteral("10102"), QStringLiteral("01")),
              QStringLiteral("영수증 발급"));
    EXPECT_EQ(logRows(),
              (QStringList{QStringLiteral("집금이체|[미납사유입력] 항목그룹 : 01.기본, 회차:202603-01, 학번:10101, "
                                          "성명:, 항목:수업료, 미납사유:통장 잔액부족"),
                           QStringLiteral("집금이체|[비고란입력] 항목그룹 : 01.기본, 회차:202603-01, 학번:10102, "
                                          "성명:, 항목:수업료, 영수증 발급")}));

    // A transferred row takes no amount, exemption or account edit.
    for (int col : {int(ColAmt), int(ColExemp), int(ColAcct)}) {
        msg.expect(MsgResult::Ok);
        EXPECT_EQ(RowEditFlow::dblClick(march(), gridRow(QStringLiteral("10102"), QStringLiteral("01")), col,
                                        dialogs(&t), nullptr)
                      .kind,
                  After::Nothing);
    }
    EXPECT_EQ(msg.texts().value(2), QStringLiteral("정상이체건에 대해서 해당 셀은 수정할 수 없습니다."));
    EXPECT_EQ(logRows().size(), 2);
}

TEST_F(RowEdits, BulkAmountRules) {
    struct Case {
        const char* name;
        RowEdit::BulkAmount b;
        QStringList changed; // SNo/ItemCd of the rows at 999
    };
    auto bulk = [](const char* item, const char* grp, const char* sno, bool part, bool full) {
        RowEdit::BulkAmount b;
        b.itemId = QString::fromUtf8(item);
        b.grpNm = QString::fromUtf8(grp);
        b.sno = QString::fromUtf8(sno);
        b.amount = QStringLiteral("999");
        b.partFree = part;
        b.allFree = full;
        return b;
    };
    const QList<Case> cases = {
        {"by item: only rows without exemption, unprocessed", bulk("01", "", "", false, false),
         {QStringLiteral("10101/01")}},
        {"by item with both exemption kinds", bulk("01", "", "", true, true),
         {QStringLiteral("10101/01"), QStringLiteral("20102/01"), QStringLiteral("30101/01")}},
        {"by group", bulk("", "합창단", "", true, false), {QStringLiteral("20102/01")}},
        {"a class drops the group", bulk("", "방과후반", "101", false, false),
         {QStringLiteral("10101/01"), QStringLiteral("10101/02")}},
        {"one student whatever the exemption", bulk("", "", "30101", false, false), {QStringLiteral("30101/01")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Database::exec(QStringLiteral("update H_200_20260301 set Amt = 1"));
        Database::exec(QStringLiteral("delete from L_Log_202603"));
        const RowEdit::Result r = RowEdit::bulkAmount(march(), c.b);
        EXPECT_EQ(r.outcome, RowEdit::Outcome::Done);
        EXPECT_EQ(column(QStringLiteral("select SNo || '/' || ItemCd from H_200_20260301 where Amt = 999 "
                                        "order by SNo, ItemCd")),
                  c.changed);
        // The line names the window's item group, never the dialog's student group.
        EXPECT_EQ(logRows(), QStringList{QStringLiteral("집금이체|[금액수정] 항목그룹 : 01.기본, 회차:202603-01, 학번:") +
                                         c.b.sno + QStringLiteral(", 성명:, 항목:") + c.b.itemId +
                                         QStringLiteral(", 이체:")});
    }
    // Nothing picked: no statement, the user is told, the failure is logged.
    Database::exec(QStringLiteral("delete from L_Log_202603"));
    Database::exec(QStringLiteral("update H_200_20260301 set Amt = 1"));
    Typed t;
    t.bulk = bulk("", "", "", true, true);
    msg.expect(MsgResult::Ok);
    RowEditFlow::bulkAmount(march(), gridRow(QStringLiteral("10101"), QStringLiteral("01")), dialogs(&t), nullptr);
    EXPECT_EQ(msg.texts().value(0), QStringLiteral("금액을 수정할 항목, 학생그룹 또는 학번을 선택하세요!!"));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from H_200_20260301 where Amt <> 1")), 0);
    EXPECT_EQ(logRows(), QStringList{QStringLiteral("집금이체|[금액수정실패] 항목그룹 : 01.기본, 회차:202603-01, 학번:, "
                                                    "성명:, 항목:, 이체:0")});
    // A processed current row is no target.
    msg.expect(MsgResult::Ok);
    RowEditFlow::bulkAmount(march(), gridRow(QStringLiteral("10102"), QStringLiteral("01")), dialogs(&t), nullptr);
    EXPECT_EQ(msg.texts().value(1), QStringLiteral("금액수정 대상건이 아닙니다."));
}

TEST_F(RowEdits, BulkDialogChecks) {
    SNoLen = 5;
    TFrmM101B03 d;
    TFrmM101B03::fillChoices(d.CbItem, {QStringLiteral("01.수업료"), QStringLiteral("02.급식비")}, {});
    EXPECT_EQ(d.CbItem->currentIndex(), -1);
    d.setSNo(QStringLiteral("10203"));
    d.EdtAmt->setText(QStringLiteral("3000"));
    d.CAll->setChecked(true);
    EXPECT_FALSE(d.SHakEdit->isEnabled());
    d.BBtnOKClick();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(d.values().sno, QString());
    EXPECT_EQ(d.values().itemId, QString());
    TFrmM101B03 z;
    z.setSNo(QStringLiteral("10200"));
    z.EdtAmt->setText(QStringLiteral("3000"));
    msg.expect(MsgResult::Ok);
    z.BBtnOKClick();
    EXPECT_NE(z.result(), QDialog::Accepted);
    EXPECT_EQ(msg.texts().value(0), QStringLiteral("학번 입력 정보가 올바르지 않습니다."));
}

TEST_F(RowEdits, AccountReachesUnprocessedRowsOfEveryRound) {
    // Rounds of three quarters; the payer's transferred row keeps its account.
    round(QStringLiteral("20250901"), {row(QStringLiteral("C1"), QStringLiteral("10101"), QStringLiteral("01"), 10000)});
    round(QStringLiteral("20251201"),
          {row(QStringLiteral("C1"), QStringLiteral("10101"), QStringLiteral("01"), 10000, QStringLiteral("1"))});
    Database::exec(QStringLiteral("update H_200_20251201 set AcctNo = 'old'"));
    Database::exec(QStringLiteral("update M_CUST set AcctRegYn_1 = 'Y', AcctRegYn_2 = 'Y' where CustNo = 'C1'"));
    Typed t;
    t.bank = QStringLiteral("99");
    t.acct = QStringLiteral("12345");
    const After a = RowEditFlow::dblClick(march(), gridRow(QStringLiteral("10101"), QStringLiteral("01")), ColAcct,
                                          dialogs(&t), nullptr);
    EXPECT_EQ(a.kind, After::Relist);
    EXPECT_EQ(column(QStringLiteral("select BankCd || AcctNo from H_200_20260301 where CustNo = 'C1'")),
              (QStringList{QStringLiteral("9912345"), QStringLiteral("9912345")}));
    EXPECT_EQ(cell(QStringLiteral("BankCd || AcctNo"), QStringLiteral("10101"), QStringLiteral("01"),
                   QStringLiteral("H_200_20250901")),
              QStringLiteral("9912345"));
    EXPECT_EQ(cell(QStringLiteral("AcctNo"), QStringLiteral("10101"), QStringLiteral("01"), QStringLiteral("H_200_20251201")),
              QStringLiteral("old"));
    EXPECT_EQ(column(QStringLiteral("select BankCd || AcctNo || AcctRegYn_1 || AcctRegYn_2 from M_CUST where CustNo = 'C1'")),
              QStringList{QStringLiteral("9912345NN")});
    EXPECT_EQ(logRows().value(0),
              QStringLiteral("집금이체|[계좌번호수정] 항목그룹 : 01.기본, 회차:202603-01, 학번:10101, 성명:, "
                             "항목:수업료, 은행:99.은행없음, 계좌번호:12345 ==>학생명부 및 다른회차에 미처리된 건도 "
                             "모두 변경됨."));

    // A bank's rules refuse a bad account: nothing changes.
    t.bank = QStringLiteral("04");
    t.acct = QStringLiteral("1");
    msg.expect(MsgResult::Ok);
    RowEditFlow::dblClick(march(), gridRow(QStringLiteral("10101"), QStringLiteral("01")), ColAcct, dialogs(&t),
                          nullptr);
    EXPECT_EQ(msg.texts().value(0), QStringLiteral("계좌번호가 잘못되었습니다!"));
    EXPECT_EQ(logRows().size(), 1);
}

TEST_F(RowEdits, StatusChanges) {
    auto change = [](int sel, qint64 amount) {
        RowEdit::StatusChange c;
        c.selReplyTy = sel;
        c.date = QStringLiteral("20260310");
        c.amount = QString::number(amount);
        return c;
    };
    const QString fields = QStringLiteral("ReplyTy || '|' || coalesce(ReplyCd,'') || '|' || coalesce(ProcDt,'') || '|' "
                                          "|| coalesce(ReDt,'') || '|' || coalesce(REAmt,0)");
    struct Case {
        const char* name;
        QString from;
        RowEdit::StatusChange c;
        QString after, action;
    };
    const QList<Case> cases = {
        {"cash keeps the amount", QStringLiteral("0"), change(2, 10000), QStringLiteral("2|00|20260310||0"),
         QStringLiteral("[미처리->현금수납]")},
        {"partial refund", QStringLiteral("1"), change(3, 3000), QStringLiteral("3|00|20260301|20260310|3000"),
         QStringLiteral("[정상이체->환불]")},
        {"cash taken back", QStringLiteral("2"), change(0, 0), QStringLiteral("0||||0"),
         QStringLiteral("[현금수납->미처리]")},
        {"refund undone into a transfer", QStringLiteral("3"), change(1, 10000), QStringLiteral("1|00|20260310||0"),
         QStringLiteral("[환불->자동이체]")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Database::exec(QStringLiteral("update H_200_20260301 set ReplyTy = ?, ProcDt = '20260301', ReDt = "
                                      "'20260302', REAmt = 500 where SNo = '10101' and ItemCd = '01'")
                           .replace(QLatin1Char('?'), QLatin1Char('\'') + c.from + QLatin1Char('\'')));
        Database::exec(QStringLiteral("delete from L_Log_202603"));
        Typed t;
        t.status = c.c;
        RowEditFlow::changeStatus(march(), gridRow(QStringLiteral("10101"), QStringLiteral("01")), dialogs(&t),
                                  nullptr);
        EXPECT_EQ(cell(fields, QStringLiteral("10101"), QStringLiteral("01")), c.after);
        EXPECT_TRUE(logRows().value(0).startsWith(QStringLiteral("집금이체|") + c.action +
                                                  QStringLiteral(" 항목그룹 : 01.기본, 년월회차:202603-01, 학번:10101")));
    }
    // A refund over the row's amount is refused.
    Database::exec(QStringLiteral("update H_200_20260301 set ReplyTy = '1' where SNo = '10101' and ItemCd = '01'"));
    Typed t;
    t.status = change(3, 20000);
    msg.expect(MsgResult::Ok);
    RowEditFlow::changeStatus(march(), gridRow(QStringLiteral("10101"), QStringLiteral("01")), dialogs(&t), nullptr);
    EXPECT_EQ(msg.texts().value(0), QStringLiteral("적용할 금액이 적절하지 않습니다."));
    EXPECT_EQ(cell(QStringLiteral("ReplyTy"), QStringLiteral("10101"), QStringLiteral("01")), QStringLiteral("1"));
}

TEST_F(RowEdits, FailedStatementChangesNothingAndSaysSo) {
    ASSERT_TRUE(Database::exec(QStringLiteral("create trigger no_update before update on H_200_20260301 "
                                              "begin select raise(abort, 'locked'); end")));
    Typed t;
    RowEdit::StatusChange c;
    c.selReplyTy = 2;
    c.date = QStringLiteral("20260310");
    t.status = c;
    msg.expect(MsgResult::Ok);
    RowEditFlow::changeStatus(march(), gridRow(QStringLiteral("10101"), QStringLiteral("01")), dialogs(&t), nullptr);
    ASSERT_EQ(msg.shown().size(), 1);
    EXPECT_EQ(msg.shown()[0].icon, MsgIcon::Error);
    EXPECT_EQ(cell(QStringLiteral("ReplyTy"), QStringLiteral("10101"), QStringLiteral("01")), QStringLiteral("0"));
    const QStringList logs = logRows();
    ASSERT_EQ(logs.size(), 1);
    EXPECT_TRUE(logs[0].startsWith(QStringLiteral("집금이체|[미처리->현금수납 실패] 항목그룹")));
    // The same for a one-amount edit: no log line claims it was done.
    t.amount = QStringLiteral("700");
    msg.expect(MsgResult::Ok);
    RowEditFlow::dblClick(march(), gridRow(QStringLiteral("10101"), QStringLiteral("01")), ColAmt, dialogs(&t),
                          nullptr);
    EXPECT_EQ(msg.shown().value(1).icon, MsgIcon::Error);
    EXPECT_EQ(cell(QStringLiteral("Amt"), QStringLiteral("10101"), QStringLiteral("01")), QStringLiteral("10000"));
    EXPECT_EQ(logRows().size(), 1);
}

TEST_F(RowEdits, StatusDialogChoicesAndDate) {
    TFrmM101B06 d;
    d.pSetReplyTy(QStringLiteral("1"), QStringLiteral("10000"));
    EXPECT_TRUE(d.rdoReplyty3->isChecked());
    EXPECT_FALSE(d.rdoReplyty2->isEnabled());
    EXPECT_FALSE(d.rdoReplyty0->isEnabled());
    d.ReAmt->setText(QStringLiteral("0"));
    msg.expect(MsgResult::Ok);
    d.bbtnOKClick();
    EXPECT_NE(d.result(), QDialog::Accepted);
    EXPECT_EQ(msg.texts().value(0), QStringLiteral("환불금액은 반드시 입력하셔야 합니다."));
    d.ReAmt->setText(QStringLiteral("3000"));
    d.MedtShftDate->setText(QStringLiteral("2026-02-30"));
    msg.expect(MsgResult::Ok);
    d.bbtnOKClick();
    EXPECT_NE(d.result(), QDialog::Accepted);
    EXPECT_EQ(msg.shown().value(1).caption, QStringLiteral("일자입력오류"));
    d.MedtShftDate->setText(QStringLiteral("2026-03-02"));
    d.bbtnOKClick();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(d.values().date, QStringLiteral("20260302"));
    EXPECT_EQ(d.values().selReplyTy, 3);

    TFrmM101B06 r;
    r.pSetReplyTy(QStringLiteral("3"), QStringLiteral("10000"));
    EXPECT_TRUE(r.rdoReplyty2->isChecked());
    EXPECT_TRUE(r.rdoReplyty1->isEnabled());
    EXPECT_FALSE(r.rdoReplyty3->isEnabled());
    EXPECT_EQ(r.MedtShftDate->text(), QStringLiteral("2026-03-16"));
}

TEST_F(RowEdits, WaitingFileOfferDeletesRequestFilesOnly) {
    // Waiting: a request of bank 05 and no result in round 01 of March. A
    // received row of the same name (another round's) stays.
    ins(QStringLiteral("26030205.201"), QStringLiteral("S"), QStringLiteral("02"));
    ins(QStringLiteral("26030105.201"), QStringLiteral("S"), QStringLiteral("01"));
    ins(QStringLiteral("26030105.201"), QStringLiteral("R"), QStringLiteral("02"));
    QFile f(path(QStringLiteral("send/26030105.201")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();

    Typed t;
    t.amount = QStringLiteral("8000");
    // No to the offer: refused.
    msg.expect({MsgResult::No, MsgResult::Ok});
    RowEditFlow::dblClick(march(), gridRow(QStringLiteral("10101"), QStringLiteral("01")), ColAmt, dialogs(&t),
                          nullptr);
    EXPECT_EQ(msg.texts().value(1), QStringLiteral("수신대기상태인 자료입니다."));
    EXPECT_EQ(cell(QStringLiteral("Amt"), QStringLiteral("10101"), QStringLiteral("01")), QStringLiteral("10000"));
    // Yes, then Yes to the deletion: the file and its request row go, the edit goes on.
    msg.expect({MsgResult::Yes, MsgResult::Yes});
    RowEditFlow::dblClick(march(), gridRow(QStringLiteral("10101"), QStringLiteral("01")), ColAmt, dialogs(&t),
                          nullptr);
    EXPECT_EQ(t.delFileShown, QStringList{QStringLiteral("26030105.201")});
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("send/26030105.201"))));
    EXPECT_EQ(column(QStringLiteral("select SRType || FileName from M_SRFILE order by SRType, FileName")),
              (QStringList{QStringLiteral("R26030105.201"), QStringLiteral("S26030205.201")}));
    EXPECT_EQ(cell(QStringLiteral("Amt"), QStringLiteral("10101"), QStringLiteral("01")), QStringLiteral("8000"));
    EXPECT_EQ(logRows().value(0), QStringLiteral("집금이체|[송신대기파일삭제]회차:202603-01"));

    // A file already gone from send is reported and its row still goes.
    ins(QStringLiteral("26030105.202"), QStringLiteral("S"), QStringLiteral("01"));
    msg.expect({MsgResult::Yes, MsgResult::Ok});
    EXPECT_TRUE(WaitingFiles::confirmAndRemove({QStringLiteral("26030105.202")}, QStringLiteral("202603"),
                                               QStringLiteral("01")));
    EXPECT_EQ(msg.texts().last(), QStringLiteral("파일이 없거나 삭제할수 없습니다.\r파일작성 내역만 삭제합니다."));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from M_SRFILE where FileName = '26030105.202'")), 0);
}

TEST(RowFindTest, WrapsRoundAndGoesOn) {
    auto gridRow = [](const char* sno, const char* nm, const char* item, const char* acct) {
        QStringList c(ColCount);
        c[ColSNo] = QString::fromUtf8(sno);
        c[ColNm] = QString::fromUtf8(nm);
        c[ColItem] = QString::fromUtf8(item);
        c[ColAcct] = QString::fromUtf8(acct);
        return c;
    };
    const QList<QStringList> rows = {gridRow("10101", "김일", "수업료", "111"), gridRow("10102", "이이", "급식비", "222"),
                                     gridRow("10103", "김일", "급식비", "333"), gridRow("10104", "박삼", "수업료", "444")};
    struct Case {
        const char* name;
        RowFind::Query q;
        QList<int> found; // successive clicks
    };
    const QList<Case> cases = {
        {"same name twice wraps round", {RowFind::Mode::Name, QStringLiteral("김일"), {}}, {1, 3, 1}},
        {"within one item", {RowFind::Mode::Name, QStringLiteral("김일"), QStringLiteral("02.급식비")}, {3, 3}},
        {"the last row found starts again at the top", {RowFind::Mode::Account, QStringLiteral("444"), {}}, {4, 4}},
        {"student number never goes on", {RowFind::Mode::SNo, QStringLiteral("10102"), {}}, {2, 2}},
        {"nothing found", {RowFind::Mode::Name, QStringLiteral("없음"), {}}, {0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RowFind::State s;
        QList<int> got;
        for (int i = 0; i < c.found.size(); ++i)
            got << RowFind::find(rows, c.q, &s);
        EXPECT_EQ(got, c.found);
    }
}

// Values the dialogs never pass, handed to the stores directly: each is
// refused with the dialog's box and nothing is written.
TEST_F(RowEdits, StoresRefuseWhatTheirDialogsNeverPass) {
    // What the stores hold: every round row, the roster's accounts, the job log.
    const auto storedState = [] {
        QStringList out = column(QStringLiteral(
            "select SNo || '/' || ItemCd || '|' || Amt || '|' || ExempTy || '|' || ReplyTy || '|' || "
            "coalesce(REAmt, '') || '|' || coalesce(ReDt, '') || '|' || coalesce(Unpaid, '') || '|' || "
            "BankCd || '|' || coalesce(AcctNo, '') from H_200_20260301 order by SNo, ItemCd"));
        out += column(QStringLiteral("select CustNo || '|' || coalesce(BankCd, '') || '|' || "
                                     "coalesce(AcctNo, '') from M_CUST order by CustNo"));
        out += logRows();
        return out;
    };
    const RowEdit::Row open = gridRow(QStringLiteral("10101"), QStringLiteral("02"));
    const RowEdit::Row paid = gridRow(QStringLiteral("10102"), QStringLiteral("01")); // transferred, 10000
    const QString nul = QStringLiteral("a") + QChar(0) + QStringLiteral("b");
    const QString wide = QString(16, QChar(0xAC00)); // 32 CP949 bytes
    const QString notCp949 = QStringLiteral("잔액\U0001F600");
    auto refund = [](const QString& amount, const QString& date = QStringLiteral("20260310")) {
        RowEdit::StatusChange c;
        c.selReplyTy = 3;
        c.date = date;
        c.amount = amount;
        return c;
    };
    auto bulk = [](const QString& amount) {
        RowEdit::BulkAmount b;
        b.itemId = QStringLiteral("02");
        b.amount = amount;
        return b;
    };
    const QString numbers = QStringLiteral("금액은 숫자로만 입력하세요!");
    const QString unpaidBad = QStringLiteral("미납사유에 쓸 수 없는 문자가 있습니다!!");
    const QString bigoBad = QStringLiteral("비고에 쓸 수 없는 문자가 있습니다!!");
    struct Case {
        const char* name;
        std::function<RowEdit::Result()> call;
        QString caption, text;
    };
    const RowEdit::Round r = march();
    const QList<Case> cases = {
        {"amount: letters", [&] { return RowEdit::editAmount(r, open, QStringLiteral("1x0")); },
         QStringLiteral("금액입력오류"), numbers},
        {"amount: empty", [&] { return RowEdit::editAmount(r, open, QString()); },
         QStringLiteral("금액입력오류"), QStringLiteral("금액을 입력하세요!")},
        {"amount: negative", [&] { return RowEdit::editAmount(r, open, QStringLiteral("-500")); },
         QStringLiteral("금액입력오류"), numbers},
        {"amount: a fraction", [&] { return RowEdit::editAmount(r, open, QStringLiteral("500.5")); },
         QStringLiteral("금액입력오류"), numbers},
        {"bulk amount: letters", [&] { return RowEdit::bulkAmount(r, bulk(QStringLiteral("1x0"))); },
         QStringLiteral("금액입력오류"), QStringLiteral("금액을 입력하세요!")},
        {"bulk amount: empty", [&] { return RowEdit::bulkAmount(r, bulk(QString())); },
         QStringLiteral("금액입력오류"), QStringLiteral("금액을 입력하세요!")},
        {"bulk amount: negative", [&] { return RowEdit::bulkAmount(r, bulk(QStringLiteral("-1"))); },
         QStringLiteral("금액입력오류"), QStringLiteral("금액을 입력하세요!")},
        {"refund: letters", [&] { return RowEdit::changeStatus(r, paid, refund(QStringLiteral("1x0"))); },
         QStringLiteral("환불금액 확인"), numbers},
        {"refund: empty", [&] { return RowEdit::changeStatus(r, paid, refund(QString())); },
         QStringLiteral("환불금액 확인"), QStringLiteral("환불금액은 반드시 입력하셔야 합니다.")},
        {"refund: zero", [&] { return RowEdit::changeStatus(r, paid, refund(QStringLiteral("0"))); },
         QStringLiteral("환불금액 확인"), QStringLiteral("환불금액은 반드시 입력하셔야 합니다.")},
        {"refund: zero with commas", [&] { return RowEdit::changeStatus(r, paid, refund(QStringLiteral("0,000"))); },
         QStringLiteral("환불금액 확인"), QStringLiteral("환불금액은 반드시 입력하셔야 합니다.")},
        {"refund: negative", [&] { return RowEdit::changeStatus(r, paid, refund(QStringLiteral("-3000"))); },
         QStringLiteral("환불금액 확인"), numbers},
        {"refund: over the row's amount",
         [&] { return RowEdit::changeStatus(r, paid, refund(QStringLiteral("10,001"))); }, QString(),
         QStringLiteral("적용할 금액이 적절하지 않습니다.")},
        {"refund: no such date",
         [&] {
             return RowEdit::changeStatus(r, paid,
                                          refund(QStringLiteral("3000"), QStringLiteral("20260231")));
         },
         QStringLiteral("일자입력오류"),
         QStringLiteral("일자가 올바르지 않습니다. yyyy-mm-dd 형식으로 입력하세요!!")},
        {"unpaid: over 30 bytes", [&] { return RowEdit::editUnpaid(r, open, wide); },
         QStringLiteral("미납사유"),
         QStringLiteral("미납사유은(는) 한글 15자, 영문/숫자 30자까지 입력할 수 있습니다!!")},
        {"unpaid: not CP949", [&] { return RowEdit::editUnpaid(r, open, notCp949); },
         QStringLiteral("미납사유"), unpaidBad},
        {"unpaid: CR LF", [&] { return RowEdit::editUnpaid(r, open, QStringLiteral("a\r\nb")); },
         QStringLiteral("미납사유"), unpaidBad},
        {"unpaid: TAB", [&] { return RowEdit::editUnpaid(r, open, QStringLiteral("a\tb")); },
         QStringLiteral("미납사유"), unpaidBad},
        {"unpaid: NUL", [&] { return RowEdit::editUnpaid(r, open, nul); }, QStringLiteral("미납사유"),
         unpaidBad},
        {"remark: blank", [&] { return RowEdit::editBigo(r, paid, QStringLiteral("   ")); },
         QStringLiteral("비고란 사용자 입력"), QStringLiteral("비고를 입력하세요!!")},
        {"remark: over 30 bytes", [&] { return RowEdit::editBigo(r, paid, wide); },
         QStringLiteral("비고란 사용자 입력"),
         QStringLiteral("비고은(는) 한글 15자, 영문/숫자 30자까지 입력할 수 있습니다!!")},
        {"remark: not CP949", [&] { return RowEdit::editBigo(r, paid, notCp949); },
         QStringLiteral("비고란 사용자 입력"), bigoBad},
        {"remark: CR LF inside", [&] { return RowEdit::editBigo(r, paid, QStringLiteral("a\r\nb")); },
         QStringLiteral("비고란 사용자 입력"), bigoBad},
        {"remark: NUL", [&] { return RowEdit::editBigo(r, paid, nul); }, QStringLiteral("비고란 사용자 입력"),
         bigoBad},
        {"account: the bank refuses it",
         [&] { return RowEdit::changeAccount(r, open, QStringLiteral("04.국민은행"), QStringLiteral("1")); },
         QStringLiteral("계좌번호오류"), QStringLiteral("계좌번호가 잘못되었습니다!")},
        {"account: letters",
         [&] {
             return RowEdit::changeAccount(r, open, QStringLiteral("04"), QStringLiteral("12x45678901234"));
         },
         QStringLiteral("계좌번호오류"), QStringLiteral("계좌번호가 잘못되었습니다!")},
        {"account: no such bank",
         [&] { return RowEdit::changeAccount(r, open, QStringLiteral("7x"), QStringLiteral("123")); },
         QStringLiteral("계좌번호오류"), QStringLiteral("계좌번호가 잘못되었습니다!")},
        {"account: TAB with no bank",
         [&] {
             return RowEdit::changeAccount(r, open, QStringLiteral("99.은행없음"), QStringLiteral("12\t34"));
         },
         QStringLiteral("계좌번호오류"), QStringLiteral("계좌번호가 잘못되었습니다!")},
    };
    const QStringList before = storedState();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RowEdit::Result res = c.call();
        EXPECT_EQ(res.outcome, RowEdit::Outcome::Refused);
        EXPECT_EQ(res.caption, c.caption);
        EXPECT_EQ(res.error, c.text);
        EXPECT_EQ(storedState(), before);
    }
}

// Amounts with commas are whole won: never a refund or an amount of 0.
TEST_F(RowEdits, StoresTakeAmountsWithCommas) {
    RowEdit::StatusChange c;
    c.selReplyTy = 3;
    c.date = QStringLiteral("20260310");
    c.amount = QStringLiteral("3,000");
    EXPECT_TRUE(
        RowEdit::changeStatus(march(), gridRow(QStringLiteral("10102"), QStringLiteral("01")), c).done());
    EXPECT_EQ(cell(QStringLiteral("ReplyTy || '/' || REAmt"), QStringLiteral("10102"), QStringLiteral("01")),
              QStringLiteral("3/3000"));
    EXPECT_TRUE(logRows().value(0).endsWith(QStringLiteral(" 금액:3000")));
    EXPECT_TRUE(RowEdit::editAmount(march(), gridRow(QStringLiteral("10101"), QStringLiteral("02")),
                                    QStringLiteral("12,500"))
                    .done());
    EXPECT_EQ(cell(QStringLiteral("Amt"), QStringLiteral("10101"), QStringLiteral("02")),
              QStringLiteral("12500"));
    RowEdit::BulkAmount b;
    b.itemId = QStringLiteral("02");
    b.amount = QStringLiteral("1,000");
    EXPECT_TRUE(RowEdit::bulkAmount(march(), b).done());
    EXPECT_EQ(cell(QStringLiteral("Amt"), QStringLiteral("10101"), QStringLiteral("02")),
              QStringLiteral("1000"));
}

} // namespace
