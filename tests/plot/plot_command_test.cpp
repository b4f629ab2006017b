// `kolmar plot` driven as a script drives it: a separate process without a display, on a
// project whose plot file holds every section.
#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

struct Result {
    int exit = -1;
    std::string output;
};

// Runs the runner with QT_QPA_PLATFORM and DISPLAY unset: it must find its own way.
Result Kolmar(const std::string& Args) {
    Result r;
    const std::string command =
        std::string("env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY '") + KOLMAR_RUNNER +
        "' " + Args + " 2>&1 </dev/null";
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

std::string Quote(const fs::path& P) {
    return "'" + P.string() + "'";
}

std::string Head(const fs::path& P, std::size_t N) {
    std::ifstream in(P, std::ios::binary);
    std::string text(N, '\0');
    in.read(text.data(), static_cast<std::streamsize>(N));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

// Width and height from a PNG file's header; (0, 0) when it is not a PNG.
std::pair<unsigned, unsigned> PngSize(const fs::path& P) {
    const std::string h = Head(P, 24);
    if (h.size() < 24 || h.compare(1, 3, "PNG") != 0)
        return {0, 0};
    auto word = [&](std::size_t At) {
        unsigned v = 0;
        for (std::size_t i = 0; i < 4; ++i)
            v = v << 8 | static_cast<unsigned char>(h[At + i]);
        return v;
    };
    return {word(16), word(20)};
}

class PlotCommand : public ::testing::Test {
protected:
    void SetUp() override {
        // Named after the test and this process: builds of other trees on the machine run the
        // same test at the same time.
        dir = fs::temp_directory_path() /
              ("kolmar_plot_" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
               std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        const fs::path data = fs::path(KOLMAR_TEST_DATA) / "data";
        project = dir / "full-run.kx8d";
        fs::copy_file(data / "full-run.kx8d", project);
        fs::copy_file(data / "full-run.kx8p", dir / "full-run.kx8p");
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir, project;
};

const char* const kGraphs[] = {
    "pltSkin",    "pltTip",      "pltTotal",  "pltCombine", "FSpltSkin", "FSpltTip",
    "FSpltTotal", "pltCombineD", "pltAxial",  "pltUpper",   "pltLower",  "pltCombinedSettle",
    "pltLoad",    "pltTz",       "pltTzAdd",  "pltQw",      "PltChart1", "PltChart2",
    "PltChart3",  "PltChart4",   "PltChart5", "PltChart6",  "PltChart7", "PltChart8",
    "PltChart9",  "PltChart10"};

} // namespace

TEST_F(PlotCommand, RendersEveryResultGraph) {
    for (const char* graph : kGraphs) {
        const fs::path out = dir / (std::string(graph) + ".png");
        const Result r =
            Kolmar("plot " + Quote(project) + " --graph " + graph + " -o " + Quote(out));
        EXPECT_EQ(r.exit, 0) << graph << ":\n" << r.output;
        EXPECT_EQ(PngSize(out), (std::pair<unsigned, unsigned>(900, 600))) << graph;
        // A chart with curves, grid and labels compresses to more than a blank page.
        EXPECT_GT(fs::exists(out) ? fs::file_size(out) : 0, 3000u) << graph;
    }
}

TEST_F(PlotCommand, SizesAndKinds) {
    const fs::path png = dir / "wide.png";
    Result r = Kolmar("plot " + Quote(project) + " --graph pltTotal -o " + Quote(png) +
                      " --width-in 8 --height-in 5 --ppi 150");
    ASSERT_EQ(r.exit, 0) << r.output;
    EXPECT_NE(r.output.find("1200 x 750"), std::string::npos) << r.output;
    EXPECT_EQ(PngSize(png), (std::pair<unsigned, unsigned>(1200, 750)));

    r = Kolmar("plot " + Quote(dir / "full-run") + " --graph pltQw -o " + Quote(dir / "qw.svg"));
    ASSERT_EQ(r.exit, 0) << r.output; // a name without extension is a .kx8d project
    EXPECT_NE(Head(dir / "qw.svg", 4096).find("<svg"), std::string::npos);
    r = Kolmar("plot " + Quote(project) + " --graph pltLoad -o " + Quote(dir / "load.pdf"));
    ASSERT_EQ(r.exit, 0) << r.output;
    EXPECT_EQ(Head(dir / "load.pdf", 4), "%PDF");
}

TEST_F(PlotCommand, RefusesWhatItCannotDraw) {
    struct Case {
        std::string Args;
        int Exit;
        const char* Says;
    };
    const std::string p = Quote(project);
    const std::string out = " -o " + Quote(dir / "x.png");
    const Case cases[] = {
        {"plot " + p + " --graph pltSoil" + out, 64, "unknown graph 'pltSoil'"},
        {"plot " + p + out, 64, "no graph given"},
        {"plot " + p + " --graph pltTip", 64, "no picture file given"},
        {"plot " + p + " --graph pltTip -o x.gif", 64, ".png, .svg, .pdf or .bmp"},
        {"plot " + p + " --graph pltTip --ppi 7.5" + out, 64, "--ppi: 7.5 is outside"},
        {"plot " + p + " --graph pltTip --ppi 99.5" + out, 64, "not a whole number"},
        {"plot " + p + " --graph pltTip --width-in 1,5" + out, 64, "'1,5' is not a number"},
        {"plot " + p + " --graph pltTip --height-in" + out, 64, "'-o' is not a number"},
        {"plot " + p + " --graph pltTip --height-in 1.5" + out, 64, "outside 2 to 100"},
        {"plot " + Quote(dir / "none.kx8d") + " --graph pltTip" + out, 66, "no such project"},
    };
    for (const Case& c : cases) {
        const Result r = Kolmar(c.Args);
        EXPECT_EQ(r.exit, c.Exit) << c.Args << "\n" << r.output;
        EXPECT_NE(r.output.find(c.Says), std::string::npos) << c.Args << "\n" << r.output;
    }
    EXPECT_FALSE(fs::exists(dir / "x.png"));
}

TEST_F(PlotCommand, NeedsTheResultsOfARun) {
    // No plot file yet.
    fs::remove(dir / "full-run.kx8p");
    Result r = Kolmar("plot " + Quote(project) + " --graph pltTip -o " + Quote(dir / "x.png"));
    EXPECT_EQ(r.exit, 66) << r.output;
    EXPECT_NE(r.output.find("run the project first"), std::string::npos) << r.output;

    // A damaged plot file names the problem.
    std::ofstream(dir / "full-run.kx8p") << " 1 4 0\n 0.0 0.0 x\n";
    r = Kolmar("plot " + Quote(project) + " --graph pltTip -o " + Quote(dir / "x.png"));
    EXPECT_EQ(r.exit, 65) << r.output;
    EXPECT_NE(r.output.find("full-run.kx8p"), std::string::npos) << r.output;

    // A file with the capacity section only: the graphs of the other sections are refused.
    std::ifstream full(fs::path(KOLMAR_TEST_DATA) / "data" / "full-run.kx8p");
    std::stringstream text;
    text << full.rdbuf();
    const std::string all = text.str();
    std::ofstream(dir / "full-run.kx8p") << all.substr(0, all.find(" 10 2 7")) << " 0 0 0\n";
    r = Kolmar("plot " + Quote(project) + " --graph pltTz -o " + Quote(dir / "x.png"));
    EXPECT_EQ(r.exit, 65) << r.output;
    EXPECT_NE(r.output.find("holds no curves"), std::string::npos) << r.output;
    r = Kolmar("plot " + Quote(project) + " --graph pltCombine -o " + Quote(dir / "x.png"));
    EXPECT_EQ(r.exit, 0) << r.output;
}

namespace {

// A text of an SVG drawing: its content and the box it covers on the page, its width
// estimated from the font size (half an em per character, more than the serif font needs).
struct TSvgText {
    std::string Text;
    double Left = 0, Top = 0, Right = 0, Bottom = 0;
};

std::vector<TSvgText> SvgTexts(const std::string& Svg) {
    std::vector<TSvgText> texts;
    const std::regex group(R"re(<g [^>]*transform="matrix\(([^)]*)\)")re");
    const std::regex text(
        R"re(<text [^>]*x="([-0-9.e]+)" y="([-0-9.e]+)"[^>]*font-size="([0-9.e]+)"[^>]*>([^<]*)</text>)re");
    std::array<double, 6> m{1, 0, 0, 1, 0, 0};
    std::size_t at = 0;
    while (true) {
        std::smatch g, t;
        const auto from = Svg.cbegin() + static_cast<std::ptrdiff_t>(at);
        const bool hasGroup = std::regex_search(from, Svg.cend(), g, group);
        if (!std::regex_search(from, Svg.cend(), t, text))
            break;
        if (hasGroup && g.position(0) < t.position(0)) {
            std::stringstream in(g[1].str());
            char comma = 0;
            in >> m[0] >> comma >> m[1] >> comma >> m[2] >> comma >> m[3] >> comma >> m[4] >>
                comma >> m[5];
            at += static_cast<std::size_t>(g.position(0) + g.length(0));
            continue;
        }
        const double x = std::stod(t[1]), y = std::stod(t[2]), size = std::stod(t[3]);
        const std::string content = t[4];
        const double w = 0.5 * size * static_cast<double>(content.size());
        TSvgText box{content, 1e300, 1e300, -1e300, -1e300};
        for (const auto& [cx, cy] :
             {std::pair{x, y - 0.8 * size}, std::pair{x + w, y - 0.8 * size},
              std::pair{x, y + 0.2 * size}, std::pair{x + w, y + 0.2 * size}}) {
            const double px = m[0] * cx + m[2] * cy + m[4], py = m[1] * cx + m[3] * cy + m[5];
            box.Left = std::min(box.Left, px);
            box.Right = std::max(box.Right, px);
            box.Top = std::min(box.Top, py);
            box.Bottom = std::max(box.Bottom, py);
        }
        texts.push_back(box);
        at += static_cast<std::size_t>(t.position(0) + t.length(0));
    }
    return texts;
}

bool Overlap(const TSvgText& A, const TSvgText& B) {
    const double e = 0.5; // boxes that only touch do not overlap
    return A.Left < B.Right - e && B.Left < A.Right - e && A.Top < B.Bottom - e &&
           B.Top < A.Bottom - e;
}

} // namespace

// Twenty diameters in a small picture: the legend moves right of the axes in two columns with
// a smaller font, inside the picture, and its entries cover no other text.
TEST_F(PlotCommand, TwentyDiameterLegendFitsAtSixByFourAndFourByThree) {
    std::ifstream in(fs::path(KOLMAR_SOURCE_DIR) / "examples" / "sand-water-table.kx8d",
                     std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::string source = text.str();
    // Diameters 2 to 11.5 ft by half a foot, and a profile deep enough for the widest.
    const std::size_t shaft = source.find("\n3 3 0 0 0 0 ");
    const std::size_t layer = source.find("\n1 70 ");
    ASSERT_NE(shaft, std::string::npos);
    ASSERT_NE(layer, std::string::npos);
    source.replace(layer, 6, "\n1 100 ");
    source.replace(shaft, 5, "\n2 11.5 ");
    const fs::path wide = dir / "twenty.kx8d";
    std::ofstream(wide, std::ios::binary) << source;
    const Result run = Kolmar("run " + Quote(wide));
    ASSERT_EQ(run.exit, 0) << run.output;

    for (const auto& [w, h] : {std::pair{6, 4}, std::pair{4, 3}}) {
        const std::string size = std::to_string(w) + " x " + std::to_string(h) + " in";
        const fs::path out = dir / ("twenty-" + std::to_string(w) + ".svg");
        const Result r =
            Kolmar("plot " + Quote(wide) + " --graph pltSkin -o " + Quote(out) + " --width-in " +
                   std::to_string(w) + " --height-in " + std::to_string(h) + " --ppi 150");
        ASSERT_EQ(r.exit, 0) << r.output;
        std::ifstream svg(out);
        std::stringstream s;
        s << svg.rdbuf();
        const std::vector<TSvgText> texts = SvgTexts(s.str());
        int entries = 0;
        for (const TSvgText& t : texts) {
            if (t.Text.rfind("Dia=", 0) != 0)
                continue;
            ++entries;
            EXPECT_GE(t.Left, 0) << size << ": " << t.Text;
            EXPECT_GE(t.Top, 0) << size << ": " << t.Text;
            EXPECT_LE(t.Right, w * 150.0) << size << ": " << t.Text;
            EXPECT_LE(t.Bottom, h * 150.0) << size << ": " << t.Text;
            for (const TSvgText& other : texts)
                if (&other != &t) {
                    EXPECT_FALSE(Overlap(t, other))
                        << size << ": \"" << t.Text << "\" covers \"" << other.Text << "\"";
                }
        }
        EXPECT_EQ(entries, 20) << size;
    }
}
