// The project (TProgramData) as the Python class kolmar.Project: every scalar field by its own
// name, with its unit in the docstring; the layer table and the t-z depths as lists; the unit
// switch. Values are in the project's own system: English ft, tons, lbs/ft^2, lbs/ft^3,
// lbs/in^2 and in; SI m, kN, kN/m^2, kN/m^3, kN/m^2 and m.
#include "gui/data/DataUnit.h"

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cmath>
#include <string>
#include <vector>

namespace py = pybind11;

namespace {

using TProject = py::class_<TProgramData, std::unique_ptr<TProgramData>>;

void Real(TProject& C, const char* Name, double TProgramData::*Field, const char* Doc) {
    C.def_property(
        Name, [Field](const TProgramData& P) { return P.*Field; },
        [Field, Name](TProgramData& P, double V) {
            if (!std::isfinite(V)) {
                throw py::value_error(std::string(Name) + " must be a finite number");
            }
            P.*Field = V;
        },
        Doc);
}

void Integer(TProject& C, const char* Name, int TProgramData::*Field, const char* Doc) {
    C.def_readwrite(Name, Field, Doc);
}

int CheckedIndex(int I, int Count, const char* What) {
    const int Index = I < 0 ? I + Count : I;
    if (Index < 0 || Index >= Count) {
        throw py::index_error(std::string(What) + " index " + std::to_string(I) +
                              " out of range (0.." + std::to_string(Count - 1) + ")");
    }
    return Index;
}

void BindScalars(TProject& C) {
    C.def_readwrite("Title", &TProgramData::Title, "One line of project description");
    Real(C, "PINC", &TProgramData::PINC,
         "Output increment (depth step of printed results), ft or m");
    Integer(C, "PrintTZCurves", &TProgramData::PrintTZCurves,
            "1 = additional t-z curves at the depths of TblTZDepth");
    Integer(C, "METHOD", &TProgramData::METHOD,
            "Computation method (kolmar.Method): 1 design load LPD given, 2 shaft length PD given");
    Integer(C, "KCYCL", &TProgramData::KCYCL, "Loading (kolmar.Loading): 1 compression, 2 uplift");
    Real(C, "RCYCL", &TProgramData::RCYCL, "Reduction factor for uplift (1.0 under compression)");
    Real(C, "DSTART", &TProgramData::DSTART, "Minimum (or only) shaft diameter, ft or m");
    Real(C, "DIALIM", &TProgramData::DIALIM, "Maximum shaft diameter, ft or m (0 = the minimum)");
    Real(C, "RATIO", &TProgramData::RATIO, "Bell diameter / shaft diameter (0 = straight shaft)");
    Real(C, "BELANGL", &TProgramData::BELANGL, "Bell angle from vertical, degrees");
    Real(C, "TOPLENG", &TProgramData::TOPLENG, "Upper length without side friction, ft or m");
    Real(C, "BS", &TProgramData::BS, "Bottom length without side friction, ft or m");
    Real(C, "EPILE", &TProgramData::EPILE, "Elastic modulus of the shaft, lbs/in^2 or kN/m^2");
    Real(C, "WTD", &TProgramData::WTD, "Depth of the water table, ft or m");
    Real(C, "PD", &TProgramData::PD,
         "Shaft length (METHOD 2; the maximum for multiple lengths), ft or m");
    Real(C, "PDMIN", &TProgramData::PDMIN,
         "Minimum shaft length for multiple lengths and design charts, ft or m");
    Real(C, "PDINCR", &TProgramData::PDINCR, "Shaft length increment, ft or m");
    Real(C, "DIAMINCR", &TProgramData::DIAMINCR,
         "Shaft diameter increment for design charts, ft or m");
    Integer(C, "NPOINTPD", &TProgramData::NPOINTPD, "Design-chart settlements in use, 1..10");
    Real(C, "FST", &TProgramData::FST, "ASD factor of safety on side friction");
    Real(C, "FSB", &TProgramData::FSB, "ASD factor of safety on base capacity");
    Real(C, "LPD", &TProgramData::LPD, "Design load (METHOD 1), tons or kN");
    Real(C, "ValElevation", &TProgramData::ValElevation,
         "Elevation of the shaft top for plot labels, ft or m (never converted)");
    Integer(C, "UseElevation", &TProgramData::UseElevation, "1 = depth plots show elevations");
    Integer(C, "ID2", &TProgramData::ID2,
            "Which settlement results exist (0 when rock layers are present)");
    Integer(C, "IPENT", &TProgramData::IPENT, "1 = multiple shaft lengths");
    Integer(C, "IChart", &TProgramData::IChart, "1 = design charts");
    Integer(C, "IMOD", &TProgramData::IMOD,
            "Sand end bearing: 1 linear to 10 diameters, 0 full at any depth");
    Integer(C, "Yesnewversion", &TProgramData::Yesnewversion,
            "0 when read from a 6.0-layout file (no ASD/LRFD plot columns)");
    Integer(C, "NLRFD", &TProgramData::NLRFD, "Design method (kolmar.DesignMethod): 1 LRFD, 2 ASD");
}

void BindTables(TProject& C) {
    C.def_property(
        "PDSETT",
        [](const TProgramData& P) { return std::vector<double>(P.PDSETT.begin(), P.PDSETT.end()); },
        [](TProgramData& P, const std::vector<double>& V) {
            if (V.size() > P.PDSETT.size()) {
                throw py::value_error("PDSETT holds at most 10 settlements");
            }
            P.PDSETT.fill(0.0);
            std::copy(V.begin(), V.end(), P.PDSETT.begin());
        },
        "Design-chart settlements (shaft-top movements), in or m; 10 values");
    C.def_property(
        "TblTZDepth",
        [](const TProgramData& P) {
            return std::vector<double>(P.TblTZDepth.begin(), P.TblTZDepth.end());
        },
        [](TProgramData& P, const std::vector<double>& V) {
            if (!P.TblTZDepth.SetRowCount(static_cast<int>(V.size()))) {
                throw py::value_error("TblTZDepth holds 1..50 depths");
            }
            for (std::size_t I = 0; I < V.size(); ++I) {
                P.TblTZDepth[static_cast<int>(I)] = V[I];
            }
        },
        "Depths of the additional t-z curves, ft or m (1..50 values)");
    C.def("_layer_count", [](const TProgramData& P) { return P.D.RowCount(); });
    C.def("_get_layer", [](const TProgramData& P, int I) {
        return P.D[CheckedIndex(I, P.D.RowCount(), "layer")];
    });
    C.def("_set_layer", [](TProgramData& P, int I, const TSoilLayer& L) {
        P.D[CheckedIndex(I, P.D.RowCount(), "layer")] = L;
    });
    C.def("_insert_layer", [](TProgramData& P, int I, const TSoilLayer& L) {
        const int Index = std::clamp(I < 0 ? I + P.D.RowCount() : I, 0, P.D.RowCount());
        if (!P.D.Insert(Index, L)) {
            throw py::value_error("a project holds at most 40 layers");
        }
    });
    C.def("_delete_layer", [](TProgramData& P, int I) {
        if (!P.D.Delete(CheckedIndex(I, P.D.RowCount(), "layer"))) {
            throw py::value_error("a project keeps at least one layer");
        }
    });
}
} // namespace

void BindProject(py::module_& M) {
    TProject C(M, "Project",
               "One project: the shaft, its loading, the controls and the soil layers. Project() "
               "holds the defaults of a new project; values are in the project's unit system");
    C.def(py::init([] { return TProgramData::Create(); }));
    C.def("__copy__", [](const TProgramData& P) { return std::make_unique<TProgramData>(P); });
    C.def(
        "__deepcopy__",
        [](const TProgramData& P, const py::dict&) { return std::make_unique<TProgramData>(P); },
        py::arg("memo"));
    C.def_readwrite("FileName", &TProgramData::FileName, "Path of the project file");
    C.def_property(
        "fUnits", [](const TProgramData& P) { return P.fUnits; },
        [](TProgramData& P, int V) { P.SetUnits(V); },
        "Unit system: 1 English, 2 SI; assigning converts every stored value");
    C.def("_to_text", [](const TProgramData& P) {
        TProgramData Copy = P;
        return Copy.SaveToText();
    });
    BindScalars(C);
    BindTables(C);
}
