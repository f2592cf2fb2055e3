#include "reports/StudentBlocks.h"

#include "data/DMMain.h"
#include "platform/report/Report.h"

#include <algorithm>

namespace StudentBlocks {

QList<QList<StudentBlock>> pages(const QList<RoundRow>& rows, int lines, int blocks) {
    QList<QList<StudentBlock>> out;
    int slot = blocks; // no page open yet
    const auto place = [&](StudentBlock b) {
        if (slot >= blocks) {
            out << QList<StudentBlock>(blocks);
            slot = 0;
        }
        out.last()[slot++] = std::move(b);
    };
    for (qsizetype i = 0; i < rows.size();) {
        qsizetype end = i;
        qint64 total = 0;
        while (end < rows.size() && rows.at(end).sNo == rows.at(i).sNo)
            total += rows.at(end++).amt;
        for (qsizetype at = i; at < end; at += lines) {
            StudentBlock b;
            b.rows = rows.mid(at, std::min<qsizetype>(lines, end - at));
            b.total = total;
            // A continuation takes the next free block, so only the last
            // page may end in empty blocks.
            place(std::move(b));
        }
        i = end;
    }
    return out;
}

void sortForPrint(QList<RoundRow>* rows) {
    std::stable_sort(rows->begin(), rows->end(), [](const RoundRow& a, const RoundRow& b) {
        if (a.sNo != b.sNo) return a.sNo < b.sNo;
        if (a.procDt != b.procDt) return a.procDt < b.procDt;
        if (a.gcode != b.gcode) return a.gcode < b.gcode;
        return a.itemCd < b.itemCd;
    });
}

QString itemName(const RoundRow& r) {
    return DMData ? DMData->GetGItemName(r.itemCd, r.gcode) : r.itemCd;
}

void fillLines(ReportBand* band, int k, int lines, const StudentBlock& b) {
    for (int line = 1; line <= lines; ++line) {
        const QString m = QString::number(lines * (k - 1) + line);
        const bool has = line <= b.rows.size();
        band->setText(QStringLiteral("QRLblItem") + m, has ? itemName(b.rows.at(line - 1)) : QString());
        band->setText(QStringLiteral("QRLblAmt") + m,
                      has ? ReportSelect::amount(b.rows.at(line - 1).amt) : QString());
    }
}

} // namespace StudentBlocks
