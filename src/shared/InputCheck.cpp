#include "shared/InputCheck.h"

#include "platform/text/Cp949.h"

#include <QDate>

#include <algorithm>

namespace InputCheck {

bool hasControl(const QString& text) {
    return std::any_of(text.cbegin(), text.cend(),
                       [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
}

QString textProblem(const QString& label, const QString& text, int width) {
    // A line break or tab in a name would split the fixed-width records of
    // the bank files it goes into.
    if (hasControl(text) || !Cp949::canEncode(text)) return QStringLiteral("%1에 쓸 수 없는 문자가 있습니다!!").arg(label);
    if (width > 0 && Cp949::byteLength(text) > width)
        return QStringLiteral("%1은(는) 한글 %2자, 영문/숫자 %3자까지 입력할 수 있습니다!!")
            .arg(label)
            .arg(width / 2)
            .arg(width);
    return {};
}

Refusal checkText(const QString& caption, int field, const QString& label, const QString& text, int width) {
    const QString p = textProblem(label, text, width);
    if (p.isEmpty()) return {};
    return Refusal{caption, p, field};
}

std::optional<qint64> wholeWon(const QString& text) {
    QString t = text.trimmed();
    t.remove(QLatin1Char(','));
    // Fifteen digits: beyond that the sums of a round would not fit.
    if (t.isEmpty() || t.size() > 15) return std::nullopt;
    for (QChar ch : t)
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9')) return std::nullopt;
    return t.toLongLong();
}

QString amountProblem(const QString& text) {
    if (text.trimmed().isEmpty()) return QStringLiteral("금액을 입력하세요!");
    if (!wholeWon(text)) return QStringLiteral("금액은 숫자로만 입력하세요!");
    return {};
}

QString dateMessage() {
    return QStringLiteral("일자가 올바르지 않습니다. yyyy-mm-dd 형식으로 입력하세요!!");
}

bool isDay(const QString& yyyymmdd) {
    if (yyyymmdd.size() != 8) return false;
    for (QChar ch : yyyymmdd)
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9')) return false;
    return QDate(yyyymmdd.left(4).toInt(), yyyymmdd.mid(4, 2).toInt(), yyyymmdd.mid(6, 2).toInt()).isValid();
}

QString dateProblem(const QString& yyyymmdd) {
    if (yyyymmdd.trimmed().isEmpty() || isDay(yyyymmdd)) return {};
    return dateMessage();
}

} // namespace InputCheck
