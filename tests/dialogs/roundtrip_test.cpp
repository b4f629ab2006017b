// A project entered entirely through the windows, as a user types it, saves to the same bytes
// as the same project written by hand, and reads back to them.
#include "ScriptedDialogs.h"
#include "gui/data/DataUnit.h"
#include "gui/dialogs/Options.h"
#include "gui/dialogs/SafetyFactor.h"
#include "gui/dialogs/ShaftProperties.h"
#include "gui/dialogs/SoilLayers.h"
#include "gui/dialogs/TZDepths.h"
#include "gui/dialogs/TZPrint.h"
#include "gui/dialogs/Title.h"
#include "gui/dialogs/WaterTable.h"
#include "gui/dialogs/designchart.h"
#include "gui/dialogs/shaftlength.h"
#include "gui/dialogs/soils.h"
#include "ui/widgets/DataEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <initializer_list>

namespace {

// Types a value into a numeric field and presses Enter, as a user does.
void Type(TDataEdit* Field, const char* Text) {
    Field->selectAll();
    QTest::keyClicks(Field, QString::fromLatin1(Text));
    QTest::keyClick(Field, Qt::Key_Return);
}

// Types the top and bottom values of a parameter column in the layer dialog.
void TypePair(TDlgSoils& Dialog, int Column, const char* Top, const char* Bottom) {
    Type(Dialog.Field(Column, false), Top);
    Type(Dialog.Field(Column, true), Bottom);
}

QByteArray ReadAll(const QString& Path) {
    QFile file(Path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TRoundTripTest : public QObject {
    Q_OBJECT

private slots:
    void ProjectEnteredThroughWindowsSavesAsWrittenByHand();
};

void TRoundTripTest::ProjectEnteredThroughWindowsSavesAsWrittenByHand() {
    TScriptedDialogs dialogs;
    std::unique_ptr<TProgramData> project = TProgramData::Create();
    TProgramData& p = *project;

    TdlgTitle title(p, dialogs);
    title.LoadFromProject();
    title.edtTitle->selectAll();
    QTest::keyClicks(title.edtTitle, QStringLiteral("Shaft B-7 entered through the windows"));
    QVERIFY(title.close());

    QString editor = QStringLiteral("xdg-open");
    TDlgOptions options(p, dialogs, editor);
    options.LoadFromProject();
    options.rbMaximumIMOD->click();
    Type(options.edtPINC, "2");
    options.chkUseElevation->click();
    Type(options.edtValElevation, "100+2.5");
    options.grpTZ->chkPrintTZ->click();
    QVERIFY(options.StoreToProject());
    TDlgTZDepths depths(p, dialogs); // what "Edit Depths" opens
    depths.btnAdd->click();
    depths.tblDepths->item(0, 0)->setText(QStringLiteral("5"));
    depths.tblDepths->item(1, 0)->setText(QStringLiteral("25/2"));
    depths.btnClose->click();

    TfrmShaftpeneta shaft(p, dialogs);
    shaft.LoadFromProject();
    Type(shaft.edtDSTART, "3");
    Type(shaft.edtDIALIM, "4");
    Type(shaft.edtTOPLENG, "5");
    Type(shaft.edtEPILE, "4e6");
    QVERIFY(shaft.close());

    TfrmWaterDepth water(p, dialogs);
    water.LoadFromProject();
    Type(water.edtWTD, "8");
    QVERIFY(water.close());

    TfrmPenetration length(p, dialogs);
    length.LoadFromProject();
    Type(length.edtPD, "45");
    length.grpLoading->rbUplift->click();
    Type(length.grpLoading->edtRCYCL, "0.75");
    QVERIFY(length.close());

    TfrmSafetyFactor safety(p, dialogs);
    safety.LoadFromProject();
    Type(safety.edtFST, "2");
    QVERIFY(safety.close());

    TfrmDesignCharts charts(p, dialogs);
    charts.LoadFromProject();
    charts.chkIChart->click();
    Type(charts.edtPDMIN, "30");
    Type(charts.edtPDINCR, "5");
    Type(charts.edtDIAMINCR, "0.5");
    charts.btnDown->click();
    charts.btnDown->click();
    QVERIFY(charts.close());

    TDlgSoilLayers layers(p, dialogs);
    layers.LoadFromProject();
    layers.btnAdd->click();
    layers.btnAdd->click();
    layers.SoilTypeBox(1)->setCurrentIndex(kolmar::kClay - 1);
    layers.SoilTypeBox(2)->setCurrentIndex(kolmar::kWeakRock - 1);
    Type(layers.Field(0, lcDepth), "15");
    Type(layers.Field(1, lcDepth), "30");
    Type(layers.Field(1, lcMaxSideFriction), "2000");
    Type(layers.Field(2, lcDepth), "60");
    QVERIFY(layers.StoreToProject());
    {
        TDlgSoils sand(p, dialogs, 0);
        sand.rbBetaMethod->click();
        TypePair(sand, SandCol::UnitWeight, "115", "120");
        TypePair(sand, SandCol::Beta, "0.8", "0.7");
        TypePair(sand, SandCol::BlowCounts, "12", "18");
        TypePair(sand, SandCol::FrictionAngle, "32", "34");
        sand.btnOK->click();
    }
    {
        TDlgSoils clay(p, dialogs, 1);
        TypePair(clay, ClayCol::UnitWeight, "120", "125");
        TypePair(clay, ClayCol::Cohesion, "1500", "2000");
        TypePair(clay, ClayCol::Alpha, "0.55", "0.55");
        TypePair(clay, ClayCol::Nc, "9", "9");
        clay.btnOK->click();
    }
    {
        TDlgSoils rock(p, dialogs, 2);
        rock.cbConditionTop->setCurrentIndex(1);
        Type(rock.Field(WeakRockCol::Qu, false), "50000");
        Type(rock.Field(WeakRockCol::Slump, false), "7");
        Type(rock.Field(WeakRockCol::InterfaceAngle, false), "30");
        Type(rock.Field(WeakRockCol::SocketDiameter, false), "3");
        Type(rock.Field(WeakRockCol::Modulus, false), "5e5");
        Type(rock.Field(WeakRockCol::RQD, false), "80");
        rock.btnCopy->click();
        rock.btnOK->click();
    }
    QVERIFY2(dialogs.Messages.isEmpty(), qPrintable(dialogs.Messages.join("\n")));
    QVERIFY(p.DataChanged);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    p.FileName = dir.filePath(QStringLiteral("windows-project.kx8d")).toStdString();
    p.Save();
    const QString expectedPath = QStringLiteral(KOLMAR_TEST_DATA "/data/windows-project.kx8d");
    const QByteArray expected = ReadAll(expectedPath);
    QVERIFY(!expected.isEmpty());
    const QByteArray saved = ReadAll(QString::fromStdString(p.FileName));
    if (saved != expected) {
        qWarning().noquote() << "saved:\n"
                             << saved << "\nexpected (" << expectedPath << "):\n"
                             << expected;
    }
    QCOMPARE(saved, expected);

    std::string error;
    std::unique_ptr<TProgramData> reloaded = TProgramData::CreateFromFile(p.FileName, 1, &error);
    QVERIFY(reloaded != nullptr);
    QCOMPARE(QString::fromStdString(error), QString());
    QCOMPARE(QByteArray::fromStdString(reloaded->SaveToText()), expected);
}

QTEST_MAIN(TRoundTripTest)
#include "roundtrip_test.moc"
