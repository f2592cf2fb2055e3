#include "shared/Dialog.h"
#include "students/StudentStore.h"
