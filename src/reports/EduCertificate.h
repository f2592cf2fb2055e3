#pragma once
#include "reports/YearEndTax.h"

// The certificate of education expenses paid (교육비납입증명서): each chosen
// student's payments of one calendar year summed per quarter, four grid
// rows per student, one certificate a page.
//
// Selection: the extra "year" (a blank year is refused; left out: this
// year), one student prefix
// in hak1, ban1, bun1 (grade, grade and class, or one student; all blank:
// everyone), gcode and itemIds (item group 1), "group2" and "items2" (item
// group 2), "n1" ... "n4" (the quarters' item names, default "납입금"),
// "q1s", "q1e" ... "q4e" (quarter dates yyyymmdd, default the calendar
// quarters). Printout texts: "pnm", "pjumin", "paddr", "company" (the
// earner), "schnm" (default the registry's SchNm), "addr", "relation".

struct CertificateTexts {
    QString pNm, pJumin, pAddr, company, schNm, addr, relation, issuer;
};

namespace EduCertificate {

std::optional<YearEndTax::Refusal> check(const ReportSelection& s);
// The search: M_SumTax rebuilt with the year's paid rows of the chosen
// students and items, then four rows per student (SNo order), quarter by
// quarter, each the student's (payer's) sum within the quarter's dates.
ReportListing list(const ReportSelection& s);
// Certificates of grid rows (cells as the grid holds them, possibly edited):
// one page per block of four rows.
ReportDocument printRows(const QList<QStringList>& gridRows, const CertificateTexts& texts);
// The printout texts of a selection (the driver).
CertificateTexts texts(const ReportSelection& s);
std::optional<ReportBox> print(const ReportSelection& s, ReportDocument* doc);

} // namespace EduCertificate
