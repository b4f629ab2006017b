// Project data: parameter-set kinds, layers, defaults of a new project and the switch of the
// unit system. The project file lives in ProjectFile.cpp.
#include "gui/data/DataUnit.h"

#include "ui/model/units.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace {

using F = kolmar::LayerField;

// Units strings: "F/L2^3" unit weight (lbs/ft^3 | kN/m^3), "F/L2^2" stress (lbs/ft^2 | kN/m^2),
// "F/L^2" modulus (lbs/in^2 | kN/m^2), "L2" length (ft | m), "L" small length (in | m).
const TParamColumn kSandColumns[] = {
    {"total unit weight", "F/L2^3", false, 0.0, F::GAMMA},
    {"friction angle", "deg", false, 0.0, F::PHI},
    {"blow counts", "", true, 0.0, F::BLOWS},
    {"Ko", "", false, 0.0, F::KO},
    {"Beta", "", false, 0.0, F::BETA},
    {"side friction method", "", true, 1.0, F::ISIDE},
    {"interface angle", "deg", false, 0.0, F::DELTA},
    {"exponent m", "", false, 0.0, F::MEXP},
};
const TParamColumn kClayColumns[] = {
    {"total unit weight", "F/L2^3", false, 0.0, F::GAMMA},
    {"cohesion", "F/L2^2", false, 0.0, F::CU},
    {"blow counts", "", true, 0.0, F::BLOWS},
    {"alpha factor", "", false, 0.0, F::ALPHA},
    {"bearing capacity coefficient Nc", "", false, 0.0, F::NC},
};
const TParamColumn kStrongRockColumns[] = {
    {"rock compressive strength", "F/L2^2", false, 0.0, F::QUR},
    {"concrete compressive strength", "F/L2^2", false, 0.0, F::QUCON},
    {"discontinuity spacing", "L2", false, 0.0, F::CS},
    {"discontinuity thickness", "L2", false, 0.0, F::DISCT},
    {"socket diameter", "L2", false, 0.0, F::BDS},
    {"elastic modulus", "F/L^2", false, 0.0, F::EL},
    {"RQD", "%", false, 0.0, F::RQD},
};
const TParamColumn kDecomposedColumns[] = {
    {"total unit weight", "F/L2^3", false, 0.0, F::GAMMA},
    {"blow counts", "", true, 0.0, F::BLOWS},
    {"Poisson's ratio", "", false, 0.0, F::POISSON},
    {"Young's modulus", "F/L^2", false, 0.0, F::EGM},
    {"socket diameter", "L2", false, 0.0, F::BDS},
};
const TParamColumn kWeakRockColumns[] = {
    {"rock compressive strength", "F/L2^2", false, 0.0, F::QUR},
    {"interface condition", "", true, 1.0, F::ICOND},
    {"concrete slump", "L", false, 0.0, F::SLUMP},
    {"interface friction angle", "deg", false, 0.0, F::DELTA},
    {"socket diameter", "L2", false, 0.0, F::BDS},
    {"elastic modulus of the rock core", "F/L^2", false, 0.0, F::EL},
    {"RQD", "%", false, 0.0, F::RQD},
};
const TParamColumn kGravelColumns[] = {
    {"total unit weight", "F/L2^3", false, 0.0, F::GAMMA},
    {"blow counts", "", true, 0.0, F::BLOWS},
    {"Beta", "", false, 0.0, F::BETA},
};

const TParamKind kKinds[MaxSoilType] = {
    {"tblDataSand", 1, kSandColumns},
    {"tblDataClay", 2, kClayColumns},
    {"tblDataShale", 3, kClayColumns},
    {"tblDataStrongRock", 4, kStrongRockColumns},
    {"tblDataGravel", 5, kDecomposedColumns},
    {"tblDataWeakRock", 6, kWeakRockColumns},
    {"tblNewStrongRock", 7, kStrongRockColumns},
    {"tblDataGravellysand", 31, kGravelColumns},
    {"tblRollinsGravel", 32, kGravelColumns},
};

const char* const kSoilLabels[MaxSoilType] = {
    "sand (FHWA Spec.)",
    "clay (FHWA Spec.)",
    "shale (Reese &Aurora)",
    "strong rock (FHWA-side frict. or end bear.)",
    "decomposed rock/gravel (FHWA Spec.)",
    "weak rock (FHWA Spec.)",
    "strong rock (side friction + end bearing)",
    "gravelly sand (Rollins et al)",
    "gravel (Rollins et al)",
};

void CheckSoilType(int SoilType) {
    if (SoilType < MinSoilType || SoilType > MaxSoilType) {
        throw std::out_of_range("soil type code " + std::to_string(SoilType) + " is outside 1..9");
    }
}

// Design-chart settlements of a new project, in inches.
constexpr double kDefaultPDSETT[MaxPDSETT] = {0.1, 0.25, 0.5, 0.75, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0};

} // namespace

const TParamKind& ParamKindForSoil(int SoilType) {
    CheckSoilType(SoilType);
    return kKinds[SoilType - 1];
}

int TParamKind::ColumnOf(kolmar::LayerField Field) const {
    for (std::size_t col = 0; col < Columns.size(); ++col) {
        if (Columns[col].Field == Field) {
            return static_cast<int>(col);
        }
    }
    return -1;
}

const char* SoilTypeLabel(int SoilType) {
    CheckSoilType(SoilType);
    return kSoilLabels[SoilType - 1];
}

// ---------------------------------------------------------------------------------------------

TParameterSet::TParameterSet(int SoilType)
    : fSoilType(SoilType), fKind(&ParamKindForSoil(SoilType)) {
    fValues.resize(static_cast<std::size_t>(RowCount * fKind->ColumnCount()));
    for (int row = 0; row < RowCount; ++row) {
        for (int col = 0; col < fKind->ColumnCount(); ++col) {
            fValues[Index(row, col)] = fKind->Columns[static_cast<std::size_t>(col)].Default;
        }
    }
}

std::size_t TParameterSet::Index(int Row, int Col) const {
    if (Row < 0 || Row >= RowCount || Col < 0 || Col >= ColumnCount()) {
        throw std::out_of_range("parameter set cell (" + std::to_string(Row) + ", " +
                                std::to_string(Col) + ") does not exist");
    }
    return static_cast<std::size_t>(Row * ColumnCount() + Col);
}

double TParameterSet::Value(int Row, int Col) const {
    return fValues[Index(Row, Col)];
}

std::int32_t TParameterSet::IntValue(int Row, int Col) const {
    // Integer columns only ever hold whole numbers in range (SetValue sees to it).
    const double v = Value(Row, Col);
    return static_cast<std::int32_t>(std::clamp(std::round(v), -2147483648.0, 2147483647.0));
}

void TParameterSet::SetValue(int Row, int Col, double V) {
    const std::size_t i = Index(Row, Col);
    if (fKind->Columns[static_cast<std::size_t>(Col)].IsInteger) {
        V = std::isnan(V) ? 0.0 : std::clamp(std::round(V), -2147483648.0, 2147483647.0);
    }
    fValues[i] = V;
}

// ---------------------------------------------------------------------------------------------

const char* LayerColumnUnits(int Col) {
    switch (Col) {
    case lcDepth:
        return "L2";
    case lcMaxSideFriction:
    case lcMaxEndBearing:
        return "F/L2^2";
    default:
        return "";
    }
}

bool TSoilLayer::SetSoilType(int Code) {
    if (Code < MinSoilType || Code > MaxSoilType) {
        return false;
    }
    Params = TParameterSet(Code);
    return true;
}

double TSoilLayer::Real(int Col) const {
    switch (Col) {
    case lcDepth:
        return Depth;
    case lcMaxSideFriction:
        return MaxSideFriction;
    case lcMaxEndBearing:
        return MaxEndBearing;
    case lcLrfdSide:
        return LrfdSide;
    case lcLrfdTip:
        return LrfdTip;
    default:
        throw std::out_of_range("layer column " + std::to_string(Col) + " is not a real column");
    }
}

void TSoilLayer::SetReal(int Col, double V) {
    switch (Col) {
    case lcDepth:
        Depth = V;
        break;
    case lcMaxSideFriction:
        MaxSideFriction = V;
        break;
    case lcMaxEndBearing:
        MaxEndBearing = V;
        break;
    case lcLrfdSide:
        LrfdSide = V;
        break;
    case lcLrfdTip:
        LrfdTip = V;
        break;
    default:
        throw std::out_of_range("layer column " + std::to_string(Col) + " is not a real column");
    }
}

// ---------------------------------------------------------------------------------------------

std::unique_ptr<TProgramData> TProgramData::Create() {
    std::unique_ptr<TProgramData> p(new TProgramData());
    p->FileName = "NewShaft.kx8d";
    p->fUnits = UnitsEnglish;
    p->Title = "New Pile";
    p->SetUnits(UnitsEnglish);
    p->PINC = 1.0;
    p->METHOD = 2;
    p->KCYCL = 1;
    p->RCYCL = 1.0;
    p->NPOINTPD = 5;
    p->FST = 2.5;
    p->FSB = 3.0;
    p->ID2 = 1;
    p->IMOD = 1;
    p->Yesnewversion = 1;
    p->NLRFD = 2;
    std::copy(std::begin(kDefaultPDSETT), std::end(kDefaultPDSETT), p->PDSETT.begin());
    p->D.Clear();
    p->D.TopUp();
    p->TblTZDepth.Clear();
    p->TblTZDepth.TopUp();
    p->DataChanged = false;
    return p;
}

void TProgramData::InitPDSET() {
    std::copy(std::begin(kDefaultPDSETT), std::end(kDefaultPDSETT), PDSETT.begin());
    if (fUnits == UnitsSI) {
        for (double& s : PDSETT) {
            s /= 39.37007874;
        }
    }
}

void TProgramData::ConvertTables(int FromSystem, int ToSystem) {
    for (TSoilLayer& layer : D) {
        for (int col : {lcDepth, lcMaxSideFriction, lcMaxEndBearing}) {
            layer.SetReal(col, layer.Real(col) *
                                   ConversionFactor(LayerColumnUnits(col), FromSystem, ToSystem));
        }
        TParameterSet& set = layer.Params;
        for (int col = 0; col < set.ColumnCount(); ++col) {
            const TParamColumn& c = set.Kind().Columns[static_cast<std::size_t>(col)];
            if (c.IsInteger || IsDimensionless(c.UnitsString)) {
                continue;
            }
            const double f = ConversionFactor(c.UnitsString, FromSystem, ToSystem);
            for (int row = 0; row < TParameterSet::RowCount; ++row) {
                set.SetValue(row, col, set.Value(row, col) * f);
            }
        }
    }
    const double depthFactor = ConversionFactor("L2", FromSystem, ToSystem);
    for (double& depth : TblTZDepth) {
        depth *= depthFactor;
    }
}

void TProgramData::SetUnits(int Value) {
    Value = std::clamp(Value, UnitsEnglish, UnitsSI);
    if (Value != fUnits) {
        // Factors to the target system: depths and diameters ft | m, small lengths in | m,
        // forces lbs | kN, loads tons | kN.
        const bool toEnglish = Value == UnitsEnglish;
        const double length = toEnglish ? 3.280839895 : 0.3048;
        const double smallLength = toEnglish ? 39.37007874 : 0.0254;
        const double force = toEnglish ? 224.8089237 : 0.00444822199911631;
        const double load = toEnglish ? 0.1124044745 : 8.896442997026778;

        // The tables are always kept in the project's own system; they convert with it.
        ConvertTables(toEnglish ? UnitsSI : UnitsEnglish, Value);
        for (double* v :
             {&PINC, &DSTART, &DIALIM, &TOPLENG, &BS, &PD, &PDMIN, &PDINCR, &DIAMINCR, &WTD}) {
            *v *= length;
        }
        EPILE *= force / (smallLength * smallLength); // lbs/in^2 against kN/m^2
        LPD *= load;                                  // tons against kN
        const int inUse = std::clamp(NPOINTPD, 0, MaxPDSETT);
        for (int i = 0; i < inUse; ++i) {
            PDSETT[static_cast<std::size_t>(i)] *= smallLength; // inches against metres
        }
        // RCYCL, RATIO, BELANGL, FST, FSB and ValElevation are never converted.
    }
    fUnits = Value;
    if (OnUnitsChanged) {
        OnUnitsChanged();
    }
}

int FilterForFileName(const std::string& FName) {
    const std::size_t dot = FName.find_last_of('.');
    const std::size_t slash = FName.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return 0;
    }
    std::string ext = FName.substr(dot);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == ".kx8d") {
        return 1;
    }
    if (ext == ".kxd") {
        return 2;
    }
    return 0;
}
