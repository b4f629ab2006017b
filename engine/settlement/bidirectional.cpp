// Bidirectional load test on the t-z method (the jack-cell test of Osterberg 1998; the
// equivalent top-down construction with its elastic correction as in FHWA GEC 10, Brown et al.
// 2018). Each part is solved by carrying load and movement element by
// element from its free end to the cell, on the solver's elements, stiffness and exclusions:
//  - the part above the cell from the shaft top (load 0, an assumed upward movement) down to the
//    cell, each element taking side load from the t-z curves times RCYCL and its own buoyant
//    weight, and shortening under its average load;
//  - the part below the cell from the tip (the q-w curve's load at an assumed tip movement) up
//    to the cell, exactly as the top-down solver carries it.
#include "bidirectional.h"

#include "format.h"
#include "kolmar/layer_records.h"
#include "transcendental.h"

#include <algorithm>
#include <cmath>
#include <ostream>
#include <streambuf>

namespace kolmar::engine::settlement {
namespace {

constexpr double kConcretePcf = 150.0; // 4050 lb per cubic yard, as in the uplift capacity
constexpr double kWaterPcf = 62.4;
constexpr double kCubicInchesPerCubicFoot = 1728.0;
constexpr double kStemAreaFactor = 0.7854; // pi / 4, as the solver takes it

class NullBuffer : public std::streambuf {
protected:
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

// A depth (ft) in the project's units, with its unit.
std::string DepthText(const ShaftCase& shaft, double ft) {
    const double value = shaft.si() ? ft / kMToFt : ft;
    std::string text(TrimRight(F(value, 14, 2)));
    text.erase(0, text.find_first_not_of(' '));
    return text + (shaft.si() ? " m" : " ft");
}

// The shaft in the solver's elements, with the curves it reads and what the two parts need.
struct Model {
    SolverShaft solver;
    std::vector<TzCurve> curves;
    CurvePoints qw;
    std::vector<SolverElement> elements; // from the tip upward
    std::vector<double> weight;          // buoyant weight of every element, lb
    double most = 0.0;                   // largest unit load transfer, psi
    double upper_end = 0.0;              // largest movement of the t-z curves, in
    double lower_end = 0.0;              // that of the q-w curve, or of the t-z curves if larger
};

double ElementWeight(const SolverElement& el, double din, double water_in) {
    const double h = el.bottom_depth - el.top_depth;
    const double submerged = std::clamp(el.bottom_depth - std::max(el.top_depth, water_in), 0.0, h);
    const double area = kStemAreaFactor * din * din;
    return (kConcretePcf * h - kWaterPcf * submerged) * area / kCubicInchesPerCubicFoot;
}

// Builds the trend line's curves and the elements; the problem when the curves cannot be built.
std::string BuildModel(const BidirectionalSetup& setup, Model& m) {
    NullBuffer discard;
    std::ostream nowhere(&discard);
    const TzGeometry geometry = PrepareLayers(setup.shaft.layers);
    int status = BuildTzCurves(setup.shaft, geometry, LoadTransferLine::trend, nowhere, m.curves);
    if (status == 0)
        status =
            BuildQwCurve(setup.shaft, geometry, LoadTransferLine::trend, nowhere, nowhere, m.qw);
    if (status != 0)
        return "The t-z and q-w curves of the shaft cannot be built: the soil profile's strength "
               "curve ends above a curve depth or the tip (run status " +
               std::to_string(status) + ").";
    m.solver = MakeSolverShaft(setup.shaft);
    m.elements = PrepareElements(m.solver, m.curves);
    m.most = LargestTransfer(m.curves);
    for (const SolverElement& el : m.elements)
        m.weight.push_back(ElementWeight(el, m.solver.din, 12.0 * setup.water_depth));
    for (const TzCurve& curve : m.curves)
        m.upper_end = std::max(m.upper_end, curve.points.movement.back());
    if (!(m.upper_end > 0.0))
        m.upper_end = 0.1 * m.solver.din;
    m.lower_end = std::max(m.qw.movement.back(), m.upper_end);
    return {};
}

// The cell's node counted from the tip: the element boundary nearest the depth (inches).
int CellNode(const SolverShaft& solver, double depth_in) {
    const double k = std::round((solver.length - depth_in) / solver.h);
    return static_cast<int>(std::clamp(k, 0.0, static_cast<double>(solver.n)));
}

struct Counts {
    int bisected = 0, failed = 0;
};

// The upper part (elements node..n-1 from the tip) pushed up until its top moves by `top`.
PartStep CarryUpper(Model& m, int node, double rcycl, double top, Counts& counts) {
    PartStep step;
    step.far_movement = top;
    double load = 0.0, movement = top;
    for (int i = m.solver.n - 1; i >= node; --i) {
        // The uplift factor scales the side load an element takes at every movement.
        SolverElement el = m.elements[static_cast<std::size_t>(i)];
        el.side_area *= rcycl;
        const ElementResult r = SolveElementAt(el, m.solver.h, load, movement, m.most);
        counts.bisected += r.bisected ? 1 : 0;
        counts.failed += r.converged ? 0 : 1;
        // The element's own weight hangs on it below its start, half of it on the average load.
        const double w = m.weight[static_cast<std::size_t>(i)];
        const double average = r.average_load + w / 2.0;
        step.elements.push_back({el.mid_depth, average, r.mid_movement});
        movement += m.solver.h * average / el.ae;
        load = r.top_load + w;
    }
    step.cell_load = load;
    step.cell_movement = movement;
    return step;
}

// The lower part (elements 0..node-1 from the tip) pushed down until its tip moves by `tip`.
PartStep CarryLower(Model& m, int node, double tip, Counts& counts) {
    std::vector<SolverElement> lower(m.elements.begin(), m.elements.begin() + node);
    CarryResult r;
    CarryUp(m.solver, lower, m.most, ReadCurve(m.qw, tip), tip, KeepElements::all, r,
            counts.bisected, counts.failed);
    std::copy(lower.begin(), lower.end(), m.elements.begin());
    PartStep step;
    step.far_load = r.tip_load;
    step.far_movement = r.tip_movement;
    step.cell_load = r.top_load;
    step.cell_movement = r.top_movement;
    for (const ElementResult& e : r.elements)
        step.elements.push_back({e.mid_depth, e.average_load, e.mid_movement});
    return step;
}

// Movements from kFirstCellMovement to `end` (inches), evenly spaced on a logarithmic scale.
std::vector<double> MovementSeries(double end) {
    if (!(end > kFirstCellMovement))
        return {end};
    std::vector<double> w;
    const double ratio = math::Log(end / kFirstCellMovement) / (kCellMovementSteps - 1);
    for (int k = 0; k < kCellMovementSteps; ++k)
        w.push_back(k + 1 == kCellMovementSteps ? end : kFirstCellMovement * math::Exp(ratio * k));
    return w;
}

// The weight of the upper part and, for each of its elements (from the top), the weight above
// its mid-depth.
double UpperWeight(const Model& m, int node, std::vector<double>* above_mid) {
    double sum = 0.0;
    for (int i = m.solver.n - 1; i >= node; --i) {
        const double w = m.weight[static_cast<std::size_t>(i)];
        if (above_mid)
            above_mid->push_back(sum + w / 2.0);
        sum += w;
    }
    return sum;
}

// The element average loads of the upper part at a cell movement: linear between the steps
// around it (from zero side load with the weight alone at no movement), the last step beyond.
std::vector<double> UpperLoadsAt(const std::vector<PartStep>& steps,
                                 const std::vector<double>& weight_above, double w) {
    std::size_t j = 0;
    while (j < steps.size() && steps[j].cell_movement < w)
        ++j;
    std::vector<double> loads(weight_above.size());
    for (std::size_t i = 0; i < loads.size(); ++i) {
        if (j >= steps.size()) {
            loads[i] = steps.back().elements[i].load;
            continue;
        }
        const double w1 = steps[j].cell_movement, q1 = steps[j].elements[i].load;
        const double w0 = j == 0 ? 0.0 : steps[j - 1].cell_movement;
        const double q0 = j == 0 ? weight_above[i] : steps[j - 1].elements[i].load;
        loads[i] = w1 > w0 ? q0 + (w - w0) * (q1 - q0) / (w1 - w0) : q1;
    }
    return loads;
}

// The equivalent top-down curve at every movement either part was solved for.
std::vector<EquivalentPoint> Equivalent(const Model& m, int node, const BidirectionalResult& r) {
    std::vector<double> weight_above;
    const double weight = UpperWeight(m, node, &weight_above);
    std::vector<double> w;
    for (const auto* part : {&r.upper, &r.lower})
        for (const PartStep& s : *part)
            w.push_back(s.cell_movement);
    std::sort(w.begin(), w.end());
    w.erase(std::unique(w.begin(), w.end()), w.end());
    std::vector<EquivalentPoint> out;
    for (const double cell : w) {
        EquivalentPoint p;
        p.cell_movement = cell;
        const double side = LoadAtMovement(r.upper, weight, cell) - weight;
        p.load = side + LoadAtMovement(r.lower, 0.0, cell);
        // In a top-down test the upper part carries the top load less the side load above each
        // depth; its shortening adds to the movement at the cell.
        p.top_movement = cell;
        if (!r.upper.empty()) {
            const std::vector<double> loads = UpperLoadsAt(r.upper, weight_above, cell);
            for (std::size_t i = 0; i < loads.size(); ++i) {
                const double side_above = loads[i] - weight_above[i];
                const SolverElement& el = m.elements[static_cast<std::size_t>(m.solver.n - 1) - i];
                p.top_movement += m.solver.h * std::max(p.load - side_above, 0.0) / el.ae;
            }
        }
        out.push_back(p);
    }
    return out;
}

// Each part's series of movements, stopped at the cell's capacity.
void SolveParts(Model& m, int node, const BidirectionalSetup& setup, BidirectionalResult& r,
                Counts& counts) {
    const double limit = setup.cell_capacity > 0.0 ? setup.cell_capacity : 0.0;
    const auto keep = [&](std::vector<PartStep>& steps, PartStep step) {
        if (limit > 0.0 && step.cell_load > limit) {
            r.capacity_reached = true;
            return false;
        }
        steps.push_back(std::move(step));
        return true;
    };
    for (const double top : MovementSeries(m.upper_end))
        if (!keep(r.upper, CarryUpper(m, node, setup.rcycl, top, counts)))
            break;
    for (const double tip : MovementSeries(m.lower_end))
        if (!keep(r.lower, CarryLower(m, node, tip, counts)))
            break;
}

// The ultimate cell loads of the two parts with the cell at every element boundary that may
// hold it, and the depth where they are equal, to the nearest foot.
void FindBalance(Model& m, const BidirectionalSetup& setup, BidirectionalResult& r,
                 Counts& counts) {
    for (int node = m.solver.n - 1; node >= 0; --node) {
        const double depth_ft = (m.solver.length - node * m.solver.h) / 12.0;
        if (!CellDepthProblem(setup.shaft, depth_ft).empty())
            continue;
        BalancePoint p;
        p.depth = depth_ft;
        p.upper = CarryUpper(m, node, setup.rcycl, m.upper_end, counts).cell_load;
        p.lower = CarryLower(m, node, m.lower_end, counts).cell_load;
        r.balance.push_back(p);
    }
    for (std::size_t i = 0; i < r.balance.size(); ++i) {
        const BalancePoint& b = r.balance[i];
        if (b.upper < b.lower)
            continue;
        if (i == 0)
            break; // the upper part is the stronger even with the shallowest cell
        const BalancePoint& a = r.balance[i - 1];
        const double da = a.upper - a.lower, db = b.upper - b.lower;
        const double depth = a.depth + (b.depth - a.depth) * (-da) / (db - da);
        r.balance_depth = std::round(depth);
        return;
    }
}

} // namespace

std::string CellDepthProblem(const ShaftCase& shaft, double d) {
    if (!std::isfinite(d) || !(d > 0.0))
        return "The cell depth must be a number greater than 0 (given: " +
               (std::isfinite(d) ? DepthText(shaft, d) : std::string("not a number")) + ").";
    if (d > shaft.length + 1e-9)
        return "The cell depth " + DepthText(shaft, d) + " lies below the shaft tip at " +
               DepthText(shaft, shaft.length) + ".";
    if (d <= shaft.top_length)
        return "The cell depth " + DepthText(shaft, d) +
               " lies in the top portion without side resistance (to " +
               DepthText(shaft, shaft.top_length) +
               "): the part above the cell would carry no "
               "side load.";
    if (shaft.bell_height > 0.0 && d > shaft.length - shaft.bell_height + 1e-9)
        return "The cell depth " + DepthText(shaft, d) + " lies in the bell (from " +
               DepthText(shaft, shaft.length - shaft.bell_height) + " to the tip at " +
               DepthText(shaft, shaft.length) + "); the cell is placed in the stem.";
    return {};
}

double LoadAtMovement(const std::vector<PartStep>& steps, double start_load, double w) {
    double w0 = 0.0, q0 = start_load;
    for (const PartStep& s : steps) {
        if (w <= s.cell_movement) {
            if (!(s.cell_movement > w0))
                return s.cell_load;
            return q0 + (w - w0) * (s.cell_load - q0) / (s.cell_movement - w0);
        }
        w0 = s.cell_movement;
        q0 = s.cell_load;
    }
    return q0;
}

BidirectionalResult SimulateBidirectional(const BidirectionalSetup& setup) {
    BidirectionalResult r;
    r.problem = CellDepthProblem(setup.shaft, setup.cell_depth);
    if (!r.problem.empty())
        return r;
    if (!std::isfinite(setup.cell_capacity) || setup.cell_capacity < 0.0 ||
        !std::isfinite(setup.rcycl) || setup.rcycl < 0.0) {
        r.problem = "The cell capacity and the uplift factor RCYCL must be numbers not below 0.";
        return r;
    }
    Model m;
    r.problem = BuildModel(setup, m);
    if (!r.problem.empty())
        return r;
    const int node = CellNode(m.solver, 12.0 * setup.cell_depth);
    if (node >= m.solver.n) {
        r.problem = "The cell depth " + DepthText(setup.shaft, setup.cell_depth) +
                    " lies above the first element boundary below the top.";
        return r;
    }
    r.cell_depth = (m.solver.length - node * m.solver.h) / 12.0;
    r.upper_weight = UpperWeight(m, node, nullptr);
    Counts counts;
    SolveParts(m, node, setup, r, counts);
    r.upper_ultimate = CarryUpper(m, node, setup.rcycl, m.upper_end, counts).cell_load;
    r.lower_ultimate = CarryLower(m, node, m.lower_end, counts).cell_load;
    r.equivalent = Equivalent(m, node, r);
    FindBalance(m, setup, r, counts);
    r.bisected = counts.bisected;
    r.failed = counts.failed;
    return r;
}

} // namespace kolmar::engine::settlement
