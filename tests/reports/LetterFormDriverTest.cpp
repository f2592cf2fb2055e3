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
    p.start(
        QStringLiteral(ZQ_DRIVER_PATH),
        QStringList{QStringLiteral("--root"), root, QStringLiteral("--today"), QStringLiteral("20260316")} +
            args);
    EXPECT_TRUE(p.waitForFinished(60000));
    DriverRun r;
    r.code = p.exitCode();
    for (const QByteArray& l : p.readAllStandardOutput().split('\n'))
        if (!l.trimmed().isEmpty()) r.lines << QJsonDocument::fromJson(l).object();
    return r;
}

// The letter's date check and a resolution form kept and printed from the
// command line.
TEST(LetterFormDriver, LetterDateAndKeptForm) {
    QTemporaryDir dir;
    const QString root = dir.path();
    qputenv("ZQ_REGISTRY", (root + QStringLiteral("/registry.ini")).toLocal8Bit());
    const QString pdf = root + QStringLiteral("/out.pdf");
    DriverRun r = driver(root, {QStringLiteral("print"), QStringLiteral("letter"), QStringLiteral("--date"),
                          QStringLiteral("2026-02-30"), QStringLiteral("--pdf"), pdf});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.lines.value(0)[QStringLiteral("text")].toString(),
              QStringLiteral("일자가 올바르지 않습니다."));
    r = driver(root, {QStringLiteral("print"), QStringLiteral("letter"), QStringLiteral("--title"),
                      QStringLiteral("안내"), QStringLiteral("--pdf"), pdf});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.lines.last()[QStringLiteral("pages")].toInt(), 1);

    r = driver(root,
               {QStringLiteral("resolution"), QStringLiteral("save"), QStringLiteral("payment-resolution"),
                QStringLiteral("--합계"), QStringLiteral("1234567")});
    ASSERT_EQ(r.code, 0);
    EXPECT_TRUE(QFile::exists(root + QStringLiteral("/ini/지급결의서.ini")));
    r = driver(root,
               {QStringLiteral("report"), QStringLiteral("list"), QStringLiteral("payment-resolution")});
    ASSERT_EQ(r.code, 0);
    QStringList total;
    for (const QJsonObject& o : r.lines)
        if (o[QStringLiteral("row")].toArray().at(0).toString() == QStringLiteral("합계"))
            for (const QJsonValue& v : o[QStringLiteral("row")].toArray())
                total << v.toString();
    EXPECT_EQ(total,
              (QStringList{QStringLiteral("합계"), QStringLiteral("1234567"), QStringLiteral("1,234,567")}));
    r = driver(root,
               {QStringLiteral("print"), QStringLiteral("payment-resolution"), QStringLiteral("--pdf"), pdf});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(QFile::exists(pdf));
}

} // namespace
