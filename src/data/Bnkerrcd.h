#pragma once
#include <QString>

// Reply codes read as numbers, for the inquiry of received results.
QString GetBankErrText(const QString& bankCd, const QString& replyCd);
QString BankErrTextStd(int code);
QString BankErrTextNH(int code);
QString BankErrText12(int code);
