// The programs' entry to the simulated bidirectional load test: the project analysed as
// kolmar_run analyses it (its result files go to a private temporary folder, removed after), the
// first case's shaft and curves handed to the simulation, and its results as tables in the
// project's units (English: ft, kips, in; SI: m, kN, mm) and as the text of
// NAME.bidirectional.json ("kolmar-bidirectional/1").
#pragma once

#include "results_data.h"

#include <array>
#include <filesystem>
#include <memory>
#include <string>

namespace kolmar::engine {

struct BidirectionalRequest {
    std::filesystem::path input;
    double cell_depth = 0.0;    // project units (ft or m)
    double cell_capacity = 0.0; // project units (kips or kN); 0 = no limit
    bool at_balance = false;    // place the cell at the balance depth (cell_depth unused)
};

// The tables of the answer, in this order.
enum class BidirectionalTable : int {
    upward,             // cell load, cell top movement, shaft top movement
    downward,           // cell load, cell bottom movement, tip load, tip movement
    equivalent,         // cell movement, top load, top movement
    top_down,           // the trend line of the ordinary analysis: top load, top movement
    upper_distribution, // step, depth, load, movement
    lower_distribution, // step, depth, load, movement
    balance             // cell depth, upper capacity, lower capacity
};
inline constexpr int kBidirectionalTableCount = 7;

// Scalar results, in project units; NaN where there is none.
enum class BidirectionalValue : int {
    cell_depth,
    cell_capacity,
    upper_weight,
    upper_capacity, // with the weight
    lower_capacity,
    first_ultimate_load, // the smaller of the two: the cell load at which the first part fails
    balance_depth,
    balance_upper_capacity,
    balance_lower_capacity,
    diameter,
    length
};
inline constexpr int kBidirectionalValueCount = 11;

struct BidirectionalAnswer {
    int status = 0;      // 0, or the run status that stopped it (8: refused, with `message`)
    std::string message; // why it was refused, or notes of the simulation
    bool si = false;
    std::array<ResultTable, kBidirectionalTableCount> tables;
    std::array<double, kBidirectionalValueCount> values{};
    std::string first_part; // "upper" or "lower"
    std::string json;
};

// Never throws: a failure becomes the status.
std::unique_ptr<BidirectionalAnswer> RunBidirectional(const BidirectionalRequest& request);

} // namespace kolmar::engine
