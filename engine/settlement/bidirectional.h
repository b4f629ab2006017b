// A bidirectional (jack-cell) load test simulated on the t-z and q-w curves of a shaft ending in
// soil: the part above the cell pushed up at its bottom, the part below pushed down at its top,
// the equivalent top-down curve built from both with the elastic shortening of the upper part,
// and the cell depth at which the two parts fail together (the balance depth). The shaft is cut
// into the t-z solver's elements; the cell lies on an element boundary. Inches, pounds and psi
// inside, like the solver.
#pragma once

#include "tz_solver.h"

#include <string>
#include <vector>

namespace kolmar::engine::settlement {

inline constexpr int kCellMovementSteps = 40;      // movements of each part's series
inline constexpr double kFirstCellMovement = 1e-4; // inches, the series' first movement

// The test to simulate. The case is that of a compression run (its base carries QB).
struct BidirectionalSetup {
    ShaftCase shaft;
    double cell_depth = 0.0;    // ft below the top of the shaft
    double cell_capacity = 0.0; // lb; 0 = no limit
    double rcycl = 1.0;         // factor on the upper part's unit side load transfer (uplift)
    double water_depth = 0.0;   // ft, for the buoyant weight of the upper part
};

// One movement of one part: the cell load and the movement of the cell face, the movement of the
// part's far end (the shaft top of the upper part, the tip of the lower part) with the load
// there (0 at the top, the base load at the tip), and every element's mid-depth, average load
// and mid movement (from the far end toward the cell).
struct PartStep {
    double cell_load = 0.0, cell_movement = 0.0;
    double far_load = 0.0, far_movement = 0.0;
    struct Element {
        double depth = 0.0, load = 0.0, movement = 0.0;
    };
    std::vector<Element> elements;
};

// A point of the equivalent top-down curve: the common movement of the two cell faces, the sum
// of the upper part's side load and the lower part's load at it (the rigid superposition), and
// the top movement with the elastic shortening of the upper part under that top load.
struct EquivalentPoint {
    double cell_movement = 0.0;
    double load = 0.0;
    double top_movement = 0.0;
};

// The ultimate cell load of each part with the cell at a depth: the upper part's side load with
// its buoyant weight, the lower part's side and base load.
struct BalancePoint {
    double depth = 0.0; // ft
    double upper = 0.0, lower = 0.0;
};

struct BidirectionalResult {
    // Empty when the test was simulated; else what is wrong with the setup, in the project's
    // units.
    std::string problem;
    double cell_depth = 0.0;   // ft, on the element boundary nearest the requested depth
    double upper_weight = 0.0; // buoyant weight of the part above the cell, lb
    double upper_ultimate = 0.0, lower_ultimate = 0.0; // lb, the upper one with the weight
    bool capacity_reached = false;                     // a series stopped at the cell's capacity
    std::vector<PartStep> upper, lower;
    std::vector<EquivalentPoint> equivalent;
    std::vector<BalancePoint> balance;
    double balance_depth = -1.0;  // ft, to the nearest foot; -1 when the two never cross
    int bisected = 0, failed = 0; // element solutions by bisection, and without convergence
};

// The problem of a cell depth (ft) on a case, in the project's units; empty when it serves.
std::string CellDepthProblem(const ShaftCase& shaft, double cell_depth);

// Simulates the test. The t-z and q-w curves are those of the trend line.
BidirectionalResult SimulateBidirectional(const BidirectionalSetup& setup);

// The cell load of a part at a movement of its cell face (inches): linear between the steps, from
// the zero-movement load of the part at the start (its weight for the upper part), the last load
// beyond the last step.
double LoadAtMovement(const std::vector<PartStep>& steps, double start_load, double movement);

} // namespace kolmar::engine::settlement
