#pragma once
#include "shared/StdListV.h"
#include "students/RosterPrint.h"

// "학생명부" by grade and class: a page per class headed by its grade and
// class, with its enrolled, transferred and total counts at the end.
class TFrmF201P00 : public TFrmStdListV {
public:
    explicit TFrmF201P00(const QList<StudentRow>& students);

    ReportBand* QRGroupFooter = nullptr;
    ReportElement* QRLblClass = nullptr; // "1 학년 01 반"
    int FUseY = 0, FUseN = 0;            // the current class's counters
};
