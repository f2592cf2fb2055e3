#pragma once
#include "platform/report/ReportDocument.h"
#include "reports/ReportCatalog.h"

#include <QMap>

// The four resolution forms (수입결의서, 지급결의서, 과오납금반환결의서,
// 징수결의서): every value is typed into the form's dialog, kept in the INI
// file `ini/<title>.ini` (section "DATA", one key per field, the memo not
// kept) and printed on one page.

struct ResolutionField {
    enum Kind { Edit, Date, DashDate }; // DashDate keeps its separators
    enum Format { AsTyped, Amount, DateWords };
    QString key;     // INI key ("" for the memo)
    QString control; // the dialog's field
    QString caption; // its caption in the dialog
    QString label;   // the printed label
    Kind kind = Edit;
    Format format = AsTyped;
    int maxLen = 0;
};

struct ResolutionForm {
    QString name;  // the driver's word
    QString unit;  // "P104B00"
    QString title; // "수입결의서", also the INI file's name
    QString memoCaption;
    QList<ResolutionField> fields; // the kept fields, in file order
    QStringList keys() const;
};

using ResolutionValues = QMap<QString, QString>; // by INI key; "memo" the memo's lines

namespace Resolutions {

const QList<ResolutionForm>& forms();
// By unit or by name.
const ResolutionForm* find(const QString& unitOrName);

QString iniPath(const ResolutionForm& f);
// Creates the file with every key, empty, when it is missing.
bool ensure(const ResolutionForm& f, QString* error);
// The kept values; a missing file or key reads as empty. A file that cannot
// be read (or is refused as too large) gives empty values and *error.
ResolutionValues load(const ResolutionForm& f, QString* error = nullptr);
// Writes every key of the form (the memo is not kept).
bool save(const ResolutionForm& f, const ResolutionValues& v, QString* error);
// The box of a failed write.
ReportBox writeFailed(const QString& error);
// The box of a file whose kept values could not be read.
ReportBox readFailed(const QString& error);

// Printed formats: an amount with thousands separators (empty when the text
// is no number), a date as "yyyy 년 mm 월 dd 일".
QString amountText(const QString& text);
QString dateWords(const QString& text);
QString printedValue(const ResolutionField& field, const QString& text);

// The page of the form (TFrmP104P00 … TFrmP107P00).
ReportDocument printForm(const ResolutionForm& f, const ResolutionValues& v);

// The catalog's pair: the kept values with the selection's extras (by INI
// key, "memo") laid over them.
ReportListing list(const QString& unit, const ReportSelection& s);
std::optional<ReportBox> print(const QString& unit, const ReportSelection& s, ReportDocument* doc);

} // namespace Resolutions
