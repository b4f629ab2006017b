// Results as data: what a run through the programs' entry keeps of every case (the engine's own
// doubles), the tables made from it in the report's units, and the results file
// (NAME.results.json, "kolmar-results/2") written from them.
#pragma once

#include "run_context.h"
#include "settlement/tz_solver.h"

#include <array>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kolmar::engine {

// The curves of one line that the t-z method solved for a case, in the solver's units: the t-z
// curves (depth and movement in inches, load transfer in psi), the q-w curve (tip movement in
// inches against tip load in pounds) and, per tip movement of the fifteen, every element's
// mid-depth (inches), average load (pounds) and mid movement (inches): the load distribution.
struct LineCurves {
    bool solved = false;
    std::vector<settlement::TzCurve> tz;
    settlement::CurvePoints qw;
    struct Element {
        int step = 0; // tip movement, 1..15
        double depth = 0.0, load = 0.0, movement = 0.0;
    };
    std::vector<Element> distribution;
};
using CaseCurves = std::array<LineCurves, settlement::kLineCount>;

// The t-z and q-w curves and the load distribution are kept for the first cases of a run only:
// a run over many lengths and diameters (up to 2,000 cases) would otherwise keep some 40 values
// per element, tip movement and line of every case, gigabytes where the report takes 35 MB.
// Every case keeps its capacity table, design row, layer resistances and load-settlement lines.
inline constexpr std::size_t kCasesWithCurves = 20;

// What a run keeps of a case. The capacity table against length depends on the diameter and the
// profile alone, so the cases of one diameter over many lengths share one copy (2,000 cases of a
// large run would otherwise keep some 50 MB of identical tables); the case's own design row is
// kept beside it.
struct KeptCase {
    CaseSetup setup;
    double length = 0.0; // shaft length of the case, ft
    int design_row = -1; // row of the proposed or design length; -1 when there is none
    std::shared_ptr<const CapacityTable> capacity; // its design_row is not the case's
    settlement::LoadSettlementTable settlement;
    const CapacityTable& Capacity() const { return *capacity; }
};

// A warning, error or note block of the run notes: its kind ("warning", "error", "note"), the
// layer and depth its text names, and the text without its banner lines.
struct RunMessage {
    std::string kind;
    std::optional<long long> layer;
    std::optional<double> depth;
    std::string text;
};
// The blocks of run notes read line by line, so that the notes of a many-case run (tens of
// megabytes) are never held whole.
std::vector<RunMessage> ReadRunMessages(std::istream& run_notes);

// What the case loop keeps when ctx.results is set.
struct RunResults {
    std::vector<KeptCase> cases;    // every analysed case, in loop order
    std::vector<CaseCurves> curves; // the t-z method's curves of every case, beside `cases`
    CaseCurves pending;             // the curves of the case being analysed
    bool charts = false;            // design charts were computed
    std::unique_ptr<settlement::DesignChartTable> chart; // when computed (a large table)
    int chart_settlements = 0, chart_diameters = 0, chart_lengths = 0; // the extent computed

    // Filled by the programs' entry after the run.
    int status = 0;
    DateTime when;
    std::string input_path;
    std::string input_sha256;
    InputData input;                  // the project as read, internal English units
    bool input_read = false;          // the project was read (the input section is meaningful)
    std::vector<RunMessage> messages; // the blocks of the run notes

    // Keeps an analysed case, sharing its capacity table with an earlier case that computed
    // the same one.
    void Keep(const CaseResult& result);

private:
    // The most recent distinct tables, newest last, searched for a match.
    std::vector<std::shared_ptr<const CapacityTable>> recent_;
};

// A table of doubles, row-major, with a name and unit per column.
struct ResultColumn {
    std::string name;
    std::string unit;
};
struct ResultTable {
    std::string name;
    std::vector<ResultColumn> columns;
    std::vector<double> values; // rows * columns.size()
    std::size_t Rows() const { return columns.empty() ? 0 : values.size() / columns.size(); }
    double At(std::size_t row, std::size_t column) const {
        return values[row * columns.size() + column];
    }
};

class JsonWriter;
// A table as results files write it: its columns (name and unit), then its rows of numbers.
void WriteResultTable(JsonWriter& w, const ResultTable& t);

// The units of the report: English (ft, tons, tsf, cu yd, in) or SI (m, kN, kPa, cu m, m).
struct OutputUnits {
    const char* length;
    const char* force;
    const char* stress;
    const char* volume;
    const char* force_per_volume;
    const char* movement;
};
OutputUnits UnitsOf(const InputData& in);

// The tables of a case, in output units: the capacity table against length; the resistance of
// every layer along the shaft at the design length (empty without a design row); the
// load-settlement lines (trend, upper bound, lower bound) that the case computed, or the one
// curve of a rock method ("rock").
ResultTable CapacityTableOf(const InputData& in, const KeptCase& result);
// The columns of the capacity table, and one of its rows in output units.
inline constexpr std::size_t kCapacityColumns = 13;
std::vector<ResultColumn> CapacityColumnsOf(const InputData& in);
std::array<double, kCapacityColumns> CapacityValuesOf(const InputData& in, const CapacityRow& raw);
ResultTable LayerResistanceOf(const InputData& in, const KeptCase& result);
std::vector<ResultTable> LoadSettlementOf(const InputData& in, const KeptCase& result);
// The t-z curves (curve, depth, t, z), the q-w curve (tip load, tip movement) and the load
// distribution (step, depth, load, movement) of a solved line, in output units: depths in ft or
// m, t in psi or kPa, loads in tons or kN, movements in inches or metres.
ResultTable TzCurvesOf(const InputData& in, const LineCurves& line);
ResultTable QwCurveOf(const InputData& in, const LineCurves& line);
ResultTable LoadDistributionOf(const InputData& in, const LineCurves& line);
// The name of a line in the results: "trend", "upper_bound", "lower_bound".
std::string_view LineName(int line_index);
// The design charts: one row per settlement, diameter and length with the load.
ResultTable DesignChartsOf(const InputData& in, const RunResults& results);

// The name of a layer's material and of its side-resistance method.
std::string_view MaterialName(int code);
std::string MethodName(const Layer& layer);

// The meaning of a run status.
std::string_view StatusMeaning(int status);

// The results file, formatted piece by piece into `os` (never whole in memory). With `kept`, the
// text of a results file of at most kKeptResultsText bytes is also kept there (else it is left
// empty), so that a small run's text need not be formatted twice.
inline constexpr std::size_t kKeptResultsText = 4 << 20;
void WriteResultsJson(std::ostream& os, const RunResults& results, std::string* kept = nullptr);

} // namespace kolmar::engine
