#include "driver/PrintOutput.h"

#include "driver/Driver.h"

#include <QJsonObject>

namespace PrintOutput {

bool take(QStringList& args, Options& out, QString* error) {
    for (int i = 0; i < args.size();) {
        const QString a = args.at(i);
        if (a != QLatin1String("--pdf") && a != QLatin1String("--dump")) {
            ++i;
            continue;
        }
        if (i + 1 >= args.size()) {
            *error = a + QStringLiteral(" needs a file");
            return false;
        }
        (a == QLatin1String("--pdf") ? out.pdf : out.dump) = args.at(i + 1);
        args.remove(i, 2);
    }
    if (out.pdf.isEmpty() && out.dump.isEmpty()) {
        *error = QStringLiteral("--pdf FILE or --dump FILE is needed");
        return false;
    }
    return true;
}

Stream::Stream(const Options& o) : options_(o), writer_(o.pdf, o.dump), stream_(writer_) {}

int Stream::finish(const ReportDocument& doc) {
    if (!writer_.started() || !doc.pages.isEmpty()) doc.sendTo(writer_);
    QString err;
    if (!writer_.finish(&err)) {
        Driver::print({{QStringLiteral("error"), err}});
        return 1;
    }
    QJsonObject r{{QStringLiteral("result"), QStringLiteral("printed")},
                  {QStringLiteral("pages"), writer_.pages()}};
    if (!options_.pdf.isEmpty()) r.insert(QStringLiteral("pdf"), options_.pdf);
    if (!options_.dump.isEmpty()) r.insert(QStringLiteral("dump"), options_.dump);
    Driver::print(r);
    return 0;
}

} // namespace PrintOutput
