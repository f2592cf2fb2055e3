#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/ui/Msg.h"
#include "students/F401Baa.h"
#include "support/TestRoot.h"
#include "support/Wait.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

// A box raised by a cell typed into the class assignment grid is the real
// modal box, dismissed as the clerk does it: the program goes on with the
// cursor on the offending cell, and the grid stays usable.

namespace {

enum class Dismiss { Enter, Click };

struct BoxCase {
    const char* name;
    const char* typed;  // into row 2's new number
    Qt::Key commit;     // the key that ends the edit
    Dismiss dismiss;
    const char* box;    // the box's text begins so
    const char* left;   // the cell after the box
};

void PrintTo(const BoxCase& c, std::ostream* os) { *os << c.name; }

// Answers the next modal box the way the clerk does, once it is up.
class BoxAnswerer {
public:
    explicit BoxAnswerer(Dismiss how) {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, [this, how] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible()) return;
            timer_.stop();
            text = box->text();
            if (how == Dismiss::Enter) {
                QWidget* target = QApplication::focusWidget();
                if (!target || target->window() != box) target = box;
                QTest::keyClick(target, Qt::Key_Return);
                return;
            }
            for (QAbstractButton* b : box->buttons())
                if (b->text() == QStringLiteral("확인")) {
                    QTest::mouseClick(b, Qt::LeftButton);
                    return;
                }
            ADD_FAILURE() << "the box has no 확인 button";
            box->done(0);
        });
        timer_.start();
    }
    QString text;

private:
    QTimer timer_;
};

class NewTermBoxTest : public TestRoot, public ::testing::WithParamInterface<BoxCase> {
protected:
    void SetUp() override {
        TestRoot::SetUp();
        // Five-digit student numbers: two-digit new numbers.
        savedSNoLen_ = SNoLen;
        SNoLen = 5;
        for (const auto& [c, s, n] : {std::tuple{"C11", "10101", "가"}, {"C12", "10102", "나"}, {"C21", "20101", "다"}})
            ASSERT_TRUE(Database::insertRow(QStringLiteral("M_CUST"),
                                            {{QStringLiteral("CustNo"), QString::fromLatin1(c)},
                                             {QStringLiteral("SCd"), QString::fromLatin1(s).left(1)},
                                             {QStringLiteral("SNo"), QString::fromLatin1(s)},
                                             {QStringLiteral("Nm"), QString::fromUtf8(n)},
                                             {QStringLiteral("UseTy"), QStringLiteral("1")}}));
    }
    void TearDown() override {
        SNoLen = savedSNoLen_;
        TestRoot::TearDown();
    }

private:
    int savedSNoLen_ = 5;
};

// The view's complaints about editors it no longer holds: a commit or close
// that came after the editor was gone.
QStringList& strayEditors() {
    static QStringList s;
    return s;
}

TEST_P(NewTermBoxTest, TheBoxOfATypedCellIsDismissedAndTheGridGoesOn) {
    const BoxCase& c = GetParam();
    strayEditors().clear();
    static QtMessageHandler previous = nullptr;
    previous = qInstallMessageHandler([](QtMsgType t, const QMessageLogContext& ctx, const QString& text) {
        if (text.contains(QStringLiteral("editor that does not belong"))) strayEditors() << text;
        if (previous) previous(t, ctx, text);
    });
    struct Restore {
        ~Restore() { qInstallMessageHandler(previous); }
    } restore;
    auto w = std::make_unique<TFrmF401Baa>();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    // 기존반·번호적용: every row keeps its class and number, grades one up,
    // so rows 1 and 2 hold 2-01-01 and 2-01-02.
    msg.expect(MsgResult::Yes);
    w->cmdAllClick();
    ASSERT_EQ(w->vGrid->item(1, 9)->text(), QStringLiteral("02"));

    // From here the boxes are the real ones.
    Msg::setHandler({});
    QTableWidget* g = w->vGrid;
    g->setFocus();
    g->setCurrentCell(1, 9);
    QTest::keyClick(g, Qt::Key_F2);
    QPointer<QWidget> editor = QApplication::focusWidget();
    ASSERT_TRUE(qobject_cast<QLineEdit*>(editor)) << "no cell editor opened";
    static_cast<QLineEdit*>(editor.data())->selectAll();
    QTest::keyClicks(editor, QString::fromLatin1(c.typed));
    {
        BoxAnswerer answer(c.dismiss);
        QTest::keyClick(editor, c.commit);
        ASSERT_TRUE(waitFor([&] { return !answer.text.isEmpty() && !QApplication::activeModalWidget(); }))
            << "no box came up, or it stayed";
        EXPECT_TRUE(answer.text.startsWith(QString::fromUtf8(c.box))) << answer.text.toStdString();
    }
    // Whatever the closed editor left behind is gone by now.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    EXPECT_TRUE(editor.isNull());
    EXPECT_EQ(g->item(1, 9)->text(), QString::fromUtf8(c.left));
    EXPECT_EQ(g->currentRow(), 1);
    EXPECT_EQ(g->currentColumn(), 9);
    EXPECT_TRUE(w->modified);

    // The grid takes the next entry: a free number, and Enter walks on. (The
    // desktop gives the form back its activation when the box closes; the
    // offscreen screen leaves that to the test.)
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    QTest::keyClick(g, Qt::Key_F2);
    QWidget* again = QApplication::focusWidget();
    ASSERT_TRUE(qobject_cast<QLineEdit*>(again));
    static_cast<QLineEdit*>(again)->selectAll();
    QTest::keyClicks(again, QStringLiteral("7"));
    QTest::keyClick(again, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(g->item(1, 9)->text(), QStringLiteral("07"));
    EXPECT_EQ(g->currentRow(), 2);
    EXPECT_EQ(g->currentColumn(), 7);
    w->cmdSaveClick();
    EXPECT_EQ(column(QStringLiteral("SELECT v_a03v FROM V_TEMP WHERE custno = 'C12'")),
              QStringList{QStringLiteral("07")});
    w.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(strayEditors().isEmpty()) << strayEditors().join(QLatin1Char('\n')).toStdString();
}

const char* const kDup = "신학년번호가 동일하게 입력된 자료가 존재 합니다( 구-1-01-02";

INSTANTIATE_TEST_SUITE_P(
    Cases, NewTermBoxTest,
    ::testing::Values(BoxCase{"DuplicateByEnterDismissedByEnter", "1", Qt::Key_Return, Dismiss::Enter, kDup, "01"},
                      BoxCase{"DuplicateByEnterDismissedByClick", "1", Qt::Key_Return, Dismiss::Click, kDup, "01"},
                      BoxCase{"DuplicateByArrowDismissedByEnter", "1", Qt::Key_Down, Dismiss::Enter, kDup, "01"},
                      BoxCase{"NotANumberDismissedByEnter", "x", Qt::Key_Return, Dismiss::Enter,
                              "숫자를 입력하십시오.", ""},
                      BoxCase{"NotANumberDismissedByClick", "x", Qt::Key_Return, Dismiss::Click,
                              "숫자를 입력하십시오.", ""}),
    [](const ::testing::TestParamInfo<BoxCase>& i) { return std::string(i.param.name); });

} // namespace
