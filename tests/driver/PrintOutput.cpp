#include "driver/PrintOutput.h"

#include "driver/Driver.h"
#include "platform/report/ReportDocument.h"

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

int write(const ReportDocument& doc, const Options& o) {
    QString err;
    if (!o.pdf.isEmpty() && !doc.writePdf(o.pdf, &err)) {
        Driver::print({{QStringLiteral("error"), err}});
        return 1;
    }
    if (!o.dump.isEmpty() && !doc.writeDump(o.dump, &err)) {
        Driver::print({{QStringLiteral("error"), err}});
        return 1;
    }
    QJsonObject r{{QStringLiteral("result"), QStringLiteral("printed")},
                  {QStringLiteral("pages"), int(doc.pages.size())}};
    if (!o.pdf.isEmpty()) r.insert(QStringLiteral("pdf"), o.pdf);
    if (!o.dump.isEmpty()) r.insert(QStringLiteral("dump"), o.dump);
    Driver::print(r);
    return 0;
}

} // namespace PrintOutput
