#pragma once
#include "platform/report/Report.h"

class QWidget;

// The base list report: A4 portrait, 5 mm margins, title, page number and
// print date and time heading every page with the condition line under
// them, column headers, one detail band per row and a summary. A list report derives from
// it, sets its title, adds its columns and totals to the bands, switches off
// what it does not use and fills QuickRep1 (rows or need-data).
class TFrmStdListV {
public:
    TFrmStdListV();
    virtual ~TFrmStdListV();
    TFrmStdListV(const TFrmStdListV&) = delete;
    TFrmStdListV& operator=(const TFrmStdListV&) = delete;

    Report QuickRep1;
    ReportBand* QRBand1 = nullptr;       // page header, 18 mm
    ReportBand* ChildBand1 = nullptr;    // condition line, 6.1 mm, line "QRShape1" at its bottom
    ReportBand* QRBand3 = nullptr;       // column header, 6.1 mm, line "QRShape2" at its bottom
    ReportBand* QRBand2 = nullptr;       // detail, 6.1 mm
    ReportBand* QRBand4 = nullptr;       // summary, 6.6 mm
    ReportElement* QRLabel1 = nullptr;   // the title
    ReportElement* QRLabel5 = nullptr;   // "[조건내역]"
    ReportElement* QRSysData1 = nullptr; // page number
    ReportElement* QRSysData2 = nullptr; // print date
    ReportElement* QRSysData3 = nullptr; // print time

    // Width of the bands: 200 mm in portrait, 287 mm in landscape.
    double bandWidth() const;
    // Turns the page; the title, the header's right-hand labels and the base
    // bands' lines follow the new width.
    void setLandscape(bool landscape);
    void setTitle(const QString& title);

    // Lays out and shows the modal preview.
    int PreviewModal(QWidget* parent = nullptr);
    ReportDocument layout() { return QuickRep1.layout(); }

private:
    void placeBase();
    ReportElement *caption_[3] = {}, *bottomLine_[2] = {};
};
