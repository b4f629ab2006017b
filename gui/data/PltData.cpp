// Result graphs: the line sets of TGraphPlot, the 26 graphs of the main window with their
// captions, and the rules by which the Graphics menu and the tool buttons offer them.
#include "gui/data/PltData.h"

#include "gui/data/DataUnit.h"
#include "ui/model/NumberText.h"

#include <stdexcept>

// ---------------------------------------------------------------------------------------------
// TLine

TLine::TLine(const TGraphPlot* Owner, TLineSet Set, double AValue)
    : Value(AValue), fOwner(Owner), fSet(Set) {}

std::string TLine::LineName() const {
    if (!fValueS.empty())
        return fValueS;
    if (fSet == TLineSet::Main) {
        const int index = fOwner->IndexOf(*this);
        if (index >= 0 && index < static_cast<int>(fOwner->DefLineNames.size()))
            return fOwner->DefLineNames[static_cast<std::size_t>(index)];
    }
    return fOwner->CurveName + FormatGeneral(Value, 15);
}

bool TLine::HoldsCurve() const {
    for (const TFloatPoint& p : Points)
        if (p.X != 0.0 || p.Y != 0.0)
            return true;
    return false;
}

// ---------------------------------------------------------------------------------------------
// TGraphPlot

TGraphPlot::TGraphPlot() = default;

TGraphPlot::~TGraphPlot() {
    Hide();
}

TGraphPlot::TLineList& TGraphPlot::List(TLineSet Set) {
    return fSets[static_cast<std::size_t>(Set)];
}

const TGraphPlot::TLineList& TGraphPlot::List(TLineSet Set) const {
    return fSets[static_cast<std::size_t>(Set)];
}

int TGraphPlot::SetLineCountOf(TLineSet Set) const {
    return static_cast<int>(List(Set).size());
}

int TGraphPlot::PointCountOf(TLineSet Set) const {
    const TLineList& lines = List(Set);
    return lines.empty() ? 0 : static_cast<int>(lines.front()->Points.size());
}

void TGraphPlot::ResizeLines(TLineSet Set, int N) {
    TLineList& lines = List(Set);
    const std::size_t target = N < 0 ? 0 : static_cast<std::size_t>(N);
    if (target < lines.size()) {
        lines.resize(target);
        return;
    }
    const std::size_t points = lines.empty() ? 0 : lines.front()->Points.size();
    while (lines.size() < target) {
        // The constructor is private to keep every line tied to its graph and set.
        std::unique_ptr<TLine> line(new TLine(this, Set, LineCount() + 1.0));
        line->Points.resize(points);
        lines.push_back(std::move(line));
    }
}

void TGraphPlot::ResizePoints(TLineSet Set, int N) {
    const std::size_t target = N < 0 ? 0 : static_cast<std::size_t>(N);
    for (auto& line : List(Set))
        line->Points.resize(target);
}

TLine& TGraphPlot::LineOf(TLineSet Set, int I) {
    TLineList& lines = List(Set);
    if (I < 0 || I >= static_cast<int>(lines.size()))
        throw std::out_of_range("Line " + std::to_string(I) + " of graph \"" + Caption +
                                "\" does not exist");
    return *lines[static_cast<std::size_t>(I)];
}

const TLine& TGraphPlot::LineOf(TLineSet Set, int I) const {
    return const_cast<TGraphPlot*>(this)->LineOf(Set, I);
}

TFloatPoint& TGraphPlot::PointOf(TLineSet Set, int I, int J) {
    TLine& line = LineOf(Set, I);
    if (J < 0 || J >= static_cast<int>(line.Points.size()))
        throw std::out_of_range("Point " + std::to_string(J) + " of line " + std::to_string(I) +
                                " of graph \"" + Caption + "\" does not exist");
    return line.Points[static_cast<std::size_t>(J)];
}

const TFloatPoint& TGraphPlot::PointOf(TLineSet Set, int I, int J) const {
    return const_cast<TGraphPlot*>(this)->PointOf(Set, I, J);
}

int TGraphPlot::IndexOf(const TLine& Line) const {
    const TLineList& lines = List(Line.Set());
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].get() == &Line)
            return static_cast<int>(i);
    return -1;
}

void TGraphPlot::SetUnits(int Value) {
    fUnits = Value < 1 ? 1 : (Value > 3 ? 3 : Value);
}

void TGraphPlot::Show() {
    if (!fForm && FormFactory)
        fForm = FormFactory(*this);
    if (fForm)
        fForm->ShowForm();
}

void TGraphPlot::Hide() {
    // Moved out first so that a window that reports its own closing finds the graph without
    // a form already.
    std::unique_ptr<TGraphForm> form = std::move(fForm);
    form.reset();
}

// ---------------------------------------------------------------------------------------------
// The graphs of the main window

namespace {

struct TGraphSetup {
    TGraphPlot TResultGraphs::*Graph;
    const char* Caption;
    const char* XCaption;
    const char* XUnits;
    const char* YCaption;
    const char* YUnits;
    bool XOnTop;
};

// Captions and axes at start. Force units: F2 = tons or kN; length: L2 = ft or m, L = in or
// m; F/L^2 = unit load transfer in psi or kPa.
const TGraphSetup kGraphSetups[] = {
    {&TResultGraphs::pltSkin, "Ultimate Skin Friction vs Depth", "Ultimate Skin Friction ", "F2",
     "Depth ", "L2", true},
    {&TResultGraphs::pltTip, "Ultimate Tip Resistance vs Depth", "Ultimate Tip Resistance ", "F2",
     "Depth ", "L2", true},
    {&TResultGraphs::pltTotal, "Ultimate Total Capacity vs Depth", "Ultimate Total Capacity ", "F2",
     "Depth ", "L2", true},
    {&TResultGraphs::pltCombine, "Combined Plots vs Depth (ultimate)", "Ultimate Axial Capacity",
     "F2", "Depth", "L2", true},
    {&TResultGraphs::FSpltSkin, "ASD/LRFD Skin Friction vs Depth ", "Skin Friction w/F.S.", "F2",
     "Depth", "L2", true},
    {&TResultGraphs::FSpltTip, "ASD/LRFD Tip Resistance vs Depth ", "Tip Resistance w/F.S.", "F2",
     "Depth", "L2", true},
    {&TResultGraphs::FSpltTotal, "ASD/LRFD Total Capacity vs Depth", "Total Capacity w/F.S.", "F2",
     "Depth", "L2", true},
    {&TResultGraphs::pltCombineD, "Combined Plots vs Depth (ASD/LRFD)", "Axial Capacity w/F. S.",
     "F2", "Depth", "L2", true},
    {&TResultGraphs::pltAxial, "Axial Load vs Settlement (averaged)", "Axial Load ", "F2",
     "Settlement ", "L", true},
    {&TResultGraphs::pltUpper, "Axial Load vs Settlement (upper bound)", "Axial Load (upper bound)",
     "F2", "Settlement", "L", true},
    {&TResultGraphs::pltLower, "Axial Load vs Settlement (lower bound)", "Axial Load (lower bound)",
     "F2", "Settlement", "L", true},
    {&TResultGraphs::pltCombinedSettle, "Combined Plots of Load vs Settlement", "Axial Load", "F2",
     "Settlement", "L", true},
    {&TResultGraphs::pltLoad, "Load Distribution", "Total Capacity ", "F2", "Depth ", "L2", true},
    {&TResultGraphs::pltTz, "t-z curves (averaged)", "Axial Displacement, z", "L",
     "Unit Load Transfer, t", "F/L^2", false},
    {&TResultGraphs::pltTzAdd, "Additional t-z curves (averaged)", "Axial Displacement, z", "L",
     "Unit Load Transfer, t", "F/L^2", false},
    {&TResultGraphs::pltQw, "Q-w curves (averaged)", "Tip Displacement, w", "L", "Tip Load, Q",
     "F2", false},
};

TGraphPlot TResultGraphs::*const kCharts[TResultGraphs::ChartCount] = {
    &TResultGraphs::PltChart1, &TResultGraphs::PltChart2, &TResultGraphs::PltChart3,
    &TResultGraphs::PltChart4, &TResultGraphs::PltChart5, &TResultGraphs::PltChart6,
    &TResultGraphs::PltChart7, &TResultGraphs::PltChart8, &TResultGraphs::PltChart9,
    &TResultGraphs::PltChart10};

} // namespace

TResultGraphs::TResultGraphs() {
    for (const TGraphSetup& s : kGraphSetups) {
        TGraphPlot& g = this->*s.Graph;
        g.Caption = s.Caption;
        g.XCaption = s.XCaption;
        g.XUnits = s.XUnits;
        g.YCaption = s.YCaption;
        g.YUnits = s.YUnits;
        g.XOnTop = s.XOnTop;
    }
    for (int n = 0; n < ChartCount; ++n) {
        TGraphPlot& g = PltChart(n);
        // The tenth chart's caption has always had two blanks before its number.
        g.Caption = n + 1 < 10 ? "Design Chart " + std::to_string(n + 1) : "Design Chart  10";
        g.XCaption = "Axial Capacity";
        g.XUnits = "F2";
        // The vertical axis holds the shaft lengths analysed, which need not start at 0.
        g.YCaption = "Shaft Length";
        g.YUnits = "L2";
        g.XOnTop = true;
        g.YFromData = true;
    }
}

TGraphPlot& TResultGraphs::PltChart(int N) {
    if (N < 0 || N >= ChartCount)
        throw std::out_of_range("Design chart " + std::to_string(N) + " does not exist");
    return this->*kCharts[N];
}

std::array<TGraphPlot*, TResultGraphs::GraphCount> TResultGraphs::All() {
    return {&pltSkin,    &pltTip,      &pltTotal,  &pltCombine, &FSpltSkin, &FSpltTip,
            &FSpltTotal, &pltCombineD, &pltAxial,  &pltUpper,   &pltLower,  &pltCombinedSettle,
            &pltLoad,    &pltTz,       &pltTzAdd,  &pltQw,      &PltChart1, &PltChart2,
            &PltChart3,  &PltChart4,   &PltChart5, &PltChart6,  &PltChart7, &PltChart8,
            &PltChart9,  &PltChart10};
}

// ---------------------------------------------------------------------------------------------
// Offering the graphs

namespace {

const char* const kItemCaptions[giChart1] = {
    "Ultimate &Skin Friction vs Depth",
    "Ultimate &Tip Resistance vs Depth",
    "Ultimate Total &Capacity vs Depth",
    "", // combined, by IPENT
    "ASD/LRFD Skin Friction vs Depth ",
    "ASD/LRFD Tip Resistance vs Depth ",
    "ASD/LRFD Total Capacity vs Depth",
    "", // combined, by IPENT
    "Axial Load vs Settlement (averaged)",
    "Axial Load vs Settlement (upper bound)",
    "Axial Load vs Settlement (lower bound)",
    "", // combined, by IPENT
    "t-z curves (averaged, initial diameter)",
    "Q-w curves (averaged)",
    "Additional t-z curves (averaged, initial diameter)",
    "Load Distribution (averaged, initial diameter)",
    "", // separator
};

} // namespace

TGraphicsMenuState OfferGraphs(const TResultGraphs& Graphs, const TProgramData& Project,
                               bool PlotFileExists) {
    TGraphicsMenuState items;
    const bool results = Graphs.ShowOutput && PlotFileExists;
    for (int i = 0; i < giItemCount; ++i) {
        TMenuItemState& item = items[static_cast<std::size_t>(i)];
        if (i < giChart1)
            item.Caption = kItemCaptions[i];
        item.Enabled = results;
    }
    auto at = [&](int i) -> TMenuItemState& { return items[static_cast<std::size_t>(i)]; };

    // Without bound series (NS 0 or 1 in the plot file) only the averaged load-settlement
    // curve exists.
    if (Project.ID2 < 3) {
        at(giUpper).Enabled = false;
        at(giLower).Enabled = false;
        at(giCombinedSettle).Enabled = false;
    }
    at(giLoad).Enabled = at(giLoad).Enabled && Graphs.showloadcurves;
    at(giTz).Enabled = at(giTz).Enabled && Graphs.showtzcurves;
    at(giQw).Enabled = at(giQw).Enabled && Graphs.showtzcurves;
    at(giTzAdd).Enabled =
        at(giTzAdd).Enabled && Project.PrintTZCurves == 1 && Graphs.pltTzAdd.LineCount() >= 1;

    // The combined graphs show the first curve: the initial diameter, or the longest length
    // when the curves differ by length.
    const bool byLength = Project.IPENT != 0;
    const char* depthCaption = byLength ? "Combined Plots vs Depth (Initial Length)"
                                        : "Combined Plots vs Depth (Initial Diameter)";
    // The two combined depth items would otherwise read alike.
    at(giCombine).Caption = std::string(depthCaption) + " (ultimate)";
    at(giCombineD).Caption = std::string(depthCaption) + " (ASD/LRFD)";
    at(giCombinedSettle).Caption = byLength
                                       ? "Combined Plots of Load vs Settlement (Initial Length)"
                                       : "Combined Plots of Load vs Settlement (Initial Diameter)";

    const bool charts = Project.IChart == 1;
    at(giChartSeparator).Visible = charts && Project.NPOINTPD > 0;
    at(giChartSeparator).Enabled = charts;
    const char* suffix = Project.fUnits == 2 ? "-m" : "-in";
    for (int k = 1; k <= TResultGraphs::ChartCount; ++k) {
        TMenuItemState& item = at(giChart1 + k - 1);
        item.Caption = "Design Chart (" +
                       FormatGeneral(Project.PDSETT[static_cast<std::size_t>(k - 1)], 4) + suffix +
                       " movement)";
        const bool inUse = charts && Project.NPOINTPD >= k;
        item.Visible = inUse;
        item.Enabled = inUse && results;
    }
    at(giExport).Caption = "Export Plots to Excel";
    return items;
}

TGraphPlot* GraphOfItem(TResultGraphs& Graphs, int Item) {
    switch (Item) {
    case giSkin:
        return &Graphs.pltSkin;
    case giTip:
        return &Graphs.pltTip;
    case giTotal:
        return &Graphs.pltTotal;
    case giCombine:
        return &Graphs.pltCombine;
    case giFSSkin:
        return &Graphs.FSpltSkin;
    case giFSTip:
        return &Graphs.FSpltTip;
    case giFSTotal:
        return &Graphs.FSpltTotal;
    case giCombineD:
        return &Graphs.pltCombineD;
    case giAxial:
        return &Graphs.pltAxial;
    case giUpper:
        return &Graphs.pltUpper;
    case giLower:
        return &Graphs.pltLower;
    case giCombinedSettle:
        return &Graphs.pltCombinedSettle;
    case giTz:
        return &Graphs.pltTz;
    case giQw:
        return &Graphs.pltQw;
    case giTzAdd:
        return &Graphs.pltTzAdd;
    case giLoad:
        return &Graphs.pltLoad;
    default:
        if (Item >= giChart1 && Item <= giChart10)
            return &Graphs.PltChart(Item - giChart1);
        return nullptr;
    }
}

TResultButtons ResultButtons(const TResultGraphs& Graphs) {
    TResultButtons b;
    b.Combine = b.CombineD = b.Axial = Graphs.ShowOutput;
    b.Tz = b.Qw = Graphs.ShowOutput && Graphs.showtzcurves;
    return b;
}
