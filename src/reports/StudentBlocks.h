#pragma once
#include "reports/ReportSelection.h"

class ReportBand;

// Printouts of fixed blocks, one student a block and a fixed number of lines
// a block (notices, unpaid statements). A student with more lines than a
// block holds goes on in the next block (of the same page when one is free)
// under the same heading, so no line is dropped or written into another
// student's block and no block stays empty before the last student.

struct StudentBlock {
    QList<RoundRow> rows; // the lines of this block, in print order
    qint64 total = 0;     // of every line of the student, all blocks together
    bool used() const { return !rows.isEmpty(); }
};

namespace StudentBlocks {

// The rows (ordered by student) in pages of `blocks` blocks of `lines` lines.
QList<QList<StudentBlock>> pages(const QList<RoundRow>& rows, int lines, int blocks);

// Orders rows as the printouts list them: SNo, ProcDt, Gcode, ItemCd.
void sortForPrint(QList<RoundRow>* rows);

// The item's name in its group, as the blocks print it.
QString itemName(const RoundRow& r);
// The lines of block k (1-based) of a page of blocks of `lines` lines into
// the labels "QRLblItem<n>" and "QRLblAmt<n>", n counted on from block to
// block; lines past the block's rows blank.
void fillLines(ReportBand* band, int k, int lines, const StudentBlock& b);

} // namespace StudentBlocks
