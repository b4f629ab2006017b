// The program and the engine agree. A layer of every material, written by the project model,
// reaches the engine with every value in the engine's field of the same quantity. And English and
// SI agree: each example project, converted to SI by the project model and saved as the program
// saves it, gives the same capacities as the English original within printing precision. The plot
// files of both runs are read back by the program's plot-file reader, which must read them in
// step and find the same curves.
#include "gui/data/DataUnit.h"
#include "gui/data/PltData.h"
#include "input.h"
#include "si_agreement.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace kolmar::engine {
namespace {

using test::TempDir;

struct ProjectRun {
    test::RunResult result;
    std::unique_ptr<TProgramData> project;
    TResultGraphs graphs;
};

void RunAndRead(const std::string& text, ProjectRun& run, const TempDir& dir) {
    run.result = test::RunProject(dir, text);
    std::string error;
    run.project = TProgramData::CreateFromText(text, 1, &error);
    ASSERT_TRUE(run.project) << error;
    ASSERT_TRUE(error.empty()) << error;
    ASSERT_TRUE(ReadPlotData(run.graphs, *run.project, (dir / "run.kx8p").string(), &error))
        << error;
}

// A program column and the engine's field that must receive its value.
struct HeldIn {
    int column;
    TopBottom Layer::*field;
};

TEST(LayerRecords, EveryValueTheModelWritesReachesTheEngineFieldOfItsQuantity) {
    const std::vector<HeldIn> sand = {{SandCol::UnitWeight, &Layer::GAMMA},
                                      {SandCol::FrictionAngle, &Layer::PHI},
                                      {SandCol::BlowCounts, &Layer::BLOWS},
                                      {SandCol::InterfaceAngle, &Layer::DELTA}};
    const auto with = [](std::vector<HeldIn> columns, HeldIn more) {
        columns.push_back(more);
        return columns;
    };
    const std::vector<HeldIn> clay = {{ClayCol::UnitWeight, &Layer::GAMMA},
                                      {ClayCol::Cohesion, &Layer::CU},
                                      {ClayCol::BlowCounts, &Layer::BLOWS},
                                      {ClayCol::Alpha, &Layer::ALPHA},
                                      {ClayCol::Nc, &Layer::NC}};
    const std::vector<HeldIn> strong = {{StrongRockCol::Qu, &Layer::QUR},
                                        {StrongRockCol::ConcreteFc, &Layer::QUCON},
                                        {StrongRockCol::Spacing, &Layer::CS},
                                        {StrongRockCol::Thickness, &Layer::DISCT},
                                        {StrongRockCol::SocketDiameter, &Layer::BDS},
                                        {StrongRockCol::Modulus, &Layer::EL},
                                        {StrongRockCol::RQD, &Layer::RQD}};
    const std::vector<HeldIn> gravel = {{GravelCol::UnitWeight, &Layer::GAMMA},
                                        {GravelCol::BlowCounts, &Layer::BLOWS},
                                        {GravelCol::Beta, &Layer::BETA}};
    struct Case {
        int code;
        int method; // the sand method or the weak-rock interface condition
        std::vector<HeldIn> columns;
    };
    const std::vector<Case> cases = {
        {kSand, 1, with(sand, {SandCol::Ko, &Layer::KO})},
        {kSand, 2, with(sand, {SandCol::Beta, &Layer::BETA})},
        {kSand, 3, with(sand, {SandCol::M, &Layer::MEXP})},
        {kClay, 0, clay},
        {kClayShale, 0, clay},
        {kStrongRockSideOrBase, 0, strong},
        {kDecomposedRock,
         0,
         {{DecomposedCol::UnitWeight, &Layer::GAMMA},
          {DecomposedCol::BlowCounts, &Layer::BLOWS},
          {DecomposedCol::Poisson, &Layer::POISSON},
          {DecomposedCol::Modulus, &Layer::EGM},
          {DecomposedCol::SocketDiameter, &Layer::BDS}}},
        {kWeakRock,
         3,
         {{WeakRockCol::Qu, &Layer::QUR},
          {WeakRockCol::Slump, &Layer::SLUMP},
          {WeakRockCol::InterfaceAngle, &Layer::DELTA},
          {WeakRockCol::SocketDiameter, &Layer::BDS},
          {WeakRockCol::Modulus, &Layer::EL},
          {WeakRockCol::RQD, &Layer::RQD}}},
        {kStrongRockSideAndBase, 0, strong},
        {kGravellySand, 0, gravel},
        {kGravel, 0, gravel},
    };

    // Distinct values in every cell; a quarter on the real ones, which must not be rounded.
    const auto value = [](std::size_t layer, int column, int row, bool whole) {
        return 100.0 * static_cast<double>(layer + 1) + 10.0 * column + row + (whole ? 1.0 : 0.25);
    };
    std::unique_ptr<TProgramData> project = TProgramData::Create();
    project->PD = 60.0;
    project->DSTART = 3.0;
    ASSERT_TRUE(project->D.SetRowCount(static_cast<int>(cases.size())));
    for (std::size_t k = 0; k < cases.size(); ++k) {
        TSoilLayer& layer = project->D[static_cast<int>(k)];
        ASSERT_TRUE(layer.SetSoilType(cases[k].code));
        layer.Depth = 10.0 * static_cast<double>(k + 1);
        layer.MaxSideFriction = 1000.5 + static_cast<double>(k);
        layer.MaxEndBearing = 2000.5 + static_cast<double>(k);
        layer.LrfdSide = (50.0 + static_cast<double>(k)) / 100.0;
        layer.LrfdTip = (40.0 + static_cast<double>(k)) / 100.0;
        TParameterSet& set = layer.Params;
        for (int row = 0; row < TParameterSet::RowCount; ++row) {
            for (const HeldIn& held : cases[k].columns)
                set.SetValue(row, held.column,
                             value(k, held.column, row, set.Kind().Columns[held.column].IsInteger));
            if (cases[k].code == kSand)
                set.SetValue(row, SandCol::Method, cases[k].method);
            if (cases[k].code == kWeakRock)
                set.SetValue(row, WeakRockCol::Condition, cases[k].method);
        }
    }

    RunContext ctx;
    std::ostringstream console;
    ctx.console = &console;
    ctx.input_text = project->SaveToText();
    ReadInput(ctx);
    ASSERT_EQ(ctx.status, 0) << console.str() << ctx.input_text;
    ASSERT_EQ(ctx.input.layers.size(), cases.size());
    for (std::size_t k = 0; k < cases.size(); ++k) {
        const Layer& layer = ctx.input.layers[k];
        const TSoilLayer& written = project->D[static_cast<int>(k)];
        const std::string what = "layer " + std::to_string(k + 1);
        EXPECT_EQ(layer.code, cases[k].code) << what;
        EXPECT_EQ(layer.zbot, written.Depth) << what;
        for (const End end : {kTop, kBottom}) {
            for (const HeldIn& held : cases[k].columns)
                EXPECT_EQ((layer.*held.field)[end], written.Params.Value(end, held.column))
                    << what << ", column " << held.column << ", row " << end;
            EXPECT_EQ(layer.TRANLM[end], written.MaxSideFriction) << what;
            EXPECT_EQ(layer.QMAX[end], written.MaxEndBearing) << what;
        }
        EXPECT_EQ(layer.LRFDS, written.LrfdSide) << what;
        EXPECT_EQ(layer.LRFDB, written.LrfdTip) << what;
        if (cases[k].code == kSand) {
            EXPECT_EQ(layer.ISIDE, cases[k].method) << what;
        }
        if (cases[k].code == kWeakRock) {
            EXPECT_EQ(layer.ICOND, (std::array<int, 2>{cases[k].method, cases[k].method})) << what;
        }
    }
}

class SiAgreementTest : public ::testing::TestWithParam<const char*> {};

TEST_P(SiAgreementTest, SameCapacitiesInBothUnitSystems) {
    const std::string path = GetParam();
    const std::string name = path.substr(path.find('/') + 1);
    const std::string english_text = test::ReadFile(
        path.rfind("examples/", 0) == 0 ? std::string(KOLMAR_SOURCE_DIR) + "/" + path + ".kx8d"
                                        : std::string(KOLMAR_TEST_DATA) + "/" + path + ".kx8d");
    std::string error;
    const std::unique_ptr<TProgramData> converted =
        TProgramData::CreateFromText(english_text, 1, &error, name + ".kx8d");
    ASSERT_TRUE(converted) << error;
    converted->SetUnits(2);
    const std::string si_text = converted->SaveToText();

    TempDir english_dir, si_dir;
    ProjectRun english, si;
    RunAndRead(english_text, english, english_dir);
    RunAndRead(si_text, si, si_dir);
    ASSERT_EQ(english.result.status, si.result.status) << si.result.console;

    // These projects are single cases: one capacity curve, two leading points and one per row.
    ASSERT_EQ(english.graphs.pltTotal.LineCount(), 1);
    ASSERT_EQ(english.graphs.pltTotal.Count(),
              static_cast<int>(test::CapacityRows(english.result.notes).size()) + 2);
    test::ExpectSiAgreement({english.result.notes, english.graphs}, {si.result.notes, si.graphs},
                            english.project->NLRFD == 1, name);
}

INSTANTIATE_TEST_SUITE_P(Projects, SiAgreementTest,
                         ::testing::Values("data/sand_ko", "data/clay_bell_lrfd",
                                           "data/layered_uplift", "examples/strong-rock-socket",
                                           "examples/decomposed-rock",
                                           "examples/weak-rock-socket"));

} // namespace
} // namespace kolmar::engine
