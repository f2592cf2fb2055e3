#include "shared/MainHooks.h"

MainHooks& mainHooks() {
    static MainHooks h;
    return h;
}
