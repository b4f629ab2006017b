// Units of the rock procedures: the same project given in English units and in SI units (as the
// reader converts it) gives the same results, in tons and inches or in kN and metres; and the
// three rock examples read by the engine give finite, plausible curves.
#include "settlement/rock/decomposed_rock.h"
#include "settlement/rock/strong_rock.h"
#include "settlement/rock/weak_rock.h"

#include "input.h"
#include "kolmar/ikolmar.h"
#include "profile.h"
#include "rock_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace kolmar::engine::rock {
namespace {

using test::Both;

constexpr double kPi = 3.14159265358979;

// A project of two layers over the tip layer of the given code, in English units.
InputData EnglishProject(int tip_code) {
    InputData in;
    in.DSTART = 3.0;
    in.DIALIM = 3.0;
    in.DGH = 36.0;
    in.WTD = 12.0;
    in.Ec = 3.6e6;
    Layer clay;
    clay.code = kClay;
    clay.ztop = 0.0;
    clay.zbot = 12.0;
    clay.GAMMA = {118.0, 120.0};
    Layer tip;
    tip.code = tip_code;
    tip.ztop = 12.0;
    tip.zbot = 70.0;
    tip.GAMMA = {125.0, 130.0};
    tip.BLOWS = {40.0, 60.0};
    tip.EGM = {15000.0, 30000.0};
    tip.BDS = Both(2.5);
    tip.QUR = {50000.0, 60000.0};
    tip.EL = {300000.0, 350000.0};
    tip.RQD = {60.0, 80.0};
    tip.SLUMP = Both(7.0);
    tip.DELTA = Both(30.0);
    tip.ICOND = {2, 2};
    in.layers = {clay, tip};
    return in;
}

// The same project as an SI project holds it before the reader converts it.
InputData InSi(InputData in) {
    constexpr double kPsiToKpa = kKpaPerPsi;
    in.unit_system = 2;
    in.units = "SI";
    for (double* length : {&in.DSTART, &in.DIALIM, &in.DGH, &in.WTD})
        *length /= kMToFt;
    in.Ec *= kPsiToKpa;
    for (Layer& layer : in.layers) {
        layer.ztop /= kMToFt;
        layer.zbot /= kMToFt;
        for (const End end : {kTop, kBottom}) {
            layer.GAMMA[end] /= kKnPerM3ToPcf;
            layer.QUR[end] /= kKpaToPsf;
            layer.BDS[end] /= kMToFt;
            layer.SLUMP[end] /= kMToIn;
            layer.EL[end] *= kPsiToKpa;
            layer.EGM[end] *= kPsiToKpa;
        }
    }
    ConvertToEnglish(in);
    return in;
}

// Compares an SI block (kN, m) with an English one (tons, in) column by column.
void ExpectSameCurve(const std::array<double, kCurveRows>& en_load,
                     const std::array<double, kCurveRows>& en_movement,
                     const std::array<double, kCurveRows>& si_load,
                     const std::array<double, kCurveRows>& si_movement, const char* what) {
    for (int k = 0; k < kCurveRows; ++k) {
        const auto i = static_cast<std::size_t>(k);
        EXPECT_NEAR(si_load[i] / kKnPerTon, en_load[i], 1e-4 * std::fabs(en_load[i]) + 1e-9)
            << what << ", row " << k + 1;
        EXPECT_NEAR(si_movement[i] * kMToIn, en_movement[i], 1e-4 * std::fabs(en_movement[i]))
            << what << ", row " << k + 1;
    }
}

// A capacity table for the profile: 2 tons per foot in the clay, 15 below.
CapacityProfile Capacity(const std::vector<GeoLayer>& layers) {
    return test::LinearCapacity(layers, {2.0, 15.0}, 70.0);
}

TEST(RockUnits, EnglishAndSiProjectsAgree) {
    for (const int code : {kStrongRockSideAndBase, kDecomposedRock, kWeakRock}) {
        CurveBlock en_block, si_block;
        double value_en = 0.0, value_si = 0.0;
        for (const bool si : {false, true}) {
            const InputData in = si ? InSi(EnglishProject(code)) : EnglishProject(code);
            const std::vector<GeoLayer> layers = GeoLayersOf(in);
            const int tip = TipLayerIndex(layers, in.DGH);
            ASSERT_EQ(tip, 1);
            CurveBlock& block = si ? si_block : en_block;
            double& value = si ? value_si : value_en;
            std::ostringstream report, notes, msg;
            if (code == kStrongRockSideAndBase) {
                StrongRockInput s{layers,           tip,   in.DGH, in.DSTART, 1.0, in.Ec,
                                  Capacity(layers), 400.0, si};
                const StrongRockResult r = StrongRockSettlement(s, report, notes);
                ASSERT_EQ(r.status, 0);
                block = r.block;
                value = r.Em;
            } else if (code == kDecomposedRock) {
                const DecomposedRockSite site{layers, in.WTD, in.DSTART, 1.0, in.DGH, in.Ec, si};
                const double sigma = SigmaV(in, in.DGH);
                value = DecomposedRockCapacityAt(site, tip, 30.5, SigmaV(in, 30.5), notes).fs;
                ASSERT_EQ(
                    DecomposedRockLoadSettlement(site, tip, sigma, 420.0, block, report, notes)
                        .status,
                    0);
            } else {
                const WeakRockShaft shaft{layers, in.DGH, in.DSTART, 1.0, in.Ec, si};
                WeakRockState state;
                value = WeakRockCapacityAt(shaft, tip, 30.5, 30, state, notes, msg).fs;
                ASSERT_EQ(WeakRockLoadSettlement(shaft, tip, Capacity(layers), block, report, notes)
                              .status,
                          0);
            }
        }
        const std::string what = "code " + std::to_string(code);
        EXPECT_NEAR(value_si, value_en, 1e-9 * value_en) << what;
        ExpectSameCurve(en_block.top_load, en_block.top_movement, si_block.top_load,
                        si_block.top_movement, what.c_str());
        if (code == kStrongRockSideAndBase)
            ExpectSameCurve(en_block.tip_load, en_block.tip_movement, si_block.tip_load,
                            si_block.tip_movement, what.c_str());
    }
}

// ---------------------------------------------------------------------------------------------
// The examples: read by the engine's input reader, then the rock procedure of the tip layer with
// a capacity table computed foot by foot (the rock layers by their own capacity use, the rest by
// simple stand-ins: alpha = 0.55 in clay, beta = 0.5 in sand, 2.5 sqrt(qu) in strong rock).
// ---------------------------------------------------------------------------------------------

InputData ReadExample(const std::string& name) {
    std::ifstream file(std::filesystem::path(KOLMAR_SOURCE_DIR) / "examples" / name,
                       std::ios::binary);
    RunContext ctx;
    std::ostringstream console;
    ctx.console = &console;
    ctx.input_text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    ReadInput(ctx);
    EXPECT_EQ(ctx.status, 0) << name;
    return ctx.input;
}

void ExpectPlausible(const CurveBlock& block, const std::string& name) {
    for (int k = 0; k < kCurveRows; ++k) {
        const auto i = static_cast<std::size_t>(k);
        EXPECT_TRUE(std::isfinite(block.top_load[i]) && std::isfinite(block.top_movement[i]));
        EXPECT_GT(block.top_load[i], 0.0) << name << ", row " << k + 1;
        EXPECT_LT(block.top_load[i], 5000.0) << name << ", row " << k + 1;
        EXPECT_GT(block.top_movement[i], 0.0) << name << ", row " << k + 1;
        EXPECT_LT(block.top_movement[i], 12.0) << name << ", row " << k + 1;
        if (k > 0) {
            EXPECT_GE(block.top_load[i], block.top_load[i - 1]) << name << ", row " << k + 1;
        }
    }
}

TEST(RockUnits, ExamplesGiveFiniteRisingCurves) {
    for (const std::string name :
         {"strong-rock-socket.kx8d", "decomposed-rock.kx8d", "weak-rock-socket.kx8d"}) {
        const InputData in = ReadExample(name);
        const std::vector<GeoLayer> layers = GeoLayersOf(in);
        const double L = in.DGH;
        const double D = in.DSTART;
        const int tip = TipLayerIndex(layers, L);
        ASSERT_GE(tip, 0) << name;
        const DecomposedRockSite site{layers, in.WTD, D, 1.0, L, in.Ec, false};
        const WeakRockShaft shaft{layers, L, D, 1.0, in.Ec, false};
        WeakRockState state;
        std::ostringstream report, notes, msg;

        CapacityProfile capacity;
        double qs = 0.0;
        double QB = 0.0;
        for (double z = 1.0; z <= layers.back().zbot; z += 1.0) {
            const double mid = z - 0.5;
            const int m = TipLayerIndex(layers, mid);
            const GeoLayer& layer = layers[static_cast<std::size_t>(m)];
            const Layer& given = in.layers[static_cast<std::size_t>(m)];
            const double sigma = SigmaV(in, mid);
            double fs = 0.0; // psf
            double perimeter_d = D;
            switch (layer.code) {
            case kDecomposedRock:
                fs = DecomposedRockCapacityAt(site, m, mid, sigma, notes).fs;
                break;
            case kWeakRock:
                fs = WeakRockCapacityAt(shaft, m, mid, static_cast<int>(mid), state, notes, msg).fs;
                perimeter_d = layer.BDS[kTop];
                break;
            case kStrongRockSideAndBase: {
                const double qu = std::min(given.QUR[kTop], given.QUCON[kTop]);
                fs = 2.5 * std::sqrt(qu / 144.0) * 144.0;
                perimeter_d = layer.BDS[kTop];
                break;
            }
            case kClay:
                fs = 0.55 * given.CU[kTop];
                break;
            default:
                fs = 0.5 * sigma;
                break;
            }
            qs += fs * kPi * perimeter_d / 2000.0;
            capacity.length_ft.push_back(z);
            capacity.side_tons.push_back(qs);
            if (z == L && layer.code == kStrongRockSideAndBase) {
                const Layer& rock = given;
                const double Bs = rock.BDS[kTop];
                const double qu = std::min(rock.QUR[kTop], rock.QUCON[kTop]);
                const double Ksp =
                    (3.0 + rock.CS[kTop] / Bs) /
                    (10.0 * std::sqrt(1.0 + 300.0 * rock.DISCT[kTop] / rock.CS[kTop]));
                QB = 0.75 * kPi * Bs * Bs * qu / 2000.0 * Ksp;
            }
        }
        EXPECT_EQ(notes.str(), "") << name; // no range warning, no error

        CurveBlock block;
        switch (layers[static_cast<std::size_t>(tip)].code) {
        case kStrongRockSideAndBase: {
            StrongRockInput s{layers, tip, L, D, 1.0, in.Ec, capacity, QB, false};
            const StrongRockResult r = StrongRockSettlement(s, report, notes);
            ASSERT_EQ(r.status, 0) << name;
            block = r.block;
            break;
        }
        case kDecomposedRock:
            ASSERT_EQ(DecomposedRockLoadSettlement(site, tip, SigmaV(in, L), capacity.SideAt(L),
                                                   block, report, notes)
                          .status,
                      0)
                << name;
            break;
        case kWeakRock:
            ASSERT_EQ(WeakRockLoadSettlement(shaft, tip, capacity, block, report, notes).status, 0)
                << name;
            break;
        default:
            FAIL() << name << ": the tip is not in rock";
        }
        ExpectPlausible(block, name);
    }
}

} // namespace
} // namespace kolmar::engine::rock
