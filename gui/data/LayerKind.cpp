// Change of a soil layer's material kind, carrying the quantities both kinds share.
#include "gui/data/LayerKind.h"

#include <array>
#include <optional>

namespace {

using Q = TLayerQuantity;

// Column of each quantity per parameter-set family; -1 = not held.
struct TQuantityColumns {
    Q Quantity;
    int Sand;       // code 1
    int Clay;       // codes 2, 3
    int StrongRock; // codes 4, 7
    int Decomposed; // code 5
    int WeakRock;   // code 6
    int Gravel;     // codes 8, 9
};

constexpr std::array<TQuantityColumns, LayerQuantityCount> kColumns{{
    {Q::UnitWeight, SandCol::UnitWeight, ClayCol::UnitWeight, -1, DecomposedCol::UnitWeight, -1,
     GravelCol::UnitWeight},
    {Q::BlowCounts, SandCol::BlowCounts, ClayCol::BlowCounts, -1, DecomposedCol::BlowCounts, -1,
     GravelCol::BlowCounts},
    {Q::FrictionAngle, SandCol::FrictionAngle, -1, -1, -1, -1, -1},
    {Q::Ko, SandCol::Ko, -1, -1, -1, -1, -1},
    {Q::Beta, SandCol::Beta, -1, -1, -1, -1, GravelCol::Beta},
    {Q::MethodOrCondition, SandCol::Method, -1, -1, -1, WeakRockCol::Condition, -1},
    {Q::InterfaceAngle, SandCol::InterfaceAngle, -1, -1, -1, WeakRockCol::InterfaceAngle, -1},
    {Q::Cohesion, -1, ClayCol::Cohesion, -1, -1, -1, -1},
    {Q::Alpha, -1, ClayCol::Alpha, -1, -1, -1, -1},
    {Q::Nc, -1, ClayCol::Nc, -1, -1, -1, -1},
    {Q::RockStrength, -1, -1, StrongRockCol::Qu, -1, WeakRockCol::Qu, -1},
    {Q::ConcreteStrength, -1, -1, StrongRockCol::ConcreteFc, -1, -1, -1},
    {Q::Spacing, -1, -1, StrongRockCol::Spacing, -1, -1, -1},
    {Q::Thickness, -1, -1, StrongRockCol::Thickness, -1, -1, -1},
    {Q::SocketDiameter, -1, -1, StrongRockCol::SocketDiameter, DecomposedCol::SocketDiameter,
     WeakRockCol::SocketDiameter, -1},
    {Q::Modulus, -1, -1, StrongRockCol::Modulus, DecomposedCol::Modulus, WeakRockCol::Modulus, -1},
    {Q::RQD, -1, -1, StrongRockCol::RQD, -1, WeakRockCol::RQD, -1},
    {Q::Poisson, -1, -1, -1, DecomposedCol::Poisson, -1, -1},
    {Q::Slump, -1, -1, -1, -1, WeakRockCol::Slump, -1},
}};

// Valid range of the shared integer in a kind that holds it.
bool MethodOrConditionValid(int SoilType, double V) {
    const double high = SoilType == kolmar::kSand ? 3.0 : 4.0;
    return V >= 1.0 && V <= high;
}

} // namespace

int QuantityColumn(int SoilType, TLayerQuantity Quantity) {
    ParamKindForSoil(SoilType); // refuses a code outside 1..9
    const TQuantityColumns& c = kColumns[static_cast<std::size_t>(Quantity)];
    switch (SoilType) {
    case kolmar::kSand:
        return c.Sand;
    case kolmar::kClay:
    case kolmar::kClayShale:
        return c.Clay;
    case kolmar::kStrongRockSideOrBase:
    case kolmar::kStrongRockSideAndBase:
        return c.StrongRock;
    case kolmar::kDecomposedRock:
        return c.Decomposed;
    case kolmar::kWeakRock:
        return c.WeakRock;
    default:
        return c.Gravel;
    }
}

bool ChangeLayerKind(TSoilLayer& Layer, int NewSoilType) {
    if (NewSoilType < MinSoilType || NewSoilType > MaxSoilType) {
        return false;
    }
    const int oldType = Layer.SoilType();
    if (NewSoilType == oldType) {
        return true;
    }
    const TParameterSet old = Layer.Params;
    Layer.SetSoilType(NewSoilType);
    for (int q = 0; q < LayerQuantityCount; ++q) {
        const auto quantity = static_cast<TLayerQuantity>(q);
        const int to = QuantityColumn(NewSoilType, quantity);
        if (to < 0) {
            continue;
        }
        const int from = QuantityColumn(oldType, quantity);
        for (int row = 0; row < TParameterSet::RowCount; ++row) {
            const std::optional<double> carried =
                from < 0 ? std::nullopt : std::optional<double>(old.Value(row, from));
            if (quantity == Q::MethodOrCondition) {
                if (carried && MethodOrConditionValid(NewSoilType, *carried)) {
                    Layer.Params.SetValue(row, to, *carried);
                }
                continue; // otherwise the fresh set's default of 1 stays
            }
            Layer.Params.SetValue(row, to, carried.value_or(0.0));
        }
    }
    return true;
}
