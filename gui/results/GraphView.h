// A plain read-only view of a result graph in a child window of the main window: its curves
// as polylines with axes, ticks and a legend. Attached to a TGraphPlot as its TGraphForm.
#pragma once

#include "gui/data/PltData.h"

#include <QMdiSubWindow>
#include <QPointer>
#include <QWidget>
#include <functional>

class QMdiArea;

// Draws one graph; one routine serves the screen and pictures.
class TGraphView : public QWidget {
    Q_OBJECT
public:
    explicit TGraphView(const TGraphPlot& Graph, QWidget* Parent = nullptr);
    const TGraphPlot& Graph() const { return fGraph; }
    void Draw(QPainter& Painter, const QRect& Area) const;
    QSize sizeHint() const override { return {560, 440}; }

protected:
    void paintEvent(QPaintEvent* Event) override;

private:
    const TGraphPlot& fGraph;
};

// The child window around a view; reports its closing.
class TGraphWindow : public QMdiSubWindow {
    Q_OBJECT
public:
    using QMdiSubWindow::QMdiSubWindow;
    std::function<void()> OnClosed;

protected:
    void closeEvent(QCloseEvent* Event) override;
};

// The graph's window: created by the graph's Show, freed by its Hide or when the user closes
// it.
class TGraphViewForm : public TGraphForm {
public:
    TGraphViewForm(QMdiArea& Area, TGraphPlot& Graph);
    ~TGraphViewForm() override;
    void ShowForm() override;
    TGraphWindow* Window() const { return fWindow; }

private:
    QMdiArea& fArea;
    QPointer<TGraphWindow> fWindow;
    bool fClosing = false;
};
