// Result graphs of a run: TGraphPlot holds the curves of one result plot in four line sets
// (main curves, soil layer bands, a second and a third set) and TLine one curve of it;
// TResultGraphs is the fixed set of 26 graphs of the main window. Also the plot-file reader
// (ReadPlotData, ReadPltChart), the soil layer bands of the depth graphs (AddLayersGraphPlot)
// and the rules by which the Graphics menu and the result tool buttons offer the graphs.
// Plain C++: the windows that draw a graph attach themselves through TGraphForm.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TProgramData;
class TWordReader;
class TGraphPlot;

// One point of a curve, in the graph's units (created as (0, 0)).
struct TFloatPoint {
    double X = 0.0;
    double Y = 0.0;
    bool operator==(const TFloatPoint&) const = default;
};

// The four line sets of a graph.
enum class TLineSet { Main, Layer, Second, Third };

// One curve of a graph.
class TLine {
public:
    TLine(const TLine&) = delete;
    TLine& operator=(const TLine&) = delete;

    std::vector<TFloatPoint> Points;
    double Value = 0.0;  // a new line: the graph's count of main curves before it, plus 1
    std::string fValueS; // the name given by the reader; empty = use the default name
    bool Visible = true;
    bool Active = true;

    // fValueS when set; else, for a main curve, the graph's DefLineNames entry at the curve's
    // index when there is one; else the graph's CurveName followed by Value ("Curve #3").
    std::string LineName() const;
    // False when every point is (0, 0): a series the run did not compute (the bounds of a case
    // with a rock tip in a file whose first case has them). Such a line is not drawn, listed in
    // a legend or exported.
    bool HoldsCurve() const;
    TLineSet Set() const { return fSet; }
    const TGraphPlot& Graph() const { return *fOwner; }

private:
    friend class TGraphPlot;
    TLine(const TGraphPlot* Owner, TLineSet Set, double AValue);
    const TGraphPlot* fOwner;
    TLineSet fSet;
};

// The window that shows a graph. The program supplies it through TGraphPlot::FormFactory;
// the graph owns it from Show until Hide.
class TGraphForm {
public:
    virtual ~TGraphForm() = default;
    // Shows the window, restores it when minimised and brings it to the front.
    virtual void ShowForm() = 0;
};

// The data and settings of one result plot.
//
// Within one set every line has the same number of points. Setting a line count adds new
// lines at the end (each with as many points as the set's first line has, or none) or frees
// lines from the end; a negative count counts as 0. Setting a point count resizes every line
// of the set (new points are (0, 0)) and does nothing while the set has no lines. The point
// count read back is that of the first line, 0 without lines. Lines and points that exist
// survive when counts are set again, so a reader overwrites them in place.
// Line and point indices count from 0; a bad index throws std::out_of_range.
class TGraphPlot {
public:
    TGraphPlot();
    ~TGraphPlot();
    TGraphPlot(const TGraphPlot&) = delete;
    TGraphPlot& operator=(const TGraphPlot&) = delete;

    // Main curves.
    int LineCount() const { return SetLineCountOf(TLineSet::Main); }
    void SetLineCount(int N) { ResizeLines(TLineSet::Main, N); }
    int Count() const { return PointCountOf(TLineSet::Main); }
    void SetCount(int N) { ResizePoints(TLineSet::Main, N); }
    TLine& Lines(int I) { return LineOf(TLineSet::Main, I); }
    const TLine& Lines(int I) const { return LineOf(TLineSet::Main, I); }
    TFloatPoint& Data(int I, int J) { return PointOf(TLineSet::Main, I, J); }
    const TFloatPoint& Data(int I, int J) const { return PointOf(TLineSet::Main, I, J); }

    // Soil layer bands: one line per layer, one point each (X pattern, Y bottom of the band).
    int LayerLineCount() const { return SetLineCountOf(TLineSet::Layer); }
    void SetLayerLineCount(int N) { ResizeLines(TLineSet::Layer, N); }
    int LayerCount() const { return PointCountOf(TLineSet::Layer); }
    void SetLayerCount(int N) { ResizePoints(TLineSet::Layer, N); }
    TLine& LayerLines(int I) { return LineOf(TLineSet::Layer, I); }
    const TLine& LayerLines(int I) const { return LineOf(TLineSet::Layer, I); }
    TFloatPoint& LayerData(int I, int J) { return PointOf(TLineSet::Layer, I, J); }
    const TFloatPoint& LayerData(int I, int J) const { return PointOf(TLineSet::Layer, I, J); }

    // Second set.
    int LineCount2() const { return SetLineCountOf(TLineSet::Second); }
    void SetLineCount2(int N) { ResizeLines(TLineSet::Second, N); }
    int Count2() const { return PointCountOf(TLineSet::Second); }
    void SetCount2(int N) { ResizePoints(TLineSet::Second, N); }
    TLine& Lines2(int I) { return LineOf(TLineSet::Second, I); }
    const TLine& Lines2(int I) const { return LineOf(TLineSet::Second, I); }
    TFloatPoint& Data2(int I, int J) { return PointOf(TLineSet::Second, I, J); }
    const TFloatPoint& Data2(int I, int J) const { return PointOf(TLineSet::Second, I, J); }

    // Third set.
    int LineCount3() const { return SetLineCountOf(TLineSet::Third); }
    void SetLineCount3(int N) { ResizeLines(TLineSet::Third, N); }
    int Count3() const { return PointCountOf(TLineSet::Third); }
    void SetCount3(int N) { ResizePoints(TLineSet::Third, N); }
    TLine& Lines3(int I) { return LineOf(TLineSet::Third, I); }
    const TLine& Lines3(int I) const { return LineOf(TLineSet::Third, I); }
    TFloatPoint& Data3(int I, int J) { return PointOf(TLineSet::Third, I, J); }
    const TFloatPoint& Data3(int I, int J) const { return PointOf(TLineSet::Third, I, J); }

    // Index of a line within its set, -1 when it is not one of this graph's lines.
    int IndexOf(const TLine& Line) const;

    // True when the graph has at least one main curve.
    bool HasSomethingToDraw() const { return LineCount() > 0; }

    // 1 English, 2 SI, 3 no unit names; other values are clamped into 1..3.
    int Units() const { return fUnits; }
    void SetUnits(int Value);

    // Settings. The unit fields hold units strings ("F2", "L2", "F/L^2") that the plot window
    // turns into unit names for the graph's Units.
    std::string Caption;
    std::string UserCaption; // a title entered by the user
    bool UserCaptionOnTop = false;
    std::string XCaption, XUnits, YCaption, YUnits;
    std::string XCaption2, XUnits2, YCaption2, YUnits2;
    std::string XCaption3, XUnits3, YCaption3, YUnits3;
    std::string CurveName = "Curve #";
    bool XOnTop = true; // the X axis is drawn along the top
    bool ShowLegend = true;
    bool AlwaysShowLegend = false;
    bool ShowLayers = false;
    bool ShowWall = false;
    int WallLineCount = 0;
    bool ShowThree = false;
    bool ShowFontWidth = true;
    int Markers = 1;
    int SizeFont = 10;
    int LegendFont = 11;
    int WidthLine = 1;
    bool LimitActive = true;
    double LayersTop = 0.0; // Y of the top of the first soil layer band
    bool Yreversed = false; // Y is an elevation, which grows upwards
    bool YFromData = false; // the Y range spans the data alone, without reaching back to 0
    std::vector<std::string> DefLineNames; // default names of the main curves by index
    std::function<std::string(const TGraphPlot&)> onGetCaption; // optional caption supplier

    // The plot window. Show creates it on first use through FormFactory (nothing happens
    // without a factory), then shows it; Hide frees it; destroying the graph frees it.
    using TFormFactory = std::function<std::unique_ptr<TGraphForm>(TGraphPlot&)>;
    TFormFactory FormFactory;
    void Show();
    void Hide();
    bool FormExists() const { return fForm != nullptr; }
    TGraphForm* Form() const { return fForm.get(); }
    // Hands the window over without destroying it, for a window that is closing itself.
    std::unique_ptr<TGraphForm> ReleaseForm() { return std::move(fForm); }

private:
    using TLineList = std::vector<std::unique_ptr<TLine>>;
    TLineList& List(TLineSet Set);
    const TLineList& List(TLineSet Set) const;
    int SetLineCountOf(TLineSet Set) const;
    int PointCountOf(TLineSet Set) const;
    void ResizeLines(TLineSet Set, int N);
    void ResizePoints(TLineSet Set, int N);
    TLine& LineOf(TLineSet Set, int I);
    const TLine& LineOf(TLineSet Set, int I) const;
    TFloatPoint& PointOf(TLineSet Set, int I, int J);
    const TFloatPoint& PointOf(TLineSet Set, int I, int J) const;

    std::array<TLineList, 4> fSets;
    int fUnits = 1;
    std::unique_ptr<TGraphForm> fForm;
};

// The result graphs of the main window, with their captions and settings, and the flags
// that say what the last plot file held.
class TResultGraphs {
public:
    TResultGraphs();
    TResultGraphs(const TResultGraphs&) = delete;
    TResultGraphs& operator=(const TResultGraphs&) = delete;

    // Capacity against depth: ultimate, and with the factors of safety or the LRFD factors.
    TGraphPlot pltSkin, pltTip, pltTotal, pltCombine;
    TGraphPlot FSpltSkin, FSpltTip, FSpltTotal, pltCombineD;
    // Load against settlement of the shaft top: trend, upper and lower bound.
    TGraphPlot pltAxial, pltUpper, pltLower, pltCombinedSettle;
    TGraphPlot pltLoad;  // load distribution along the shaft, one curve per load level
    TGraphPlot pltTz;    // t-z curves of the initial diameter
    TGraphPlot pltTzAdd; // t-z curves at the depths the user asked for
    TGraphPlot pltQw;    // q-w curves at the tip, one per diameter
    // Design charts: capacity against length per diameter, one chart per movement.
    TGraphPlot PltChart1, PltChart2, PltChart3, PltChart4, PltChart5;
    TGraphPlot PltChart6, PltChart7, PltChart8, PltChart9, PltChart10;

    static constexpr int GraphCount = 26;
    static constexpr int ChartCount = 10;
    TGraphPlot& PltChart(int N); // design chart N, 0..9; std::out_of_range else
    // Every graph, in the order of the members above.
    std::array<TGraphPlot*, GraphCount> All();

    // Result flags: a plot file of the current project was read (ShowOutput, set by the
    // caller from the reader's result), it held t-z and q-w curves, it held the load
    // distribution (both set by the reader).
    bool ShowOutput = false;
    bool showtzcurves = false;
    bool showloadcurves = false;
    void ClearFlags() { ShowOutput = showtzcurves = showloadcurves = false; }
};

// Reads a plot data file into the graphs; returns true on success. On failure (a word that
// is not the number expected, a count out of range, a value computed from the file that is
// out of range, the end of the file before the last value expected, a file that cannot be
// opened) returns false with the reader's message in *Error (Error may be null); the graphs
// keep what was read up to the failure. Sets the project's ID2 from the file and the graphs'
// showtzcurves and showloadcurves; ShowOutput is left to the caller. Blank lines between
// values are passed over.
bool ReadPlotData(TResultGraphs& Graphs, TProgramData& Project, const std::string& PlotFile,
                  std::string* Error);
bool ReadPlotData(TResultGraphs& Graphs, TProgramData& Project, TWordReader& Reader,
                  std::string* Error);

// Reads design chart N (0-based) of NT from the reader into Chart: ND lines (one per
// diameter) of NQ points, converted from inches and pounds to feet and tons (fUnits 1) or
// metres and kilonewtons (fUnits 2). Does nothing when N >= NT. Throws EInOutError.
void ReadPltChart(TGraphPlot& Chart, int ND, TWordReader& Reader, int N, int NT, int NQ,
                  int fUnits);

// Gives a depth graph one soil layer band per layer of the project (label and pattern by the
// soil type, Y the layer's bottom as depth or elevation), when the graph has at least one
// curve with at least one point.
void AddLayersGraphPlot(TGraphPlot& Graph, const TProgramData& Project);

// Label and band pattern of a soil type code in the depth graphs; nullptr and 0 for a code
// without one.
struct TLayerBand {
    const char* Label;
    int Pattern;
};
TLayerBand LayerBandOf(int SoilType);

// ---------------------------------------------------------------------------------------------
// Offering the graphs

// The items of the Graphics menu, in menu order.
enum TGraphicsItem : int {
    giSkin,
    giTip,
    giTotal,
    giCombine,
    giFSSkin,
    giFSTip,
    giFSTotal,
    giCombineD,
    giAxial,
    giUpper,
    giLower,
    giCombinedSettle,
    giTz,
    giQw,
    giTzAdd,
    giLoad,
    giChartSeparator,
    giChart1,
    giChart10 = giChart1 + 9,
    giExport,
    giItemCount
};

struct TMenuItemState {
    std::string Caption; // with the "&" of its access key where it has one
    bool Visible = true;
    bool Enabled = false;
};
using TGraphicsMenuState = std::array<TMenuItemState, giItemCount>;

// The state of every Graphics menu item, computed each time the menu opens: nothing is
// enabled unless a plot file was read (ShowOutput) and still exists (PlotFileExists); the
// bound and load-distribution, t-z and q-w items follow what the file held; the design-chart
// items follow the project's charts.
TGraphicsMenuState OfferGraphs(const TResultGraphs& Graphs, const TProgramData& Project,
                               bool PlotFileExists);

// The graph an item shows; nullptr for the separator and the export item.
TGraphPlot* GraphOfItem(TResultGraphs& Graphs, int Item);

// The result tool buttons of the main window.
struct TResultButtons {
    bool Combine = false;  // "Combined Plot (Ultimate)"
    bool CombineD = false; // "Combined Plot (LRFD/ASD)"
    bool Axial = false;    // "Load vs. Settlement"
    bool Tz = false;       // "t-z curves"
    bool Qw = false;       // "Q-w curves"
};
TResultButtons ResultButtons(const TResultGraphs& Graphs);
