// Geometry of the shaft elevation view and the 3D view: shaft segments, extents, world window,
// page map, read-out, scene extent and fit, view state with its mouse and button operations,
// size-factor stepping and value labels.
#include "gui/data/ShaftGeometry.h"

#include "gui/data/DataUnit.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

constexpr double kDegree = 3.14159265358979323846 / 180.0;

bool Finite(double V) {
    return std::isfinite(V);
}

// Row-major 3x3 rotation.
using TMatrix3 = std::array<std::array<double, 3>, 3>;

TMatrix3 Multiply(const TMatrix3& A, const TMatrix3& B) {
    TMatrix3 C{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k)
                C[i][j] += A[i][k] * B[k][j];
    return C;
}

TMatrix3 Turn(double Degrees, int Axis) {
    const double c = std::cos(Degrees * kDegree);
    const double s = std::sin(Degrees * kDegree);
    switch (Axis) {
    case 0:
        return {{{1, 0, 0}, {0, c, -s}, {0, s, c}}};
    case 1:
        return {{{c, 0, s}, {0, 1, 0}, {-s, 0, c}}};
    default:
        return {{{c, -s, 0}, {s, c, 0}, {0, 0, 1}}};
    }
}

// The quarter turn that stands the shaft upright: x up, y right, z away from the viewer.
constexpr TMatrix3 kUpright{{{0, 1, 0}, {1, 0, 0}, {0, 0, -1}}};

// Base turn and the user's turns about z, y and x.
TMatrix3 Rotation(const TViewState& S) {
    return Multiply(Multiply(Multiply(kUpright, Turn(S.AngleZ, 2)), Turn(S.AngleY, 1)),
                    Turn(S.AngleX, 0));
}

// Rotation transposed, applied to a screen vector: the same vector in scene axes.
TVec3 ToScene(const TMatrix3& R, double X, double Y, double Z) {
    return {R[0][0] * X + R[1][0] * Y + R[2][0] * Z, R[0][1] * X + R[1][1] * Y + R[2][1] * Z,
            R[0][2] * X + R[1][2] * Y + R[2][2] * Z};
}

void KeepLarger(double& Dx, double& Dy) {
    if (std::fabs(Dx) >= std::fabs(Dy))
        Dy = 0.0;
    else
        Dx = 0.0;
}

std::string ToChars(double V, std::chars_format Format, int Precision) {
    std::array<char, 64> buf{};
    const auto result = std::to_chars(buf.data(), buf.data() + buf.size(), V, Format, Precision);
    return std::string(buf.data(), result.ptr);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Elevation

double LastLayerBottom(const TProgramData& Project) {
    return Project.D.RowCount() > 0 ? Project.D[Project.D.RowCount() - 1].Depth : 0.0;
}

TElevationLength ElevationLength(const TProgramData& Project) {
    if (Project.PD >= 0.0001)
        return {Project.PD, false};
    return {LastLayerBottom(Project), Project.METHOD == 2};
}

TShaftDimensions ShaftDimensions(const TProgramData& Project, double L) {
    return {Project.DSTART, L, Project.TOPLENG, Project.BS, Project.RATIO, Project.BELANGL};
}

double SideBellHeight(double D, double R, double A) {
    if (!(A > 0.0 && R > 1.0))
        return 0.0;
    return D * (R - 1.0) / 2.0 / std::tan(3.1416 * A / 180.0);
}

std::vector<TShaftSegment> BuildShaftSegments(const TShaftDimensions& S) {
    const double H = SideBellHeight(S.D, S.R, S.A);
    const double M = std::max(0.0, S.L - S.B - S.T - H);
    const double half = S.D / 2.0;
    const bool bell = H > 0.0;
    const double baseHalf = bell ? S.R * S.D / 2.0 : half;

    std::vector<TShaftSegment> segments;
    double y = 2.0 * S.D;
    auto stack = [&](TSegmentKind Kind, double Height, double BottomHalf) {
        TShaftSegment s;
        s.Kind = Kind;
        s.Corners = {TWorldPoint{-half, y}, TWorldPoint{half, y},
                     TWorldPoint{-BottomHalf, y + Height}, TWorldPoint{BottomHalf, y + Height}};
        segments.push_back(s);
        y += Height;
    };
    stack(TSegmentKind::Top, S.T, half);
    stack(TSegmentKind::Middle, M, half);
    stack(TSegmentKind::Bottom, S.B, half);
    stack(TSegmentKind::Bell, H, baseHalf);
    return segments;
}

TExtent ShaftExtent(const std::vector<TShaftSegment>& Segments, double LastBottom, double D) {
    TExtent e;
    bool first = true;
    double maxY = 0.0;
    for (const TShaftSegment& s : Segments)
        for (const TWorldPoint& p : s.Corners) {
            if (first) {
                e.DLeft = e.DRight = p.X;
                maxY = p.Y;
                first = false;
            }
            e.DLeft = std::min(e.DLeft, p.X);
            e.DRight = std::max(e.DRight, p.X);
            e.DTop = std::min(e.DTop, p.Y);
            maxY = std::max(maxY, p.Y);
        }
    e.DBottom = std::max(maxY, LastBottom) + 3.0 * D;
    return e;
}

TWorldWindow WorldWindow(const TExtent& E, int Width, int Height) {
    TWorldWindow w{E.DLeft, E.DRight, E.DTop, E.DBottom, true};
    const double a =
        (static_cast<double>(Width) / Height) / ((E.DRight - E.DLeft) / (E.DBottom - E.DTop));
    if (!Finite(a) || a <= 0.0)
        return w;
    if (a >= 1.0) {
        w.Left *= a;
        w.Right *= a;
    } else {
        w.Top /= a;
        w.Bottom /= a;
    }
    w.NoDraw = !(Finite(w.Left) && Finite(w.Right) && Finite(w.Top) && Finite(w.Bottom) &&
                 w.Right > w.Left && w.Bottom > w.Top);
    return w;
}

int PixelX(const TWorldWindow& W, double X, int Width) {
    return static_cast<int>(std::lround((X - W.Left) / (W.Right - W.Left) * Width));
}

int PixelY(const TWorldWindow& W, double Y, int Height) {
    return static_cast<int>(std::lround((Y - W.Top) / (W.Bottom - W.Top) * Height));
}

double WorldY(const TWorldWindow& W, int PixelRow, int Height) {
    return W.Top + static_cast<double>(PixelRow) / Height * (W.Bottom - W.Top);
}

double DepthAtRow(const TWorldWindow& W, int Row, int Height, double D) {
    if (Row == PixelY(W, 2.0 * D, Height))
        return 0.0;
    return WorldY(W, Row, Height) - 2.0 * D;
}

std::string DepthReadout(double Depth) {
    return "  Depth: " + FixedText(Depth, 1);
}

const char* SideSoilName(int SoilType) {
    switch (SoilType) {
    case kolmar::kSand:
        return "Sand";
    case kolmar::kClay:
        return "Clay";
    case kolmar::kClayShale:
        return "Shale";
    case kolmar::kStrongRockSideOrBase:
    case kolmar::kStrongRockSideAndBase:
        return "Strong Rock";
    case kolmar::kDecomposedRock:
        return "Decomposed Rock/Gravel";
    case kolmar::kWeakRock:
        return "Weak Rock";
    case kolmar::kGravellySand:
        return "Gravelly Sand";
    case kolmar::kGravel:
        return "Gravel";
    default:
        return "";
    }
}

std::string SideLayerLabel(int Row, double Top, double Bottom, int Units, int SoilType) {
    return "Layer " + std::to_string(Row + 1) + "; depth= " + FixedText(Top, 2) + " - " +
           FixedText(Bottom, 2) + (Units == 2 ? " m" : " ft") + "; " + SideSoilName(SoilType);
}

bool TPageMap::Valid() const {
    const double span = Extent.DBottom - Extent.DTop;
    return Finite(span) && span > 0.0 && Finite(Extent.DLeft) && Finite(Extent.DRight) &&
           PageWidth > 0.0 && PageHeight > 0.0;
}

double TPageMap::DepthY(double Depth) const {
    return SegmentY(Depth + 2.0 * D);
}

double TPageMap::SegmentX(double X) const {
    return 0.5 * PageWidth + 0.8 * PageHeight * X / (Extent.DBottom - Extent.DTop);
}

double TPageMap::SegmentY(double Y) const {
    return 0.1 * PageHeight + 0.8 * PageHeight * (Y - Extent.DTop) / (Extent.DBottom - Extent.DTop);
}

// ---------------------------------------------------------------------------------------------
// 3D view

TSceneExtent SceneExtent(const TProgramData& Project) {
    TSceneExtent e;
    e.D = Project.DSTART;
    const double lastBottom = LastLayerBottom(Project);
    e.L = (Project.METHOD == 1 || !(Project.PD > 0.0)) ? lastBottom : Project.PD;
    e.W = 12.5 * e.D;
    if (Project.WTD > 0.0 && Project.WTD > e.W)
        e.W = Project.WTD;
    e.Deepest = e.L;
    for (const TSoilLayer& layer : Project.D)
        e.Deepest = std::max(e.Deepest, layer.Depth);
    e.Horizontal = 2.0 * e.W;
    e.Size = std::max(std::fabs(e.Deepest), e.Horizontal);
    e.CentrePan = {e.Deepest / 2.0, 0.0, 0.0};
    return e;
}

double FitScale(const TSceneExtent& E, int Width, int Height) {
    const double w = std::max(1.0, static_cast<double>(Width) - 50.0);
    const double h = std::max(1.0, static_cast<double>(Height) - 50.0);
    const double sx = E.Horizontal != 0.0 ? w / E.Horizontal : 1.0;
    const double sy = E.Size != 0.0 ? h / E.Size : 1.0;
    const double fit = std::min(sx, sy);
    return Finite(fit) && fit > 0.0 ? fit : 1.0;
}

double BlockBellHeight(double D, double RATIO, double BELANGL) {
    if (!(RATIO > 0.0 && BELANGL > 0.0))
        return 0.0;
    return std::fabs(D * RATIO - D) / 2.0 / std::tan(BELANGL * 3.14 / 180.0);
}

void ZoomIn(TViewState& State) {
    State.Zoom *= ZoomInFactor;
}

void ZoomOut(TViewState& State) {
    State.Zoom *= ZoomOutFactor;
}

void RestartView(TViewState& State, const TVec3& CentrePan) {
    State.AngleZ = InitialAngleZ;
    State.AngleY = InitialAngleY;
    State.AngleX = InitialAngleX;
    State.Zoom = 1.0L;
    State.Pan = CentrePan;
}

TMatrix4 ModelViewMatrix(const TViewState& State) {
    const TMatrix3 R = Rotation(State);
    const double s = State.Scale();
    TMatrix4 m{};
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col)
            m[static_cast<std::size_t>(col * 4 + row)] = R[row][col] * s;
        m[static_cast<std::size_t>(12 + row)] =
            s * (R[row][0] * State.Pan.X + R[row][1] * State.Pan.Y + R[row][2] * State.Pan.Z);
    }
    m[15] = 1.0;
    return m;
}

TVec3 Transform(const TMatrix4& M, const TVec3& P) {
    return {M[0] * P.X + M[4] * P.Y + M[8] * P.Z + M[12],
            M[1] * P.X + M[5] * P.Y + M[9] * P.Z + M[13],
            M[2] * P.X + M[6] * P.Y + M[10] * P.Z + M[14]};
}

TVec3 ScreenToWorld(const TViewState& State, double Dx, double Dy) {
    // The model-view's linear part is s R; its transpose over s squared undoes it.
    const double s = State.Scale();
    const TVec3 v = ToScene(Rotation(State), Dx, Dy, 0.0);
    return {v.X / s, v.Y / s, v.Z / s};
}

TVec3 PanDrag(const TViewState& AtPress, double Dx, double Dy, bool Shift) {
    if (Shift)
        KeepLarger(Dx, Dy);
    const TVec3 d = ScreenToWorld(AtPress, Dx, Dy);
    return {AtPress.Pan.X + d.X, AtPress.Pan.Y + d.Y, AtPress.Pan.Z + d.Z};
}

long double ZoomDrag(long double ZoomAtPress, double Rows, int Height) {
    if (Height <= 0)
        return ZoomAtPress;
    return ZoomAtPress * std::max(0.05, 1.0 + Rows / Height);
}

void RotateDrag(TViewState& State, const TViewState& AtPress, double Dx, double Dy, int Width,
                int Height, bool Shift) {
    if (Shift)
        KeepLarger(Dx, Dy);
    if (Width <= 0 || Height <= 0 || (Dx == 0.0 && Dy == 0.0)) {
        State.AngleZ = AtPress.AngleZ;
        State.AngleY = AtPress.AngleY;
        State.AngleX = AtPress.AngleX;
        return;
    }
    const double ah = 90.0 * Dx / Width;
    const double av = 90.0 * Dy / Height;
    const double magnitude = std::hypot(ah, av);
    // The turn's axis lies in the screen at right angles to the movement: a drag to the right
    // turns about the screen's vertical, a drag upwards about its horizontal.
    const TVec3 axis = ToScene(Rotation(AtPress), -Dy, Dx, 0.0);
    const double length = std::sqrt(axis.X * axis.X + axis.Y * axis.Y + axis.Z * axis.Z);
    State.AngleZ = AtPress.AngleZ + magnitude * axis.Z / length;
    State.AngleY = AtPress.AngleY + magnitude * axis.Y / length;
    State.AngleX = AtPress.AngleX + magnitude * axis.X / length;
}

bool ZoomToBox(TViewState& State, double X0, double Y0, double X1, double Y1, int Width,
               int Height) {
    const double boxWidth = std::fabs(X1 - X0);
    const double boxHeight = std::fabs(Y1 - Y0);
    if (boxWidth == 0.0 || boxHeight == 0.0 || Width <= 0 || Height <= 0)
        return false;
    const double cx = (X0 + X1) / 2.0;
    const double cy = (Y0 + Y1) / 2.0;
    // Move the box centre to the window centre (screen y grows downwards here).
    const TVec3 d = ScreenToWorld(State, Width / 2.0 - cx, cy - Height / 2.0);
    State.Pan = {State.Pan.X + d.X, State.Pan.Y + d.Y, State.Pan.Z + d.Z};
    State.Zoom *= std::min(Height / boxHeight, Width / boxWidth);
    return true;
}

double ValidSizeFactor(double Factor) {
    return Finite(Factor) && Factor > 0.0 ? Factor : 1.0;
}

double StepSizeFactor(double Factor, int Direction) {
    if (!(Finite(Factor) && Factor > 0.0))
        return 1.0;
    const double e = std::pow(10.0, std::floor(std::log10(Factor)));
    // A hair of tolerance so that 0.3 / 0.1 counts as 3, not 2.9999999999999996.
    const double m = std::floor(Factor / e * (1.0 + 1e-9));
    double result = 0.0;
    if (Direction > 0)
        result = m >= 10.0 ? 20.0 * e : (m + 1.0) * e;
    else
        result = m <= 1.0 ? 0.9 * e : (m - 1.0) * e;
    // Keep the decimal value the sequence means (0.8, not 0.8000000000000002).
    const double digits = std::pow(10.0, 12.0 - std::floor(std::log10(result)));
    if (Finite(digits) && Finite(result * digits))
        result = std::round(result * digits) / digits;
    return ValidSizeFactor(result);
}

std::string ValueLabel(double V) {
    const double a = std::fabs(V);
    if (a <= 0.001 || a >= 100000.0) {
        std::string s = ToChars(V, std::chars_format::scientific, 3);
        for (char& c : s)
            if (c == 'e')
                c = 'E';
        return s;
    }
    std::string s = ToChars(V, std::chars_format::fixed, 3);
    if (s.size() < 10)
        s.insert(0, 10 - s.size(), ' ');
    return s;
}

std::string FixedText(double V, int Decimals) {
    std::string s = ToChars(V, std::chars_format::fixed, Decimals);
    // A negative value that rounds to zero reads as zero.
    if (!s.empty() && s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos)
        s.erase(0, 1);
    return s;
}
