// Engine entry and run control: the call-code check, names.dat (or the console), the files of a
// run by role, the report and t-z file headers, the run order, and the assembly of the staged
// files into their final files. Exports RunEntry and the steps it is made of.
#pragma once

#include "run_context.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace kolmar::engine {

// One run on a fresh run context, as IKOLMAR makes it. Returns the run status.
int RunEntry(int call_code);
// One run on the caller's context (tests set its clock, console, working directory and hooks).
int RunEntry(int call_code, RunContext& ctx);

// Reads names.dat: the version string (a 12-character field), then the nine file names, one per
// line, each at most 255 characters with trailing blanks dropped. True when all nine were read.
bool ReadNamesFile(RunContext& ctx, std::istream& names);
// The console fallback: asks for the input, report and plot file names. Names still blank
// afterwards are made from the input file name with the role's extension.
void AskNamesOnConsole(RunContext& ctx);
// Two files of the run that name one file, compared where the names lead (after the working
// directory, ".", ".." and symbolic links, and by identity for files that exist): the input,
// the outputs, the scratch files and names.dat. Empty names are left to the opening.
std::optional<std::pair<FileRole, FileRole>> FindNameClash(const RunContext& ctx);
// Two paths that lead to one file, compared as FindNameClash compares the files of a run.
bool LeadToOneFile(const std::filesystem::path& a, const std::filesystem::path& b);
// Reads names.dat from the working directory, or falls back to the console, and looks for a
// clash of names (ctx.name_clash); opens CHART.DAT only when names.dat was complete and no
// names clash.
void ReadRunControl(RunContext& ctx);
// Reads the project file into ctx.input_text and creates the output files, in the engine's
// order; every file that fails is listed in ctx.open_failures.
void OpenRunFiles(RunContext& ctx);

// Headers.
// The console banner; its second line says where the file names came from.
void WriteConsoleBanner(std::ostream& os, bool named_by_caller = false);
void WriteBanner(std::ostream& os, std::string_view version);
struct PathParts {
    std::string drive, dir, base, ext;
};
// Splits a path the Windows way: drive ("C:"), directory up to its last separator ("/" or "\"),
// base name, and extension from the last dot (at most 3, 256, 256 and 5 characters).
PathParts SplitPath(std::string_view path);
void WriteFileNameBlock(std::ostream& os, const RunContext& ctx);
void WriteDateBlock(std::ostream& os, const DateTime& when);

// Closes the staged files and appends them: .kx8w to the t-z text file; .kx8t, TZDIAM.DAT,
// .kx8q and .kx8l, in this order, to the plot file.
void AssembleStagedFiles(RunContext& ctx);
// Closes every file of the run.
void CloseRunFiles(RunContext& ctx);

} // namespace kolmar::engine
