// The arithmetic of the plot window: value ranges and steps, nice tick spacing, colours,
// marker shapes, unit names, zoom limits and the layout of the drawing rectangle.
#include "gui/data/PlotScale.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace {

// Relative slack when rounding a quotient that should be whole (0.3 / 0.1 is 2.9999...).
constexpr double kWholeSlack = 1e-9;

double FloorWhole(double Q) {
    return std::floor(Q + kWholeSlack * std::max(1.0, std::abs(Q)));
}

double CeilWhole(double Q) {
    return std::ceil(Q - kWholeSlack * std::max(1.0, std::abs(Q)));
}

// Replaces every occurrence of Token in Text by Name; true when there was one.
bool ReplaceAll(std::string& Text, const std::string& Token, const std::string& Name) {
    bool found = false;
    for (std::size_t at = Text.find(Token); at != std::string::npos;
         at = Text.find(Token, at + Name.size())) {
        Text.replace(at, Token.size(), Name);
        found = true;
    }
    return found;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Value range

double RangeStep(double Range) {
    if (!std::isfinite(Range) || Range <= 0.0)
        return 0.0;
    const double lg = std::log10(Range);
    const double whole = std::floor(lg);
    double step = std::pow(10.0, whole);
    // A range of exactly 3, 30, 300 ... takes the larger step, whatever the rounding of log10.
    if (lg - whole < std::log10(3.0) - 1e-12)
        step /= 10.0;
    return std::isfinite(step) ? step : 0.0;
}

std::optional<TAxisRange> WidenToSteps(double Min, double Max) {
    if (!std::isfinite(Min) || !std::isfinite(Max))
        return std::nullopt;
    if (Min > Max)
        std::swap(Min, Max);
    if (Min == Max) {
        Min -= 0.01;
        Max += 0.01;
    }
    const double step = RangeStep(Max - Min);
    if (step == 0.0)
        return std::nullopt;
    // Rounding outwards keeps every value inside the range, negative elevations included.
    TAxisRange range;
    range.Step = step;
    range.Min = FloorWhole(Min / step) * step;
    range.Max = CeilWhole(Max / step) * step;
    return range;
}

std::optional<TFloatRect> ValueRange(const TGraphPlot& Graph, TLineSet Set) {
    int lines = 0;
    switch (Set) {
    case TLineSet::Main:
        lines = Graph.LineCount();
        break;
    case TLineSet::Layer:
        lines = Graph.LayerLineCount();
        break;
    case TLineSet::Second:
        lines = Graph.LineCount2();
        break;
    case TLineSet::Third:
        lines = Graph.LineCount3();
        break;
    }
    auto lineAt = [&](int I) -> const TLine& {
        switch (Set) {
        case TLineSet::Layer:
            return Graph.LayerLines(I);
        case TLineSet::Second:
            return Graph.Lines2(I);
        case TLineSet::Third:
            return Graph.Lines3(I);
        default:
            return Graph.Lines(I);
        }
    };

    double xMin = 0.0, xMax = 0.0, yMin = 0.0, yMax = 0.0;
    if (Graph.Yreversed || Graph.YFromData)
        for (int i = 0; i < lines; ++i)
            if (!lineAt(i).Points.empty()) {
                yMin = yMax = lineAt(i).Points.front().Y;
                break;
            }
    for (int i = 0; i < lines; ++i)
        for (const TFloatPoint& p : lineAt(i).Points) {
            xMin = std::min(xMin, p.X);
            xMax = std::max(xMax, p.X);
            yMin = std::min(yMin, p.Y);
            yMax = std::max(yMax, p.Y);
        }
    const std::optional<TAxisRange> x = WidenToSteps(xMin, xMax);
    const std::optional<TAxisRange> y = WidenToSteps(yMin, yMax);
    if (!x || !y)
        return std::nullopt;
    TFloatRect r;
    r.Left = x->Min;
    r.Right = x->Max;
    r.Top = Graph.Yreversed ? y->Max : y->Min;
    r.Bottom = Graph.Yreversed ? y->Min : y->Max;
    return r;
}

double MapLinear(double V, double V0, double V1, double P0, double P1) {
    if (V1 == V0)
        return P0;
    return P0 + (V - V0) / (V1 - V0) * (P1 - P0);
}

// ---------------------------------------------------------------------------------------------
// Ticks

double NiceSpacing(double Raw) {
    if (!std::isfinite(Raw) || Raw <= 0.0)
        return 0.0;
    double e = std::pow(10.0, std::floor(std::log10(Raw)));
    // log10 may land a hair off a power of ten: keep e the power not above Raw.
    if (e > Raw * (1.0 + kWholeSlack))
        e /= 10.0;
    int f = static_cast<int>(FloorWhole(Raw / e));
    if (f >= 10) {
        e *= 10.0;
        f = static_cast<int>(FloorWhole(Raw / e));
    }
    if (f <= 1)
        return e;
    if (f <= 4)
        return 2.0 * e;
    if (f <= 8)
        return 5.0 * e;
    return 10.0 * e;
}

TTicks TicksFor(double A, double B, int Intervals) {
    TTicks ticks;
    if (Intervals < 1 || !std::isfinite(A) || !std::isfinite(B) || A == B)
        return ticks;
    const double lo = std::min(A, B), hi = std::max(A, B);
    const double nice = NiceSpacing((hi - lo) / Intervals);
    if (nice == 0.0)
        return ticks;
    ticks.Spacing = nice / 5.0;
    const double start = CeilWhole(lo / ticks.Spacing);
    const double finish = FloorWhole(hi / ticks.Spacing);
    // A handful of labelled intervals means a few dozen minor ticks; anything far beyond that
    // comes from values the axis cannot show.
    if (!(finish - start < 100000.0) || std::abs(start) > 1e15)
        return TTicks{};
    ticks.Start = static_cast<long long>(start);
    ticks.Finish = static_cast<long long>(finish);
    return ticks;
}

// ---------------------------------------------------------------------------------------------
// Curves

// Every entry reads on white paper: its contrast ratio against white is at least 3:1.
TRgb CurveColour(int K) {
    static constexpr std::array<TRgb, CurveColourCount> kColours = {{
        {0, 0, 0},       // black
        {0, 0, 255},     // blue
        {255, 0, 0},     // red
        {0, 128, 0},     // green
        {128, 0, 128},   // purple
        {128, 0, 0},     // maroon
        {0, 0, 128},     // navy
        {255, 0, 255},   // fuchsia
        {128, 128, 0},   // olive
        {0, 128, 128},   // teal
        {128, 128, 128}, // gray
        {0, 160, 0},     // green, darker than lime so that it reads on white
        {128, 128, 128}, // gray
        {204, 102, 0},   // dark orange
        {112, 128, 144}, // slate grey
        {184, 134, 11},  // dark goldenrod
        {0, 139, 139},   // dark cyan
    }};
    const int k = ((K % CurveColourCount) + CurveColourCount) % CurveColourCount;
    return kColours[static_cast<std::size_t>(k)];
}

int MarkerShape(int CurveIndex) {
    const int n = CurveIndex + 1;
    return n >= 1 ? (n - 1) % 10 + 1 : 1;
}

std::vector<double> MarkerAngles(int Shape) {
    if (Shape <= 1)
        return {180.0, 300.0, 60.0};
    if (Shape == 2)
        return {45.0, 135.0, 225.0, 315.0};
    std::vector<double> angles;
    for (int j = 0; j < Shape; ++j)
        angles.push_back(j * 360.0 / Shape);
    return angles;
}

std::vector<TFloatPoint> MarkerVertices(int Shape, double Rx, double Ry) {
    std::vector<TFloatPoint> vertices;
    for (double a : MarkerAngles(Shape)) {
        const double rad = a * std::numbers::pi / 180.0;
        vertices.push_back({Rx * std::sin(rad), -Ry * std::cos(rad)});
    }
    return vertices;
}

int ActivateCurves(TGraphPlot& Graph) {
    int active = 0;
    for (int i = 0; i < Graph.LineCount(); ++i) {
        TLine& line = Graph.Lines(i);
        line.Active = !(Graph.LimitActive && i >= MaxActiveCurves);
        active += line.Active ? 1 : 0;
    }
    return active;
}

// ---------------------------------------------------------------------------------------------
// Captions

std::string UnitName(const std::string& Code, int Units) {
    if (Units != 1 && Units != 2)
        return Code;
    const bool english = Units == 1;
    std::string text = Code;
    if (!ReplaceAll(text, "F2", english ? "tons" : "kN") &&
        !ReplaceAll(text, "F1", english ? "kips" : "kN"))
        ReplaceAll(text, "F", english ? "lbs" : "kN");
    if (!ReplaceAll(text, "L2", english ? "ft" : "m") &&
        !ReplaceAll(text, "L1", english ? "in" : "mm"))
        ReplaceAll(text, "L", english ? "in" : "m");
    return text;
}

std::string AxisCaption(const std::string& Caption, const std::string& Code, int Units) {
    if (Code.empty())
        return Caption;
    return Caption + " (" + UnitName(Code, Units) + ")";
}

// ---------------------------------------------------------------------------------------------
// Zoom

std::pair<double, double> LimitZoom(double FullLo, double FullHi, double Lo, double Hi) {
    const double fMin = std::min(FullLo, FullHi), fMax = std::max(FullLo, FullHi);
    double nMin = std::min(Lo, Hi), nMax = std::max(Lo, Hi);
    const double fullWidth = fMax - fMin;
    if (fullWidth > MaxZoomFactor * (nMax - nMin)) {
        const double centre = (nMin + nMax) / 2.0;
        const double half = fullWidth / MaxZoomFactor / 2.0;
        nMin = centre - half;
        nMax = centre + half;
        if (nMin < fMin) {
            nMax += fMin - nMin;
            nMin = fMin;
        }
        if (nMax > fMax) {
            nMin -= nMax - fMax;
            nMax = fMax;
        }
    }
    return FullLo <= FullHi ? std::pair{nMin, nMax} : std::pair{nMax, nMin};
}

std::pair<double, double> ZoomOutAround(double FullLo, double FullHi, double CurLo, double CurHi,
                                        double C) {
    const double fMin = std::min(FullLo, FullHi), fMax = std::max(FullLo, FullHi);
    const double w = std::min(std::abs(CurHi - CurLo), (fMax - fMin) / 2.0);
    const double c = std::clamp(C, fMin + w, fMax - w);
    return FullLo <= FullHi ? std::pair{c - w, c + w} : std::pair{c + w, c - w};
}

TFloatRect ZoomTo(const TFloatRect& Full, double X1, double Y1, double X2, double Y2) {
    TFloatRect r;
    std::tie(r.Left, r.Right) = LimitZoom(Full.Left, Full.Right, X1, X2);
    std::tie(r.Top, r.Bottom) = LimitZoom(Full.Top, Full.Bottom, Y1, Y2);
    return r;
}

TFloatRect ZoomOut(const TFloatRect& Full, const TFloatRect& Current, double X, double Y) {
    TFloatRect r;
    std::tie(r.Left, r.Right) =
        ZoomOutAround(Full.Left, Full.Right, Current.Left, Current.Right, X);
    std::tie(r.Top, r.Bottom) =
        ZoomOutAround(Full.Top, Full.Bottom, Current.Top, Current.Bottom, Y);
    return r;
}

// ---------------------------------------------------------------------------------------------
// Layout

TLayout LayOut(const TLayoutInput& In) {
    const double h = In.H;
    const double w = In.Bounds.Width();
    const double ht = In.Bounds.Height();
    TPixelRect g;
    // Left: the turned Y caption and labels, then the tick room.
    g.Left = 2 * h + In.Px / 8 + h / 8;
    g.Right = In.ForPrinter ? w : w - In.Px / 4 - h / 2;
    if (In.XOnTop) {
        g.Top = 2 * h + In.Py / 8 + h / 8;
        g.Bottom = ht - In.Py / 4 - h / 2;
    } else {
        g.Top = h / 2 + In.Py / 4;
        g.Bottom = ht - 2 * h - In.Py / 8 - h / 8;
    }
    if (In.HasTitle) {
        if (In.TitleOnTop)
            g.Top += In.ForPrinter ? In.Py / 4 : h / 8 + h;
        else
            g.Bottom -= In.ForPrinter ? In.Py / 2 : h;
    }
    TLayout layout;
    if (In.ShowLayers) {
        const double oldRight = g.Right;
        g.Right -= In.Px;
        layout.HasLayers = true;
        layout.LayersArea = {oldRight - In.Px + In.Px / 5, g.Top, oldRight, g.Bottom};
    }
    auto shift = [&](TPixelRect& R) {
        R.Left += In.Bounds.Left;
        R.Right += In.Bounds.Left;
        R.Top += In.Bounds.Top;
        R.Bottom += In.Bounds.Top;
    };
    shift(g);
    layout.GraphArea = g;
    if (layout.HasLayers)
        shift(layout.LayersArea);
    return layout;
}
