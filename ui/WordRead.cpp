// placeholder
#include "ui/WordRead.h"
