#pragma once
#include "transfers/collection/CollectionPrint.h"

// The collection lists ("집금이체내역조회"): one form base, four forms.
class TCollectionList : public TFrmStdListV {
public:
    TCollectionList(const CollectionPrint::ListOptions& o, const ReportRows& rows, bool landscape,
                    bool byClass, bool rightAlignReAmt);

    ReportElement *QrGroup = nullptr, *QrYear = nullptr, *QrMon = nullptr, *QrHc = nullptr;
    ReportElement *pxtOne = nullptr, *pxtTwo = nullptr; // optional column titles (portrait)
    ReportBand* QRGroupFooter = nullptr;                // class figures (by class)
    // The class figures: 처리, 미처리, 면제, 환불, 부분환불 counts and amounts.
    qint64 FFig[10] = {};
};

// Landscape, all rows.
class TFrmM101P01 : public TCollectionList {
public:
    TFrmM101P01(const CollectionPrint::ListOptions& o, const ReportRows& rows)
        : TCollectionList(o, rows, true, false, false) {}
};
// Landscape, a page per class.
class TFrmM101P00 : public TCollectionList {
public:
    TFrmM101P00(const CollectionPrint::ListOptions& o, const ReportRows& rows)
        : TCollectionList(o, rows, true, true, false) {}
};
// Portrait, all rows, two optional columns.
class TFrmM101P11 : public TCollectionList {
public:
    TFrmM101P11(const CollectionPrint::ListOptions& o, const ReportRows& rows)
        : TCollectionList(o, rows, false, false, true) {}
};
// Portrait, a page per class, two optional columns.
class TFrmM101P10 : public TCollectionList {
public:
    TFrmM101P10(const CollectionPrint::ListOptions& o, const ReportRows& rows)
        : TCollectionList(o, rows, false, true, false) {}
};
