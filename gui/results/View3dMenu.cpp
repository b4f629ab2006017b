// The 3D view's menu and tool buttons in the main window, and the view's single instance.
#include "gui/results/View3dMenu.h"

#include "gui/results/PileDiagrams.h"
#include "gui/results/View3dUnit1.h"
#include "gui/results/glWindow.h"
#include "ui/widgets/ToolIcons.h"

#include <QAction>
#include <QActionGroup>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace {

// The 3D buttons' pictures: the text in its own colour on a cooler face, a size larger.
TGlyphStyle ViewButtonStyle() {
    TGlyphStyle style;
    style.Face = QColor(248, 250, 252);
    style.LetterPixels = 14;
    style.TextPixels = 10;
    style.Darker = 0;
    style.TextBox = QRectF(1, 1, 22, 22);
    return style;
}

QIcon ButtonIcon(const QString& Text, const QColor& Colour) {
    return GlyphIcon(Text, Colour, ViewButtonStyle());
}

} // namespace

TView3DCommands::TView3DCommands(QMdiArea& Area, TProjectSource Project, TResultGraphs& Graphs,
                                 TUserDialogs& Dialogs, QWidget* MainWindow, QMenuBar* Bar,
                                 QMenu* Before, QToolBar* Tools)
    : QObject(MainWindow), fArea(Area), fProject(std::move(Project)), fGraphs(Graphs),
      fDialogs(Dialogs), fMainWindow(MainWindow) {
    Menu = new QMenu("Show 3D View", MainWindow);
    if (Before)
        Bar->insertMenu(Before->menuAction(), Menu);
    else
        Bar->addMenu(Menu);
    connect(Menu, &QMenu::aboutToShow, this, &TView3DCommands::MenuShow);
    ShowShaft = AddToggle("Shaft", &TBlockOptions::ShowShaft);
    ShowWaterLevel = AddToggle("Water Level", &TBlockOptions::ShowWaterLevel);
    ShowSoilLayers = AddToggle("Soil Layers", &TBlockOptions::ShowSoilLayers);
    ShowLayerLabels = AddToggle("Layer Labels", &TBlockOptions::ShowSoilLayerLabels);
    ShowLayerDepths = AddToggle("Layer Depths", &TBlockOptions::ShowSoilLayerDepthLabels);
    ShowAxes = AddToggle("Global Axes", &TBlockOptions::ShowLocalAxes);
    Menu->addSeparator();
    ShowSkinFriction = AddToggle("Ultimate Skin Friction", &TBlockOptions::ShowSkinFriction);
    ShowTipResistance = AddToggle("Ultimate Tip Resistance", &TBlockOptions::ShowTipResistance);
    ShowTotalCapacity = AddToggle("Ultimate Total Capacity", &TBlockOptions::ShowTotalCapacity);
    for (QAction* a : {ShowSkinFriction, ShowTipResistance, ShowTotalCapacity})
        a->setVisible(false);
    CombinedPlots = Menu->addAction("Combined Plots", this, [this] {
        if (fView)
            fView->ShowDiagramsDialog(fMainWindow);
    });

    auto* modes = new QActionGroup(this);
    modes->setExclusive(true);
    auto mode = [&](const QString& Caption, const QString& Glyph, int Option) {
        QAction* a = Tools->addAction(ButtonIcon(Glyph, QColor(30, 60, 140)), Caption, this,
                                      [this, Option] { MouseOptionClick(Option); });
        a->setCheckable(true);
        modes->addAction(a);
        return a;
    };
    Panning = mode("Panning", "P", moPanning);
    Zooming = mode("Zooming", "Z", moZooming);
    Rotating = mode("Rotating", "R", moRotating);
    ZoomWindow = mode("Zoom Window", "[]", moZoomWindow);
    Rotating->setChecked(true);
    ZoomInButton = Tools->addAction(ButtonIcon("+", QColor(20, 110, 20)), "Zoom In", this, [this] {
        if (fView)
            fView->ZoomInClick();
    });
    ZoomOutButton =
        Tools->addAction(ButtonIcon("-", QColor(150, 20, 20)), "Zoom Out", this, [this] {
            if (fView)
                fView->ZoomOutClick();
        });
    RestartButton =
        Tools->addAction(ButtonIcon("0", QColor(60, 60, 60)), "Restart View", this, [this] {
            if (fView)
                fView->RestartViewClick();
        });
    SetVisible(false);
}

QAction* TView3DCommands::AddToggle(const QString& Caption, bool TBlockOptions::*Flag) {
    QAction* a = Menu->addAction(Caption);
    a->setCheckable(true);
    connect(a, &QAction::triggered, this, [this, Flag] {
        if (!fView)
            return;
        fView->Options.*Flag = !(fView->Options.*Flag);
        fView->RedrawComplete();
        if (TDlgPileDiagrams* dialog = fView->DiagramsDialog())
            dialog->LoadFromOptions();
    });
    return a;
}

void TView3DCommands::SetVisible(bool Visible) {
    Menu->menuAction()->setVisible(Visible);
    for (QAction* a : Buttons())
        a->setVisible(Visible);
}

void TView3DCommands::MouseOptionClick(int Option) {
    if (fView)
        fView->SetMouseOption(Option, ZoomWindow->isChecked());
}

void TView3DCommands::Open3DView() {
    if (!fView) {
        auto* view = new TDlgBlock(fProject, fGraphs, fDialogs);
        fView = view;
        fWindow = fArea.addSubWindow(view);
        fWindow->setAttribute(Qt::WA_DeleteOnClose);
        fWindow->setWindowTitle(view->windowTitle());
        fWindow->resize(680, 580);
        QMdiSubWindow* window = fWindow;
        connect(&fArea, &QMdiArea::subWindowActivated, view, [view, window](QMdiSubWindow* W) {
            if (W == window)
                view->FormActivate();
        });
        // Closing the view hides its menu and buttons again. The view is half destroyed when it
        // says so: only its address is compared.
        fViewObject = view;
        connect(view, &QObject::destroyed, this, [this](QObject* Gone) {
            if (Gone == fViewObject) {
                fViewObject = nullptr;
                SetVisible(false);
            }
        });
        int option = moRotating;
        for (auto [action, value] : {std::pair{Panning, 1}, std::pair{Zooming, 2},
                                     std::pair{Rotating, 3}, std::pair{ZoomWindow, 4}})
            if (action->isChecked())
                option = value;
        view->SetMouseOption(option, ZoomWindow->isChecked());
    }
    SetVisible(true);
    if (fWindow) {
        if (fWindow->isMinimized())
            fWindow->showNormal();
        fWindow->show();
        fArea.setActiveSubWindow(fWindow);
        fWindow->raise();
    }
    fView->FormActivate();
}

TDlgBlock* TView3DCommands::View() const {
    return fView;
}

void TView3DCommands::Close3DView() {
    if (fWindow)
        fWindow->close();
    // The window goes with the next turn of the event loop; it is no longer the view.
    fView = nullptr;
    fWindow = nullptr;
    fViewObject = nullptr;
    SetVisible(false);
}

void TView3DCommands::MenuShow() {
    if (!fView)
        return;
    const TBlockOptions& o = fView->Options;
    const std::initializer_list<std::pair<QAction*, bool>> checks{
        {ShowShaft, o.ShowShaft},
        {ShowWaterLevel, o.ShowWaterLevel},
        {ShowSoilLayers, o.ShowSoilLayers},
        {ShowLayerLabels, o.ShowSoilLayerLabels},
        {ShowLayerDepths, o.ShowSoilLayerDepthLabels},
        {ShowAxes, o.ShowLocalAxes},
        {ShowSkinFriction, o.ShowSkinFriction},
        {ShowTipResistance, o.ShowTipResistance},
        {ShowTotalCapacity, o.ShowTotalCapacity},
    };
    for (const auto& [action, checked] : checks)
        action->setChecked(checked);
    ShowLayerLabels->setEnabled(o.ShowSoilLayers);
    ShowLayerDepths->setEnabled(o.ShowSoilLayers);
    const bool results = fView->ResultsAvailable() && o.ShowShaft;
    for (QAction* a : {ShowSkinFriction, ShowTipResistance, ShowTotalCapacity, CombinedPlots})
        a->setEnabled(results);
}
