#include "RoundFixture.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace {

class RowEditDriver : public RoundFixture {
protected:
    void SetUp() override {
        RoundFixture::SetUp();
        round(QStringLiteral("20260301"),
              {row(QStringLiteral("C1"), QStringLiteral("10101"), QStringLiteral("01"), 10000),
               row(QStringLiteral("C2"), QStringLiteral("10102"), QStringLiteral("01"), 10000, QStringLiteral("1"))});
    }
    QList<QJsonObject> drive(const QStringList& args, int* rc, const QString& answers = QString()) {
        stopServices();
        QStringList pre{QStringLiteral("--root"), root(), QStringLiteral("--today"), QStringLiteral("20260316")};
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
    static QStringList key(const char* sno) {
        return {QStringLiteral("--yearmon"), QStringLiteral("202603"), QStringLiteral("--seqno"), QStringLiteral("01"),
                QStringLiteral("--sno"), QString::fromLatin1(sno), QStringLiteral("--item"), QStringLiteral("01")};
    }
};

TEST_F(RowEditDriver, EditsStatusAndFind) {
    int rc = -1;
    auto out = drive(QStringList{QStringLiteral("round"), QStringLiteral("edit"), QStringLiteral("amount")} + key("10101") +
                         QStringList{QStringLiteral("--amount"), QStringLiteral("9,000")},
                     &rc);
    EXPECT_EQ(rc, 0);
    ASSERT_GE(out.size(), 2);
    EXPECT_EQ(out[0].value(QStringLiteral("changed")).toObject().value(QStringLiteral("Amt")).toInt(), 9000);
    EXPECT_EQ(out.last().value(QStringLiteral("rowsChanged")).toInt(), 1);

    // A refund with an impossible date: the dialog refuses it, nothing changes.
    out = drive(QStringList{QStringLiteral("round"), QStringLiteral("status")} + key("10102") +
                    QStringList{QStringLiteral("--amount"), QStringLiteral("3000"), QStringLiteral("--date"),
                                QStringLiteral("2026-13-01")},
                &rc);
    EXPECT_EQ(rc, 1);
    ASSERT_FALSE(out.isEmpty());
    EXPECT_EQ(out[0].value(QStringLiteral("box")).toString(), QStringLiteral("일자입력오류"));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from H_200_20260301 where ReplyTy = '3'")), 0);

    out = drive({QStringLiteral("round"), QStringLiteral("find"), QStringLiteral("--yearmon"), QStringLiteral("202603"),
                 QStringLiteral("--seqno"), QStringLiteral("01"), QStringLiteral("--sno"), QStringLiteral("1,01,02")},
                &rc);
    EXPECT_EQ(rc, 0);
    ASSERT_EQ(out.size(), 1);
    EXPECT_EQ(out[0].value(QStringLiteral("found")).toInt(), 2);

    out = drive({QStringLiteral("waiting-files"), QStringLiteral("list"), QStringLiteral("--yearmon"),
                 QStringLiteral("202603"), QStringLiteral("--seqno"), QStringLiteral("01"), QStringLiteral("--bank"),
                 QStringLiteral("05")},
                &rc);
    EXPECT_EQ(rc, 0);
    ASSERT_EQ(out.size(), 1);
    EXPECT_FALSE(out[0].value(QStringLiteral("waiting")).toBool());
}

// The refund amount reaches the store as typed: commas are whole won, a
// typo is refused with the dialog's box and never stored as a refund of 0.
TEST_F(RowEditDriver, RefundAmountsAsTyped) {
    const struct {
        const char* name;
        const char* amount;
        int rc;
        QString box, text, stored;
    } cases[] = {
        {"letters", "1x0", 1, QStringLiteral("환불금액 확인"), QStringLiteral("금액은 숫자로만 입력하세요!"),
         QStringLiteral("1/0")},
        {"negative", "-3000", 1, QStringLiteral("환불금액 확인"),
         QStringLiteral("금액은 숫자로만 입력하세요!"), QStringLiteral("1/0")},
        {"commas", "3,000", 0, QString(), QString(), QStringLiteral("3/3000")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int rc = -1;
        const auto out = drive(QStringList{QStringLiteral("round"), QStringLiteral("status")} + key("10102") +
                                   QStringList{QStringLiteral("--amount"), QString::fromLatin1(c.amount)},
                               &rc);
        EXPECT_EQ(rc, c.rc);
        if (!c.box.isEmpty()) {
            ASSERT_FALSE(out.isEmpty());
            EXPECT_EQ(out[0].value(QStringLiteral("box")).toString(), c.box);
            EXPECT_EQ(out[0].value(QStringLiteral("text")).toString(), c.text);
        }
        EXPECT_EQ(column(QStringLiteral("select ReplyTy || '/' || coalesce(REAmt, 0) from H_200_20260301 "
                                        "where SNo = '10102'")),
                  QStringList{c.stored});
    }
}

// An unpaid reason the dialog's edit would not take reaches the store through
// the driver and is refused there with its box.
TEST_F(RowEditDriver, UnpaidReasonsTheEditNeverTakes) {
    const QString bad = QStringLiteral("미납사유에 쓸 수 없는 문자가 있습니다!!");
    const struct {
        const char* name;
        QString text, box;
    } cases[] = {
        {"over 30 bytes", QString(16, QChar(0xAC00)),
         QStringLiteral("미납사유은(는) 한글 15자, 영문/숫자 30자까지 입력할 수 있습니다!!")},
        {"not CP949", QStringLiteral("잔액\U0001F600"), bad},
        {"CR LF", QStringLiteral("잔액\r\n부족"), bad},
        {"TAB", QStringLiteral("잔액\t부족"), bad},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int rc = -1;
        const auto out =
            drive(QStringList{QStringLiteral("round"), QStringLiteral("edit"), QStringLiteral("unpaid")} +
                      key("10101") + QStringList{QStringLiteral("--text"), c.text},
                  &rc);
        EXPECT_EQ(rc, 1);
        ASSERT_FALSE(out.isEmpty());
        EXPECT_EQ(out[0].value(QStringLiteral("box")).toString(), QStringLiteral("미납사유"));
        EXPECT_EQ(out[0].value(QStringLiteral("text")).toString(), c.box);
        EXPECT_EQ(
            column(QStringLiteral("select coalesce(Unpaid, '') from H_200_20260301 where SNo = '10101'")),
            QStringList{QString()});
    }
}

// The collection window's quarter box on every command that lists a round
// as "자료조회" does: the round exists for them only inside the quarter of
// the school year that contains today (2026-03-16: March 2026 to February
// 2027).
TEST_F(RowEditDriver, QuarterBoxNarrowsTheRoundsOfListingCommands) {
    round(QStringLiteral("20260601"),
          {row(QStringLiteral("C1"), QStringLiteral("10101"), QStringLiteral("01"), 10000)});
    round(QStringLiteral("20270101"),
          {row(QStringLiteral("C1"), QStringLiteral("10101"), QStringLiteral("01"), 10000)});
    const QString missing = QStringLiteral("존재하지 않은 이체년월/회차입니다! 확인하시기 바랍니다.");
    const struct {
        const char* name;
        const char* yearMon;
        const char* quarter; // nullptr: the option left out
        int rc;              // of "round show"; -1: refused with the box
    } cases[] = {
        {"no quarter", "202606", nullptr, 0},
        {"blank entry", "202606", "0", 0},
        {"round of the quarter", "202603", "1", 0},
        {"round outside the quarter", "202606", "1", -1},
        {"second quarter", "202606", "2", 0},
        {"January in the fourth quarter", "202701", "4", 0},
        {"January is not the first quarter", "202701", "1", -1},
        {"no such entry", "202603", "5", 2},
    };
    const QStringList commands[] = {
        {QStringLiteral("round"), QStringLiteral("show")},
        {QStringLiteral("export"), QStringLiteral("collection"), path(QStringLiteral("c.xlsx"))},
        {QStringLiteral("print"), QStringLiteral("collection"), QStringLiteral("--dump"),
         path(QStringLiteral("c.txt"))},
        {QStringLiteral("sms"), QStringLiteral("recipients"), QStringLiteral("collection")},
    };
    for (const auto& c : cases)
        for (const QStringList& command : commands) {
            QStringList args = command;
            args << QStringLiteral("--yearmon") << QString::fromLatin1(c.yearMon) << QStringLiteral("--seqno")
                 << QStringLiteral("01");
            if (c.quarter) args << QStringLiteral("--quarter") << QString::fromLatin1(c.quarter);
            int rc = -1;
            const auto out = drive(args, &rc);
            const QString what =
                QString::fromLatin1(c.name) + QStringLiteral(": ") + command.mid(0, 2).join(QLatin1Char(' '));
            if (c.rc == 2) {
                EXPECT_EQ(rc, 2) << what.toStdString();
                continue;
            }
            const bool refused = !out.isEmpty() && out[0].value(QStringLiteral("text")).toString() == missing;
            EXPECT_EQ(refused, c.rc < 0) << what.toStdString();
            if (c.rc < 0) EXPECT_EQ(rc, 1) << what.toStdString();
        }
}

// "찾기" through the real find dialog: its boxes, its item entries and its
// going on after the last row found.
TEST_F(RowEditDriver, FindShowsTheDialogsBoxes) {
    const struct {
        const char* name;
        QStringList args;
        int rc;
        const char* box; // first box's text, nullptr for none
        QList<int> found;
    } cases[] = {
        {"blank name",
         {QStringLiteral("--name"), QString()},
         1,
         "찾을 학생 이름이 입력되어 있지 않습니다",
         {0}},
        {"unknown name",
         {QStringLiteral("--name"), QStringLiteral("없음")},
         1,
         "검색한 자료가 존재하지 않습니다.",
         {0}},
        {"number without grade",
         {QStringLiteral("--sno"), QStringLiteral(",01,02")},
         1,
         "학번 입력 정보가 올바르지 않습니다.",
         {0}},
        {"blank account",
         {QStringLiteral("--account"), QStringLiteral(" ")},
         1,
         "찾을 계좌번호가 입력되어 있지 않습니다",
         {0}},
        {"number twice",
         {QStringLiteral("--sno"), QStringLiteral("1,01,02"), QStringLiteral("--times"), QStringLiteral("2")},
         0,
         nullptr,
         {2, 2}},
        {"within an item",
         {QStringLiteral("--sno"), QStringLiteral("1,01,01"), QStringLiteral("--itemline"),
          QStringLiteral("01.수업료")},
         0,
         nullptr,
         {1}},
        {"other item",
         {QStringLiteral("--sno"), QStringLiteral("1,01,01"), QStringLiteral("--itemline"),
          QStringLiteral("02.급식비")},
         1,
         "검색한 자료가 존재하지 않습니다.",
         {0}},
        {"no such item entry",
         {QStringLiteral("--name"), QStringLiteral("김일"), QStringLiteral("--itemline"),
          QStringLiteral("09.없음")},
         2,
         nullptr,
         {}},
    };
    for (const auto& c : cases) {
        int rc = -1;
        const auto out =
            drive(QStringList{QStringLiteral("round"), QStringLiteral("find"), QStringLiteral("--yearmon"),
                              QStringLiteral("202603"), QStringLiteral("--seqno"), QStringLiteral("01")} +
                      c.args,
                  &rc);
        EXPECT_EQ(rc, c.rc) << c.name;
        QStringList boxes;
        QList<int> found;
        for (const QJsonObject& o : out) {
            if (o.contains(QStringLiteral("box"))) boxes << o.value(QStringLiteral("text")).toString();
            if (o.contains(QStringLiteral("found"))) found << o.value(QStringLiteral("found")).toInt();
        }
        EXPECT_EQ(boxes.value(0), c.box ? QString::fromUtf8(c.box) : QString()) << c.name;
        if (c.rc != 2) EXPECT_EQ(found, c.found) << c.name;
    }
}

} // namespace
