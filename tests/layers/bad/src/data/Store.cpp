#include "data/Store.h"
#include "platform/db/Database.h"
#include <reports/StdListV.h>
