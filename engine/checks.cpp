// Input checks and the exact text of their message blocks.
//
// Blocks for input the engine refuses (status 8). Each is written to the report, the run notes
// and the console, framed by two blank lines, every line after 5 blanks:
//
//   *********************ERROR**********************
//   INPUT FILE ERROR IN RECORD <r> (<record name>), LINE <n>:
//   <problem>
//
// Records are counted in reading order from 1 (1 title, 2 unit system, 3 control, 4 shaft,
// 5 load, then the optional records and the layer records as the file holds them); <n> is the
// line of the offending value, or one past the last line when the file ends early. Problems:
//
//   the file ends early      THE FILE ENDS BEFORE THIS RECORD IS COMPLETE.
//   a word is no number      VALUE <k> OF THIS RECORD, "<word>", IS NOT A NUMBER.
//   infinity, NaN, huge      VALUE <k> OF THIS RECORD IS NOT A FINITE NUMBER OF 1.0E+20 OR LESS.
//   fraction in a count      VALUE <k> OF THIS RECORD MUST BE A WHOLE NUMBER.
//   layers                   THE NUMBER OF SOIL LAYERS MUST BE BETWEEN 1 AND 40.
//   t-z depths               THE NUMBER OF ADDITIONAL T-Z CURVES MUST BE BETWEEN 0 AND 50.
//   chart settlements        THE NUMBER OF DESIGN-CHART SETTLEMENTS MUST BE BETWEEN 1 AND 10.
//   design control           THE DESIGN CONTROL MUST BE 1 (DESIGN LOAD) OR 2 (PROPOSED DEPTH).
//   soil code                THE SOIL TYPE CODE MUST BE A WHOLE NUMBER FROM 1 TO 9.
//   layer depth              THE BOTTOM OF LAYER <i> MUST LIE BELOW ITS TOP AND NOT DEEPER
//                            THAN 1000 FT (304.8 M).
//   sand method              THE SIDE-FRICTION METHOD OF A SAND LAYER MUST BE 1, 2 OR 3.
//   weak-rock interface      THE INTERFACE CONDITION OF WEAK ROCK MUST BE 1, 2, 3 OR 4.
//
// Shaft and design data the capacity analysis cannot use (status 8) get, in the same places and
// frame, the banner and one line naming the record and the problem, e.g.
//
//   LOAD RECORD: THE FACTOR OF SAFETY ON SIDE RESISTANCE MUST BE GREATER THAN 0.
//
// Files that cannot be opened (status 9) get, in the report (when open), the run notes (when
// open) and on the console:
//
//   *********************ERROR**********************
//   THE <file role> COULD NOT BE OPENED OR CREATED:      (project file: OPENED OR READ)
//   <file name>
#include "checks.h"

#include "format.h"

#include <ostream>

namespace kolmar::engine {
namespace {

constexpr int kIndent = 5;
constexpr std::string_view kErrorBanner = "*********************ERROR**********************";

// Writes the lines after `indent` blanks, framed by `frame` blank lines before and after.
void WriteBlock(std::ostream& os, const std::vector<std::string>& lines, int indent, int frame) {
    WriteBlankLines(os, frame);
    for (const std::string& line : lines)
        WriteLine(os, Blanks(indent) + line);
    WriteBlankLines(os, frame);
}

// Printable form of a text for a message: at most `width` characters, anything that is not
// printable ASCII shown as "?".
std::string Printable(const std::string& text, std::size_t width = 24) {
    std::string out;
    for (char c : text.substr(0, width))
        out += (c >= ' ' && c <= '~') ? c : '?';
    if (text.size() > width)
        out += "...";
    return out;
}

std::string BlowCountLine(std::string_view where, double blows) {
    return LabelValue(0, where, 38, "=" + F(blows, 10, 2));
}

std::string_view RoleName(FileRole role) {
    switch (role) {
    case FileRole::input:
        return "PROJECT FILE";
    case FileRole::report:
        return "REPORT FILE";
    case FileRole::plot:
        return "PLOT FILE";
    case FileRole::run_notes:
        return "RUN-NOTES FILE";
    case FileRole::tz_text:
        return "T-Z TEXT FILE";
    case FileRole::qw_stage:
        return "STAGED Q-W FILE";
    case FileRole::plot_stage_t:
    case FileRole::plot_stage_q:
    case FileRole::plot_stage_l:
        return "STAGED PLOT FILE";
    case FileRole::chart:
        return "DESIGN-CHART FILE";
    case FileRole::tz_data:
    case FileRole::tz_diam:
    case FileRole::rock_msg:
    case FileRole::names:
        break;
    }
    return "SCRATCH FILE";
}

} // namespace

bool ProposedDepthBelowProfile(const InputData& input) {
    return input.METHOD == 2 && !input.layers.empty() && input.DGH > input.layers.back().zbot;
}

void WriteProposedDepthWarning(std::ostream& os) {
    WriteBlock(os,
               {"*********************WARNING**********************",
                "PLEASE PROVIDE THE SOIL DEPTH THAT IS TWO-DIAMETER DEEPER",
                "THAN THE TIP OF DRILLED SHAFTS"},
               kIndent, 2);
}

bool SandStrengthMissing(double blows, double phi) {
    return blows < 0.001 && phi < 0.001;
}

void WriteSandStrengthError(std::ostream& os) {
    WriteBlock(os,
               {std::string(kErrorBanner),
                "PLEASE INPUT EITHER THE N-VALUE FROM STANDARD PENETRATION TESTS",
                "OR THE INTERNAL FRICTION ANGLE FOR SAND LAYERS"},
               kIndent, 1);
}

bool UnitWeightMissing(int code, double gamma) {
    const bool soil =
        code == kSand || code == kClay || code == kClayShale || code == kDecomposedRock;
    return soil && gamma < 50.0;
}

void WriteUnitWeightError(std::ostream& os) {
    WriteBlock(os,
               {std::string(kErrorBanner),
                "PLEASE INPUT THE TOTAL UNIT WEIGHT FOR THE SOIL.  THE PROGRAM",
                "WILL CONSIDER THE SUBMERGED UNIT WEIGHT INTERNALLY IF THE SOIL",
                "IS BELOW THE WATER TABLE WHICH SHOULD BE ENTERED BY THE USER"},
               kIndent, 1);
}

bool ClayTooStrong(const Layer& layer) {
    if (layer.code != kClay && layer.code != kClayShale)
        return false;
    constexpr double pa = 2116.8; // atmospheric pressure, psf
    return layer.CU[kTop] / pa >= 2.5 || layer.CU[kBottom] / pa >= 2.5;
}

void WriteClayTooStrongWarning(std::ostream& os) {
    WriteBlock(os,
               {"..........WARNING..........",
                "THE SHEAR STRENGTH OF THIS MATERIAL MAY BE TOO HIGH",
                "FOR USING CLAY CRITERIA. DESIGN AS INTERMEDIATE", "GEOMATERIAL IS RECOMMENDED."},
               7, 1);
}

bool GravelBlowsAbove50(const Layer& layer) {
    return (layer.code == kGravellySand || layer.code == kGravel) &&
           (layer.BLOWS[kTop] > 50.0 || layer.BLOWS[kBottom] > 50.0);
}

void WriteGravelBlowsAbove50Warning(std::ostream& os, const Layer& layer) {
    WriteLine(os, "                     WARNING MESSAGE                ");
    WriteLine(os, "   " + Repeat('-', 60));
    for (const std::string& line :
         {BlowCountLine("SPT BLOW COUNT AT THE TOP OF LAYER", layer.BLOWS[kTop]),
          BlowCountLine("SPT BLOW COUNT AT THE BOTTOM OF LAYER", layer.BLOWS[kBottom]),
          std::string("UNIT TIP RESISTANCE IS LIMITED TO 30 TSF IF SPT-N IS OVER 50"),
          std::string("LOADING TEST IS RECOMMENDED FOR USING HIGHER VALUE.")})
        WriteLine(os, Blanks(kIndent) + line);
    WriteBlankLines(os, 2);
}

bool GravelBlowsAtMost25(const Layer& layer) {
    return (layer.code == kGravellySand || layer.code == kGravel) &&
           (layer.BLOWS[kTop] <= 25.0 || layer.BLOWS[kBottom] <= 25.0);
}

void WriteGravelBlowsAtMost25Warning(std::ostream& os, const Layer& layer) {
    WriteBlock(os,
               {"*****************WARNING*********************",
                BlowCountLine("SPT BLOW COUNT AT THE TOP OF LAYER", layer.BLOWS[kTop]),
                BlowCountLine("SPT BLOW COUNT AT THE BOTTOM OF LAYER", layer.BLOWS[kBottom]),
                "Blow counts should be greater than 25 for this criterion.",
                "Select other soil criteria and do not use this output data."},
               kIndent, 1);
}

bool KoGivesNoSide(const Layer& layer) {
    return layer.code == kSand && layer.ISIDE == kKoMethod && layer.KO[kTop] == 0.0 &&
           layer.KO[kBottom] == 0.0;
}

void WriteKoGivesNoSideWarning(std::ostream& os, int layer) {
    WriteLine(os, "   WARNING: KO IS 0 AT BOTH ENDS OF LAYER " + std::to_string(layer) +
                      "; THE LAYER GIVES NO SIDE RESISTANCE.");
}

std::vector<std::string> AnalysisDataProblems(const InputData& in) {
    std::vector<std::string> problems;
    if (!(in.DSTART > 0.0))
        problems.emplace_back("SHAFT RECORD: THE STEM DIAMETER MUST BE GREATER THAN 0.");
    if (in.RATIO < 0.0 || (in.RATIO > 0.0 && in.RATIO < 1.0))
        problems.emplace_back("SHAFT RECORD: THE RATIO OF BASE TO STEM DIAMETER MUST BE 0 "
                              "(STRAIGHT SHAFT) OR AT LEAST 1.");
    if (in.RATIO > 1.0 && !(in.BELANGL > 0.0 && in.BELANGL < 90.0))
        problems.emplace_back("SHAFT RECORD: THE BELL ANGLE MUST LIE BETWEEN 0 AND 90 DEGREES.");
    if (in.NLRFD != 1 && !(in.FST > 0.0))
        problems.emplace_back("LOAD RECORD: THE FACTOR OF SAFETY ON SIDE RESISTANCE MUST BE "
                              "GREATER THAN 0.");
    if (in.NLRFD != 1 && in.KCYCL != 2 && !(in.FSB > 0.0))
        problems.emplace_back("LOAD RECORD: THE FACTOR OF SAFETY ON BASE RESISTANCE MUST BE "
                              "GREATER THAN 0.");
    const std::string lengths = in.IChart >= 1 ? "DESIGN-CHART RECORD" : "MULTIPLE-LENGTH RECORD";
    if ((in.IPENT >= 1 || in.IChart >= 1) && !(in.PDINCR > 0.0))
        problems.push_back(lengths + ": THE SHAFT LENGTH INCREMENT MUST BE GREATER THAN 0.");
    if (in.IChart >= 1 && !(in.DIAMINCR > 0.0))
        problems.emplace_back(
            "DESIGN-CHART RECORD: THE DIAMETER INCREMENT MUST BE GREATER THAN 0.");
    if (in.KCYCL == 2 && in.RCYCL < 0.0)
        problems.emplace_back("CONTROL RECORD: THE UPLIFT REDUCTION FACTOR MUST NOT BE NEGATIVE.");
    return problems;
}

void WriteDataError(std::ostream& os, const std::string& problem) {
    WriteBlock(os, {std::string(kErrorBanner), problem}, kIndent, 2);
}

void WriteClayFromBlowCountWarning(std::ostream& os) {
    WriteLine(os, "                     WARNING MESSAGE                ");
    WriteLine(os, "   " + Repeat('-', 60));
    for (const char* line :
         {"THE PREDICTED LOAD TRANSFER IN CLAY BASED ON THE N-VALUE",
          "IS APPROXIMATE: WHERE NO UNDRAINED SHEAR STRENGTH IS GIVEN",
          "IT IS TAKEN AS N/10 TSF. MEASURED SHEAR STRENGTHS", "ARE RECOMMENDED."})
        WriteLine(os, Blanks(kIndent) + line);
    WriteBlankLines(os, 2);
}

void WriteSideOrBaseRockNote(std::ostream& os, int layer) {
    WriteLine(os, "                     ROCK NOTE                ");
    WriteLine(os, "   " + Repeat('-', 60));
    for (const std::string& line :
         {"LAYER " + std::to_string(layer) + " IS STRONG ROCK TAKEN IN SIDE FRICTION OR IN",
          std::string("END BEARING. WHERE ITS COMPRESSIVE STRENGTH EXCEEDS 1000 PSI"),
          std::string("THE BASE CARRIES THE LOAD AND THE ROCK ADDS NO SIDE RESISTANCE;"),
          std::string("ELSEWHERE THE ROCK ADDS SIDE RESISTANCE AND A BASE IN IT"),
          std::string("CARRIES NO LOAD.")})
        WriteLine(os, Blanks(kIndent) + line);
    WriteBlankLines(os, 2);
}

void WriteRockSpacingMissing(std::ostream& os, int layer) {
    WriteBlock(os,
               {std::string(kErrorBanner),
                "THE SPACING OF DISCONTINUITIES OF LAYER " + std::to_string(layer) +
                    " IS NOT GREATER THAN 0:",
                "THE BASE RESISTANCE OF THE ROCK IS TAKEN AS 0."},
               kIndent, 1);
}

void WriteSoilDepthForBaseNote(std::ostream& os) {
    WriteLine(os, Blanks(7) + "INCREASE THE SOIL DEPTH TO GIVE ENOUGH LENGTH FOR");
    WriteLine(os, Blanks(7) + "COMPUTING THE BASE RESISTANCE- AT LEAST TWO DIAMETER");
}

void WriteProposedDepthBeyondNote(std::ostream& os) {
    WriteLine(os, " NOTE: Please add at least 2-diameter depth to the ");
    WriteLine(os, "       soil profile for program to compute the tip");
    WriteLine(os, "       resistance at the proposed shaft length.");
}

void WriteNeedAnotherSoilLayer(std::ostream& os) {
    WriteBlankLines(os, 1);
    WriteLine(os, "   *********** NEED ANOTHER SOIL LAYER ************");
}

std::string ReadFaultText(const ReadError& error) {
    const std::string value = "VALUE " + std::to_string(error.value_index) + " OF THIS RECORD";
    switch (error.fault) {
    case ReadFault::end_of_file:
        return "THE FILE ENDS BEFORE THIS RECORD IS COMPLETE.";
    case ReadFault::not_a_number:
        return value + ", \"" + Printable(error.word) + "\", IS NOT A NUMBER.";
    case ReadFault::not_finite:
        return value + " IS NOT A FINITE NUMBER OF 1.0E+20 OR LESS.";
    case ReadFault::not_whole_number:
        break;
    }
    return value + " MUST BE A WHOLE NUMBER.";
}

std::vector<std::string> InputErrorLines(const InputError& error) {
    return {std::string(kErrorBanner),
            "INPUT FILE ERROR IN RECORD " + std::to_string(error.record) + " (" +
                error.record_name + "), LINE " + std::to_string(error.line) + ":",
            error.problem};
}

void WriteInputError(std::ostream& os, const InputError& error) {
    WriteBlock(os, InputErrorLines(error), kIndent, 2);
}

std::vector<std::string> FileErrorLines(FileRole role, const std::string& name) {
    const std::string how = role == FileRole::input ? "OPENED OR READ:" : "OPENED OR CREATED:";
    return {std::string(kErrorBanner),
            "THE " + std::string(RoleName(role)) + " COULD NOT BE " + how,
            name.empty() ? std::string("(NO NAME GIVEN)") : name};
}

void WriteFileError(std::ostream& os, FileRole role, const std::string& name) {
    WriteBlock(os, FileErrorLines(role, name), kIndent, 2);
}

std::vector<std::string> NameClashLines(FileRole first, FileRole second, const std::string& name) {
    const auto role_name = [](FileRole role) {
        return role == FileRole::names ? std::string("RUN-CONTROL FILE NAMES.DAT")
                                       : std::string(RoleName(role));
    };
    return {std::string(kErrorBanner),
            "THE " + role_name(second) + " AND THE " + role_name(first) + " ARE ONE FILE:",
            name.empty() ? std::string("(NO NAME GIVEN)") : name,
            "EVERY FILE OF A RUN NEEDS A NAME OF ITS OWN; NOTHING WAS ANALYSED."};
}

void WriteNameClash(std::ostream& os, FileRole first, FileRole second, const std::string& name) {
    WriteBlock(os, NameClashLines(first, second, name), kIndent, 2);
}

void WriteInternalError(std::ostream& os, const std::string& what) {
    WriteBlock(os,
               {std::string(kErrorBanner), "THE ANALYSIS STOPPED ON AN UNEXPECTED INTERNAL ERROR:",
                Upper(Printable(what, 120)), "PLEASE KEEP THE PROJECT FILE AND REPORT THIS ERROR."},
               kIndent, 2);
}

} // namespace kolmar::engine
