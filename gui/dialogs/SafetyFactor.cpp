// The factor of safety window.
#include "gui/dialogs/SafetyFactor.h"

#include "gui/data/DataUnit.h"
#include "ui/widgets/DataEdit.h"

#include <QGridLayout>

TfrmSafetyFactor::TfrmSafetyFactor(TProgramData& Project, TUserDialogs& Dialogs, QWidget* Parent)
    : TDataWindow(Project, Dialogs, Parent) {
    setWindowTitle(QStringLiteral("Factor of Safety (F.S.)"));
    auto* grid = new QGridLayout(this);
    edtFST =
        AddDataField(fDialogs, grid, 0, 0,
                     QStringLiteral("The F.S. applied to the ultimate &side friction"), QString());
    edtFSB =
        AddDataField(fDialogs, grid, 1, 0,
                     QStringLiteral("The F.S. applied to the ultimate &base capacity"), QString());
    LimitField(edtFST, "FST", 0, 1.18973149535723176e100, true);
    LimitField(edtFSB, "FSB", 0, 1.18973149535723176e100, true);
    grid->setRowStretch(2, 1);
}

void TfrmSafetyFactor::LoadFromProject() {
    PrepareFields();
    edtFST->SetNumber(fProject.FST);
    edtFSB->SetNumber(fProject.FSB);
}

bool TfrmSafetyFactor::StoreToProject() {
    if (!CheckFields(this)) {
        return false;
    }
    Put(fProject.FST, edtFST->Number());
    Put(fProject.FSB, edtFSB->Number());
    return true;
}
