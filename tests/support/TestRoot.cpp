#include "support/TestRoot.h"

#include "frame/Startup.h"
#include "platform/db/Database.h"
#include "platform/sys/Clock.h"

void TestRoot::SetUp() {
    ASSERT_TRUE(dir_.isValid());
    oldRegistry_ = qgetenv("ZQ_REGISTRY");
    qputenv("ZQ_REGISTRY", (dir_.path() + QStringLiteral("/registry.ini")).toLocal8Bit());
    Clock::set(fixedNow());
    FileDialog::setPicker([this](const FileDialogSpec& spec) -> std::optional<QString> {
        fileDialogs << spec;
        if (filePaths_.isEmpty()) {
            ADD_FAILURE() << "unexpected file dialog: " << spec.title.toStdString();
            return std::nullopt;
        }
        const QString p = filePaths_.takeFirst();
        if (p.isEmpty()) return std::nullopt;
        return p;
    });
    if (autoStart) startServices();
}

void TestRoot::TearDown() {
    stopServices();
    Clock::reset();
    FileDialog::setPicker({});
    if (oldRegistry_.isEmpty()) qunsetenv("ZQ_REGISTRY");
    else qputenv("ZQ_REGISTRY", oldRegistry_);
}

void TestRoot::startServices() {
    QString error;
    ASSERT_TRUE(Startup::createServices(dir_.path(), &error)) << error.toStdString();
}

void TestRoot::stopServices() { Startup::destroyServices(); }

void TestRoot::answerFiles(const QStringList& paths) { filePaths_ = paths; }

QStringList TestRoot::column(const QString& sql, const QVariantList& binds) {
    Query q(sql);
    for (const QVariant& b : binds) q.add(b);
    EXPECT_TRUE(q.exec()) << q.error().toStdString() << " in " << sql.toStdString();
    QStringList out;
    while (q.next()) out << q.str(0);
    return out;
}

qint64 TestRoot::scalar(const QString& sql, const QVariantList& binds) {
    Query q(sql);
    for (const QVariant& b : binds) q.add(b);
    EXPECT_TRUE(q.exec()) << q.error().toStdString() << " in " << sql.toStdString();
    return q.next() ? q.num(0) : -1;
}
