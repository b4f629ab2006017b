// The programs' entry: a run context with the caller's file names and its scratch and staged
// files held in memory, the results kept as data, and the results file written beside the report.
#include "program_entry.h"

#include "entry.h"
#include "format.h"
#include "kolmar/ikolmar.h"
#include "kolmar/portable.h"
#include "sha256.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <fstream>
#include <functional>
#include <locale>
#include <sstream>
#include <system_error>
#include <thread>

namespace kolmar::engine {
namespace {

std::size_t Index(FileRole role) {
    return static_cast<std::size_t>(role);
}

// A temporary name beside `path` that no other run of this process or another uses at once.
std::filesystem::path TemporaryBeside(const std::filesystem::path& path) {
    static std::atomic<unsigned long long> counter{0};
    const std::size_t thread = std::hash<std::thread::id>{}(std::this_thread::get_id());
    std::filesystem::path temporary = path;
    temporary +=
        ".tmp" + std::to_string(thread % 1000000007u) + "-" + std::to_string(counter.fetch_add(1));
    return temporary;
}

// A table of a case, made from the results kept as data.
ResultTable MakeTable(const RunResults& run, std::size_t case_index, TableKind kind) {
    const InputData& in = run.input;
    if (kind == TableKind::design_charts)
        return DesignChartsOf(in, run);
    if (case_index >= run.cases.size())
        return {};
    const KeptCase& c = run.cases[case_index];
    const auto index = static_cast<int>(kind);
    switch (kind) {
    case TableKind::capacity:
        return CapacityTableOf(in, c);
    case TableKind::layer_resistance:
        return LayerResistanceOf(in, c);
    case TableKind::trend:
    case TableKind::upper_bound:
    case TableKind::lower_bound:
        for (ResultTable& line : LoadSettlementOf(in, c)) {
            const TableKind of = line.name == "trend" || line.name == "rock" ? TableKind::trend
                                 : line.name == "upper_bound" ? TableKind::upper_bound
                                                              : TableKind::lower_bound;
            if (of == kind)
                return std::move(line);
        }
        return {};
    default:
        break;
    }
    if (case_index >= run.curves.size())
        return {};
    const auto line_of = [&](TableKind first) -> const LineCurves& {
        return run.curves[case_index][static_cast<std::size_t>(index - static_cast<int>(first))];
    };
    if (kind <= TableKind::tz_lower_bound)
        return TzCurvesOf(in, line_of(TableKind::tz_trend));
    if (kind <= TableKind::qw_lower_bound)
        return QwCurveOf(in, line_of(TableKind::qw_trend));
    return LoadDistributionOf(in, line_of(TableKind::distribution_trend));
}

// The results file may not take the place of the project or of another result file.
bool JsonClashes(const ProgramRun& request) {
    const std::filesystem::path json = JsonPath(request);
    if (LeadToOneFile(json, request.input))
        return true;
    for (const char* ext : {".kx8o", ".kx8p", ".kx8r", ".kx8z"})
        if (LeadToOneFile(json, OutputPath(request, ext)))
            return true;
    return false;
}

void Run(const ProgramRun& request, ProgramResults& out) {
    auto ctx = std::make_unique<RunContext>();
    std::ostringstream console;
    console.imbue(std::locale::classic());
    std::istringstream no_answers;
    ctx->console = &console;
    ctx->prompt_out = &console;
    ctx->prompt_in = &no_answers;
    ctx->held_in_memory = true;
    ctx->version = Field(KOLMAR_VERSION_STRING, 12);
    // Only the project and the four result files have names: nothing else reaches the disk.
    ctx->file_name.fill({});
    ctx->file_name[Index(FileRole::input)] = Utf8OfPath(request.input);
    ctx->file_name[Index(FileRole::report)] = Utf8OfPath(OutputPath(request, ".kx8o"));
    ctx->file_name[Index(FileRole::plot)] = Utf8OfPath(OutputPath(request, ".kx8p"));
    ctx->file_name[Index(FileRole::run_notes)] = Utf8OfPath(OutputPath(request, ".kx8r"));
    ctx->file_name[Index(FileRole::tz_text)] = Utf8OfPath(OutputPath(request, ".kx8z"));
    const Clock clock = request.clock ? request.clock : Clock(LocalNow);
    ctx->clock = [&out, &clock] {
        out.run.when = clock();
        return out.run.when;
    };
    ctx->results = &out.run;

    out.run.input_path = Utf8OfPath(request.input);
    const bool json_clash = JsonClashes(request);
    if (json_clash) {
        WriteLine(console, " THE RESULTS FILE " + Utf8OfPath(JsonPath(request)));
        WriteLine(console, " WOULD OVERWRITE THE PROJECT FILE OR A RESULT FILE OF THE RUN.");
        out.status = KOLMAR_STATUS_FILE_ERROR;
    } else {
        out.status = RunEntry(KOLMAR_CALL_CODE, *ctx);
    }
    out.messages = console.str();
    out.run.status = out.status;
    if (json_clash || ctx->name_clash)
        return; // nothing was written, and no results file is either
    out.run.input = ctx->input;
    out.run.input_read = ctx->input_open;
    out.run.input_sha256 = ctx->input_open ? Sha256Hex(ctx->input_text) : std::string();
    ctx.reset(); // closes the result files
    {
        std::ifstream notes(OutputPath(request, ".kx8r"), std::ios::in | std::ios::binary);
        out.run.messages = ReadRunMessages(notes);
    }
    out.has_json = true;
    std::string kept;
    const bool written = WriteResultsFile(JsonPath(request), out.run, &kept);
    if (written && !kept.empty())
        out.KeepJson(std::move(kept));
    if (!written) {
        out.messages +=
            " THE RESULTS FILE " + Utf8OfPath(JsonPath(request)) + " CANNOT BE WRITTEN.\n";
        if (out.status == KOLMAR_STATUS_OK)
            out.status = KOLMAR_STATUS_FILE_ERROR;
        out.run.status = out.status;
    }
}

} // namespace

const ResultTable* ProgramResults::Table(int case_index, int kind) const {
    if (!has_json || kind < 0 || kind >= kTableKindCount)
        return nullptr;
    if (kind == static_cast<int>(TableKind::design_charts))
        case_index = 0;
    const std::size_t cases = std::max<std::size_t>(run.cases.size(), 1);
    if (case_index < 0 || static_cast<std::size_t>(case_index) >= cases)
        return nullptr;
    const std::lock_guard lock(mutex_);
    if (tables_.empty())
        tables_.resize(cases);
    std::unique_ptr<ResultTable>& table =
        tables_[static_cast<std::size_t>(case_index)][static_cast<std::size_t>(kind)];
    if (!table)
        table = std::make_unique<ResultTable>(
            MakeTable(run, static_cast<std::size_t>(case_index), static_cast<TableKind>(kind)));
    return table.get();
}

void ProgramResults::KeepJson(std::string text) {
    const std::lock_guard lock(mutex_);
    json_ = std::make_unique<std::string>(std::move(text));
}

const std::string& ProgramResults::Json() const {
    const std::lock_guard lock(mutex_);
    if (!json_) {
        std::ostringstream text;
        if (has_json)
            WriteResultsJson(text, run);
        json_ = std::make_unique<std::string>(std::move(text).str());
    }
    return *json_;
}

std::filesystem::path OutputPath(const ProgramRun& request, std::string_view extension) {
    return request.output_dir / PathFromUtf8(request.base + std::string(extension));
}

std::filesystem::path JsonPath(const ProgramRun& request) {
    return request.json.empty() ? OutputPath(request, ".results.json") : request.json;
}

bool WriteFileAtomically(const std::filesystem::path& path,
                         const std::function<void(std::ostream&)>& write) {
    const std::filesystem::path temporary = TemporaryBeside(path);
    const auto discard = [&temporary] {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
    };
    {
        std::ofstream out(temporary, std::ios::out | std::ios::trunc | std::ios::binary);
        if (!out.is_open())
            return false;
        try {
            write(out);
        } catch (...) {
            out.close();
            discard();
            throw;
        }
        out.flush();
        if (!out) {
            out.close();
            discard();
            return false;
        }
    }
    if (MoveFileInPlace(temporary, path)) {
        discard();
        return false;
    }
    return true;
}

bool WriteFileAtomically(const std::filesystem::path& path, const std::string& text) {
    return WriteFileAtomically(path, [&text](std::ostream& out) {
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
    });
}

bool WriteResultsFile(const std::filesystem::path& path, const RunResults& results,
                      std::string* kept) {
    return WriteFileAtomically(
        path, [&results, kept](std::ostream& out) { WriteResultsJson(out, results, kept); });
}

std::unique_ptr<ProgramResults> RunProgram(const ProgramRun& request) {
    auto out = std::make_unique<ProgramResults>();
    try {
        const bool plain_name = request.base.find_first_of("/\\") == std::string::npos &&
                                request.base != "." && request.base != "..";
        if (request.base.empty() || request.input.empty() || !plain_name) {
            out->status = KOLMAR_STATUS_FILE_ERROR;
            out->messages =
                " THE PROJECT FILE AND THE BASE NAME OF THE RESULT FILES MUST BE GIVEN;\n"
                " THE BASE NAME IS A FILE NAME WITHOUT A FOLDER.\n";
            return out;
        }
        Run(request, *out);
    } catch (...) {
        out->status = KOLMAR_STATUS_INTERNAL;
    }
    out->run.status = out->status;
    return out;
}

} // namespace kolmar::engine
