// zq-driver export sumtax / sumtax-mon: the year-end windows' "파일생성"
// after their search, with the selection options of `report list`.

#include "driver/Driver.h"
#include "driver/ReportArgs.h"

#include "platform/ui/Msg.h"
#include "reports/YearEndTax.h"

#include <QJsonObject>

namespace {

using Export = std::optional<ReportBox> (*)(const ReportSelection&, const QString&, int*);

int exportCommand(const QString& name, Export run, QStringList args) {
    if (args.isEmpty() || args.first().startsWith(QLatin1String("--")))
        return Driver::fail(QStringLiteral("export ") + name + QStringLiteral(" FILE [selection]"));
    const QString file = args.takeFirst();
    ReportSelection s;
    int rc = 0;
    if (!Driver::reportSelection(args, &s, &rc)) return rc;
    int rows = 0;
    if (const std::optional<ReportBox> box = run(s, file, &rows)) {
        box->show();
        return 1;
    }
    Msg::info(QStringLiteral("화일생성"), QStringLiteral("엑셀화일을 생성하였습니다!"));
    Driver::print({{QStringLiteral("file"), file}, {QStringLiteral("rows"), rows}});
    return 0;
}

const struct Registrar {
    Registrar() {
        Driver::addCommand(QStringLiteral("export-sumtax"), QStringLiteral("export sumtax FILE [selection]"),
                           [](const QStringList& a) {
                               return exportCommand(QStringLiteral("sumtax"), YearEndTax::exportQuarterly, a);
                           });
        Driver::addCommand(QStringLiteral("export-sumtax-mon"),
                           QStringLiteral("export sumtax-mon FILE [selection]"), [](const QStringList& a) {
                               return exportCommand(QStringLiteral("sumtax-mon"), YearEndTax::exportMonthly,
                                                    a);
                           });
    }
} registrar;

} // namespace
