// The main window: file commands, settings, the run command, the text editor commands and the
// rules of the menus (which MainMenus.cpp builds).
#include "gui/shell/Main.h"

#include "gui/data/DataUnit.h"
#include "gui/data/ValueLimits.h"
#include "gui/dialogs/About.h"
#include "gui/dialogs/DataWindow.h"
#include "gui/dialogs/DataWindowHost.h"
#include "gui/dialogs/SoilLayers.h"
#include "gui/results/BidirectionalForm.h"
#include "gui/results/ExportDlg.h"
#include "gui/results/OverviewDock.h"
#include "gui/results/PileSide.h"
#include "gui/results/PlotForm.h"
#include "gui/results/View3dMenu.h"
#include "gui/results/View3dUnit1.h"
#include "gui/run/RunControl.h"
#include "gui/run/RunNotes.h"
#include "gui/run/RunSequence.h"
#include "kolmar/ikolmar.h"
#include "ui/widgets/DataEdit.h"
#include "ui/widgets/TextViewer.h"
#include "ui/widgets/UserDialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <QToolBar>
#include <QUrl>
#include <filesystem>
#include <thread>

namespace fs = std::filesystem;

namespace {

constexpr const char* kOrganisation = kSettingsOrganisation;
constexpr const char* kApplication = kSettingsApplication;
constexpr const char* kSettingsGroup = kSettingsVersionGroup;
// No editor: the text files open in the program's own viewer.
constexpr const char* kDefaultEditor = "";
// Heads the plot-file reader's message when the results of a run cannot be read.
constexpr const char* kPlotReadFailed = "An error occured in running the main program.\n";

QString ExecutableDirectoryText() {
    return QString::fromStdString(ExecutableDirectory().string());
}

// Where the Open dialog starts when no folder was used yet: the examples installed beside the
// program or in its installed place (share/kolmar/examples), or, for a program run from its
// build tree, those in the sources.
QString ExamplesDirectoryText() {
    const QString installed = QString::fromStdString(
        FindBesideProgram(ExecutableDirectory(), "examples", kInstalledDataFolder).string());
    if (QFileInfo(installed).isDir())
        return installed;
#ifdef KOLMAR_EXAMPLES_DIR
    if (QFileInfo(QStringLiteral(KOLMAR_EXAMPLES_DIR)).isDir())
        return QStringLiteral(KOLMAR_EXAMPLES_DIR);
#endif
    return ExecutableDirectoryText();
}

QString FileValueName(int I) {
    return "File" + QString::number(I + 1);
}

QString Q(const std::string& S) {
    return QString::fromStdString(S);
}

QString MenuText(const std::string& Caption) {
    return Q(Caption);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Creation

TMainForm::TMainForm(TUserDialogs& Dialogs, QWidget* Parent)
    : QMainWindow(Parent), fDialogs(Dialogs), fProject(TProgramData::Create()) {
    setAcceptDrops(true);
    fMdi = new QMdiArea(this);
    fMdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    fMdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(fMdi);
    fDataWindows = std::make_unique<TDataWindowHost>(
        *fMdi, [this]() -> TProgramData& { return *fProject; }, fDialogs, WordProcessor);
    CommitChild = [this](QWidget* Child) { return fDataWindows->Commit(Child); };
    fDataWindows->OnProjectChanged = [this] { SetCaption(); };
    fDataWindows->OnCommitted = [this](const std::string& Name) { RecordChange(Name); };
    fHistory.Reset(*fProject);

    CreateOverview();
    CreateMenus();
    CreateToolBar();
    f3DView = new TView3DCommands(
        *fMdi, [this]() -> TProgramData& { return *fProject; }, fGraphs, fDialogs, this, menuBar(),
        fHelpMenu, fToolBar);
    // A new project closes the 3D view; the elevation view shows the new one.
    connect(this, &TMainForm::ProjectReplaced, this, [this] {
        Close3DView();
        if (TDlgSideView* side = TDlgSideView::Find(*fMdi))
            side->FormActivate();
    });
    ReadFirstSettings();
    EngineFile = Q(EngineLibraryFile().string());

    for (TGraphPlot* g : fGraphs.All())
        g->FormFactory = [this](TGraphPlot& Graph) -> std::unique_ptr<TGraphForm> {
            auto form = std::make_unique<TPlotForm>(*fMdi, Graph, fDialogs);
            form->Folder = [this] { return QFileInfo(Q(fProject->FileName)).absolutePath(); };
            form->SetCaptionMark(fOutOfDate.isEmpty() ? QString()
                                                      : TProjectOverview::OutOfDateMark());
            return form;
        };
    // The active plot window's menu joins the menu bar, before Window; the connection ends
    // with the menu bar, which goes before the frame when the window is destroyed.
    connect(fMdi, &QMdiArea::subWindowActivated, menuBar(),
            [bar = menuBar(), window = QPointer<QMenu>(fWindowMenu)](QMdiSubWindow* Active) {
                if (window)
                    TPlotForm::MergePlotMenu(*bar, window->menuAction(), Active);
            });

    SetCaption();
    UpdateResultCommands();
    UpdateDataCommands();
    connect(this, &TMainForm::ProjectReplaced, this, &TMainForm::UpdateDataCommands);
    // New and Open start a history of their own.
    connect(this, &TMainForm::ProjectReplaced, this, [this] {
        fHistory.Reset(*fProject);
        UpdateEditCommands();
    });
    // A window that wrote back as another took over may have changed the project.
    connect(fMdi, &QMdiArea::subWindowActivated, this, [this] { SetCaption(); });
    connect(this, &TMainForm::RunFinished, this, &TMainForm::UpdateOverview);
    resize(1200, 760); // room for the soil layer table with its LRFD columns
}

TMainForm::~TMainForm() {
    // Closing the child windows below activates others; the menu bar may already be half
    // destroyed by then, so the plot-menu merge must not run any more.
    QObject::disconnect(fMdi, &QMdiArea::subWindowActivated, nullptr, nullptr);
    for (TGraphPlot* g : fGraphs.All())
        g->Hide();
}

void TMainForm::ReadFirstSettings() {
    QSettings settings(kOrganisation, kApplication);
    settings.beginGroup(kSettingsGroup);
    WordProcessor = settings.value("Word Processor").toString();
    CurDir = settings.value("Directory").toString();
    if (WordProcessor.isEmpty())
        WordProcessor = kDefaultEditor;
    if (CurDir.isEmpty() || !QFileInfo(CurDir).isDir())
        CurDir = ExamplesDirectoryText();
}

void TMainForm::ReadRecentSettings() {
    QSettings settings(kOrganisation, kApplication);
    settings.beginGroup(kSettingsGroup);
    if (!settings.childKeys().isEmpty()) {
        const QString editor = settings.value("Word Processor").toString();
        if (!editor.isEmpty())
            WordProcessor = editor;
        for (int i = 0; i < TRecentFiles::MaxFiles; ++i)
            Recent.PrevFile[static_cast<std::size_t>(i)] =
                settings.value(FileValueName(i)).toString().toStdString();
    }
    if (settings.status() != QSettings::NoError) {
        WordProcessor = kDefaultEditor;
        Recent.Clear();
    }
}

void TMainForm::FormShow(const QString& CommandLineArgument) {
    ReadRecentSettings();
    if (!CommandLineArgument.isEmpty()) {
        const QString name = Q(CommandLineProjectName(CommandLineArgument.toStdString()));
        if (QFileInfo(name).isFile())
            OpenByExtension(name);
    }
    SetCaption();
}

// ---------------------------------------------------------------------------------------------
// Project state

bool TMainForm::GetDataChanged() const {
    return fProject->DataChanged;
}

void TMainForm::SetDataChanged(bool Value) {
    fProject->DataChanged = Value;
    SetCaption();
}

QString TMainForm::GetVersion() {
    return Q(::GetVersion());
}

void TMainForm::SetCaption() {
    setWindowTitle(Q(MainCaption(fProject->FileName, GetDataChanged(), fProject->Damaged)));
    UpdateOverview(); // every change to the project passes here
}

// ---------------------------------------------------------------------------------------------
// Project Overview

void TMainForm::CreateOverview() {
    fOverview = new TProjectOverview;
    fOverviewDock = new QDockWidget("Project Overview", this);
    fOverviewDock->setObjectName("ProjectOverview");
    // Hidden and shown by View › Project Overview alone (CreateViewMenu), which keeps the choice.
    fOverviewDock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    fOverviewDock->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    fOverviewDock->setWidget(fOverview);
    addDockWidget(Qt::LeftDockWidgetArea, fOverviewDock);
    resizeDocks({fOverviewDock}, {620}, Qt::Horizontal);
    {
        QSettings settings(kOrganisation, kApplication);
        settings.beginGroup(kSettingsGroup);
        fOverviewDock->setVisible(settings.value("Project Overview", true).toBool());
    }

    connect(fOverview, &TProjectOverview::LayerClicked, this, [this](int Layer) {
        if (!CommitActiveChild())
            return;
        if (TDataWindow* window = fDataWindows->Open(dwLayers))
            if (auto* layers = qobject_cast<TDlgSoilLayers*>(window))
                layers->FocusLayer(Layer);
    });
    connect(fOverview, &TProjectOverview::ShaftClicked, this, [this] {
        if (CommitActiveChild())
            fDataWindows->Open(dwShaft);
    });
    connect(fOverview, &TProjectOverview::ReportClicked, this, &TMainForm::CompOutputClick);
    connect(fOverview, &TProjectOverview::NotesClicked, this, &TMainForm::ShowNotesAt);
    connect(fOverview, &TProjectOverview::CapacityClicked, this, [this] {
        if (CombinedUltButton->isEnabled())
            CombinedUltButton->trigger();
    });
    connect(fOverview, &TProjectOverview::SettlementClicked, this, [this] {
        if (LoadSettlementButton->isEnabled())
            LoadSettlementButton->trigger();
    });
}

void TMainForm::UpdateOverview() {
    if (!fOverview)
        return;
    if (ProjectIsSaved() && !fProject->Damaged)
        fOutOfDate = fOverview->ShowResults(RunFilesFor(fs::path(fProject->FileName)),
                                            fProject->DataChanged);
    else {
        fOverview->ClearResults();
        fOutOfDate.clear();
    }
    fOverview->ShowProject(*fProject); // after the results: the design length they found
    MarkResultWindows();
}

void TMainForm::MarkResultWindows() {
    const QString mark = fOutOfDate.isEmpty() ? QString() : TProjectOverview::OutOfDateMark();
    const QString suffix = mark.isEmpty() ? QString() : " (" + mark + ")";
    if (fPackageMenu)
        fPackageMenu->setTitle("Calculation &Package" + suffix);
    if (QAction* exportItem = GraphicsItems[giExport])
        exportItem->setText("Export Plots to Excel" + suffix);
    const QStringList resultFiles = {ProjectFilePath(".kx8o"), ProjectFilePath(".kx8r"),
                                     ProjectFilePath(".kx8z")};
    for (QMdiSubWindow* w : fMdi->subWindowList()) {
        if (auto* plot = qobject_cast<TPlotForm*>(w)) {
            if (plot->CaptionMark != mark)
                plot->SetCaptionMark(mark);
        } else if (auto* view = qobject_cast<TDlgBlock*>(w->widget())) {
            // The 3D view draws the result diagrams on its shaft.
            const QString title = "3-D View" + (mark.isEmpty() ? QString() : " - " + mark);
            view->setWindowTitle(title);
            w->setWindowTitle(title);
        } else if (auto* viewer = qobject_cast<TTextViewer*>(w->widget())) {
            if (!resultFiles.contains(QFileInfo(viewer->FileName()).absoluteFilePath()))
                continue;
            const QString title = QFileInfo(viewer->FileName()).fileName() +
                                  (mark.isEmpty() ? QString() : " - " + mark);
            viewer->setWindowTitle(title);
            w->setWindowTitle(title);
            viewer->btnPrint->setText(mark.isEmpty() ? QString("&Print...")
                                                     : "&Print... (" + mark + ")");
        }
    }
}

void TMainForm::ShowNotesAt(const QString& Block) {
    if (!ProjectIsSaved())
        return;
    const QString notes = ProjectFilePath(".kx8r");
    if (Block.isEmpty()) {
        ShowTextFile(notes);
        return;
    }
    // A block is found only in the program's own viewer.
    if (TTextViewer* viewer = TTextViewer::Show(*fMdi, fDialogs, notes)) {
        viewer->GoTo(Block);
        MarkResultWindows();
    }
}

void TMainForm::RecordChange(const std::string& Name) {
    // A commit that finds nothing new leaves the mark alone: it may stand for a change the
    // history does not hold (the program set it itself).
    if (fHistory.Commit(*fProject, Name))
        fProject->DataChanged = !fHistory.AtSavedState();
    SetCaption();
    UpdateEditCommands();
}

void TMainForm::HistoryMoved() {
    fProject->DataChanged = !fHistory.AtSavedState();
    fDataWindows->ReloadAll();
    UpdateDataCommands();
    SetCaption();
    UpdateEditCommands();
}

void TMainForm::ProjectWasSaved() {
    fHistory.MarkSaved(*fProject);
    UpdateEditCommands();
}

void TMainForm::UpdateEditCommands() {
    if (!EditUndo)
        return;
    EditUndo->setEnabled(fHistory.CanUndo());
    EditUndo->setText(fHistory.CanUndo() ? "&Undo " + Q(fHistory.UndoName()).replace("&", "&&")
                                         : QString("&Undo"));
    EditRedo->setEnabled(fHistory.CanRedo());
    EditRedo->setText(fHistory.CanRedo() ? "&Redo " + Q(fHistory.RedoName()).replace("&", "&&")
                                         : QString("&Redo"));
}

void TMainForm::EditUndoClick() {
    if (CommitActiveChild() && fHistory.Undo(*fProject))
        HistoryMoved();
}

void TMainForm::EditRedoClick() {
    if (CommitActiveChild() && fHistory.Redo(*fProject))
        HistoryMoved();
}

bool TMainForm::ProjectIsSaved() const {
    return fProject->FileName != NewProjectFileName;
}

QString TMainForm::ProjectFilePath(const char* Extension) const {
    return Q(fs::path(fProject->FileName).replace_extension(Extension).string());
}

void TMainForm::HideAll() {
    fMdi->closeAllSubWindows();
}

bool TMainForm::CommitActiveChild() {
    if (QMdiSubWindow* active = fMdi->activeSubWindow())
        if (CommitChild && active->widget())
            return CommitChild(active->widget());
    return true;
}

void TMainForm::UpdateResultCommands() {
    ViewOutputButton->setEnabled(ProjectIsSaved() && QFileInfo(ProjectFilePath(".kx8o")).isFile());
    const TResultButtons buttons = ResultButtons(fGraphs);
    CombinedUltButton->setEnabled(buttons.Combine);
    CombinedFSButton->setEnabled(buttons.CombineD);
    LoadSettlementButton->setEnabled(buttons.Axial);
    TzButton->setEnabled(buttons.Tz);
    QwButton->setEnabled(buttons.Qw);
}

// ---------------------------------------------------------------------------------------------
// Settings and recent files

void TMainForm::UpdatePrevFile(const QString& NewFile) {
    Recent.UpdatePrevFile(NewFile.toStdString());
    UpdateRegister();
}

void TMainForm::UpdateRegister() {
    QSettings settings(kOrganisation, kApplication);
    settings.beginGroup(kSettingsGroup);
    settings.setValue("Word Processor", WordProcessor);
    settings.setValue("Directory", CurDir);
    for (int i = 0; i < TRecentFiles::MaxFiles; ++i)
        settings.setValue(FileValueName(i), Q(Recent.PrevFile[static_cast<std::size_t>(i)]));
    settings.endGroup();
    settings.sync(); // a settings file that cannot be written is not worth a message
}

// ---------------------------------------------------------------------------------------------
// File commands

bool TMainForm::QuerySaveChanges() {
    if (!GetDataChanged())
        return true;
    switch (fDialogs.Confirm("Do you want to save any changes?")) {
    case TUserDialogs::TAnswer::Cancel:
        return false;
    case TUserDialogs::TAnswer::No:
        return true;
    case TUserDialogs::TAnswer::Yes:
        break;
    }
    filesaved = true;
    QString error;
    const TSaveOutcome outcome = DoSave(error);
    if (outcome == TSaveOutcome::Failed)
        fDialogs.Warning(error);
    // A cancelled Save As, or a save that failed, keeps the changes on screen.
    return outcome == TSaveOutcome::Saved && ProjectIsSaved();
}

void TMainForm::FileNewClick() {
    if (!CommitActiveChild())
        return;
    if (QuerySaveChanges()) {
        fDataWindows->DiscardAll(); // they edit the project that goes now
        HideAll();
        fProject = TProgramData::Create();
        SetCaption();
        emit ProjectReplaced();
    }
    fGraphs.ClearFlags();
    UpdateResultCommands();
}

void TMainForm::FileOpenClick() {
    if (!CommitActiveChild() || !QuerySaveChanges())
        return;
    int filter = 1;
    const QString name = fDialogs.OpenFileName(
        CurDir,
        {"Kolmar 2017(*.kx8d)", "Kolmar 2012(*.kxd)", "Kolmar 6.0(*.kxd)", "All Files(*.*)"},
        filter);
    // The filter only chooses which files are listed: the content tells the layout.
    if (name.isEmpty())
        return;
    OpenFileName(name);
}

void TMainForm::OpenFileName(const QString& FileName, int Filter) {
    const QFileInfo info(FileName);
    const QString path = info.absoluteFilePath();
    if (!info.isFile()) {
        fDialogs.Warning("The project file " + path + " does not exist.");
        return;
    }
    QDir::setCurrent(info.absolutePath());
    CurDir = info.absolutePath();

    std::string error;
    auto project = TProgramData::CreateFromFile(path.toStdString(), Filter, &error);
    if (!project) {
        fDialogs.Warning(Q(error));
        return;
    }
    fDataWindows->DiscardAll(); // they edit the project that goes now
    HideAll();
    fProject = std::move(project);
    SetCaption();
    emit ProjectReplaced();
    fGraphs.ClearFlags();
    if (fProject->Damaged) {
        // The values read up to the error stay in the project, but the file keeps what
        // follows: Save asks for a name, and the file does not become a recent one. The
        // results beside it belong to the whole file, not to what was read.
        fDialogs.Warning("The project file " + path + " could not be read completely:\n" +
                         Q(error) +
                         "\n\nThe project holds what was read before the error. The file is left "
                         "as it is: Save asks for a new name.");
        UpdateResultCommands();
        return;
    }

    const QString plot = ProjectFilePath(".kx8p");
    if (QFileInfo(plot).isFile())
        fGraphs.ShowOutput = ReadPlotData(plot, false);
    UpdateResultCommands();
    UpdatePrevFile(path);
}

bool TMainForm::OpenByExtension(const QString& FileName) {
    const QString extension = "." + QFileInfo(FileName).suffix().toLower();
    if (extension != ".kx8d" && extension != ".kxd")
        return false;
    OpenFileName(FileName); // the layout by the content, whatever the extension suggests
    return true;
}

void TMainForm::FileRecentClick(int Index) {
    if (!CommitActiveChild())
        return;
    const QString name = Q(Recent.PrevFile.at(static_cast<std::size_t>(Index)));
    if (name.isEmpty() || !QuerySaveChanges())
        return;
    OpenByExtension(name);
}

void TMainForm::FormDropFiles(const QStringList& Files) {
    if (Files.isEmpty() || !CommitActiveChild() || !QuerySaveChanges())
        return;
    const QFileInfo info(Files.constFirst());
    QDir::setCurrent(info.absolutePath());
    CurDir = info.absolutePath();
    OpenByExtension(info.absoluteFilePath());
}

TMainForm::TSaveOutcome TMainForm::DoSave(QString& Error) {
    // A damaged project goes through Save As: its file still holds what was not read.
    if (NeedsSaveAs(fProject->FileName) || fProject->Damaged)
        return DoSaveAs(Error);
    try {
        fProject->Save();
    } catch (const std::exception& e) {
        Error = Q(e.what());
        return TSaveOutcome::Failed;
    }
    ProjectWasSaved();
    SetCaption();
    return TSaveOutcome::Saved;
}

namespace {
bool SameFile(const QString& A, const QString& B) {
    const QFileInfo a(A), b(B);
    if (a.exists() && b.exists())
        return a.canonicalFilePath() == b.canonicalFilePath();
    return a.absoluteFilePath() == b.absoluteFilePath();
}
} // namespace

void TMainForm::CarryResults(const QString& From, const QString& To) {
    if (SameFile(From, To))
        return;
    for (const char* extension : ResultExtensions) {
        const QString source =
            Q(fs::path(From.toStdString()).replace_extension(extension).string());
        const QString target = Q(fs::path(To.toStdString()).replace_extension(extension).string());
        // The new name's old results belong to the project file just replaced.
        QFile::remove(target);
        if (QFileInfo(source).isFile())
            QFile::copy(source, target);
    }
}

TMainForm::TSaveOutcome TMainForm::DoSaveAs(QString& Error) {
    const std::string previous = fProject->FileName;
    const QString chosen = fDialogs.SaveFileName(
        "Save " + Q(DisplayFileName(previous)) + " As", CurDir, Q(SaveAsProposal(previous)),
        {"Kolmar 2017(*.kx8d)", "All File(*.*)"}, ProjectExtension);
    // Nothing was done: what is on screen still holds.
    if (chosen.isEmpty()) {
        filesaved = false;
        return TSaveOutcome::Cancelled;
    }
    const QFileInfo info(chosen);
    const QString target = info.absoluteFilePath();
    if (fProject->Damaged && SameFile(target, Q(previous)) &&
        fDialogs.Confirm("The project was read from " + target +
                         " with an error, so it lacks what followed the error in that file.\n"
                         "Do you want to overwrite " +
                         target + " with it?") != TUserDialogs::TAnswer::Yes) {
        filesaved = false;
        return TSaveOutcome::Cancelled;
    }

    // An unchanged project saved under a new name keeps its results and its windows.
    const bool keepResults = !GetDataChanged() && !fProject->Damaged && ProjectIsSaved();
    fProject->FileName = target.toStdString();
    try {
        fProject->Save();
    } catch (const std::exception& e) {
        Error = Q(e.what());
        fProject->FileName = previous; // the project stays what it was
        SetCaption();
        return TSaveOutcome::Failed;
    }
    ProjectWasSaved();
    CurDir = info.absolutePath();
    if (keepResults) {
        CarryResults(Q(previous), target);
    } else {
        // The results on screen belong to the old name, or to a project since changed.
        fGraphs.ClearFlags();
        HideAll();
    }
    SetCaption();
    UpdateResultCommands();
    UpdatePrevFile(target); // writes the settings too
    return TSaveOutcome::Saved;
}

bool TMainForm::FileSaveClick() {
    if (!CommitActiveChild())
        return false;
    QString error;
    const TSaveOutcome outcome = DoSave(error);
    if (outcome == TSaveOutcome::Failed)
        fDialogs.Warning(error);
    return outcome == TSaveOutcome::Saved;
}

bool TMainForm::FileSaveAsClick() {
    if (!CommitActiveChild())
        return false;
    QString error;
    const TSaveOutcome outcome = DoSaveAs(error);
    if (outcome == TSaveOutcome::Failed)
        fDialogs.Warning(error);
    return outcome == TSaveOutcome::Saved;
}

bool TMainForm::ReadPlotData(const QString& PlotFile, bool ReportErrors) {
    std::string error;
    const bool ok = ::ReadPlotData(fGraphs, *fProject, PlotFile.toStdString(), &error);
    if (!ok && ReportErrors)
        fDialogs.Information(kPlotReadFailed + Q(error));
    return ok;
}

// ---------------------------------------------------------------------------------------------
// Run

// The engine runs off the user-interface thread, behind a modal busy indicator that takes every
// command away until the call returns; the window keeps painting meanwhile.
TEngineRun TMainForm::CallEngineBusy(const TRunFiles& Files, const fs::path& Engine) {
    TEngineRun run;
    QProgressDialog busy("Running the analysis of " + Q(DisplayFileName(fProject->FileName)) +
                             "...",
                         QString(), 0, 0, this);
    busy.setWindowTitle(windowTitle());
    busy.setWindowModality(Qt::ApplicationModal);
    busy.setMinimumDuration(0);
    busy.show();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QEventLoop loop;
    std::thread worker([&] {
        run = RunEngine(Files, Engine);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    QApplication::restoreOverrideCursor();
    return run;
}

void TMainForm::CompRunClick() {
    // One run at a time, and nothing of the project's files is touched while one is in progress.
    if (fRunning) {
        fDialogs.Information("Attempt to reinitialize DLL");
        return;
    }
    if (!CommitActiveChild()) {
        // A refusal already reported stops the run silently otherwise.
        QMdiSubWindow* active = fMdi->activeSubWindow();
        if (auto* window = active ? qobject_cast<TDataWindow*>(active->widget()) : nullptr) {
            const QString why = window->QuietRefusal();
            if (!why.isEmpty())
                fDialogs.Warning("The analysis was not started:\n" + why);
        }
        return;
    }
    // What the engine would refuse is named before anything is saved or run, and its window
    // opened at the field.
    if (const std::optional<TValueProblem> problem = CheckProjectValues(*fProject)) {
        fDialogs.Warning(Q(problem->Message) + "\nThe analysis was not started.");
        ShowValueProblem(*problem);
        return;
    }
    // A project never saved, or read from an older file, is named and saved by Save As first;
    // any other is saved by the run itself.
    bool savedAs = false;
    if (NeedsSaveAs(fProject->FileName) || fProject->Damaged) {
        filesaved = true;
        QString error;
        const TSaveOutcome saved = DoSaveAs(error);
        if (saved == TSaveOutcome::Failed)
            fDialogs.Information("An error occured during saving\n" + error);
        if (saved != TSaveOutcome::Saved || !filesaved || !ProjectIsSaved())
            return;
        savedAs = true;
    }

    TRunRequest request;
    request.EngineFile = EngineFile.toStdString();
    request.SaveFirst = !savedAs;
    request.Graphs = &fGraphs;
    request.CallEngine = [this](const TRunFiles& Files, const fs::path& Engine) {
        return CallEngineBusy(Files, Engine);
    };
    fRunning = true;
    const TRunOutcome run = RunAnalysis(*fProject, request);
    fRunning = false;
    if (!fProject->DataChanged)
        ProjectWasSaved(); // the run saved the project first
    SetCaption();

    switch (run.Step) {
    case TRunOutcome::TStep::SaveFailed:
        fDialogs.Information("An error occured during saving\n" + Q(run.Message));
        return;
    case TRunOutcome::TStep::CheckRefused:
        fDialogs.Warning(Q(run.Message));
        return;
    case TRunOutcome::TStep::NamesNotWritten:
    case TRunOutcome::TStep::EngineNotCalled:
        fDialogs.Information(Q(run.Message));
        break;
    case TRunOutcome::TStep::Completed: {
        UpdateResultCommands();
        HideAll();
        // One message: the outcome, and what the run notes say went wrong, with the way to
        // them.
        const TRunNotesSummary notes = ReadRunNotesProblems(run.Files.Notes);
        const QString text = Q(RunOutcomeText(run.Status, notes, run.PlotError));
        const bool problems = run.Status != KOLMAR_STATUS_OK || !notes.Warnings.empty();
        if (!problems || !QFileInfo(Q(run.Files.Notes.string())).isFile())
            fDialogs.Information(text);
        else if (fDialogs.InformationWithAction(text, "Run Notes"))
            ShowTextFile(Q(run.Files.Notes.string()));
        break;
    }
    }
    const QString projectDir = Q(run.Files.Project.parent_path().string());
    QDir::setCurrent(projectDir);
    CurDir = projectDir;
    emit RunFinished();
}

void TMainForm::ShowTextFile(const QString& File) {
    // The setting is a program and its arguments, split as a shell would split them but run
    // without a shell; the file comes last.
    const auto words = SplitCommandLine(WordProcessor.toStdString());
    if (!words || !words->empty()) {
        QStringList arguments;
        for (std::size_t i = 1; words && i < words->size(); ++i)
            arguments << Q((*words)[i]);
        if (words && QProcess::startDetached(Q(words->front()), arguments << File))
            return;
        fDialogs.Information("An error occurred in running the Word Processor\n\"" + WordProcessor +
                             "\" could not be started; the text editor is set in Control "
                             "Options \u203a Text Editor.\nThe file is shown in Kolmar's own "
                             "viewer.");
    }
    TTextViewer::Show(*fMdi, fDialogs, File);
}

void TMainForm::ShowValueProblem(const TValueProblem& Problem) {
    using W = TValueProblem::TWindow;
    TDataWindowKind kind = dwShaft;
    switch (Problem.Window) {
    case W::Shaft:
        kind = dwShaft;
        break;
    case W::WaterTable:
        kind = dwWaterTable;
        break;
    case W::Layers:
        kind = dwLayers;
        break;
    case W::SafetyFactor:
        kind = dwSafetyFactor;
        break;
    case W::ShaftLength:
        kind = fProject->METHOD == 1 ? dwDesignLoad : dwShaftLength;
        break;
    case W::VaryLength:
        kind = dwVaryLength;
        break;
    case W::DesignCharts:
        kind = dwDesignCharts;
        break;
    }
    TDataWindow* window = fDataWindows->Open(kind);
    if (!window)
        return;
    if (auto* layers = qobject_cast<TDlgSoilLayers*>(window)) {
        layers->FocusLayer(Problem.Layer);
        return;
    }
    if (auto* field = window->findChild<TDataEdit*>(Q(Problem.Field))) {
        field->setFocus(Qt::OtherFocusReason);
        field->SelectAllByField();
    }
}

void TMainForm::AskLrfdFactors() {
    for (const TSoilLayer& layer : fProject->D)
        if (layer.LrfdSide != 1.0 || layer.LrfdTip != 1.0)
            return; // factors were entered already
    fDialogs.Information("Every LRFD resistance factor of the soil layers is 1.0, which leaves "
                         "the nominal side friction and end bearing unreduced.\nPlease enter the "
                         "resistance factors of each layer in the LRFD columns of the soil layer "
                         "table.");
    if (TDataWindow* window = fDataWindows->Open(dwLayers))
        if (auto* layers = qobject_cast<TDlgSoilLayers*>(window))
            layers->FocusCell(0, lcLrfdSide);
}

void TMainForm::CompInputClick() {
    ShowTextFile(Q(fs::absolute(fProject->FileName).string()));
}

void TMainForm::CompKernelClick() {
    ShowTextFile(ProjectFilePath(".kx8r"));
    MarkResultWindows();
}

void TMainForm::CompElevationClick() {
    TDlgSideView::Open(*fMdi, [this]() -> TProgramData& { return *fProject; });
}

void TMainForm::CompBidirectionalClick() {
    CommitActiveChild();
    TBidirectionalForm::TSource source;
    source.Project = [this]() -> TProgramData& { return *fProject; };
    source.Engine = EngineFile.toStdString();
    // The engine reads the project's file: a project with changes is saved first, one never
    // saved or read from an older file through Save As.
    source.SaveFirst = [this] {
        if (!CommitActiveChild())
            return false;
        if (NeedsSaveAs(fProject->FileName) || fProject->Damaged) {
            QString error;
            const TSaveOutcome saved = DoSaveAs(error);
            if (saved == TSaveOutcome::Failed)
                fDialogs.Information("An error occured during saving\n" + error);
            return saved == TSaveOutcome::Saved && ProjectIsSaved();
        }
        return !fProject->DataChanged || FileSaveClick();
    };
    TBidirectionalForm::Open(*fMdi, std::move(source));
}

void TMainForm::Open3DView() {
    f3DView->Open3DView();
    MarkResultWindows();
}

void TMainForm::Close3DView() {
    f3DView->Close3DView();
}

void TMainForm::CompOutputClick() {
    ShowTextFile(ProjectFilePath(".kx8o"));
    MarkResultWindows();
}

// ---------------------------------------------------------------------------------------------
// Menus

void TMainForm::FileMenuShow() {
    CommitActiveChild();
    for (int i = 0; i < TRecentFiles::MaxFiles; ++i) {
        QAction* item = FileRecent[static_cast<std::size_t>(i)];
        const bool used = !Recent.PrevFile[static_cast<std::size_t>(i)].empty();
        item->setVisible(used);
        if (used)
            item->setText(Q(Recent.MenuCaption(i, CurDir.toStdString())).replace("&", "&&"));
    }
    FileRecentSeparator->setVisible(Recent.NumberPrevFile() > 0);
}

void TMainForm::DataMenuShow() {
    if (sender() == fDataMenu)
        CommitActiveChild();
    const TProgramData& p = *fProject;
    DataUnitsEnglish->setChecked(p.fUnits == 1);
    DataUnitsSI->setChecked(p.fUnits == 2);
    DataASD->setChecked(p.NLRFD == 2);
    DataLRFD->setChecked(p.NLRFD == 1);
    DataMethodLength->setChecked(p.METHOD == 2);
    DataMethodLoad->setChecked(p.METHOD == 1);
    DataVaryLength->setChecked(p.IPENT != 0);
    DataCharts->setChecked(p.IChart != 0);
    DataTZPrint->setChecked(p.PrintTZCurves == 1);
    UpdateDataCommands();
}

void TMainForm::UpdateDataCommands() {
    const TProgramData& p = *fProject;
    DataFS->setEnabled(p.NLRFD == 2); // factors of safety belong to allowable stress design
    // A design-load project has one length; multiple lengths and design charts exclude each
    // other.
    DataVaryLength->setEnabled(p.IChart == 0 && p.METHOD != 1);
    DataCharts->setEnabled(p.IPENT == 0 && p.METHOD != 1);
}

void TMainForm::ComputationMenuShow() {
    CommitActiveChild();
    const bool saved = ProjectIsSaved();
    CompInput->setEnabled(saved && QFileInfo(Q(fProject->FileName)).isFile());
    CompKernel->setEnabled(saved && QFileInfo(ProjectFilePath(".kx8r")).isFile());
    CompOutput->setEnabled(saved && QFileInfo(ProjectFilePath(".kx8o")).isFile());
}

void TMainForm::GraphicsMenuShow() {
    const bool plotExists = ProjectIsSaved() && QFileInfo(ProjectFilePath(".kx8p")).isFile();
    const TGraphicsMenuState state = OfferGraphs(fGraphs, *fProject, plotExists);
    for (int i = 0; i < giItemCount; ++i) {
        const TMenuItemState& s = state[static_cast<std::size_t>(i)];
        QAction* a = GraphicsItems[static_cast<std::size_t>(i)];
        a->setVisible(s.Visible);
        if (i == giChartSeparator)
            continue;
        a->setText(MenuText(s.Caption));
        a->setEnabled(s.Enabled);
    }
    MarkResultWindows(); // the export item's mark
}

void TMainForm::WindowMenuShow() {
    QList<QMdiSubWindow*> children;
    for (QMdiSubWindow* w : fMdi->subWindowList())
        if (w->isVisible())
            children.append(w);
    WindowSeparator->setVisible(!children.isEmpty());
    for (std::size_t i = 0; i < fWindowItems.size(); ++i) {
        QAction* item = fWindowItems[i];
        item->disconnect(this);
        const bool used = static_cast<qsizetype>(i) < children.size();
        item->setVisible(used);
        if (!used)
            continue;
        QPointer<QMdiSubWindow> child = children.at(static_cast<qsizetype>(i));
        item->setText(child->windowTitle().replace("&", "&&"));
        connect(item, &QAction::triggered, this, [this, child] {
            if (!child)
                return;
            if (child->isMinimized())
                child->showNormal();
            fMdi->setActiveSubWindow(child);
        });
    }
}

void TMainForm::WindowArrangeClick() {
    // Minimised children line up along the bottom of the frame.
    int x = 0;
    for (QMdiSubWindow* w : fMdi->subWindowList()) {
        if (!w->isMinimized())
            continue;
        const QSize size = w->size();
        w->move(x, fMdi->viewport()->height() - size.height());
        x += size.width();
    }
}

void TMainForm::HelpMenuShow() {
    CommitActiveChild();
}

void TMainForm::HelpAboutClick() {
    TDlgAbout about(this);
    about.exec();
}

void TMainForm::GraphicsExportClick() {
    const bool plotExists = ProjectIsSaved() && QFileInfo(ProjectFilePath(".kx8p")).isFile();
    TDlgExport dialog(fGraphs, fDialogs, this);
    if (!fOutOfDate.isEmpty())
        dialog.setWindowTitle(dialog.windowTitle() + " - " + TProjectOverview::OutOfDateMark());
    dialog.FormShow(OfferGraphs(fGraphs, *fProject, plotExists), Q(fProject->FileName));
    dialog.exec();
}

namespace {
// Opens a manual with the desktop's default program (or the program's own viewer): the one
// beside the program or in its installed place (share/kolmar/doc), or, for a program run from
// its build tree, the one in the sources.
void OpenManual(TUserDialogs& Dialogs, QMdiArea& Mdi, const QString& FileName) {
    QString path = QString::fromStdString(
        FindBesideProgram(ExecutableDirectory(), FileName.toStdString(), kInstalledDocsFolder)
            .string());
#ifdef KOLMAR_DOCS_DIR
    if (!QFileInfo(path).isFile())
        path = QDir(QStringLiteral(KOLMAR_DOCS_DIR)).filePath(FileName);
#endif
    if (!QFileInfo(path).isFile()) {
        Dialogs.Warning("The document " + FileName + " is not installed beside the program.");
        return;
    }
    // Where the desktop has no program for the file, the program's own viewer shows it.
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        TTextViewer::Show(Mdi, Dialogs, path);
}
} // namespace

void TMainForm::HelpUsersManualClick() {
    OpenManual(fDialogs, *fMdi, "users-guide.md");
}

void TMainForm::HelpTechnicalManualClick() {
    OpenManual(fDialogs, *fMdi, "technical-manual.md");
}

// ---------------------------------------------------------------------------------------------
// Window events

void TMainForm::closeEvent(QCloseEvent* Event) {
    if (fRunning) {
        Event->ignore();
        return;
    }
    if (!CommitActiveChild() || !QuerySaveChanges()) {
        Event->ignore();
        return;
    }
    UpdateRegister();
    HideAll();
    Event->accept();
}

void TMainForm::dragEnterEvent(QDragEnterEvent* Event) {
    if (Event->mimeData()->hasUrls())
        Event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* Event) {
    QStringList files;
    for (const QUrl& url : Event->mimeData()->urls())
        if (url.isLocalFile())
            files.append(url.toLocalFile());
    Event->acceptProposedAction(); // the drop is always taken
    FormDropFiles(files);
}
