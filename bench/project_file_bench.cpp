// Reading and writing a project file of the largest size the tables allow (40 layers).
#include "gui/data/DataUnit.h"

#include <benchmark/benchmark.h>

namespace {
std::string FortyLayerProject() {
    auto project = TProgramData::Create();
    project->PD = 60;
    project->DSTART = 3;
    for (int i = 1; i < MaxLayers; ++i)
        project->D.Add();
    for (int i = 0; i < MaxLayers; ++i) {
        TSoilLayer& layer = project->D[i];
        layer.SetSoilType(1 + i % 9);
        layer.Depth = 2.5 * (i + 1);
        for (int row = 0; row < 2; ++row)
            for (int col = 0; col < layer.Params.ColumnCount(); ++col)
                if (!layer.Params.Kind().Columns[col].IsInteger)
                    layer.Params.SetValue(row, col, 100.0 + 0.37 * i + row);
    }
    return project->SaveToText();
}
} // namespace

static void BM_ReadProject(benchmark::State& state) {
    const std::string text = FortyLayerProject();
    for (auto _ : state) {
        std::string error;
        auto project = TProgramData::CreateFromText(text, 1, &error, "bench.kx8d");
        benchmark::DoNotOptimize(project);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadProject);

static void BM_WriteProject(benchmark::State& state) {
    std::string error;
    auto project = TProgramData::CreateFromText(FortyLayerProject(), 1, &error, "bench.kx8d");
    for (auto _ : state)
        benchmark::DoNotOptimize(project->SaveToText());
}
BENCHMARK(BM_WriteProject);

BENCHMARK_MAIN();
