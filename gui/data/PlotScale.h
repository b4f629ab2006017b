// The arithmetic of the plot window, free of any drawing: the value range of a graph and its
// step, the mapping between values and pixels, the "nice" tick spacing, the curve colours and
// marker shapes, the unit names of the axis captions, the zoom limits, the layout of the
// drawing rectangle and the activation of curves. The painting code and the window build on it.
#pragma once

#include "gui/data/PltData.h"

#include <optional>
#include <string>
#include <vector>

// A visible value range: Left and Right are the X values at the left and right edges of the
// graph area, Top and Bottom the Y values at its top and bottom edges in reading order (the
// larger Y on top for elevations, the smaller one otherwise).
struct TFloatRect {
    double Left = 0.0;
    double Top = 0.0;
    double Right = 0.0;
    double Bottom = 0.0;
    bool operator==(const TFloatRect&) const = default;
};

// ---------------------------------------------------------------------------------------------
// Value range

// The step of a range: 10 to the power floor(log10(Range)), divided by 10 when the fractional
// part of log10(Range) is below log10(3), so that a range spans 3 to 30 steps. 0 for a range
// that is not a positive finite number.
double RangeStep(double Range);

// One axis widened to whole steps.
struct TAxisRange {
    double Min = 0.0;
    double Max = 0.0;
    double Step = 0.0;
};

// Widens [Min, Max] to whole steps of its range: equal ends are first moved apart by 0.01
// each, then the maximum is rounded up and the minimum down to a multiple of the step.
// Nothing when the step is 0 (a range that is not finite).
std::optional<TAxisRange> WidenToSteps(double Min, double Max);

// The full value range of one line set of a graph. The range starts from 0 on both axes (so
// that 0 is always shown), except Y of an elevation graph (Yreversed), which starts from the
// first point, and Y of a graph that asks for its data alone (YFromData: the design charts'
// shaft lengths). Elevations put the larger Y on top. Nothing when a step is 0.
std::optional<TFloatRect> ValueRange(const TGraphPlot& Graph, TLineSet Set = TLineSet::Main);

// Linear mapping of V from [V0, V1] onto [P0, P1], and back. A zero-width source maps to P0.
double MapLinear(double V, double V0, double V1, double P0, double P1);

// ---------------------------------------------------------------------------------------------
// Ticks

// Rounds a raw tick spacing to 1, 2, 5 or 10 times the power of ten not above it: leading
// digit 1 gives 1, 2 to 4 give 2, 5 to 8 give 5, 9 gives 10. 0 for a spacing that is not a
// positive finite number.
double NiceSpacing(double Raw);

// Minor ticks of an axis: every multiple of Spacing from Start * Spacing to Finish * Spacing;
// every fifth one (a multiple of the nice spacing) carries a grid line and a label.
struct TTicks {
    double Spacing = 0.0; // the minor spacing, a fifth of the nice spacing
    long long Start = 0;
    long long Finish = -1; // Finish < Start: no ticks
    bool Empty() const { return Finish < Start; }
    double Value(long long I) const { return static_cast<double>(I) * Spacing; }
    static bool IsLabelled(long long I) { return I % 5 == 0; }
};

// The ticks of the range between A and B (either order) when Intervals labelled intervals fit
// along the axis. No ticks when Intervals < 1 or the range is empty or not finite.
TTicks TicksFor(double A, double B, int Intervals);

// ---------------------------------------------------------------------------------------------
// Curves

// The colour table: entry K mod 17 for the K-th active curve (K from 0).
struct TRgb {
    int R = 0;
    int G = 0;
    int B = 0;
    bool operator==(const TRgb&) const = default;
};
constexpr int CurveColourCount = 17;
TRgb CurveColour(int K);

// The marker shape of a curve: its index + 1 brought into 1..10 (curve index 11 gives 2).
int MarkerShape(int CurveIndex);
// The vertices of a marker shape as angles in degrees, clockwise from straight up: 1 a
// triangle pointing down, 2 a square, 3 and more a regular polygon with a corner at the top.
std::vector<double> MarkerAngles(int Shape);
// The vertices as offsets from the point in pixels for radii Rx, Ry (y grows downwards):
// (Rx sin a, -Ry cos a).
std::vector<TFloatPoint> MarkerVertices(int Shape, double Rx, double Ry);

// At most this many curves are active when a window opens on a graph with LimitActive.
constexpr int MaxActiveCurves = 20;
// Makes every main curve active, then, with LimitActive, curves 21 onwards inactive. Returns
// the number of active curves.
int ActivateCurves(TGraphPlot& Graph);

// ---------------------------------------------------------------------------------------------
// Captions

// The unit name of a unit code for Units 1 (English) or 2 (SI): every "F2" becomes "tons"
// or "kN" if the code has one, else every "F1" ("kips"/"kN"), else every "F" ("lbs"/"kN");
// then likewise "L2" ("ft"/"m"), else "L1" ("in"/"mm"), else "L" ("in"/"m"). Units 3 keeps
// the code.
std::string UnitName(const std::string& Code, int Units);
// An axis caption: the caption, followed by " (" unit name ")" when the code is not empty.
std::string AxisCaption(const std::string& Caption, const std::string& Code, int Units);

// ---------------------------------------------------------------------------------------------
// Zoom

// A zoomed range covers at least this fraction of the full range.
constexpr double MaxZoomFactor = 20.0;

// The range [Lo, Hi] (either order) chosen inside the full range [FullLo, FullHi], widened to
// a twentieth of the full width about its centre when narrower and then shifted inside the
// full range. The result keeps the orientation of the full range (FullLo first).
std::pair<double, double> LimitZoom(double FullLo, double FullHi, double Lo, double Hi);
// Zooming out around the value C: with W the width of the current range, at most half the
// full width, the new range is [C - W, C + W] with C held inside [full low + W, full high - W].
// Keeps the orientation of the full range.
std::pair<double, double> ZoomOutAround(double FullLo, double FullHi, double CurLo, double CurHi,
                                        double C);
// Both axes: a zoom rectangle with corners (X1, Y1) and (X2, Y2) in values, and zooming out.
TFloatRect ZoomTo(const TFloatRect& Full, double X1, double Y1, double X2, double Y2);
TFloatRect ZoomOut(const TFloatRect& Full, const TFloatRect& Current, double X, double Y);

// ---------------------------------------------------------------------------------------------
// Layout

// A rectangle in device pixels, edges included as coordinates.
struct TPixelRect {
    double Left = 0.0;
    double Top = 0.0;
    double Right = 0.0;
    double Bottom = 0.0;
    double Width() const { return Right - Left; }
    double Height() const { return Bottom - Top; }
};

struct TLayoutInput {
    TPixelRect Bounds;  // the drawing rectangle
    double H = 0.0;     // height of the graph font
    double Px = 96.0;   // pixels per inch across
    double Py = 96.0;   // pixels per inch down
    bool XOnTop = true; // the X axis and its caption along the top
    bool HasTitle = false;
    bool TitleOnTop = true;
    bool ShowLayers = false;
    bool ForPrinter = false; // the page: graph to its right edge, fixed title room
};

struct TLayout {
    TPixelRect GraphArea;
    TPixelRect LayersArea; // the soil band; empty without ShowLayers
    bool HasLayers = false;
};

// Places the graph area inside the drawing rectangle: room for the Y caption and labels at the
// left, the X caption and labels along the top or bottom, the user title, and a band of one
// inch at the right for the soil layers.
TLayout LayOut(const TLayoutInput& In);
