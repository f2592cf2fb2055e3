#include "basic/BackupMenu.h"
#include "basic/DataBackup.h"
#include "basic/T103B00.h"
#include "data/DMModule.h"
#include "driver/Driver.h"
#include "platform/settings/Registry.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

namespace {

// The company code as the main window takes it at start.
void takeSchoolCode() {
    DMLib->FSchCode = Registry::readString(QStringLiteral("SchoolInfo"), QStringLiteral("SchCode"));
}

QStringList backups() {
    return DataBackup::zipFiles(DMLib->dir(QStringLiteral("databack")));
}

const bool g_registered = [] {
    Driver::addCommand(
        QStringLiteral("backup"),
        QStringLiteral("backup               the manual backup (자료백업) with its external copy"),
        [](const QStringList& args) {
            if (!args.isEmpty()) return Driver::fail(QStringLiteral("backup takes no arguments"));
            takeSchoolCode();
            const QStringList before = backups();
            const bool ok = BackupMenu::MnuT102B00Click(nullptr);
            QJsonArray made;
            for (const QString& n : backups())
                if (!before.contains(n)) made.append(DMLib->dir(QStringLiteral("databack")) + n);
            Driver::print(QJsonObject{{QStringLiteral("backup"), ok},
                                      {QStringLiteral("archives"), made},
                                      {QStringLiteral("external"), DataBackup::externalFolder()}});
            return ok ? 0 : 1;
        });
    Driver::addCommand(
        QStringLiteral("restore"),
        QStringLiteral(
            "restore ARCHIVE      restore a backup (a path, or a name in databack) with its questions"),
        [](const QStringList& args) {
            if (args.size() != 1) return Driver::fail(QStringLiteral("restore needs ARCHIVE"));
            takeSchoolCode();
            QString archive = args.first();
            if (!archive.contains(QLatin1Char('/')))
                archive = DMLib->dir(QStringLiteral("databack")) + archive;
            QString label = QFileInfo(archive).fileName();
            if (label.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive)) label.chop(4);
            const bool ok = RestoreWithQuestions(QFileInfo(archive).absoluteFilePath(), label, nullptr);
            Driver::print(
                QJsonObject{{QStringLiteral("restored"), ok}, {QStringLiteral("archive"), archive}});
            return ok ? 0 : 1;
        });
    Driver::addCommand(
        QStringLiteral("upload"),
        QStringLiteral(
            "upload               the data upload (자료전송): package, then FTP from the Ftp settings"),
        [](const QStringList& args) {
            if (!args.isEmpty()) return Driver::fail(QStringLiteral("upload takes no arguments"));
            takeSchoolCode();
            const bool ok = BackupMenu::MnuT104B00Click(nullptr);
            Driver::print(
                QJsonObject{{QStringLiteral("uploaded"), ok},
                            {QStringLiteral("package"), DMLib->dir(QStringLiteral("databack")) +
                                                            DataBackup::packageName(DMLib->FSchCode)}});
            return ok ? 0 : 1;
        });
    return true;
}();

} // namespace
