#include "data/DMBank.h"

TDMBankLib* DMBankLib = nullptr;
