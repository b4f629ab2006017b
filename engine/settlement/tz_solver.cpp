// t-z load-settlement solver (Coyle and Reese load-transfer method as applied to drilled shafts
// by O'Neill and Reese): for each assumed tip movement the tip load comes from the q-w curve and
// the shaft is climbed element by element, each element taking side load from the t-z curves at
// its mid-depth and shortening under its average load. Inches, pounds and psi inside; tables
// and plot records in tons and inches (English) or kN and metres (SI).
#include "tz_solver.h"

#include "format.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <locale>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <streambuf>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// How an element's mid-depth reads the curves, decided once per element so that the solver's
// inner loop carries no test of it: no side load; one curve; between the surface and the first
// curve; between two curves with the same movements (one search serves both) or with their own;
// and curves whose movements are not in order, read by the full search.
enum class Reading { none, single, from_surface, shared, separate, full };

Reading ReadingOf(const TransferPoint& p) {
    if (!p.ordered)
        return Reading::full;
    if (p.deeper == nullptr)
        return Reading::none;
    if (!p.interpolate)
        return Reading::single;
    if (p.above == nullptr)
        return Reading::from_surface;
    return p.shared ? Reading::shared : Reading::separate;
}

// Whether the movement w still lies in segment j of an ordered curve (above point j - 1, at or
// below point j), where the last read left the cursor: the movement changes little from one
// read to the next, so this mostly holds, and then it is the segment SegmentFrom would find.
inline bool InsideSegment(const CurvePoints& curve, double w, std::size_t j) {
    return j - 1 < kCurvePoints - 1 && curve.movement[j - 1] < w && w <= curve.movement[j];
}

// ValueInSegment for a segment j inside the curve (1 <= j < kCurvePoints): the same arithmetic.
inline double ValueInside(const CurvePoints& curve, double w, std::size_t j) {
    const double w0 = curve.movement[j - 1];
    const double w1 = curve.movement[j];
    if (w == w1)
        return curve.value[j];
    return curve.value[j - 1] + (w - w0) * (curve.value[j] - curve.value[j - 1]) / (w1 - w0);
}

// TransferAt by cursor for an element read as R: the same searches and the same arithmetic, in
// the same order, as TransferAt, so every value is the same to the last bit.
template <Reading R>
inline double TransferFrom(const TransferPoint& p, double w, TransferCursor& cursor) {
    if constexpr (R == Reading::full) {
        return TransferAt(p, w);
    } else if constexpr (R == Reading::none) {
        return 0.0;
    } else {
        std::size_t j = cursor.deeper;
        const bool inside = InsideSegment(*p.deeper, w, j);
        if (!inside)
            j = SegmentFrom(*p.deeper, w, cursor.deeper);
        const double t = inside ? ValueInside(*p.deeper, w, j) : ValueInSegment(*p.deeper, w, j);
        if constexpr (R == Reading::single) {
            return t;
        } else {
            double above_t = 0.0;
            if constexpr (R == Reading::shared) {
                above_t = inside ? ValueInside(*p.above, w, j) : ValueInSegment(*p.above, w, j);
            } else if constexpr (R == Reading::separate) {
                const std::size_t k = cursor.above;
                above_t = InsideSegment(*p.above, w, k) ? ValueInside(*p.above, w, k)
                                                        : ReadCurveFrom(*p.above, w, cursor.above);
            }
            return above_t + p.offset * (t - above_t) / p.span;
        }
    }
}

inline double TransferFrom(const TransferPoint& p, double w, TransferCursor& cursor) {
    switch (ReadingOf(p)) {
    case Reading::none:
        return TransferFrom<Reading::none>(p, w, cursor);
    case Reading::single:
        return TransferFrom<Reading::single>(p, w, cursor);
    case Reading::from_surface:
        return TransferFrom<Reading::from_surface>(p, w, cursor);
    case Reading::shared:
        return TransferFrom<Reading::shared>(p, w, cursor);
    case Reading::separate:
        return TransferFrom<Reading::separate>(p, w, cursor);
    case Reading::full:
        break;
    }
    return TransferFrom<Reading::full>(p, w, cursor);
}

// The converged mid movement of an element and the unit load transfer there.
struct MidMovement {
    double w = 0.0, t = 0.0;
    bool bisected = false, converged = true;
};

// Where an element's carrying-up starts: the load and movement at its bottom.
struct ElementBottom {
    double load = 0.0, movement = 0.0;
};
static_assert(sizeof(ElementBottom) == 2 * sizeof(double) &&
                  offsetof(ElementBottom, movement) == sizeof(double),
              "an element bottom is read as one pair of doubles");

// The new estimate of an element's mid movement, w_m = wb + h/4 (Qb + (Qb + Qtop) / 2) / AE,
// with the unit load transfer t at the last estimate.
inline double NextEstimate(const SolverElement& el, double quarter_h, const ElementBottom& b,
                           double t) {
    const double top_load = b.load + el.side_area * t;
    return b.movement + quarter_h * (b.load + (b.load + top_load) / 2.0) / el.ae;
}

// An element whose fixed-point steps did not settle (a very soft or very long element on a
// steep curve). The residual w - g(w) is continuous, not positive at the bottom movement and
// not negative at the movement the largest transfer could give, so bisection finds the root.
MidMovement Bisect(const SolverElement& el, double quarter_h, const ElementBottom& b,
                   double max_transfer, TransferCursor& cursor) {
    MidMovement m;
    m.bisected = true;
    double lo = b.movement;
    double hi = b.movement + quarter_h * (2.0 * b.load + el.side_area * max_transfer / 2.0) / el.ae;
    for (int i = 0; i < kBisectionSteps && hi - lo > 1e-12 * std::max(1.0, std::fabs(hi)); ++i) {
        const double mid = (lo + hi) / 2.0;
        if (mid - NextEstimate(el, quarter_h, b, TransferFrom(el.transfer, mid, cursor)) > 0.0)
            hi = mid;
        else
            lo = mid;
    }
    m.w = (lo + hi) / 2.0;
    m.t = TransferFrom(el.transfer, m.w, cursor);
    m.converged = std::fabs(NextEstimate(el, quarter_h, b, m.t) - m.w) <= kMovementTolerance;
    return m;
}

// One element for every lane: the mid movement of each, by fixed-point steps from the lane's
// bottom movement, the steps of all unsettled lanes made in one sweep so that their chains of
// divisions overlap. A lane leaves the sweeps when its step changes the movement by no more
// than the tolerance; a lane still unsettled after kPlainIterations sweeps is bisected.
using LaneMask = std::uint32_t;
static_assert(kMaxLanes <= 32, "a lane mask holds every lane");

// The lanes of one element's solve: each lane's estimate of its mid movement, the lanes still
// open, and how a lane's step ends. A settled lane is handed to settle(lane, mid) at once.
template <Reading R, typename Settle> class LaneSolve {
public:
    LaneSolve(const SolverElement& el, double quarter_h, std::size_t lanes,
              const ElementBottom* bottom, TransferCursor* cursor, Settle& settle)
        : el_(el), quarter_h_(quarter_h), bottom_(bottom), cursor_(cursor), settle_(settle),
          open_(lanes >= 32 ? ~LaneMask{0} : (LaneMask{1} << lanes) - 1) {
        for (std::size_t l = 0; l < lanes; ++l)
            w_[l] = bottom[l].movement;
    }

    LaneMask open() const { return open_; }
    double w(std::size_t l) const { return w_[l]; }

    // A fixed-point step of lane l by the one-lane code.
    void Step(std::size_t l) {
        const double t = TransferFrom<R>(el_.transfer, w_[l], cursor_[l]);
        End(l, t, NextEstimate(el_, quarter_h_, bottom_[l], t));
    }

    // The end of a step of lane l, with the unit transfer t at its estimate and the next
    // estimate: the lane settles at its estimate when the step changes it by no more than the
    // tolerance, else it goes on from the next.
    void End(std::size_t l, double t, double next) {
        if (std::fabs(next - w_[l]) <= kMovementTolerance) {
            settle_(l, MidMovement{w_[l], t, false, true});
            open_ &= ~(LaneMask{1} << l);
        } else {
            w_[l] = next;
        }
    }

    // The lanes still open after the plain steps, by bisection.
    void BisectOpen(double max_transfer) {
        for (; open_ != 0; open_ &= open_ - 1) {
            const std::size_t l = static_cast<std::size_t>(std::countr_zero(open_));
            settle_(l, Bisect(el_, quarter_h_, bottom_[l], max_transfer, cursor_[l]));
        }
    }

private:
    const SolverElement& el_;
    double quarter_h_;
    const ElementBottom* bottom_;
    TransferCursor* cursor_;
    Settle& settle_;
    LaneMask open_;
    std::array<double, kMaxLanes> w_;
};

// The lowest lane of a mask, taken out of it.
inline std::size_t TakeLowest(LaneMask& mask) {
    const auto l = static_cast<std::size_t>(std::countr_zero(mask));
    mask &= mask - 1;
    return l;
}

template <Reading R, typename Settle>
void SolveLanesAs(const SolverElement& el, double quarter_h, std::size_t lanes,
                  const ElementBottom* bottom, double max_transfer, TransferCursor* cursor,
                  Settle& settle) {
    LaneSolve<R, Settle> solve(el, quarter_h, lanes, bottom, cursor, settle);
    for (int i = 0; i < kPlainIterations && solve.open() != 0; ++i)
        for (LaneMask sweep = solve.open(); sweep != 0;)
            solve.Step(TakeLowest(sweep));
    solve.BisectOpen(max_transfer);
}

#if defined(__SSE2__)
// One step of two lanes at an element between two curves with the same movements, each lane
// with exactly the operations of the one-lane code, in the same order and in the same IEEE
// double arithmetic (a packed division or product is two of them), so every value is the same
// to the last bit. The curves' movements are the same bits (TransferPoint::shared), so the
// above curve is read at the deeper curve's points.
class PairedStep {
public:
    PairedStep(const SolverElement& el, double quarter_h)
        : deeper_(*el.transfer.deeper), above_(*el.transfer.above),
          offset_(_mm_set1_pd(el.transfer.offset)), span_(_mm_set1_pd(el.transfer.span)),
          side_area_(_mm_set1_pd(el.side_area)), quarter_(_mm_set1_pd(quarter_h)),
          ae_(_mm_set1_pd(el.ae)) {}

    // The unit transfers and the next estimates of lanes a and b from movements wa and wb,
    // read in segments ja and jb of the curves (the lanes' cursors); false, with nothing
    // computed, unless both movements still lie in them.
    bool operator()(double wa, double wb, std::size_t ja, std::size_t jb, const ElementBottom& ba,
                    const ElementBottom& bb, __m128d& t, __m128d& next) const {
        if (ja - 1 >= kCurvePoints - 1 || jb - 1 >= kCurvePoints - 1)
            return false;
        // Points j - 1 and j of each lane's segment, one load each, then the lanes side by side.
        const __m128d w = _mm_set_pd(wb, wa);
        const __m128d ma = _mm_loadu_pd(&deeper_.movement[ja - 1]);
        const __m128d mb = _mm_loadu_pd(&deeper_.movement[jb - 1]);
        const __m128d w0 = _mm_unpacklo_pd(ma, mb);
        const __m128d w1 = _mm_unpackhi_pd(ma, mb);
        // Above point j - 1, at or below point j.
        if (_mm_movemask_pd(_mm_and_pd(_mm_cmplt_pd(w0, w), _mm_cmple_pd(w, w1))) != 3)
            return false;
        // ValueInside on both curves: v0 + (w - w0) * (v1 - v0) / (w1 - w0), or v1 at w1.
        const __m128d from = _mm_sub_pd(w, w0);
        const __m128d width = _mm_sub_pd(w1, w0);
        const __m128d at_point = _mm_cmpeq_pd(w, w1);
        const __m128d td = ValuesInside(deeper_, ja, jb, from, width, at_point);
        const __m128d tu = ValuesInside(above_, ja, jb, from, width, at_point);
        // The depth interpolation, then NextEstimate.
        t = _mm_add_pd(tu, _mm_div_pd(_mm_mul_pd(offset_, _mm_sub_pd(td, tu)), span_));
        const __m128d bottom_a = _mm_loadu_pd(&ba.load);
        const __m128d bottom_b = _mm_loadu_pd(&bb.load);
        const __m128d load = _mm_unpacklo_pd(bottom_a, bottom_b);
        const __m128d movement = _mm_unpackhi_pd(bottom_a, bottom_b);
        const __m128d top_load = _mm_add_pd(load, _mm_mul_pd(side_area_, t));
        const __m128d mean = _mm_div_pd(_mm_add_pd(load, top_load), _mm_set1_pd(2.0));
        next = _mm_add_pd(movement, _mm_div_pd(_mm_mul_pd(quarter_, _mm_add_pd(load, mean)), ae_));
        return true;
    }

private:
    static __m128d ValuesInside(const CurvePoints& curve, std::size_t ja, std::size_t jb,
                                __m128d from, __m128d width, __m128d at_point) {
        const __m128d va = _mm_loadu_pd(&curve.value[ja - 1]);
        const __m128d vb = _mm_loadu_pd(&curve.value[jb - 1]);
        const __m128d v0 = _mm_unpacklo_pd(va, vb);
        const __m128d v1 = _mm_unpackhi_pd(va, vb);
        const __m128d between =
            _mm_add_pd(v0, _mm_div_pd(_mm_mul_pd(from, _mm_sub_pd(v1, v0)), width));
        return _mm_or_pd(_mm_and_pd(at_point, v1), _mm_andnot_pd(at_point, between));
    }

    const CurvePoints& deeper_;
    const CurvePoints& above_;
    __m128d offset_, span_, side_area_, quarter_, ae_;
};

// SolveLanesAs for an element between two curves with the same movements, two lanes at a time
// where both stay in their cursors' segments, the others by the one-lane code. Two lanes to an
// instruction halve the instructions that wait on each lane's chain of divisions, so more
// lanes are in flight at once.
template <typename Settle>
void SolveSharedLanesInPairs(const SolverElement& el, double quarter_h, std::size_t lanes,
                             const ElementBottom* bottom, double max_transfer,
                             TransferCursor* cursor, Settle& settle) {
    LaneSolve<Reading::shared, Settle> solve(el, quarter_h, lanes, bottom, cursor, settle);
    const PairedStep paired(el, quarter_h);
    for (int i = 0; i < kPlainIterations && solve.open() != 0; ++i) {
        LaneMask sweep = solve.open();
        while (sweep != 0) {
            const std::size_t a = TakeLowest(sweep);
            if (sweep == 0) {
                solve.Step(a);
                break;
            }
            const std::size_t b = TakeLowest(sweep);
            __m128d t, next;
            if (!paired(solve.w(a), solve.w(b), cursor[a].deeper, cursor[b].deeper, bottom[a],
                        bottom[b], t, next)) {
                solve.Step(a);
                solve.Step(b);
                continue;
            }
            alignas(16) double t_out[2], next_out[2];
            _mm_store_pd(t_out, t);
            _mm_store_pd(next_out, next);
            solve.End(a, t_out[0], next_out[0]);
            solve.End(b, t_out[1], next_out[1]);
        }
    }
    solve.BisectOpen(max_transfer);
}
#endif

// One element for every lane: the mid movement of each, handed to settle(lane, mid) once the
// lane's steps have settled (or it has been bisected). The element's way of reading the curves
// picks the loop. A lane is settled once, and its bottom is not read again for this element
// after that, so settle may carry it up.
template <typename Settle>
void SolveLanes(const SolverElement& el, double quarter_h, std::size_t lanes,
                const ElementBottom* bottom, double max_transfer, TransferCursor* cursor,
                Settle&& settle) {
    switch (ReadingOf(el.transfer)) {
    case Reading::none:
        return SolveLanesAs<Reading::none>(el, quarter_h, lanes, bottom, max_transfer, cursor,
                                           settle);
    case Reading::single:
        return SolveLanesAs<Reading::single>(el, quarter_h, lanes, bottom, max_transfer, cursor,
                                             settle);
    case Reading::from_surface:
        return SolveLanesAs<Reading::from_surface>(el, quarter_h, lanes, bottom, max_transfer,
                                                   cursor, settle);
    case Reading::shared:
#if defined(__SSE2__)
        return SolveSharedLanesInPairs(el, quarter_h, lanes, bottom, max_transfer, cursor, settle);
#else
        return SolveLanesAs<Reading::shared>(el, quarter_h, lanes, bottom, max_transfer, cursor,
                                             settle);
#endif
    case Reading::separate:
        return SolveLanesAs<Reading::separate>(el, quarter_h, lanes, bottom, max_transfer, cursor,
                                               settle);
    case Reading::full:
        break;
    }
    SolveLanesAs<Reading::full>(el, quarter_h, lanes, bottom, max_transfer, cursor, settle);
}

void SolveElementLanes(const SolverElement& el, double quarter_h, std::size_t lanes,
                       const ElementBottom* bottom, double max_transfer, TransferCursor* cursor,
                       MidMovement* mid) {
    SolveLanes(el, quarter_h, lanes, bottom, max_transfer, cursor,
               [mid](std::size_t l, const MidMovement& m) { mid[l] = m; });
}

// The element's values at its solved mid movement.
ElementResult ElementAt(const SolverElement& el, double h, double bottom_load,
                        double bottom_movement, const MidMovement& m) {
    ElementResult r;
    r.bottom_depth = el.bottom_depth;
    r.mid_depth = el.mid_depth;
    r.top_depth = el.top_depth;
    r.bottom_load = bottom_load;
    r.bottom_movement = bottom_movement;
    r.mid_movement = m.w;
    r.t = m.t;
    r.load_increment = el.side_area * r.t;
    r.top_load = bottom_load + r.load_increment;
    r.average_load = bottom_load + r.load_increment / 2.0;
    r.compression = h * r.average_load / el.ae;
    r.top_movement = bottom_movement + r.compression;
    r.converged = m.converged;
    r.bisected = m.bisected;
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
    std::string line;
    line.reserve(66);
    AppendE(line, row.top_load, 17, 4);
    AppendE(line, row.top_movement, 16, 4);
    AppendE(line, row.tip_load, 16, 4);
    AppendE(line, row.tip_movement, 16, 4);
    WriteLine(os, line);
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
    // The element rows, two an element and the top's, built in one text and written at once. A
    // row is two blanks and 11-column cells, blank where the column has no value.
    std::string text;
    text.reserve((2 * r.elements.size() + 1) * 92);
    const auto cell = [&text](double v) { AppendE(text, v, 11, 4); };
    const auto blank = [&text](int cells) { AppendBlanks(text, 11 * cells); };
    const auto boundary = [&](double depth, double load, double movement) {
        AppendBlanks(text, 2);
        cell(depth);
        blank(2);
        cell(load);
        blank(2);
        cell(movement);
        text += '\n';
    };
    for (const ElementResult& e : r.elements) {
        boundary(e.bottom_depth, e.bottom_load, e.bottom_movement);
        AppendBlanks(text, 2);
        cell(e.mid_depth);
        cell(e.t);
        cell(e.load_increment);
        blank(1);
        cell(e.average_load);
        cell(e.compression);
        blank(1);
        cell(e.mid_movement);
        text += '\n';
    }
    if (!r.elements.empty()) {
        const ElementResult& top = r.elements.back();
        boundary(top.top_depth, top.top_load, top.top_movement);
    }
    os.write(text.data(), static_cast<std::streamsize>(text.size()));
}

// Load-distribution records of a carrying-up, one an element: mid-depth (ft or m), average load
// (tons or kN) and mid movement (inches in both systems), built in one text and written at once.
void WriteDistribution(std::ostream& os, const CarryResult& r, bool si) {
    std::string text;
    text.reserve(r.elements.size() * 40);
    for (const ElementResult& e : r.elements) {
        const double depth = si ? e.mid_depth / kInPerM : e.mid_depth / 12.0;
        const double load = si ? e.average_load / kLbPerKnPlot : e.average_load / 2000.0;
        AppendBlanks(text, 3);
        AppendE(text, depth, 10, 3);
        AppendBlanks(text, 3);
        AppendE(text, load, 10, 3);
        AppendBlanks(text, 3);
        AppendE(text, e.mid_movement, 10, 3);
        text += '\n';
    }
    os.write(text.data(), static_cast<std::streamsize>(text.size()));
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
                        const std::vector<SolverElement>& elements, double most,
                        const CurvePoints& qw,
                        const std::array<CarryResult, kSettlementSteps>& rows,
                        SettlementFiles& files, DesignChartTable& chart) {
    const std::vector<double>& settlements = shaft.chart_settlements;
    const int count = static_cast<int>(settlements.size());
    const double tip_area =
        kAreaFactor * (shaft.base_diameter > shaft.diameter ? solver.dbin * solver.dbin
                                                            : solver.din * solver.din);
    const TableUnits units = ResultUnits(shaft.si());
    // Every settlement's tip movement comes from the main pass, so the settlements are carried
    // up together, as many at a time as the solver takes.
    std::vector<double> tip_movements(settlements.size()), tip_loads(settlements.size());
    for (std::size_t j = 0; j < settlements.size(); ++j) {
        tip_movements[j] = TipMovementForSettlement(rows, settlements[j]);
        tip_loads[j] = tip_movements[j] > kNoTipMovement ? ReadCurve(qw, tip_movements[j]) : 0.0;
    }
    std::vector<CarryResult> carried(settlements.size());
    int bisected = 0, failed = 0; // the line's notes count the main pass alone
    for (std::size_t first = 0; first < settlements.size(); first += kMaxLanes) {
        const std::size_t lanes = std::min(kMaxLanes, settlements.size() - first);
        CarryUpTogether(solver, elements, most, {tip_loads.data() + first, lanes},
                        {tip_movements.data() + first, lanes}, KeepElements::top,
                        {carried.data() + first, lanes}, bisected, failed);
    }
    std::vector<LoadSettlementRow> results;
    for (int j = 0; j < count; ++j) {
        const CarryResult& r = carried[static_cast<std::size_t>(j)];
        if (j == 0) {
            WriteLine(files.chart, ListInts({count, solver.n}) +
                                       ListRecord({solver.din, solver.length}) +
                                       ListInts({shaft.variation, shaft.chart_pass}));
            chart.Length(shaft.chart_pass) = solver.length;
            chart.Diameter(shaft.variation) = solver.din;
        }
        WriteLine(files.chart,
                  ListRecord(shaft.variation) + ListRecord({solver.din, r.tip_movement, tip_area}));
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

namespace {

// Whether a curve has the same movements, bit for bit, as the curve above it: then one search
// serves both. Curves of one layer (one family, one diameter) share them.
bool SameMovements(const CurvePoints& a, const CurvePoints& b) {
    return std::memcmp(a.movement.data(), b.movement.data(), sizeof(CurveArray)) == 0;
}

// LocateTransfer with the first curve at or below z already found: index `i` (curves.size()
// when every curve lies above z). `same_as_above[i]`, when given, holds SameMovements of curve i
// and curve i - 1.
TransferPoint LocateFrom(const SolverShaft& shaft, const std::vector<TzCurve>& curves, double z,
                         std::size_t i, const std::vector<char>* same_as_above = nullptr) {
    TransferPoint p;
    if (curves.empty() || z < shaft.exclusion_top || z > shaft.exclusion_bottom)
        return p;
    if (i == curves.size()) {
        p.deeper = &curves.back().points;
        return p;
    }
    const TzCurve& curve = curves[i];
    p.deeper = &curve.points;
    if (curve.depth == z)
        return p;
    // Above the first curve the transfer grows from zero at the surface.
    const double above_depth = i == 0 ? 0.0 : curves[i - 1].depth;
    if (!(curve.depth - above_depth > 0.0))
        return p;
    p.above = i == 0 ? nullptr : &curves[i - 1].points;
    p.shared = p.above != nullptr &&
               (same_as_above ? (*same_as_above)[i] != 0 : SameMovements(*p.above, *p.deeper));
    p.interpolate = true;
    p.offset = z - above_depth;
    p.span = curve.depth - above_depth;
    return p;
}

bool AboveDepth(const TzCurve& curve, double z) {
    return curve.depth < z;
}

} // namespace

TransferPoint LocateTransfer(const SolverShaft& shaft, const std::vector<TzCurve>& curves,
                             double z) {
    std::size_t i = 0;
    while (i < curves.size() && AboveDepth(curves[i], z))
        ++i;
    return LocateFrom(shaft, curves, z, i);
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
    return TransferFrom(p, w, cursor);
}

double LoadTransfer(const SolverShaft& shaft, const std::vector<TzCurve>& curves, double z,
                    double w) {
    return TransferAt(LocateTransfer(shaft, curves, z), w);
}

std::vector<SolverElement> PrepareElements(const SolverShaft& shaft,
                                           const std::vector<TzCurve>& curves) {
    bool ordered = true;
    for (const TzCurve& curve : curves)
        ordered =
            ordered && std::is_sorted(curve.points.movement.begin(), curve.points.movement.end());
    // Curves listed from the top down (as they are built) are searched from the element below:
    // the first curve at or below a depth is then the one the scan from the top finds.
    const bool by_depth =
        std::adjacent_find(curves.begin(), curves.end(), [](const TzCurve& a, const TzCurve& b) {
            return !(a.depth <= b.depth);
        }) == curves.end();
    std::vector<char> same_as_above(curves.size(), 0);
    for (std::size_t i = 1; i < curves.size(); ++i)
        same_as_above[i] = SameMovements(curves[i - 1].points, curves[i].points) ? 1 : 0;
    std::vector<SolverElement> elements;
    elements.reserve(static_cast<std::size_t>(std::max(shaft.n, 0)));
    // The first curve at or below the element's mid-depth, moved on from the element below:
    // the depths rise from the tip, so it mostly stays or moves up by one.
    std::size_t below = curves.size();
    for (int e = 1; e <= shaft.n; ++e) {
        SolverElement& el = elements.emplace_back();
        el.bottom_depth = shaft.length - (e - 1) * shaft.h;
        el.mid_depth = ElementMidDepth(shaft, e);
        el.top_depth = shaft.length - e * shaft.h;
        el.ae = AxialStiffness(shaft, el.mid_depth);
        el.side_area = kPiMethod * shaft.din * shaft.h;
        if (by_depth) {
            while (below > 0 && !AboveDepth(curves[below - 1], el.mid_depth))
                --below;
            while (below < curves.size() && AboveDepth(curves[below], el.mid_depth))
                ++below;
            el.transfer = LocateFrom(shaft, curves, el.mid_depth, below, &same_as_above);
        } else {
            el.transfer = LocateTransfer(shaft, curves, el.mid_depth);
        }
        el.transfer.ordered = ordered;
    }
    return elements;
}

CarryResult CarryUp(const SolverShaft& shaft, const std::vector<TzCurve>& curves, double tip_load,
                    double tip_movement) {
    const std::vector<SolverElement> elements = PrepareElements(shaft, curves);
    CarryResult r;
    int bisected = 0, failed = 0;
    CarryUp(shaft, elements, MaxTransfer(curves), tip_load, tip_movement, KeepElements::all, r,
            bisected, failed);
    return r;
}

void CarryUp(const SolverShaft& shaft, const std::vector<SolverElement>& elements,
             double max_transfer, double tip_load, double tip_movement, KeepElements keep,
             CarryResult& r, int& bisected, int& failed) {
    CarryUpTogether(shaft, elements, max_transfer, {&tip_load, 1}, {&tip_movement, 1}, keep,
                    {&r, 1}, bisected, failed);
}

void CarryUpTogether(const SolverShaft& shaft, const std::vector<SolverElement>& elements,
                     double max_transfer, std::span<const double> tip_loads,
                     std::span<const double> tip_movements, KeepElements keep,
                     std::span<CarryResult> out, int& bisected, int& failed) {
    const std::size_t lanes = tip_loads.size();
    if (lanes > kMaxLanes || tip_movements.size() != lanes || out.size() != lanes)
        throw std::invalid_argument("carrying-up: lanes and their tip values do not match");
    std::array<ElementBottom, kMaxLanes> bottom;
    // Each lane's curve reads start where its reads on the element below fell: the movement
    // changes little from one element to the next.
    std::array<TransferCursor, kMaxLanes> cursor;
    std::array<MidMovement, kMaxLanes> mid;
    for (std::size_t l = 0; l < lanes; ++l) {
        CarryResult& r = out[l];
        r.tip_load = tip_loads[l];
        r.tip_movement = tip_movements[l];
        r.elements.clear();
        if (keep == KeepElements::all)
            r.elements.reserve(elements.size());
        bottom[l] = {tip_loads[l], tip_movements[l]};
    }
    const double quarter_h = shaft.h / 4.0;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const SolverElement& el = elements[i];
        const bool record = keep == KeepElements::all || i + 1 == elements.size();
        if (!record) {
            // A lane's element is carried as soon as its mid movement is known: the same
            // expressions as ElementAt, without the record.
            SolveLanes(el, quarter_h, lanes, bottom.data(), max_transfer, cursor.data(),
                       [&](std::size_t l, const MidMovement& m) {
                           bisected += m.bisected ? 1 : 0;
                           failed += m.converged ? 0 : 1;
                           ElementBottom& b = bottom[l];
                           const double load_increment = el.side_area * m.t;
                           const double average_load = b.load + load_increment / 2.0;
                           b.movement = b.movement + shaft.h * average_load / el.ae;
                           b.load = b.load + load_increment;
                       });
            continue;
        }
        SolveElementLanes(el, quarter_h, lanes, bottom.data(), max_transfer, cursor.data(),
                          mid.data());
        for (std::size_t l = 0; l < lanes; ++l) {
            const MidMovement& m = mid[l];
            bisected += m.bisected ? 1 : 0;
            failed += m.converged ? 0 : 1;
            ElementBottom& b = bottom[l];
            out[l].elements.push_back(ElementAt(el, shaft.h, b.load, b.movement, m));
            b.load = out[l].elements.back().top_load;
            b.movement = out[l].elements.back().top_movement;
        }
    }
    for (std::size_t l = 0; l < lanes; ++l) {
        out[l].top_load = bottom[l].load;
        out[l].top_movement = bottom[l].movement;
    }
}

ElementResult SolveElementAt(const SolverElement& el, double h, double start_load,
                             double start_movement, double max_transfer) {
    const ElementBottom bottom{start_load, start_movement};
    TransferCursor cursor;
    MidMovement mid;
    SolveElementLanes(el, h / 4.0, 1, &bottom, max_transfer, &cursor, &mid);
    return ElementAt(el, h, start_load, start_movement, mid);
}

double LargestTransfer(const std::vector<TzCurve>& curves) {
    return MaxTransfer(curves);
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
    const std::vector<SolverElement> elements = PrepareElements(solver, curves);
    const double most = MaxTransfer(curves);
    // Every element's record is kept only where it is listed: the scratch listing and the load
    // distribution of the first case's trend line.
    const bool distribution = first_case && trend;
    // The results as data keep every element's load and movement.
    const KeepElements keep =
        scratch || distribution || files.keep_step ? KeepElements::all : KeepElements::top;
    // The fifteen tip movements are carried up together; what each leaves is then written in
    // their order.
    std::array<double, kSettlementSteps> tip_load;
    for (std::size_t k = 0; k < kSettlementSteps; ++k)
        tip_load[k] = ReadCurve(qw, tip[k]);
    std::array<CarryResult, kSettlementSteps> work;
    int bisected = 0;
    int failed = 0;
    // Beyond the last q-w point (10 % of the base diameter) the base holds the last load: the
    // curve is not extended past the movements it was measured for.
    CarryUpTogether(solver, elements, most, tip_load, tip, keep, work, bisected, failed);
    for (std::size_t k = 0; k < kSettlementSteps; ++k) {
        const CarryResult& carried = work[k];
        if (scratch)
            WriteScratchSolution(tz_data, carried);
        if (files.keep_step)
            files.keep_step(line, k, carried);
        if (distribution)
            WriteDistribution(files.plot_l, carried, si);
        // Only the top and tip values of a row are kept.
        rows[k] = CarryResult{
            carried.tip_load, carried.tip_movement, carried.top_load, carried.top_movement, {}};
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
        DefinedSettlements(shaft, solver, elements, most, qw, rows, files, chart);
    if (scratch)
        files.rewrite_tz_data(scratch_text.str());
    return 0;
}

} // namespace kolmar::engine::settlement
