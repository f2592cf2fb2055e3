#include "transfers/distribution/DistribPrint.h"

#include "data/DMMain.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/Modal.h"
#include "platform/ui/Msg.h"
#include "shared/F201B03.h"
#include "transfers/common/CollectionListing.h"

#include <QLocale>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRadioButton>
#include <algorithm>

#include <optional>

namespace DistribPrint {

namespace {

QString figure(qint64 v) {
    return QLocale(QLocale::English).toString(v);
}

qint64 num(const QString& v) {
    bool ok = false;
    const qint64 n = QString(v).remove(QLatin1Char(',')).trimmed().toLongLong(&ok);
    return ok ? n : 0;
}

// A title stands as its column's values do: left, right or centred.
struct Col {
    const char16_t* title;
    const char* key;
    double width;
    ReportAlign align;
    double lead = 0; // blank before the column, mm
};

// The item names follow right-aligned amounts: a lead keeps "200,000" and
// "장학금" apart.
const Col kCols[] = {
    {u"학번", "SNo", 18, ReportAlign::Left},      {u"성명", "Nm", 22, ReportAlign::Left},
    {u"은행", "Bank", 24, ReportAlign::Left},     {u"계좌번호", "Acct", 34, ReportAlign::Left},
    {u"금액", "Amt", 24, ReportAlign::Right},     {u"항목", "Item", 28, ReportAlign::Left, 3},
    {u"면제", "Exemp", 10, ReportAlign::Center},  {u"이체", "Reply", 18, ReportAlign::Center},
    {u"이체일", "Date", 22, ReportAlign::Center},
};

// Four titled figures in one line.
void addFigures(ReportBand* band, const QString& prefix, const QStringList& titles, double width) {
    const double cell = width / 4;
    for (int i = 0; i < 4; ++i) {
        band->addLabel(QStringLiteral("%1Title%2").arg(prefix).arg(i), {i * cell + 1, 1.5, cell * 0.5, 4.6},
                       titles[i]);
        band->addLabel(QStringLiteral("%1%2").arg(prefix).arg(i),
                       {i * cell + cell * 0.5, 1.5, cell * 0.5 - 2, 4.6}, QString(), {}, ReportAlign::Right);
    }
}

// The two lists share their columns; the list by class adds the class line,
// a page and a footer per class.
class TDistribList : public TFrmStdListV {
public:
    TDistribList(bool byClass, const ReportRows& rows, const Totals& t) {
        setTitle(QStringLiteral("배분이체내역조회"));
        QuickRep1.title = byClass ? QStringLiteral("배분이체내역조회") : QStringLiteral("인쇄");
        ChildBand1->enabled = false;
        const double w = bandWidth();
        Report& rep = QuickRep1;

        double top = 0;
        if (byClass) {
            top = 6.1;
            QRBand3->height = top + 6.1;
            ReportElement* cls = &QRBand3->addLabel(QStringLiteral("QRExpr1"), {1, 1.0, 100, 4.6});
            QRBand3->addLine({0, top, w, 0});
            QRBand3->find(QStringLiteral("QRShape2"))->box.moveTop(top + 6.1);
            QRBand3->beforePrint = [cls, &rep](ReportBand&) {
                const QString s = rep.value(QStringLiteral("SNo"));
                cls->text = s.left(1) + QStringLiteral(" 학년 ") + s.mid(1, 2) + QStringLiteral(" 반");
            };
        }
        double x = 0;
        for (const Col& c : kCols) {
            const QString key = QLatin1String(c.key);
            const double left = x + 0.5 + c.lead, width = c.width - 1 - c.lead;
            QRBand3->addLabel(QStringLiteral("QRLblHead") + key, {left, top + 1.0, width, 4.6},
                              QString::fromUtf16(c.title), {}, c.align);
            QRBand2->addLabel(QStringLiteral("fxt") + key, {left, 1.0, width, 4.6}, {}, {}, c.align);
            x += c.width;
        }

        QRBand2->beforePrint = [this, &rep, byClass](ReportBand& b) {
            const auto v = [&rep](const char* c) { return rep.value(QLatin1String(c)); };
            b.setText(QStringLiteral("fxtSNo"), v("SNo"));
            b.setText(QStringLiteral("fxtNm"), v("Nm"));
            b.setText(QStringLiteral("fxtBank"), DMData ? DMData->GetBankName(v("BankCd")) : v("BankCd"));
            b.setText(QStringLiteral("fxtAcct"), v("AcctNo"));
            b.setText(QStringLiteral("fxtAmt"), figure(num(v("Amt"))));
            b.setText(QStringLiteral("fxtItem"), DMData ? DMData->GetItemName(v("ItemCd")) : v("ItemCd"));
            b.setText(QStringLiteral("fxtExemp"), exempText(v("ExempTy")));
            b.setText(QStringLiteral("fxtReply"), replyText(v("ReplyTy")));
            b.setText(QStringLiteral("fxtDate"), v("ProcDt"));
            if (!byClass) return;
            const qint64 amt = num(v("Amt"));
            if (v("ReplyTy") == QLatin1String("0")) {
                ++FFig[2];
                FFig[3] += amt;
            } else {
                ++FFig[0];
                FFig[1] += amt;
            }
        };

        const QStringList titles{QStringLiteral("처리건수:"), QStringLiteral("처리금액:"),
                                 QStringLiteral("미처리건수:"), QStringLiteral("미처리금액:")};
        if (byClass) {
            Report::Group& g =
                rep.addGroup([&rep] { return rep.value(QStringLiteral("SNo")).left(3); }, 0, 8, true);
            g.footer->addLine({0, 0.5, w, 0});
            addFigures(g.footer, QStringLiteral("QRLblFig"), titles, w);
            g.footer->beforePrint = [this](ReportBand& b) {
                for (int i = 0; i < 4; ++i)
                    b.setText(QStringLiteral("QRLblFig%1").arg(i), figure(FFig[i]));
                std::fill(std::begin(FFig), std::end(FFig), 0);
            };
        }
        QRBand4->height = 8;
        QRBand4->addLine({0, 0.5, w, 0});
        QStringList sumTitles;
        for (const QString& s : titles)
            sumTitles << (byClass ? QStringLiteral("총") + s : s);
        addFigures(QRBand4, QStringLiteral("QRLblTot"), sumTitles, w);
        const QString panels[4] = {t.procCnt, t.procAmt, t.nonProcCnt, t.nonProcAmt};
        for (int i = 0; i < 4; ++i)
            QRBand4->setText(QStringLiteral("QRLblTot%1").arg(i), panels[i].trimmed());
        rep.setRows(rows);
    }

    // The class's processed and unprocessed counts and amounts.
    qint64 FFig[4] = {};
};

const QStringList kColumns{QStringLiteral("SNo"),     QStringLiteral("Nm"),      QStringLiteral("ItemCd"),
                           QStringLiteral("BankCd"),  QStringLiteral("AcctNo"),  QStringLiteral("Amt"),
                           QStringLiteral("ExempTy"), QStringLiteral("ReplyTy"), QStringLiteral("ProcDt")};

} // namespace

Totals totals(const DistribList::Listing& l) {
    return {CollectionList::panelText(l.procCnt), CollectionList::panelText(l.procAmt),
            CollectionList::panelText(l.nonProcCnt), CollectionList::panelText(l.nonProcAmt)};
}

ReportRows rows(const QList<DistribList::Row>& listed) {
    ReportRows out;
    out.columns = kColumns;
    for (const DistribList::Row& r : listed)
        out.rows << QStringList{r.SNo,     r.Nm,      r.ItemCd, r.BankCd, r.AcctNo, QString::number(r.Amt),
                                r.ExempTy, r.ReplyTy, r.ProcDt};
    return out;
}

QString exempText(const QString& exempTy) {
    if (exempTy == QLatin1String("0")) return QStringLiteral("O");
    if (exempTy == QLatin1String("1")) return QStringLiteral("X");
    return exempTy;
}

QString replyText(const QString& replyTy) {
    if (replyTy == QLatin1String("0")) return QStringLiteral("미처리");
    if (replyTy == QLatin1String("1")) return QStringLiteral("처리");
    if (replyTy == QLatin1String("2")) return QStringLiteral("현금수납");
    return replyTy;
}

std::unique_ptr<TFrmStdListV> makeList(bool byClass, const ReportRows& rows, const Totals& t) {
    return std::make_unique<TDistribList>(byClass, rows, t);
}

Request requestFrom(const QObject* w) {
    Request r;
    if (!w) return r;
    const auto s = [w](const char* name) { return w->property(name).toString(); };
    r.round = {s("groupText"), s("yearMon"), s("seqNo")};
    r.selection.bankCd = s("bankCd").isEmpty() ? QStringLiteral("00") : s("bankCd");
    r.selection.itemCds = w->property("itemCds").toStringList();
    r.selection.snoPrefix = s("snoPrefix");
    r.selection.procDt = s("procDt");
    r.selection.procIdx = w->property("procIdx").toInt();
    const QStringList p = w->property("panelTotals").toStringList();
    r.panels = {p.value(0), p.value(1), p.value(2), p.value(3)};
    return r;
}

namespace {

// The listing again; an error is shown, an empty one gives no rows.
std::optional<ReportRows> listed(const Request& r, QWidget* parent) {
    const DistribList::Listing l = DistribList::list(r.round, r.selection);
    if (!l.error.isEmpty()) {
        Msg::error(QStringLiteral("오류"), l.error, parent);
        return std::nullopt;
    }
    if (l.rows.isEmpty()) return std::nullopt;
    return rows(l.rows);
}

} // namespace

QDialog* makePreview(const Request& r, bool byClass, QWidget* parent) {
    const std::optional<ReportRows> data = listed(r, parent);
    if (!data) return nullptr;
    auto doc = std::make_shared<ReportDocument>(makeList(byClass, *data, r.panels)->layout());
    auto* dlg = new QPrintPreviewDialog(parent);
    QPrinter* printer = dlg->printer();
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setPageOrientation(doc->setup.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer->setFullPage(true);
    printer->setDocName(doc->title);
    dlg->setWindowTitle(doc->title);
    // Fits a 1366x768 screen with the task bar.
    dlg->resize(1200, 700);
    QObject::connect(dlg, &QPrintPreviewDialog::paintRequested, dlg, [doc](QPrinter* p) { doc->print(p); });
    return dlg;
}

void printListing(const Request& r, QWidget* parent) {
    TFrmF201B03 type(parent);
    if (Modal::exec(&type) != 1) return;
    const bool byClass = !type.rdobtn1->isChecked();
    const std::optional<ReportRows> data = listed(r, parent);
    if (!data) return;
    makeList(byClass, *data, r.panels)->PreviewModal(parent);
}

} // namespace DistribPrint

namespace {

const FormRegistrar byClass(FormEntry{QStringLiteral("M102P00"), QStringLiteral("배분이체내역조회"),
                                      FormEntry::Mode::Dialog, [](QWidget* parent) -> QWidget* {
                                          return DistribPrint::makePreview(DistribPrint::requestFrom(parent),
                                                                           true, parent);
                                      }});
const FormRegistrar flat(FormEntry{QStringLiteral("M102P01"), QStringLiteral("인쇄"), FormEntry::Mode::Dialog,
                                   [](QWidget* parent) -> QWidget* {
                                       return DistribPrint::makePreview(DistribPrint::requestFrom(parent),
                                                                        false, parent);
                                   }});

} // namespace
