#include "data/DMMain.h"
#include "platform/db/Database.h"
#include "platform/ui/Modal.h"
#include "students/F302B00.h"
#include "students/F302B01.h"
#include "students/StGroupStore.h"
#include "students/ThreeAcrossPrint.h"
#include "support/TestRoot.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

class StGroup : public TestRoot {
protected:
    void SetUp() override {
        TestRoot::SetUp();
        // C2 and C3 share a student number.
        student("C1", "10101", "김하나");
        student("C2", "10102", "이둘");
        student("C3", "10102", "박셋");
        student("C4", "20101", "최넷");
        member("합창단", "C1");
        member("합창단", "C4");
    }
    void TearDown() override {
        Modal::setRunner({});
        TestRoot::TearDown();
    }
    static void student(const char* no, const char* sno, const char* nm) {
        ASSERT_TRUE(Database::insertRow(QStringLiteral("M_CUST"), {{QStringLiteral("CustNo"), QString::fromUtf8(no)},
                                                                   {QStringLiteral("SNo"), QString::fromUtf8(sno)},
                                                                   {QStringLiteral("Nm"), QString::fromUtf8(nm)},
                                                                   {QStringLiteral("UseTy"), QStringLiteral("1")}}));
    }
    static void member(const char* grp, const char* no) {
        ASSERT_TRUE(Database::insertRow(QStringLiteral("C_GRP"), {{QStringLiteral("GrpNm"), QString::fromUtf8(grp)},
                                                                  {QStringLiteral("CustNo"), QString::fromUtf8(no)}}));
    }
    static QStringList members(const QString& grp) {
        QStringList m = StGroupStore::members(grp);
        m.sort();
        return m;
    }
    static int rowOf(QTableWidget* g, const char* custNo) {
        for (int r = 0; r < g->rowCount(); ++r)
            if (g->item(r, 4) && g->item(r, 4)->text() == QLatin1String(custNo)) return r;
        return -1;
    }
    static QStringList rows(QTableWidget* g) {
        QStringList out;
        for (int r = 0; r < g->rowCount(); ++r)
            if (g->item(r, 4)) out << g->item(r, 4)->text();
        return out;
    }
    static void show(TFrmF302B00& w, const QString& grp) {
        w.CbGrp->setCurrentIndex(w.CbGrp->findText(grp));
        w.BBtnDispGrpClick();
    }
};

TEST_F(StGroup, SharedNumbersMoveByPayer) {
    TFrmF302B00 w;
    show(w, QStringLiteral("합창단"));
    EXPECT_EQ(rows(w.SGrdCustSrc), (QStringList{QStringLiteral("C3"), QStringLiteral("C2")})); // by line: 박 < 이
    EXPECT_EQ(rows(w.SGrdCustDest), (QStringList{QStringLiteral("C1"), QStringLiteral("C4")}));
    EXPECT_EQ(w.lblTotCnt2->text(), QStringLiteral("2 "));

    // The second of two students sharing a number moves alone.
    w.toggleMark(w.SGrdCustSrc, rowOf(w.SGrdCustSrc, "C2"));
    w.SBtnAddClick();
    EXPECT_EQ(rows(w.SGrdCustSrc), (QStringList{QStringLiteral("C3")}));
    EXPECT_TRUE(w.lists().dest().size() == 3);

    // A number typed in the filter box waits for the next rebuild: the grid
    // and its marks stay as they are while the clerk types.
    w.toggleMark(w.SGrdCustDest, rowOf(w.SGrdCustDest, "C1"));
    w.MEdtNoSelect->setText(QStringLiteral("2"));
    w.MEdtNoSelect->setText(QStringLiteral("1"));
    EXPECT_EQ(rows(w.SGrdCustDest), (QStringList{QStringLiteral("C1"), QStringLiteral("C2"), QStringLiteral("C4")}));
    EXPECT_EQ(w.SGrdCustDest->item(rowOf(w.SGrdCustDest, "C1"), 3)->text(), QStringLiteral(" ◎"));
    w.SBtnDelClick(); // the move rebuilds both grids with their filters
    EXPECT_EQ(rows(w.SGrdCustDest), (QStringList{QStringLiteral("C2")}));

    // A grade filter limits the moves of all.
    w.SBtnAllDelClick();
    EXPECT_EQ(rows(w.SGrdCustDest), QStringList());
    w.MEdtNoSelect->clear();
    EXPECT_EQ(rows(w.SGrdCustDest), QStringList());
    w.SBtnAddClick(); // nothing marked: only the rebuild
    EXPECT_EQ(rows(w.SGrdCustDest), (QStringList{QStringLiteral("C4")}));

    msg.expect({MsgResult::Yes, MsgResult::Ok});
    EXPECT_TRUE(w.BBtnSaveGrpClick());
    EXPECT_EQ(members(QStringLiteral("합창단")), (QStringList{QStringLiteral("C4")}));
}

TEST_F(StGroup, SaveIsWholeAndEmptyDeletes) {
    member("", "C2"); // a row without a name belongs to no group
    ASSERT_TRUE(Database::exec(QStringLiteral("CREATE TRIGGER t_fail BEFORE INSERT ON C_GRP "
                                              "WHEN NEW.CustNo = 'C4' BEGIN SELECT RAISE(ABORT, 'disk full'); END")));
    QList<StGroupStudent> list;
    StGroupLists l;
    l.load(QStringLiteral("합창단"));
    l.toDest({QStringLiteral("C3")});
    EXPECT_FALSE(StGroupStore::save(QStringLiteral("합창단"), l.dest()).ok);
    EXPECT_EQ(members(QStringLiteral("합창단")), (QStringList{QStringLiteral("C1"), QStringLiteral("C4")}));
    ASSERT_TRUE(Database::exec(QStringLiteral("DROP TRIGGER t_fail")));
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM C_GRP WHERE GrpNm IS NULL")), 1);

    EXPECT_TRUE(StGroupStore::save(QStringLiteral("합창단"), {}).ok);
    EXPECT_EQ(StGroupStore::names(), QStringList());
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM C_GRP")), 0);
}

TEST_F(StGroup, NewNameRenameAndSaveAgain) {
    TFrmF302B00 w;
    const struct {
        const char* name;
        bool ok;
    } names[] = {{"", false}, {"가나다라마", true}, {"가나다라마바", false}, {"abcdefghij", true}, {"abcdefghijk", false}};
    for (const auto& n : names) {
        StGroupResult r;
        EXPECT_EQ(StGroupStore::checkName(QString::fromUtf8(n.name), &r), n.ok) << n.name;
    }

    // New name: nothing is written until "저장".
    Modal::setRunner([](QDialog* d) {
        auto* f = qobject_cast<TFrmF302B01*>(d);
        f->edtGroupNm->setText(QStringLiteral("방과후"));
        f->BBtnOkClick();
        return d->result();
    });
    w.BBtnNewGrpClick();
    EXPECT_EQ(w.CbGrp->currentText(), QStringLiteral("방과후"));
    EXPECT_EQ(StGroupStore::names(), (QStringList{QStringLiteral("합창단")}));
    EXPECT_TRUE(w.lists().dest().isEmpty());

    // Rename, then save the renamed group with one more member.
    show(w, QStringLiteral("합창단"));
    Modal::setRunner([](QDialog* d) {
        auto* f = qobject_cast<TFrmF302B02*>(d);
        EXPECT_EQ(f->Label12->text(), QStringLiteral("변경그룹명"));
        f->sleNewGroup->setText(QStringLiteral("중창단"));
        f->BBtnOkClick();
        return d->result();
    });
    msg.expect(MsgResult::Ok);
    w.cmdModifyGroupClick();
    EXPECT_EQ(msg.texts().last(), QStringLiteral("변경되었습니다."));
    EXPECT_EQ(w.CbGrp->currentText(), QStringLiteral("중창단"));
    EXPECT_EQ(members(QStringLiteral("중창단")), (QStringList{QStringLiteral("C1"), QStringLiteral("C4")}));
    w.toggleMark(w.SGrdCustSrc, rowOf(w.SGrdCustSrc, "C3"));
    w.SBtnAddClick();
    msg.expect({MsgResult::Yes, MsgResult::Ok});
    EXPECT_TRUE(w.BBtnSaveGrpClick());
    EXPECT_EQ(StGroupStore::names(), (QStringList{QStringLiteral("중창단")}));
    EXPECT_EQ(members(QStringLiteral("중창단")),
              (QStringList{QStringLiteral("C1"), QStringLiteral("C3"), QStringLiteral("C4")}));

    // A rename onto a name some members already hold fails and changes nothing.
    member("소프라노", "C1");
    EXPECT_FALSE(StGroupStore::rename(QStringLiteral("중창단"), QStringLiteral("소프라노")).ok);
    EXPECT_EQ(members(QStringLiteral("중창단")).size(), 3);
}

// Names the window's edits never pass, handed to the store: save and rename
// refuse them with the window's box and write nothing.
TEST_F(StGroup, StoreRefusesNamesTheWindowNeverPasses) {
    const QString nul = QStringLiteral("합") + QChar(0) + QStringLiteral("창");
    const struct {
        const char* name;
        QString group;
    } cases[] = {
        {"over 10 bytes", QStringLiteral("가나다라마바")},
        {"not CP949", QStringLiteral("합창\U0001F600")},
        {"CR LF", QStringLiteral("합\r\n창")},
        {"TAB", QStringLiteral("합\t창")},
        {"NUL", nul},
    };
    const auto state = [] {
        return column(QStringLiteral("SELECT coalesce(GrpNm, '-') || '/' || CustNo FROM C_GRP ORDER BY 1"));
    };
    const QStringList before = state();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StGroupLists l;
        l.load(QStringLiteral("합창단"));
        const StGroupResult saved = StGroupStore::save(c.group, l.dest());
        EXPECT_FALSE(saved.ok);
        EXPECT_EQ(saved.caption, QStringLiteral("그룹명입력오류"));
        EXPECT_EQ(saved.text, QStringLiteral("그룹명은 5자이내로 입력하세요!"));
        const StGroupResult renamed = StGroupStore::rename(QStringLiteral("합창단"), c.group);
        EXPECT_FALSE(renamed.ok);
        EXPECT_EQ(renamed.text, QStringLiteral("그룹명은 5자이내로 입력하세요!"));
        EXPECT_EQ(state(), before);
    }
}

TEST_F(StGroup, FindByNameWrapsAtTheEnd) {
    student("C5", "10201", "이둘"); // left grid: 박셋, 이둘, 이둘
    TFrmF302B00 w;
    show(w, QStringLiteral("합창단"));
    const QString end = QStringLiteral("자료의 끝입니다.\r\n다시 조회하시려면 찾기를 누르세요!! ");
    // Each press: the row it makes current and whether the end box shows.
    const struct {
        const char* name;
        int row;
        bool end;
    } presses[] = {
        {"이둘", 1, false}, // first of two
        {"이둘", 2, true},  // the last row: the match and the end together
        {"이둘", 1, false}, // starts again at row 1
        {"박셋", 0, false}, // a new name starts at row 1
        {"박셋", 0, true},  // no match after it: the end
        {"박셋", 0, false},
        {"없음", 0, true},
    };
    for (const auto& p : presses) {
        const QString name = QString::fromUtf8(p.name);
        SCOPED_TRACE(p.name);
        if (w.EdtNm->text() != name) w.EdtNm->setText(name);
        const int boxes = int(msg.texts().size());
        if (p.end) msg.expect(MsgResult::Ok);
        w.BBtnSearchClick();
        EXPECT_EQ(w.SGrdCustSrc->currentRow(), p.row);
        EXPECT_EQ(int(msg.texts().size()) - boxes, p.end ? 1 : 0);
        if (p.end) EXPECT_EQ(msg.texts().last(), end);
    }

    // The member grid likewise: its last row reached shows the end.
    w.EdtNmSelect->setText(QStringLiteral("최넷"));
    msg.expect(MsgResult::Ok);
    w.BBtnSearchSelectClick();
    EXPECT_EQ(w.SGrdCustDest->currentRow(), 1);
    EXPECT_EQ(msg.texts().last(), end);
    w.EdtNmSelect->setText(QStringLiteral("김하나"));
    w.BBtnSearchSelectClick();
    EXPECT_EQ(w.SGrdCustDest->currentRow(), 0);

    // A grid that shrank under a kept position starts again at row 1.
    w.EdtNm->setText(QStringLiteral("이둘"));
    w.BBtnSearchClick();
    msg.expect(MsgResult::Ok);
    w.BBtnSearchClick(); // the last of three rows
    w.toggleMark(w.SGrdCustSrc, rowOf(w.SGrdCustSrc, "C5"));
    w.SBtnAddClick(); // two rows are left
    msg.expect(MsgResult::Ok);
    w.BBtnSearchClick();
    EXPECT_EQ(w.SGrdCustSrc->currentRow(), 1);
    EXPECT_EQ(msg.texts().size(), 6);
}

} // namespace

namespace {

// Work windows live in the MDI area of a 1366x768 screen; dialogs on it.
TEST_F(StGroup, WindowsFitTheSmallScreen) {
    TFrmF302B00 groups;
    TFrmF302B02 rename(QStringLiteral("합창단"), true);
    for (QWidget* w : {static_cast<QWidget*>(&groups), static_cast<QWidget*>(&rename)}) {
        const QSize s = w->minimumSizeHint();
        EXPECT_LE(s.width(), 1340) << w->windowTitle().toStdString();
        EXPECT_LE(s.height(), 600) << w->windowTitle().toStdString();
    }
}

} // namespace

namespace {

TEST_F(StGroup, PrintMembers) {
    TFrmF302B00 w;
    msg.expect(MsgResult::Ok);
    w.BBtnPrintClick(); // no group chosen
    EXPECT_EQ(msg.texts().last(), QStringLiteral("그룹명 또는 그륩 소속 학생이 없습니다."));
    show(w, QStringLiteral("합창단"));
    int previews = 0;
    Modal::setRunner([&previews](QDialog*) {
        ++previews;
        return 0;
    });
    w.BBtnPrintClick();
    EXPECT_EQ(previews, 1);
    TFrmF302P00 report(QStringLiteral("합창단"), {{QStringLiteral("10101"), QStringLiteral("김하나"), QStringLiteral("재학")}});
    const QStringList texts = report.layout().pages.value(0).texts();
    EXPECT_TRUE(texts.contains(QStringLiteral("학생 그룹")));
    EXPECT_TRUE(texts.contains(QStringLiteral("[그룹명]   합창단")));
    EXPECT_TRUE(texts.contains(QStringLiteral("[총학생수]")));
}

} // namespace
