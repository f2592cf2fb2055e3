#include "reports/Refunds.h"

#include "data/DMMain.h"
#include "platform/report/Report.h"
#include "shared/StdListV.h"
#include "transfers/common/Rounds.h"

namespace Refunds {

namespace {

QString bankName(const QString& code) {
    if (code == QLatin1String("99")) return QStringLiteral("은행없음");
    return DMData ? DMData->GetBankName(code) : code;
}

QString replyText(const RoundRow& r) {
    if (r.replyTy == QLatin1String("0")) return QStringLiteral("미처리");
    if (r.replyTy == QLatin1String("1")) return QStringLiteral("처리");
    if (r.replyTy == QLatin1String("2")) return QStringLiteral("현금수납");
    if (r.replyTy == QLatin1String("3")) return refundKind(r);
    return r.replyTy;
}

QString exempText(const QString& e, bool printed) {
    if (e == QLatin1String("0")) return printed ? QStringLiteral("O") : QStringLiteral("◎");
    if (e == QLatin1String("1")) return printed ? QStringLiteral("X") : QStringLiteral("Ｘ");
    return printed ? e : QString();
}

const ReportFont kPlain{QStringLiteral("굴림"), 9};
const ReportFont kBold{QStringLiteral("굴림"), 9, true};

struct Col {
    const char* title;
    double x, w;
    ReportAlign a;
};
const Col kCols[] = {{"학번", 0, 13, ReportAlign::Left},       {"성명", 13, 17, ReportAlign::Left},
                     {"항목", 30, 18, ReportAlign::Left},      {"은행", 48, 18, ReportAlign::Left},
                     {"계좌번호", 66, 25, ReportAlign::Left},  {"금액", 91, 19, ReportAlign::Right},
                     {"면제", 110, 8, ReportAlign::Center},    {"이체", 118, 15, ReportAlign::Center},
                     {"이체일", 133, 20, ReportAlign::Center}, {"환불금액", 153, 27, ReportAlign::Right},
                     {"환불일", 180, 20, ReportAlign::Center}};

// The printed columns, in the order of kCols.
QStringList printFields() {
    return {QStringLiteral("SNo"),   QStringLiteral("Nm"),     QStringLiteral("Item"),
            QStringLiteral("Bank"),  QStringLiteral("AcctNo"), QStringLiteral("Amt"),
            QStringLiteral("Exemp"), QStringLiteral("Reply"),  QStringLiteral("ProcDt"),
            QStringLiteral("REAmt"), QStringLiteral("ReDt")};
}

// The column heads, under the grade of the page's first row.
void addColumnHeads(TFrmStdListV& form) {
    Report* r = &form.QuickRep1;
    ReportBand* colHead = form.QRBand3;
    colHead->height = 12;
    if (ReportElement* line = colHead->find(QStringLiteral("QRShape2"))) line->box = QRectF(0, 11.5, 200, 0);
    colHead->addLabel(QStringLiteral("QRExpr1"), {0, 0, 40, 5}, QString(), kBold);
    for (int i = 0; i < 11; ++i)
        colHead->addLabel(QStringLiteral("h%1").arg(i), {kCols[i].x, 6, kCols[i].w, 5},
                          QString::fromUtf8(kCols[i].title), kBold, kCols[i].a);
    colHead->beforePrint = [r](ReportBand& b) {
        b.setText(QStringLiteral("QRExpr1"),
                  r->value(QStringLiteral("SNo")).left(1) + QStringLiteral(" 학년 "));
    };
}

// The printed rows: the columns of printFields, then whether a row counts
// in the figures, whether it was wholly refunded and its refund as a number.
ReportRows printData(const QList<RoundRow>& rows, const QString& gcode) {
    ReportRows data;
    data.columns = printFields();
    data.columns << QStringLiteral("Count") << QStringLiteral("Full") << QStringLiteral("REAmtRaw");
    for (const RoundRow& x : rows) {
        const bool counted = x.exempTy == QLatin1String("1") && x.replyTy == QLatin1String("3");
        data.rows << QStringList{x.sNo,
                                 x.nm,
                                 DMData ? DMData->GetGItemName(x.itemCd, gcode) : x.itemCd,
                                 DMData ? DMData->GetBankName(x.bankCd) : x.bankCd,
                                 x.acctNo,
                                 ReportSelect::amount(x.amt, 12) + QLatin1Char(' '),
                                 exempText(x.exempTy, true),
                                 replyText(x),
                                 ReportSelect::dateText(x.procDt),
                                 ReportSelect::amount(x.reAmt, 12) + QLatin1Char(' '),
                                 ReportSelect::dateText(x.reDt),
                                 counted ? QStringLiteral("1") : QStringLiteral("0"),
                                 x.reAmt == x.amt ? QStringLiteral("1") : QStringLiteral("0"),
                                 QString::number(x.reAmt)};
    }
    return data;
}

struct Figures {
    qint64 fullCnt = 0, fullAmt = 0, partCnt = 0, partAmt = 0;
};

// The four figures' captions and value labels (prefix + "v1" ... "v4").
void addFigureLabels(ReportBand* b, const QString& prefix) {
    b->addLine({0, 0.5, 200, 0});
    b->addLabel(prefix + QStringLiteral("c1"), {17, 2, 25, 4.5}, QStringLiteral("전액환불건수:"), kPlain);
    b->addLabel(prefix + QStringLiteral("v1"), {42, 2, 25, 4.5}, {}, kPlain, ReportAlign::Right);
    b->addLabel(prefix + QStringLiteral("c2"), {72, 2, 25, 4.5}, QStringLiteral("전액환불금액:"), kPlain);
    b->addLabel(prefix + QStringLiteral("v2"), {97, 2, 30, 4.5}, {}, kPlain, ReportAlign::Right);
    b->addLabel(prefix + QStringLiteral("c3"), {17, 7, 25, 4.5}, QStringLiteral("부분환불건수:"), kPlain);
    b->addLabel(prefix + QStringLiteral("v3"), {42, 7, 25, 4.5}, {}, kPlain, ReportAlign::Right);
    b->addLabel(prefix + QStringLiteral("c4"), {72, 7, 25, 4.5}, QStringLiteral("부분환불금액:"), kPlain);
    b->addLabel(prefix + QStringLiteral("v4"), {97, 7, 30, 4.5}, {}, kPlain, ReportAlign::Right);
}

// Full and partial refunds counted per printed row, shown and reset by the
// grade footer, and for the whole list in the summary.
void addRefundFigures(TFrmStdListV& form) {
    Report* r = &form.QuickRep1;
    auto grade = std::make_shared<Figures>();
    auto total = std::make_shared<Figures>();
    form.QRBand2->beforePrint = [r, grade](ReportBand&) {
        if (r->value(QStringLiteral("Count")) != QLatin1String("1")) return;
        const qint64 amt = r->value(QStringLiteral("REAmtRaw")).toLongLong();
        if (r->value(QStringLiteral("Full")) == QLatin1String("1")) {
            ++grade->fullCnt;
            grade->fullAmt += amt;
        } else {
            ++grade->partCnt;
            grade->partAmt += amt;
        }
    };
    Report::Group& g = r->addGroup([r] { return r->value(QStringLiteral("SNo")).left(1); }, 0, 12, true);
    addFigureLabels(g.footer, QStringLiteral("g"));
    g.footer->beforePrint = [grade, total](ReportBand& b) {
        b.setText(QStringLiteral("gv1"), ReportSelect::amount(grade->fullCnt, 0));
        b.setText(QStringLiteral("gv2"), ReportSelect::amount(grade->fullAmt, 0));
        b.setText(QStringLiteral("gv3"), ReportSelect::amount(grade->partCnt, 0));
        b.setText(QStringLiteral("gv4"), ReportSelect::amount(grade->partAmt, 0));
        total->fullCnt += grade->fullCnt;
        total->fullAmt += grade->fullAmt;
        total->partCnt += grade->partCnt;
        total->partAmt += grade->partAmt;
        *grade = Figures{};
    };
    ReportBand* sum = form.QRBand4;
    sum->height = 13;
    addFigureLabels(sum, QStringLiteral("s"));
    sum->addLabel(QStringLiteral("stitle"), {0, 2, 17, 4.5}, QStringLiteral("전체합계"), kBold);
    sum->beforePrint = [total](ReportBand& b) {
        b.setText(QStringLiteral("sv1"), ReportSelect::amount(total->fullCnt, 12) + QLatin1Char(' '));
        b.setText(QStringLiteral("sv2"), ReportSelect::amount(total->fullAmt, 12) + QLatin1Char(' '));
        b.setText(QStringLiteral("sv3"), ReportSelect::amount(total->partCnt, 12) + QLatin1Char(' '));
        b.setText(QStringLiteral("sv4"), ReportSelect::amount(total->partAmt, 12) + QLatin1Char(' '));
    };
}

} // namespace

QString refundKind(const RoundRow& r) {
    return r.reAmt == r.amt ? QStringLiteral("전액환불") : QStringLiteral("부분환불");
}

QStringList columns() {
    return {QStringLiteral("학번"),     QStringLiteral("성명"),     QStringLiteral("항목"),
            QStringLiteral("은행"),     QStringLiteral("계좌번호"), QStringLiteral("금액"),
            QStringLiteral("면제"),     QStringLiteral("이체"),     QStringLiteral("이체일자"),
            QStringLiteral("환불일자"), QStringLiteral("환불금액")};
}

ReportListing list(const ReportSelection& s) {
    ReportListing l;
    l.gcode = s.gcode;
    l.columns = columns();
    if ((l.box = ReportSelect::checkStudents(s))) return l;
    const QString table = Rounds::tableName(s.ym1, s.seq1);
    if (table.isEmpty() || !Database::tableExists(table)) {
        l.box = ReportSelect::noData();
        return l;
    }
    ReportWhere w;
    w.sql = QStringLiteral("WHERE ReplyTy = '3'");
    const QString item = s.get(QStringLiteral("item")).left(2).trimmed();
    if (!item.isEmpty()) w.add(QStringLiteral("and ItemCd = ?"), {item});
    ReportSelect::addStudents(w, s);
    const QString d1 = s.get(QStringLiteral("redt")).trimmed(), d2 = s.get(QStringLiteral("redt2")).trimmed();
    if (!d1.isEmpty()) w.add(QStringLiteral("and ReDt >= ?"), {d1});
    if (!d2.isEmpty()) w.add(QStringLiteral("and ReDt <= ?"), {d2});
    w.add(QStringLiteral("ORDER BY SNo, ItemCd"));
    QString error;
    if (!ReportSelect::readRows({table}, w, &l.source, &error)) {
        l.box = ReportBox{QStringLiteral("오류"), error, MsgIcon::Error};
        return l;
    }
    for (const RoundRow& r : l.source) {
        l.rows << QStringList{r.sNo,
                              r.nm,
                              DMData ? DMData->GetGItemName(r.itemCd, s.gcode) : r.itemCd,
                              bankName(r.bankCd),
                              r.acctNo,
                              ReportSelect::amount(r.amt, 15),
                              exempText(r.exempTy, false),
                              replyText(r),
                              ReportSelect::dateText(r.procDt),
                              ReportSelect::dateText(r.reDt),
                              ReportSelect::amount(r.reAmt, 15)};
        ++l.count;
        l.total += r.reAmt;
    }
    return l;
}

ReportDocument printRows(const QList<RoundRow>& rows, const QString& gcode) {
    // TFrmP401P00: the base list report without its condition line.
    TFrmStdListV form;
    Report& r = form.QuickRep1;
    form.setTitle(QStringLiteral("환불처리내역조회"));
    form.ChildBand1->enabled = false;
    addColumnHeads(form);
    const QStringList fields = printFields();
    for (int i = 0; i < 11; ++i)
        form.QRBand2->addField(QStringLiteral("QRDBText%1").arg(i + 1), {kCols[i].x, 0.5, kCols[i].w, 4.5},
                               fields.at(i), kPlain, kCols[i].a);
    r.setRows(printData(rows, gcode));
    addRefundFigures(form);
    return r.layout();
}

std::optional<ReportBox> print(const ReportSelection& s, ReportDocument* doc) {
    const ReportListing l = list(s);
    if (l.box) return l.box;
    if (l.source.isEmpty()) return ReportSelect::noData();
    *doc = printRows(l.source, s.gcode);
    return std::nullopt;
}

} // namespace Refunds
