// Printing of additional t-z curves.
#include "gui/dialogs/TZPrint.h"

#include "gui/data/DataUnit.h"
#include "gui/dialogs/TZDepths.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TTZPrintGroup::TTZPrintGroup(TProgramData& Project, TUserDialogs& Dialogs, QWidget* Parent)
    : QGroupBox(QStringLiteral("Printing Additional t-z Curves"), Parent), fProject(Project),
      fDialogs(Dialogs) {
    auto* grid = new QGridLayout(this);
    chkPrintTZ = new QCheckBox(QStringLiteral("&Print Internally-Generated"));
    btnEditDepths = new QPushButton(QStringLiteral("Edit Depths"));
    btnEditDepths->setAutoDefault(false);
    grid->addWidget(chkPrintTZ, 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("t-z Curves for Verification")), 1, 0);
    grid->addWidget(btnEditDepths, 0, 1, 2, 1);
    connect(chkPrintTZ, &QCheckBox::toggled, this, &TTZPrintGroup::chkPrintTZToggled);
    connect(btnEditDepths, &QPushButton::clicked, this, &TTZPrintGroup::btnEditDepthsClick);
    chkPrintTZToggled(false);
}

void TTZPrintGroup::chkPrintTZToggled(bool Checked) {
    btnEditDepths->setEnabled(Checked);
}

void TTZPrintGroup::btnEditDepthsClick() {
    TDlgTZDepths dialog(fProject, fDialogs, this);
    dialog.OnChanged = OnChanged;
    dialog.exec();
}

void TTZPrintGroup::Load() {
    chkPrintTZ->setChecked(fProject.PrintTZCurves == 1);
    chkPrintTZToggled(chkPrintTZ->isChecked());
}

bool TTZPrintGroup::Store() {
    const int print = chkPrintTZ->isChecked() ? 1 : 0;
    const bool changed = print != fProject.PrintTZCurves;
    fProject.PrintTZCurves = print;
    return changed;
}

// ---------------------------------------------------------------------------------------------

TDlgTZPrint::TDlgTZPrint(TProgramData& Project, TUserDialogs& Dialogs, QWidget* Parent)
    : QDialog(Parent), fProject(Project) {
    setWindowTitle(QStringLiteral("Option of Printing t-z Curves"));
    auto* layout = new QVBoxLayout(this);
    grpTZ = new TTZPrintGroup(Project, Dialogs);
    grpTZ->OnChanged = [this] {
        if (OnChanged) {
            OnChanged();
        }
    };
    layout->addWidget(grpTZ);
    btnClose = new QPushButton(QStringLiteral("Close"));
    layout->addWidget(btnClose, 0, Qt::AlignRight);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
    LoadFromProject();
}

void TDlgTZPrint::LoadFromProject() {
    grpTZ->Load();
}

bool TDlgTZPrint::StoreToProject() {
    if (grpTZ->Store()) {
        fProject.DataChanged = true;
        if (OnChanged) {
            OnChanged();
        }
    }
    return true;
}

void TDlgTZPrint::done(int Result) {
    StoreToProject();
    QDialog::done(Result);
}
