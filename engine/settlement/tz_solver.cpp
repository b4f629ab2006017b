// t-z load-settlement solver (Coyle and Reese load-transfer method as applied to drilled shafts
// by O'Neill and Reese): for each assumed tip movement the tip load comes from the q-w curve and
// the shaft is climbed element by element, each element taking side load from the t-z curves at
// its mid-depth and shortening under its average load. Inches, pounds and psi inside; tables
// and plot records in tons and inches (English) or kN and metres (SI).
#include "tz_solver.h"

#include "format.h"

#include <algorithm>
#include <cmath>
#include <locale>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <streambuf>
#include <string>

namespace kolmar::engine::settlement {
namespace {

constexpr double kAreaFactor = 0.7854;   // pi / 4
constexpr double kInPerM = 39.37;        // inches per metre in the result tables
constexpr double kLbPerKnPlot = 224.8;   // pounds per kN of the load-distribution records
constexpr double kNoTipMovement = 1e-10; // inches: a smaller tip movement carries no tip load
constexpr int kBisectionSteps = 200;

// Largest unit load transfer any curve can give (psi), which bounds the mid movement.
double MaxTransfer(const std::vector<TzCurve>& curves) {
    double most = 0.0;
    for (const TzCurve& curve : curves)
        for (const double t : curve.points.value)
            most = std::max(most, t);
    return most;
}

double ElementMidDepth(const SolverShaft& shaft, int e) {
    return shaft.length - (e - 0.5) * shaft.h;
}

// One element: the mid movement w_m solves w_m = wb + h/4 (Qb + (Qb + Qtop(w_m)) / 2) / AE.
ElementResult SolveElement(const SolverShaft& shaft, const TransferPoint& transfer, int e,
                           double bottom_load, double bottom_movement, double max_transfer) {
    ElementResult r;
    r.bottom_depth = shaft.length - (e - 1) * shaft.h;
    r.mid_depth = ElementMidDepth(shaft, e);
    r.top_depth = shaft.length - e * shaft.h;
    r.bottom_load = bottom_load;
    r.bottom_movement = bottom_movement;
    const double ae = AxialStiffness(shaft, r.mid_depth);
    const double side_area = kPiMethod * shaft.din * shaft.h;

    // Evaluates the element at the estimate w and returns the new estimate.
    TransferCursor cursor;
    const auto evaluate = [&](double w) {
        r.mid_movement = w;
        r.t = TransferAt(transfer, w, cursor);
        r.load_increment = side_area * r.t;
        r.top_load = bottom_load + r.load_increment;
        r.average_load = bottom_load + r.load_increment / 2.0;
        r.compression = shaft.h * r.average_load / ae;
        r.top_movement = bottom_movement + r.compression;
        return bottom_movement +
               (shaft.h / 4.0) * (bottom_load + (bottom_load + r.top_load) / 2.0) / ae;
    };

    double w = bottom_movement;
    for (int i = 0; i < kPlainIterations; ++i) {
        const double next = evaluate(w);
        if (std::fabs(next - w) <= kMovementTolerance)
            return r;
        w = next;
    }

    // The fixed point did not settle (a very soft or very long element on a steep curve). The
    // residual w - g(w) is continuous, not positive at the bottom movement and not negative at
    // the movement the largest transfer could give, so bisection finds the root.
    r.bisected = true;
    double lo = bottom_movement;
    double hi = bottom_movement +
                (shaft.h / 4.0) * (2.0 * bottom_load + side_area * max_transfer / 2.0) / ae;
    for (int i = 0; i < kBisectionSteps && hi - lo > 1e-12 * std::max(1.0, std::fabs(hi)); ++i) {
        const double mid = (lo + hi) / 2.0;
        if (mid - evaluate(mid) > 0.0)
            hi = mid;
        else
            lo = mid;
    }
    w = (lo + hi) / 2.0;
    r.converged = std::fabs(evaluate(w) - w) <= kMovementTolerance;
    return r;
}

struct TableUnits {
    double load;     // output load per pound
    double movement; // output movement per inch
};

TableUnits ResultUnits(bool si) {
    return si ? TableUnits{kLbToKn, 1.0 / kInPerM} : TableUnits{1.0 / 2000.0, 1.0};
}

LoadSettlementRow ToOutput(const CarryResult& r, const TableUnits& u) {
    return {r.top_load * u.load, r.top_movement * u.movement, r.tip_load * u.load,
            r.tip_movement * u.movement};
}

void WriteTableHeading(std::ostream& os, const UnitLabels& labels) {
    WriteBlankLines(os, 1);
    WriteLine(os, Blanks(8) + "TOP  LOAD     TOP MOVEMENT       TIP LOAD  " + Blanks(4) +
                      "TIP  MOVEMENT");
    WriteLine(os, Blanks(11) + std::string(labels.load) + Blanks(13) +
                      std::string(labels.movement) + Blanks(14) + std::string(labels.load) +
                      Blanks(12) + std::string(labels.movement));
}

void WriteTableRow(std::ostream& os, const LoadSettlementRow& row) {
    WriteLine(os, E(row.top_load, 17, 4) + E(row.top_movement, 16, 4) + E(row.tip_load, 16, 4) +
                      E(row.tip_movement, 16, 4));
}

// A stream buffer that takes text and keeps none of it.
class DiscardBuffer : public std::streambuf {
protected:
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

// The element table of TZDATA.DAT for one tip movement, in inches, pounds and psi.
void WriteScratchSolution(std::ostream& os, const CarryResult& r) {
    const auto row = [](std::initializer_list<std::string> cells) {
        std::string line = Blanks(2);
        for (const std::string& cell : cells)
            line += cell;
        return line;
    };
    const auto value = [](double v) { return E(v, 11, 4); };
    const std::string none = Blanks(11);
    WriteLine(os, "1");
    WriteLine(os, Blanks(5) + "ASSUMED TIP MOVEMENT" + Blanks(13) + "TIP   LOAD");
    WriteLine(os, Blanks(13) + "IN." + Blanks(20) + "LB.");
    WriteLine(os, E(r.tip_movement, 23, 4) + E(r.tip_load, 23, 4));
    WriteBlankLines(os, 1);
    WriteLine(os, row({A("DEPTH", 11), A("LOAD", 11), A("LOAD", 11), A("TOTAL", 11), A("AVG", 11),
                       A("COMP", 11), A("TOTAL", 11), A("AVG", 11)}));
    WriteLine(os, row({none, A("TRANSFER", 11), A("INCR", 11), A("LOAD", 11), A("LOAD", 11),
                       A("OF INCR", 11), A("MVMNT", 11), A("MVMNT", 11)}));
    WriteLine(os, row({A("IN.", 11), A("PSI", 11), A("LB.", 11), A("LB.", 11), A("LB.", 11),
                       A("IN.", 11), A("IN.", 11), A("IN.", 11)}));
    WriteBlankLines(os, 1);
    for (const ElementResult& e : r.elements) {
        WriteLine(os, row({value(e.bottom_depth), none, none, value(e.bottom_load), none, none,
                           value(e.bottom_movement)}));
        WriteLine(os,
                  row({value(e.mid_depth), value(e.t), value(e.load_increment), none,
                       value(e.average_load), value(e.compression), none, value(e.mid_movement)}));
    }
    if (!r.elements.empty()) {
        const ElementResult& top = r.elements.back();
        WriteLine(os, row({value(top.top_depth), none, none, value(top.top_load), none, none,
                           value(top.top_movement)}));
    }
}

// Load-distribution record of an element: mid-depth (ft or m), average load (tons or kN) and
// mid movement (inches in both systems).
std::string DistributionRecord(const ElementResult& e, bool si) {
    const double depth = si ? e.mid_depth / kInPerM : e.mid_depth / 12.0;
    const double load = si ? e.average_load / kLbPerKnPlot : e.average_load / 2000.0;
    return Blanks(3) + E(depth, 10, 3) + Blanks(3) + E(load, 10, 3) + Blanks(3) +
           E(e.mid_movement, 10, 3);
}

std::string ListInts(std::initializer_list<int> values) {
    std::string record;
    for (const int v : values)
        record += ListRecord(v);
    return record;
}

// Loads at the design-chart settlements: the tip movement of each settlement from the main
// pass, the carrying-up again, CHART.DAT, the chart table and the report rows.
void DefinedSettlements(const ShaftCase& shaft, const SolverShaft& solver,
                        const std::vector<TransferPoint>& points, double most,
                        const CurvePoints& qw,
                        const std::array<CarryResult, kSettlementSteps>& rows,
                        SettlementFiles& files, DesignChartTable& chart) {
    const std::vector<double>& settlements = shaft.chart_settlements;
    const int count = static_cast<int>(settlements.size());
    const double tip_area =
        kAreaFactor * (shaft.base_diameter > shaft.diameter ? solver.dbin * solver.dbin
                                                            : solver.din * solver.din);
    const TableUnits units = ResultUnits(shaft.si());
    std::vector<LoadSettlementRow> results;
    CarryResult r;
    for (int j = 0; j < count; ++j) {
        const double tip_movement =
            TipMovementForSettlement(rows, settlements[static_cast<std::size_t>(j)]);
        const double tip_load = tip_movement > kNoTipMovement ? ReadCurve(qw, tip_movement) : 0.0;
        CarryUp(solver, points, most, tip_load, tip_movement, r);
        if (j == 0) {
            WriteLine(files.chart, ListInts({count, solver.n}) +
                                       ListRecord({solver.din, solver.length}) +
                                       ListInts({shaft.variation, shaft.chart_pass}));
            chart.Length(shaft.chart_pass) = solver.length;
            chart.Diameter(shaft.variation) = solver.din;
        }
        WriteLine(files.chart,
                  ListRecord(shaft.variation) + ListRecord({solver.din, tip_movement, tip_area}));
        const ElementResult& top = r.elements.back();
        WriteLine(files.chart, Blanks(3) + E(top.mid_depth, 10, 3) + Blanks(3) +
                                   E(top.average_load, 10, 3) + Blanks(3) +
                                   E(top.mid_movement, 10, 3));
        // The chart holds the load at the shaft top, the load of the trend curve at the
        // settlement.
        chart.Load(shaft.chart_pass, shaft.variation, j + 1) = r.top_load;
        results.push_back(ToOutput(r, units));
    }
    WriteBlankLines(files.report, 2);
    WriteLine(files.report, Blanks(8) + "RESULT FOR DEFINED SETTLEMENTS ");
    WriteTableHeading(files.report, LabelsFor(shaft.unit_system));
    for (const LoadSettlementRow& row : results)
        WriteTableRow(files.report, row);
}

void WriteIterationNotes(std::ostream& report, int bisected, int failed) {
    if (bisected > 0) {
        WriteBlankLines(report, 1);
        WriteLine(report, Blanks(5) + "NOTE: THE ITERATION ON THE MID-ELEMENT MOVEMENT DID NOT");
        WriteLine(report, Blanks(5) + "SETTLE IN " + std::to_string(kPlainIterations) +
                              " STEPS FOR " + std::to_string(bisected) +
                              " ELEMENT SOLUTIONS OF THIS LINE;");
        WriteLine(report, Blanks(5) + "THEY WERE SOLVED BY BISECTION.");
    }
    if (failed > 0) {
        WriteBlankLines(report, 1);
        WriteLine(report, Blanks(29) + "**** WARNING ****");
        WriteLine(report, Blanks(5) + "THE MID-ELEMENT MOVEMENT DID NOT CONVERGE TO 1.0E-05 IN.");
        WriteLine(report, Blanks(5) + "FOR " + std::to_string(failed) +
                              " ELEMENT SOLUTIONS OF THIS LINE; ITS RESULTS ARE NOT RELIABLE.");
    }
}

} // namespace

std::array<double, kSettlementSteps> TipMovements(double din) {
    std::array<double, kSettlementSteps> w = {
        0.00001, 0.00005, 0.0001, 0.005, 0.0075,     0.01,        0.025,     0.05,
        0.075,   0.1,     0.25,   0.5,   0.01 * din, 0.025 * din, 0.05 * din};
    for (std::size_t k = 12; k < w.size(); ++k)
        if (w[k] < w[k - 1])
            w[k] = 1.25 * w[k - 1];
    return w;
}

SolverShaft MakeSolverShaft(const ShaftCase& shaft) {
    SolverShaft s;
    s.n = shaft.increments;
    s.length = 12.0 * shaft.length;
    s.h = s.length / s.n;
    s.din = 12.0 * shaft.diameter;
    s.dbin = 12.0 * shaft.base_diameter;
    s.EAs = shaft.Ec * kAreaFactor * s.din * s.din;
    s.EAb = shaft.Ec * kAreaFactor * s.dbin * s.dbin;
    // Bell height plus the bottom portion: the part above the tip that carries no side load and
    // over which the section changes from the stem to the base.
    const double transition_length = 12.0 * (shaft.bell_height + shaft.bottom_length);
    s.transition = std::max(0.0, s.length - transition_length);
    s.exclusion_top = 12.0 * shaft.top_length;
    s.exclusion_bottom = s.length - transition_length;
    return s;
}

double AxialStiffness(const SolverShaft& shaft, double z) {
    if (z <= shaft.transition || !(shaft.length > shaft.transition))
        return shaft.EAs;
    const double f = std::min(1.0, (z - shaft.transition) / (shaft.length - shaft.transition));
    return shaft.EAs + f * (shaft.EAb - shaft.EAs);
}

TransferPoint LocateTransfer(const SolverShaft& shaft, const std::vector<TzCurve>& curves,
                             double z) {
    TransferPoint p;
    if (curves.empty() || z < shaft.exclusion_top || z > shaft.exclusion_bottom)
        return p;
    for (std::size_t i = 0; i < curves.size(); ++i) {
        const TzCurve& curve = curves[i];
        if (curve.depth < z)
            continue;
        p.deeper = &curve.points;
        if (curve.depth == z)
            return p;
        // Above the first curve the transfer grows from zero at the surface.
        const double above_depth = i == 0 ? 0.0 : curves[i - 1].depth;
        if (!(curve.depth - above_depth > 0.0))
            return p;
        p.above = i == 0 ? nullptr : &curves[i - 1].points;
        p.interpolate = true;
        p.offset = z - above_depth;
        p.span = curve.depth - above_depth;
        return p;
    }
    p.deeper = &curves.back().points;
    return p;
}

double TransferAt(const TransferPoint& p, double w) {
    if (p.deeper == nullptr)
        return 0.0;
    const double t = ReadCurve(*p.deeper, w);
    if (!p.interpolate)
        return t;
    const double above_t = p.above == nullptr ? 0.0 : ReadCurve(*p.above, w);
    return above_t + p.offset * (t - above_t) / p.span;
}

double TransferAt(const TransferPoint& p, double w, TransferCursor& cursor) {
    if (!p.ordered)
        return TransferAt(p, w);
    if (p.deeper == nullptr)
        return 0.0;
    const double t = ReadCurveFrom(*p.deeper, w, cursor.deeper);
    if (!p.interpolate)
        return t;
    const double above_t = p.above == nullptr ? 0.0 : ReadCurveFrom(*p.above, w, cursor.above);
    return above_t + p.offset * (t - above_t) / p.span;
}

double LoadTransfer(const SolverShaft& shaft, const std::vector<TzCurve>& curves, double z,
                    double w) {
    return TransferAt(LocateTransfer(shaft, curves, z), w);
}

std::vector<TransferPoint> LocateElements(const SolverShaft& shaft,
                                          const std::vector<TzCurve>& curves) {
    bool ordered = true;
    for (const TzCurve& curve : curves)
        ordered =
            ordered && std::is_sorted(curve.points.movement.begin(), curve.points.movement.end());
    std::vector<TransferPoint> points;
    points.reserve(static_cast<std::size_t>(shaft.n));
    for (int e = 1; e <= shaft.n; ++e) {
        points.push_back(LocateTransfer(shaft, curves, ElementMidDepth(shaft, e)));
        points.back().ordered = ordered;
    }
    return points;
}

CarryResult CarryUp(const SolverShaft& shaft, const std::vector<TzCurve>& curves, double tip_load,
                    double tip_movement) {
    return CarryUp(shaft, LocateElements(shaft, curves), MaxTransfer(curves), tip_load,
                   tip_movement);
}

CarryResult CarryUp(const SolverShaft& shaft, const std::vector<TransferPoint>& points,
                    double max_transfer, double tip_load, double tip_movement) {
    CarryResult r;
    CarryUp(shaft, points, max_transfer, tip_load, tip_movement, r);
    return r;
}

void CarryUp(const SolverShaft& shaft, const std::vector<TransferPoint>& points,
             double max_transfer, double tip_load, double tip_movement, CarryResult& r) {
    r.tip_load = tip_load;
    r.tip_movement = tip_movement;
    r.elements.clear();
    r.elements.reserve(static_cast<std::size_t>(shaft.n));
    double load = tip_load;
    double movement = tip_movement;
    for (int e = 1; e <= shaft.n; ++e) {
        r.elements.push_back(SolveElement(shaft, points[static_cast<std::size_t>(e - 1)], e, load,
                                          movement, max_transfer));
        load = r.elements.back().top_load;
        movement = r.elements.back().top_movement;
    }
    r.top_load = load;
    r.top_movement = movement;
}

double TipMovementForSettlement(const std::array<CarryResult, kSettlementSteps>& rows, double s) {
    if (s < rows.front().top_movement)
        return 0.0;
    for (std::size_t k = 1; k < rows.size(); ++k) {
        const CarryResult& a = rows[k - 1];
        const CarryResult& b = rows[k];
        if (s >= a.top_movement && s <= b.top_movement) {
            if (b.top_movement == a.top_movement)
                return (a.tip_movement + b.tip_movement) / 2.0;
            return a.tip_movement + (s - a.top_movement) * (b.tip_movement - a.tip_movement) /
                                        (b.top_movement - a.top_movement);
        }
    }
    const CarryResult& a = rows[rows.size() - 2];
    const CarryResult& b = rows.back();
    if (!(b.top_movement != a.top_movement))
        return b.tip_movement;
    return b.tip_movement + (s - b.top_movement) * (b.tip_movement - a.tip_movement) /
                                (b.top_movement - a.top_movement);
}

DesignChartTable::DesignChartTable()
    : load_(static_cast<std::size_t>(kMaxChartPasses) * kMaxChartDiameters * kMaxChartSettlements,
            0.0) {}

std::size_t DesignChartTable::Checked(int index, int limit, const char* what) {
    if (index < 1 || index > limit)
        throw std::out_of_range(std::string("design-chart ") + what + " index " +
                                std::to_string(index) + " outside 1.." + std::to_string(limit));
    return static_cast<std::size_t>(index - 1);
}

std::size_t DesignChartTable::Index(int pass, int variation, int settlement) {
    return (Checked(pass, kMaxChartPasses, "length") * kMaxChartDiameters +
            Checked(variation, kMaxChartDiameters, "diameter")) *
               kMaxChartSettlements +
           Checked(settlement, kMaxChartSettlements, "settlement");
}

double& DesignChartTable::Load(int pass, int variation, int settlement) {
    return load_[Index(pass, variation, settlement)];
}

double DesignChartTable::Load(int pass, int variation, int settlement) const {
    return load_[Index(pass, variation, settlement)];
}

double& DesignChartTable::Length(int pass) {
    return length_[Checked(pass, kMaxChartPasses, "length")];
}

double DesignChartTable::Length(int pass) const {
    return length_[Checked(pass, kMaxChartPasses, "length")];
}

double& DesignChartTable::Diameter(int variation) {
    return diameter_[Checked(variation, kMaxChartDiameters, "diameter")];
}

double DesignChartTable::Diameter(int variation) const {
    return diameter_[Checked(variation, kMaxChartDiameters, "diameter")];
}

int SolveLine(const ShaftCase& shaft, LoadTransferLine line, SettlementFiles& files,
              LoadSettlementTable& table, DesignChartTable& chart) {
    const bool si = shaft.si();
    const bool first_case = shaft.variation == 1 && shaft.chart_pass == 1;
    const bool trend = line == LoadTransferLine::trend;
    const UnitLabels labels = LabelsFor(shaft.unit_system);

    WriteCallHeadLines(shaft, line, files);
    const TzGeometry geometry = PrepareLayers(shaft.layers);
    std::vector<TzCurve> curves;
    int status = BuildTzCurves(shaft, geometry, line, files.report, curves);
    CurvePoints qw;
    if (status == 0)
        status = BuildQwCurve(shaft, geometry, line, files.report, files.run_notes, qw);
    if (status != 0)
        return status;

    // The scratch listing is built only when the caller keeps it.
    const bool scratch = static_cast<bool>(files.rewrite_tz_data);
    std::ostringstream scratch_text;
    scratch_text.imbue(std::locale::classic());
    DiscardBuffer discard;
    std::ostream nowhere(&discard);
    std::ostream& tz_data = scratch ? static_cast<std::ostream&>(scratch_text) : nowhere;
    if (scratch) {
        WriteLine(tz_data,
                  Blanks(5) + "NOTE: TZ CURVE DATA ARE AVAILABLE FOR SAND AND CLAY LAYERS ONLY.");
        WriteBlankLines(tz_data, 2);
        WriteTzListing(tz_data, curves, si, labels.depth, si ? kInToM : 1.0);
    }
    if (first_case)
        WriteTzListing(files.tz_text, curves, si, si ? " M." : "FT.", si ? kInToM : 1.0 / 12.0);
    if (first_case && trend)
        StageTzCurves(files.plot_t, curves, si);
    if (files.keep_curves)
        files.keep_curves(line, curves, qw);
    WriteQwListings(shaft, line, qw, files, tz_data);

    const SolverShaft solver = MakeSolverShaft(shaft);
    const std::array<double, kSettlementSteps> tip = TipMovements(solver.din);
    std::array<CarryResult, kSettlementSteps> rows;
    const std::vector<TransferPoint> points = LocateElements(solver, curves);
    const double most = MaxTransfer(curves);
    CarryResult work;
    int bisected = 0;
    int failed = 0;
    for (std::size_t k = 0; k < kSettlementSteps; ++k) {
        // Beyond the last q-w point (10 % of the base diameter) the base holds the last load:
        // the curve is not extended past the movements it was measured for.
        CarryUp(solver, points, most, ReadCurve(qw, tip[k]), tip[k], work);
        if (scratch)
            WriteScratchSolution(tz_data, work);
        if (files.keep_step)
            files.keep_step(line, k, work);
        for (const ElementResult& e : work.elements) {
            bisected += e.bisected ? 1 : 0;
            failed += e.converged ? 0 : 1;
            if (first_case && trend)
                WriteLine(files.plot_l, DistributionRecord(e, si));
        }
        // Only the top and tip values of a row are kept; the elements' storage is reused.
        rows[k] =
            CarryResult{work.tip_load, work.tip_movement, work.top_load, work.top_movement, {}};
    }

    const TableUnits units = ResultUnits(si);
    LoadSettlementBlock& block = table.Block(line);
    WriteBlankLines(files.report, 2);
    WriteLine(files.report, Blanks(8) + std::string(LineHeading(line)));
    WriteTableHeading(files.report, labels);
    for (std::size_t k = 0; k < kSettlementSteps; ++k) {
        block[k] = ToOutput(rows[k], units);
        WriteTableRow(files.report, block[k]);
    }
    WriteIterationNotes(files.report, bisected, failed);

    if (trend && !shaft.chart_settlements.empty())
        DefinedSettlements(shaft, solver, points, most, qw, rows, files, chart);
    if (scratch)
        files.rewrite_tz_data(scratch_text.str());
    return 0;
}

} // namespace kolmar::engine::settlement
