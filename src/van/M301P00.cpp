// TFrmM301P00 (학생별이체현황): the landscape list of the history window's rows.

#include "van/TransferHistory.h"

#include "shared/StdListV.h"

namespace TransferHistory {

ReportDocument print(const QList<QStringList>& rows, const QStringList& panels, const QString& condition) {
    TFrmStdListV form;
    form.setLandscape(true);
    form.setTitle(QStringLiteral("학생별이체현황"));
    Report& r = form.QuickRep1;
    const double w = form.bandWidth();
    const ReportFont plain{QStringLiteral("굴림"), 8};
    const ReportFont bold{QStringLiteral("굴림"), 8, true};

    // Condition band: only the student-number line carries the condition.
    form.QRLabel5->enabled = false;
    ReportBand* cond = form.ChildBand1;
    cond->height = 12;
    if (ReportElement* line = cond->find(QStringLiteral("QRShape1"))) line->box = QRectF(0, 11.5, w, 0);
    cond->addLabel(QStringLiteral("QRLabel11"), {3, 1, 22, 4.5}, QStringLiteral("학         번:"), plain);
    cond->addLabel(QStringLiteral("QRLblSNo"), {25, 1, w - 25, 4.5}, condition, plain);
    cond->addLabel(QStringLiteral("QRLabel12"), {3, 6, 22, 4.5}, QStringLiteral("성         명:"), plain);
    cond->addLabel(QStringLiteral("QRLblNm"), {25, 6, 60, 4.5}, QString(), plain);
    cond->addLabel(QStringLiteral("QRLabel13"), {90, 6, 60, 4.5}, QString(), plain);

    // Columns in the grid's proportions across the landscape band.
    static const int widths[ColCount] = {60, 60, 30, 60, 30, 60, 110, 90, 75, 30, 50, 100, 75, 100};
    static const char* names[ColCount] = {
        "QRLbHakbun", "QRLbName", "QRLblFileTp",  "QRLblYearMon", "QRLblSeqNo",  "QRLblBankNm", "QRLblAcctNo",
        "QRLblItem",  "QRLblAmt", "QRLblExempTy", "QRLblReplyTy", "QRLblProcDt", "QRLblReAmt",  "QRLblReDt"};
    const QStringList headers = {
        QStringLiteral("학번"),     QStringLiteral("성명"),  QStringLiteral("구분"),
        QStringLiteral("이체년월"), QStringLiteral("회차"),  QStringLiteral("은행"),
        QStringLiteral("계좌번호"), QStringLiteral("항목"),  QStringLiteral("금액"),
        QStringLiteral("면제"),     QStringLiteral("이체"),  QStringLiteral("이체일"),
        QStringLiteral("환불금액"), QStringLiteral("환불일")};
    double total = 0;
    for (int v : widths)
        total += v;
    double x = 0;
    QStringList fields;
    for (int c = 0; c < ColCount; ++c) {
        const double cw = w * widths[c] / total;
        const ReportAlign a = c == ColAmt || c == ColReAmt ? ReportAlign::Right : ReportAlign::Left;
        const QString name = QString::fromLatin1(names[c]);
        form.QRBand3->addLabel(QStringLiteral("h") + name, {x + 0.5, 0.5, cw - 1, 5}, headers[c], bold,
                               ReportAlign::Center);
        form.QRBand2->addField(name, {x + 0.5, 0.5, cw - 1, 4.5}, name, plain, a);
        if (c > 0) form.QRBand3->addLine({x, 0, 0, 6.1});
        fields << name;
        x += cw;
    }

    ReportRows data;
    data.columns = fields;
    for (const QStringList& row : rows) {
        QStringList cells;
        for (int c = 0; c < ColCount; ++c) {
            const QString v = row.value(c);
            // Amounts print as stored; the two codes in words.
            cells << (c == ColExemp ? exempPrint(v) : c == ColReply ? replyPrint(v) : v.trimmed());
        }
        data.rows << cells;
    }
    r.setRows(data);

    // Summary: four pairs on each of the first two lines, then one a line.
    ReportBand* sum = form.QRBand4;
    sum->height = 32;
    sum->addLine({0, 0.5, w, 0});
    const QStringList captions = {QStringLiteral("집금처리건수:"),   QStringLiteral("집금처리금액:"),
                                  QStringLiteral("배분처리건수:"),   QStringLiteral("배분처리금액:"),
                                  QStringLiteral("집금미처리건수:"), QStringLiteral("집금미처리금액:"),
                                  QStringLiteral("배분미처리건수:"), QStringLiteral("배분미처리금액:"),
                                  QStringLiteral("면제건수:"),       QStringLiteral("면제금액:"),
                                  QStringLiteral("환불건수:"),       QStringLiteral("환불금액:"),
                                  QStringLiteral("부분환불건수:"),   QStringLiteral("부분환불금액:")};
    // panels come in Totals::values() order.
    const int panelOf[14] = {0, 1, 4, 5, 2, 3, 6, 7, 8, 9, 10, 11, 12, 13};
    for (int i = 0; i < 14; ++i) {
        const int line = i < 8 ? i / 4 : 2 + (i - 8) / 2;
        const int slot = i < 8 ? i % 4 : (i - 8) % 2;
        const double cx = 3 + slot * 70.0;
        const double y = 2 + line * 5.8;
        sum->addLabel(QStringLiteral("cSum%1").arg(i), {cx, y, 32, 4.5}, captions[i], plain);
        sum->addLabel(QStringLiteral("QRLblSum%1").arg(i), {cx + 32, y, 30, 4.5}, panels.value(panelOf[i]),
                      plain, ReportAlign::Right);
    }
    return r.layout();
}

} // namespace TransferHistory
