// The multiple shaft lengths window.
#include "gui/dialogs/VaryLength.h"

#include "gui/data/DataUnit.h"
#include "ui/widgets/DataEdit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

TfrmVaryLength::TfrmVaryLength(TProgramData& Project, TUserDialogs& Dialogs, QWidget* Parent)
    : TDataWindow(Project, Dialogs, Parent) {
    setWindowTitle(QStringLiteral("Multiple Shaft Lengths"));
    auto* layout = new QVBoxLayout(this);
    chkIPENT = new QCheckBox(QStringLiteral("Evaluate Shaft Lengths (for Specified Diameter)"));
    layout->addWidget(chkIPENT);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    const auto note = [&](const char* Text, int Row) {
        auto* label = new QLabel(QString::fromLatin1(Text));
        grid->addWidget(label, Row, 2);
        fNotes.append(label);
    };
    edtPD = AddDataField(fDialogs, grid, 0, 0, QStringLiteral("Maximum shaft &length "),
                         QStringLiteral("L2"));
    note("* Should be at least 6 diameters ", 0);
    note("   plus any exclusion zone defined.", 1);
    edtPDMIN = AddDataField(fDialogs, grid, 2, 0, QStringLiteral("Minimum &shaft length "),
                            QStringLiteral("L2"));
    note("- default: 70% maximum shaft length", 2);
    edtPDINCR = AddDataField(fDialogs, grid, 3, 0, QStringLiteral("Shaft length increment"),
                             QStringLiteral("L2"));
    note("- default: 3 ft or 1 m", 3);
    LimitField(edtPD, "PD", 0);
    LimitField(edtPDMIN, "PDMIN", 0);
    LimitField(edtPDINCR, "PDINCR", 0);
    note("* A maximum of 100 increments", 4);
    note("  will be considered.", 5);
    layout->addStretch();
    connect(chkIPENT, &QCheckBox::toggled, this, &TfrmVaryLength::chkIPENTToggled);
    chkIPENTToggled(false);
}

void TfrmVaryLength::chkIPENTToggled(bool Checked) {
    for (QWidget* w : {static_cast<QWidget*>(edtPD), static_cast<QWidget*>(edtPDMIN),
                       static_cast<QWidget*>(edtPDINCR)}) {
        w->setEnabled(Checked);
    }
    for (QLabel* label : fNotes) {
        label->setEnabled(Checked);
    }
}

void TfrmVaryLength::LoadFromProject() {
    PrepareFields();
    LimitDepth(edtPD, fProject.fUnits);
    LimitDepth(edtPDMIN, fProject.fUnits);
    chkIPENT->setChecked(fProject.IPENT == 1);
    chkIPENTToggled(chkIPENT->isChecked());
    edtPD->SetNumber(fProject.PD);
    edtPDMIN->SetNumber(fProject.PDMIN);
    edtPDINCR->SetNumber(fProject.PDINCR);
}

bool TfrmVaryLength::StoreToProject() {
    if (!CheckFields(this)) {
        return false;
    }
    Put(fProject.IPENT, chkIPENT->isChecked() ? 1 : 0);
    Put(fProject.PD, edtPD->Number());
    Put(fProject.PDMIN, edtPDMIN->Number());
    Put(fProject.PDINCR, edtPDINCR->Number());
    return true;
}
