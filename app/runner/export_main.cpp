// kolmar-export: started by kolmar from its own directory, with kolmar's arguments unchanged, for
// `kolmar export`; the one program that loads the workbook writer. Not meant to be started by
// hand, but harmless when it is.
#include "app/runner/cli.h"

#include <cstring>
#include <iostream>

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "export") == 0) {
        TCommandLine line;
        line.Command = argv[1];
        line.Raw.assign(argv + 2, argv + argc);
        return ExportCommand(line);
    }
    std::cerr << "kolmar-export: writes the workbook of 'kolmar export'; try 'kolmar --help'.\n";
    return ExitUsage;
}
