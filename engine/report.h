// The report of a capacity run (.kx8o) and its run notes (.kx8r): the input echo (design value,
// uplift factor, layers, water table, factors of safety, SOIL INFORMATION with the parameter
// blocks of every material, INPUT DRILLED SHAFT INFORMATION, the multiple-length and design-chart
// headings), COMPUTATION RESULTS with the case heading, DRILLED SHAFT INFORMATION and PREDICTED
// RESULTS, and the run-notes summary of a case. English or SI unit words by the project; SI
// values are converted back from the internal English units for printing.
#pragma once

#include "run_context.h"

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace kolmar::engine {

// The input echo, from the design value down to INPUT DRILLED SHAFT INFORMATION. Returns true
// when a printed value carried the estimate mark (the footnote was then written).
bool WriteInputEcho(std::ostream& os, const InputData& in);

// The headings of a multiple-length run ("VARY SHAFT LENGTH FOR INITIAL DIAMETER") and of a
// design-chart run ("COMPUTATION OF LRFD CHARTS" with the chart settlements).
void WriteVaryLengthHeading(std::ostream& os, const InputData& in);
void WriteDesignChartHeading(std::ostream& os, const InputData& in);

void WriteComputationResultsHeading(std::ostream& os);

// "- CASE ANALYZED" with the length and diameter variations, after three blank lines; the same
// as one text, for a heading that goes to several files.
void WriteCaseHeading(std::ostream& os, const CaseSetup& setup);
std::string CaseHeadingText(const CaseSetup& setup);

// DRILLED SHAFT INFORMATION of a case in the report.
void WriteShaftInformation(std::ostream& os, const InputData& in, const ShaftGeometry& shaft);

// The run-notes summary of a case's shaft: stem and base diameters and the shaft length.
void WriteRunNotesShaftInformation(std::ostream& os, const InputData& in,
                                   const ShaftGeometry& shaft, double length);

// PREDICTED RESULTS: the ASD or LRFD legend, the two-line column header and the rows.
void WritePredictedResults(std::ostream& os, const InputData& in, const CapacityTable& table);
// The same with the rows already formatted (CapacityRowsText), for a table that goes to the
// report and the run notes alike.
void WritePredictedResults(std::ostream& os, const InputData& in, std::string_view rows);

// One capacity row in the fixed columns of the report, in output units.
std::string CapacityRowLine(const InputData& in, const CapacityRow& row);
void WriteCapacityRows(std::ostream& os, const InputData& in, const CapacityTable& table);
// The rows of the table, one line each, as one text.
std::string CapacityRowsText(const InputData& in, const CapacityTable& table);

// The formatted rows of the capacity tables of one run. The cases of one diameter mostly share
// one table, and the report and the run notes print it for every case: a table whose printed
// values are bit for bit those of a table formatted before gets that text again, without
// formatting it anew. The values are compared, never the text. Holds a bounded number of
// tables; one per run (it is not shared between threads).
class CapacityRowsCache {
public:
    // The rows of `table` exactly as CapacityRowsText writes them; the reference holds until the
    // next call.
    const std::string& Text(const InputData& in, const CapacityTable& table);
    // Tables formatted so far, the ones found in the cache not counted.
    int formatted() const { return formatted_; }

    static constexpr std::size_t kTables = 64; // tables kept; the oldest goes first

private:
    struct Entry {
        std::vector<std::uint64_t> values; // the kind of table, then the bits of every printed
                                           // value, row by row
        std::string text;
    };
    std::vector<Entry> entries_;
    std::size_t oldest_ = 0;
    int formatted_ = 0;
};

} // namespace kolmar::engine
