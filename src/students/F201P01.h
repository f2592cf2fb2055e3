#pragma once
#include "shared/StdListV.h"
#include "students/RosterPrint.h"

// "학생명부", the whole list, with the roster's counts in its summary.
class TFrmF201P01 : public TFrmStdListV {
public:
    // counts: the captions of the roster's LblTot, LblUseY and LblUseN.
    TFrmF201P01(const QList<StudentRow>& students, const QStringList& counts);
    ReportElement *LblTot = nullptr, *LblUseY = nullptr, *LblUseN = nullptr;
};
