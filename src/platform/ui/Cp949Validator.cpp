#include "platform/ui/Cp949Validator.h"

#include "platform/text/Cp949.h"

#include <QCursor>
#include <QLineEdit>
#include <QToolTip>

Cp949Validator::Cp949Validator(int maxBytes, bool digitsOnly, QObject* parent)
    : QValidator(parent), maxBytes_(maxBytes), digitsOnly_(digitsOnly) {}

QValidator::State Cp949Validator::validate(QString& input, int&) const {
    if (digitsOnly_)
        for (QChar c : input)
            if (c < QLatin1Char('0') || c > QLatin1Char('9')) return Invalid;
    if (!Cp949::canEncode(input)) {
        QToolTip::showText(QCursor::pos(), QStringLiteral("쓸 수 없는 문자입니다."));
        return Invalid;
    }
    return Cp949::byteLength(input) <= maxBytes_ ? Acceptable : Invalid;
}

void Cp949Validator::limit(QLineEdit* edit, int maxBytes, bool digitsOnly) {
    edit->setValidator(new Cp949Validator(maxBytes, digitsOnly, edit));
}
