// The read-only graph view: axes with "nice" tick spacing, curves, legend.
#include "gui/results/GraphView.h"

#include "ui/NumberText.h"
#include "ui/units.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const QColor kCurveColours[] = {Qt::red,      Qt::blue,       Qt::darkGreen, Qt::magenta,
                                Qt::darkCyan, Qt::darkYellow, Qt::black,     Qt::darkRed,
                                Qt::darkBlue, Qt::darkMagenta};

struct TRange {
    double Min = 0.0;
    double Max = 0.0;
    void Widen() {
        if (!(Max > Min)) {
            const double pad = Min == 0.0 ? 1.0 : std::abs(Min) * 0.1;
            Min -= pad;
            Max += pad;
        }
    }
    double Span() const { return Max - Min; }
};

// Tick spacing: range / n rounded to 1, 2 or 5 times a power of ten.
double NiceSpacing(double Span, int N) {
    if (N < 1 || !(Span > 0.0))
        return 0.0;
    const double raw = Span / N;
    const double e = std::pow(10.0, std::floor(std::log10(raw)));
    const int f = static_cast<int>(raw / e);
    if (f <= 1)
        return e;
    if (f <= 4)
        return 2 * e;
    if (f <= 8)
        return 5 * e;
    return 10 * e;
}

QString AxisTitle(const std::string& Caption, const std::string& Units, int System) {
    QString text = QString::fromStdString(Caption).trimmed();
    const std::string unitText = UnitsDisplay(Units, System);
    if (!unitText.empty())
        text += " (" + QString::fromStdString(unitText) + ")";
    return text;
}

} // namespace

TGraphView::TGraphView(const TGraphPlot& Graph, QWidget* Parent) : QWidget(Parent), fGraph(Graph) {
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
}

void TGraphView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Draw(painter, rect());
}

void TGraphView::Draw(QPainter& Painter, const QRect& Area) const {
    const TGraphPlot& g = fGraph;
    Painter.save();
    Painter.setRenderHint(QPainter::Antialiasing);
    Painter.fillRect(Area, Qt::white);
    const QFontMetrics fm = Painter.fontMetrics();
    const int h = fm.height();

    QString title = QString::fromStdString(g.onGetCaption          ? g.onGetCaption(g)
                                           : g.UserCaption.empty() ? g.Caption
                                                                   : g.UserCaption);
    Painter.setPen(Qt::black);
    Painter.drawText(QRect(Area.left(), Area.top() + h / 2, Area.width(), h), Qt::AlignHCenter,
                     title.trimmed());

    // Data ranges of the visible curves, with the origin of each axis included.
    TRange x, y;
    bool any = false;
    for (int i = 0; i < g.LineCount(); ++i) {
        const TLine& line = g.Lines(i);
        if (!line.Visible || line.Points.size() < 2)
            continue;
        for (const TFloatPoint& p : line.Points) {
            if (!any) {
                x = {std::min(0.0, p.X), std::max(0.0, p.X)};
                y = {std::min(0.0, p.Y), std::max(0.0, p.Y)};
                any = true;
            }
            x.Min = std::min(x.Min, p.X);
            x.Max = std::max(x.Max, p.X);
            y.Min = std::min(y.Min, p.Y);
            y.Max = std::max(y.Max, p.Y);
        }
    }
    if (g.Yreversed && any)
        y.Max = std::max(y.Max, g.LayersTop);
    x.Widen();
    y.Widen();

    const int legendWidth = [&] {
        int w = 0;
        for (int i = 0; i < g.LineCount(); ++i)
            w = std::max(w, fm.horizontalAdvance(QString::fromStdString(g.Lines(i).LineName())));
        return any ? w + 3 * h : 0;
    }();
    const QRect plot(Area.left() + 4 * h, Area.top() + 5 * h / 2 + (g.XOnTop ? 2 * h : 0),
                     std::max(10, Area.width() - 5 * h - legendWidth),
                     std::max(10, Area.height() - 9 * h / 2 - 2 * h));
    if (!any) {
        Painter.drawText(plot, Qt::AlignCenter, "No results to show");
        Painter.restore();
        return;
    }

    // Depth and settlement grow downwards under an X axis along the top; elevations grow
    // upwards.
    const bool yDown = g.XOnTop && !g.Yreversed;
    auto px = [&](double v) { return plot.left() + (v - x.Min) / x.Span() * plot.width(); };
    auto py = [&](double v) {
        const double f = (v - y.Min) / y.Span();
        return yDown ? plot.top() + f * plot.height() : plot.bottom() - f * plot.height();
    };

    // Grid, ticks and tick labels.
    QPen grid(QColor(200, 200, 200));
    grid.setStyle(Qt::DotLine);
    const double dx = NiceSpacing(x.Span(), plot.width() / (6 * h));
    const double dy = NiceSpacing(y.Span(), plot.height() / (3 * h));
    if (dx > 0)
        for (double v = std::ceil(x.Min / dx) * dx; v <= x.Max + dx * 1e-9; v += dx) {
            const double sx = px(v);
            Painter.setPen(grid);
            Painter.drawLine(QPointF(sx, plot.top()), QPointF(sx, plot.bottom()));
            Painter.setPen(Qt::black);
            const QString label =
                QString::fromStdString(FormatGeneral(std::abs(v) < dx * 1e-9 ? 0.0 : v, 4));
            const int ly = g.XOnTop ? plot.top() - h / 4 - fm.descent() : plot.bottom() + h;
            Painter.drawText(QPointF(sx - fm.horizontalAdvance(label) / 2.0, ly), label);
        }
    if (dy > 0)
        for (double v = std::ceil(y.Min / dy) * dy; v <= y.Max + dy * 1e-9; v += dy) {
            const double sy = py(v);
            Painter.setPen(grid);
            Painter.drawLine(QPointF(plot.left(), sy), QPointF(plot.right(), sy));
            Painter.setPen(Qt::black);
            const QString label =
                QString::fromStdString(FormatGeneral(std::abs(v) < dy * 1e-9 ? 0.0 : v, 4));
            Painter.drawText(QPointF(plot.left() - fm.horizontalAdvance(label) - h / 4,
                                     sy + fm.ascent() / 2.0 - 1),
                             label);
        }

    // Axis titles.
    Painter.setPen(Qt::black);
    const QString xTitle = AxisTitle(g.XCaption, g.XUnits, g.Units());
    const int xTitleY = g.XOnTop ? plot.top() - 3 * h / 2 : plot.bottom() + 3 * h / 2;
    Painter.drawText(QRect(plot.left(), xTitleY - h / 2, plot.width(), h), Qt::AlignHCenter,
                     xTitle);
    Painter.save();
    Painter.translate(Area.left() + h, plot.center().y());
    Painter.rotate(-90);
    Painter.drawText(QRect(-plot.height() / 2, -h / 2, plot.height(), h), Qt::AlignHCenter,
                     AxisTitle(g.YCaption, g.YUnits, g.Units()));
    Painter.restore();

    // Curves.
    Painter.save();
    Painter.setClipRect(plot.adjusted(-2, -2, 2, 2));
    int k = 0;
    for (int i = 0; i < g.LineCount(); ++i) {
        const TLine& line = g.Lines(i);
        if (!line.Active)
            continue;
        const QColor colour = kCurveColours[k++ % std::size(kCurveColours)];
        if (!line.Visible || line.Points.size() < 2)
            continue;
        QPainterPath path;
        path.moveTo(px(line.Points.front().X), py(line.Points.front().Y));
        for (const TFloatPoint& p : line.Points)
            path.lineTo(px(p.X), py(p.Y));
        Painter.setPen(QPen(colour, std::max(1, g.WidthLine)));
        Painter.setBrush(Qt::NoBrush);
        Painter.drawPath(path);
    }
    Painter.restore();
    Painter.setPen(Qt::black);
    Painter.drawRect(plot);

    // Legend.
    if (g.ShowLegend) {
        int row = 0;
        k = 0;
        for (int i = 0; i < g.LineCount(); ++i) {
            const TLine& line = g.Lines(i);
            if (!line.Active)
                continue;
            const QColor colour = kCurveColours[k++ % std::size(kCurveColours)];
            const int ly = plot.top() + row++ * h * 3 / 2;
            const int lx = plot.right() + h;
            Painter.setPen(QPen(colour, 2));
            Painter.drawLine(lx, ly + h / 2, lx + h, ly + h / 2);
            Painter.setPen(Qt::black);
            Painter.drawText(QPoint(lx + 3 * h / 2, ly + fm.ascent()),
                             QString::fromStdString(line.LineName()).trimmed());
        }
    }
    Painter.restore();
}

void TGraphWindow::closeEvent(QCloseEvent* Event) {
    Event->accept();
    if (auto closed = std::move(OnClosed))
        closed();
}

TGraphViewForm::TGraphViewForm(QMdiArea& Area, TGraphPlot& Graph) : fArea(Area) {
    fWindow = new TGraphWindow;
    fWindow->setWidget(new TGraphView(Graph));
    fWindow->setWindowTitle(QString::fromStdString(Graph.Caption).trimmed());
    fWindow->setAttribute(Qt::WA_DeleteOnClose, false);
    TGraphPlot* graph = &Graph;
    fWindow->OnClosed = [this, graph] {
        fClosing = true;
        if (graph->Form() == this)
            graph->Hide(); // frees this form
    };
    fArea.addSubWindow(fWindow);
}

TGraphViewForm::~TGraphViewForm() {
    if (!fWindow)
        return;
    fWindow->OnClosed = nullptr;
    if (fClosing)
        fWindow->deleteLater(); // still inside its own close event
    else
        delete fWindow.data();
}

void TGraphViewForm::ShowForm() {
    if (!fWindow)
        return;
    if (fWindow->isMinimized())
        fWindow->showNormal();
    // A design chart's caption is set by the reader, after the window may have been made.
    if (auto* view = qobject_cast<TGraphView*>(fWindow->widget()))
        fWindow->setWindowTitle(QString::fromStdString(view->Graph().Caption).trimmed());
    fWindow->show();
    fArea.setActiveSubWindow(fWindow);
    fWindow->raise();
    fWindow->widget()->update();
}
