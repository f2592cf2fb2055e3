#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct DriverRun {
    int code = -1;
    QList<QJsonObject> lines;
};

DriverRun driver(const QString& root, const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(ZQ_DRIVER_PATH),
            QStringList{QStringLiteral("--root"), root, QStringLiteral("--today"), QStringLiteral("20260316")} + args);
    EXPECT_TRUE(p.waitForFinished(60000));
    DriverRun r;
    r.code = p.exitCode();
    for (const QByteArray& l : p.readAllStandardOutput().split('\n'))
        if (!l.trimmed().isEmpty()) r.lines << QJsonDocument::fromJson(l).object();
    return r;
}

QStringList words(const char* s) {
    return QString::fromUtf8(s).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// Exemptions and a student group through the driver, a round by the group
// billed with the exemption, then the report commands on it.
TEST(ReportDriver, ExemptionGroupRoundAndReports) {
    QTemporaryDir dir;
    const QString root = dir.path();
    qputenv("ZQ_REGISTRY", (root + QStringLiteral("/registry.ini")).toLocal8Bit());
    ASSERT_EQ(driver(root, words("grade save 1 1학년")).code, 0);
    ASSERT_EQ(driver(root, words("item save --group 01 --name 수업료 --amount 100000")).code, 0);
    QStringList custNos;
    for (const char* sno : {"0101", "0102"}) {
        const DriverRun r = driver(root, QStringList{QStringLiteral("--answers"), QStringLiteral("yes,yes,yes"),
                                                     QStringLiteral("student"), QStringLiteral("add")} +
                                             words("--grade 1 --name 학생 --tel 01012345678 --bank 99 --sno") +
                                             QStringList{QString::fromLatin1(sno)});
        ASSERT_EQ(r.code, 0);
        custNos << r.lines.last()[QStringLiteral("custNo")].toString();
    }

    DriverRun r = driver(root, QStringList{QStringLiteral("exemption"), QStringLiteral("save"), custNos[0],
                                           QStringLiteral("01"), QStringLiteral("--partial"),
                                           QStringLiteral("--amount"), QStringLiteral("3만")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.lines.value(0)[QStringLiteral("text")].toString(), QStringLiteral("금액은 숫자로 입력해주세요!!"));
    r = driver(root, QStringList{QStringLiteral("exemption"), QStringLiteral("save"), custNos[0], QStringLiteral("01"),
                                 QStringLiteral("--partial"), QStringLiteral("--amount"), QStringLiteral("30,000")});
    EXPECT_EQ(r.code, 0);

    r = driver(root, QStringList{QStringLiteral("--answers"), QStringLiteral("yes"), QStringLiteral("stgroup"),
                                 QStringLiteral("save"), QStringLiteral("합창단"), custNos.join(QLatin1Char(','))});
    EXPECT_EQ(r.code, 0);
    r = driver(root, words("stgroup list 합창단"));
    EXPECT_EQ(r.lines.last()[QStringLiteral("count")].toInt(), 2);

    r = driver(root, words("round create --ym 202603 --groups 합창단=01"));
    ASSERT_EQ(r.code, 0);
    r = driver(root, words("round show --yearmon 202603 --seqno 01"));
    QStringList amounts;
    for (const QJsonObject& o : r.lines)
        if (o.contains(QStringLiteral("row"))) {
            const QJsonObject row = o[QStringLiteral("row")].toObject();
            amounts << row[QStringLiteral("ExempTy")].toString() + QLatin1Char(':') +
                           row[QStringLiteral("Amt")].toString();
        }
    EXPECT_EQ(amounts, (QStringList{QStringLiteral("2:70000"), QStringLiteral("1:100000")}));

    // Nothing paid yet: no receipt, no refund.
    r = driver(root, words("report list receipts --round 202603-01"));
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.lines.last()[QStringLiteral("count")].toInt(), 0);
    r = driver(root, QStringList{QStringLiteral("print"), QStringLiteral("receipts"), QStringLiteral("--round"),
                                 QStringLiteral("202603-01"), QStringLiteral("--pdf"), root + QStringLiteral("/r.pdf")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.lines.value(0)[QStringLiteral("text")].toString(), QStringLiteral("해당하는 자료가 없습니다."));
    r = driver(root, words("report list receipts --round 202603-02 --round2 202603-01"));
    EXPECT_EQ(r.lines.value(0)[QStringLiteral("text")].toString(), QStringLiteral("조회시작회차가 조회종료회차보다 큽니다."));

    // The unpaid statements' footers (both students without an account):
    // left out, the edits' text as the window opens; given, as typed, blank
    // too.
    const QString footer = QStringLiteral("통장에 입금하여 주십시요");
    const struct {
        const char* name;
        QStringList options;
        QString shown;
    } footers[] = {
        {"left out", {}, footer},
        {"typed",
         {QStringLiteral("--desc"), QStringLiteral("창구에 납부하세요")},
         QStringLiteral("창구에 납부하세요")},
        {"blank", {QStringLiteral("--desc"), QString()}, QString()},
        {"only the account footer", {QStringLiteral("--desc2"), QStringLiteral("자동이체합니다")}, footer},
    };
    for (const auto& f : footers) {
        const QString dump = root + QStringLiteral("/unpaid.txt");
        r = driver(root,
                   QStringList{QStringLiteral("print"), QStringLiteral("unpaid"), QStringLiteral("--round"),
                               QStringLiteral("202603-01"), QStringLiteral("--dump"), dump} +
                       f.options);
        EXPECT_EQ(r.code, 0) << f.name;
        QFile in(dump);
        ASSERT_TRUE(in.open(QIODevice::ReadOnly)) << f.name;
        QStringList shown;
        for (const QString& line : QString::fromUtf8(in.readAll()).split(QLatin1Char('\n')))
            if (line.contains(footer) || line.contains(QStringLiteral("창구에")) ||
                line.contains(QStringLiteral("자동이체합니다")))
                shown << line.section(QLatin1Char(' '), 8);
        const QStringList expected = f.shown.isEmpty() ? QStringList() : QStringList{f.shown, f.shown};
        EXPECT_EQ(shown, expected) << f.name;
    }
    // The notices' footer likewise (the cash form).
    for (const bool given : {false, true}) {
        const QString dump = root + QStringLiteral("/notices.txt");
        QStringList args{QStringLiteral("print"),   QStringLiteral("notices"),
                         QStringLiteral("--round"), QStringLiteral("202603-01"),
                         QStringLiteral("--kind"),  QStringLiteral("1"),
                         QStringLiteral("--dump"),  dump};
        if (given) args << QStringLiteral("--desc") << QString();
        r = driver(root, args);
        EXPECT_EQ(r.code, 0) << given;
        QFile in(dump);
        ASSERT_TRUE(in.open(QIODevice::ReadOnly));
        EXPECT_EQ(
            QString::fromUtf8(in.readAll()).contains(QStringLiteral("자동이체하오니 납부하여 주십시요.")),
            !given);
    }
}

} // namespace
