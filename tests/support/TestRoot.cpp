#include "support/TestRoot.h"

#include "frame/Startup.h"
#include "platform/db/Database.h"
#include "platform/sys/Clock.h"

void TestRoot::SetUp() {
    ASSERT_TRUE(dir_.isValid());
    oldRegistry_ = qgetenv("ZQ_REGISTRY");
    qputenv("ZQ_REGISTRY", (dir_.path() + QStringLiteral("/registry.ini")).toLocal8Bit());
    Clock::set(fixedNow());
    if (autoStart) startServices();
}

void TestRoot::TearDown() {
    stopServices();
    Clock::reset();
    if (oldRegistry_.isEmpty()) qunsetenv("ZQ_REGISTRY");
    else qputenv("ZQ_REGISTRY", oldRegistry_);
}

void TestRoot::startServices() {
    QString error;
    ASSERT_TRUE(Startup::createServices(dir_.path(), &error)) << error.toStdString();
}

void TestRoot::stopServices() { Startup::destroyServices(); }

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
