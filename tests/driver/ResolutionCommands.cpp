// zq-driver resolution save NAME: what a resolution dialog keeps when it
// prints or closes, written to its INI file.

#include "driver/Driver.h"

#include "reports/Resolutions.h"

#include <QJsonObject>

namespace {

int resolutionCommand(const QStringList& args) {
    if (args.value(0) != QLatin1String("save") || args.size() < 2)
        return Driver::fail(QStringLiteral("resolution save NAME [--KEY VALUE]..."));
    const ResolutionForm* f = Resolutions::find(args.at(1));
    if (!f) return Driver::fail(QStringLiteral("no resolution form ") + args.at(1));
    // The dialog opens on the kept values; the options are what was typed.
    QString path;
    if (!Resolutions::ensure(*f, &path)) {
        Resolutions::writeFailed(path).show();
        return 1;
    }
    QString error;
    ResolutionValues v = Resolutions::load(*f, &error);
    if (!error.isEmpty()) {
        Resolutions::readFailed(error).show();
        return 1;
    }
    for (int i = 2; i < args.size(); i += 2) {
        const QString key = args.at(i).mid(2);
        if (!args.at(i).startsWith(QLatin1String("--")) || !f->keys().contains(key) || i + 1 >= args.size())
            return Driver::fail(QStringLiteral("bad option ") + args.at(i));
        v.insert(key, args.at(i + 1));
    }
    if (!Resolutions::save(*f, v, &path)) {
        Resolutions::writeFailed(path).show();
        return 1;
    }
    Driver::print(QJsonObject{{QStringLiteral("saved"), Resolutions::iniPath(*f)}});
    return 0;
}

const struct Registrar {
    Registrar() {
        Driver::addCommand(
            QStringLiteral("resolution"),
            QStringLiteral("resolution save income-resolution|payment-resolution|refund-resolution|"
                           "collection-resolution [--KEY VALUE]..."),
            resolutionCommand);
    }
} registrar;

} // namespace
