// Warnings and notes of whole runs: their exact lines, where each goes (report, run notes,
// rock-message copy in the report) and how often.
#include "kolmar/ikolmar.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace kolmar::engine {
namespace {

using test::TempDir;

int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// Sand by the Ko method with Ko 0 at both ends gives no side resistance: the layer's echo and the
// run notes say so, once per run however many cases it has; Ko 0 at one end only is no warning.
TEST(RunWarningsTest, KoZeroAtBothEndsOfASandLayerIsNamed) {
    TempDir dir;
    test::Project project;
    project.shaft = "3 3.5 0 0 0 0 3600000"; // two diameters: two cases
    project.load = "2 10 50 2.5 3";
    project.layers = {
        "1 20 ", "0.0 120 34 0 15 0 0 1 1 ", "0.0 122 35 0 18 0 0 1 1 ", "1 ", "0.8 0 ",
        "1 70 ", "0.0 122 35 0 18 0 0 1 1 ", "0.0 125 38 0 30 0 0 1 1 ", "1 ", "0 0 "};
    const test::RunResult run = test::RunProject(dir, project.Text());
    ASSERT_EQ(run.status, KOLMAR_STATUS_OK) << run.report;
    const std::string line =
        "   WARNING: KO IS 0 AT BOTH ENDS OF LAYER 2; THE LAYER GIVES NO SIDE RESISTANCE.\n";
    EXPECT_EQ(Count(run.notes, line), 1) << run.notes;
    EXPECT_EQ(Count(run.report, line), 1);
    EXPECT_EQ(Count(run.report + run.notes, "WARNING: KO IS 0"), 2);
    // In the echo, at the end of layer 2's block.
    EXPECT_NE(
        run.report.find("LRFD RESISTANCE FACTOR (TIP RESISTANCE)           = 0.100E+01\n" + line),
        std::string::npos)
        << run.report;
}

// A shaft with a soil tip under uplift: the load-settlement table is the compression t-z curve
// without base, and the note above the tables says so; under compression there is no note.
TEST(RunWarningsTest, UpliftWithASoilTipNotesWhatTheTableIs) {
    const std::string note = "   NOTE: UPLIFT RUN WITH A SOIL TIP - THIS TABLE IS THE COMPRESSION "
                             "T-Z CURVE WITHOUT BASE.\n";
    const std::string heading = "     AXIAL LOAD VS SETTLEMENT CURVES\n"
                                "     -------------------------------\n";
    for (const bool uplift : {false, true}) {
        SCOPED_TRACE(uplift ? "uplift" : "compression");
        TempDir dir;
        test::Project project;
        if (uplift)
            project.control = "2 2 0.75 1 1 2 0 0 0 0 0";
        const test::RunResult run = test::RunProject(dir, project.Text());
        ASSERT_EQ(run.status, KOLMAR_STATUS_OK) << run.report;
        ASSERT_EQ(Count(run.report, heading), 1) << run.report;
        EXPECT_EQ(Count(run.report, note), uplift ? 1 : 0);
        if (uplift) {
            EXPECT_NE(run.report.find(heading + "\n" + note), std::string::npos) << run.report;
        }
        EXPECT_EQ(Count(run.notes, "UPLIFT RUN WITH A SOIL TIP"), 0);
    }
}

// A 48 ft weak-rock socket far too soft for the method (Ec/Em = 2823.53 at every depth): the
// run notes get the warning once per computation depth, the side resistance of each foot and the
// base of a tip at its bottom sharing one; the report's copy of the rock messages keeps the
// first alone.
TEST(RunWarningsTest, WeakRockWarningsOncePerComputationDepth) {
    TempDir dir;
    test::Project project;
    project.load = "2 8 40 2.5 3";
    project.layers = {
        "2 12 ", "0 118 0.0 1500 0 0 0 1 1 ",       "0 120 0.0 2000 0 0 0 1 1 ",      "0 0 ",
        "6 60 ", "50000 1 7 30 3 0 3000 60 0 1 1 ", "50000 1 7 30 3 0 3000 60 0 1 1 "};
    const test::RunResult run = test::RunProject(dir, project.Text());
    ASSERT_EQ(run.status, KOLMAR_STATUS_OK) << run.report;
    const std::string value = "                         Ec/Em =   2823.53\n";
    // Feet 12 to 59 in the rock, and the tip on its top at 12 ft (the computation depth of foot
    // 11, whose side lies in the clay): 49 computation depths.
    EXPECT_EQ(Count(run.notes, value), 49);
    EXPECT_EQ(Count(run.notes, "WARNING MESSAGE"), 49);
    EXPECT_EQ(Count(run.report, test::Padded(value.substr(0, value.size() - 1))), 1);
}

} // namespace
} // namespace kolmar::engine
