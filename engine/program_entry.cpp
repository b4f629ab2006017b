// The programs' entry: a run context with the caller's file names and its scratch and staged
// files held in memory, the results kept as data, and the results file written beside the report.
#include "program_entry.h"

#include "entry.h"
#include "format.h"
#include "kolmar/ikolmar.h"
#include "kolmar/portable.h"
#include "sha256.h"

#include <atomic>
#include <exception>
#include <fstream>
#include <functional>
#include <iterator>
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

std::string ReadWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::in | std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void BuildTables(ProgramResults& out) {
    const InputData& in = out.run.input;
    for (std::size_t i = 0; i < out.run.cases.size(); ++i) {
        const CaseResult& c = out.run.cases[i];
        std::array<ResultTable, kTableKindCount> t;
        if (i < out.run.curves.size())
            for (int k = 0; k < settlement::kLineCount; ++k) {
                const LineCurves& line = out.run.curves[i][static_cast<std::size_t>(k)];
                const auto at = [&](TableKind first) -> ResultTable& {
                    return t[static_cast<std::size_t>(first) + static_cast<std::size_t>(k)];
                };
                at(TableKind::tz_trend) = TzCurvesOf(in, line);
                at(TableKind::qw_trend) = QwCurveOf(in, line);
                at(TableKind::distribution_trend) = LoadDistributionOf(in, line);
            }
        t[static_cast<std::size_t>(TableKind::capacity)] = CapacityTableOf(in, c);
        t[static_cast<std::size_t>(TableKind::layer_resistance)] = LayerResistanceOf(in, c);
        for (ResultTable& line : LoadSettlementOf(in, c)) {
            const TableKind kind = line.name == "trend" || line.name == "rock" ? TableKind::trend
                                   : line.name == "upper_bound" ? TableKind::upper_bound
                                                                : TableKind::lower_bound;
            t[static_cast<std::size_t>(kind)] = std::move(line);
        }
        out.tables.push_back(std::move(t));
    }
    if (out.tables.empty())
        out.tables.emplace_back();
    out.tables.front()[static_cast<std::size_t>(TableKind::design_charts)] =
        DesignChartsOf(in, out.run);
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
    out.run.run_notes = ReadWhole(OutputPath(request, ".kx8r"));
    BuildTables(out);
    std::ostringstream json;
    json.imbue(std::locale::classic());
    WriteResultsJson(json, out.run);
    out.json = json.str();
    if (!WriteFileAtomically(JsonPath(request), out.json)) {
        out.messages +=
            " THE RESULTS FILE " + Utf8OfPath(JsonPath(request)) + " CANNOT BE WRITTEN.\n";
        if (out.status == KOLMAR_STATUS_OK)
            out.status = KOLMAR_STATUS_FILE_ERROR;
        out.run.status = out.status;
    }
}

} // namespace

const ResultTable* ProgramResults::Table(int case_index, int kind) const {
    if (kind < 0 || kind >= kTableKindCount)
        return nullptr;
    if (kind == static_cast<int>(TableKind::design_charts))
        case_index = 0;
    if (case_index < 0 || case_index >= static_cast<int>(tables.size()))
        return nullptr;
    return &tables[static_cast<std::size_t>(case_index)][static_cast<std::size_t>(kind)];
}

std::filesystem::path OutputPath(const ProgramRun& request, std::string_view extension) {
    return request.output_dir / PathFromUtf8(request.base + std::string(extension));
}

std::filesystem::path JsonPath(const ProgramRun& request) {
    return request.json.empty() ? OutputPath(request, ".results.json") : request.json;
}

bool WriteFileAtomically(const std::filesystem::path& path, const std::string& text) {
    const std::filesystem::path temporary = TemporaryBeside(path);
    {
        std::ofstream out(temporary, std::ios::out | std::ios::trunc | std::ios::binary);
        if (!out.is_open())
            return false;
        out << text;
        out.flush();
        if (!out) {
            out.close();
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    if (MoveFileInPlace(temporary, path)) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return false;
    }
    return true;
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
