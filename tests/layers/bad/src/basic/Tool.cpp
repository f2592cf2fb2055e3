#include "basic/Tool.h"

#include "frame/Main.h"
#include "transfers/common/BatFile.h"
