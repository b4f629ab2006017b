// The programs' entry (kolmar/results.h) through the shared library: the same report, run notes,
// t-z listing and plot file as IKOLMAR, no scratch file beside the project, the results file
// checked against its schema and the report, each capacity table in it once, the layers' side
// resistance adding up to QS, the refusals, and many runs at once on many threads.
#include "entry.h"
#include "gui/data/JsonRead.h"
#include "json_writer.h"
#include "kolmar/ikolmar.h"
#include "kolmar/results.h"
#include "program_entry.h"
#include "results_data.h"
#include "sha256.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace kolmar::engine {
namespace {

namespace fs = std::filesystem;
using test::MaskDate;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

const char* const kExamples[] = {"clay-bell",        "decomposed-rock", "sand-over-clay",
                                 "sand-water-table", "si-dense-sand",   "strong-rock-socket",
                                 "weak-rock-socket"};
const char* const kResultExtensions[] = {".kx8o", ".kx8r", ".kx8z", ".kx8p"};

fs::path Example(const std::string& name) {
    return fs::path(KOLMAR_SOURCE_DIR) / "examples" / (name + ".kx8d");
}

// The four result files of a run, the date lines masked; with `mask_dir` the run's folder too,
// so that runs of one project in different folders compare equal.
std::map<std::string, std::string> ResultTexts(const fs::path& dir, const std::string& base,
                                               bool mask_dir = false) {
    std::map<std::string, std::string> texts;
    const std::string folder = (dir / "").string(); // with the system's separator
    for (const char* ext : kResultExtensions) {
        std::string text = MaskDate(ReadFile(dir / (base + ext)));
        for (std::size_t at = 0; mask_dir && (at = text.find(folder, at)) != std::string::npos;)
            text.replace(at, folder.size(), "<folder>/");
        texts[ext] = text;
    }
    return texts;
}

std::set<std::string> Listing(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.insert(entry.path().filename().string());
    return names;
}

// A run through IKOLMAR's own path, as the programs made it: names.dat beside the project with
// the full paths of the nine files.
int RunThroughNamesDat(const fs::path& dir, const std::string& base) {
    std::string names = std::string(KOLMAR_VERSION_STRING) + "\n";
    for (const char* ext :
         {".kx8d", ".kx8o", ".kx8p", ".kx8r", ".kx8z", ".kx8w", ".kx8t", ".kx8q", ".kx8l"})
        names += (dir / (base + ext)).string() + "\n";
    WriteFile(dir / "names.dat", names);
    RunContext ctx;
    std::ostringstream console;
    ctx.work_dir = dir;
    ctx.console = &console;
    return RunEntry(KOLMAR_CALL_CODE, ctx);
}

struct Handle {
    KolmarResults* results = nullptr;
    ~Handle() { kolmar_results_free(results); }
};

int RunProgramEntry(const fs::path& input, const fs::path& dir, const std::string& base,
                    Handle* handle, const char* json = nullptr) {
    return kolmar_run(input.string().c_str(), dir.string().c_str(), base.c_str(), json,
                      handle ? &handle->results : nullptr);
}

// Every example: the programs' entry writes what IKOLMAR writes, byte for byte but the date
// line, plus the results file, and leaves no scratch or staged file beside the project; a run
// through IKOLMAR alone has no results file.
TEST(ResultsTest, TheProgramsEntryWritesWhatIkolmarWrites) {
    for (const std::string name : kExamples) {
        SCOPED_TRACE(name);
        TempDir dir;
        const fs::path project = dir / (name + ".kx8d");
        fs::copy_file(Example(name), project);
        const int ikolmar = RunThroughNamesDat(dir.path(), name);
        EXPECT_FALSE(fs::exists(dir / (name + ".results.json")));
        const auto expected = ResultTexts(dir.path(), name);
        for (const auto& entry : fs::directory_iterator(dir.path()))
            if (entry.path() != project)
                fs::remove(entry.path());

        Handle handle;
        EXPECT_EQ(RunProgramEntry(project, dir.path(), name, &handle), ikolmar);
        EXPECT_EQ(kolmar_results_status(handle.results), ikolmar);
        EXPECT_EQ(ResultTexts(dir.path(), name), expected);
        EXPECT_EQ(Listing(dir.path()),
                  (std::set<std::string>{name + ".kx8d", name + ".kx8o", name + ".kx8r",
                                         name + ".kx8z", name + ".kx8p", name + ".results.json"}));
        EXPECT_EQ(ReadFile(dir / (name + ".results.json")), kolmar_results_json(handle.results));
    }
}

// The results file of every example (and of the engine tests' projects) validates against
// docs/results.schema.json and holds the report's printed values to printing precision: every
// capacity row, the design row and the load-settlement lines (tests/engine/check_results.py,
// with python3-jsonschema).
TEST(ResultsTest, EveryExampleResultsFileValidatesAndEqualsTheReport) {
#ifndef KOLMAR_CHECK_RESULTS_SCHEMA
    GTEST_SKIP() << "configured with -DKOLMAR_RESULTS_SCHEMA_TEST=OFF";
#else
    // The examples, and the engine tests' projects: uplift (WT), SI twins, many cases.
    std::vector<std::pair<std::string, fs::path>> projects;
    for (const std::string name : kExamples)
        projects.emplace_back(name, Example(name));
    for (const auto& entry : fs::directory_iterator(fs::path(KOLMAR_TEST_DATA) / "data"))
        if (entry.path().extension() == ".kx8d")
            projects.emplace_back(entry.path().stem().string(), entry.path());
    for (const auto& [name, project] : projects) {
        SCOPED_TRACE(name);
        TempDir dir;
        ASSERT_EQ(RunProgramEntry(project, dir.path(), name, nullptr), KOLMAR_STATUS_OK);
        const std::string command =
            std::string("/usr/bin/python3 '") + KOLMAR_TEST_DATA + "/check_results.py' '" +
            KOLMAR_SOURCE_DIR + "/docs/results.schema.json' '" + (dir / (name + ".kx8o")).string() +
            "' '" + (dir / (name + ".results.json")).string() + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
    }
#endif
}

double Column(const KolmarResults* r, int case_index, int table, const std::string& name, int row) {
    int rows = 0, columns = 0;
    const double* values = kolmar_results_table(r, case_index, table, &rows, &columns);
    for (int c = 0; c < columns; ++c)
        if (name == kolmar_results_column_name(r, case_index, table, c))
            return row < rows ? values[row * columns + c] : NAN;
    ADD_FAILURE() << "no column " << name;
    return NAN;
}

// The side resistance of the layers along the shaft adds up to QS at the design length, and
// their factored values to QS / FST (ASD) or to the LRFD QS; the shares to one.
TEST(ResultsTest, LayerSideResistancesSumToQsAtTheDesignLength) {
    int asd = 0, lrfd = 0;
    for (const std::string name : kExamples) {
        SCOPED_TRACE(name);
        TempDir dir;
        Handle h;
        ASSERT_EQ(RunProgramEntry(Example(name), dir.path(), name, &h), KOLMAR_STATUS_OK);
        for (int c = 0; c < kolmar_results_case_count(h.results); ++c) {
            const int design = kolmar_results_design_row(h.results, c);
            ASSERT_GE(design, 0);
            int rows = 0, columns = 0;
            kolmar_results_table(h.results, c, KOLMAR_TABLE_LAYER_RESISTANCE, &rows, &columns);
            ASSERT_GT(rows, 0);
            const bool layer_lrfd =
                std::string(kolmar_results_column_name(h.results, c, KOLMAR_TABLE_LAYER_RESISTANCE,
                                                       8)) == "QS_lrfd";
            double QS = 0, factored = 0, share = 0;
            for (int r = 0; r < rows; ++r) {
                QS += Column(h.results, c, KOLMAR_TABLE_LAYER_RESISTANCE, "QS", r);
                factored += Column(h.results, c, KOLMAR_TABLE_LAYER_RESISTANCE,
                                   layer_lrfd ? "QS_lrfd" : "QS_allowable", r);
                share += Column(h.results, c, KOLMAR_TABLE_LAYER_RESISTANCE, "share", r);
            }
            const double total = Column(h.results, c, KOLMAR_TABLE_CAPACITY, "QS", design);
            EXPECT_NEAR(QS, total, 1e-9 * total);
            EXPECT_NEAR(share, 1.0, 1e-12);
            if (layer_lrfd) {
                ++lrfd;
                const double want = Column(h.results, c, KOLMAR_TABLE_CAPACITY, "QS_lrfd", design);
                EXPECT_NEAR(factored, want, 1e-9 * want);
            } else {
                ++asd;
                // QDN = QS / FST + QB / FSB: the side's allowable part.
                const double QDN = Column(h.results, c, KOLMAR_TABLE_CAPACITY, "QDN", design);
                const double QB = Column(h.results, c, KOLMAR_TABLE_CAPACITY, "QB", design);
                const double QBD = Column(h.results, c, KOLMAR_TABLE_CAPACITY, "QBD", design);
                const double base_allowable = QBD - total; // QB / FSB
                EXPECT_NEAR(factored, QDN - base_allowable, 1e-9 * QDN) << QB;
            }
        }
    }
    EXPECT_GT(asd, 0);
    EXPECT_GT(lrfd, 0);
}

// A run over several lengths of each diameter writes each diameter's capacity table once, and
// every case names the one the handle gives that case, column for column and value for value.
TEST(ResultsTest, EachCapacityTableIsWrittenOnceAndNamedByItsCases) {
    TempDir dir;
    Handle h;
    ASSERT_EQ(RunProgramEntry(Example("sand-over-clay"), dir.path(), "soc", &h), KOLMAR_STATUS_OK);
    const TJson document = TJsonReader(kolmar_results_json(h.results)).ReadDocument();
    const std::vector<const TJson*> tables = CaseCapacityTables(document);
    const int count = kolmar_results_case_count(h.results);
    ASSERT_EQ(tables.size(), static_cast<std::size_t>(count));
    std::map<double, std::string> place_of_diameter;
    for (int c = 0; c < count; ++c) {
        SCOPED_TRACE("case " + std::to_string(c + 1));
        const std::string place =
            document.Find("cases")->Items[static_cast<std::size_t>(c)].Find("capacity_table")->Text;
        const double diameter = kolmar_results_case_diameter(h.results, c);
        EXPECT_EQ(place_of_diameter.emplace(diameter, place).first->second, place);
        int rows = 0, columns = 0;
        const double* values =
            kolmar_results_table(h.results, c, KOLMAR_TABLE_CAPACITY, &rows, &columns);
        const TJson& table = *tables[static_cast<std::size_t>(c)];
        ASSERT_EQ(table.Find("columns")->Items.size(), static_cast<std::size_t>(columns));
        for (int k = 0; k < columns; ++k) {
            const TJson& column = table.Find("columns")->Items[static_cast<std::size_t>(k)];
            EXPECT_EQ(column.Find("name")->Text,
                      kolmar_results_column_name(h.results, c, KOLMAR_TABLE_CAPACITY, k));
            EXPECT_EQ(column.Find("unit")->Text,
                      kolmar_results_column_unit(h.results, c, KOLMAR_TABLE_CAPACITY, k));
        }
        const std::vector<TJson>& file_rows = table.Find("rows")->Items;
        ASSERT_EQ(file_rows.size(), static_cast<std::size_t>(rows));
        for (std::size_t r = 0; r < file_rows.size(); ++r)
            for (std::size_t k = 0; k < file_rows[r].Items.size(); ++k)
                ASSERT_EQ(std::strtod(file_rows[r].Items[k].Text.c_str(), nullptr),
                          values[r * static_cast<std::size_t>(columns) + k])
                    << "row " << r << ", column " << k;
    }
    // One table per diameter, and the diameters' places distinct: the run has several lengths.
    EXPECT_EQ(document.Find("capacity_tables")->Items.size(), place_of_diameter.size());
    EXPECT_GT(static_cast<std::size_t>(count), 2 * place_of_diameter.size());
    std::set<std::string> places;
    for (const auto& [diameter, place] : place_of_diameter)
        places.insert(place);
    EXPECT_EQ(places.size(), place_of_diameter.size());
}

// Names the run refuses before it writes anything: a base name with a folder, a results file
// that is the project, a report that would overwrite the project. Status 9, no file touched.
TEST(ResultsTest, ClashingOrMalformedNamesAreRefusedBeforeAnyFileIsWritten) {
    TempDir dir;
    const fs::path project = dir / "p.kx8d";
    fs::copy_file(Example("sand-water-table"), project);
    const std::string original = ReadFile(project);
    struct Case {
        const char* what;
        fs::path input;
        std::string base;
        std::string json;
    };
    const Case cases[] = {
        {"base name with a folder", project, "sub/p", ""},
        {"base name ..", project, "..", ""},
        {"empty base name", project, "", ""},
        {"results file is the project", project, "q", project.string()},
        {"results file is the report", project, "q", (dir / "q.kx8o").string()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Handle h;
        EXPECT_EQ(RunProgramEntry(c.input, dir.path(), c.base, &h,
                                  c.json.empty() ? nullptr : c.json.c_str()),
                  KOLMAR_STATUS_FILE_ERROR);
        EXPECT_EQ(Listing(dir.path()), std::set<std::string>{"p.kx8d"});
        EXPECT_EQ(ReadFile(project), original);
        EXPECT_STRNE(kolmar_results_messages(h.results), "");
    }
    // A project named like a result file: its report would be the project itself.
    const fs::path odd = dir / "r.kx8o";
    fs::copy_file(project, odd);
    EXPECT_EQ(RunProgramEntry(odd, dir.path(), "r", nullptr), KOLMAR_STATUS_FILE_ERROR);
    EXPECT_EQ(ReadFile(odd), original);
    EXPECT_FALSE(fs::exists(dir / "r.results.json"));
}

// The handle's accessors answer a bad index or a null handle without reading out of bounds.
TEST(ResultsTest, AccessorsAnswerBadIndicesSafely) {
    TempDir dir;
    Handle h;
    ASSERT_EQ(RunProgramEntry(Example("sand-water-table"), dir.path(), "s", &h), KOLMAR_STATUS_OK);
    int rows = -1, columns = -1;
    EXPECT_EQ(kolmar_results_table(h.results, 99, KOLMAR_TABLE_CAPACITY, &rows, &columns), nullptr);
    EXPECT_EQ(rows, 0);
    EXPECT_EQ(kolmar_results_table(h.results, 0, 17, &rows, &columns), nullptr);
    EXPECT_EQ(kolmar_results_column_name(h.results, 0, KOLMAR_TABLE_CAPACITY, 99), nullptr);
    EXPECT_EQ(kolmar_results_design_row(nullptr, 0), -1);
    EXPECT_EQ(kolmar_results_case_count(nullptr), 0);
    EXPECT_EQ(kolmar_results_write_json(nullptr, "x"), KOLMAR_STATUS_FILE_ERROR);
    kolmar_results_free(nullptr);
    // The units of the report, and the design charts as a run-wide table.
    EXPECT_STREQ(kolmar_results_column_unit(h.results, 0, KOLMAR_TABLE_CAPACITY, 0), "ft");
    EXPECT_STREQ(kolmar_results_column_unit(h.results, 0, KOLMAR_TABLE_CAPACITY, 3), "tons");
    EXPECT_NE(kolmar_results_table(h.results, 0, KOLMAR_TABLE_DESIGN_CHARTS, &rows, &columns),
              nullptr);
    EXPECT_EQ(rows, 0);
    EXPECT_EQ(columns, 4);
    // The t-z method's curves: ten points per t-z curve, the q-w curve, the load distribution
    // of the fifteen tip movements.
    kolmar_results_table(h.results, 0, KOLMAR_TABLE_TZ_LOWER_BOUND, &rows, &columns);
    EXPECT_GT(rows, 0);
    EXPECT_EQ(rows % 10, 0);
    EXPECT_STREQ(kolmar_results_column_unit(h.results, 0, KOLMAR_TABLE_TZ_TREND, 2), "psi");
    kolmar_results_table(h.results, 0, KOLMAR_TABLE_QW_UPPER_BOUND, &rows, &columns);
    EXPECT_EQ(rows, 10);
    const double* distribution =
        kolmar_results_table(h.results, 0, KOLMAR_TABLE_DISTRIBUTION_TREND, &rows, &columns);
    ASSERT_GT(rows, 0);
    EXPECT_EQ(distribution[(rows - 1) * columns], 15.0); // the last tip movement
    // The results file written elsewhere is the same text.
    const fs::path elsewhere = dir / "sub" / "copy.json";
    fs::create_directories(elsewhere.parent_path());
    EXPECT_EQ(kolmar_results_write_json(h.results, elsewhere.string().c_str()), 0);
    EXPECT_EQ(ReadFile(elsewhere), kolmar_results_json(h.results));
}

// Numbers are written in the shortest text that reads back as the same double, whatever the
// magnitude; a value that is not finite becomes null, so that no file holds NaN or infinity.
TEST(ResultsTest, JsonNumbersReadBackAsTheSameDouble) {
    const double values[] = {0.1,  1.0 / 3.0, 2.0 / 3.0 * 1e300,  5e-324,
                             1e21, -12.625,   284.44131684460221, 1.7976931348623157e308};
    for (const double v : values) {
        const std::string text = JsonNumber(v);
        EXPECT_EQ(std::strtod(text.c_str(), nullptr), v) << text;
        EXPECT_EQ(text.find_first_of(", "), std::string::npos) << text;
    }
    EXPECT_EQ(JsonNumber(0.1), "0.1");
    EXPECT_EQ(JsonNumber(-0.0), "0");
    EXPECT_EQ(JsonNumber(std::numeric_limits<double>::quiet_NaN()), "null");
    EXPECT_EQ(JsonNumber(-std::numeric_limits<double>::infinity()), "null");
    EXPECT_EQ(JsonQuote("a \"b\"\\\n\x01\xe9"), "\"a \\\"b\\\"\\\\\\n\\u0001\\u00e9\"");
}

// A value formatted once by a fragment writer and copied in where it recurs gives the same
// bytes as the value written in place, at any depth and after any kind of sibling.
TEST(ResultsTest, ValueFormattedOnceEqualsTheValueWrittenInPlace) {
    const double row[] = {1.0, 0.1, -2.5e-7};
    const auto table = [&row](JsonWriter& w) {
        w.BeginObject();
        w.Key("rows");
        w.BeginArray();
        w.NumberRow(row, 3);
        w.NumberRow(row, 0);
        w.EndArray();
        w.Key("empty");
        w.BeginObject();
        w.EndObject();
        w.EndObject();
    };
    const auto document = [&](bool fragments) {
        std::ostringstream os;
        JsonWriter w(os);
        w.BeginObject();
        w.Key("cases");
        w.BeginArray();
        for (int i = 0; i < 3; ++i) {
            w.BeginObject();
            w.Key("number");
            w.Integer(i);
            w.Key("capacity");
            if (fragments) {
                JsonWriter fragment(w.Depth());
                table(fragment);
                w.Raw(fragment.Text());
            } else {
                table(w);
            }
            w.EndObject();
        }
        w.EndArray();
        w.EndObject();
        w.Flush();
        return os.str();
    };
    EXPECT_EQ(document(true), document(false));
    EXPECT_NE(
        document(false).find("\n      \"capacity\": {\n        \"rows\": [\n          [1, 0.1, "),
        std::string::npos)
        << document(false);
}

// The copy a writer keeps of its text: the whole text when it fits the limit, nothing beyond it
// (the text is then made again on request).
TEST(ResultsTest, TheKeptCopyIsTheWholeTextOrNothing) {
    std::vector<double> row(20000, 1.0 / 3.0); // some 400 kB, several blocks
    for (const std::size_t limit : {std::size_t{1} << 30, std::size_t{100000}}) {
        std::ostringstream os;
        std::string copy;
        {
            JsonWriter w(os);
            w.KeepCopy(&copy, limit);
            w.BeginObject();
            w.Key("row");
            w.NumberRow(row.data(), row.size());
            w.EndObject();
        }
        EXPECT_EQ(copy, limit > os.str().size() ? os.str() : std::string());
    }
}

// The message blocks of the run notes, read in large blocks: a block that straddles the end of a
// block, Windows line ends, banner lines, the layer and depth a text names, and a last block
// without a final line end.
TEST(ResultsTest, RunNoteBlocksAreReadAcrossBlockEnds) {
    std::string notes;
    while (notes.size() < (1u << 20) - 40)
        notes += " CASE OUTPUT WITHOUT ANY MESSAGE WORD IN IT, PADDING THE FILE\r\n";
    notes += "\r\n *****WARNING*****\r\n THE SIDE RESISTANCE OF LAYER NO. 3 WAS LIMITED\r\n"
             " AT DEPTH = 12.5 FT.\r\n\r\n";
    notes += " NOTE: THE TIP IS IN ROCK\n ............\n";
    notes += "\n ERROR IN LAYER 7";
    std::istringstream in(notes);
    const std::vector<RunMessage> messages = ReadRunMessages(in);
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].kind, "warning");
    EXPECT_EQ(messages[0].text,
              "THE SIDE RESISTANCE OF LAYER NO. 3 WAS LIMITED\nAT DEPTH = 12.5 FT.");
    EXPECT_EQ(messages[0].layer, 3);
    EXPECT_EQ(messages[0].depth, 12.5);
    EXPECT_EQ(messages[1].kind, "note");
    EXPECT_EQ(messages[1].text, "NOTE: THE TIP IS IN ROCK");
    EXPECT_FALSE(messages[1].layer);
    EXPECT_EQ(messages[2].kind, "error");
    EXPECT_EQ(messages[2].layer, 7);
    EXPECT_FALSE(messages[2].depth);
}

// A run stopped for a profile too short for the design load says so in a banner without a kind
// word: it is an error of the results file's messages all the same.
TEST(ResultsTest, TheShortProfileStopIsAnError) {
    std::istringstream in("     60.0     17.4    285.0\n\n"
                          "   *********** NEED ANOTHER SOIL LAYER ************\n\n");
    const std::vector<RunMessage> messages = ReadRunMessages(in);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].kind, "error");
    EXPECT_EQ(messages[0].text, "NEED ANOTHER SOIL LAYER");
}

// A file whose writing fails, by the stream or by an exception on the way, leaves the old file
// as it was and no temporary beside it.
TEST(ResultsTest, AFailedAtomicWriteLeavesTheOldFileAndNoTemporary) {
    TempDir dir;
    const fs::path file = dir / "r.results.json";
    WriteFile(file, "old");
    EXPECT_THROW(WriteFileAtomically(file,
                                     [](std::ostream& out) {
                                         out << "half";
                                         throw std::runtime_error("a number could not be written");
                                     }),
                 std::runtime_error);
    EXPECT_FALSE(WriteFileAtomically(file, [](std::ostream& out) {
        out << "half";
        out.setstate(std::ios::badbit);
    }));
    EXPECT_EQ(ReadFile(file), "old");
    EXPECT_EQ(Listing(dir.path()), std::set<std::string>{"r.results.json"});
    EXPECT_TRUE(WriteFileAtomically(file, std::string("new")));
    EXPECT_EQ(ReadFile(file), "new");
}

// Whole numbers take a path of their own; they read exactly as the general shortest conversion
// writes them, the choice between the plain and the exponent form included ("1e+05").
TEST(ResultsTest, WholeNumbersAreWrittenAsTheGeneralConversionWritesThem) {
    const auto general = [](double v) {
        char text[32];
        return std::string(text, std::to_chars(text, text + sizeof text, v).ptr);
    };
    std::vector<double> values;
    for (double v = 1; v <= 120000; ++v)
        values.push_back(v);
    for (double scale = 10; scale < 1e16; scale *= 10)
        for (const double leading : {1.0, 2.0, 12.0, 105.0, 123.0, 1234567.0, 99999.0})
            if (leading * scale < 9007199254740992.0)
                values.push_back(leading * scale);
    std::mt19937_64 random(18);
    for (int i = 0; i < 100000; ++i)
        values.push_back(static_cast<double>(random() >> (11 + i % 40)));
    values.push_back(9007199254740991.0); // 2^53 - 1, the last whole number of the fast path
    values.push_back(9007199254740992.0); // 2^53: the general conversion
    values.push_back(1e300);
    for (const double v : values)
        for (const double signed_value : {v, -v})
            if (signed_value != 0.0) {
                ASSERT_EQ(JsonNumber(signed_value), general(signed_value)) << signed_value;
            }
}

// A file name in UTF-8 (a folder named in German, Greek or Chinese) goes into the results file
// as it is; a byte that is no part of a well-formed sequence stays a visible Latin-1 escape.
TEST(ResultsTest, JsonTextKeepsUtf8AndEscapesStrayBytes) {
    const struct {
        const char* text;
        const char* quoted;
    } cases[] = {
        {"Pf\xc3\xa4hle", "\"Pf\xc3\xa4hle\""},
        {"\xce\xa9\xce\xbc", "\"\xce\xa9\xce\xbc\""},
        {"\xe6\xa1\xa9", "\"\xe6\xa1\xa9\""},          // three bytes
        {"\xf0\x9f\x8f\x97", "\"\xf0\x9f\x8f\x97\""},  // four bytes
        {"caf\xe9 ok", "\"caf\\u00e9 ok\""},           // Latin-1, not UTF-8
        {"\xc3", "\"\\u00c3\""},                       // cut short at the end
        {"\xc0\xaf", "\"\\u00c0\\u00af\""},            // overlong
        {"\xed\xa0\x80", "\"\\u00ed\\u00a0\\u0080\""}, // a surrogate
    };
    for (const auto& c : cases)
        EXPECT_EQ(JsonQuote(c.text), c.quoted) << c.text;
}

TEST(ResultsTest, Sha256OfKnownTexts) {
    EXPECT_EQ(Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    // Two blocks of padding: 56 bytes.
    EXPECT_EQ(Sha256Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
}

// 8 threads each run 25 projects, every run in a folder of its own, at once; every file equals
// the serial run of the same project byte for byte (date lines masked). Under Wine, where every
// file call of every thread goes through one server, 4 threads of 6 projects make the same check
// in a tenth of the time.
TEST(ResultsTest, ThreadsRunningProjectsAtOnceMatchSerialRuns) {
#ifdef _WIN32
    constexpr int kThreads = 4;
    constexpr int kProjects = 6;
#else
    constexpr int kThreads = 8;
    constexpr int kProjects = 25;
#endif
    TempDir root;
    const auto example_of = [](int p) { return std::string(kExamples[p % std::size(kExamples)]); };
    std::vector<std::map<std::string, std::string>> serial(kProjects);
    std::vector<int> serial_status(kProjects);
    for (int p = 0; p < kProjects; ++p) {
        const fs::path dir = root / ("serial-" + std::to_string(p));
        fs::create_directories(dir);
        fs::copy_file(Example(example_of(p)), dir / "p.kx8d");
        serial_status[static_cast<std::size_t>(p)] =
            RunProgramEntry(dir / "p.kx8d", dir, "p", nullptr);
        serial[static_cast<std::size_t>(p)] = ResultTexts(dir, "p", true);
    }
    for (int t = 0; t < kThreads; ++t)
        for (int p = 0; p < kProjects; ++p) {
            const fs::path dir = root / ("t" + std::to_string(t) + "-" + std::to_string(p));
            fs::create_directories(dir);
            fs::copy_file(Example(example_of(p)), dir / "p.kx8d");
        }
    std::array<std::array<int, kProjects>, kThreads> status{};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            for (int p = 0; p < kProjects; ++p) {
                const fs::path dir = root / ("t" + std::to_string(t) + "-" + std::to_string(p));
                Handle h;
                status[static_cast<std::size_t>(t)][static_cast<std::size_t>(p)] =
                    RunProgramEntry(dir / "p.kx8d", dir, "p", &h);
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    for (int t = 0; t < kThreads; ++t)
        for (int p = 0; p < kProjects; ++p) {
            SCOPED_TRACE("thread " + std::to_string(t) + ", project " + std::to_string(p));
            const fs::path dir = root / ("t" + std::to_string(t) + "-" + std::to_string(p));
            EXPECT_EQ(status[static_cast<std::size_t>(t)][static_cast<std::size_t>(p)],
                      serial_status[static_cast<std::size_t>(p)]);
            EXPECT_EQ(ResultTexts(dir, "p", true), serial[static_cast<std::size_t>(p)]);
        }
}

} // namespace
} // namespace kolmar::engine
