#include "transfers/collection/CollectionPrint.h"

#include "data/DMBank.h"
#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/settings/Registry.h"
#include "transfers/collection/M101P.h"
#include "transfers/collection/P103P02.h"

#include <QDir>
#include <QImage>
#include <QLocale>

namespace CollectionPrint {

namespace {

const QStringList kColumns{"SNo",     "Nm",     "ItemCd", "BankCd", "AcctNo", "Amt",   "ExempTy", "ReplyTy",
                           "ReplyCd", "ProcDt", "CustNo", "GrpNm",  "Unpaid", "REAmt", "ReDt"};

QString dashed(const QString& d) {
    return d.left(4) + QLatin1Char('-') + d.mid(4, 2) + QLatin1Char('-') + d.mid(6, 2);
}

// A number that does not read as one counts as 0: a stray cell never stops
// a print.
qint64 num(const QString& v) {
    QString t = v;
    t.remove(QLatin1Char(',')).remove(QLatin1Char(' '));
    bool ok = false;
    const qint64 n = t.toLongLong(&ok);
    return ok ? n : 0;
}

ReportFont font(double size, bool bold = false, const QString& family = QStringLiteral("굴림")) {
    ReportFont f;
    f.family = family;
    f.size = size;
    f.bold = bold;
    return f;
}

} // namespace

ReportRows listRows(const QString& listSql, const QVariantList& binds, QString* error) {
    ReportRows out;
    out.columns = kColumns;
    Query q(listSql);
    for (const QVariant& b : binds)
        q.add(b);
    if (!q.exec()) {
        if (error) *error = q.error();
        return out;
    }
    // The listing's select list starts with these fifteen, in this order
    // (GrpNm, Unpaid, REAmt, ReDt at 11 to 14).
    while (q.next()) {
        QStringList row;
        for (int i = 0; i < kColumns.size(); ++i)
            row << q.str(i);
        out.rows << row;
    }
    return out;
}

QString transferDate(const QString& replyCd, const QString& procDt, const QString& bankCd) {
    if (replyCd.isEmpty()) return procDt.size() == 8 ? dashed(procDt) : QString();
    bool isNum = false;
    const qint64 v = replyCd.toLongLong(&isNum);
    if (!isNum) return replyCd;
    if (v != 0) return DMBankLib ? DMBankLib->GetReplyText(bankCd, replyCd) : replyCd;
    return procDt.size() == 8 ? dashed(procDt) : procDt;
}

QString listAccount(const QString& acctNo) {
    return acctNo.left(9) + QStringLiteral("XXXXX");
}

QString amountText(const QString& value) {
    if (value.trimmed().isEmpty()) return {};
    return QStringLiteral("%1 ").arg(QLocale(QLocale::English).toString(num(value)), 12);
}

bool receiptAllowed(const QString& amountText, const QString& replyTy) {
    return amountText.trimmed() != QLatin1String("0") && replyTy != QLatin1String("0") &&
           replyTy != QLatin1String("3");
}

QString receiptAccount(const QString& acctNo) {
    if (acctNo.size() <= 4) return QStringLiteral("XXXX");
    return acctNo.left(acctNo.size() - 4) + QStringLiteral("XXXX");
}

std::unique_ptr<TFrmStdListV> makeList(const ListOptions& o, const ReportRows& rows) {
    if (o.portrait) {
        static const int codes[] = {11, 101, 110, 1001, 1010, 1100};
        if (std::find(std::begin(codes), std::end(codes), o.fieldSelCode) == std::end(codes)) return nullptr;
        if (o.whole) return std::make_unique<TFrmM101P11>(o, rows);
        return std::make_unique<TFrmM101P10>(o, rows);
    }
    if (o.whole) return std::make_unique<TFrmM101P01>(o, rows);
    return std::make_unique<TFrmM101P00>(o, rows);
}

std::unique_ptr<TFrmStdListV> makeReceipt(const Receipt& r, bool twoCopies) {
    if (twoCopies) {
        auto f = std::make_unique<TFrmP103P02>(2);
        f->fill(1, r);
        f->fill(2, r);
        return f;
    }
    auto f = std::make_unique<TFrmP103P02_0>();
    f->fill(1, r);
    return f;
}

} // namespace CollectionPrint

// ---- the lists

using CollectionPrint::font;
using CollectionPrint::num;

namespace {

struct Col {
    QString title, key;
    double width;
    ReportAlign align = ReportAlign::Left;
};

// The optional columns of a portrait list by field code.
std::pair<Col, Col> optionalColumns(int code) {
    const Col grp{QStringLiteral("그룹"), QStringLiteral("GrpNm"), 19, ReportAlign::Center};
    const Col unpaid{QStringLiteral("미납사유"), QStringLiteral("Unpaid"), 19, ReportAlign::Center};
    const Col redt{QStringLiteral("환불일자"), QStringLiteral("ReDt"), 19, ReportAlign::Center};
    const Col reamt{QStringLiteral("환불금액"), QStringLiteral("REAmt"), 19, ReportAlign::Center};
    switch (code) {
    case 11:
        return {grp, unpaid};
    case 101:
        return {grp, redt};
    case 110:
        return {unpaid, redt};
    case 1001:
        return {grp, reamt};
    case 1010:
        return {unpaid, reamt};
    default:
        return {redt, reamt};
    }
}

const char16_t* const kFigureTitles[10] = {u"처리건수:",     u"처리금액:",    u"미처리건수:", u"미처리금액:",
                                           u"면제건수:",     u"면제금액:",    u"환불건수:",   u"환불금액:",
                                           u"부분환불건수:", u"부분환불금액:"};

// Five pairs in two lines: counts above, amounts below.
void addFigures(ReportBand* band, const QString& prefix, const QString& titlePrefix, double top,
                double width) {
    const double cell = width / 5;
    for (int i = 0; i < 10; ++i) {
        const double x = (i / 2) * cell, y = top + (i % 2) * 5.0;
        band->addLabel(QStringLiteral("%1Title%2").arg(prefix).arg(i), {x + 1, y, cell * 0.55, 4.6},
                       titlePrefix + QString::fromUtf16(kFigureTitles[i]));
        band->addLabel(QStringLiteral("%1%2").arg(prefix).arg(i), {x + cell * 0.55, y, cell * 0.45 - 2, 4.6},
                       QString(), {}, ReportAlign::Right);
    }
}

} // namespace

TCollectionList::TCollectionList(const CollectionPrint::ListOptions& o, const ReportRows& rows,
                                 bool landscape, bool byClass, bool rightAlignReAmt) {
    setLandscape(landscape);
    setTitle(QStringLiteral("집금이체내역조회"));
    QuickRep1.title = landscape && byClass    ? QStringLiteral("M101P00")
                      : !landscape && byClass ? QStringLiteral("M101P00")
                                              : QStringLiteral("집금이체");
    ChildBand1->enabled = false;
    const double w = bandWidth();
    Report& rep = QuickRep1;

    // Heading: group and round below the title, at the left.
    double x = 0;
    const auto head = [&](const QString& name, const QString& text, double width) {
        ReportElement& e = QRBand1->addLabel(name, {x, 12.0, width, 4.6}, text);
        x += width;
        return &e;
    };
    head(QStringLiteral("QRLabel6"), QStringLiteral("항목그룹 : "), 16);
    QrGroup = head(QStringLiteral("QrGroup"), o.group, 40);
    QrYear = head(QStringLiteral("QrYear"), o.yearMon.left(4), 9);
    head(QStringLiteral("QRLabel7"), QStringLiteral("년"), 5);
    QrMon = head(QStringLiteral("QrMon"), o.yearMon.mid(4, 2), 5);
    head(QStringLiteral("QRLabel8"), QStringLiteral("월"), 5);
    QrHc = head(QStringLiteral("QrHc"), o.seqNo, 5);
    head(QStringLiteral("QRLabel9"), QStringLiteral("회차"), 10);

    QList<Col> cols;
    const ReportAlign R = ReportAlign::Right, C = ReportAlign::Center;
    if (landscape) {
        // The account column holds a masked account of 14 characters.
        cols = {{"학번", "SNo", 16},          {"성명", "Nm", 20},        {"항목", "Item", 26},
                {"은행", "Bank", 22},         {"계좌번호", "Acct", 30},  {"금액", "Amt", 24, R},
                {"면제", "Exemp", 10, C},     {"이체", "Reply", 16, C},  {"이체일", "Date", 30},
                {"환불금액", "REAmt", 24, R}, {"환불일", "ReDt", 20, C}, {"그룹", "GrpNm", 22},
                {"미납사유", "Unpaid", 26}};
    } else {
        // The account and the dates whole, the optional columns wide enough for a date.
        cols = {{"학번", "SNo", 15},     {"성명", "Nm", 18},       {"항목", "Item", 20},
                {"은행", "Bank", 17},    {"계좌번호", "Acct", 29}, {"금액", "Amt", 20, R},
                {"면제", "Exemp", 9, C}, {"이체", "Reply", 14, C}, {"이체일", "Date", 20}};
        auto [one, two] = optionalColumns(o.fieldSelCode);
        if (rightAlignReAmt && two.key == QLatin1String("REAmt")) two.align = R;
        cols << one << two;
    }

    // By class the column header carries the class above the titles.
    double top = 0;
    ReportElement* classLabel = nullptr;
    if (byClass) {
        top = 6.1;
        QRBand3->height = top + 6.1;
        classLabel = &QRBand3->addLabel(QStringLiteral("QRLblClass"), {1, 1.0, 100, 4.6});
        QRBand3->addLine({0, top, w, 0});
        QRBand3->find(QStringLiteral("QRShape2"))->box.moveTop(top + 6.1);
        QRBand3->beforePrint = [classLabel, &rep](ReportBand&) {
            const QString s = rep.value(QStringLiteral("SNo"));
            classLabel->text = s.left(1) + QStringLiteral(" 학년 ") + s.mid(1, 2) + QStringLiteral(" 반");
        };
    }
    x = 0;
    int n = 0;
    for (const Col& c : cols) {
        ReportElement& t =
            QRBand3->addLabel(QStringLiteral("QRLblHead") + c.key, {x + 0.5, top + 1.0, c.width - 1, 4.6},
                              c.title, {}, ReportAlign::Center);
        QRBand2->addLabel(QStringLiteral("fxt") + c.key, {x + 0.5, 1.0, c.width - 1, 4.6}, {}, {}, c.align);
        if (!landscape && n == int(cols.size()) - 2) pxtOne = &t;
        if (!landscape && n == int(cols.size()) - 1) pxtTwo = &t;
        x += c.width;
        ++n;
    }
    if (pxtOne) pxtOne->name = QStringLiteral("pxtOne");
    if (pxtTwo) pxtTwo->name = QStringLiteral("pxtTwo");

    const QString gcode = o.gcode;
    const bool threeExempMarks = rightAlignReAmt; // TFrmM101P11 marks a partly exempt row too
    QRBand2->beforePrint = [this, &rep, gcode, threeExempMarks, byClass](ReportBand& b) {
        const auto v = [&rep](const char* c) { return rep.value(QLatin1String(c)); };
        b.setText(QStringLiteral("fxtSNo"), v("SNo"));
        b.setText(QStringLiteral("fxtNm"), v("Nm"));
        b.setText(QStringLiteral("fxtItem"), DMData ? DMData->GetGItemName(v("ItemCd"), gcode) : v("ItemCd"));
        b.setText(QStringLiteral("fxtBank"), DMData ? DMData->GetBankName(v("BankCd")) : v("BankCd"));
        b.setText(QStringLiteral("fxtAcct"), CollectionPrint::listAccount(v("AcctNo")));
        b.setText(QStringLiteral("fxtAmt"), CollectionPrint::amountText(v("Amt")));
        const QString ex = v("ExempTy");
        b.setText(QStringLiteral("fxtExemp"), ex == QLatin1String("0")   ? QStringLiteral("O")
                                              : ex == QLatin1String("1") ? QStringLiteral("X")
                                              : threeExempMarks && ex == QLatin1String("2")
                                                  ? QStringLiteral("△")
                                                  : ex);
        const QString rt = v("ReplyTy");
        static const QStringList replies{QStringLiteral("미처리"), QStringLiteral("처리"),
                                         QStringLiteral("현금수납"), QStringLiteral("환불처리")};
        const int ri = rt.size() == 1 ? rt.at(0).unicode() - u'0' : -1;
        b.setText(QStringLiteral("fxtReply"), ri >= 0 && ri < 4 ? replies[ri] : rt);
        b.setText(QStringLiteral("fxtDate"),
                  CollectionPrint::transferDate(v("ReplyCd"), v("ProcDt"), v("BankCd")));
        b.setText(QStringLiteral("fxtREAmt"), CollectionPrint::amountText(v("REAmt")));
        const QString redt = v("ReDt");
        b.setText(QStringLiteral("fxtReDt"),
                  redt.isEmpty() ? QString()
                                 : QStringLiteral("%1").arg(redt.left(4) + QLatin1Char('-') + redt.mid(4, 2) +
                                                            QLatin1Char('-') + redt.mid(6, 2)));
        b.setText(QStringLiteral("fxtGrpNm"), v("GrpNm"));
        b.setText(QStringLiteral("fxtUnpaid"), v("Unpaid"));
        if (!byClass) return;
        // The class figures.
        const qint64 amt = num(v("Amt")), re = num(v("REAmt"));
        if (ex == QLatin1String("0")) {
            ++FFig[4];
            FFig[5] += amt;
        } else if (ex == QLatin1String("1")) {
            if (rt == QLatin1String("0")) {
                ++FFig[2];
                FFig[3] += amt;
            } else if (rt == QLatin1String("3") && re == amt) {
                ++FFig[6];
                FFig[7] += re;
            } else if (rt == QLatin1String("3")) {
                ++FFig[8];
                FFig[9] += re;
                ++FFig[0];
                FFig[1] += amt - re;
            } else {
                ++FFig[0];
                FFig[1] += amt;
            }
        }
    };

    if (byClass) {
        Report::Group& g =
            rep.addGroup([&rep] { return rep.value(QStringLiteral("SNo")).left(3); }, 0, 12, true);
        QRGroupFooter = g.footer;
        QRGroupFooter->addLine({0, 0.5, w, 0});
        addFigures(QRGroupFooter, QStringLiteral("QRLblFig"), QString(), 1.5, w);
        QRGroupFooter->beforePrint = [this](ReportBand& b) {
            const QLocale loc(QLocale::English);
            for (int i = 0; i < 10; ++i)
                b.setText(QStringLiteral("QRLblFig%1").arg(i), loc.toString(FFig[i]));
            std::fill(std::begin(FFig), std::end(FFig), 0);
        };
    }
    QRBand4->height = 12;
    QRBand4->addLine({0, 0.5, w, 0});
    addFigures(QRBand4, QStringLiteral("QRLblTot"), byClass ? QStringLiteral("총") : QString(), 1.5, w);
    for (int i = 0; i < 10; ++i)
        QRBand4->setText(QStringLiteral("QRLblTot%1").arg(i), o.totals.value(i).trimmed());
    rep.setRows(rows);
}

// ---- the receipts

namespace {

QString suffix(int copy, int n) {
    return QString::number(copy == 1 ? n : 10 + n);
}

} // namespace

TFrmP103P02::TFrmP103P02(int copies) {
    setTitle(QStringLiteral("인쇄"));
    for (ReportBand* b : {QRBand1, ChildBand1, QRBand3, QRBand4})
        b->enabled = false;
    QRBand2->height = 190;
    // The school's name from the registry; the seal from the data root.
    sSchoolName = Registry::readString(QStringLiteral("SchoolInfo"), QStringLiteral("SchNm"));
    QImage seal;
    if (DMLib) seal.load(QDir(DMLib->FDataDir).filePath(QStringLiteral("schoolseal.bmp")));

    ReportBand* d = QRBand2;
    for (int copy = 1; copy <= copies; ++copy) {
        const double x = copy == 1 ? 0 : 102;
        const double w = 96;
        const auto s = [copy](int n) { return suffix(copy, n); };
        d->addFrame({x, 0, w, 186}, 0.3);
        d->addLabel(QStringLiteral("QRLblTitle") + s(1), {x, 5, w, 9}, QStringLiteral("영       수       증"),
                    font(16, true, QStringLiteral("굴림체")), ReportAlign::Center);
        d->addLabel(QStringLiteral("BoKwanLabel") + s(1), {x, 15, w, 5}, QString(), {}, ReportAlign::Center);
        const struct {
            const char16_t* caption;
            QString name;
            double y;
        } fields[] = {{u"제     호", QStringLiteral("QRLblHo") + s(1), 23},
                      {u"항     목", QStringLiteral("QRLblTotItem") + s(1), 29},
                      {u"학     번", QStringLiteral("QRLblSNo") + s(1), 35},
                      {u"성     명", QStringLiteral("QRLblNm") + s(1), 41},
                      {u"계좌번호", QStringLiteral("qrlblAcct") + s(1), 47}};
        for (const auto& f : fields) {
            d->addLabel({}, {x + 5, f.y, 22, 5}, QString::fromUtf16(f.caption), font(10));
            d->addLabel(f.name, {x + 28, f.y, w - 32, 5}, QString(), font(10));
        }
        d->addLabel({}, {x + 5, 54, 22, 5}, QStringLiteral("금     액 : "), font(10, true));
        d->addLabel(QStringLiteral("QRLblHanAmt") + s(1), {x + 27, 54, w - 45, 5}, QString(), font(10, true));
        d->addLabel({}, {x + w - 17, 54, 14, 5}, QStringLiteral("원정"), font(10, true));

        // The table: headings, nine lines, the total.
        const double cx[5] = {x + 3, x + 31, x + 55, x + 77, x + w - 3};
        const char16_t* heads[4] = {u"내     역", u"금     액(\\)", u"이 체 일 자", u"비     고"};
        d->addFrame({x + 3, 62, w - 6, 6 * 11}, 0.2);
        for (int c = 1; c < 4; ++c)
            d->addLine({cx[c], 62, 0, 6 * 11});
        for (int line = 1; line <= 10; ++line)
            d->addLine({x + 3, 62 + line * 6.0, w - 6, 0});
        for (int c = 0; c < 4; ++c)
            d->addLabel({}, {cx[c] + 0.5, 63, cx[c + 1] - cx[c] - 1, 4.6}, QString::fromUtf16(heads[c]), {},
                        ReportAlign::Center);
        for (int i = 1; i <= 9; ++i) {
            const double y = 63 + i * 6.0;
            d->addLabel(QStringLiteral("QRLblItem") + s(i), {cx[0] + 0.5, y, cx[1] - cx[0] - 1, 4.6});
            d->addLabel(QStringLiteral("QRLblAmt") + s(i), {cx[1] + 0.5, y, cx[2] - cx[1] - 1.5, 4.6}, {}, {},
                        ReportAlign::Right);
            d->addLabel(QStringLiteral("QRLblDate") + s(i), {cx[2] + 0.5, y, cx[3] - cx[2] - 1, 4.6}, {}, {},
                        ReportAlign::Center);
            d->addLabel(QStringLiteral("QRLblBigo") + s(i), {cx[3] + 0.5, y, cx[4] - cx[3] - 1, 4.6});
        }
        d->addLabel({}, {cx[0] + 0.5, 123, cx[1] - cx[0] - 1, 4.6}, QStringLiteral("계"), {},
                    ReportAlign::Center);
        d->addLabel(QStringLiteral("QRLblTotAmt") + s(1), {cx[1] + 0.5, 123, cx[2] - cx[1] - 1.5, 4.6}, {},
                    {}, ReportAlign::Right);

        d->addLabel({}, {x, 134, w, 5}, QStringLiteral("위 금액을 정히 영수함."), font(10),
                    ReportAlign::Center);
        d->addLabel({}, {x + 25, 142, 14, 5}, QStringLiteral("일자 : "), font(10));
        d->addSysData(QStringLiteral("QRSysData") + QString::number(copy == 1 ? 4 : 5), {x + 39, 142, 35, 5},
                      ReportSysData::Date, font(10));
        d->addLabel(QStringLiteral("QRLblSchNm") + s(1), {x + 5, 154, 50, 5}, sSchoolName, font(10, true),
                    ReportAlign::Right);
        d->addLabel({}, {x + 56, 154, 20, 5}, QStringLiteral("세입징수관"), font(10, true));
        d->addImage(QStringLiteral("QRImage") + QString::number(copy), {x + 72, 147, 19.3, 19.3}, seal);
        d->addLabel({}, {x + 3, 170, w - 6, 4.6},
                    QStringLiteral("* 본 영수증은 반드시 1년간 보관하여 주십시요"), font(8));
        d->addLabel({}, {x + 3, 177, w - 6, 5}, QStringLiteral("학  부  형    귀하"), font(10),
                    ReportAlign::Right);
    }
    // The one page of the receipt.
    QuickRep1.setNeedData([n = 0]() mutable { return n++ == 0; });
}

void TFrmP103P02::fill(int copy, const CollectionPrint::Receipt& r) {
    ReportBand* d = QRBand2;
    const auto s = [copy](int n) { return suffix(copy, n); };
    d->setText(QStringLiteral("QRLblHo") + s(1), {});
    d->setText(QStringLiteral("QRLblTotItem") + s(1), {});
    d->setText(QStringLiteral("QRLblSNo") + s(1), r.sNo);
    d->setText(QStringLiteral("QRLblNm") + s(1), r.nm);
    d->setText(QStringLiteral("qrlblAcct") + s(1), CollectionPrint::receiptAccount(r.acctNo));
    QString amount = r.amount;
    amount.remove(QLatin1Char(',')).remove(QLatin1Char(' '));
    bool ok = false;
    const qint64 v = amount.toLongLong(&ok);
    d->setText(QStringLiteral("QRLblHanAmt") + s(1), ok ? TDMLib::AmtToKorean(double(v)) : QString());
    d->setText(QStringLiteral("QRLblItem") + s(1), r.item);
    d->setText(QStringLiteral("QRLblAmt") + s(1), r.amount);
    d->setText(QStringLiteral("QRLblDate") + s(1), r.date);
    d->setText(QStringLiteral("QRLblBigo") + s(1), {});
    d->setText(QStringLiteral("QRLblTotAmt") + s(1), r.amount);
    // Copy labels only when there are two copies.
    const bool two = d->find(QStringLiteral("BoKwanLabel11")) != nullptr;
    d->setText(QStringLiteral("BoKwanLabel1"), two ? QStringLiteral("(학교보관용)") : QString());
    d->setText(QStringLiteral("BoKwanLabel11"), QStringLiteral("(학부모보관용)"));
}
