// Input checks: when each one holds, and the exact text of the block it writes.
#include "checks.h"

#include <gtest/gtest.h>

#include <sstream>

namespace kolmar::engine {
namespace {

template <typename Write> std::string Text(Write write) {
    std::ostringstream os;
    write(os);
    return os.str();
}

Layer Gravel(double blows_top, double blows_bottom) {
    Layer layer;
    layer.code = kGravel;
    layer.BLOWS = {blows_top, blows_bottom};
    return layer;
}

TEST(ChecksTest, ConditionsAtTheirLimits) {
    EXPECT_TRUE(SandStrengthMissing(0.0009, 0.0));
    EXPECT_FALSE(SandStrengthMissing(0.001, 0.0));
    EXPECT_FALSE(SandStrengthMissing(0.0, 30.0));

    EXPECT_TRUE(UnitWeightMissing(kSand, 49.9));
    EXPECT_TRUE(UnitWeightMissing(kDecomposedRock, 0.0));
    EXPECT_FALSE(UnitWeightMissing(kSand, 50.0));
    EXPECT_FALSE(UnitWeightMissing(kGravel, 0.0));
    EXPECT_FALSE(UnitWeightMissing(kWeakRock, 0.0));

    Layer clay;
    clay.code = kClay;
    clay.CU = {1000.0, 2.5 * 2116.8};
    EXPECT_TRUE(ClayTooStrong(clay));
    clay.CU[kBottom] = 2.4 * 2116.8;
    EXPECT_FALSE(ClayTooStrong(clay));
    clay.code = kSand;
    clay.CU = {1.0e6, 1.0e6};
    EXPECT_FALSE(ClayTooStrong(clay));

    EXPECT_TRUE(GravelBlowsAbove50(Gravel(30, 51)));
    EXPECT_FALSE(GravelBlowsAbove50(Gravel(50, 50)));
    EXPECT_TRUE(GravelBlowsAtMost25(Gravel(25, 40)));
    EXPECT_FALSE(GravelBlowsAtMost25(Gravel(26, 40)));

    InputData input;
    input.METHOD = 2;
    input.DGH = 70.5;
    input.layers.resize(2);
    input.layers[1].zbot = 70.0;
    EXPECT_TRUE(ProposedDepthBelowProfile(input));
    input.DGH = 70.0;
    EXPECT_FALSE(ProposedDepthBelowProfile(input));
    input.METHOD = 1;
    input.DGH = 100.0;
    EXPECT_FALSE(ProposedDepthBelowProfile(input));
}

TEST(ChecksTest, MessageBlocks) {
    EXPECT_EQ(Text(WriteProposedDepthWarning),
              "\n\n"
              "     *********************WARNING**********************\n"
              "     PLEASE PROVIDE THE SOIL DEPTH THAT IS TWO-DIAMETER DEEPER\n"
              "     THAN THE TIP OF DRILLED SHAFTS\n"
              "\n\n");
    EXPECT_EQ(Text(WriteSandStrengthError),
              "\n"
              "     *********************ERROR**********************\n"
              "     PLEASE INPUT EITHER THE N-VALUE FROM STANDARD PENETRATION TESTS\n"
              "     OR THE INTERNAL FRICTION ANGLE FOR SAND LAYERS\n"
              "\n");
    EXPECT_EQ(Text(WriteUnitWeightError),
              "\n"
              "     *********************ERROR**********************\n"
              "     PLEASE INPUT THE TOTAL UNIT WEIGHT FOR THE SOIL.  THE PROGRAM\n"
              "     WILL CONSIDER THE SUBMERGED UNIT WEIGHT INTERNALLY IF THE SOIL\n"
              "     IS BELOW THE WATER TABLE WHICH SHOULD BE ENTERED BY THE USER\n"
              "\n");
    EXPECT_EQ(Text(WriteClayTooStrongWarning),
              "\n"
              "       ..........WARNING..........\n"
              "       THE SHEAR STRENGTH OF THIS MATERIAL MAY BE TOO HIGH\n"
              "       FOR USING CLAY CRITERIA. DESIGN AS INTERMEDIATE\n"
              "       GEOMATERIAL IS RECOMMENDED.\n"
              "\n");
    const Layer gravel = Gravel(45, 60);
    EXPECT_EQ(Text([&](std::ostream& os) { WriteGravelBlowsAbove50Warning(os, gravel); }),
              "                     WARNING MESSAGE                \n"
              "   ------------------------------------------------------------\n"
              "     SPT BLOW COUNT AT THE TOP OF LAYER    =     45.00\n"
              "     SPT BLOW COUNT AT THE BOTTOM OF LAYER =     60.00\n"
              "     UNIT TIP RESISTANCE IS LIMITED TO 30 TSF IF SPT-N IS OVER 50\n"
              "     LOADING TEST IS RECOMMENDED FOR USING HIGHER VALUE.\n"
              "\n\n");
    const Layer loose = Gravel(20, 30);
    EXPECT_EQ(Text([&](std::ostream& os) { WriteGravelBlowsAtMost25Warning(os, loose); }),
              "\n"
              "     *****************WARNING*********************\n"
              "     SPT BLOW COUNT AT THE TOP OF LAYER    =     20.00\n"
              "     SPT BLOW COUNT AT THE BOTTOM OF LAYER =     30.00\n"
              "     Blow counts should be greater than 25 for this criterion.\n"
              "     Select other soil criteria and do not use this output data.\n"
              "\n");
}

TEST(ChecksTest, ErrorBlocksNameWhereAndWhat) {
    const InputError error{5, "LOAD RECORD", 5,
                           "THE NUMBER OF SOIL LAYERS MUST BE BETWEEN 1 AND 40."};
    EXPECT_EQ(Text([&](std::ostream& os) { WriteInputError(os, error); }),
              "\n\n"
              "     *********************ERROR**********************\n"
              "     INPUT FILE ERROR IN RECORD 5 (LOAD RECORD), LINE 5:\n"
              "     THE NUMBER OF SOIL LAYERS MUST BE BETWEEN 1 AND 40.\n"
              "\n\n");
    EXPECT_EQ(Text([](std::ostream& os) { WriteFileError(os, FileRole::input, "/p/shaft.kx8d"); }),
              "\n\n"
              "     *********************ERROR**********************\n"
              "     THE PROJECT FILE COULD NOT BE OPENED OR READ:\n"
              "     /p/shaft.kx8d\n"
              "\n\n");
    // A word from the file is quoted in printable form.
    const ReadError read{ReadFault::not_a_number, 4, "SHAFT RECORD", 4, 2, "3\x01x"};
    EXPECT_EQ(ReadFaultText(read), "VALUE 2 OF THIS RECORD, \"3?x\", IS NOT A NUMBER.");
}

} // namespace
} // namespace kolmar::engine
