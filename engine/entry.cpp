// Engine entry and run control: names.dat and its console fallback, the file table, the banner,
// file-name and date blocks, the order of one run, and the 80-column assembly of staged files.
#include "entry.h"

#include "cases.h"
#include "checks.h"
#include "format.h"
#include "kolmar/ikolmar.h"
#include "kolmar/portable.h"

#include <algorithm>
#include <exception>
#include <fstream>
#include <istream>
#include <iterator>
#include <locale>
#include <memory>
#include <ostream>
#include <sstream>
#include <system_error>

namespace kolmar::engine {
namespace {

constexpr int kVersionWidth = 12; // version string field
constexpr int kNameWidth = 255;   // file name field of names.dat
constexpr std::string_view kNamesFile = "names.dat";

std::size_t Index(FileRole role) {
    return static_cast<std::size_t>(role);
}

// The roles named in names.dat, in its order.
constexpr FileRole kNamedRoles[kNamedFileCount] = {
    FileRole::input,        FileRole::report,       FileRole::plot,
    FileRole::run_notes,    FileRole::tz_text,      FileRole::qw_stage,
    FileRole::plot_stage_t, FileRole::plot_stage_q, FileRole::plot_stage_l};

// Extensions that name the files of a project after its input file.
std::string_view ExtensionOf(FileRole role) {
    switch (role) {
    case FileRole::report:
        return ".kx8o";
    case FileRole::plot:
        return ".kx8p";
    case FileRole::run_notes:
        return ".kx8r";
    case FileRole::tz_text:
        return ".kx8z";
    case FileRole::qw_stage:
        return ".kx8w";
    case FileRole::plot_stage_t:
        return ".kx8t";
    case FileRole::plot_stage_q:
        return ".kx8q";
    case FileRole::plot_stage_l:
        return ".kx8l";
    default:
        return ".kx8d";
    }
}

std::string NameField(const std::string& line) {
    return std::string(TrimRight(std::string_view(line).substr(0, kNameWidth)));
}

std::string AskOne(RunContext& ctx, std::string_view prompt) {
    std::ostream& out = *ctx.prompt_out;
    WriteLine(out, prompt);
    WriteLine(out, " ENTER >");
    out.flush();
    std::string answer;
    if (!std::getline(*ctx.prompt_in, answer))
        answer.clear();
    return NameField(answer);
}

// Creates (or truncates) an output file of the run.
bool OpenOutput(RunContext& ctx, FileRole role) {
    std::ofstream& out = ctx.Out(role);
    if (ctx.file_name[Index(role)].empty())
        return false;
    // The large reports and run notes of a many-case run go out in few large writes; the buffer
    // is given before the file is opened, when the stream still takes it.
    std::unique_ptr<char[]>& buffer = ctx.out_buffer[Index(role)];
    if (!buffer)
        buffer = std::make_unique_for_overwrite<char[]>(RunContext::kOutputBuffer);
    out.rdbuf()->pubsetbuf(buffer.get(), static_cast<std::streamsize>(RunContext::kOutputBuffer));
    out.open(ctx.Resolve(role), std::ios::out | std::ios::trunc | std::ios::binary);
    out.imbue(std::locale::classic());
    return out.is_open();
}

// Reads the whole project file.
bool ReadProjectFile(RunContext& ctx) {
    if (ctx.file_name[Index(FileRole::input)].empty())
        return false;
    const std::filesystem::path path = ctx.Resolve(FileRole::input);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return false;
    std::ifstream in(path, std::ios::in | std::ios::binary);
    if (!in.is_open())
        return false;
    ctx.input_text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

void ReportOpenFailures(RunContext& ctx) {
    for (const FileRole role : ctx.open_failures) {
        const std::string& name = ctx.file_name[Index(role)];
        WriteFileError(ctx.report(), role, name);
        WriteFileError(ctx.run_notes(), role, name);
        WriteFileError(*ctx.console, role, name);
    }
    ctx.status = KOLMAR_STATUS_FILE_ERROR;
}

// Where a file name leads: absolute, with ".", ".." and symbolic links of the existing part
// resolved, so that two spellings of one file compare equal.
std::filesystem::path Destination(const std::filesystem::path& name) {
    std::error_code ec;
    std::filesystem::path path = std::filesystem::absolute(name, ec);
    if (ec)
        path = name;
    std::filesystem::path canonical = std::filesystem::weakly_canonical(path, ec);
    return ec ? path.lexically_normal() : canonical;
}

std::filesystem::path Destination(const RunContext& ctx, FileRole role) {
    return Destination(ctx.Resolve(role));
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    if (a == b)
        return true;
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec) && !ec; // hard links to one file
}

// The clash message in the run notes when they can be written without harm (they do not name
// the project file or names.dat), and always on the console.
void ReportNameClash(RunContext& ctx) {
    const auto [first, second] = *ctx.name_clash;
    const std::string& name = ctx.file_name[Index(second)];
    const FileRole notes_clash[] = {FileRole::input, FileRole::names};
    const std::filesystem::path notes = Destination(ctx, FileRole::run_notes);
    const bool notes_safe =
        std::none_of(std::begin(notes_clash), std::end(notes_clash),
                     [&](FileRole role) { return SameFile(notes, Destination(ctx, role)); });
    if (notes_safe && OpenOutput(ctx, FileRole::run_notes))
        WriteNameClash(ctx.run_notes(), first, second, name);
    WriteNameClash(*ctx.console, first, second, name);
    ctx.status = KOLMAR_STATUS_FILE_ERROR;
}

void ReportInternalError(RunContext& ctx, const std::string& what) {
    ctx.status = KOLMAR_STATUS_INTERNAL;
    WriteInternalError(ctx.report(), what);
    WriteInternalError(ctx.run_notes(), what);
    WriteInternalError(*ctx.console, what);
}

// Appends a staged file to its target by the 80-column copy.
void AppendFile(const std::filesystem::path& path, std::ostream& target) {
    std::ifstream staged(path, std::ios::in | std::ios::binary);
    if (staged.is_open())
        CopyAs80Columns(staged, target);
}

// The staged files of a run held in memory, appended in the order of the files on disk.
void AssembleHeldFiles(RunContext& ctx) {
    const auto append = [&](FileRole role, std::ostream& target) {
        CopyAs80Columns(ctx.held[Index(role)].view(), target);
    };
    append(FileRole::qw_stage, ctx.tz_text());
    append(FileRole::plot_stage_t, ctx.plot());
    append(FileRole::tz_diam, ctx.plot());
    append(FileRole::plot_stage_q, ctx.plot());
    append(FileRole::plot_stage_l, ctx.plot());
}

} // namespace

bool LeadToOneFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    return SameFile(Destination(a), Destination(b));
}

bool ReadNamesFile(RunContext& ctx, std::istream& names) {
    std::string line;
    if (!std::getline(names, line))
        return false;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    ctx.version = Field(line, kVersionWidth);
    for (const FileRole role : kNamedRoles) {
        if (!std::getline(names, line))
            return false;
        ctx.file_name[Index(role)] = NameField(line);
    }
    return true;
}

void AskNamesOnConsole(RunContext& ctx) {
    ctx.file_name[Index(FileRole::input)] = AskOne(ctx, "ENTER THE NAME FOR THE INPUT FILE");
    ctx.file_name[Index(FileRole::report)] = AskOne(ctx, "ENTER A NAME FOR THE OUTPUT FILE:");
    ctx.file_name[Index(FileRole::plot)] =
        AskOne(ctx, "ENTER A FILE NAME FOR YOUR GRAPHIC DATA FILE.");
    const std::string& input = ctx.file_name[Index(FileRole::input)];
    if (input.empty())
        return;
    for (const FileRole role : kNamedRoles) {
        std::string& name = ctx.file_name[Index(role)];
        if (name.empty())
            name = Utf8OfPath(PathFromUtf8(input).replace_extension(ExtensionOf(role)));
    }
}

std::optional<std::pair<FileRole, FileRole>> FindNameClash(const RunContext& ctx) {
    // The input first, then every file the run writes, then names.dat: the first of a pair
    // is the one that must not be overwritten.
    constexpr FileRole kOrder[] = {
        FileRole::input,        FileRole::report,   FileRole::plot,         FileRole::run_notes,
        FileRole::tz_text,      FileRole::qw_stage, FileRole::plot_stage_t, FileRole::plot_stage_q,
        FileRole::plot_stage_l, FileRole::chart,    FileRole::tz_data,      FileRole::tz_diam,
        FileRole::rock_msg,     FileRole::names};
    std::vector<std::pair<FileRole, std::filesystem::path>> seen;
    for (const FileRole role : kOrder) {
        if (ctx.file_name[Index(role)].empty())
            continue; // a missing name is an open failure of its own
        const std::filesystem::path here = Destination(ctx, role);
        for (const auto& [earlier, path] : seen)
            if (SameFile(path, here))
                return std::pair{earlier, role};
        seen.emplace_back(role, here);
    }
    return std::nullopt;
}

void ReadRunControl(RunContext& ctx) {
    std::ifstream names(ctx.work_dir.empty() ? std::filesystem::path(kNamesFile)
                                             : ctx.work_dir / kNamesFile);
    const bool complete = names.is_open() && ReadNamesFile(ctx, names);
    names.close();
    if (!complete)
        AskNamesOnConsole(ctx);
    ctx.name_clash = FindNameClash(ctx);
    if (complete && !ctx.name_clash) {
        if (!OpenOutput(ctx, FileRole::chart))
            ctx.open_failures.push_back(FileRole::chart);
    }
    if (TrimRight(ctx.version).empty())
        ctx.version = Field(KOLMAR_VERSION_STRING, kVersionWidth);
}

void OpenRunFiles(RunContext& ctx) {
    ctx.input_open = ReadProjectFile(ctx);
    if (!ctx.input_open)
        ctx.open_failures.push_back(FileRole::input);
    for (const FileRole role : kNamedRoles) {
        if (role != FileRole::input && !ctx.Holds(role) && !OpenOutput(ctx, role))
            ctx.open_failures.push_back(role);
    }
}

void WriteConsoleBanner(std::ostream& os, bool named_by_caller) {
    WriteLine(os, " Kolmar " KOLMAR_VERSION_STRING " - vertically loaded drilled shaft analysis");
    WriteLine(os, named_by_caller
                      ? " Analysis engine: the files of the run are named by the caller"
                      : " Analysis engine: the files of the run are named in names.dat");
}

void WriteBanner(std::ostream& os, std::string_view version) {
    const std::string rule = Blanks(5) + Repeat('=', 73);
    WriteLine(os, rule);
    WriteBlankLines(os, 1);
    WriteLine(os, Blanks(20) + "  Kolmar for Windows, Version " + Field(version, kVersionWidth));
    WriteBlankLines(os, 1);
    WriteLine(os, Blanks(20) + "VERTICALLY LOADED DRILLED SHAFT ANALYSIS");
    WriteLine(os, Blanks(20) + "AXIAL CAPACITY AND LOAD-SETTLEMENT IN SOIL AND ROCK");
    WriteLine(os, Blanks(20) + "RESULTS ARE TO BE REVIEWED BY A QUALIFIED ENGINEER");
    WriteBlankLines(os, 1);
    WriteLine(os, rule);
    WriteBlankLines(os, 2);
}

PathParts SplitPath(std::string_view path) {
    const auto cut = [](std::string_view text, std::size_t width) {
        return std::string(TrimRight(text.substr(0, width)));
    };
    PathParts parts;
    if (path.size() >= 2 && path[1] == ':' &&
        ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'))) {
        parts.drive = cut(path.substr(0, 2), 3);
        path.remove_prefix(2);
    }
    const std::size_t slash = path.find_last_of("/\\");
    if (slash != std::string_view::npos) {
        parts.dir = cut(path.substr(0, slash + 1), 256);
        path.remove_prefix(slash + 1);
    }
    const std::size_t dot = path.find_last_of('.');
    if (dot != std::string_view::npos) {
        parts.ext = cut(path.substr(dot), 5);
        path = path.substr(0, dot);
    }
    parts.base = cut(path, 256);
    return parts;
}

void WriteFileNameBlock(std::ostream& os, const RunContext& ctx) {
    const auto name_of = [&ctx](FileRole role) {
        const PathParts parts = SplitPath(ctx.file_name[Index(role)]);
        return parts.base + parts.ext;
    };
    const PathParts input = SplitPath(ctx.file_name[Index(FileRole::input)]);
    WriteLine(os, Blanks(5) + "Path to file locations      : " + input.drive + input.dir);
    WriteLine(os, Blanks(5) + "Name of input data file     : " + input.base + input.ext);
    WriteLine(os, Blanks(5) + "Name of output file         : " + name_of(FileRole::report));
    WriteLine(os, Blanks(5) + "Name of plot output file    : " + name_of(FileRole::plot));
    WriteLine(os, Blanks(5) + "Name of runtime file        : " + name_of(FileRole::run_notes));
    WriteBlankLines(os, 2);
}

void WriteDateBlock(std::ostream& os, const DateTime& when) {
    static constexpr std::string_view kMonths[12] = {
        "January", "February", "March",     "April",   "May",      "June",
        "July",    "August",   "September", "October", "November", "December"};
    const auto two_digits = [](int value) {
        value = std::clamp(value, 0, 99);
        return std::string{static_cast<char>('0' + value / 10),
                           static_cast<char>('0' + value % 10)};
    };
    const std::string rule = Blanks(5) + Repeat('-', 73);
    WriteLine(os, rule);
    WriteLine(os, Blanks(26) + "Time and Date of Analysis");
    WriteLine(os, rule);
    WriteBlankLines(os, 1);
    const std::string_view month =
        kMonths[static_cast<std::size_t>(std::clamp(when.month, 1, 12) - 1)];
    WriteLine(os, Blanks(15) + "Date:  " + std::string(month) + " " + two_digits(when.day) + ", " +
                      I(when.year, 4) + Blanks(5) + "Time:  " + two_digits(when.hour) + ":" +
                      two_digits(when.minute) + ":" + two_digits(when.second));
    WriteBlankLines(os, 1);
}

void AssembleStagedFiles(RunContext& ctx) {
    if (ctx.held_in_memory) {
        AssembleHeldFiles(ctx);
        return;
    }
    constexpr FileRole kStaged[] = {FileRole::qw_stage, FileRole::plot_stage_t,
                                    FileRole::plot_stage_q, FileRole::plot_stage_l};
    std::array<bool, kFileRoleCount> written{};
    for (const FileRole role : kStaged) {
        written[Index(role)] = ctx.Out(role).is_open();
        ctx.Out(role).close();
    }
    // A staged file is read back only when this run created it, never a stale one.
    const auto append = [&](FileRole role, std::ostream& target) {
        if (written[Index(role)])
            AppendFile(ctx.Resolve(role), target);
    };
    append(FileRole::qw_stage, ctx.tz_text());
    append(FileRole::plot_stage_t, ctx.plot());
    // TZDIAM.DAT is written by the load-settlement analysis when it runs; it is opened here like
    // any other file of the run, so a missing one is created empty and adds nothing.
    const std::filesystem::path tz_diam = ctx.Resolve(FileRole::tz_diam);
    { std::ofstream create(tz_diam, std::ios::out | std::ios::app | std::ios::binary); }
    AppendFile(tz_diam, ctx.plot());
    append(FileRole::plot_stage_q, ctx.plot());
    append(FileRole::plot_stage_l, ctx.plot());
}

void CloseRunFiles(RunContext& ctx) {
    for (std::ofstream& out : ctx.out)
        if (out.is_open())
            out.close();
}

int RunEntry(int call_code, RunContext& ctx) {
    if (call_code != KOLMAR_CALL_CODE)
        return KOLMAR_STATUS_WRONG_CODE;
    ctx.status = KOLMAR_STATUS_OK;
    try {
        WriteConsoleBanner(*ctx.console, ctx.held_in_memory);
        if (ctx.held_in_memory)
            ctx.name_clash = FindNameClash(ctx); // the caller named the files
        else
            ReadRunControl(ctx);
        if (ctx.name_clash) {
            // Checked before any output is opened: nothing is created, truncated or appended.
            ReportNameClash(ctx);
            CloseRunFiles(ctx);
            return ctx.status;
        }
        OpenRunFiles(ctx);
        WriteBanner(ctx.report(), ctx.version);
        WriteBanner(ctx.tz_text(), ctx.version);
        WriteFileNameBlock(ctx.report(), ctx);
        const DateTime now = ctx.clock ? ctx.clock() : LocalNow();
        WriteDateBlock(ctx.report(), now);
        WriteDateBlock(ctx.tz_text(), now);
        if (!ctx.open_failures.empty())
            ReportOpenFailures(ctx);
        else
            MainAnalysis(ctx);
        if (ctx.on_analysis_end)
            ctx.on_analysis_end(ctx);
    } catch (const std::exception& e) {
        ReportInternalError(ctx, e.what());
    } catch (...) {
        ReportInternalError(ctx, "unknown exception");
    }
    try {
        AssembleStagedFiles(ctx);
    } catch (...) {
        if (ctx.status == KOLMAR_STATUS_OK)
            ctx.status = KOLMAR_STATUS_INTERNAL;
    }
    CloseRunFiles(ctx);
    return ctx.status;
}

int RunEntry(int call_code) {
    if (call_code != KOLMAR_CALL_CODE)
        return KOLMAR_STATUS_WRONG_CODE;
    const auto ctx = std::make_unique<RunContext>();
    return RunEntry(call_code, *ctx);
}

} // namespace kolmar::engine
