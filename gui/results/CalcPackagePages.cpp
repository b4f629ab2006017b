// Page layout of the calculation package: one routine places the blocks on pages of any paged
// device (a PDF file or a printer); HTML gets the same blocks with CSS for the browser's print.
#include "gui/results/CalcPackagePages.h"

#include "gui/data/PlotScale.h"
#include "gui/data/PltData.h"
#include "gui/results/PlotPainter.h"

#include <QBuffer>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QSvgGenerator>
#include <functional>

namespace {

// A graph ready to paint, or nullptr when it is unknown or holds no curves.
TGraphPlot* DrawableGraph(TResultGraphs& Graphs, const std::string& Name) {
    TGraphPlot* graph = GraphByName(Graphs, QString::fromStdString(Name));
    if (!graph || !graph->HasSomethingToDraw())
        return nullptr;
    ActivateCurves(*graph);
    return graph;
}

using TPaintStep = std::function<void(QPainter&)>;

// Marks the load at each chart settlement on a painted load-settlement graph: a ring in dark
// orange and the load beside it.
void PaintMarks(QPainter& P, const TPlotPainter& Plot,
                const std::vector<std::pair<double, double>>& Marks) {
    const QColor orange(204, 102, 0);
    const double r = std::max(3.0, P.device()->logicalDpiX() / 30.0);
    for (const auto& [load, settlement] : Marks) {
        const QPointF at = Plot.ToPixel(load, settlement);
        P.setPen(QPen(orange, std::max(1.0, r / 3)));
        P.setBrush(Qt::NoBrush);
        P.drawEllipse(at, r, r);
        P.drawText(at + QPointF(r * 1.5, -r), QString::number(load, 'f', 1));
    }
}

// Places blocks top to bottom on pages; a block that does not fit starts a new page.
class TPageLayout {
public:
    TPageLayout(const QRectF& Body, const QFontMetricsF& Metrics)
        : fBody(Body), fLine(Metrics.height() * 1.25), fY(Body.top()) {
        fPages.emplace_back();
    }

    double LineHeight() const { return fLine; }
    const QRectF& Body() const { return fBody; }

    // Space for Height at the current place, on a new page when needed; returns its top.
    double Take(double Height) {
        if (fY + Height > fBody.bottom() && fY > fBody.top())
            NewPage();
        const double top = fY;
        fY += Height;
        return top;
    }
    // Starts a new page unless Height fits below the current place: keeps a heading or a
    // table's head with what follows it.
    void Reserve(double Height) {
        if (fY + Height > fBody.bottom() && fY > fBody.top())
            NewPage();
    }
    void NewPage() {
        fPages.emplace_back();
        fY = fBody.top();
    }
    void Add(TPaintStep Step) { fPages.back().push_back(std::move(Step)); }
    std::vector<std::vector<TPaintStep>>& Pages() { return fPages; }

private:
    QRectF fBody;
    double fLine;
    double fY;
    std::vector<std::vector<TPaintStep>> fPages;
};

void LayTable(TPageLayout& Layout, const TReportBlock& Block, const QFont& Font,
              const QPaintDevice* Device) {
    // Headings are bold: measured with the bold face, every cell is measured as it is painted.
    QFont bold = Font;
    bold.setBold(true);
    const QFontMetricsF Metrics(bold, Device);
    const std::size_t columns = Block.Header.size();
    if (columns == 0)
        return;
    const double width = Layout.Body().width();
    // Column widths by their longest text, shrunk to the page; long cells wrap.
    std::vector<double> widths(columns, 0.0);
    auto measure = [&](const std::vector<std::string>& Row) {
        for (std::size_t i = 0; i < columns && i < Row.size(); ++i)
            widths[i] =
                std::max(widths[i], Metrics.horizontalAdvance(QString::fromStdString(Row[i])) + 8);
    };
    measure(Block.Header);
    for (const auto& row : Block.Rows)
        measure(row);
    // Narrow columns keep their width; the wide ones share what is left, in proportion.
    double total = 0;
    for (double w : widths)
        total += w;
    if (total > width) {
        const double fair = width / static_cast<double>(columns);
        double narrow = 0, wide = 0;
        for (double w : widths)
            (w <= fair ? narrow : wide) += w;
        const double left = width - narrow;
        for (double& w : widths)
            if (w > fair)
                w = std::max(fair, w * left / wide);
        total = 0;
        for (double w : widths)
            total += w;
        for (double& w : widths)
            w *= width / total;
    }
    auto layRow = [&](const std::vector<std::string>& Row, bool Header) {
        double height = Layout.LineHeight();
        for (std::size_t i = 0; i < columns && i < Row.size(); ++i) {
            const QRectF cell = Metrics.boundingRect(
                QRectF(0, 0, widths[i] - 6, 1e6), Qt::TextWordWrap, QString::fromStdString(Row[i]));
            height = std::max(height, cell.height() + 4);
        }
        const double top = Layout.Take(height);
        const double left = Layout.Body().left();
        Layout.Add([=](QPainter& P) {
            QFont f = Font;
            f.setBold(Header);
            P.setFont(f);
            double x = left;
            for (std::size_t i = 0; i < columns; ++i) {
                const QRectF cell(x, top, widths[i], height);
                if (Header)
                    P.fillRect(cell, QColor(230, 230, 230));
                P.setPen(QPen(Qt::gray, 0));
                P.drawRect(cell);
                P.setPen(Qt::black);
                if (i < Row.size())
                    P.drawText(cell.adjusted(3, 2, -3, -2), Qt::TextWordWrap | Qt::AlignLeft,
                               QString::fromStdString(Row[i]));
                x += widths[i];
            }
        });
    };
    // The caption and head row never stay alone at the foot of a page.
    Layout.Reserve(Layout.LineHeight() * 6);
    if (!Block.Text.empty()) {
        const double top = Layout.Take(Layout.LineHeight());
        const QRectF line(Layout.Body().left(), top, width, Layout.LineHeight());
        const QString text = QString::fromStdString(Block.Text);
        Layout.Add([=](QPainter& P) {
            QFont f = Font;
            f.setItalic(true);
            P.setFont(f);
            P.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, text);
        });
    }
    layRow(Block.Header, true);
    for (const auto& row : Block.Rows)
        layRow(row, false);
    Layout.Take(Layout.LineHeight() * 0.5);
}

void LayText(TPageLayout& Layout, const QString& Text, const QFont& Font, bool Warning,
             const QPaintDevice* Device) {
    const QFontMetricsF metrics(Font, Device);
    const QRectF need =
        metrics.boundingRect(QRectF(0, 0, Layout.Body().width() - 12, 1e6), Qt::TextWordWrap, Text);
    const double height = need.height() + (Warning ? 10 : 4);
    const double top = Layout.Take(height);
    const QRectF box(Layout.Body().left(), top, Layout.Body().width(), height);
    Layout.Add([=](QPainter& P) {
        if (Warning) {
            P.fillRect(box, QColor(255, 240, 190));
            P.setPen(QPen(QColor(200, 120, 0), 0));
            P.drawRect(box);
        }
        P.setPen(Qt::black);
        P.setFont(Font);
        P.drawText(box.adjusted(6, Warning ? 5 : 2, -6, 0), Qt::TextWordWrap, Text);
    });
    Layout.Take(Warning ? 6 : 2);
}

// Paints the laid-out pages, each in its frame: the title above, the file name and
// "Page n of m" below.
int PaintPages(QPainter& painter, QPagedPaintDevice& Device,
               std::vector<std::vector<TPaintStep>>& pages, const TReportDocument& Doc,
               const QFont& font, double line) {
    const QRectF page(0, 0, Device.width(), Device.height());
    const int count = static_cast<int>(pages.size());
    const QString title = QString::fromStdString(Doc.Title);
    const QString file = QString::fromStdString(Doc.FileName);
    for (int n = 0; n < count; ++n) {
        if (n > 0)
            Device.newPage();
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(page.left(), page.top(), page.width(), line), Qt::AlignLeft, title);
        painter.drawLine(QPointF(page.left(), line * 1.2), QPointF(page.right(), line * 1.2));
        for (const TPaintStep& step : pages[static_cast<std::size_t>(n)])
            step(painter);
        painter.setFont(font);
        painter.setPen(Qt::black);
        const QRectF footer(page.left(), page.bottom() - line, page.width(), line);
        painter.drawLine(QPointF(page.left(), footer.top() - line * 0.2),
                         QPointF(page.right(), footer.top() - line * 0.2));
        painter.drawText(footer, Qt::AlignLeft, file);
        painter.drawText(footer, Qt::AlignRight,
                         "Page " + QString::number(n + 1) + " of " + QString::number(count));
    }
    return count;
}

} // namespace

QString FigureCaptionOf(const TGraphPlot& Graph, int Number) {
    return "Figure " + QString::number(Number) + ". " + QString::fromStdString(Graph.Caption);
}

QString FigureCaption(TResultGraphs& Graphs, const std::string& Name, int Number) {
    TGraphPlot* graph = DrawableGraph(Graphs, Name);
    if (!graph)
        return {};
    return FigureCaptionOf(*graph, Number);
}

int PaintReport(const TReportDocument& Doc, TResultGraphs& Graphs,
                const TElevationPainter& Elevation, QPagedPaintDevice& Device) {
    QPainter painter(&Device);
    const QRectF page(0, 0, Device.width(), Device.height());
    QFont font("DejaVu Sans");
    font.setPointSizeF(8.5);
    // No ligatures: the PDF's text reads back letter for letter ("stiff", not a ligature).
    font.setStyleStrategy(QFont::PreferNoShaping);
    painter.setFont(font);
    const QFontMetricsF metrics(font, &Device);
    const double line = metrics.height() * 1.25;
    const QRectF body = page.adjusted(0, line * 2, 0, -line * 2);
    TPageLayout layout(body, metrics);

    int figure = 0;
    int figuresOnPage = 0;
    std::size_t pageOfFigures = 0;
    for (const TReportBlock& b : Doc.Blocks) {
        switch (b.Kind) {
        case TReportBlock::TKind::Heading: {
            QFont f = font;
            f.setPointSizeF(12);
            f.setStyleStrategy(QFont::PreferNoShaping);
            f.setBold(true);
            layout.Reserve(line * 8);
            const double top = layout.Take(line * 2.2);
            const QRectF r(body.left(), top + line * 0.6, body.width(), line * 1.6);
            const QString text = QString::fromStdString(b.Text);
            layout.Add([=](QPainter& P) {
                P.setFont(f);
                P.setPen(Qt::black);
                P.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, text);
            });
            break;
        }
        case TReportBlock::TKind::Text:
            LayText(layout, QString::fromStdString(b.Text), font, false, &Device);
            break;
        case TReportBlock::TKind::Warning: {
            QFont mono("DejaVu Sans Mono");
            mono.setPointSizeF(8);
            mono.setStyleStrategy(QFont::PreferNoShaping);
            LayText(layout, QString::fromStdString(b.Text), mono, true, &Device);
            break;
        }
        case TReportBlock::TKind::Table:
            LayTable(layout, b, font, &Device);
            break;
        case TReportBlock::TKind::Elevation: {
            if (!Elevation)
                break;
            const double height = body.height() * 0.4;
            layout.Reserve(height + line * 1.5);
            const double top = layout.Take(height + line * 1.5);
            const QRect area(QPointF(body.left(), top).toPoint(),
                             QSizeF(body.width(), height).toSize());
            const QRectF captionBox(body.left(), top + height, body.width(), line * 1.5);
            const QString caption = QString::fromStdString(b.Text);
            layout.Add([=](QPainter& P) {
                P.save();
                P.setClipRect(area);
                // Room above the picture for the dimension the view writes over the shaft.
                Elevation(P, area.adjusted(0, static_cast<int>(line * 1.5), 0, 0));
                P.restore();
                P.setFont(font);
                P.setPen(Qt::black);
                P.drawText(captionBox, Qt::AlignHCenter | Qt::AlignVCenter, caption);
            });
            break;
        }
        case TReportBlock::TKind::Figure: {
            TGraphPlot* graph = b.Plot ? b.Plot : DrawableGraph(Graphs, b.Graph);
            if (!graph)
                break;
            // At most two figures a page: figures start on a page of their own.
            if (figuresOnPage == 0 || pageOfFigures != layout.Pages().size() ||
                figuresOnPage >= 2) {
                layout.NewPage();
                figuresOnPage = 0;
                pageOfFigures = layout.Pages().size();
            }
            ++figuresOnPage;
            const QString caption = FigureCaptionOf(*graph, ++figure);
            const double height = (body.height() - line * 3) / 2;
            const double top = layout.Take(height + line * 1.5);
            const QRect area(QPointF(body.left(), top).toPoint(),
                             QSizeF(body.width(), height).toSize());
            const QRectF captionBox(body.left(), top + height, body.width(), line * 1.5);
            const auto marks = b.Marks;
            layout.Add([=](QPainter& P) {
                TPlotPainter plot(*graph);
                if (plot.Valid) {
                    P.save();
                    plot.draw(P, area);
                    P.restore();
                    P.setFont(font);
                    PaintMarks(P, plot, marks);
                }
                P.setFont(font);
                P.setPen(Qt::black);
                P.drawText(captionBox, Qt::AlignHCenter | Qt::AlignVCenter, caption);
            });
            break;
        }
        }
    }

    const int count = PaintPages(painter, Device, layout.Pages(), Doc, font, line);
    painter.end();
    return count;
}

namespace {

std::string Escape(const std::string& Text) {
    std::string out;
    for (const char c : Text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// The graph as inline SVG, without the XML prolog and namespace declarations that an HTML
// document does not need (and that would be outside references).
std::string InlineSvg(const std::function<void(QPainter&, const QRect&)>& Paint) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(900, 600));
    svg.setViewBox(QRect(0, 0, 900, 600));
    svg.setResolution(150);
    {
        QPainter p(&svg);
        Paint(p, QRect(0, 0, 900, 600));
    }
    std::string text = buffer.data().toStdString();
    const std::size_t start = text.find("<svg");
    if (start == std::string::npos)
        return {};
    text = text.substr(start);
    // The figure scales with the page: the view box stays, the fixed size in millimetres goes.
    for (const char* attribute : {" width=\"", " height=\""}) {
        const std::size_t at = text.find(attribute);
        const std::size_t close = text.find('>');
        if (at != std::string::npos && at < close)
            text.erase(at, text.find('"', at + std::string(attribute).size()) + 1 - at);
    }
    for (const char* attribute : {" xmlns=\"http://www.w3.org/2000/svg\"",
                                  " xmlns:xlink=\"http://www.w3.org/1999/xlink\""}) {
        for (std::size_t at = text.find(attribute); at != std::string::npos;
             at = text.find(attribute))
            text.erase(at, std::string(attribute).size());
    }
    // Drop any other element or attribute that still names a web address.
    for (std::size_t at = text.find("http"); at != std::string::npos; at = text.find("http", at))
        text.replace(at, 4, "");
    return text;
}

const char* const kCss =
    R"(body { font-family: "DejaVu Sans", Arial, sans-serif; font-size: 10pt; margin: 2em; }
header, footer { color: #444; border-bottom: 1px solid #888; margin-bottom: 1em; }
footer { border-top: 1px solid #888; border-bottom: none; margin-top: 2em; }
h1 { font-size: 16pt; } h2 { font-size: 13pt; margin-top: 1.5em; page-break-after: avoid; }
table { border-collapse: collapse; margin: 0.5em 0; page-break-inside: auto; }
th, td { border: 1px solid #999; padding: 2px 6px; text-align: left; vertical-align: top; }
th { background: #e6e6e6; }
tr { page-break-inside: avoid; }
figure { page-break-inside: avoid; margin: 1em 0; }
figure svg { width: 100%; max-width: 18cm; height: auto; }
pre.warning { background: #fff0be; border: 1px solid #c87800; padding: 6px; white-space: pre-wrap; }
@media print { body { margin: 0; } figure { page-break-inside: avoid; } }
)";

} // namespace

std::string ReportHtml(const TReportDocument& Doc, TResultGraphs& Graphs,
                       const TElevationPainter& Elevation) {
    std::string html = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                       "<title>" +
                       Escape(Doc.Title) + "</title>\n<style>\n" + kCss +
                       "</style>\n</head>\n<body>\n<header>" + Escape(Doc.Title) + "</header>\n";
    int figure = 0;
    bool first = true;
    for (const TReportBlock& b : Doc.Blocks) {
        switch (b.Kind) {
        case TReportBlock::TKind::Heading:
            html += (first ? "<h1>" : "<h2>") + Escape(b.Text) + (first ? "</h1>\n" : "</h2>\n");
            first = false;
            break;
        case TReportBlock::TKind::Text:
            html += "<p>" + Escape(b.Text) + "</p>\n";
            break;
        case TReportBlock::TKind::Warning:
            html += "<pre class=\"warning\">" + Escape(b.Text) + "</pre>\n";
            break;
        case TReportBlock::TKind::Table:
            html += "<table>\n";
            if (!b.Text.empty())
                html += "<caption>" + Escape(b.Text) + "</caption>\n";
            html += "<tr>";
            for (const auto& h : b.Header)
                html += "<th>" + Escape(h) + "</th>";
            html += "</tr>\n";
            for (const auto& row : b.Rows) {
                html += "<tr>";
                for (const auto& cell : row)
                    html += "<td>" + Escape(cell) + "</td>";
                html += "</tr>\n";
            }
            html += "</table>\n";
            break;
        case TReportBlock::TKind::Elevation:
            if (Elevation)
                html += "<figure>\n" + InlineSvg(Elevation) + "\n<figcaption>" + Escape(b.Text) +
                        "</figcaption>\n</figure>\n";
            break;
        case TReportBlock::TKind::Figure: {
            TGraphPlot* graph = b.Plot ? b.Plot : DrawableGraph(Graphs, b.Graph);
            if (!graph)
                break;
            const QString caption = FigureCaptionOf(*graph, ++figure);
            const auto marks = b.Marks;
            const std::string svg = InlineSvg([&](QPainter& P, const QRect& Area) {
                TPlotPainter plot(*graph);
                if (plot.Valid) {
                    plot.draw(P, Area);
                    PaintMarks(P, plot, marks);
                }
            });
            html += "<figure>\n" + svg + "\n<figcaption>" + Escape(caption.toStdString()) +
                    "</figcaption>\n</figure>\n";
            break;
        }
        }
    }
    html += "<footer>" + Escape(Doc.FileName) + "</footer>\n</body>\n</html>\n";
    return html;
}
