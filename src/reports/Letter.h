#pragma once
#include "platform/report/ReportDocument.h"
#include "reports/ReportCatalog.h"

#include <QDate>

// The letter to parents (가정통신문): number, title, date and body as typed,
// on one A4 page signed with the school's name. Selection extras: "no",
// "title", "date" (yyyy-MM-dd as the date edit shows it; today when not
// given), "body" (lines separated by line breaks).

struct LetterFields {
    QString seqNo, title, date, body;
};

namespace Letter {

// The letter of a selection's extras.
LetterFields fields(const ReportSelection& s);
// The typed date; an invalid date when the text is none.
QDate parseDate(const QString& text);
// A date that is no date is refused before anything is printed.
std::optional<ReportBox> check(const LetterFields& f);
// The page (TFrmP108P00); the date must have passed check.
ReportDocument printLetter(const LetterFields& f);

// The catalog's pair: the values as printed, and the page.
ReportListing list(const ReportSelection& s);
std::optional<ReportBox> print(const ReportSelection& s, ReportDocument* doc);

} // namespace Letter
