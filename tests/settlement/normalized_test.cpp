// Normalized load-transfer relations: family choice by material, curve building and reading,
// the fine side tables, the tip-depth check and its warning.
#include "settlement/normalized.h"

#include <gtest/gtest.h>

#include <sstream>

namespace kolmar::engine::settlement {
namespace {

TEST(FamilyChoiceTest, EveryMaterialCodeGetsItsSideAndBaseFamily) {
    struct Case {
        int code;
        SideFamily side;
        BaseFamily base;
    };
    const Case cases[] = {
        {1, SideFamily::cohesionless, BaseFamily::cohesionless},
        {2, SideFamily::cohesive, BaseFamily::cohesive},
        {3, SideFamily::cohesive, BaseFamily::cohesive},
        {4, SideFamily::cohesive, BaseFamily::cohesive},
        {5, SideFamily::cohesive, BaseFamily::cohesive},
        {6, SideFamily::cohesive, BaseFamily::cohesive},
        {7, SideFamily::strong_rock, BaseFamily::cohesive},
        {8, SideFamily::gravelly_sand, BaseFamily::cohesionless},
        {9, SideFamily::cohesive, BaseFamily::cohesionless},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SideFamilyFor(c.code), c.side) << "code " << c.code;
        EXPECT_EQ(BaseFamilyFor(c.code), c.base) << "code " << c.code;
    }
}

TEST(FamilyDataTest, EveryFamilyStartsAtTheOriginWithIncreasingAbscissae) {
    const CoarseFamily* families[] = {
        &Family(SideFamily::cohesionless), &Family(SideFamily::cohesive),
        &Family(SideFamily::strong_rock),  &Family(SideFamily::gravelly_sand),
        &Family(BaseFamily::cohesionless), &Family(BaseFamily::cohesive)};
    for (const CoarseFamily* f : families) {
        EXPECT_EQ(f->x[0], 0.0);
        for (std::size_t j = 1; j < kCurvePoints; ++j)
            EXPECT_GT(f->x[j], f->x[j - 1]) << "abscissa " << j;
        for (const CurveArray& y : f->y) {
            EXPECT_EQ(y[0], 0.0);
            for (std::size_t j = 1; j < kCurvePoints; ++j)
                EXPECT_GT(y[j], 0.0);
        }
    }
}

TEST(CurveTest, ZeroMaximumGivesAFlatCurveOfTenPoints) {
    const CurvePoints c =
        BuildCurve(Family(SideFamily::cohesive), LoadTransferLine::upper_bound, 36.0, 0.0);
    for (std::size_t j = 0; j < kCurvePoints; ++j) {
        EXPECT_EQ(c.value[j], 0.0);
        EXPECT_DOUBLE_EQ(c.movement[j], Family(SideFamily::cohesive).x[j] * 36.0);
    }
    EXPECT_EQ(ReadCurve(c, 0.5), 0.0);
}

TEST(CurveTest, SandSideCurveReachesTenPercentOfTheDiameter) {
    // 36 in shaft, fmax 10 psi: the ninth point is 0.576 in (1.6 %) at 9.6 psi, the last 3.6 in
    // (10 %) at 9.5 psi.
    const CurvePoints c =
        BuildCurve(Family(SideFamily::cohesionless), LoadTransferLine::trend, 36.0, 10.0);
    EXPECT_DOUBLE_EQ(c.movement[8], 0.576);
    EXPECT_DOUBLE_EQ(c.movement[9], 3.6);
    EXPECT_DOUBLE_EQ(ReadCurve(c, (0.576 + 3.6) / 2.0), 9.55);
    EXPECT_DOUBLE_EQ(ReadCurve(c, 3.6), 9.5);
    EXPECT_DOUBLE_EQ(ReadCurve(c, 50.0), 9.5);
    EXPECT_DOUBLE_EQ(ReadCurve(c, 0.036), 3.35); // exactly at the first point
    EXPECT_DOUBLE_EQ(ReadCurve(c, 0.018), 1.675);
}

TEST(CurveTest, BaseLoadsAboveTheUltimateAreKept) {
    // Upper-bound sand base: 1.61 Qbmax at 10 % of Db, and no more beyond.
    const CurvePoints c =
        BuildCurve(Family(BaseFamily::cohesionless), LoadTransferLine::upper_bound, 72.0, 1000.0);
    EXPECT_DOUBLE_EQ(c.movement[9], 7.2);
    EXPECT_DOUBLE_EQ(c.value[9], 1610.0);
    EXPECT_DOUBLE_EQ(ReadCurve(c, 9.0), 1610.0);
    EXPECT_DOUBLE_EQ(ReadCurve(c, 6.12), (1280.0 + 1610.0) / 2.0);
}

TEST(FineTableTest, LookupInterpolatesAndHoldsTheLastValue) {
    struct Case {
        FineTable table;
        double s;
        double expected;
    };
    const Case cases[] = {
        {FineTable::sand_lower, 0.0, 0.0},      {FineTable::sand_lower, -0.004, 0.0},
        {FineTable::sand_lower, 0.0005, 0.11},  {FineTable::clay_upper, 0.0035, 0.985},
        {FineTable::clay_lower, 0.003, 0.7},    {FineTable::sand_upper, 0.0195, 1.0},
        {FineTable::clay_upper, 0.0195, 0.925}, {FineTable::sand_lower, 0.020, 0.9},
        {FineTable::clay_lower, 0.020, 0.75},   {FineTable::sand_upper, 0.020, 1.0},
        {FineTable::clay_upper, 0.020, 0.92},   {FineTable::clay_lower, 0.3, 0.75},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(FineSideRatio(c.table, c.s), c.expected, 1e-12)
            << "table " << static_cast<int>(c.table) << " at s = " << c.s;
}

TEST(TipDepthCheckTest, ATipBelowTheStrengthCurveWarnsInReportAndRunNotes) {
    std::ostringstream report, notes;
    EXPECT_EQ(CheckTipDepth(1200.0, 1200.0, report, notes), 0);
    EXPECT_EQ(report.str(), "");
    EXPECT_EQ(notes.str(), "");

    EXPECT_EQ(CheckTipDepth(1212.0, 1200.0, report, notes), 4);
    const std::string expected = "\n" + std::string(29, ' ') + "**** WARNING ****\n" +
                                 "     THE VALUE OF X = 0.12E+04 IS BEYOND THE EXTENT OF THE "
                                 "INPUT STRENGTH CURVE\n";
    EXPECT_EQ(report.str(), expected);
    EXPECT_EQ(notes.str(), expected);
}

TEST(LineTest, HeadingsNameTheLines) {
    EXPECT_EQ(LineHeading(LoadTransferLine::trend), "RESULT FROM TREND (AVERAGED) LINE");
    EXPECT_EQ(LineHeading(LoadTransferLine::upper_bound), "RESULT FROM UPPER-BOUND LINE");
    EXPECT_EQ(LineHeading(LoadTransferLine::lower_bound), "RESULT FROM LOWER-BOUND LINE");
}

} // namespace
} // namespace kolmar::engine::settlement
