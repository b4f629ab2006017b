// What the rock and intermediate-geomaterial procedures share: the layer data they read, the
// capacity profile they take up, the load-settlement block they fill, the modulus and output
// unit factors, and the heading and message blocks they write.
#pragma once

#include "run_context.h"

#include <array>
#include <initializer_list>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace kolmar::engine::rock {

// Moduli are held in psi in both unit systems (SI input is converted once when it is read).
// Each formula takes a modulus in the unit its other quantities imply; these are the factors.
inline constexpr double kPsiToPsf = 144.0;          // psi -> lb per sq ft
inline constexpr double kPsiToTsf = 144.0 / 2000.0; // psi -> tons per sq ft (0.072)

// Output units of a load-settlement block: English in tons and inches, SI in kN and metres.
inline constexpr double kInPerFt = 12.0;
inline constexpr double kFtPerM = 3.2808;
inline constexpr double kKnPerTon = 8.896;

inline constexpr int kCurveRows = 15; // settlement steps of every load-settlement method

// One block of the load-settlement table (columns top load, top movement, tip load, tip
// movement; row k = settlement step k), in output units: tons and inches, or kN and metres.
struct CurveBlock {
    std::array<double, kCurveRows> top_load{};
    std::array<double, kCurveRows> top_movement{};
    std::array<double, kCurveRows> tip_load{};
    std::array<double, kCurveRows> tip_movement{};
};

// One layer of the profile as the rock procedures read it, in internal English units. Only the
// fields of the layer's own material are filled.
struct GeoLayer {
    int code = 0;      // material code, SoilCode 1..9
    double ztop = 0.0; // depth of the layer top, ft
    double zbot = 0.0; // depth of the layer bottom, ft
    TopBottom GAMMA{}; // total unit weight, pcf (decomposed rock)
    TopBottom BLOWS{}; // SPT blow count, blows per foot (decomposed rock)
    TopBottom EGM{};   // Young's modulus of decomposed rock or gravel, psi (0 = from blow count)
    TopBottom BDS{};   // socket diameter, ft (0 = none given)
    TopBottom QUR{};   // uniaxial compressive strength of the rock, psf (weak rock)
    TopBottom EL{};    // elastic modulus of the intact rock, psi (strong and weak rock)
    TopBottom RQD{};   // rock quality designation, percent (strong and weak rock)
    TopBottom SLUMP{}; // concrete slump, inches (weak rock)
    TopBottom DELTA{}; // interface friction angle, degrees (weak rock)
    int ICOND = 1;     // weak-rock interface condition 1..4, the value of the layer's top row

    double Thickness() const { return zbot - ztop; }
    // A value at `below_top` ft under the layer top, linear between the top and bottom values
    // and held at them outside the layer.
    double At(const TopBottom& values, double below_top) const;
    // The same at the depth z (ft) below the ground surface.
    double AtDepth(const TopBottom& values, double z) const { return At(values, z - ztop); }
};

// The layers of a project as the rock procedures read them.
std::vector<GeoLayer> GeoLayersOf(const InputData& input);

// The layer holding a shaft tip at depth `tip` (ft): the first layer, from the top, whose
// bottom lies below the tip, so that a tip exactly on a layer bottom belongs to the layer below;
// the last layer for a tip at or below the profile bottom; -1 without layers.
int TipLayerIndex(const std::vector<GeoLayer>& layers, double tip);

// The capacity analysis's table as the load-settlement procedures take it up: cumulative
// ultimate side resistance against shaft length.
struct CapacityProfile {
    std::vector<double> length_ft; // shaft lengths, ft, increasing
    std::vector<double> side_tons; // ultimate side resistance QS down to each length, tons

    // QS at depth z: linear between the table's rows, from 0 at the surface, held at the last
    // row below the table; 0 for an empty table.
    double SideAt(double z) const;
};

// A layer boundary on the capacity analysis's one-foot grid (half a foot and more goes up).
double GridDepth(double z);

// Converts the load and movement columns of one curve to output units, row by row, where the
// movement is positive: loads tons -> kN (SI only), movements ft -> in (English) or m (SI).
void ToOutputUnits(std::array<double, kCurveRows>& load, std::array<double, kCurveRows>& movement,
                   bool si);

// The heading of a load-settlement section in the report.
void WriteLoadSettlementHeading(std::ostream& os);

// The block written to the report and the run notes when a load-settlement method finds no
// valid value for the shaft: the banner, "NO LOAD-SETTLEMENT CURVE FOR A TIP IN <material>:",
// the reasons, and the closing line, every line after 5 blanks.
void WriteNoCurveBlock(std::ostream& os, std::string_view material,
                       const std::vector<std::string>& reasons);

// The warning frame of the rock procedures: the title line, a rule of 60 "-", the given lines,
// then two blank lines.
void WriteWarningFrame(std::ostream& os, const std::vector<std::string>& lines);

// True when every value is a finite number.
bool AllFinite(std::initializer_list<double> values);

} // namespace kolmar::engine::rock
