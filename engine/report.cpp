// Report sections of a capacity run and the run-notes summary of a case.
#include "report.h"

#include "capacity.h"
#include "checks.h"
#include "format.h"
#include "input.h"
#include "resistance.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <optional>
#include <ostream>
#include <vector>

namespace kolmar::engine {
namespace {

constexpr int kHeadingIndent = 5;
constexpr int kValueIndent = 6; // shaft lines: 6 blanks, label, F9.3, 2 blanks, unit

// The sections below are built line by line in one text and written at once; `Append...` adds
// lines with their line ends to a text in hand.

// A heading after 5 blanks, underlined with `rule` dashes (its own length when rule < 0).
void AppendUnderlined(std::string& out, std::string_view text, int rule = -1) {
    AppendBlanks(out, kHeadingIndent);
    out += text;
    out += '\n';
    AppendBlanks(out, kHeadingIndent);
    out.append(rule < 0 ? text.size() : static_cast<std::size_t>(rule), '-');
    out += '\n';
}

void Underlined(std::ostream& os, std::string_view text, int rule = -1) {
    std::string lines;
    AppendUnderlined(lines, text, rule);
    WriteText(os, lines);
}

// Two blank lines, the underlined title and one blank line.
void AppendSection(std::string& out, std::string_view title) {
    out += "\n\n";
    AppendUnderlined(out, title);
    out += '\n';
}

void Section(std::ostream& os, std::string_view title) {
    std::string lines;
    AppendSection(lines, title);
    WriteText(os, lines);
}

// Conversion of an echoed value back to the project's units.
enum class Quantity { none, length, stress, unit_weight, modulus, slump };

double Output(const InputData& in, Quantity quantity, double value) {
    if (!in.si())
        return value;
    switch (quantity) {
    case Quantity::length:
        return value / kMToFt;
    case Quantity::stress:
        return value / kKpaToPsf;
    case Quantity::unit_weight:
        return value / kKnPerM3ToPcf;
    case Quantity::modulus:
        return value * kKpaPerPsi;
    case Quantity::slump:
        return value / kMToIn;
    case Quantity::none:
        break;
    }
    return value;
}

// A shaft line: 6 blanks, the label, the value in F9.3, 2 blanks and the unit (none without one).
void AppendShaftLine(std::string& out, std::string_view label, double value,
                     std::string_view unit) {
    AppendBlanks(out, kValueIndent);
    out += label;
    AppendF(out, value, 9, 3);
    if (!unit.empty()) {
        out += "  ";
        out += unit;
    }
    out += '\n';
}

// The concrete modulus line of the shaft sections, in E10.3.
void AppendModulusLine(std::string& out, const InputData& in) {
    AppendBlanks(out, kValueIndent);
    out += "ELASTIC MODULUS, Ec       =";
    AppendE(out, Output(in, Quantity::modulus, in.Ec));
    out += in.si() ? "  KN/SQ M\n" : "  LB/SQ IN\n";
}

std::string_view LengthUnit(const InputData& in) {
    return in.si() ? "M" : "FT.";
}

// --- Parameter blocks of the soil information ---------------------------------------------------

// One echoed parameter of a material: its label in each unit system, its values, its unit and
// the estimate it may carry.
struct Param {
    const char* en;
    const char* si;
    TopBottom Layer::*values; // nullptr for the layer depth
    Quantity quantity;
    std::optional<Estimated> estimate;
};

constexpr Param kBlows{"BLOWS PER FOOT FROM STANDARD PENETRATION TEST",
                       "BLOWS PER FOOT FROM STANDARD PENETRATION TEST", &Layer::BLOWS,
                       Quantity::none, std::nullopt};
constexpr Param kGamma{"SOIL UNIT WEIGHT, LB/CU FT", "SOIL UNIT WEIGHT, KN/CU M", &Layer::GAMMA,
                       Quantity::unit_weight, std::nullopt};
constexpr Param kTransfer{"MAXIMUM LOAD TRANSFER FOR SOIL, LB/SQ FT",
                          "MAXIMUM LOAD TRANSFER FOR SOIL, KN/SQ M", &Layer::TRANLM,
                          Quantity::stress, std::nullopt};
constexpr Param kDepth{"DEPTH, FT", "DEPTH, M", nullptr, Quantity::length, std::nullopt};
constexpr Param kBeta{"SKIN FRICTION COEFFICIENT- BETA", "SKIN FRICTION COEFFICIENT- BETA",
                      &Layer::BETA, Quantity::none, Estimated::BETA};
constexpr Param kSocket{"DIAMETER OF SOCKET, FT", "DIAMETER OF SOCKET, M", &Layer::BDS,
                        Quantity::length, std::nullopt};
constexpr Param kRockStrength{"UNIAXIAL COMPRESSION STRENGTH OF ROCK,LB/SQ FT",
                              "UNIAXIAL COMPRESSION STRENGTH OF ROCK,KN/SQ M", &Layer::QUR,
                              Quantity::stress, std::nullopt};
constexpr Param kRockModulus{"ELASTIC MODULUS FOR THE INTACT ROCK, LB/SQ IN.",
                             "ELASTIC MODULUS FOR THE INTACT ROCK, KN/SQ M", &Layer::EL,
                             Quantity::modulus, std::nullopt};
constexpr Param kRqd{"ROCK QUALITY DESIGNATION (RQD) %", "ROCK QUALITY DESIGNATION (RQD) %",
                     &Layer::RQD, Quantity::none, std::nullopt};

struct Block {
    const char* procedure = nullptr; // the side-friction procedure line, if any
    std::vector<Param> params;
};

Block BlockOf(const Layer& layer) {
    switch (layer.code) {
    case kSand: {
        const Param phi{"INTERNAL FRICTION ANGLE, DEG.", "INTERNAL FRICTION ANGLE, DEG.",
                        &Layer::PHI, Quantity::none, Estimated::PHI};
        if (layer.ISIDE == kBetaMethod)
            return {"SIDE FRICTION PROCEDURE, BETA METHOD",
                    {kBeta, phi, kBlows, kGamma, kTransfer, kDepth}};
        if (layer.ISIDE == kKulhawyChenMethod)
            return {
                "SIDE FRICTION PROCEDURE, KULHAWY AND CHEN METHOD",
                {{"PRECONSOLIDATION STRESS EXPONENT - M", "PRECONSOLIDATION STRESS EXPONENT - M",
                  &Layer::MEXP, Quantity::none, std::nullopt},
                 phi,
                 kBlows,
                 kGamma,
                 kTransfer,
                 kDepth}};
        return {
            "SIDE FRICTION PROCEDURE: Ko METHOD",
            {{"LATERAL EARTH-PRESSURE COEFFICIENT - Ko", "LATERAL EARTH-PRESSURE COEFFICIENT - Ko",
              &Layer::KO, Quantity::none, std::nullopt},
             phi,
             kBlows,
             kGamma,
             kTransfer,
             kDepth}};
    }
    case kClay:
    case kClayShale:
        return {nullptr,
                {{"STRENGTH REDUCTION FACTOR-ALPHA", "STRENGTH REDUCTION FACTOR-ALPHA",
                  &Layer::ALPHA, Quantity::none, Estimated::ALPHA},
                 {"END BEARING COEFFICIENT-Nc", "END BEARING COEFFICIENT-Nc", &Layer::NC,
                  Quantity::none, Estimated::NC},
                 {"UNDRAINED SHEAR STRENGTH, LB/SQ FT", "UNDRAINED SHEAR STRENGTH, KN/SQ M",
                  &Layer::CU, Quantity::stress, Estimated::CU},
                 kBlows,
                 kGamma,
                 kTransfer,
                 kDepth}};
    case kStrongRockSideOrBase:
    case kStrongRockSideAndBase:
        return {nullptr,
                {kSocket,
                 {"SPACING OF DISCONTINUITIES,FT", "SPACING OF DISCONTINUITIES,M", &Layer::CS,
                  Quantity::length, std::nullopt},
                 {"THICKNESS OF INDIVIDUAL DISCONTINUITIES,FT",
                  "THICKNESS OF INDIVIDUAL DISCONTINUITIES,M", &Layer::DISCT, Quantity::length,
                  std::nullopt},
                 kRockStrength,
                 {"UNIAXIAL COMPRESSION STRENGTH OF CONCRETE,LB/SQ FT",
                  "UNIAXIAL COMPRESSION STRENGTH OF CONCRETE,KN/SQ M", &Layer::QUCON,
                  Quantity::stress, std::nullopt},
                 kRockModulus,
                 kRqd,
                 kDepth}};
    case kWeakRock:
        return {nullptr,
                {kSocket,
                 {"SLUMP OF CONCRETE, IN", "SLUMP OF CONCRETE, M", &Layer::SLUMP, Quantity::slump,
                  std::nullopt},
                 {"ANGLE OF INTERFACE FRICTION, DEG.", "ANGLE OF INTERFACE FRICTION, DEG.",
                  &Layer::DELTA, Quantity::none, std::nullopt},
                 kRockStrength,
                 kRockModulus,
                 kRqd,
                 kDepth}};
    case kDecomposedRock:
        return {nullptr,
                {{"ELASTIC MODULUS OF GRAVEL, LB/SQ IN", "ELASTIC MODULUS OF GRAVEL, KN/SQ M",
                  &Layer::EGM, Quantity::modulus, std::nullopt},
                 {"POISSION RATIO OF GRAVEL", "POISSION RATIO OF GRAVEL", &Layer::POISSON,
                  Quantity::none, std::nullopt},
                 kBlows,
                 kGamma,
                 kTransfer,
                 kDepth}};
    default: // gravelly sand, gravel
        return {"SIDE FRICTION PROCEDURE, BETA METHOD", {kBeta, kBlows, kGamma, kTransfer, kDepth}};
    }
}

std::string_view MaterialName(int code) {
    switch (code) {
    case kSand:
        return "SAND";
    case kClay:
        return "CLAY";
    case kClayShale:
        return "CLAY SHALE";
    case kStrongRockSideOrBase:
    case kStrongRockSideAndBase:
        return "STRONG ROCK";
    case kDecomposedRock:
        return "DECOMPOSED ROCK";
    case kWeakRock:
        return "WEAK ROCK";
    case kGravellySand:
        return "GRAVELLEY SAND";
    default:
        return "GRAVEL";
    }
}

// Writes the parameter block of one end of a layer; true when a value carried an estimate mark.
bool WriteEndBlock(std::ostream& os, const InputData& in, const Layer& layer, End end, double Bb) {
    const Block block = BlockOf(layer);
    if (block.procedure)
        WriteLine(os, Blanks(7) + block.procedure);
    bool marked = false;
    for (const Param& param : block.params) {
        double value = 0.0;
        std::string_view mark;
        if (param.values == nullptr) {
            value = end == kTop ? layer.ztop : layer.zbot;
        } else if (param.estimate && Derived(layer, *param.estimate, end)) {
            value = DerivedValue(layer, *param.estimate, end, Bb);
        } else {
            value = (layer.*param.values)[end];
        }
        if (param.estimate && layer.marks.IsSet(*param.estimate, end)) {
            mark = layer.marks.Text(*param.estimate, end);
            marked = true;
        }
        WriteLine(os,
                  EchoLine(in.si() ? param.si : param.en, Output(in, param.quantity, value), mark));
    }
    return marked;
}

bool WriteSoilInformation(std::ostream& os, const InputData& in) {
    Section(os, "SOIL INFORMATION");
    const double Bb = in.RATIO > 1.0 ? in.RATIO * in.DSTART : in.DSTART;
    bool marked = false;
    for (std::size_t i = 0; i < in.layers.size(); ++i) {
        const Layer& layer = in.layers[i];
        if (i > 0)
            WriteBlankLines(os, 1);
        WriteLine(os, Blanks(kHeadingIndent) + "LAYER NO" + I(static_cast<long long>(i) + 1, 3) +
                          "----" + std::string(MaterialName(layer.code)));
        WriteBlankLines(os, 1);
        for (const End end : {kTop, kBottom}) {
            WriteLine(os, Blanks(7) + (end == kTop ? "AT THE TOP" : "AT THE BOTTOM"));
            marked = WriteEndBlock(os, in, layer, end, Bb) || marked;
        }
        WriteLine(os, EchoLine("LRFD RESISTANCE FACTOR (SIDE FRICTION)", layer.LRFDS));
        WriteLine(os, EchoLine("LRFD RESISTANCE FACTOR (TIP RESISTANCE)", layer.LRFDB));
        if (ClayTooStrong(layer))
            WriteClayTooStrongWarning(os);
        if (GravelBlowsAbove50(layer))
            WriteGravelBlowsAbove50Warning(os, layer);
        if (GravelBlowsAtMost25(layer))
            WriteGravelBlowsAtMost25Warning(os, layer);
        if (KoGivesNoSide(layer))
            WriteKoGivesNoSideWarning(os, static_cast<int>(i) + 1);
    }
    if (marked) {
        WriteBlankLines(os, 1);
        WriteLine(os, Blanks(kHeadingIndent) +
                          "(*) ESTIMATED BY THE PROGRAM BASED ON OTHER PARAMETERS");
    }
    return marked;
}

void WriteInputShaftInformation(std::ostream& os, const InputData& in) {
    std::string text;
    AppendSection(text, "INPUT DRILLED SHAFT INFORMATION");
    const std::string_view unit = LengthUnit(in);
    const auto length = [&in](double ft) { return Output(in, Quantity::length, ft); };
    AppendShaftLine(text, "MINIMUM SHAFT DIAMETER    =", length(in.DSTART), unit);
    AppendShaftLine(text, "MAXIMUM SHAFT DIAMETER    =", length(in.DIALIM), unit);
    AppendShaftLine(text, "RATIO BASE/SHAFT DIAMETER =", in.RATIO, "");
    AppendShaftLine(text, "ANGLE OF BELL             =", in.BELANGL, "DEG.");
    AppendShaftLine(text, "IGNORED TOP PORTION       =", length(in.TOPLENG), unit);
    AppendShaftLine(text, "IGNORED BOTTOM PORTION    =", length(in.BS), unit);
    AppendModulusLine(text, in);
    WriteText(os, text);
}

// The length lines of the multiple-length and design-chart headings.
void AppendLengthRange(std::string& out, const InputData& in) {
    const std::string_view unit = LengthUnit(in);
    const auto length = [&in](double ft) { return Output(in, Quantity::length, ft); };
    AppendShaftLine(out, "MAXIMUM SHAFT LENGTH      =", length(in.PD), unit);
    AppendShaftLine(out, "MINIMUM SHAFT LENGTH      =", length(in.PDMIN), unit);
    AppendShaftLine(out, "SHAFT LENGTH INCREMENT    =", length(in.PDINCR), unit);
}

// --- The capacity table -------------------------------------------------------------------------

// Centre columns (1-based) of the eight table headings, the row fields beneath them; the LRFD QU
// heading sits over its field of two decimals.
constexpr std::array<double, 8> kAsdCentres = {8.5, 16.5, 25.5, 33.5, 41.5, 51.0, 60.0, 72.0};
constexpr std::array<double, 8> kLrfdCentres = {8.5, 16.5, 25.5, 33.5, 41.5, 51.0, 60.0, 70.0};

// A line with each text centred on its column, at least one blank after the text before it.
void AppendCentredLine(std::string& out, const std::array<std::string_view, 8>& texts,
                       const std::array<double, 8>& centres) {
    const std::size_t begin = out.size();
    for (std::size_t k = 0; k < texts.size(); ++k) {
        const std::string_view text = texts[k];
        const double half = (static_cast<double>(text.size()) - 1.0) / 2.0;
        std::size_t start = static_cast<std::size_t>(std::floor(centres[k] - half)) - 1;
        const std::size_t used = out.size() - begin;
        start = std::max(start, used == 0 ? std::size_t{0} : used + 1);
        out.resize(begin + start, ' ');
        out += text;
    }
    out += '\n';
}

} // namespace

bool WriteInputEcho(std::ostream& os, const InputData& in) {
    const int decimals = in.si() ? 2 : 1;
    WriteBlankLines(os, 2);
    if (in.METHOD == 2)
        Underlined(os, "PROPOSED DEPTH =" + F(Output(in, Quantity::length, in.DGH), 10, decimals) +
                           (in.si() ? " M" : " FT"));
    else
        Underlined(os, "TOTAL LOAD =" + F(in.si() ? in.P / kKnToTons : in.P, 10, 1) +
                           (in.si() ? " KN" : " TONS"));
    WriteBlankLines(os, 2);
    if (in.KCYCL == 2) {
        Underlined(os, "REDUCTION FACTOR APPLIED FOR UPLIFT FRICTION =" + F(in.RCYCL, 6, 3));
        WriteBlankLines(os, 1);
    }
    Underlined(os, "NUMBER OF LAYERS =" + I(static_cast<long long>(in.layers.size()), 5));
    WriteBlankLines(os, 1);
    Underlined(os, "WATER TABLE DEPTH =" + F(Output(in, Quantity::length, in.WTD), 10, decimals) +
                       (in.si() ? " M" : " FT."));
    WriteBlankLines(os, 1);
    Underlined(
        os, "FACTOR OF SAFETY APPLIED TO THE ULTIMATE SIDE FRICTION CAPACITY =" + F(in.FST, 5, 2),
        55);
    WriteBlankLines(os, 1);
    Underlined(os, "FACTOR OF SAFETY APPLIED TO THE ULTIMATE BASE CAPACITY =" + F(in.FSB, 5, 2),
               54);
    const bool marked = WriteSoilInformation(os, in);
    WriteInputShaftInformation(os, in);
    return marked;
}

void WriteVaryLengthHeading(std::ostream& os, const InputData& in) {
    std::string text;
    AppendSection(text, "VARY SHAFT LENGTH FOR INITIAL DIAMETER");
    AppendLengthRange(text, in);
    text += "\n\n";
    WriteText(os, text);
}

void WriteDesignChartHeading(std::ostream& os, const InputData& in) {
    std::string text;
    AppendSection(text, "COMPUTATION OF LRFD CHARTS");
    AppendLengthRange(text, in);
    AppendShaftLine(text, "DIAMETER INCREMENT        =", Output(in, Quantity::length, in.DIAMINCR),
                    LengthUnit(in));
    text += "\n\n\n";
    WriteText(os, text);
    WriteLine(os, Blanks(6) + "   POINT    SETTLEMENT VALUES, " + (in.si() ? "M" : "IN"));
    for (std::size_t k = 0; k < in.PDSETT.size(); ++k)
        WriteLine(os, Blanks(7) + I(static_cast<long long>(k) + 1, 5) + Blanks(5) +
                          F(in.si() ? in.PDSETT[k] / kMToIn : in.PDSETT[k], 9, 4));
}

void WriteComputationResultsHeading(std::ostream& os) {
    WriteBlankLines(os, 2);
    Underlined(os, "COMPUTATION RESULTS");
}

void WriteCaseHeading(std::ostream& os, const CaseSetup& setup) {
    WriteText(os, CaseHeadingText(setup));
}

std::string CaseHeadingText(const CaseSetup& setup) {
    std::string text;
    text.reserve(96);
    text += "\n\n\n     - CASE ANALYZED      : ";
    AppendI(text, setup.number, 5);
    text += "\n       VARIATION LENGTH   : ";
    AppendI(text, setup.length_index, 5);
    text += "\n       VARIATION DIAMETER : ";
    AppendI(text, setup.diameter_index, 5);
    text += '\n';
    return text;
}

void WriteShaftInformation(std::ostream& os, const InputData& in, const ShaftGeometry& shaft) {
    std::string text;
    text.reserve(768);
    AppendSection(text, "DRILLED SHAFT INFORMATION");
    const std::string_view unit = LengthUnit(in);
    const auto length = [&in](double ft) { return Output(in, Quantity::length, ft); };
    // One percent of the stem area: sq in, or sq cm in SI.
    const double stem = in.si() ? length(shaft.D) * 100.0 : shaft.D * 12.0;
    const double steel = 0.01 * kPi / 4.0 * stem * stem;
    AppendShaftLine(text, "DIAMETER OF STEM          =", length(shaft.D), unit);
    AppendShaftLine(text, "DIAMETER OF BASE          =", length(shaft.Bb), unit);
    AppendShaftLine(text, "END OF STEM TO BASE       =", length(shaft.H), unit);
    AppendShaftLine(text, "ANGLE OF BELL             =", in.BELANGL, "DEG.");
    AppendShaftLine(text, "IGNORED TOP PORTION       =", length(in.TOPLENG), unit);
    AppendShaftLine(text, "IGNORED BOTTOM PORTION    =", length(in.BS), unit);
    AppendShaftLine(text, "AREA OF ONE PERCENT STEEL =", steel, in.si() ? "SQ.CM" : "SQ.IN.");
    AppendModulusLine(text, in);
    AppendShaftLine(text, "VOLUME OF UNDERREAM       =",
                    in.si() ? shaft.bell_volume / kCuYdPerCuM : shaft.bell_volume,
                    in.si() ? "CU.M" : "CU.YDS.");
    WriteText(os, text);
}

void WriteRunNotesShaftInformation(std::ostream& os, const InputData& in,
                                   const ShaftGeometry& shaft, double length) {
    std::string text;
    text.reserve(256);
    const std::string_view unit = LengthUnit(in);
    const auto out = [&in](double ft) { return Output(in, Quantity::length, ft); };
    text += '\n';
    AppendUnderlined(text, "DRILLED SHAFT INFORMATION");
    AppendShaftLine(text, "DIAMETER OF STEM          =", out(shaft.D), unit);
    AppendShaftLine(text, "DIAMETER OF BASE          =", out(shaft.Bb), unit);
    AppendShaftLine(text, "SHAFT LENGTH              =", out(length), unit);
    text += '\n';
    WriteText(os, text);
}

void WritePredictedResults(std::ostream& os, const InputData& in, const CapacityTable& table) {
    WritePredictedResults(os, in, CapacityRowsText(in, table));
}

void WritePredictedResults(std::ostream& os, const InputData& in, std::string_view rows) {
    static constexpr std::array<std::string_view, 4> kLegend = {
        "QS     = ULTIMATE SIDE RESISTANCE;", "QB     = ULTIMATE BASE RESISTANCE;",
        "WT     = WEIGHT OF DRILLED SHAFT (FOR UPLIFT CAPACITY ONLY);",
        "QU     = TOTAL ULTIMATE RESISTANCE;"};
    static constexpr std::array<std::string_view, 5> kLrfdLegend = {
        "LRFD QS = TOTAL SIDE FRICTION USING LRFD RESISTANCE FACTOR",
        "          TO THE ULTIMATE SIDE RESISTANCE;",
        "LRFD QB = TOTAL BASE BEARING USING LRFD RESISTANCE FACTOR",
        "          TO THE ULTIMATE BASE RESISTANCE",
        "LRFD QU = TOTAL CAPACITY WITH LRFD RESISTANCE FACTOR."};
    static constexpr std::array<std::string_view, 5> kAsdLegend = {
        "QBD    = TOTAL ALLOWABLE LOAD USING A FACTOR OF SAFETY",
        "         APPLIED TO THE ULTIMATE BASE RESISTANCE;",
        "QDN    = TOTAL ALLOWABLE LOAD USING FACTORS OF SAFETY",
        "         APPLIED TO THE ULTIMATE SIDE RESISTANCE AND",
        "         THE ULTIMATE BASE RESISTANCE."};
    const bool lrfd = in.NLRFD == 1;
    const bool uplift = in.KCYCL == 2;
    std::string text;
    text.reserve(1024);
    AppendSection(text, "PREDICTED RESULTS");
    const auto legend = [&text](std::string_view line) {
        AppendBlanks(text, kHeadingIndent);
        text += line;
        text += '\n';
    };
    for (const std::string_view line : kLegend)
        legend(line);
    for (const std::string_view line : lrfd ? kLrfdLegend : kAsdLegend)
        legend(line);
    text += '\n';

    const std::string_view base = uplift ? "WT" : "QB";
    const std::string_view force = in.si() ? "(KN)" : "(TONS)";
    const std::array<std::string_view, 8> heads =
        lrfd ? std::array<std::string_view, 8>{"LENGTH",
                                               "VOLUME",
                                               "QS",
                                               base,
                                               "QU",
                                               "LRFD QS",
                                               uplift ? "WT" : "LRFD QB",
                                               "LRFD QU"}
             : std::array<std::string_view, 8>{"LENGTH", "VOLUME", "QS",  base,
                                               "QU",     "QBD",    "QDN", "QU/VOLUME"};
    const std::array<std::string_view, 8> units = {
        in.si() ? "(M)" : "(FT)",
        in.si() ? "(CU.M)" : "(CU.YDS)",
        force,
        force,
        force,
        force,
        force,
        lrfd ? force : (in.si() ? "(KN/CU.M)" : "(TONS/CU.YDS)")};
    const std::array<double, 8>& centres = lrfd ? kLrfdCentres : kAsdCentres;
    AppendCentredLine(text, heads, centres);
    AppendCentredLine(text, units, centres);
    text += '\n';
    WriteText(os, text);
    WriteText(os, rows);
}

namespace {

// Appends one capacity row, in output units, without its line end.
void AppendCapacityRow(std::string& text, const InputData& in, const CapacityRow& internal) {
    const CapacityRow row = ToOutputUnits(internal, in.si());
    const int d = in.si() ? 2 : 1;
    const bool lrfd = in.NLRFD == 1;
    text += ' ';
    AppendF(text, row.length, 8, d);
    text += ' ';
    AppendF(text, row.volume, 8, d);
    AppendF(text, row.QS, 9, d);
    AppendF(text, row.QB, 9, d);
    AppendF(text, row.QU, 9, d);
    AppendF(text, lrfd ? row.QS_lrfd : row.QBD, 9, d);
    AppendF(text, lrfd ? row.QB_lrfd : row.QDN, 9, d);
    text += ' ';
    AppendF(text, lrfd ? row.QU_lrfd : row.QU_per_volume, 9, 2);
}

} // namespace

std::string CapacityRowLine(const InputData& in, const CapacityRow& internal) {
    std::string line;
    AppendCapacityRow(line, in, internal);
    return line;
}

void WriteCapacityRows(std::ostream& os, const InputData& in, const CapacityTable& table) {
    for (const CapacityRow& row : table.rows)
        WriteLine(os, CapacityRowLine(in, row));
}

std::string CapacityRowsText(const InputData& in, const CapacityTable& table) {
    std::string text;
    text.reserve(table.rows.size() * 74);
    for (const CapacityRow& row : table.rows) {
        AppendCapacityRow(text, in, row);
        text += '\n';
    }
    return text;
}

namespace {

// The values a capacity row prints, in its column order, as their bits (so that 0 and -0, or
// two NaNs, are told apart as the text might tell them).
std::array<std::uint64_t, 8> PrintedBits(const CapacityRow& row, bool lrfd) {
    return {std::bit_cast<std::uint64_t>(row.length),
            std::bit_cast<std::uint64_t>(row.volume),
            std::bit_cast<std::uint64_t>(row.QS),
            std::bit_cast<std::uint64_t>(row.QB),
            std::bit_cast<std::uint64_t>(row.QU),
            std::bit_cast<std::uint64_t>(lrfd ? row.QS_lrfd : row.QBD),
            std::bit_cast<std::uint64_t>(lrfd ? row.QB_lrfd : row.QDN),
            std::bit_cast<std::uint64_t>(lrfd ? row.QU_lrfd : row.QU_per_volume)};
}

} // namespace

const std::string& CapacityRowsCache::Text(const InputData& in, const CapacityTable& table) {
    // The key: the unit system and design method, then the printed values row by row. Tables of
    // other diameters mostly differ in their first row, where the comparison stops.
    const bool lrfd = in.NLRFD == 1;
    const std::uint64_t kind = (in.si() ? 1u : 0u) | (lrfd ? 2u : 0u);
    const std::size_t size = 1 + table.rows.size() * 8;
    const auto same = [&](const std::vector<std::uint64_t>& values) {
        if (values.size() != size || values[0] != kind)
            return false;
        const std::uint64_t* at = values.data() + 1;
        for (const CapacityRow& row : table.rows) {
            const std::array<std::uint64_t, 8> bits = PrintedBits(row, lrfd);
            if (std::memcmp(at, bits.data(), sizeof bits) != 0)
                return false;
            at += bits.size();
        }
        return true;
    };
    for (const Entry& entry : entries_)
        if (same(entry.values))
            return entry.text;

    ++formatted_;
    Entry* entry = nullptr;
    if (entries_.size() < kTables) {
        entry = &entries_.emplace_back();
    } else {
        entry = &entries_[oldest_];
        oldest_ = (oldest_ + 1) % kTables;
    }
    entry->values.clear();
    entry->values.reserve(size);
    entry->values.push_back(kind);
    for (const CapacityRow& row : table.rows) {
        const std::array<std::uint64_t, 8> bits = PrintedBits(row, lrfd);
        entry->values.insert(entry->values.end(), bits.begin(), bits.end());
    }
    entry->text = CapacityRowsText(in, table);
    return entry->text;
}

} // namespace kolmar::engine
