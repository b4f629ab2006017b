// A single long shaft and the formatting of a report. The shaft is bench/data/long-single.kx8d:
// 8 ft, 201 ft in seven layers of sand and clay, with its three load-settlement lines, run
// through the engine entry with every file it writes. The formatting case writes the input
// echo and the PREDICTED RESULTS of a 100-row capacity table into memory, the work of the text
// alone.
#include "capacity.h"
#include "entry.h"
#include "input.h"
#include "kolmar/ikolmar.h"
#include "profile.h"
#include "report.h"
#include "run_context.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

using namespace kolmar::engine;

std::string ProjectText(const char* name) {
    std::ifstream in(std::filesystem::path(KOLMAR_SOURCE_DIR) / "bench" / "data" / name,
                     std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void BM_LongSingleCase(benchmark::State& state) {
    const std::string project = ProjectText("long-single.kx8d");
    if (project.empty()) {
        state.SkipWithError("cannot read bench/data/long-single.kx8d");
        return;
    }
    std::string pattern = (std::filesystem::temp_directory_path() / "kolmar-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        state.SkipWithError("cannot create a temporary directory");
        return;
    }
    const std::filesystem::path dir = pattern;
    std::ofstream(dir / "bench.kx8d", std::ios::binary) << project;
    std::string names = "2017.8.9\nbench.kx8d\n";
    for (const char* ext : {".kx8o", ".kx8p", ".kx8r", ".kx8z", ".kx8w", ".kx8t", ".kx8q", ".kx8l"})
        names += std::string("bench") + ext + "\n";
    std::ofstream(dir / "names.dat", std::ios::binary) << names;
    for (auto _ : state) {
        RunContext ctx;
        std::ostringstream console;
        ctx.console = &console;
        ctx.work_dir = dir;
        const int status = RunEntry(KOLMAR_CALL_CODE, ctx);
        if (status != KOLMAR_STATUS_OK)
            state.SkipWithError("the run did not complete");
        benchmark::DoNotOptimize(status);
    }
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}
BENCHMARK(BM_LongSingleCase)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_ReportFormatting(benchmark::State& state) {
    RunContext ctx;
    std::ostringstream console;
    ctx.console = &console;
    ctx.input_text = ProjectText("long-single.kx8d");
    ReadInput(ctx);
    const InputData grid = GridProfile(ctx.input);
    CaseSetup setup;
    setup.diameter = ctx.input.DSTART;
    CapacityTable table;
    std::ostringstream notes;
    ComputeCapacity(ctx, grid, setup, table, notes);
    if (table.rows.empty()) {
        state.SkipWithError("the capacity table is empty");
        return;
    }
    for (auto _ : state) {
        std::ostringstream report;
        WriteInputEcho(report, ctx.input);
        WritePredictedResults(report, ctx.input, table);
        benchmark::DoNotOptimize(report.str().size());
    }
    state.counters["rows"] = static_cast<double>(table.rows.size());
}
BENCHMARK(BM_ReportFormatting)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
