// TMainForm: the program's main window. A frame of child windows (QMdiArea) with the menus
// and the toolbar; it owns the current project and the result graphs, runs the file commands
// (New, Open, Save, Save As, recent files, dropped files, the command-line project), keeps the
// per-user settings, runs the analysis and shows the project's text files in the text editor.
// It holds no engineering logic: the project, the plot reader, the run control and the file
// rules live in the model library.
#pragma once

#include "gui/data/FileCommands.h"
#include "gui/data/PltData.h"
#include "gui/data/ProjectHistory.h"

#include <QMainWindow>
#include <QString>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>

class QAction;
class QActionGroup;
class QDockWidget;
class QMdiArea;
class QMenu;
class QToolBar;
class TDataWindowHost;
class TProjectOverview;
class TProgramData;
class TUserDialogs;
class TView3DCommands;
struct TEngineRun;
struct TValueProblem;
struct TRunFiles;

// Per-user settings: organisation, application and the version's group.
inline constexpr const char* kSettingsOrganisation = "Tellvane";
inline constexpr const char* kSettingsApplication = "Kolmar";
inline constexpr const char* kSettingsVersionGroup = "2017.8.9";

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    // Reads "Word Processor" and "Directory" from the settings and starts with a new project.
    explicit TMainForm(TUserDialogs& Dialogs, QWidget* Parent = nullptr);
    ~TMainForm() override;

    // First showing: reads the editor and the recent files from the settings and opens the
    // project named by CommandLineArgument (a name without "." gets ".kx8d"); a missing file
    // or another extension leaves a new project.
    void FormShow(const QString& CommandLineArgument = QString());

    // The current project; replaced by New and Open (ProjectReplaced tells the windows).
    TProgramData& Project() { return *fProject; }
    TResultGraphs& Graphs() { return fGraphs; }
    QMdiArea& MdiArea() { return *fMdi; }
    // The data windows (single-instance children) that the Data menu opens.
    TDataWindowHost& DataWindows() { return *fDataWindows; }

    bool GetDataChanged() const;
    void SetDataChanged(bool Value);
    // Closes every child window.
    void HideAll();
    static QString GetVersion();
    void UpdatePrevFile(const QString& NewFile);
    // Writes the editor, the directory and the recent files to the settings; errors ignored.
    void UpdateRegister();
    // Opens a project in the layout its content shows (Filter 0), or with a reader forced
    // (1 current, 2 the 2012 layout, 3 the 6.0 layout). A file read with an error gives a
    // damaged project: shown, but never saved over that file unasked, and not made recent.
    void OpenFileName(const QString& FileName, int Filter = 0);
    // Opens ".kx8d" and ".kxd" files, each in the layout its content shows; false for others.
    bool OpenByExtension(const QString& FileName);
    // Asks to save a changed project; true when the pending command may go on.
    bool QuerySaveChanges();
    // Reads a plot file into the graphs; a failure is shown when ReportErrors is set.
    bool ReadPlotData(const QString& PlotFile, bool ReportErrors);
    // Files dropped on the window: the first one is opened by its extension.
    void FormDropFiles(const QStringList& Files);
    // The active child window writes its controls into the project (through CommitChild),
    // so that File, Data, Computation and Help commands act on what the user typed. False when
    // a field of it failed its check: the window stays active and the command does not go on.
    bool CommitActiveChild();
    // Makes a child window (the widget inside the active child) write back; false when it
    // refuses. Set to the data windows' write-back.
    std::function<bool(QWidget* Child)> CommitChild;
    // The caption for the current project, with its marks for unsaved changes and damage.
    void SetCaption();
    // The 3D view: Open3DView makes it once and shows it with its "Show 3D View" menu and its
    // seven tool buttons; Close3DView closes it, which hides them again.
    void Open3DView();
    void Close3DView();
    TView3DCommands& View3D() { return *f3DView; }
    // The "Project Overview" dock on the left: the profile and summary of the project, its
    // results at a glance, and their out-of-date mark. View › Project Overview hides and shows
    // it; the choice is kept in the settings.
    QDockWidget& OverviewDock() { return *fOverviewDock; }
    TProjectOverview& Overview() { return *fOverview; }
    // Why the results on screen no longer belong to the project; empty when they do or when
    // there are none.
    QString ResultsOutOfDate() const { return fOutOfDate; }

    // State of the main window.
    QString CurDir; // directory of the last opened or saved project; the dialogs start here
    // Program that shows text files, with its arguments as a shell would split them; the file
    // is added as the last argument. Empty: the program's own viewer.
    QString WordProcessor;
    TRecentFiles Recent;
    bool filesaved = true; // cleared when Save As is cancelled
    QString EngineFile;    // the engine library, beside the program unless set otherwise
    bool Running() const { return fRunning; }
    // What File › Calculation Package makes.
    enum class TPackageOutput { Print, Pdf, Html };

    // Commands, public so that later windows can reach them.
    QAction *FileNew = nullptr, *FileOpen = nullptr, *FileSave = nullptr, *FileSaveAs = nullptr,
            *FileExit = nullptr;
    std::array<QAction*, TRecentFiles::MaxFiles> FileRecent{};
    // File › Calculation Package › Print..., Save as PDF..., Save as HTML...
    QAction *FilePackagePrint = nullptr, *FilePackagePdf = nullptr, *FilePackageHtml = nullptr;
    // Edit: undo and redo of every change to the project, each naming its change.
    QAction *EditUndo = nullptr, *EditRedo = nullptr;
    // View › Project Overview, checked while the dock shows.
    QAction* ViewOverview = nullptr;
    QAction* FileRecentSeparator = nullptr;
    QAction *DataTitle = nullptr, *DataUnitsEnglish = nullptr, *DataUnitsSI = nullptr,
            *DataASD = nullptr, *DataLRFD = nullptr, *DataShaft = nullptr, *DataLayers = nullptr,
            *DataFS = nullptr, *DataMethodLength = nullptr, *DataMethodLoad = nullptr,
            *DataWater = nullptr, *DataVaryLength = nullptr, *DataCharts = nullptr,
            *DataTZPrint = nullptr, *DataOptions = nullptr;
    QAction *CompRun = nullptr, *CompInput = nullptr, *CompKernel = nullptr, *CompOutput = nullptr,
            *CompElevation = nullptr, *Comp3D = nullptr, *CompBidirectional = nullptr;
    std::array<QAction*, giItemCount> GraphicsItems{};
    QAction *WindowCascade = nullptr, *WindowArrange = nullptr, *WindowSeparator = nullptr;
    QAction* HelpAbout = nullptr;
    QAction *HelpUsersManual = nullptr, *HelpTechnicalManual = nullptr;
    // Tool buttons with rules of their own.
    QAction *ViewOutputButton = nullptr, *CombinedUltButton = nullptr, *CombinedFSButton = nullptr,
            *LoadSettlementButton = nullptr, *TzButton = nullptr, *QwButton = nullptr;

public slots:
    void FileNewClick();
    void FileOpenClick();
    bool FileSaveClick();
    bool FileSaveAsClick();
    void FileRecentClick(int Index);
    // The active window's typed values are committed first; then the last change is taken
    // back (made again), and every open window shows the restored values.
    void EditUndoClick();
    void EditRedoClick();
    // The project's undo history.
    const TProjectHistory& History() const { return fHistory; }
    void CompRunClick();
    void CompInputClick();
    void CompKernelClick();
    void CompOutputClick();
    // The shaft elevation view (one at a time).
    void CompElevationClick();
    // Computation > Bidirectional Test...: the window of the simulated jack-cell test.
    void CompBidirectionalClick();
    void HelpAboutClick();
    // The export dialog, modal, for the graphs the Graphics menu offers.
    void GraphicsExportClick();
    // The calculation package of the last run, printed or saved as PDF or HTML; results out of
    // date (any change since the run's save, or result files that are not the project's) are
    // run again first when the user agrees (gui/shell/MainPackage.cpp).
    void CalcPackageClick(TPackageOutput Output);
    // The manuals, opened with the desktop's default program.
    void HelpUsersManualClick();
    void HelpTechnicalManualClick();
    void WindowArrangeClick();
    // Menu rules, run each time a menu opens.
    void FileMenuShow();
    void DataMenuShow();
    void ComputationMenuShow();
    void GraphicsMenuShow();
    void WindowMenuShow();
    void HelpMenuShow();

signals:
    // New or Open replaced the project: windows holding it reload.
    void ProjectReplaced();
    // A run has ended (whatever its outcome).
    void RunFinished();

protected:
    void closeEvent(QCloseEvent* Event) override;
    void dragEnterEvent(QDragEnterEvent* Event) override;
    void dropEvent(QDropEvent* Event) override;

private:
    enum class TSaveOutcome { Saved, Cancelled, Failed };
    TSaveOutcome DoSave(QString& Error);
    TSaveOutcome DoSaveAs(QString& Error);
    // Save As of an unchanged project: its result files go along to the new name.
    void CarryResults(const QString& From, const QString& To);
    // The menu bar, one menu after the other, and the toolbar over their commands
    // (MainMenus.cpp).
    void CreateMenus();
    void CreateFileMenu();
    void CreateEditMenu();
    void CreateViewMenu();
    // The overview dock, its commands and its remembered visibility.
    void CreateOverview();
    // The overview follows the project and its results; the result windows, Print, Export and
    // Calculation Package carry the out-of-date mark while the results are out of date.
    void UpdateOverview();
    void MarkResultWindows();
    // The run notes in the program's own viewer, at the block that holds Block.
    void ShowNotesAt(const QString& Block);
    void CreateDataMenu();
    void AddUnitsMenu();
    void AddDesignMethodMenu();
    void AddComputationMethodMenu();
    void CreateComputationMenu();
    void CreateGraphicsMenu();
    void CreateWindowMenu();
    void CreateHelpMenu();
    void CreateToolBar();
    // Records what the project holds now as a named change (empty: named by what differs); a
    // change recorded sets the unsaved mark by whether the history is at the saved state.
    void RecordChange(const std::string& Name = {});
    // Undo or redo has restored a state: the mark, the windows and the commands follow it.
    void HistoryMoved();
    // The saved project is the history's saved state.
    void ProjectWasSaved();
    // Undo and Redo enabled and named by the history.
    void UpdateEditCommands();
    void ReadFirstSettings();
    void ReadRecentSettings();
    // Enables "View Output" by the report's existence and the result buttons by the flags.
    void UpdateResultCommands();
    // Enables the data commands by the design method, computation method and the
    // multiple-length and design-chart switches of the project.
    void UpdateDataCommands();
    // The text editor of the setting, or the program's own viewer when none is set or it
    // cannot be started (which is reported, naming the command).
    void ShowTextFile(const QString& File);
    // Opens the window that holds a value the run check refused, at its field.
    void ShowValueProblem(const TValueProblem& Problem);
    // Switched to LRFD with every layer's resistance factors at 1.0: asks for them, in the
    // layer editor's LRFD columns.
    void AskLrfdFactors();
    QString ProjectFilePath(const char* Extension) const;
    bool ProjectIsSaved() const;

    // The engine call of a run, off the user-interface thread behind a busy indicator.
    TEngineRun CallEngineBusy(const TRunFiles& Files, const std::filesystem::path& Engine);

    TUserDialogs& fDialogs;
    std::unique_ptr<TProgramData> fProject;
    TProjectHistory fHistory;
    std::unique_ptr<TDataWindowHost> fDataWindows; // goes before the project it edits
    QMdiArea* fMdi = nullptr;
    QMenu *fFileMenu = nullptr, *fEditMenu = nullptr, *fDataMenu = nullptr, *fCompMenu = nullptr,
          *fGraphicsMenu = nullptr, *fWindowMenu = nullptr, *fHelpMenu = nullptr;
    std::array<QAction*, 50> fWindowItems{};
    QToolBar* fToolBar = nullptr;
    QMenu* fPackageMenu = nullptr;
    QDockWidget* fOverviewDock = nullptr;
    TProjectOverview* fOverview = nullptr;
    QString fOutOfDate;
    bool fRunning = false;
    TView3DCommands* f3DView = nullptr; // owned by the window as its child
    TResultGraphs fGraphs; // last: its windows close before the rest of the window goes
};
