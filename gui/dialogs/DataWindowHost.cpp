// The data windows as single-instance children of the main window's frame.
#include "gui/dialogs/DataWindowHost.h"

#include "gui/dialogs/DataWindow.h"
#include "gui/dialogs/Options.h"
#include "gui/dialogs/SafetyFactor.h"
#include "gui/dialogs/ShaftProperties.h"
#include "gui/dialogs/SoilLayers.h"
#include "gui/dialogs/TZPrint.h"
#include "gui/dialogs/Title.h"
#include "gui/dialogs/VaryLength.h"
#include "gui/dialogs/WaterTable.h"
#include "gui/dialogs/designchart.h"
#include "gui/dialogs/shaftlength.h"
#include "ui/widgets/DataEdit.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include <utility>

namespace {

TDataWindow* DataWindowOf(QWidget* Child) {
    return qobject_cast<TDataWindow*>(Child);
}

TDataWindow* DataWindowOf(QMdiSubWindow* Window) {
    return Window ? DataWindowOf(Window->widget()) : nullptr;
}

// The frame around a child window's widget.
QMdiSubWindow* FrameOf(QWidget* Child) {
    for (QWidget* w = Child; w; w = w->parentWidget()) {
        if (auto* frame = qobject_cast<QMdiSubWindow*>(w)) {
            return frame;
        }
    }
    return nullptr;
}

} // namespace

// Loads a window from the project and connects the fields it has now.
void TDataWindowHost::Load(TDataWindow& Window) {
    Window.LoadFromProject();
    Window.ConnectFields();
}

void TDataWindowHost::Committed(const std::string& Name) {
    if (OnCommitted)
        OnCommitted(Name);
}

TDataWindowHost::TDataWindowHost(QMdiArea& Mdi, std::function<TProgramData&()> Project,
                                 TUserDialogs& Dialogs, QString& WordProcessor)
    : fMdi(Mdi), fProject(std::move(Project)), fDialogs(Dialogs), fWordProcessor(WordProcessor) {
    connect(&fMdi, &QMdiArea::subWindowActivated, this, &TDataWindowHost::SubWindowActivated);
}

TDataWindowHost::~TDataWindowHost() {
    disconnect(&fMdi, nullptr, this, nullptr);
    DiscardAll();
}

TDataWindow* TDataWindowHost::Create(TDataWindowKind Kind) {
    TProgramData& p = fProject();
    TDataWindow* window = nullptr;
    switch (Kind) {
    case dwTitle:
        window = new TdlgTitle(p, fDialogs);
        break;
    case dwShaft:
        window = new TfrmShaftpeneta(p, fDialogs);
        break;
    case dwLayers:
        window = new TDlgSoilLayers(p, fDialogs);
        break;
    case dwSafetyFactor:
        window = new TfrmSafetyFactor(p, fDialogs);
        break;
    case dwShaftLength:
        window = new TfrmPenetration(p, fDialogs);
        break;
    case dwDesignLoad:
        window = new TfrmDesignLoad(p, fDialogs);
        break;
    case dwWaterTable:
        window = new TfrmWaterDepth(p, fDialogs);
        break;
    case dwVaryLength:
        window = new TfrmVaryLength(p, fDialogs);
        break;
    case dwDesignCharts:
        window = new TfrmDesignCharts(p, fDialogs);
        break;
    case dwOptions:
    default:
        window = new TDlgOptions(p, fDialogs, fWordProcessor);
        break;
    }
    window->OnChanged = [this] {
        if (OnProjectChanged)
            OnProjectChanged();
    };
    window->OnCommitted = [this](const std::string& Name) { Committed(Name); };
    // The frame would size itself to the window's size hint; a window that chose its size (the
    // soil layers, to show all their columns) keeps it.
    const QSize chosen = window->testAttribute(Qt::WA_Resized) ? window->size() : QSize();
    QMdiSubWindow* frame = fMdi.addSubWindow(window);
    frame->setAttribute(Qt::WA_DeleteOnClose); // closing frees the window and clears its slot
    if (chosen.isValid()) {
        frame->adjustSize();
        const QSize decoration = frame->size() - window->size();
        frame->resize(chosen.expandedTo(window->minimumSizeHint()) + decoration);
    }
    fWindows[static_cast<std::size_t>(Kind)] = frame;
    return window;
}

QMdiSubWindow* TDataWindowHost::SubWindow(TDataWindowKind Kind) const {
    QMdiSubWindow* frame = fWindows.at(static_cast<std::size_t>(Kind));
    // A closed window is hidden at once and freed a moment later.
    return frame && !frame->isHidden() ? frame : nullptr;
}

TDataWindow* TDataWindowHost::Window(TDataWindowKind Kind) const {
    return DataWindowOf(SubWindow(Kind));
}

TDataWindow* TDataWindowHost::Open(TDataWindowKind Kind) {
    // What the user typed is taken first, from the window last activated and from the frame's
    // active child should they differ.
    QMdiSubWindow* const active = fMdi.activeSubWindow();
    if ((fCurrent && !Commit(fCurrent->widget())) ||
        (active && active != fCurrent && !Commit(active->widget()))) {
        return nullptr;
    }
    QMdiSubWindow* frame = SubWindow(Kind);
    TDataWindow* window = DataWindowOf(frame);
    if (!frame) {
        window = Create(Kind);
        frame = fWindows[static_cast<std::size_t>(Kind)];
    }
    if (frame->isMinimized()) {
        frame->showNormal();
    } else {
        frame->show();
    }
    frame->raise();
    fMdi.setActiveSubWindow(frame);
    // The frame's activation loads the window; when the frame did not report one, the window
    // is loaded here.
    if (fCurrent != frame) {
        fCurrent = frame;
        Load(*window);
    }
    return window;
}

bool TDataWindowHost::Close(TDataWindowKind Kind) {
    QMdiSubWindow* frame = SubWindow(Kind);
    return !frame || frame->close();
}

bool TDataWindowHost::Commit(QWidget* Child) {
    TDataWindow* window = DataWindowOf(Child);
    if (!window || window->isHidden()) {
        return true;
    }
    if (window->StoreToProject()) {
        Committed({});
        return true;
    }
    if (QMdiSubWindow* frame = FrameOf(window)) {
        Reactivate(frame);
    }
    return false;
}

void TDataWindowHost::Reactivate(QMdiSubWindow* Window) {
    fReactivating = true;
    if (Window->isMinimized()) {
        Window->showNormal();
    }
    fMdi.setActiveSubWindow(Window);
    fReactivating = false;
    // Activation moves the focus to the window's first control; the failed field wants it.
    for (TDataEdit* field : Window->findChildren<TDataEdit*>()) {
        if (!field->LastExit() && field->isEnabled()) {
            field->setFocus();
            field->selectAll();
            break;
        }
    }
}

void TDataWindowHost::SubWindowActivated(QMdiSubWindow* Window) {
    // Null: the last active child went (closed or the frame lost it); nothing takes over.
    if (fReactivating || !Window || Window == fCurrent) {
        return;
    }
    const QPointer<QMdiSubWindow> previous = fCurrent;
    if (previous && !previous->isHidden() && !Commit(previous->widget())) {
        return; // the previous window keeps the activation
    }
    fCurrent = Window;
    if (TDataWindow* data = DataWindowOf(Window)) {
        Load(*data);
    }
}

void TDataWindowHost::ReloadAll() {
    for (const QPointer<QMdiSubWindow>& frame : fWindows) {
        if (frame && !frame->isHidden()) {
            if (TDataWindow* window = DataWindowOf(frame.data())) {
                Load(*window);
            }
        }
    }
}

void TDataWindowHost::DiscardAll() {
    // Freeing the active child makes the frame activate another, which must not load.
    fReactivating = true;
    fCurrent = nullptr;
    for (QPointer<QMdiSubWindow>& frame : fWindows) {
        QMdiSubWindow* doomed = frame.data();
        frame = nullptr;
        delete doomed;
    }
    fReactivating = false;
}

void TDataWindowHost::EditTZPrint(QWidget* Parent) {
    TDlgTZPrint dialog(fProject(), fDialogs, Parent);
    dialog.OnChanged = OnProjectChanged;
    dialog.exec();
    Committed({});
}
