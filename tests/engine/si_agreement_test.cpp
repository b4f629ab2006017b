// The program and the engine agree. A layer of every material, written by the project model,
// reaches the engine with every value in the engine's field of the same quantity. And English and
// SI agree: each example project, converted to SI by the project model and saved as the program
// saves it, gives the same capacities as the English original within printing precision. The plot
// files of both runs are read back by the program's plot-file reader, which must read them in
// step and find the same curves.
#include "gui/data/DataUnit.h"
#include "gui/data/PltData.h"
#include "input.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <locale>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace kolmar::engine {
namespace {

using test::TempDir;

constexpr double kFtPerM = 3.2808;
constexpr double kTonsPerKn = 0.1124;
constexpr double kCuYdPerCuM = 1.3078;
constexpr double kTonsPerCuYdPerKnPerCuM = 0.08594586;

// The capacity rows of the run notes (every line of the row width), as numbers.
std::vector<std::vector<double>> Rows(const std::string& notes) {
    std::vector<std::vector<double>> rows;
    for (const std::string& line : test::Lines(notes)) {
        if (line.size() != 73 || line[0] != ' ')
            continue;
        std::istringstream in(line);
        in.imbue(std::locale::classic());
        std::vector<double> values;
        for (double v; in >> v;)
            values.push_back(v);
        if (values.size() == 8)
            rows.push_back(values);
    }
    return rows;
}

// An English value printed with `english_decimals` against an SI value converted by `factor`
// (English per SI unit) and printed with two decimals: equal within both roundings and the
// small differences of the two sets of conversion factors.
void ExpectAgree(double english, double si, double factor, int english_decimals,
                 const std::string& what) {
    const double converted = si * factor;
    const double tolerance =
        0.5 * std::pow(10.0, -english_decimals) + 0.005 * factor + 2e-4 * std::fabs(english);
    EXPECT_NEAR(converted, english, tolerance) << what;
}

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

    const auto english_rows = Rows(english.result.notes);
    const auto si_rows = Rows(si.result.notes);
    ASSERT_FALSE(english_rows.empty());
    ASSERT_EQ(english_rows.size(), si_rows.size());
    const bool lrfd = english.project->NLRFD == 1;
    for (std::size_t r = 0; r < english_rows.size(); ++r) {
        const std::vector<double>& e = english_rows[r];
        const std::vector<double>& s = si_rows[r];
        const std::string row = name + ", row " + std::to_string(r + 1);
        ExpectAgree(e[0], s[0], kFtPerM, 1, row + " length");
        ExpectAgree(e[1], s[1], kCuYdPerCuM, 1, row + " volume");
        for (std::size_t k = 2; k < 7; ++k)
            ExpectAgree(e[k], s[k], kTonsPerKn, 1, row + " column " + std::to_string(k + 1));
        ExpectAgree(e[7], s[7], lrfd ? kTonsPerKn : kTonsPerCuYdPerKnPerCuM, 2,
                    row + " last column");
    }
    // The shaft length of the case agrees too.
    const std::string length = "SHAFT LENGTH              =";
    const std::size_t at_en = english.result.notes.find(length);
    const std::size_t at_si = si.result.notes.find(length);
    ASSERT_NE(at_en, std::string::npos);
    ASSERT_NE(at_si, std::string::npos);
    ExpectAgree(std::stod(english.result.notes.substr(at_en + length.size(), 9)),
                std::stod(si.result.notes.substr(at_si + length.size(), 9)), kFtPerM, 2,
                "shaft length");

    // The plot files, as the program reads them: two leading points and one per row, the same
    // curve in both unit systems (three significant digits in the file).
    const TGraphPlot& e_total = english.graphs.pltTotal;
    const TGraphPlot& s_total = si.graphs.pltTotal;
    ASSERT_EQ(e_total.LineCount(), 1);
    ASSERT_EQ(e_total.Count(), static_cast<int>(english_rows.size()) + 2);
    ASSERT_EQ(s_total.Count(), e_total.Count());
    for (int j = 2; j < e_total.Count(); ++j) {
        const TFloatPoint& e = e_total.Data(0, j);
        const TFloatPoint& s = s_total.Data(0, j);
        EXPECT_NEAR(e.Y, english_rows[static_cast<std::size_t>(j - 2)][0], 1e-9);
        EXPECT_NEAR(s.Y * kFtPerM, e.Y, 0.005 * e.Y) << "point " << j;
        // Both files round to three significant digits.
        EXPECT_NEAR(s.X * kTonsPerKn, e.X, 0.0105 * e.X + 0.01) << "point " << j;
        EXPECT_NEAR(e.X, english_rows[static_cast<std::size_t>(j - 2)][4],
                    0.005 * e.X + 0.05); // QU
    }

    // The load-settlement curves: the same loads (tons against kN) at the same settlements
    // (inches against metres), within the three significant digits of both files.
    const TGraphPlot* graphs[] = {&english.graphs.pltAxial, &english.graphs.pltUpper,
                                  &english.graphs.pltLower};
    const TGraphPlot* si_graphs[] = {&si.graphs.pltAxial, &si.graphs.pltUpper, &si.graphs.pltLower};
    for (std::size_t g = 0; g < 3; ++g) {
        ASSERT_EQ(graphs[g]->Count(), si_graphs[g]->Count());
        for (int k = 1; k < graphs[g]->Count(); ++k) {
            const TFloatPoint& e = graphs[g]->Data(0, k);
            const TFloatPoint& s = si_graphs[g]->Data(0, k);
            const std::string point =
                name + ", curve " + std::to_string(g + 1) + ", point " + std::to_string(k);
            EXPECT_TRUE(std::isfinite(static_cast<double>(e.X)) &&
                        std::isfinite(static_cast<double>(e.Y)))
                << point;
            EXPECT_NEAR(s.X * kTonsPerKn, e.X, 0.012 * std::fabs(e.X) + 1e-3) << point << " load";
            EXPECT_NEAR(s.Y * 39.37, e.Y, 0.012 * std::fabs(e.Y) + 1e-6) << point << " settlement";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Projects, SiAgreementTest,
                         ::testing::Values("data/sand_ko", "data/clay_bell_lrfd",
                                           "data/layered_uplift", "examples/strong-rock-socket",
                                           "examples/decomposed-rock",
                                           "examples/weak-rock-socket"));

} // namespace
} // namespace kolmar::engine
