#include "reports/EduCertificate.h"

#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/report/Report.h"
#include "platform/settings/Registry.h"
#include "platform/sys/Clock.h"
#include "transfers/common/Rounds.h"

namespace EduCertificate {

using YearEndTax::extraOr;
using YearEndTax::failed;
using YearEndTax::Refusal;

namespace {

// The chosen students: one prefix compared for equality.
void addPrefix(ReportWhere& w, const QString& col, const QString& p) {
    if (p.size() == SNoLen)
        w.add(QStringLiteral("and %1 = ?").arg(col), {p});
    else if (p.size() == 3 || p.size() == 1)
        w.add(QStringLiteral("and substr(%1, 1, %2) = ?").arg(col).arg(p.size()), {p});
}

// The year chosen; the window's default (this year) when not named.
QString yearOf(const ReportSelection& s) {
    return extraOr(s, QStringLiteral("year"), Clock::today().toString(QStringLiteral("yyyy"))).trimmed();
}

QString dateDigits(const ReportSelection& s, int k, bool end) {
    const int y = yearOf(s).toInt();
    const QDate d = end ? YearEndTax::quarterEnd(y, k) : YearEndTax::quarterStart(y, k);
    return extraOr(s, QStringLiteral("q%1%2").arg(k).arg(end ? QLatin1Char('e') : QLatin1Char('s')),
                   d.toString(QStringLiteral("yyyyMMdd")));
}

// A grid cell's amount: blank or not a number counts 0.
qint64 cellAmount(const QString& cell) {
    bool ok = false;
    const double v = cell.trimmed().toDouble(&ok);
    return ok ? qRound64(v) : 0;
}

// The collected amounts of the year; wholly refunded rows are left out.
ReportWhere paidWhere(const YearEndTax::TwoGroups& groups, const QString& year, const QString& prefix) {
    ReportWhere w;
    w.sql = QStringLiteral("WHERE t1.ReplyTy <> '0' and t1.Amt > COALESCE(t1.REAmt, 0)");
    w.add(QStringLiteral("and t1.ProcDt LIKE ?"), {year + QLatin1Char('%')});
    YearEndTax::addGroups(w, {{groups.g1, groups.items1}, {groups.g2, groups.items2}});
    addPrefix(w, QStringLiteral("t2.SNo"), prefix);
    return w;
}

bool readPaid(const QString& year, const ReportWhere& w, QList<YearEndTax::SumTaxRow>* rows, QString* error) {
    return YearEndTax::readJoined(
        YearEndTax::fiscalRounds(year),
        QStringLiteral(
            "t1.CustNo, t1.Gcode, t1.ItemCd, t1.ProcDt, t1.Amt - COALESCE(t1.REAmt, 0), t2.SNo, t2.Nm"),
        w,
        [rows](const Query& q) {
            YearEndTax::SumTaxRow r;
            r.custNo = q.str(0);
            r.gcode = q.str(1);
            r.itemCd = q.str(2);
            r.procDt = q.str(3);
            r.amt = q.num(4);
            r.sno = q.str(5);
            r.name = q.str(6);
            *rows << r;
        },
        error);
}

// What one payer paid between two dates (yyyymmdd), from M_SumTax.
std::optional<qint64> payerSum(const QString& custNo, const QString& from, const QString& to,
                               QString* error) {
    Query sum(QStringLiteral(
        "SELECT COALESCE(SUM(Amt), 0) FROM M_SumTax WHERE CustNo = ? AND ProcDt BETWEEN ? AND ?"));
    sum.add(custNo);
    sum.add(from);
    sum.add(to);
    if (!sum.exec() || !sum.next()) {
        *error = sum.error();
        return std::nullopt;
    }
    return sum.num(0);
}

// Four rows per student; the sums are the payer's own, so two students
// who share a number never add up into one certificate.
void listQuarters(const ReportSelection& s, const QString& prefix, ReportListing& l) {
    ReportWhere st;
    st.sql = QStringLiteral("WHERE 1 = 1");
    addPrefix(st, QStringLiteral("SNo"), prefix);
    Query students(
        QStringLiteral("SELECT SNo, CustNo, Nm, Ju_No_Stud FROM M_CUST %1 ORDER BY SNo, CustNo").arg(st.sql));
    for (const QVariant& v : st.binds)
        students.add(v);
    if (!students.exec()) {
        l.box = failed(students.error());
        return;
    }
    while (students.next()) {
        for (int k = 1; k <= 4; ++k) {
            const QString from = dateDigits(s, k, false), to = dateDigits(s, k, true);
            QString error;
            const std::optional<qint64> amt = payerSum(students.str(1), from, to, &error);
            if (!amt) {
                l.box = failed(error);
                return;
            }
            l.rows << QStringList{students.str(0),
                                  students.str(2),
                                  ReportSelect::dateText(to),
                                  QStringLiteral("%1/4").arg(k),
                                  extraOr(s, QStringLiteral("n%1").arg(k), QStringLiteral("납입금")),
                                  QString::number(*amt),
                                  students.str(3)};
            ++l.count;
            l.total += *amt;
        }
    }
}

QString todayText() {
    const QString t = Clock::today().toString(QStringLiteral("yyyy-MM-dd"));
    return t.mid(0, 4) + QStringLiteral(" 년 ") + t.mid(5, 2) + QStringLiteral(" 월 ") + t.mid(8, 2) +
           QStringLiteral(" 일");
}

const ReportFont kPlain{QStringLiteral("굴림"), 10};
const ReportFont kBold{QStringLiteral("굴림"), 11, true};
const ReportFont kTitle{QStringLiteral("굴림"), 20, true};

void label(ReportBand* band, const QString& name, double x, double y, double w, double h, const QString& text,
           const ReportFont& f, ReportAlign a = ReportAlign::Left) {
    band->addLabel(name, {x, y, w, h}, text, f, a);
}

// Earner and student blocks: a side label, then two columns of heads and values.
void addParties(ReportBand* band, const CertificateTexts& t) {
    const auto block = [band](const QString& key, double y, int lines, const QString& side) {
        band->addFrame({5, y, 190, 9.0 * lines});
        band->addLine({27, y, 0, 9.0 * lines});
        label(band, key + QStringLiteral("side"), 5, y + 4.5 * lines - 3, 22, 6, side, kPlain,
              ReportAlign::Center);
        for (int i = 1; i < lines; ++i)
            band->addLine({27, y + 9.0 * i, 168, 0});
    };
    // The value is filled in, not declared: a typed value may be cut at its
    // box, a head may not.
    const auto field = [band](const QString& key, double x, double y, double w, const QString& head,
                              const QString& name, const QString& value) {
        if (!head.isEmpty()) label(band, key, x, y + 1.5, 30, 6, head, kPlain);
        band->addLabel(name, {x + 31, y + 1.5, w, 6}, {}, kPlain).text = value;
    };
    double y = 24;
    block(QStringLiteral("earner"), y, 2, QStringLiteral("소   득   자"));
    field(QStringLiteral("h1"), 29, y, 50, QStringLiteral("성      명"), QStringLiteral("QRLblPNm"), t.pNm);
    // Two lines: the whole head is wider than the column of heads.
    label(band, QStringLiteral("h2"), 112, y + 0.4, 30, 4.2, QStringLiteral("주민등록번호"), kPlain);
    label(band, QStringLiteral("h2b"), 112, y + 4.4, 30, 4.2, QStringLiteral("(납세번호)"), kPlain);
    field(QStringLiteral("h2v"), 112, y, 50, QString(), QStringLiteral("QRLblPJumin"), t.pJumin);
    field(QStringLiteral("h3"), 29, y + 9, 50, QStringLiteral("주      소"), QStringLiteral("QRLblPAddr"),
          t.pAddr);
    field(QStringLiteral("h4"), 112, y + 9, 50, QStringLiteral("근  무  처"), QStringLiteral("QRLblCompany"),
          t.company);
    y = 48;
    block(QStringLiteral("student"), y, 3, QStringLiteral("대  상  학  년"));
    field(QStringLiteral("h5"), 29, y, 50, QStringLiteral("성      명"), QStringLiteral("QRLblNm"),
          QString());
    field(QStringLiteral("h6"), 112, y, 50, QStringLiteral("주민등록번호"), QStringLiteral("QRLblJumin"),
          QString());
    field(QStringLiteral("h7"), 29, y + 9, 50, QStringLiteral("학  교  명"), QStringLiteral("QRLblSchNm"),
          t.schNm);
    field(QStringLiteral("h8"), 112, y + 9, 50, QStringLiteral("학년,반,번호"), QStringLiteral("QRLblNo"),
          QString());
    field(QStringLiteral("h9"), 29, y + 18, 50, QStringLiteral("소  재  지"), QStringLiteral("QRLblAddr"),
          t.addr);
    field(QStringLiteral("h10"), 112, y + 18, 50, QStringLiteral("소득자와의관계"),
          QStringLiteral("QRLblRelation"), t.relation);
}

// The statement: heads, four quarter lines and the total.
void addStatement(ReportBand* band) {
    double y = 84;
    label(band, QStringLiteral("stmt"), 0, y, 200, 8, QStringLiteral("교 육 비 납 입 내 역 서"), kBold,
          ReportAlign::Center);
    y = 94;
    const double cols[6] = {5, 45, 75, 115, 155, 195};
    const QStringList heads{QStringLiteral("납 부 년 월 일"), QStringLiteral("분     기"),
                            QStringLiteral("구          분"), QStringLiteral("금     액"),
                            QStringLiteral("비     고")};
    band->addFrame({5, y, 190, 9.0 * 6});
    for (int c = 1; c < 5; ++c)
        band->addLine({cols[c], y, 0, 9.0 * 6});
    for (int i = 1; i < 6; ++i)
        band->addLine({5, y + 9.0 * i, 190, 0});
    for (int c = 0; c < 5; ++c)
        label(band, QStringLiteral("th%1").arg(c), cols[c], y + 1.5, cols[c + 1] - cols[c], 6, heads.at(c),
              kPlain, ReportAlign::Center);
    for (int k = 1; k <= 4; ++k) {
        const double ly = y + 9.0 * k + 1.5;
        label(band, QStringLiteral("QRLblDate%1").arg(k), cols[0], ly, 40, 6, QString(), kPlain,
              ReportAlign::Center);
        label(band, QStringLiteral("QRLblBungi%1").arg(k), cols[1], ly, 30, 6, QStringLiteral("%1/4").arg(k),
              kPlain, ReportAlign::Center);
        label(band, QStringLiteral("QRLblItem%1").arg(k), cols[2] + 1, ly, 38, 6, QString(), kPlain);
        label(band, QStringLiteral("QRLblAmt%1").arg(k), cols[3], ly, 38, 6, QString(), kPlain,
              ReportAlign::Right);
    }
    label(band, QStringLiteral("sum"), cols[0], y + 46.5, 110, 6, QStringLiteral("계"), kPlain,
          ReportAlign::Center);
    label(band, QStringLiteral("QRLblTotAmt"), cols[3], y + 46.5, 38, 6, QString(), kPlain,
          ReportAlign::Right);
}

// The request, the attestation, the issuer and the seal.
void addClosing(ReportBand* band, const QString& issuer) {
    double y = 160;
    label(band, QStringLiteral("req1"), 10, y, 185, 6,
          QStringLiteral("소득세법 시행령 제113조 제1항의 규정에 의하여 위와 같이 교육비를"), kPlain);
    label(band, QStringLiteral("req2"), 10, y + 7, 185, 6,
          QStringLiteral("납부하였음을 증명하여 주시기 바랍니다."), kPlain);
    label(band, QStringLiteral("QRSysData4"), 0, y + 18, 200, 6, todayText(), kPlain, ReportAlign::Center);
    label(band, QStringLiteral("applicant"), 100, y + 28, 60, 6, QStringLiteral("신 청 인"), kPlain);
    label(band, QStringLiteral("stamp"), 165, y + 28, 30, 6, QStringLiteral("( 인 )"), kPlain);
    y = 206;
    label(band, QStringLiteral("att"), 0, y, 200, 6,
          QStringLiteral("위와 같이 교육비를 납부하였음을 증명합니다."), kPlain, ReportAlign::Center);
    label(band, QStringLiteral("QRSysData5"), 0, y + 11, 200, 6, todayText(), kPlain, ReportAlign::Center);
    label(band, QStringLiteral("QRLbl"), 0, y + 32, 200, 8, issuer + QStringLiteral("장"), kBold,
          ReportAlign::Center);
    band->addImage(QStringLiteral("QRImage1"), {150, y + 24, 22, 22}, ReportSelect::seal());
}

// The certificate of the four grid rows from at.
void fillCertificate(ReportBand* band, const QList<QStringList>& grid, int at) {
    const QString no = grid.at(at).value(0);
    band->setText(QStringLiteral("QRLblNo"), no.mid(0, 1) + QStringLiteral(" 학년 ") + no.mid(1, 2) +
                                                 QStringLiteral(" 반 ") + no.mid(3, 3) +
                                                 QStringLiteral(" 번"));
    band->setText(QStringLiteral("QRLblNm"), grid.at(at).value(1).trimmed());
    band->setText(QStringLiteral("QRLblJumin"), grid.at(at).value(6).trimmed());
    qint64 total = 0;
    for (int k = 1; k <= 4; ++k) {
        const QStringList& row = grid.at(at + k - 1);
        const QString date = row.value(2).trimmed();
        const qint64 amt = cellAmount(row.value(5));
        band->setText(QStringLiteral("QRLblDate%1").arg(k),
                      date.isEmpty() ? QStringLiteral("0") : row.value(2));
        band->setText(QStringLiteral("QRLblItem%1").arg(k), row.value(4));
        band->setText(QStringLiteral("QRLblAmt%1").arg(k), ReportSelect::amount(amt, 15));
        total += amt;
    }
    band->setText(QStringLiteral("QRLblTotAmt"), ReportSelect::amount(total, 15));
}

} // namespace

std::optional<Refusal> check(const ReportSelection& s) {
    if (yearOf(s).isEmpty())
        return Refusal{
            ReportBox{Rounds::programTitle(), QStringLiteral("년도를 선택해주세요."), MsgIcon::None},
            QStringLiteral("cboYear")};
    if (!IsValidSNoInput(s.hak1, s.ban1, s.bun1))
        return Refusal{ReportBox{QStringLiteral("학번입력 오류"),
                                 QStringLiteral("학번 입력 정보가 올바르지 않습니다."), MsgIcon::Error},
                       QStringLiteral("SHakEdit")};
    return std::nullopt;
}

ReportListing list(const ReportSelection& s) {
    ReportListing l;
    l.gcode = s.gcode;
    l.columns = {QStringLiteral("학번"),        QStringLiteral("학생명"), QStringLiteral("납부년월일"),
                 QStringLiteral("분기"),        QStringLiteral("항목명"), QStringLiteral("금액"),
                 QStringLiteral("학생주민번호")};
    if (const std::optional<Refusal> r = check(s)) {
        l.box = r->box;
        return l;
    }
    const QString year = yearOf(s);
    const QString prefix = MakeSNo(s.hak1, s.ban1, s.bun1);
    const YearEndTax::TwoGroups groups = YearEndTax::twoGroups(s);
    QString error;
    if (groups.empty()) {
        if (!YearEndTax::rebuildSumTax({}, &error))
            l.box = failed(error);
        else
            l.box = ReportBox{Rounds::programTitle(), QStringLiteral("선택된 항목이 하나도 없습니다.."),
                              MsgIcon::None};
        return l;
    }
    QList<YearEndTax::SumTaxRow> rows;
    if (!readPaid(year, paidWhere(groups, year, prefix), &rows, &error)) {
        l.box = failed(error);
        return l;
    }
    if (!YearEndTax::rebuildSumTax(rows, &error)) {
        l.box = failed(error);
        return l;
    }
    listQuarters(s, prefix, l);
    return l;
}

ReportDocument printRows(const QList<QStringList>& grid, const CertificateTexts& t) {
    Report r;
    r.title = QStringLiteral("인쇄");
    r.printIfEmpty = false;
    ReportBand* band = r.addBand(ReportBand::Detail, 282);
    label(band, QStringLiteral("title"), 0, 6, 200, 11, QStringLiteral("교 육 비 납 입 증 명 서"), kTitle,
          ReportAlign::Center);
    addParties(band, t);
    addStatement(band);
    addClosing(band, t.issuer);

    int at = 0;
    r.setNeedData([&] {
        // A block is printed only when its fourth row exists.
        if (at + 3 >= grid.size()) return false;
        fillCertificate(band, grid, at);
        at += 4;
        return true;
    });
    return r.layout();
}

CertificateTexts texts(const ReportSelection& s) {
    CertificateTexts t;
    t.pNm = s.get(QStringLiteral("pnm"));
    t.pJumin = s.get(QStringLiteral("pjumin"));
    t.pAddr = s.get(QStringLiteral("paddr"));
    t.company = s.get(QStringLiteral("company"));
    t.schNm = extraOr(s, QStringLiteral("schnm"),
                      Registry::readString(QStringLiteral("SchoolInfo"), QStringLiteral("SchNm")));
    t.addr = s.get(QStringLiteral("addr"));
    t.relation = s.get(QStringLiteral("relation"));
    t.issuer = ReportSelect::schoolName();
    return t;
}

std::optional<ReportBox> print(const ReportSelection& s, ReportDocument* doc) {
    const ReportListing l = list(s);
    if (l.box) return l.box;
    if (l.rows.isEmpty()) return ReportSelect::noData();
    *doc = printRows(l.rows, texts(s));
    return std::nullopt;
}

} // namespace EduCertificate
