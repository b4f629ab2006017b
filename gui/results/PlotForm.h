// TPlotForm: the plot window, a child window of the main window's frame that shows one result
// graph as an x-y chart. It owns the chart canvas (painted by TPlotPainter), the movable
// legend, and the plot menu that joins the main menu bar while the window is active; it zooms
// with a rubber rectangle, reads the values under the pointer into its title, prints, and
// saves pictures. The graph owns the window from its Show until it is closed.
#pragma once

#include "gui/results/PlotPainter.h"

#include <QMdiSubWindow>
#include <QPageLayout>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

class QAction;
class QActionGroup;
class QMdiArea;
class QMenu;
class QMenuBar;
class QRubberBand;
class TPlotForm;
class TUserDialogs;

// The legend: one owner-drawn row per active curve, in the curve's colour; a visible curve's
// name is followed by " *". Drag it to move it; double-click a row to show or hide its curve.
class TPlotLegend : public QWidget {
    Q_OBJECT
public:
    TPlotLegend(TPlotForm& Form, QWidget* Parent);

    struct TRow {
        int Curve = 0; // index of the curve in the graph
        QString Name;
    };
    void SetRows(std::vector<TRow> Rows);
    const std::vector<TRow>& Rows() const { return fRows; }
    // The text shown in a row.
    QString RowText(int Row) const;
    // The row under a point of the legend, -1 for none.
    int RowAt(const QPoint& At) const;
    // Font size FontSize * LegendFont / 10, row height 1.5 times the font size, height of all
    // rows plus 3, width the widest row text plus a quarter inch.
    void SetupLegend(int FontSize);
    // Sizes the legend as SetupLegend does, then shrinks its font (not below
    // TPlotPainter::kMinLegendPoints) until it is no taller than MaxHeight; rows that still do
    // not fit go on in further columns side by side.
    void FitLegend(int FontSize, int MaxHeight);
    int RowHeight() const { return fRowHeight; }
    int Columns() const { return (static_cast<int>(fRows.size()) + fPerColumn - 1) / fPerColumn; }
    // Double-click on a row: toggles its curve.
    void RowDoubleClicked(int Row);

protected:
    void paintEvent(QPaintEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void mouseDoubleClickEvent(QMouseEvent* Event) override;

private:
    TPlotForm& fForm;
    std::vector<TRow> fRows;
    // Where a row is drawn: its column, then its line in the column.
    QRect RowRect(int Row) const;

    int fRowHeight = 16;
    int fColumnWidth = 21;
    int fPerColumn = 1; // rows in each column
    bool fDragLegend = false;
    QPoint fDragPoint;
};

// The chart itself: paints through the form's painter and turns mouse actions into zooms.
class TPlotCanvas : public QWidget {
    Q_OBJECT
public:
    TPlotCanvas(TPlotForm& Form, QWidget* Parent);

protected:
    void paintEvent(QPaintEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void leaveEvent(QEvent* Event) override;

private:
    TPlotForm& fForm;
};

class TPlotForm : public QMdiSubWindow, public TGraphForm {
    Q_OBJECT
public:
    // Makes the window for Graph in Area: the full value range, the active curves (at most 20
    // with LimitActive), the legend rows and the curve items of the plot menu. Dialogs answers
    // the window's messages and the save dialog.
    TPlotForm(QMdiArea& Area, TGraphPlot& Graph, TUserDialogs& Dialogs);
    ~TPlotForm() override;
    // Shows the window maximised and active; restores it when minimised.
    void ShowForm() override;

    TGraphPlot& Data;
    TPlotPainter Painter;
    // The project's folder, where the save and print dialogs start.
    std::function<QString()> Folder;
    TPlotCanvas* Canvas = nullptr;
    TPlotLegend* Legend = nullptr;
    QMenu* PlotMenu = nullptr;

    // The plot menu: 14 fixed items, then one check item per active curve.
    static constexpr int FixedItemCount = 14;
    QAction *ShowLegendItem = nullptr, *ShowLayersItem = nullptr, *ShowWallItem = nullptr,
            *MarkersItem = nullptr, *FontSizeItem = nullptr, *LineWidthItem = nullptr,
            *GraphTitleItem = nullptr, *EditLegendItem = nullptr, *ActiveCurvesItem = nullptr,
            *PrintItem = nullptr, *PageSetupItem = nullptr, *SaveToDiskItem = nullptr;
    std::vector<QAction*> CurveItems; // tag (data) = the curve's index
    QActionGroup *MarkerGroup = nullptr, *FontGroup = nullptr, *WidthGroup = nullptr;

    // Commands of the plot menu.
    void ShowLegendClick();
    void ShowLayersClick();
    void SetMarkers(int Value);
    void SetSizeFont(int Value);
    void SetWidthLine(int Value);
    void ToggleCurve(int Curve);
    void GraphTitleClick();
    void EditLegendClick();
    void ActiveCurvesClick();
    void PrintClick();
    void PageSetupClick();
    void SaveToDiskClick();
    // Checks and shows the items by the graph's settings; run each time the menu opens.
    void PlotMenuShow();

    // Zoom between two pixels of the canvas (a rubber rectangle), and out around one.
    void ZoomBetween(const QPointF& A, const QPointF& B);
    void ZoomOutAt(const QPointF& At);
    // The pointer read-out in the title: the caption, then " X: " x " Y: " y.
    void ShowPointer(const QPointF& At);
    void ShowCaption();
    // The graph's caption, from its caption supplier when it has one, then the mark when set.
    QString CaptionText() const;
    // A mark of the results shown (the main window's "out of date, run again"), in the caption
    // and on the Print command; empty takes it away.
    void SetCaptionMark(const QString& Mark);
    QString CaptionMark;
    // Lays the canvas out again and keeps the legend inside it.
    void FormResize();
    // Rebuilds the legend rows and the curve items for the active curves, in curve order.
    void RebuildCurves();
    // The graph area's pixel point nearest to At.
    QPointF HeldInside(const QPointF& At) const;

    // Set once the user drags the legend; before that it keeps to the graph area's corner.
    bool LegendMoved = false;

    // Zoom state, driven by the canvas.
    bool Zooming = false;
    QPointF ZoomOrigin;
    QRubberBand* RubberBand = nullptr;

    // Puts the active window's plot menu into the menu bar before Before, and takes any other
    // plot menu out; a window that is not a plot window leaves no plot menu there.
    static void MergePlotMenu(QMenuBar& Bar, QAction* Before, QMdiSubWindow* Active);

protected:
    void closeEvent(QCloseEvent* Event) override;

private:
    void CreateMenu();
    void Message(const QString& Text);
    // The on-screen legend's top-left as a fraction of the canvas, for printed legends.
    void AnchorLegend();

    QMdiArea& fArea;
    TUserDialogs& fDialogs;
    QPageLayout fPageLayout;
};
