// libFuzzer target for the run-control file names.dat, from both sides. The engine's reader takes
// arbitrary bytes as names.dat (and, when they do not name all nine files, as the answers typed
// at the console fallback): every name must come out within its field, without trailing blanks,
// and the file-name block of the report must be written from them. The program's writer takes
// the same bytes as the name of a project file: names.dat is written into a private temporary
// directory (removed after each input, nothing else is created) and must either be refused,
// leaving no names.dat, or read back by the engine as exactly the files the program meant.
#include "entry.h"
#include "gui/run/RunControl.h"
#include "kolmar/ikolmar.h"
#include "private_dir.h"
#include "run_context.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace {

namespace fs = std::filesystem;
using kolmar::engine::FileRole;
using kolmar::engine::RunContext;

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz_names_dat: %s\n", what);
        std::abort();
    }
}

constexpr FileRole kNamed[] = {
    FileRole::input,        FileRole::report,       FileRole::plot,
    FileRole::run_notes,    FileRole::tz_text,      FileRole::qw_stage,
    FileRole::plot_stage_t, FileRole::plot_stage_q, FileRole::plot_stage_l};

const std::string& NameOf(const RunContext& ctx, FileRole role) {
    return ctx.file_name[static_cast<std::size_t>(role)];
}

// Names read from names.dat, and the input file's name typed at the console, keep within their
// 255-character field; a name the fallback makes from the input file's name (the report and
// plot names too, when no answer is given) may be a few characters longer.
void CheckNames(const RunContext& ctx, bool complete) {
    for (const FileRole role : kNamed) {
        const std::string& name = NameOf(ctx, role);
        if (complete || role == FileRole::input)
            Check(name.size() <= 255, "a name longer than its field");
        Check(name.empty() || (name.back() != ' ' && name.back() != '\r'),
              "a name with trailing blanks");
    }
    const kolmar::engine::PathParts parts = kolmar::engine::SplitPath(NameOf(ctx, FileRole::input));
    Check(parts.drive.size() <= 3 && parts.dir.size() <= 256 && parts.base.size() <= 256 &&
              parts.ext.size() <= 5,
          "a path part longer than its field");
}

// The engine's side: names.dat as given, with the console fallback answered by the same bytes.
void ReadAsNamesFile(std::string_view text) {
    RunContext ctx;
    std::ostringstream console, prompts;
    std::istringstream answers{std::string(text)};
    ctx.console = &console;
    ctx.prompt_out = &prompts;
    ctx.prompt_in = &answers;
    std::istringstream names{std::string(text)};
    const bool complete = kolmar::engine::ReadNamesFile(ctx, names);
    if (complete)
        Check(ctx.version.size() == 12, "a version string outside its field");
    else
        kolmar::engine::AskNamesOnConsole(ctx);
    CheckNames(ctx, complete);
    std::ostringstream report;
    kolmar::engine::WriteFileNameBlock(report, ctx);
}

// The program's side: names.dat for a project of that name, read back by the engine.
void WriteAndReadBack(std::string_view text) {
    TPrivateDir dir;
    const TRunFiles files = RunFilesFor(dir.Path() / fs::path(std::string(text)));
    std::string refusal;
    try {
        WriteNamesDat(dir.Path(), files, KOLMAR_VERSION_STRING);
    } catch (const std::runtime_error& e) {
        refusal = e.what();
        Check(!refusal.empty(), "a refusal without a message");
    }
    const bool written = fs::exists(dir.Path() / "names.dat");
    RunContext ctx;
    bool read = false;
    if (written) {
        std::ifstream in(dir.Path() / "names.dat", std::ios::binary);
        read = kolmar::engine::ReadNamesFile(ctx, in);
    }
    dir.Remove();

    if (!refusal.empty()) {
        Check(!written, "a refused names.dat left behind");
        return;
    }
    Check(read, "the engine cannot read names.dat");
    const fs::path* meant[] = {&files.Project, &files.Report, &files.Plot,
                               &files.Notes,   &files.TZText, &files.QWStage,
                               &files.Stage1,  &files.Stage2, &files.Stage3};
    for (std::size_t i = 0; i < std::size(kNamed); ++i)
        Check(NameOf(ctx, kNamed[i]) == meant[i]->string(),
              "the engine reads another file name than the program wrote");
    Check(ctx.version.rfind(KOLMAR_VERSION_STRING, 0) == 0, "the version is not read back");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1 << 14)
        return 0; // ten lines of at most 255 characters
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ReadAsNamesFile(text);
    WriteAndReadBack(text);
    return 0;
}
