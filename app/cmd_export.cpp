// kolmar export: not built into this runner yet.
#include "app/cli.h"

#include <iostream>

int ExportCommand(const TCommandLine&) {
    std::cerr << "kolmar: the export command is not available in this build\n";
    return ExitUsage;
}
