#include "students/RosterPrint.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/ui/Modal.h"
#include "shared/F201B03.h"
#include "shared/F201B03_02.h"
#include "students/F201B00.h"
#include "support/PdfText.h"
#include "support/TestRoot.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {

class RosterPrintTest : public TestRoot {
protected:
    void SetUp() override {
        TestRoot::SetUp();
        SNoLen = 5;
    }
    void TearDown() override {
        Modal::setRunner({});
        TestRoot::TearDown();
    }

    static void student(const QString& sNo, const QString& name, const QString& sex, const QString& useTy,
                        const QString& bank = QStringLiteral("04"),
                        const QString& sms = QStringLiteral("1")) {
        static int n = 0;
        ASSERT_TRUE(Database::insertRow(
            QStringLiteral("M_CUST"),
            {{QStringLiteral("CustNo"), QStringLiteral("C%1").arg(++n, 5, 10, QLatin1Char('0'))},
             {QStringLiteral("SCd"), sNo.left(1)},
             {QStringLiteral("SNo"), sNo},
             {QStringLiteral("Nm"), name},
             {QStringLiteral("Sex"), sex},
             {QStringLiteral("BankCd"), bank},
             {QStringLiteral("AcctNo"), QStringLiteral("123456789012")},
             {QStringLiteral("UseTy"), useTy},
             {QStringLiteral("smsYN"), sms}}));
    }

    // Three classes: 1-01 with one transferred student, 1-02, 2-01.
    static void threeClasses() {
        student(QStringLiteral("10101"), QStringLiteral("김하나"), QStringLiteral("1"), QStringLiteral("1"));
        student(QStringLiteral("10102"), QStringLiteral("이두리"), QStringLiteral("2"), QStringLiteral("0"));
        student(QStringLiteral("10103"), QStringLiteral("박세찬"), QStringLiteral("3"), QStringLiteral("1"),
                QStringLiteral("99"));
        student(QStringLiteral("10201"), QStringLiteral("최네모"), QStringLiteral("1"), QStringLiteral("1"));
        student(QStringLiteral("20101"), QStringLiteral("정다섯"), QStringLiteral("2"), QStringLiteral("1"),
                QStringLiteral("04"), QStringLiteral("2"));
    }

    static RosterFilter everyone() {
        RosterFilter f;
        f.bankText = QStringLiteral("00.모든은행");
        return f;
    }

    static QStringList rowOf(const QStringList& texts, const QString& sNo) {
        const int at = int(texts.indexOf(sNo));
        return at < 0 ? QStringList() : texts.mid(at, 9);
    }
};

TEST_F(RosterPrintTest, ByClassGivesAPagePerClassWithItsCounts) {
    threeClasses();
    const RosterListing l = RosterList::pListStudents(everyone());
    const auto report = RosterPrint::make(l.rows, false, {});
    const ReportDocument doc = report->layout();
    ASSERT_EQ(doc.pages.size(), 3);
    const struct {
        const char16_t *head, *useY, *useN, *tot;
    } pages[] = {
        {u"1 학년 01 반", u"재학생수: 2", u"전출생수: 1", u"총인원수: 3"},
        {u"1 학년 02 반", u"재학생수: 1", u"전출생수: 0", u"총인원수: 1"},
        {u"2 학년 01 반", u"재학생수: 1", u"전출생수: 0", u"총인원수: 1"},
    };
    for (int p = 0; p < 3; ++p) {
        SCOPED_TRACE(p);
        const QStringList t = doc.pages[p].texts();
        // Title, page number, date and time on every page, above the class.
        EXPECT_EQ(t.mid(0, 7), (QStringList{"학생명부", "PAGE : ", QString::number(p + 1),
                                            "발행일자 : ", "2026-03-16", "발행시간 : ", "10:20:30"}));
        EXPECT_TRUE(t.contains(QString::fromUtf16(pages[p].head)));
        EXPECT_EQ(t.mid(t.size() - 3),
                  (QStringList{QString::fromUtf16(pages[p].useY), QString::fromUtf16(pages[p].useN),
                               QString::fromUtf16(pages[p].tot)}));
        EXPECT_TRUE(t.contains(QStringLiteral("전입일")));
    }
    const QStringList first = doc.pages[0].texts();
    EXPECT_EQ(first.mid(0, 7), (QStringList{"학생명부", "PAGE : ", "1", "발행일자 : ", "2026-03-16",
                                            "발행시간 : ", "10:20:30"}));
    EXPECT_FALSE(first.contains(QStringLiteral("[조건내역]")));
    // Codes written out; a sex code 3 and a bank without a name as they are.
    EXPECT_EQ(rowOf(first, QStringLiteral("10101")).mid(0, 7),
              (QStringList{"10101", "김하나", "남자", "국민은행", "123456789012", "", "재학"}));
    EXPECT_EQ(rowOf(first, QStringLiteral("10102")).at(6), QStringLiteral("전출"));
    EXPECT_EQ(rowOf(first, QStringLiteral("10103")).mid(2, 2), (QStringList{"3", ""}));
}

TEST_F(RosterPrintTest, WholeListPrintsTheRowsUnderOneHeadingWithTheRostersCounts) {
    threeClasses();
    const auto report = RosterPrint::make(
        RosterList::pListStudents(everyone()).rows, true,
        {QStringLiteral("총인원수: 5"), QStringLiteral("재학생수: 4"), QStringLiteral("전출생수: 1")});
    const ReportDocument doc = report->layout();
    ASSERT_EQ(doc.pages.size(), 1);
    const QStringList t = doc.pages[0].texts();
    EXPECT_EQ(t.mid(t.size() - 3), (QStringList{"총인원수: 5", "재학생수: 4", "전출생수: 1"}));
    EXPECT_FALSE(t.contains(QStringLiteral("1 학년 01 반")));
    QStringList order;
    for (const QString& s : t)
        if (s.size() == 5 && s.at(0).isDigit()) order << s;
    EXPECT_EQ(order, (QStringList{"10101", "10102", "10103", "10201", "20101"}));
}

// A roster long enough for three pages: each page, as the PDF reads back,
// carries the title and its own page number above the column titles, and
// the rows run on without a gap or a repeat.
TEST_F(RosterPrintTest, EveryPageOfALongRosterCarriesItsHeading) {
    if (!PdfText::available()) GTEST_SKIP() << "no pdftotext";
    for (int n = 1; n <= 100; ++n)
        student(QStringLiteral("1%1").arg(n, 4, 10, QLatin1Char('0')), QStringLiteral("학생%1").arg(n),
                QStringLiteral("1"), QStringLiteral("1"));
    const auto report = RosterPrint::make(RosterList::pListStudents(everyone()).rows, true,
                                          {QStringLiteral("총인원수: 100"), QString(), QString()});
    const ReportDocument doc = report->layout();
    ASSERT_EQ(doc.pages.size(), 3);
    QString error;
    const QStringList read = PdfText::pages(doc, &error);
    ASSERT_EQ(read.size(), 3) << error.toStdString();
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    QStringList numbers;
    for (int p = 0; p < 3; ++p) {
        SCOPED_TRACE(p + 1);
        const QString page = QString(read.at(p)).remove(blanks).remove(QChar(0x01));
        // Above the column titles stands the heading and nothing else; the
        // page number read apart from its caption, since the text layer
        // puts it on the line it sees it on.
        const qsizetype columns = page.indexOf(QStringLiteral("학번성명성별"));
        ASSERT_GT(columns, 0) << page.toStdString();
        QString head = page.left(columns);
        for (const char* part : {"학생명부", "PAGE:", "발행일자:", "2026-03-16", "발행시간:", "10:20:30"}) {
            const QString text = QString::fromUtf8(part);
            EXPECT_TRUE(head.contains(text)) << part << "\n" << page.toStdString();
            head.remove(text);
        }
        EXPECT_EQ(head, QString::number(p + 1));
        for (const QString& t : doc.pages[p].texts())
            if (t.size() == 5 && t.startsWith(QLatin1Char('1'))) numbers << t;
    }
    ASSERT_EQ(numbers.size(), 100);
    for (int n = 1; n <= 100; ++n)
        EXPECT_EQ(numbers.at(n - 1), QStringLiteral("1%1").arg(n, 4, 10, QLatin1Char('0')));
}

// The window prints what it listed: the listing's own conditions, the SMS
// choice included, after the print-type dialog.
TEST_F(RosterPrintTest, WindowPrintsTheListedRowsAfterTheDialog) {
    threeClasses();
    TFrmF201B00 w;
    ASSERT_TRUE(w.BBtnPreview->isEnabled());
    w.RGpSMSYn->button(1)->setChecked(true);
    w.BBtnInquiryClick();
    ASSERT_EQ(w.gridRowCount(), 5); // header and four who accept messages

    QStringList seen;
    ReportDocument shown;
    Modal::setRunner([&](QDialog* d) {
        if (auto* b03 = qobject_cast<TFrmF201B03*>(d)) {
            seen << QStringLiteral("B03");
            EXPECT_TRUE(b03->rdobtn1->isChecked());
            b03->rdobtn2->setChecked(true);
            b03->BBtnOkClick();
            return b03->result();
        }
        if (auto* pv = qobject_cast<QPrintPreviewDialog*>(d)) {
            seen << QStringLiteral("preview");
            EXPECT_EQ(pv->windowTitle(), QStringLiteral("학생명부"));
        }
        return 0;
    });
    w.BBtnPreviewClick();
    EXPECT_EQ(seen, (QStringList{"B03", "preview"}));

    // Cancel prints nothing; neither does an empty grid.
    seen.clear();
    Modal::setRunner([&](QDialog* d) {
        seen << QString::fromLatin1(d->metaObject()->className());
        return 2;
    });
    w.BBtnPreviewClick();
    EXPECT_EQ(seen, QStringList{"TFrmF201B03"});
    Modal::setRunner([&](QDialog* d) {
        seen << QString::fromLatin1(d->metaObject()->className());
        return 1;
    });
    seen.clear();
    w.RGpSMSYn->button(2)->setChecked(true);
    w.BBtnPreview->setEnabled(true);
    Database::exec(QStringLiteral("DELETE FROM M_CUST WHERE smsYN = '2'"));
    w.BBtnInquiryClick();
    ASSERT_TRUE(w.gridCell(0, 1).isEmpty());
    w.BBtnPreviewClick();
    EXPECT_EQ(seen, QStringList{"TFrmF201B03"});
}

TEST_F(RosterPrintTest, DriverWritesAPdfWithTheHangulTexts) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) GTEST_SKIP() << "no pdftotext";
    threeClasses();
    stopServices();
    QProcess p;
    p.start(QStringLiteral(ZQ_DRIVER_PATH),
            {QStringLiteral("--root"), root(), QStringLiteral("print"), QStringLiteral("roster"),
             QStringLiteral("--by-class"), QStringLiteral("--sms"), QStringLiteral("1"),
             QStringLiteral("--pdf"), path(QStringLiteral("r.pdf")), QStringLiteral("--dump"),
             path(QStringLiteral("r.txt"))});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    EXPECT_TRUE(p.readAllStandardOutput().contains("\"pages\":2"));
    QProcess t;
    t.start(QStringLiteral("pdftotext"), {path(QStringLiteral("r.pdf")), QStringLiteral("-")});
    ASSERT_TRUE(t.waitForFinished(30000));
    // Blanks do not survive the extraction reliably (some come back as
    // U+0001), so they are left out of the comparison.
    const QString text =
        QString::fromUtf8(t.readAllStandardOutput()).remove(QLatin1Char(' ')).remove(QChar(0x01));
    for (const char* s : {"학생명부", "김하나", "박세찬", "1학년02반", "총인원수:3"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(s))) << s << "\n" << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("정다섯"))); // refuses messages: not listed, not printed
    QFile dump(path(QStringLiteral("r.txt")));
    ASSERT_TRUE(dump.open(QIODevice::ReadOnly));
    EXPECT_TRUE(dump.readAll().contains("2 text 6.0 "));
}

// The collection list's print options.
TEST_F(RosterPrintTest, PrintOptionsKeepTwoFieldsInPortrait) {
    TFrmF201B03_02 d;
    EXPECT_TRUE(d.pVertical->isChecked());
    EXPECT_TRUE(d.rdobtn1->isChecked());
    EXPECT_EQ(d.FieldSelCode(), 1100);

    // A third box is unchecked again at once.
    msg.expect(MsgResult::Ok);
    d.chkGroup->click();
    EXPECT_FALSE(d.chkGroup->isChecked());
    EXPECT_EQ(msg.texts(), QStringList{"2개 항목만 선택가능합니다."});

    // Only 환불일자: refused, the dialog stays.
    d.chkHanAmt->click();
    msg.expect(MsgResult::Ok);
    d.BBtnOk->click();
    EXPECT_EQ(msg.texts().last(), QStringLiteral("세로출력인 경우 2개이상 인쇄필드를 선택하세요"));
    EXPECT_EQ(d.result(), 0);

    // 그룹 and 환불일자: accepted.
    d.chkGroup->click();
    EXPECT_EQ(d.FieldSelCode(), 101);
    d.BBtnOk->click();
    EXPECT_EQ(d.result(), 1);
}

TEST_F(RosterPrintTest, PrintOptionsInLandscapeTakeAnyBoxes) {
    TFrmF201B03_02 d;
    d.chkHanDay->click();
    d.chkHanAmt->click();
    d.pHorizontal->click();
    EXPECT_FALSE(d.chkPanel->isEnabled());
    EXPECT_FALSE(d.chkGroup->isEnabled());
    d.BBtnOk->click();
    EXPECT_EQ(d.result(), 1);
    EXPECT_EQ(d.FieldSelCode(), 0);
    d.pVertical->click();
    EXPECT_TRUE(d.chkGroup->isEnabled());

    TFrmF201B03_02 c;
    c.BBtnClose->click();
    EXPECT_EQ(c.result(), 2);
}

} // namespace
