// TDataWindowHost: the data windows as single-instance child windows of the main window's frame.
// A window is created on first use and brought to front afterwards; it loads its controls from
// the project whenever it becomes the active child and writes them back when another child takes
// over, and a window whose numeric field fails its check keeps the activation. Closing a window
// writes it back (or is refused) and frees it. Exports TDataWindowHost and TDataWindowKind.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <array>
#include <functional>
#include <string>

class QMdiArea;
class QMdiSubWindow;
class QWidget;
class TDataWindow;
class TProgramData;
class TUserDialogs;

// The single-instance data windows, one "exists" slot each.
enum TDataWindowKind : int {
    dwTitle,        // "Project Title"
    dwShaft,        // "Drilled-Shaft Properties"
    dwLayers,       // the soil layer editor
    dwSafetyFactor, // "Factor of Safety (F.S.)"
    dwShaftLength,  // "Drilled Shaft Length"
    dwDesignLoad,   // the design-load window, TfrmDesignLoad
    dwWaterTable,   // "Water Table"
    dwVaryLength,   // "Multiple Shaft Lengths"
    dwDesignCharts, // "ASD/LRFD Design Charts"
    dwOptions,      // "Control Options"
    dwKindCount
};

class TDataWindowHost : public QObject {
    Q_OBJECT

public:
    // Project returns the current project, which New and Open replace (DiscardAll first).
    // WordProcessor is the main window's text editor command, edited by "Control Options".
    TDataWindowHost(QMdiArea& Mdi, std::function<TProgramData&()> Project, TUserDialogs& Dialogs,
                    QString& WordProcessor);
    // Frees the windows that are still open, without writing back.
    ~TDataWindowHost() override;

    // The active data window writes back first; when it refuses, nothing opens and null is
    // returned. Otherwise the window of Kind is created (first use) or shown and brought to
    // front, made the active child and loaded from the project.
    TDataWindow* Open(TDataWindowKind Kind);
    // The window of Kind while it is open; null once it has been closed.
    TDataWindow* Window(TDataWindowKind Kind) const;
    QMdiSubWindow* SubWindow(TDataWindowKind Kind) const;
    // Closes the window of Kind if it is open, writing it back; false when it refused.
    bool Close(TDataWindowKind Kind);

    // Writes the child window Child back into the project: the main window's commit before its
    // commands. True for children that are no data window. False when a field failed its check
    // (it has shown its message); the window is then the active child again.
    bool Commit(QWidget* Child);
    // Every open data window reloads its controls from the project: after a switch of the unit
    // system (numbers and unit labels) or of the design method (the layer table's columns).
    void ReloadAll();
    // Frees every data window at once, writing nothing back: the project they edit is about to
    // be replaced by New or Open.
    void DiscardAll();
    // The modal "Option of Printing t-z Curves" dialog over Parent.
    void EditTZPrint(QWidget* Parent);

    // Called after every change a data window makes to the project (the caption's mark).
    std::function<void()> OnProjectChanged;
    // Called where a data window has committed the user's changes to the project (a field
    // left, a window deactivated or closed, a layer inserted, deleted or given another kind):
    // the undo history records them. Name as TDataWindow::OnCommitted.
    std::function<void(const std::string& Name)> OnCommitted;

private:
    void SubWindowActivated(QMdiSubWindow* Window);
    void Load(TDataWindow& Window);
    void Committed(const std::string& Name);
    TDataWindow* Create(TDataWindowKind Kind);
    // Gives the activation back to Window after it refused to let go.
    void Reactivate(QMdiSubWindow* Window);

    QMdiArea& fMdi;
    std::function<TProgramData&()> fProject;
    TUserDialogs& fDialogs;
    QString& fWordProcessor;
    std::array<QPointer<QMdiSubWindow>, dwKindCount> fWindows;
    // The child whose controls hold what the user typed: the last one activated.
    QPointer<QMdiSubWindow> fCurrent;
    bool fReactivating = false;
};
