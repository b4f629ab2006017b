// The report of a capacity run (.kx8o) and its run notes (.kx8r): the input echo (design value,
// uplift factor, layers, water table, factors of safety, SOIL INFORMATION with the parameter
// blocks of every material, INPUT DRILLED SHAFT INFORMATION, the multiple-length and design-chart
// headings), COMPUTATION RESULTS with the case heading, DRILLED SHAFT INFORMATION and PREDICTED
// RESULTS, and the run-notes summary of a case. English or SI unit words by the project; SI
// values are converted back from the internal English units for printing.
#pragma once

#include "run_context.h"

#include <iosfwd>
#include <string>
#include <string_view>

namespace kolmar::engine {

// The input echo, from the design value down to INPUT DRILLED SHAFT INFORMATION. Returns true
// when a printed value carried the estimate mark (the footnote was then written).
bool WriteInputEcho(std::ostream& os, const InputData& in);

// The headings of a multiple-length run ("VARY SHAFT LENGTH FOR INITIAL DIAMETER") and of a
// design-chart run ("COMPUTATION OF LRFD CHARTS" with the chart settlements).
void WriteVaryLengthHeading(std::ostream& os, const InputData& in);
void WriteDesignChartHeading(std::ostream& os, const InputData& in);

void WriteComputationResultsHeading(std::ostream& os);

// "- CASE ANALYZED" with the length and diameter variations, after three blank lines.
void WriteCaseHeading(std::ostream& os, const CaseSetup& setup);

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

} // namespace kolmar::engine
