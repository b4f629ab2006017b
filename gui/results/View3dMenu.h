// The main window's commands of the 3D view: opening and closing the one view, the
// "Show 3D View" menu with its rules, and the seven 3D tool buttons, all visible only while the
// view is open.
#pragma once

#include "gui/results/PileProject.h"
#include "gui/results/View3dScene.h"

#include <QObject>
#include <QPointer>

#include <array>

class QAction;
class QActionGroup;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QMenuBar;
class QToolBar;
class TDlgBlock;
class TResultGraphs;
class TUserDialogs;

class TView3DCommands : public QObject {
    Q_OBJECT
public:
    // Adds the "Show 3D View" menu to Bar before the menu Before, and the seven buttons at the
    // end of Tools, all hidden. MainWindow owns the "Combined Plots" dialog.
    TView3DCommands(QMdiArea& Area, TProjectSource Project, TResultGraphs& Graphs,
                    TUserDialogs& Dialogs, QWidget* MainWindow, QMenuBar* Bar, QMenu* Before,
                    QToolBar* Tools);

    // Makes the view if there is none, shows the menu and the buttons and the view.
    void Open3DView();
    // Closes the view, which hides the menu and the buttons.
    void Close3DView();
    // The open view, or null.
    TDlgBlock* View() const;

    // The menu rules, run each time the menu opens.
    void MenuShow();

    QMenu* Menu = nullptr;
    QAction *ShowShaft = nullptr, *ShowWaterLevel = nullptr, *ShowSoilLayers = nullptr,
            *ShowLayerLabels = nullptr, *ShowLayerDepths = nullptr, *ShowAxes = nullptr,
            *ShowSkinFriction = nullptr, *ShowTipResistance = nullptr, *ShowTotalCapacity = nullptr,
            *CombinedPlots = nullptr;
    QAction *Panning = nullptr, *Zooming = nullptr, *Rotating = nullptr, *ZoomWindow = nullptr,
            *ZoomInButton = nullptr, *ZoomOutButton = nullptr, *RestartButton = nullptr;
    std::array<QAction*, 7> Buttons() const {
        return {Panning, Zooming, Rotating, ZoomWindow, ZoomInButton, ZoomOutButton, RestartButton};
    }

private:
    void SetVisible(bool Visible);
    void MouseOptionClick(int Option);
    // Toggles a flag of the view's options, then redraws completely.
    QAction* AddToggle(const QString& Caption, bool TBlockOptions::*Flag);

    QMdiArea& fArea;
    TProjectSource fProject;
    TResultGraphs& fGraphs;
    TUserDialogs& fDialogs;
    QWidget* fMainWindow;
    QPointer<TDlgBlock> fView;
    QPointer<QMdiSubWindow> fWindow;
    const QObject* fViewObject = nullptr; // the open view, for its destroyed signal
};
