#include "RoundFixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace {

class RoundDriver : public RoundFixture {
protected:
    // Runs zq-driver on the fixture's root (the services are stopped
    // meanwhile) and returns its JSON lines.
    QList<QJsonObject> drive(const QStringList& args, int* rc) {
        stopServices();
        QProcess p;
        p.start(QStringLiteral(ZQ_DRIVER_PATH),
                QStringList{QStringLiteral("--root"), root(), QStringLiteral("--today"),
                            QStringLiteral("20260316")} +
                    args);
        EXPECT_TRUE(p.waitForFinished(60000));
        *rc = p.exitCode();
        QList<QJsonObject> out;
        for (const QByteArray& l : p.readAllStandardOutput().split('\n'))
            if (!l.trimmed().isEmpty()) out << QJsonDocument::fromJson(l).object();
        startServices();
        return out;
    }
};

TEST_F(RoundDriver, CreatesListsAndRefuses) {
    int rc = -1;
    auto out = drive({QStringLiteral("round"), QStringLiteral("create"), QStringLiteral("--ym"),
                      QStringLiteral("202603"), QStringLiteral("--grades"), QStringLiteral("2,3"),
                      QStringLiteral("--items"), QStringLiteral("01,02"), QStringLiteral("--bank"),
                      QStringLiteral("99"), QStringLiteral("--title"), QStringLiteral("삼월")},
                     &rc);
    EXPECT_EQ(rc, 0);
    ASSERT_FALSE(out.isEmpty());
    EXPECT_EQ(out.last().value(QStringLiteral("table")).toString(), QStringLiteral("H_200_20260301"));
    EXPECT_EQ(out.last().value(QStringLiteral("rows")).toInt(), 2);
    EXPECT_EQ(rowsOf(QStringLiteral("H_200_20260301")),
              (QStringList{QStringLiteral("C3/01 0 0"), QStringLiteral("C3/02 2 3000")}));

    out = drive({QStringLiteral("round"), QStringLiteral("list")}, &rc);
    ASSERT_EQ(out.size(), 1);
    EXPECT_EQ(out[0].value(QStringLiteral("line")).toString(), QStringLiteral("202603 / 01  /  삼월"));

    out = drive({QStringLiteral("round"), QStringLiteral("create"), QStringLiteral("--ym"),
                 QStringLiteral("202603"), QStringLiteral("--seq"), QStringLiteral("01"),
                 QStringLiteral("--grades"), QStringLiteral("1"), QStringLiteral("--items"),
                 QStringLiteral("01")},
                &rc);
    EXPECT_EQ(rc, 1);
    ASSERT_FALSE(out.isEmpty());
    EXPECT_EQ(out.first().value(QStringLiteral("text")).toString(),
              QStringLiteral("이체년월/회차가 존재합니다! 다른회차를 입력하세요"));
}

TEST_F(RoundDriver, ShowAndAddStudentUnderTheRoundWord) {
    int rc = -1;
    drive({QStringLiteral("round"), QStringLiteral("create"), QStringLiteral("--ym"),
           QStringLiteral("202603"), QStringLiteral("--grades"), QStringLiteral("3"),
           QStringLiteral("--items"), QStringLiteral("01"), QStringLiteral("--bank"), QStringLiteral("12")},
          &rc);
    ASSERT_EQ(rc, 0);
    auto out = drive({QStringLiteral("round"), QStringLiteral("add-student"), QStringLiteral("--yearmon"),
                      QStringLiteral("202603"), QStringLiteral("--seqno"), QStringLiteral("01"),
                      QStringLiteral("--sno"), QStringLiteral("30101"), QStringLiteral("--items"),
                      QStringLiteral("01,02")},
                     &rc);
    EXPECT_EQ(rc, 0);
    ASSERT_FALSE(out.isEmpty());
    EXPECT_EQ(out.last().value(QStringLiteral("added")).toArray().size(), 1);

    out = drive({QStringLiteral("round"), QStringLiteral("show"), QStringLiteral("--yearmon"),
                 QStringLiteral("202603"), QStringLiteral("--seqno"), QStringLiteral("01")},
                &rc);
    EXPECT_EQ(rc, 0);
    ASSERT_EQ(out.size(), 3);
    EXPECT_EQ(out.last().value(QStringLiteral("totCnt")).toInt(), 2);
    EXPECT_EQ(out.last().value(QStringLiteral("nonProcAmt")).toInt(), 15000);

    // The window's checks come before the listing.
    const struct {
        const char* name;
        QStringList extra;
        const char16_t* box;
    } refusals[] = {
        {"reversed range",
         {QStringLiteral("--from"), QStringLiteral("30201"), QStringLiteral("--to"), QStringLiteral("30101")},
         u"학번범위 설정이 올바르지 않습니다."},
        {"group of no row",
         {QStringLiteral("--group"), QStringLiteral("02")},
         u"입력하신 회차와 항목그룹이 맞지않습니다."},
    };
    for (const auto& r : refusals) {
        SCOPED_TRACE(r.name);
        out = drive(QStringList{QStringLiteral("round"), QStringLiteral("show"), QStringLiteral("--yearmon"),
                                QStringLiteral("202603"), QStringLiteral("--seqno"), QStringLiteral("01")} +
                        r.extra,
                    &rc);
        EXPECT_EQ(rc, 1);
        ASSERT_FALSE(out.isEmpty());
        EXPECT_EQ(out.first().value(QStringLiteral("text")).toString(), QString::fromUtf16(r.box));
        for (const QJsonObject& o : out)
            EXPECT_FALSE(o.contains(QStringLiteral("row")));
    }
}

} // namespace
