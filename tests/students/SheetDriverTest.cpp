#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QList<QJsonObject> driver(const QString& root, const QStringList& args, int* code) {
    QProcess p;
    p.start(QStringLiteral(ZQ_DRIVER_PATH), QStringList{QStringLiteral("--root"), root} + args);
    EXPECT_TRUE(p.waitForFinished(60000));
    *code = p.exitCode();
    QList<QJsonObject> lines;
    for (const QByteArray& l : p.readAllStandardOutput().split('\n'))
        if (!l.trimmed().isEmpty()) lines << QJsonDocument::fromJson(l).object();
    return lines;
}

// The workbook commands print their boxes and what was stored or written.
TEST(SheetDriver, ImportExportAndBatchChange) {
    QTemporaryDir dir;
    const QString root = dir.path();
    qputenv("ZQ_REGISTRY", (root + QStringLiteral("/registry.ini")).toLocal8Bit());
    int code = -1;
    QList<QJsonObject> out = driver(
        root, {"import", "students", QStringLiteral(ZQ_TEST_SOURCE_DIR "/platform/sheets/import_students.xlsx")},
        &code);
    EXPECT_EQ(code, 0);
    ASSERT_EQ(out.size(), 2);
    EXPECT_EQ(out[0]["box"].toString(), QStringLiteral("알림"));
    EXPECT_EQ(out[1]["stored"].toInt(), 3);
    EXPECT_EQ(out[1]["rejected"].toArray().size(), 9);

    out = driver(root, {"export", "students", "--xlsx", root + "/s.xlsx"}, &code);
    EXPECT_EQ(code, 0);
    ASSERT_EQ(out.size(), 3);
    EXPECT_EQ(out[0]["proposed"].toString(), QStringLiteral("StudentData.xlsx"));
    EXPECT_EQ(out[2]["rows"].toInt(), 3);

    out = driver(root, {"batch-change", "download", root + "/b.xlsx"}, &code);
    EXPECT_EQ(code, 0);
    out = driver(root, {"batch-change", "upload", root + "/b.xlsx"}, &code);
    EXPECT_EQ(code, 0);
    ASSERT_EQ(out.size(), 2);
    EXPECT_EQ(out[0]["box"].toString(), QStringLiteral("변경성공"));
    EXPECT_EQ(out[1]["stored"].toInt(), 3);
    qunsetenv("ZQ_REGISTRY");
}

} // namespace
