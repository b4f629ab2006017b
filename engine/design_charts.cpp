// Design charts after the case loop (plot section and report), the most efficient shaft of a
// design-load run, and the note on cases beyond the loop's limits.
#include "design_charts.h"

#include "capacity.h"
#include "format.h"
#include "input.h"
#include "settlement/tz_curves.h"

#include <algorithm>
#include <ostream>
#include <string>

namespace kolmar::engine {
namespace {

using settlement::ListRecord;

constexpr double kLbPerTon = 2000.0;
constexpr double kLbPerKn = 224.82;
constexpr double kInPerFt = 12.0;

bool EnglishUnits(const InputData& in) {
    return in.units == "EN" || in.units == "en";
}

// A settlement of the chart table (inches) in the project's unit: inches, or metres.
double SettlementOut(const InputData& in, double inches) {
    return EnglishUnits(in) ? inches : inches / kMToIn;
}

} // namespace

void WritePlotDesignCharts(std::ostream& os, const InputData& in, const ChartExtent& extent,
                           const settlement::DesignChartTable& chart) {
    WriteLine(os, ListRecord(extent.NT) + ListRecord(extent.ND) + ListRecord(extent.NQ));
    const double diameter_factor = in.si() ? 0.0254 : 1.0;
    for (int k = 1; k <= extent.NT; ++k) {
        WriteLine(os, ListRecord({SettlementOut(in, in.PDSETT[static_cast<std::size_t>(k - 1)])}));
        for (int j = 1; j <= extent.ND; ++j) {
            WriteLine(os, F(chart.Diameter(j) * diameter_factor, 10, 4));
            for (int i = 1; i <= extent.NQ; ++i)
                WriteLine(os, ListRecord({chart.Length(i), chart.Load(i, j, k)}));
        }
    }
}

void WriteDesignChartReport(std::ostream& os, const InputData& in, const ChartExtent& extent,
                            const settlement::DesignChartTable& chart) {
    const bool english = EnglishUnits(in);
    const double length_per_in = english ? 1.0 / kInPerFt : 1.0 / kMToIn;
    const double load_per_lb = english ? 1.0 / kLbPerTon : 1.0 / kLbPerKn;
    constexpr std::string_view title = "DESIGN CHART CURVES";
    WriteBlankLines(os, 3);
    WriteLine(os, Blanks(5) + std::string(title));
    WriteLine(os, Blanks(5) + Repeat('-', static_cast<int>(title.size())));
    for (int k = 1; k <= extent.NT; ++k) {
        const double settlement = in.PDSETT[static_cast<std::size_t>(k - 1)];
        WriteBlankLines(os, 2);
        WriteLine(
            os, Blanks(5) + "- SETTLEMENT, " +
                    (english ? F(settlement, 9, 3) + " IN" : F(settlement / kMToIn, 9, 4) + " M"));
        for (int first = 1; first <= extent.ND; first += kDiametersPerPage) {
            const int last = std::min(extent.ND, first + kDiametersPerPage - 1);
            WriteBlankLines(os, 1);
            WriteLine(os, Blanks(3) + "LENGTH" + Blanks(10) +
                              (english ? "DIAMETER, FT" : "DIAMETER, M"));
            std::string diameters = Blanks(3) + (english ? " (FT) " : "  (M) ");
            for (int j = first; j <= last; ++j)
                diameters += F(chart.Diameter(j) * length_per_in, 9, 2);
            WriteLine(os, diameters);
            WriteLine(os, Blanks(3 + 6 + 10) + (english ? "TOP LOAD, TONS" : "TOP LOAD, KN"));
            for (int i = extent.NQ; i >= 1; --i) {
                std::string row = F(chart.Length(i) * length_per_in, 9, 2);
                for (int j = first; j <= last; ++j)
                    row += F(chart.Load(i, j, k) * load_per_lb, 9, 2);
                WriteLine(os, row);
            }
        }
    }
}

void KeepIfMoreEfficient(const InputData& in, const CaseResult& result, EfficientShaft& kept) {
    const CapacityTable& table = result.capacity;
    if (table.design_row < 0 || table.design_row >= static_cast<int>(table.rows.size()))
        return;
    const CapacityRow& row = table.rows[static_cast<std::size_t>(table.design_row)];
    if (!(row.volume > 0.0))
        return;
    const double efficiency = in.NLRFD == 1 ? row.QU_lrfd / row.volume : row.QU_per_volume;
    if (kept.found && !(efficiency > kept.efficiency))
        return;
    kept = EfficientShaft{true,       table.shaft.D, table.shaft.Bb, row.length,
                          row.volume, row.QU,        efficiency};
}

void WriteEfficientShaft(std::ostream& os, const InputData& in, const EfficientShaft& shaft) {
    const bool si = in.si();
    const double length = si ? 1.0 / kMToFt : 1.0;
    const double force = si ? 1.0 / kKnToTons : 1.0;
    const double volume = si ? 1.0 / kCuYdPerCuM : 1.0;
    const double efficiency = si ? 1.0 / kTonsPerCuYdPerKnPerCuM : 1.0;
    const std::string length_unit = si ? " M" : " FT.";
    WriteBlankLines(os, 3);
    WriteLine(os, " THE MOST EFFICIENT SHAFT FOR THIS SOIL PROFILE");
    WriteLine(os, " APPEARS TO BE THE FOLLOWING ONE:");
    const auto line = [&os](const std::string& text) {
        WriteBlankLines(os, 1);
        WriteLine(os, text);
    };
    line(" DIAMETER OF STEM       =" + F(shaft.D * length, 5, 2) + length_unit);
    line(" DIAMETER OF BASE       =" + F(shaft.Bb * length, 5, 2) + length_unit);
    line(" ESTIMATED SHAFT LENGTH =" + F(shaft.length * length, 5, 0) + length_unit);
    // A short rock socket carries many times its volume: in SI its capacity per cubic metre
    // (11.6 times the English figure) outgrows the two decimals of its field.
    line(" VOLUME OF CONCRETE     =" + FFit(shaft.volume * volume, 7, 2) +
         (si ? " CU.M" : " CU.YDS."));
    line(" ULTIMATE LOAD CAPACITY =" + FFit(shaft.QU * force, 10, 2) + (si ? " KN" : " TONS"));
    line(" QU/VOLUME OF CONCRETE  =" + FFit(shaft.efficiency * efficiency, 7, 2) +
         (si ? " KN /CU.M" : " TONS/CU.YD."));
}

void WriteCasesNotAnalysed(std::ostream& os, const InputData& in, double first_diameter,
                           double first_length) {
    const bool si = in.si();
    const auto length = [si](double ft) { return F(si ? ft / kMToFt : ft, 9, 3); };
    const std::string unit = si ? " M" : " FT";
    if (first_diameter >= 0.0) {
        WriteBlankLines(os, 2);
        WriteLine(os, Blanks(5) + "NOTE: A RUN ANALYSES AT MOST " + std::to_string(kMaxDiameters) +
                          " DIAMETERS PER SHAFT LENGTH.");
        WriteLine(os, Blanks(5) + "THE DIAMETERS FROM" + length(first_diameter) + unit + " UP TO" +
                          length(in.DIALIM) + unit + " WERE NOT ANALYSED.");
    }
    if (first_length >= 0.0) {
        WriteBlankLines(os, 2);
        WriteLine(os, Blanks(5) + "NOTE: A RUN ANALYSES AT MOST " + std::to_string(kMaxLengths) +
                          " SHAFT LENGTHS.");
        WriteLine(os, Blanks(5) + "THE LENGTHS FROM" + length(first_length) + unit +
                          " DOWN TO (NOT INCLUDING)" + length(in.PDMIN) + unit +
                          " WERE NOT ANALYSED.");
    }
}

} // namespace kolmar::engine
