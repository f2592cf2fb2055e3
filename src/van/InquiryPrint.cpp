#include "van/InquiryPrint.h"

#include "shared/StdListV.h"

namespace InquiryPrint {

namespace {

using FileInquiry::FileView;

struct Col {
    const char16_t* title;
    const char* name;
    double x, w;
    ReportAlign a;
};

// A list report of grid rows on the base form: the condition band holds the
// bank, the master account and the transfer dates; the summary one count
// and one amount.
ReportDocument build(const QString& title, const FileView& v, const QList<QStringList>& rows,
                     const QList<Col>& cols, const QString& cntCaption, const QString& cnt,
                     const QString& amtCaption, const QString& amt) {
    TFrmStdListV form;
    Report& r = form.QuickRep1;
    form.setTitle(title);
    const ReportFont plain{QStringLiteral("굴림"), 9};
    const ReportFont bold{QStringLiteral("굴림"), 9, true};

    form.QRLabel5->enabled = false;
    ReportBand* cond = form.ChildBand1;
    cond->height = 17;
    if (ReportElement* line = cond->find(QStringLiteral("QRShape1"))) line->box = QRectF(0, 16.5, 200, 0);
    const struct {
        const char16_t* caption;
        const char* name;
        QString value;
    } lines[] = {{u"은         행:", "QRLblBank", v.bankNm},
                 {u"모계좌번호:", "QRLblSchAcctNo", v.masterAcct},
                 {u"이 체 일 자:", "QRLblMvAccDt", v.startDate + QStringLiteral(" ~ ") + v.endDate}};
    for (int i = 0; i < 3; ++i) {
        cond->addLabel(QStringLiteral("c%1").arg(i), {3, 1 + 5.0 * i, 25, 4.5},
                       QString::fromUtf16(lines[i].caption), plain);
        cond->addLabel(QString::fromLatin1(lines[i].name), {28, 1 + 5.0 * i, 100, 4.5}, lines[i].value,
                       plain);
    }

    QStringList fields;
    for (const Col& c : cols) {
        form.QRBand3->addLabel(QStringLiteral("h") + QString::fromLatin1(c.name), {c.x, 0.5, c.w, 5},
                               QString::fromUtf16(c.title), bold, c.a);
        form.QRBand2->addField(QString::fromLatin1(c.name), {c.x, 0.5, c.w, 4.5}, QString::fromLatin1(c.name),
                               plain, c.a);
        fields << QString::fromLatin1(c.name);
    }
    ReportRows data;
    data.columns = fields;
    for (const QStringList& row : rows) {
        QStringList cells;
        for (int i = 0; i < cols.size(); ++i)
            cells << row.value(i).trimmed();
        data.rows << cells;
    }
    r.setRows(data);

    ReportBand* sum = form.QRBand4;
    sum->addLine({0, 0.5, 200, 0});
    sum->addLabel(QStringLiteral("cCnt"), {60, 1.5, 25, 4.5}, cntCaption, plain);
    sum->addLabel(QStringLiteral("QRLblCnt"), {85, 1.5, 25, 4.5}, cnt, plain, ReportAlign::Right);
    sum->addLabel(QStringLiteral("cAmt"), {120, 1.5, 25, 4.5}, amtCaption, plain);
    sum->addLabel(QStringLiteral("QRLblAmt"), {145, 1.5, 35, 4.5}, amt, plain, ReportAlign::Right);
    return r.layout();
}

const QList<Col> kCols6 = {
    {u"학번", "SNo", 0, 22, ReportAlign::Left},        {u"성명", "Nm", 22, 28, ReportAlign::Left},
    {u"은행", "BankNm", 50, 28, ReportAlign::Left},    {u"계좌번호", "AcctNo", 78, 38, ReportAlign::Left},
    {u"항목명", "ItemNm", 116, 34, ReportAlign::Left}, {u"금액", "Amt", 150, 30, ReportAlign::Right}};

} // namespace

ReportDocument sent(const FileView& v) {
    return build(QStringLiteral("송신이체자료"), v, v.rows, kCols6, QStringLiteral("총건수:"), v.totCnt,
                 QStringLiteral("총금액:"), v.totAmt);
}

ReportDocument processed(const FileView& v) {
    return build(QStringLiteral("처리데이터"), v, v.rows, kCols6, QStringLiteral("처리건수:"), v.procCnt,
                 QStringLiteral("처리금액:"), v.procAmt);
}

ReportDocument unprocessed(const FileView& v) {
    // The reason sits between the item and the amount.
    const QList<Col> cols = {{u"학번", "SNo", 0, 18, ReportAlign::Left},
                             {u"성명", "Nm", 18, 22, ReportAlign::Left},
                             {u"은행", "BankNm", 40, 22, ReportAlign::Left},
                             {u"계좌번호", "AcctNo", 62, 34, ReportAlign::Left},
                             {u"항목명", "ItemNm", 96, 26, ReportAlign::Left},
                             {u"불능사유", "NonProc", 122, 48, ReportAlign::Left},
                             {u"미처리금액", "Amt", 170, 30, ReportAlign::Right}};
    QList<QStringList> rows;
    for (const QStringList& r : v.failRows)
        rows << QStringList{r.value(0), r.value(1), r.value(2), r.value(3),
                            r.value(4), r.value(6), r.value(5)};
    return build(QStringLiteral("미처리데이터"), v, rows, cols, QStringLiteral("미처리건수:"), v.nonProcCnt,
                 QStringLiteral("미처리금액:"), v.nonProcAmt);
}

} // namespace InquiryPrint
