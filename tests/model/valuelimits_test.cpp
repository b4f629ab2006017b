// The check before a run: every value the engine would refuse, or that lies beyond its
// physical limit, is named with its window and field; a sound project passes. And the words of
// the text editor setting.
#include "gui/data/DataUnit.h"
#include "gui/data/FileCommands.h"
#include "gui/data/ValueLimits.h"
#include "ui/model/units.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>

namespace {

using TWindow = TValueProblem::TWindow;

// A project the engine accepts: a 3 ft shaft in two sand layers, ASD.
std::unique_ptr<TProgramData> Sound() {
    auto p = TProgramData::Create();
    p->DSTART = 3;
    p->EPILE = 4e6;
    p->D.SetRowCount(2);
    for (TSoilLayer& layer : p->D) {
        layer.Params.SetValue(0, SandCol::UnitWeight, 120);
        layer.Params.SetValue(1, SandCol::UnitWeight, 125);
    }
    return p;
}

TEST(ValueLimitsTest, ASoundProjectPasses) {
    EXPECT_FALSE(CheckProjectValues(*Sound()).has_value());
    // 0 keeps its meaning: no limit, estimated, the default increment.
    auto p = Sound();
    p->IChart = 1;
    p->PDINCR = 0;
    p->DIAMINCR = 0;
    p->D[0].MaxSideFriction = 0;
    EXPECT_FALSE(CheckProjectValues(*p).has_value());
}

TEST(ValueLimitsTest, EveryRefusalNamesItsWindowAndField) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        std::function<void(TProgramData&)> Spoil;
        TWindow Window;
        const char* Field;
        int Layer;
        const char* Message;
    } cases[] = {
        {[](TProgramData& p) { p.DSTART = 0; }, TWindow::Shaft, "DSTART", -1,
         "Drilled-Shaft Properties: the Minimum Shaft Diameter, B, must be greater than 0."},
        {[nan](TProgramData& p) { p.DSTART = nan; }, TWindow::Shaft, "DSTART", -1,
         "Drilled-Shaft Properties: the Minimum Shaft Diameter, B, must be greater than 0."},
        {[](TProgramData& p) { p.EPILE = 0; }, TWindow::Shaft, "EPILE", -1,
         "Drilled-Shaft Properties: the Modulus of Elasticity of Drilled Shaft must be greater "
         "than 0."},
        {[](TProgramData& p) { p.RATIO = 0.5; }, TWindow::Shaft, "RATIO", -1, nullptr},
        {[](TProgramData& p) { p.RATIO = 3; }, TWindow::Shaft, "BELANGL", -1,
         "Drilled-Shaft Properties: the Angle of Bell must lie between 0 and 90 degrees."},
        {[](TProgramData& p) { p.TOPLENG = -1; }, TWindow::Shaft, "TOPLENG", -1, nullptr},
        {[](TProgramData& p) { p.WTD = 1e100; }, TWindow::WaterTable, "WTD", -1,
         "Water Table: the depth of water table must be no greater than 10000 ft."},
        {[](TProgramData& p) {
             p.SetUnits(UnitsSI);
             p.WTD = 3049;
         },
         TWindow::WaterTable, "WTD", -1,
         "Water Table: the depth of water table must be no greater than 3048 m."},
        {[](TProgramData& p) { p.D[1].Params.SetValue(1, SandCol::UnitWeight, 0); },
         TWindow::Layers, "total unit weight", 1,
         "Soil Layers, layer 2: the total unit weight at the bottom must be greater than 0."},
        {[](TProgramData& p) { p.D[0].Params.SetValue(0, SandCol::FrictionAngle, -1); },
         TWindow::Layers, "friction angle", 0,
         "Soil Layers, layer 1: the friction angle at the top must be 0 or more."},
        {[](TProgramData& p) { p.D[1].Depth = 20000; }, TWindow::Layers, "Depth", 1, nullptr},
        {[](TProgramData& p) { p.D[0].MaxEndBearing = -5; }, TWindow::Layers, "Maximum", 0,
         nullptr},
        {[](TProgramData& p) {
             p.NLRFD = 1;
             p.D[1].LrfdTip = 1.2;
         },
         TWindow::Layers, "LRFD", 1,
         "Soil Layers, layer 2: the LRFD resistance factors must be greater than 0 and at most "
         "1."},
        {[](TProgramData& p) { p.FST = 0; }, TWindow::SafetyFactor, "FST", -1, nullptr},
        {[](TProgramData& p) { p.FSB = -1; }, TWindow::SafetyFactor, "FSB", -1, nullptr},
        {[](TProgramData& p) { p.PD = 1e6; }, TWindow::ShaftLength, "PD", -1, nullptr},
        {[](TProgramData& p) {
             p.KCYCL = 2;
             p.RCYCL = -0.1;
         },
         TWindow::ShaftLength, "RCYCL", -1, nullptr},
        {[](TProgramData& p) {
             p.IPENT = 1;
             p.PDINCR = -3;
         },
         TWindow::VaryLength, "PDINCR", -1, nullptr},
        {[](TProgramData& p) {
             p.IChart = 1;
             p.DIAMINCR = -0.5;
         },
         TWindow::DesignCharts, "DIAMINCR", -1, nullptr},
    };
    int index = 0;
    for (const auto& c : cases) {
        auto p = Sound();
        c.Spoil(*p);
        const auto problem = CheckProjectValues(*p);
        ASSERT_TRUE(problem.has_value()) << "case " << index;
        EXPECT_EQ(problem->Window, c.Window) << "case " << index;
        EXPECT_EQ(problem->Field, c.Field) << "case " << index;
        EXPECT_EQ(problem->Layer, c.Layer) << "case " << index;
        if (c.Message) {
            EXPECT_EQ(problem->Message, c.Message) << "case " << index;
        }
        ++index;
    }
}

TEST(ValueLimitsTest, FactorsOfSafetyAreLeftAloneUnderLrfd) {
    auto p = Sound();
    p->NLRFD = 1;
    p->FST = 0;
    p->FSB = 0;
    EXPECT_FALSE(CheckProjectValues(*p).has_value());
}

} // namespace

// The text editor setting, split into words as a shell would, without expanding anything.
TEST(SplitCommandLineTest, WordsAsAShellSplitsThem) {
    using W = std::vector<std::string>;
    const struct {
        const char* Setting;
        std::optional<W> Words;
    } cases[] = {
        {"", W{}},
        {"   ", W{}},
        {"kate -n", W{"kate", "-n"}},
        {"  gedit\t--new-window  ", W{"gedit", "--new-window"}},
        {"'/opt/my editor/bin/ed' -x", W{"/opt/my editor/bin/ed", "-x"}},
        {"\"/opt/my editor/ed\" --title \"a \\\"b\\\" c\"",
         W{"/opt/my editor/ed", "--title", "a \"b\" c"}},
        {"ed '$HOME' \"$HOME\" $HOME; *", W{"ed", "$HOME", "$HOME", "$HOME;", "*"}},
        {"ed a\\ b 'it''s'", W{"ed", "a b", "its"}},
        {"\"C:\\dir\\ed\"", W{"C:\\dir\\ed"}}, // a backslash before another letter stays
        {"ed 'open", std::nullopt},
        {"ed \"open", std::nullopt},
        {"ed \\", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitCommandLine(c.Setting), c.Words) << c.Setting;
}
