// TDlgBlock: the 3D view, a child window of the main window captioned "3-D View". It shows
// the soil layers as translucent boxes, the water table as a translucent plane with water
// symbols, the shaft as a cylinder with its ignored portions and bell, and on request the
// combined result curves of the initial diameter as diagrams beside the shaft. Its display
// options are the main window's "Show 3D View" menu and the "Combined Plots" dialog; the
// mouse and the main window's 3D tool buttons turn, pan and zoom it (see TglWindow).
#pragma once

#include "gui/results/PileProject.h"
#include "gui/results/View3dScene.h"

#include <QPageLayout>
#include <QPointer>
#include <QWidget>

class QMdiArea;
class QPrinter;
class TDlgPileDiagrams;
class TGraphPlot;
class TResultGraphs;
class TUserDialogs;
class TglWindow;

class TDlgBlock : public QWidget {
    Q_OBJECT
public:
    TDlgBlock(TProjectSource Project, TResultGraphs& Graphs, TUserDialogs& Dialogs,
              QWidget* Parent = nullptr);
    ~TDlgBlock() override;

    // The 3D view of the frame, or null.
    static TDlgBlock* Find(QMdiArea& Area);

    // Display options; change them, then RedrawComplete.
    TBlockOptions Options;

    // Activation: the scene extent and fit from the project, then RedrawComplete.
    void FormActivate();
    // Rebuilds the scene (the display lists) from the project, the options and the results.
    void RedrawComplete();
    // The result curves may be shown: a plot file of the project was read and still exists.
    bool ResultsAvailable() const;
    // The graph the diagrams come from: ultimate or ASD/LRFD values by ShowUltimateResults.
    const TGraphPlot& DiagramGraph() const;

    // Tool buttons.
    void SetMouseOption(int Option, bool ZoomWindowDown);
    void ZoomInClick();
    void ZoomOutClick();
    void RestartViewClick();

    // The "Combined Plots" dialog, kept on top of Owner (the main window); made when needed.
    TDlgPileDiagrams* ShowDiagramsDialog(QWidget* Owner);
    TDlgPileDiagrams* DiagramsDialog() const;

    // The picture of the view; writes it to a file, ".png", ".bmp" or ".pdf" by the name (the
    // PDF page is the picture at kPicturePpi); false for any other name or a failed write.
    static constexpr int kPicturePpi = 96;
    QImage RenderImage();
    bool SavePicture(const QString& FileName);
    // Asks for a file name and saves the picture there.
    void SavePictureClick();
    // Prints the picture on Printer (a printer or a PDF file), as large as the page allows under
    // the project's title and the date; false when the job could not be started.
    bool PrintTo(QPrinter& Printer);
    // The print and page setup dialogs, for a printer or, without one, a PDF file.
    void PrintClick();
    void PageSetupClick();

    const TSceneExtent& Extent() const { return fExtent; }
    TglWindow& Gl() { return *fGl; }

protected:
    void closeEvent(QCloseEvent* Event) override;
    void contextMenuEvent(QContextMenuEvent* Event) override;

private:
    void Refit();
    QString PageHeading() const;

    TProjectSource fProject;
    TResultGraphs& fGraphs;
    TUserDialogs& fDialogs;
    TglWindow* fGl = nullptr;
    TSceneExtent fExtent;
    QPointer<TDlgPileDiagrams> fDiagrams;
    QPageLayout fPageLayout;
};
