// The kolmar runner driven as a user drives it: as a separate process.
#include "kolmar/ikolmar.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <sys/wait.h>

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

fs::path FreshDir(const std::string& name) {
    fs::path dir = fs::temp_directory_path() / ("kolmar_runner_" + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
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
