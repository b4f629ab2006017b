// The undo history of a project: changes named by what differs, exact restoration (a unit
// switch taken back gives the very numbers), the saved state and the redo steps a new change
// drops.
#include "gui/data/DataUnit.h"
#include "gui/data/ProjectHistory.h"

#include <gtest/gtest.h>

TEST(ProjectHistory, ChangesAreNamedByWhatDiffers) {
    auto a = TProgramData::Create();
    a->D.Add();
    const struct {
        const char* name;
        void (*change)(TProgramData&);
    } cases[] = {
        {"Change Shaft Diameter", [](TProgramData& p) { p.DSTART = 3; }},
        {"Change Layer 2 Total Unit Weight",
         [](TProgramData& p) { p.D[1].Params.SetValue(1, 0, 120); }},
        {"Change Layer 1 Depth at Bottom", [](TProgramData& p) { p.D[0].Depth = 20; }},
        {"Change Layer 2 Soil Type", [](TProgramData& p) { p.D[1].SetSoilType(2); }},
        {"Change Soil Layers", [](TProgramData& p) { p.D.Delete(0); }},
        {"Change Water Table Depth and Design Load",
         [](TProgramData& p) {
             p.WTD = 5;
             p.LPD = 300;
         }},
        {"Change 3 Values",
         [](TProgramData& p) {
             p.FST = 7;
             p.FSB = 8;
             p.TblTZDepth[0] = 4;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TProjectHistory history;
        history.Reset(*a);
        TProgramData b = *a;
        c.change(b);
        ASSERT_TRUE(history.Commit(b));
        EXPECT_EQ(history.UndoName(), c.name);
        EXPECT_FALSE(history.Commit(b)); // nothing new
    }
}

TEST(ProjectHistory, UndoRestoresExactlyAndFollowsTheSavedState) {
    auto p = TProgramData::Create();
    p->FileName = "/tmp/a.kx8d";
    p->D[0].Depth = 70;
    TProjectHistory history;
    history.Reset(*p);
    p->SetUnits(2);
    history.Commit(*p, "Switch to SI Units");
    EXPECT_FALSE(history.AtSavedState());
    p->WTD = 3;
    history.Commit(*p);
    history.MarkSaved(*p);

    // Reading a run's results sets ID2: no change of the project, and kept through undo.
    p->ID2 = 2;
    EXPECT_FALSE(history.Commit(*p));
    ASSERT_TRUE(history.Undo(*p));
    EXPECT_EQ(p->ID2, 2);
    EXPECT_EQ(history.UndoName(), "Switch to SI Units");
    EXPECT_EQ(history.RedoName(), "Change Water Table Depth");
    EXPECT_FALSE(history.AtSavedState());
    ASSERT_TRUE(history.Undo(*p));
    EXPECT_EQ(p->fUnits, 1);
    EXPECT_EQ(p->D[0].Depth, 70.0);        // not 70 converted there and back
    EXPECT_EQ(p->FileName, "/tmp/a.kx8d"); // the file name is no value of the history
    EXPECT_FALSE(history.Undo(*p));
    ASSERT_TRUE(history.Redo(*p));
    ASSERT_TRUE(history.Redo(*p));
    EXPECT_TRUE(history.AtSavedState());
    EXPECT_EQ(p->WTD, 3.0);

    // A change after an undo drops the redo steps; the saved state is then out of reach.
    history.Undo(*p);
    p->WTD = 4;
    ASSERT_TRUE(history.Commit(*p));
    EXPECT_FALSE(history.CanRedo());
    EXPECT_FALSE(history.AtSavedState());
    history.Undo(*p);
    EXPECT_FALSE(history.AtSavedState());
}
