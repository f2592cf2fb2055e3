#include "reports/Income.h"

#include "platform/db/Database.h"
#include "platform/report/Report.h"
#include "platform/settings/Registry.h"
#include "transfers/common/Rounds.h"

#include <algorithm>
#include <memory>

namespace Income {

namespace {

// The bank condition with the given table prefix ("A." or none).
void addBank(ReportWhere& w, const QString& bank, const QString& prefix) {
    const QString b = bank.left(2);
    if (b.isEmpty() || b == QLatin1String("00")) return;
    if (Rounds::isBankFamily(b))
        w.add(QStringLiteral("and %1BankCd IN ('10', '11', '12')").arg(prefix));
    else
        w.add(QStringLiteral("and %1BankCd = ?").arg(prefix), {b});
}

QString itemOf(const ReportSelection& s) {
    const QString i = s.get(QStringLiteral("item")).left(2).trimmed();
    return i.isEmpty() ? QStringLiteral("00") : i;
}

QString figure(qint64 v) {
    return ReportSelect::amount(v, 0);
}

} // namespace

void Table::clear() {
    cls = {};
    other = {};
    grade = {};
}

Figures Table::at(int g, int c) const {
    if (g < 1 || g > kGrades || c < 1 || c > kClasses) return {};
    return cls[g - 1][c - 1];
}

Figures Table::total(int g) const {
    if (g < 1 || g > kGrades) return {};
    return grade[g - 1];
}

void Table::add(const QString& sNo, const QString& replyTy, const QString& procDt, qint64 a, qint64 r,
                const QString& day) {
    const int g = sNo.left(1).toInt();
    if (g < 1 || g > kGrades) return;
    if (g >= 7) upper = true;
    bool ok = false;
    const int c = sNo.mid(1, 2).toInt(&ok);
    Figures& f = ok && c >= 1 && c <= kClasses ? cls[g - 1][c - 1] : other[g - 1];
    const int cmp = procDt.compare(day);
    if (replyTy == QLatin1String("1") || replyTy == QLatin1String("2")) {
        if (cmp == 0) {
            f[PersonsToday] += 1;
            f[AmtToday] += a;
        } else if (cmp > 0) {
            f[NotReceived] += a;
        } else {
            f[AmtBefore] += a;
        }
    } else if (replyTy == QLatin1String("3")) {
        if (r == a) {
            f[NotReceived] += a;
        } else if (cmp == 0) {
            f[PersonsToday] += 1;
            f[AmtToday] += a - r;
            f[NotReceived] += r;
        } else if (cmp > 0) {
            f[NotReceived] += a;
        } else {
            f[AmtBefore] += a - r;
        }
    } else if (replyTy == QLatin1String("0")) {
        f[NotReceived] += a;
    }
}

void Table::sumGrades() {
    for (int g = 0; g < kGrades; ++g) {
        Figures sum = other[g];
        for (const Figures& f : cls[g])
            for (int i = 0; i < 5; ++i)
                sum[i] += f[i];
        grade[g] = sum;
    }
}

QString latestDay(const ReportSelection& s) {
    const QString table = Rounds::tableName(s.ym1, s.seq1);
    if (table.isEmpty() || !Database::tableExists(table)) return {};
    ReportWhere w;
    w.sql = QStringLiteral("WHERE ExempTy = '1'");
    addBank(w, s.bank, QString());
    const QString item = itemOf(s);
    if (item != QLatin1String("00")) w.add(QStringLiteral("and ItemCd = ?"), {item});
    Query q(QStringLiteral("SELECT MAX(ProcDt) FROM %1 %2").arg(Database::quoted(table), w.sql));
    for (const QVariant& v : w.binds)
        q.add(v);
    if (!q.exec() || !q.next()) return {};
    const QString d = q.str(0).trimmed();
    return d == QLatin1String("00000000") ? QString() : d;
}

std::optional<ReportBox> compute(const ReportSelection& s, Table* t, QString* day) {
    if (s.ym1.trimmed().isEmpty() || s.seq1.trimmed().isEmpty())
        return ReportBox{QStringLiteral("입력요망"), QStringLiteral("이체년월과 회차는 반드시 입력하세요!!"),
                         MsgIcon::Error};
    t->clear();
    const QString table = Rounds::tableName(s.ym1.trimmed(), s.seq1.trimmed());
    if (table.isEmpty() || !Database::tableExists(table)) return ReportSelect::noData();
    QString d = s.get(QStringLiteral("day")).trimmed();
    if (d.isEmpty()) d = latestDay(s);
    if (day) *day = d;

    ReportWhere w;
    w.sql = QStringLiteral(
        "WHERE A.ItemCd = B.ItemID AND A.ExempTy = '1' AND A.SNo >= '100000' AND A.SNo < '900000'");
    addBank(w, s.bank, QStringLiteral("A."));
    const QString item = itemOf(s);
    if (item == QLatin1String("00"))
        w.add(QStringLiteral("and B.Gcode = ?"), {s.gcode});
    else
        w.add(QStringLiteral("and A.ItemCd = ? and B.Gcode = ?"), {item, s.gcode});
    Query q(QStringLiteral(
                "SELECT A.ProcDt, A.SNo, A.ReplyTy, SUM(A.Amt), COALESCE(SUM(A.REAmt), 0) FROM %1 AS A, "
                "C_ITEM AS B %2 GROUP BY A.ProcDt, A.SNo, A.ReplyTy")
                .arg(Database::quoted(table), w.sql));
    for (const QVariant& v : w.binds)
        q.add(v);
    if (!q.exec()) return ReportBox{QStringLiteral("오류"), q.error(), MsgIcon::Error};
    bool first = true;
    while (q.next()) {
        if (first) t->upper = false;
        first = false;
        t->add(q.str(1), q.str(2), q.str(0), q.num(3), q.num(4), d);
    }
    t->sumGrades();
    return std::nullopt;
}

ReportListing list(const ReportSelection& s) {
    ReportListing l;
    l.gcode = s.gcode;
    l.columns = {QStringLiteral("학년"),    QStringLiteral("반"),   QStringLiteral("조정액"),
                 QStringLiteral("인원"),    QStringLiteral("금액"), QStringLiteral("수입누계"),
                 QStringLiteral("미수입액")};
    Table t;
    QString day;
    if ((l.box = compute(s, &t, &day))) return l;
    l.rows << QStringList{QStringLiteral("이체일자"), ReportSelect::dateText(day)};
    const auto row = [](const QString& g, const QString& c, const Figures& f) {
        return QStringList{g,
                           c,
                           figure(f[Adjust]),
                           figure(f[PersonsToday]),
                           figure(f[AmtToday]),
                           figure(f[AmtToday] + f[AmtBefore]),
                           figure(f[NotReceived])};
    };
    const auto empty = [](const Figures& f) { return f == Figures{}; };
    for (int g = 1; g <= kGrades; ++g) {
        if (empty(t.total(g))) continue;
        for (int c = 1; c <= kClasses; ++c)
            if (!empty(t.at(g, c))) l.rows << row(QString::number(g), QString::number(c), t.at(g, c));
        l.rows << row(QString::number(g), QStringLiteral("소계"), t.total(g));
        l.count += t.total(g)[PersonsToday];
        l.total += t.total(g)[AmtToday];
    }
    return l;
}

namespace {

// One sheet: grades first .. first + grades - 1, `classes` class lines each
// (line n = stride * (grade - first) + class), a sum line per grade and the
// total of the sheet's grades.
ReportDocument sheet(const Table& t, int first, int grades, int classes, int stride, bool form10,
                     const QString& caption) {
    Report r;
    r.title = caption;
    const ReportFont title{QStringLiteral("굴림체"), 18, true, true};
    const ReportFont headFont{QStringLiteral("굴림"), 9, true};
    ReportBand* head = r.addBand(ReportBand::PageHeader, form10 ? 20 : 16);
    head->addLabel(QStringLiteral("QRLabel1"), {0, 2, 200, 8}, QStringLiteral("수 입 명 세 서"), title,
                   ReportAlign::Center);
    if (form10)
        head->addLabel(QStringLiteral("QRLabel2"), {0, 11, 200, 4.5}, QStringLiteral("(별지 제10호 서식)"),
                       {}, ReportAlign::Center);
    head->addLabel(QStringLiteral("QRLabel3"), {150, 2, 18, 4}, QStringLiteral("발행일자 : "));
    head->addSysData(QStringLiteral("QRSysData1"), {168, 2, 32, 4}, ReportSysData::Date, {},
                     ReportAlign::Right);
    head->addLabel(QStringLiteral("QRLabel4"), {150, 6.5, 18, 4}, QStringLiteral("발행시간 : "));
    head->addSysData(QStringLiteral("QRSysData2"), {168, 6.5, 32, 4}, ReportSysData::Time, {},
                     ReportAlign::Right);

    const int lines = grades * (classes + 1) + 1;
    const double colHead = 10;
    const double avail = 287.0 - head->height - colHead - 2;
    const double h = std::min(6.0, avail / lines);
    const ReportFont font{QStringLiteral("굴림"), h >= 4 ? 8.0 : 6.0};
    ReportBand* b = r.addBand(ReportBand::Detail, colHead + lines * h + 1);
    const double x[] = {0, 20, 40, 70, 90, 125, 162, 200};
    b->addFrame({0, 0, 200, colHead + lines * h}, 0.4);
    const char* titles[] = {"학  번", "반  별", "조정액", "인원", "금  액", "수 입 누 계", "미 수 입 액"};
    for (int i = 0; i < 7; ++i) {
        const bool today = i == 3 || i == 4;
        b->addLabel(QStringLiteral("QRHead%1").arg(i), {x[i], today ? 5.5 : 3, x[i + 1] - x[i], 4.5},
                    QString::fromUtf8(titles[i]), headFont, ReportAlign::Center);
        const double y0 = i == 3 ? 5.0 : 0.0; // 인원 and 금액 share the head 금 일 수 입
        b->addLine({x[i + 1], y0, 0, colHead + lines * h - y0});
    }
    b->addLabel(QStringLiteral("QRHead7"), {x[3], 0.5, x[5] - x[3], 4.5}, QStringLiteral("금 일 수 입"),
                headFont, ReportAlign::Center);
    b->addLine({x[3], 5, x[5] - x[3], 0});
    b->addLine({0, colHead, 200, 0});

    int at = 0;
    // A line's labels: "QRLbl" + ("Sum" on sum lines) + figure + number.
    const auto line = [&](const QString& g, const QString& c, const QString& sum, const QString& number,
                          bool strong) {
        const double y = colHead + at * h;
        const ReportFont f{font.family, font.size, strong};
        b->addLabel(QStringLiteral("QRGrade%1").arg(at), {x[0], y, x[1] - x[0], h}, g, f,
                    ReportAlign::Center);
        b->addLabel(QStringLiteral("QRClass%1").arg(at), {x[1], y, x[2] - x[1], h}, c, f,
                    ReportAlign::Center);
        const char* names[] = {"PersonCnt", "Amt", "TotAmt", "NonAmt"};
        for (int i = 0; i < 4; ++i)
            b->addLabel(QStringLiteral("QRLbl") + sum + QString::fromLatin1(names[i]) + number,
                        {x[3 + i] + 0.5, y, x[4 + i] - x[3 + i] - 1.5, h}, {}, f, ReportAlign::Right);
        ++at;
        if (strong) b->addLine({0, colHead + at * h, 200, 0});
    };
    const QString sum = QStringLiteral("Sum");
    for (int k = 0; k < grades; ++k) {
        for (int c = 1; c <= classes; ++c)
            line(c == 1 ? QStringLiteral("%1 학년").arg(first + k) : QString(),
                 QStringLiteral("%1 반").arg(c, 2, 10, QLatin1Char('0')), QString(),
                 QString::number(stride * k + c), false);
        line(QString(), QStringLiteral("소계"), sum, QString::number(k + 1), true);
    }
    line(QString(), QStringLiteral("합계"), sum, QStringLiteral("7"), true);

    const Table copy = t;
    auto done = std::make_shared<bool>(false);
    r.setNeedData([b, copy, first, grades, classes, stride, done]() {
        if (*done) return false;
        *done = true;
        const auto put = [b](const QString& suffix, const Figures& f, bool sum) {
            const QString p = sum ? QStringLiteral("QRLblSum") : QStringLiteral("QRLbl");
            b->setText(p + QStringLiteral("PersonCnt") + suffix, figure(f[PersonsToday]));
            b->setText(p + QStringLiteral("Amt") + suffix, figure(f[AmtToday]));
            b->setText(p + QStringLiteral("TotAmt") + suffix, figure(f[AmtToday] + f[AmtBefore]));
            b->setText(p + QStringLiteral("NonAmt") + suffix, figure(f[NotReceived]));
        };
        Figures all{};
        for (int k = 0; k < grades; ++k) {
            const int g = first + k;
            for (int c = 1; c <= classes; ++c)
                put(QString::number(stride * k + c), copy.at(g, c), false);
            put(QString::number(k + 1), copy.total(g), true);
            for (int i = 0; i < 5; ++i)
                all[i] += copy.total(g)[i];
        }
        put(QStringLiteral("7"), all, true);
        return true;
    });
    return r.layout();
}

} // namespace

bool elementary() {
    return Registry::readString(QStringLiteral("SchoolInfo"), QStringLiteral("SelctSch")) ==
           QLatin1String("1");
}

ReportDocument sheetP00(const Table& t) {
    return sheet(t, 1, 6, 14, 14, true, QStringLiteral("수입명세서"));
}

ReportDocument sheetP04(const Table& t) {
    return sheet(t, 7, 2, 14, 14, true, QStringLiteral("수입명세서"));
}

ReportDocument sheetP01(const Table& t) {
    return sheet(t, 1, 3, 19, 20, false, QStringLiteral("인쇄"));
}

std::optional<ReportBox> print(const ReportSelection& s, ReportDocument* doc) {
    Table t;
    QString day;
    if (const std::optional<ReportBox> box = compute(s, &t, &day)) return box;
    if (!elementary()) {
        *doc = sheetP01(t);
        return std::nullopt;
    }
    *doc = sheetP00(t);
    if (t.upper) doc->pages += sheetP04(t).pages;
    return std::nullopt;
}

} // namespace Income
