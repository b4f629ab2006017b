// The kolmar runner driven as a user drives it: as a separate process.
#include "kolmar/ikolmar.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {
struct Result {
    int exit = -1;
    std::string output;
};

Result Kolmar(const std::string& args) {
    Result r;
    const std::string command = std::string("'") + KOLMAR_RUNNER + "' " + args + " 2>&1 </dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return r;
    std::array<char, 4096> buffer{};
    while (std::fgets(buffer.data(), buffer.size(), pipe))
        r.output += buffer.data();
    const int status = pclose(pipe);
    r.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

// The directories this process made, removed when the tests end.
struct TScratchDirs {
    std::vector<fs::path> Made;
    ~TScratchDirs() {
        for (const fs::path& dir : Made) {
            std::error_code ec;
            fs::remove_all(dir, ec);
        }
    }
} gScratchDirs;

// A directory of this test process alone: other builds may run the same tests at the same time.
fs::path FreshDir(const std::string& name) {
    fs::path dir =
        fs::temp_directory_path() / ("kolmar_runner_" + name + "_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    gScratchDirs.Made.push_back(dir);
    return dir;
}

fs::path CopyExample(const std::string& example, const fs::path& dir) {
    const fs::path target = dir / example;
    fs::copy_file(fs::path(KOLMAR_SOURCE_DIR) / "examples" / example, target);
    return target;
}

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string Quote(const fs::path& p) {
    return "'" + p.string() + "'";
}
} // namespace

TEST(Runner, HelpExplainsBothCommands) {
    const Result r = Kolmar("--help");
    EXPECT_EQ(r.exit, 0);
    EXPECT_NE(r.output.find("kolmar run PROJECT"), std::string::npos);
    EXPECT_NE(r.output.find("kolmar check PROJECT"), std::string::npos);
    EXPECT_EQ(Kolmar("frobnicate x").exit, 64);
    EXPECT_EQ(Kolmar("").exit, 64);
}

// The statuses IKOLMAR returns: the run statuses, and the wrong call code, which the runner
// never gives it.
const std::set<int> kRunStatuses = {KOLMAR_STATUS_OK,         KOLMAR_STATUS_TZ_BEYOND,
                                    KOLMAR_STATUS_TIP_BEYOND, KOLMAR_STATUS_SHORT_PROFILE,
                                    KOLMAR_STATUS_BAD_INPUT,  KOLMAR_STATUS_FILE_ERROR,
                                    KOLMAR_STATUS_INTERNAL};

// The numbers that open the rows of `text` from the line holding `from` up to the line holding
// `until`, each row read by `row` (its first group the number).
std::set<int> ListedStatuses(const std::string& text, const std::string& from,
                             const std::string& until, const std::regex& row) {
    std::set<int> statuses;
    std::istringstream in(text);
    bool inside = false;
    for (std::string line; std::getline(in, line);) {
        if (line.find(from) != std::string::npos) {
            inside = true;
            continue;
        }
        if (inside && line.find(until) != std::string::npos)
            break;
        std::smatch match;
        if (inside && std::regex_search(line, match, row))
            statuses.insert(std::stoi(match[1].str()));
    }
    return statuses;
}

TEST(Runner, HelpAndReadmeListTheStatusesTheEngineReturns) {
    const Result help = Kolmar("--help");
    EXPECT_EQ(ListedStatuses(help.output, "exit status is the engine's run status:",
                             "when no analysis ran", std::regex(R"(^ {8}(\d+) +\S)")),
              kRunStatuses)
        << help.output;
    std::set<int> returned = kRunStatuses;
    returned.insert(KOLMAR_STATUS_WRONG_CODE);
    const std::string readme = ReadAll(fs::path(KOLMAR_SOURCE_DIR) / "README.md");
    EXPECT_EQ(ListedStatuses(readme, "## Run status", "When no analysis ran",
                             std::regex(R"(^\| (\d+) \|)")),
              returned);
}

TEST(Runner, RunsAnExampleTwiceAndTidiesUp) {
    const fs::path dir = FreshDir("run");
    const fs::path project = CopyExample("sand-water-table.kx8d", dir);
    const std::string before = ReadAll(project);
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass == 0 ? "first run" : "second run, engine loaded afresh");
        const Result r = Kolmar("run " + Quote(project));
        EXPECT_EQ(r.exit, 0) << r.output;
        EXPECT_NE(r.output.find("Computations are completed.\nPlease, check output file"),
                  std::string::npos)
            << r.output;
        EXPECT_NE(r.output.find((dir / "sand-water-table.kx8o").string()), std::string::npos)
            << r.output;
        const std::string report = ReadAll(dir / "sand-water-table.kx8o");
        EXPECT_NE(report.find("VERTICALLY LOADED DRILLED SHAFT ANALYSIS"), std::string::npos);
        EXPECT_NE(report.find("Uniform sand with a water table at 10 ft"), std::string::npos);
        for (const char* scratch :
             {"names.dat", "TZDIAM.DAT", "sand-water-table.kx8w", "sand-water-table.kx8t",
              "sand-water-table.kx8q", "sand-water-table.kx8l"})
            EXPECT_FALSE(fs::exists(dir / scratch)) << scratch;
    }
    EXPECT_EQ(ReadAll(project), before) << "running must not rewrite the project file";
}

TEST(Runner, LayerCheckStopsTheRunBeforeAnythingIsWritten) {
    const fs::path dir = FreshDir("check");
    // A proposed length of 50 ft with 3 ft diameter needs a profile 56 ft deep; this one is 40.
    std::ofstream(dir / "short.kx8d", std::ios::binary)
        << "Short profile\r\n1 \r\n2 1 1 1 1 2 0 0 0 0 0\r\n3 3 0 0 0 0 3600000\r\n"
           "1 10 50 2.5 3\r\n1 40 \r\n0.0 120 34 0 15 0 0 1 1 \r\n0.0 125 38 0 30 0 0 1 1 \r\n"
           "2 \r\n0 0 \r\n";
    const Result r = Kolmar("run " + Quote(dir / "short.kx8d"));
    EXPECT_EQ(r.exit, 67) << r.output;
    EXPECT_NE(r.output.find("Depth of Bottom Layer, 40 ft"), std::string::npos) << r.output;
    EXPECT_FALSE(fs::exists(dir / "names.dat"));
    EXPECT_FALSE(fs::exists(dir / "short.kx8o"));

    const Result c = Kolmar("check " + Quote(dir / "short.kx8d"));
    EXPECT_EQ(c.exit, 67) << c.output;
}

TEST(Runner, UnreadableOrMissingProjectsAreNamed) {
    const fs::path dir = FreshDir("bad");
    std::ofstream(dir / "cut.kx8d", std::ios::binary)
        << "Cut short\r\n1 \r\n2 1 1 1 1 2 0 0 0 0 0\r\n3 3 0 0";
    Result r = Kolmar("check " + Quote(dir / "cut.kx8d"));
    EXPECT_EQ(r.exit, 65) << r.output;
    EXPECT_NE(r.output.find("This file either invalid or incomplete."), std::string::npos)
        << r.output;
    r = Kolmar("run " + Quote(dir / "cut.kx8d"));
    EXPECT_EQ(r.exit, 65) << r.output;
    EXPECT_FALSE(fs::exists(dir / "names.dat"));

    r = Kolmar("run " + Quote(dir / "nowhere.kx8d"));
    EXPECT_EQ(r.exit, 66) << r.output;
    r = Kolmar("check " + Quote(dir / "notes.txt"));
    EXPECT_EQ(r.exit, 64) << r.output;
}

TEST(Runner, CheckSummarisesAGoodProject) {
    const fs::path dir = FreshDir("summary");
    const fs::path project = CopyExample("si-dense-sand.kx8d", dir);
    const Result r = Kolmar("check " + Quote(project));
    EXPECT_EQ(r.exit, 0) << r.output;
    EXPECT_NE(r.output.find("Bridge pier shaft in dense sand (SI units)"), std::string::npos)
        << r.output;
    EXPECT_NE(r.output.find("SI"), std::string::npos) << r.output;
}

TEST(Runner, OlderProjectIsConvertedBesideItAndRun) {
    const fs::path dir = FreshDir("older");
    // 2012 layout: line 3 ends with IMOD and NLRFD; a sand row carries two placeholders.
    std::ofstream(dir / "old.kxd", std::ios::binary)
        << "Older project\r\n1 \r\n2 1 1 1 1 2\r\n3 3 0 0 0 0 3600000\r\n1 10 30 2.5 3\r\n"
           "1 50 \r\n0 120 34 0 15 0 0 1 1 \r\n0 125 38 0 30 0 0 1 1 \r\n1 \r\n0.6 0.5 \r\n";
    const Result r = Kolmar("run " + Quote(dir / "old.kxd"));
    EXPECT_EQ(r.exit, 0) << r.output;
    EXPECT_TRUE(fs::exists(dir / "old.kx8d"));
    EXPECT_TRUE(fs::exists(dir / "old.kx8o"));

    // A second conversion would overwrite the project saved before: refused.
    const Result again = Kolmar("run " + Quote(dir / "old.kxd"));
    EXPECT_EQ(again.exit, 73) << again.output;
}

// Older and damaged files through the runner's three reading commands. The third line's word
// count decides the layout whatever the extension; --layout overrides it. A .kx8d file the
// engine cannot read is refused by check and run alike, with the advice to upgrade it; upgrade
// rewrites it keeping a .bak; a damaged file is never rewritten.
TEST(Runner, OlderAndDamagedFilesThroughCheckRunAndUpgrade) {
    const std::string ten = "Ten words\r\n1 \r\n2 1 1 1 1 2 0 0 0 0\r\n3 3 0 0 0 0 3600000\r\n"
                            "1 10 30 2.5 3\r\n1 50 \r\n0.0 120 34 0 15 0 0 1 1 \r\n"
                            "0.0 125 38 0 30 0 0 1 1 \r\n2 \r\n0.6 0.5 \r\n";
    std::string damaged = ten;
    damaged.replace(damaged.find("2 1 1 1 1 2 0 0 0 0\r\n"), 21, "2 1 1 1 1 2 0 0 0 0 0\r\n");
    damaged.replace(damaged.find("1 10 30"), 7, "1 ten 30");
    const std::string old60 = ReadAll(fs::path(KOLMAR_SOURCE_DIR) / "tests/model/data/old60.kxd");
    const std::string old2012 = "Older project\r\n1 \r\n2 1 1 1 1 2\r\n3 3 0 0 0 0 3600000\r\n"
                                "1 10 30 2.5 3\r\n1 50 \r\n0 120 34 0 15 0 0 1 1 \r\n"
                                "0 125 38 0 30 0 0 1 1 \r\n1 \r\n0.6 0.5 \r\n";
    enum After { Untouched, Upgraded, Converted };
    const struct {
        const char* What;
        const char* File;
        std::string Text;
        const char* Command;
        int Exit;
        const char* Says;
        After Then;
    } cases[] = {
        {"10 words, check", "ten.kx8d", ten, "check", 65, "Run 'kolmar upgrade ", Untouched},
        {"10 words, run", "ten.kx8d", ten, "run", 65, "the 10 words of an earlier release",
         Untouched},
        {"10 words, upgrade", "ten.kx8d", ten, "upgrade", 0, "Upgraded", Upgraded},
        {"6.0 under .kx8d, check", "six.kx8d", old60, "check", 65, "6.0 layout", Untouched},
        {"6.0 under .kx8d, run", "six.kx8d", old60, "run", 65, "6.0 layout", Untouched},
        {"6.0 under .kx8d, upgrade", "six.kx8d", old60, "upgrade", 0, "Upgraded", Upgraded},
        {"6.0 .kxd, check", "six.kxd", old60, "check", 0, "Design:       ASD", Untouched},
        {"6.0 .kxd forced to 2012", "six.kxd", old60, "check --layout 2012", 65,
         "Error on Line 5 Item 3", Untouched},
        {"6.0 .kxd, upgrade", "six.kxd", old60, "upgrade", 0, "Converted", Converted},
        {"2012 .kxd, check", "old.kxd", old2012, "check", 0, "The project can be run.", Untouched},
        {"2012 under .kx8d, upgrade", "old.kx8d", old2012, "upgrade", 0, "Upgraded", Upgraded},
        {"a word for a number, check", "bad.kx8d", damaged, "check", 65,
         "Error on Line 5 Item 2\nA floating point number was expected but not found.", Untouched},
        {"a word for a number, run", "bad.kx8d", damaged, "run", 65, "Error on Line 5 Item 2",
         Untouched},
        {"a word for a number, upgrade", "bad.kx8d", damaged, "upgrade", 65,
         "Error on Line 5 Item 2", Untouched},
        {"truncated, check", "cut.kx8d", old60.substr(0, old60.find("1 0 0 0")), "check", 65,
         "cut.kx8d:\nError on Line 4\nThis file either invalid or incomplete.", Untouched},
        {"truncated, upgrade", "cut.kx8d", old60.substr(0, old60.find("1 0 0 0")), "upgrade", 65,
         "This file either invalid or incomplete.", Untouched},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        const fs::path dir = FreshDir("layouts");
        const fs::path file = dir / c.File;
        std::ofstream(file, std::ios::binary) << c.Text;
        const Result r = Kolmar(std::string(c.Command) + " " + Quote(file));
        EXPECT_EQ(r.exit, c.Exit) << r.output;
        EXPECT_NE(r.output.find(c.Says), std::string::npos) << r.output;
        EXPECT_FALSE(fs::exists(dir / "names.dat"));
        const fs::path current = fs::path(file).replace_extension(".kx8d");
        switch (c.Then) {
        case Untouched:
            EXPECT_EQ(ReadAll(file), c.Text);
            EXPECT_FALSE(fs::exists(file.string() + ".bak"));
            EXPECT_EQ(fs::exists(current), file == current);
            EXPECT_FALSE(fs::exists(fs::path(file).replace_extension(".kx8o")));
            break;
        case Upgraded:
            EXPECT_EQ(ReadAll(file.string() + ".bak"), c.Text);
            [[fallthrough]];
        case Converted: {
            const std::string text = ReadAll(current);
            std::istringstream lines(text);
            std::string line;
            for (int i = 0; i < 3; ++i)
                std::getline(lines, line);
            std::istringstream words(line);
            EXPECT_EQ(std::distance(std::istream_iterator<std::string>(words),
                                    std::istream_iterator<std::string>()),
                      11)
                << line;
            const Result check = Kolmar("check " + Quote(current));
            EXPECT_NE(check.output.find("The project can be run."), std::string::npos)
                << check.output;
            const Result again = Kolmar("upgrade " + Quote(current));
            EXPECT_NE(again.output.find("current layout already"), std::string::npos)
                << again.output;
            break;
        }
        }
    }
}

// names.dat that cannot be written is a file the runner could not write (73), not an engine
// that cannot be loaded, and no partial names.dat is left for a later engine to read.
// The runner names the files to the engine directly: a path longer than names.dat could carry
// (255 characters) runs like any other.
TEST(Runner, AProjectInALongPathRuns) {
    fs::path dir = FreshDir("longpath");
    while (dir.string().size() < 260)
        dir /= std::string(40, 'd');
    fs::create_directories(dir);
    const fs::path project = CopyExample("sand-water-table.kx8d", dir);
    const Result r = Kolmar("run " + Quote(project));
    EXPECT_EQ(r.exit, 0) << r.output;
    EXPECT_TRUE(fs::exists(dir / "sand-water-table.kx8o"));
    EXPECT_TRUE(fs::exists(dir / "sand-water-table.results.json"));
    EXPECT_FALSE(fs::exists(dir / "names.dat"));
}

TEST(Runner, AReadOnlyFolderStopsTheRunWithNothingLeft) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "a read-only folder does not stop the superuser";
    const fs::path locked = FreshDir("readonly");
    const fs::path inside = CopyExample("sand-water-table.kx8d", locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    const Result r = Kolmar("run " + Quote(inside));
    fs::permissions(locked, fs::perms::owner_all);
    EXPECT_EQ(r.exit, KOLMAR_STATUS_FILE_ERROR) << r.output;
    EXPECT_EQ(std::distance(fs::directory_iterator(locked), fs::directory_iterator()), 1);
}

// kolmar draws no pictures itself: it hands `plot` to kolmar-paint beside it, with its own
// arguments. A build without the desktop program has no companion and says so.
TEST(Runner, PlotGoesToThePictureCompanion) {
    const Result r = Kolmar("plot");
    EXPECT_EQ(r.exit, 64);
    if (KOLMAR_HAS_PAINT)
        EXPECT_NE(r.output.find("kolmar plot: no project given"), std::string::npos) << r.output;
    else
        EXPECT_NE(r.output.find("kolmar: this build draws no pictures"), std::string::npos)
            << r.output;
}

namespace {
std::set<std::string> FilesIn(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.insert(entry.path().filename().string());
    return names;
}
} // namespace

// run writes the results file beside the report (or where --json says, and then not beside
// it); results prints it, copies it, or writes one CSV file per table with names and units.
TEST(Runner, ResultsFileIsWrittenAndConverted) {
    const fs::path dir = FreshDir("results");
    const fs::path project = CopyExample("sand-over-clay.kx8d", dir);
    Result r = Kolmar("run " + Quote(project));
    ASSERT_EQ(r.exit, 0) << r.output;
    EXPECT_NE(r.output.find((dir / "sand-over-clay.results.json").string()), std::string::npos)
        << r.output;
    EXPECT_EQ(FilesIn(dir),
              (std::set<std::string>{"sand-over-clay.kx8d", "sand-over-clay.kx8o",
                                     "sand-over-clay.kx8r", "sand-over-clay.kx8z",
                                     "sand-over-clay.kx8p", "sand-over-clay.results.json"}));
    const std::string json = ReadAll(dir / "sand-over-clay.results.json");
    EXPECT_EQ(json.rfind("{\n  \"schema\": \"kolmar-results/2\",\n", 0), 0u) << json.substr(0, 80);

    // results prints the file as it is, and copies it with -o.
    r = Kolmar("results " + Quote(project));
    EXPECT_EQ(r.exit, 0);
    EXPECT_EQ(r.output, json);
    r = Kolmar("results " + Quote(project) + " -o " + Quote(dir / "copy.json"));
    EXPECT_EQ(r.exit, 0) << r.output;
    EXPECT_EQ(ReadAll(dir / "copy.json"), json);

    // CSV: one file per table, a header row of names with units.
    r = Kolmar("results " + Quote(project) + " --format csv -o " + Quote(dir / "csv"));
    EXPECT_EQ(r.exit, 0) << r.output;
    const std::set<std::string> csv = FilesIn(dir / "csv");
    EXPECT_TRUE(csv.count("case1-capacity.csv") && csv.count("case1-layer_resistance.csv") &&
                csv.count("case1-load_settlement-trend.csv") && csv.count("design_charts.csv"))
        << r.output;
    const std::string capacity = ReadAll(dir / "csv" / "case1-capacity.csv");
    EXPECT_EQ(capacity.rfind("L (ft),tip_layer (-),volume (cu yd),QS (tons),", 0), 0u) << capacity;
    EXPECT_EQ(ReadAll(dir / "csv" / "design_charts.csv")
                  .rfind("settlement (in),diameter (ft),length (ft),load (tons)\n", 0),
              0u);

    // --json puts the file elsewhere, and only there.
    fs::remove(dir / "sand-over-clay.results.json");
    fs::create_directories(dir / "data");
    r = Kolmar("run " + Quote(project) + " --json " + Quote(dir / "data" / "r.json"));
    EXPECT_EQ(r.exit, 0) << r.output;
    EXPECT_TRUE(fs::exists(dir / "data" / "r.json"));
    EXPECT_FALSE(fs::exists(dir / "sand-over-clay.results.json"));

    // Usage errors.
    EXPECT_EQ(Kolmar("results " + Quote(project) + " --format xml").exit, 64);
    EXPECT_EQ(Kolmar("check " + Quote(project) + " --json x.json").exit, 64);
}

// A project run only through IKOLMAR (or never run) has no results file, and results says so.
TEST(Runner, ResultsOfAProjectWithoutAResultsFile) {
    const fs::path dir = FreshDir("noresults");
    const fs::path project = CopyExample("clay-bell.kx8d", dir);
    const Result r = Kolmar("results " + Quote(project));
    EXPECT_EQ(r.exit, 66);
    EXPECT_NE(r.output.find("has no results file"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("IKOLMAR"), std::string::npos) << r.output;

    // A damaged file is refused with the reason, not half converted.
    std::ofstream(dir / "clay-bell.results.json")
        << "{\"schema\": \"kolmar-results/1\", \"cases\": [";
    const Result bad = Kolmar("results " + Quote(project) + " --format csv");
    EXPECT_EQ(bad.exit, 65) << bad.output;
    EXPECT_NE(bad.output.find("cannot be read"), std::string::npos) << bad.output;
}

// bidirectional simulates the jack-cell test: from the options or from NAME.bidir.json, or at the
// balance depth; prints the capacities in the project's units, writes JSON and CSV on request
// and nothing else beside the project; a rock tip and a cell depth below the tip are refused.
TEST(Runner, BidirectionalTestFromOptionsOrSetupFile) {
    const fs::path dir = FreshDir("bidirectional");
    const fs::path project = CopyExample("sand-water-table.kx8d", dir);
    Result r = Kolmar("bidirectional " + Quote(project) + " --cell-depth 20 -o " +
                      Quote(dir / "test.json") + " --csv " + Quote(dir / "csv"));
    ASSERT_EQ(r.exit, 0) << r.output;
    EXPECT_NE(r.output.find("cell at 20.00 ft"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("balance depth: 38.0 ft"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find(" kips"), std::string::npos) << r.output;
    EXPECT_EQ(FilesIn(dir), (std::set<std::string>{"sand-water-table.kx8d", "test.json", "csv"}));
    const std::string json = ReadAll(dir / "test.json");
    EXPECT_EQ(json.rfind("{\n  \"schema\": \"kolmar-bidirectional/1\",\n", 0), 0u) << json;
    EXPECT_EQ(FilesIn(dir / "csv").size(), 7u);
    EXPECT_EQ(ReadAll(dir / "csv" / "bidirectional-equivalent.csv")
                  .rfind("cell_movement (in),top_load (kips),top_movement (in)\n", 0),
              0u);

    // Without a depth on the command line: the set-up file beside the project, in its units.
    r = Kolmar("bidirectional " + Quote(project));
    EXPECT_EQ(r.exit, 64) << r.output;
    {
        std::ofstream setup(dir / "sand-water-table.bidir.json");
        setup << "{\"units\": \"SI\", \"cell_depth\": 6.096, \"cell_capacity\": 2000}\n";
    }
    r = Kolmar("bidirectional " + Quote(project));
    EXPECT_EQ(r.exit, 0) << r.output;
    EXPECT_NE(r.output.find("cell at 20.00 ft, capacity 449.6 kips"), std::string::npos)
        << r.output;
    r = Kolmar("bidirectional " + Quote(project) + " --balance");
    EXPECT_EQ(r.exit, 0) << r.output;
    EXPECT_NE(r.output.find("cell at 37.86 ft"), std::string::npos) << r.output;

    // Refusals: the engine's reason, and its status.
    r = Kolmar("bidirectional " + Quote(project) + " --cell-depth 60");
    EXPECT_EQ(r.exit, 8);
    EXPECT_NE(r.output.find("lies below the shaft tip at 50.00 ft"), std::string::npos) << r.output;
    const fs::path rock = CopyExample("strong-rock-socket.kx8d", dir);
    r = Kolmar("bidirectional " + Quote(rock) + " --cell-depth 10");
    EXPECT_EQ(r.exit, 8);
    EXPECT_NE(r.output.find("lies in layer 2 (strong rock"), std::string::npos) << r.output;
    EXPECT_EQ(Kolmar("bidirectional " + Quote(project) + " --cell-depth x").exit, 64);
    EXPECT_EQ(Kolmar("bidirectional " + Quote(project) + " --cell-depth 5 --balance").exit, 64);
}
