// kolmar export in a build without the workbook library (the Windows build): the command is
// known, and says where the result graphs can be had instead.
#include "app/runner/cli.h"

#include <iostream>

int ExportCommand(const TCommandLine&) {
    std::cerr << "kolmar: export is not in this build: it has no workbook library "
                 "(libxlsxwriter). The results as CSV tables: kolmar results PROJECT "
                 "--format csv -o DIR\n";
    return ExitUsage;
}
