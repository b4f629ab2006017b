#include "gui/data/DataUnit.h"
