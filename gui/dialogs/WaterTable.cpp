// The water table window.
#include "gui/dialogs/WaterTable.h"

#include "gui/data/DataUnit.h"
#include "ui/widgets/DataEdit.h"

#include <QGridLayout>

TfrmWaterDepth::TfrmWaterDepth(TProgramData& Project, TUserDialogs& Dialogs, QWidget* Parent)
    : TDataWindow(Project, Dialogs, Parent) {
    setWindowTitle(QStringLiteral("Water Table"));
    auto* grid = new QGridLayout(this);
    edtWTD = AddDataField(fDialogs, grid, 0, 0, QStringLiteral("&Depth of water table"),
                          QStringLiteral("L2"));
    edtWTD->setObjectName(QStringLiteral("WTD"));
    grid->setRowStretch(1, 1);
}

void TfrmWaterDepth::LoadFromProject() {
    PrepareFields();
    LimitDepth(edtWTD, fProject.fUnits);
    edtWTD->SetNumber(fProject.WTD);
}

bool TfrmWaterDepth::StoreToProject() {
    if (!CheckFields(this)) {
        return false;
    }
    Put(fProject.WTD, edtWTD->Number());
    return true;
}
