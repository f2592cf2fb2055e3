#pragma once
#include "platform/text/Cp949.h"
#include "data/DMModule.h"
