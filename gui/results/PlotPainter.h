// The painting of a result graph: one routine, draw(QPainter&, QRect), serves the plot window,
// the printer and picture files alike. Also the band patterns of the soil layers, the pictures
// saved to disk (BMP, PNG, SVG, PDF by the file's extension) and the names of the result graphs
// by which the command line picks one.
#pragma once

#include "gui/data/PlotScale.h"

#include <QBrush>
#include <QFont>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <optional>

class QPainter;
class QPaintDevice;

// Where the chart is drawn: the whole drawing rectangle, the chart itself and the soil band,
// in device pixels, and the device's pixels per inch.
struct TDrawArea {
    QRectF Bounds;
    QRectF GraphArea;
    QRectF LayersArea; // empty without the soil band
    QPointF PixelsPerInch{96.0, 96.0};
    bool MessedUp = false;    // drawing into a picture
    bool PrintLegend = false; // printing or saving: the legend is drawn onto the chart
    bool Printing = false;    // the page of a printer: graph to the right edge, larger patterns
};

// The colour choice of a saved picture.
enum class TPictureColours { BlackWhite, Colours256, HighColour16, TrueColour24, Colours16 };

// The size of a saved picture.
constexpr double kMaxPictureSide = 30000.0; // pixels
struct TPictureSize {
    double WidthIn = 6.0;
    double HeightIn = 4.0;
    int Ppi = 150;
    // round(Ppi * WidthIn) by round(Ppi * HeightIn) pixels; empty when a side is below 1 or
    // above kMaxPictureSide.
    QSize Pixels() const;
};

class TPlotPainter {
public:
    explicit TPlotPainter(TGraphPlot& Graph);

    TGraphPlot& Data;
    TFloatRect LogicBounds;    // the visible value range
    TFloatRect MaxLogicBounds; // the full value range
    bool Valid = false;        // false when the graph has no range to show (a step of 0)
    TDrawArea DrawWindow;
    // Top-left corner of the on-screen legend as a fraction of the window; without one the
    // legend box goes into the corner of the graph area where it hides the fewest points.
    std::optional<QPointF> LegendAnchor;

    // Computes the full range again and shows all of it.
    void ResetBounds();

    // The graph font on a device: "Times New Roman" at SizeFont points (10 by default).
    QFont GraphFont(const QPaintDevice* Device) const;
    // Lays the chart out on a device: the graph area and the soil band inside Bounds.
    void Layout(const QRectF& Bounds, const QPaintDevice* Device);
    // Lays out and paints the chart into Bounds of the painter's device.
    void draw(QPainter& Painter, const QRect& Bounds);

    // Values to device pixels and back, for the current layout and range.
    QPointF ToPixel(double X, double Y) const;
    TFloatPoint ToValue(const QPointF& Pixel) const;

    // Rows of the legend box: the indices of the active and visible curves, in curve order,
    // with their position among the active curves (their colour and marker).
    struct TLegendRow {
        int Curve = 0;
        int Row = 0;
    };
    std::vector<TLegendRow> LegendRows() const;

    // The legend box of a picture or a page: its font, its rows in columns, and its place.
    // It lies inside the graph area when one column fits there (in the corner that hides the
    // fewest points, or where the user put the window's legend); otherwise it stands right of
    // the axes, in as many columns as the height needs, the graph area giving up the room. The
    // font shrinks from the graph font towards kMinLegendPoints until the legend fits.
    struct TLegendBox {
        QFont Font;
        double TextHeight = 0.0;
        double RowHeight = 0.0;
        double ColumnWidth = 0.0;
        int RowsPerColumn = 0;
        QRectF Box;
        bool Outside = false;
    };
    static constexpr double kMinLegendPoints = 6.0;
    // Places the legend for the current layout; narrows the graph area (and moves the soil
    // band) when the legend goes outside. Nothing without rows.
    std::optional<TLegendBox> PlaceLegend(const QPaintDevice* Device);

private:
    void DrawCaptions(QPainter& P, double H) const;
    void DrawTicks(QPainter& P, double H) const;
    void DrawCurves(QPainter& P) const;
    void DrawLegendBox(QPainter& P, const TLegendBox& Legend) const;
    QPointF QuietCorner(double W, double H) const;
    void DrawSoilBand(QPainter& P) const;
    void DrawMarker(QPainter& P, const QPointF& At, int Shape) const;
};

// The brush of a soil band pattern (1 to 12, see AddLayersGraphPlot); NoBrush for others.
// Printing uses the larger tiles; Scale stretches hatch spacing for high-resolution devices.
QBrush BandBrush(int Pattern, bool ForPrinter, double Scale = 1.0);
// The tile of a bitmap pattern 7 to 12 at its screen or print size times Scale; a null image
// for other patterns.
QImage BandTile(int Pattern, bool ForPrinter, double Scale = 1.0);

// Saves the chart as a picture of Size; the file's extension chooses the kind: .bmp and
// .png (raster, in Colours), .svg, .pdf (vector, Size in inches at Ppi). On failure returns
// false with the reason in *Error.
bool SavePicture(TPlotPainter& Painter, const QString& File, const TPictureSize& Size,
                 TPictureColours Colours, QString* Error);

// The result graphs by their names in the program ("pltTotal", "PltChart3", ...), in the order
// of TResultGraphs::All.
QStringList GraphNames();
TGraphPlot* GraphByName(TResultGraphs& Graphs, const QString& Name);
