// Project file: exact written form, reading of the current and the older layouts, bad files,
// and the atomic save.
#include "gui/data/DataUnit.h"
#include "ui/model/units.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string kData = std::string(KOLMAR_TEST_DATA) + "/data/";

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteBytes(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find("\r\n", pos);
        if (end == std::string::npos) {
            lines.push_back(text.substr(pos));
            break;
        }
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 2;
    }
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& l : lines) {
        text += l + "\r\n";
    }
    return text;
}

// Shows where two file texts part, with blanks made visible.
std::string Diff(const std::string& expected, const std::string& actual) {
    const auto e = Lines(expected);
    const auto a = Lines(actual);
    std::ostringstream out;
    const auto show = [](const std::string& s) {
        std::string v;
        for (char c : s) {
            v += c == ' ' ? std::string("\xC2\xB7") : std::string(1, c);
        }
        return v;
    };
    for (std::size_t i = 0; i < std::max(e.size(), a.size()); ++i) {
        const std::string el = i < e.size() ? e[i] : "<none>";
        const std::string al = i < a.size() ? a[i] : "<none>";
        if (el != al) {
            out << "line " << i + 1 << "\n  expected: " << show(el) << "\n  actual:   " << show(al)
                << "\n";
        }
    }
    if (expected.size() >= 2 && expected.substr(expected.size() - 2) == "\r\n" &&
        (actual.size() < 2 || actual.substr(actual.size() - 2) != "\r\n")) {
        out << "the last line of the actual text is not ended by CR LF\n";
    }
    return out.str();
}

// A directory of its own for each test, removed afterwards.
class ProjectFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        fDir = fs::temp_directory_path() /
               ("kolmar_" + std::string(info->name()) + "_" + std::to_string(::getpid()));
        fs::remove_all(fDir);
        fs::create_directories(fDir);
    }
    void TearDown() override { fs::remove_all(fDir); }

    // Names in the test directory other than `keep`: temporary files a save left behind.
    std::vector<std::string> Leftovers(const std::vector<std::string>& keep) const {
        std::vector<std::string> extra;
        for (const auto& entry : fs::directory_iterator(fDir)) {
            const std::string name = entry.path().filename().string();
            if (std::find(keep.begin(), keep.end(), name) == keep.end()) {
                extra.push_back(name);
            }
        }
        return extra;
    }

    fs::path fDir;
};

TEST_F(ProjectFileTest, NewProjectSavedAtOnceHasTheExactBytes) {
    auto p = TProgramData::Create();
    p->FileName = (fDir / "new.kx8d").string();
    p->DataChanged = true;
    p->Save();
    const std::string expected = "New Pile\r\n"
                                 "1 \r\n"
                                 "1 1 1 1 1 2 0 0 0 0 0\r\n"
                                 "0 0 0 0 0 0 0\r\n"
                                 "1 0 0 2.5 3\r\n"
                                 "1 0 \r\n"
                                 "0.0 0 0 0 0 0 0 1 1 \r\n"
                                 "0.0 0 0 0 0 0 0 1 1 \r\n"
                                 "1 \r\n"
                                 "0 0 \r\n";
    const std::string actual = ReadBytes(p->FileName);
    EXPECT_EQ(actual, expected) << Diff(expected, actual);
    EXPECT_EQ(p->METHOD, 1) << "the normalisation stays in memory";
    EXPECT_FALSE(p->DataChanged);
    EXPECT_EQ(Leftovers({"new.kx8d"}), std::vector<std::string>{});
}

TEST_F(ProjectFileTest, CurrentFormatLoadsEveryRecordAndSavesByteForByte) {
    std::string error = "not cleared";
    auto p = TProgramData::CreateFromFile(kData + "current.kx8d", 1, &error);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(error, "");
    EXPECT_FALSE(p->DataChanged);
    EXPECT_EQ(p->Title, "Sample shaft - mixed profile, uplift with bell");
    EXPECT_EQ(p->fUnits, UnitsEnglish);
    EXPECT_EQ(std::vector<int>({p->METHOD, p->KCYCL, p->IMOD, p->NLRFD, p->IPENT, p->IChart,
                                p->UseElevation, p->PrintTZCurves, p->Yesnewversion, p->ID2}),
              std::vector<int>({2, 2, 1, 1, 1, 1, 1, 1, 1, 0}));
    EXPECT_EQ(std::vector<double>({p->RCYCL, p->PINC, p->ValElevation, p->DSTART, p->DIALIM,
                                   p->RATIO, p->BELANGL, p->TOPLENG, p->BS, p->EPILE, p->WTD, p->PD,
                                   p->LPD, p->FST, p->FSB, p->PDMIN, p->PDINCR, p->DIAMINCR}),
              std::vector<double>(
                  {0.75, 0.5, 100.5, 3, 3, 2, 30, 2, 1.5, 4e6, 8.5, 80, 0, 2.5, 3, 40, 5, 0.5}));
    EXPECT_EQ(p->NPOINTPD, 5);
    const std::array<double, 10> pdsett = {0.1, 0.25, 0.5, 1, 1.5, 1, 1, 1, 1, 1};
    EXPECT_EQ(p->PDSETT, pdsett);

    ASSERT_EQ(p->D.RowCount(), 11);
    std::vector<int> codes;
    for (const auto& L : p->D) {
        codes.push_back(L.SoilType());
    }
    EXPECT_EQ(codes, std::vector<int>({1, 1, 1, 2, 3, 5, 6, 4, 8, 9, 7}));

    const TParameterSet& ko = p->D[0].Params; // sand, Ko method
    EXPECT_EQ(ko.Value(0, SandCol::UnitWeight), 110);
    EXPECT_EQ(ko.Value(1, SandCol::FrictionAngle), 33);
    EXPECT_EQ(ko.Value(0, SandCol::InterfaceAngle), 28);
    EXPECT_EQ(ko.Value(1, SandCol::BlowCounts), 15);
    EXPECT_EQ(ko.Value(0, SandCol::Ko), 0.45);
    EXPECT_EQ(ko.Value(1, SandCol::Ko), 0.44);
    EXPECT_EQ(ko.Value(0, SandCol::Method), 1);
    EXPECT_EQ(ko.Value(0, SandCol::Beta), 0);
    const TSoilLayer& beta = p->D[1];
    EXPECT_EQ(beta.Params.Value(0, SandCol::Beta), 0.8);
    EXPECT_EQ(beta.Params.Value(1, SandCol::Beta), 0.75);
    EXPECT_EQ(beta.Params.Value(0, SandCol::Ko), 0);
    EXPECT_EQ(beta.Params.Value(0, SandCol::Method), 2);
    EXPECT_EQ(beta.MaxSideFriction, 2000);
    EXPECT_EQ(beta.MaxEndBearing, 60000);
    EXPECT_EQ(beta.LrfdSide, 0.55);
    EXPECT_EQ(beta.LrfdTip, 0.5);
    EXPECT_EQ(p->D[2].Params.Value(1, SandCol::M), 0.8);
    EXPECT_EQ(p->D[2].Params.Value(1, SandCol::Method), 3);

    const TParameterSet& clay = p->D[3].Params;
    EXPECT_EQ(clay.Value(0, ClayCol::Nc), 9);
    EXPECT_EQ(clay.Value(0, ClayCol::UnitWeight), 118);
    EXPECT_EQ(clay.Value(1, ClayCol::Cohesion), 2200);
    EXPECT_EQ(clay.Value(0, ClayCol::Alpha), 0.55);
    EXPECT_EQ(clay.Value(1, ClayCol::Alpha), 0.5);
    EXPECT_EQ(p->D[4].Params.Value(1, ClayCol::BlowCounts), 45);

    const TParameterSet& decomposed = p->D[5].Params;
    EXPECT_EQ(decomposed.Value(1, DecomposedCol::BlowCounts), 75);
    EXPECT_EQ(decomposed.Value(1, DecomposedCol::Poisson), 0.3);
    EXPECT_EQ(decomposed.Value(1, DecomposedCol::Modulus), 25000);
    EXPECT_EQ(decomposed.Value(1, DecomposedCol::SocketDiameter), 3);
    EXPECT_EQ(p->D[5].LrfdSide, 0.6);

    const TParameterSet& weak = p->D[6].Params;
    EXPECT_EQ(weak.Value(0, WeakRockCol::Qu), 72000);
    EXPECT_EQ(weak.Value(0, WeakRockCol::Condition), 2);
    EXPECT_EQ(weak.Value(1, WeakRockCol::Condition), 4);
    EXPECT_EQ(weak.Value(0, WeakRockCol::Slump), 7);
    EXPECT_EQ(weak.Value(0, WeakRockCol::InterfaceAngle), 35);
    EXPECT_EQ(weak.Value(1, WeakRockCol::Modulus), 160000);
    EXPECT_EQ(weak.Value(1, WeakRockCol::RQD), 65);

    const TParameterSet& rock = p->D[7].Params;
    EXPECT_EQ(rock.Value(1, StrongRockCol::Qu), 600000);
    EXPECT_EQ(rock.Value(1, StrongRockCol::Spacing), 1.5);
    EXPECT_EQ(rock.Value(1, StrongRockCol::Thickness), 5e-6);
    EXPECT_EQ(rock.Value(1, StrongRockCol::Modulus), 2200000);
    EXPECT_EQ(rock.Value(1, StrongRockCol::RQD), 85);
    EXPECT_EQ(p->D[8].Params.Value(1, GravelCol::BlowCounts), 35);
    EXPECT_EQ(p->D[9].Params.Value(0, GravelCol::Beta), 1.2);
    EXPECT_EQ(p->D[10].MaxEndBearing, 1.5e8);
    EXPECT_EQ(p->D[10].Params.Value(1, StrongRockCol::Qu), 1234567.8);
    EXPECT_EQ(p->D[10].Depth, 70);

    ASSERT_EQ(p->TblTZDepth.RowCount(), 3);
    EXPECT_EQ(p->TblTZDepth[1], 20.5);

    p->FileName = (fDir / "copy.kx8d").string();
    p->Save();
    const std::string original = ReadBytes(kData + "current.kx8d");
    const std::string saved = ReadBytes(p->FileName);
    EXPECT_EQ(saved, original) << Diff(original, saved);
}

TEST_F(ProjectFileTest, OlderLayoutsLoadWithTheirDefaults) {
    std::string error;
    auto p = TProgramData::CreateFromFile(kData + "old2012.kxd", 2, &error);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(error, "");
    EXPECT_EQ(p->IMOD, 0);
    EXPECT_EQ(p->NLRFD, 2);
    EXPECT_EQ(p->Yesnewversion, 1);
    EXPECT_EQ(p->PD, 40);
    EXPECT_EQ(p->EPILE, 3600000);
    for (int zero : {p->IPENT, p->IChart, p->UseElevation, p->PrintTZCurves, p->NPOINTPD, p->ID2}) {
        EXPECT_EQ(zero, 0);
    }
    EXPECT_EQ(p->PDSETT[1], 0.25) << "design-chart settlements get their defaults";
    ASSERT_EQ(p->D.RowCount(), 3);
    const TParameterSet& sand = p->D[0].Params;
    EXPECT_EQ(sand.Value(0, SandCol::UnitWeight), 115);
    EXPECT_EQ(sand.Value(0, SandCol::FrictionAngle), 32);
    EXPECT_EQ(sand.Value(0, SandCol::InterfaceAngle), 0) << "the fourth word is a placeholder";
    EXPECT_EQ(sand.Value(1, SandCol::BlowCounts), 18);
    EXPECT_EQ(sand.Value(1, SandCol::Method), 2) << "any method code but 1 means Beta";
    EXPECT_EQ(sand.Value(0, SandCol::Beta), 0.7);
    EXPECT_EQ(sand.Value(1, SandCol::Beta), 0.65);
    EXPECT_EQ(sand.Value(0, SandCol::Ko), 0);
    EXPECT_EQ(p->D[0].LrfdSide, 0.55);
    EXPECT_EQ(p->D[1].Params.Value(1, ClayCol::Cohesion), 2000);
    EXPECT_EQ(p->D[2].Params.Value(0, WeakRockCol::Condition), 3);
    EXPECT_EQ(p->D[2].LrfdSide, 1.0) << "a 9-word weak rock row has no LRFD factors";

    p = TProgramData::CreateFromFile(kData + "old60.kxd", 3, &error);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(error, "");
    EXPECT_EQ(p->fUnits, UnitsSI);
    EXPECT_EQ(p->IMOD, 1) << "a 4-word line 3 carries no IMOD";
    EXPECT_EQ(p->NLRFD, 2) << "the 6.0 layout knew allowable stress design alone";
    EXPECT_EQ(p->Yesnewversion, 0);
    EXPECT_EQ(p->METHOD, 1);
    EXPECT_EQ(p->LPD, 500);
    EXPECT_EQ(p->PD, 0);
    EXPECT_EQ(p->EPILE, 30000000);
    EXPECT_NEAR(p->PDSETT[0], 0.00254, 1e-12) << "defaults in metres for an SI project";
    ASSERT_EQ(p->D.RowCount(), 2);
    EXPECT_EQ(p->D[0].Params.Value(1, SandCol::Ko), 0.45);
    EXPECT_EQ(p->D[0].Params.Value(1, SandCol::Method), 1);
    EXPECT_EQ(p->D[0].LrfdTip, 1.0) << "a 7-word sand row keeps the default LRFD factors";
    EXPECT_EQ(p->D[1].SoilType(), kolmar::kGravel);
    EXPECT_EQ(p->D[1].Params.Value(0, GravelCol::Beta), 1.1);
    EXPECT_EQ(p->D[1].LrfdSide, 1.0);

    // The 6.0 layout with IMOD on line 3.
    std::string text = ReadBytes(kData + "old60.kxd");
    text.replace(text.find("1 1 1 0.5\r\n"), 11, "1 1 1 0.5 0\r\n");
    p = TProgramData::CreateFromText(text, 3, &error);
    EXPECT_EQ(error, "");
    EXPECT_EQ(p->IMOD, 0);
    EXPECT_EQ(p->EPILE, 30000000);

    // The older layouts are never written: saving writes the current format.
    p->FileName = (fDir / "converted.kx8d").string();
    p->Save();
    auto back = TProgramData::CreateFromFile(p->FileName, 1, &error);
    EXPECT_EQ(error, "");
    EXPECT_EQ(back->Yesnewversion, 1);
    EXPECT_EQ(back->D[1].Params.Value(1, GravelCol::BlowCounts), 35);
}

// The control line's word count tells the layouts apart, whatever the file is called; the
// reader follows it unless a filter is forced.
TEST_F(ProjectFileTest, TheControlLineDecidesTheLayout) {
    const std::string old60 = ReadBytes(kData + "old60.kxd");
    std::string old60WithImod = old60;
    old60WithImod.replace(old60WithImod.find("1 1 1 0.5\r\n"), 11, "1 1 1 0.5 0\r\n");
    const std::string current = ReadBytes(kData + "current.kx8d");
    auto lines = Lines(current);
    lines[2] = lines[2].substr(0, lines[2].rfind(' ')); // the 10 words of an earlier release
    lines.resize(49);                                   // and no t-z depths then
    const std::string current10 = JoinLines(lines);
    const struct {
        const char* What;
        std::string Text;
        TFileLayout Layout;
        int NLRFD;
        int Yesnewversion;
    } cases[] = {
        {"6.0, four words", old60, TFileLayout::Version60, 2, 0},
        {"6.0, five words", old60WithImod, TFileLayout::Version60, 2, 0},
        {"2012", ReadBytes(kData + "old2012.kxd"), TFileLayout::Version2012, 2, 1},
        {"current, ten words", current10, TFileLayout::Current10, 1, 1},
        {"current", current, TFileLayout::Current, 1, 1},
        {"blank lines before the control line",
         "t\r\n\r\n2 \r\n\r\n1 1 1 0.5\r\n1 0 0 0 0 0 3\r\n1 3 5 2.5 3\r\n8 5 \r\n"
         "20 10 0.5 0 0 \r\n20 10 0.5 0 0 \r\n",
         TFileLayout::Version60, 2, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        EXPECT_EQ(LayoutOfText(c.Text), c.Layout);
        for (const char* name : {"p.kx8d", "p.kxd"}) {
            std::string error;
            auto p = TProgramData::CreateFromText(c.Text, 0, &error, name);
            EXPECT_EQ(error, "") << name;
            EXPECT_FALSE(p->Damaged);
            EXPECT_EQ(p->Layout, c.Layout);
            EXPECT_EQ(p->NLRFD, c.NLRFD);
            EXPECT_EQ(p->Yesnewversion, c.Yesnewversion);
        }
    }
    EXPECT_EQ(LayoutOfText("t\r\n1 \r\n1 1 1 0.5 1 2 0\r\n"), TFileLayout::Unknown);
    EXPECT_EQ(LayoutOfText(""), TFileLayout::Unknown);

    // A forced filter reads the 6.0 file as the 2012 layout: shifted, and so refused.
    std::string error;
    auto forced = TProgramData::CreateFromText(old60, 2, &error, "p.kxd");
    EXPECT_NE(error, "");
    EXPECT_TRUE(forced->Damaged);

    // Unknown contents fall back to the extension.
    WriteBytes(fDir / "odd.kxd", "t\r\n1 \r\n1 2 3 4 5 6 7\r\n");
    EXPECT_EQ(ReaderForFile((fDir / "odd.kxd").string()), 2);
    WriteBytes(fDir / "odd.kx8d", old60);
    EXPECT_EQ(ReaderForFile((fDir / "odd.kx8d").string()), 3);
    EXPECT_EQ(ReaderForFile((fDir / "none.kx8d").string()), 1);

    // A save writes the whole project: the damaged mark and the older layout are gone.
    forced->FileName = (fDir / "saved.kx8d").string();
    forced->Save();
    EXPECT_FALSE(forced->Damaged);
    EXPECT_EQ(forced->Layout, TFileLayout::Current);
}

TEST_F(ProjectFileTest, OptionalTrailingValuesAndBlankLinesAreTolerated) {
    const std::string file = "t\r\n"
                             "1 \r\n"
                             "1 1 1 1 1 2 0 0 0 0\r\n" // 10 words: no PrintTZCurves
                             "\r\n"
                             "0 0 0 0 0 0 0\r\n"
                             "1 0 50 2.5 3\r\n"
                             "1 0 \r\n"
                             "0.0 1 2 3 4 5 6 \r\n" // 7 words: no LRFD factors
                             "\r\n"
                             "\r\n"
                             "0.0 1 2 3 4 5 6 0.5 0.4 \r\n"
                             "1 \r\n"
                             "0 0 \r\n";
    std::string error;
    auto p = TProgramData::CreateFromText(file, 1, &error);
    EXPECT_EQ(error, "");
    EXPECT_EQ(p->PrintTZCurves, 0);
    EXPECT_EQ(p->LPD, 50);
    EXPECT_EQ(p->D[0].LrfdSide, 0.5) << "the bottom row's values are kept";
    EXPECT_EQ(p->D[0].Params.Value(1, SandCol::BlowCounts), 4);
}

TEST_F(ProjectFileTest, SaveNormalisesTheProject) {
    std::string error;
    auto p = TProgramData::CreateFromFile(kData + "current.kx8d", 1, &error);
    ASSERT_EQ(error, "");

    // No shaft length: the design load is written, multiple lengths and charts are off.
    auto load = std::make_unique<TProgramData>(*p);
    load->PD = 0;
    load->LPD = 120;
    auto lines = Lines(load->SaveToText());
    EXPECT_EQ(lines[2], "1 2 0.75 0.5 1 1 0 0 1 100.5 1");
    EXPECT_EQ(lines[4], "11 8.5 120 2.5 3");
    EXPECT_EQ(lines[5], "1 5 ") << "no records 6 to 8";

    // A shaft length wins over a design load.
    auto length = std::make_unique<TProgramData>(*p);
    length->METHOD = 1;
    length->LPD = 120;
    lines = Lines(length->SaveToText());
    EXPECT_EQ(length->METHOD, 2);
    EXPECT_EQ(length->LPD, 0);
    EXPECT_EQ(lines[4], "11 8.5 80 2.5 3");

    // Multiple lengths are analysed for one diameter.
    auto multi = std::make_unique<TProgramData>(*p);
    multi->DIALIM = 5;
    multi->Yesnewversion = 0;
    multi->ID2 = 1;
    lines = Lines(multi->SaveToText());
    EXPECT_EQ(lines[3], "3 3 2 30 2 1.5 4000000");
    EXPECT_EQ(multi->DIALIM, 3);
    EXPECT_EQ(multi->Yesnewversion, 1);
    EXPECT_EQ(multi->ID2, 0) << "rock layers are present";

    // Design charts with no settlement in use write an empty line 8, and it reads back.
    auto charts = std::make_unique<TProgramData>(*p);
    charts->IPENT = 0;
    charts->NPOINTPD = 0;
    const std::string text = charts->SaveToText();
    lines = Lines(text);
    EXPECT_EQ(lines[5], "40 5 0.5 0");
    EXPECT_EQ(lines[6], "");
    auto back = TProgramData::CreateFromText(text, 1, &error);
    EXPECT_EQ(error, "");
    EXPECT_EQ(back->D.RowCount(), 11);
    EXPECT_EQ(back->SaveToText(), text);

    // An SI project saves in its own units and reads back to the same values.
    auto si = std::make_unique<TProgramData>(*p);
    si->SetUnits(UnitsSI);
    const std::string siText = si->SaveToText();
    EXPECT_EQ(Lines(siText)[1], "2 ");
    EXPECT_EQ(Lines(siText)[3], "0.9144 0.9144 2 30 0.6096 0.4572 27579032");
    auto siBack = TProgramData::CreateFromText(siText, 1, &error);
    EXPECT_EQ(error, "");
    EXPECT_EQ(siBack->SaveToText(), siText);
}

TEST_F(ProjectFileTest, SaveRefusesValuesThatCannotBeWritten) {
    const fs::path file = fDir / "kept.kx8d";
    WriteBytes(file, "previous contents");
    const struct {
        const char* Name;
        std::function<void(TProgramData&)> Spoil;
        const char* Message;
    } cases[] = {
        {"NaN parameter",
         [](TProgramData& p) { p.D[6].Params.SetValue(1, WeakRockCol::Slump, std::nan("")); },
         "The project cannot be saved: the concrete slump at the bottom of layer 7 is not a finite "
         "number."},
        {"infinite scalar", [](TProgramData& p) { p.EPILE = INFINITY; },
         "The project cannot be saved: EPILE is not a finite number."},
        {"NaN length", [](TProgramData& p) { p.PD = std::nan(""); },
         "The project cannot be saved: PD is not a finite number."},
        {"NaN layer limit", [](TProgramData& p) { p.D[1].MaxEndBearing = -INFINITY; },
         "The project cannot be saved: the maximum unit end bearing of layer 2 is not a finite "
         "number."},
        {"NaN t-z depth", [](TProgramData& p) { p.TblTZDepth[2] = std::nan(""); },
         "The project cannot be saved: t-z depth 3 is not a finite number."},
        {"NaN settlement", [](TProgramData& p) { p.PDSETT[4] = std::nan(""); },
         "The project cannot be saved: design-chart settlement 5 is not a finite number."},
        {"settlement count", [](TProgramData& p) { p.NPOINTPD = 11; },
         "The project cannot be saved: the number of design-chart settlements (NPOINTPD) must be "
         "between 0 and 10."},
        {"two-line title", [](TProgramData& p) { p.Title = "one\ntwo"; },
         "The project cannot be saved: the title must be a single line."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        std::string error;
        auto p = TProgramData::CreateFromFile(kData + "current.kx8d", 1, &error);
        ASSERT_EQ(error, "");
        c.Spoil(*p);
        p->DIALIM = 9; // would be normalised by a successful save
        p->FileName = file.string();
        p->DataChanged = true;
        try {
            p->Save();
            ADD_FAILURE() << "saved";
        } catch (const EInOutError& e) {
            EXPECT_EQ(std::string(e.what()), c.Message);
        }
        EXPECT_EQ(ReadBytes(file), "previous contents");
        EXPECT_EQ(p->DIALIM, 9) << "a refused save changes nothing in memory";
        EXPECT_TRUE(p->DataChanged);
    }
    EXPECT_EQ(Leftovers({"kept.kx8d"}), std::vector<std::string>{});
}

TEST_F(ProjectFileTest, FailedSaveLeavesTheTargetIntact) {
    auto p = TProgramData::Create();

    // The target is a directory: the rename fails and the temporary file is removed.
    const fs::path dirTarget = fDir / "project.kx8d";
    fs::create_directories(dirTarget);
    WriteBytes(dirTarget / "inside.txt", "x");
    p->FileName = dirTarget.string();
    try {
        p->Save();
        ADD_FAILURE() << "saved over a directory";
    } catch (const EInOutError& e) {
        EXPECT_NE(std::string(e.what()).find(dirTarget.string()), std::string::npos) << e.what();
    }
    EXPECT_TRUE(fs::is_directory(dirTarget));
    EXPECT_EQ(ReadBytes(dirTarget / "inside.txt"), "x");

    // The temporary file cannot be created next to the target (its name is too long for the
    // file system even though the target's is not).
    const fs::path longTarget = fDir / (std::string(245, 'x') + ".kx8d");
    WriteBytes(longTarget, "old project");
    p->FileName = longTarget.string();
    EXPECT_THROW(p->Save(), EInOutError);
    EXPECT_EQ(ReadBytes(longTarget), "old project");

    // A missing directory.
    p->FileName = (fDir / "missing" / "a.kx8d").string();
    EXPECT_THROW(p->Save(), EInOutError);

    EXPECT_EQ(Leftovers({"project.kx8d", longTarget.filename().string()}),
              std::vector<std::string>{});

    // A file that exists is replaced and keeps its permissions.
    const fs::path normal = fDir / "normal.kx8d";
    WriteBytes(normal, "old");
    fs::permissions(normal, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    p->FileName = normal.string();
    p->Save();
    EXPECT_EQ(Lines(ReadBytes(normal))[0], "New Pile");
    EXPECT_EQ(fs::status(normal).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(ProjectFileOpen, MissingFileGivesNoProjectAndAMessage) {
    std::string error;
    const std::string name = "/nonexistent-dir/shaft.kx8d";
    EXPECT_EQ(TProgramData::CreateFromFile(name, 1, &error), nullptr);
    EXPECT_NE(error.find(name), std::string::npos) << error;
    EXPECT_EQ(TProgramData::CreateFromFile(name, 2, nullptr), nullptr);
}

// Bad files: each case changes the current-format sample and names the message and some
// values that must have been read before the error.
struct BadFile {
    const char* Name;
    std::function<void(std::vector<std::string>&)> Spoil; // on the lines, 0-based
    const char* Message;
    std::function<void(const TProgramData&)> Check;
};

void Truncate(std::vector<std::string>& lines, std::size_t keep) {
    lines.resize(keep);
}

TEST(ProjectFileBad, EachDefectGivesItsMessageAndKeepsWhatWasRead) {
    const auto good = Lines(ReadBytes(kData + "current.kx8d"));
    ASSERT_EQ(good.size(), 53u);
    const BadFile cases[] = {
        {"truncated after the units", [](auto& l) { Truncate(l, 2); },
         "Error on Line 3\nThis file either invalid or incomplete.",
         [](const TProgramData& p) {
             EXPECT_EQ(p.Title, "Sample shaft - mixed profile, uplift with bell");
             EXPECT_EQ(p.fUnits, 1);
             EXPECT_EQ(p.FST, 0.0) << "fields not read stay 0";
             EXPECT_EQ(p.D.RowCount(), 1);
             EXPECT_EQ(p.D[0].SoilType(), kolmar::kSand);
             EXPECT_EQ(p.D[0].LrfdSide, 1.0);
             EXPECT_EQ(p.TblTZDepth.RowCount(), 1);
         }},
        {"truncated inside a layer block", [](auto& l) { Truncate(l, 20); },
         "Error on Line 21\nThis file either invalid or incomplete.",
         [](const TProgramData& p) {
             ASSERT_EQ(p.D.RowCount(), 11);
             EXPECT_EQ(p.D[1].Params.Value(1, SandCol::Beta), 0.75);
             EXPECT_EQ(p.D[2].Depth, 18.0);
             EXPECT_EQ(p.D[2].Params.Value(0, SandCol::UnitWeight), 125.0);
             EXPECT_EQ(p.D[2].Params.Value(1, SandCol::UnitWeight), 0.0);
             EXPECT_EQ(p.D[3].SoilType(), kolmar::kSand);
             EXPECT_EQ(p.D[3].Depth, 0.0);
             EXPECT_EQ(p.TblTZDepth.RowCount(), 1);
         }},
        {"truncated in the t-z depths", [](auto& l) { Truncate(l, 52); },
         "Error on Line 53\nThis file either invalid or incomplete.",
         [](const TProgramData& p) {
             ASSERT_EQ(p.TblTZDepth.RowCount(), 3);
             EXPECT_EQ(p.TblTZDepth[1], 20.5);
             EXPECT_EQ(p.TblTZDepth[2], 0.0);
         }},
        {"text for a real", [](auto& l) { l[3] = "3 3 abc 30 2 1.5 4000000"; },
         "Error on Line 4 Item 3\nA floating point number was expected but not found.",
         [](const TProgramData& p) {
             EXPECT_EQ(p.DIALIM, 3.0);
             EXPECT_EQ(p.RATIO, 0.0);
             EXPECT_EQ(p.PrintTZCurves, 1);
             EXPECT_EQ(p.D.RowCount(), 1);
         }},
        {"fraction for the layer count", [](auto& l) { l[4] = "2.5 8.5 80 2.5 3"; },
         "Error on Line 5 Item 1\nAn integer was expected but not found.",
         [](const TProgramData& p) { EXPECT_EQ(p.EPILE, 4e6); }},
        {"fraction for blow counts", [](auto& l) { l[9] = "0.0 110 32 28 12.5 0 0 0.55 0.5 "; },
         "Error on Line 10 Item 5\nAn integer was expected but not found.",
         [](const TProgramData& p) {
             EXPECT_EQ(p.D[0].Params.Value(0, SandCol::InterfaceAngle), 28.0);
         }},
        {"too many layers", [](auto& l) { l[4] = "41 8.5 80 2.5 3"; },
         "Error on Line 5 Item 1\nThe number of soil layers must be between 1 and 40.",
         [](const TProgramData& p) {
             EXPECT_EQ(p.EPILE, 4e6);
             EXPECT_EQ(p.D.RowCount(), 1);
             EXPECT_EQ(p.WTD, 0.0);
         }},
        {"no layers", [](auto& l) { l[4] = "0 8.5 80 2.5 3"; },
         "Error on Line 5 Item 1\nThe number of soil layers must be between 1 and 40.",
         [](const TProgramData& p) { EXPECT_EQ(p.D.RowCount(), 1); }},
        {"eleven settlements", [](auto& l) { l[6] = "40 5 0.5 11"; },
         "Error on Line 7 Item 4\nThe number of design-chart settlements must be between 0 and "
         "10.",
         [](const TProgramData& p) {
             EXPECT_EQ(p.DIAMINCR, 0.5);
             EXPECT_EQ(p.NPOINTPD, 0);
             EXPECT_EQ(p.PDSETT[0], 0.1);
             EXPECT_EQ(p.D.RowCount(), 11);
         }},
        {"negative settlement count", [](auto& l) { l[6] = "40 5 0.5 -1"; },
         "Error on Line 7 Item 4\nThe number of design-chart settlements must be between 0 and "
         "10.",
         [](const TProgramData&) {}},
        {"soil code 10", [](auto& l) { l[8] = "10 5 "; },
         "Error on Line 9 Item 1\nThe soil type code must be between 1 and 9.",
         [](const TProgramData& p) {
             ASSERT_EQ(p.D.RowCount(), 11);
             EXPECT_EQ(p.D[0].SoilType(), kolmar::kSand);
             EXPECT_EQ(p.D[0].Depth, 0.0);
         }},
        {"soil code 0 in a later layer", [](auto& l) { l[23] = "0 25 "; },
         "Error on Line 24 Item 1\nThe soil type code must be between 1 and 9.",
         [](const TProgramData& p) { EXPECT_EQ(p.D[2].Params.Value(1, SandCol::M), 0.8); }},
        {"51 t-z depths", [](auto& l) { l[49] = "51"; },
         "Error on Line 50 Item 1\nThe number of t-z depths must be between 1 and 50.",
         [](const TProgramData& p) {
             EXPECT_EQ(p.D[10].SoilType(), kolmar::kStrongRockSideAndBase);
             EXPECT_EQ(p.D[10].LrfdTip, 0.45);
             EXPECT_EQ(p.TblTZDepth.RowCount(), 1);
         }},
        {"no t-z depths", [](auto& l) { l[49] = "0"; },
         "Error on Line 50 Item 1\nThe number of t-z depths must be between 1 and 50.",
         [](const TProgramData&) {}},
        {"empty file", [](auto& l) { l.clear(); },
         "Error on Line 2\nThis file either invalid or incomplete.",
         [](const TProgramData& p) {
             EXPECT_EQ(p.Title, "");
             EXPECT_EQ(p.D.RowCount(), 1);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        auto lines = good;
        c.Spoil(lines);
        std::string error;
        auto p = TProgramData::CreateFromText(JoinLines(lines), 1, &error, "bad.kx8d");
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(error, c.Message);
        EXPECT_EQ(p->FileName, "bad.kx8d");
        EXPECT_FALSE(p->DataChanged);
        EXPECT_TRUE(p->Damaged);
        c.Check(*p);
    }
}

} // namespace

// Switching a project to the other unit system and back leaves every value as stored: each
// example, switched there and back and saved, is byte for byte the file it was read from.
TEST(ProjectFileUnits, EveryExampleSurvivesASwitchOfUnitsAndBack) {
    int examples = 0;
    for (const fs::directory_entry& entry :
         fs::directory_iterator(fs::path(KOLMAR_SOURCE_DIR) / "examples")) {
        if (entry.path().extension() != ".kx8d")
            continue;
        ++examples;
        const std::string original = ReadBytes(entry.path());
        std::string error;
        auto project = TProgramData::CreateFromText(original, 0, &error, entry.path().string());
        ASSERT_TRUE(project && error.empty()) << entry.path() << ": " << error;
        const int own = project->fUnits;
        project->SetUnits(own == UnitsEnglish ? UnitsSI : UnitsEnglish);
        project->SetUnits(own);
        EXPECT_EQ(project->SaveToText(), original) << entry.path().filename();
    }
    EXPECT_GE(examples, 7);
}
