// t-z and q-w curves of a drilled shaft ending in soil: the case data the load-settlement
// analysis takes from the capacity analysis (`ShaftCase`), the files it writes
// (`SettlementFiles`), the t-z curves at five depths per layer with their maximum unit load
// transfer, the q-w curve at the tip, the additional t-z curves at depths the user chooses, and
// every listing of these curves. Inside these routines lengths are inches, loads pounds and unit
// load transfer psi.
#pragma once

#include "normalized.h"

#include <functional>
#include <initializer_list>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace kolmar::engine::settlement {

// One layer of the t-z analysis. The layers run from the ground surface down to the shaft tip;
// the tip layer ends at the tip.
struct TzLayer {
    int code = 0;           // material code, 1..9
    double top = 0.0;       // depth of the layer top, ft
    double bottom = 0.0;    // depth of the layer bottom (the tip for the tip layer), ft
    double fs_top = 0.0;    // unit side resistance of the layer's material at its top, tsf
    double fs_bottom = 0.0; // the same at its bottom, tsf
};

// One case (one stem diameter and one shaft length) as the capacity analysis leaves it.
struct ShaftCase {
    int unit_system = 1;        // 2 = SI output, any other value English (InputData::unit_system)
    double diameter = 0.0;      // stem diameter D, ft
    double base_diameter = 0.0; // base diameter: the bell diameter of a belled shaft, else D, ft
    double length = 0.0;        // shaft length L (depth of the tip), ft
    double bell_height = 0.0;   // end of stem to base H, ft (0 for a straight shaft)
    double top_length = 0.0;    // TOPLENG: top portion without side resistance, ft
    double bottom_length = 0.0; // BS: bottom portion without side resistance, ft
    double Ec = 0.0;            // elastic modulus of the shaft concrete, psi
    double Qbmax = 0.0;         // ultimate base resistance QB at the tip, tons
    // An uplift run (load direction 2): the base carries nothing (Qbmax 0) and the curves are
    // those of compression on the uplift side resistance, which the report says above the table.
    bool uplift = false;
    int increments = 0; // shaft elements n: the computation depths of the capacity table
    std::vector<TzLayer> layers;

    // The capacity analysis' unit side resistance of the material at every computation depth
    // (without the zero of the zones that carry no side resistance, which the solver applies
    // itself): depths in ft, increasing, and values in tsf.
    std::vector<double> profile_depth;
    std::vector<double> profile_fs;

    int variation = 1;  // diameter variation index (1 = DSTART)
    int chart_pass = 1; // length variation index of the case loop (1 = the first length)

    bool print_tz_curves = false;          // additional t-z curves requested (PrintTZCurves = 1)
    std::vector<double> tz_depths;         // their depths, ft
    std::vector<double> chart_settlements; // design-chart settlements PDSETT, inches (none: empty)

    bool si() const { return unit_system == 2; }
};

// The files the analysis writes. Every stream must stay valid for the call; a stream whose file
// is not open simply takes no text.
struct TzCurve;     // below
struct CarryResult; // tz_solver.h
struct SettlementFiles {
    std::ostream& report;    // .kx8o
    std::ostream& run_notes; // .kx8r
    std::ostream& tz_text;   // .kx8z, t-z listing
    std::ostream& qw_stage;  // .kx8w, q-w listing appended to .kx8z after the run
    std::ostream& plot_t;    // .kx8t, t-z curves of the plot file
    std::ostream& plot_q;    // .kx8q, q-w curves of the plot file
    std::ostream& plot_l;    // .kx8l, load distribution of the plot file
    std::ostream& chart;     // CHART.DAT
    // The two scratch files that every solver call writes afresh: the call's whole TZDATA.DAT
    // text, and the whole TZDIAM.DAT text when the call stages a q-w curve. Without a
    // rewrite_tz_data function the call builds no TZDATA.DAT listing at all.
    std::function<void(const std::string&)> rewrite_tz_data;
    std::function<void(const std::string&)> rewrite_tz_diam;
    // When set, the results as data: the t-z and q-w curves of every solved line, and every
    // tip movement's carrying-up with its elements (the load distribution).
    std::function<void(LoadTransferLine, const std::vector<TzCurve>&, const CurvePoints&)>
        keep_curves{};
    std::function<void(LoadTransferLine, std::size_t, const CarryResult&)> keep_step{};
};

// Unit labels of the listings, three characters (area five).
struct UnitLabels {
    std::string_view depth;    // "IN." / " M."
    std::string_view load;     // "TON" / "KN."
    std::string_view stress;   // "PSI" / "KPA"
    std::string_view movement; // "IN." / " M."
    std::string_view area;     // "SQ IN" / " SQ M"
};
UnitLabels LabelsFor(int unit_system);

// Conversions of the listings from inches, pounds and psi.
inline constexpr double kInToM = 0.0254;
inline constexpr double kPsiToKpa = 6.895;
inline constexpr double kLbToKn = 4.448 / 1000.0;
inline constexpr double kTsfToPsi = 2000.0 / 144.0;

// The layers in inches, ready for curve placement: a layer without thickness is widened to
// 0.1 inch and each layer's top follows the (possibly moved) bottom of the layer above. The
// strength curve keeps the layer depths as given: X(2j-1), X(2j) = top and bottom of layer j,
// with the maximum unit load transfer (psi) at each.
struct TzGeometry {
    std::vector<int> code;
    std::vector<double> top;            // inches
    std::vector<double> bottom;         // inches
    std::vector<double> strength_depth; // X, inches
    std::vector<double> strength_value; // psi
};
TzGeometry PrepareLayers(const std::vector<TzLayer>& layers);

// The five curve depths of every layer (inches), numbered from the top.
std::vector<double> CurveDepths(const TzGeometry& geometry);

// The strength curve at depth z (inches): linear between the first point deeper than z and the
// one before it; a depth past the deepest point by less than 0.1 inch extrapolates the last
// interval. False (and no value) for a depth 0.1 inch or more past the curve.
bool StrengthAt(const TzGeometry& geometry, double z, double& value);

// The side-resistance profile of the case at depth z (inches), psi: linear between the
// neighbouring computation depths, the first value above the first depth and the last value at
// or below the last depth.
double ProfileAt(const ShaftCase& shaft, double z);

// One t-z curve: movement z (inches) against unit load transfer t (psi).
struct TzCurve {
    int number = 0;     // 1.. from the top
    double depth = 0.0; // inches
    int code = 0;       // material code of its layer
    double fmax = 0.0;  // maximum unit load transfer, psi
    CurvePoints points;
};

// Builds the t-z curves of a case for a line: five per layer, fmax from the side-resistance
// profile (the last curve, just above the tip, from the strength curve). Returns 0, or 2 after
// writing the warning to the report when a curve lies beyond the strength curve (the curves are
// then incomplete and must not be used).
int BuildTzCurves(const ShaftCase& shaft, const TzGeometry& geometry, LoadTransferLine line,
                  std::ostream& report, std::vector<TzCurve>& curves);

// Builds the q-w curve at the tip: tip movement (inches) against tip load (pounds), scaled by
// the larger of the base and stem diameters and by QB. Both base families first check the tip
// depth against the strength curve: 4 (with the warning in the report and the run notes) when
// the tip lies deeper, else 0.
int BuildQwCurve(const ShaftCase& shaft, const TzGeometry& geometry, LoadTransferLine line,
                 std::ostream& report, std::ostream& run_notes, CurvePoints& qw);

// Material code of an additional curve at depth z (inches): layer 1 down to its top, then the
// first layer whose bottom is not above z, the last layer at or below its bottom (0 without
// layers).
int AdditionalCurveCode(const TzGeometry& geometry, double z);

// The warning of a curve depth beyond the strength curve (deepest point in inches).
void WriteBeyondStrengthCurve(std::ostream& os, double deepest_point);

// Listing blocks: the curve heading (two blank lines first) with its labels, a curve's head line
// (number, 10 points, depth) and its ten point lines (t, z), values already in listing units.
void WriteCurveHeading(std::ostream& os, std::string_view depth_label, const UnitLabels& labels);
void WriteCurveHeadLine(std::ostream& os, int number, double depth);
void WriteCurvePointLine(std::ostream& os, double t, double z);

// A list-directed record: each value after a blank, reals in exponent form.
std::string ListRecord(std::initializer_list<double> values);
std::string ListRecord(int value);

// Lists the t-z curves: depth_factor converts inches to the listing's depth unit; t and z are
// in psi and inches (English) or kPa and metres (SI).
void WriteTzListing(std::ostream& os, const std::vector<TzCurve>& curves, bool si,
                    std::string_view depth_label, double depth_factor);

// Stages the t-z curves for the plot file: the curve count, then per curve the head record
// (I5, I5, F10.2: number, 10, depth in ft or m) and ten "t z" records.
void StageTzCurves(std::ostream& os, const std::vector<TzCurve>& curves, bool si);

// The head lines of a solver call (first length only): the diameter variation, shaft diameter
// and length with the line heading in the q-w listing, and for the first diameter the same in
// the t-z listing.
void WriteCallHeadLines(const ShaftCase& shaft, LoadTransferLine line, SettlementFiles& files);

// The q-w listings of a solver call: the listing heading and points in .kx8w (first length
// only) and in the call's TZDATA.DAT text (`tz_data`); for the trend line of the first length
// the curve in .kx8q (head record I5, F10.2, I5: variation, diameter in ft or m, 10; then ten
// "Q w" records) and the variation index as the whole of TZDIAM.DAT. Loads in tons or kN,
// movements in inches or metres.
void WriteQwListings(const ShaftCase& shaft, LoadTransferLine line, const CurvePoints& qw,
                     SettlementFiles& files, std::ostream& tz_data);

// The additional t-z curves of a case: the report heading and note (once per case), then one
// call per line. A call builds the curves at the requested depths, stages them for the plot
// file (trend line of the first diameter and first length only) and writes them to the report.
// Returns 0, or 2 with the warning in the report when a depth lies beyond the strength curve.
void WriteAdditionalTzHeading(std::ostream& report);
int AdditionalTzCurves(const ShaftCase& shaft, LoadTransferLine line, SettlementFiles& files);

} // namespace kolmar::engine::settlement
