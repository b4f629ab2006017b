// Random valid projects varied from the sample projects of the tree, made through the project
// model. Values are chosen in English units (ft, psf, pcf, psi, in) and the project is switched
// to SI by the model when it is to be an SI one.
#include "project_generator.h"

#include "gui/data/LayerKind.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace kolmar::sweep {

std::uint64_t SweepRandom::Next() {
    state_ += 0x9E3779B97F4A7C15ULL;
    std::uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

double SweepRandom::Uniform(double lo, double hi) {
    return lo + (hi - lo) * static_cast<double>(Next() >> 11) * 0x1.0p-53;
}

int SweepRandom::Int(int lo, int hi) {
    return lo + static_cast<int>(Next() % static_cast<std::uint64_t>(hi - lo + 1));
}

bool SweepRandom::Chance(double p) {
    return Uniform(0.0, 1.0) < p;
}

double SweepRandom::Grid(double lo, double hi, double step) {
    const int steps = static_cast<int>(std::floor((hi - lo) / step + 1e-9));
    return lo + step * Int(0, std::max(steps, 0));
}

// The samples, named one by one so that a project file added to the tree for another test does
// not change which projects a seed gives.
constexpr const char* kSampleFiles[] = {
    "examples/clay-bell.kx8d",
    "examples/decomposed-rock.kx8d",
    "examples/sand-over-clay.kx8d",
    "examples/sand-water-table.kx8d",
    "examples/si-dense-sand.kx8d",
    "examples/strong-rock-socket.kx8d",
    "examples/weak-rock-socket.kx8d",
    "tests/dialogs/data/windows-project.kx8d",
    "tests/engine/data/clay_bell_lrfd.kx8d",
    "tests/engine/data/full_run.kx8d",
    "tests/engine/data/layered_uplift.kx8d",
    "tests/engine/data/mixed_diameters.kx8d",
    "tests/engine/data/mixed_lengths.kx8d",
    "tests/engine/data/sand_ko.kx8d",
    "tests/engine/data/sand_over_clay_tz.kx8d",
    "tests/engine/data/twin_en.kx8d",
    "tests/engine/data/twin_si.kx8d",
    "tests/gui/data/hand-written.kx8d",
    "tests/model/data/current.kx8d",
    "tests/plot/data/full-run.kx8d",
};

std::vector<SweepSample> LoadSweepSamples(const std::string& source_dir) {
    namespace fs = std::filesystem;
    const fs::path root(source_dir);
    std::vector<fs::path> files;
    for (const char* name : kSampleFiles)
        files.push_back(root / name);
    std::vector<SweepSample> samples;
    for (const fs::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        SweepSample sample{fs::relative(file, root).generic_string(),
                           std::string(std::istreambuf_iterator<char>(in), {})};
        std::string error;
        // Only samples the model reads cleanly and the engine could take as they stand.
        if (auto p = TProgramData::CreateFromText(sample.text, 1, &error);
            p && error.empty() && p->DSTART > 0.0)
            samples.push_back(std::move(sample));
    }
    return samples;
}

int CaseCount(const TProgramData& p) {
    // The diameter loop: steps of DIAMINCR with design charts, of half a foot otherwise, while
    // the next diameter stays below the largest plus 0.02 ft.
    const double step = p.IChart >= 1 ? p.DIAMINCR : 0.5;
    const double largest = p.IPENT == 1 ? p.DSTART : std::max(p.DSTART, p.DIALIM);
    int diameters = 1;
    for (double d = p.DSTART; largest > d && diameters <= 20;) {
        const double next = d + step;
        if (!(next < largest + 0.02))
            break;
        d = next;
        ++diameters;
    }
    int lengths = 1;
    if (p.METHOD == 2 && (p.IPENT >= 1 || p.IChart >= 1)) {
        const double shortest = std::max(p.PDMIN, 6.0 * p.DSTART + p.TOPLENG + p.BS);
        for (double L = p.PD - p.PDINCR; L > shortest && lengths <= 100; L -= p.PDINCR)
            ++lengths;
    }
    return diameters * lengths;
}

namespace {

using namespace kolmar;

void Set(TSoilLayer& layer, int column, double top, double bottom) {
    layer.Params.SetValue(0, column, top);
    layer.Params.SetValue(1, column, bottom);
}

// A value at the top and a value at the bottom of a layer, the bottom one near the top one.
void SetPair(TSoilLayer& layer, int column, SweepRandom& rng, double lo, double hi, double step) {
    const double top = rng.Grid(lo, hi, step);
    const double bottom = std::clamp(top + rng.Grid(-(hi - lo) / 4, (hi - lo) / 4, step), lo, hi);
    Set(layer, column, top, bottom);
}

// Fills a layer of `code` with values of its material in their usual ranges, choosing among
// the ways the material may be described. `D` is the stem diameter (ft).
void FillLayer(TSoilLayer& layer, int code, double D, SweepRandom& rng,
               std::vector<std::string>& features) {
    const std::string tag = "code " + std::to_string(code);
    switch (code) {
    case kSand: {
        const int method = rng.Int(1, 3);
        features.push_back("sand method " + std::to_string(method));
        SetPair(layer, SandCol::UnitWeight, rng, 105, 135, 1);
        Set(layer, SandCol::Method, method, method);
        if (rng.Chance(0.3)) { // friction angle from the blow counts
            features.push_back("sand angle from N");
            Set(layer, SandCol::FrictionAngle, 0, 0);
            SetPair(layer, SandCol::BlowCounts, rng, 5, 50, 1);
        } else {
            SetPair(layer, SandCol::FrictionAngle, rng, 28, 42, 0.5);
            SetPair(layer, SandCol::BlowCounts, rng, 0, 60, 1);
        }
        SetPair(layer, SandCol::InterfaceAngle, rng, 25, 36, 0.5);
        if (method == 1)
            SetPair(layer, SandCol::Ko, rng, 0.4, 1.5, 0.05);
        else if (method == 2 && rng.Chance(0.5))
            SetPair(layer, SandCol::Beta, rng, 0.3, 1.2, 0.05);
        else if (method == 3)
            SetPair(layer, SandCol::M, rng, 0.2, 0.8, 0.05);
        break;
    }
    case kClay:
    case kClayShale: {
        SetPair(layer, ClayCol::UnitWeight, rng, 110, 130, 1);
        if (rng.Chance(0.3)) { // undrained strength from the blow counts
            features.push_back(tag + " cu from N");
            Set(layer, ClayCol::Cohesion, 0, 0);
            SetPair(layer, ClayCol::BlowCounts, rng, 5, 40, 1);
        } else {
            features.push_back(tag + " cu given");
            SetPair(layer, ClayCol::Cohesion, rng, 500, code == kClay ? 5000 : 12000, 50);
        }
        if (rng.Chance(0.4))
            SetPair(layer, ClayCol::Alpha, rng, 0.35, 0.55, 0.05);
        if (rng.Chance(0.2))
            Set(layer, ClayCol::Nc, 9, 9);
        break;
    }
    case kStrongRockSideOrBase:
    case kStrongRockSideAndBase:
        SetPair(layer, StrongRockCol::Qu, rng, 150000, 1500000, 10000);
        Set(layer, StrongRockCol::ConcreteFc, 576000, 576000);
        SetPair(layer, StrongRockCol::Spacing, rng, 0.5, 5, 0.5);
        SetPair(layer, StrongRockCol::Thickness, rng, 0.005, 0.05, 0.005);
        if (rng.Chance(0.3)) {
            const double socket = std::max(1.5, D - rng.Grid(0, 1, 0.5));
            Set(layer, StrongRockCol::SocketDiameter, socket, socket);
            features.push_back("rock socket diameter");
        }
        SetPair(layer, StrongRockCol::Modulus, rng, 500000, 5000000, 100000);
        SetPair(layer, StrongRockCol::RQD, rng, 30, 100, 5);
        break;
    case kDecomposedRock:
        SetPair(layer, DecomposedCol::UnitWeight, rng, 120, 135, 1);
        SetPair(layer, DecomposedCol::BlowCounts, rng, 30, 100, 1);
        SetPair(layer, DecomposedCol::Poisson, rng, 0.2, 0.35, 0.05);
        if (rng.Chance(0.5)) {
            SetPair(layer, DecomposedCol::Modulus, rng, 10000, 50000, 1000);
            features.push_back("decomposed modulus given");
        }
        break;
    case kWeakRock: {
        const int condition = rng.Int(1, 4);
        features.push_back("weak condition " + std::to_string(condition));
        SetPair(layer, WeakRockCol::Qu, rng, 20000, 200000, 1000);
        Set(layer, WeakRockCol::Condition, condition, condition);
        SetPair(layer, WeakRockCol::Slump, rng, 4, 9, 0.5);
        SetPair(layer, WeakRockCol::InterfaceAngle, rng, 25, 35, 1);
        if (rng.Chance(0.3))
            Set(layer, WeakRockCol::SocketDiameter, D, D);
        SetPair(layer, WeakRockCol::Modulus, rng, 50000, 1000000, 10000);
        SetPair(layer, WeakRockCol::RQD, rng, 20, 100, 5);
        break;
    }
    case kGravellySand:
    case kGravel:
        SetPair(layer, GravelCol::UnitWeight, rng, 115, 135, 1);
        SetPair(layer, GravelCol::BlowCounts, rng, 10, 90, 1);
        if (rng.Chance(0.4))
            SetPair(layer, GravelCol::Beta, rng, 0.5, 1.5, 0.05);
        break;
    default:
        throw std::logic_error("soil code " + std::to_string(code));
    }
}

// Bottom depths of `count` layers reaching `bottom` (ft), every layer at least 2 ft thick;
// sometimes on a quarter-foot grid, sometimes with a layer of exactly 2 ft.
std::vector<double> LayerBottoms(int count, double bottom, SweepRandom& rng,
                                 std::vector<std::string>& features) {
    const double grid = rng.Chance(0.15) ? 0.25 : 1.0;
    std::vector<double> weights(static_cast<std::size_t>(count));
    for (double& w : weights)
        w = rng.Chance(0.1) ? 0.0 : rng.Uniform(0.2, 1.0);
    double sum = 0.0;
    for (double w : weights)
        sum += w;
    const double spare = bottom - 2.0 * count;
    std::vector<double> bottoms;
    double depth = 0.0;
    for (int k = 0; k + 1 < count; ++k) {
        const double extra =
            sum > 0.0 ? std::floor(weights[static_cast<std::size_t>(k)] / sum * spare / grid) * grid
                      : 0.0;
        if (extra == 0.0)
            features.push_back("layer of 2 ft");
        depth += 2.0 + extra;
        bottoms.push_back(depth);
    }
    bottoms.push_back(bottom);
    return bottoms;
}

int RandomSoilCode(SweepRandom& rng) {
    // Soils a little more often than rock, every code possible.
    static constexpr int kCodes[] = {1, 1, 2, 2, 3, 4, 5, 6, 7, 8, 9};
    return kCodes[rng.Int(0, static_cast<int>(std::size(kCodes)) - 1)];
}

// Height of the bell below the stem (ft), as the capacity table takes it.
double BellHeight(const TProgramData& p, double D) {
    if (p.RATIO <= 1.0)
        return 0.0;
    const double h0 = D <= 3.52 ? 0.25 : 0.5;
    return (p.RATIO * D - D) / (2.0 * std::tan(p.BELANGL / 57.29)) + h0;
}

void ChooseShaft(TProgramData& p, SweepRandom& rng, std::vector<std::string>& features) {
    static constexpr double kDiameters[] = {1.5, 2, 2.5, 3, 3.5, 4, 5, 6};
    if (!(p.DSTART > 0.0 && p.DSTART <= 6.0) || rng.Chance(0.6))
        p.DSTART = kDiameters[rng.Int(0, static_cast<int>(std::size(kDiameters)) - 1)];
    p.DIALIM = p.DSTART;
    if (rng.Chance(0.2)) {
        p.RATIO = rng.Grid(1.5, 3, 0.25);
        p.BELANGL = rng.Grid(30, 60, 5);
    } else if (!(p.RATIO > 1.0 && p.RATIO <= 3.0 && p.BELANGL >= 30.0 && p.BELANGL <= 60.0) ||
               rng.Chance(0.5)) {
        p.RATIO = 0.0;
        p.BELANGL = 0.0;
    }
    if (p.RATIO > 1.0)
        features.push_back("bell");
    p.TOPLENG = rng.Chance(0.3) ? rng.Grid(1, 5, 1) : 0.0;
    p.BS = rng.Chance(0.2) ? std::min(p.DSTART, rng.Grid(1, 3, 1)) : 0.0;
    p.EPILE = rng.Grid(2500000, 5000000, 100000);
}

void ChooseControls(TProgramData& p, SweepRandom& rng, std::vector<std::string>& features) {
    p.NLRFD = rng.Chance(0.4) ? 1 : 2;
    features.push_back(p.NLRFD == 1 ? "LRFD" : "ASD");
    p.FST = rng.Grid(1.5, 3.5, 0.25);
    p.FSB = rng.Grid(2, 4, 0.25);
    p.KCYCL = rng.Chance(0.2) ? 2 : 1;
    p.RCYCL = p.KCYCL == 2 ? rng.Grid(0.5, 1, 0.05) : 1.0;
    if (p.KCYCL == 2)
        features.push_back("uplift");
    p.IMOD = rng.Int(0, 1);
    p.PINC = 1.0;
    p.UseElevation = rng.Chance(0.2) ? 1 : 0;
    p.ValElevation = p.UseElevation == 1 ? rng.Grid(0, 500, 0.5) : 0.0;
    p.IPENT = 0;
    p.IChart = 0;
    p.PDMIN = p.PDINCR = p.DIAMINCR = 0.0;
}

// Lengths and diameters of a length run: one shaft, several diameters, several lengths
// (IPENT), design charts (IChart) or both; at most 20 cases.
void ChooseCases(TProgramData& p, SweepRandom& rng, std::vector<std::string>& features) {
    const double shortest = 6.0 * p.DSTART + p.TOPLENG + p.BS;
    const double lowest = std::max(15.0, BellHeight(p, p.DSTART) + p.TOPLENG + p.BS + 5.0);
    p.PD = rng.Grid(lowest, std::max(lowest, 90.0), 1.0);
    const double mode = rng.Uniform(0.0, 1.0);
    if (mode < 0.45)
        return;
    if (mode < 0.65) {
        p.DIALIM = p.DSTART + 0.5 * rng.Int(1, 4) + (rng.Chance(0.2) ? 0.01 : 0.0);
        features.push_back("diameters");
        return;
    }
    p.IPENT = mode < 0.8 || mode >= 0.95 ? 1 : 0;
    p.IChart = mode >= 0.8 ? 1 : 0;
    // Lengths must lie above the shortest the engine allows for the stem.
    p.PD = std::max(p.PD, std::ceil(shortest) + rng.Grid(5, 30, 1));
    p.PDINCR = rng.Grid(2, 10, 1);
    p.PDMIN = std::max(shortest, p.PD - p.PDINCR * rng.Int(1, 8));
    if (p.IChart == 1) {
        p.DIAMINCR = rng.Grid(0.25, 1, 0.25);
        p.DIALIM = p.DSTART + p.DIAMINCR * rng.Int(0, 3);
        p.NPOINTPD = rng.Int(1, 10);
        std::vector<double> settlements;
        for (int k = 0; k < p.NPOINTPD; ++k)
            settlements.push_back(rng.Grid(0.05, 2, 0.05));
        std::sort(settlements.begin(), settlements.end());
        std::copy(settlements.begin(), settlements.end(), p.PDSETT.begin());
        features.push_back("IChart");
    }
    if (p.IPENT == 1) {
        p.DIALIM = p.DSTART; // as Save keeps it
        features.push_back("IPENT");
    }
    while (CaseCount(p) > 20)
        p.PDMIN += p.PDINCR;
}

} // namespace

SweepProject MakeSweepProject(std::uint64_t seed, int index,
                              const std::vector<SweepSample>& samples) {
    if (samples.empty())
        throw std::runtime_error("no sample projects");
    SweepRandom rng(seed * 0x2545F4914F6CDD1DULL + static_cast<std::uint64_t>(index));
    rng.Next();
    SweepProject out;
    const SweepSample& sample = samples[static_cast<std::size_t>(index) % samples.size()];
    out.sample = sample.name;
    std::string error;
    out.project = TProgramData::CreateFromText(sample.text, 1, &error, "sweep.kx8d");
    if (!out.project || !error.empty())
        throw std::runtime_error(sample.name + ": " + error);
    TProgramData& p = *out.project;
    p.SetUnits(1);
    std::vector<std::string>& features = out.features;
    p.Title = "Sweep " + std::to_string(seed) + " project " + std::to_string(index) + ", from " +
              sample.name;

    ChooseShaft(p, rng, features);
    ChooseControls(p, rng, features);
    p.METHOD = rng.Chance(0.25) ? 1 : 2;
    double bottom = 0.0;
    if (p.METHOD == 1) {
        features.push_back("design load");
        p.PD = 0.0;
        p.LPD = rng.Grid(30, 800, 5);
        if (rng.Chance(0.3)) {
            p.DIALIM = p.DSTART + 0.5 * rng.Int(1, 3);
            features.push_back("diameters");
        }
        bottom = rng.Grid(std::max(40.0, 2.0 * p.DSTART + 10.0), 120, 1);
    } else {
        p.LPD = 0.0;
        ChooseCases(p, rng, features);
        const double base = std::max(p.DSTART, p.DIALIM) * std::max(1.0, p.RATIO);
        if (rng.Chance(0.1)) {
            bottom = p.PD + 2.0 * p.DSTART; // the shallowest profile the layer check accepts
            features.push_back("profile at the limit");
        } else {
            bottom = std::ceil(p.PD + 2.0 * base) + rng.Grid(0, 15, 1);
        }
    }

    // The profile: as many layers as the sample or another number, each keeping the sample's
    // material (and sometimes its values) or taking another.
    const int sample_layers = p.D.RowCount();
    int count = rng.Chance(0.4) ? sample_layers : rng.Int(1, 6);
    count = std::clamp(count, 1, std::max(1, static_cast<int>(bottom / 2.0)));
    const std::vector<double> bottoms = LayerBottoms(count, bottom, rng, features);
    if (!p.D.SetRowCount(count))
        throw std::logic_error("layer count");
    for (int k = 0; k < count; ++k) {
        TSoilLayer& layer = p.D[k];
        layer.Depth = bottoms[static_cast<std::size_t>(k)];
        const bool keep = k < sample_layers && rng.Chance(0.5);
        const int code = keep ? layer.SoilType() : RandomSoilCode(rng);
        if (!(keep && rng.Chance(0.5))) {
            ChangeLayerKind(layer, code);
            FillLayer(layer, code, p.DSTART, rng, features);
        } else {
            features.push_back("sample layer kept");
        }
        features.push_back("code " + std::to_string(code));
        layer.LrfdSide = p.NLRFD == 1 ? rng.Grid(0.4, 1, 0.05) : 1.0;
        layer.LrfdTip = p.NLRFD == 1 ? rng.Grid(0.4, 1, 0.05) : 1.0;
        layer.MaxSideFriction = rng.Chance(0.15) ? rng.Grid(1000, 8000, 100) : 0.0;
        layer.MaxEndBearing = rng.Chance(0.15) ? rng.Grid(10000, 100000, 1000) : 0.0;
        if (p.METHOD == 2 && layer.Depth >= p.PD && out.tip_code == 0) {
            out.tip_code = code;
            if (layer.Depth == p.PD)
                features.push_back("tip on a layer boundary");
        }
    }
    if (out.tip_code != 0)
        features.push_back("tip in code " + std::to_string(out.tip_code));

    // Depths off the half foot mostly: on it the whole-foot grid rounds up, and the SI twin of
    // the project, a hair above or below, rounds the other way (see the sweep's twin check).
    p.WTD = rng.Chance(0.15) ? 0.0 : rng.Grid(0, bottom + 10, 1) + (rng.Chance(0.2) ? 0.25 : 0.0);
    p.PrintTZCurves = rng.Chance(0.3) ? 1 : 0;
    if (p.PrintTZCurves == 1) {
        const int depths = rng.Int(1, 5);
        p.TblTZDepth.SetRowCount(depths);
        for (int k = 0; k < depths; ++k)
            p.TblTZDepth[k] = rng.Grid(1, std::max(2.0, p.METHOD == 2 ? p.PD : bottom / 2), 0.25);
        features.push_back("tz depths");
    }
    out.cases = CaseCount(p);
    if (rng.Chance(0.25)) {
        p.SetUnits(2);
        features.push_back("SI");
    } else {
        features.push_back("English");
    }
    if (out.cases > 1)
        features.push_back("several cases");
    return out;
}

} // namespace kolmar::sweep
