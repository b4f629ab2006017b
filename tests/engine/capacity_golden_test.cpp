// Whole capacity runs: golden report, run notes and plot file of three projects (sand by the Ko
// method with a water table; a belled shaft in clay in LRFD mode; a layered profile under
// uplift), numbers of the goldens checked against hand calculations, and the runs that end early
// (design load beyond the profile, a rock procedure not yet available, data the analysis refuses).
#include "capacity.h"
#include "checks.h"
#include "format.h"
#include "kolmar/ikolmar.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

namespace kolmar::engine {
namespace {

using test::ReadFile;
using test::TempDir;

std::string Project(const std::string& name) {
    return ReadFile(std::string(KOLMAR_TEST_DATA) + "/data/" + name + ".kx8d");
}

// The numbers of the capacity row of the given length (as printed) in a report or run notes.
std::vector<double> RowOf(const std::string& text, const std::string& length) {
    for (const std::string& line : test::Lines(text)) {
        if (line.rfind(" " + length, 0) != 0 || line.size() != 73)
            continue;
        std::vector<double> values;
        std::istringstream in(line);
        in.imbue(std::locale::classic());
        for (double v; in >> v;)
            values.push_back(v);
        return values;
    }
    ADD_FAILURE() << "no row " << length;
    return {};
}

class CapacityGoldenTest : public ::testing::TestWithParam<const char*> {};

TEST_P(CapacityGoldenTest, ReportRunNotesAndPlotFile) {
    const std::string name = GetParam();
    TempDir dir;
    const test::RunResult run = test::RunProject(dir, Project(name));
    EXPECT_EQ(run.status, KOLMAR_STATUS_OK) << run.console;
    EXPECT_TRUE(run.all_closed);
    test::ExpectGolden(run.report, name + ".report.golden");
    test::ExpectGolden(run.notes, name + ".notes.golden");
    test::ExpectGolden(run.plot, name + ".plot.golden");
}

INSTANTIATE_TEST_SUITE_P(Projects, CapacityGoldenTest,
                         ::testing::Values("sand_ko", "clay_bell_lrfd", "layered_uplift"));

// The three rock examples: a socket in strong rock, a tip in decomposed rock and a socket in weak
// rock, each with its load-settlement curve in the report and the plot file.
class RockExampleGoldenTest : public ::testing::TestWithParam<const char*> {};

TEST_P(RockExampleGoldenTest, ReportAndPlotFile) {
    const std::string name = GetParam();
    TempDir dir;
    const test::RunResult run = test::RunProject(
        dir, ReadFile(std::string(KOLMAR_SOURCE_DIR) + "/examples/" + name + ".kx8d"));
    EXPECT_EQ(run.status, KOLMAR_STATUS_OK) << run.console;
    EXPECT_TRUE(run.all_closed);
    for (const char* bad : {"nan", "inf", "NAN", "INF", "*"})
        EXPECT_EQ(run.plot.find(bad), std::string::npos) << bad;
    test::ExpectGolden(run.report, name + ".report.golden");
    test::ExpectGolden(run.plot, name + ".plot.golden");
}

INSTANTIATE_TEST_SUITE_P(Examples, RockExampleGoldenTest,
                         ::testing::Values("strong-rock-socket", "decomposed-rock",
                                           "weak-rock-socket"));

// One sand QS and one clay QB of the goldens, worked out by hand.
TEST(CapacityHandCheckTest, SandSideAndClayBase) {
    TempDir dir;
    // Sand, Ko 0.8 to 0.6 and phi 42 (estimated from N = 15 at the surface) to 38 degrees over
    // 50 ft, 120 to 125 pcf, dry above 10 ft. QS of a 3 ft shaft 10 ft long: ten feet, each at
    // its middle z with sigma'v the feet above plus half a foot.
    const test::RunResult sand = test::RunProject(dir, Project("sand_ko"));
    const double pi = 3.1416;
    const auto gamma = [](double z) { return 120 + 0.1 * z; };
    double qs = 0;
    for (int i = 0; i < 10; ++i) {
        const double z = i + 0.5;
        double sigma = 0.5 * gamma(z);
        for (int j = 1; j <= i; ++j)
            sigma += gamma(j);
        const double ko = 0.8 - 0.2 * z / 50;
        const double phi = (42 - 4 * z / 50) * std::acos(-1.0) / 180;
        qs += ko * sigma * std::tan(phi) / 2000 * pi * 3;
    }
    const std::vector<double> sand_row = RowOf(sand.report, "    10.0");
    ASSERT_EQ(sand_row.size(), 8u);
    EXPECT_NEAR(sand_row[2], qs, 0.05) << "hand QS " << qs;

    // Clay, 7.5 ft bell on a 3 ft stem, tip at 20 ft on the lower clay (cu 2000 psf):
    // Nc = min(9, 6 (1 + 0.2 x 20 / 7.5)) = 9, qb = 9 tsf, reduced for the wide base by
    // Fr = 2.5 / (a 12 Bb + 2.5 b), a = 0.0071 + 0.0021 x 20 / 7.5, b = 0.45 sqrt(2).
    const test::RunResult clay = test::RunProject(dir, Project("clay_bell_lrfd"));
    const double a = 0.0071 + 0.0021 * 20 / 7.5;
    const double fr = 2.5 / (a * 12 * 7.5 + 2.5 * 0.45 * std::sqrt(2.0));
    const double qb = 9 * pi / 4 * 7.5 * 7.5 * fr;
    const std::vector<double> clay_row = RowOf(clay.report, "    20.0");
    ASSERT_EQ(clay_row.size(), 8u);
    EXPECT_NEAR(clay_row[3], qb, 0.05) << "hand QB " << qb;
    EXPECT_NEAR(clay_row[6], 0.4 * qb, 0.05); // LRFD QB with the tip factor 0.4
}

TEST(CapacityRunTest, ADesignLoadBeyondTheProfileNeedsAnotherLayer) {
    TempDir dir;
    std::string text = Project("clay_bell_lrfd");
    text.replace(text.find("2 8 250 2.5 3"), 13, "2 8 900 2.5 3");
    const test::RunResult run = test::RunProject(dir, text);
    EXPECT_EQ(run.status, KOLMAR_STATUS_SHORT_PROFILE);
    EXPECT_TRUE(run.all_closed);
    const std::string line = "\n   *********** NEED ANOTHER SOIL LAYER ************\n";
    // The report ends with the line, after the whole table; the run notes and the console have it.
    ASSERT_GE(run.report.size(), line.size());
    EXPECT_EQ(run.report.substr(run.report.size() - line.size()), line);
    EXPECT_NE(run.report.find("     60.0     17.4"), std::string::npos);
    EXPECT_NE(run.notes.find(line), std::string::npos);
    EXPECT_NE(run.console.find(line), std::string::npos);
    // The capacity curve is in the plot file all the same.
    EXPECT_EQ(run.plot.rfind("           1          57           0\n", 0), 0u);
}

TEST(CapacityRunTest, DesignTipCloseToTheProfileBottomGetsTheSoilDepthNote) {
    TempDir dir;
    std::string text = Project("clay_bell_lrfd");
    text.replace(text.find("2 8 250 2.5 3"), 13, "2 8 300 2.5 3"); // needs 57 ft of 60
    const test::RunResult run = test::RunProject(dir, text);
    EXPECT_EQ(run.status, KOLMAR_STATUS_OK);
    std::ostringstream note;
    WriteSoilDepthForBaseNote(note);
    EXPECT_NE(run.notes.find(note.str()), std::string::npos);
    EXPECT_NE(run.notes.find("SHAFT LENGTH              =   57.000  FT."), std::string::npos);
}

TEST(CapacityRunTest, AProposedDepthBelowTheProfileIsNotedOnTheConsole) {
    TempDir dir;
    std::string text = Project("sand_ko");
    text.replace(text.find("1 10 40 2.5 3"), 13, "1 10 55 2.5 3");
    const test::RunResult run = test::RunProject(dir, text);
    EXPECT_EQ(run.status, KOLMAR_STATUS_OK);
    std::ostringstream note;
    WriteProposedDepthBeyondNote(note);
    EXPECT_NE(run.console.find(note.str()), std::string::npos);
    EXPECT_NE(run.report.find("PLEASE PROVIDE THE SOIL DEPTH THAT IS TWO-DIAMETER DEEPER"),
              std::string::npos);
}

// Decomposed and weak rock below sand take their side and base resistance from their own
// procedures, and a tip in them gets that procedure's load-settlement curve; a weak-rock layer
// without a compressive strength has no valid value: the report says so and the run ends.
TEST(CapacityRunTest, RockLayersTakeTheirOwnProcedures) {
    struct Case {
        const char* what;
        const char* layer;
        const char* top;
        const char* bottom;
        int status;
    };
    const Case cases[] = {
        {"decomposed rock", "5 90 ", "130 60 0.3 0 3 0 0 0.6 0.55 ",
         "132 75 0.3 25000 3 0 0 0.6 0.55 ", KOLMAR_STATUS_OK},
        {"weak rock", "6 90 ", "72000 2 7 35 3 0 150000 60 0 0.55 0.5 ",
         "80000 4 7 35 3 0 160000 65 0 0.55 0.5 ", KOLMAR_STATUS_OK},
        {"weak rock without strength", "6 90 ", "0 2 7 35 3 0 150000 60 0 0.55 0.5 ",
         "0 4 7 35 3 0 160000 65 0 0.55 0.5 ", KOLMAR_STATUS_BAD_INPUT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        test::Project project;
        project.load = "2 10 80 2.5 3"; // the tip in the rock layer
        project.layers.insert(project.layers.end(), {c.layer, c.top, c.bottom});
        const test::RunResult run = test::RunProject(dir, project.Text());
        EXPECT_EQ(run.status, c.status) << run.console;
        EXPECT_TRUE(run.all_closed);
        EXPECT_NE(run.report.find("PREDICTED RESULTS"), std::string::npos);
        if (c.status != KOLMAR_STATUS_OK) {
            EXPECT_EQ(run.report.find("LOAD SETTLEMENT RELATIONSHIP"), std::string::npos);
            continue;
        }
        // The rock adds side resistance foot by foot below the sand, and a base.
        const std::vector<double> at70 = RowOf(run.report, "    70.0");
        const std::vector<double> at80 = RowOf(run.report, "    80.0");
        ASSERT_EQ(at70.size(), 8u);
        ASSERT_EQ(at80.size(), 8u);
        EXPECT_GT(at80[2], at70[2]);
        EXPECT_GT(at80[3], 0.0);
        EXPECT_NE(run.report.find("LOAD SETTLEMENT RELATIONSHIP"), std::string::npos);
        EXPECT_EQ(run.report.find("*****"), run.report.find("*****WARNING"));
    }
}

// Strong rock taken in side friction or end bearing: the rock note reaches the report through
// the rock-message file; a rock base without a spacing of discontinuities is reported, not
// silently zero.
TEST(CapacityRunTest, StrongRockNotesReachTheReport) {
    for (const char* spacing : {"2", "0"}) {
        SCOPED_TRACE(std::string("spacing ") + spacing);
        TempDir dir;
        test::Project project;
        project.load = "2 10 50 2.5 3";
        const std::string row =
            std::string("150000 576000 ") + spacing + " 0.01 2.5 0 1000000 80 0 1 1 ";
        project.layers.insert(project.layers.end(), {"4 90 ", row, row});
        const test::RunResult run = test::RunProject(dir, project.Text());
        EXPECT_EQ(run.status, KOLMAR_STATUS_OK);
        std::ostringstream note;
        WriteSideOrBaseRockNote(note, 2);
        const std::string first_line = test::Lines(note.str())[2];
        EXPECT_NE(run.report.find(first_line), std::string::npos) << run.report;
        std::ostringstream missing;
        WriteRockSpacingMissing(missing, 2);
        const bool reported = run.notes.find(missing.str()) != std::string::npos;
        EXPECT_EQ(reported, std::string(spacing) == "0");
        // Above 1000 psi the rock carries the load in end bearing only: no side resistance in it.
        const std::vector<double> at70 = RowOf(run.report, "    70.0");
        const std::vector<double> at80 = RowOf(run.report, "    80.0");
        ASSERT_EQ(at80.size(), 8u);
        ASSERT_EQ(at70.size(), 8u);
        EXPECT_EQ(at80[2], at70[2]);
        EXPECT_EQ(at80[3] > 0, std::string(spacing) == "2");
    }
}

// The numbers of the first row of a rock load-settlement table in a report.
std::vector<double> FirstRockCurveRow(const std::string& report) {
    const std::vector<std::string> lines = test::Lines(report);
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i].find("TON             IN.") == std::string::npos)
            continue;
        std::vector<double> values;
        std::istringstream in(lines[i + 1]);
        in.imbue(std::locale::classic());
        for (double v; in >> v;)
            values.push_back(v);
        return values;
    }
    ADD_FAILURE() << "no load-settlement table";
    return {};
}

// A design load first met where the tip reaches strong rock: the tip on the top of the rock
// layer is a base bearing on it.
TEST(CapacityRunTest, ADesignTipOnTheTopOfStrongRockIsABaseBearingOnIt) {
    TempDir dir;
    test::Project project;
    project.control = "1 1 1 1 1 2 0 0 0 0 0"; // design load
    project.load = "2 10 100 2.5 3";           // 100 tons, factor of safety 3 on the base
    // Clay fill without strength to 20 ft (no side, no base), strong rock (code 7) below: the
    // rock at its top has RQD 100 and Ei 2,000,000 psi, at its bottom 85 and 2,200,000 psi.
    project.layers = {"2 20 ",
                      "0 120 0 0 0 0 0 1 1 ",
                      "0 120 0 0 0 0 0 1 1 ",
                      "0 0 ",
                      "7 60 ",
                      "720000 576000 2 0.01 3 0 2000000 100 0 1 1 ",
                      "760000 576000 2 0.01 3 0 2200000 85 0 1 1 "};
    const test::RunResult run = test::RunProject(dir, project.Text());
    ASSERT_EQ(run.status, KOLMAR_STATUS_OK) << run.report;
    EXPECT_TRUE(run.all_closed);
    // By hand. QB at 20 ft: qu = min(720000, 576000) psf = 288 tsf on the 3 ft socket,
    // Ksp = (3 + 2/3) / (10 sqrt(1 + 300 x 0.01 / 2)) = 0.231900, QB = 3 pi/4 x 9 x 288 x Ksp
    // = 1416.3 tons; QDN = 1416.3 / 3 = 472.1 > 100 tons, and 0 above: the tip is at 20 ft.
    const std::vector<double> row = RowOf(run.report, "    20.0");
    ASSERT_EQ(row.size(), 8u);
    EXPECT_NEAR(row[3], 1416.3, 0.05);
    EXPECT_NE(run.notes.find("SHAFT LENGTH              =   20.000  FT."), std::string::npos);
    // Lr = 0: the rock values are the layer top's, Em = 2,000,000 x 0.072 x Em/Ei(100) = 144000
    // tsf; Ec/Em = 259200 / 144000 = 1.8 reads curve 1 at x = 0: I = 1.1; Qr = QB = 1416.3 tons.
    // Point 1: s = 0.00018, below s_ult = 1416.3 x 1.1 / (9 x 144000) = 0.00120; the base load
    // Qs = 9 x 144000 x 0.00018 / 1.1 = 212.07 tons; w = 0.00018 x 3 = 0.00054 ft. The clay adds
    // no load and shortens by 212.07 x 20 / (259200 x 0.7854 x 9) = 0.0023150 ft: the top moves
    // 0.0028550 ft = 0.034260 in. Both bounds alike, as the clay carries nothing.
    const std::vector<double> first = FirstRockCurveRow(run.report);
    ASSERT_EQ(first.size(), 4u);
    for (const std::size_t bound : {0u, 2u}) {
        EXPECT_NEAR(first[bound], 212.07, 0.05) << bound;
        EXPECT_NEAR(first[bound + 1], 0.034260, 0.000005) << bound;
    }
    for (const std::string& text : {run.report, run.notes})
        EXPECT_EQ(text.find("NO LOAD-SETTLEMENT CURVE"), std::string::npos) << text;
}

TEST(CapacityRunTest, DataTheAnalysisCannotUseIsRefused) {
    struct Case {
        const char* what;
        std::string shaft, load, control, problem;
    };
    const test::Project base;
    const Case cases[] = {
        {"no stem diameter", "0 0 0 0 0 0 3600000", base.load, base.control,
         "SHAFT RECORD: THE STEM DIAMETER MUST BE GREATER THAN 0."},
        {"a base narrower than the stem", "3 3 0.5 45 0 0 3600000", base.load, base.control,
         "SHAFT RECORD: THE RATIO OF BASE TO STEM DIAMETER MUST BE 0 (STRAIGHT SHAFT) OR AT "
         "LEAST 1."},
        {"a bell without an angle", "3 3 2 0 0 0 3600000", base.load, base.control,
         "SHAFT RECORD: THE BELL ANGLE MUST LIE BETWEEN 0 AND 90 DEGREES."},
        {"no factor of safety on side resistance", base.shaft, "1 10 50 0 3", base.control,
         "LOAD RECORD: THE FACTOR OF SAFETY ON SIDE RESISTANCE MUST BE GREATER THAN 0."},
        {"no factor of safety on base resistance", base.shaft, "1 10 50 2.5 0", base.control,
         "LOAD RECORD: THE FACTOR OF SAFETY ON BASE RESISTANCE MUST BE GREATER THAN 0."},
        {"a negative uplift factor", base.shaft, base.load, "2 2 -1 1 1 2 0 0 0 0 0",
         "CONTROL RECORD: THE UPLIFT REDUCTION FACTOR MUST NOT BE NEGATIVE."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        test::Project project;
        project.shaft = c.shaft;
        project.load = c.load;
        project.control = c.control;
        const test::RunResult run = test::RunProject(dir, project.Text());
        EXPECT_EQ(run.status, KOLMAR_STATUS_BAD_INPUT);
        std::ostringstream block;
        WriteDataError(block, c.problem);
        for (const std::string* text : {&run.report, &run.notes, &run.console})
            EXPECT_NE(text->find(block.str()), std::string::npos) << *text;
        EXPECT_EQ(run.report.find("SOIL INFORMATION"), std::string::npos);
    }
    // LRFD needs no factors of safety.
    TempDir dir;
    test::Project lrfd;
    lrfd.control = "2 1 1 1 1 1 0 0 0 0 0";
    lrfd.load = "1 10 50 0 0";
    EXPECT_EQ(test::RunProject(dir, lrfd.Text()).status, KOLMAR_STATUS_OK);
}

} // namespace
} // namespace kolmar::engine
