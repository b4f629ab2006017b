// The windows of the scalar project values: loading, writing back, refusing a failed field.
#include "ScriptedDialogs.h"
#include "gui/data/DataUnit.h"
#include "gui/dialogs/Options.h"
#include "gui/dialogs/SafetyFactor.h"
#include "gui/dialogs/ShaftProperties.h"
#include "gui/dialogs/TZDepths.h"
#include "gui/dialogs/TZPrint.h"
#include "gui/dialogs/Title.h"
#include "gui/dialogs/VaryLength.h"
#include "gui/dialogs/WaterTable.h"
#include "gui/dialogs/designchart.h"
#include "gui/dialogs/shaftlength.h"
#include "ui/model/units.h"
#include "ui/widgets/DataEdit.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

class TScalarWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void LengthAndDesignLoadExcludeEachOther();
    void CompressionStoresReductionFactorOne();
    void SettlementCountCutsTheTable();
    void SettlementThatIsNoNumberIsRefused();
    void UnitSwitchRefreshesAnOpenWindow();
    void MaximumDiameterFixedForMultipleLengths();
    void FailedFieldRefusesClosing();
    void TitleMarksChangedOnlyWhenDifferent();
    void OptionsAndDepthTable();

private:
    std::unique_ptr<TProgramData> fProject;
    TScriptedDialogs fDialogs;
};

void TScalarWindowsTest::init() {
    fProject = TProgramData::Create();
    fDialogs.Messages.clear();
}

void TScalarWindowsTest::LengthAndDesignLoadExcludeEachOther() {
    TProgramData& p = *fProject;
    p.PD = 40;
    TfrmDesignLoad load(p, fDialogs);
    load.LoadFromProject();
    load.edtLPD->setText(QStringLiteral("0"));
    QVERIFY(load.StoreToProject());
    QCOMPARE(p.PD, 40.0); // a zero load leaves the length alone
    load.edtLPD->setText(QStringLiteral("150"));
    QVERIFY(load.StoreToProject());
    QCOMPARE(p.LPD, 150.0);
    QCOMPARE(p.PD, 0.0);

    TfrmPenetration length(p, fDialogs);
    length.LoadFromProject();
    QCOMPARE(length.edtPD->text(), QStringLiteral("0"));
    length.edtPD->setText(QStringLiteral("55.5"));
    QVERIFY(length.StoreToProject());
    QCOMPARE(p.PD, 55.5);
    QCOMPARE(p.LPD, 0.0);
    QVERIFY(p.DataChanged);
}

void TScalarWindowsTest::CompressionStoresReductionFactorOne() {
    TProgramData& p = *fProject;
    p.KCYCL = 2;
    p.RCYCL = 0.7;
    TfrmPenetration window(p, fDialogs);
    window.LoadFromProject();
    TLoadingGroup* group = window.grpLoading;
    QVERIFY(group->rbUplift->isChecked());
    QVERIFY(group->edtRCYCL->isEnabled());
    QCOMPARE(group->edtRCYCL->text(), QStringLiteral("0.7"));

    group->rbCompression->setChecked(true);
    QVERIFY(!group->edtRCYCL->isEnabled());
    QCOMPARE(group->edtRCYCL->text(), QStringLiteral("0.7")); // shown, but not taken
    QVERIFY(window.StoreToProject());
    QCOMPARE(p.KCYCL, 1);
    QCOMPARE(p.RCYCL, 1.0);

    group->rbUplift->setChecked(true);
    group->edtRCYCL->setText(QStringLiteral("1.5"));
    QVERIFY(!window.StoreToProject());
    QCOMPARE(fDialogs.TakeMessage(), QStringLiteral("Reduction factor for uplift loading:\nEntry "
                                                    "must be less than or equal to 1"));
    QCOMPARE(p.KCYCL, 1);
    group->edtRCYCL->setText(QStringLiteral("0.8"));
    QVERIFY(window.StoreToProject());
    QCOMPARE(p.KCYCL, 2);
    QCOMPARE(p.RCYCL, 0.8);
}

void TScalarWindowsTest::SettlementCountCutsTheTable() {
    TProgramData& p = *fProject;
    p.PD = 30;
    TfrmDesignCharts window(p, fDialogs);
    window.LoadFromProject();
    QVERIFY(!window.edtPD->isEnabled()); // everything waits for the check box
    window.chkIChart->setChecked(true);
    QVERIFY(window.edtPD->isEnabled());
    QCOMPARE(window.SettlementRows(), 5);
    QCOMPARE(window.tblSettlements->item(1, 1)->text(), QStringLiteral("0.25"));
    QCOMPARE(window.tblSettlements->horizontalHeaderItem(1)->text(),
             QStringLiteral("Settlement (in)"));

    window.edtNPOINTPD->setText(QStringLiteral("2.6")); // rounded to 3
    QCOMPARE(window.SettlementRows(), 3);
    window.edtNPOINTPD->setText(QStringLiteral("11")); // outside 1..10: the table stays
    QCOMPARE(window.SettlementRows(), 3);
    window.edtNPOINTPD->setText(QStringLiteral("3"));
    window.tblSettlements->item(2, 1)->setText(QStringLiteral("0.6"));
    QVERIFY(window.StoreToProject());
    QCOMPARE(p.IChart, 1);
    QCOMPARE(p.NPOINTPD, 3);
    QCOMPARE(p.PDSETT[0], 0.1);
    QCOMPARE(p.PDSETT[2], 0.6);

    window.btnDown->click();
    QCOMPARE(window.SettlementRows(), 2);
    window.btnUp->click();
    window.btnUp->click();
    QCOMPARE(window.edtNPOINTPD->text(), QStringLiteral("4"));
    QCOMPARE(window.tblSettlements->item(2, 1)->text(), QStringLiteral("0.6"));
    for (int i = 0; i < 8; ++i) {
        window.btnUp->click();
    }
    QCOMPARE(window.SettlementRows(), 10);
    QCOMPARE(window.tblSettlements->item(9, 1)->text(), QStringLiteral("1"));

    p.SetUnits(UnitsSI);
    window.LoadFromProject();
    QCOMPARE(window.tblSettlements->horizontalHeaderItem(1)->text(),
             QStringLiteral("Settlement (m)"));
    QCOMPARE(window.SettlementRows(), 3);
    QCOMPARE(window.tblSettlements->item(0, 1)->text(), QStringLiteral("0.00254"));
}

void TScalarWindowsTest::SettlementThatIsNoNumberIsRefused() {
    TProgramData& p = *fProject;
    TfrmDesignCharts window(p, fDialogs);
    window.LoadFromProject();
    window.chkIChart->setChecked(true);
    window.edtPDMIN->setText(QStringLiteral("12"));
    window.tblSettlements->item(1, 1)->setText(QStringLiteral("0,3"));
    QVERIFY(!window.StoreToProject());
    QCOMPARE(fDialogs.TakeMessage(),
             QStringLiteral("The settlement in row 2 of \"Defined Settlements\" is not a number: "
                            "\"0,3\".\nPlease enter a number."));
    QCOMPARE(p.IChart, 0); // nothing was written
    QCOMPARE(p.PDMIN, 0.0);
    QCOMPARE(p.PDSETT[1], 0.25);
    QVERIFY(!p.DataChanged);
}

void TScalarWindowsTest::UnitSwitchRefreshesAnOpenWindow() {
    TProgramData& p = *fProject;
    p.DSTART = 3;
    p.EPILE = 4000000;
    TfrmShaftpeneta window(p, fDialogs);
    p.OnUnitsChanged = [&] { window.LoadFromProject(); };
    window.LoadFromProject();
    QCOMPARE(window.edtDSTART->EditLabel()->text(),
             QStringLiteral("Minimum Shaft Diameter, B, to be Considered (ft)"));
    QCOMPARE(window.edtEPILE->EditLabel()->text(),
             QStringLiteral("&Modulus of Elasticity of Drilled Shaft  (lbs/in²)"));

    p.SetUnits(UnitsSI);
    QCOMPARE(window.edtDSTART->text(), QStringLiteral("0.9144"));
    QCOMPARE(window.edtDSTART->EditLabel()->text(),
             QStringLiteral("Minimum Shaft Diameter, B, to be Considered (m)"));
    QCOMPARE(window.edtEPILE->EditLabel()->text(),
             QStringLiteral("&Modulus of Elasticity of Drilled Shaft  (kN/m²)"));
    QCOMPARE(window.edtEPILE->text(), TDataEdit::ValueText(p.EPILE));
    QVERIFY(p.EPILE > 2.75e7 && p.EPILE < 2.76e7);
    QCOMPARE(window.edtRATIO->EditLabel()->text(),
             QStringLiteral("&Ratio of Base Diameter to Shaft Diameter,  Bb/B"));
}

void TScalarWindowsTest::MaximumDiameterFixedForMultipleLengths() {
    TProgramData& p = *fProject;
    p.METHOD = 2;
    p.IPENT = 1;
    TfrmShaftpeneta window(p, fDialogs);
    window.LoadFromProject();
    QVERIFY(!window.edtDIALIM->isEnabled());
    QVERIFY(!window.edtDIALIM->EditLabel()->isEnabled());
    QVERIFY(window.lblDIALIMNote->isHidden());
    p.METHOD = 1;
    window.LoadFromProject();
    QVERIFY(window.edtDIALIM->isEnabled());
    QVERIFY(!window.lblDIALIMNote->isHidden());

    TfrmVaryLength vary(p, fDialogs);
    vary.LoadFromProject();
    QVERIFY(vary.chkIPENT->isChecked());
    QVERIFY(vary.edtPDMIN->isEnabled());
    vary.chkIPENT->setChecked(false);
    QVERIFY(!vary.edtPDMIN->isEnabled());
    QVERIFY(vary.StoreToProject());
    QCOMPARE(p.IPENT, 0);
}

void TScalarWindowsTest::FailedFieldRefusesClosing() {
    TProgramData& p = *fProject;
    TfrmSafetyFactor window(p, fDialogs);
    window.LoadFromProject();
    window.show();
    window.edtFST->setText(QStringLiteral("3"));
    window.edtFSB->setText(QStringLiteral("sqrt(-4)"));
    QVERIFY(!window.close());
    QVERIFY(window.isVisible());
    QCOMPARE(fDialogs.TakeMessage(),
             QStringLiteral("The F.S. applied to the ultimate base capacity:\nEntry could not be "
                            "evaluated:\nsqrt is not defined for -4"));
    QCOMPARE(p.FST, 2.5); // nothing was written
    window.edtFSB->setText(QStringLiteral("2"));
    QVERIFY(window.close());
    QCOMPARE(p.FST, 3.0);
    QCOMPARE(p.FSB, 2.0);

    TfrmWaterDepth water(p, fDialogs);
    water.LoadFromProject();
    water.edtWTD->setText(QStringLiteral("12.5"));
    QVERIFY(water.StoreToProject());
    QCOMPARE(p.WTD, 12.5);
}

void TScalarWindowsTest::TitleMarksChangedOnlyWhenDifferent() {
    TProgramData& p = *fProject;
    int changes = 0;
    TdlgTitle window(p, fDialogs);
    window.OnChanged = [&] { ++changes; };
    window.LoadFromProject();
    QCOMPARE(window.edtTitle->text(), QStringLiteral("New Pile"));
    QVERIFY(window.StoreToProject());
    QVERIFY(!p.DataChanged);
    QTest::keyClicks(window.edtTitle, QString(100, QChar('x')));
    QCOMPARE(window.edtTitle->text().size(), 80); // at most 80 characters
    QVERIFY(window.StoreToProject());
    QVERIFY(p.DataChanged);
    QCOMPARE(changes, 1);
    QCOMPARE(p.Title.size(), std::size_t{80});
}

void TScalarWindowsTest::OptionsAndDepthTable() {
    TProgramData& p = *fProject;
    QString editor = QStringLiteral("xdg-open");
    fDialogs.OpenResult = QStringLiteral("/usr/bin/editor");
    TDlgOptions window(p, fDialogs, editor);
    window.LoadFromProject();
    QVERIFY(window.rbLinearIMOD->isChecked());
    QVERIFY(!window.edtValElevation->isEnabled());
    QVERIFY(!window.grpTZ->btnEditDepths->isEnabled());
    window.rbMaximumIMOD->setChecked(true);
    window.chkUseElevation->setChecked(true);
    QVERIFY(window.edtValElevation->isEnabled());
    window.edtValElevation->setText(QStringLiteral("102.5"));
    window.edtPINC->setText(QStringLiteral("2"));
    window.grpTZ->chkPrintTZ->setChecked(true);
    QVERIFY(window.grpTZ->btnEditDepths->isEnabled());
    window.btnBrowse->click();
    QVERIFY(window.StoreToProject());
    QCOMPARE(p.IMOD, 0);
    QCOMPARE(p.UseElevation, 1);
    QCOMPARE(p.ValElevation, 102.5);
    QCOMPARE(p.PINC, 2.0);
    QCOMPARE(p.PrintTZCurves, 1);
    QCOMPARE(editor, QStringLiteral("/usr/bin/editor"));

    TDlgTZDepths depths(p, fDialogs);
    QCOMPARE(depths.tblDepths->rowCount(), 1);
    QVERIFY(!depths.btnDelete->isEnabled());
    depths.btnAdd->click();
    depths.btnAdd->click();
    depths.tblDepths->item(1, 0)->setText(QStringLiteral("5"));
    depths.tblDepths->item(2, 0)->setText(QStringLiteral("2*5"));
    depths.tblDepths->setCurrentCell(0, 0);
    depths.btnDelete->click(); // the first row goes
    QVERIFY(depths.StoreToProject());
    QCOMPARE(p.TblTZDepth.RowCount(), 2);
    QCOMPARE(p.TblTZDepth[1], 10.0);
    while (depths.btnAdd->isEnabled()) {
        depths.btnAdd->click();
    }
    QCOMPARE(depths.tblDepths->rowCount(), MaxTZDepths);
    depths.tblDepths->item(3, 0)->setText(QStringLiteral("x"));
    QVERIFY(!depths.StoreToProject());
    QCOMPARE(fDialogs.TakeMessage(),
             QStringLiteral("Entry could not be evaluated:\ninvalid "
                            "character(s) in expression\n(depth in row 4)"));
    QCOMPARE(p.TblTZDepth.RowCount(), 2);

    TDlgTZPrint print(p, fDialogs);
    QVERIFY(print.grpTZ->chkPrintTZ->isChecked());
    print.grpTZ->chkPrintTZ->setChecked(false);
    print.btnClose->click();
    QCOMPARE(p.PrintTZCurves, 0);
}

QTEST_MAIN(TScalarWindowsTest)
#include "scalar_windows_test.moc"
