// What a run's notes say went wrong: the engine's error and warning blocks picked out of the
// run notes (.kx8r), so that the program can show them with the run's outcome instead of
// leaving the user to search the file. Exports TRunNotesSummary, ReadRunNotesProblems and
// RunOutcomeText.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct TRunNotesSummary {
    bool Read = false;               // the run notes could be read
    std::vector<std::string> Errors; // each block as lines joined by "\n", in file order, once
    std::vector<std::string> Warnings;
};

// The distinct error and warning blocks of a run-notes text. A block starts at a line that
// names an error or a warning (an ERROR or WARNING banner, "NEED ANOTHER SOIL LAYER") and runs
// to the next blank line; its common indent is removed.
TRunNotesSummary RunNotesProblems(const std::string& Notes);
// The same of a run-notes file; Read false when it cannot be read.
TRunNotesSummary ReadRunNotesProblems(const std::filesystem::path& File);

// The one message of a finished run: for a nonzero status, its meaning and the first error (or
// warning) blocks of the run notes; for status 0, the completion message and, with warnings,
// how many the run notes hold. PlotError, the plot reader's refusal, is added for status 0.
std::string RunOutcomeText(int Status, const TRunNotesSummary& Notes, const std::string& PlotError);
