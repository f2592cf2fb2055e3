#include "reports/DaySum.h"

#include "data/DMMain.h"
#include "platform/db/Database.h"
#include "platform/report/Report.h"
#include "transfers/common/Rounds.h"

#include <map>
#include <memory>

namespace DaySum {

namespace {

const QString kTable = QStringLiteral("M_DAYSUM");

// An amount of the grid ("%15.0n") back to a number; a minus sign counts.
qint64 gridAmount(const QString& text) {
    QString digits;
    for (const QChar c : text)
        if (c.isDigit() || c == QLatin1Char('-')) digits += c;
    return digits.toLongLong();
}

} // namespace

bool collect(const QStringList& tables, const QString& date, QList<Line>* out, QString* error) {
    out->clear();
    std::map<std::pair<QString, QString>, Line> byKey;
    for (const QString& t : tables) {
        const QString name = Database::quoted(t);
        if (name.isEmpty() || !Database::isRoundTableName(t)) continue;
        Query q(
            QStringLiteral("SELECT SUM(Amt), COALESCE(SUM(REAmt), 0), ItemCd, Gcode FROM %1 WHERE ProcDt = ? "
                           "GROUP BY ItemCd, Gcode")
                .arg(name));
        q.add(date);
        if (!q.exec()) {
            if (error) *error = q.error();
            return false;
        }
        while (q.next()) {
            const qint64 tot = q.num(0), re = q.num(1);
            const std::pair<QString, QString> key{q.str(3), q.str(2)};
            auto at = byKey.find(key);
            if (at != byKey.end()) {
                at->second.totAmt += tot - re;
                continue;
            }
            if (tot == 0) continue;
            Line l;
            l.gcode = key.first;
            l.itemCd = key.second;
            l.totAmt = tot - re;
            Query item(
                QStringLiteral("SELECT ItemNm, Kwan, Hang FROM C_ITEM WHERE ItemID = ? AND Gcode = ?"));
            item.add(l.itemCd);
            item.add(l.gcode);
            if (item.exec() && item.next()) {
                l.itemNm = item.str(0);
                l.kwan = item.str(1);
                l.hang = item.str(2);
            }
            byKey.emplace(key, l);
        }
    }
    for (const auto& kv : byKey)
        out->append(kv.second);
    return true;
}

bool build(const QString& date, QString* error) {
    QList<Line> found;
    Transaction tx;
    if (!tx.ok()) {
        if (error) *error = tx.error();
        return false;
    }
    // The table is made anew first, then filled; a failure anywhere rolls
    // both back.
    if (!Database::createTable(Tables::MDaySum(), true, error)) return false;
    if (!collect(Rounds::collectionTables(), date, &found, error)) return false;
    RowInserter ins(kTable, {QStringLiteral("Gcode"), QStringLiteral("ItemCd"), QStringLiteral("TotAmt"),
                             QStringLiteral("ItemNm"), QStringLiteral("Kwan"), QStringLiteral("Hang")});
    for (const Line& l : found)
        if (!ins.add(l.gcode).add(l.itemCd).add(l.totAmt).add(l.itemNm).add(l.kwan).add(l.hang).exec(error))
            return false;
    if (!tx.commit()) {
        if (error) *error = tx.error();
        return false;
    }
    return true;
}

bool lines(QList<Line>* out, QString* error) {
    out->clear();
    Query q(QStringLiteral(
        "SELECT Gcode, ItemCd, ItemNm, Kwan, Hang, TotAmt FROM M_DAYSUM ORDER BY Gcode, ItemCd"));
    if (!q.exec()) {
        if (error) *error = q.error();
        return false;
    }
    while (q.next())
        out->append(Line{q.str(0), q.str(1), q.str(2), q.str(3), q.str(4), q.num(5)});
    return true;
}

ReportListing list(const ReportSelection& s) {
    ReportListing l;
    l.columns = {QStringLiteral("항목코드"), QStringLiteral("항목명"), QStringLiteral("관"),
                 QStringLiteral("항"),       QStringLiteral("목"),     QStringLiteral("금액")};
    const QString date = s.get(QStringLiteral("date")).trimmed();
    if (date.isEmpty()) {
        l.box = ReportBox{QStringLiteral("오류"), QStringLiteral("이체일자를 입력하세요!!"), MsgIcon::Error};
        return l;
    }
    QString error;
    QList<Line> found;
    if (!build(date, &error) || !lines(&found, &error)) {
        l.box = ReportBox{QStringLiteral("오류"), error, MsgIcon::Error};
        return l;
    }
    for (const Line& x : found) {
        l.rows << QStringList{x.itemCd, x.itemNm, x.kwan,
                              x.hang,   x.itemNm, ReportSelect::amount(x.totAmt, 15)};
        ++l.count;
        l.total += x.totAmt;
    }
    if (l.rows.isEmpty())
        l.box = ReportBox{QStringLiteral("확인"), QStringLiteral("해당되는 자료가 없습니다."),
                          MsgIcon::Information};
    return l;
}

ReportDocument printRows(const QList<QStringList>& rows, const QString& date) {
    // TFrmP112P00: the base form's title alone above one page-high band that
    // holds the whole form.
    Report r;
    r.title = QStringLiteral("수입일계표");
    r.printIfEmpty = false;
    const ReportFont title{QStringLiteral("굴림체"), 18, true, true};
    const ReportFont head{QStringLiteral("굴림"), 10, true};
    const ReportFont plain{QStringLiteral("굴림"), 9};
    ReportBand* QRBand1 = r.addBand(ReportBand::PageHeader, 18);
    QRBand1->addLabel(QStringLiteral("QRLabel1"), {0, 2.1, 200, 8}, QStringLiteral("수 입 일 계 표"), title,
                      ReportAlign::Center);
    ReportBand* QRBand2 = r.addBand(ReportBand::Detail, 260.6);
    ReportBand& b = *QRBand2;
    b.addLabel(QStringLiteral("QRLblYear"), {0, 1, 80, 6}, {}, head);
    b.addLabel(QStringLiteral("QRLblDay"), {120, 1, 80, 6}, {}, head, ReportAlign::Right);

    // Columns: 관, 항, 목, 금액, 영수필통지서매수.
    const double x[] = {0, 40, 80, 120, 165, 200};
    const double top = 9, headH = 12, lineH = 8;
    const double sumTop = top + headH + kFormLines * lineH, bottom = sumTop + lineH;
    b.addFrame({0, top, 200, bottom - top}, 0.4);
    b.addLabel(QStringLiteral("QRLabel2"), {0, top, 120, 6}, QStringLiteral("과                 목"), head,
               ReportAlign::Center);
    b.addLine({0, top + 6, 120, 0});
    const char* sub[] = {"관", "항", "목"};
    for (int i = 0; i < 3; ++i)
        b.addLabel(QStringLiteral("QRLabel%1").arg(3 + i), {x[i], top + 6.5, x[i + 1] - x[i], 5},
                   QString::fromUtf8(sub[i]), head, ReportAlign::Center);
    b.addLabel(QStringLiteral("QRLabel6"), {x[3], top + 3.5, x[4] - x[3], 5}, QStringLiteral("금        액"),
               head, ReportAlign::Center);
    ReportElement& receipt = b.addLabel(QStringLiteral("QRLabel7"), {x[4] + 1, top + 1, x[5] - x[4] - 2, 10},
                                        QStringLiteral("영   수   필통지서매수"), head, ReportAlign::Center);
    receipt.wordWrap = true;
    // 관, 항 and 목 stand under one head and above one 합계 box.
    for (int i = 1; i < 3; ++i)
        b.addLine({x[i], top + 6, 0, sumTop - top - 6});
    for (int i = 3; i < 5; ++i)
        b.addLine({x[i], top, 0, bottom - top});
    for (int n = 0; n <= kFormLines; ++n)
        b.addLine({0, top + headH + n * lineH, 200, 0});
    for (int n = 1; n <= kFormLines; ++n) {
        const double y = top + headH + (n - 1) * lineH + 1.5;
        b.addLabel(QStringLiteral("QRLblKwan%1").arg(n), {x[0] + 1, y, 38, 5}, {}, plain);
        b.addLabel(QStringLiteral("QRLblHang%1").arg(n), {x[1] + 1, y, 38, 5}, {}, plain);
        b.addLabel(QStringLiteral("QRLblMok%1").arg(n), {x[2] + 1, y, 38, 5}, {}, plain);
        b.addLabel(QStringLiteral("QRLblAmt%1").arg(n), {x[3] + 1, y, 43, 5}, {}, plain, ReportAlign::Right);
    }
    b.addLabel(QStringLiteral("QRLabel8"), {0, sumTop + 1.5, 120, 5}, QStringLiteral("합                 계"),
               head, ReportAlign::Center);
    b.addLabel(QStringLiteral("QRLblTotAmt"), {x[3] + 1, sumTop + 1.5, 43, 5}, {}, head, ReportAlign::Right);

    // The signature and stamp boxes.
    const char* boxes[] = {"분   임 징수관",         "수입금출납원", "개인별징수부등             기",
                           "일   월   별징수부등기", "계",           "대      조"};
    const double boxTop = bottom + 8, boxW = 200.0 / 6;
    for (int i = 0; i < 6; ++i) {
        b.addFrame({i * boxW, boxTop, boxW, 10});
        b.addFrame({i * boxW, boxTop + 10, boxW, 25});
        ReportElement& e =
            b.addLabel(QStringLiteral("QRLabel%1").arg(9 + i), {i * boxW + 1, boxTop + 0.5, boxW - 2, 9},
                       QString::fromUtf8(boxes[i]), plain, ReportAlign::Center);
        e.wordWrap = true;
    }

    // One page a call: twenty lines, the total under the last page's lines.
    qint64 total = 0;
    for (const QStringList& row : rows)
        total += gridAmount(row.value(5));
    auto cursor = std::make_shared<int>(0);
    r.setNeedData([&b, rows, date, total, cursor]() {
        if (*cursor >= rows.size()) return false;
        b.clearTexts(QStringLiteral("QRLbl"));
        b.setText(QStringLiteral("QRLblYear"), date.left(4) + QStringLiteral(" 년도"));
        b.setText(QStringLiteral("QRLblDay"),
                  date.mid(4, 2) + QStringLiteral(" 월  ") + date.mid(6, 2) + QStringLiteral(" 일분  "));
        for (int n = 1; n <= kFormLines && *cursor < rows.size(); ++n, ++*cursor) {
            const QStringList& row = rows.at(*cursor);
            b.setText(QStringLiteral("QRLblKwan%1").arg(n), row.value(2));
            b.setText(QStringLiteral("QRLblHang%1").arg(n), row.value(3));
            b.setText(QStringLiteral("QRLblMok%1").arg(n), row.value(4));
            b.setText(QStringLiteral("QRLblAmt%1").arg(n), row.value(5).trimmed());
        }
        if (*cursor >= rows.size()) b.setText(QStringLiteral("QRLblTotAmt"), ReportSelect::amount(total));
        return true;
    });
    return r.layout();
}

std::optional<ReportBox> print(const ReportSelection& s, ReportDocument* doc) {
    const ReportListing l = list(s);
    if (l.box) return l.box;
    *doc = printRows(l.rows, s.get(QStringLiteral("date")).trimmed());
    return std::nullopt;
}

} // namespace DaySum
