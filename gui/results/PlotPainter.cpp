// Painting a result graph: captions, ticks and dotted grid, curves with markers, the legend box,
// the soil band with its hatches and bitmap patterns, and the pictures saved to disk.
#include "gui/results/PlotPainter.h"

#include "ui/model/NumberText.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QPolygonF>
#include <QSaveFile>
#include <QSvgGenerator>
#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

namespace {

QColor ColourOf(int K) {
    const TRgb c = CurveColour(K);
    return QColor(c.R, c.G, c.B);
}

QString Q(const std::string& S) {
    return QString::fromStdString(S);
}

// ---------------------------------------------------------------------------------------------
// Bitmap patterns of the soil band, drawn in unit coordinates onto a tile of any size so that
// the screen and the print versions show the same picture. Black on white; each one repeats
// seamlessly.

// A small deterministic sequence for the scattered grains (the same picture every time).
struct TGrains {
    unsigned State;
    double Next() {
        State = State * 1103515245u + 12345u;
        return static_cast<double>((State >> 8) & 0xFFFF) / 65536.0;
    }
};

void DrawTile(QPainter& P, int Pattern, double W, double H) {
    const double u = std::min(W, H) / 40.0; // stroke unit
    // Straight joints are drawn crisp, grains and pebbles smooth.
    P.setRenderHint(QPainter::Antialiasing, Pattern == 7 || Pattern >= 11);
    QPen pen(Qt::black, std::max(1.0, std::round(u * 1.2)));
    pen.setCapStyle(Qt::RoundCap);
    P.setPen(pen);
    P.setBrush(Qt::NoBrush);
    switch (Pattern) {
    case 7: { // sand: scattered fine grains
        TGrains g{7};
        P.setBrush(Qt::black);
        P.setPen(Qt::NoPen);
        for (int i = 0; i < 90; ++i) {
            const double r = u * (0.45 + 0.4 * g.Next());
            P.drawEllipse(QPointF(g.Next() * W, g.Next() * H), r, r);
        }
        break;
    }
    case 8: // shale: thin laminations broken into staggered lengths
        for (int row = 0; row < 3; ++row) {
            const double y = H * (row + 0.5) / 3.0;
            const double shift = (row % 2) * W * 0.5;
            P.drawLine(QPointF(shift - W * 0.5 + u * 2, y), QPointF(shift + W * 0.2, y));
            P.drawLine(QPointF(shift + W * 0.3, y), QPointF(shift + W - u * 2, y));
        }
        break;
    case 9: // rock: massive blocks, jointed like masonry
        P.drawLine(QPointF(0, H * 0.02), QPointF(W, H * 0.02));
        P.drawLine(QPointF(0, H * 0.52), QPointF(W, H * 0.52));
        P.drawLine(QPointF(W * 0.5, H * 0.02), QPointF(W * 0.5, H * 0.52));
        P.drawLine(QPointF(W * 0.02, H * 0.52), QPointF(W * 0.02, H));
        break;
    case 10: // decomposed rock: broken blocks with weathered fragments
        P.drawLine(QPointF(0, H * 0.02), QPointF(W * 0.4, H * 0.02));
        P.drawLine(QPointF(W * 0.6, H * 0.02), QPointF(W, H * 0.02));
        P.drawLine(QPointF(W * 0.15, H * 0.25), QPointF(W * 0.35, H * 0.42));
        P.drawLine(QPointF(W * 0.1, H * 0.52), QPointF(W * 0.9, H * 0.52));
        P.drawLine(QPointF(W * 0.65, H * 0.7), QPointF(W * 0.85, H * 0.88));
        P.setBrush(Qt::black);
        P.setPen(Qt::NoPen);
        for (const QPointF c : {QPointF(0.7, 0.25), QPointF(0.3, 0.8), QPointF(0.5, 0.68)})
            P.drawEllipse(QPointF(c.x() * W, c.y() * H), u * 1.3, u * 1.3);
        break;
    case 11: { // gravelly sand: small pebbles among grains
        TGrains g{11};
        const double pebble = std::min(W, H * 0.5) * 0.08;
        for (const QPointF c :
             {QPointF(0.25, 0.12), QPointF(0.72, 0.3), QPointF(0.3, 0.58), QPointF(0.78, 0.82)})
            P.drawEllipse(QPointF(c.x() * W, c.y() * H), pebble * 1.3, pebble * 0.9);
        P.setBrush(Qt::black);
        P.setPen(Qt::NoPen);
        for (int i = 0; i < 60; ++i)
            P.drawEllipse(QPointF(g.Next() * W, g.Next() * H), u * 0.5, u * 0.5);
        break;
    }
    case 12: { // gravel: packed rounded pebbles
        const int rows = H > W ? 8 : 4;
        const double rx = W * 0.11, ry = H / rows * 0.3;
        for (int row = 0; row < rows; ++row) {
            const double y = H * (row + 0.5) / rows;
            const double shift = (row % 2) * W / 6.0;
            for (int col = -1; col < 3; ++col) {
                const double x = shift + W * (col + 0.5) / 3.0;
                P.drawEllipse(QPointF(x, y), rx * (0.75 + 0.12 * ((row + col + 3) % 3)), ry);
            }
        }
        break;
    }
    default:
        break;
    }
}

QSize TileSize(int Pattern, bool ForPrinter) {
    switch (Pattern) {
    case 7:
        return ForPrinter ? QSize(96, 96) : QSize(80, 80);
    case 8:
    case 9:
    case 10:
        return ForPrinter ? QSize(96, 69) : QSize(30, 42);
    case 11:
    case 12:
        return ForPrinter ? QSize(96, 192) : QSize(80, 80);
    default:
        return {};
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Patterns

QImage BandTile(int Pattern, bool ForPrinter, double Scale) {
    QSize size = TileSize(Pattern, ForPrinter);
    if (size.isEmpty())
        return {};
    if (Scale > 0.0 && Scale <= 64.0 && Scale != 1.0)
        size = QSize(std::max(1, static_cast<int>(std::lround(size.width() * Scale))),
                     std::max(1, static_cast<int>(std::lround(size.height() * Scale))));
    QImage tile(size, QImage::Format_RGB32);
    tile.fill(Qt::white);
    QPainter p(&tile);
    DrawTile(p, Pattern, size.width(), size.height());
    return tile;
}

QBrush BandBrush(int Pattern, bool ForPrinter, double Scale) {
    static constexpr std::array<Qt::BrushStyle, 6> kHatches = {
        Qt::BDiagPattern,     Qt::FDiagPattern, Qt::CrossPattern,
        Qt::DiagCrossPattern, Qt::HorPattern,   Qt::VerPattern};
    if (Pattern >= 7 && Pattern <= 12) {
        // The tiles are drawn at the device's own resolution, so they stay sharp on paper.
        // The print tiles hold the same picture at a finer grain, covering the same paper at
        // twice the screen's density.
        return QBrush(BandTile(Pattern, ForPrinter, ForPrinter ? Scale / 2.0 : Scale));
    }
    if (Pattern < 1 || Pattern > 6)
        return QBrush(Qt::NoBrush);
    QBrush brush(Qt::black, kHatches[static_cast<std::size_t>(Pattern - 1)]);
    if (Scale > 0.0 && std::isfinite(Scale) && Scale != 1.0)
        brush.setTransform(QTransform::fromScale(Scale, Scale));
    return brush;
}

// ---------------------------------------------------------------------------------------------
// TPlotPainter

TPlotPainter::TPlotPainter(TGraphPlot& Graph) : Data(Graph) {
    ResetBounds();
}

void TPlotPainter::ResetBounds() {
    const std::optional<TFloatRect> range = ValueRange(Data);
    Valid = range.has_value();
    MaxLogicBounds = range.value_or(TFloatRect{0.0, 0.0, 1.0, 1.0});
    LogicBounds = MaxLogicBounds;
}

QFont TPlotPainter::GraphFont(const QPaintDevice* Device) const {
    QFont font("Times New Roman");
    font.setStyleHint(QFont::Serif);
    font.setPointSizeF(std::max(1, Data.SizeFont));
    return Device ? QFont(font, Device) : font;
}

void TPlotPainter::Layout(const QRectF& Bounds, const QPaintDevice* Device) {
    DrawWindow.Bounds = Bounds;
    if (Device && Device->logicalDpiX() > 0 && Device->logicalDpiY() > 0)
        DrawWindow.PixelsPerInch = QPointF(Device->logicalDpiX(), Device->logicalDpiY());
    const QFont font = GraphFont(Device);
    TLayoutInput in;
    in.Bounds = {Bounds.left(), Bounds.top(), Bounds.right(), Bounds.bottom()};
    in.Bounds.Right = Bounds.left() + Bounds.width();
    in.Bounds.Bottom = Bounds.top() + Bounds.height();
    in.H = Device ? QFontMetricsF(font, Device).height() : QFontMetricsF(font).height();
    in.Px = DrawWindow.PixelsPerInch.x();
    in.Py = DrawWindow.PixelsPerInch.y();
    in.XOnTop = Data.XOnTop;
    in.HasTitle = !Data.UserCaption.empty();
    in.TitleOnTop = Data.UserCaptionOnTop;
    in.ShowLayers = Data.ShowLayers;
    in.ForPrinter = DrawWindow.Printing;
    const TLayout layout = LayOut(in);
    const TPixelRect& g = layout.GraphArea;
    DrawWindow.GraphArea = QRectF(g.Left, g.Top, g.Width(), g.Height());
    const TPixelRect& b = layout.LayersArea;
    DrawWindow.LayersArea =
        layout.HasLayers ? QRectF(b.Left, b.Top, b.Width(), b.Height()) : QRectF();
}

QPointF TPlotPainter::ToPixel(double X, double Y) const {
    const QRectF& g = DrawWindow.GraphArea;
    const double x = MapLinear(X, LogicBounds.Left, LogicBounds.Right, g.left(), g.right());
    const double y = Data.XOnTop
                         ? MapLinear(Y, LogicBounds.Top, LogicBounds.Bottom, g.top(), g.bottom())
                         : MapLinear(Y, LogicBounds.Top, LogicBounds.Bottom, g.bottom(), g.top());
    return {x, y};
}

TFloatPoint TPlotPainter::ToValue(const QPointF& Pixel) const {
    const QRectF& g = DrawWindow.GraphArea;
    TFloatPoint v;
    v.X = MapLinear(Pixel.x(), g.left(), g.right(), LogicBounds.Left, LogicBounds.Right);
    v.Y = Data.XOnTop
              ? MapLinear(Pixel.y(), g.top(), g.bottom(), LogicBounds.Top, LogicBounds.Bottom)
              : MapLinear(Pixel.y(), g.bottom(), g.top(), LogicBounds.Top, LogicBounds.Bottom);
    return v;
}

std::vector<TPlotPainter::TLegendRow> TPlotPainter::LegendRows() const {
    std::vector<TLegendRow> rows;
    int k = 0;
    for (int i = 0; i < Data.LineCount(); ++i) {
        const TLine& line = Data.Lines(i);
        if (!line.Active)
            continue;
        if (line.Visible && line.HoldsCurve())
            rows.push_back({i, k});
        ++k;
    }
    return rows;
}

void TPlotPainter::draw(QPainter& Painter, const QRect& Bounds) {
    Painter.save();
    Layout(Bounds, Painter.device());
    Painter.fillRect(Bounds, Qt::white);
    const QPointF ppi = DrawWindow.PixelsPerInch;
    if (Bounds.width() < ppi.x() || Bounds.height() < ppi.y() || !Valid ||
        !DrawWindow.GraphArea.isValid()) {
        Painter.restore();
        return;
    }
    Painter.setRenderHint(QPainter::Antialiasing);
    Painter.setRenderHint(QPainter::TextAntialiasing);
    const QFont font = GraphFont(Painter.device());
    const double h = QFontMetricsF(font, Painter.device()).height();

    std::optional<TLegendBox> legend;
    if (DrawWindow.PrintLegend && Data.ShowLegend)
        legend = PlaceLegend(Painter.device());
    DrawCaptions(Painter, h);
    DrawTicks(Painter, h);
    DrawCurves(Painter);
    if (legend)
        DrawLegendBox(Painter, *legend);
    if (Data.ShowLayers)
        DrawSoilBand(Painter);
    Painter.setPen(QPen(Qt::black, 1));
    Painter.setBrush(Qt::NoBrush);
    Painter.drawRect(DrawWindow.GraphArea);
    Painter.restore();
}

void TPlotPainter::DrawCaptions(QPainter& P, double H) const {
    const QRectF& b = DrawWindow.Bounds;
    const QRectF& g = DrawWindow.GraphArea;
    QFont bold = GraphFont(P.device());
    bold.setBold(true);
    P.setFont(bold);
    P.setPen(Qt::black);
    const bool title = !Data.UserCaption.empty();
    const double topTitle = title && Data.UserCaptionOnTop ? H / 8 + H : 0.0;
    const double bottomTitle = title && !Data.UserCaptionOnTop ? H : 0.0;

    // Captions may end in a blank; the unit name follows the text after one blank only.
    auto caption = [&](const std::string& Text, const std::string& Units) {
        return Q(AxisCaption(Q(Text).trimmed().toStdString(), Units, Data.Units()));
    };
    const QString xCaption = caption(Data.XCaption, Data.XUnits);
    const double xCaptionTop =
        Data.XOnTop ? b.top() + H / 8 + topTitle : b.bottom() - H - H / 8 - bottomTitle;
    P.drawText(QRectF(b.left(), xCaptionTop, b.width(), H), Qt::AlignCenter, xCaption);

    if (title) {
        const double y = Data.UserCaptionOnTop ? b.top() + H / 8 : b.bottom() - H;
        P.drawText(QRectF(b.left(), y, b.width(), H), Qt::AlignCenter, Q(Data.UserCaption));
    }

    // The Y caption reads upwards along the left edge.
    const QString yCaption = caption(Data.YCaption, Data.YUnits);
    P.save();
    P.translate(b.left() + H / 8, g.center().y());
    P.rotate(-90);
    P.drawText(QRectF(-g.height() / 2 - H, 0, g.height() + 2 * H, H), Qt::AlignCenter, yCaption);
    P.restore();
}

void TPlotPainter::DrawTicks(QPainter& P, double H) const {
    const QRectF& g = DrawWindow.GraphArea;
    const int nx = static_cast<int>(g.width() / (6 * H));
    const int ny = static_cast<int>(g.height() / (6 * H));
    if (nx == 0 || ny == 0)
        return;
    const double px = DrawWindow.PixelsPerInch.x(), py = DrawWindow.PixelsPerInch.y();
    const QPen tickPen(Qt::black, std::max(1.0, std::round(px / 300.0)));
    QPen gridPen(QColor(96, 96, 96), std::max(1.0, std::round(px / 300.0)));
    gridPen.setStyle(Qt::DotLine);
    P.setFont(GraphFont(P.device()));
    const QFontMetricsF fm(P.font(), P.device());

    // X ticks from the X axis edge inwards; labels above the top edge or below the bottom one.
    const TTicks xt = TicksFor(LogicBounds.Left, LogicBounds.Right, nx);
    const double edge = Data.XOnTop ? g.top() : g.bottom();
    const double inward = Data.XOnTop ? py / 16 : -py / 16;
    for (long long i = xt.Start; !xt.Empty() && i <= xt.Finish; ++i) {
        const double v = xt.Value(i);
        const double x = ToPixel(v, LogicBounds.Top).x();
        P.setPen(tickPen);
        P.drawLine(QPointF(x, edge), QPointF(x, edge + inward));
        if (!TTicks::IsLabelled(i))
            continue;
        P.setPen(gridPen);
        P.drawLine(QPointF(x, g.top()), QPointF(x, g.bottom()));
        P.setPen(Qt::black);
        const QString label = Q(FormatGeneral(v, 4));
        const double w = fm.horizontalAdvance(label) + H;
        const double y = Data.XOnTop ? g.top() - H - H / 8 : g.bottom() + H / 8;
        P.drawText(QRectF(x - w / 2, y, w, H), Qt::AlignCenter, label);
    }

    // Y ticks from the left edge inwards; labels turned, left of the left edge.
    const TTicks yt = TicksFor(LogicBounds.Top, LogicBounds.Bottom, ny);
    for (long long i = yt.Start; !yt.Empty() && i <= yt.Finish; ++i) {
        const double v = yt.Value(i);
        const double y = ToPixel(LogicBounds.Left, v).y();
        P.setPen(tickPen);
        P.drawLine(QPointF(g.left(), y), QPointF(g.left() + px / 16, y));
        if (!TTicks::IsLabelled(i))
            continue;
        P.setPen(gridPen);
        P.drawLine(QPointF(g.left(), y), QPointF(g.right(), y));
        P.setPen(Qt::black);
        const QString label = Q(FormatGeneral(v, 4));
        const double w = fm.horizontalAdvance(label) + H;
        P.save();
        P.translate(g.left() - H / 8 - H, y);
        P.rotate(-90);
        P.drawText(QRectF(-w / 2, 0, w, H), Qt::AlignCenter, label);
        P.restore();
    }
}

void TPlotPainter::DrawMarker(QPainter& P, const QPointF& At, int Shape) const {
    const double rx = DrawWindow.PixelsPerInch.x() / 32, ry = DrawWindow.PixelsPerInch.y() / 32;
    QPolygonF polygon;
    for (const TFloatPoint& v : MarkerVertices(Shape, rx, ry))
        polygon << QPointF(At.x() + v.X, At.y() + v.Y);
    if (!polygon.isEmpty())
        polygon << polygon.front();
    P.drawPolyline(polygon);
}

void TPlotPainter::DrawCurves(QPainter& P) const {
    bool any = false;
    for (int i = 0; i < Data.LineCount() && !any; ++i)
        any = Data.Lines(i).Points.size() >= 2;
    if (!any)
        return;
    P.save();
    P.setClipRect(DrawWindow.GraphArea);
    const double width =
        (std::round(DrawWindow.PixelsPerInch.x() / 300.0) + 1.0) * std::max(1, Data.WidthLine);
    int k = 0;
    for (int i = 0; i < Data.LineCount(); ++i) {
        const TLine& line = Data.Lines(i);
        if (!line.Active)
            continue;
        const QColor colour = ColourOf(k++);
        if (!line.Visible || !line.HoldsCurve())
            continue;
        QPen pen(colour, width);
        pen.setJoinStyle(Qt::RoundJoin);
        P.setPen(pen);
        P.setBrush(Qt::NoBrush);
        QPolygonF polyline;
        for (const TFloatPoint& p : line.Points)
            polyline << ToPixel(p.X, p.Y);
        P.drawPolyline(polyline);
        if (Data.Markers > 0) {
            pen.setWidthF(std::max(1.0, width / 2));
            P.setPen(pen);
            const int shape = MarkerShape(i);
            for (std::size_t j = 0; j < line.Points.size(); ++j)
                if (j % static_cast<std::size_t>(Data.Markers) == 0)
                    DrawMarker(P, polyline[static_cast<qsizetype>(j)], shape);
        }
    }
    P.restore();
}

QPointF TPlotPainter::QuietCorner(double W, double H) const {
    const double gap = DrawWindow.PixelsPerInch.x() / 16;
    const QRectF& g = DrawWindow.GraphArea;
    const std::array<QPointF, 4> corners = {QPointF(g.right() - W - gap, g.bottom() - H - gap),
                                            QPointF(g.left() + gap, g.bottom() - H - gap),
                                            QPointF(g.right() - W - gap, g.top() + gap),
                                            QPointF(g.left() + gap, g.top() + gap)};
    std::size_t best = 0;
    long long fewest = -1;
    for (std::size_t c = 0; c < corners.size(); ++c) {
        const QRectF box(corners[c], QSizeF(W, H));
        long long hidden = 0;
        for (const TLegendRow& r : LegendRows()) {
            const TLine& line = Data.Lines(r.Curve);
            for (std::size_t j = 0; j < line.Points.size(); ++j) {
                const QPointF p = ToPixel(line.Points[j].X, line.Points[j].Y);
                hidden += box.contains(p) ? 1 : 0;
                if (j > 0) {
                    const QPointF mid =
                        (p + ToPixel(line.Points[j - 1].X, line.Points[j - 1].Y)) / 2;
                    hidden += box.contains(mid) ? 1 : 0;
                }
            }
        }
        if (fewest < 0 || hidden < fewest) {
            fewest = hidden;
            best = c;
        }
    }
    return corners[best];
}

std::optional<TPlotPainter::TLegendBox> TPlotPainter::PlaceLegend(const QPaintDevice* Device) {
    const std::vector<TLegendRow> rows = LegendRows();
    if (rows.empty())
        return std::nullopt;
    const double px = DrawWindow.PixelsPerInch.x(), py = DrawWindow.PixelsPerInch.y();
    const double gap = px / 16;
    const QRectF g = DrawWindow.GraphArea;
    const QRectF& b = DrawWindow.Bounds;
    const auto n = static_cast<int>(rows.size());
    TLegendBox legend;
    for (double points = std::max<double>(Data.SizeFont, kMinLegendPoints);;
         points = std::max(kMinLegendPoints, points - 0.5)) {
        QFont font = GraphFont(nullptr);
        font.setPointSizeF(points);
        legend.Font = Device ? QFont(font, Device) : font;
        const QFontMetricsF fm =
            Device ? QFontMetricsF(legend.Font, Device) : QFontMetricsF(legend.Font);
        double textWidth = 0.0;
        for (const TLegendRow& r : rows)
            textWidth = std::max(textWidth,
                                 fm.horizontalAdvance(Q(Data.Lines(r.Curve).LineName()).trimmed()));
        legend.TextHeight = fm.height();
        legend.RowHeight = py / 32 + legend.TextHeight;
        legend.ColumnWidth = textWidth + 3 * px / 16;
        const bool smallest = points <= kMinLegendPoints;

        // One column inside the axes, where it leaves at least half the width free.
        const double height = legend.RowHeight * n + py / 32;
        if (legend.ColumnWidth <= g.width() / 2 && height <= g.height() - 2 * gap) {
            legend.RowsPerColumn = n;
            const QSizeF size(legend.ColumnWidth, height);
            QPointF at;
            const QRectF asPlaced = LegendAnchor
                                        ? QRectF(QPointF(b.left() + LegendAnchor->x() * b.width(),
                                                         b.top() + LegendAnchor->y() * b.height()),
                                                 size)
                                        : QRectF();
            // The place the user gave the window's legend, when the box fits there.
            at = LegendAnchor && g.contains(asPlaced) ? asPlaced.topLeft()
                                                      : QuietCorner(size.width(), size.height());
            legend.Box = QRectF(at, size);
            return legend;
        }
        // Right of the axes, in columns as tall as the graph area.
        const int perColumn =
            std::max(1, static_cast<int>((g.height() - py / 32) / legend.RowHeight));
        const int columns = (n + perColumn - 1) / perColumn;
        const double strip = columns * legend.ColumnWidth + gap;
        if (g.width() - strip >= 0.55 * g.width() || smallest) {
            legend.RowsPerColumn = (n + columns - 1) / columns;
            legend.Outside = true;
            DrawWindow.GraphArea.setRight(g.right() - strip);
            if (!DrawWindow.LayersArea.isEmpty())
                DrawWindow.LayersArea.translate(-strip, 0);
            legend.Box = QRectF(g.right() - strip + gap, g.top(), columns * legend.ColumnWidth,
                                legend.RowHeight * legend.RowsPerColumn + py / 32);
            return legend;
        }
    }
}

void TPlotPainter::DrawLegendBox(QPainter& P, const TLegendBox& Legend) const {
    const std::vector<TLegendRow> rows = LegendRows();
    if (rows.empty() || Legend.RowsPerColumn <= 0)
        return;
    const double px = DrawWindow.PixelsPerInch.x(), py = DrawWindow.PixelsPerInch.y();
    P.setFont(Legend.Font);
    const QRectF& box = Legend.Box;
    P.setPen(QPen(Qt::black, 1));
    P.setBrush(Qt::white);
    P.drawRect(box);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const auto column = static_cast<int>(r) / Legend.RowsPerColumn;
        const auto row = static_cast<int>(r) % Legend.RowsPerColumn;
        const QColor colour = ColourOf(rows[r].Row);
        const double left = box.left() + column * Legend.ColumnWidth;
        const double top = box.top() + py / 32 + row * Legend.RowHeight;
        QPen pen(colour, std::max(1.0, std::round(px / 300.0)));
        P.setPen(pen);
        P.setBrush(Qt::NoBrush);
        DrawMarker(P, QPointF(left + px / 16, top + Legend.TextHeight / 2),
                   MarkerShape(rows[r].Curve));
        P.drawText(QRectF(left + px / 8, top, Legend.ColumnWidth - px / 8, Legend.TextHeight),
                   Qt::AlignLeft | Qt::AlignVCenter,
                   Q(Data.Lines(rows[r].Curve).LineName()).trimmed());
    }
}

void TPlotPainter::DrawSoilBand(QPainter& P) const {
    const QRectF& band = DrawWindow.LayersArea;
    if (band.isEmpty() || Data.LayerLineCount() == 0)
        return;
    P.save();
    P.setClipRect(band);
    QFont font("Times New Roman");
    font.setStyleHint(QFont::Serif);
    font.setPointSize(10);
    P.setFont(QFont(font, P.device()));
    const double scale = DrawWindow.PixelsPerInch.x() / 96.0;
    double top = ToPixel(0.0, Data.LayersTop).y();
    for (int i = 0; i < Data.LayerLineCount(); ++i) {
        const TLine& layer = Data.LayerLines(i);
        if (layer.Points.empty())
            continue;
        const TFloatPoint& point = layer.Points.front();
        const double bottom = ToPixel(0.0, point.Y).y();
        const QRectF rect(QPointF(band.left(), std::min(top, bottom)),
                          QPointF(band.right(), std::max(top, bottom)));
        P.setPen(Qt::NoPen);
        P.setBrush(Qt::white);
        P.drawRect(rect);
        QBrush brush =
            BandBrush(static_cast<int>(std::lround(point.X)), DrawWindow.Printing, scale);
        if (brush.style() != Qt::NoBrush) {
            // Patterns start at the band's corner, so that they do not crawl when the band
            // moves.
            QTransform t = brush.transform();
            t.translate(rect.left() / (t.m11() != 0 ? t.m11() : 1.0),
                        rect.top() / (t.m22() != 0 ? t.m22() : 1.0));
            brush.setTransform(t);
            P.setBrush(brush);
            P.drawRect(rect);
        }
        P.setPen(QPen(Qt::black, 1));
        P.setBrush(Qt::NoBrush);
        P.drawRect(rect);
        const QString name = Q(layer.LineName());
        const QFontMetricsF fm(P.font(), P.device());
        const QSizeF text(fm.horizontalAdvance(name), fm.height());
        const QRectF label(rect.center() - QPointF(text.width() / 2, text.height() / 2), text);
        P.fillRect(label, Qt::white);
        P.drawText(label, Qt::AlignCenter, name);
        top = bottom;
    }
    P.restore();
}

// ---------------------------------------------------------------------------------------------
// Pictures

QSize TPictureSize::Pixels() const {
    // Sizes beyond what a picture can hold come back empty.
    const double w = std::round(Ppi * WidthIn), h = std::round(Ppi * HeightIn);
    if (!(w >= 1.0 && h >= 1.0 && w <= kMaxPictureSide && h <= kMaxPictureSide))
        return {};
    return QSize(static_cast<int>(w), static_cast<int>(h));
}

namespace {

constexpr const char* kNoMemory = "There is not enough memory to complete this task.";

// Reduces a true-colour picture to the chosen colours.
QImage InColours(const QImage& Image, TPictureColours Colours) {
    switch (Colours) {
    case TPictureColours::BlackWhite: {
        // Every mark is black: thin coloured lines stay visible, which dithering would break.
        QImage mono(Image.size(), QImage::Format_Mono);
        if (mono.isNull())
            return mono;
        mono.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
        mono.setDotsPerMeterX(Image.dotsPerMeterX());
        mono.setDotsPerMeterY(Image.dotsPerMeterY());
        for (int y = 0; y < Image.height(); ++y)
            for (int x = 0; x < Image.width(); ++x)
                mono.setPixel(x, y, qGray(Image.pixel(x, y)) < 235 ? 1 : 0);
        return mono;
    }
    case TPictureColours::Colours16: {
        // White and fifteen of the sixteen curve colours; slate grey falls to gray.
        const QList<QRgb> table = {
            qRgb(0, 0, 0),   qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
            qRgb(0, 0, 128), qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(128, 128, 128),
            qRgb(255, 0, 0), qRgb(0, 160, 0),   qRgb(204, 102, 0), qRgb(184, 134, 11),
            qRgb(0, 0, 255), qRgb(255, 0, 255), qRgb(0, 139, 139), qRgb(255, 255, 255)};
        return Image.convertToFormat(QImage::Format_Indexed8, table, Qt::ThresholdDither);
    }
    case TPictureColours::Colours256:
        return Image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
    case TPictureColours::HighColour16:
        return Image.convertToFormat(QImage::Format_RGB16);
    case TPictureColours::TrueColour24:
        return Image.convertToFormat(QImage::Format_RGB888);
    }
    return Image;
}

// Sets the picture flags for one painting and restores them afterwards.
class TPictureMode {
public:
    explicit TPictureMode(TDrawArea& Area) : fArea(Area), fSaved(Area) {
        fArea.MessedUp = true;
        fArea.PrintLegend = true;
        fArea.Printing = false;
    }
    ~TPictureMode() { fArea = fSaved; }
    TPictureMode(const TPictureMode&) = delete;
    TPictureMode& operator=(const TPictureMode&) = delete;

private:
    TDrawArea& fArea;
    TDrawArea fSaved;
};

} // namespace

bool SavePicture(TPlotPainter& Painter, const QString& File, const TPictureSize& Size,
                 TPictureColours Colours, QString* Error) {
    auto fail = [&](const QString& Why) {
        if (Error)
            *Error = Why;
        return false;
    };
    const QSize pixels = Size.Pixels();
    if (pixels.isEmpty())
        return fail(kNoMemory);
    const QString kind = QFileInfo(File).suffix().toLower();
    if (kind != "bmp" && kind != "png" && kind != "svg" && kind != "pdf")
        return fail("Unknown picture type \"" + QFileInfo(File).suffix() +
                    "\": use .bmp, .png, .svg or .pdf.");
    TPictureMode mode(Painter.DrawWindow);
    const QRect bounds(QPoint(0, 0), pixels);
    // Written beside the file and renamed into place: a failed save leaves the old one whole.
    QSaveFile file(File);
    const QString cannot = "Cannot write " + File + ".";
    if (!file.open(QIODevice::WriteOnly))
        return fail(cannot);

    if (kind == "svg" || kind == "pdf") {
        QSvgGenerator svg;
        std::unique_ptr<QPdfWriter> pdf;
        QPaintDevice* device = &svg;
        if (kind == "svg") {
            svg.setOutputDevice(&file);
            svg.setSize(pixels);
            svg.setViewBox(bounds);
            svg.setResolution(Size.Ppi);
            svg.setTitle(Q(Painter.Data.Caption).trimmed());
        } else {
            pdf = std::make_unique<QPdfWriter>(&file);
            pdf->setResolution(Size.Ppi);
            pdf->setPageSize(QPageSize(QSizeF(Size.WidthIn, Size.HeightIn), QPageSize::Inch));
            pdf->setPageMargins(QMarginsF(0, 0, 0, 0));
            pdf->setTitle(Q(Painter.Data.Caption).trimmed());
            pdf->setCreator("Kolmar");
            device = pdf.get();
        }
        QPainter p;
        if (!p.begin(device))
            return fail(cannot);
        Painter.draw(p, bounds);
        if (!p.end())
            return fail(cannot);
        pdf.reset();
        return file.commit() || fail(cannot);
    }

    QImage image(pixels, QImage::Format_RGB32);
    if (image.isNull())
        return fail(kNoMemory);
    const int dpm = static_cast<int>(std::lround(Size.Ppi / 0.0254));
    image.setDotsPerMeterX(dpm);
    image.setDotsPerMeterY(dpm);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        Painter.draw(p, bounds);
    }
    const QImage out = InColours(image, Colours);
    if (out.isNull())
        return fail(kNoMemory);
    if (!out.save(&file, kind == "bmp" ? "BMP" : "PNG") || !file.commit())
        return fail(cannot);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Names

QStringList GraphNames() {
    QStringList names = {"pltSkin",   "pltTip",   "pltTotal",   "pltCombine",
                         "FSpltSkin", "FSpltTip", "FSpltTotal", "pltCombineD",
                         "pltAxial",  "pltUpper", "pltLower",   "pltCombinedSettle",
                         "pltLoad",   "pltTz",    "pltTzAdd",   "pltQw"};
    for (int i = 1; i <= TResultGraphs::ChartCount; ++i)
        names << "PltChart" + QString::number(i);
    return names;
}

TGraphPlot* GraphByName(TResultGraphs& Graphs, const QString& Name) {
    const QStringList names = GraphNames();
    const auto all = Graphs.All();
    for (qsizetype i = 0; i < names.size(); ++i)
        if (names[i] == Name)
            return all[static_cast<std::size_t>(i)];
    return nullptr;
}
