// Checks of the input data and their message blocks. The input reader writes the design-depth
// warning and the input-error block itself; the capacity computation and the report echo call the
// others at the depth or in the layer where they hold. Every block is written to a given stream.
#pragma once

#include "listread.h"
#include "run_context.h"

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace kolmar::engine {

// Design control 2 with a proposed depth below the bottom of the last layer: run notes and
// report get the "PLEASE PROVIDE THE SOIL DEPTH ..." warning.
bool ProposedDepthBelowProfile(const InputData& input);
void WriteProposedDepthWarning(std::ostream& os);

// Sand at a computation depth with both the interpolated blow count and friction angle below
// 0.001: the run notes get the error block, once per depth at which it holds.
bool SandStrengthMissing(double blows, double phi);
void WriteSandStrengthError(std::ostream& os);

// A soil layer (codes 1 to 3 and 5) whose interpolated total unit weight is below 50 pcf at a
// computation depth: the run notes get the error block, once per depth at which it holds.
bool UnitWeightMissing(int code, double gamma);
void WriteUnitWeightError(std::ostream& os);

// Clay or clay shale with CU / 2116.8 >= 2.5 at its top or bottom: warning in the layer's echo.
bool ClayTooStrong(const Layer& layer);
void WriteClayTooStrongWarning(std::ostream& os);

// Gravelly sand or gravel with a blow count above 50 at its top or bottom: warning in the
// layer's echo, with both blow counts.
bool GravelBlowsAbove50(const Layer& layer);
void WriteGravelBlowsAbove50Warning(std::ostream& os, const Layer& layer);

// Gravelly sand or gravel with a blow count at or below 25 at its top or bottom: warning in the
// layer's echo, with both blow counts.
bool GravelBlowsAtMost25(const Layer& layer);
void WriteGravelBlowsAtMost25Warning(std::ostream& os, const Layer& layer);

// Sand by the Ko method with Ko 0 at both ends: the layer gives no side resistance. The warning
// line (layer numbered from 1) goes to the layer's echo and, once per run, to the run notes.
bool KoGivesNoSide(const Layer& layer);
void WriteKoGivesNoSideWarning(std::ostream& os, int layer);

// Shaft and design data the capacity analysis cannot work with, each as the last line of an
// error block: a stem diameter not above 0, a base ratio between 0 and 1 or negative, a bell
// angle outside 0 to 90 degrees on a belled shaft, factors of safety not above 0 in allowable
// stress design, a negative uplift reduction factor. Empty when the data can be analysed.
std::vector<std::string> AnalysisDataProblems(const InputData& input);
// The error block of one such problem (status 8), written to the report, the run notes and the
// console by the caller.
void WriteDataError(std::ostream& os, const std::string& problem);

// Capacity notes and warnings.
// Clay strength derived from the blow count: written once per run to the rock-message file.
void WriteClayFromBlowCountWarning(std::ostream& os);
// A tip bears on strong rock of code 4 (side friction or end bearing, layer numbered from 1):
// the rock note of the case, in the rock-message file.
void WriteSideOrBaseRockNote(std::ostream& os, int layer);
// Strong rock at a tip without a spacing of discontinuities (layer numbered from 1): the base
// resistance is taken as 0. Run notes and rock-message file, once per layer and case.
void WriteRockSpacingMissing(std::ostream& os, int layer);
// The design tip lies less than two base diameters above the bottom of the profile: run notes.
void WriteSoilDepthForBaseNote(std::ostream& os);
// The proposed depth lies beyond the computed lengths: console.
void WriteProposedDepthBeyondNote(std::ostream& os);
// No length within the profile carries the design load (status 7): console, run notes, report.
void WriteNeedAnotherSoilLayer(std::ostream& os);

// Input the engine refuses: where it was found and what is wrong.
struct InputError {
    int record;              // record number, counted in reading order from 1
    std::string record_name; // e.g. "LOAD RECORD"
    int line;                // line of the project file
    std::string problem;     // the last line of the block, e.g. "THE NUMBER OF ... 40."
};

// The last line of the block for a value the reader could not take.
std::string ReadFaultText(const ReadError& error);

// The input-error block, written to the report, the run notes and the console.
std::vector<std::string> InputErrorLines(const InputError& error);
void WriteInputError(std::ostream& os, const InputError& error);

// A file of the run that could not be opened or created (or, for the project file, read).
std::vector<std::string> FileErrorLines(FileRole role, const std::string& name);
void WriteFileError(std::ostream& os, FileRole role, const std::string& name);
// Two files of a run that name one file (role `second` names the file of `first`): nothing
// may be written, or the one would overwrite or endlessly copy onto the other.
std::vector<std::string> NameClashLines(FileRole first, FileRole second, const std::string& name);
void WriteNameClash(std::ostream& os, FileRole first, FileRole second, const std::string& name);

// An unexpected failure inside the engine, caught at its entry point.
void WriteInternalError(std::ostream& os, const std::string& what);

} // namespace kolmar::engine
