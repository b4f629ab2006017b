// `kolmar export` driven as a user drives it, as a separate process, on a project whose plot
// file holds every section: the workbook, the CSV files, the choice of graphs and the errors.
#include "WorkbookReader.h"
#include "gui/data/DataUnit.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using workbook::TSeries;
using workbook::TWorkbook;

namespace {

struct TResult {
    int Exit = -1;
    std::string Output;
};

TResult Kolmar(const std::string& Args) {
    TResult r;
    const std::string command =
        std::string("'") + KOLMAR_RUNNER + "' export " + Args + " 2>&1 </dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return r;
    std::array<char, 4096> buffer{};
    while (std::fgets(buffer.data(), buffer.size(), pipe))
        r.Output += buffer.data();
    const int status = pclose(pipe);
    r.Exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

std::string Quote(const fs::path& P) {
    return "'" + P.string() + "'";
}

// A project with design charts and additional t-z curves, saved beside its plot file, and the
// same project without results.
class ExportCommand : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir = fs::temp_directory_path() / ("kolmar_export_cli_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        auto p = TProgramData::Create();
        p->Title = "Two diameters with design charts";
        p->PD = 40.0;
        p->DSTART = 3.0;
        p->DIAMINCR = 0.5;
        p->NLRFD = 2;
        p->IChart = 1;
        p->NPOINTPD = 2;
        p->PDSETT[0] = 0.5;
        p->PDSETT[1] = 1.0;
        p->PrintTZCurves = 1;
        p->D.SetRowCount(2);
        p->D[0].SetSoilType(kolmar::kSand);
        p->D[0].Depth = 20.0;
        p->D[1].SetSoilType(kolmar::kClay);
        p->D[1].Depth = 60.0;
        p->FileName = (dir / "charts.kx8d").string();
        p->Save();
        fs::copy_file(fs::path(KOLMAR_TEST_DATA) / "data" / "design-charts.kx8p",
                      dir / "charts.kx8p");
        fs::copy_file(dir / "charts.kx8d", dir / "unrun.kx8d");
    }
    static void TearDownTestSuite() { fs::remove_all(dir); }

    static inline fs::path dir;
};

TEST_F(ExportCommand, WritesTheWorkbookAndOneCsvPerGraph) {
    const fs::path out = dir / "all.xlsx";
    const TResult r =
        Kolmar(Quote(dir / "charts.kx8d") + " -o " + Quote(out) + " --csv " + Quote(dir / "csv"));
    ASSERT_EQ(r.Exit, 0) << r.Output;
    EXPECT_NE(r.Output.find("18 graphs"), std::string::npos) << r.Output;

    TWorkbook book(out.string());
    ASSERT_TRUE(book.Ok()) << book.Error();
    ASSERT_EQ(book.SheetNames().size(), 1u + 2u * 18u);
    EXPECT_EQ(book.Cell("Legend", "C20"), "Design Chart (1-in movement)");
    EXPECT_FALSE(TWorkbook::Series(book.Chart("Plot_1")).front().NoMarker);

    int files = 0;
    for (const auto& entry : fs::directory_iterator(dir / "csv"))
        files += entry.path().extension() == ".csv";
    EXPECT_EQ(files, 18);
    const std::string skin = workbook::ReadFile((dir / "csv" / "pltSkin.csv").string());
    EXPECT_EQ(skin.substr(0, skin.find('\n')),
              "Dia=3 ft: Ultimate Skin Friction (tons),Dia=3 ft: Depth (ft),"
              "Dia=3.5 ft: Ultimate Skin Friction (tons),Dia=3.5 ft: Depth (ft)");
    EXPECT_NE(r.Output.find("pltSkin.csv"), std::string::npos);
}

TEST_F(ExportCommand, NamedGraphsInTheOrderGivenWithoutMarkers) {
    const fs::path out = dir / "two.xlsx";
    const TResult r = Kolmar(Quote(dir / "charts.kx8d") + " -o " + Quote(out) +
                             " --graphs PltChart2,pltskin,PltChart2 --no-markers");
    ASSERT_EQ(r.Exit, 0) << r.Output;
    TWorkbook book(out.string());
    ASSERT_TRUE(book.Ok()) << book.Error();
    EXPECT_EQ(book.SheetNames(),
              (std::vector<std::string>{"Legend", "Page_1", "Plot_1", "Page_2", "Plot_2"}));
    EXPECT_EQ(book.Cell("Legend", "C3"), "Design Chart (1-in movement)");
    EXPECT_EQ(book.Cell("Legend", "C4"), "Ultimate Skin Friction vs Depth");
    for (const TSeries& s : TWorkbook::Series(book.Chart("Plot_2")))
        EXPECT_TRUE(s.NoMarker) << s.Name;
}

TEST_F(ExportCommand, ErrorsNameWhatIsWrong) {
    const std::string project = Quote(dir / "charts.kx8d");
    const std::string out = " -o " + Quote(dir / "bad.xlsx");
    {
        std::ofstream damaged(dir / "damaged.kx8p");
        damaged << " 2 4 3\n   0.0  0.0  x\n";
        fs::copy_file(dir / "charts.kx8d", dir / "damaged.kx8d", fs::copy_options::skip_existing);
    }
    const struct {
        std::string Args;
        int Exit;
        const char* Says;
    } cases[] = {
        {"", 64, "export needs a project file"},
        {project, 64, "needs -o FILE.xlsx or --csv DIR"},
        {project + out + " --bogus", 64, "unknown option '--bogus'"},
        {project + " -o", 64, "-o needs a value"},
        {project + out + " --graphs pltFoo", 64, "no graph is named 'pltFoo'"},
        {project + out + " --graphs PltChart3", 64, "hold no graph 'PltChart3'"},
        {Quote(dir / "unrun.kx8d") + out, 66, "no results for this project"},
        {Quote(dir / "nothing.kx8d") + out, 66, "no such project file"},
        {Quote(dir / "damaged.kx8d") + out, 65, "the results cannot be read"},
        {project + " -o " + Quote(dir / "no" / "such" / "x.xlsx"), 73, "does not exist"},
    };
    for (const auto& c : cases) {
        const TResult r = Kolmar(c.Args);
        EXPECT_EQ(r.Exit, c.Exit) << c.Args << "\n" << r.Output;
        EXPECT_NE(r.Output.find(c.Says), std::string::npos) << c.Args << "\n" << r.Output;
    }
    EXPECT_FALSE(fs::exists(dir / "bad.xlsx"));
}

} // namespace
