// Capacity against length: bell geometry, volume and buoyancy, the rows of a small profile with
// the top and bottom exclusions, uplift, LRFD, the design row, the SI output units, a hand
// calculation of one sand QS and one clay QB, and the tables and formatted rows that later cases
// of a run take from earlier ones.
#include "capacity.h"

#include "profile.h"
#include "report.h"
#include "resistance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <locale>
#include <sstream>

namespace kolmar::engine {
namespace {

Layer Uniform(int code, double ztop, double zbot) {
    Layer layer;
    layer.code = code;
    layer.ztop = ztop;
    layer.zbot = zbot;
    layer.GAMMA = {120, 120};
    layer.TRANLM = {1.0e10, 1.0e10};
    layer.QMAX = {1.0e10, 1.0e10};
    return layer;
}

// A sand of beta 0.5 and phi 32 degrees (no blow count) over a clay of cu 2000 psf and alpha 0.5,
// straight 3 ft shaft, ASD; the capacities grow with length.
InputData TwoLayers() {
    InputData in;
    in.METHOD = 1;
    in.P = 1.0e6;
    in.WTD = 100;
    in.DSTART = in.DIALIM = 3;
    in.FST = 2;
    in.FSB = 4;
    Layer sand = Uniform(kSand, 0, 10);
    sand.ISIDE = kBetaMethod;
    sand.BETA = {0.5, 0.5};
    sand.PHI = {32, 32};
    sand.LRFDB = 0.4;
    Layer clay = Uniform(kClay, 10, 20);
    clay.CU = {2000, 2000};
    clay.ALPHA = {0.5, 0.5};
    clay.LRFDS = 0.5;
    clay.LRFDB = 0.4;
    in.layers = {sand, clay};
    return in;
}

struct Computed {
    CapacityTable table;
    std::string notes;
    int status = 0;
};

Computed Compute(const InputData& in, double length = 0.0) {
    RunContext ctx;
    ctx.input = in;
    CaseSetup setup = CaseSetup{};
    setup.diameter = in.DSTART;
    setup.length = length;
    Computed out;
    std::ostringstream notes;
    ComputeCapacity(ctx, GridProfile(in), setup, out.table, notes);
    out.notes = notes.str();
    out.status = ctx.status;
    return out;
}

const CapacityRow& Row(const CapacityTable& table, double length) {
    for (const CapacityRow& row : table.rows)
        if (row.length == length)
            return row;
    static const CapacityRow none;
    ADD_FAILURE() << "no row of length " << length;
    return none;
}

TEST(ShaftGeometryTest, BellHeightVolumeAndExclusion) {
    InputData in;
    in.RATIO = 3;
    in.BELANGL = 30;
    in.BS = 1;
    const ShaftGeometry bell = ShaftGeometryOf(in, 3);
    EXPECT_EQ(bell.Bb, 9);
    EXPECT_EQ(bell.h0, 0.25);
    EXPECT_NEAR(bell.H, 6 / (2 * std::tan(30 / 57.29)) + 0.25, 1e-12);
    EXPECT_NEAR(bell.H, 5.45, 0.005);
    EXPECT_NEAR(bell.bell_volume,
                (3.1416 / 4 * 81 * 0.25 + 3.1416 * (bell.H - 0.25) / 12 * (9 + 27 + 81)) / 27,
                1e-12);
    EXPECT_NEAR(bell.bottom_exclusion, bell.H + 1, 1e-12);
    EXPECT_EQ(ShaftGeometryOf(in, 3.6).h0, 0.5);
    // The stem reaches the top of the bell; the bell adds its own volume.
    EXPECT_NEAR(ShaftVolume(bell, 40), 3.1416 / 4 * 9 * (40 - bell.H) / 27 + bell.bell_volume,
                1e-12);
    in.RATIO = 0;
    const ShaftGeometry straight = ShaftGeometryOf(in, 3);
    EXPECT_EQ(straight.Bb, 3);
    EXPECT_EQ(straight.H, 0);
    EXPECT_EQ(straight.bell_volume, 0);
    EXPECT_EQ(straight.bottom_exclusion, 1);
}

TEST(ShaftGeometryTest, BuoyancyBelowTheWaterTable) {
    EXPECT_NEAR(Buoyancy(40, 10, 3), 30 * 0.02450448 * 9, 1e-12);
    EXPECT_NEAR(Buoyancy(40, 10, 3), 6.62, 0.005);
    EXPECT_EQ(Buoyancy(10, 10, 3), 0.0);
}

TEST(CapacityTableTest, RowsOfATwoLayerProfile) {
    const Computed c = Compute(TwoLayers());
    ASSERT_EQ(c.table.rows.size(), 20u);
    EXPECT_EQ(c.table.steps.size(), 20u);
    // Hand calculation. Sand, z = 4.5 ft: sigma'v 540 psf, fs = 0.5 x 540 / 2000 = 0.135 tsf; one
    // foot of a 3 ft stem adds 0.135 pi 3 tons.
    EXPECT_NEAR(c.table.steps[4].fs, 0.135, 1e-12);
    const double sand_foot_per_psf = 0.5 / 2000 * 3.1416 * 3; // tons per psf of sigma'v
    double sand_qs = 0;
    for (int i = 0; i < 10; ++i)
        sand_qs += sand_foot_per_psf * 120 * (i + 0.5);
    EXPECT_NEAR(Row(c.table, 10).QS, sand_qs, 1e-9);
    // Clay, 15 ft tip: 5 ft of 0.5 x 1 tsf; base Nc = min(9, 6 (1 + 0.2 x 15/3)) = 9, qb 9 tsf.
    const double clay_foot = 0.5 * 1.0 * 3.1416 * 3;
    const CapacityRow& r15 = Row(c.table, 15);
    EXPECT_NEAR(r15.QS, sand_qs + 5 * clay_foot, 1e-9);
    EXPECT_NEAR(r15.QB, 9 * 3.1416 / 4 * 9, 1e-9);
    EXPECT_NEAR(r15.QU, r15.QS + r15.QB, 1e-9);
    EXPECT_NEAR(r15.QBD, r15.QS + r15.QB / 4, 1e-9);
    EXPECT_NEAR(r15.QDN, r15.QS / 2 + r15.QB / 4, 1e-9);
    EXPECT_NEAR(r15.volume, 3.1416 / 4 * 9 * 15 / 27, 1e-12);
    EXPECT_NEAR(r15.QU_per_volume, r15.QU / r15.volume, 1e-9);
    EXPECT_NEAR(r15.QS_lrfd, sand_qs + 0.5 * 5 * clay_foot, 1e-9);
    EXPECT_NEAR(r15.QB_lrfd, 0.4 * r15.QB, 1e-9);
    // A tip on the boundary bears on the clay; the foot above it is still sand.
    EXPECT_EQ(Row(c.table, 10).tip_layer, 1);
    EXPECT_EQ(c.table.steps[9].layer, 0);
    EXPECT_TRUE(c.notes.empty());
}

TEST(CapacityTableTest, TopAndBottomPortionsCarryNoSideResistance) {
    InputData in = TwoLayers();
    in.TOPLENG = 5;
    in.BS = 2;
    const Computed c = Compute(in);
    // Rows start below the top portion; the first five feet add nothing.
    EXPECT_EQ(c.table.rows.front().length, 6);
    EXPECT_EQ(Row(c.table, 7).QS, 0.0);
    // A 15 ft shaft takes side resistance from 5 to 13 ft only.
    double expected = 0;
    for (int i = 5; i < 13; ++i)
        expected += c.table.steps[static_cast<std::size_t>(i)].QS;
    EXPECT_NEAR(Row(c.table, 15).QS, expected, 1e-9);
    EXPECT_GT(Row(c.table, 8).QS, 0.0);
}

TEST(CapacityTableTest, UpliftTakesTheWeightOfTheShaftInPlaceOfTheBase) {
    InputData in = TwoLayers();
    in.KCYCL = 2;
    in.RCYCL = 0.5;
    in.WTD = 5;
    in.FSB = 3; // counts as 1 under uplift
    const Computed compression = Compute(TwoLayers());
    const Computed c = Compute(in);
    const CapacityRow& row = Row(c.table, 15);
    const double weight = row.volume * 4050 / 2000 - Buoyancy(15, 5, 3);
    EXPECT_NEAR(row.QB, weight, 1e-9);
    EXPECT_EQ(row.qb, 0.0);
    EXPECT_NEAR(row.QDN, row.QS / 2 + weight, 1e-9);
    EXPECT_NEAR(row.QBD, row.QU, 1e-9);
    EXPECT_NEAR(row.QB_lrfd, weight, 1e-9);
    // The uplift factor halves the clay's side resistance (no sand stress changes matter here:
    // compare the clay feet alone).
    const CapacityRow& before = Row(compression.table, 15);
    const double clay_compression = before.QS - Row(compression.table, 10).QS;
    EXPECT_NEAR(row.QS - Row(c.table, 10).QS, 0.5 * clay_compression, 1e-9);
}

TEST(CapacityTableTest, DesignRowIsTheFirstStrictlyAboveTheLoad) {
    InputData in = TwoLayers();
    const Computed c = Compute(in);
    in.P = Row(c.table, 12).QDN; // equal to the 12 ft value: 13 ft is the first above
    EXPECT_EQ(c.table.rows[static_cast<std::size_t>(DesignRow(in, c.table, 0))].length, 13);
    in.NLRFD = 1;
    in.P = Row(c.table, 12).QU_lrfd;
    EXPECT_EQ(c.table.rows[static_cast<std::size_t>(DesignRow(in, c.table, 0))].length, 13);
    in.P = 1.0e6;
    EXPECT_EQ(DesignRow(in, c.table, 0), -1);
    in.METHOD = 2;
    EXPECT_EQ(c.table.rows[static_cast<std::size_t>(DesignRow(in, c.table, 14.5))].length, 15);
    EXPECT_EQ(DesignRow(in, c.table, 25), -1);
}

TEST(CapacityTableTest, PerDepthErrorsGoToTheRunNotes) {
    InputData in = TwoLayers();
    in.layers[0].BETA = {0, 0};
    in.layers[0].PHI = {0, 0};
    in.layers[0].BLOWS = {0, 0};
    in.layers[1].GAMMA = {40, 40};
    const Computed c = Compute(in);
    const auto count = [&c](const std::string& text) {
        int n = 0;
        for (std::size_t at = c.notes.find(text); at != std::string::npos;
             at = c.notes.find(text, at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(count("OR THE INTERNAL FRICTION ANGLE FOR SAND LAYERS"), 10);
    EXPECT_EQ(count("PLEASE INPUT THE TOTAL UNIT WEIGHT FOR THE SOIL."), 10);
    EXPECT_EQ(Row(c.table, 10).QS, 0.0);
}

TEST(CapacityOutputTest, SiUnits) {
    CapacityRow row;
    row.length = 33;
    row.volume = 1.3078;
    row.QS = 0.1124;
    row.QU = 2 * 0.1124;
    row.QU_per_volume = 0.08594586;
    const CapacityRow si = ToOutputUnits(row, true);
    EXPECT_NEAR(si.length, 10.06, 0.005);
    EXPECT_NEAR(si.volume, 1.0, 1e-12);
    EXPECT_NEAR(si.QS, 1.0, 1e-12);
    EXPECT_NEAR(si.QU, 2.0, 1e-12);
    EXPECT_NEAR(si.QU_per_volume, 1.0, 1e-12);
    EXPECT_EQ(ToOutputUnits(row, false).length, 33);
}

// Rows equal in every printed value share one text; a table that differs in one value, even by
// one unit in its last place, is formatted anew, and so is a table dropped from the full cache.
TEST(CapacityReuseTest, RowsAreFormattedOncePerTableOfEqualValues) {
    InputData in = TwoLayers();
    const CapacityTable table = Compute(in).table;
    const std::string text = CapacityRowsText(in, table);
    CapacityRowsCache cache;
    EXPECT_EQ(cache.Text(in, table), text);
    const CapacityTable copy = table;
    EXPECT_EQ(cache.Text(in, copy), text);
    EXPECT_EQ(cache.formatted(), 1);

    CapacityTable shown = table;
    shown.rows[3].QDN += 1.0;
    EXPECT_EQ(cache.Text(in, shown), CapacityRowsText(in, shown));
    EXPECT_NE(CapacityRowsText(in, shown), text);
    CapacityTable ulp = table;
    ulp.rows.back().QU = std::nextafter(ulp.rows.back().QU, 1.0e300);
    EXPECT_EQ(cache.Text(in, ulp), text);
    EXPECT_EQ(cache.formatted(), 3);
    EXPECT_EQ(cache.Text(in, table), text);
    EXPECT_EQ(cache.formatted(), 3);

    // LRFD prints other columns of the same rows.
    InputData lrfd = in;
    lrfd.NLRFD = 1;
    EXPECT_EQ(cache.Text(lrfd, table), CapacityRowsText(lrfd, table));
    EXPECT_EQ(cache.formatted(), 4);

    // More tables than the cache keeps: each still gets its own text, the first one again too.
    for (std::size_t k = 0; k <= CapacityRowsCache::kTables; ++k) {
        CapacityTable other = table;
        other.rows[0].QS = static_cast<double>(k) + 0.25;
        ASSERT_EQ(cache.Text(in, other), CapacityRowsText(in, other)) << k;
    }
    EXPECT_EQ(cache.Text(in, table), text);
}

// Three cases, the first two of one diameter, through the tables of a run and computed each on
// its own in a second run: the same table, design row, notes and rock messages for every case.
// The second case takes the first one's table unless a layer has a procedure that takes the case
// length, or the first computation wrote the run's one clay-from-blows warning.
TEST(CapacityReuseTest, CasesOfOneDiameterShareTheirTable) {
    Layer weak = Uniform(kWeakRock, 20, 30);
    weak.QUR = {200000, 200000};
    weak.EL = {500000, 500000};
    weak.RQD = {80, 80};
    weak.SLUMP = {7, 7};
    weak.DELTA = {30, 30};
    weak.ICOND = {1, 1};
    struct Case {
        const char* what;
        bool weak_rock, cu_from_blows;
        int computed;
    };
    const Case cases[] = {{"soils", false, false, 2},
                          {"weak rock below", true, false, 3},
                          {"clay from the blow count", false, true, 3}};
    for (const Case& c : cases) {
        InputData in = TwoLayers();
        in.METHOD = 2;
        in.Ec = 3.6e6;
        if (c.weak_rock)
            in.layers.push_back(weak);
        if (c.cu_from_blows) {
            in.layers[1].CU = {0, 0};
            in.layers[1].BLOWS = {20, 20};
        }
        const InputData grid = GridProfile(in);
        RunContext reused, fresh;
        for (RunContext* ctx : {&reused, &fresh}) {
            ctx->held_in_memory = true;
            ctx->input = in;
        }
        CapacityTables tables;
        const std::size_t rock = static_cast<std::size_t>(FileRole::rock_msg);
        for (const auto& [diameter, length] : {std::pair{3.0, 15.0}, {3.0, 25.0}, {3.5, 15.0}}) {
            CaseSetup setup;
            setup.diameter = diameter;
            setup.length = length;
            CapacityTable a, b;
            std::ostringstream notes_a, notes_b;
            for (RunContext* ctx : {&reused, &fresh})
                ctx->held[rock].str({});
            tables.Compute(reused, grid, setup, a, notes_a);
            ComputeCapacity(fresh, grid, setup, b, notes_b);
            const std::string where = std::string(c.what) + ", " + std::to_string(diameter) +
                                      " ft at " + std::to_string(length) + " ft";
            ASSERT_EQ(a.rows.size(), b.rows.size()) << where;
            for (std::size_t i = 0; i < a.rows.size(); ++i)
                EXPECT_EQ(CapacityRowLine(in, a.rows[i]), CapacityRowLine(in, b.rows[i])) << where;
            EXPECT_EQ(a.design_row, b.design_row) << where;
            EXPECT_EQ(a.steps.size(), b.steps.size()) << where;
            EXPECT_EQ(notes_a.str(), notes_b.str()) << where;
            EXPECT_EQ(reused.held[rock].str(), fresh.held[rock].str()) << where;
            EXPECT_EQ(reused.status, fresh.status) << where;
        }
        EXPECT_EQ(tables.computed(), c.computed) << c.what;
    }
}

} // namespace
} // namespace kolmar::engine
