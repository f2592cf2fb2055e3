#include "basic/T101B00.h"
#include "platform/db/Database.h"
#include "platform/ui/Modal.h"
#include "platform/ui/TextViewer.h"
#include "students/F401Baa.h"
#include "support/TestRoot.h"
#include "support/Wait.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRawFont>
#include <QTableWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

// Windows keep the layout they opened with, and what they show stands whole:
// a result arriving after a run moves no button, a list of Korean lines is
// not drawn over itself, a label goes with the control it names.

namespace {

class LayoutKept : public TestRoot {
protected:
    void TearDown() override {
        Modal::setRunner({});
        TestRoot::TearDown();
    }
    static void students() {
        for (const auto& [c, s, n] :
             {std::tuple{"C11", "10101", "남궁가나다"}, {"C12", "10102", "황보뷁뷁"}, {"C21", "20101", "김갑돌"}})
            ASSERT_TRUE(Database::insertRow(QStringLiteral("M_CUST"),
                                            {{QStringLiteral("CustNo"), QString::fromLatin1(c)},
                                             {QStringLiteral("SCd"), QString::fromLatin1(s).left(1)},
                                             {QStringLiteral("SNo"), QString::fromLatin1(s)},
                                             {QStringLiteral("Nm"), QString::fromUtf8(n)},
                                             {QStringLiteral("UseTy"), QStringLiteral("1")}}));
    }
};

TEST_F(LayoutKept, IndexRepairKeepsItsLayoutAfterARun) {
    TFrmT101B00 w;
    w.resize(1000, 600);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QApplication::processEvents();
    const QMap<QString, QWidget*> parts{{QStringLiteral("모두선택"), w.BbtnAllSelect},
                                        {QStringLiteral("선택취소"), w.BbtnIdxCncl},
                                        {QStringLiteral("인덱스생성"), w.BbtnCreateIdx},
                                        {QStringLiteral("닫기"), w.BbtnClose},
                                        {QStringLiteral("check text"), w.LblCheck},
                                        {QStringLiteral("table list"), w.SGrdDbLst}};
    QMap<QString, QRect> opened;
    for (auto it = parts.begin(); it != parts.end(); ++it)
        opened[it.key()] = it.value()->geometry();

    // No table marked: the run only checks the database.
    msg.expect(MsgResult::Ok);
    QTest::mouseClick(w.BbtnCreateIdx, Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return !w.LblCheck->text().isEmpty(); }));
    QApplication::processEvents();
    EXPECT_EQ(msg.texts(), QStringList{QStringLiteral("인덱스가 복구되었습니다.")});

    for (auto it = parts.begin(); it != parts.end(); ++it)
        EXPECT_EQ(it.value()->geometry(), opened.value(it.key())) << it.key().toStdString();
    // The result shows on one line, whole.
    const QString text = w.LblCheck->text();
    EXPECT_EQ(text, QStringLiteral("데이터베이스 검사: 이상 없음"));
    EXPECT_GE(w.LblCheck->contentsRect().width(), w.LblCheck->fontMetrics().horizontalAdvance(text));
    EXPECT_GE(w.LblCheck->contentsRect().height(), w.LblCheck->fontMetrics().height());
}

// The error check's report, in the viewer that shows it: every line is at
// least as high as the viewer's font, and no syllable reaches below its line.
TEST_F(LayoutKept, CheckReportLinesAreAsHighAsTheirFont) {
    students();
    TFrmF401Baa form;
    QStringList faults;
    int lines = 0;
    Modal::setRunner([&](QDialog* d) {
        auto* viewer = qobject_cast<TextViewer*>(d);
        auto* edit = viewer ? viewer->findChild<QPlainTextEdit*>() : nullptr;
        if (!edit) {
            ADD_FAILURE() << "not the text viewer";
            return int(QDialog::Rejected);
        }
        viewer->show();
        QApplication::processEvents();
        const int fontHeight = QFontMetrics(edit->font()).height();
        for (QTextBlock b = edit->document()->firstBlock(); b.isValid(); b = b.next()) {
            if (b.text().isEmpty()) continue;
            const QTextLayout* layout = b.layout();
            const qreal spacing = edit->document()->documentLayout()->blockBoundingRect(b).height();
            if (spacing < fontHeight)
                faults << QStringLiteral("line spacing %1 under the font's %2: %3").arg(spacing).arg(fontHeight).arg(b.text());
            for (int i = 0; i < layout->lineCount(); ++i) {
                const QTextLine line = layout->lineAt(i);
                ++lines;
                if (line.height() < fontHeight)
                    faults << QStringLiteral("line %1 high under the font's %2: %3")
                                  .arg(line.height())
                                  .arg(fontHeight)
                                  .arg(b.text());
                for (const QGlyphRun& run : line.glyphRuns()) {
                    const QRawFont font = run.rawFont();
                    const QList<quint32> glyphs = run.glyphIndexes();
                    const QList<QPointF> at = run.positions();
                    for (int g = 0; g < glyphs.size(); ++g) {
                        const QRectF ink = font.boundingRect(glyphs.at(g)).translated(at.at(g));
                        if (ink.bottom() > line.y() + line.height() + 0.5)
                            faults << QStringLiteral("%1 ink to %2 below its line's %3: %4")
                                          .arg(font.familyName())
                                          .arg(ink.bottom())
                                          .arg(line.y() + line.height())
                                          .arg(b.text());
                    }
                }
            }
        }
        viewer->hide();
        return int(QDialog::Accepted);
    });
    // No new class or number yet: a line for every student.
    form.cmdChkSNOClick();
    EXPECT_EQ(lines, 3);
    faults.removeDuplicates();
    EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
}

// The preview hides the old-number range, its labels with it, and the edit
// mode shows them again.
TEST_F(LayoutKept, PreviewHidesTheRangeWithItsLabels) {
    students();
    TFrmF401Baa form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QMap<QString, QLabel*> labels;
    for (QLabel* l : form.findChildren<QLabel*>())
        labels[l->text()] = l;
    const struct {
        const char* text;
        QLineEdit* names;
    } cases[] = {{"구학번범위", form.sleN1}, {"~", form.sleM1}};
    const auto visible = [&](bool shown) {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.text);
            QLabel* l = labels.value(QString::fromUtf8(c.text));
            ASSERT_NE(l, nullptr);
            EXPECT_EQ(l->buddy(), c.names);
            EXPECT_EQ(c.names->isVisibleTo(&form), shown);
            EXPECT_EQ(l->isVisibleTo(&form), shown);
        }
    };
    visible(true);
    form.cmdViewClick();
    ASSERT_TRUE(form.preview);
    visible(false);
    // No label of the form stands beside a control the preview hid.
    for (const QLabel* l : form.findChildren<QLabel*>())
        if (l->isVisibleTo(&form) && l->buddy())
            EXPECT_TRUE(l->buddy()->isVisibleTo(&form)) << l->text().toStdString();
    form.cmdCloseClick();
    ASSERT_FALSE(form.preview);
    visible(true);
}

} // namespace
