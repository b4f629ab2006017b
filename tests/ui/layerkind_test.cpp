// Change of a soil layer's kind: which values a layer keeps, top and bottom apart.
#include "gui/data/LayerKind.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

// A layer of the given kind whose every cell is distinct: top row 10 + column, bottom row
// 20 + column; integer columns get 2 (top) and 3 (bottom), valid as method and condition.
TSoilLayer DistinctLayer(int SoilType) {
    TSoilLayer layer;
    layer.SetSoilType(SoilType);
    layer.Depth = 12.5;
    for (int col = 0; col < layer.Params.ColumnCount(); ++col) {
        const bool isInteger = layer.Params.Kind().Columns[static_cast<std::size_t>(col)].IsInteger;
        layer.Params.SetValue(0, col, isInteger ? 2 : 10 + col);
        layer.Params.SetValue(1, col, isInteger ? 3 : 20 + col);
    }
    return layer;
}

} // namespace

TEST(ChangeLayerKind, CarriesSharedQuantitiesTopAndBottomApart) {
    using Carry = std::vector<std::pair<int, int>>; // (old column, new column); others are 0
    const struct {
        int From, To;
        Carry Carried;
        std::vector<int> DefaultOne; // new columns that keep the fresh default of 1
    } cases[] = {
        // clay to shale: unit weight, cohesion, blow counts, alpha and Nc
        {kolmar::kClay, kolmar::kClayShale, {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}}, {}},
        // strong rock, one to the other: every column
        {kolmar::kStrongRockSideOrBase,
         kolmar::kStrongRockSideAndBase,
         {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}},
         {}},
        // decomposed rock to weak rock: socket diameter, Young's modulus into the core modulus
        {kolmar::kDecomposedRock, kolmar::kWeakRock, {{4, 4}, {3, 5}}, {WeakRockCol::Condition}},
        // weak rock to decomposed rock: the reverse
        {kolmar::kWeakRock, kolmar::kDecomposedRock, {{4, 4}, {5, 3}}, {}},
        // sand to gravel: unit weight, blow counts, Beta
        {kolmar::kSand, kolmar::kGravel, {{0, 0}, {2, 1}, {4, 2}}, {}},
        // sand to weak rock: method becomes condition, interface angle carried
        {kolmar::kSand, kolmar::kWeakRock, {{5, 1}, {6, 3}}, {}},
        // gravelly sand to sand: m is sand's own, the method starts at 1
        {kolmar::kGravellySand, kolmar::kSand, {{0, 0}, {1, 2}, {2, 4}}, {SandCol::Method}},
        // strong rock to weak rock: strength, socket, modulus, RQD
        {kolmar::kStrongRockSideOrBase,
         kolmar::kWeakRock,
         {{0, 0}, {4, 4}, {5, 5}, {6, 6}},
         {WeakRockCol::Condition}},
        // clay to sand: unit weight and blow counts only
        {kolmar::kClay, kolmar::kSand, {{0, 0}, {2, 2}}, {SandCol::Method}},
    };
    for (const auto& c : cases) {
        const TSoilLayer before = DistinctLayer(c.From);
        TSoilLayer layer = before;
        ASSERT_TRUE(ChangeLayerKind(layer, c.To));
        EXPECT_EQ(layer.SoilType(), c.To);
        EXPECT_EQ(layer.Depth, 12.5);
        for (int col = 0; col < layer.Params.ColumnCount(); ++col) {
            for (int row = 0; row < 2; ++row) {
                double expected = 0.0;
                for (const auto& [from, to] : c.Carried) {
                    if (to == col) {
                        expected = before.Params.Value(row, from);
                    }
                }
                for (int one : c.DefaultOne) {
                    if (one == col) {
                        expected = 1.0;
                    }
                }
                EXPECT_EQ(layer.Params.Value(row, col), expected)
                    << "code " << c.From << " to " << c.To << ", column " << col << ", row " << row;
            }
        }
    }
}

TEST(ChangeLayerKind, MethodOrConditionOutsideTheNewRangeIsNotCarried) {
    TSoilLayer layer;
    layer.SetSoilType(kolmar::kWeakRock);
    layer.Params.SetValue(0, WeakRockCol::Condition, 4); // no sand method 4
    layer.Params.SetValue(1, WeakRockCol::Condition, 3);
    ASSERT_TRUE(ChangeLayerKind(layer, kolmar::kSand));
    EXPECT_EQ(layer.Params.Value(0, SandCol::Method), 1.0);
    EXPECT_EQ(layer.Params.Value(1, SandCol::Method), 3.0);
}

TEST(ChangeLayerKind, SameCodeOrBadCodeChangesNothing) {
    const TSoilLayer before = DistinctLayer(kolmar::kSand);
    TSoilLayer layer = before;
    EXPECT_TRUE(ChangeLayerKind(layer, kolmar::kSand));
    EXPECT_EQ(layer.Params.Value(1, SandCol::M), before.Params.Value(1, SandCol::M));
    for (int bad : {0, 10, -1}) {
        EXPECT_FALSE(ChangeLayerKind(layer, bad)) << bad;
        EXPECT_EQ(layer.SoilType(), kolmar::kSand);
    }
    EXPECT_THROW(QuantityColumn(10, TLayerQuantity::UnitWeight), std::out_of_range);
}
