#include "basic/BasicActions.h"
#include "basic/GradeStore.h"
#include "basic/GroupStore.h"
#include "platform/db/Database.h"
#include "support/TestRoot.h"

#include <functional>

namespace {

class GradeStoreTest : public TestRoot {
protected:
    static QStringList log() {
        return column(QStringLiteral("SELECT MenuName || '|' || JobLog FROM L_Log_202603 ORDER BY seq"));
    }
};

TEST_F(GradeStoreTest, SaveInsertsThenReplacesAndLogsEach) {
    auto r = GradeStore::save({QStringLiteral("1"), QStringLiteral("1학년"), QStringLiteral("중학교")});
    EXPECT_TRUE(r.saved && r.inserted);
    r = GradeStore::save({QStringLiteral("1"), QStringLiteral("일학년"), QStringLiteral("고등학교")});
    EXPECT_TRUE(r.saved);
    EXPECT_FALSE(r.inserted);
    r = GradeStore::save({QStringLiteral("K"), QStringLiteral("A's \"반\""), QString()});
    EXPECT_TRUE(r.saved);

    const auto rows = GradeStore::rows();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].name, QStringLiteral("일학년"));
    EXPECT_EQ(rows[0].kind, QStringLiteral("고등학교"));
    EXPECT_EQ(rows[1].name, QStringLiteral("A's \"반\"")); // quotes are stored as typed
    EXPECT_EQ(log(),
              (QStringList{QStringLiteral("학년등록|[등록]코드 : 1, 학년명 : 1학년, 학교선택 : 중학교"),
                           QStringLiteral("학년등록|[수정]코드 : 1, 학년명 : 일학년, 학교선택 : 고등학교"),
                           QStringLiteral("학년등록|[등록]코드 : K, 학년명 : A's \"반\", 학교선택 :")}));
}

TEST_F(GradeStoreTest, BadInputIsRefusedAndNothingStored) {
    const struct {
        const char* name;
        GradeRow row;
        int field;
    } cases[] = {
        {"empty code", {QString(), QStringLiteral("1학년"), QString()}, GradeStore::FieldCode},
        {"blank code", {QStringLiteral(" "), QStringLiteral("1학년"), QString()}, GradeStore::FieldCode},
        {"two-character code",
         {QStringLiteral("12"), QStringLiteral("1학년"), QString()},
         GradeStore::FieldCode},
        {"name over 10 bytes",
         {QStringLiteral("1"), QStringLiteral("가나다라마바"), QString()},
         GradeStore::FieldName},
        {"name outside CP949",
         {QStringLiteral("1"), QStringLiteral("1학년😀"), QString()},
         GradeStore::FieldName},
        {"unknown kind",
         {QStringLiteral("1"), QStringLiteral("1학년"), QStringLiteral("대학교")},
         GradeStore::FieldKind},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto r = GradeStore::save(c.row);
        EXPECT_FALSE(r.saved);
        EXPECT_TRUE(r.refusal);
        EXPECT_EQ(r.refusal.field, c.field);
    }
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM C_SCD")), 0);
    EXPECT_TRUE(log().isEmpty());
    // Ten bytes exactly fit.
    EXPECT_TRUE(GradeStore::save({QStringLiteral("1"), QStringLiteral("가나다라마"), QString()}).saved);
}

TEST_F(GradeStoreTest, DeletingAMissingCodeStillLogs) {
    GradeStore::save({QStringLiteral("1"), QStringLiteral("1학년"), QString()});
    EXPECT_TRUE(GradeStore::remove(QStringLiteral("1")));
    EXPECT_TRUE(GradeStore::remove(QStringLiteral("9")));
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM C_SCD")), 0);
    const QStringList l = log();
    ASSERT_EQ(l.size(), 3);
    EXPECT_EQ(l[1], QStringLiteral("학년등록|[삭제]학년 : 1"));
    EXPECT_EQ(l[2], QStringLiteral("학년등록|[삭제]학년 : 9"));
}

class GroupStoreTest : public GradeStoreTest {
protected:
    static void setGroups(const QStringList& codes) {
        Database::exec(QStringLiteral("DELETE FROM G_GROUP"));
        for (const QString& c : codes)
            Database::insertRow(
                QStringLiteral("G_GROUP"),
                {{QStringLiteral("G_CODE"), c}, {QStringLiteral("G_NAME"), QStringLiteral("g") + c}});
    }
};

TEST_F(GroupStoreTest, NextCodeIsNeverOneInUse) {
    QStringList all;
    for (int n = 1; n <= 99; ++n)
        all << QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
    QStringList allBut42 = all;
    allBut42.removeAll(QStringLiteral("42"));
    const struct {
        const char* name;
        QStringList codes;
        QString next;
    } cases[] = {
        {"default group only", {QStringLiteral("01")}, QStringLiteral("02")},
        {"01 and 02", {QStringLiteral("01"), QStringLiteral("02")}, QStringLiteral("03")},
        {"gap after a deletion", {QStringLiteral("01"), QStringLiteral("03")}, QStringLiteral("04")},
        {"only a high code", {QStringLiteral("09")}, QStringLiteral("10")},
        {"empty table", {}, QStringLiteral("01")},
        {"99 taken",
         {QStringLiteral("01"), QStringLiteral("02"), QStringLiteral("99")},
         QStringLiteral("03")},
        {"99 taken, 01 free", {QStringLiteral("02"), QStringLiteral("99")}, QStringLiteral("01")},
        {"every code but 42", allBut42, QStringLiteral("42")},
        {"every code", all, QString()},
        {"non-numeric code ignored", {QStringLiteral("01"), QStringLiteral("AB")}, QStringLiteral("02")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        setGroups(c.codes);
        EXPECT_EQ(GroupStore::nextCode(), c.next);
    }
}

TEST_F(GroupStoreTest, SaveEditsNameAndMemoButNeverTheCode) {
    auto r = GroupStore::save({QStringLiteral("02"), QStringLiteral("방과후"), QStringLiteral("방과후 학교")},
                              QString());
    EXPECT_TRUE(r.saved && r.inserted);
    r = GroupStore::save({QStringLiteral("02"), QStringLiteral("방과후'A'"), QStringLiteral("메모")},
                         QStringLiteral("방과후"));
    EXPECT_TRUE(r.saved);
    EXPECT_FALSE(r.inserted);
    const auto rows = GroupStore::rows();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[1].code, QStringLiteral("02"));
    EXPECT_EQ(rows[1].name, QStringLiteral("방과후'A'"));
    EXPECT_EQ(rows[1].memo, QStringLiteral("메모"));
    EXPECT_EQ(GroupStore::displayText(QStringLiteral("02")), QStringLiteral("02.방과후'A'"));

    EXPECT_TRUE(GroupStore::remove(QStringLiteral("02"), QStringLiteral("방과후'A'")));
    EXPECT_EQ(GroupStore::rows().size(), 1);
    EXPECT_EQ(log(), (QStringList{QStringLiteral("항목그룹추가|추가 : 방과후 : 방과후 학교"),
                                  QStringLiteral("항목그룹수정|수정 : 방과후 -> 방과후'A'"),
                                  QStringLiteral("항목그룹삭제|삭제 : 방과후'A' -> 삭제")}));
}

TEST_F(GroupStoreTest, RefusalsStoreNothing) {
    const struct {
        const char* name;
        GroupRow row;
        QString text;
        int field;
    } cases[] = {
        {"empty name",
         {QStringLiteral("02"), QStringLiteral("  "), QString()},
         QStringLiteral("그룹명은 필수입력 항목입니다."),
         GroupStore::FieldName},
        {"name outside CP949",
         {QStringLiteral("02"), QStringLiteral("그룹😀"), QString()},
         QString(),
         GroupStore::FieldName},
        {"name over its width",
         {QStringLiteral("02"), QString(21, QChar(u'가')), QString()},
         QString(),
         GroupStore::FieldName},
        {"new code not two digits",
         {QStringLiteral("2"), QStringLiteral("방과후"), QString()},
         QString(),
         GroupStore::FieldCode},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto r = GroupStore::save(c.row, QString());
        EXPECT_FALSE(r.saved);
        EXPECT_EQ(r.refusal.field, c.field);
        EXPECT_EQ(r.refusal.caption, QStringLiteral("그룹저장"));
        if (!c.text.isEmpty()) {
            EXPECT_EQ(r.refusal.text, c.text);
        }
    }
    EXPECT_EQ(GroupStore::rows().size(), 1);
    EXPECT_TRUE(log().isEmpty());
}

} // namespace

namespace {

// A deletion cannot be undone: its question defaults to No, and No deletes nothing.
class DeleteQuestion : public TestRoot {};

TEST_F(DeleteQuestion, DefaultsToNo) {
    const struct {
        const char* name;
        std::function<ActionResult()> run;
    } cases[] = {
        {"grade", [] { return GradeActions::remove(QStringLiteral("1")); }},
        {"group", [] { return GroupActions::remove(QStringLiteral("01"), QStringLiteral("기본")); }},
        {"item", [] { return ItemActions::remove(QStringLiteral("0101"), QStringLiteral("01")); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        msg.clear();
        msg.expect(MsgResult::No);
        EXPECT_FALSE(c.run().done);
        ASSERT_EQ(msg.shown().size(), 1);
        EXPECT_EQ(msg.shown()[0].text, QStringLiteral("삭제하시겠습니까?"));
        EXPECT_TRUE(msg.shown()[0].defaultNo);
    }
}

} // namespace
