// The Project Overview's summary of a project and its results at a glance.
#include "gui/data/ProjectOverview.h"

#include "engine/format.h"
#include "gui/data/DataUnit.h"
#include "gui/data/ShaftGeometry.h"
#include "ui/model/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <stdexcept>

namespace {

// Fixed-point text rounded as the report's F fields round, so that a value reads as printed.
std::string Fixed(double V, int Decimals) {
    const std::string field = kolmar::engine::F(V, 40, Decimals);
    return field.substr(std::min(field.find_first_not_of(' '), field.size()));
}

std::string Length(const TProgramData& P, double V) {
    return Fixed(V, 3) + (P.fUnits == 2 ? " m" : " ft");
}

std::string Force(const TProgramData& P, double V) {
    return Fixed(V, 1) + (P.fUnits == 2 ? " kN" : " tons");
}

void AddShaft(const TProgramData& P, std::vector<TOverviewLine>& Lines) {
    const bool range = P.DIALIM > P.DSTART;
    Lines.push_back(
        {"Shaft", range ? "Diameters" : "Diameter",
         range ? Fixed(P.DSTART, 3) + " to " + Length(P, P.DIALIM) : Length(P, P.DSTART)});
    Lines.push_back({"Shaft", "Bell",
                     P.RATIO > 1.0
                         ? "base " + Fixed(P.RATIO, 3) + " x stem, " + Fixed(P.BELANGL, 3) + " deg"
                         : std::string("none")});
    Lines.push_back({"Shaft", "Ignored top", Length(P, P.TOPLENG)});
    Lines.push_back({"Shaft", "Ignored bottom", Length(P, P.BS)});
    Lines.push_back({"Shaft", "Modulus Ec",
                     FormatGeneral(P.EPILE, 6) + (P.fUnits == 2 ? " kN/m^2" : " lbs/in^2")});
}

void AddLoads(const TProgramData& P, std::vector<TOverviewLine>& Lines) {
    Lines.push_back({"Loads", "Loading", P.KCYCL == 2 ? "uplift" : "compression"});
    if (P.METHOD == 1) {
        Lines.push_back({"Loads", "Design load", Force(P, P.LPD)});
    } else if (P.IPENT != 0 || P.IChart != 0) {
        Lines.push_back(
            {"Loads", "Shaft lengths",
             Fixed(P.PDMIN, 3) + " to " + Fixed(P.PD, 3) + " by " + Length(P, P.PDINCR)});
    } else {
        Lines.push_back({"Loads", "Shaft length", Length(P, P.PD)});
    }
}

void AddDesign(const TProgramData& P, std::vector<TOverviewLine>& Lines) {
    Lines.push_back({"Design", "Method", P.NLRFD == 1 ? "LRFD" : "ASD"});
    if (P.NLRFD != 1) {
        Lines.push_back({"Design", "F.S. side", Fixed(P.FST, 2)});
        Lines.push_back({"Design", "F.S. base", Fixed(P.FSB, 2)});
    }
    Lines.push_back({"Design", "Computation",
                     P.METHOD == 1 ? "length for the design load" : "capacity at the length"});
    if (P.IPENT != 0)
        Lines.push_back({"Design", "Multiple lengths", "on"});
    if (P.IChart != 0)
        Lines.push_back({"Design", "Design charts", "on"});
}

const TJson& Member(const TJson& Object, const std::string& Key) {
    const TJson* found = Object.Find(Key);
    if (!found)
        throw std::runtime_error("the results file has no \"" + Key + "\"");
    return *found;
}

double Number(const TJson& Value) {
    double v = 0.0;
    const char* first = Value.Text.data();
    const char* last = first + Value.Text.size();
    const auto [end, ec] = std::from_chars(first, last, v);
    if (Value.Kind != TJson::TKind::Number || ec != std::errc() || end != last || !std::isfinite(v))
        throw std::runtime_error("the results file has \"" + Value.Text +
                                 "\" where a number belongs");
    return v;
}

double NumberOf(const TJson& Object, const std::string& Key) {
    return Number(Member(Object, Key));
}

// An input value of the results file by its name.
double InputValue(const TJson& Results, const std::string& Name) {
    for (const TJson& v : Member(Member(Results, "input"), "values").Items)
        if (const TJson* name = v.Find("name"); name && name->Text == Name)
            return NumberOf(v, "value");
    throw std::runtime_error("the results file has no input value " + Name);
}

TGlanceCase CaseOf(const TJson& Case) {
    const TJson& d = Member(Case, "design");
    TGlanceCase c;
    c.Diameter = NumberOf(Case, "diameter");
    c.Length = NumberOf(d, "L");
    c.QS = NumberOf(d, "QS");
    c.QB = NumberOf(d, "QB");
    c.QU = NumberOf(d, "QU");
    c.QBD = NumberOf(d, "QBD");
    c.QDN = NumberOf(d, "QDN");
    c.QSL = NumberOf(d, "QS_lrfd");
    c.QBL = NumberOf(d, "QB_lrfd");
    c.QUL = NumberOf(d, "QU_lrfd");
    return c;
}

// The (top load, top movement) points of one load-settlement line; empty without the line.
std::vector<std::pair<double, double>> LinePoints(const TJson& Case, const char* Line) {
    std::vector<std::pair<double, double>> points;
    const TJson* lines = Case.Find("load_settlement");
    const TJson* line = lines ? lines->Find(Line) : nullptr;
    const TJson* rows = line ? line->Find("rows") : nullptr;
    if (!rows)
        return points;
    for (const TJson& row : rows->Items)
        if (row.Items.size() >= 2)
            points.emplace_back(Number(row.Items[0]), Number(row.Items[1]));
    return points;
}

// The tons of the engine's design load in the report's force unit.
double ForceInReportUnit(double Tons, const std::string& Unit) {
    constexpr double kNPerTon = 8.896443230521; // 2000 lb of 4.4482216152605 N
    return Unit == "kN" ? Tons * kNPerTon : Tons;
}

void AddGlanceLines(TResultsGlance& G) {
    const TGlanceCase& c = G.Cases.front();
    const std::string L = " " + G.LengthUnit, F = " " + G.ForceUnit;
    auto add = [&G](const std::string& Label, const std::string& Value) {
        G.Lines.push_back({"Results", Label, Value});
    };
    add(G.DesignLoad ? "Design length" : "Length", Fixed(c.Length, 1) + L);
    if (G.DesignLoad)
        add("Design load", Fixed(G.Load, 1) + F);
    add("QS", Fixed(c.QS, 1) + F);
    add(G.Uplift ? "WT" : "QB", Fixed(c.QB, 1) + F);
    add("QU", Fixed(c.QU, 1) + F);
    if (G.Lrfd) {
        add("LRFD QS", Fixed(c.QSL, 1) + F);
        add("LRFD QB", Fixed(c.QBL, 1) + F);
        add("LRFD QU", Fixed(c.QUL, 2) + F);
    } else {
        add("QBD", Fixed(c.QBD, 1) + F);
        add("QDN", Fixed(c.QDN, 1) + F);
    }
    add("Settlement at", Fixed(G.Load, 1) + F);
    auto settlement = [&](const char* Line, const std::optional<double>& S) {
        add(std::string("  ") + Line,
            S ? Fixed(*S, 4) + " " + G.MovementUnit : std::string("beyond the curve"));
    };
    settlement("trend line", G.TrendSettlement);
    settlement("upper bound", G.UpperSettlement);
    settlement("lower bound", G.LowerSettlement);
}

} // namespace

std::vector<TOverviewLine> ProjectSummary(const TProgramData& Project) {
    std::vector<TOverviewLine> lines;
    lines.push_back(
        {"Units", "System", Project.fUnits == 2 ? "SI (kN, m)" : "English (lbs, ft, in)"});
    AddShaft(Project, lines);
    AddLoads(Project, lines);
    AddDesign(Project, lines);
    lines.push_back({"Soil", "Layers", std::to_string(Project.D.RowCount())});
    lines.push_back({"Soil", "Water table", Length(Project, Project.WTD)});
    return lines;
}

std::optional<double> SettlementAtLoad(const std::vector<std::pair<double, double>>& Line,
                                       double Load) {
    // From the origin through the points, the first segment that reaches the load.
    std::pair<double, double> previous{0.0, 0.0};
    for (const auto& point : Line) {
        if (point.first >= Load) {
            const double span = point.first - previous.first;
            if (span <= 0.0)
                return point.second;
            const double t = (Load - previous.first) / span;
            return previous.second + t * (point.second - previous.second);
        }
        previous = point;
    }
    return std::nullopt;
}

TResultsGlance ResultsGlance(const TJson& Results) {
    CaseCapacityTables(Results); // a case naming no capacity table makes the file unreadable
    TResultsGlance g;
    const TJson& status = Member(Results, "status");
    g.Status = static_cast<int>(NumberOf(status, "code"));
    g.StatusMeaning = Member(status, "meaning").Text;
    g.Lrfd = InputValue(Results, "NLRFD") == 1;
    g.DesignLoad = InputValue(Results, "METHOD") == 1;
    g.Uplift = InputValue(Results, "KCYCL") == 2;
    const TJson& units = Member(Results, "units");
    g.LengthUnit = Member(units, "length").Text;
    g.ForceUnit = Member(units, "force").Text;
    g.MovementUnit = Member(units, "movement").Text;
    for (const TJson& m : Member(Results, "messages").Items) {
        const std::string kind = Member(m, "kind").Text;
        if (kind == "note")
            continue;
        g.Messages.emplace_back(kind, Member(m, "text").Text);
        (kind == "error" ? g.Errors : g.Warnings) += 1;
    }
    // A run that stopped short of a design row (the profile too short for the load) has its
    // cases without one: nothing to glance at but the status and the notes.
    const TJson* headline = nullptr;
    for (const TJson& c : Member(Results, "cases").Items) {
        const TJson* design = c.Find("design");
        if (!design || design->Kind != TJson::TKind::Object)
            continue;
        g.Cases.push_back(CaseOf(c));
        if (!headline)
            headline = &c;
    }
    if (!headline)
        return g;
    const TGlanceCase& first = g.Cases.front();
    g.Load = g.DesignLoad ? ForceInReportUnit(InputValue(Results, "P"), g.ForceUnit)
                          : (g.Lrfd ? first.QUL : first.QDN);
    g.TrendSettlement = SettlementAtLoad(LinePoints(*headline, "trend"), g.Load);
    g.UpperSettlement = SettlementAtLoad(LinePoints(*headline, "upper_bound"), g.Load);
    g.LowerSettlement = SettlementAtLoad(LinePoints(*headline, "lower_bound"), g.Load);
    AddGlanceLines(g);
    return g;
}
