// The shaft length and design load windows with their type of loading.
#include "gui/dialogs/shaftlength.h"

#include "gui/data/DataUnit.h"
#include "ui/widgets/DataEdit.h"

#include <QGridLayout>
#include <QRadioButton>
#include <QVBoxLayout>

TLoadingGroup::TLoadingGroup(TUserDialogs& Dialogs, QWidget* Parent)
    : QGroupBox(QStringLiteral("Type of Loading"), Parent) {
    auto* grid = new QGridLayout(this);
    rbCompression = new QRadioButton(QStringLiteral("C&ompression"));
    rbUplift = new QRadioButton(QStringLiteral("&Uplift "));
    grid->addWidget(rbCompression, 0, 0, 1, 2);
    grid->addWidget(rbUplift, 1, 0, 1, 2);
    edtRCYCL = AddDataField(Dialogs, grid, 2, 0,
                            QStringLiteral("&Reduction factor for uplift loading"), QString(), 1.0);
    LimitField(edtRCYCL, "RCYCL", 0, 1.0);
    rbCompression->setChecked(true);
    edtRCYCL->setEnabled(false);
    connect(rbUplift, &QRadioButton::toggled, this, &TLoadingGroup::rbUpliftToggled);
}

void TLoadingGroup::rbUpliftToggled(bool Checked) {
    edtRCYCL->setEnabled(Checked);
}

void TLoadingGroup::Load(const TProgramData& Project) {
    edtRCYCL->SetNumber(Project.RCYCL);
    if (Project.KCYCL == 1) {
        rbCompression->setChecked(true);
    } else {
        rbUplift->setChecked(true);
    }
}

bool TLoadingGroup::Store(TProgramData& Project) const {
    const int kcycl = rbUplift->isChecked() ? 2 : 1;
    const double rcycl = kcycl == 2 ? edtRCYCL->Number() : 1.0;
    const bool changed = kcycl != Project.KCYCL || rcycl != Project.RCYCL;
    Project.KCYCL = kcycl;
    Project.RCYCL = rcycl;
    return changed;
}

// ---------------------------------------------------------------------------------------------

TfrmPenetration::TfrmPenetration(TProgramData& Project, TUserDialogs& Dialogs, QWidget* Parent)
    : TDataWindow(Project, Dialogs, Parent) {
    setWindowTitle(QStringLiteral("Drilled Shaft Length"));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    edtPD = AddDataField(fDialogs, grid, 0, 0, QStringLiteral("Enter the proposed &length"),
                         QStringLiteral("L2"));
    LimitField(edtPD, "PD", 0);
    grpLoading = new TLoadingGroup(fDialogs);
    layout->addWidget(grpLoading);
    layout->addStretch();
}

void TfrmPenetration::LoadFromProject() {
    PrepareFields();
    LimitDepth(edtPD, fProject.fUnits);
    edtPD->SetNumber(fProject.PD);
    grpLoading->Load(fProject);
}

bool TfrmPenetration::StoreToProject() {
    if (!CheckFields(this)) {
        return false;
    }
    const double length = edtPD->Number();
    Put(fProject.PD, length);
    if (length > 0) {
        Put(fProject.LPD, 0.0); // a proposed length replaces a design load
    }
    if (grpLoading->Store(fProject)) {
        Changed();
    }
    return true;
}

// ---------------------------------------------------------------------------------------------

TfrmDesignLoad::TfrmDesignLoad(TProgramData& Project, TUserDialogs& Dialogs, QWidget* Parent)
    : TDataWindow(Project, Dialogs, Parent) {
    setWindowTitle(QStringLiteral("Specification of Design Load"));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    edtLPD = AddDataField(fDialogs, grid, 0, 0, QStringLiteral("Enter the &design load"),
                          QStringLiteral("F2"));
    LimitField(edtLPD, "LPD", 0);
    grpLoading = new TLoadingGroup(fDialogs);
    layout->addWidget(grpLoading);
    layout->addStretch();
}

void TfrmDesignLoad::LoadFromProject() {
    PrepareFields();
    edtLPD->SetNumber(fProject.LPD);
    grpLoading->Load(fProject);
}

bool TfrmDesignLoad::StoreToProject() {
    if (!CheckFields(this)) {
        return false;
    }
    const double load = edtLPD->Number();
    Put(fProject.LPD, load);
    if (load > 0) {
        Put(fProject.PD, 0.0); // a design load replaces a proposed length
    }
    if (grpLoading->Store(fProject)) {
        Changed();
    }
    return true;
}
