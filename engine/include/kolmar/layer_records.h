// The layer records of the project file (.kx8d): the soil codes, which values the two row lines
// of a layer hold and in what order for every code, and the unit of every value. The engine
// reads the records by this table and the program writes and reads them by it, so that neither
// can place a column where the other does not look for it.
//
// A layer block of the file:
//   the soil code and the depth of the layer bottom               one line
//   the row values at the layer top                               one line, LayerRecordOf(code).row
//   the row values at the layer bottom                            one line, the same columns
//   what follows the rows, by LayerRecordOf(code).tail:
//     sand               the side-friction method ISIDE            one line
//                        its coefficient at top and bottom         one line, SandMethodField(ISIDE)
//     clay, clay shale   ALPHA at top and bottom                   one line
//
// Standard library only: the engine and the program's model library both include it as
// "kolmar/layer_records.h". It is not one of the engine's installed headers.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

namespace kolmar {

// ---------------------------------------------------------------------------------------------
// Soil codes: the material of a layer, as the file writes it.

enum SoilCode : int {
    kSand = 1,
    kClay = 2,
    kClayShale = 3,
    kStrongRockSideOrBase = 4, // strong rock, side friction or end bearing
    kDecomposedRock = 5,       // decomposed rock or gravel, intermediate geomaterial
    kWeakRock = 6,
    kStrongRockSideAndBase = 7, // strong rock, side friction plus end bearing
    kGravellySand = 8,
    kGravel = 9,
};
inline constexpr int kMinSoilCode = kSand;
inline constexpr int kMaxSoilCode = kGravel;

// ---------------------------------------------------------------------------------------------
// Conversion of SI input to the internal English units (English units per SI unit).

inline constexpr double kMToFt = 3.2808;        // m -> ft
inline constexpr double kMToIn = 39.37;         // m -> in
inline constexpr double kKpaToPsf = 20.885;     // kPa -> psf
inline constexpr double kKnPerM3ToPcf = 6.3659; // kN/m3 -> pcf
inline constexpr double kKpaPerPsi = 6.894757;  // kPa in one psi
inline constexpr double kKpaToPsi = 1.0 / kKpaPerPsi;

// ---------------------------------------------------------------------------------------------
// The values of the layer records, named as the engine's layer holds them.

enum class LayerField : int {
    NC,      // end-bearing coefficient Nc (0 = computed)
    GAMMA,   // total unit weight
    PHI,     // friction angle
    DELTA,   // interface friction angle
    CU,      // undrained shear strength
    BLOWS,   // SPT blow count
    TRANLM,  // maximum unit side resistance (0 = no limit)
    QMAX,    // maximum unit end bearing (0 = no limit)
    LRFDS,   // LRFD resistance factor on side resistance
    LRFDB,   // LRFD resistance factor on end bearing
    QUR,     // uniaxial compressive strength of the rock
    QUCON,   // uniaxial compressive strength of the concrete
    CS,      // spacing of discontinuities
    DISCT,   // thickness of discontinuities
    BDS,     // socket diameter
    EL,      // elastic modulus of the rock
    RQD,     // rock quality designation
    ICOND,   // interface condition of weak rock, 1..4
    SLUMP,   // concrete slump
    POISSON, // Poisson's ratio
    EGM,     // Young's modulus of decomposed rock (0 = from the blow count)
    BETA,    // skin-friction coefficient beta
    ISIDE,   // side-friction method of sand, 1..3
    KO,      // lateral earth-pressure coefficient Ko
    MEXP,    // preconsolidation stress exponent m
    ALPHA,   // side-resistance reduction factor alpha
};

// How a value is written and read.
enum class LayerWord : int {
    real,  // a real number
    whole, // a whole number written without a point (a blow count); the engine reads a real
    code,  // an integer code, read as an integer
};

struct LayerFieldInfo {
    LayerField field;
    std::string_view name; // the value's name in the engine's layer
    LayerWord word;
    std::string_view unit;    // internal English unit; "-" for a pure number
    std::string_view si_unit; // unit of the value in an SI project
    double si_factor;         // internal units per SI unit; 1 where both units are the same
};

// Every value, in the order of LayerField.
inline constexpr LayerFieldInfo kLayerFields[] = {
    {LayerField::NC, "NC", LayerWord::real, "-", "-", 1.0},
    {LayerField::GAMMA, "GAMMA", LayerWord::real, "pcf", "kN/m3", kKnPerM3ToPcf},
    {LayerField::PHI, "PHI", LayerWord::real, "deg", "deg", 1.0},
    {LayerField::DELTA, "DELTA", LayerWord::real, "deg", "deg", 1.0},
    {LayerField::CU, "CU", LayerWord::real, "psf", "kPa", kKpaToPsf},
    {LayerField::BLOWS, "BLOWS", LayerWord::whole, "blows", "blows", 1.0},
    {LayerField::TRANLM, "TRANLM", LayerWord::real, "psf", "kPa", kKpaToPsf},
    {LayerField::QMAX, "QMAX", LayerWord::real, "psf", "kPa", kKpaToPsf},
    {LayerField::LRFDS, "LRFDS", LayerWord::real, "-", "-", 1.0},
    {LayerField::LRFDB, "LRFDB", LayerWord::real, "-", "-", 1.0},
    {LayerField::QUR, "QUR", LayerWord::real, "psf", "kPa", kKpaToPsf},
    {LayerField::QUCON, "QUCON", LayerWord::real, "psf", "kPa", kKpaToPsf},
    {LayerField::CS, "CS", LayerWord::real, "ft", "m", kMToFt},
    {LayerField::DISCT, "DISCT", LayerWord::real, "ft", "m", kMToFt},
    {LayerField::BDS, "BDS", LayerWord::real, "ft", "m", kMToFt},
    {LayerField::EL, "EL", LayerWord::real, "psi", "kPa", kKpaToPsi},
    {LayerField::RQD, "RQD", LayerWord::real, "%", "%", 1.0},
    {LayerField::ICOND, "ICOND", LayerWord::code, "-", "-", 1.0},
    {LayerField::SLUMP, "SLUMP", LayerWord::real, "in", "m", kMToIn},
    {LayerField::POISSON, "POISSON", LayerWord::real, "-", "-", 1.0},
    {LayerField::EGM, "EGM", LayerWord::real, "psi", "kPa", kKpaToPsi},
    {LayerField::BETA, "BETA", LayerWord::real, "-", "-", 1.0},
    {LayerField::ISIDE, "ISIDE", LayerWord::code, "-", "-", 1.0},
    {LayerField::KO, "KO", LayerWord::real, "-", "-", 1.0},
    {LayerField::MEXP, "MEXP", LayerWord::real, "-", "-", 1.0},
    {LayerField::ALPHA, "ALPHA", LayerWord::real, "-", "-", 1.0},
};

constexpr const LayerFieldInfo& LayerFieldInfoOf(LayerField field) {
    return kLayerFields[static_cast<std::size_t>(field)];
}

namespace layer_rows {
using enum LayerField;

// The columns of one row line, by material.
inline constexpr LayerField kSandRow[] = {NC, GAMMA, PHI, DELTA, BLOWS, TRANLM, QMAX, LRFDS, LRFDB};
inline constexpr LayerField kClayRow[] = {NC, GAMMA, PHI, CU, BLOWS, TRANLM, QMAX, LRFDS, LRFDB};
inline constexpr LayerField kStrongRockRow[] = {QUR, QUCON, CS,   DISCT, BDS,  TRANLM,
                                                EL,  RQD,   QMAX, LRFDS, LRFDB};
inline constexpr LayerField kDecomposedRockRow[] = {GAMMA,  BLOWS, POISSON, EGM,  BDS,
                                                    TRANLM, QMAX,  LRFDS,   LRFDB};
inline constexpr LayerField kWeakRockRow[] = {QUR, ICOND, SLUMP, DELTA, BDS,  TRANLM,
                                              EL,  RQD,   QMAX,  LRFDS, LRFDB};
inline constexpr LayerField kGravelRow[] = {GAMMA, BLOWS, BETA, TRANLM, QMAX, LRFDS, LRFDB};

} // namespace layer_rows

// What follows the two row lines of a layer.
enum class LayerTail : int {
    none,
    sand_method, // the side-friction method, then the pair of its coefficient
    alpha,       // the pair of ALPHA
};

struct LayerRecord {
    std::span<const LayerField> row; // the columns of each of the two row lines, in order
    LayerTail tail;
};

// The layer records of every soil code, from code 1.
inline constexpr std::array<LayerRecord, kMaxSoilCode> kLayerRecords = {{
    {layer_rows::kSandRow, LayerTail::sand_method},    // sand
    {layer_rows::kClayRow, LayerTail::alpha},          // clay
    {layer_rows::kClayRow, LayerTail::alpha},          // clay shale
    {layer_rows::kStrongRockRow, LayerTail::none},     // strong rock, side friction or end bearing
    {layer_rows::kDecomposedRockRow, LayerTail::none}, // decomposed rock or gravel
    {layer_rows::kWeakRockRow, LayerTail::none},       // weak rock
    {layer_rows::kStrongRockRow, LayerTail::none}, // strong rock, side friction plus end bearing
    {layer_rows::kGravelRow, LayerTail::none},     // gravelly sand
    {layer_rows::kGravelRow, LayerTail::none},     // gravel
}};

// The records of a soil code; the code must lie within 1..9 (both readers refuse any other
// before they get here).
constexpr const LayerRecord& LayerRecordOf(int code) {
    return kLayerRecords[static_cast<std::size_t>(code - kMinSoilCode)];
}

// The coefficient that the sand tail pairs for a side-friction method: Ko under method 1, beta
// under method 2, the exponent m of the Kulhawy and Chen method otherwise.
constexpr LayerField SandMethodField(int method) {
    return method == 1 ? LayerField::KO : method == 2 ? LayerField::BETA : LayerField::MEXP;
}

namespace layer_rows {
constexpr bool FieldsInOrder() {
    for (std::size_t i = 0; i < std::size(kLayerFields); ++i)
        if (static_cast<std::size_t>(kLayerFields[i].field) != i)
            return false;
    return std::size(kLayerFields) == static_cast<std::size_t>(LayerField::ALPHA) + 1;
}
static_assert(FieldsInOrder(), "kLayerFields must list every LayerField in its order");
} // namespace layer_rows

} // namespace kolmar
