// Export of result graphs to a spreadsheet workbook (.xlsx) and to CSV files. The workbook
// has a "Legend" sheet that indexes the exported graphs and, for the k-th graph, a data sheet
// "Page_k" with its curves and a chart sheet "Plot_k" with an x-y chart of them. Qt-free,
// written with libxlsxwriter. Exports the table of the 26 exportable graphs, the column-letter
// rule, the axis titles, WriteExcelWorkbook, the completion message and the CSV writers.
#pragma once

#include "gui/data/PltData.h"

#include <array>
#include <string>
#include <vector>

// One of the 26 exportable graphs: its row (1..26, the fixed export order), its name in the
// program ("pltSkin"), the member of the result graphs and the Graphics menu item that
// offers it.
struct TExportRow {
    int Row;
    const char* Name;
    TGraphPlot TResultGraphs::*Graph;
    TGraphicsItem Item;
};
const std::array<TExportRow, TResultGraphs::GraphCount>& ExportRows();

// The row of a graph name, case ignored; 0 when no graph has that name.
int ExportRowOfName(const std::string& Name);

// Rows of the graphs that may be exported now: those whose Graphics menu item is enabled and
// that hold at least one curve the run computed (not every point at the origin).
std::vector<int> OfferedExportRows(const TGraphicsMenuState& Menu, const TResultGraphs& Graphs);

// The graph of a row (1..26); std::out_of_range for another row.
const TGraphPlot& GraphOfExportRow(const TResultGraphs& Graphs, int Row);

// Spreadsheet column letters of a 1-based column: A..Z, then AA..ZZ (27 is AA, 52 AZ, 53 BA,
// 510 SP), then three letters; empty for a column below 1.
std::string ColumnLetters(int Column);

// An axis title as the plot window shows it: the caption, followed by " (" unit name ")" when
// the units string is not empty, the unit name being the units string in the graph's system
// (1 English, 2 SI, 3 as written).
std::string AxisTitle(const std::string& Caption, const std::string& Units, int System);

// A chart holds at most this many series; a graph with more curves is charted with its
// first 255 (its data sheet holds all of them).
constexpr int MaxChartSeries = 255;
// Curves per data sheet: two columns each, within a sheet's 16384 columns.
constexpr int MaxExportCurves = 8192;

struct TExportResult {
    bool Ok = false;
    bool more255 = false; // a chart was cut to 255 series
    std::string Error;    // why nothing was written, when not Ok
};

// Writes Graphs, in order, into a new workbook FileName (replacing an existing file only when
// the whole workbook could be written). Markers false gives every series the marker style
// none. A graph with a value that is not a finite number, or with more than MaxExportCurves
// curves, is refused with a message naming the graph, the curve and the point.
TExportResult WriteExcelWorkbook(const std::string& FileName,
                                 const std::vector<const TGraphPlot*>& Graphs, bool Markers);

// The message shown when the export has completed; each line ends with "\n".
std::string ExportCompletedMessage(bool more255);

// One graph as CSV text for scripts: a head row with two columns per curve, "<curve>: <X
// title>" and "<curve>: <Y title>", then one row per point, the values in the general format
// with 15 significant digits; a curve shorter than the longest leaves its cells empty.
// Fields are quoted where they hold a comma, a quote or a line break. Lines end with "\n".
// A value that is not a finite number is refused with std::domain_error naming it.
std::string GraphCsvText(const TGraphPlot& Graph);

// Writes GraphCsvText to FileName; false with the reason in *Error.
bool WriteGraphCsv(const std::string& FileName, const TGraphPlot& Graph, std::string* Error);
