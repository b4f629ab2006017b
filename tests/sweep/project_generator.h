// Random valid projects for the sweep: each one a sample project of the tree (an example or a
// test project) varied over the input space through the project model, so that the file is the
// one the program would save. A project depends only on the seed and its index, so any one of
// them can be made again alone.
// Exports SweepRandom, SweepProject, SweepCoverage, LoadSweepSamples and MakeSweepProject.
#pragma once

#include "gui/data/DataUnit.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kolmar::sweep {

// A small random source whose sequence is fixed by its seed on every platform (SplitMix64;
// the standard distributions are not the same in every library).
class SweepRandom {
public:
    explicit SweepRandom(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next();
    double Uniform(double lo, double hi); // in [lo, hi)
    int Int(int lo, int hi);              // in [lo, hi]
    bool Chance(double p);
    // A value in [lo, hi] on a grid of `step`.
    double Grid(double lo, double hi, double step);

private:
    std::uint64_t state_;
};

// A sample project: its name and its text as read from the tree.
struct SweepSample {
    std::string name;
    std::string text;
};

// The sample projects: examples/*.kx8d and the current-format projects of tests/*/data.
std::vector<SweepSample> LoadSweepSamples(const std::string& source_dir);

// What one project holds, for the coverage count and the failure messages.
struct SweepProject {
    std::unique_ptr<TProgramData> project; // in its own unit system, not yet saved
    std::string sample;                    // the sample it was varied from
    int cases = 0;                         // cases the engine will analyse (at most 20)
    int tip_code = 0;                      // soil code of the layer holding the tip (length runs)
    std::vector<std::string> features;     // the parts of the input space it touches
};

// Builds project `index` of the sweep of `seed` from one of the samples.
SweepProject MakeSweepProject(std::uint64_t seed, int index,
                              const std::vector<SweepSample>& samples);

// The number of cases the engine analyses for a project (the diameter loop times the length
// loop), from the project's values as saved; lengths and diameters in the project's units.
int CaseCount(const TProgramData& p);

} // namespace kolmar::sweep
