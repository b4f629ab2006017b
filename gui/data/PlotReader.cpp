// The plot-file reader: fills the result graphs from the plot data file (.kx8p) that the
// engine writes, and the soil layer bands of the depth graphs. Sections of the file: capacity
// curves with their load-settlement series, design charts (when the project asks for them),
// t-z and q-w curves, load distribution; the last two are optional.
#include "gui/data/DataUnit.h"
#include "gui/data/PltData.h"
#include "ui/model/NumberText.h"
#include "ui/model/WordRead.h"

#include <array>
#include <cmath>
#include <string>

namespace {

// Load-settlement records per series, and points per t-z or q-w curve, as the engine writes
// them.
constexpr int SettlementRows = 15;
constexpr int CurvePoints = 10;
constexpr int LoadLevels = 15;

// Counts beyond these are not results of a run but a damaged file; refusing them keeps a bad
// count from allocating without bound.
constexpr int MaxCurves = 1000;
constexpr int MaxPoints = 100000;
constexpr long long MaxPointTotal = 2000000;
constexpr int MaxExtraCurves = 100000;

// Blank lines between values are passed over: the engine copies its staged files line by line
// and an empty staged line arrives as a blank record.
double ReadReal(TWordReader& R) {
    R.SkipBlankLines();
    return R.ReadFloat();
}

int ReadInt(TWordReader& R) {
    R.SkipBlankLines();
    return R.ReadInteger();
}

int ReadCount(TWordReader& R, int Min, int Max, const std::string& What) {
    const int n = ReadInt(R);
    if (n < Min || n > Max)
        R.Fail("The " + What + " must be between " + std::to_string(Min) + " and " +
               std::to_string(Max) + ", not " + std::to_string(n) + ".");
    return n;
}

// Skips to the start of the next line; true when nothing but blank lines follows.
bool NextLineIsEnd(TWordReader& R) {
    if (!R.Eof())
        R.ReadLine();
    while (!R.Eof() && R.CurrentLineWordCount() == 0)
        R.ReadLine();
    return R.Eof();
}

const char* LengthWord(int fUnits) {
    return fUnits == 1 ? " ft" : " m";
}

// Numbers in curve names and captions: four significant digits, trailing zeros dropped, so a
// diameter carried through a unit conversion still reads "2.5".
std::string Num(double V) {
    return FormatGeneral(V, 4);
}

// t-z curves (additional or of the initial diameter): count, then per curve two integers, the
// depth and ten pairs t, z.
void ReadTzCurves(TGraphPlot& Graph, TWordReader& R, int fUnits) {
    const int count = ReadCount(R, 0, MaxExtraCurves, "number of t-z curves");
    Graph.SetLineCount(count);
    Graph.SetCount(CurvePoints);
    for (int i = 0; i < count; ++i) {
        ReadInt(R);
        ReadInt(R);
        const double h = ReadReal(R);
        Graph.Lines(i).fValueS = "H=" + Num(h) + LengthWord(fUnits);
        for (int j = 0; j < CurvePoints; ++j) {
            TFloatPoint& p = Graph.Data(i, j);
            p.Y = ReadReal(R); // unit load transfer t
            p.X = ReadReal(R); // displacement z
        }
    }
}

// q-w curves: count, then per curve an integer, the diameter, an integer and ten pairs Q, w.
void ReadQwCurves(TGraphPlot& Graph, TWordReader& R, int fUnits) {
    const int count = ReadCount(R, 0, MaxExtraCurves, "number of q-w curves");
    Graph.SetLineCount(count);
    Graph.SetCount(CurvePoints);
    for (int i = 0; i < count; ++i) {
        ReadInt(R);
        const double d = ReadReal(R);
        ReadInt(R);
        Graph.Lines(i).fValueS = "Dia=" + Num(d) + LengthWord(fUnits);
        for (int j = 0; j < CurvePoints; ++j) {
            TFloatPoint& p = Graph.Data(i, j);
            p.Y = ReadReal(R); // tip load Q
            p.X = ReadReal(R); // tip displacement w
        }
    }
}

// One load-settlement series of curve I: the origin, then 15 records of top load, top
// settlement, tip load and tip movement (the last two are not plotted).
void ReadSettlementSeries(TGraphPlot& Graph, int I, TWordReader& R) {
    Graph.Data(I, 0) = TFloatPoint{};
    for (int k = 1; k <= SettlementRows; ++k) {
        TFloatPoint& p = Graph.Data(I, k);
        p.X = ReadReal(R);
        p.Y = ReadReal(R);
        ReadReal(R);
        ReadReal(R);
    }
}

// A graph the file does not fill must not keep the curves of an earlier run: under the new
// project's names they would pass for its results.
void ClearCurves(TGraphPlot& Graph) {
    Graph.SetLineCount(0);
}

// Zero points keep the graph's lines (and their names) but hold no curve, so nothing is drawn
// or exported for them.
void ZeroPoints(TGraphPlot& Graph) {
    for (int i = 0; i < Graph.LineCount(); ++i)
        for (TFloatPoint& p : Graph.Lines(i).Points)
            p = TFloatPoint{};
}

void CopyLine(TGraphPlot& To, int ToLine, const TGraphPlot& From, int FromLine) {
    To.Lines(ToLine).Points = From.Lines(FromLine).Points;
}

// The graphs of the plot window by the part of the file they take: the depth graphs (capacity
// against depth), those with one line per capacity curve, the six that take the components of
// the curves, the three combined graphs and the load-settlement graphs.
std::array<TGraphPlot*, 8> DepthGraphs(TResultGraphs& G) {
    return {&G.pltSkin,   &G.pltTip,   &G.pltTotal,   &G.pltCombine,
            &G.FSpltSkin, &G.FSpltTip, &G.FSpltTotal, &G.pltCombineD};
}

std::array<TGraphPlot*, 9> CurveGraphs(TResultGraphs& G) {
    return {&G.pltSkin,    &G.pltTip,   &G.pltTotal, &G.FSpltSkin, &G.FSpltTip,
            &G.FSpltTotal, &G.pltAxial, &G.pltUpper, &G.pltLower};
}

std::array<TGraphPlot*, 6> ComponentGraphs(TResultGraphs& G) {
    return {&G.pltSkin, &G.pltTip, &G.pltTotal, &G.FSpltSkin, &G.FSpltTip, &G.FSpltTotal};
}

std::array<TGraphPlot*, 3> CombinedGraphs(TResultGraphs& G) {
    return {&G.pltCombine, &G.pltCombineD, &G.pltCombinedSettle};
}

std::array<TGraphPlot*, 4> SettlementGraphs(TResultGraphs& G) {
    return {&G.pltAxial, &G.pltUpper, &G.pltLower, &G.pltCombinedSettle};
}

// Depth axis: elevations grow upwards, so the depth graphs turn their Y axis round.
void SetDepthAxes(TResultGraphs& G, const TProgramData& P) {
    const bool elevation = P.UseElevation == 1;
    for (TGraphPlot* g : DepthGraphs(G)) {
        g->YCaption = elevation ? "Elevation" : "Depth";
        g->Yreversed = elevation;
    }
    G.pltSkin.ShowFontWidth = true;
    G.pltCombine.ShowFontWidth = true;
}

// A value the reader computes from what it read: a sum or quotient of two huge values that
// overflows is refused at the word read last, so that no graph holds an infinity.
double Computed(const TWordReader& R, double V) {
    if (!std::isfinite(V))
        R.Fail("The value computed from this record is out of range.");
    return V;
}

double DepthY(const TProgramData& P, const TWordReader& R, double Depth) {
    return P.UseElevation == 1 ? Computed(R, P.ValElevation - Depth) : Depth;
}

// The captions and line names that the project decides: the design method, uplift.
void SetCaptions(TResultGraphs& G, const TProgramData& P) {
    if (P.NLRFD == 1) {
        G.FSpltSkin.XCaption = "LRFD Side Resistance ";
        G.FSpltTip.XCaption = "LRFD Tip Resistance ";
        G.FSpltTotal.XCaption = "LRFD Total Resistance ";
        G.pltCombineD.XCaption = "LRFD Resistance ";
    } else if (P.NLRFD == 2) {
        G.FSpltSkin.XCaption = "Side Resistance/F.S. ";
        G.FSpltTip.XCaption = "Tip Resistance/F.S. ";
        G.FSpltTotal.XCaption = "Total Resistance/F.S. ";
        G.pltCombineD.XCaption = "Resistance/F.S. ";
    }
    // Under uplift the tip carries no resistance; its place holds the shaft's self-weight.
    if (P.KCYCL > 1)
        G.FSpltTip.XCaption = "Self-Weight";

    const char* tipName = P.KCYCL != 1 ? "  Self-Weight" : "  Tip Resistance";
    for (TGraphPlot* g : {&G.pltCombine, &G.pltCombineD}) {
        g->Lines(0).fValueS = "  Skin Friction";
        g->Lines(1).fValueS = tipName;
        g->Lines(2).fValueS = "  Total Capacity";
    }
    G.pltCombinedSettle.Lines(0).fValueS = "  Trend (Averaged)";
    G.pltCombinedSettle.Lines(1).fValueS = "  Upper Bound";
    G.pltCombinedSettle.Lines(2).fValueS = "  Lower Bound";
}

// The lines and points of every graph for NC capacity curves of at most NP points.
void ShapeGraphs(TResultGraphs& G, const TProgramData& P, int NC, int NP) {
    for (TGraphPlot* g : CurveGraphs(G))
        g->SetLineCount(NC);
    G.pltLoad.SetLineCount(LoadLevels);
    for (TGraphPlot* g : CombinedGraphs(G))
        g->SetLineCount(3);

    SetCaptions(G, P);

    for (TGraphPlot* g : DepthGraphs(G))
        g->SetCount(NP);
    // The load distribution has one point per shaft element: the two leading zero records
    // of a capacity curve have none.
    G.pltLoad.SetCount(NP - 2);
    for (TGraphPlot* g : SettlementGraphs(G))
        g->SetCount(SettlementRows + 1);
}

// Point J of capacity curve I: depth, side, tip and total resistance, then (current layout) the
// three ASD or LRFD values, or (previous layout) one unused value, the ASD values being computed
// from the project's factors of safety.
void ReadCapacityPoint(TResultGraphs& G, const TProgramData& P, TWordReader& R, int I, int J) {
    const bool uplift = P.KCYCL > 1;
    const double y = DepthY(P, R, ReadReal(R));
    for (TGraphPlot* g : ComponentGraphs(G))
        g->Data(I, J).Y = y;
    const double side = ReadReal(R);
    const double tip = ReadReal(R);
    const double total = ReadReal(R);
    G.pltSkin.Data(I, J).X = side;
    G.pltTip.Data(I, J).X = tip;
    G.pltTotal.Data(I, J).X = total;
    if (P.Yesnewversion != 0) {
        G.FSpltSkin.Data(I, J).X = ReadReal(R);
        G.FSpltTip.Data(I, J).X = ReadReal(R);
        G.FSpltTotal.Data(I, J).X = ReadReal(R);
        if (uplift)
            G.FSpltTip.Data(I, J).X = tip;
    } else {
        ReadReal(R);
        const double fsSide = Computed(R, side / P.FST);
        const double fsTip = Computed(R, P.KCYCL == 1 ? tip / P.FSB : tip);
        G.FSpltSkin.Data(I, J).X = fsSide;
        G.FSpltTip.Data(I, J).X = fsTip;
        G.FSpltTotal.Data(I, J).X = Computed(R, fsSide + fsTip);
    }
}

// Section 1: the NC capacity curves, each with its load-settlement series; a curve after the
// first begins with a header giving its number of points.
void ReadCapacityCurves(TResultGraphs& G, const TProgramData& P, TWordReader& R, int NC, int NP) {
    int present = NP; // points present in the current curve
    for (int i = 0; i < NC; ++i) {
        for (int j = 0; j < NP; ++j) {
            if (j >= present) {
                // A shorter curve (a later diameter reaches fewer computation depths) is
                // padded with its last point.
                for (TGraphPlot* g : ComponentGraphs(G))
                    g->Data(i, j) = g->Data(i, j - 1);
                continue;
            }
            ReadCapacityPoint(G, P, R, i, j);
        }
        // A zero tip resistance at the tip would vanish on a logarithmic scale.
        TFloatPoint& last = G.pltTip.Data(i, NP - 1);
        if (last.X < 0.0001)
            last.X = 0.00001;

        ReadSettlementSeries(G.pltAxial, i, R);
        if (P.ID2 > 2) {
            ReadSettlementSeries(G.pltUpper, i, R);
            ReadSettlementSeries(G.pltLower, i, R);
        }

        if (i + 1 < NC) {
            ReadInt(R);
            present = ReadCount(R, 1, NP,
                                "number of points of curve " + std::to_string(i + 2) +
                                    " (at most that of the first curve)");
            ReadInt(R);
        }
    }
}

// Section 2: the design charts, with their header.
void ReadDesignCharts(TResultGraphs& G, const TProgramData& P, TWordReader& R) {
    const int NT = ReadCount(R, 0, TResultGraphs::ChartCount, "number of design charts");
    const int ND = ReadCount(R, 0, MaxCurves, "number of design-chart diameters");
    const int NQ = ReadCount(R, 0, MaxPoints, "number of design-chart points");
    if (static_cast<long long>(ND) * NQ > MaxPointTotal)
        R.Fail("The file holds more than " + std::to_string(MaxPointTotal) +
               " points per design chart.");
    for (int n = 0; n < TResultGraphs::ChartCount; ++n) {
        if (n >= NT)
            ClearCurves(G.PltChart(n));
        ReadPltChart(G.PltChart(n), ND, R, n, NT, NQ, P.fUnits);
    }
}

// Curve names: by length when the curves differ by length, else by diameter. The curves of a
// run over several lengths all reach the bottom of the profile, so each is named by its case's
// shaft length (its tip elevation with elevations on): the first is the longest, PD, and each
// next one PDINCR shorter.
void NameCurves(TResultGraphs& G, const TProgramData& P, int NC) {
    const char* unit = LengthWord(P.fUnits);
    // The engine steps by 3 ft (1 m) when no increment is given.
    const double increment = P.PDINCR > 0.0 ? P.PDINCR : (P.fUnits == 1 ? 3.0 : 1.0);
    for (int i = 0; i < NC; ++i) {
        std::string name;
        if (P.IPENT != 0) {
            const double length = P.PD - increment * i;
            name = "L =" + Num(P.UseElevation == 1 ? P.ValElevation - length : length) + unit;
        } else {
            // Without design charts the diameters step by half a foot (0.152 m).
            const double step = P.IChart > 0 ? P.DIAMINCR : (P.fUnits == 1 ? 0.5 : 0.152);
            name = "Dia=" + Num(P.DSTART + step * i) + unit;
        }
        for (TGraphPlot* g : CurveGraphs(G))
            g->Lines(i).fValueS = name;
    }
}

// The combined graphs show the first curve: the initial diameter or the longest length.
void CopyFirstCurves(TResultGraphs& G) {
    CopyLine(G.pltCombine, 0, G.pltSkin, 0);
    CopyLine(G.pltCombine, 1, G.pltTip, 0);
    CopyLine(G.pltCombine, 2, G.pltTotal, 0);
    CopyLine(G.pltCombineD, 0, G.FSpltSkin, 0);
    CopyLine(G.pltCombineD, 1, G.FSpltTip, 0);
    CopyLine(G.pltCombineD, 2, G.FSpltTotal, 0);
    CopyLine(G.pltCombinedSettle, 0, G.pltAxial, 0);
    CopyLine(G.pltCombinedSettle, 1, G.pltUpper, 0);
    CopyLine(G.pltCombinedSettle, 2, G.pltLower, 0);
}

// The soil layer bands behind the depth graphs.
void AddLayerBands(TResultGraphs& G, const TProgramData& P) {
    for (TGraphPlot* g : {&G.FSpltSkin, &G.FSpltTip, &G.FSpltTotal, &G.pltSkin, &G.pltTip,
                          &G.pltTotal, &G.pltCombine, &G.pltCombineD})
        AddLayersGraphPlot(*g, P);
}

// Sections 3 and 4 exist only when the load-settlement analysis with t-z curves ran: the t-z
// and q-w curves, then the load distribution.
void ReadTransferSections(TResultGraphs& G, const TProgramData& P, TWordReader& R) {
    if (P.PrintTZCurves != 1)
        ClearCurves(G.pltTzAdd);
    if (NextLineIsEnd(R)) {
        for (TGraphPlot* g : {&G.pltTzAdd, &G.pltTz, &G.pltQw, &G.pltLoad})
            ClearCurves(*g);
        return;
    }
    if (P.PrintTZCurves == 1)
        ReadTzCurves(G.pltTzAdd, R, P.fUnits);
    ReadTzCurves(G.pltTz, R, P.fUnits);
    ReadQwCurves(G.pltQw, R, P.fUnits);
    G.showtzcurves = true;

    if (NextLineIsEnd(R)) {
        ClearCurves(G.pltLoad);
        return;
    }
    const int elements = G.pltLoad.Count();
    for (int i = 0; i < LoadLevels; ++i)
        for (int j = 0; j < elements; ++j) {
            TFloatPoint& p = G.pltLoad.Data(i, j);
            p.Y = ReadReal(R); // depth of the element's mid-point
            p.X = ReadReal(R); // average axial load in the element
            ReadReal(R);       // movement of the element
        }
    // Each load level is named by the load at the shaft's top, its first element.
    const char* force = P.fUnits == 2 ? " kN" : " tons";
    for (int i = 0; i < LoadLevels; ++i)
        G.pltLoad.Lines(i).fValueS =
            elements > 0 ? "Q = " + Num(G.pltLoad.Data(i, 0).X) + force : std::string();
    G.showloadcurves = true;
}

void ReadPlot(TResultGraphs& G, TProgramData& P, TWordReader& R) {
    SetDepthAxes(G, P);

    // First header: curves, points of the first curve, load-settlement series.
    const int NC = ReadCount(R, 1, MaxCurves, "number of curves");
    const int NP = ReadCount(R, 1, MaxPoints, "number of points of the first curve");
    if (static_cast<long long>(NC) * NP > MaxPointTotal)
        R.Fail("The file holds more than " + std::to_string(MaxPointTotal) + " capacity points (" +
               std::to_string(NC) + " curves of " + std::to_string(NP) + " points).");
    ShapeGraphs(G, P, NC, NP);

    const int NS = ReadInt(R);
    P.ID2 = NS;
    for (TGraphPlot* g : DepthGraphs(G))
        g->SetUnits(P.fUnits);
    for (TGraphPlot* g : SettlementGraphs(G))
        g->SetUnits(P.fUnits);
    G.pltLoad.SetUnits(P.fUnits);

    // Projects from the previous version carry five values per point and no ASD/LRFD columns.
    if (P.Yesnewversion == 0 && (!(P.FST > 0.0) || (P.KCYCL == 1 && !(P.FSB > 0.0))))
        throw EInOutError("The project's factors of safety must be greater than 0 to compute the "
                          "allowable capacities of a plot file of the previous version.");

    // Without bound series in the file the bound graphs hold nothing of this run.
    if (NS < 3) {
        ZeroPoints(G.pltUpper);
        ZeroPoints(G.pltLower);
    }
    ReadCapacityCurves(G, P, R, NC, NP);
    if (P.IChart == 1)
        ReadDesignCharts(G, P, R);
    else
        for (int n = 0; n < TResultGraphs::ChartCount; ++n)
            ClearCurves(G.PltChart(n));
    NameCurves(G, P, NC);
    CopyFirstCurves(G);
    AddLayerBands(G, P);
    ReadTransferSections(G, P, R);

    for (TGraphPlot* g : G.All())
        g->SetUnits(P.fUnits);
}

} // namespace

bool ReadPlotData(TResultGraphs& Graphs, TProgramData& Project, TWordReader& Reader,
                  std::string* Error) {
    Graphs.showtzcurves = false;
    Graphs.showloadcurves = false;
    try {
        ReadPlot(Graphs, Project, Reader);
    } catch (const EInOutError& e) {
        if (Error)
            *Error = e.what();
        return false;
    }
    if (Error)
        Error->clear();
    return true;
}

bool ReadPlotData(TResultGraphs& Graphs, TProgramData& Project, const std::string& PlotFile,
                  std::string* Error) {
    Graphs.showtzcurves = false;
    Graphs.showloadcurves = false;
    try {
        TWordReader reader(PlotFile);
        return ReadPlotData(Graphs, Project, reader, Error);
    } catch (const EInOutError& e) {
        if (Error)
            *Error = e.what();
        return false;
    }
}

void ReadPltChart(TGraphPlot& Chart, int ND, TWordReader& Reader, int N, int NT, int NQ,
                  int fUnits) {
    if (N >= NT)
        return;
    Chart.SetLineCount(ND);
    Chart.SetCount(NQ);
    const bool si = fUnits == 2;
    const double m = ReadReal(Reader);
    Chart.Caption = "Design Chart (" + Num(m) + (si ? "-m" : "-in") + " movement)";
    Chart.UserCaption = Chart.Caption;
    // The engine writes chart depths in inches and capacities in pounds in both systems;
    // diameters in inches (English) or metres (SI).
    constexpr double InchesPerMetre = 39.37;
    constexpr double PoundsPerKilonewton = 224.82014388489208633;
    for (int d = 0; d < ND; ++d) {
        const double b = ReadReal(Reader);
        TLine& line = Chart.Lines(d);
        line.fValueS = si ? "Dia=" + Num(b) + " m" : "Dia=" + Num(b / 12.0) + " ft";
        for (int q = 0; q < NQ; ++q) {
            TFloatPoint& p = line.Points[static_cast<std::size_t>(q)];
            p.Y = ReadReal(Reader);
            p.X = ReadReal(Reader);
        }
        for (TFloatPoint& p : line.Points) {
            if (si) {
                p.Y /= InchesPerMetre;
                p.X /= PoundsPerKilonewton;
            } else {
                p.Y /= 12.0;   // feet
                p.X /= 2000.0; // tons
            }
        }
    }
}

TLayerBand LayerBandOf(int SoilType) {
    switch (SoilType) {
    case kolmar::kSand:
        return {" SAND ", 7};
    case kolmar::kClay:
        return {" CLAY ", 1};
    case kolmar::kClayShale:
        return {" SHALE ", 8};
    case kolmar::kStrongRockSideOrBase:
    case kolmar::kStrongRockSideAndBase:
        return {" ROCK ", 9};
    case kolmar::kDecomposedRock:
        // Decomposed rock or gravel is a granular geomaterial: drawn as gravel.
        return {" GRAVEL ", 12};
    case kolmar::kWeakRock:
        // Weak rock takes the rock family's third tile.
        return {" WEAK ROCK ", 10};
    case kolmar::kGravellySand:
        return {" GW ", 11};
    case kolmar::kGravel:
        return {" GRAVEL ", 12};
    default:
        return {nullptr, 0};
    }
}

void AddLayersGraphPlot(TGraphPlot& Graph, const TProgramData& Project) {
    if (Graph.LineCount() < 1 || Graph.Count() < 1)
        return;
    const bool elevation = Project.UseElevation == 1;
    const int rows = Project.D.RowCount();
    Graph.SetLayerLineCount(rows);
    Graph.SetLayerCount(1);
    for (int r = 0; r < rows; ++r) {
        const TSoilLayer& layer = Project.D[r];
        TLine& line = Graph.LayerLines(r);
        const TLayerBand band = LayerBandOf(layer.SoilType());
        line.fValueS = band.Label ? band.Label : "LAYER " + std::to_string(r + 1);
        TFloatPoint& p = Graph.LayerData(r, 0);
        p.X = band.Pattern;
        p.Y = elevation ? Project.ValElevation - layer.Depth : layer.Depth;
    }
    Graph.LayersTop = elevation ? Project.ValElevation : 0.0;
}
