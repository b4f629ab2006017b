// The bidirectional test's set-up file and the engine call that simulates the test.
#include "gui/run/Bidirectional.h"

#include "gui/data/DataUnit.h"
#include "gui/run/dynlib.h"
#include "kolmar/results.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <iterator>
#include <limits>

namespace fs = std::filesystem;

namespace {

constexpr double kFtPerM = 3.2808;  // the engine's length factor
constexpr double kKnPerKip = 4.448; // the engine's force factor
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The shortest text of a number that reads back as the same double.
std::string NumberText(double Value) {
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, Value);
    return ec == std::errc() ? std::string(buffer, end) : std::string("null");
}

// The value of a top-level key: a number, or nothing for null or a missing key. False when the
// key holds something else.
bool NumberOf(const std::string& Text, const std::string& Key, std::optional<double>& Value) {
    Value.reset();
    const std::string quoted = "\"" + Key + "\"";
    const std::size_t at = Text.find(quoted);
    if (at == std::string::npos)
        return true;
    std::size_t p = Text.find_first_not_of(" \t\r\n", at + quoted.size());
    if (p == std::string::npos || Text[p] != ':')
        return false;
    p = Text.find_first_not_of(" \t\r\n", p + 1);
    if (p == std::string::npos)
        return false;
    if (Text.compare(p, 4, "null") == 0)
        return true;
    double v = 0.0;
    const auto [end, ec] = std::from_chars(Text.data() + p, Text.data() + Text.size(), v);
    if (ec != std::errc() || !std::isfinite(v))
        return false;
    Value = v;
    return true;
}

} // namespace

fs::path BidirSetupPath(const fs::path& Project) {
    fs::path path = Project;
    path.replace_extension(".bidir.json");
    return path;
}

std::optional<TBidirSetup> ReadBidirSetup(const fs::path& Project, bool ProjectSI,
                                          std::string* Error) {
    const fs::path path = BidirSetupPath(Project);
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open())
        return std::nullopt;
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::optional<double> depth, capacity;
    const bool si = text.find("\"units\": \"SI\"") != std::string::npos ||
                    text.find("\"units\":\"SI\"") != std::string::npos;
    if (!NumberOf(text, "cell_depth", depth) || !NumberOf(text, "cell_capacity", capacity)) {
        if (Error)
            *Error = "The bidirectional test set-up " + path.string() +
                     " cannot be read: cell_depth and cell_capacity must be numbers or null.";
        return std::nullopt;
    }
    if (!depth || !(*depth > 0.0))
        return std::nullopt;
    TBidirSetup setup;
    setup.SI = ProjectSI;
    setup.CellDepth = *depth;
    setup.CellCapacity = capacity && *capacity > 0.0 ? *capacity : 0.0;
    // A project whose units were switched since: the values follow it.
    if (si && !ProjectSI) {
        setup.CellDepth *= kFtPerM;
        setup.CellCapacity /= kKnPerKip;
    } else if (!si && ProjectSI) {
        setup.CellDepth /= kFtPerM;
        setup.CellCapacity *= kKnPerKip;
    }
    return setup;
}

std::string BidirSetupText(const TBidirSetup& Setup) {
    return std::string("{\n  \"schema\": \"kolmar-bidirectional-setup/1\",\n") + "  \"units\": \"" +
           (Setup.SI ? "SI" : "English") + "\",\n" +
           "  \"cell_depth\": " + NumberText(Setup.CellDepth) + ",\n" +
           "  \"cell_depth_unit\": \"" + (Setup.SI ? "m" : "ft") + "\",\n" +
           "  \"cell_capacity\": " +
           (Setup.CellCapacity > 0.0 ? NumberText(Setup.CellCapacity) : std::string("null")) +
           ",\n" + "  \"cell_capacity_unit\": \"" + (Setup.SI ? "kN" : "kips") + "\"\n}\n";
}

bool WriteBidirSetup(const fs::path& Project, const TBidirSetup& Setup) {
    try {
        WriteFileAtomically(BidirSetupPath(Project).string(), BidirSetupText(Setup),
                            "the bidirectional test set-up");
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

const TBidirTable& TBidirAnswer::Table(TBidirTableKind Kind) const {
    static const TBidirTable kEmpty;
    const auto i = static_cast<std::size_t>(Kind);
    return i < Tables.size() ? Tables[i] : kEmpty;
}

double TBidirAnswer::Value(TBidirValue Which) const {
    const auto i = static_cast<std::size_t>(Which);
    return i < Values.size() ? Values[i] : kNaN;
}

TBidirAnswer SimulateBidirectional(const fs::path& Engine, const fs::path& Project,
                                   double CellDepth, double CellCapacity, bool AtBalance) {
    TBidirAnswer answer;
    try {
        TDynamicLibrary library(Engine.string(), true);
        const auto find = [&library](const char* name) {
            void* p = library.FindProcedure(name);
            if (!p)
                throw EDLLError("The library has no " + std::string(name) + " entry point");
            return p;
        };
        auto entry = reinterpret_cast<KolmarBidirectionalEntry>(find("kolmar_bidirectional"));
        auto message = reinterpret_cast<const char* (*)(const KolmarBidirectional*)>(
            find("kolmar_bidirectional_message"));
        auto json = reinterpret_cast<const char* (*)(const KolmarBidirectional*)>(
            find("kolmar_bidirectional_json"));
        auto first = reinterpret_cast<const char* (*)(const KolmarBidirectional*)>(
            find("kolmar_bidirectional_first_part"));
        auto value = reinterpret_cast<double (*)(const KolmarBidirectional*, int)>(
            find("kolmar_bidirectional_value"));
        auto table =
            reinterpret_cast<const double* (*)(const KolmarBidirectional*, int, int*, int*)>(
                find("kolmar_bidirectional_table"));
        using TColumn = const char* (*)(const KolmarBidirectional*, int, int);
        auto name = reinterpret_cast<TColumn>(find("kolmar_bidirectional_column_name"));
        auto unit = reinterpret_cast<TColumn>(find("kolmar_bidirectional_column_unit"));
        auto release =
            reinterpret_cast<void (*)(KolmarBidirectional*)>(find("kolmar_bidirectional_free"));
        KolmarBidirectional* handle = nullptr;
        answer.Status =
            entry(Project.string().c_str(), CellDepth, CellCapacity, AtBalance ? 1 : 0, &handle);
        if (!handle) {
            answer.Message = "The engine gave no answer.";
            return answer;
        }
        answer.Message = message(handle);
        answer.Json = json(handle);
        answer.FirstPart = first(handle);
        for (int v = 0; v <= KOLMAR_BIDIR_LENGTH; ++v)
            answer.Values.push_back(value(handle, v));
        for (int t = 0; t <= KOLMAR_BIDIR_BALANCE; ++t) {
            TBidirTable out;
            int rows = 0, columns = 0;
            const double* data = table(handle, t, &rows, &columns);
            for (int c = 0; c < columns; ++c) {
                out.Columns.emplace_back(name(handle, t, c));
                out.Units.emplace_back(unit(handle, t, c));
            }
            for (int r = 0; data && r < rows; ++r)
                out.Rows.emplace_back(data + static_cast<std::ptrdiff_t>(r) * columns,
                                      data + static_cast<std::ptrdiff_t>(r + 1) * columns);
            answer.Tables.push_back(std::move(out));
        }
        static const char* const kNames[] = {"upward",   "downward",           "equivalent",
                                             "top_down", "upper_distribution", "lower_distribution",
                                             "balance"};
        for (std::size_t t = 0; t < answer.Tables.size(); ++t)
            answer.Tables[t].Name = kNames[t];
        release(handle);
    } catch (const EDLLError& e) {
        answer.Status = 69;
        answer.Message = std::string("The engine library cannot be used: ") + e.what();
    }
    return answer;
}
