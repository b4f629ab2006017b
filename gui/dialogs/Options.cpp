// The control options window.
#include "gui/dialogs/Options.h"

#include "gui/data/DataUnit.h"
#include "gui/dialogs/TZPrint.h"
#include "ui/widgets/DataEdit.h"
#include "ui/widgets/UserDialogs.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TDlgOptions::TDlgOptions(TProgramData& Project, TUserDialogs& Dialogs, QString& WordProcessor,
                         QWidget* Parent)
    : TDataWindow(Project, Dialogs, Parent), fWordProcessor(WordProcessor) {
    setWindowTitle(QStringLiteral("Control Options"));
    auto* layout = new QVBoxLayout(this);

    auto* sands = new QGroupBox(QStringLiteral("End Bearing in Sands"));
    auto* sandsLayout = new QVBoxLayout(sands);
    rbLinearIMOD =
        new QRadioButton(QStringLiteral("Use linear interpolation from zero at ground to "));
    rbMaximumIMOD = new QRadioButton(QStringLiteral("Use maximum values at any depth"));
    sandsLayout->addWidget(rbLinearIMOD);
    auto* continued = new QLabel(QStringLiteral("maximum values at 10 pile diameters."));
    continued->setIndent(24);
    sandsLayout->addWidget(continued);
    sandsLayout->addWidget(rbMaximumIMOD);
    layout->addWidget(sands);

    auto* printing = new QGroupBox(QStringLiteral("Printing Options"));
    auto* printingGrid = new QGridLayout(printing);
    edtPINC = AddDataField(fDialogs, printingGrid, 0, 0, QStringLiteral("Output Increment"),
                           QStringLiteral("L2"));
    layout->addWidget(printing);

    auto* plot = new QGroupBox(QStringLiteral("Plot Options"));
    auto* plotGrid = new QGridLayout(plot);
    chkUseElevation =
        new QCheckBox(QStringLiteral("Use Elevation instead of Depth for Label of Vertical Axis"));
    plotGrid->addWidget(chkUseElevation, 0, 0, 1, 2);
    edtValElevation =
        AddDataField(fDialogs, plotGrid, 1, 0, QStringLiteral("Elevation for Top of Shaft"),
                     QStringLiteral("L2"));
    plotGrid->addWidget(
        new QLabel(QStringLiteral("Note: Labels will be updated after analysis is completed.")), 2,
        0, 1, 2);
    layout->addWidget(plot);

    auto* editor = new QGroupBox(QStringLiteral("Text Editor Options"));
    auto* editorLayout = new QHBoxLayout(editor);
    auto* editorLabel = new QLabel(QStringLiteral("&Text Editor:"));
    edtTextEditor = new QLineEdit;
    editorLabel->setBuddy(edtTextEditor);
    btnBrowse = new QPushButton(QStringLiteral("&Browse..."));
    btnBrowse->setAutoDefault(false);
    editorLayout->addWidget(editorLabel);
    editorLayout->addWidget(edtTextEditor, 1);
    editorLayout->addWidget(btnBrowse);
    layout->addWidget(editor);

    grpTZ = new TTZPrintGroup(Project, Dialogs);
    grpTZ->OnChanged = [this] { Changed(); };
    layout->addWidget(grpTZ);

    btnClose = new QPushButton(QStringLiteral("Close"));
    btnClose->setAutoDefault(false);
    layout->addWidget(btnClose, 0, Qt::AlignRight);

    connect(chkUseElevation, &QCheckBox::toggled, this, &TDlgOptions::chkUseElevationToggled);
    connect(btnBrowse, &QPushButton::clicked, this, &TDlgOptions::btnBrowseClick);
    connect(btnClose, &QPushButton::clicked, this, &QWidget::close);
    chkUseElevationToggled(false);
}

void TDlgOptions::chkUseElevationToggled(bool Checked) {
    edtValElevation->setEnabled(Checked);
}

void TDlgOptions::btnBrowseClick() {
    // Executables on this system mostly carry no extension, so all files are offered first.
#ifdef Q_OS_WIN
    int filter = 1;
#else
    int filter = 2;
#endif
    const QString dir = QFileInfo(edtTextEditor->text()).absolutePath();
    const QString chosen = fDialogs.OpenFileName(
        dir, {QStringLiteral("Programs (*.exe *.com)"), QStringLiteral("All Files (*)")}, filter);
    if (!chosen.isEmpty()) {
        edtTextEditor->setText(chosen);
    }
}

void TDlgOptions::LoadFromProject() {
    PrepareFields();
    if (fProject.IMOD == 1) {
        rbLinearIMOD->setChecked(true);
    } else {
        rbMaximumIMOD->setChecked(true);
    }
    edtPINC->SetNumber(fProject.PINC);
    chkUseElevation->setChecked(fProject.UseElevation == 1);
    chkUseElevationToggled(chkUseElevation->isChecked());
    edtValElevation->SetNumber(fProject.ValElevation);
    edtTextEditor->setText(fWordProcessor);
    grpTZ->Load();
}

bool TDlgOptions::StoreToProject() {
    if (!CheckFields(this)) {
        return false;
    }
    Put(fProject.IMOD, rbLinearIMOD->isChecked() ? 1 : 0);
    Put(fProject.PINC, edtPINC->Number());
    Put(fProject.UseElevation, chkUseElevation->isChecked() ? 1 : 0);
    Put(fProject.ValElevation, edtValElevation->Number());
    fWordProcessor = edtTextEditor->text(); // a setting of the program, not of the project
    if (grpTZ->Store()) {
        Changed();
    }
    return true;
}
