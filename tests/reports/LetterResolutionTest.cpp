#include "data/DMModule.h"
#include "platform/report/ReportDocument.h"
#include "platform/settings/IniFile.h"
#include "platform/settings/Registry.h"
#include "platform/text/Cp949.h"
#include "platform/ui/Modal.h"
#include "reports/Letter.h"
#include "reports/P104B00.h"
#include "reports/P105B00.h"
#include "reports/P106B00.h"
#include "reports/P107B00.h"
#include "reports/P108B00.h"
#include "reports/Resolutions.h"
#include "support/TestRoot.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

class LetterAndForms : public TestRoot {
protected:
    void SetUp() override {
        TestRoot::SetUp();
        Modal::setRunner([this](QDialog*) {
            ++previews;
            return 0;
        });
    }
    void TearDown() override {
        Modal::setRunner({});
        TestRoot::TearDown();
    }
    int previews = 0;
};

TEST_F(LetterAndForms, LetterDateIsChecked) {
    const struct {
        const char* date;
        bool ok;
    } dates[] = {{"2026-03-16", true},  {"2024-02-29", true},  {"2026-02-30", false},
                 {"2026-13-01", false}, {"    -  -  ", false}, {"2026-03-  ", false}};
    for (const auto& d : dates)
        EXPECT_EQ(!Letter::check(LetterFields{{}, {}, QString::fromLatin1(d.date), {}}), d.ok) << d.date;

    ASSERT_TRUE(
        Registry::writeString(QStringLiteral("SchoolInfo"), QStringLiteral("SchNm"), QStringLiteral(" ")));
    ASSERT_TRUE(Registry::writeString(QStringLiteral("SchoolInfo"), QStringLiteral("KidNm"),
                                      QStringLiteral("해님유치원")));
    TFrmP108B00 w;
    // Printed at once: today's date, nothing else typed.
    EXPECT_EQ(w.MedtDate->text(), QStringLiteral("2026-03-16"));
    w.bbtnPrntClick();
    EXPECT_EQ(previews, 1);
    w.MemoDescript->setPlainText(QStringLiteral("줄\n").repeated(200) + QStringLiteral("끝"));
    const ReportDocument doc = Letter::printLetter(w.letter());
    ASSERT_EQ(doc.pages.size(), 1); // the body keeps to its area
    const QStringList texts = doc.pages[0].texts();
    EXPECT_TRUE(texts.contains(QStringLiteral("2026  년  03  월  16  일")));
    EXPECT_TRUE(texts.contains(QStringLiteral("해님유치원장")));
    EXPECT_FALSE(texts.join(QLatin1Char('\n')).contains(QStringLiteral("끝")));

    // A date that is no date is refused before the preview.
    w.MedtDate->setText(QStringLiteral("20260230"));
    msg.expect(MsgResult::Ok);
    w.bbtnPrntClick();
    EXPECT_EQ(previews, 1);
    ASSERT_EQ(msg.shown().size(), 1);
    EXPECT_EQ(msg.shown()[0].text, QStringLiteral("일자가 올바르지 않습니다."));
    EXPECT_EQ(msg.shown()[0].icon, MsgIcon::Error);
}

TEST_F(LetterAndForms, ResolutionValuesComeBack) {
    const QString file = path(QStringLiteral("ini/과오납금반환결의서.ini"));
    {
        TFrmP106B00 d;
        // The first opening writes every key, empty, in the form's order.
        IniFile ini(file);
        ASSERT_TRUE(ini.load());
        EXPECT_EQ(ini.keys(QStringLiteral("DATA")), d.form().keys());
        EXPECT_EQ(ini.keys(QStringLiteral("DATA")).size(), 16);
        EXPECT_TRUE(d.field(QStringLiteral("EdtSeqNo"))->text().isEmpty());

        d.field(QStringLiteral("EdtSeqNo"))->setText(QStringLiteral("12"));
        d.field(QStringLiteral("MedtDate1"))->setText(QStringLiteral("20040315"));
        d.field(QStringLiteral("EdtAmt"))->setText(QStringLiteral("1234567"));
        d.field(QStringLiteral("EdtParent"))->setText(QStringLiteral("홍길동"));
        d.MemoDescript->setPlainText(QStringLiteral("적요 한 줄"));
        const ReportDocument doc = Resolutions::printForm(d.form(), d.values());
        const QStringList texts = doc.pages.value(0).texts();
        EXPECT_TRUE(texts.contains(QStringLiteral("2004 년 03 월 15 일")));
        EXPECT_TRUE(texts.contains(QStringLiteral("1,234,567")));
        EXPECT_TRUE(texts.contains(QStringLiteral(" 년  월  일"))); // an empty date
        EXPECT_TRUE(texts.contains(QStringLiteral("2026  년  03  월  16  일")));
        d.BbtnPrntClick(); // previews, then keeps the fields
        EXPECT_EQ(previews, 1);
        d.field(QStringLiteral("EdtSeqNo"))
            ->setText(QStringLiteral("99")); // closed by the title bar: not kept
    }
    TFrmP106B00 again;
    EXPECT_EQ(again.field(QStringLiteral("EdtSeqNo"))->text(), QStringLiteral("12"));
    EXPECT_EQ(again.values().value(QStringLiteral("발의")), QStringLiteral("20040315"));
    EXPECT_EQ(again.field(QStringLiteral("EdtParent"))->text(), QStringLiteral("홍길동"));
    EXPECT_TRUE(again.MemoDescript->toPlainText().isEmpty());

    // 지급결의서's dates keep their separators; amounts print grouped or not at all.
    {
        TFrmP105B00 p;
        EXPECT_EQ(p.values().value(QStringLiteral("영수일")), QStringLiteral("    -  -  "));
        p.field(QStringLiteral("MedtPayDate"))->setText(QStringLiteral("20260316"));
        p.field(QStringLiteral("EdtTotAmt"))->setText(QStringLiteral("1234567"));
        p.field(QStringLiteral("EdtIssAmt"))->setText(QStringLiteral("12만"));
        const QStringList texts = Resolutions::printForm(p.form(), p.values()).pages.value(0).texts();
        EXPECT_TRUE(texts.contains(QStringLiteral("1,234,567")));
        EXPECT_FALSE(texts.contains(QStringLiteral("12만")));
        p.BbtnDoneClick();
        EXPECT_EQ(p.result(), QDialog::Accepted);
    }
    TFrmP105B00 p2;
    EXPECT_EQ(p2.values().value(QStringLiteral("영수일")), QStringLiteral("2026-03-16"));
    EXPECT_EQ(p2.values().value(QStringLiteral("합계")), QStringLiteral("1234567"));
    EXPECT_EQ(p2.values().size(), 43); // 42 keys and the memo

    // 수입결의서: the eighth digit of the first date fills the other two.
    TFrmP104B00 i;
    i.field(QStringLiteral("MedtDate1"))->setText(QStringLiteral("2026031"));
    EXPECT_TRUE(i.values().value(QStringLiteral("세입부등기")).isEmpty());
    i.field(QStringLiteral("MedtDate1"))->setText(QStringLiteral("20260316"));
    EXPECT_EQ(i.values().value(QStringLiteral("세입부등기")), QStringLiteral("20260316"));
    EXPECT_EQ(i.values().value(QStringLiteral("금전출납부등기")), QStringLiteral("20260316"));
}

TEST_F(LetterAndForms, FailedWriteIsReported) {
    // The form's file can be neither read nor written: a folder stands in its place.
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("ini/징수결의서.ini"))));
    msg.expect(MsgResult::Ok);
    TFrmP107B00 d;
    ASSERT_EQ(msg.shown().size(), 1);
    EXPECT_TRUE(msg.shown()[0].text.startsWith(QStringLiteral("저장된 입력내용을 읽지 못했습니다.")));
    d.field(QStringLiteral("EdtIssNo"))->setText(QStringLiteral("7"));
    msg.expect(MsgResult::Ok);
    d.BbtnDoneClick();
    ASSERT_EQ(msg.shown().size(), 2);
    EXPECT_TRUE(msg.shown()[1].text.startsWith(QStringLiteral("입력내용을 저장하지 못했습니다.")));
    EXPECT_NE(d.result(), QDialog::Accepted); // stays open with what was typed
    EXPECT_EQ(d.field(QStringLiteral("EdtIssNo"))->text(), QStringLiteral("7"));
}

// A form's file saved as UTF-8 by another editor, a key in it twice: the
// kept values come back, and the save writes CP949 with them and each key once.
TEST_F(LetterAndForms, ResolutionFileFromAnotherEditor) {
    const ResolutionForm* f = Resolutions::find(QStringLiteral("income-resolution"));
    ASSERT_NE(f, nullptr);
    const QString file = Resolutions::iniPath(*f);
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("ini"))));
    auto write = [&](const QByteArray& bytes) {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    };
    auto read = [&] {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    };
    write(QStringLiteral("[DATA]\r\n증제=7\r\n관=교육비\r\n증제=8\r\n").toUtf8());

    const ReportListing l = Resolutions::list(QStringLiteral("P104B00"), {});
    ASSERT_TRUE(l.ok());
    QMap<QString, QString> shown;
    for (const QStringList& r : l.rows)
        shown.insert(r.value(0), r.value(1));
    EXPECT_EQ(shown.value(QStringLiteral("증제")), QStringLiteral("7"));
    EXPECT_EQ(shown.value(QStringLiteral("관")), QStringLiteral("교육비"));

    {
        TFrmP104B00 d;
        EXPECT_EQ(d.field(QStringLiteral("EdtSeqNo"))->text(), QStringLiteral("7"));
        EXPECT_EQ(d.field(QStringLiteral("EdtKwan"))->text(), QStringLiteral("교육비"));
        d.field(QStringLiteral("EdtYear"))->setText(QStringLiteral("2026"));
        d.BbtnDoneClick();
        EXPECT_EQ(d.result(), QDialog::Accepted);
    }
    const QString text = Cp949::decode(read());
    EXPECT_EQ(Cp949::encode(text), read());
    EXPECT_EQ(text.count(QStringLiteral("증제=")), 1);
    EXPECT_TRUE(text.contains(QStringLiteral("증제=7\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("관=교육비\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("년도=2026\r\n")));
    IniFile ini(file);
    ASSERT_TRUE(ini.load());
    EXPECT_EQ(ini.keys(QStringLiteral("DATA")).size(), 13);

    // A file far too large for settings is named as such and left alone.
    const QByteArray big = QByteArray("[DATA]\r\n") + QByteArray(IniFile::MaxBytes, ';');
    write(big);
    msg.expect(MsgResult::Ok);
    TFrmP104B00 d;
    ASSERT_EQ(msg.shown().size(), 1);
    EXPECT_TRUE(msg.shown()[0].text.contains(QStringLiteral("최대 1 MB")));
    EXPECT_TRUE(d.field(QStringLiteral("EdtSeqNo"))->text().isEmpty());
    msg.expect(MsgResult::Ok);
    d.BbtnDoneClick();
    ASSERT_EQ(msg.shown().size(), 2);
    EXPECT_TRUE(msg.shown()[1].text.startsWith(QStringLiteral("입력내용을 저장하지 못했습니다.")));
    EXPECT_EQ(read(), big);
    EXPECT_FALSE(Resolutions::list(QStringLiteral("P104B00"), {}).ok());
}

} // namespace
