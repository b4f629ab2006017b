// The staged plot sections of a layered sand-over-clay run over two diameters, assembled as the
// engine entry appends them (80-column lines in the order .kx8t, TZDIAM.DAT, .kx8q, .kx8l) and
// read back section by section the way the program's plot reader takes them: the additional
// t-z curves, the t-z curves, the q-w curves with their count, and the load distribution with
// NP - 2 records per load level. Also the golden listings of a small case in both unit systems.
#include "settlement/soil_settlement.h"

#include "settlement_support.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <sstream>

namespace kolmar::engine::settlement {
namespace {

using test::Lines;
using test::MemoryFiles;
using test::SandOverClay;

// Appends a staged text as the entry does: every line cut or padded to 80 columns.
void Append80(std::string& to, const std::string& staged) {
    for (std::string line : Lines(staged)) {
        EXPECT_LE(line.size(), 80u) << "a staged line would be cut: " << line;
        line.resize(80, ' ');
        to += line + "\n";
    }
}

// Whitespace-separated words, read as the plot reader reads them.
class WordCursor {
public:
    explicit WordCursor(const std::string& text) {
        std::istringstream in(text);
        for (std::string word; in >> word;)
            words_.push_back(word);
    }
    double Real() {
        if (next_ >= words_.size()) {
            ADD_FAILURE() << "the plot sections end early";
            return 0.0;
        }
        const std::string& w = words_[next_++];
        double value = 0.0;
        const auto res = std::from_chars(w.data(), w.data() + w.size(), value);
        EXPECT_TRUE(res.ec == std::errc() && res.ptr == w.data() + w.size())
            << "word " << next_ << ", \"" << w << "\", is not a number";
        return value;
    }
    int Int() {
        const double value = Real();
        EXPECT_EQ(value, std::floor(value)) << "word " << next_ << " is not a whole number";
        return static_cast<int>(value);
    }
    bool AtEnd() const { return next_ == words_.size(); }

private:
    std::vector<std::string> words_;
    std::size_t next_ = 0;
};

struct Curve {
    double head = 0.0; // depth of a t-z curve, diameter of a q-w curve
    std::vector<std::pair<double, double>> points;
};

// A t-z block: count, then per curve two integers, the depth and ten (t, z) pairs.
std::vector<Curve> ReadTzBlock(WordCursor& in) {
    std::vector<Curve> curves(static_cast<std::size_t>(in.Int()));
    for (Curve& c : curves) {
        in.Int();
        in.Int();
        c.head = in.Real();
        for (int j = 0; j < 10; ++j) {
            const double t = in.Real();
            c.points.emplace_back(t, in.Real());
        }
    }
    return curves;
}

TEST(PlotSectionsTest, ALayeredRunOverTwoDiametersReadsBackSectionBySection) {
    MemoryFiles m;
    SettlementFiles files = m.Files();
    LoadSettlementTable table;
    DesignChartTable chart;
    ShaftCase s = SandOverClay();
    s.print_tz_curves = true;
    s.tz_depths = {10.0, 25.0, 35.0};
    ASSERT_EQ(RunSoilSettlement(s, files, table, chart), 0);
    s.variation = 2;
    s.diameter = s.base_diameter = 3.5;
    ASSERT_EQ(RunSoilSettlement(s, files, table, chart), 0);

    std::string plot;
    Append80(plot, m.plot_t.str());
    Append80(plot, m.tz_diam);
    Append80(plot, m.plot_q.str());
    Append80(plot, m.plot_l.str());
    WordCursor in(plot);

    const std::vector<Curve> additional = ReadTzBlock(in);
    ASSERT_EQ(additional.size(), 3u);
    EXPECT_DOUBLE_EQ(additional[0].head, 10.0);
    EXPECT_DOUBLE_EQ(additional[2].head, 35.0);

    const std::vector<Curve> tz = ReadTzBlock(in);
    ASSERT_EQ(tz.size(), 10u); // five per layer, initial diameter only
    EXPECT_DOUBLE_EQ(tz[0].head, 0.0);
    EXPECT_DOUBLE_EQ(tz[7].head, 30.0);
    EXPECT_EQ(tz[9].points[9].second, 0.72); // clay: 2 % of 36 in

    const int qw_count = in.Int();
    ASSERT_EQ(qw_count, 2);
    const double expected_diameter[] = {3.0, 3.5};
    for (int c = 0; c < qw_count; ++c) {
        EXPECT_EQ(in.Int(), c + 1);
        EXPECT_DOUBLE_EQ(in.Real(), expected_diameter[c]);
        EXPECT_EQ(in.Int(), 10);
        double last_w = -1.0;
        for (int j = 0; j < 10; ++j) {
            const double q = in.Real();
            const double w = in.Real();
            EXPECT_GT(w, last_w);
            EXPECT_GE(q, 0.0);
            last_w = w;
        }
        EXPECT_NEAR(last_w, 0.1 * 12.0 * expected_diameter[c], 1e-6); // 10 % of the base
    }

    const int np = 40 + 2; // capacity curve points: computation depths plus 2
    double first_level_top = 0.0;
    for (int level = 0; level < 15; ++level) {
        double last_depth = 1e9;
        double top_load = 0.0;
        for (int e = 0; e < np - 2; ++e) {
            const double depth = in.Real();
            top_load = in.Real();
            in.Real();
            EXPECT_LT(depth, last_depth) << "elements run from the tip upward";
            last_depth = depth;
        }
        EXPECT_DOUBLE_EQ(last_depth, 0.5);
        if (level == 0) {
            first_level_top = top_load;
        } else if (level == 14) {
            EXPECT_GT(top_load, first_level_top);
        }
    }
    EXPECT_TRUE(in.AtEnd()) << "words after the load distribution";
    EXPECT_EQ(m.tz_data_rewrites, 6);
}

TEST(PlotSectionsTest, NoSectionIsStagedWhenTheFirstCurveIsRefused) {
    MemoryFiles m;
    SettlementFiles files = m.Files();
    LoadSettlementTable table;
    DesignChartTable chart;
    ShaftCase s = SandOverClay();
    s.layers = {{1, 0.0, 39.5, 0.1, 0.4}, {2, 39.5, 40.0, 0.5, 0.5}};
    EXPECT_EQ(RunSoilSettlement(s, files, table, chart), 2);
    for (const std::ostringstream* staged : {&m.plot_t, &m.plot_q, &m.plot_l})
        EXPECT_EQ(staged->str(), "");
    EXPECT_EQ(m.tz_diam, "");
}

// A 2 ft shaft, 12 ft long, in sand over clay with design-chart settlements and additional
// curves: every listing of the case.
std::string SmallCaseListings(int unit_system) {
    ShaftCase s;
    s.unit_system = unit_system;
    s.diameter = 2.0;
    s.base_diameter = 2.0;
    s.length = 12.0;
    s.top_length = 2.0;
    s.bottom_length = 1.0;
    s.Ec = 4.0e6;
    s.Qbmax = 28.3;
    s.layers = {{1, 0.0, 6.0, 0.05, 0.2}, {2, 6.0, 12.0, 0.4, 0.5}};
    for (int d = 1; d <= 12; ++d) {
        s.profile_depth.push_back(d);
        s.profile_fs.push_back(d <= 6 ? 0.05 + 0.025 * d : 0.4 + (d - 6) / 60.0);
    }
    s.increments = 12;
    s.print_tz_curves = true;
    s.tz_depths = {3.0, 9.0};
    s.chart_settlements = {0.25, 0.5};

    MemoryFiles m;
    SettlementFiles files = m.Files();
    LoadSettlementTable table;
    DesignChartTable chart;
    const int status = RunSoilSettlement(s, files, table, chart);
    std::string text = "status " + std::to_string(status) + "\n";
    const std::pair<const char*, std::string> parts[] = {
        {"report", m.report.str()},    {"run notes", m.run_notes.str()},
        {"t-z text", m.tz_text.str()}, {".kx8w", m.qw_stage.str()},
        {".kx8t", m.plot_t.str()},     {"TZDIAM.DAT", m.tz_diam},
        {".kx8q", m.plot_q.str()},     {".kx8l", m.plot_l.str()},
        {"CHART.DAT", m.chart.str()},  {"TZDATA.DAT", m.tz_data}};
    for (const auto& [name, content] : parts)
        text += "==== " + std::string(name) + " ====\n" + content;
    return text;
}

TEST(ListingGoldenTest, EnglishCase) {
    test::ExpectGolden(SmallCaseListings(1), "small_case_english.golden");
}

TEST(ListingGoldenTest, SiCase) {
    test::ExpectGolden(SmallCaseListings(2), "small_case_si.golden");
}

} // namespace
} // namespace kolmar::engine::settlement
