// The Project Overview's plain half: the summary of a project read from its file, the
// settlement read off a load-settlement line, and the results at a glance of a results file
// (the design row, the base column of an uplift run, the messages, a broken file).
#include "gui/data/DataUnit.h"
#include "gui/data/ProjectOverview.h"

#include <gtest/gtest.h>

#include <map>

namespace {

std::map<std::string, std::string> SummaryOf(const TProgramData& Project) {
    std::map<std::string, std::string> byLabel;
    for (const TOverviewLine& line : ProjectSummary(Project))
        byLabel[line.Label] = line.Value;
    return byLabel;
}

TResultsGlance GlanceOf(const std::string& Text) {
    return ResultsGlance(TJsonReader(Text).ReadDocument());
}

// A results file of one case whose trend line is (100, 0.1), (200, 0.3), (300, 0.7) and whose
// bound lines stop short of 150; Method, Nlrfd and Kcycl are the input values.
std::string Results(int Method, int Nlrfd, int Kcycl, const std::string& Messages = "[]") {
    const std::string line = R"({"columns":[],"rows":[[100,0.1,1,0],[200,0.3,2,0],[300,0.7,3,0]]})";
    const std::string shortLine = R"({"columns":[],"rows":[[50,0.1,1,0],[100,0.2,2,0]]})";
    return R"({"status":{"code":0,"meaning":"normal completion"},
      "input":{"values":[{"name":"METHOD","value":)" +
           std::to_string(Method) + R"(},{"name":"NLRFD","value":)" + std::to_string(Nlrfd) +
           R"(},{"name":"KCYCL","value":)" + std::to_string(Kcycl) +
           R"(},{"name":"P","value":150}]},
      "units":{"length":"ft","force":"tons","movement":"in"},
      "messages":)" +
           Messages +
           R"(,
      "cases":[{"diameter":3,"design":{"L":42,"QS":394.44,"QB":109.06,"QU":503.5,
        "QBD":430.78,"QDN":194.12,"QS_lrfd":200.04,"QB_lrfd":50.05,"QU_lrfd":250.126},
        "load_settlement":{"trend":)" +
           line + R"(,"upper_bound":)" + shortLine + R"(,"lower_bound":)" + shortLine + "}}]}";
}

std::map<std::string, std::string> LinesOf(const TResultsGlance& Glance) {
    std::map<std::string, std::string> byLabel;
    for (const TOverviewLine& line : Glance.Lines)
        byLabel[line.Label] = line.Value;
    return byLabel;
}

} // namespace

TEST(ProjectOverview, SummaryHoldsTheProjectsValues) {
    const struct {
        const char* example;
        const char* label;
        const char* value;
    } cases[] = {
        {"clay-bell.kx8d", "Diameter", "3.000 ft"},
        {"clay-bell.kx8d", "Bell", "base 2.500 x stem, 45.000 deg"},
        {"clay-bell.kx8d", "Ignored top", "5.000 ft"},
        {"clay-bell.kx8d", "Design load", "300.0 tons"},
        {"clay-bell.kx8d", "Method", "ASD"},
        {"clay-bell.kx8d", "F.S. side", "2.50"},
        {"clay-bell.kx8d", "Water table", "5.000 ft"},
        {"clay-bell.kx8d", "Layers", "2"},
        {"sand-water-table.kx8d", "Shaft length", "50.000 ft"},
        {"sand-water-table.kx8d", "Bell", "none"},
        {"sand-over-clay.kx8d", "Method", "LRFD"},
        {"sand-over-clay.kx8d", "Diameters", "2.500 to 4.000 ft"},
        {"sand-over-clay.kx8d", "Design charts", "on"},
        {"si-dense-sand.kx8d", "System", "SI (kN, m)"},
        {"si-dense-sand.kx8d", "Diameter", "1.200 m"},
    };
    for (const auto& c : cases) {
        std::string error;
        auto project = TProgramData::CreateFromFile(
            std::string(KOLMAR_SOURCE_DIR) + "/examples/" + c.example, 0, &error);
        ASSERT_TRUE(project) << error;
        const auto summary = SummaryOf(*project);
        ASSERT_TRUE(summary.count(c.label)) << c.example << ": no " << c.label;
        EXPECT_EQ(summary.at(c.label), c.value) << c.example << ": " << c.label;
    }
    // A design-load project shows no length, a proposed-length one no design load.
    auto project = TProgramData::CreateFromFile(
        std::string(KOLMAR_SOURCE_DIR) + "/examples/clay-bell.kx8d", 0, nullptr);
    EXPECT_FALSE(SummaryOf(*project).count("Shaft length"));
}

TEST(ProjectOverview, SettlementIsReadOffTheLine) {
    const std::vector<std::pair<double, double>> line{{100, 0.1}, {200, 0.3}, {300, 0.7}};
    const struct {
        double load;
        std::optional<double> movement;
    } cases[] = {
        {50, 0.05}, // from the origin to the first point
        {100, 0.1}, {150, 0.2}, {250, 0.5}, {300, 0.7}, {300.5, std::nullopt}, // beyond the curve
    };
    for (const auto& c : cases) {
        const auto got = SettlementAtLoad(line, c.load);
        ASSERT_EQ(got.has_value(), c.movement.has_value()) << c.load;
        if (got) {
            EXPECT_NEAR(*got, *c.movement, 1e-12) << c.load;
        }
    }
    EXPECT_FALSE(SettlementAtLoad({}, 1.0));
    // A flat step (two points at one load) gives the first point's movement, never a NaN.
    EXPECT_DOUBLE_EQ(*SettlementAtLoad({{100, 0.1}, {100, 0.2}}, 100), 0.1);
}

TEST(ProjectOverview, GlanceOfADesignLoadRun) {
    const TResultsGlance g = GlanceOf(Results(1, 2, 1));
    EXPECT_TRUE(g.DesignLoad);
    EXPECT_FALSE(g.Lrfd);
    EXPECT_DOUBLE_EQ(g.Load, 150);
    ASSERT_TRUE(g.TrendSettlement);
    EXPECT_DOUBLE_EQ(*g.TrendSettlement, 0.2);
    EXPECT_FALSE(g.UpperSettlement); // the bound lines stop at 100
    const auto lines = LinesOf(g);
    EXPECT_EQ(lines.at("Design length"), "42.0 ft");
    EXPECT_EQ(lines.at("Design load"), "150.0 tons");
    EXPECT_EQ(lines.at("QS"), "394.4 tons");
    EXPECT_EQ(lines.at("QB"), "109.1 tons");
    EXPECT_EQ(lines.at("QDN"), "194.1 tons");
    EXPECT_EQ(lines.at("Settlement at"), "150.0 tons");
    EXPECT_EQ(lines.at("  trend line"), "0.2000 in");
    EXPECT_EQ(lines.at("  upper bound"), "beyond the curve");
    EXPECT_FALSE(lines.count("LRFD QU"));
}

TEST(ProjectOverview, TheDesignLoadOfAnSiRunIsReadInKilonewtons) {
    // The results file holds the project in the engine's tons, its tables in the report's kN.
    std::string text = Results(1, 2, 1);
    const std::string tons = "\"force\":\"tons\"";
    text.replace(text.find(tons), tons.size(), "\"force\":\"kN\"");
    const TResultsGlance g = GlanceOf(text);
    EXPECT_NEAR(g.Load, 150 * 8.896443230521, 1e-9);
    EXPECT_EQ(LinesOf(g).at("Design load"), "1334.5 kN");
}

TEST(ProjectOverview, GlanceOfAnLrfdUpliftRunAtItsLength) {
    const TResultsGlance g =
        GlanceOf(Results(2, 1, 2,
                         R"([{"kind":"warning","layer":1,"depth":null,"text":"W1"},
                    {"kind":"note","layer":null,"depth":null,"text":"N"},
                    {"kind":"error","layer":null,"depth":null,"text":"E1"}])"));
    EXPECT_TRUE(g.Lrfd);
    EXPECT_TRUE(g.Uplift);
    EXPECT_DOUBLE_EQ(g.Load, 250.126); // the factored capacity at the length
    const auto lines = LinesOf(g);
    EXPECT_EQ(lines.at("Length"), "42.0 ft");
    EXPECT_EQ(lines.at("WT"), "109.1 tons");
    EXPECT_FALSE(lines.count("QB"));
    EXPECT_EQ(lines.at("LRFD QU"), "250.13 tons");
    EXPECT_FALSE(lines.count("QDN"));
    EXPECT_EQ(g.Warnings, 1);
    EXPECT_EQ(g.Errors, 1);
    ASSERT_EQ(g.Messages.size(), 2u); // notes are no problems
    EXPECT_EQ(g.Messages[1].second, "E1");
}

TEST(ProjectOverview, ABrokenResultsFileIsNamed) {
    std::string text = Results(2, 2, 1);
    const std::string design = "\"QU\":503.5";
    text.replace(text.find(design), design.size(), "\"QU\":\"x\"");
    try {
        GlanceOf(text);
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("\"x\""), std::string::npos) << e.what();
    }
    EXPECT_THROW(GlanceOf(R"({"status":{"code":0,"meaning":""}})"), std::runtime_error);
    // A second case that names a capacity table the file does not hold.
    std::string unnamed = Results(2, 2, 1);
    unnamed.replace(unnamed.rfind("}]}"), 3, R"(,"capacity_table":0},{"capacity_table":1}]})");
    unnamed.replace(unnamed.find("\"cases\""), 0,
                    R"("capacity_tables":[{"columns":[],"rows":[]}],)");
    try {
        GlanceOf(unnamed);
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()),
                  "case 2: capacity_table 1 names no table (the file has 1 capacity table)");
    }
    // A run that stopped before a design row: its status, and no numbers.
    std::string stopped = Results(1, 2, 1);
    stopped.replace(stopped.find("\"design\":{"),
                    stopped.find('}', stopped.find("\"design\":{")) - stopped.find("\"design\":{") +
                        1,
                    "\"design\":null");
    const TResultsGlance g = GlanceOf(stopped);
    EXPECT_TRUE(g.Cases.empty());
    EXPECT_TRUE(g.Lines.empty());
    EXPECT_EQ(g.StatusMeaning, "normal completion");
}
