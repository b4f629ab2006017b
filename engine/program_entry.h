// The programs' entry: one run on explicit paths (the project file, an output folder and a base
// name) that never reads or changes the working directory and keeps its scratch and staged
// files in memory, so that many runs may go on at once in one process. It writes the report,
// run notes, t-z listing and plot file exactly as IKOLMAR does, and the results file beside them,
// and keeps the results as data.
#pragma once

#include "results_data.h"

#include <array>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace kolmar::engine {

struct ProgramRun {
    std::filesystem::path input;      // the project file
    std::filesystem::path output_dir; // where the result files go
    std::string base;                 // their base name: BASE.kx8o, .kx8r, .kx8z, .kx8p
    std::filesystem::path json;       // the results file; empty = BASE.results.json beside them
    Clock clock;                      // the time of the run; empty = the local clock
};

// The tables a caller reads through the C interface.
enum class TableKind : int {
    capacity,
    layer_resistance,
    trend,
    upper_bound,
    lower_bound,
    design_charts,
    tz_trend,
    tz_upper_bound,
    tz_lower_bound,
    qw_trend,
    qw_upper_bound,
    qw_lower_bound,
    distribution_trend,
    distribution_upper_bound,
    distribution_lower_bound
};
inline constexpr int kTableKindCount = 15;

// What one run leaves: the status, the results kept as data, and on request the tables of a
// case and the results file's text. Tables and text are made the first time they are asked
// for (a run through the runner asks for neither) and then kept until the results are freed;
// they may be asked for from several threads at once.
struct ProgramResults {
    int status = 0;
    RunResults run;
    bool has_json = false; // the run got as far as its results file (not refused)
    std::string messages;  // what IKOLMAR would have written on the console

    // A table of a case; the design charts are kept with case 0. Null for a bad index or kind.
    const ResultTable* Table(int case_index, int kind) const;
    // The results file's text; empty when the run was refused.
    const std::string& Json() const;
    // The text as the run wrote it, kept for Json().
    void KeepJson(std::string text);

private:
    mutable std::mutex mutex_;
    // Per case (at least one); design charts in 0.
    mutable std::vector<std::array<std::unique_ptr<ResultTable>, kTableKindCount>> tables_;
    mutable std::unique_ptr<std::string> json_;
};

// The result file names of a request.
std::filesystem::path OutputPath(const ProgramRun& request, std::string_view extension);
std::filesystem::path JsonPath(const ProgramRun& request);

// Runs the analysis. Never throws: a failure becomes the status of the results.
std::unique_ptr<ProgramResults> RunProgram(const ProgramRun& request);

// Writes a file through a temporary file beside it, then renames it: `write` fills the stream
// (whose buffer is large), and the file is kept when the stream is good after it. False when it
// could not be written (the target is then untouched).
bool WriteFileAtomically(const std::filesystem::path& path,
                         const std::function<void(std::ostream&)>& write);
bool WriteFileAtomically(const std::filesystem::path& path, const std::string& text);
// The results file of a run, through a temporary file; `kept` as for WriteResultsJson.
bool WriteResultsFile(const std::filesystem::path& path, const RunResults& results,
                      std::string* kept = nullptr);

} // namespace kolmar::engine
