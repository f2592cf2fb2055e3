#include "students/ThreeAcrossPrint.h"

#include <QLocale>

TThreeAcrossList::TThreeAcrossList(const QString& title, const QString& condition, const QStringList& heads,
                                   const QList<QStringList>& rows, ReportAlign thirdAlign) {
    setTitle(title);
    QRLabel5->text = condition;
    const double third = bandWidth() / 3;
    const double widths[3] = {18, 26, third - 46};
    ReportRows data;
    for (int block = 0; block < 3; ++block) {
        double x = block * third + 1;
        for (int c = 0; c < 3; ++c) {
            const QString field = QStringLiteral("F%1_%2").arg(block).arg(c);
            data.columns << field;
            const ReportAlign a = c == 2 ? thirdAlign : ReportAlign::Left;
            QRBand3->addLabel(QStringLiteral("QRLblHead") + field, {x, 1.0, widths[c] - 1, 4.6}, heads.value(c), {},
                              c == 2 ? thirdAlign : ReportAlign::Center);
            QRBand2->addField(QStringLiteral("QRDBText") + field, {x, 1.0, widths[c] - 1, 4.6}, field, {}, a);
            x += widths[c];
        }
    }
    for (int i = 0; i < rows.size(); i += 3) {
        QStringList line;
        for (int k = 0; k < 3; ++k) {
            const QStringList r = i + k < rows.size() ? rows.at(i + k) : QStringList();
            for (int c = 0; c < 3; ++c)
                line << r.value(c);
        }
        data.rows << line;
    }
    QuickRep1.setRows(data);
}

TFrmF301P00::TFrmF301P00(const QString& itemText, const QList<QStringList>& rows)
    : TThreeAcrossList(QStringLiteral("면제학생"), QStringLiteral("[항목명]   ") + itemText,
                       {QStringLiteral("학번"), QStringLiteral("성명"), QStringLiteral("면제금액")}, rows,
                       ReportAlign::Right) {
    QRBand4->addLabel(QStringLiteral("QRLblTot"), {2.9, 1.0, 100, 4.6},
                      QStringLiteral("총면제학생수: ") + QString::number(rows.size()));
}

TFrmF302P00::TFrmF302P00(const QString& groupName, const QList<QStringList>& rows)
    : TThreeAcrossList(QStringLiteral("학생 그룹"), QStringLiteral("[그룹명]   ") + groupName,
                       {QStringLiteral("학번"), QStringLiteral("성명"), QStringLiteral("구분")}, rows,
                       ReportAlign::Center) {
    QRBand4->addLabel(QStringLiteral("QRLblTotCap"), {2.9, 1.0, 25, 4.6}, QStringLiteral("[총학생수]"));
    QRBand4->addLabel(QStringLiteral("QRLblTot"), {28, 1.0, 40, 4.6},
                      QLocale(QLocale::Korean).toString(qsizetype(rows.size())));
}
