// Checks of the result files of one run that hold for every valid project: clean text, the
// capacity columns adding up, side resistance that never falls with depth, and the upper and
// lower load-settlement bounds on either side of the trend. Each returns the problems found,
// as lines for a failure message (empty when all is well).
// Exports TextProblems, CapacityProblems and BoundProblems.
#pragma once

#include "plot_reader.h"

#include <string>
#include <vector>

namespace kolmar::sweep {

// A result file's bytes: a byte that is neither printable ASCII nor a line end, a number
// written as NaN or infinity, a fixed field overflowed into stars ("*****"). `name` names the
// file in the messages.
std::vector<std::string> TextProblems(const std::string& name, const std::string& bytes);

// The capacity records of every curve of a plot file: side + base = total for the ultimate
// columns and for the ASD/LRFD columns; side resistance never falling with depth. Under uplift
// the base columns hold the shaft's weight, which the factor of safety does not divide
// (`asd_uplift`: an ASD uplift run, whose two weight columns must agree).
std::vector<std::string> CapacityProblems(const engine::test::PlotFileContent& plot,
                                          bool asd_uplift);

// For every curve with the three load-settlement series: at equal top settlement, over the
// settlements the three share, the upper bound carries at least the trend's load and the trend
// at least the lower bound's, within 1 % (each bound at its own rows, the other line
// interpolated between its rows).
std::vector<std::string> BoundProblems(const engine::test::PlotFileContent& plot);

} // namespace kolmar::sweep
