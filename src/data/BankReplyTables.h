#pragma once
#include <QList>

#include <utility>

// The banks' reply codes and their texts, shared by the two readers of them.
namespace BankReply {
using Rows = QList<std::pair<const char*, const char16_t*>>;
// Two-digit codes of banks 10, 11 and 12.
const Rows& nhTwoDigit();
// Four-digit codes of the other banks (without bank 03's own set).
const Rows& standardFourDigit();
// Four-digit codes as banks 10, 11 and 12 send them.
const Rows& nhFourDigit();
// Bank 03's own set.
const Rows& bank03();
} // namespace BankReply
