#pragma once
#include <QString>

// Bank rules: account numbers, request-file check values, reply texts.
class TDMBankLib {
public:
    TDMBankLib() = default;
};

extern TDMBankLib* DMBankLib;
