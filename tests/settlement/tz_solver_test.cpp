// The t-z solver: tip movements, axial stiffness, load transfer by depth, carrying up the load,
// defined settlements, the design-chart table, and the physics of whole cases (bounds, stiffness,
// elastic shortening).
#include "settlement/soil_settlement.h"

#include "kolmar/ikolmar.h"
#include "kolmar/portable.h"
#include "settlement_support.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cmath>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <tuple>

namespace kolmar::engine::settlement {
namespace {

using test::LoadAtSettlement;
using test::MemoryFiles;
using test::SandOverClay;
using test::SettlementAtLoad;

// Runs the three lines of a case in memory.
struct Solved {
    MemoryFiles files;
    LoadSettlementTable table;
    DesignChartTable chart;
    int status = -1;

    explicit Solved(const ShaftCase& shaft) {
        SettlementFiles f = files.Files();
        status = RunSoilSettlement(shaft, f, table, chart);
    }
};

TEST(TipMovementTest, TheLastThreeFollowTheDiameterOrTheOneBefore) {
    struct Case {
        double din;
        std::array<double, 3> last;
    };
    const Case cases[] = {
        {12.0, {0.625, 0.78125, 0.9765625}}, // each raised to 1.25 times the previous
        {50.0, {0.5, 1.25, 2.5}},            // 0.5 equals the one before: kept
        {100.0, {1.0, 2.5, 5.0}},
    };
    for (const Case& c : cases) {
        const auto w = TipMovements(c.din);
        EXPECT_DOUBLE_EQ(w[0], 0.00001);
        EXPECT_DOUBLE_EQ(w[11], 0.5);
        for (std::size_t k = 0; k < 3; ++k)
            EXPECT_DOUBLE_EQ(w[12 + k], c.last[k]) << "diameter " << c.din << ", k = " << 13 + k;
    }
}

TEST(TipLoadTest, BeyondTheLastQwPointTheBaseHoldsItsLastLoad) {
    // A 9 in shaft: the last tip movement, 0.977 in, lies past the q-w curve's 0.9 in.
    ShaftCase s = SandOverClay();
    s.diameter = s.base_diameter = 0.75;
    Solved solved(s);
    ASSERT_EQ(solved.status, 0);
    const LoadSettlementBlock& trend = solved.table.Block(LoadTransferLine::trend);
    EXPECT_DOUBLE_EQ(trend[14].tip_movement, 0.9765625);
    EXPECT_DOUBLE_EQ(trend[14].tip_load, 0.991 * 63.6); // cohesive trend line at 10 % of Db
    EXPECT_DOUBLE_EQ(trend[13].tip_load,
                     ReadCurve(BuildCurve(Family(BaseFamily::cohesive), LoadTransferLine::trend,
                                          9.0, 63.6 * 2000.0),
                               0.78125) /
                         2000.0);
}

TEST(StiffnessTest, StemStiffnessDownToTheBellThenLinearToTheBase) {
    ShaftCase s = SandOverClay();
    s.base_diameter = 6.0;
    s.bell_height = 3.0;
    s.bottom_length = 2.0;
    const SolverShaft solver = MakeSolverShaft(s);
    const double eas = 3.6e6 * 0.7854 * 36.0 * 36.0;
    const double eab = 3.6e6 * 0.7854 * 72.0 * 72.0;
    EXPECT_DOUBLE_EQ(AxialStiffness(solver, 100.0), eas);
    EXPECT_DOUBLE_EQ(AxialStiffness(solver, 420.0), eas);
    EXPECT_DOUBLE_EQ(AxialStiffness(solver, 450.0), (eas + eab) / 2.0);
    EXPECT_DOUBLE_EQ(AxialStiffness(solver, 480.0), eab);
    EXPECT_DOUBLE_EQ(solver.exclusion_top, 60.0);
    EXPECT_DOUBLE_EQ(solver.exclusion_bottom, 420.0);
}

// Two flat-topped curves (fmax 10 and 20 psi) at 100 and 200 inches.
std::vector<TzCurve> TwoCurves() {
    std::vector<TzCurve> curves(2);
    for (std::size_t i = 0; i < 2; ++i) {
        curves[i].number = static_cast<int>(i) + 1;
        curves[i].depth = 100.0 * static_cast<double>(i + 1);
        curves[i].fmax = 10.0 * static_cast<double>(i + 1);
        curves[i].points = BuildCurve(Family(SideFamily::cohesionless),
                                      LoadTransferLine::upper_bound, 36.0, curves[i].fmax);
    }
    return curves;
}

// TwoCurves and a clay curve at 300 in below them: two curves of one family (the same
// movements), then two of different families.
std::vector<TzCurve> TwoCurvesAndClay() {
    std::vector<TzCurve> curves = TwoCurves();
    TzCurve clay = curves.back();
    clay.number = 3;
    clay.depth = 300.0;
    clay.points = BuildCurve(Family(SideFamily::cohesive), LoadTransferLine::trend, 36.0, 7.0);
    curves.push_back(clay);
    return curves;
}

TEST(LoadTransferTest, CurvesAroundTheDepthReadAtTheMovement) {
    SolverShaft shaft;
    shaft.length = 480.0;
    shaft.exclusion_top = 30.0;
    shaft.exclusion_bottom = 400.0;
    const std::vector<TzCurve> curves = TwoCurves();
    const double w = 1.0; // beyond 0.6 % of 36 in: both curves at their maximum
    struct Case {
        double z;
        double t;
    };
    const Case cases[] = {
        {100.0, 10.0}, // exactly at a curve: that curve alone
        {150.0, 15.0}, // between two curves
        {50.0, 5.0},   // above the first curve: from zero at the surface
        {300.0, 20.0}, // below the deepest curve: the deepest alone
        {20.0, 0.0},   // in the top portion without side resistance
        {410.0, 0.0},  // in the bottom portion without side resistance
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(LoadTransfer(shaft, curves, c.z, w), c.t) << "depth " << c.z;
    EXPECT_DOUBLE_EQ(LoadTransfer(shaft, curves, 100.0, 0.018), 2.25); // half the first point
    EXPECT_EQ(LoadTransfer(shaft, {}, 150.0, w), 0.0);
}

TEST(LoadTransferTest, ReadsByCursorGiveTheValuesOfTheFullSearch) {
    // Curves of one family (same movements, one search serves both reads) and of two families,
    // read at movements that climb, fall back, land on points and leave the curves at both
    // ends: every read, by whatever cursor the reads before left, is the full search's value to
    // the last bit.
    SolverShaft shaft;
    shaft.length = 480.0;
    shaft.exclusion_bottom = 480.0;
    const std::vector<TzCurve> curves = TwoCurvesAndClay();
    const double on_point = curves[0].points.movement[3];
    const double movements[] = {0.0,    1e-5, 0.004, 0.02,     0.05,  on_point, 0.03,
                                0.0001, 0.5,  5.0,   on_point, 0.011, 0.19,     -1.0};
    for (const double z : {50.0, 150.0, 250.0, 100.0, 400.0}) {
        TransferPoint point = LocateTransfer(shaft, curves, z);
        TransferCursor cursor;
        for (const double w : movements)
            EXPECT_EQ(TransferAt(point, w, cursor), TransferAt(point, w))
                << "depth " << z << ", movement " << w;
    }
    EXPECT_TRUE(LocateTransfer(shaft, curves, 150.0).shared);
    EXPECT_FALSE(LocateTransfer(shaft, curves, 250.0).shared);
}

TEST(CarryUpTest, KeepingTheTopElementAloneGivesTheSameTopTipAndCounts) {
    ShaftCase s = SandOverClay();
    s.increments = 40;
    const SolverShaft solver = MakeSolverShaft(s);
    const std::vector<TzCurve> curves = TwoCurves();
    std::vector<SolverElement> elements = PrepareElements(solver, curves);
    for (const double tip : {0.0001, 0.05, 0.9}) {
        CarryResult all, top;
        int bisected_all = 0, failed_all = 0, bisected_top = 0, failed_top = 0;
        CarryUp(solver, elements, 20.0, 5000.0, tip, KeepElements::all, all, bisected_all,
                failed_all);
        CarryUp(solver, elements, 20.0, 5000.0, tip, KeepElements::top, top, bisected_top,
                failed_top);
        ASSERT_EQ(all.elements.size(), 40u);
        ASSERT_EQ(top.elements.size(), 1u);
        EXPECT_EQ(top.top_load, all.top_load) << "tip movement " << tip;
        EXPECT_EQ(top.top_movement, all.top_movement) << "tip movement " << tip;
        EXPECT_EQ(top.elements[0].mid_movement, all.elements.back().mid_movement);
        EXPECT_EQ(top.elements[0].average_load, all.elements.back().average_load);
        EXPECT_EQ(bisected_top, bisected_all);
        EXPECT_EQ(failed_top, failed_all);
    }
}

// Every recorded value of two carryings-up, to the last bit.
void ExpectSameCarry(const CarryResult& a, const CarryResult& b, const std::string& where) {
    EXPECT_EQ(a.top_load, b.top_load) << where;
    EXPECT_EQ(a.top_movement, b.top_movement) << where;
    EXPECT_EQ(a.tip_load, b.tip_load) << where;
    ASSERT_EQ(a.elements.size(), b.elements.size()) << where;
    for (std::size_t i = 0; i < a.elements.size(); ++i) {
        const ElementResult& x = a.elements[i];
        const ElementResult& y = b.elements[i];
        const auto values = [](const ElementResult& e) {
            return std::make_tuple(e.mid_movement, e.t, e.top_load, e.top_movement, e.average_load,
                                   e.compression, e.bisected, e.converged);
        };
        EXPECT_EQ(values(x), values(y)) << where << ", element " << i + 1;
    }
}

TEST(CarryUpTest, CarryingUpTogetherGivesEachLaneItsOwnCarryingUp) {
    // Lanes settle after different numbers of steps, read different segments of the curves
    // (before the first point, between points, past the last), and on the steep drop some are
    // bisected: each lane must still be exactly the carrying-up made alone.
    ShaftCase sand = SandOverClay();
    sand.increments = 40;
    const std::vector<TzCurve> curves = TwoCurvesAndClay();

    ShaftCase soft = SandOverClay();
    soft.increments = 3;
    soft.Ec = 6.4e4;
    soft.top_length = 0.0;
    TzCurve drop;
    drop.number = 1;
    drop.depth = 480.0;
    drop.points.movement = {0.0, 0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9};
    drop.points.value = {0.0, 20.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0};

    // The same drop between two curves of the same movements: lanes read both curves at one
    // segment (two lanes to an instruction where both stay in their segments), and some are
    // bisected there.
    TzCurve drop_above = drop;
    drop_above.depth = 200.0;
    drop_above.points.value[1] = 16.0;

    const struct {
        const char* name;
        ShaftCase shaft;
        std::vector<TzCurve> curves;
    } cases[] = {{"sand over clay", sand, curves},
                 {"steep drop", soft, {drop}},
                 {"steep drop between two curves", soft, {drop_above, drop}}};
    for (const auto& c : cases) {
        const SolverShaft solver = MakeSolverShaft(c.shaft);
        const std::vector<SolverElement> elements = PrepareElements(solver, c.curves);
        if (c.curves.size() > 1) {
            EXPECT_TRUE(std::any_of(elements.begin(), elements.end(),
                                    [](const SolverElement& e) { return e.transfer.shared; }))
                << c.name << ": no element reads two curves at one segment";
        }
        const std::array<double, kSettlementSteps> tips = TipMovements(solver.din);
        std::array<double, kSettlementSteps> loads;
        for (std::size_t k = 0; k < loads.size(); ++k)
            loads[k] = 1000.0 + 4000.0 * static_cast<double>(k);
        for (const KeepElements keep : {KeepElements::all, KeepElements::top}) {
            std::array<CarryResult, kSettlementSteps> together;
            int bisected = 0, failed = 0;
            CarryUpTogether(solver, elements, 20.0, loads, tips, keep, together, bisected, failed);
            int bisected_alone = 0, failed_alone = 0;
            for (std::size_t k = 0; k < tips.size(); ++k) {
                CarryResult alone;
                CarryUp(solver, elements, 20.0, loads[k], tips[k], keep, alone, bisected_alone,
                        failed_alone);
                ExpectSameCarry(together[k], alone,
                                std::string(c.name) + ", lane " + std::to_string(k));
            }
            EXPECT_EQ(bisected, bisected_alone) << c.name;
            EXPECT_EQ(failed, failed_alone) << c.name;
            if (std::string(c.name) != "sand over clay") {
                EXPECT_GT(bisected, 0) << c.name;
            }
        }
    }

    const SolverShaft solver = MakeSolverShaft(sand);
    const std::vector<SolverElement> elements = PrepareElements(solver, curves);
    std::vector<double> many(kMaxLanes + 1, 0.1);
    std::vector<CarryResult> out(many.size());
    int bisected = 0, failed = 0;
    EXPECT_THROW(CarryUpTogether(solver, elements, 20.0, many, many, KeepElements::top, out,
                                 bisected, failed),
                 std::invalid_argument);
}

TEST(CarryUpTest, OneElementCarriesTheWholeShaft) {
    ShaftCase s = SandOverClay();
    s.increments = 1;
    SolverShaft solver = MakeSolverShaft(s);
    solver.exclusion_top = 0.0;
    const std::vector<TzCurve> curves = TwoCurves();
    const CarryResult r = CarryUp(solver, curves, 1000.0, 1.0);
    ASSERT_EQ(r.elements.size(), 1u);
    const ElementResult& e = r.elements[0];
    EXPECT_DOUBLE_EQ(e.mid_depth, 240.0);
    EXPECT_DOUBLE_EQ(e.top_depth, 0.0);
    EXPECT_DOUBLE_EQ(e.t, 20.0);
    EXPECT_NEAR(r.top_load, 1000.0 + 3.1416 * 36.0 * 480.0 * 20.0, 1e-6);
    EXPECT_DOUBLE_EQ(r.top_load, e.top_load);
    EXPECT_DOUBLE_EQ(r.top_movement, e.top_movement);
}

TEST(CarryUpTest, WithoutCurvesTheBaseCarriesEverything) {
    const SolverShaft solver = MakeSolverShaft(SandOverClay());
    const CarryResult r = CarryUp(solver, {}, 5000.0, 0.1);
    EXPECT_DOUBLE_EQ(r.top_load, 5000.0);
    EXPECT_NEAR(r.top_movement - 0.1, 5000.0 * 480.0 / solver.EAs, 1e-12);
}

TEST(CarryUpTest, AnElementOnASteepDropIsSolvedByBisection) {
    // One 40 ft element on a curve that falls from 20 psi to nothing between 0.1 and 0.2 in:
    // the fixed-point steps jump across the drop, and the element is solved by bisection of
    // the same equation.
    ShaftCase s = SandOverClay();
    s.increments = 1;
    s.Ec = 6.4e4;
    s.top_length = 0.0;
    const SolverShaft solver = MakeSolverShaft(s);
    TzCurve curve;
    curve.number = 1;
    curve.depth = 240.0;
    curve.points.movement = {0.0, 0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9};
    curve.points.value = {0.0, 20.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0};
    const CarryResult r = CarryUp(solver, {curve}, 1000.0, 0.001);
    const ElementResult& e = r.elements[0];
    EXPECT_TRUE(e.bisected);
    EXPECT_TRUE(e.converged);
    EXPECT_GT(e.mid_movement, 0.1);
    EXPECT_LT(e.mid_movement, 0.2);
    const double ae = AxialStiffness(solver, e.mid_depth);
    const double again = e.bottom_movement +
                         solver.h / 4.0 * (e.bottom_load + (e.bottom_load + e.top_load) / 2) / ae;
    EXPECT_NEAR(again, e.mid_movement, 1e-5);
}

TEST(SettlementLookupTest, TipMovementFromTheTopMovementOfTheRows) {
    std::array<CarryResult, kSettlementSteps> rows;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        rows[k].top_movement = 0.1 * static_cast<double>(k + 1);
        rows[k].tip_movement = 0.05 * static_cast<double>(k + 1);
    }
    rows[1].top_movement = rows[0].top_movement; // two rows at the same top movement
    struct Case {
        double s;
        double tip;
    };
    const Case cases[] = {
        {0.05, 0.0},   // below the first top movement
        {0.1, 0.075},  // the two rows with this top movement: their mean
        {0.2, 0.125},  // between rows
        {0.4, 0.2},    // at a row
        {0.45, 0.225}, // between rows
        {1.5, 0.75},   // at the last row
        {1.7, 0.85},   // above: the last two rows extended
    };
    for (const Case& c : cases)
        EXPECT_NEAR(TipMovementForSettlement(rows, c.s), c.tip, 1e-12) << "settlement " << c.s;
}

TEST(DesignChartTableTest, IndicesOutsideTheTableAreRefused) {
    DesignChartTable chart;
    chart.Load(100, 20, 10) = 7.0;
    EXPECT_EQ(chart.Load(100, 20, 10), 7.0);
    EXPECT_THROW(chart.Load(101, 1, 1), std::out_of_range);
    EXPECT_THROW(chart.Load(1, 21, 1), std::out_of_range);
    EXPECT_THROW(chart.Load(1, 1, 0), std::out_of_range);
    EXPECT_THROW(chart.Diameter(21), std::out_of_range);
    EXPECT_THROW(chart.Length(0), std::out_of_range);
}

TEST(CaseTest, LayersOfTheProfileOnTheWholeFootGridCutAtTheTip) {
    InputData input;
    for (const auto& [code, top, bottom] :
         {std::tuple{1, 0.0, 10.4}, std::tuple{2, 10.4, 20.5}, std::tuple{3, 20.5, 40.0}}) {
        Layer layer;
        layer.code = code;
        layer.ztop = top;
        layer.zbot = bottom;
        input.layers.push_back(layer);
    }
    const auto fs = [](const Layer& layer, double depth) { return layer.code + depth / 100.0; };
    struct Case {
        double length;
        std::vector<TzLayer> expected;
    };
    const Case cases[] = {
        {30.0, {{1, 0, 10, 1.0, 1.1}, {2, 10, 21, 2.1, 2.21}, {3, 21, 30, 3.21, 3.3}}},
        {21.0, {{1, 0, 10, 1.0, 1.1}, {2, 10, 21, 2.1, 2.21}}}, // a tip on a boundary
        {45.0, {{1, 0, 10, 1.0, 1.1}, {2, 10, 21, 2.1, 2.21}, {3, 21, 40, 3.21, 3.4}}},
    };
    for (const Case& c : cases) {
        const std::vector<TzLayer> layers = TzLayersToTip(input, c.length, fs);
        ASSERT_EQ(layers.size(), c.expected.size()) << "length " << c.length;
        for (std::size_t j = 0; j < layers.size(); ++j) {
            EXPECT_EQ(layers[j].code, c.expected[j].code);
            EXPECT_DOUBLE_EQ(layers[j].top, c.expected[j].top) << "layer " << j + 1;
            EXPECT_DOUBLE_EQ(layers[j].bottom, c.expected[j].bottom) << "layer " << j + 1;
            EXPECT_DOUBLE_EQ(layers[j].fs_top, c.expected[j].fs_top) << "layer " << j + 1;
            EXPECT_DOUBLE_EQ(layers[j].fs_bottom, c.expected[j].fs_bottom) << "layer " << j + 1;
        }
    }
    // A profile that ends above the tip: the solver stops with status 4.
    ShaftCase s = SandOverClay();
    s.length = 45.0;
    s.layers = TzLayersToTip(input, 45.0, fs);
    Solved solved(s);
    EXPECT_EQ(solved.status, KOLMAR_STATUS_TIP_BEYOND);
    EXPECT_NE(solved.files.run_notes.str().find("THE VALUE OF X = 0.54E+03 IS BEYOND"),
              std::string::npos);
}

TEST(CaseTest, LayerResistanceFromTheStepsOfItsOwnLayer) {
    InputData input;
    input.layers.resize(3);
    // Steps at the middle of every foot: layer 0 down to 2 ft, layer 1 down to 4 ft; layer 2
    // has no step.
    const UnitSideResistance fs =
        ResistanceFromSteps(input, {0.5, 1.5, 2.5, 3.5}, {0, 0, 1, 1}, {0.1, 0.2, 0.6, 0.8});
    struct Case {
        std::size_t layer;
        double z;
        double fs;
    };
    for (const Case c :
         {Case{0, 0.0, 0.1}, Case{0, 1.0, 0.15}, Case{0, 2.0, 0.2}, Case{1, 2.0, 0.6},
          Case{1, 3.0, 0.7}, Case{1, 4.0, 0.8}, Case{2, 3.0, 0.7}, Case{2, 9.0, 0.8}})
        EXPECT_NEAR(fs(input.layers[c.layer], c.z), c.fs, 1e-12)
            << "layer " << c.layer << " at " << c.z << " ft";
    EXPECT_THROW(ResistanceFromSteps(input, {0.5}, {}, {0.1}), std::invalid_argument);
}

TEST(CaseTest, ScratchFilesOfARunAreRewrittenInItsWorkingDirectory) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() /
        ("kolmar-settlement-" + std::to_string(kolmar::ProcessNumber()));
    std::filesystem::remove_all(dir);
    ASSERT_TRUE(std::filesystem::create_directory(dir));
    RunContext ctx;
    ctx.work_dir = dir;
    SettlementFiles files = FilesOf(ctx);
    files.rewrite_tz_diam(" 1\n");
    files.rewrite_tz_diam(" 2\n");
    files.rewrite_tz_data("listing\n");
    EXPECT_EQ(test::ReadText(dir / "TZDIAM.DAT"), " 2\n");
    EXPECT_EQ(test::ReadText(dir / "TZDATA.DAT"), "listing\n");
    std::filesystem::remove_all(dir);
}

TEST(CaseTest, ACaseWithoutConcreteModulusIsRefusedWithAnErrorBlock) {
    ShaftCase s = SandOverClay();
    s.Ec = 0.0;
    s.diameter = -1.0;
    Solved solved(s);
    EXPECT_EQ(solved.status, KOLMAR_STATUS_BAD_INPUT);
    const std::string expected =
        "\n\n     *********************ERROR**********************\n"
        "     THE LOAD-SETTLEMENT ANALYSIS CANNOT BE MADE:\n"
        "     THE SHAFT DIAMETER MUST BE GREATER THAN ZERO.\n"
        "     THE ELASTIC MODULUS OF THE SHAFT CONCRETE, Ec, MUST BE GREATER THAN ZERO.\n\n\n";
    EXPECT_EQ(solved.files.report.str(), expected);
    EXPECT_EQ(solved.files.run_notes.str(), expected);
}

TEST(CaseTest, DataNoProjectCanProduceThrows) {
    ShaftCase s = SandOverClay();
    s.increments = 0;
    EXPECT_THROW(Solved{s}, std::invalid_argument);
    s = SandOverClay();
    s.profile_fs.pop_back();
    EXPECT_THROW(Solved{s}, std::invalid_argument);
    s = SandOverClay();
    s.layers[0].fs_top = std::nan("");
    EXPECT_THROW(Solved{s}, std::invalid_argument);
}

TEST(PhysicsTest, WithoutSideTransferTheShaftShortensElasticallyUnderTheTipLoad) {
    ShaftCase s = SandOverClay();
    for (TzLayer& layer : s.layers)
        layer.fs_top = layer.fs_bottom = 0.0;
    s.profile_fs.assign(s.profile_fs.size(), 0.0);
    Solved solved(s);
    ASSERT_EQ(solved.status, 0);
    const double ea = 3.6e6 * 0.7854 * 36.0 * 36.0;
    for (const LoadTransferLine line : kAllLines) {
        for (const LoadSettlementRow& row : solved.table.Block(line)) {
            EXPECT_DOUBLE_EQ(row.top_load, row.tip_load);
            const double shortening = row.tip_load * 2000.0 * 480.0 / ea;
            EXPECT_NEAR(row.top_movement - row.tip_movement, shortening, 1e-12);
        }
    }
}

TEST(PhysicsTest, TheUpperBoundCarriesAtLeastTheLowerBoundLoad) {
    Solved solved(SandOverClay());
    ASSERT_EQ(solved.status, 0);
    const LoadSettlementBlock& upper = solved.table.Block(LoadTransferLine::upper_bound);
    const LoadSettlementBlock& lower = solved.table.Block(LoadTransferLine::lower_bound);
    for (const double s : {0.01, 0.05, 0.1, 0.25, 0.5, 1.0}) {
        const double qu = LoadAtSettlement(upper, s);
        const double ql = LoadAtSettlement(lower, s);
        ASSERT_GT(qu, 0.0) << "settlement " << s;
        ASSERT_GT(ql, 0.0) << "settlement " << s;
        EXPECT_GE(qu, ql) << "settlement " << s;
    }
}

TEST(PhysicsTest, AStifferShaftSettlesLessUnderTheSameLoad) {
    ShaftCase soft = SandOverClay();
    ShaftCase stiff = SandOverClay();
    soft.Ec = 2.0e6;
    stiff.Ec = 5.0e6;
    Solved a(soft), b(stiff);
    ASSERT_EQ(a.status, 0);
    ASSERT_EQ(b.status, 0);
    for (const LoadTransferLine line : kAllLines) {
        for (const double q : {10.0, 50.0, 100.0, 150.0}) {
            const double ws = SettlementAtLoad(a.table.Block(line), q);
            const double wt = SettlementAtLoad(b.table.Block(line), q);
            ASSERT_GT(ws, 0.0) << "load " << q;
            ASSERT_GT(wt, 0.0) << "load " << q;
            EXPECT_LT(wt, ws) << "load " << q << " tons, line " << static_cast<int>(line);
        }
    }
}

TEST(PhysicsTest, TheSideLoadAtLargeMovementAgreesWithTheSideResistance) {
    // Sand without base: at large movements the upper-bound line mobilizes fmax along the shaft
    // below the 5 ft top portion, which is QS of the capacity table (fs at the middle of every
    // foot times pi D).
    ShaftCase s = SandOverClay();
    s.Qbmax = 0.0;
    s.layers = {{1, 0.0, 40.0, 0.05, 0.85}};
    for (std::size_t i = 0; i < s.profile_fs.size(); ++i)
        s.profile_fs[i] = 0.05 + 0.02 * s.profile_depth[i];
    Solved solved(s);
    ASSERT_EQ(solved.status, 0);
    double qs = 0.0;
    for (int foot = 6; foot <= 40; ++foot)
        qs += (0.05 + 0.02 * (foot - 0.5)) * 3.1416 * 3.0;
    const double top = solved.table.Block(LoadTransferLine::upper_bound).back().top_load;
    EXPECT_NEAR(top, qs, 0.01 * qs);
}

TEST(DefinedSettlementTest, ChartLoadsLieOnTheTrendCurve) {
    ShaftCase s = SandOverClay();
    s.chart_settlements = {1e-7, 0.1, 0.5, 1.0};
    s.variation = 2;
    s.chart_pass = 3;
    Solved solved(s);
    ASSERT_EQ(solved.status, 0);
    const LoadSettlementBlock& trend = solved.table.Block(LoadTransferLine::trend);
    // Below the first computed top movement: no tip movement, no load.
    EXPECT_EQ(solved.chart.Load(3, 2, 1), 0.0);
    for (int j = 2; j <= 4; ++j) {
        const double settlement = s.chart_settlements[static_cast<std::size_t>(j - 1)];
        const double expected = LoadAtSettlement(trend, settlement) * 2000.0; // pounds
        EXPECT_NEAR(solved.chart.Load(3, 2, j), expected, 0.02 * expected)
            << "settlement " << settlement;
    }
    EXPECT_DOUBLE_EQ(solved.chart.Length(3), 480.0);
    EXPECT_DOUBLE_EQ(solved.chart.Diameter(2), 36.0);

    const std::string report = solved.files.report.str();
    EXPECT_NE(report.find("        RESULT FOR DEFINED SETTLEMENTS \n"), std::string::npos);
    const std::vector<std::string> chart = test::Lines(solved.files.chart.str());
    ASSERT_EQ(chart.size(), 1u + 2u * 4u);
    EXPECT_EQ(chart[0].substr(0, 6), " 4 40 ");
    EXPECT_EQ(chart[0].substr(chart[0].size() - 4), " 2 3");
}

} // namespace
} // namespace kolmar::engine::settlement
