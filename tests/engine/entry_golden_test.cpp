// Golden files of a whole run on a small project: the banner, file-name block, date block and
// title in the report and the t-z file, the design-depth warning, and the staged files appended
// in their fixed order.
#include "checks.h"
#include "entry.h"
#include "format.h"
#include "kolmar/ikolmar.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <sstream>

namespace kolmar::engine {
namespace {

using test::Padded;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

TEST(EntryGoldenTest, FullRunWritesHeadersAndAssemblesTheStagedFiles) {
    TempDir dir;
    WriteFile(dir / "names.dat",
              test::NamesDat("2017.8.9-release-candidate  \r", "project/full_run"));
    WriteFile(dir / "project/full_run.kx8d", ReadFile(KOLMAR_TEST_DATA "/data/full_run.kx8d"));

    RunContext ctx;
    std::ostringstream console;
    ctx.console = &console;
    ctx.work_dir = dir.path();
    ctx.clock = [] { return DateTime{2017, 8, 9, 14, 30, 0}; };
    const std::string long_line(100, 'x');
    ctx.on_analysis_end = [&](RunContext& run) {
        WriteLine(run.Out(FileRole::qw_stage), "q-w line 1");
        WriteLine(run.Out(FileRole::qw_stage), long_line);
        WriteLine(run.Out(FileRole::plot_stage_t), "t-z section");
        WriteLine(run.Out(FileRole::plot_stage_q), "q-w section");
        WriteLine(run.Out(FileRole::plot_stage_l), "load distribution");
        WriteFile(run.Resolve(FileRole::tz_diam), "1\r\n");
    };
    ASSERT_EQ(RunEntry(KOLMAR_CALL_CODE, ctx), KOLMAR_STATUS_OK) << console.str();
    for (const std::ofstream& out : ctx.out)
        EXPECT_FALSE(out.is_open());

    const std::string report = ReadFile(dir / "project/full_run.kx8o");
    const std::string tz = ReadFile(dir / "project/full_run.kx8z");
    test::ExpectGolden(report, "full_run.report.golden");
    test::ExpectGolden(tz, "full_run.tz.golden");

    // The version is cut to its 12-character field in both banners.
    const std::string version_line = Blanks(20) + "  Kolmar for Windows, Version 2017.8.9-rel\n";
    EXPECT_NE(report.find(version_line), std::string::npos);
    EXPECT_NE(tz.find(version_line), std::string::npos);

    // Plot file: the capacity curve, then .kx8t, TZDIAM.DAT, .kx8q, .kx8l, each line as an
    // 80-column field.
    const std::string plot = ReadFile(dir / "project/full_run.kx8p");
    const std::string staged =
        Padded("t-z section") + Padded("1") + Padded("q-w section") + Padded("load distribution");
    ASSERT_GT(plot.size(), staged.size());
    EXPECT_EQ(plot.substr(plot.size() - staged.size()), staged);
    EXPECT_EQ(plot.rfind("           1          72           0\n", 0), 0u);
    // The .kx8w listing ends the t-z file, its long line cut and its short line padded.
    EXPECT_EQ(tz.substr(tz.size() - 162), Padded("q-w line 1") + Padded(long_line));

    // The proposed depth lies below the profile: the warning opens the run notes too.
    std::ostringstream warning;
    WriteProposedDepthWarning(warning);
    EXPECT_EQ(ReadFile(dir / "project/full_run.kx8r").rfind(warning.str(), 0), 0u);
    EXPECT_TRUE(std::filesystem::exists(dir / "CHART.DAT"));
    // The title also goes to the console.
    EXPECT_NE(console.str().find("     Drilled shaft in sand over clay, proposed depth 80 ft\n"),
              std::string::npos);
}

} // namespace
} // namespace kolmar::engine
