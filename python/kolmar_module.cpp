// The compiled half of the Python package `kolmar`: the project model (TProgramData) with its
// reader, writer and unit switch, and one analysis run through the engine's entry for programs
// (kolmar_run) with the global interpreter lock released. The Python half (kolmar/__init__.py)
// wraps the tables in numpy arrays and adds the errors, run_many and capacity.
#include "gui/data/DataUnit.h"
#include "gui/run/RunControl.h"
#include "gui/run/RunSequence.h"
#include "kolmar/portable.h"
#include "kolmar/results.h"

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace py = pybind11;
namespace fs = std::filesystem;

namespace {

// Keys of the parameter columns of each kind, in column order (the model's column indices).
std::span<const char* const> ParameterKeys(int SoilType) {
    static const char* const Sand[] = {"unit_weight", "friction_angle", "blow_counts",     "ko",
                                       "beta",        "method",         "interface_angle", "m"};
    static const char* const Clay[] = {"unit_weight", "cohesion", "blow_counts", "alpha", "nc"};
    static const char* const Strong[] = {
        "qu", "concrete_fc", "spacing", "thickness", "socket_diameter", "modulus", "rqd"};
    static const char* const Decomposed[] = {"unit_weight", "blow_counts", "poisson", "modulus",
                                             "socket_diameter"};
    static const char* const Weak[] = {
        "qu", "condition", "slump", "interface_angle", "socket_diameter", "modulus", "rqd"};
    static const char* const Gravel[] = {"unit_weight", "blow_counts", "beta"};
    switch (SoilType) {
    case kolmar::kSand:
        return Sand;
    case kolmar::kClay:
    case kolmar::kClayShale:
        return Clay;
    case kolmar::kStrongRockSideOrBase:
    case kolmar::kStrongRockSideAndBase:
        return Strong;
    case kolmar::kDecomposedRock:
        return Decomposed;
    case kolmar::kWeakRock:
        return Weak;
    default:
        return Gravel;
    }
}

int ColumnOfKey(const TSoilLayer& Layer, const std::string& Key) {
    const auto Keys = ParameterKeys(Layer.SoilType());
    for (std::size_t I = 0; I < Keys.size(); ++I) {
        if (Key == Keys[I]) {
            return static_cast<int>(I);
        }
    }
    throw py::key_error("a layer of kind " + std::string(SoilTypeLabel(Layer.SoilType())) +
                        " has no parameter '" + Key + "'");
}

py::dict ParameterRow(const TSoilLayer& Layer, int Row) {
    py::dict Out;
    const auto Keys = ParameterKeys(Layer.SoilType());
    for (std::size_t I = 0; I < Keys.size(); ++I) {
        const int Col = static_cast<int>(I);
        if (Layer.Params.Kind().Columns[I].IsInteger) {
            Out[Keys[I]] = Layer.Params.IntValue(Row, Col);
        } else {
            Out[Keys[I]] = Layer.Params.Value(Row, Col);
        }
    }
    return Out;
}

double FiniteValue(const py::handle& Value, const std::string& What) {
    const double V = py::cast<double>(py::float_(py::reinterpret_borrow<py::object>(Value)));
    if (!std::isfinite(V)) {
        throw py::value_error(What + " must be a finite number");
    }
    return V;
}

void SetParameterRow(TSoilLayer& Layer, int Row, const py::dict& Values) {
    for (const auto& [Key, Value] : Values) {
        const auto Name = py::cast<std::string>(Key);
        Layer.Params.SetValue(Row, ColumnOfKey(Layer, Name), FiniteValue(Value, Name));
    }
}

// Everything a run hands back, copied out of the engine's handle before it is freed.
struct TTable {
    std::vector<double> Values;
    int Rows = 0;
    int Columns = 0;
    std::vector<std::string> Names;
    std::vector<std::string> Units;
};
struct TCase {
    double Diameter = 0;
    double Length = 0;
    int DesignRow = -1;
    std::vector<TTable> Tables;
};
struct TRunData {
    int Status = -1;
    std::string Meaning;
    std::string Messages;
    std::string Json;
    std::vector<TCase> Cases;
    TTable DesignCharts;
};

constexpr int kTableCount = KOLMAR_TABLE_DISTRIBUTION_LOWER_BOUND + 1;

TTable CopyTable(const KolmarResults* H, int Case, int Table) {
    TTable T;
    const double* Values = kolmar_results_table(H, Case, Table, &T.Rows, &T.Columns);
    if (Values == nullptr) {
        return T;
    }
    T.Values.assign(Values, Values + static_cast<std::size_t>(T.Rows) * T.Columns);
    for (int C = 0; C < T.Columns; ++C) {
        const char* Name = kolmar_results_column_name(H, Case, Table, C);
        const char* Unit = kolmar_results_column_unit(H, Case, Table, C);
        T.Names.emplace_back(Name ? Name : "");
        T.Units.emplace_back(Unit ? Unit : "");
    }
    return T;
}

TRunData CopyResults(const KolmarResults* H) {
    TRunData Data;
    Data.Status = kolmar_results_status(H);
    Data.Meaning = kolmar_results_status_text(H);
    Data.Messages = kolmar_results_messages(H);
    Data.Json = kolmar_results_json(H);
    const int Count = kolmar_results_case_count(H);
    for (int C = 0; C < Count; ++C) {
        TCase Case;
        Case.Diameter = kolmar_results_case_diameter(H, C);
        Case.Length = kolmar_results_case_length(H, C);
        Case.DesignRow = kolmar_results_design_row(H, C);
        for (int T = 0; T < kTableCount; ++T) {
            Case.Tables.push_back(CopyTable(H, C, T));
        }
        Data.Cases.push_back(std::move(Case));
    }
    if (Count > 0) {
        Data.DesignCharts = CopyTable(H, 0, KOLMAR_TABLE_DESIGN_CHARTS);
    }
    return Data;
}

py::dict TableToPython(const TTable& T) {
    py::array_t<double> Array(
        {static_cast<py::ssize_t>(T.Rows), static_cast<py::ssize_t>(T.Columns)});
    if (!T.Values.empty()) {
        std::copy(T.Values.begin(), T.Values.end(), Array.mutable_data());
    }
    py::dict Out;
    Out["values"] = Array;
    Out["columns"] = T.Names;
    Out["units"] = T.Units;
    return Out;
}

py::dict RunDataToPython(const TRunData& Data) {
    static const char* const TableKeys[kTableCount] = {"capacity",
                                                       "layer_resistance",
                                                       "trend",
                                                       "upper",
                                                       "lower",
                                                       "design_charts",
                                                       "tz_trend",
                                                       "tz_upper",
                                                       "tz_lower",
                                                       "qw_trend",
                                                       "qw_upper",
                                                       "qw_lower",
                                                       "distribution_trend",
                                                       "distribution_upper",
                                                       "distribution_lower"};
    py::dict Out;
    Out["status"] = Data.Status;
    Out["meaning"] = Data.Meaning;
    Out["messages"] = Data.Messages;
    Out["json"] = Data.Json;
    py::list Cases;
    for (const auto& Case : Data.Cases) {
        py::dict C;
        C["diameter"] = Case.Diameter;
        C["length"] = Case.Length;
        C["design_row"] = Case.DesignRow;
        for (int T = 0; T < kTableCount; ++T) {
            if (T != KOLMAR_TABLE_DESIGN_CHARTS) {
                C[TableKeys[T]] = TableToPython(Case.Tables[static_cast<std::size_t>(T)]);
            }
        }
        Cases.append(C);
    }
    Out["cases"] = Cases;
    Out["design_charts"] = TableToPython(Data.DesignCharts);
    return Out;
}

// A scratch folder of one run, removed with everything in it when the run is done.
struct TScratchDir {
    fs::path Path;
    TScratchDir() {
        static std::atomic<unsigned long> Counter{0};
        const auto Stamp = std::to_string(static_cast<unsigned long>(
            std::chrono::steady_clock::now().time_since_epoch().count()));
        // A folder no other run has: create_directory is false for one that exists already.
        do {
            Path = fs::temp_directory_path() /
                   ("kolmar-py-" + std::to_string(kolmar::ProcessNumber()) + "-" + Stamp + "-" +
                    std::to_string(Counter.fetch_add(1)));
        } while (!fs::create_directory(Path));
    }
    ~TScratchDir() {
        std::error_code Ignored;
        fs::remove_all(Path, Ignored);
    }
    TScratchDir(const TScratchDir&) = delete;
    TScratchDir& operator=(const TScratchDir&) = delete;
};

// One run of a copy of the project, without the interpreter: normalised as Save does, the
// layer check of the runner (its refusal into *Refusal, nothing run), the project file written
// into the output folder (a scratch folder when none is given), the engine called, the results
// copied out of its handle.
TRunData RunCopy(TProgramData& Copy, const std::string& OutputDir, const std::string& Name,
                 std::string* Refusal) {
    const std::string Text = Copy.SaveToText();
    if (const auto Refused = CheckData(LayerCheckInputOf(Copy))) {
        *Refusal = *Refused;
        return {};
    }
    std::unique_ptr<TScratchDir> Scratch;
    fs::path Dir = OutputDir;
    if (OutputDir.empty()) {
        Scratch = std::make_unique<TScratchDir>();
        Dir = Scratch->Path;
    } else {
        fs::create_directories(Dir);
    }
    const fs::path Input = Dir / (Name + ".kx8d");
    WriteFileAtomically(Input.string(), Text);
    TRunData Data;
    KolmarResults* Handle = nullptr;
    const int Status = kolmar_run(Input.c_str(), Dir.c_str(), Name.c_str(), nullptr, &Handle);
    if (Handle == nullptr) {
        Data.Status = Status;
        Data.Meaning = StatusMeaning(Status);
    } else {
        Data = CopyResults(Handle);
        kolmar_results_free(Handle);
    }
    return Data;
}

// A run from Python: ("check", refusal) or ("run", results). Everything after the copy of the
// project runs with the interpreter lock released, so that runs on other threads go on.
py::tuple RunProject(const TProgramData& Project, const std::string& OutputDir,
                     const std::string& Name) {
    TProgramData Copy = Project;
    std::string Refusal;
    TRunData Data;
    std::string Failure;
    bool FileFailure = false;
    {
        py::gil_scoped_release Unlocked;
        try {
            Data = RunCopy(Copy, OutputDir, Name, &Refusal);
        } catch (const fs::filesystem_error& E) {
            Failure = E.what();
            FileFailure = true;
        } catch (const std::exception& E) {
            Failure = E.what();
        }
    }
    if (FileFailure) {
        PyErr_SetString(PyExc_OSError, Failure.c_str());
        throw py::error_already_set();
    }
    if (!Failure.empty()) {
        throw py::value_error(Failure);
    }
    if (!Refusal.empty()) {
        return py::make_tuple("check", Refusal);
    }
    return py::make_tuple("run", RunDataToPython(Data));
}

// The simulated bidirectional test of a copy of the project, without the interpreter: the layer
// check, the project written into a scratch folder, kolmar_bidirectional, the answer copied out.
struct TBidirData {
    std::string Refusal; // the layer check's
    int Status = -1;
    std::string Message, Json, FirstPart;
    std::vector<double> Values;
    std::vector<TTable> Tables;
};

TBidirData BidirectionalCopy(TProgramData& Copy, double CellDepth, double CellCapacity,
                             bool AtBalance) {
    TBidirData Data;
    const std::string Text = Copy.SaveToText();
    if (const auto Refused = CheckData(LayerCheckInputOf(Copy))) {
        Data.Refusal = *Refused;
        return Data;
    }
    TScratchDir Scratch;
    const fs::path Input = Scratch.Path / "project.kx8d";
    WriteFileAtomically(Input.string(), Text);
    KolmarBidirectional* H = nullptr;
    Data.Status =
        kolmar_bidirectional(Input.c_str(), CellDepth, CellCapacity, AtBalance ? 1 : 0, &H);
    if (H == nullptr) {
        Data.Message = "The engine gave no answer.";
        return Data;
    }
    Data.Message = kolmar_bidirectional_message(H);
    Data.Json = kolmar_bidirectional_json(H);
    Data.FirstPart = kolmar_bidirectional_first_part(H);
    for (int V = 0; V <= KOLMAR_BIDIR_LENGTH; ++V)
        Data.Values.push_back(kolmar_bidirectional_value(H, V));
    for (int T = 0; T <= KOLMAR_BIDIR_BALANCE; ++T) {
        TTable Table;
        const double* Values = kolmar_bidirectional_table(H, T, &Table.Rows, &Table.Columns);
        if (Values != nullptr)
            Table.Values.assign(Values,
                                Values + static_cast<std::size_t>(Table.Rows) * Table.Columns);
        for (int C = 0; C < Table.Columns; ++C) {
            Table.Names.emplace_back(kolmar_bidirectional_column_name(H, T, C));
            Table.Units.emplace_back(kolmar_bidirectional_column_unit(H, T, C));
        }
        Data.Tables.push_back(std::move(Table));
    }
    kolmar_bidirectional_free(H);
    return Data;
}

// ("check", refusal) or ("test", answer) with the interpreter lock released during the engine.
py::tuple Bidirectional(const TProgramData& Project, double CellDepth, double CellCapacity,
                        bool AtBalance) {
    TProgramData Copy = Project;
    TBidirData Data;
    std::string Failure;
    {
        py::gil_scoped_release Unlocked;
        try {
            Data = BidirectionalCopy(Copy, CellDepth, CellCapacity, AtBalance);
        } catch (const std::exception& E) {
            Failure = E.what();
        }
    }
    if (!Failure.empty())
        throw py::value_error(Failure);
    if (!Data.Refusal.empty())
        return py::make_tuple("check", Data.Refusal);
    static const char* const kValues[] = {"cell_depth",
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
    static const char* const kTables[] = {"upward",   "downward",           "equivalent",
                                          "top_down", "upper_distribution", "lower_distribution",
                                          "balance"};
    py::dict Out;
    Out["status"] = Data.Status;
    Out["message"] = Data.Message;
    Out["json"] = Data.Json;
    Out["first_part"] = Data.FirstPart;
    py::dict Values;
    for (std::size_t V = 0; V < Data.Values.size(); ++V)
        Values[kValues[V]] = Data.Values[V];
    Out["values"] = Values;
    py::dict Tables;
    for (std::size_t T = 0; T < Data.Tables.size(); ++T)
        Tables[kTables[T]] = TableToPython(Data.Tables[T]);
    Out["tables"] = Tables;
    return py::make_tuple("test", Out);
}

std::unique_ptr<TProgramData> LoadProject(const std::string& Path) {
    std::string Error;
    auto Project = TProgramData::CreateFromFile(Path, 0, &Error);
    if (!Project) {
        throw py::value_error("Cannot open \"" + Path + "\": " + Error);
    }
    if (!Error.empty()) {
        throw py::value_error("Cannot read \"" + Path + "\": " + Error);
    }
    return Project;
}

void SaveProject(TProgramData& Project, const std::string& Path) {
    const std::string Previous = Project.FileName;
    if (!Path.empty()) {
        Project.FileName = Path;
    }
    try {
        Project.Save();
    } catch (const std::exception& E) {
        Project.FileName = Previous;
        throw py::value_error(E.what());
    }
}

constexpr const char* kLayerDoc =
    "One soil or rock layer of the profile. Parameters by kind, at the top and the bottom of the "
    "layer (English | SI units):\n"
    "sand: unit_weight (lbs/ft^3 | kN/m^3), friction_angle (deg), blow_counts, ko, beta, method "
    "(SandMethod), interface_angle (deg), m;\n"
    "clay, clay shale: unit_weight, cohesion (lbs/ft^2 | kN/m^2), blow_counts, alpha, nc;\n"
    "strong rock: qu and concrete_fc (lbs/ft^2 | kN/m^2), spacing, thickness and socket_diameter "
    "(ft | m), modulus (lbs/in^2 | kN/m^2), rqd (%);\n"
    "decomposed rock: unit_weight, blow_counts, poisson, modulus (lbs/in^2 | kN/m^2), "
    "socket_diameter (ft | m);\n"
    "weak rock: qu (lbs/ft^2 | kN/m^2), condition (1..4), slump (in | m), interface_angle (deg), "
    "socket_diameter (ft | m), modulus (lbs/in^2 | kN/m^2), rqd (%);\n"
    "gravelly sand, gravel: unit_weight, blow_counts, beta.";

void BindLayer(py::module_& M) {
    py::class_<TSoilLayer>(M, "Layer", kLayerDoc)
        .def(py::init([](int Kind, double Depth) {
                 TSoilLayer L;
                 if (!L.SetSoilType(Kind)) {
                     throw py::value_error("soil kind must be 1..9");
                 }
                 L.Depth = Depth;
                 return L;
             }),
             py::arg("kind") = static_cast<int>(kolmar::kSand), py::arg("depth") = 0.0)
        .def_property(
            "_kind", [](const TSoilLayer& L) { return L.SoilType(); },
            [](TSoilLayer& L, int Kind) {
                if (!L.SetSoilType(Kind)) {
                    throw py::value_error("soil kind must be 1..9, not " + std::to_string(Kind));
                }
            },
            "Soil kind code 1..9 (kolmar.SoilKind is the typed view)")
        .def_readwrite("depth", &TSoilLayer::Depth, "Depth of the layer's bottom, ft or m")
        .def_readwrite("max_side_friction", &TSoilLayer::MaxSideFriction,
                       "Maximum unit side friction, lbs/ft^2 or kN/m^2; 0 = no limit")
        .def_readwrite("max_end_bearing", &TSoilLayer::MaxEndBearing,
                       "Maximum unit end bearing, lbs/ft^2 or kN/m^2; 0 = no limit")
        .def_readwrite("lrfd_side", &TSoilLayer::LrfdSide,
                       "LRFD resistance factor on side friction")
        .def_readwrite("lrfd_tip", &TSoilLayer::LrfdTip, "LRFD resistance factor on end bearing")
        .def_property_readonly(
            "parameter_names",
            [](const TSoilLayer& L) {
                const auto Keys = ParameterKeys(L.SoilType());
                return std::vector<std::string>(Keys.begin(), Keys.end());
            },
            "Names of the layer kind's parameters, in column order")
        .def_property(
            "top", [](const TSoilLayer& L) { return ParameterRow(L, 0); },
            [](TSoilLayer& L, const py::dict& V) { SetParameterRow(L, 0, V); },
            "Parameters at the top of the layer (a dict; assigning one sets the keys it holds)")
        .def_property(
            "bottom", [](const TSoilLayer& L) { return ParameterRow(L, 1); },
            [](TSoilLayer& L, const py::dict& V) { SetParameterRow(L, 1, V); },
            "Parameters at the bottom of the layer")
        .def(
            "set",
            [](TSoilLayer& L, const std::string& Key, const py::object& Top,
               const py::object& Bottom) {
                const int Col = ColumnOfKey(L, Key);
                L.Params.SetValue(0, Col, FiniteValue(Top, Key));
                L.Params.SetValue(1, Col, FiniteValue(Bottom.is_none() ? Top : Bottom, Key));
            },
            py::arg("name"), py::arg("top"), py::arg("bottom") = py::none(),
            "Sets a parameter at the top and bottom (bottom = top when not given)");
}
} // namespace

void BindProject(py::module_& M); // kolmar_project.cpp

PYBIND11_MODULE(_kolmar, M) {
    M.doc() = "Compiled core of the kolmar package";
    BindLayer(M);
    BindProject(M);
    M.def("_load", &LoadProject, py::arg("path"));
    M.def("_save", &SaveProject, py::arg("project"), py::arg("path"));
    M.def("_run", &RunProject, py::arg("project"), py::arg("output_dir"), py::arg("name"));
    M.def("_status_meaning", &StatusMeaning, py::arg("status"));
    M.def("_bidirectional", &Bidirectional, py::arg("project"), py::arg("cell_depth"),
          py::arg("cell_capacity"), py::arg("at_balance"));
}
