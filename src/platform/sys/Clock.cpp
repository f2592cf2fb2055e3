#include "platform/sys/Clock.h"

#include <optional>

namespace {
std::optional<QDateTime>& fixedTime() {
    static std::optional<QDateTime> t;
    return t;
}
} // namespace

namespace Clock {

QDateTime now() { return fixedTime() ? *fixedTime() : QDateTime::currentDateTime(); }
QDate today() { return now().date(); }
QString todayText() { return today().toString(QStringLiteral("yyyyMMdd")); }
QString timeText() { return now().time().toString(QStringLiteral("HHmmss")); }
QString yearMonthText() { return today().toString(QStringLiteral("yyyyMM")); }
void set(const QDateTime& fixed) { fixedTime() = fixed; }
void reset() { fixedTime().reset(); }

} // namespace Clock
