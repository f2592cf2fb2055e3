#include "platform/sheet/SheetValue.h"

#include <cmath>

namespace SheetValue {

QString numberText(double v) {
    if (std::isfinite(v) && v == std::floor(v) && std::fabs(v) <= 9007199254740992.0) return QString::number(qint64(v));
    return QString::number(v, 'g', 15);
}

namespace {
const QDate kEpoch(1899, 12, 30);
}

double serialOf(const QDateTime& dt) {
    const double days = double(kEpoch.daysTo(dt.date()));
    const double secs = dt.time().isValid() ? dt.time().msecsSinceStartOfDay() / 1000.0 : 0.0;
    return days + secs / 86400.0;
}

QDateTime dateOfSerial(double serial) {
    const qint64 days = qint64(std::floor(serial));
    const qint64 ms = qint64(std::llround((serial - double(days)) * 86400000.0));
    return QDateTime(kEpoch.addDays(days), QTime(0, 0)).addMSecs(ms);
}

} // namespace SheetValue
