// Engine entry and run control: the call code, names.dat and the console fallback, the date
// block, the state between calls, the assembly of the staged files, file errors, internal errors,
// and the library's exported symbols. The full-run golden files are in entry_golden_test.cpp.
#include "entry.h"

#include "format.h"
#include "kolmar/ikolmar.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace kolmar::engine {
namespace {

using test::MaskDate;
using test::Padded;
using test::ReadFile;
using test::Shell;
using test::TempDir;
using test::WriteFile;

// Changes the working directory for the scope, as the program does for a run.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::filesystem::path& dir)
        : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(dir);
    }
    ~WorkingDirectory() { std::filesystem::current_path(previous_); }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

private:
    std::filesystem::path previous_;
};

bool DirectoryIsEmpty(const std::filesystem::path& dir) {
    return std::filesystem::directory_iterator(dir) == std::filesystem::directory_iterator();
}

TEST(EntryTest, AWrongCallCodeReturnsOneAndTouchesNoFile) {
    TempDir dir;
    WorkingDirectory cwd(dir.path());
    for (const int code : {0, -1, KOLMAR_CALL_CODE + 1, KOLMAR_CALL_CODE - 1}) {
        EXPECT_EQ(IKOLMAR(code), KOLMAR_STATUS_WRONG_CODE) << code;
        EXPECT_TRUE(DirectoryIsEmpty(dir.path())) << code;
    }
}

TEST(EntryTest, DateBlockWritesLeadingZeros) {
    std::ostringstream os;
    WriteDateBlock(os, DateTime{2021, 3, 1, 9, 5, 7});
    EXPECT_EQ(os.str(), "     " + Repeat('-', 73) + "\n" + Blanks(26) +
                            "Time and Date of Analysis\n" + "     " + Repeat('-', 73) + "\n\n" +
                            Blanks(15) + "Date:  March 01, 2021     Time:  09:05:07\n\n");
}

// No state survives a call: a second call in the same process, with the library still loaded,
// writes the same report, run notes, plot and t-z file apart from the date line (the warning
// written once per run is there both times).
TEST(EntryTest, TwoCallsInOneProcessGiveTheSameOutput) {
    TempDir dir;
    WriteFile(dir / "names.dat", test::NamesDat("2017.8.9", "twice"));
    WriteFile(dir / "twice.kx8d", ReadFile(KOLMAR_TEST_DATA "/data/layered_uplift.kx8d"));
    WorkingDirectory cwd(dir.path());
    ASSERT_EQ(IKOLMAR(KOLMAR_CALL_CODE), KOLMAR_STATUS_OK);
    const std::string report = ReadFile(dir / "twice.kx8o");
    const std::string notes = ReadFile(dir / "twice.kx8r");
    const std::string plot = ReadFile(dir / "twice.kx8p");
    const std::string tz = ReadFile(dir / "twice.kx8z");
    ASSERT_EQ(IKOLMAR(KOLMAR_CALL_CODE), KOLMAR_STATUS_OK);
    EXPECT_EQ(MaskDate(ReadFile(dir / "twice.kx8o")), MaskDate(report));
    EXPECT_EQ(ReadFile(dir / "twice.kx8r"), notes);
    EXPECT_EQ(ReadFile(dir / "twice.kx8p"), plot);
    EXPECT_EQ(MaskDate(ReadFile(dir / "twice.kx8z")), MaskDate(tz));
    EXPECT_NE(report.find("THE PREDICTED LOAD TRANSFER IN CLAY BASED ON THE N-VALUE"),
              std::string::npos);
}

TEST(EntryTest, CopyAs80ColumnsCutsAndPads) {
    // From a stream (a staged file on disk) and from a text in hand (a held one) alike.
    const std::string long_line(100, 'a');
    const std::string exactly(80, 'b');
    const struct {
        std::string text, copy;
    } cases[] = {
        {"0123456789\r\n" + long_line + "\n\nlast line without an end",
         Padded("0123456789") + Padded(long_line.substr(0, 80)) + Padded("") +
             Padded("last line without an end")},
        {"", ""},
        {"\n", Padded("")},
        {"\r\n\r\n", Padded("") + Padded("")},
        {exactly + "\n" + exactly, Padded(exactly) + Padded(exactly)},
        {"a\rb\n", Padded("a\rb")}, // only a carriage return at the line's end goes
    };
    for (const auto& c : cases) {
        std::istringstream from(c.text);
        std::ostringstream by_stream, by_text;
        CopyAs80Columns(from, by_stream);
        CopyAs80Columns(std::string_view(c.text), by_text);
        EXPECT_EQ(by_stream.str(), c.copy) << c.text;
        EXPECT_EQ(by_text.str(), c.copy) << c.text;
    }
}

// The assembly on its own: staged files written by this run are appended in the fixed order,
// an empty one adds nothing, and a stale file that this run did not create is never read.
TEST(EntryTest, AssemblyAppendsInOrderAndSkipsStaleFiles) {
    TempDir dir;
    RunContext ctx;
    ctx.work_dir = dir.path();
    const char* names[] = {"a.kx8p", "a.kx8z", "a.kx8w", "a.kx8t", "a.kx8q", "a.kx8l"};
    const FileRole roles[] = {FileRole::plot,         FileRole::tz_text,
                              FileRole::qw_stage,     FileRole::plot_stage_t,
                              FileRole::plot_stage_q, FileRole::plot_stage_l};
    for (int i = 0; i < 6; ++i)
        ctx.file_name[static_cast<std::size_t>(roles[i])] = names[i];
    // Binary, as the engine opens its files: LF line ends on every system.
    ctx.Out(FileRole::plot).open(ctx.Resolve(FileRole::plot), std::ios::binary);
    ctx.Out(FileRole::tz_text).open(ctx.Resolve(FileRole::tz_text), std::ios::binary);
    ctx.Out(FileRole::qw_stage).open(ctx.Resolve(FileRole::qw_stage), std::ios::binary);
    ctx.Out(FileRole::plot_stage_t).open(ctx.Resolve(FileRole::plot_stage_t), std::ios::binary);
    ctx.Out(FileRole::plot_stage_l).open(ctx.Resolve(FileRole::plot_stage_l), std::ios::binary);
    WriteLine(ctx.plot(), "plot records of the cases");
    WriteLine(ctx.tz_text(), "t-z listing");
    WriteLine(ctx.Out(FileRole::plot_stage_t), "staged t");
    WriteLine(ctx.Out(FileRole::plot_stage_l), "staged l");
    // .kx8w stays empty; .kx8q is a stale file of an earlier run, not opened by this one.
    WriteFile(dir / "a.kx8q", "stale q\n");
    WriteFile(dir / "TZDIAM.DAT", "3\n");

    AssembleStagedFiles(ctx);
    CloseRunFiles(ctx);
    EXPECT_EQ(ReadFile(dir / "a.kx8p"), "plot records of the cases\n" + Padded("staged t") +
                                            Padded("3") + Padded("staged l"));
    EXPECT_EQ(ReadFile(dir / "a.kx8z"), "t-z listing\n");

    // Without a TZDIAM.DAT the assembly creates it empty, like every other file of the run.
    std::filesystem::remove(dir / "TZDIAM.DAT");
    RunContext again;
    again.work_dir = dir.path();
    AssembleStagedFiles(again);
    EXPECT_TRUE(std::filesystem::exists(dir / "TZDIAM.DAT"));
    EXPECT_EQ(ReadFile(dir / "TZDIAM.DAT"), "");
}

TEST(EntryTest, NamesDatFieldsAndIncompleteFiles) {
    RunContext ctx;
    const std::string long_name(300, 'n');
    std::istringstream names("2017.8.9 build 42\r\n/p/in.kx8d   \r\nout.kx8o\n" + long_name +
                             "\nr\nz\nw\nt\nq\nl\n");
    ASSERT_TRUE(ReadNamesFile(ctx, names));
    EXPECT_EQ(ctx.version, "2017.8.9 bui");
    EXPECT_EQ(ctx.file_name[static_cast<std::size_t>(FileRole::input)], "/p/in.kx8d");
    EXPECT_EQ(ctx.file_name[static_cast<std::size_t>(FileRole::plot)], long_name.substr(0, 255));
    EXPECT_EQ(ctx.file_name[static_cast<std::size_t>(FileRole::plot_stage_l)], "l");

    RunContext short_ctx;
    std::istringstream nine("v\n1\n2\n3\n4\n5\n6\n7\n8\n");
    EXPECT_FALSE(ReadNamesFile(short_ctx, nine));
}

// Without names.dat the engine asks on the console; CHART.DAT is then not opened, and the names
// not asked for are made from the input file's name.
TEST(EntryTest, ConsoleFallbackWithoutNamesDat) {
    TempDir dir;
    WriteFile(dir / "shaft.kx8d", test::Project().Text());
    RunContext ctx;
    std::ostringstream console, prompts;
    std::istringstream answers("shaft.kx8d\nreport.txt  \nplot.dat\n");
    ctx.work_dir = dir.path();
    ctx.console = &console;
    ctx.prompt_out = &prompts;
    ctx.prompt_in = &answers;
    EXPECT_EQ(RunEntry(KOLMAR_CALL_CODE, ctx), KOLMAR_STATUS_OK) << console.str();
    EXPECT_EQ(prompts.str(), "ENTER THE NAME FOR THE INPUT FILE\n ENTER >\n"
                             "ENTER A NAME FOR THE OUTPUT FILE:\n ENTER >\n"
                             "ENTER A FILE NAME FOR YOUR GRAPHIC DATA FILE.\n ENTER >\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "CHART.DAT"));
    EXPECT_TRUE(std::filesystem::exists(dir / "report.txt"));
    EXPECT_TRUE(std::filesystem::exists(dir / "plot.dat"));
    EXPECT_TRUE(std::filesystem::exists(dir / "shaft.kx8r"));
    EXPECT_NE(ReadFile(dir / "report.txt").find("Name of output file         : report.txt\n"),
              std::string::npos);
    // The version comes from the engine itself when no names.dat gave one.
    EXPECT_NE(ReadFile(dir / "report.txt").find("Version 2017.8.9    \n"), std::string::npos);
}

TEST(EntryTest, AMissingProjectFileStopsTheRunWithAFileError) {
    TempDir dir;
    WriteFile(dir / "names.dat", test::NamesDat("2017.8.9", "absent"));
    RunContext ctx;
    std::ostringstream console;
    ctx.work_dir = dir.path();
    ctx.console = &console;
    EXPECT_EQ(RunEntry(KOLMAR_CALL_CODE, ctx), KOLMAR_STATUS_FILE_ERROR);
    for (const std::ofstream& out : ctx.out)
        EXPECT_FALSE(out.is_open());
    const std::string block =
        "     THE PROJECT FILE COULD NOT BE OPENED OR READ:\n     absent.kx8d\n";
    EXPECT_NE(ReadFile(dir / "absent.kx8o").find(block), std::string::npos);
    EXPECT_NE(ReadFile(dir / "absent.kx8r").find(block), std::string::npos);
    EXPECT_NE(console.str().find(block), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir / "absent.kx8d"));
}

TEST(EntryTest, AReportThatCannotBeCreatedStopsTheRunWithAFileError) {
    TempDir dir;
    WriteFile(dir / "names.dat", test::NamesDat("2017.8.9", "shaft"));
    WriteFile(dir / "shaft.kx8d", test::Project().Text());
    std::filesystem::create_directory(dir / "shaft.kx8o"); // a directory where the report goes
    RunContext ctx;
    std::ostringstream console;
    ctx.work_dir = dir.path();
    ctx.console = &console;
    EXPECT_EQ(RunEntry(KOLMAR_CALL_CODE, ctx), KOLMAR_STATUS_FILE_ERROR);
    EXPECT_NE(ReadFile(dir / "shaft.kx8r")
                  .find("     THE REPORT FILE COULD NOT BE OPENED OR CREATED:\n     shaft.kx8o\n"),
              std::string::npos);
    // The input was not read: no title reached the t-z file.
    EXPECT_EQ(ReadFile(dir / "shaft.kx8z").find("Uniform sand"), std::string::npos);
}

// Hostile run-control files: names that lead to one file would make the engine overwrite the
// project or copy a staged file onto itself without end. Each is refused before any output is
// opened: status 9, the clash named in the run notes (or on the console when the run notes
// themselves would overwrite the project), no other file written, the project untouched.
TEST(EntryTest, NamesThatLeadToOneFileAreRefusedBeforeAnythingIsWritten) {
    struct Case {
        const char* what;
        std::vector<std::string> names; // the nine names of names.dat, in its order
        const char* clash;              // the second line of the message
        const char* notes;              // where the message is written; "" = the console alone
    };
    const std::string in = "shaft.kx8d";
    auto with = [&](std::size_t line, const std::string& name) {
        std::vector<std::string> names = {in,           "shaft.kx8o", "shaft.kx8p",
                                          "shaft.kx8r", "shaft.kx8z", "shaft.kx8w",
                                          "shaft.kx8t", "shaft.kx8q", "shaft.kx8l"};
        names[line] = name;
        return names;
    };
    const Case cases[] = {
        {"all eight outputs alike",
         {in, "same.out", "same.out", "same.out", "same.out", "same.out", "same.out", "same.out",
          "same.out"},
         "THE PLOT FILE AND THE REPORT FILE ARE ONE FILE:",
         "same.out"},
        {"the report is the project", with(1, in),
         "THE REPORT FILE AND THE PROJECT FILE ARE ONE FILE:", "shaft.kx8r"},
        {"the report is the project, spelt another way", with(1, "sub/../shaft.kx8d"),
         "THE REPORT FILE AND THE PROJECT FILE ARE ONE FILE:", "shaft.kx8r"},
        {"the report is a link to the project", with(1, "link.kx8o"),
         "THE REPORT FILE AND THE PROJECT FILE ARE ONE FILE:", "shaft.kx8r"},
        {"the run notes are the project", with(3, in),
         "THE RUN-NOTES FILE AND THE PROJECT FILE ARE ONE FILE:", ""},
        {"a staged plot section is the plot file", with(6, "shaft.kx8p"),
         "THE STAGED PLOT FILE AND THE PLOT FILE ARE ONE FILE:", "shaft.kx8r"},
        {"the plot file is the t-z scratch file", with(2, "TZDIAM.DAT"),
         "THE SCRATCH FILE AND THE PLOT FILE ARE ONE FILE:", "shaft.kx8r"},
        {"the report is names.dat", with(1, "names.dat"),
         "THE RUN-CONTROL FILE NAMES.DAT AND THE REPORT FILE ARE ONE FILE:", "shaft.kx8r"},
    };
    const std::string project = test::Project().Text();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        std::string names = "2017.8.9\n";
        for (const std::string& name : c.names)
            names += name + "\n";
        WriteFile(dir / "names.dat", names);
        WriteFile(dir / in, project);
        std::filesystem::create_directory(dir / "sub");
#ifdef _WIN32
        // A symbolic link needs a privilege on Windows; a hard link is another name of the file.
        std::filesystem::create_hard_link(dir / in, dir / "link.kx8o");
#else
        std::filesystem::create_symlink(dir / in, dir / "link.kx8o");
#endif
        RunContext ctx;
        std::ostringstream console;
        ctx.work_dir = dir.path();
        ctx.console = &console;

        EXPECT_EQ(RunEntry(KOLMAR_CALL_CODE, ctx), KOLMAR_STATUS_FILE_ERROR);
        EXPECT_NE(console.str().find(c.clash), std::string::npos) << console.str();
        std::set<std::string> expected = {"names.dat", in, "sub", "link.kx8o"};
        if (*c.notes != '\0') {
            expected.insert(c.notes);
            const std::string notes = ReadFile(dir / c.notes);
            EXPECT_NE(notes.find(c.clash), std::string::npos) << notes;
            EXPECT_NE(notes.find("NOTHING WAS ANALYSED."), std::string::npos) << notes;
        }
        std::set<std::string> present;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            present.insert(entry.path().filename().string());
        EXPECT_EQ(present, expected);
        EXPECT_EQ(ReadFile(dir / in), project);
        for (const std::ofstream& out : ctx.out)
            EXPECT_FALSE(out.is_open());
    }
}

TEST(EntryTest, AnExceptionInsideTheRunBecomesAnInternalErrorWithAMessage) {
    TempDir dir;
    test::RunResult result = test::RunProject(dir, test::Project().Text(), [](RunContext& ctx) {
        ctx.on_analysis_end = [](RunContext& run) {
            WriteLine(run.Out(FileRole::plot_stage_t), "staged before the failure");
            throw std::runtime_error("simulated failure");
        };
    });
    EXPECT_EQ(result.status, KOLMAR_STATUS_INTERNAL);
    EXPECT_TRUE(result.all_closed);
    EXPECT_NE(result.report.find("     THE ANALYSIS STOPPED ON AN UNEXPECTED INTERNAL ERROR:\n"
                                 "     SIMULATED FAILURE\n"),
              std::string::npos);
    // The capacity curve was written before the failure; the staged file is still appended.
    EXPECT_NE(result.plot.find(Padded("staged before the failure")), std::string::npos);
}

TEST(EntryTest, SplitPathTheWindowsWay) {
    struct Case {
        const char* path;
        PathParts parts;
    };
    const Case cases[] = {
        {"C:\\Projects\\Shafts\\pier 3.kx8d", {"C:", "\\Projects\\Shafts\\", "pier 3", ".kx8d"}},
        {"/home/eng/run.kx8d", {"", "/home/eng/", "run", ".kx8d"}},
        {"run.kx8d", {"", "", "run", ".kx8d"}},
        {"dir.v2/noext", {"", "dir.v2/", "noext", ""}},
        {"a.longext", {"", "", "a", ".long"}},
        {"", {"", "", "", ""}},
    };
    for (const Case& c : cases) {
        const PathParts parts = SplitPath(c.path);
        EXPECT_EQ(parts.drive, c.parts.drive) << c.path;
        EXPECT_EQ(parts.dir, c.parts.dir) << c.path;
        EXPECT_EQ(parts.base, c.parts.base) << c.path;
        EXPECT_EQ(parts.ext, c.parts.ext) << c.path;
    }
}

// The shared library exports IKOLMAR and the programs' interface of kolmar/results.h, and
// nothing else.
TEST(EntryTest, TheLibraryExportsOnlyIkolmarAndTheProgramsInterface) {
    const std::string listing = Shell("nm -D --defined-only '" KOLMAR_ENGINE_PATH "' 2>/dev/null");
    if (listing.empty())
        GTEST_SKIP() << "nm is not available";
    std::set<std::string> functions;
    for (const std::string& line : test::Lines(listing)) {
        std::istringstream fields(line);
        std::string address, type, name;
        fields >> address >> type >> name;
        if (type == "T" || type == "t" || type == "W" || type == "w" || type == "i")
            functions.insert(name);
    }
    const std::set<std::string> expected = {"IKOLMAR",
                                            "kolmar_run",
                                            "kolmar_results_status",
                                            "kolmar_results_status_text",
                                            "kolmar_results_messages",
                                            "kolmar_results_json",
                                            "kolmar_results_case_count",
                                            "kolmar_results_case_diameter",
                                            "kolmar_results_case_length",
                                            "kolmar_results_design_row",
                                            "kolmar_results_table",
                                            "kolmar_results_column_name",
                                            "kolmar_results_column_unit",
                                            "kolmar_results_write_json",
                                            "kolmar_results_free",
                                            "kolmar_bidirectional",
                                            "kolmar_bidirectional_status",
                                            "kolmar_bidirectional_message",
                                            "kolmar_bidirectional_json",
                                            "kolmar_bidirectional_first_part",
                                            "kolmar_bidirectional_value",
                                            "kolmar_bidirectional_table",
                                            "kolmar_bidirectional_column_name",
                                            "kolmar_bidirectional_column_unit",
                                            "kolmar_bidirectional_free"};
    EXPECT_EQ(functions, expected) << listing;
}

} // namespace
} // namespace kolmar::engine
