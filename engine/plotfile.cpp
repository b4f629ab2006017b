// Plot data file, section 1: the capacity curve and the load-settlement records of a case.
#include "plotfile.h"

#include "capacity.h"
#include "format.h"

#include <ostream>

namespace kolmar::engine {
namespace {

// The two leading points of every curve: the origin, then the first computation depth with zero
// resistance.
constexpr std::string_view kZeroPoint = "   0.0  0.0  0.0  0.0  0.0 0.0  0.0  ";
constexpr std::string_view kZeroValues = "   0.0   0.0  0.0 0.0  0.0  0.0 ";

double PerFactor(double value, double factor) {
    return factor > 0.0 ? value / factor : 0.0;
}

} // namespace

std::string PlotField(double value) {
    return " " + E(value, 10, 3);
}

void WritePlotCurveHeader(std::ostream& os, int curves, int points, int series) {
    WriteLine(os, I(curves, 12) + I(points, 12) + I(series, 12));
}

void WritePlotCapacityPoints(std::ostream& os, const InputData& in, const CapacityTable& table) {
    const bool lrfd = in.NLRFD == 1;
    const bool uplift = in.KCYCL == 2;
    WriteLine(os, kZeroPoint);
    const double first =
        table.rows.empty() ? 0.0 : ToOutputUnits(table.rows.front(), in.si()).length;
    WriteLine(os, PlotField(first) + std::string(kZeroValues));
    for (const CapacityRow& internal : table.rows) {
        const CapacityRow row = ToOutputUnits(internal, in.si());
        // Under uplift the tip columns hold the weight of the shaft (FSB counts as 1).
        const double side = lrfd ? row.QS_lrfd : PerFactor(row.QS, in.FST);
        const double tip = lrfd ? row.QB_lrfd : PerFactor(row.QB, uplift ? 1.0 : in.FSB);
        const double total = lrfd ? row.QU_lrfd : row.QDN;
        WriteLine(os, PlotField(row.length) + PlotField(row.QS) + PlotField(row.QB) +
                          PlotField(row.QU) + PlotField(side));
        WriteLine(os, PlotField(tip) + PlotField(total));
    }
}

void WritePlotLoadSettlement(std::ostream& os, const settlement::LoadSettlementTable& table,
                             int file_series) {
    const int blocks = file_series >= 3 ? 3 : 1;
    const settlement::LoadSettlementBlock none{};
    for (int b = 0; b < blocks; ++b) {
        const bool computed = b == 0 || table.series >= 3;
        const settlement::LoadSettlementBlock& block =
            computed ? table.block[static_cast<std::size_t>(b)] : none;
        for (const settlement::LoadSettlementRow& p : block)
            WriteLine(os, PlotField(p.top_load) + PlotField(p.top_movement) +
                              PlotField(p.tip_load) + PlotField(p.tip_movement));
    }
}

void WritePlotCurve(std::ostream& os, const InputData& in, const CaseSetup& setup,
                    const CapacityTable& capacity,
                    const settlement::LoadSettlementTable& settlement, int file_series) {
    WritePlotCurveHeader(os, setup.plot_curves, static_cast<int>(capacity.rows.size()) + 2,
                         file_series);
    WritePlotCapacityPoints(os, in, capacity);
    WritePlotLoadSettlement(os, settlement, file_series);
}

} // namespace kolmar::engine
