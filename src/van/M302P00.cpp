// TFrmM302P00 (학생자료집계): the lines and grand total of the round totals window.

#include "van/RoundTotals.h"

#include "shared/StdListV.h"

namespace RoundTotals {

ReportDocument print(const Result& res, const PrintCondition& c) {
    TFrmStdListV form;
    form.setLandscape(true);
    form.setTitle(QStringLiteral("학생자료집계"));
    Report& r = form.QuickRep1;
    const double w = form.bandWidth();
    const ReportFont plain{QStringLiteral("굴림"), 8};
    const ReportFont bold{QStringLiteral("굴림"), 9, true};

    // Condition band under "[조건내역]": bank and item, year-month and grade, round.
    ReportBand* cond = form.ChildBand1;
    cond->height = 22;
    if (ReportElement* line = cond->find(QStringLiteral("QRShape1"))) line->box = QRectF(0, 21.5, w, 0);
    const struct {
        const char16_t* caption;
        const char* name;
        QString value;
        double x, y;
    } lines[] = {{u"은         행:", "QRLblBank", c.bank, 3, 6.5},
                 {u"항         목:", "QRLblItem", c.item, 100, 6.5},
                 {u"이 체 년 월:", "QRLblYearMon", c.yearMon.left(4) + QLatin1Char('/') + c.yearMon.mid(4, 2),
                  3, 11.5},
                 {u"학         년:", "QRLblGrade", c.grade, 100, 11.5},
                 {u"회         차:", "QRLblSeqNo", c.seqNo, 3, 16.5}};
    for (const auto& l : lines) {
        cond->addLabel(QStringLiteral("c") + QString::fromLatin1(l.name), {l.x, l.y, 22, 4.5},
                       QString::fromUtf16(l.caption), plain);
        cond->addLabel(QString::fromLatin1(l.name), {l.x + 22, l.y, 70, 4.5}, l.value, plain);
    }

    // Column header: the key column, then six counts and six amounts.
    ReportBand* head = form.QRBand3;
    head->height = 11;
    if (ReportElement* line = head->find(QStringLiteral("QRShape2"))) line->box = QRectF(0, 10.5, w, 0);
    // Counts are short; the amounts get the room (a total may pass ten digits).
    const double keyW = 20, cntW = 16;
    const double amtW = (w - keyW - 6 * cntW) / 6;
    const auto colX = [&](int i) { return keyW + (i < 6 ? cntW * i : cntW * 6 + amtW * (i - 6)); };
    const auto colW = [&](int i) { return i < 6 ? cntW : amtW; };
    head->addLabel(QStringLiteral("hTp"), {0, 3, keyW, 5}, QStringLiteral("학년"), bold, ReportAlign::Center);
    head->addLabel(QStringLiteral("hCnt"), {keyW, 0.5, cntW * 6, 4.5}, QStringLiteral("건      수"), bold,
                   ReportAlign::Center);
    head->addLabel(QStringLiteral("hAmt"), {keyW + cntW * 6, 0.5, amtW * 6, 4.5},
                   QStringLiteral("금      액"), bold, ReportAlign::Center);
    head->addLine({keyW, 5.5, w - keyW, 0});
    const QStringList states = {QStringLiteral("처리"), QStringLiteral("미처리"),   QStringLiteral("면제"),
                                QStringLiteral("환불"), QStringLiteral("부분환불"), QStringLiteral("소계")};
    QStringList fields{QStringLiteral("QRLblTp")};
    form.QRBand2->addField(QStringLiteral("QRLblTp"), {1, 0.5, keyW - 2, 4.5}, QStringLiteral("QRLblTp"),
                           plain);
    for (int i = 0; i < 12; ++i) {
        const double x = colX(i), cw = colW(i);
        head->addLabel(QStringLiteral("hState%1").arg(i), {x, 5.8, cw, 4.5}, states[i % 6], bold,
                       ReportAlign::Center);
        head->addLine({x, i % 6 == 0 ? 0.0 : 5.5, 0, i % 6 == 0 ? 11.0 : 5.5});
        const QString name = QStringLiteral("QRLblCnt%1").arg(i + 1);
        form.QRBand2->addField(name, {x + 0.5, 0.5, cw - 1.5, 4.5}, name, plain, ReportAlign::Right);
        fields << name;
    }

    ReportRows data;
    data.columns = fields;
    for (const Line& l : res.lines) {
        QStringList row;
        for (const QString& cell : cells(l))
            row << cell.trimmed();
        data.rows << row;
    }
    r.setRows(data);

    ReportBand* sum = form.QRBand4;
    sum->height = 7;
    sum->addLine({0, 0.5, w, 0});
    sum->addLabel(QStringLiteral("QRLblTot"), {1, 1.5, keyW - 2, 4.5}, QStringLiteral("총계"), bold);
    const QStringList totals = totalTexts(res.total);
    for (int i = 0; i < 12; ++i)
        sum->addLabel(QStringLiteral("QRLblTot%1").arg(i + 1), {colX(i) + 0.5, 1.5, colW(i) - 1.5, 4.5},
                      totals.value(i), plain, ReportAlign::Right);
    return r.layout();
}

} // namespace RoundTotals
