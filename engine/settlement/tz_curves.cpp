// t-z curves along the shaft and the q-w curve at the tip: curve depths, maximum unit load
// transfer from the side-resistance profile and the strength curve, scaling of the normalized
// families, and the listings in TZDATA.DAT, the t-z text file, the report and the staged plot
// sections. Inches, pounds and psi inside; listings in the project's units.
#include "tz_curves.h"

#include "format.h"

#include <algorithm>
#include <charconv>
#include <ostream>

namespace kolmar::engine::settlement {
namespace {

constexpr double kLayerWidening = 0.1;     // inches given to a layer without thickness
constexpr double kStrengthReach = 0.1;     // inches a curve may lie past the strength curve
constexpr double kBelowLayerTop = 12.01;   // first curve of a lower layer, inches below its top
constexpr double kAboveLayerBottom = 0.01; // last curve of a layer, inches above its bottom

// The depth of the deepest strength-curve point, inches (0 without layers).
double DeepestPoint(const TzGeometry& geometry) {
    const auto& x = geometry.strength_depth;
    return x.empty() ? 0.0 : *std::max_element(x.begin(), x.end());
}

// Linear interpolation between (x0, v0) and (x1, v1) at x; v1 on an interval without length.
double Between(double x0, double v0, double x1, double v1, double x) {
    if (!(x1 - x0 > 0.0))
        return v1;
    return v0 + (x - x0) * (v1 - v0) / (x1 - x0);
}

std::string ListReal(double value) {
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 6);
    std::string text(buf, res.ptr);
    for (char& c : text)
        if (c == 'e')
            c = 'E';
    if (text == "-0.000000E+00")
        text.erase(0, 1);
    return text;
}

// Lengths of the head lines: feet or metres.
std::string LengthLine(std::string_view label, double feet, bool si) {
    return Blanks(8) + std::string(label) + F(si ? feet * 0.3048 : feet, 10, 4) +
           (si ? "  M" : "  FT");
}

} // namespace

UnitLabels LabelsFor(int unit_system) {
    if (unit_system == 2)
        return {" M.", "KN.", "KPA", " M.", " SQ M"};
    return {"IN.", "TON", "PSI", "IN.", "SQ IN"};
}

TzGeometry PrepareLayers(const std::vector<TzLayer>& layers) {
    TzGeometry g;
    for (const TzLayer& layer : layers) {
        g.code.push_back(layer.code);
        g.top.push_back(12.0 * layer.top);
        g.bottom.push_back(12.0 * layer.bottom);
        g.strength_depth.push_back(12.0 * layer.top);
        g.strength_depth.push_back(12.0 * layer.bottom);
        g.strength_value.push_back(layer.fs_top * kTsfToPsi);
        g.strength_value.push_back(layer.fs_bottom * kTsfToPsi);
    }
    for (std::size_t j = 0; j < g.code.size(); ++j) {
        if (j > 0)
            g.top[j] = g.bottom[j - 1];
        if (!(g.bottom[j] - g.top[j] >= 1e-12))
            g.bottom[j] = g.top[j] + kLayerWidening;
    }
    return g;
}

std::vector<double> CurveDepths(const TzGeometry& geometry) {
    std::vector<double> depths;
    for (std::size_t j = 0; j < geometry.code.size(); ++j) {
        const double a = geometry.top[j];
        const double b = geometry.bottom[j];
        const double c = (a + b) / 2.0;
        const double first = j == 0 ? a : a + kBelowLayerTop;
        depths.insert(depths.end(), {first, (a + c) / 2.0, c, (c + b - kAboveLayerBottom) / 2.0,
                                     b - kAboveLayerBottom});
    }
    return depths;
}

bool StrengthAt(const TzGeometry& geometry, double z, double& value) {
    const auto& x = geometry.strength_depth;
    const auto& v = geometry.strength_value;
    for (std::size_t k = 1; k < x.size(); ++k) {
        if (x[k] > z) {
            value = Between(x[k - 1], v[k - 1], x[k], v[k], z);
            return true;
        }
    }
    if (x.empty() || !(z - x.back() < kStrengthReach))
        return false;
    const std::size_t last = x.size() - 1;
    value = last == 0 ? v[0] : Between(x[last - 1], v[last - 1], x[last], v[last], z);
    return true;
}

double ProfileAt(const ShaftCase& shaft, double z) {
    const auto& depth = shaft.profile_depth;
    const auto& fs = shaft.profile_fs;
    if (depth.empty())
        return 0.0;
    const double feet = z / 12.0;
    if (feet <= depth.front())
        return fs.front() * kTsfToPsi;
    for (std::size_t k = 1; k < depth.size(); ++k)
        if (feet < depth[k])
            return Between(depth[k - 1], fs[k - 1], depth[k], fs[k], feet) * kTsfToPsi;
    return fs.back() * kTsfToPsi;
}

int AdditionalCurveCode(const TzGeometry& geometry, double z) {
    if (geometry.code.empty())
        return 0;
    if (z <= geometry.top.front())
        return geometry.code.front();
    for (std::size_t j = 0; j < geometry.code.size(); ++j)
        if (geometry.bottom[j] >= z)
            return geometry.code[j];
    return geometry.code.back();
}

void WriteBeyondStrengthCurve(std::ostream& os, double deepest_point) {
    WriteBlankLines(os, 1);
    WriteLine(os, Blanks(29) + "**** WARNING ****");
    WriteLine(os, Blanks(5) + "THE VALUE OF X =" + E(deepest_point, 10, 3) +
                      " IS BEYOND THE EXTENT OF THE INPUT STRENGTH CURVE 1");
}

int BuildTzCurves(const ShaftCase& shaft, const TzGeometry& geometry, LoadTransferLine line,
                  std::ostream& report, std::vector<TzCurve>& curves) {
    curves.clear();
    const std::vector<double> depths = CurveDepths(geometry);
    const double din = 12.0 * shaft.diameter;
    for (std::size_t i = 0; i < depths.size(); ++i) {
        TzCurve curve;
        curve.number = static_cast<int>(i) + 1;
        curve.depth = depths[i];
        curve.code = geometry.code[i / 5];
        if (!StrengthAt(geometry, curve.depth, curve.fmax)) {
            WriteBeyondStrengthCurve(report, DeepestPoint(geometry));
            return 2;
        }
        // Away from the tip the capacity analysis' own profile sets the maximum; just above the
        // tip the layer's strength curve does.
        if (i + 1 < depths.size())
            curve.fmax = ProfileAt(shaft, curve.depth);
        curve.points = BuildCurve(Family(SideFamilyFor(curve.code)), line, din, curve.fmax);
        curves.push_back(curve);
    }
    return 0;
}

int BuildQwCurve(const ShaftCase& shaft, const TzGeometry& geometry, LoadTransferLine line,
                 std::ostream& report, std::ostream& run_notes, CurvePoints& qw) {
    const int status =
        CheckTipDepth(12.0 * shaft.length, DeepestPoint(geometry), report, run_notes);
    if (status != 0)
        return status;
    const BaseFamily family = BaseFamilyFor(geometry.code.back());
    const double db = 12.0 * std::max(shaft.base_diameter, shaft.diameter);
    qw = BuildCurve(Family(family), line, db, shaft.Qbmax * 2000.0);
    return 0;
}

void WriteCurveHeading(std::ostream& os, std::string_view depth_label, const UnitLabels& labels) {
    WriteBlankLines(os, 2);
    WriteLine(os,
              Blanks(8) + "T-Z CURVE   NO. OF   DEPTH TO CURVE   LOAD TRANSFER   PILE MOVEMENT");
    WriteLine(os, Blanks(11) + "NO." + Blanks(6) + "POINTS" + Blanks(8) + std::string(depth_label) +
                      Blanks(14) + std::string(labels.stress) + Blanks(13) +
                      std::string(labels.movement));
    WriteBlankLines(os, 1);
}

void WriteCurveHeadLine(std::ostream& os, int number, double depth) {
    WriteLine(os, Blanks(8) + I(number, 5) + I(kCurvePoints, 11) + E(depth, 16, 4));
}

void WriteCurvePointLine(std::ostream& os, double t, double z) {
    WriteLine(os, Blanks(40) + E(t, 17, 4) + E(z, 16, 4));
}

std::string ListRecord(std::initializer_list<double> values) {
    std::string record;
    for (const double value : values)
        record += "  " + ListReal(value);
    return record;
}

std::string ListRecord(int value) {
    return " " + std::to_string(value);
}

void WriteTzListing(std::ostream& os, const std::vector<TzCurve>& curves, bool si,
                    std::string_view depth_label, double depth_factor) {
    const double stress = si ? kPsiToKpa : 1.0;
    const double movement = si ? kInToM : 1.0;
    WriteCurveHeading(os, depth_label, LabelsFor(si ? 2 : 1));
    for (const TzCurve& curve : curves) {
        WriteCurveHeadLine(os, curve.number, curve.depth * depth_factor);
        for (std::size_t j = 0; j < kCurvePoints; ++j)
            WriteCurvePointLine(os, curve.points.value[j] * stress,
                                curve.points.movement[j] * movement);
    }
}

void StageTzCurves(std::ostream& os, const std::vector<TzCurve>& curves, bool si) {
    const double stress = si ? kPsiToKpa : 1.0;
    const double movement = si ? kInToM : 1.0;
    WriteLine(os, ListRecord(static_cast<int>(curves.size())));
    for (const TzCurve& curve : curves) {
        const double depth = si ? curve.depth * kInToM : curve.depth / 12.0;
        WriteLine(os, I(curve.number, 5) + I(kCurvePoints, 5) + F(depth, 10, 2));
        for (std::size_t j = 0; j < kCurvePoints; ++j)
            WriteLine(os, ListRecord({curve.points.value[j] * stress,
                                      curve.points.movement[j] * movement}));
    }
}

void WriteCallHeadLines(const ShaftCase& shaft, LoadTransferLine line, SettlementFiles& files) {
    if (shaft.chart_pass != 1)
        return;
    const bool si = shaft.si();
    const std::string heading = Blanks(8) + std::string(LineHeading(line));
    if (line == LoadTransferLine::trend) {
        const std::string diameter = LengthLine("SHAFT DIAMETER           =", shaft.diameter, si);
        const std::string length = LengthLine("SHAFT LENGTH             =", shaft.length, si);
        WriteBlankLines(files.qw_stage, 3);
        WriteLine(files.qw_stage,
                  Blanks(8) + "VARIATION DIAMETER       =" + I(shaft.variation, 10));
        WriteLine(files.qw_stage, diameter);
        WriteLine(files.qw_stage, length);
        if (shaft.variation == 1) {
            WriteLine(files.tz_text, diameter);
            WriteLine(files.tz_text, length);
            WriteBlankLines(files.tz_text, 2);
            WriteLine(files.tz_text, heading);
        }
        WriteBlankLines(files.qw_stage, 2);
        WriteLine(files.qw_stage, heading);
        return;
    }
    if (shaft.variation == 1) {
        WriteBlankLines(files.tz_text, 2);
        WriteLine(files.tz_text, heading);
    }
    WriteBlankLines(files.qw_stage, 2);
    WriteLine(files.qw_stage, heading);
}

void WriteQwListings(const ShaftCase& shaft, LoadTransferLine line, const CurvePoints& qw,
                     SettlementFiles& files, std::ostream& tz_data) {
    const bool si = shaft.si();
    const bool first_length = shaft.chart_pass == 1;
    const UnitLabels labels = LabelsFor(shaft.unit_system);
    const double load = si ? kLbToKn : 1.0 / 2000.0;
    const double movement = si ? kInToM : 1.0;

    const auto heading = [&labels](std::ostream& os) {
        WriteBlankLines(os, 1);
        WriteLine(os, Blanks(8) + "TIP   LOAD" + Blanks(8) + "TIP MOVEMENT");
        WriteLine(os, Blanks(12) + std::string(labels.load) + Blanks(15) +
                          std::string(labels.movement));
        WriteBlankLines(os, 1);
    };
    if (first_length)
        heading(files.qw_stage);
    heading(tz_data);

    const bool stage = first_length && line == LoadTransferLine::trend;
    if (stage) {
        const double diameter = si ? shaft.diameter * 0.3048 : shaft.diameter;
        WriteLine(files.plot_q, I(shaft.variation, 5) + F(diameter, 10, 2) + I(kCurvePoints, 5));
        files.rewrite_tz_diam(ListRecord(shaft.variation) + "\n");
    }
    for (std::size_t j = 0; j < kCurvePoints; ++j) {
        const double q = qw.value[j] * load;
        const double w = qw.movement[j] * movement;
        const std::string point = E(q, 18, 4) + E(w, 19, 4);
        if (first_length)
            WriteLine(files.qw_stage, point);
        WriteLine(tz_data, point);
        if (stage)
            WriteLine(files.plot_q, ListRecord({q, w}));
    }
}

void WriteAdditionalTzHeading(std::ostream& report) {
    WriteBlankLines(report, 3);
    WriteLine(report, Blanks(5) + "ADDITIONAL TZ CURVES");
    WriteLine(report, Blanks(5) + Repeat('-', 20));
    WriteBlankLines(report, 2);
    WriteLine(report,
              Blanks(5) +
                  "NOTE: TZ AND QW CURVES DATA ARE AVAILABLE ONLY FOR SAND AND CLAY LAYERS.");
    WriteBlankLines(report, 2);
}

int AdditionalTzCurves(const ShaftCase& shaft, LoadTransferLine line, SettlementFiles& files) {
    const TzGeometry geometry = PrepareLayers(shaft.layers);
    const bool si = shaft.si();
    const double din = 12.0 * shaft.diameter;
    std::vector<TzCurve> curves;
    for (std::size_t i = 0; i < shaft.tz_depths.size(); ++i) {
        TzCurve curve;
        curve.number = static_cast<int>(i) + 1;
        curve.depth = 12.0 * shaft.tz_depths[i];
        if (!StrengthAt(geometry, curve.depth, curve.fmax)) {
            WriteBeyondStrengthCurve(files.report, DeepestPoint(geometry));
            return 2;
        }
        if (i + 1 < shaft.tz_depths.size())
            curve.fmax = ProfileAt(shaft, curve.depth);
        curve.code = AdditionalCurveCode(geometry, curve.depth);
        curve.points = BuildCurve(Family(SideFamilyFor(curve.code)), line, din, curve.fmax);
        curves.push_back(curve);
    }

    const double depth_factor = si ? kInToM : 1.0 / 12.0;
    // The plot file holds one set of additional curves: the trend line of the first case.
    if (line == LoadTransferLine::trend && shaft.variation == 1 && shaft.chart_pass == 1) {
        const double stress = si ? kPsiToKpa : 1.0;
        const double movement = si ? kInToM : 1.0;
        WriteLine(files.plot_t, ListRecord(static_cast<int>(curves.size())));
        for (const TzCurve& curve : curves) {
            WriteCurveHeadLine(files.plot_t, curve.number, curve.depth * depth_factor);
            for (std::size_t j = 0; j < kCurvePoints; ++j)
                WriteLine(files.plot_t, ListRecord({curve.points.value[j] * stress,
                                                    curve.points.movement[j] * movement}));
        }
    }
    WriteBlankLines(files.report, 2);
    WriteLine(files.report, Blanks(8) + std::string(LineHeading(line)));
    WriteTzListing(files.report, curves, si, si ? " M." : "FT.", depth_factor);
    return 0;
}

} // namespace kolmar::engine::settlement
