// The kolmar command-line runner: shared pieces of its commands.
#pragma once

#include "gui/run/RunControl.h"

#include <memory>
#include <optional>
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
    std::string Command;                // run, check, upgrade, plot, export
    std::vector<std::string> Arguments; // the positional arguments after the command
    std::string Layout;                 // --layout 2012 | 6.0: overrides the file's content
    std::string Json;                   // --json FILE: where run writes the results file
    std::vector<std::string> Raw;       // every word after the command, options included
};

// Loads a project: .kx8d and .kxd files alike are read in the layout their content shows
// (the words of line 3), unless --layout names one; a name without any "." gets ".kx8d". A
// file read with an error is refused. On failure prints the reason to stderr, sets ExitStatus
// and returns nullptr.
std::unique_ptr<TProgramData> LoadProject(const std::string& Name, const std::string& Layout,
                                          std::string& ResolvedName, int& ExitStatus);

// Why the engine cannot read a .kx8d project as its file stands (an older layout under the
// current extension), with the advice to upgrade it; nothing for a file the engine reads and
// for .kxd files, which run converts.
std::optional<std::string> UpgradeNeeded(const TProgramData& Project, const std::string& Name);

// Writes an older .kxd project as a current-format .kx8d file of the same name beside it; an
// existing file of that name is never overwritten. Sets ExitStatus on failure.
bool ConvertOlderProject(TProgramData& Project, const std::string& Name, int& ExitStatus);

int RunCommand(const TCommandLine& Line);
int CheckCommand(const TCommandLine& Line);
// Rewrites a project in the current layout, keeping the file as it was beside it (.bak).
int UpgradeCommand(const TCommandLine& Line); // app/runner/cmd_upgrade.cpp
// A command that parses its own options from Line.Raw.
int ExportCommand(const TCommandLine& Line); // app/runner/cmd_export.cpp
// The results file of a run, printed, copied or converted to CSV; parses Line.Raw.
int ResultsCommand(const TCommandLine& Line); // app/runner/cmd_results.cpp
// The simulated bidirectional load test; parses Line.Raw.
int BidirectionalCommand(const TCommandLine& Line); // app/runner/cmd_bidirectional.cpp
