// The undo history of a project: the project's states between its changes, each change named
// for the Edit menu ("Change Layer 2 Total Unit Weight"), and the state that was last saved, so
// that undoing back to it clears the unsaved mark. Plain C++ over TProgramData.
// Exports TProjectHistory, ProjectDifferences and RestoreProjectData.
#pragma once

#include "gui/data/DataUnit.h"

#include <cstddef>
#include <string>
#include <vector>

// What differs between two projects, as names for the user ("Shaft Diameter", "Layer 2 Total
// Unit Weight", "Soil Layers"); empty when every value of the file is the same. The file name,
// the unsaved and damaged marks and the layout the project came from are no values of it, nor
// is ID2, which tells what the last run's plot file holds (reading results sets it).
std::vector<std::string> ProjectDifferences(const TProgramData& A, const TProgramData& B);

// Gives Target every value of Source, keeping Target's file name, marks, layout, callback and
// the ID2 of its results.
void RestoreProjectData(TProgramData& Target, const TProgramData& Source);

class TProjectHistory {
public:
    // At most this many changes are kept; the oldest go first.
    static constexpr std::size_t MaxChanges = 500;

    // Forgets every change: Current is the one state, and it is the saved one (New, Open).
    void Reset(const TProgramData& Current);
    // Records Current as a change when it differs from the state the history is at; the redo
    // steps go. Name names the change ("Delete Layer 3"); empty: named by what differs.
    // Returns true when a change was recorded.
    bool Commit(const TProgramData& Current, const std::string& Name = {});
    // The state the history is at is the one just saved (Save replaces it by the saved one,
    // which the save normalised).
    void MarkSaved(const TProgramData& Current);
    // True while the history is at the state last saved.
    bool AtSavedState() const { return fSaved == fAt; }

    bool CanUndo() const { return fAt > 0; }
    bool CanRedo() const { return fAt + 1 < fStates.size(); }
    // The name of the change that Undo takes back and Redo makes again; empty when none.
    std::string UndoName() const;
    std::string RedoName() const;
    // Restores the state before the last change (after the next change) into Project; false
    // and nothing changed when there is none.
    bool Undo(TProgramData& Project);
    bool Redo(TProgramData& Project);

private:
    struct TState {
        TProgramData Data;
        std::string Name; // of the change that led to this state
    };
    std::vector<TState> fStates; // fStates[0] is the state without any change
    std::size_t fAt = 0;
    static constexpr std::size_t kNoSavedState = static_cast<std::size_t>(-1);
    std::size_t fSaved = 0;
};
