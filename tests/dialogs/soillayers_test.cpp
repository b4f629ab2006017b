// The soil layer editor and the layer dialog.
#include "ScriptedDialogs.h"
#include "gui/data/DataUnit.h"
#include "gui/dialogs/SoilLayers.h"
#include "gui/dialogs/soils.h"
#include "ui/model/units.h"
#include "ui/widgets/DataEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

#include <algorithm>

class TSoilLayersTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void InsertAtSecondOfThreeMovesLayersDown();
    void DeleteAsksAndMovesLayersUp();
    void ButtonsFollowTheLayerLimits();
    void ChoosingASoilTypeCarriesValues();
    void LrfdColumnsAndHeadingsFollowTheProject();
    void FailingFieldKeepsTheTableAsItWas();
    void KoCheckKeepsSandDialogOpen();
    void SandProcedureClearsTheOtherCoefficients();
    void WeakRockPageCopiesTopToBottom();

private:
    // Three layers: clay to 10, sand to 20, strong rock to 30, each with distinct values.
    std::unique_ptr<TProgramData> fProject;
    TScriptedDialogs fDialogs;
};

void TSoilLayersTest::init() {
    fProject = TProgramData::Create();
    TProgramData& p = *fProject;
    p.D.SetRowCount(3);
    const int types[] = {kolmar::kClay, kolmar::kSand, kolmar::kStrongRockSideOrBase};
    const double lrfdSide[] = {0.5, 0.6, 0.7};
    for (int i = 0; i < 3; ++i) {
        p.D[i].SetSoilType(types[i]);
        p.D[i].Depth = 10.0 * (i + 1);
        p.D[i].MaxSideFriction = 100.0 * (i + 1);
        p.D[i].LrfdSide = lrfdSide[i];
        p.D[i].Params.SetValue(0, 0, 110 + i);
        p.D[i].Params.SetValue(1, 0, 120 + i);
    }
    p.DataChanged = false;
    fDialogs.Messages.clear();
    fDialogs.Answers.clear();
}

void TSoilLayersTest::InsertAtSecondOfThreeMovesLayersDown() {
    TDlgSoilLayers editor(*fProject, fDialogs);
    editor.LoadFromProject();
    editor.Field(0, lcDepth)->setText(QStringLiteral("11")); // typed, not yet written back
    editor.SetFocusRow(1);
    editor.btnInsertClick();

    const TProgramData& p = *fProject;
    QCOMPARE(p.D.RowCount(), 4);
    QCOMPARE(p.D[0].Depth, 11.0);
    QCOMPARE(p.D[1].SoilType(), int(kolmar::kSand));
    QCOMPARE(p.D[1].Depth, 0.0);
    QCOMPARE(p.D[1].Params.Value(0, 0), 0.0);
    QCOMPARE(p.D[1].LrfdSide, 1.0);
    QCOMPARE(p.D[2].SoilType(), int(kolmar::kSand));
    QCOMPARE(p.D[2].Depth, 20.0);
    QCOMPARE(p.D[2].Params.Value(1, 0), 121.0);
    QCOMPARE(p.D[3].SoilType(), int(kolmar::kStrongRockSideOrBase));
    QCOMPARE(p.D[3].Params.Value(0, StrongRockCol::Qu), 112.0);
    QVERIFY(p.DataChanged);
    // The rows show the moved layers.
    QCOMPARE(editor.LayerGrid->rowCount(), 4);
    QCOMPARE(editor.EditButton(3)->text(), QStringLiteral("Edit Layer 4"));
    QCOMPARE(editor.SoilTypeBox(3)->currentIndex(), kolmar::kStrongRockSideOrBase - 1);
    QCOMPARE(editor.Field(2, lcDepth)->text(), QStringLiteral("20"));
    QCOMPARE(editor.Field(1, lcMaxSideFriction)->text(), QStringLiteral("0"));
}

void TSoilLayersTest::DeleteAsksAndMovesLayersUp() {
    TDlgSoilLayers editor(*fProject, fDialogs);
    editor.LoadFromProject();
    editor.SetFocusRow(1);
    fDialogs.Answers = {TUserDialogs::TAnswer::No};
    editor.btnDeleteClick();
    QCOMPARE(fDialogs.TakeMessage(), QStringLiteral("Do you want to delete soil layer in row 2"));
    QCOMPARE(fProject->D.RowCount(), 3);

    editor.btnDeleteClick(); // Yes
    QCOMPARE(fDialogs.Messages.size(), 1);
    QCOMPARE(fProject->D.RowCount(), 2);
    QCOMPARE(fProject->D[1].SoilType(), int(kolmar::kStrongRockSideOrBase));
    QCOMPARE(fProject->D[1].Depth, 30.0);
    QCOMPARE(editor.LayerGrid->rowCount(), 2);

    editor.chkConfirmDeletion->setChecked(false);
    fDialogs.Messages.clear();
    editor.btnDeleteClick(); // the last row goes without a question
    QVERIFY(fDialogs.Messages.isEmpty());
    QCOMPARE(fProject->D.RowCount(), 1);
    QCOMPARE(editor.FocusRow(), 0); // limited to the last row
    QCOMPARE(fProject->D[0].SoilType(), int(kolmar::kClay));
}

void TSoilLayersTest::ButtonsFollowTheLayerLimits() {
    TDlgSoilLayers editor(*fProject, fDialogs);
    editor.LoadFromProject();
    QVERIFY(editor.btnAdd->isEnabled());
    QVERIFY(editor.btnDelete->isEnabled());
    while (fProject->D.RowCount() < MaxLayers) {
        editor.btnAddClick();
    }
    QVERIFY(!editor.btnAdd->isEnabled());
    QVERIFY(!editor.btnInsert->isEnabled());
    QCOMPARE(fProject->D[MaxLayers - 1].SoilType(), int(kolmar::kSand));
    editor.btnInsertClick(); // refused: still 40
    QCOMPARE(fProject->D.RowCount(), MaxLayers);

    editor.chkConfirmDeletion->setChecked(false);
    while (editor.btnDelete->isEnabled()) {
        editor.btnDeleteClick();
    }
    QCOMPARE(fProject->D.RowCount(), 1);
    QVERIFY(editor.btnAdd->isEnabled());
    editor.btnDeleteClick(); // the last layer stays
    QCOMPARE(fProject->D.RowCount(), 1);
}

void TSoilLayersTest::ChoosingASoilTypeCarriesValues() {
    const struct {
        int From, To;
        int FromCol, ToCol; // a value that must survive, top and bottom apart
    } cases[] = {
        {kolmar::kClay, kolmar::kClayShale, ClayCol::Cohesion, ClayCol::Cohesion},
        {kolmar::kStrongRockSideOrBase, kolmar::kStrongRockSideAndBase, StrongRockCol::RQD,
         StrongRockCol::RQD},
        {kolmar::kDecomposedRock, kolmar::kWeakRock, DecomposedCol::Modulus, WeakRockCol::Modulus},
    };
    for (const auto& c : cases) {
        fProject->D[0].SetSoilType(c.From);
        fProject->D[0].Params.SetValue(0, c.FromCol, 7.5);
        fProject->D[0].Params.SetValue(1, c.FromCol, 8.5);
        fProject->DataChanged = false;
        TDlgSoilLayers editor(*fProject, fDialogs);
        editor.LoadFromProject();
        editor.SoilTypeBox(0)->setCurrentIndex(c.To - 1);
        const TSoilLayer& layer = fProject->D[0];
        QCOMPARE(layer.SoilType(), c.To);
        QCOMPARE(layer.Params.Value(0, c.ToCol), 7.5);
        QCOMPARE(layer.Params.Value(1, c.ToCol), 8.5);
        QCOMPARE(layer.Depth, 10.0);
        QVERIFY(fProject->DataChanged);
    }
}

void TSoilLayersTest::LrfdColumnsAndHeadingsFollowTheProject() {
    fProject->NLRFD = 2;
    TDlgSoilLayers editor(*fProject, fDialogs);
    editor.LoadFromProject();
    QCOMPARE(editor.windowTitle(), QStringLiteral("Soill Layers"));
    QVERIFY(editor.LayerGrid->isColumnHidden(5));
    QVERIFY(editor.LayerGrid->isColumnHidden(6));
    QCOMPARE(editor.Heading(2), QStringLiteral("Depth at Bottom * \n of each layer (ft) "));
    QCOMPARE(editor.Heading(3), QStringLiteral("Max. Side Friction ** \n       (lb/ft^2)    "));
    editor.Field(2, lcLrfdSide)->setText(QStringLiteral("0.3")); // hidden under ASD
    QVERIFY(editor.StoreToProject());
    QCOMPARE(fProject->D[2].LrfdSide, 0.7); // kept in the table, not taken from the grid

    fProject->NLRFD = 1;
    fProject->SetUnits(UnitsSI);
    editor.LoadFromProject();
    QVERIFY(!editor.LayerGrid->isColumnHidden(5));
    QCOMPARE(editor.Heading(2), QStringLiteral("Depth at Bottom * \n of each layer (m) "));
    QCOMPARE(editor.Heading(4), QStringLiteral("Max. End Bearing ** \n       (kN/m^2)    "));
    QCOMPARE(editor.Heading(6), QStringLiteral("LRFD Res. Factor\n (End Bearing) "));
    QCOMPARE(editor.Field(0, lcDepth)->text(), QStringLiteral("3.048"));
    editor.Field(2, lcLrfdSide)->setText(QStringLiteral("0.3"));
    QVERIFY(editor.StoreToProject());
    QCOMPARE(fProject->D[2].LrfdSide, 0.3);
}

void TSoilLayersTest::FailingFieldKeepsTheTableAsItWas() {
    TDlgSoilLayers editor(*fProject, fDialogs);
    editor.LoadFromProject();
    editor.Field(0, lcDepth)->setText(QStringLiteral("15"));
    editor.Field(2, lcMaxEndBearing)->setText(QStringLiteral("12+"));
    QVERIFY(!editor.StoreToProject());
    QCOMPARE(fDialogs.TakeMessage(),
             QStringLiteral("Layer 3, max. end bearing:\nEntry could not be evaluated:\ninvalid "
                            "expression"));
    QCOMPARE(fProject->D[0].Depth, 10.0);
    editor.btnAddClick(); // a failing field also stops Add
    QCOMPARE(fProject->D.RowCount(), 3);
    QVERIFY(!fProject->DataChanged);
}

void TSoilLayersTest::KoCheckKeepsSandDialogOpen() {
    TDlgSoils dialog(*fProject, fDialogs, 1); // the sand layer, Ko method
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Data for Layer 2"));
    QCOMPARE(dialog.PageTitle(), QStringLiteral("Sand (FHWA Spec.)"));
    QVERIFY(dialog.rbKoMethod->isChecked());
    dialog.done(QDialog::Accepted);
    QCOMPARE(fDialogs.TakeMessage(),
             QStringLiteral("Coefficient of Lateral Earth Pressure, Ko,\nshould be greater than "
                            "zero while using Ko Method\nPlease Check!"));
    QVERIFY(dialog.isVisible());

    dialog.Field(SandCol::Ko, true)->setText(QStringLiteral("0.4")); // one of the two will do
    dialog.Field(SandCol::UnitWeight, false)->setText(QStringLiteral("115"));
    dialog.Field(SandCol::BlowCounts, false)->setText(QStringLiteral("12.6"));
    dialog.done(QDialog::Accepted);
    QVERIFY(fDialogs.Messages.isEmpty());
    QVERIFY(!dialog.isVisible());
    const TParameterSet& set = fProject->D[1].Params;
    QCOMPARE(set.Value(1, SandCol::Ko), 0.4);
    QCOMPARE(set.Value(0, SandCol::UnitWeight), 115.0);
    QCOMPARE(set.Value(0, SandCol::BlowCounts), 13.0); // blow counts are whole
    QCOMPARE(set.IntValue(0, SandCol::Method), 1);
    QVERIFY(fProject->DataChanged);
}

void TSoilLayersTest::SandProcedureClearsTheOtherCoefficients() {
    TParameterSet& set = fProject->D[1].Params;
    for (int col : {SandCol::Ko, SandCol::Beta, SandCol::M, SandCol::InterfaceAngle}) {
        set.SetValue(0, col, 0.5);
        set.SetValue(1, col, 0.6);
    }
    const struct {
        int Method;
        std::vector<int> Cleared, Kept;
        std::vector<int> Enabled; // columns whose fields can be edited
    } cases[] = {
        {2, {SandCol::Ko, SandCol::InterfaceAngle, SandCol::M}, {SandCol::Beta}, {SandCol::Beta}},
        {3,
         {SandCol::Ko, SandCol::Beta},
         {SandCol::M, SandCol::InterfaceAngle},
         {SandCol::M, SandCol::InterfaceAngle}},
        {1,
         {SandCol::Beta, SandCol::M},
         {SandCol::Ko, SandCol::InterfaceAngle},
         {SandCol::Ko, SandCol::InterfaceAngle}},
    };
    for (const auto& c : cases) {
        for (int col : {SandCol::Ko, SandCol::Beta, SandCol::M, SandCol::InterfaceAngle}) {
            set.SetValue(0, col, 0.5);
            set.SetValue(1, col, 0.6);
        }
        TDlgSoils dialog(*fProject, fDialogs, 1);
        QRadioButton* choice = c.Method == 1   ? dialog.rbKoMethod
                               : c.Method == 2 ? dialog.rbBetaMethod
                                               : dialog.rbChenMethod;
        choice->click();
        for (int col : {SandCol::Ko, SandCol::Beta, SandCol::M, SandCol::InterfaceAngle}) {
            const bool enabled =
                std::find(c.Enabled.begin(), c.Enabled.end(), col) != c.Enabled.end();
            QCOMPARE(dialog.Field(col, false)->isEnabled(), enabled);
        }
        QVERIFY(dialog.StoreToProject());
        QCOMPARE(set.IntValue(0, SandCol::Method), c.Method);
        QCOMPARE(set.IntValue(1, SandCol::Method), c.Method);
        for (int col : c.Cleared) {
            QCOMPARE(set.Value(0, col), 0.0);
            QCOMPARE(set.Value(1, col), 0.0);
        }
        for (int col : c.Kept) {
            QCOMPARE(set.Value(1, col), 0.6);
        }
    }
}

void TSoilLayersTest::WeakRockPageCopiesTopToBottom() {
    fProject->D[2].SetSoilType(kolmar::kWeakRock);
    fProject->D[2].Params.SetValue(0, WeakRockCol::Condition, 3);
    TDlgSoils dialog(*fProject, fDialogs, 2);
    QCOMPARE(dialog.PageTitle(), QStringLiteral("Weak Rock (FHWA Spec.)"));
    QCOMPARE(dialog.cbConditionTop->currentText(), QStringLiteral("3"));
    dialog.Field(WeakRockCol::Qu, false)->setText(QStringLiteral("2*1000"));
    dialog.Field(WeakRockCol::Slump, false)->setText(QStringLiteral("7"));
    dialog.btnCopyClick();
    QVERIFY(dialog.StoreToProject());
    const TParameterSet& set = fProject->D[2].Params;
    QCOMPARE(set.Value(1, WeakRockCol::Qu), 2000.0);
    QCOMPARE(set.Value(1, WeakRockCol::Slump), 7.0);
    QCOMPARE(set.IntValue(1, WeakRockCol::Condition), 3);
    QCOMPARE(set.Value(0, WeakRockCol::SocketDiameter), 0.0);
}

QTEST_MAIN(TSoilLayersTest)
#include "soillayers_test.moc"
