// kolmar plot: not built into this runner yet.
#include "app/cli.h"

#include <iostream>

int PlotCommand(const TCommandLine&) {
    std::cerr << "kolmar: the plot command is not available in this build\n";
    return ExitUsage;
}
