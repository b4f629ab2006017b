// The export dialog: its notes, the check list of offered graphs, the marker choice and the
// commands that write the workbook.
#include "gui/results/ExportDlg.h"

#include "gui/data/ExcelExport.h"
#include "ui/widgets/UserDialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

TDlgExport::TDlgExport(const TResultGraphs& Graphs, TUserDialogs& Dialogs, QWidget* Parent)
    : QDialog(Parent), fGraphs(Graphs), fDialogs(Dialogs) {
    setWindowTitle("Export to Excel");
    setModal(true);
    OpenFile = [](const QString& File) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(File));
    };

    auto* layout = new QVBoxLayout(this);
    for (const char* note :
         {"Kolmar writes the selected graphs to a spreadsheet workbook (.xlsx), with one data "
          "sheet and one chart sheet per graph. No spreadsheet program is needed.",
          "Results exported will be for the current load case/combination."}) {
        auto* label = new QLabel(note, this);
        label->setWordWrap(true);
        layout->addWidget(label);
    }

    auto* plots = new QGroupBox("Available Plots", this);
    auto* plotsLayout = new QVBoxLayout(plots);
    lstPlots = new QListWidget(plots);
    lstPlots->setObjectName("lstPlots");
    plotsLayout->addWidget(lstPlots);
    auto* selectRow = new QHBoxLayout;
    btnSelectAll = new QPushButton("Select All", plots);
    btnUnselectAll = new QPushButton("Unselect All", plots);
    selectRow->addWidget(btnSelectAll);
    selectRow->addWidget(btnUnselectAll);
    selectRow->addStretch();
    plotsLayout->addLayout(selectRow);
    layout->addWidget(plots, 1);

    chkMarkers = new QCheckBox("Add markers in plots", this);
    chkMarkers->setChecked(true);
    layout->addWidget(chkMarkers);

    auto* buttons = new QHBoxLayout;
    btnGenerate = new QPushButton("Generate Excel File", this);
    btnClose = new QPushButton("Close Window", this);
    btnSelectAll->setAutoDefault(false);
    btnUnselectAll->setAutoDefault(false);
    btnGenerate->setDefault(true);
    buttons->addStretch();
    buttons->addWidget(btnGenerate);
    buttons->addWidget(btnClose);
    layout->addLayout(buttons);

    connect(btnSelectAll, &QPushButton::clicked, this, &TDlgExport::SelectAllClick);
    connect(btnUnselectAll, &QPushButton::clicked, this, &TDlgExport::UnselectAllClick);
    connect(btnGenerate, &QPushButton::clicked, this, &TDlgExport::GenerateClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(lstPlots, &QListWidget::itemChanged, this, [this] { UpdateGenerate(); });
    resize(480, 520);
    UpdateGenerate();
}

void TDlgExport::FormShow(const TGraphicsMenuState& Menu, const QString& ProjectFile) {
    fProjectFile = ProjectFile;
    const QSignalBlocker block(lstPlots);
    lstPlots->clear();
    fIndices = OfferedExportRows(Menu, fGraphs);
    for (int row : fIndices) {
        auto* item = new QListWidgetItem(
            QString::fromStdString(GraphOfExportRow(fGraphs, row).Caption), lstPlots);
        item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setCheckState(Qt::Checked);
    }
    UpdateGenerate();
}

void TDlgExport::CheckAll(bool Checked) {
    {
        const QSignalBlocker block(lstPlots);
        for (int i = 0; i < lstPlots->count(); ++i) {
            QListWidgetItem* item = lstPlots->item(i);
            if (item->flags() & Qt::ItemIsEnabled)
                item->setCheckState(Checked ? Qt::Checked : Qt::Unchecked);
        }
    }
    UpdateGenerate();
}

void TDlgExport::SelectAllClick() {
    CheckAll(true);
}

void TDlgExport::UnselectAllClick() {
    CheckAll(false);
}

void TDlgExport::UpdateGenerate() {
    bool any = false;
    for (int i = 0; i < lstPlots->count() && !any; ++i)
        any = lstPlots->item(i)->checkState() == Qt::Checked;
    btnGenerate->setEnabled(any);
}

void TDlgExport::GenerateClick() {
    std::vector<const TGraphPlot*> chosen;
    for (int i = 0; i < lstPlots->count(); ++i)
        if (lstPlots->item(i)->checkState() == Qt::Checked)
            chosen.push_back(&GraphOfExportRow(fGraphs, fIndices[static_cast<std::size_t>(i)]));
    if (chosen.empty())
        return;

    const QFileInfo project(fProjectFile);
    const QString dir = fProjectFile.isEmpty() ? QDir::currentPath() : project.absolutePath();
    const QString proposed =
        fProjectFile.isEmpty() ? "Kolmar.xlsx" : project.completeBaseName() + ".xlsx";
    const QString file = fDialogs.SaveFileName("Export to Excel", dir, proposed,
                                               {"Excel Workbook (*.xlsx)"}, "xlsx");
    if (file.isEmpty())
        return;

    QApplication::setOverrideCursor(Qt::WaitCursor);
    fMore255 = false;
    const TExportResult result = WriteExcelWorkbook(QDir::toNativeSeparators(file).toStdString(),
                                                    chosen, chkMarkers->isChecked());
    QApplication::restoreOverrideCursor();
    if (!result.Ok) {
        fDialogs.Warning(QString::fromStdString(result.Error));
        return;
    }
    fMore255 = result.more255;
    if (fMore255)
        fDialogs.Information("Some plots show only their first 255 curves in their chart; their "
                             "data sheets hold every curve.");
    const QString question =
        "The workbook has been written to " + QDir::toNativeSeparators(file) + ". Open it now?";
    if (fDialogs.Confirm(question) == TUserDialogs::TAnswer::Yes && OpenFile && !OpenFile(file))
        fDialogs.Warning("No program could be started to open " + file + ".");
}
