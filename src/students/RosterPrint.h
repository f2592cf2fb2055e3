#pragma once
#include "shared/StdListV.h"
#include "students/StudentStore.h"

#include <QList>

#include <memory>

// The roster's columns, shared by its two reports: titles, widths and the
// rows as printed (sex, bank and enrolment codes written out).
namespace RosterPrint {

// "남자" / "여자" for '1' / '2', "재학" / "전출" for '1' / '0'; any other code
// prints as stored.
QString sexText(const QString& code);
QString useText(const QString& code);
// Columns SNo, Nm, Sex, Bank, AcctNo, Owr, Use, OutDate, InDate as printed,
// then UseTy as stored.
ReportRows rows(const QList<StudentRow>& students);
// Column titles into band at top, the detail's fields into detail.
void addColumns(ReportBand* header, double top, ReportBand* detail);

// The roster print of these students: the whole list (TFrmF201P01, with the
// roster's three count captions) or a page per class (TFrmF201P00).
std::unique_ptr<TFrmStdListV> make(const QList<StudentRow>& students, bool whole, const QStringList& counts);

} // namespace RosterPrint
