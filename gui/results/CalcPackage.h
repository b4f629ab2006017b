// The calculation package as a list of blocks (headings, text, tables, figures, warnings),
// built from a results file alone; the PDF and HTML writers lay the same blocks out.
#pragma once

#include "gui/data/JsonRead.h"

class TGraphPlot;

#include <string>
#include <utility>
#include <vector>

struct TReportBlock {
    enum class TKind { Heading, Text, Table, Figure, Warning, Elevation } Kind = TKind::Text;
    std::string Text;                           // heading, paragraph, caption or warning text
    std::vector<std::string> Header;            // table column headings
    std::vector<std::vector<std::string>> Rows; // table cells
    std::string Graph;                          // figure: the plot window's graph name
    TGraphPlot* Plot = nullptr; // figure: a graph of its own (not a result graph), owned elsewhere
    // Load-settlement figure: (load, settlement) in the graph's units, the shaft-top load at each
    // chart settlement of the results file, marked on the curves.
    std::vector<std::pair<double, double>> Marks;
};

struct TReportSignOff {
    std::string PreparedBy, CheckedBy;
};

struct TReportDocument {
    std::string Title;
    std::string FileName;
    std::vector<TReportBlock> Blocks;
};

// One line of the method summary: the formulas applied for a material and its method, with
// units and the published source. One table for every material the engine knows.
struct TMethodLine {
    const char* Material; // as the results file names a layer's material and method
    const char* Method;
    const char* Formulas;
    const char* Source;
};
const std::vector<TMethodLine>& MethodSummary();

// A number as the report prints it: fixed, with Decimals places, locale-independent.
std::string PrintedNumber(double Value, int Decimals);

// The package of one run. Graphs lists the figures asked for (empty: the default figures).
// Throws std::runtime_error when the file is not a results file (kolmar-results/1 or /2) or a
// case of it names no capacity table.
// ReportWarnings are the warning blocks of the run's report, which the results file's messages
// (the run notes' blocks) do not hold.
TReportDocument BuildReport(const TJson& Results, const std::string& ProjectFile,
                            const TReportSignOff& SignOff, const std::vector<std::string>& Graphs,
                            const std::vector<std::string>& ReportWarnings = {});

// The warning blocks of a report (.kx8o) as printed: from a line that holds "WARNING" to the
// first blank line.
std::vector<std::string> ReportWarningBlocks(const std::string& ReportText);
