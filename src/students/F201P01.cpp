#include "students/F201P01.h"

TFrmF201P01::TFrmF201P01(const QList<StudentRow>& students, const QStringList& counts) {
    setTitle(QStringLiteral("학생명부"));
    ChildBand1->enabled = false;
    RosterPrint::addColumns(QRBand3, 0, QRBand2);
    ReportElement** labels[3] = {&LblTot, &LblUseY, &LblUseN};
    const char* names[3] = {"LblTot", "LblUseY", "LblUseN"};
    for (int i = 0; i < 3; ++i) {
        *labels[i] =
            &QRBand4->addLabel(QString::fromLatin1(names[i]), {1 + i * 45.0, 1.5, 44, 4.6}, counts.value(i));
    }
    QRBand4->addLine({0, 0.5, bandWidth(), 0});
    QuickRep1.setRows(RosterPrint::rows(students));
}
