// kolmar-paint: started by kolmar from its own directory, with kolmar's arguments unchanged, for
// the commands that paint. Not meant to be started by hand, but harmless when it is.
#include "app/paint/paint.h"
#include "app/runner/cli.h"

#include <iostream>
#include <string>

int main(int argc, char** argv) {
    TCommandLine line;
    if (argc >= 2)
        line.Command = argv[1];
    line.Raw.assign(argv + (argc >= 2 ? 2 : 1), argv + argc);
    if (line.Command == "plot")
        return PlotCommand(line);
    if (line.Command == "report")
        return ReportCommand(line);
    std::cerr << "kolmar-paint: draws the pictures of 'kolmar plot' and 'kolmar report'; try "
                 "'kolmar --help'.\n";
    return ExitUsage;
}
