// Project-file reading: records in order, SI conversion, defaults with estimate marks, checks.
#include "input.h"

#include "checks.h"
#include "format.h"
#include "kolmar/ikolmar.h"
#include "profile.h"
#include "resistance.h"

#include <algorithm>
#include <cmath>
#include <ostream>

namespace kolmar::engine {
namespace {

constexpr std::size_t kTitleLength = 72;

[[noreturn]] void Refuse(const ListReader& reader, std::string problem) {
    throw InputError{reader.record(), reader.record_name(), reader.line(), std::move(problem)};
}

std::string LayerRecord(int number, std::string_view what) {
    return "LAYER " + std::to_string(number) + ", " + std::string(what);
}

// The title: the first 72 characters of its line, control characters shown as blanks.
std::string TitleOf(const std::string& line) {
    std::string title = line.substr(0, kTitleLength);
    for (char& c : title)
        if (static_cast<unsigned char>(c) < ' ' || c == '\x7f')
            c = ' ';
    return std::string(TrimRight(title));
}

void WriteTitle(RunContext& ctx) {
    const std::string line = Blanks(5) + ctx.input.title;
    WriteLine(ctx.report(), line);
    WriteLine(*ctx.console, line);
    std::ostream& tz = ctx.tz_text();
    WriteBlankLines(tz, 1);
    WriteLine(tz, line);
    WriteBlankLines(tz, 2);
    WriteLine(tz, Blanks(5) + "NOTE: TZ AND QW CURVES DATA ARE AVAILABLE ONLY " +
                      "FOR SAND AND CLAY LAYERS.");
    WriteBlankLines(tz, 2);
}

// Shortest length of a multiple-length or design-chart run: never shorter than six diameters
// plus the two portions without side resistance.
double RaisePdmin(const InputData& in, double pdmin) {
    return std::max(pdmin, 6.0 * in.DSTART + in.TOPLENG + in.BS);
}

// Where the layer keeps a value of its records that has a top and a bottom row; nullptr for the
// integer codes and the LRFD factors, which are kept apart.
TopBottom Layer::*RowValues(LayerField field) {
    switch (field) {
    case LayerField::NC:
        return &Layer::NC;
    case LayerField::GAMMA:
        return &Layer::GAMMA;
    case LayerField::PHI:
        return &Layer::PHI;
    case LayerField::DELTA:
        return &Layer::DELTA;
    case LayerField::CU:
        return &Layer::CU;
    case LayerField::BLOWS:
        return &Layer::BLOWS;
    case LayerField::TRANLM:
        return &Layer::TRANLM;
    case LayerField::QMAX:
        return &Layer::QMAX;
    case LayerField::QUR:
        return &Layer::QUR;
    case LayerField::QUCON:
        return &Layer::QUCON;
    case LayerField::CS:
        return &Layer::CS;
    case LayerField::DISCT:
        return &Layer::DISCT;
    case LayerField::BDS:
        return &Layer::BDS;
    case LayerField::EL:
        return &Layer::EL;
    case LayerField::RQD:
        return &Layer::RQD;
    case LayerField::SLUMP:
        return &Layer::SLUMP;
    case LayerField::POISSON:
        return &Layer::POISSON;
    case LayerField::EGM:
        return &Layer::EGM;
    case LayerField::BETA:
        return &Layer::BETA;
    case LayerField::KO:
        return &Layer::KO;
    case LayerField::MEXP:
        return &Layer::MEXP;
    case LayerField::ALPHA:
        return &Layer::ALPHA;
    case LayerField::LRFDS:
    case LayerField::LRFDB:
    case LayerField::ICOND:
    case LayerField::ISIDE:
        break;
    }
    return nullptr;
}

// The values of one line of a layer (its top or bottom row), in the columns of its material.
void ReadLayerRow(ListReader& r, Layer& layer, End end) {
    for (const LayerField field : LayerRecordOf(layer.code).row) {
        switch (field) {
        case LayerField::ICOND:
            layer.ICOND[end] = r.Integer();
            if (layer.ICOND[end] < 1 || layer.ICOND[end] > 4)
                Refuse(r, "THE INTERFACE CONDITION OF WEAK ROCK MUST BE 1, 2, 3 OR 4.");
            break;
        // The LRFD factors close every row; those of the bottom row are kept.
        case LayerField::LRFDS:
            layer.LRFDS = r.Real();
            break;
        case LayerField::LRFDB:
            layer.LRFDB = r.Real();
            break;
        default:
            (layer.*RowValues(field))[end] = r.Real();
            break;
        }
    }
}

// The records that follow the two rows: the side-friction method of sand and its coefficient,
// the alpha values of clay and clay shale.
void ReadLayerTail(ListReader& r, Layer& layer, int number) {
    switch (LayerRecordOf(layer.code).tail) {
    case LayerTail::sand_method: {
        r.BeginRecord(LayerRecord(number, "SIDE-FRICTION METHOD"));
        layer.ISIDE = r.Integer();
        if (layer.ISIDE < kKoMethod || layer.ISIDE > kKulhawyChenMethod)
            Refuse(r, "THE SIDE-FRICTION METHOD OF A SAND LAYER MUST BE 1, 2 OR 3.");
        r.EndRecord();
        TopBottom& values = layer.*RowValues(SandMethodField(layer.ISIDE));
        r.BeginRecord(LayerRecord(number, "METHOD VALUES"));
        values[kTop] = r.Real();
        values[kBottom] = r.Real();
        r.EndRecord();
        break;
    }
    case LayerTail::alpha:
        r.BeginRecord(LayerRecord(number, "ALPHA VALUES"));
        layer.ALPHA[kTop] = r.Real();
        layer.ALPHA[kBottom] = r.Real();
        r.EndRecord();
        break;
    case LayerTail::none:
        break;
    }
}

void ReadLayer(ListReader& r, InputData& in, int number) {
    const double top = in.layers.empty() ? 0.0 : in.layers.back().zbot;
    Layer& layer = in.layers.emplace_back();
    r.BeginRecord(LayerRecord(number, "SOIL CODE AND BOTTOM DEPTH"));
    // The code is held as a real number and compared as an exact value.
    const double code = r.Real();
    if (code != std::floor(code) || code < kMinSoilCode || code > kMaxSoilCode)
        Refuse(r, "THE SOIL TYPE CODE MUST BE A WHOLE NUMBER FROM 1 TO 9.");
    layer.code = static_cast<int>(code);
    layer.ztop = top;
    layer.zbot = r.Real();
    const double bottom_ft = in.si() ? layer.zbot * kMToFt : layer.zbot;
    if (!(layer.zbot > top) || bottom_ft > kMaxProfileDepth)
        Refuse(r, "THE BOTTOM OF LAYER " + std::to_string(number) +
                      " MUST LIE BELOW ITS TOP AND NOT DEEPER THAN 1000 FT (304.8 M).");
    r.EndRecord();

    for (const End end : {kTop, kBottom}) {
        r.BeginRecord(
            LayerRecord(number, end == kTop ? "VALUES AT THE TOP" : "VALUES AT THE BOTTOM"));
        ReadLayerRow(r, layer, end);
        r.EndRecord();
    }

    ReadLayerTail(r, layer, number);
}

void ApplySandDefaults(const InputData& in, Layer& layer) {
    const bool beta_given = layer.BETA[kTop] != 0.0 || layer.BETA[kBottom] != 0.0;
    for (const End end : {kTop, kBottom}) {
        const double z = end == kTop ? layer.ztop : layer.zbot;
        const double sigma_v = SigmaV(in, z);
        const double blows = layer.BLOWS[end];
        if (layer.PHI[end] == 0.0 && blows > 0.0) {
            layer.PHI[end] = FrictionAngleFromBlowCount(blows, sigma_v / 144.0);
            layer.marks.Set(Estimated::PHI, end);
        }
        if (layer.ISIDE == kBetaMethod && !beta_given) {
            layer.BETA[end] = SandBetaFromDepth(z, blows);
            layer.marks.Set(Estimated::BETA, end);
        }
        if (layer.ISIDE == kKulhawyChenMethod) {
            layer.OCR[end] = KulhawyChenOcr(blows, layer.MEXP[end], sigma_v);
            layer.marks.Set(Estimated::OCR, end);
        }
    }
}

void Refused(RunContext& ctx, const InputError& error) {
    WriteInputError(ctx.report(), error);
    WriteInputError(ctx.run_notes(), error);
    WriteInputError(*ctx.console, error);
    ctx.status = KOLMAR_STATUS_BAD_INPUT;
}

} // namespace

void ReadRecords(RunContext& ctx, ListReader& r) {
    InputData& in = ctx.input;

    r.BeginRecord("TITLE RECORD");
    in.title = TitleOf(r.TextLine());
    r.EndRecord();
    WriteTitle(ctx);

    r.BeginRecord("UNIT-SYSTEM RECORD");
    in.unit_system = r.Integer();
    in.units = in.si() ? "SI" : "EN";
    r.EndRecord();

    r.BeginRecord("CONTROL RECORD");
    in.METHOD = r.Integer();
    if (in.METHOD != 1 && in.METHOD != 2)
        Refuse(r, "THE DESIGN CONTROL MUST BE 1 (DESIGN LOAD) OR 2 (PROPOSED DEPTH).");
    in.KCYCL = r.Integer();
    in.RCYCL = r.Real();
    in.PINC = r.Real();
    in.IMOD = r.Integer();
    in.NLRFD = r.Integer();
    in.IPENT = r.Integer();
    in.IChart = r.Integer();
    in.UseElevation = r.Integer();
    in.ValElevation = r.Real();
    in.PrintTZCurves = r.Integer();
    r.EndRecord();

    r.BeginRecord("SHAFT RECORD");
    in.DSTART = r.Real();
    in.DIALIM = r.Real();
    in.RATIO = r.Real();
    in.BELANGL = r.Real();
    in.TOPLENG = r.Real();
    in.BS = r.Real();
    in.Ec = r.Real();
    r.EndRecord();

    r.BeginRecord("LOAD RECORD");
    const int layer_count = r.Integer();
    if (layer_count < 1 || layer_count > kMaxLayers)
        Refuse(r, "THE NUMBER OF SOIL LAYERS MUST BE BETWEEN 1 AND 40.");
    in.WTD = r.Real();
    const double load_or_depth = r.Real(); // design load under control 1, proposed depth under 2
    (in.METHOD == 1 ? in.P : in.DGH) = load_or_depth;
    in.FST = r.Real();
    in.FSB = r.Real();
    r.EndRecord();

    const double default_increment = in.si() ? 1.0 : 3.0; // m or ft
    if (in.IPENT >= 1) {
        r.BeginRecord("VARY-LENGTH RECORD");
        in.PDMIN = r.Real();
        in.PDINCR = r.Real();
        r.EndRecord();
        if (in.PDMIN == 0.0)
            in.PDMIN = 0.7 * load_or_depth;
        if (in.PDINCR == 0.0)
            in.PDINCR = default_increment;
        in.PDMIN = RaisePdmin(in, in.PDMIN);
    }
    if (in.IChart >= 1) {
        r.BeginRecord("DESIGN-CHART RECORD");
        in.PDMIN = r.Real();
        in.PDINCR = r.Real();
        in.DIAMINCR = r.Real();
        in.NPOINTPD = r.Integer();
        if (in.NPOINTPD < 1 || in.NPOINTPD > kMaxSettlements)
            Refuse(r, "THE NUMBER OF DESIGN-CHART SETTLEMENTS MUST BE BETWEEN 1 AND 10.");
        r.EndRecord();
        if (in.PDMIN == 0.0)
            in.PDMIN = 0.3 * load_or_depth;
        if (in.PDINCR == 0.0)
            in.PDINCR = default_increment;
        if (in.DIAMINCR == 0.0)
            in.DIAMINCR = in.si() ? 0.15 : 0.5; // m or ft
        in.PDMIN = RaisePdmin(in, in.PDMIN);

        r.BeginRecord("DESIGN-CHART SETTLEMENTS");
        for (int k = 0; k < in.NPOINTPD; ++k)
            in.PDSETT.push_back(r.Real());
        r.EndRecord();
    }

    in.layers.reserve(static_cast<std::size_t>(layer_count));
    for (int number = 1; number <= layer_count; ++number)
        ReadLayer(r, in, number);

    if (in.PrintTZCurves == 1) {
        r.BeginRecord("NUMBER OF ADDITIONAL T-Z CURVES");
        const int count = r.Integer();
        if (count < 0 || count > kMaxTzDepths)
            Refuse(r, "THE NUMBER OF ADDITIONAL T-Z CURVES MUST BE BETWEEN 0 AND 50.");
        r.EndRecord();
        for (int k = 1; k <= count; ++k) {
            r.BeginRecord("ADDITIONAL T-Z DEPTH " + std::to_string(k));
            in.tz_depths.push_back(r.Real());
            r.EndRecord();
        }
    }
}

void ConvertToEnglish(InputData& in) {
    if (!in.si())
        return;
    const auto scale = [](TopBottom& values, double factor) {
        values[kTop] *= factor;
        values[kBottom] *= factor;
    };
    in.P *= kKnToTons;
    for (double* length : {&in.WTD, &in.DGH, &in.DSTART, &in.DIALIM, &in.TOPLENG, &in.BS, &in.PDMIN,
                           &in.PDINCR, &in.DIAMINCR, &in.PINC, &in.ValElevation})
        *length *= kMToFt;
    in.Ec *= kKpaToPsi;
    for (double& settlement : in.PDSETT)
        settlement *= kMToIn;
    for (double& depth : in.tz_depths)
        depth *= kMToFt;

    for (Layer& layer : in.layers) {
        layer.ztop *= kMToFt;
        layer.zbot *= kMToFt;
        // Every value of the layer records that has a unit of its own, whatever the material.
        for (const LayerFieldInfo& value : kLayerFields)
            if (value.si_factor != 1.0)
                if (TopBottom Layer::*const row = RowValues(value.field))
                    scale(layer.*row, value.si_factor);
    }
}

void ApplyDefaults(InputData& in) {
    if (in.METHOD == 2)
        in.PD = in.DGH;
    for (Layer& layer : in.layers) {
        for (const End end : {kTop, kBottom}) {
            if (std::fabs(layer.TRANLM[end]) < 1.0e-10)
                layer.TRANLM[end] = kNoLimit;
            if (std::fabs(layer.QMAX[end]) < 1.0e-10)
                layer.QMAX[end] = kNoLimit;
        }
    }
    if (in.RATIO == 1.0)
        in.RATIO = 0.0;
    in.DIALIM = std::max(in.DSTART, in.DIALIM);
    for (Layer& layer : in.layers)
        if (layer.code == kSand)
            ApplySandDefaults(in, layer);
}

void ReadInput(RunContext& ctx) {
    ctx.input = InputData{};
    ListReader reader(ctx.input_text);
    try {
        ReadRecords(ctx, reader);
    } catch (const ReadError& error) {
        Refused(ctx, InputError{error.record, error.record_name, error.line, ReadFaultText(error)});
        return;
    } catch (const InputError& error) {
        Refused(ctx, error);
        return;
    }
    // Conversion comes before the "no limit" replacement so that the marker is the same internal
    // value in both unit systems.
    ConvertToEnglish(ctx.input);
    ApplyDefaults(ctx.input);
    if (ProposedDepthBelowProfile(ctx.input)) {
        WriteProposedDepthWarning(ctx.run_notes());
        WriteProposedDepthWarning(ctx.report());
    }
}

} // namespace kolmar::engine
