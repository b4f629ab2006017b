// libFuzzer target: arbitrary bytes as the project file of the engine's input reader, read from
// memory. The reader must never crash, read or write out of bounds, or keep a number that is not
// finite, whether it accepts the file or refuses it.
#include "input.h"
#include "run_context.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <sstream>

namespace {

using kolmar::engine::InputData;
using kolmar::engine::Layer;
using kolmar::engine::TopBottom;

void RequireFinite(double value) {
    if (!std::isfinite(value))
        __builtin_trap();
}

void RequireFinite(const TopBottom& values) {
    RequireFinite(values[0]);
    RequireFinite(values[1]);
}

void CheckInput(const InputData& in) {
    for (const double v : {in.RCYCL, in.PINC, in.ValElevation, in.DSTART, in.DIALIM, in.RATIO,
                           in.BELANGL, in.TOPLENG, in.BS, in.Ec, in.WTD, in.P, in.DGH, in.PD,
                           in.FST, in.FSB, in.PDMIN, in.PDINCR, in.DIAMINCR})
        RequireFinite(v);
    for (const double v : in.PDSETT)
        RequireFinite(v);
    for (const double v : in.tz_depths)
        RequireFinite(v);
    if (in.layers.size() > static_cast<std::size_t>(kolmar::engine::kMaxLayers) ||
        in.PDSETT.size() > 10 || in.tz_depths.size() > 50)
        __builtin_trap();
    for (const Layer& l : in.layers) {
        RequireFinite(l.ztop);
        RequireFinite(l.zbot);
        RequireFinite(l.LRFDS);
        RequireFinite(l.LRFDB);
        for (const TopBottom* values :
             {&l.TRANLM, &l.QMAX, &l.NC,   &l.GAMMA, &l.PHI,   &l.CU,      &l.BLOWS, &l.DELTA,
              &l.KO,     &l.BETA, &l.MEXP, &l.OCR,   &l.ALPHA, &l.QUR,     &l.QUCON, &l.CS,
              &l.DISCT,  &l.BDS,  &l.EL,   &l.RQD,   &l.SLUMP, &l.POISSON, &l.EGM})
            RequireFinite(*values);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kolmar::engine::RunContext ctx;
    std::ostringstream console;
    ctx.console = &console;
    ctx.input_text.assign(reinterpret_cast<const char*>(data), size);
    kolmar::engine::ReadInput(ctx);
    CheckInput(ctx.input);
    return 0;
}
