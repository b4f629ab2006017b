// The t-z load-settlement analysis of a 100 ft, 4 ft shaft through sand, clay and sand (one
// element per foot): curves, the three lines of fifteen tip movements each, and all listings
// into memory.
#include "settlement/soil_settlement.h"
#include "settlement/tz_solver.h"

#include <benchmark/benchmark.h>

#include <sstream>

namespace {

using namespace kolmar::engine::settlement;

ShaftCase HundredFootShaft() {
    ShaftCase s;
    s.diameter = 4.0;
    s.base_diameter = 4.0;
    s.length = 100.0;
    s.top_length = 5.0;
    s.bottom_length = 4.0;
    s.Ec = 3.6e6;
    s.Qbmax = 120.0;
    s.layers = {{1, 0.0, 30.0, 0.05, 0.65}, {2, 30.0, 70.0, 0.6, 0.9}, {1, 70.0, 100.0, 1.0, 1.3}};
    for (int d = 1; d <= 100; ++d) {
        s.profile_depth.push_back(d);
        s.profile_fs.push_back(d <= 30   ? 0.05 + 0.02 * d
                               : d <= 70 ? 0.6 + 0.0075 * (d - 30)
                                         : 1.0 + 0.01 * (d - 70));
    }
    s.increments = 100;
    return s;
}

} // namespace

static void BM_ThreeLineSolve100ft(benchmark::State& state) {
    const ShaftCase shaft = HundredFootShaft();
    for (auto _ : state) {
        std::ostringstream report, notes, tz, qw, t, q, l, chart;
        std::string tz_data, tz_diam;
        SettlementFiles files{report,
                              notes,
                              tz,
                              qw,
                              t,
                              q,
                              l,
                              chart,
                              [&](const std::string& text) { tz_data = text; },
                              [&](const std::string& text) { tz_diam = text; }};
        LoadSettlementTable table;
        DesignChartTable design;
        benchmark::DoNotOptimize(RunSoilSettlement(shaft, files, table, design));
        benchmark::DoNotOptimize(table);
    }
}
BENCHMARK(BM_ThreeLineSolve100ft)->Unit(benchmark::kMillisecond);

// The solver alone, as the largest run meets it: the trend line's fifteen tip movements carried
// up the 100 ft shaft in 160 elements, the top element kept.
static void BM_CarryUpFifteenTipMovements(benchmark::State& state) {
    ShaftCase shaft = HundredFootShaft();
    shaft.increments = 160;
    std::ostringstream report, notes;
    const TzGeometry geometry = PrepareLayers(shaft.layers);
    std::vector<TzCurve> curves;
    CurvePoints qw;
    if (BuildTzCurves(shaft, geometry, LoadTransferLine::trend, report, curves) != 0 ||
        BuildQwCurve(shaft, geometry, LoadTransferLine::trend, report, notes, qw) != 0) {
        state.SkipWithError("the shaft's curves could not be built");
        return;
    }
    const SolverShaft solver = MakeSolverShaft(shaft);
    const std::vector<SolverElement> elements = PrepareElements(solver, curves);
    const double most = LargestTransfer(curves);
    const std::array<double, kSettlementSteps> tip = TipMovements(solver.din);
    std::array<double, kSettlementSteps> tip_load;
    for (std::size_t k = 0; k < kSettlementSteps; ++k)
        tip_load[k] = ReadCurve(qw, tip[k]);
    std::array<CarryResult, kSettlementSteps> out;
    for (auto _ : state) {
        int bisected = 0, failed = 0;
        CarryUpTogether(solver, elements, most, tip_load, tip, KeepElements::top, out, bisected,
                        failed);
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_CarryUpFifteenTipMovements)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
