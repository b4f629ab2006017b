// Undo history of a project: whole states, compared value by value to name a change.
//
// A project is small (at most 40 layers of two rows of parameters), so the history keeps whole
// copies of it rather than inverse operations: undo is then exact for every change, including
// a switch of the unit system, whose conversion back would round.
#include "gui/data/ProjectHistory.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <utility>

namespace {

std::string TitleCase(std::string text) {
    bool start = true;
    for (char& c : text) {
        if (start)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        start = c == ' ';
    }
    return text;
}

// The values of a project outside its tables, with the names the user knows them by.
struct TScalarField {
    const char* Name;
    std::function<bool(const TProgramData&, const TProgramData&)> Same;
};

template <class T>
std::function<bool(const TProgramData&, const TProgramData&)> Member(T TProgramData::*M) {
    return [M](const TProgramData& A, const TProgramData& B) { return A.*M == B.*M; };
}

const std::vector<TScalarField>& ScalarFields() {
    using P = TProgramData;
    static const std::vector<TScalarField> fields{
        {"Units", Member(&P::fUnits)},
        {"Project Title", Member(&P::Title)},
        {"Design Method", Member(&P::NLRFD)},
        {"Computation Method", Member(&P::METHOD)},
        {"Loading", Member(&P::KCYCL)},
        {"Uplift Reduction Factor", Member(&P::RCYCL)},
        {"Shaft Diameter", Member(&P::DSTART)},
        {"Maximum Shaft Diameter", Member(&P::DIALIM)},
        {"Bell Diameter Ratio", Member(&P::RATIO)},
        {"Bell Angle", Member(&P::BELANGL)},
        {"Top Length Without Side Friction", Member(&P::TOPLENG)},
        {"Bottom Length Without Side Friction", Member(&P::BS)},
        {"Shaft Modulus", Member(&P::EPILE)},
        {"Water Table Depth", Member(&P::WTD)},
        {"Shaft Length", Member(&P::PD)},
        {"Design Load", Member(&P::LPD)},
        {"Minimum Shaft Length", Member(&P::PDMIN)},
        {"Shaft Length Increment", Member(&P::PDINCR)},
        {"Shaft Diameter Increment", Member(&P::DIAMINCR)},
        {"Multiple Shaft Lengths", Member(&P::IPENT)},
        {"Design Charts", Member(&P::IChart)},
        {"Number of Settlements", Member(&P::NPOINTPD)},
        {"Design-Chart Settlements", Member(&P::PDSETT)},
        {"Side Factor of Safety", Member(&P::FST)},
        {"Base Factor of Safety", Member(&P::FSB)},
        {"End Bearing in Sands", Member(&P::IMOD)},
        {"Output Increment", Member(&P::PINC)},
        {"Elevation Labels", Member(&P::UseElevation)},
        {"Elevation for Top of Shaft", Member(&P::ValElevation)},
        {"Print t-z Curves", Member(&P::PrintTZCurves)},
        {"File Layout", Member(&P::Yesnewversion)},
    };
    return fields;
}

const char* LayerColumnName(int Col) {
    switch (Col) {
    case lcDepth:
        return "Depth at Bottom";
    case lcMaxSideFriction:
        return "Max. Side Friction";
    case lcMaxEndBearing:
        return "Max. End Bearing";
    case lcLrfdSide:
        return "LRFD Factor on Side Friction";
    default:
        return "LRFD Factor on End Bearing";
    }
}

void LayerDifferences(const TSoilLayer& A, const TSoilLayer& B, int Row,
                      std::vector<std::string>& Names) {
    const std::string layer = "Layer " + std::to_string(Row + 1) + " ";
    if (A.SoilType() != B.SoilType()) {
        Names.push_back(layer + "Soil Type");
        return; // a new kind brings a new parameter set
    }
    for (int col : {lcDepth, lcMaxSideFriction, lcMaxEndBearing, lcLrfdSide, lcLrfdTip})
        if (A.Real(col) != B.Real(col))
            Names.push_back(layer + LayerColumnName(col));
    for (int col = 0; col < A.Params.ColumnCount(); ++col)
        for (int row = 0; row < TParameterSet::RowCount; ++row)
            if (A.Params.Value(row, col) != B.Params.Value(row, col)) {
                Names.push_back(layer + TitleCase(A.Params.Kind().Columns[col].Name));
                break;
            }
}

std::string ChangeName(const std::vector<std::string>& Differences) {
    if (Differences.size() == 1)
        return "Change " + Differences.front();
    if (Differences.size() == 2)
        return "Change " + Differences[0] + " and " + Differences[1];
    return "Change " + std::to_string(Differences.size()) + " Values";
}

} // namespace

std::vector<std::string> ProjectDifferences(const TProgramData& A, const TProgramData& B) {
    std::vector<std::string> names;
    for (const TScalarField& field : ScalarFields())
        if (!field.Same(A, B))
            names.push_back(field.Name);
    if (A.D.RowCount() != B.D.RowCount()) {
        names.push_back("Soil Layers");
    } else {
        for (int row = 0; row < A.D.RowCount(); ++row)
            LayerDifferences(A.D[row], B.D[row], row, names);
    }
    if (!std::equal(A.TblTZDepth.begin(), A.TblTZDepth.end(), B.TblTZDepth.begin(),
                    B.TblTZDepth.end()))
        names.push_back("t-z Curve Depths");
    return names;
}

void RestoreProjectData(TProgramData& Target, const TProgramData& Source) {
    std::string fileName = std::move(Target.FileName);
    std::function<void()> onUnitsChanged = std::move(Target.OnUnitsChanged);
    const bool changed = Target.DataChanged;
    const bool damaged = Target.Damaged;
    const TFileLayout layout = Target.Layout;
    const int results = Target.ID2;
    Target = Source;
    Target.FileName = std::move(fileName);
    Target.OnUnitsChanged = std::move(onUnitsChanged);
    Target.DataChanged = changed;
    Target.Damaged = damaged;
    Target.Layout = layout;
    Target.ID2 = results;
}

void TProjectHistory::Reset(const TProgramData& Current) {
    fStates.clear();
    fStates.push_back({Current, {}});
    fAt = 0;
    fSaved = 0;
}

bool TProjectHistory::Commit(const TProgramData& Current, const std::string& Name) {
    if (fStates.empty()) {
        Reset(Current);
        return false;
    }
    const std::vector<std::string> differences = ProjectDifferences(fStates[fAt].Data, Current);
    if (differences.empty())
        return false;
    fStates.erase(fStates.begin() + static_cast<std::ptrdiff_t>(fAt) + 1, fStates.end());
    if (fSaved != kNoSavedState && fSaved > fAt)
        fSaved = kNoSavedState; // the saved state was undone and is now out of reach
    fStates.push_back({Current, Name.empty() ? ChangeName(differences) : Name});
    ++fAt;
    if (fStates.size() > MaxChanges + 1) {
        fStates.erase(fStates.begin());
        --fAt;
        fSaved = fSaved == 0 || fSaved == kNoSavedState ? kNoSavedState : fSaved - 1;
    }
    return true;
}

void TProjectHistory::MarkSaved(const TProgramData& Current) {
    if (fStates.empty()) {
        Reset(Current);
        return;
    }
    // The saved project is the state the history is at, normalised by the save.
    fStates[fAt].Data = Current;
    fSaved = fAt;
}

std::string TProjectHistory::UndoName() const {
    return CanUndo() ? fStates[fAt].Name : std::string();
}

std::string TProjectHistory::RedoName() const {
    return CanRedo() ? fStates[fAt + 1].Name : std::string();
}

bool TProjectHistory::Undo(TProgramData& Project) {
    if (!CanUndo())
        return false;
    --fAt;
    RestoreProjectData(Project, fStates[fAt].Data);
    return true;
}

bool TProjectHistory::Redo(TProgramData& Project) {
    if (!CanRedo())
        return false;
    ++fAt;
    RestoreProjectData(Project, fStates[fAt].Data);
    return true;
}
