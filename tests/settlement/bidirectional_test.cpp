// The simulated bidirectional load test against the top-down t-z solver it is built on: the cell
// at the tip leaves the base alone below it and the side alone above it; with rigid concrete the
// equivalent top-down curve is the top-down solver's curve, and with elastic concrete the
// elastic correction brings it closer; moving the cell down raises the upper part's capacity,
// and the balance depth lies where the two capacities cross; cell depths that cannot hold a cell
// are refused with a message saying where.
#include "settlement/bidirectional.h"
#include "settlement_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kolmar::engine::settlement {
namespace {

using test::SandOverClay;

constexpr double kRigid = 1e13; // psi: a shaft that does not shorten

BidirectionalSetup TestAt(ShaftCase shaft, double cell_depth) {
    BidirectionalSetup s;
    s.shaft = std::move(shaft);
    s.cell_depth = cell_depth;
    s.water_depth = 100.0; // dry: the weight is the concrete's alone
    return s;
}

struct Curves {
    std::vector<TzCurve> tz;
    CurvePoints qw;
};

Curves TrendCurves(const ShaftCase& shaft) {
    test::MemoryFiles files;
    const TzGeometry geometry = PrepareLayers(shaft.layers);
    Curves c;
    EXPECT_EQ(BuildTzCurves(shaft, geometry, LoadTransferLine::trend, files.report, c.tz), 0);
    EXPECT_EQ(
        BuildQwCurve(shaft, geometry, LoadTransferLine::trend, files.report, files.run_notes, c.qw),
        0);
    return c;
}

// The weight of a dry stem of the shaft's diameter, `feet` long (lb): 150 pcf.
double StemWeight(const ShaftCase& shaft, double feet) {
    const double din = 12.0 * shaft.diameter;
    return 150.0 / 1728.0 * 0.7854 * din * din * 12.0 * feet;
}

TEST(BidirectionalTest, CellAtTheTipLeavesTheBaseBelowAndTheSideUnderUpliftAbove) {
    for (const double ec : {kRigid, 3.6e6}) {
        ShaftCase shaft = SandOverClay();
        shaft.Ec = ec;
        const BidirectionalResult r = SimulateBidirectional(TestAt(shaft, shaft.length));
        ASSERT_TRUE(r.problem.empty()) << r.problem;
        EXPECT_DOUBLE_EQ(r.cell_depth, shaft.length);
        EXPECT_NEAR(r.upper_weight, StemWeight(shaft, shaft.length), 1e-6 * r.upper_weight);

        // Below the cell: the base alone, the q-w curve itself.
        const Curves curves = TrendCurves(shaft);
        ASSERT_FALSE(r.lower.empty());
        for (const PartStep& s : r.lower) {
            EXPECT_TRUE(s.elements.empty());
            EXPECT_DOUBLE_EQ(s.cell_movement, s.far_movement);
            EXPECT_DOUBLE_EQ(s.cell_load, ReadCurve(curves.qw, s.far_movement));
        }

        // Above the cell: the top-down solver's side-only shaft under uplift (no base) at the
        // same movement of its free end, plus the weight. Rigid, the two are the same shaft; an
        // elastic shaft loaded at the other end differs only while the side is being mobilised.
        shaft.uplift = true;
        const SolverShaft solver = MakeSolverShaft(shaft);
        for (const PartStep& s : r.upper) {
            const CarryResult top_down = CarryUp(solver, curves.tz, 0.0, s.far_movement);
            const double side = s.cell_load - r.upper_weight;
            if (ec == kRigid) {
                EXPECT_NEAR(side, top_down.top_load, 1e-5 * top_down.top_load + 0.01);
            }
        }
        const CarryResult full = CarryUp(solver, curves.tz, 0.0, r.upper.back().far_movement);
        EXPECT_NEAR(r.upper_ultimate - r.upper_weight, full.top_load, 1e-3 * full.top_load);
    }
}

TEST(BidirectionalTest, UpliftFactorScalesTheUpperSideLoadOnly) {
    ShaftCase shaft = SandOverClay();
    shaft.Ec = kRigid;
    BidirectionalSetup setup = TestAt(shaft, 25.0);
    const BidirectionalResult plain = SimulateBidirectional(setup);
    setup.rcycl = 0.7;
    const BidirectionalResult reduced = SimulateBidirectional(setup);
    ASSERT_EQ(plain.upper.size(), reduced.upper.size());
    for (std::size_t k = 0; k < plain.upper.size(); ++k)
        EXPECT_NEAR(reduced.upper[k].cell_load - reduced.upper_weight,
                    0.7 * (plain.upper[k].cell_load - plain.upper_weight),
                    1e-6 * plain.upper[k].cell_load);
    EXPECT_DOUBLE_EQ(reduced.lower_ultimate, plain.lower_ultimate);
}

// The equivalent curve's load at a top movement, linear between its points; NaN beyond them.
double EquivalentLoadAt(const std::vector<EquivalentPoint>& curve, double top) {
    for (std::size_t k = 1; k < curve.size(); ++k)
        if (top >= curve[k - 1].top_movement && top <= curve[k].top_movement)
            return curve[k - 1].load + (top - curve[k - 1].top_movement) *
                                           (curve[k].load - curve[k - 1].load) /
                                           (curve[k].top_movement - curve[k - 1].top_movement);
    return std::numeric_limits<double>::quiet_NaN();
}

// The top-down solver's top load and top movement at its fifteen tip movements.
std::vector<CarryResult> TopDown(const ShaftCase& shaft) {
    const Curves curves = TrendCurves(shaft);
    const SolverShaft solver = MakeSolverShaft(shaft);
    std::vector<CarryResult> rows;
    for (const double tip : TipMovements(solver.din))
        rows.push_back(CarryUp(solver, curves.tz, ReadCurve(curves.qw, tip), tip));
    return rows;
}

TEST(BidirectionalTest, EquivalentCurveOfARigidShaftIsTheTopDownCurve) {
    for (const double cell : {12.0, 25.0, 34.0}) {
        ShaftCase shaft = SandOverClay();
        shaft.Ec = kRigid;
        const BidirectionalResult r = SimulateBidirectional(TestAt(shaft, cell));
        ASSERT_TRUE(r.problem.empty()) << r.problem;
        for (const EquivalentPoint& p : r.equivalent)
            EXPECT_NEAR(p.top_movement, p.cell_movement, 1e-6);
        for (const CarryResult& row : TopDown(shaft)) {
            const double load = EquivalentLoadAt(r.equivalent, row.top_movement);
            if (std::isnan(load))
                continue;
            // Both are the sum of the side and base curves at one movement; they differ only by
            // the linear interpolation between the equivalent curve's points.
            EXPECT_NEAR(load, row.top_load, 0.01 * row.top_load + 1.0)
                << "cell " << cell << " ft, top movement " << row.top_movement;
        }
    }
}

TEST(BidirectionalTest, ElasticCorrectionBringsTheEquivalentCurveToTheTopDownCurve) {
    ShaftCase shaft = SandOverClay();
    shaft.Ec = 1.0e6; // soft concrete, so that the shortening matters
    const BidirectionalResult r = SimulateBidirectional(TestAt(shaft, 25.0));
    ASSERT_TRUE(r.problem.empty()) << r.problem;
    std::vector<EquivalentPoint> rigid = r.equivalent;
    for (EquivalentPoint& p : rigid)
        p.top_movement = p.cell_movement;
    double corrected_error = 0.0, rigid_error = 0.0;
    int compared = 0;
    for (const CarryResult& row : TopDown(shaft)) {
        const double with = EquivalentLoadAt(r.equivalent, row.top_movement);
        const double without = EquivalentLoadAt(rigid, row.top_movement);
        if (std::isnan(with) || std::isnan(without) || row.top_movement < 0.05)
            continue;
        corrected_error += std::fabs(with - row.top_load);
        rigid_error += std::fabs(without - row.top_load);
        ++compared;
    }
    ASSERT_GE(compared, 4);
    EXPECT_LT(corrected_error, 0.5 * rigid_error);
    for (const EquivalentPoint& p : r.equivalent)
        EXPECT_GT(p.top_movement, p.cell_movement);
}

TEST(BidirectionalTest, BalanceDepthLiesWhereTheTwoCapacitiesCross) {
    const ShaftCase shaft = SandOverClay();
    const BidirectionalResult shallow = SimulateBidirectional(TestAt(shaft, 15.0));
    const BidirectionalResult deep = SimulateBidirectional(TestAt(shaft, 30.0));
    ASSERT_TRUE(shallow.problem.empty() && deep.problem.empty());
    EXPECT_GT(deep.upper_ultimate, shallow.upper_ultimate);
    EXPECT_LT(deep.lower_ultimate, shallow.lower_ultimate);

    // The capacities against cell depth: below the top portion, every boundary down to the tip.
    const std::vector<BalancePoint>& b = shallow.balance;
    ASSERT_EQ(b.size(), 35u);
    EXPECT_DOUBLE_EQ(b.front().depth, 6.0);
    EXPECT_DOUBLE_EQ(b.back().depth, 40.0);
    for (std::size_t k = 1; k < b.size(); ++k) {
        EXPECT_GE(b[k].upper, b[k - 1].upper);
        EXPECT_LE(b[k].lower, b[k - 1].lower);
    }
    EXPECT_EQ(shallow.balance_depth, deep.balance_depth);
    const double balance = shallow.balance_depth;
    ASSERT_GT(balance, 6.0);
    ASSERT_LT(balance, 40.0);
    EXPECT_EQ(balance, std::round(balance));
    for (const BalancePoint& p : b) {
        if (p.depth <= balance - 1.0) {
            EXPECT_LT(p.upper, p.lower) << p.depth;
        } else if (p.depth >= balance + 1.0) {
            EXPECT_GT(p.upper, p.lower) << p.depth;
        }
    }
    // With the cell at the balance depth the two parts reach their ultimates together.
    const BidirectionalResult there = SimulateBidirectional(TestAt(shaft, balance));
    EXPECT_NEAR(there.upper_ultimate, there.lower_ultimate,
                0.1 * std::max(there.upper_ultimate, there.lower_ultimate));
}

TEST(BidirectionalTest, CellCapacityStopsBothSeries) {
    const ShaftCase shaft = SandOverClay();
    BidirectionalSetup setup = TestAt(shaft, 20.0);
    const BidirectionalResult free = SimulateBidirectional(setup);
    EXPECT_FALSE(free.capacity_reached);
    setup.cell_capacity = 0.5 * std::min(free.upper_ultimate, free.lower_ultimate);
    const BidirectionalResult limited = SimulateBidirectional(setup);
    EXPECT_TRUE(limited.capacity_reached);
    ASSERT_FALSE(limited.upper.empty());
    ASSERT_FALSE(limited.lower.empty());
    EXPECT_LT(limited.upper.size(), free.upper.size());
    EXPECT_LT(limited.lower.size(), free.lower.size());
    for (const auto* part : {&limited.upper, &limited.lower})
        for (const PartStep& s : *part)
            EXPECT_LE(s.cell_load, setup.cell_capacity);
    // The ultimates stay those of the shaft.
    EXPECT_DOUBLE_EQ(limited.upper_ultimate, free.upper_ultimate);
}

TEST(BidirectionalTest, CellDepthsThatCannotHoldACellAreRefusedSayingWhere) {
    ShaftCase belled = SandOverClay();
    belled.bell_height = 3.0;
    belled.base_diameter = 6.0;
    ShaftCase si = SandOverClay();
    si.unit_system = 2;
    struct Case {
        const ShaftCase* shaft;
        double depth;
        const char* says;
    };
    const ShaftCase plain = SandOverClay();
    const std::vector<Case> cases = {
        {&plain, 0.0, "greater than 0 (given: 0.00 ft)"},
        {&plain, -3.0, "greater than 0 (given: -3.00 ft)"},
        {&plain, std::numeric_limits<double>::quiet_NaN(), "not a number"},
        {&plain, 41.0, "41.00 ft lies below the shaft tip at 40.00 ft"},
        {&plain, 5.0, "lies in the top portion without side resistance (to 5.00 ft)"},
        {&belled, 38.0, "lies in the bell (from 37.00 ft to the tip at 40.00 ft)"},
        {&belled, 40.0, "lies in the bell"},
        {&si, 41.0, "12.50 m lies below the shaft tip at 12.19 m"},
    };
    for (const Case& c : cases) {
        const BidirectionalResult r = SimulateBidirectional(TestAt(*c.shaft, c.depth));
        EXPECT_NE(r.problem.find(c.says), std::string::npos) << r.problem;
        EXPECT_TRUE(r.upper.empty() && r.lower.empty() && r.balance.empty());
    }
    EXPECT_TRUE(CellDepthProblem(belled, 37.0).empty());
    EXPECT_TRUE(CellDepthProblem(plain, 40.0).empty());
}

} // namespace
} // namespace kolmar::engine::settlement
