#include "RoundFixture.h"

#include "platform/sys/Clock.h"
#include "platform/ui/FormRegistry.h"
#include "transfers/common/KeyEdit.h"
#include "transfers/distribution/DistribPrint.h"
#include "transfers/distribution/M102B03.h"
#include "transfers/distribution/M102B04.h"
#include "transfers/distribution/M102B09.h"
#include "transfers/distribution/M102B10.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProcess>
#include <QStandardItemModel>
#include <QTableView>

namespace {

struct R {
    const char *sno, *nm, *item, *bank, *exempTy, *replyTy, *procDt;
    int amt;
};

class DistribPrintTest : public RoundFixture {
protected:
    void SetUp() override {
        RoundFixture::SetUp();
        ASSERT_TRUE(DMData->CreateH300(QStringLiteral("20260301")));
        DMData->ReloadItems();
    }
    static void add(const R& r) {
        ASSERT_TRUE(
            Database::insertRow(QStringLiteral("H_300_20260301"),
                                {{QStringLiteral("YearMon"), QStringLiteral("202603")},
                                 {QStringLiteral("SeqNo"), QStringLiteral("01")},
                                 {QStringLiteral("SNo"), QString::fromLatin1(r.sno)},
                                 {QStringLiteral("ItemCd"), QString::fromLatin1(r.item)},
                                 {QStringLiteral("BankCd"), QString::fromLatin1(r.bank)},
                                 {QStringLiteral("AcctNo"), QStringLiteral("777-") + QLatin1String(r.sno)},
                                 {QStringLiteral("Amt"), r.amt},
                                 {QStringLiteral("ProcDt"), QString::fromLatin1(r.procDt)},
                                 {QStringLiteral("ReplyTy"), QString::fromLatin1(r.replyTy)},
                                 {QStringLiteral("ExempTy"), QString::fromLatin1(r.exempTy)},
                                 {QStringLiteral("CustNo"), QStringLiteral("C") + QLatin1String(r.sno)},
                                 {QStringLiteral("Nm"), QString::fromUtf8(r.nm)},
                                 {QStringLiteral("SCd"), QString::fromLatin1(r.sno).left(1)},
                                 {QStringLiteral("Gcode"), QStringLiteral("01")}}));
    }
    static DistribPrint::Request request() {
        DistribPrint::Request r;
        r.round = {QStringLiteral("01.기본"), QStringLiteral("202603"), QStringLiteral("01")};
        return r;
    }
    static ReportDocument print(bool byClass) {
        DistribPrint::Request r = request();
        const DistribList::Listing l = DistribList::list(r.round, r.selection);
        return DistribPrint::makeList(byClass, DistribPrint::rows(l.rows), DistribPrint::totals(l))->layout();
    }
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
    // The value printed after a figure's title.
    static QString figure(const QStringList& texts, const QString& title) {
        const int i = int(texts.lastIndexOf(title));
        return i >= 0 && i + 1 < texts.size() ? texts.at(i + 1) : QStringLiteral("?");
    }
};

// Codes written out, and states other than those known printed as stored.
TEST_F(DistribPrintTest, FlatListPrintsEveryRowAndTheWindowsTotals) {
    add({"10101", "김일", "05", "20", "1", "1", "20260310", 10000});
    add({"10101", "김일", "06", "20", "0", "0", "", 5000});
    add({"10201", "이이", "05", "21", "2", "3", "", 7000});
    add({"10202", "박삼", "05", "21", "1", "2", "20260311", 3000});
    const ReportDocument doc = print(false);
    ASSERT_EQ(doc.pages.size(), 1);
    EXPECT_EQ(doc.title, QStringLiteral("인쇄"));
    const QStringList t = doc.pages[0].texts();
    EXPECT_TRUE(t.contains(QStringLiteral("배분이체내역조회")));
    EXPECT_FALSE(t.contains(QStringLiteral("[조건내역]")));
    const int first = int(t.indexOf(QStringLiteral("10101")));
    ASSERT_GE(first, 0);
    const QString b20 = DMData->GetBankName(QStringLiteral("20")),
                  b21 = DMData->GetBankName(QStringLiteral("21"));
    ASSERT_FALSE(b20.isEmpty());
    const QStringList expected[] = {
        {"10101", "김일", b20, "777-10101", "10,000", "수업료", "X", "처리", "20260310"},
        {"10101", "김일", b20, "777-10101", "5,000", "급식비", "O", "미처리", ""},
        {"10201", "이이", b21, "777-10201", "7,000", "수업료", "2", "3", ""},
        {"10202", "박삼", b21, "777-10202", "3,000", "수업료", "X", "현금수납", "20260311"},
    };
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(t.mid(first + i * 9, 9), expected[i]) << i;
    // Processed is every state but "0".
    EXPECT_EQ(figure(t, QStringLiteral("처리건수:")), QStringLiteral("3"));
    EXPECT_EQ(figure(t, QStringLiteral("처리금액:")), QStringLiteral("20,000"));
    EXPECT_EQ(figure(t, QStringLiteral("미처리건수:")), QStringLiteral("1"));
    EXPECT_EQ(figure(t, QStringLiteral("미처리금액:")), QStringLiteral("5,000"));
}

// Each value stands under its column's title, in both lists, and an amount
// does not run into the item name beside it ("200,000 장학금").
TEST_F(DistribPrintTest, ValuesStandUnderTheirTitles) {
    add({"10101", "김일", "05", "20", "1", "1", "20260310", 200000});
    const QString bank = DMData->GetBankName(QStringLiteral("20"));
    const QStringList titles{"학번", "성명", "은행", "계좌번호", "금액", "항목", "면제", "이체", "이체일"};
    const QStringList values{"10101",  "김일", bank,   "777-10101", "200,000",
                             "수업료", "X",    "처리", "20260310"};
    // Where the text is inked: its width set in the box by its alignment.
    const auto ink = [](const PageItem& it) {
        const double w = std::min(it.textWidth, it.rect.width());
        switch (it.align) {
        case ReportAlign::Left:
            return std::pair{it.rect.left(), it.rect.left() + w};
        case ReportAlign::Right:
            return std::pair{it.rect.right() - w, it.rect.right()};
        case ReportAlign::Center:
            break;
        }
        return std::pair{it.rect.center().x() - w / 2, it.rect.center().x() + w / 2};
    };
    for (const bool byClass : {false, true}) {
        SCOPED_TRACE(byClass ? "by class" : "flat");
        const ReportDocument doc = print(byClass);
        ASSERT_EQ(doc.pages.size(), 1);
        const auto item = [&doc](const QString& text) -> const PageItem* {
            for (const PageItem& it : doc.pages[0].items)
                if (it.kind == PageItem::Text && it.text == text) return &it;
            return nullptr;
        };
        for (int c = 0; c < titles.size(); ++c) {
            SCOPED_TRACE(titles[c].toStdString());
            const PageItem *title = item(titles[c]), *value = item(values[c]);
            ASSERT_TRUE(title && value);
            const auto [tl, tr] = ink(*title);
            const auto [vl, vr] = ink(*value);
            EXPECT_LT(std::max(tl, vl), std::min(tr, vr))
                << "title " << tl << "-" << tr << ", value " << vl << "-" << vr;
        }
        EXPECT_GE(ink(*item(QStringLiteral("수업료"))).first - ink(*item(QStringLiteral("200,000"))).second,
                  2.0);
    }
}

// A class of 60 rows runs over two pages and gets one footer for all 60;
// the next class starts a page of its own; the end prints the window's
// totals.
TEST_F(DistribPrintTest, ByClassFooterCoversAClassOverTwoPages) {
    for (int n = 1; n <= 60; ++n) {
        const QByteArray sno = QByteArray("101") + QByteArray::number(n).rightJustified(2, '0');
        add({sno.constData(), "학생", "05", "20", "1", n % 2 ? "1" : "0", "", 1000});
    }
    add({"10201", "이이", "05", "21", "1", "0", "", 7000});
    add({"10202", "박삼", "06", "21", "1", "1", "", 3000});
    const ReportDocument doc = print(true);
    EXPECT_EQ(doc.title, QStringLiteral("배분이체내역조회"));
    ASSERT_EQ(doc.pages.size(), 3);
    const QStringList p1 = doc.pages[0].texts(), p2 = doc.pages[1].texts(), p3 = doc.pages[2].texts();
    EXPECT_TRUE(p1.contains(QStringLiteral("1 학년 01 반")));
    EXPECT_TRUE(p2.contains(QStringLiteral("1 학년 01 반")));
    EXPECT_TRUE(p3.contains(QStringLiteral("1 학년 02 반")));
    EXPECT_FALSE(p1.contains(QStringLiteral("처리건수:")));
    EXPECT_EQ(p2.count(QStringLiteral("처리건수:")), 1);
    EXPECT_EQ(figure(p2, QStringLiteral("처리건수:")), QStringLiteral("30"));
    EXPECT_EQ(figure(p2, QStringLiteral("처리금액:")), QStringLiteral("30,000"));
    EXPECT_EQ(figure(p2, QStringLiteral("미처리건수:")), QStringLiteral("30"));
    EXPECT_EQ(figure(p2, QStringLiteral("미처리금액:")), QStringLiteral("30,000"));
    EXPECT_FALSE(p3.contains(QStringLiteral("10160")));
    EXPECT_EQ(figure(p3, QStringLiteral("처리건수:")), QStringLiteral("1"));
    EXPECT_EQ(figure(p3, QStringLiteral("미처리금액:")), QStringLiteral("7,000"));
    EXPECT_EQ(figure(p3, QStringLiteral("총처리건수:")), QStringLiteral("31"));
    EXPECT_EQ(figure(p3, QStringLiteral("총미처리금액:")), QStringLiteral("37,000"));
    EXPECT_FALSE(p2.contains(QStringLiteral("총처리건수:")));
}

// The prints reached through the registry read the window's properties and
// list with its conditions; a listing without rows gives no preview.
TEST_F(DistribPrintTest, RegisteredPreviewsFollowTheWindowsConditions) {
    add({"10101", "김일", "05", "20", "1", "1", "20260310", 10000});
    add({"10201", "이이", "05", "21", "1", "0", "", 7000});
    QWidget window;
    window.setProperty("yearMon", QStringLiteral("202603"));
    window.setProperty("seqNo", QStringLiteral("01"));
    window.setProperty("groupText", QStringLiteral("01.기본"));
    window.setProperty("bankCd", QStringLiteral("21"));
    window.setProperty("panelTotals", QStringList{"0 ", "0 ", "1 ", "7,000 "});
    const DistribPrint::Request r = DistribPrint::requestFrom(&window);
    EXPECT_EQ(r.selection.bankCd, QStringLiteral("21"));
    EXPECT_EQ(r.panels.nonProcAmt, QStringLiteral("7,000 "));
    for (const char* unit : {"M102P00", "M102P01"}) {
        const FormEntry* e = FormRegistry::find(QLatin1String(unit));
        ASSERT_NE(e, nullptr) << unit;
        std::unique_ptr<QWidget> w(e->create(&window));
        EXPECT_NE(w.get(), nullptr) << unit;
        if (w) w->setParent(nullptr);
    }
    window.setProperty("snoPrefix", QStringLiteral("3"));
    EXPECT_EQ(DistribPrint::makePreview(DistribPrint::requestFrom(&window), false, &window), nullptr);
}

TEST_F(DistribPrintTest, AmountDialogsRefuseEmptyAndNonWholeAmounts) {
    TFrmM102B10 one;
    one.setProperty("sno", QStringLiteral("10101"));
    EXPECT_EQ(one.MEdtSchNo->text(), QStringLiteral("10101"));
    EXPECT_FALSE(one.MEdtSchNo->isEnabled());
    TFrmM102B03 bulk;
    bulk.setProperty("items", QStringList{QStringLiteral("05.수업료"), QStringLiteral("06.급식비")});
    EXPECT_EQ(bulk.itemText(), QStringLiteral("05.수업료"));
    bulk.CbItem->setEditText(QStringLiteral("06"));
    EXPECT_EQ(bulk.itemText(), QStringLiteral("06.급식비"));
    bulk.MEdtSchNo->setText(QStringLiteral("201"));
    EXPECT_EQ(bulk.property("snoPrefix").toString(), QStringLiteral("201"));

    const struct {
        const char* text;
        const char16_t* box; // null: accepted
    } cases[] = {{"", u"금액을 입력하세요!"},
                 {"   ", u"금액을 입력하세요!"},
                 {"12a", u"금액은 숫자로만 입력하세요!"},
                 {"1,500", nullptr}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        for (QDialog* d : {static_cast<QDialog*>(&one), static_cast<QDialog*>(&bulk)}) {
            d->setResult(0);
            QLineEdit* amt = d == &one ? static_cast<QLineEdit*>(one.EdtAmt) : bulk.EdtAmt;
            amt->setValidator(nullptr);
            amt->setText(QString::fromLatin1(c.text));
            msg.clear();
            if (c.box) msg.expect(MsgResult::Ok);
            if (d == &one)
                one.BBtnOKClick();
            else
                bulk.BBtnConfiClick();
            EXPECT_EQ(d->result(), c.box ? 0 : int(QDialog::Accepted));
            if (c.box) {
                EXPECT_EQ(msg.texts(), QStringList{QString::fromUtf16(c.box)});
            }
        }
    }
    EXPECT_EQ(one.amount(), 1500);
    EXPECT_EQ(bulk.property("amountText").toString(), QStringLiteral("1,500"));
    for (const char* unit : {"M102B03", "M102B04", "M102B09", "M102B10"})
        EXPECT_NE(FormRegistry::find(QLatin1String(unit)), nullptr) << unit;
}

TEST_F(DistribPrintTest, DatesDialogProposesTomorrowAndKeepsTheHiddenChoices) {
    Clock::set(
        QDateTime(QDate(2026, 3, 20), QTime(9, 0))); // a Friday: tomorrow is a Saturday, left to the window
    TFrmM102B04 d;
    EXPECT_EQ(d.property("startDate").toDate(), QDate(2026, 3, 21));
    EXPECT_EQ(d.property("endDate").toDate(), QDate(2026, 3, 21));
    EXPECT_TRUE(d.pnlBokgi->isHidden());
    EXPECT_TRUE(d.RGrpItemBox->isHidden());
    EXPECT_EQ(d.CbFileTp->currentIndex(), -1);
    EXPECT_EQ(d.property("itemIndex").toInt(), 0);
    d.setProperty("accounts", QStringList{QStringLiteral("A"), QStringLiteral("B")});
    EXPECT_EQ(d.property("acctLine").toString(), QStringLiteral("A"));
    // A start in the past is the user's choice.
    d.DTPickerMvS->setDate(QDate(2026, 3, 1));
    d.bbtnOKClick();
    EXPECT_EQ(d.result(), int(QDialog::Accepted));
    EXPECT_EQ(d.startDate(), QDate(2026, 3, 1));
}

TEST_F(DistribPrintTest, FindGoesOnAndStartsOverAfterTheEndQuestion) {
    int last = 0;
    const QStringList cells{"a", "b", "a", "c"};
    EXPECT_EQ(DistribFind::find(cells, QStringLiteral("a"), &last), 1);
    EXPECT_EQ(DistribFind::find(cells, QStringLiteral("a"), &last), 3);
    EXPECT_EQ(DistribFind::find(cells, QStringLiteral("a"), &last), 0);
    EXPECT_EQ(last, 4);
    EXPECT_EQ(DistribFind::find(cells, QStringLiteral("A"), &(last = 0)), 0); // exact text only
    EXPECT_EQ(DistribFind::column(DistribFind::ByAcct), 3);

    // The dialog over a grid named SGrdPay: account search, again, the end
    // question answered OK, and the first row found once more.
    QWidget window;
    auto* grid = new QTableView(&window);
    grid->setObjectName(QStringLiteral("SGrdPay"));
    QStandardItemModel model(4, 10);
    const char* rows[4][4] = {{"10101", "김일", "20", "111"},
                              {"10102", "이이", "20", "222"},
                              {"10201", "김일", "21", "111"},
                              {"10202", "박삼", "21", "333"}};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            model.setItem(r, c, new QStandardItem(QString::fromUtf8(rows[r][c])));
    grid->setModel(&model);
    grid->setCurrentIndex(model.index(3, 0));
    TFrmM102B09 d(&window);
    EXPECT_EQ(grid->currentIndex().row(), 0);
    EXPECT_EQ(d.CbSelect->currentText(), QStringLiteral("1.학번"));
    d.CbSelect->setCurrentIndex(DistribFind::ByAcct);
    d.CbSelectChange();
    d.EdtSearchNm->setText(QStringLiteral("111"));
    d.BBtnSearchClick();
    EXPECT_EQ(grid->currentIndex().row(), 0);
    d.BBtnSearchClick();
    EXPECT_EQ(grid->currentIndex().row(), 2);
    msg.expect(MsgResult::Ok);
    d.BBtnSearchClick();
    EXPECT_EQ(msg.texts(), QStringList{QStringLiteral("자료의 끝입니다!\r처음부터 다시 검색하시겠습니까?")});
    EXPECT_EQ(d.LastFoundRow, 0);
    d.BBtnSearchClick();
    EXPECT_EQ(grid->currentIndex().row(), 0);

    // A name stays as typed; a student number is completed.
    d.CbSelect->setCurrentIndex(DistribFind::ByName);
    d.CbSelectChange();
    d.EdtSearchNm->setText(QStringLiteral("박삼"));
    d.EdtSearchNmExit();
    EXPECT_EQ(d.EdtSearchNm->text(), QStringLiteral("박삼"));
    d.BBtnSearchClick();
    EXPECT_EQ(grid->currentIndex().row(), 3);
    d.CbSelect->setCurrentIndex(DistribFind::BySNo);
    d.CbSelectChange();
    d.EdtSearchNm->setText(QStringLiteral("1021"));
    d.EdtSearchNmExit();
    EXPECT_EQ(d.EdtSearchNm->text(), QStringLiteral("10201"));
}

TEST_F(DistribPrintTest, DriverPrintsFindsAndProposesDates) {
    add({"10101", "김일", "05", "20", "1", "1", "20260310", 10000});
    add({"10101", "김일", "06", "20", "1", "0", "", 5000});
    add({"10201", "이이", "05", "21", "1", "0", "", 7000});
    const QString round = QStringLiteral("202603-01");
    const QString dump = path(QStringLiteral("dist.txt")), pdf = path(QStringLiteral("dist.pdf"));
    int rc = -1;
    auto out = drive({"print", "dist", "--round", round, "--by-class", "--pdf", pdf, "--dump", dump}, &rc);
    EXPECT_EQ(rc, 0);
    ASSERT_EQ(out.size(), 1);
    EXPECT_EQ(out[0].value(QStringLiteral("pages")).toInt(), 2);
    EXPECT_TRUE(QFile::exists(pdf));
    QFile f(dump);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString d = QString::fromUtf8(f.readAll());
    EXPECT_TRUE(d.contains(QStringLiteral("1 학년 02 반")));
    EXPECT_TRUE(d.contains(QStringLiteral("총미처리금액:")));
    EXPECT_TRUE(d.contains(QStringLiteral("12,000")));

    out = drive({"print", "dist", "--round", round, "--sno", "3", "--dump", dump}, &rc);
    EXPECT_EQ(rc, 1);
    EXPECT_EQ(out.value(0).value(QStringLiteral("result")).toString(), QStringLiteral("empty"));
    out = drive({"print", "dist", "--round", "202604-01", "--dump", dump}, &rc);
    EXPECT_EQ(rc, 1);
    EXPECT_EQ(out.value(0).value(QStringLiteral("box")).toString(), QStringLiteral("이체년월/회차오류"));

    // The account of both 10101 rows, three times: two rows, then the end.
    out = drive({"dist", "find", "--round", round, "--by", "acct", "--text", "777-10101", "--times", "4"},
                &rc, "ok");
    EXPECT_EQ(rc, 0);
    ASSERT_EQ(out.size(), 4);
    EXPECT_EQ(out[0].value(QStringLiteral("found")).toInt(), 1);
    EXPECT_EQ(out[1].value(QStringLiteral("found")).toInt(), 2);
    EXPECT_EQ(out[2].value(QStringLiteral("box")).toString(), QStringLiteral("찾기"));
    EXPECT_EQ(out[3].value(QStringLiteral("found")).toInt(), 1);

    out = drive({"dist", "dates", "--bank", "21"}, &rc);
    EXPECT_EQ(out.value(0).value(QStringLiteral("start")).toString(), QStringLiteral("2026-03-17"));
    EXPECT_EQ(out.value(0).value(QStringLiteral("end")).toString(), QStringLiteral("2026-03-17"));

    out = drive({"dist", "edit", "bulk", "--round", round, "--item", "05", "--amount", ""}, &rc);
    EXPECT_EQ(rc, 1);
    EXPECT_EQ(out.value(0).value(QStringLiteral("text")).toString(), QStringLiteral("금액을 입력하세요!"));
}

// Amounts reach the store as typed through the driver: commas are whole
// won, a typo is refused with the amount dialog's box and nothing changes.
TEST_F(DistribPrintTest, DriverAmountsAsTyped) {
    add({"10101", "김일", "05", "20", "1", "0", "", 10000});
    const struct {
        const char* name;
        const char *what, *amount, *sno;
        int rc;
        QString text, stored;
    } cases[] = {
        {"one row: letters", "amount", "1x0", "10101", 1, QStringLiteral("금액은 숫자로만 입력하세요!"),
         QStringLiteral("10000")},
        {"one row: negative", "amount", "-5", "10101", 1, QStringLiteral("금액은 숫자로만 입력하세요!"),
         QStringLiteral("10000")},
        {"bulk: empty", "bulk", "", "1", 1, QStringLiteral("금액을 입력하세요!"), QStringLiteral("10000")},
        {"one row: commas", "amount", "3,000", "10101", 0, QString(), QStringLiteral("3000")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int rc = -1;
        const auto out =
            drive({QStringLiteral("dist"), QStringLiteral("edit"), QString::fromLatin1(c.what),
                   QStringLiteral("--round"), QStringLiteral("202603-01"), QStringLiteral("--sno"),
                   QString::fromLatin1(c.sno), QStringLiteral("--item"), QStringLiteral("05"),
                   QStringLiteral("--amount"), QString::fromLatin1(c.amount)},
                  &rc);
        EXPECT_EQ(rc, c.rc);
        if (!c.text.isEmpty()) {
            ASSERT_FALSE(out.isEmpty());
            EXPECT_EQ(out[0].value(QStringLiteral("box")).toString(), QStringLiteral("금액입력오류"));
            EXPECT_EQ(out[0].value(QStringLiteral("text")).toString(), c.text);
        }
        EXPECT_EQ(column(QStringLiteral("select Amt from H_300_20260301 where SNo = '10101'")),
                  QStringList{c.stored});
    }
}

} // namespace
