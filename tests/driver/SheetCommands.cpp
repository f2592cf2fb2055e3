// zq-driver export students, import students, batch-change: the student
// workbooks and the text export, with the file given instead of chosen.

#include "basic/StudentExport.h"
#include "driver/Driver.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/Msg.h"
#include "students/StudentSheets.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

namespace {

int report(const SheetRun& run) {
    bool stopped = false;
    for (const StoreBox& b : run.boxes) {
        Msg::show(b.caption, b.text, b.icon, MsgButtons::Ok);
        // A run that ends on an error box (a database error part-way) failed,
        // whatever it stored before.
        stopped = stopped || b.icon == MsgIcon::Error;
    }
    Driver::print(QJsonObject{{QStringLiteral("stored"), run.stored},
                              {QStringLiteral("rejected"), QJsonArray::fromStringList(run.rejected)}});
    return run.ran && !stopped ? 0 : 1;
}

const bool g_registered = [] {
    Driver::addCommand(
        QStringLiteral("export-students"),
        QStringLiteral("export students --text FILE | --xlsx FILE   학생->텍스트파일 / 학생->엑셀파일"),
        [](const QStringList& args) {
            if (args.size() != 2 || (args.at(0) != QLatin1String("--text") && args.at(0) != QLatin1String("--xlsx")))
                return Driver::fail(QStringLiteral("export students --text FILE | --xlsx FILE"));
            Driver::queueFile(args.at(1));
            const StudentExport::Result r = args.at(0) == QLatin1String("--text")
                                                ? StudentExport::MnuT201B00Click(nullptr)
                                                : StudentExport::MnuT202B00Click(nullptr);
            Driver::print(QJsonObject{{QStringLiteral("written"), r.written},
                                      {QStringLiteral("file"), QFileInfo(args.at(1)).absoluteFilePath()},
                                      {QStringLiteral("rows"), r.rows}});
            return r.written ? 0 : 1;
        });
    Driver::addCommand(QStringLiteral("import-students"),
                       QStringLiteral("import students FILE   the roster's 불러오기 from a workbook"),
                       [](const QStringList& args) {
                           if (args.size() != 1) return Driver::fail(QStringLiteral("import students FILE"));
                           return report(StudentSheets::importStudents(args.first()));
                       });
    Driver::addCommand(
        QStringLiteral("batch-change"),
        QStringLiteral("batch-change download FILE | upload FILE   원본내려받기 / 일괄변경"),
        [](const QStringList& args) {
            if (args.size() != 2) return Driver::fail(QStringLiteral("batch-change download|upload FILE"));
            if (args.at(0) == QLatin1String("download")) return report(StudentSheets::writeBatchWorkbook(args.at(1)));
            if (args.at(0) == QLatin1String("upload")) return report(StudentSheets::batchChange(args.at(1)));
            return Driver::fail(QStringLiteral("batch-change download|upload FILE"));
        });
    return true;
}();

} // namespace
