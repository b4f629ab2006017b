// Geometry of the shaft elevation view and the 3D view, without any drawing: the shaft
// segments, picture extent, world window and depth read-out of the elevation (screen and
// printed page), and for the 3D view the scene extent and fit, the view state that the mouse
// and the tool buttons change (turns, zoom, pan, zoom window), the size-factor stepping of the
// result diagrams and the text of their value labels. Lengths are in the project's length
// unit (ft or m); angles in degrees.
#pragma once

#include <array>
#include <string>
#include <vector>

class TProgramData;

// ---------------------------------------------------------------------------------------------
// Elevation view. World coordinates: x across the shaft (0 on its axis), y downwards; the
// ground surface lies at y = 2D, so a depth d is drawn at y = d + 2D.

struct TWorldPoint {
    double X = 0.0;
    double Y = 0.0;
};

enum class TSegmentKind { Top, Middle, Bottom, Bell };

// A quadrilateral of the shaft: corners top-left, top-right, bottom-left, bottom-right.
struct TShaftSegment {
    TSegmentKind Kind = TSegmentKind::Middle;
    std::array<TWorldPoint, 4> Corners{};
};

// The shaft as the elevation draws it.
struct TShaftDimensions {
    double D = 0.0; // stem diameter
    double L = 0.0; // shaft length
    double T = 0.0; // ignored top length
    double B = 0.0; // ignored bottom length
    double R = 0.0; // bell base diameter / stem diameter
    double A = 0.0; // bell angle from the vertical
};

// Depth of the last layer's bottom (0 for a table without depths).
double LastLayerBottom(const TProgramData& Project);

// The length the elevation draws. A length below 0.0001 (a project without a proposed length)
// reaches the last layer's bottom; SetInProject tells whether that length belongs in the
// project: only for a proposed-length project (METHOD 2), since a design-load project carries
// its mode by having no length and would otherwise be saved as a proposed length.
struct TElevationLength {
    double L = 0.0;
    bool SetInProject = false;
};
TElevationLength ElevationLength(const TProgramData& Project);

// The project's shaft with length L.
TShaftDimensions ShaftDimensions(const TProgramData& Project, double L);

// Bell height of the elevation: D (R - 1) / 2 / tan(A), 0 unless A > 0 and R > 1.
double SideBellHeight(double D, double R, double A);

// The four segments stacked downwards from the ground line (y = 2D), each D wide and centred on
// the axis: the top portion (height T), the middle part (L - B - T - bell height, never
// negative), the bottom portion (height B) and the bell, a trapezoid whose top is D and whose
// bottom is R D wide (D wide without a bell, of height 0).
std::vector<TShaftSegment> BuildShaftSegments(const TShaftDimensions& Shaft);

// World extent of the picture.
struct TExtent {
    double DLeft = 0.0, DRight = 0.0, DTop = 0.0, DBottom = 0.0;
};
// Left and right from the segments' corners; top the smallest y (0 unless a corner lies above);
// bottom the largest y, raised to LastBottom when that is larger, then increased by 3D.
TExtent ShaftExtent(const std::vector<TShaftSegment>& Segments, double LastBottom, double D);

// World window shown in a client area of Width x Height pixels: the extent widened to the
// area's aspect ratio (sideways when the area is relatively wider, downwards otherwise).
// NoDraw when it cannot be computed (an empty extent or area, or a value that is not finite).
struct TWorldWindow {
    double Left = 0.0, Right = 0.0, Top = 0.0, Bottom = 0.0;
    bool NoDraw = true;
};
TWorldWindow WorldWindow(const TExtent& Extent, int Width, int Height);

// Linear maps between the world window and the client area's pixels (rounded).
int PixelX(const TWorldWindow& W, double X, int Width);
int PixelY(const TWorldWindow& W, double Y, int Height);
double WorldY(const TWorldWindow& W, int PixelRow, int Height);

// Depth under pixel row Row: the world y of the row less 2D. The row the ground line is drawn
// on reads as the ground itself (a pixel may span more than the read-out's 0.1).
double DepthAtRow(const TWorldWindow& W, int Row, int Height, double D);
// "  Depth: " and the depth with 1 decimal (a depth that rounds to zero is 0.0).
std::string DepthReadout(double Depth);

// Name of a soil type in the elevation ("Sand", "Clay", ... ; empty for an unknown code).
const char* SideSoilName(int SoilType);
// Label of layer row Row (from 0): "Layer 1; depth= 0.00 - 20.00 ft; Clay".
std::string SideLayerLabel(int Row, double Top, double Bottom, int Units, int SoilType);

// The printed page: the frame takes 10 % to 90 % of the page both ways. Depths and the shaft
// share one vertical scale (the world extent over 80 % of the page height) so that the shaft
// stands in its layers; x has the same scale, centred on the page.
struct TPageMap {
    double PageWidth = 0.0, PageHeight = 0.0;
    TExtent Extent;
    double D = 0.0;
    bool Valid() const;
    double DepthY(double Depth) const;
    double SegmentX(double X) const;
    double SegmentY(double Y) const;
};

// ---------------------------------------------------------------------------------------------
// 3D view. Scene coordinates: x along the shaft axis, upwards (a depth d lies at x = -d); y and
// z horizontal.

struct TVec3 {
    double X = 0.0, Y = 0.0, Z = 0.0;
};

struct TSceneExtent {
    double D = 0.0;          // stem diameter
    double L = 0.0;          // shaft length: PD, or the last layer's bottom without a length
    double W = 0.0;          // horizontal half-width: 12.5 D, or the water depth when larger
    double Deepest = 0.0;    // the larger of L and every layer's bottom
    double Horizontal = 0.0; // horizontal extent of the scene, 2 W
    double Size = 0.0;       // the largest of the depth range and the horizontal extent
    TVec3 CentrePan;         // the pan offset that centres the scene
};
TSceneExtent SceneExtent(const TProgramData& Project);

// Pixels per world unit at zoom 1: the smaller of (width - 50) / horizontal extent and
// (height - 50) / scene size, each 1 when its divisor is 0 (a window smaller than the margin
// counts as 1 pixel).
double FitScale(const TSceneExtent& Extent, int Width, int Height);

// Bell height of the 3D shaft: |D RATIO - D| / 2 / tan(BELANGL), 0 unless RATIO > 0 and
// BELANGL > 0.
double BlockBellHeight(double D, double RATIO, double BELANGL);

// The oblique turn the 3D view opens with, and to which Restart View returns, in degrees: 30
// about the shaft's axis (the scene's x, upright on the screen), so that the diagrams in the
// plane y = 0 show their width, and 20 about y, the screen's horizontal, tipping the ground
// towards the viewer so that the layers show their tops. None in the screen's plane (z), which
// would lean the shaft.
constexpr double InitialAngleZ = 0.0;
constexpr double InitialAngleY = 20.0;
constexpr double InitialAngleX = -30.0;

// The turns, scale and pan of the 3D view.
struct TViewState {
    // The user's turns about z, y and x, in degrees. The view opens turned obliquely, so that
    // the shaft and the layers show their depth.
    double AngleZ = InitialAngleZ, AngleY = InitialAngleY, AngleX = InitialAngleX;
    double Fit = 1.0; // pixels per world unit at zoom 1
    // The user's zoom: a running product of the buttons' factors, kept in extended precision
    // (Zoom In then Zoom Out leaves 1.4142 x 0.7071135624381275633, a little above 1).
    long double Zoom = 1.0L;
    TVec3 Pan; // world offset, applied before scaling
    double Scale() const { return static_cast<double>(Zoom) * Fit; }
};

// The buttons' factors are doubles; the zoom multiplies them in extended precision, in which
// their product is not 1.
constexpr double ZoomInFactor = 1.4142;
constexpr double ZoomOutFactor = 0.7071135624381275633;
void ZoomIn(TViewState& State);
void ZoomOut(TViewState& State);
// Back to the opening view: the oblique turn, zoom 1, the centred pan.
void RestartView(TViewState& State, const TVec3& CentrePan);

// Model-view matrix, column-major as OpenGL takes it: the scene turned a quarter turn about z
// so that its axis stands upright with the ground at the top (x up, y to the right, z away from
// the viewer), then the user's turns about z, y and x, the scale, and the pan. One unit of the
// eye space is one pixel (the projection spans the window in pixels).
using TMatrix4 = std::array<double, 16>;
TMatrix4 ModelViewMatrix(const TViewState& State);
// Eye-space position of a scene point (pixels from the window centre, y up).
TVec3 Transform(const TMatrix4& M, const TVec3& P);
// A movement on the screen (pixels, right and up positive) in scene axes, in world units.
TVec3 ScreenToWorld(const TViewState& State, double Dx, double Dy);

// Mouse drags, from the state recorded at the press. Movements are in pixels, right and up
// positive; with Shift only the larger component counts.
TVec3 PanDrag(const TViewState& AtPress, double Dx, double Dy, bool Shift);
// Zoom by a vertical drag of Rows pixels (down positive) in a window Height pixels high:
// recorded zoom x (1 + Rows / Height), kept above a twentieth of the recorded zoom.
long double ZoomDrag(long double ZoomAtPress, double Rows, int Height);
// Turns of 90 degrees per window width and per window height, about the screen axis at right
// angles to the movement, shared out over the scene's z, y and x axes.
void RotateDrag(TViewState& State, const TViewState& AtPress, double Dx, double Dy, int Width,
                int Height, bool Shift);
// Zoom window: the box (pixel corners, y down) comes to the window's centre and fills it. A box
// without width or height changes nothing and returns false.
bool ZoomToBox(TViewState& State, double X0, double Y0, double X1, double Y1, int Width,
               int Height);

// Size factor of the result diagrams: steps 1-2-...-9 per decade, up (+1) or down (-1). A factor
// of 0 or less (or not finite) becomes 1.
double StepSizeFactor(double Factor, int Direction);
double ValidSizeFactor(double Factor);

// Value label: 3 decimals in a field of 10, or, when |v| <= 0.001 or |v| >= 100000, exponent
// form with 4 significant digits and 2 exponent digits ("1.235E+05").
std::string ValueLabel(double V);

// Fixed-point text with Decimals decimals, "." whatever the locale.
std::string FixedText(double V, int Decimals);
