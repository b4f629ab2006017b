// Lays the calculation package out on pages (PDF and printer alike) and writes it as one
// self-contained HTML file. Figures are painted by the plot window's painter.
#pragma once

#include "gui/results/CalcPackage.h"

#include <QString>
#include <functional>

class QPainter;
class QRect;

// Paints the shaft elevation with the soil layers into an area of a painter's device.
using TElevationPainter = std::function<void(QPainter&, const QRect&)>;

class QPagedPaintDevice;
struct TResultGraphs;

// Paints every page of Doc on Device, with the header and "Page n of m" footer on each; the
// figures come from Graphs. Returns the number of pages.
int PaintReport(const TReportDocument& Doc, TResultGraphs& Graphs,
                const TElevationPainter& Elevation, QPagedPaintDevice& Device);

// The package as one HTML document: embedded CSS, figures as inline SVG, no outside reference.
std::string ReportHtml(const TReportDocument& Doc, TResultGraphs& Graphs,
                       const TElevationPainter& Elevation);

// The figure's caption ("Figure n. ..."), or empty when the graph holds nothing to draw.
QString FigureCaption(TResultGraphs& Graphs, const std::string& Name, int Number);
// The caption of a figure of a graph: "Figure N. " and the graph's caption.
QString FigureCaptionOf(const TGraphPlot& Graph, int Number);
