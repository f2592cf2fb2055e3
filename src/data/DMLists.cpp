#include "data/DMMain.h"

void TDMData::LoadLists() {}
