#pragma once
#include <QDate>
#include <QDateTime>

// The one source of today and now. Tests fix it.
namespace Clock {

QDateTime now();
QDate today();
// yyyymmdd / hhnnss / yyyymm of now.
QString todayText();
QString timeText();
QString yearMonthText();

void set(const QDateTime& fixed);
void reset();

} // namespace Clock
