// The largest run the case loop allows: 100 shaft lengths (130 ft down to 31 ft) times 20
// diameters (2 ft to 11.5 ft) with design charts at 10 settlements, sand over clay, through the
// engine entry with every file it writes (report, run notes, plot file, listings). Measured in
// process CPU time, so that other work on a shared machine does not count.
#include "entry.h"
#include "kolmar/ikolmar.h"
#include "run_context.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

using namespace kolmar::engine;

std::string LargestProject() {
    return "Largest run: 100 lengths, 20 diameters, 10 chart settlements\r\n"
           "1 \r\n"
           "2 1 1 1 1 2 0 1 0 0 0\r\n"
           "2 11.5 0 0 0 0 3600000\r\n"
           "2 15 130 2.5 3\r\n"
           "30 1 0.5 10\r\n"
           "0.1 0.2 0.3 0.4 0.5 0.75 1 1.5 2 3 \r\n"
           "1 60 \r\n0.0 115 32 0 12 0 0 1 1 \r\n0.0 118 36 0 30 0 0 1 1 \r\n2 \r\n0 0 \r\n"
           "2 160 \r\n0 122 0.0 1800 0 0 0 1 1 \r\n0 126 0.0 4000 0 0 0 1 1 \r\n0 0\r\n";
}

void BM_LargestCaseLoop(benchmark::State& state) {
    std::string pattern = (std::filesystem::temp_directory_path() / "kolmar-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        state.SkipWithError("cannot create a temporary directory");
        return;
    }
    const std::filesystem::path dir = pattern;
    std::ofstream(dir / "bench.kx8d", std::ios::binary) << LargestProject();
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
BENCHMARK(BM_LargestCaseLoop)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
