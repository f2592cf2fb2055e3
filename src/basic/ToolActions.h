#pragma once
#include "basic/BulkDelete.h"
#include "basic/IndexRepair.h"
#include "basic/JobLogView.h"

#include <optional>

class QWidget;

// The tools' button actions with their questions and boxes, for the windows
// and the driver.
namespace ToolActions {

// 학생일괄삭제 "실행", first half: the question and the look-up. The payer
// numbers to delete, or nothing when the user said No or the grade has none.
std::optional<QStringList> askGrade(const QString& grade, QWidget* parent);
// Second half (after the dialog has painted): the deletion and its box.
BulkDelete::GradeResult runGrade(const QString& grade, QWidget* parent,
                                 const BulkDelete::StepProgress& progress = {});

// 이체자료삭제 "삭    제": listed is whether the list has any round; marked
// the tables marked, top to bottom. The tables dropped.
QStringList deleteRounds(bool listed, const QStringList& marked, QWidget* parent);

// 인덱스복구 "인덱스생성": repairs the marked tables, shows the boxes.
IndexRepair::Outcome repairIndexes(const QStringList& marked, QWidget* parent);

// The job-log searches: the rows found, or nothing after a box (a table
// that does not exist, a database error, missing dates).
std::optional<QList<JobLogView::LogRow>> searchMonth(const JobLogView::MonthFilter& f, QWidget* parent);
std::optional<QList<JobLogView::LogRow>> searchOld(const QString& from, const QString& to, const QString& text,
                                                   QWidget* parent);
// "해당하는 자료가 없습니다."
void noData(QWidget* parent);

} // namespace ToolActions
