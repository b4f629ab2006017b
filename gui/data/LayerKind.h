// Change of a soil layer's material kind. The layer gets a fresh parameter set of the new kind
// and keeps, top and bottom apart, every quantity that the old and the new kind both hold
// (unit weight, blow counts, socket diameter, modulus, ...); the others start at 0.
// Exports TLayerQuantity, QuantityColumn and ChangeLayerKind.
#pragma once

#include "gui/data/DataUnit.h"

// The physical quantities that parameter sets of different kinds may share.
enum class TLayerQuantity : int {
    UnitWeight,
    BlowCounts,
    FrictionAngle,
    Ko,
    Beta,
    MethodOrCondition, // sand side friction method (1..3) / weak-rock interface condition (1..4)
    InterfaceAngle,
    Cohesion,
    Alpha,
    Nc,
    RockStrength,
    ConcreteStrength,
    Spacing,
    Thickness,
    SocketDiameter,
    Modulus,
    RQD,
    Poisson,
    Slump,
};
constexpr int LayerQuantityCount = 19;

// Column that holds the quantity in the parameter set of a soil type, or -1 when that kind has
// no such quantity. The sand exponent m is no shared quantity: it belongs to sand alone.
// Throws std::out_of_range for a soil type outside 1..9.
int QuantityColumn(int SoilType, TLayerQuantity Q);

// Gives the layer the soil type NewSoilType and carries the shared quantities over. The shared
// integer of sand and weak rock is carried only when it lies in the new kind's range (method
// 1..3, condition 1..4); otherwise, and when the old kind had none, it keeps the fresh set's
// default of 1, so no layer leaves here with a method or condition the engine cannot use.
// Depth, maxima and LRFD factors are not touched. The same code changes nothing. Returns false
// and changes nothing for a code outside 1..9.
bool ChangeLayerKind(TSoilLayer& Layer, int NewSoilType);
