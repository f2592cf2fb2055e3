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

} // namespace
