// The main window's menu bar and toolbar: the File, Edit, Data, Computation, Graphics, Window
// and Help menus, built in that order, and the tool buttons over their commands.
#include "gui/data/DataUnit.h"
#include "gui/dialogs/DataWindowHost.h"
#include "gui/shell/Main.h"
#include "ui/widgets/ToolIcons.h"

#include <QActionGroup>
#include <QDockWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QSettings>
#include <QStyle>
#include <QToolBar>

#include <algorithm>

void TMainForm::CreateMenus() {
    CreateFileMenu();
    CreateEditMenu();
    CreateViewMenu();
    CreateDataMenu();
    CreateComputationMenu();
    CreateGraphicsMenu();
    CreateWindowMenu();
    CreateHelpMenu();
}

void TMainForm::CreateFileMenu() {
    fFileMenu = menuBar()->addMenu("&File");
    connect(fFileMenu, &QMenu::aboutToShow, this, &TMainForm::FileMenuShow);
    FileNew = fFileMenu->addAction("&New", this, &TMainForm::FileNewClick);
    FileNew->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    FileNew->setToolTip("New File");
    FileNew->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
    FileOpen = fFileMenu->addAction("&Open...", this, &TMainForm::FileOpenClick);
    FileOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    FileOpen->setToolTip("Open File");
    FileOpen->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    FileSave = fFileMenu->addAction("&Save", this, [this] { FileSaveClick(); });
    FileSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    FileSave->setToolTip("Save File");
    FileSave->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    FileSaveAs = fFileMenu->addAction("Save &As...", this, [this] { FileSaveAsClick(); });
    fFileMenu->addSeparator();
    QMenu* package = fPackageMenu = fFileMenu->addMenu("Calculation &Package");
    FilePackagePrint =
        package->addAction("&Print...", this, [this] { CalcPackageClick(TPackageOutput::Print); });
    FilePackagePdf = package->addAction("Save as P&DF...", this,
                                        [this] { CalcPackageClick(TPackageOutput::Pdf); });
    FilePackageHtml = package->addAction("Save as &HTML...", this,
                                         [this] { CalcPackageClick(TPackageOutput::Html); });
    fFileMenu->addSeparator();
    for (int i = 0; i < TRecentFiles::MaxFiles; ++i) {
        FileRecent[static_cast<std::size_t>(i)] =
            fFileMenu->addAction(QString::number(i + 1), this, [this, i] { FileRecentClick(i); });
        FileRecent[static_cast<std::size_t>(i)]->setVisible(false);
    }
    FileRecentSeparator = fFileMenu->addSeparator();
    FileRecentSeparator->setVisible(false);
    FileExit = fFileMenu->addAction("E&xit", this, &QWidget::close);
}

// Undo and Redo, named after the change they take back or make again.
void TMainForm::CreateEditMenu() {
    fEditMenu = menuBar()->addMenu("&Edit");
    EditUndo = fEditMenu->addAction("&Undo", this, &TMainForm::EditUndoClick);
    EditUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    EditRedo = fEditMenu->addAction("&Redo", this, &TMainForm::EditRedoClick);
    EditRedo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    UpdateEditCommands();
}

// The dock's own command, checked while the dock shows.
void TMainForm::CreateViewMenu() {
    QMenu* view = menuBar()->addMenu("&View");
    ViewOverview = view->addAction("Project &Overview");
    ViewOverview->setCheckable(true);
    ViewOverview->setChecked(!fOverviewDock->isHidden());
    connect(ViewOverview, &QAction::triggered, this, [this](bool Shown) {
        fOverviewDock->setVisible(Shown);
        QSettings settings(kSettingsOrganisation, kSettingsApplication);
        settings.beginGroup(kSettingsVersionGroup);
        settings.setValue("Project Overview", Shown);
    });
    // A project opened or made new comes with its overview, even where it was hidden before.
    connect(this, &TMainForm::ProjectReplaced, this, [this] {
        if (!ViewOverview->isChecked())
            ViewOverview->trigger();
    });
}

// Entries that open data windows stay disabled until those windows exist.
void TMainForm::CreateDataMenu() {
    fDataMenu = menuBar()->addMenu("&Data");
    connect(fDataMenu, &QMenu::aboutToShow, this, &TMainForm::DataMenuShow);
    DataTitle = fDataMenu->addAction("&Title");
    DataTitle->setToolTip("Title");
    DataTitle->setIcon(GlyphIcon("T", QColor(40, 40, 160)));
    AddUnitsMenu();
    AddDesignMethodMenu();
    DataShaft = fDataMenu->addAction("&Drilled-Shaft Properties");
    DataShaft->setToolTip("Drilled Shaft Properties");
    DataShaft->setIcon(GlyphIcon("D", QColor(120, 120, 120)));
    DataLayers = fDataMenu->addAction("Soil &Layer Data");
    DataLayers->setToolTip("Soil Layer Data");
    DataLayers->setIcon(GlyphIcon("L", QColor(150, 110, 40)));
    DataFS = fDataMenu->addAction("&Factor of Safety (Allowable Stress Design)");
    DataFS->setToolTip("Factor of Safety (ASD)");
    DataFS->setIcon(GlyphIcon("FS", QColor(160, 40, 40)));
    AddComputationMethodMenu();
    DataWater = fDataMenu->addAction("&Water Table");
    DataVaryLength = fDataMenu->addAction("Evaluate Multiple Shaft Lengths");
    DataVaryLength->setCheckable(true);
    DataCharts = fDataMenu->addAction("ASD/LRFD Design Charts");
    DataCharts->setCheckable(true);
    DataTZPrint = fDataMenu->addAction("Print Additional t-z curves");
    DataTZPrint->setCheckable(true);
    DataTZPrint->setVisible(false);
    DataOptions = fDataMenu->addAction("Control &Options...");
    for (auto [action, kind] :
         {std::pair{DataTitle, dwTitle}, std::pair{DataShaft, dwShaft},
          std::pair{DataLayers, dwLayers}, std::pair{DataFS, dwSafetyFactor},
          std::pair{DataWater, dwWaterTable}, std::pair{DataVaryLength, dwVaryLength},
          std::pair{DataCharts, dwDesignCharts}, std::pair{DataOptions, dwOptions}})
        connect(action, &QAction::triggered, this, [this, kind = kind] {
            fDataWindows->Open(kind);
            DataMenuShow(); // a checkable entry shows the project's switch, not the click
        });
    connect(DataTZPrint, &QAction::triggered, this, [this] {
        if (CommitActiveChild())
            fDataWindows->EditTZPrint(this);
        DataMenuShow();
    });
}

void TMainForm::AddUnitsMenu() {
    QMenu* units = fDataMenu->addMenu("&Units");
    connect(units, &QMenu::aboutToShow, this, &TMainForm::DataMenuShow);
    auto* unitsGroup = new QActionGroup(this);
    DataUnitsEnglish = units->addAction("&English Units (lbs, ft, in)");
    DataUnitsSI = units->addAction("&SI Units (kN, m)");
    for (auto [action, system] : {std::pair{DataUnitsEnglish, 1}, std::pair{DataUnitsSI, 2}}) {
        action->setCheckable(true);
        unitsGroup->addAction(action);
        connect(action, &QAction::triggered, this, [this, system = system] {
            // Values typed in the old system are taken first; then every window shows the
            // converted numbers and unit labels.
            if (fProject->fUnits != system && CommitActiveChild()) {
                fProject->SetUnits(system);
                RecordChange(system == 2 ? "Switch to SI Units" : "Switch to English Units");
                fDataWindows->ReloadAll();
            }
            DataMenuShow();
        });
    }
}

void TMainForm::AddDesignMethodMenu() {
    QMenu* method = fDataMenu->addMenu("Design Method (ASD or LRFD)");
    connect(method, &QMenu::aboutToShow, this, &TMainForm::DataMenuShow);
    DataASD = method->addAction("ASD (Allowable Stress Design)");
    DataLRFD = method->addAction("LRFD (Load Resistance Factor Design)");
    for (auto [action, value] : {std::pair{DataASD, 2}, std::pair{DataLRFD, 1}}) {
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, value = value] {
            // The layer editor shows or hides its LRFD columns and the long form of its notes.
            if (fProject->NLRFD != value && CommitActiveChild()) {
                fProject->NLRFD = value;
                RecordChange(value == 1 ? "Switch to LRFD" : "Switch to ASD");
                fDataWindows->ReloadAll();
                if (value == 1)
                    AskLrfdFactors();
            }
            DataMenuShow();
        });
    }
}

void TMainForm::AddComputationMethodMenu() {
    QMenu* compMethods = fDataMenu->addMenu("&Computation Methods");
    connect(compMethods, &QMenu::aboutToShow, this, &TMainForm::DataMenuShow);
    DataMethodLength = compMethods->addAction("Specify the shaft length");
    DataMethodLoad = compMethods->addAction("Specify the design load");
    for (auto [action, value] : {std::pair{DataMethodLength, 2}, std::pair{DataMethodLoad, 1}}) {
        action->setCheckable(true);
        // The method's window opens and the other one closes (writing back first).
        connect(action, &QAction::triggered, this, [this, value = value] {
            const bool length = value == 2;
            if (CommitActiveChild() && fDataWindows->Close(length ? dwDesignLoad : dwShaftLength)) {
                if (fProject->METHOD != value) {
                    fProject->METHOD = value;
                    RecordChange(length ? "Specify the Shaft Length" : "Specify the Design Load");
                }
                fDataWindows->Open(length ? dwShaftLength : dwDesignLoad);
            }
            DataMenuShow();
        });
    }
}

void TMainForm::CreateComputationMenu() {
    fCompMenu = menuBar()->addMenu("&Computation");
    connect(fCompMenu, &QMenu::aboutToShow, this, &TMainForm::ComputationMenuShow);
    CompRun = fCompMenu->addAction("&Run Analysis", this, &TMainForm::CompRunClick);
    CompRun->setToolTip("Run Data File");
    CompRun->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    CompInput = fCompMenu->addAction("Edit I&nput Text", this, &TMainForm::CompInputClick);
    CompKernel =
        fCompMenu->addAction("Edit &Processor-Run Notes", this, &TMainForm::CompKernelClick);
    CompOutput = fCompMenu->addAction("Edit &Output Text", this, &TMainForm::CompOutputClick);
    fCompMenu->addSeparator();
    CompElevation = fCompMenu->addAction("&View Shaft Elevation");
    CompElevation->setToolTip("View Soil Profile");
    CompElevation->setIcon(GlyphIcon("E", QColor(60, 120, 60)));
    Comp3D = fCompMenu->addAction("3D View");
    Comp3D->setToolTip("3D View");
    Comp3D->setIcon(GlyphIcon("3D", QColor(60, 60, 140)));
    connect(CompElevation, &QAction::triggered, this, &TMainForm::CompElevationClick);
    connect(Comp3D, &QAction::triggered, this, &TMainForm::Open3DView);
    fCompMenu->addSeparator();
    CompBidirectional =
        fCompMenu->addAction("&Bidirectional Test...", this, &TMainForm::CompBidirectionalClick);
    CompBidirectional->setToolTip("Simulate a bidirectional (jack-cell) load test");
}

// The items and their captions follow the results each time the menu opens.
void TMainForm::CreateGraphicsMenu() {
    fGraphicsMenu = menuBar()->addMenu("&Graphics");
    connect(fGraphicsMenu, &QMenu::aboutToShow, this, &TMainForm::GraphicsMenuShow);
    for (int i = 0; i < giItemCount; ++i) {
        QAction* a = nullptr;
        if (i == giChartSeparator || i == giExport) {
            a = fGraphicsMenu->addSeparator();
            if (i == giExport) {
                a = fGraphicsMenu->addAction("Export Plots to Excel", this,
                                             &TMainForm::GraphicsExportClick);
                a->setEnabled(false);
            }
        } else {
            a = fGraphicsMenu->addAction(QString(), this, [this, i] {
                if (TGraphPlot* g = GraphOfItem(fGraphs, i))
                    g->Show();
            });
            a->setEnabled(false);
        }
        GraphicsItems[static_cast<std::size_t>(i)] = a;
        if (i == giCombineD || i == giCombinedSettle || i == giLoad)
            fGraphicsMenu->addSeparator();
    }
    GraphicsMenuShow();
}

namespace {

// Cascades the open child windows so that every title bar stays visible: each window, at two
// thirds of the frame, lies one title bar lower and to the right of the one before, and the
// stack starts again at the top-left when it would leave the frame.
void CascadeChildren(QMdiArea& Area) {
    const QList<QMdiSubWindow*> windows = Area.subWindowList(QMdiArea::CreationOrder);
    const QSize frame = Area.viewport()->size();
    const int step = Area.style()->pixelMetric(QStyle::PM_TitleBarHeight) + 4;
    const QSize size(std::max(200, frame.width() * 2 / 3), std::max(150, frame.height() * 2 / 3));
    const int room = std::max(1, (frame.height() - size.height()) / step + 1);
    int i = 0;
    for (QMdiSubWindow* w : windows) {
        if (!w->isVisible() || w->isMinimized())
            continue;
        w->showNormal();
        const int k = i % room;
        w->setGeometry(QRect(QPoint(k * step + (i / room) * step / 2, k * step), size));
        w->raise();
        ++i;
    }
}

} // namespace

void TMainForm::CreateWindowMenu() {
    fWindowMenu = menuBar()->addMenu("&Window");
    connect(fWindowMenu, &QMenu::aboutToShow, this, &TMainForm::WindowMenuShow);
    WindowCascade = fWindowMenu->addAction("&Cascade", this, [this] { CascadeChildren(*fMdi); });
    fWindowMenu->addAction("&Tile", fMdi, &QMdiArea::tileSubWindows);
    WindowArrange = fWindowMenu->addAction("&Arrange Icons", this, &TMainForm::WindowArrangeClick);
    WindowSeparator = fWindowMenu->addSeparator();
    WindowSeparator->setVisible(false);
    for (std::size_t i = 0; i < fWindowItems.size(); ++i) {
        fWindowItems[i] = fWindowMenu->addAction(QString());
        fWindowItems[i]->setVisible(false);
    }
}

void TMainForm::CreateHelpMenu() {
    fHelpMenu = menuBar()->addMenu("&Help");
    connect(fHelpMenu, &QMenu::aboutToShow, this, &TMainForm::HelpMenuShow);
    HelpUsersManual =
        fHelpMenu->addAction("&User's Manual", this, &TMainForm::HelpUsersManualClick);
    HelpTechnicalManual =
        fHelpMenu->addAction("&Technical Manual", this, &TMainForm::HelpTechnicalManualClick);
    HelpAbout = fHelpMenu->addAction("&About...", this, &TMainForm::HelpAboutClick);
}

void TMainForm::CreateToolBar() {
    fToolBar = addToolBar("Tools");
    fToolBar->setObjectName("MainToolBar");
    fToolBar->setMovable(false);
    fToolBar->addAction(FileNew);
    fToolBar->addAction(FileOpen);
    fToolBar->addAction(FileSave);
    fToolBar->addSeparator();
    fToolBar->addAction(DataTitle);
    fToolBar->addAction(DataShaft);
    fToolBar->addAction(DataLayers);
    fToolBar->addAction(DataFS);
    fToolBar->addSeparator();
    fToolBar->addAction(CompRun);
    ViewOutputButton = fToolBar->addAction(style()->standardIcon(QStyle::SP_FileDialogContentsView),
                                           "View Output", this, &TMainForm::CompOutputClick);
    fToolBar->addAction(CompElevation);
    fToolBar->addAction(Comp3D);
    fToolBar->addSeparator();
    auto showGraph = [this](TGraphPlot& Graph) { return [&Graph] { Graph.Show(); }; };
    CombinedUltButton =
        fToolBar->addAction(GraphIcon("U", QColor(200, 30, 30)), "Combined Plot (Ultimate)", this,
                            showGraph(fGraphs.pltCombine));
    CombinedFSButton =
        fToolBar->addAction(GraphIcon("A", QColor(30, 30, 200)), "Combined Plot (LRFD/ASD)", this,
                            showGraph(fGraphs.pltCombineD));
    LoadSettlementButton =
        fToolBar->addAction(GraphIcon("S", QColor(20, 120, 20)), "Load vs. Settlement", this,
                            showGraph(fGraphs.pltAxial));
    TzButton = fToolBar->addAction(GraphIcon("tz", QColor(140, 60, 0)), "t-z curves", this,
                                   showGraph(fGraphs.pltTz));
    QwButton = fToolBar->addAction(GraphIcon("Qw", QColor(120, 0, 120)), "Q-w curves", this,
                                   showGraph(fGraphs.pltQw));
}
