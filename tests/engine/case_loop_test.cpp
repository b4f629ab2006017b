// The case loop over diameters and lengths and the design charts: the planned diameters and
// lengths at their edges, whole runs with several cases (their report sections, their plot
// files read back in step including the design-chart section), the chart pages, the cases cut
// at the loop's limits, and the most efficient shaft of a design-load run.
#include "cases.h"
#include "kolmar/ikolmar.h"
#include "plot_reader.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <locale>
#include <sstream>
#include <string>
#include <vector>

namespace kolmar::engine {
namespace {

using test::TempDir;

std::string Example(const std::string& name) {
    return test::ReadFile(std::string(KOLMAR_SOURCE_DIR) + "/examples/" + name + ".kx8d");
}

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

void ExpectValues(const std::vector<double>& actual, const std::vector<double>& expected,
                  const std::string& what) {
    ASSERT_EQ(actual.size(), expected.size()) << what;
    for (std::size_t i = 0; i < actual.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], 1e-9) << what << " " << i + 1;
}

TEST(CasePlanTest, DiametersAndLengthsAtTheirEdges) {
    struct Case {
        const char* what;
        double dstart, dialim, diamincr;
        int ipent, ichart;
        double pd, pdmin, pdincr;
        std::vector<double> diameters, lengths;
    };
    const Case cases[] = {
        {"half-foot steps up to DIALIM", 3, 4, 0, 0, 0, 40, 0, 0, {3, 3.5, 4}, {40}},
        {"4.5 ft is not below 4.01 + 0.02", 3, 4.01, 0, 0, 0, 40, 0, 0, {3, 3.5, 4}, {40}},
        {"lengths above PDMIN only", 3, 3, 0, 1, 0, 50, 20, 10, {3}, {50, 40, 30}},
        {"chart diameters by DIAMINCR",
         2,
         3,
         0.25,
         0,
         1,
         30,
         15,
         5,
         {2, 2.25, 2.5, 2.75, 3},
         {30, 25, 20}},
        {"no length loop without the options", 3, 3, 0, 0, 0, 50, 20, 10, {3}, {50}},
    };
    for (const Case& c : cases) {
        InputData in;
        in.DSTART = c.dstart;
        in.DIALIM = c.dialim;
        in.DIAMINCR = c.diamincr;
        in.IPENT = c.ipent;
        in.IChart = c.ichart;
        in.PD = c.pd;
        in.PDMIN = c.pdmin;
        in.PDINCR = c.pdincr;
        const CasePlan plan = PlanCases(in);
        ExpectValues(plan.diameters, c.diameters, std::string(c.what) + ", diameter");
        ExpectValues(plan.lengths, c.lengths, std::string(c.what) + ", length");
        EXPECT_LT(plan.first_diameter_cut, 0.0) << c.what;
        EXPECT_LT(plan.first_length_cut, 0.0) << c.what;
    }
    // Beyond the limits: 20 diameters and 100 lengths, the first one cut kept for the note.
    InputData in;
    in.DSTART = 1;
    in.DIALIM = 20;
    in.DIAMINCR = 0.5;
    in.IChart = 1;
    in.PD = 300;
    in.PDMIN = 10;
    in.PDINCR = 1;
    const CasePlan plan = PlanCases(in);
    EXPECT_EQ(plan.diameters.size(), 20u);
    EXPECT_DOUBLE_EQ(plan.diameters.back(), 10.5);
    EXPECT_DOUBLE_EQ(plan.first_diameter_cut, 11.0);
    EXPECT_EQ(plan.lengths.size(), 100u);
    EXPECT_DOUBLE_EQ(plan.lengths.back(), 201.0);
    EXPECT_DOUBLE_EQ(plan.first_length_cut, 200.0);
}

// LRFD design charts for 2.5 to 4 ft (4 diameters) and 60 down to 35 ft (6 lengths) at three
// settlements.
TEST(CaseLoopTest, DesignChartRunReadsInStepAndAgreesWithItsCurves) {
    TempDir dir;
    const test::RunResult run = test::RunProject(dir, Example("sand-over-clay"));
    ASSERT_EQ(run.status, KOLMAR_STATUS_OK) << run.console;
    EXPECT_EQ(Count(run.report, "- CASE ANALYZED      : "), 24u);
    EXPECT_EQ(Count(run.notes, "- CASE ANALYZED      : "), 24u);
    EXPECT_NE(run.report.find("     - CASE ANALYZED      :    24\n"
                              "       VARIATION LENGTH   :     6\n"
                              "       VARIATION DIAMETER :     4\n"),
              std::string::npos);

    const test::PlotFileContent plot = test::ReadPlotFileContent(run.plot, true, false);
    ASSERT_TRUE(plot.complete);
    // One capacity curve per diameter.
    ASSERT_EQ(plot.NC, 4);
    ASSERT_EQ(plot.NT, 3);
    ASSERT_EQ(plot.ND, 4);
    ASSERT_EQ(plot.NQ, 6);
    const double settlements[] = {0.25, 0.5, 1.0};
    for (int k = 0; k < 3; ++k) {
        const test::PlotChart& chart = plot.charts[static_cast<std::size_t>(k)];
        EXPECT_DOUBLE_EQ(chart.movement, settlements[k]);
        for (int j = 0; j < 4; ++j) {
            const test::PlotChartLine& line = chart.lines[static_cast<std::size_t>(j)];
            EXPECT_DOUBLE_EQ(line.diameter, 12.0 * (2.5 + 0.5 * j));
            for (int i = 0; i < 6; ++i) {
                const test::PlotPoint& p = line.pairs[static_cast<std::size_t>(i)];
                // Longest length first, in inches; loads in pounds, growing with the diameter
                // and the settlement.
                EXPECT_NEAR(p.x, 12.0 * (60 - 5 * i), 1e-6);
                EXPECT_GT(p.y, 0.0);
                const auto load = [&plot, i](int settlement, int diameter) {
                    return plot.charts[static_cast<std::size_t>(settlement)]
                        .lines[static_cast<std::size_t>(diameter)]
                        .pairs[static_cast<std::size_t>(i)]
                        .y;
                };
                if (j > 0) {
                    EXPECT_GT(p.y, load(k, j - 1));
                }
                if (k > 0) {
                    EXPECT_GT(p.y, load(k - 1, j));
                }
            }
        }
    }
    // A chart load is a point of the trend curve at that settlement, solved again at the tip
    // movement interpolated from the rows: close to the chord of the two rows around the
    // settlement (the curve bends between them) and not above the upper row's load (section 1
    // holds the curves of the longest length, one per diameter).
    for (int j = 0; j < 4; ++j) {
        const auto& trend = plot.curves[static_cast<std::size_t>(j)].settlement[0];
        for (int k = 0; k < 3; ++k) {
            const double s = settlements[k];
            std::size_t r = 1;
            while (r + 1 < trend.size() && trend[r][1] < s)
                ++r;
            const double chord = trend[r - 1][0] + (s - trend[r - 1][1]) *
                                                       (trend[r][0] - trend[r - 1][0]) /
                                                       (trend[r][1] - trend[r - 1][1]);
            const double chart = plot.charts[static_cast<std::size_t>(k)]
                                     .lines[static_cast<std::size_t>(j)]
                                     .pairs[0]
                                     .y /
                                 2000.0;
            const std::string what =
                "diameter " + std::to_string(j + 1) + ", settlement " + std::to_string(s);
            EXPECT_NEAR(chart, chord, 0.05 * chord) << what;
            EXPECT_LE(chart, 1.01 * trend[r][0]) << what;
        }
    }

    // The report section: rows from the shortest length to the longest.
    const std::size_t section =
        run.report.find("     DESIGN CHART CURVES\n     -------------------");
    ASSERT_NE(section, std::string::npos);
    const std::string charts = run.report.substr(section);
    EXPECT_NE(charts.find("     - SETTLEMENT,     0.250 IN\n"), std::string::npos);
    EXPECT_NE(charts.find("   LENGTH          DIAMETER, FT\n"
                          "    (FT)      2.50     3.00     3.50     4.00\n"
                          "                   TOP LOAD, TONS\n"
                          "    35.00"),
              std::string::npos)
        << charts;
    const std::size_t shortest = charts.find("    35.00");
    const std::size_t longest = charts.find("    60.00");
    EXPECT_LT(shortest, longest);
    EXPECT_EQ(Count(charts, "DIAMETER, FT"), 3u);
}

TEST(CaseLoopTest, NineDiametersPrintTwoPagesPerSettlement) {
    TempDir dir;
    test::Project project;
    project.control = "2 1 1 1 1 2 0 1 0 0 0";
    project.shaft = "2 6 0 0 0 0 3600000";
    project.load = "1 10 40 2.5 3";
    project.options = {"30 10 0.5 2", "0.5 1 "};
    const test::RunResult run = test::RunProject(dir, project.Text());
    ASSERT_EQ(run.status, KOLMAR_STATUS_OK) << run.console;
    const std::string charts = run.report.substr(run.report.find("DESIGN CHART CURVES"));
    EXPECT_EQ(Count(charts, "DIAMETER, FT"), 4u);
    EXPECT_NE(
        charts.find("    (FT)      2.00     2.50     3.00     3.50     4.00     4.50     5.00\n"),
        std::string::npos);
    EXPECT_NE(charts.find("    (FT)      5.50     6.00\n"), std::string::npos);
    const test::PlotFileContent plot = test::ReadPlotFileContent(run.plot, true, false);
    EXPECT_TRUE(plot.complete);
    EXPECT_EQ(plot.ND, 9);
    EXPECT_EQ(plot.NQ, 1);
}

TEST(CaseLoopTest, DiametersBeyondTheLimitAreNamedNotSilentlyDropped) {
    TempDir dir;
    test::Project project;
    project.control = "2 1 1 1 1 2 0 1 0 0 0";
    project.shaft = "1 12 0 0 0 0 3600000";
    project.load = "1 10 40 2.5 3";
    project.layers[0] = "1 90 ";
    project.options = {"35 10 0.5 1", "0.5 "};
    const test::RunResult run = test::RunProject(dir, project.Text());
    ASSERT_EQ(run.status, KOLMAR_STATUS_OK) << run.console;
    const std::string note =
        "     THE DIAMETERS FROM   11.000 FT UP TO   12.000 FT WERE NOT ANALYSED.\n";
    EXPECT_NE(run.report.find(note), std::string::npos);
    EXPECT_NE(run.notes.find(note), std::string::npos);
    EXPECT_EQ(Count(run.report, "- CASE ANALYZED"), 20u);
    const test::PlotFileContent plot = test::ReadPlotFileContent(run.plot, true, false);
    EXPECT_TRUE(plot.complete);
    EXPECT_EQ(plot.ND, 20);
    EXPECT_EQ(plot.NC, 20);
}

TEST(CaseLoopTest, MultipleLengthsGiveOneCurvePerLength) {
    TempDir dir;
    test::Project project;
    project.control = "2 1 1 1 1 2 1 0 0 0 0";
    project.load = "1 10 50 2.5 3";
    project.options = {"20 10"};
    const test::RunResult run = test::RunProject(dir, project.Text());
    ASSERT_EQ(run.status, KOLMAR_STATUS_OK) << run.console;
    EXPECT_EQ(Count(run.report, "- CASE ANALYZED"), 3u);
    const test::PlotFileContent plot = test::ReadPlotFileContent(run.plot, false, false);
    EXPECT_TRUE(plot.complete);
    ASSERT_EQ(plot.NC, 3);
    // Longer shafts carry more at the same settlement: compare the last rows of the trend lines.
    EXPECT_GT(plot.curves[0].settlement[0].back()[0], plot.curves[2].settlement[0].back()[0]);
    EXPECT_EQ(run.report.find("DESIGN CHART CURVES"), std::string::npos);
}

TEST(CaseLoopTest, ADesignLoadRunOverSeveralDiametersNamesTheMostEfficientShaft) {
    TempDir dir;
    test::Project project;
    project.control = "1 1 1 1 1 2 0 0 0 0 0";
    project.shaft = "3 4 0 0 0 0 3600000";
    project.load = "1 10 200 2.5 3";
    const test::RunResult run = test::RunProject(dir, project.Text());
    ASSERT_EQ(run.status, KOLMAR_STATUS_OK) << run.console;
    EXPECT_EQ(Count(run.report, "- CASE ANALYZED"), 3u);
    ASSERT_EQ(Count(run.report, " THE MOST EFFICIENT SHAFT FOR THIS SOIL PROFILE\n"), 1u);
    const std::string block = run.report.substr(run.report.find(" THE MOST EFFICIENT SHAFT"));
    // The kept shaft is one of the three diameters, with its length from the design load.
    EXPECT_TRUE(block.find(" DIAMETER OF STEM       = 3.00 FT.") != std::string::npos ||
                block.find(" DIAMETER OF STEM       = 3.50 FT.") != std::string::npos ||
                block.find(" DIAMETER OF STEM       = 4.00 FT.") != std::string::npos)
        << block;
    EXPECT_NE(block.find(" QU/VOLUME OF CONCRETE  ="), std::string::npos);
    // A single diameter has nothing to compare.
    project.shaft = "3 3 0 0 0 0 3600000";
    EXPECT_EQ(test::RunProject(dir, project.Text()).report.find("THE MOST EFFICIENT"),
              std::string::npos);
}

} // namespace
} // namespace kolmar::engine
