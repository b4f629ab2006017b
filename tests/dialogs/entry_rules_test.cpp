// The entry rules of the numeric fields: which selection takes an operator as appended, the
// minus as a sign, the physical limit of every field with its message, the layer grid's focus
// after a bad cell, and a refusal reported once.
#include "ScriptedDialogs.h"
#include "gui/data/DataUnit.h"
#include "gui/dialogs/SafetyFactor.h"
#include "gui/dialogs/ShaftProperties.h"
#include "gui/dialogs/SoilLayers.h"
#include "gui/dialogs/VaryLength.h"
#include "gui/dialogs/WaterTable.h"
#include "gui/dialogs/designchart.h"
#include "gui/dialogs/shaftlength.h"
#include "gui/dialogs/soils.h"
#include "ui/model/units.h"
#include "ui/widgets/DataEdit.h"

#include <QCheckBox>
#include <QTableWidget>
#include <QTest>
#include <QVBoxLayout>

#include <functional>
#include <memory>

class TEntryRulesTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void SelectionByFieldOrByUser();
    void EveryLimitWithItsMessage();
    void LayerDialogLimits();
    void GridFocusReturnsToTheBadCell();
    void BadSettlementReportedOnce();

private:
    std::unique_ptr<TProgramData> project;
    TScriptedDialogs dialogs;
};

void TEntryRulesTest::init() {
    project = TProgramData::Create();
    dialogs.Messages.clear();
}

// How the whole text came to be selected before the key is typed.
enum class TSelection { ByEnter, ByTab, ByUserShiftEnd, ByUserMouse, None };

void TEntryRulesTest::SelectionByFieldOrByUser() {
    const struct {
        TSelection How;
        const char* Typed;
        const char* Text; // the field's text afterwards, before any evaluation
    } cases[] = {
        // The field's own selection: an operator appends, a minus starts a negative value,
        // a digit replaces.
        {TSelection::ByEnter, "*2", "2.5*2"},
        {TSelection::ByEnter, "-2", "-2"},
        {TSelection::ByEnter, "+1", "2.5+1"},
        {TSelection::ByEnter, "7", "7"},
        {TSelection::ByTab, "/5", "2.5/5"},
        {TSelection::ByTab, "-2", "-2"},
        // A selection the user made is replaced by what is typed, operators included.
        {TSelection::ByUserShiftEnd, "-2", "-2"},
        {TSelection::ByUserShiftEnd, "*2", "*2"},
        {TSelection::ByUserMouse, "-2", "-2"},
        {TSelection::ByUserMouse, "+3", "+3"},
        // Nothing selected: typed at the caret.
        {TSelection::None, "-2", "2.5-2"},
    };
    for (const auto& c : cases) {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* before = new TDataEdit(dialogs);
        auto* field = new TDataEdit(dialogs);
        layout->addWidget(before);
        layout->addWidget(field);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        field->setText(QStringLiteral("2.5"));
        switch (c.How) {
        case TSelection::ByEnter:
            field->setFocus();
            QTest::keyClick(field, Qt::Key_Return);
            break;
        case TSelection::ByTab:
            before->setFocus();
            QTest::keyClick(before, Qt::Key_Tab);
            QVERIFY(field->hasFocus());
            break;
        case TSelection::ByUserShiftEnd:
            field->setFocus();
            QTest::keyClick(field, Qt::Key_Home);
            QTest::keyClick(field, Qt::Key_End, Qt::ShiftModifier);
            break;
        case TSelection::ByUserMouse:
            // Enter first selects by the field; the user's drag then selects it anew.
            field->setFocus();
            QTest::keyClick(field, Qt::Key_Return);
            QTest::mousePress(field, Qt::LeftButton, {}, QPoint(2, field->height() / 2));
            field->selectAll(); // what the drag across the text ends with
            QTest::mouseRelease(field, Qt::LeftButton, {}, QPoint(field->width() - 2, 2));
            field->selectAll();
            break;
        case TSelection::None:
            field->setFocus();
            QTest::keyClick(field, Qt::Key_End);
            break;
        }
        const QString context = QStringLiteral("typed \"%1\" after selection %2")
                                    .arg(c.Typed)
                                    .arg(static_cast<int>(c.How));
        if (c.How != TSelection::None) {
            QVERIFY2(field->selectedText() == field->text(), qPrintable(context));
        }
        QTest::keyClicks(field, QString::fromLatin1(c.Typed));
        QVERIFY2(field->text() == QString::fromLatin1(c.Text),
                 qPrintable(context + ": " + field->text()));
    }
    QVERIFY(dialogs.Messages.isEmpty());
}

namespace {

// Types Text into the field as the user does and leaves it by Enter.
bool Type(TDataEdit* Field, const QString& Text) {
    Field->setFocus();
    Field->selectAll();
    QTest::keyClicks(Field, Text);
    QTest::keyClick(Field, Qt::Key_Return);
    return Field->LastExit();
}

} // namespace

void TEntryRulesTest::EveryLimitWithItsMessage() {
    using TMake = std::function<TDataWindow*(TProgramData&, TUserDialogs&)>;
    const TMake shaft = [](TProgramData& p, TUserDialogs& d) { return new TfrmShaftpeneta(p, d); };
    const TMake water = [](TProgramData& p, TUserDialogs& d) { return new TfrmWaterDepth(p, d); };
    const TMake fs = [](TProgramData& p, TUserDialogs& d) { return new TfrmSafetyFactor(p, d); };
    const TMake length = [](TProgramData& p, TUserDialogs& d) { return new TfrmPenetration(p, d); };
    const TMake load = [](TProgramData& p, TUserDialogs& d) { return new TfrmDesignLoad(p, d); };
    const TMake vary = [](TProgramData& p, TUserDialogs& d) { return new TfrmVaryLength(p, d); };
    const TMake charts = [](TProgramData& p, TUserDialogs& d) {
        return new TfrmDesignCharts(p, d);
    };
    const struct {
        const TMake* Window;
        int Units;
        const char* Field; // object name: the project field
        const char* Typed;
        const char* Message; // "" = accepted without a message
        const char* After;   // the text afterwards
    } cases[] = {
        {&shaft, 1, "DSTART", "0",
         "Minimum Shaft Diameter, B, to be Considered:\nEntry must be greater than 0", "0"},
        {&shaft, 1, "DSTART", "-2",
         "Minimum Shaft Diameter, B, to be Considered:\nEntry must be greater than 0", "-2"},
        {&shaft, 1, "DSTART", "3", "", "3"},
        {&shaft, 1, "DIALIM", "-1",
         "Maximum Shaft Diameter, B, to be Considered:\nEntry must be greater than or equal to 0",
         "0"},
        {&shaft, 1, "DIALIM", "0", "", "0"}, // 0: the same as the minimum
        {&shaft, 1, "BELANGL", "91",
         "Angle of Bell with Respect to Vertical,  Ang:\nEntry must be less than or equal to 90",
         "90"},
        {&shaft, 1, "BELANGL", "-5",
         "Angle of Bell with Respect to Vertical,  Ang:\nEntry must be greater than or equal to 0",
         "0"},
        {&shaft, 1, "TOPLENG", "-1",
         "Length of Upper Exclusion Zone without Skin Friction, Lue:\nEntry must be greater "
         "than or equal to 0",
         "0"},
        {&shaft, 1, "BS", "-1",
         "Lenght of Bottom Portion of Shaft without Skin Friction, Lle:\nEntry must be greater "
         "than or equal to 0",
         "0"},
        {&shaft, 1, "EPILE", "0",
         "Modulus of Elasticity of Drilled Shaft:\nEntry must be greater than 0", "0"},
        {&water, 1, "WTD", "170!",
         "Depth of water table:\nEntry must be less than or equal to 10000", "10000"},
        {&water, 2, "WTD", "1e100",
         "Depth of water table:\nEntry must be less than or equal to 3048", "3048"},
        {&water, 1, "WTD", "1e300*1e300",
         "Depth of water table:\nEntry could not be evaluated:\nresult out of range",
         "1e300*1e300"},
        {&length, 1, "PD", "tan(pi/2)",
         "Enter the proposed length:\nEntry must be less than or equal to 10000", "10000"},
        {&length, 1, "PD", "-3",
         "Enter the proposed length:\nEntry must be greater than or equal to 0", "0"},
        {&length, 1, "RCYCL", "-0.5",
         "Reduction factor for uplift loading:\nEntry must be greater than or equal to 0", "0"},
        {&load, 1, "LPD", "-100",
         "Enter the design load:\nEntry must be greater than or equal to 0", "0"},
        {&fs, 1, "FST", "0",
         "The F.S. applied to the ultimate side friction:\nEntry must be greater than 0", "0"},
        {&fs, 1, "FSB", "-1",
         "The F.S. applied to the ultimate base capacity:\nEntry must be greater than 0", "-1"},
        {&vary, 1, "PDMIN", "-1", "Minimum shaft length:\nEntry must be greater than or equal to 0",
         "0"},
        {&vary, 1, "PDINCR", "-1",
         "Shaft length increment:\nEntry must be greater than or equal to 0", "0"},
        {&vary, 1, "PDINCR", "0", "", "0"}, // 0: the default increment
        {&charts, 1, "DIAMINCR", "-0.5",
         "Shaft diameter increment:\nEntry must be greater than or equal to 0", "0"},
        {&charts, 1, "PD", "20000",
         "Maximum shaft length:\nEntry must be less than or equal to 10000", "10000"},
    };
    for (const auto& c : cases) {
        project->SetUnits(c.Units);
        project->IPENT = 1;
        project->IChart = 1;
        project->KCYCL = 2;
        dialogs.Messages.clear();
        std::unique_ptr<TDataWindow> window((*c.Window)(*project, dialogs));
        window->LoadFromProject();
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        auto* field = window->findChild<TDataEdit*>(QString::fromLatin1(c.Field));
        QVERIFY2(field, c.Field);
        field->setEnabled(true);
        const QString context = QStringLiteral("%1 = %2").arg(c.Field, c.Typed);
        const bool passed = Type(field, QString::fromLatin1(c.Typed));
        QVERIFY2(passed == (*c.Message == '\0'), qPrintable(context));
        const QStringList expected =
            *c.Message ? QStringList{QString::fromLatin1(c.Message)} : QStringList{};
        QVERIFY2(dialogs.Messages == expected,
                 qPrintable(context + ": " + dialogs.Messages.join(QStringLiteral(" | "))));
        QVERIFY2(field->text() == QString::fromLatin1(c.After),
                 qPrintable(context + ": " + field->text()));
    }
}

void TEntryRulesTest::LayerDialogLimits() {
    const struct {
        int SoilType;
        int Column;
        bool Bottom;
        const char* Typed;
        bool Passes;
        const char* Message;
    } cases[] = {
        {kolmar::kSand, SandCol::UnitWeight, false, "0", false,
         "Total unit weight at the top of the layer:\nEntry must be greater than 0"},
        {kolmar::kSand, SandCol::FrictionAngle, true, "55", false,
         "Friction angle at the bottom of the layer:\nEntry must be less than or equal to 50"},
        {kolmar::kSand, SandCol::FrictionAngle, false, "0", true, ""}, // estimated from N
        {kolmar::kSand, SandCol::BlowCounts, false, "-3", false,
         "Blow counts at the top of the layer:\nEntry must be greater than or equal to 0"},
        // Above 100 blows the value stands, with a warning.
        {kolmar::kSand, SandCol::BlowCounts, false, "150", true,
         "Blow counts at the top of the layer:\nA blow count above 100 is refusal rather than "
         "a measured value; the correlations were not made for it. The value is kept."},
        {kolmar::kClay, ClayCol::Cohesion, false, "-1", false,
         "Cohesion at the top of the layer:\nEntry must be greater than or equal to 0"},
        {kolmar::kWeakRock, WeakRockCol::InterfaceAngle, false, "60", false,
         "Interface friction angle at the top of the layer:\nEntry must be less than or equal "
         "to 50"},
        {kolmar::kStrongRockSideOrBase, StrongRockCol::RQD, false, "101", false,
         "RQD at the top of the layer:\nEntry must be less than or equal to 100"},
    };
    for (const auto& c : cases) {
        project->D[0].SetSoilType(c.SoilType);
        dialogs.Messages.clear();
        TDlgSoils dialog(*project, dialogs, 0);
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        TDataEdit* field = dialog.Field(c.Column, c.Bottom);
        QVERIFY(field);
        field->setEnabled(true);
        const QString context =
            QStringLiteral("kind %1 column %2 = %3").arg(c.SoilType).arg(c.Column).arg(c.Typed);
        QVERIFY2(Type(field, QString::fromLatin1(c.Typed)) == c.Passes, qPrintable(context));
        QVERIFY2(dialogs.Messages == QStringList{QString::fromLatin1(c.Message)} ||
                     (*c.Message == '\0' && dialogs.Messages.isEmpty()),
                 qPrintable(context + ": " + dialogs.Messages.join(QStringLiteral(" | "))));
        dialog.reject(); // Cancel: nothing is written
    }
    QCOMPARE(project->D[0].Params.Value(0, StrongRockCol::RQD), 0.0);
}

void TEntryRulesTest::GridFocusReturnsToTheBadCell() {
    project->NLRFD = 1;
    project->D.Add(TSoilLayer());
    TDlgSoilLayers layers(*project, dialogs);
    layers.LoadFromProject();
    layers.show();
    layers.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&layers));

    const struct {
        int Column;
        const char* Typed;
        const char* Message;
    } cases[] = {
        {lcDepth, "abc",
         "Layer 1, depth at bottom:\nEntry could not be evaluated:\ninvalid character(s) in "
         "expression"},
        {lcLrfdSide, "0", "Layer 1, LRFD factor on side friction:\nEntry must be greater than 0"},
        {lcLrfdTip, "1.5",
         "Layer 1, LRFD factor on end bearing:\nEntry must be less than or equal to 1"},
        {lcMaxSideFriction, "-1",
         "Layer 1, max. side friction:\nEntry must be greater than or equal to 0"},
    };
    for (const auto& c : cases) {
        dialogs.Messages.clear();
        TDataEdit* field = layers.Field(0, c.Column);
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, QString::fromLatin1(c.Typed));
        QTest::keyClick(field, Qt::Key_Tab); // the focus moves on to the next cell first
        QCoreApplication::processEvents();
        const QString context = QStringLiteral("column %1 = %2").arg(c.Column).arg(c.Typed);
        QVERIFY2(dialogs.Messages == QStringList{QString::fromLatin1(c.Message)},
                 qPrintable(context + ": " + dialogs.Messages.join(QStringLiteral(" | "))));
        QVERIFY2(field->hasFocus(), qPrintable(context));
        QVERIFY2(field->selectedText() == field->text(), qPrintable(context));
        field->setText(QStringLiteral("0.5"));
    }
    // Tab moves cell by cell along the row: depth, then the two maxima.
    layers.Field(0, lcDepth)->setFocus();
    QTest::keyClick(layers.Field(0, lcDepth), Qt::Key_Tab);
    QVERIFY(layers.Field(0, lcMaxSideFriction)->hasFocus());
    QTest::keyClick(layers.Field(0, lcMaxSideFriction), Qt::Key_Backtab);
    QVERIFY(layers.Field(0, lcDepth)->hasFocus());
}

void TEntryRulesTest::BadSettlementReportedOnce() {
    TfrmDesignCharts charts(*project, dialogs);
    charts.LoadFromProject();
    charts.chkIChart->setChecked(true);
    charts.tblSettlements->item(0, 1)->setText(QStringLiteral("x"));
    QVERIFY(!charts.StoreToProject());
    QVERIFY(!charts.StoreToProject()); // asked again, as closing and deactivation both do
    QCOMPARE(dialogs.Messages.size(), 1);
    QVERIFY(charts.QuietRefusal().startsWith(QStringLiteral("The settlement in row 1")));
    charts.tblSettlements->item(0, 1)->setText(QStringLiteral("y")); // edited: news again
    QVERIFY(!charts.StoreToProject());
    QCOMPARE(dialogs.Messages.size(), 2);
}

QTEST_MAIN(TEntryRulesTest)
#include "entry_rules_test.moc"
