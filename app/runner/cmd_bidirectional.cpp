// kolmar bidirectional: the simulated bidirectional (jack-cell) load test of a project, with the
// cell at a depth given on the command line or in NAME.bidir.json, or at the balance depth. Prints
// a summary; the results as JSON to a file, or each table as a CSV file.
#include "app/runner/cli.h"
#include "gui/data/DataUnit.h"
#include "gui/run/Bidirectional.h"
#include "kolmar/ikolmar.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <locale>
#include <sstream>

namespace fs = std::filesystem;

namespace {

const char* const kUsage =
    "Usage: kolmar bidirectional PROJECT [--cell-depth D] [--cell-capacity Q]"
    " [--balance] [-o results.json] [--csv DIR]\n";

int Usage(const std::string& Why) {
    std::cerr << "kolmar: " << Why << "\n" << kUsage;
    return ExitUsage;
}

struct TOptions {
    std::string Project, Output, CsvDir;
    std::optional<double> CellDepth, CellCapacity;
    bool Balance = false;
};

bool ReadNumber(const std::string& Text, double& Value) {
    const auto [end, ec] = std::from_chars(Text.data(), Text.data() + Text.size(), Value);
    return ec == std::errc() && end == Text.data() + Text.size() && std::isfinite(Value);
}

// Parses the options; an error text when they are wrong.
std::string Parse(const std::vector<std::string>& Raw, TOptions& O) {
    for (std::size_t i = 0; i < Raw.size(); ++i) {
        const std::string& arg = Raw[i];
        const auto value = [&](std::string& Into) {
            if (i + 1 >= Raw.size())
                return false;
            Into = Raw[++i];
            return true;
        };
        std::string text;
        if (arg == "--cell-depth" || arg == "--cell-capacity") {
            double v = 0.0;
            if (!value(text) || !ReadNumber(text, v))
                return arg + " needs a number";
            (arg == "--cell-depth" ? O.CellDepth : O.CellCapacity) = v;
        } else if (arg == "--balance") {
            O.Balance = true;
        } else if (arg == "-o" || arg == "--output") {
            if (!value(O.Output))
                return arg + " needs a file name";
        } else if (arg == "--csv") {
            if (!value(O.CsvDir))
                return "--csv needs a folder";
        } else if (arg.size() > 1 && arg[0] == '-') {
            return "unknown option '" + arg + "'";
        } else if (O.Project.empty()) {
            O.Project = arg;
        } else {
            return "bidirectional takes one project file";
        }
    }
    if (O.Project.empty())
        return "no project file given";
    if (O.CellDepth && O.Balance)
        return "--cell-depth and --balance exclude each other";
    if (O.CellCapacity && *O.CellCapacity < 0.0)
        return "--cell-capacity must not be negative";
    return {};
}

std::string Fixed(double Value, int Decimals) {
    if (!std::isfinite(Value))
        return "-";
    std::ostringstream os;
    os.imbue(std::locale::classic());
    os << std::fixed << std::setprecision(Decimals) << Value;
    return os.str();
}

void PrintSummary(const TBidirAnswer& A, const std::string& Name, bool SI) {
    const std::string len = SI ? " m" : " ft", force = SI ? " kN" : " kips";
    const int ld = SI ? 2 : 1;
    std::cout << "Bidirectional test of " << Name << " (trend line)\n"
              << "  shaft: diameter " << Fixed(A.Value(TBidirValue::Diameter), 2) << len
              << ", length " << Fixed(A.Value(TBidirValue::Length), ld) << len << "\n"
              << "  cell at " << Fixed(A.Value(TBidirValue::CellDepth), 2) << len;
    if (std::isfinite(A.Value(TBidirValue::CellCapacity)))
        std::cout << ", capacity " << Fixed(A.Value(TBidirValue::CellCapacity), 1) << force;
    std::cout << "\n  upper part: ultimate " << Fixed(A.Value(TBidirValue::UpperCapacity), 1)
              << force << " with its buoyant weight of "
              << Fixed(A.Value(TBidirValue::UpperWeight), 1) << force << "\n"
              << "  lower part: ultimate " << Fixed(A.Value(TBidirValue::LowerCapacity), 1) << force
              << "\n"
              << "  first to reach its ultimate: the " << A.FirstPart << " part, at a cell load of "
              << Fixed(A.Value(TBidirValue::FirstUltimateLoad), 1) << force << "\n";
    if (A.Value(TBidirValue::CellCapacity) < A.Value(TBidirValue::FirstUltimateLoad))
        std::cout << "  the cell's capacity is reached before either part reaches its ultimate\n";
    if (std::isfinite(A.Value(TBidirValue::BalanceDepth)))
        std::cout << "  balance depth: " << Fixed(A.Value(TBidirValue::BalanceDepth), ld) << len
                  << " (upper " << Fixed(A.Value(TBidirValue::BalanceUpperCapacity), 1) << force
                  << ", lower " << Fixed(A.Value(TBidirValue::BalanceLowerCapacity), 1) << force
                  << ")\n";
    else
        std::cout << "  balance depth: none (the two capacities do not cross)\n";
    if (!A.Message.empty())
        std::cout << "  note: " << A.Message << "\n";
}

std::string CsvOf(const TBidirTable& T) {
    std::ostringstream os;
    os.imbue(std::locale::classic());
    for (std::size_t c = 0; c < T.Columns.size(); ++c)
        os << (c ? "," : "") << T.Columns[c] << " (" << T.Units[c] << ")";
    os << "\n" << std::setprecision(17);
    for (const std::vector<double>& row : T.Rows) {
        for (std::size_t c = 0; c < row.size(); ++c)
            os << (c ? "," : "") << row[c];
        os << "\n";
    }
    return os.str();
}

int WriteOutputs(const TOptions& O, const TBidirAnswer& A) {
    try {
        if (!O.Output.empty()) {
            WriteFileAtomically(O.Output, A.Json, "the bidirectional test results");
            std::cout << "  results: " << O.Output << "\n";
        }
        if (!O.CsvDir.empty()) {
            std::error_code ec;
            fs::create_directories(O.CsvDir, ec);
            for (const TBidirTable& t : A.Tables) {
                const fs::path file = fs::path(O.CsvDir) / ("bidirectional-" + t.Name + ".csv");
                WriteFileAtomically(file.string(), CsvOf(t), "a CSV table");
                std::cout << "  table: " << file.string() << "\n";
            }
        }
    } catch (const std::exception& e) {
        std::cerr << "kolmar: " << e.what() << "\n";
        return ExitCantCreate;
    }
    return 0;
}

} // namespace

int BidirectionalCommand(const TCommandLine& Line) {
    TOptions o;
    if (const std::string error = Parse(Line.Raw, o); !error.empty())
        return Usage(error);
    std::string name;
    int status = 0;
    auto project = LoadProject(o.Project, Line.Layout, name, status);
    if (!project)
        return status;
    if (const auto advice = UpgradeNeeded(*project, name)) {
        std::cerr << "kolmar: " << name << ":\n" << *advice << "\n";
        return ExitDataError;
    }
    if (FilterForFileName(name) != 1) {
        std::cerr << "kolmar: " << name << ": an older project; run it first to convert it\n";
        return ExitDataError;
    }
    const bool si = project->fUnits == 2;
    if (!o.CellDepth && !o.Balance) {
        std::string error;
        const auto setup = ReadBidirSetup(name, si, &error);
        if (!error.empty()) {
            std::cerr << "kolmar: " << error << "\n";
            return ExitDataError;
        }
        if (!setup)
            return Usage("no cell depth: give --cell-depth or --balance, or save the test's set-up "
                         "in " +
                         BidirSetupPath(name).string());
        o.CellDepth = setup->CellDepth;
        if (!o.CellCapacity && setup->CellCapacity > 0.0)
            o.CellCapacity = setup->CellCapacity;
    }
    const TBidirAnswer answer =
        SimulateBidirectional(ExecutableDirectory() / KOLMAR_ENGINE_FILE, name,
                              o.CellDepth.value_or(0.0), o.CellCapacity.value_or(0.0), o.Balance);
    if (answer.Status != 0) {
        std::cerr << "kolmar: " << name << ": " << answer.Message << "\n";
        return answer.Status;
    }
    PrintSummary(answer, name, si);
    return WriteOutputs(o, answer);
}
