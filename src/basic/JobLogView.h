#pragma once
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// The job-log viewers: the monthly tables L_Log_yyyymm (월별로그조회) and the
// single old table L_Log (2005년이전 로그조회). Read only; every search value
// goes in bound, so a quote in the text is searched as a quote.
namespace JobLogView {

// Months that have a log table, "yyyy-mm", newest first.
QStringList months();
// "L_Log_" + yyyymm of a month text "yyyy-mm".
QString monthTable(const QString& month);
// "전체", then " 1일" .. "31일" up to today in the current month, else to the
// month's last day.
QStringList dayItems(const QString& month, const QDate& today);
// yyyymmdd of a day item within the month; empty for "전체" or nothing.
QString dayDate(const QString& month, const QString& dayItem);
// "전체" and the menu names of the month's table.
QStringList menus(const QString& month);

struct MonthFilter {
    QString month;   // "yyyy-mm"
    QString dayFrom; // day items; "전체" or empty: no bound
    QString dayTo;
    QString menu; // "전체": every menu
    QString kind; // "전체", "송신" or "수신"
    QString text;
};

struct LogRow {
    QString seq, logDate, logTime, menuName, jobLog;
};

struct Found {
    bool ok = false;
    bool missing = false; // the table does not exist
    QList<LogRow> rows;
    QString error;
};

// The month's rows, newest first.
Found search(const MonthFilter& f);
// The old table's rows of a date range (yyyymmdd), as stored.
Found searchOld(const QString& from, const QString& to, const QString& text);

// The texts the grids show: yyyy-mm-dd and hh:mm:ss.
QString dateText(const QString& yyyymmdd);
QString timeText(const QString& hhmmss);

} // namespace JobLogView
