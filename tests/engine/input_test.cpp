// Reading of the project file: SI conversion (checked against an English twin of the same
// shaft), the derived defaults with their estimate marks, and the limits applied after reading.
#include "input.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <utility>

namespace kolmar::engine {
namespace {

using test::Project;

InputData Read(const std::string& text) {
    RunContext ctx;
    std::ostringstream console;
    ctx.console = &console;
    ctx.input_text = text;
    ReadInput(ctx);
    EXPECT_EQ(ctx.status, 0) << console.str();
    return ctx.input;
}

// Every number the input holds, named, for comparisons of whole data sets.
std::vector<std::pair<std::string, double>> Flatten(const InputData& in) {
    std::vector<std::pair<std::string, double>> v = {
        {"METHOD", in.METHOD},
        {"KCYCL", in.KCYCL},
        {"RCYCL", in.RCYCL},
        {"PINC", in.PINC},
        {"IMOD", in.IMOD},
        {"NLRFD", in.NLRFD},
        {"IPENT", in.IPENT},
        {"IChart", in.IChart},
        {"UseElevation", in.UseElevation},
        {"ValElevation", in.ValElevation},
        {"PrintTZCurves", in.PrintTZCurves},
        {"DSTART", in.DSTART},
        {"DIALIM", in.DIALIM},
        {"RATIO", in.RATIO},
        {"BELANGL", in.BELANGL},
        {"TOPLENG", in.TOPLENG},
        {"BS", in.BS},
        {"Ec", in.Ec},
        {"WTD", in.WTD},
        {"P", in.P},
        {"DGH", in.DGH},
        {"PD", in.PD},
        {"FST", in.FST},
        {"FSB", in.FSB},
        {"PDMIN", in.PDMIN},
        {"PDINCR", in.PDINCR},
        {"DIAMINCR", in.DIAMINCR},
        {"NPOINTPD", in.NPOINTPD},
    };
    for (std::size_t k = 0; k < in.PDSETT.size(); ++k)
        v.emplace_back("PDSETT " + std::to_string(k + 1), in.PDSETT[k]);
    for (std::size_t k = 0; k < in.tz_depths.size(); ++k)
        v.emplace_back("t-z depth " + std::to_string(k + 1), in.tz_depths[k]);
    for (std::size_t i = 0; i < in.layers.size(); ++i) {
        const Layer& l = in.layers[i];
        const std::string at = "layer " + std::to_string(i + 1) + " ";
        v.emplace_back(at + "code", l.code);
        v.emplace_back(at + "ztop", l.ztop);
        v.emplace_back(at + "zbot", l.zbot);
        v.emplace_back(at + "LRFDS", l.LRFDS);
        v.emplace_back(at + "LRFDB", l.LRFDB);
        v.emplace_back(at + "ISIDE", l.ISIDE);
        const std::pair<const char*, const TopBottom*> pairs[] = {
            {"TRANLM", &l.TRANLM},   {"QMAX", &l.QMAX},   {"NC", &l.NC},
            {"GAMMA", &l.GAMMA},     {"PHI", &l.PHI},     {"CU", &l.CU},
            {"BLOWS", &l.BLOWS},     {"DELTA", &l.DELTA}, {"KO", &l.KO},
            {"BETA", &l.BETA},       {"MEXP", &l.MEXP},   {"OCR", &l.OCR},
            {"ALPHA", &l.ALPHA},     {"QUR", &l.QUR},     {"QUCON", &l.QUCON},
            {"CS", &l.CS},           {"DISCT", &l.DISCT}, {"BDS", &l.BDS},
            {"EL", &l.EL},           {"RQD", &l.RQD},     {"SLUMP", &l.SLUMP},
            {"POISSON", &l.POISSON}, {"EGM", &l.EGM}};
        for (const auto& [name, values] : pairs) {
            v.emplace_back(at + name + " top", (*values)[kTop]);
            v.emplace_back(at + name + " bottom", (*values)[kBottom]);
        }
        v.emplace_back(at + "ICOND top", l.ICOND[kTop]);
        v.emplace_back(at + "ICOND bottom", l.ICOND[kBottom]);
        for (int m = 0; m < kEstimatedCount; ++m)
            for (const End end : {kTop, kBottom})
                v.emplace_back(at + "mark " + std::to_string(m) +
                                   (end == kTop ? " top" : " bottom"),
                               l.marks.IsSet(static_cast<Estimated>(m), end) ? 1.0 : 0.0);
    }
    return v;
}

TEST(InputTest, SiWaterTableAndDesignLoadBecomeFeetAndTons) {
    Project p;
    p.units = "2 ";
    p.control = "1 1 1 1 1 2 0 0 0 0 0";
    p.load = "1 2 500 2.5 3";
    p.layers[0] = "1 20 ";
    const InputData in = Read(p.Text());
    EXPECT_EQ(in.units, "SI");
    EXPECT_NEAR(in.WTD, 6.5616, 1e-12);
    EXPECT_NEAR(in.P, 56.2, 1e-12);
    EXPECT_NEAR(in.layers[0].zbot, 65.616, 1e-12);
    EXPECT_NEAR(in.DSTART, 3 * 3.2808, 1e-12);
    EXPECT_NEAR(in.Ec, 3600000 / 6.894757, 1e-6); // kPa to psi
    EXPECT_EQ(in.PD, 0.0);                        // a design load gives no design depth
}

// The same shaft in feet, psf, pcf, psi and inches, and in metres, kPa, kN/m3 and kN (written with
// the exact factors), gives the same internal data within the rounding of the engine's factors.
// Its depths lie off the one-foot grid of the stress summation, where the rounding of a factor
// could move a whole foot across the water table or a layer boundary.
TEST(InputTest, EnglishAndSiTwinsDescribeTheSameShaft) {
    const InputData en = Read(test::ReadFile(KOLMAR_TEST_DATA "/data/twin_en.kx8d"));
    const InputData si = Read(test::ReadFile(KOLMAR_TEST_DATA "/data/twin_si.kx8d"));
    ASSERT_EQ(en.layers.size(), 10u);
    ASSERT_EQ(si.layers.size(), 10u);
    const auto a = Flatten(en);
    const auto b = Flatten(si);
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t k = 0; k < a.size(); ++k) {
        const double expected = a[k].second;
        const double actual = b[k].second;
        const double difference = actual - expected;
        EXPECT_LE(std::fabs(difference), 1e-4 * std::fabs(expected) + 1e-9)
            << a[k].first << ": English " << expected << ", SI " << actual << ", difference "
            << difference;
    }
    // Estimates were made in both: friction angle and beta of layer 1, OCR of layer 2.
    EXPECT_TRUE(en.layers[0].marks.IsSet(Estimated::PHI, kBottom));
    EXPECT_TRUE(en.layers[0].marks.IsSet(Estimated::BETA, kTop));
    EXPECT_TRUE(en.layers[1].marks.IsSet(Estimated::OCR, kBottom));
}

TEST(InputTest, StepsAfterReading) {
    Project p;
    p.shaft = "3 2 1 0 0 0 3600000"; // DIALIM below DSTART, RATIO exactly 1
    p.layers[1] = "0.0 120 34 0 15 1E-11 0 1 1 ";
    p.layers[2] = "0.0 125 38 0 30 2000 -50 1 1 ";
    const InputData in = Read(p.Text());
    EXPECT_EQ(in.RATIO, 0.0);
    EXPECT_EQ(in.DIALIM, 3.0);
    EXPECT_EQ(in.PD, 50.0); // design control 2: the proposed depth is the design depth
    const Layer& l = in.layers[0];
    EXPECT_EQ(l.TRANLM[kTop], kNoLimit);
    EXPECT_EQ(l.TRANLM[kBottom], 2000.0);
    EXPECT_EQ(l.QMAX[kTop], kNoLimit);
    EXPECT_EQ(l.QMAX[kBottom], -50.0);
}

TEST(InputTest, BetaOfTheBetaMethodWhenNoneIsGiven) {
    Project p;
    p.load = "2 10 8 2.5 3";
    // Layer 1 to 3 ft; layer 2 from 3 to 9 ft, beta method without beta.
    p.layers = {"1 3 ", "0.0 120 34 0 15 0 0 1 1 ", "0.0 120 34 0 15 0 0 1 1 ", "1 ", "0.4 0.4 ",
                "1 9 ", "0.0 120 34 0 30 0 0 1 1 ", "0.0 120 34 0 9 0 0 1 1 ",  "2 ", "0 0 "};
    const InputData in = Read(p.Text());
    const Layer& sand = in.layers[1];
    EXPECT_DOUBLE_EQ(sand.BETA[kTop], 1.2);               // 1.5 - 0.135 sqrt(3) = 1.266, limited
    EXPECT_DOUBLE_EQ(sand.BETA[kBottom], 1.095 * 9 / 15); // 1.5 - 0.135 * 3, times N / 15
    EXPECT_EQ(sand.marks.Text(Estimated::BETA, kTop), "  (*)");
    EXPECT_EQ(sand.marks.Text(Estimated::BETA, kBottom), "  (*)");
    // The Ko layer above keeps its values and gets no mark.
    EXPECT_EQ(in.layers[0].KO[kTop], 0.4);
    EXPECT_EQ(in.layers[0].marks.Text(Estimated::BETA, kTop), "     ");
    EXPECT_FALSE(in.layers[0].marks.Any());

    // With a beta given at either end nothing is estimated.
    p.layers[7] = "0.0 120 34 0 30 0 0 1 1 ";
    p.layers[9] = "0 0.7 ";
    const InputData given = Read(p.Text());
    EXPECT_EQ(given.layers[1].BETA[kTop], 0.0);
    EXPECT_FALSE(given.layers[1].marks.IsSet(Estimated::BETA, kTop));
    // Without a reduction for N: 1.095 at the bottom.
    p.layers[9] = "0 0 ";
    EXPECT_DOUBLE_EQ(Read(p.Text()).layers[1].BETA[kBottom], 1.095);
}

TEST(InputTest, FrictionAngleFromTheBlowCountWhenNoneIsGiven) {
    Project p;
    p.load = "1 50 8 2.5 3"; // dry
    p.layers = {"1 10 ", "0.0 120 0 0 20 0 0 1 1 ", "0.0 120 0 0 20 0 0 1 1 ", "1 ", "1 1 "};
    const InputData in = Read(p.Text());
    const Layer& sand = in.layers[0];
    // Top: no overburden, curve C at N = 20. Bottom: 1200 psf = 8.33 psi between curves C and B.
    EXPECT_DOUBLE_EQ(sand.PHI[kTop], 45.0);
    EXPECT_NEAR(sand.PHI[kBottom], 45.0 - (1200.0 / 144 / 20) * (45 - 36), 1e-12);
    EXPECT_TRUE(sand.marks.IsSet(Estimated::PHI, kTop));
    EXPECT_TRUE(sand.marks.IsSet(Estimated::PHI, kBottom));

    // A given angle, or no blow count, is left alone.
    p.layers[1] = "0.0 120 32 0 20 0 0 1 1 ";
    p.layers[2] = "0.0 120 0 0 0 0 0 1 1 ";
    const InputData kept = Read(p.Text());
    EXPECT_EQ(kept.layers[0].PHI[kTop], 32.0);
    EXPECT_EQ(kept.layers[0].PHI[kBottom], 0.0);
    EXPECT_FALSE(kept.layers[0].marks.Any());
}

TEST(InputTest, OverconsolidationRatioOfTheKulhawyChenMethod) {
    Project p;
    p.load = "1 50 8 2.5 3";
    p.layers = {"1 10 ", "0.0 120 34 0 20 0 0 1 1 ", "0.0 120 34 0 30 0 0 1 1 ", "3 ", "0.6 0.5 "};
    const Layer sand = Read(p.Text()).layers[0];
    EXPECT_EQ(sand.MEXP[kTop], 0.6);
    EXPECT_EQ(sand.OCR[kTop], 1.0); // no overburden at the surface
    EXPECT_NEAR(sand.OCR[kBottom], 994.37897 * std::pow(30.0, 0.5) / 1200.0, 1e-12);
    EXPECT_TRUE(sand.marks.IsSet(Estimated::OCR, kTop));
    EXPECT_TRUE(sand.marks.IsSet(Estimated::OCR, kBottom));
}

TEST(InputTest, LengthAndDiameterDefaultsOfMultipleLengthsAndDesignCharts) {
    struct Case {
        const char* what;
        const char* units;
        const char* control;
        const char* shaft;
        std::vector<std::string> options;
        double PDMIN, PDINCR, DIAMINCR; // ft
    };
    // The proposed depth is 50 (ft or m).
    const char* const three = "3 3 0 0 0 0 3600000";
    const char* const one = "1 1 0 0 0 0 3600000";
    const Case cases[] = {
        {"vary length, English", "1 ", "2 1 1 1 1 2 1 0 0 0 0", three, {"0 0"}, 35.0, 3.0, 0.0},
        {"vary length, raised to six diameters",
         "1 ",
         "2 1 1 1 1 2 1 0 0 0 0",
         three,
         {"5 2"},
         18.0,
         2.0,
         0.0},
        {"design charts, English",
         "1 ",
         "2 1 1 1 1 2 0 1 0 0 0",
         one,
         {"0 0 0 2", "0.5 1 "},
         15.0,
         3.0,
         0.5},
        {"design charts, SI, raised to six diameters",
         "2 ",
         "2 1 1 1 1 2 0 1 0 0 0",
         three,
         {"0 0 0 1", "0.01 "},
         18 * 3.2808,
         3.2808,
         0.15 * 3.2808},
    };
    for (const Case& c : cases) {
        Project p;
        p.units = c.units;
        p.control = c.control;
        p.shaft = c.shaft;
        p.options = c.options;
        const InputData in = Read(p.Text());
        EXPECT_NEAR(in.PDMIN, c.PDMIN, 1e-9) << c.what;
        EXPECT_NEAR(in.PDINCR, c.PDINCR, 1e-9) << c.what;
        EXPECT_NEAR(in.DIAMINCR, c.DIAMINCR, 1e-9) << c.what;
    }
}

TEST(InputTest, TitleKeepsItsFirst72Characters) {
    Project p;
    p.title = std::string(72, 'T') + "cut off here";
    EXPECT_EQ(Read(p.Text()).title, std::string(72, 'T'));
}

} // namespace
} // namespace kolmar::engine
