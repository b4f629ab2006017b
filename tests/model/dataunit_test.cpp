// Project data model: defaults, parameter-set kinds, table limits and the unit switch.
#include "gui/data/DataUnit.h"
#include "ui/model/units.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

// Compares two reals relatively, printing expected, actual and the difference.
::testing::AssertionResult Near(const char* what, double expected, double actual,
                                double rel = 1e-9) {
    const double diff = actual - expected;
    if (std::fabs(diff) <= rel * std::max(1.0, std::fabs(expected))) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << what << ": expected " << expected << ", actual " << actual << ", difference " << diff;
}

// A project with a layer of every kind and every value nonzero, so that a conversion that
// forgets or wrongly touches a value shows.
std::unique_ptr<TProgramData> FullProject() {
    auto p = TProgramData::Create();
    p->PINC = 0.5;
    p->RCYCL = 0.7;
    p->DSTART = 3;
    p->DIALIM = 6;
    p->RATIO = 2;
    p->BELANGL = 30;
    p->TOPLENG = 2;
    p->BS = 1.5;
    p->EPILE = 4e6;
    p->WTD = 8;
    p->PD = 60;
    p->PDMIN = 30;
    p->PDINCR = 5;
    p->DIAMINCR = 0.5;
    p->NPOINTPD = 3;
    p->FST = 2.2;
    p->FSB = 2.8;
    p->LPD = 150;
    p->ValElevation = 101.25;
    p->PrintTZCurves = 1;
    EXPECT_TRUE(p->D.SetRowCount(MaxSoilType));
    for (int i = 0; i < MaxSoilType; ++i) {
        TSoilLayer& L = p->D[i];
        EXPECT_TRUE(L.SetSoilType(i + 1));
        L.Depth = 5.0 * (i + 1);
        L.MaxSideFriction = 1000 + i;
        L.MaxEndBearing = 50000 + i;
        L.LrfdSide = 0.55;
        L.LrfdTip = 0.5;
        for (int r = 0; r < 2; ++r) {
            for (int c = 0; c < L.Params.ColumnCount(); ++c) {
                L.Params.SetValue(r, c, 10 * (c + 1) + r + 0.25 * (i + 1));
            }
        }
    }
    EXPECT_TRUE(p->TblTZDepth.SetRowCount(2));
    p->TblTZDepth[0] = 10;
    p->TblTZDepth[1] = 20.5;
    return p;
}

// Every number of the project, in a fixed order, for comparisons.
std::vector<std::pair<std::string, double>> AllValues(const TProgramData& p) {
    std::vector<std::pair<std::string, double>> v = {
        {"PINC", p.PINC},       {"RCYCL", p.RCYCL},
        {"DSTART", p.DSTART},   {"DIALIM", p.DIALIM},
        {"RATIO", p.RATIO},     {"BELANGL", p.BELANGL},
        {"TOPLENG", p.TOPLENG}, {"BS", p.BS},
        {"EPILE", p.EPILE},     {"WTD", p.WTD},
        {"PD", p.PD},           {"PDMIN", p.PDMIN},
        {"PDINCR", p.PDINCR},   {"DIAMINCR", p.DIAMINCR},
        {"FST", p.FST},         {"FSB", p.FSB},
        {"LPD", p.LPD},         {"ValElevation", p.ValElevation},
    };
    for (int i = 0; i < MaxPDSETT; ++i) {
        v.emplace_back("PDSETT " + std::to_string(i), p.PDSETT[static_cast<std::size_t>(i)]);
    }
    for (int i = 0; i < p.D.RowCount(); ++i) {
        const TSoilLayer& L = p.D[i];
        const std::string layer = "layer " + std::to_string(i + 1) + " ";
        for (int col : {lcDepth, lcMaxSideFriction, lcMaxEndBearing, lcLrfdSide, lcLrfdTip}) {
            v.emplace_back(layer + "column " + std::to_string(col), L.Real(col));
        }
        for (int r = 0; r < 2; ++r) {
            for (int c = 0; c < L.Params.ColumnCount(); ++c) {
                v.emplace_back(layer + L.Params.Kind().Columns[static_cast<std::size_t>(c)].Name +
                                   " row " + std::to_string(r),
                               L.Params.Value(r, c));
            }
        }
    }
    for (int i = 0; i < p.TblTZDepth.RowCount(); ++i) {
        v.emplace_back("t-z depth " + std::to_string(i), p.TblTZDepth[i]);
    }
    return v;
}

TEST(NewProject, HasTheDefaults) {
    const auto p = TProgramData::Create();
    EXPECT_EQ(p->fUnits, 1);
    EXPECT_EQ(p->FileName, "NewShaft.kx8d");
    EXPECT_EQ(p->Title, "New Pile");
    EXPECT_EQ(p->PINC, 1.0);
    EXPECT_EQ(p->METHOD, 2);
    EXPECT_EQ(p->KCYCL, 1);
    EXPECT_EQ(p->RCYCL, 1.0);
    EXPECT_EQ(p->NPOINTPD, 5);
    EXPECT_EQ(p->FST, 2.5);
    EXPECT_EQ(p->FSB, 3.0);
    EXPECT_EQ(p->ID2, 1);
    EXPECT_EQ(p->IMOD, 1);
    EXPECT_EQ(p->Yesnewversion, 1);
    EXPECT_EQ(p->NLRFD, 2);
    for (double zero : {p->DSTART, p->DIALIM, p->RATIO, p->BELANGL, p->TOPLENG, p->BS, p->EPILE,
                        p->WTD, p->PD, p->PDMIN, p->PDINCR, p->DIAMINCR, p->LPD, p->ValElevation}) {
        EXPECT_EQ(zero, 0.0);
    }
    for (int zero : {p->PrintTZCurves, p->UseElevation, p->IPENT, p->IChart}) {
        EXPECT_EQ(zero, 0);
    }
    const std::array<double, 10> pdsett = {0.1, 0.25, 0.5, 0.75, 1, 1, 1, 1, 1, 1};
    EXPECT_EQ(p->PDSETT, pdsett);
    EXPECT_FALSE(p->DataChanged);

    ASSERT_EQ(p->D.RowCount(), 1);
    const TSoilLayer& L = p->D[0];
    EXPECT_EQ(L.SoilType(), kolmar::kSand);
    EXPECT_EQ(L.Depth, 0.0);
    EXPECT_EQ(L.MaxSideFriction, 0.0);
    EXPECT_EQ(L.MaxEndBearing, 0.0);
    EXPECT_EQ(L.LrfdSide, 1.0);
    EXPECT_EQ(L.LrfdTip, 1.0);
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < L.Params.ColumnCount(); ++c) {
            EXPECT_EQ(L.Params.Value(r, c), c == SandCol::Method ? 1.0 : 0.0) << r << "," << c;
        }
    }
    ASSERT_EQ(p->TblTZDepth.RowCount(), 1);
    EXPECT_EQ(p->TblTZDepth[0], 0.0);
}

TEST(ParameterSets, EachKindHasItsColumnsAndDefaults) {
    const struct {
        int Code;
        int Columns;
        std::vector<int> IntegerColumns;
        std::vector<std::pair<int, const char*>> Units; // dimensional columns
    } kinds[] = {
        {kolmar::kSand, 8, {2, 5}, {{0, "F/L2^3"}}},
        {kolmar::kClay, 5, {2}, {{0, "F/L2^3"}, {1, "F/L2^2"}}},
        {kolmar::kClayShale, 5, {2}, {{0, "F/L2^3"}, {1, "F/L2^2"}}},
        {kolmar::kStrongRockSideOrBase,
         7,
         {},
         {{0, "F/L2^2"}, {1, "F/L2^2"}, {2, "L2"}, {3, "L2"}, {4, "L2"}, {5, "F/L^2"}}},
        {kolmar::kDecomposedRock, 5, {1}, {{0, "F/L2^3"}, {3, "F/L^2"}, {4, "L2"}}},
        {kolmar::kWeakRock, 7, {1}, {{0, "F/L2^2"}, {2, "L"}, {4, "L2"}, {5, "F/L^2"}}},
        {kolmar::kStrongRockSideAndBase,
         7,
         {},
         {{0, "F/L2^2"}, {1, "F/L2^2"}, {2, "L2"}, {3, "L2"}, {4, "L2"}, {5, "F/L^2"}}},
        {kolmar::kGravellySand, 3, {1}, {{0, "F/L2^3"}}},
        {kolmar::kGravel, 3, {1}, {{0, "F/L2^3"}}},
    };
    for (const auto& k : kinds) {
        SCOPED_TRACE("soil type " + std::to_string(k.Code));
        const TParameterSet set(k.Code);
        ASSERT_EQ(set.ColumnCount(), k.Columns);
        for (int c = 0; c < k.Columns; ++c) {
            const TParamColumn& col = set.Kind().Columns[static_cast<std::size_t>(c)];
            const bool isInt = std::find(k.IntegerColumns.begin(), k.IntegerColumns.end(), c) !=
                               k.IntegerColumns.end();
            EXPECT_EQ(col.IsInteger, isInt) << "column " << c;
            std::string units;
            for (const auto& [uc, us] : k.Units) {
                if (uc == c) {
                    units = us;
                }
            }
            EXPECT_EQ(IsDimensionless(col.UnitsString) ? std::string()
                                                       : std::string(col.UnitsString),
                      units)
                << "column " << c;
            const bool defaultOne = (k.Code == kolmar::kSand && c == SandCol::Method) ||
                                    (k.Code == kolmar::kWeakRock && c == WeakRockCol::Condition);
            EXPECT_EQ(set.Value(0, c), defaultOne ? 1.0 : 0.0) << "column " << c;
            EXPECT_EQ(set.Value(1, c), set.Value(0, c)) << "column " << c;
        }
    }
    EXPECT_STREQ(SoilTypeLabel(kolmar::kClayShale), "shale (Reese &Aurora)");
    EXPECT_EQ(ParamKindForSoil(kolmar::kGravellySand).Identifier, 31);
    EXPECT_THROW(TParameterSet(0), std::out_of_range);
    EXPECT_THROW(TParameterSet(kolmar::kSand).Value(2, 0), std::out_of_range);
    EXPECT_THROW(TParameterSet(kolmar::kGravel).Value(0, 3), std::out_of_range);
}

TEST(ParameterSets, IntegerColumnsHoldWholeNumbers) {
    TParameterSet set(kolmar::kDecomposedRock);
    set.SetValue(0, DecomposedCol::BlowCounts, 12.6);
    set.SetValue(1, DecomposedCol::BlowCounts, std::nan(""));
    set.SetValue(0, DecomposedCol::Poisson, 0.35);
    EXPECT_EQ(set.IntValue(0, DecomposedCol::BlowCounts), 13);
    EXPECT_EQ(set.Value(1, DecomposedCol::BlowCounts), 0.0);
    EXPECT_EQ(set.Value(0, DecomposedCol::Poisson), 0.35);
}

TEST(SoilLayer, ChangingTheKindGivesAFreshSet) {
    TSoilLayer L;
    L.Params.SetValue(0, SandCol::UnitWeight, 120);
    L.Depth = 12;
    ASSERT_TRUE(L.SetSoilType(kolmar::kWeakRock));
    EXPECT_EQ(L.SoilType(), kolmar::kWeakRock);
    EXPECT_EQ(L.Params.ColumnCount(), 7);
    EXPECT_EQ(L.Params.Value(0, WeakRockCol::Qu), 0.0);
    EXPECT_EQ(L.Params.Value(1, WeakRockCol::Condition), 1.0);
    EXPECT_EQ(L.Depth, 12.0); // the layer's own columns stay
    EXPECT_FALSE(L.SetSoilType(10));
    EXPECT_FALSE(L.SetSoilType(0));
    EXPECT_EQ(L.SoilType(), kolmar::kWeakRock);
    EXPECT_THROW(L.Real(lcParams), std::out_of_range);
}

TEST(BoundedRows, RefuseToLeaveTheirLimits) {
    auto p = TProgramData::Create();
    auto& D = p->D;
    EXPECT_FALSE(D.Delete(0)); // the last layer stays
    EXPECT_FALSE(D.SetRowCount(0));
    EXPECT_FALSE(D.SetRowCount(41));
    EXPECT_TRUE(D.SetRowCount(40));
    EXPECT_FALSE(D.Add());
    EXPECT_FALSE(D.Insert(0));
    EXPECT_EQ(D.RowCount(), 40);
    EXPECT_TRUE(D.SetRowCount(2));
    D[0].Depth = 1;
    D[1].Depth = 2;
    TSoilLayer clay;
    clay.SetSoilType(kolmar::kClay);
    EXPECT_TRUE(D.Insert(1, clay));
    EXPECT_EQ(D[1].SoilType(), kolmar::kClay);
    EXPECT_EQ(D[2].Depth, 2.0);
    EXPECT_FALSE(D.Insert(5));
    EXPECT_FALSE(D.Delete(3));
    EXPECT_FALSE(D.Delete(-1));
    EXPECT_TRUE(D.Delete(0));
    EXPECT_EQ(D[0].SoilType(), kolmar::kClay);
    EXPECT_THROW(D[2], std::out_of_range);
    EXPECT_THROW(D[-1], std::out_of_range);

    auto& tz = p->TblTZDepth;
    EXPECT_TRUE(tz.SetRowCount(50));
    EXPECT_FALSE(tz.Add(1.0));
    EXPECT_FALSE(tz.SetRowCount(51));
    EXPECT_FALSE(tz.SetRowCount(0));
    EXPECT_EQ(tz.RowCount(), 50);
}

TEST(SetUnits, EnglishToSIConvertsEachValueByItsUnits) {
    auto p = FullProject();
    p->SetUnits(UnitsSI);
    EXPECT_EQ(p->fUnits, UnitsSI);
    EXPECT_TRUE(Near("DSTART ft->m", 3 * 0.3048, p->DSTART));
    EXPECT_TRUE(Near("EPILE psi->kPa", 4e6 * 6.894757, p->EPILE, 1e-6));
    EXPECT_TRUE(Near("LPD tons->kN", 150 * 8.896443, p->LPD, 1e-6));
    EXPECT_TRUE(Near("PDSETT in use, in->m", 0.1 * 0.0254, p->PDSETT[0]));
    EXPECT_TRUE(Near("PDSETT in use, in->m", 0.5 * 0.0254, p->PDSETT[2]));
    EXPECT_EQ(p->PDSETT[3], 0.75) << "settlements beyond NPOINTPD are not converted";

    const TSoilLayer& sand = p->D[0];
    EXPECT_TRUE(
        Near("sand unit weight pcf->kN/m3", 10.25 / 6.3658798, sand.Params.Value(0, 0), 1e-7));
    EXPECT_EQ(sand.Params.Value(0, SandCol::FrictionAngle), 20.25);
    EXPECT_EQ(sand.Params.Value(0, SandCol::Method), 60.0);
    EXPECT_TRUE(Near("layer depth", 5 * 0.3048, sand.Depth));
    EXPECT_TRUE(Near("fmax psf->kPa", 1000 / 20.885432, sand.MaxSideFriction, 1e-7));
    EXPECT_EQ(sand.LrfdSide, 0.55);
    const TSoilLayer& weak = p->D[kolmar::kWeakRock - 1];
    EXPECT_TRUE(Near("slump in->m", 31.5 * 0.0254, weak.Params.Value(0, WeakRockCol::Slump)));
    EXPECT_EQ(weak.Params.Value(1, WeakRockCol::Condition), 23.0);
    EXPECT_EQ(weak.Params.Value(1, WeakRockCol::RQD), 72.5);
    EXPECT_TRUE(Near("t-z depth", 20.5 * 0.3048, p->TblTZDepth[1]));

    // Never converted:
    EXPECT_EQ(p->RCYCL, 0.7);
    EXPECT_EQ(p->RATIO, 2.0);
    EXPECT_EQ(p->BELANGL, 30.0);
    EXPECT_EQ(p->FST, 2.2);
    EXPECT_EQ(p->FSB, 2.8);
    EXPECT_EQ(p->ValElevation, 101.25);
}

TEST(SetUnits, RoundTripReturnsEveryValueAndSameSystemChangesNothing) {
    auto p = FullProject();
    const auto before = AllValues(*p);
    int notified = 0;
    p->OnUnitsChanged = [&] { ++notified; };

    p->SetUnits(UnitsEnglish); // already English
    EXPECT_EQ(AllValues(*p), before);

    p->SetUnits(7); // clamped to SI
    EXPECT_EQ(p->fUnits, UnitsSI);
    EXPECT_NE(AllValues(*p), before);
    p->SetUnits(-3); // clamped to English
    EXPECT_EQ(p->fUnits, UnitsEnglish);
    EXPECT_EQ(notified, 3);

    const auto after = AllValues(*p);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_TRUE(Near(before[i].first.c_str(), before[i].second, after[i].second, 1e-11));
    }
}

TEST(InitPDSET, GivesTheDefaultSettlementsInTheProjectUnits) {
    auto p = TProgramData::Create();
    p->SetUnits(UnitsSI);
    p->PDSETT.fill(9.0);
    p->NPOINTPD = 7;
    p->InitPDSET();
    const double expected[] = {0.00254, 0.00635, 0.0127, 0.01905, 0.0254,
                               0.0254,  0.0254,  0.0254, 0.0254,  0.0254};
    for (int i = 0; i < MaxPDSETT; ++i) {
        EXPECT_TRUE(Near(("PDSETT " + std::to_string(i)).c_str(), expected[i],
                         p->PDSETT[static_cast<std::size_t>(i)], 1e-12));
    }
    EXPECT_EQ(p->NPOINTPD, 7);
}

TEST(FilterForFileName, ChoosesTheReaderByExtension) {
    EXPECT_EQ(FilterForFileName("/a/b/shaft.kx8d"), 1);
    EXPECT_EQ(FilterForFileName("C:\\Jobs\\SHAFT.KX8D"), 1);
    EXPECT_EQ(FilterForFileName("old.kxd"), 2);
    EXPECT_EQ(FilterForFileName("report.kx8o"), 0);
    EXPECT_EQ(FilterForFileName("dir.kxd/noext"), 0);
    EXPECT_EQ(FilterForFileName("noext"), 0);
}

} // namespace
