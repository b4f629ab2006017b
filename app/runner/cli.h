// The kolmar command-line runner: shared pieces of its commands.
#pragma once

#include "gui/run/RunControl.h"

#include <memory>
#include <string>
#include <vector>

class TProgramData;

// Exit codes of the runner's own failures. An analysis that ran exits with the engine's status
// (0 to 10); these lie above that range, after the BSD sysexits conventions.
enum ExitCode : int {
    ExitUsage = 64,       // wrong command line
    ExitDataError = 65,   // the project file cannot be read
    ExitNoInput = 66,     // the project file does not exist
    ExitCheckFailed = 67, // the layer check refused the project
    ExitNoEngine = 69,    // the engine library (or the picture companion) cannot be started
    ExitCantCreate = 73,  // a file could not be written
};

struct TCommandLine {
    std::string Command;                // run, check, plot, export
    std::vector<std::string> Arguments; // the positional arguments after the command
    std::string Layout;                 // --layout 2012 | 6.0, for .kxd files
    std::vector<std::string> Raw;       // every word after the command, options included
};

// Loads a project by its extension (.kx8d current format, .kxd older format in the layout
// given by --layout, 2012 by default); a name without any "." gets ".kx8d". On failure prints
// the reason to stderr, sets ExitStatus and returns nullptr.
std::unique_ptr<TProgramData> LoadProject(const std::string& Name, const std::string& Layout,
                                          std::string& ResolvedName, int& ExitStatus);

int RunCommand(const TCommandLine& Line);
int CheckCommand(const TCommandLine& Line);
// A command that parses its own options from Line.Raw.
int ExportCommand(const TCommandLine& Line); // app/runner/cmd_export.cpp
