// Whole runs whose plot file is read back in step, section by section: a layered sand-over-clay
// shaft with additional t-z curves (capacity curves with three load-settlement series, t-z and
// q-w curves of ten points, the load distribution with NP - 2 records per load level), and a
// design-chart run with its chart section.
#include "kolmar/ikolmar.h"
#include "plot_reader.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace kolmar::engine {
namespace {

using test::TempDir;

std::string DataProject(const std::string& name) {
    return test::ReadFile(std::string(KOLMAR_TEST_DATA) + "/data/" + name + ".kx8d");
}

std::string Example(const std::string& name) {
    return test::ReadFile(std::string(KOLMAR_SOURCE_DIR) + "/examples/" + name + ".kx8d");
}

void ExpectRising(const std::vector<std::array<double, 4>>& rows, const std::string& what) {
    ASSERT_EQ(rows.size(), 15u) << what;
    for (std::size_t k = 1; k < rows.size(); ++k) {
        EXPECT_GT(rows[k][0], rows[k - 1][0]) << what << ", top load of row " << k + 1;
        EXPECT_GT(rows[k][1], rows[k - 1][1]) << what << ", top movement of row " << k + 1;
    }
}

TEST(PlotFileTest, SandOverClayReadsInStepThroughAllFourSections) {
    TempDir dir;
    const test::RunResult run = test::RunProject(dir, DataProject("sand_over_clay_tz"));
    ASSERT_EQ(run.status, KOLMAR_STATUS_OK) << run.console;
    const test::PlotFileContent plot = test::ReadPlotFileContent(run.plot, false, true);
    ASSERT_TRUE(plot.complete);

    // Section 1: one curve per diameter (3 and 3.5 ft), each with three load-settlement series.
    ASSERT_EQ(plot.NC, 2);
    EXPECT_EQ(plot.NS, 3);
    for (const test::PlotCurve& curve : plot.curves) {
        EXPECT_EQ(curve.points, plot.curves.front().points);
        for (const auto& series : curve.settlement)
            ExpectRising(series, "curve");
    }
    // The second diameter carries more load at the top for the same movement.
    EXPECT_GT(plot.curves[1].settlement[0].back()[0], plot.curves[0].settlement[0].back()[0]);

    // Section 3: the two additional curves, five t-z curves per layer down to the tip (sand and
    // the clay cut at 40 ft), and one q-w curve per diameter, ten points each.
    ASSERT_TRUE(plot.has_tz_section);
    ASSERT_EQ(plot.additional_tz.size(), 2u);
    EXPECT_DOUBLE_EQ(plot.additional_tz[0].head, 10.0);
    EXPECT_DOUBLE_EQ(plot.additional_tz[1].head, 30.0);
    ASSERT_EQ(plot.tz.size(), 10u);
    EXPECT_NEAR(plot.tz.back().head, 40.0, 0.01);
    ASSERT_EQ(plot.qw.size(), 2u);
    EXPECT_DOUBLE_EQ(plot.qw[0].head, 3.0);
    EXPECT_DOUBLE_EQ(plot.qw[1].head, 3.5);
    for (const auto* curves : {&plot.additional_tz, &plot.tz, &plot.qw})
        for (const test::PlotTzCurve& c : *curves) {
            EXPECT_EQ(c.count, 10);
            EXPECT_EQ(c.points.size(), 10u);
        }

    // Section 4: 15 load levels of NP - 2 elements, from the tip upward, within the shaft; the
    // load at the top element of each level is the trend curve's top load less half an element.
    ASSERT_TRUE(plot.has_distribution);
    ASSERT_EQ(plot.distribution.size(), 15u);
    const std::size_t elements = static_cast<std::size_t>(plot.curves.front().points - 2);
    for (const auto& group : plot.distribution) {
        ASSERT_EQ(group.size(), elements);
        EXPECT_GT(group.front()[0], group.back()[0]);
        EXPECT_LT(group.front()[0], 40.0);
        EXPECT_GT(group.back()[0], 0.0);
    }
    const double top_load = plot.curves.front().settlement[0].back()[0];
    EXPECT_NEAR(plot.distribution.back().back()[1], top_load, 0.02 * top_load);
}

TEST(PlotFileTest, TheExamplesWithASoilTipRunCleanly) {
    for (const char* name : {"sand-water-table", "si-dense-sand", "clay-bell", "sand-over-clay"}) {
        SCOPED_TRACE(name);
        TempDir dir;
        const test::RunResult run = test::RunProject(dir, Example(name));
        EXPECT_EQ(run.status, KOLMAR_STATUS_OK) << run.console;
        EXPECT_NE(run.report.find("AXIAL LOAD VS SETTLEMENT CURVES"), std::string::npos);
        EXPECT_EQ(run.report.find("NAN"), std::string::npos);
        EXPECT_EQ(run.plot.find("nan"), std::string::npos);
        EXPECT_EQ(run.plot.find("*"), std::string::npos);
    }
}

} // namespace
} // namespace kolmar::engine
