// The shaft properties window.
#include "gui/dialogs/ShaftProperties.h"

#include "gui/data/DataUnit.h"
#include "gui/data/ValueLimits.h"
#include "ui/widgets/DataEdit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>

namespace {

const char* const kExplanation =
    "Shaft diameter B is analysed from the minimum to the maximum diameter in steps of 6 inches "
    "(0.15 m); with design charts the step is the shaft diameter increment given there.\n\n"
    "The upper exclusion zone Lue takes away the side resistance that cohesive soil near the "
    "surface loses to desiccation cracking or seasonal movement. The lower exclusion zone Lle "
    "takes away the side resistance that cohesive soil near the base loses to the loss of "
    "horizontal stress where the base moves down. A lower zone is usually not recommended for "
    "uplift loading.\n\n"
    "No exclusion zones are used in cohesionless soils, and bells are not used in cohesionless "
    "soils or rock.";

} // namespace

TfrmShaftpeneta::TfrmShaftpeneta(TProgramData& Project, TUserDialogs& Dialogs, QWidget* Parent)
    : TDataWindow(Project, Dialogs, Parent) {
    setWindowTitle(QStringLiteral("Drilled-Shaft Properties"));
    auto* outer = new QHBoxLayout(this);
    auto* grid = new QGridLayout;
    outer->addLayout(grid);

    edtDSTART = AddDataField(fDialogs, grid, 0, 0,
                             QStringLiteral("Minimum Shaft Diameter, B, to be Considered"),
                             QStringLiteral("L2"), 30);
    edtDSTART->setToolTip(QStringLiteral("Practical minimum value is 2 ft or 0.6 m"));
    edtDIALIM = AddDataField(fDialogs, grid, 1, 0,
                             QStringLiteral("Maximum Shaft Diameter, B, to be Considered"),
                             QStringLiteral("L2"), 30);
    edtDIALIM->setToolTip(QStringLiteral("Practical maximum is 12 ft or 3.6 m"));
    lblDIALIMNote = new QLabel(QStringLiteral("(Enter 0 if same as minimum)"));
    grid->addWidget(lblDIALIMNote, 1, 2);
    edtRATIO = AddDataField(fDialogs, grid, 2, 0,
                            QStringLiteral("&Ratio of Base Diameter to Shaft Diameter,  Bb/B"),
                            QString(), 10);
    edtRATIO->setToolTip(QStringLiteral("Usual value for belled shafts is 3"));
    grid->addWidget(new QLabel(QStringLiteral("(Enter 0 for straight shaft)")), 2, 2);
    edtBELANGL = AddDataField(fDialogs, grid, 3, 0,
                              QStringLiteral("&Angle of Bell with Respect to Vertical,  Ang "),
                              QStringLiteral("deg"), 90);
    edtBELANGL->setToolTip(QStringLiteral("Usual value for belled shafts is 45 degrees"));
    grid->addWidget(new QLabel(QStringLiteral("(Enter 0 for straight shaft)")), 3, 2);
    edtTOPLENG =
        AddDataField(fDialogs, grid, 4, 0,
                     QStringLiteral("Length of &Upper Exclusion Zone without Skin Friction, Lue"),
                     QStringLiteral("L2"));
    edtBS =
        AddDataField(fDialogs, grid, 5, 0,
                     QStringLiteral("Lenght of Bottom Portion of Shaft without Skin Friction, Lle"),
                     QStringLiteral("L2"), 100);
    edtBS->setToolTip(
        QStringLiteral("From top of bell for belled shafts or from base for straight shafts"));
    edtEPILE = AddDataField(fDialogs, grid, 6, 0,
                            QStringLiteral("&Modulus of Elasticity of Drilled Shaft "),
                            QStringLiteral("F/L²"), 300000000);
    LimitField(edtDSTART, "DSTART", 0, 30, true);
    LimitField(edtDIALIM, "DIALIM", 0, 30);
    LimitField(edtRATIO, "RATIO", 0, 10);
    LimitField(edtBELANGL, "BELANGL", 0, MaxBellAngle);
    LimitField(edtTOPLENG, "TOPLENG", 0);
    LimitField(edtBS, "BS", 0, 100);
    LimitField(edtEPILE, "EPILE", 0, 300000000, true);
    grid->setRowStretch(7, 1);

    auto* explanation = new QPlainTextEdit(QString::fromLatin1(kExplanation));
    explanation->setReadOnly(true);
    explanation->setMinimumWidth(260);
    outer->addWidget(explanation);
}

void TfrmShaftpeneta::LoadFromProject() {
    PrepareFields();
    LimitDepth(edtTOPLENG, fProject.fUnits);
    edtDSTART->SetNumber(fProject.DSTART);
    edtDIALIM->SetNumber(fProject.DIALIM);
    edtRATIO->SetNumber(fProject.RATIO);
    edtBELANGL->SetNumber(fProject.BELANGL);
    edtTOPLENG->SetNumber(fProject.TOPLENG);
    edtBS->SetNumber(fProject.BS);
    edtEPILE->SetNumber(fProject.EPILE);
    // Multiple lengths are analysed for one diameter only.
    const bool oneDiameter = fProject.METHOD == 2 && fProject.IPENT == 1;
    edtDIALIM->setEnabled(!oneDiameter);
    lblDIALIMNote->setVisible(!oneDiameter);
}

bool TfrmShaftpeneta::StoreToProject() {
    if (!CheckFields(this)) {
        return false;
    }
    Put(fProject.DSTART, edtDSTART->Number());
    Put(fProject.DIALIM, edtDIALIM->Number());
    Put(fProject.RATIO, edtRATIO->Number());
    Put(fProject.BELANGL, edtBELANGL->Number());
    Put(fProject.TOPLENG, edtTOPLENG->Number());
    Put(fProject.BS, edtBS->Number());
    Put(fProject.EPILE, edtEPILE->Number());
    return true;
}
