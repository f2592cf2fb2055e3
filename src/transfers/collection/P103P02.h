#pragma once
#include "transfers/collection/CollectionPrint.h"

// The receipt of one collection row: TFrmP103P02 two copies side by side
// (labels ending 1 for the school's, 11 for the parents'), TFrmP103P02_0 one.
class TFrmP103P02 : public TFrmStdListV {
public:
    explicit TFrmP103P02(int copies = 2);
    // Fills copy 1 (labels ...1) or 2 (labels ...11).
    void fill(int copy, const CollectionPrint::Receipt& r);
    QString sSchoolName;
};

class TFrmP103P02_0 : public TFrmP103P02 {
public:
    TFrmP103P02_0() : TFrmP103P02(1) {}
};
