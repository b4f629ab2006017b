// The t-z load-settlement solver for a drilled shaft ending in soil: the shaft in elements, the
// axial stiffness with the bell transition, the fifteen assumed tip movements, the carrying-up
// of load and movement from the tip, the result table of a line, the load distribution, the
// loads at the design-chart settlements (`DesignChartTable`, CHART.DAT) and the per-line call
// that builds the curves and solves. Inches, pounds and psi inside.
#pragma once

#include "normalized.h"
#include "tz_curves.h"

#include <array>
#include <iosfwd>
#include <span>
#include <vector>

namespace kolmar::engine::settlement {

inline constexpr double kPiMethod = 3.1416;        // pi as the method takes it
inline constexpr double kMovementTolerance = 1e-5; // inches, on the mid-element movement
inline constexpr int kPlainIterations = 100;       // fixed-point steps before bisection

// The fifteen assumed tip movements (inches) of a shaft of diameter din (inches); each of the
// last three is raised to 1.25 times the one before when it would be smaller.
std::array<double, kSettlementSteps> TipMovements(double din);

// The shaft as the solver sees it (inches, pounds).
struct SolverShaft {
    int n = 1;                     // elements, numbered from the tip
    double h = 0.0;                // element length 12 L / n
    double length = 0.0;           // 12 L
    double din = 0.0;              // stem diameter
    double dbin = 0.0;             // base diameter (the bell's; the stem's without a bell)
    double EAs = 0.0;              // E times the stem area, lb
    double EAb = 0.0;              // E times the base area, lb
    double transition = 0.0;       // depth where the stiffness starts to change to EAb
    double exclusion_top = 0.0;    // no side load above this depth (TOPLENG)
    double exclusion_bottom = 0.0; // no side load below this depth (H + BS above the tip)
};
SolverShaft MakeSolverShaft(const ShaftCase& shaft);

// Axial stiffness E A at depth z: EAs down to the transition, then linear to EAb at the tip.
double AxialStiffness(const SolverShaft& shaft, double z);

// Unit load transfer (psi) at depth z for the movement w: the t-z curves around z read at w and
// interpolated in depth (zero transfer at the surface above the first curve; the deepest curve
// alone below it); zero outside the zone that carries side load and without curves.
double LoadTransfer(const SolverShaft& shaft, const std::vector<TzCurve>& curves, double z,
                    double w);

// Where a depth lies among the t-z curves: the curve at or below it and the one above it (none
// above the first curve: zero transfer at the surface), with the depth offsets of the linear
// interpolation between them; no curve at all where the depth carries no side load.
struct TransferPoint {
    const CurvePoints* deeper = nullptr;
    const CurvePoints* above = nullptr;
    bool interpolate = false;
    double offset = 0.0; // depth below the upper curve (or the surface), inches
    double span = 0.0;   // depth between the two curves, inches
    bool ordered = true; // the curves' movements never decrease (they may be read by cursor)
    bool shared = false; // the two curves have the same movements, bit for bit (one search
                         // serves both)
};

// Where the last reads of a located depth's curves fell, so that the next read at a nearby
// movement starts there.
struct TransferCursor {
    std::size_t deeper = 1, above = 1;
};
TransferPoint LocateTransfer(const SolverShaft& shaft, const std::vector<TzCurve>& curves,
                             double z);
// LoadTransfer at a located depth, for the movement w; the curves must outlive the point.
double TransferAt(const TransferPoint& point, double w);
double TransferAt(const TransferPoint& point, double w, TransferCursor& cursor);

// One element after the carrying-up, from the tip upward.
struct ElementResult {
    double bottom_depth = 0.0, mid_depth = 0.0, top_depth = 0.0;
    double bottom_load = 0.0, bottom_movement = 0.0;
    double t = 0.0; // unit load transfer at mid-depth, psi
    double load_increment = 0.0;
    double top_load = 0.0;
    double average_load = 0.0;
    double compression = 0.0;
    double top_movement = 0.0;
    double mid_movement = 0.0;
    bool converged = true; // the mid movement met the tolerance
    bool bisected = false; // the fixed-point iteration needed the bisection fallback
};

struct CarryResult {
    double tip_load = 0.0, tip_movement = 0.0;
    double top_load = 0.0, top_movement = 0.0;
    std::vector<ElementResult> elements; // n, from the tip upward
};

// An element's values that do not change with the tip movement: its depths, its axial
// stiffness and side area, and where its mid-depth lies among the curves.
struct SolverElement {
    TransferPoint transfer;
    double bottom_depth = 0.0, mid_depth = 0.0, top_depth = 0.0;
    double ae = 0.0;        // axial stiffness at mid-depth, lb
    double side_area = 0.0; // pi d h, square inches
};
// The n elements of a shaft among its curves, from the tip upward.
std::vector<SolverElement> PrepareElements(const SolverShaft& shaft,
                                           const std::vector<TzCurve>& curves);

// Carries a tip load and tip movement up the shaft. Each element iterates its mid movement to
// 1e-5 inch; when the fixed-point steps do not settle within kPlainIterations it is solved by
// bisection of the same equation.
CarryResult CarryUp(const SolverShaft& shaft, const std::vector<TzCurve>& curves, double tip_load,
                    double tip_movement);

// One prepared element solved from the end where the carrying starts (the tip's side in the
// carrying-up), with the load and movement there: its mid movement to the tolerance and its
// loads and movements. `start_*` fill the record's bottom values.
ElementResult SolveElementAt(const SolverElement& el, double h, double start_load,
                             double start_movement, double max_transfer);

// The largest unit load transfer (psi) of the curves, which bounds an element's mid movement.
double LargestTransfer(const std::vector<TzCurve>& curves);

// What one carrying-up keeps of its elements: all of them, or the top element alone (the top
// and tip values and the counts are the same either way).
enum class KeepElements { all, top };

// The same over prepared elements with the largest transfer of the curves, for callers that
// carry many loads up one shaft, into `out`, whose element storage is reused. `bisected` and
// `failed` are raised by the elements that needed the bisection and that did not converge.
void CarryUp(const SolverShaft& shaft, const std::vector<SolverElement>& elements,
             double max_transfer, double tip_load, double tip_movement, KeepElements keep,
             CarryResult& out, int& bisected, int& failed);

// Most carryings-up made together by CarryUpTogether: a line's tip movements.
inline constexpr std::size_t kMaxLanes = kSettlementSteps;

// Several tip loads and movements carried up one shaft together, element by element, into
// out[0 .. tip_loads.size()). The carryings-up are independent, and each takes exactly the
// arithmetic of its own CarryUp, so every value is the same to the last bit; made side by side,
// the processor overlaps their chains of dependent divisions. At most kMaxLanes at a time;
// tip_movements and out are as long as tip_loads.
void CarryUpTogether(const SolverShaft& shaft, const std::vector<SolverElement>& elements,
                     double max_transfer, std::span<const double> tip_loads,
                     std::span<const double> tip_movements, KeepElements keep,
                     std::span<CarryResult> out, int& bisected, int& failed);

// Tip movement (inches) for a top settlement s (inches) from the rows of the main pass (engine
// units): 0 below the first top movement, linear between rows (the mean of two rows with the
// same top movement), linear extrapolation of the last two rows above the last.
double TipMovementForSettlement(const std::array<CarryResult, kSettlementSteps>& rows, double s);

// Design-chart table: per length pass, diameter variation and chart settlement the shaft-top
// load (pounds) at which the shaft settles by that settlement, with the length of every pass and
// the diameter of every variation (inches). Indices from 1.
inline constexpr int kMaxChartPasses = 100;
inline constexpr int kMaxChartDiameters = 20;
inline constexpr int kMaxChartSettlements = 10;

class DesignChartTable {
public:
    DesignChartTable();
    double& Load(int pass, int variation, int settlement);
    double Load(int pass, int variation, int settlement) const;
    double& Length(int pass);
    double Length(int pass) const;
    double& Diameter(int variation);
    double Diameter(int variation) const;

private:
    static std::size_t Checked(int index, int limit, const char* what);
    static std::size_t Index(int pass, int variation, int settlement);
    std::vector<double> load_;
    std::array<double, kMaxChartPasses> length_{};
    std::array<double, kMaxChartDiameters> diameter_{};
};

// Solves one line of a case: head lines, t-z and q-w curves and their listings, the fifteen tip
// movements, the line's table in the report and its block of `table`, the load distribution
// (trend line of the first case), and, in the trend line with chart settlements, the defined
// settlements (report, CHART.DAT, `chart`). Returns 0, or the status 2 or 4 of curve building,
// in which case nothing was solved.
int SolveLine(const ShaftCase& shaft, LoadTransferLine line, SettlementFiles& files,
              LoadSettlementTable& table, DesignChartTable& chart);

} // namespace kolmar::engine::settlement
