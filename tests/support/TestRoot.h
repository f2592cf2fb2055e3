#pragma once
#include "platform/ui/FileDialog.h"
#include "support/ScriptedMsg.h"

#include <QDateTime>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// A fresh data root per test: a temporary folder with the start-up services
// created on it (database, shared tables, cached lists), a fixed clock, a
// private settings file and a scripted message-box answerer.
class TestRoot : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the services on the root (called by SetUp unless the test sets
    // startServices to false before it).
    void startServices();
    void stopServices();

    QString root() const { return dir_.path(); }
    QString path(const QString& rel) const { return dir_.path() + QLatin1Char('/') + rel; }

    // Runs SQL (bound values only) and returns the first column of every row.
    static QStringList column(const QString& sql, const QVariantList& binds = {});
    static qint64 scalar(const QString& sql, const QVariantList& binds = {});

    static QDateTime fixedNow() { return QDateTime(QDate(2026, 3, 16), QTime(10, 20, 30)); }

    // Answers the next file dialogs with these paths, in order (an empty
    // path cancels); a dialog beyond them fails the test. Each dialog asked
    // is kept in fileDialogs.
    void answerFiles(const QStringList& paths);
    QList<FileDialogSpec> fileDialogs;

    ScriptedMsg msg;
    bool autoStart = true;

private:
    QTemporaryDir dir_;
    QByteArray oldRegistry_;
    QStringList filePaths_;
};
