#include "transfers/collection/Window.h"

#include "shared/F201B03.h"
#  include "van/MealItems.h"
#include <QString>
