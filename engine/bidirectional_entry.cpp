// The simulated bidirectional load test for programs: the ordinary analysis of the project in a
// private folder, the first case's shaft to the simulation, tables and the results text.
#include "bidirectional_entry.h"

#include "json_writer.h"
#include "kolmar/ikolmar.h"
#include "program_entry.h"
#include "settlement/bidirectional.h"
#include "settlement/soil_settlement.h"
#include "tip_settlement.h"

#include <atomic>
#include <cmath>
#include <limits>
#include <locale>
#include <random>
#include <sstream>
#include <system_error>

namespace kolmar::engine {
namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
constexpr double kMmPerIn = 25.4;
constexpr double kLbPerKip = 1000.0;

// Output units of the test: ft, kips, in (English) or m, kN, mm (SI).
struct TestUnits {
    bool si = false;
    const char* length() const { return si ? "m" : "ft"; }
    const char* force() const { return si ? "kN" : "kips"; }
    const char* movement() const { return si ? "mm" : "in"; }
    double Length(double ft) const { return si ? ft / kMToFt : ft; }
    double Force(double lb) const { return si ? lb * settlement::kLbToKn : lb / kLbPerKip; }
    double Movement(double in) const { return si ? in * kMmPerIn : in; }
    double LengthIn(double in) const { return Length(in / 12.0); }
};

// A folder of its own under the system's temporary folder, removed with the object.
class PrivateFolder {
public:
    PrivateFolder() {
        static std::atomic<unsigned long long> counter{0};
        std::random_device random;
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        for (int attempt = 0; attempt < 20 && path_.empty(); ++attempt) {
            const std::filesystem::path p =
                base / ("kolmar-bidirectional-" + std::to_string(random()) + "-" +
                        std::to_string(counter.fetch_add(1)));
            std::error_code ec;
            if (std::filesystem::create_directory(p, ec) && !ec)
                path_ = p;
        }
    }
    ~PrivateFolder() {
        std::error_code ignored;
        if (!path_.empty())
            std::filesystem::remove_all(path_, ignored);
    }
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

ResultTable Table(std::string name, std::initializer_list<std::pair<const char*, std::string>> c) {
    ResultTable t;
    t.name = std::move(name);
    for (const auto& [n, u] : c)
        t.columns.push_back({n, u});
    return t;
}

std::string Refusal(BidirectionalAnswer& a, int status, std::string message) {
    a.status = status;
    a.message = std::move(message);
    return a.message;
}

// The run's first case as the case loop made it: the capacity table a case shares with the others
// of its diameter, with this case's own design row.
CaseResult FirstCase(const ProgramResults& run) {
    const KeptCase& kept = run.run.cases.front();
    CaseResult c;
    c.setup = kept.setup;
    c.capacity = kept.Capacity();
    c.capacity.design_row = kept.design_row;
    c.settlement = kept.settlement;
    c.length = kept.length;
    return c;
}

// Why the ordinary analysis of the project cannot carry a simulated test; empty when it can.
std::string ProjectProblem(const ProgramResults& run) {
    if (run.status != KOLMAR_STATUS_OK)
        return "The analysis of the project ended with status " + std::to_string(run.status) +
               " (" + std::string(StatusMeaning(run.status)) +
               "); a bidirectional test is simulated on a project that runs normally.";
    const InputData& in = run.run.input;
    if (in.KCYCL == 2)
        return "The project is loaded in uplift (load direction 2): a bidirectional test is "
               "simulated on the compression analysis; choose compression (RCYCL then reduces the "
               "side load of the part above the cell).";
    if (run.run.cases.empty() || run.run.cases.front().design_row < 0)
        return "The project's first case has no design length: no shaft to test.";
    const CaseResult c = FirstCase(run);
    const CapacityRow& row = c.capacity.rows[static_cast<std::size_t>(c.capacity.design_row)];
    const Layer& tip = in.layers[static_cast<std::size_t>(row.tip_layer)];
    if (!settlement::UsesTzMethod(tip.code)) {
        const TestUnits u{in.si()};
        std::ostringstream os;
        os.imbue(std::locale::classic());
        os << "The shaft tip at " << u.Length(row.length) << ' ' << u.length() << " lies in layer "
           << row.tip_layer + 1 << " (" << MaterialName(tip.code) << ", code " << tip.code
           << "): a bidirectional test is simulated on t-z and q-w curves, which only a tip in "
              "sand, clay, clay shale, gravelly sand or gravel (codes 1, 2, 3, 8 and 9) has.";
        return os.str();
    }
    return {};
}

void FillTables(BidirectionalAnswer& a, const settlement::BidirectionalResult& r,
                const CaseResult& c, const TestUnits& u) {
    const std::string len = u.length(), force = u.force(), mov = u.movement();
    ResultTable up =
        Table("upward", {{"cell_load", force}, {"cell_top_movement", mov}, {"top_movement", mov}});
    for (const settlement::PartStep& s : r.upper)
        up.values.insert(up.values.end(), {u.Force(s.cell_load), u.Movement(s.cell_movement),
                                           u.Movement(s.far_movement)});
    ResultTable down = Table("downward", {{"cell_load", force},
                                          {"cell_bottom_movement", mov},
                                          {"tip_load", force},
                                          {"tip_movement", mov}});
    for (const settlement::PartStep& s : r.lower)
        down.values.insert(down.values.end(), {u.Force(s.cell_load), u.Movement(s.cell_movement),
                                               u.Force(s.far_load), u.Movement(s.far_movement)});
    ResultTable eq =
        Table("equivalent", {{"cell_movement", mov}, {"top_load", force}, {"top_movement", mov}});
    for (const settlement::EquivalentPoint& p : r.equivalent)
        eq.values.insert(eq.values.end(), {u.Movement(p.cell_movement), u.Force(p.load),
                                           u.Movement(p.top_movement)});
    // The trend line of the ordinary analysis, in tons and inches or kN and metres.
    ResultTable td = Table("top_down", {{"top_load", force}, {"top_movement", mov}});
    for (const settlement::LoadSettlementRow& row :
         c.settlement.Block(settlement::LoadTransferLine::trend))
        td.values.insert(td.values.end(), {u.si ? row.top_load : row.top_load * 2.0,
                                           u.si ? row.top_movement * 1000.0 : row.top_movement});
    const auto distribution = [&](const char* name, const std::vector<settlement::PartStep>& s) {
        ResultTable t =
            Table(name, {{"step", "-"}, {"depth", len}, {"load", force}, {"movement", mov}});
        for (std::size_t k = 0; k < s.size(); ++k)
            for (const settlement::PartStep::Element& e : s[k].elements)
                t.values.insert(t.values.end(), {static_cast<double>(k + 1), u.LengthIn(e.depth),
                                                 u.Force(e.load), u.Movement(e.movement)});
        return t;
    };
    ResultTable bal = Table(
        "balance", {{"cell_depth", len}, {"upper_capacity", force}, {"lower_capacity", force}});
    for (const settlement::BalancePoint& p : r.balance)
        bal.values.insert(bal.values.end(),
                          {u.Length(p.depth), u.Force(p.upper), u.Force(p.lower)});
    a.tables = {std::move(up),
                std::move(down),
                std::move(eq),
                std::move(td),
                distribution("upper_distribution", r.upper),
                distribution("lower_distribution", r.lower),
                std::move(bal)};
}

void FillValues(BidirectionalAnswer& a, const settlement::BidirectionalResult& r,
                const settlement::ShaftCase& shaft, double capacity_lb, const TestUnits& u) {
    auto& v = a.values;
    v.fill(kNone);
    const auto set = [&v](BidirectionalValue which, double value) {
        v[static_cast<std::size_t>(which)] = value;
    };
    set(BidirectionalValue::cell_depth, u.Length(r.cell_depth));
    if (capacity_lb > 0.0)
        set(BidirectionalValue::cell_capacity, u.Force(capacity_lb));
    set(BidirectionalValue::upper_weight, u.Force(r.upper_weight));
    set(BidirectionalValue::upper_capacity, u.Force(r.upper_ultimate));
    set(BidirectionalValue::lower_capacity, u.Force(r.lower_ultimate));
    set(BidirectionalValue::first_ultimate_load,
        u.Force(std::min(r.upper_ultimate, r.lower_ultimate)));
    a.first_part = r.upper_ultimate <= r.lower_ultimate ? "upper" : "lower";
    set(BidirectionalValue::diameter, u.Length(shaft.diameter));
    set(BidirectionalValue::length, u.Length(shaft.length));
    if (r.balance_depth < 0.0)
        return;
    set(BidirectionalValue::balance_depth, u.Length(r.balance_depth));
    // The capacities at the boundary nearest the balance depth.
    const settlement::BalancePoint* near = nullptr;
    for (const settlement::BalancePoint& p : r.balance)
        if (!near ||
            std::fabs(p.depth - r.balance_depth) < std::fabs(near->depth - r.balance_depth))
            near = &p;
    if (near) {
        set(BidirectionalValue::balance_upper_capacity, u.Force(near->upper));
        set(BidirectionalValue::balance_lower_capacity, u.Force(near->lower));
    }
}

constexpr std::array<const char*, kBidirectionalValueCount> kValueNames = {"cell_depth",
                                                                           "cell_capacity",
                                                                           "upper_weight",
                                                                           "upper_capacity",
                                                                           "lower_capacity",
                                                                           "first_ultimate_load",
                                                                           "balance_depth",
                                                                           "balance_upper_capacity",
                                                                           "balance_lower_capacity",
                                                                           "diameter",
                                                                           "length"};

std::string ValueUnit(int index, const TestUnits& u) {
    const auto which = static_cast<BidirectionalValue>(index);
    switch (which) {
    case BidirectionalValue::cell_depth:
    case BidirectionalValue::balance_depth:
    case BidirectionalValue::diameter:
    case BidirectionalValue::length:
        return u.length();
    default:
        return u.force();
    }
}

void WriteJson(BidirectionalAnswer& a, const BidirectionalRequest& request) {
    const TestUnits u{a.si};
    std::ostringstream os;
    os.imbue(std::locale::classic());
    JsonWriter w(os);
    w.BeginObject();
    w.Key("schema");
    w.String("kolmar-bidirectional/1");
    w.Key("engine_version");
    w.String(KOLMAR_VERSION_STRING);
    w.Key("project");
    w.String(request.input.string());
    w.Key("status");
    w.Integer(a.status);
    w.Key("message");
    w.String(a.message);
    w.Key("units");
    w.BeginObject();
    w.Key("length");
    w.String(u.length());
    w.Key("force");
    w.String(u.force());
    w.Key("movement");
    w.String(u.movement());
    w.EndObject();
    w.Key("line");
    w.String("trend");
    w.Key("first_part_to_fail");
    w.String(a.first_part);
    for (int i = 0; i < kBidirectionalValueCount; ++i) {
        w.Key(kValueNames[static_cast<std::size_t>(i)]);
        w.BeginObject();
        w.Key("value");
        w.Number(a.values[static_cast<std::size_t>(i)]);
        w.Key("unit");
        w.String(ValueUnit(i, u));
        w.EndObject();
    }
    w.Key("tables");
    w.BeginObject();
    for (const ResultTable& t : a.tables) {
        if (t.columns.empty())
            continue;
        w.Key(t.name);
        WriteResultTable(w, t);
    }
    w.EndObject();
    w.EndObject();
    w.Flush();
    os << '\n';
    a.json = os.str();
}

void Simulate(const BidirectionalRequest& request, BidirectionalAnswer& a) {
    a.values.fill(kNone);
    PrivateFolder folder;
    if (folder.Path().empty()) {
        Refusal(a, KOLMAR_STATUS_FILE_ERROR, "No temporary folder could be made for the analysis.");
        return;
    }
    ProgramRun run;
    run.input = request.input;
    run.output_dir = folder.Path();
    run.base = "project";
    const std::unique_ptr<ProgramResults> results = RunProgram(run);
    a.si = results->run.input_read && results->run.input.si();
    if (std::string problem = ProjectProblem(*results); !problem.empty()) {
        Refusal(a, results->status != KOLMAR_STATUS_OK ? results->status : KOLMAR_STATUS_BAD_INPUT,
                std::move(problem));
        return;
    }
    const TestUnits u{a.si};
    const InputData& in = results->run.input;
    const CaseResult c = FirstCase(*results);
    settlement::BidirectionalSetup setup;
    setup.shaft = SoilCaseOf(in, c);
    setup.rcycl = in.RCYCL;
    setup.water_depth = in.WTD;
    if (!std::isfinite(request.cell_capacity) || request.cell_capacity < 0.0) {
        Refusal(a, KOLMAR_STATUS_BAD_INPUT,
                "The cell capacity must be a number not below 0 (0: no limit).");
        return;
    }
    setup.cell_capacity =
        u.si ? request.cell_capacity / settlement::kLbToKn : request.cell_capacity * kLbPerKip;
    setup.cell_depth = u.si ? request.cell_depth * kMToFt : request.cell_depth;
    if (request.at_balance) {
        // The balance search with the cell anywhere, then the test with the cell there.
        setup.cell_depth = setup.shaft.length;
        if (setup.shaft.bell_height > 0.0 || setup.shaft.length <= setup.shaft.top_length)
            setup.cell_depth = std::max(setup.shaft.top_length + 1.0,
                                        setup.shaft.length - setup.shaft.bell_height);
        const settlement::BidirectionalResult probe = settlement::SimulateBidirectional(setup);
        if (!probe.problem.empty() || probe.balance_depth < 0.0) {
            Refusal(a, KOLMAR_STATUS_BAD_INPUT,
                    probe.problem.empty()
                        ? "The two parts' capacities do not cross along the shaft: the part "
                          "below the cell is the stronger wherever the cell lies."
                        : probe.problem);
            return;
        }
        setup.cell_depth = probe.balance_depth;
    }
    const settlement::BidirectionalResult r = settlement::SimulateBidirectional(setup);
    if (!r.problem.empty()) {
        Refusal(a, KOLMAR_STATUS_BAD_INPUT, r.problem);
        return;
    }
    FillTables(a, r, c, u);
    FillValues(a, r, setup.shaft, setup.cell_capacity, u);
    if (r.failed > 0)
        a.message = std::to_string(r.failed) +
                    " element solutions did not converge to 1e-5 in; the curves are not reliable.";
    else if (r.balance_depth < 0.0)
        a.message = "The two parts' capacities do not cross along the shaft.";
}

} // namespace

std::unique_ptr<BidirectionalAnswer> RunBidirectional(const BidirectionalRequest& request) {
    auto a = std::make_unique<BidirectionalAnswer>();
    try {
        Simulate(request, *a);
        WriteJson(*a, request);
    } catch (...) {
        a->status = KOLMAR_STATUS_INTERNAL;
        a->message = "Unexpected internal failure of the bidirectional simulation.";
        a->json.clear();
    }
    return a;
}

} // namespace kolmar::engine
