#include "gui/run/RunControl.h"
#include "gui/run/RunNotes.h"
#include "gui/run/dynlib.h"
#include "kolmar/ikolmar.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {
fs::path FreshDir(const std::string& name) {
    fs::path dir = fs::temp_directory_path() / ("kolmar_run_control_" + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}
} // namespace

struct LayerCheckCase {
    const char* what;
    TLayerCheckInput input;
    const char* expected; // nullptr: passes
};

TEST(CheckData, LayerThicknessAndProfileDepth) {
    const LayerCheckCase cases[] = {
        {"thin third layer is named with its thickness",
         {1, 0, 0, {2, 4, 5.9}},
         "Thickness of layer should be at least 2 ft\nto avoid numerical errors. \n"
         "Please check layer 3 . Thickness = 1.9 ft"},
        {"a thickness equal to the minimum passes", {1, 0, 0, {2, 4, 6}}, nullptr},
        {"only the first thin layer is reported",
         {1, 0, 0, {1, 2, 10}},
         "Thickness of layer should be at least 2 ft\nto avoid numerical errors. \n"
         "Please check layer 1 . Thickness = 1 ft"},
        {"SI minimum is 0.6 m",
         {2, 0, 0, {0.6, 1.1}},
         "Thickness of layer should be at least 0.6 m\nto avoid numerical errors. \n"
         "Please check layer 2 . Thickness = 0.5 m"},
        {"profile short of length plus two diameters",
         {1, 30, 3, {20, 35.9}},
         "Depth of Bottom Layer, 35.9 ft\nshould be at least the shaft length plus two shaft "
         "diameters 36 ft\nto perform analysis. \nPlease check !"},
        {"profile exactly length plus two diameters passes", {1, 30, 3, {20, 36}}, nullptr},
        {"design load: only two diameters are asked for", {1, 0, 3, {6}}, nullptr},
        // A project switched from SI: 0.6096 m layers come back a hair under 2 ft.
        {"a minimum thickness off by rounding passes", {1, 0, 0, {33.5, 35.499999999992}}, nullptr},
        {"SI values exactly at the limits pass",
         {2, 13.4112, 0.9144, {0.6096 * 3, 0.6096 * 3 + 0.6096 * 1, 15.24}},
         nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto message = CheckData(c.input);
        if (c.expected == nullptr)
            EXPECT_FALSE(message.has_value()) << *message;
        else {
            ASSERT_TRUE(message.has_value());
            EXPECT_EQ(*message, c.expected);
        }
    }
}

TEST(RunFiles, NamedByChangingTheExtensionAndWrittenToNamesDat) {
    const fs::path dir = FreshDir("names");
    const TRunFiles files = RunFilesFor(dir / "pier 4.kx8d");
    EXPECT_EQ(files.Report, dir / "pier 4.kx8o");
    EXPECT_EQ(files.Stage3, dir / "pier 4.kx8l");

    WriteNamesDat(dir, files, KOLMAR_VERSION_STRING);
    const std::string expected =
        "2017.8.9\n" + (dir / "pier 4.kx8d").string() + "\n" + (dir / "pier 4.kx8o").string() +
        "\n" + (dir / "pier 4.kx8p").string() + "\n" + (dir / "pier 4.kx8r").string() + "\n" +
        (dir / "pier 4.kx8z").string() + "\n" + (dir / "pier 4.kx8w").string() + "\n" +
        (dir / "pier 4.kx8t").string() + "\n" + (dir / "pier 4.kx8q").string() + "\n" +
        (dir / "pier 4.kx8l").string() + "\n";
    EXPECT_EQ(ReadAll(dir / "names.dat"), expected);

    for (const auto& f : {files.QWStage, files.Stage1, files.Stage2, files.Stage3, files.Report,
                          dir / "TZDIAM.DAT"})
        std::ofstream(f) << "x\n";
    DeleteRunScratch(dir, files);
    EXPECT_FALSE(fs::exists(dir / "names.dat"));
    EXPECT_FALSE(fs::exists(dir / "TZDIAM.DAT"));
    EXPECT_FALSE(fs::exists(files.QWStage));
    EXPECT_FALSE(fs::exists(files.Stage1));
    EXPECT_FALSE(fs::exists(files.Stage2));
    EXPECT_FALSE(fs::exists(files.Stage3));
    EXPECT_TRUE(fs::exists(files.Report)) << "results must survive the clean-up";
}

TEST(RunFiles, OverlongPathIsRefusedBeforeTheEngineSeesIt) {
    const fs::path dir = FreshDir("long");
    const TRunFiles files = RunFilesFor(dir / (std::string(260, 'a') + ".kx8d"));
    EXPECT_THROW(WriteNamesDat(dir, files, KOLMAR_VERSION_STRING), std::runtime_error);
}

// The engine reads names.dat line by line and drops the blanks that end a line: a name it would
// read as another file is refused with its reason, and no names.dat is left for the engine.
TEST(RunFiles, NamesTheEngineWouldMisreadAreRefusedWithoutWritingNamesDat) {
    struct Case {
        const char* what;
        std::string project; // file name of the project in the run's directory
        const char* reason;  // nullptr: accepted
    };
    const Case cases[] = {
        {"a line break in the name", std::string("v\nin.kx8d"), "holds a line break"},
        {"a carriage return in a folder name", std::string("sub\r/pier.kx8d"),
         "holds a line break"},
        {"a NUL in the name", std::string("pi\0er.kx8d", 9), "holds a line break"},
        {"a blank ending the project name", std::string("pier.kx8d "), "ends in a blank"},
        {"a name 255 characters long", std::string(255, 'a'), "longer than 255"},
        {"blanks inside and at the start", std::string(" pier 4 .kx8d"), nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path dir = FreshDir("misread");
        const TRunFiles files = RunFilesFor(dir / c.project);
        if (c.reason == nullptr) {
            WriteNamesDat(dir, files, KOLMAR_VERSION_STRING);
            EXPECT_NE(ReadAll(dir / "names.dat").find(files.Project.string() + "\n"),
                      std::string::npos);
            continue;
        }
        try {
            WriteNamesDat(dir, files, KOLMAR_VERSION_STRING);
            ADD_FAILURE() << "accepted";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << e.what();
        }
        EXPECT_FALSE(fs::exists(dir / "names.dat"));
    }
}

TEST(DynamicLibrary, FailuresRaiseTheirOwnErrors) {
    TDynamicLibrary missing;
    missing.SetFileName("/nonexistent/libKolmar2017_DLL.so");
    EXPECT_THROW(missing.Open(), EFileNotFoundError);
    EXPECT_THROW(missing.FindProcedure("IKOLMAR"), EDLLNotOpenError);

    const fs::path dir = FreshDir("notlib");
    std::ofstream(dir / "fake.so") << "not a shared library";
    TDynamicLibrary fake((dir / "fake.so").string());
    EXPECT_THROW(fake.Open(), EInitError);
    EXPECT_FALSE(fake.GetIsOpen());

    TDynamicLibrary engine(KOLMAR_ENGINE_LIB, true);
    EXPECT_TRUE(engine.GetIsOpen());
    EXPECT_NE(engine.FindProcedure("IKOLMAR"), nullptr);
    EXPECT_EQ(engine.FindProcedure("NoSuchProcedure"), nullptr);
    engine.Close();
    EXPECT_FALSE(engine.GetIsOpen());
}

TEST(RunEngine, LibraryWithoutEntryPointIsRefusedBeforeAnyCall) {
    const fs::path dir = FreshDir("noentry");
    std::ofstream(dir / "p.kx8d") << "title\n";
    const TEngineRun run = RunEngine(RunFilesFor(dir / "p.kx8d"), KOLMAR_NO_ENTRY_LIB);
    EXPECT_FALSE(run.Called);
    EXPECT_NE(run.Error.find("Attempt to initialize DLL failed"), std::string::npos) << run.Error;
    EXPECT_NE(run.Error.find("kolmar_run"), std::string::npos) << run.Error;
    EXPECT_FALSE(fs::exists(dir / "p.kx8o"));
}

TEST(RunEngine, MissingLibraryIsReported) {
    const fs::path dir = FreshDir("nolib");
    std::ofstream(dir / "p.kx8d") << "title\n";
    const fs::path before = fs::current_path();
    const TEngineRun run = RunEngine(RunFilesFor(dir / "p.kx8d"), dir / "libmissing.so");
    EXPECT_FALSE(run.Called);
    EXPECT_NE(run.Error.find("Library could not be located"), std::string::npos) << run.Error;
    EXPECT_EQ(fs::current_path(), before) << "the working directory is restored";
}

TEST(CompletionMessage, SecondWordingForAnyNonzeroStatus) {
    EXPECT_EQ(CompletionMessage(0),
              "Computations are completed.\nPlease, check output file for results or error "
              "messages.");
    for (int status : {2, 4, 7, 8})
        EXPECT_EQ(CompletionMessage(status),
                  "Computations are completed, but there may be errors.\nPlease, check output "
                  "file for results or error messages.");
}

// ---------------------------------------------------------------------------------------------
// The run notes' error and warning blocks, and the one message of a finished run.

TEST(RunNotesTest, BlocksArePickedOutOnceWithoutTheirIndent) {
    const std::string notes = "     - CASE ANALYZED      :     1\n"
                              "\n"
                              "\n"
                              "     *********************ERROR**********************\n"
                              "     SHAFT RECORD: THE STEM DIAMETER MUST BE GREATER THAN 0.\n"
                              "\n"
                              "   WARNING: KO IS 0 AT BOTH ENDS OF LAYER 2; THE LAYER GIVES NO "
                              "SIDE RESISTANCE.\n"
                              "\n"
                              "   WARNING: KO IS 0 AT BOTH ENDS OF LAYER 2; THE LAYER GIVES NO "
                              "SIDE RESISTANCE.\n"
                              "\n"
                              "   *********** NEED ANOTHER SOIL LAYER ************\n";
    const TRunNotesSummary summary = RunNotesProblems(notes);
    ASSERT_EQ(summary.Errors.size(), 2u);
    EXPECT_EQ(summary.Errors[0], "*********************ERROR**********************\n"
                                 "SHAFT RECORD: THE STEM DIAMETER MUST BE GREATER THAN 0.");
    EXPECT_EQ(summary.Errors[1], "*********** NEED ANOTHER SOIL LAYER ************");
    ASSERT_EQ(summary.Warnings.size(), 1u); // the same warning of every case, once
}

TEST(RunNotesTest, OutcomeTextByStatus) {
    TRunNotesSummary none;
    none.Read = true;
    EXPECT_EQ(RunOutcomeText(0, none, ""),
              "Computations are completed.\nPlease, check output file for results or error "
              "messages.");
    TRunNotesSummary warned = none;
    warned.Warnings = {"WARNING A", "WARNING B"};
    EXPECT_EQ(RunOutcomeText(0, warned, ""),
              "Computations are completed.\nThe run notes hold 2 warnings.");
    TRunNotesSummary failed = warned;
    failed.Errors = {"*** NEED ANOTHER SOIL LAYER ***"};
    EXPECT_EQ(RunOutcomeText(7, failed, "ignored after a failed run"),
              "The analysis ended with status 7: the soil profile is too short for the design "
              "load (need another soil layer).\n\nThe run notes say:\n\n*** NEED ANOTHER SOIL "
              "LAYER ***");
    EXPECT_NE(RunOutcomeText(8, TRunNotesSummary{}, "").find("could not be read"),
              std::string::npos);
    EXPECT_NE(RunOutcomeText(0, none, "BAD PLOT").find("BAD PLOT"), std::string::npos);
}

// The classic entry still runs a project through names.dat, made current for the call, and
// leaves neither names.dat nor a staged file, nor a results file, which only kolmar_run writes.
TEST(RunEngine, TheNamesDatRunThroughIkolmarStillWorks) {
    const fs::path dir = FreshDir("byname");
    fs::copy_file(fs::path(KOLMAR_SOURCE_DIR) / "examples" / "clay-bell.kx8d", dir / "c.kx8d",
                  fs::copy_options::overwrite_existing);
    const fs::path before = fs::current_path();
    const TEngineRun run = RunEngineByNamesDat(RunFilesFor(dir / "c.kx8d"), KOLMAR_ENGINE_LIB);
    EXPECT_TRUE(run.Called) << run.Error;
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(fs::current_path(), before);
    EXPECT_NE(ReadAll(dir / "c.kx8o").find("VERTICALLY LOADED DRILLED SHAFT ANALYSIS"),
              std::string::npos);
    for (const char* left :
         {"names.dat", "TZDIAM.DAT", "c.kx8w", "c.kx8t", "c.kx8q", "c.kx8l", "c.results.json"})
        EXPECT_FALSE(fs::exists(dir / left)) << left;
}

// The programs find what they ship beside themselves (a build tree), else in the installed
// layout relative to their bin/ folder, under whatever root the package was unpacked.
TEST(FindBesideProgram, OwnDirectoryFirstThenTheInstalledPlace) {
    const fs::path root = FreshDir("installed");
    const fs::path bin = root / "usr" / "bin";
    const fs::path lib = root / "usr" / "lib" / "kolmar";
    fs::create_directories(bin);
    fs::create_directories(lib);
    auto touch = [](const fs::path& p) { std::ofstream(p) << "x"; };

    // Nowhere: the place beside the program, so that the message names it.
    EXPECT_EQ(FindBesideProgram(bin, KOLMAR_ENGINE_FILE, kInstalledEngineFolder),
              bin / KOLMAR_ENGINE_FILE);
    touch(lib / KOLMAR_ENGINE_FILE);
    EXPECT_EQ(FindBesideProgram(bin, KOLMAR_ENGINE_FILE, kInstalledEngineFolder),
              lib / KOLMAR_ENGINE_FILE);
    // A library beside the program wins over the installed one.
    touch(bin / KOLMAR_ENGINE_FILE);
    EXPECT_EQ(FindBesideProgram(bin, KOLMAR_ENGINE_FILE, kInstalledEngineFolder),
              bin / KOLMAR_ENGINE_FILE);

    // Folders are found the same way: the examples under share/kolmar/.
    fs::create_directories(root / "usr" / "share" / "kolmar" / "examples");
    EXPECT_EQ(FindBesideProgram(bin, "examples", kInstalledDataFolder),
              root / "usr" / "share" / "kolmar" / "examples");
    fs::remove_all(root);
}
