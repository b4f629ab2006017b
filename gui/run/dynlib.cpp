#include "gui/run/dynlib.h"
