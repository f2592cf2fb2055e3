#include "support/PdfText.h"

#include "platform/report/ReportDocument.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace PdfText {

bool available() {
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

QStringList pages(const ReportDocument& doc, QString* error) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("doc.pdf"));
    if (!doc.writePdf(pdf, error)) return {};
    QStringList out;
    for (int p = 1; p <= doc.pages.size(); ++p) {
        QProcess run;
        run.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                   QStringLiteral("-f"), QString::number(p), QStringLiteral("-l"), QString::number(p), pdf,
                   QStringLiteral("-")});
        if (!run.waitForFinished(60000) || run.exitCode() != 0) {
            if (error) *error = QStringLiteral("pdftotext failed on page %1").arg(p);
            return {};
        }
        out << QString::fromUtf8(run.readAllStandardOutput());
    }
    return out;
}

namespace {
// pdftotext drops the blank characters and puts blanks where it sees gaps,
// so a narrow blank may read as none: texts are compared without blanks.
QString withoutBlanks(const QString& s) {
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return QString(s).remove(blanks);
}
} // namespace

QStringList mismatches(const ReportDocument& doc) {
    QString error;
    const QStringList text = pages(doc, &error);
    if (text.size() != doc.pages.size()) return {error.isEmpty() ? QStringLiteral("no text read") : error};
    QStringList out;
    for (int p = 0; p < text.size(); ++p) {
        for (QChar c : text.at(p))
            if (c.unicode() < 0x20 && c != QLatin1Char('\n') && c != QLatin1Char('\f')) {
                out << QStringLiteral("page %1 holds U+%2")
                           .arg(p + 1)
                           .arg(c.unicode(), 4, 16, QLatin1Char('0'));
                break;
            }
        const QString read = withoutBlanks(text.at(p));
        for (const QString& t : doc.pages.at(p).texts())
            for (const QString& line : t.split(QLatin1Char('\n'))) {
                const QString want = withoutBlanks(line);
                if (!want.isEmpty() && !read.contains(want))
                    out << QStringLiteral("page %1 does not read \"%2\"").arg(p + 1).arg(want);
            }
    }
    return out;
}

} // namespace PdfText
