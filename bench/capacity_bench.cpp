// The capacity analysis of a 100 ft profile of 10 layers (sands by the three methods, clay, clay
// shale, gravelly sand, gravel, strong rock): the table alone, and a whole run through the engine
// entry with its files.
#include "capacity.h"
#include "entry.h"
#include "input.h"
#include "kolmar/ikolmar.h"
#include "profile.h"
#include "resistance.h"
#include "run_context.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

using namespace kolmar::engine;

std::string TenLayerProject() {
    return "Capacity benchmark: 100 ft, 10 layers\r\n"
           "1 \r\n"
           "1 1 1 1 1 2 0 0 0 0 0\r\n"
           "3 3 0 0 0 0 3600000\r\n"
           "10 12 600 2.5 3\r\n"
           "1 10 \r\n0.0 115 0 0 10 0 0 1 1 \r\n0.0 118 0 0 14 0 0 1 1 \r\n1 \r\n0.8 0.7 \r\n"
           "1 20 \r\n0.0 118 33 0 15 0 0 1 1 \r\n0.0 120 34 0 18 0 0 1 1 \r\n2 \r\n0 0 \r\n"
           "1 30 \r\n0.0 120 0 30 18 0 0 1 1 \r\n0.0 122 0 30 22 0 0 1 1 \r\n3 \r\n0 0.5 \r\n"
           "2 40 \r\n0 120 0.0 1500 0 0 0 1 1 \r\n0 122 0.0 2200 0 0 0 1 1 \r\n0 0 \r\n"
           "2 50 \r\n0 122 0.0 0 8 0 0 1 1 \r\n0 124 0.0 0 12 0 0 1 1 \r\n0.5 0.5 \r\n"
           "3 60 \r\n9 128 0.0 8000 40 0 0 1 1 \r\n9 130 0.0 9000 45 0 0 1 1 \r\n0 0 \r\n"
           "8 70 \r\n125 30 0 0 0 1 1 \r\n128 35 0 0 0 1 1 \r\n"
           "9 80 \r\n130 40 0 0 0 1 1 \r\n132 45 0 0 0 1 1 \r\n"
           "7 90 \r\n300000 576000 2 0.01 2.5 0 1000000 80 0 1 1 \r\n"
           "320000 576000 2 0.01 2.5 0 1000000 85 0 1 1 \r\n"
           "7 100 \r\n400000 576000 3 0.01 2.5 0 2000000 90 0 1 1 \r\n"
           "420000 576000 3 0.01 2.5 0 2000000 95 0 1 1 \r\n";
}

void BM_CapacityTable(benchmark::State& state) {
    RunContext ctx;
    std::ostringstream console;
    ctx.console = &console;
    ctx.input_text = TenLayerProject();
    ReadInput(ctx);
    const InputData grid = GridProfile(ctx.input);
    CaseSetup setup;
    setup.diameter = ctx.input.DSTART;
    for (auto _ : state) {
        CapacityTable table;
        std::ostringstream notes;
        ComputeCapacity(ctx, grid, setup, table, notes);
        benchmark::DoNotOptimize(table.rows.back().QU);
    }
}
BENCHMARK(BM_CapacityTable);

void BM_CapacityRun(benchmark::State& state) {
    std::string pattern = (std::filesystem::temp_directory_path() / "kolmar-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        state.SkipWithError("cannot create a temporary directory");
        return;
    }
    const std::filesystem::path dir = pattern;
    std::ofstream(dir / "bench.kx8d", std::ios::binary) << TenLayerProject();
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
BENCHMARK(BM_CapacityRun)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
