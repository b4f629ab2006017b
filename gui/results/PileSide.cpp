// The shaft elevation view: the shaft built from the project on activation, the world window
// on resize, the painting of bands, ground and shaft for the screen and the printed page, the
// depth read-out and printing.
#include "gui/results/PileSide.h"

#include "gui/data/DataUnit.h"
#include "gui/data/PlotScale.h"
#include "ui/model/NumberText.h"
#include "ui/widgets/PrintTarget.h"

#include <QCheckBox>
#include <QDate>
#include <QFileInfo>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

const QString kCaption = "Elevation View";

struct TSoilLook {
    Qt::BrushStyle Hatch;
    QColor Colour;
};

TSoilLook SoilLook(int SoilType) {
    switch (SoilType) {
    case kolmar::kSand:
        return {Qt::VerPattern, QColor(192, 192, 192)};
    case kolmar::kClay:
        return {Qt::BDiagPattern, QColor(128, 128, 0)};
    case kolmar::kClayShale:
        return {Qt::DiagCrossPattern, QColor(128, 0, 128)};
    case kolmar::kStrongRockSideOrBase:
    case kolmar::kStrongRockSideAndBase:
        return {Qt::CrossPattern, QColor(166, 202, 240)};
    case kolmar::kDecomposedRock:
        return {Qt::CrossPattern, QColor(128, 0, 0)};
    case kolmar::kWeakRock:
        return {Qt::CrossPattern, QColor(0, 255, 255)};
    case kolmar::kGravellySand:
        return {Qt::DiagCrossPattern, QColor(0, 0, 255)};
    case kolmar::kGravel:
        return {Qt::DiagCrossPattern, QColor(255, 0, 255)};
    default:
        return {Qt::NoBrush, Qt::black};
    }
}

QColor SegmentColour(TSegmentKind Kind) {
    switch (Kind) {
    case TSegmentKind::Top:
        return QColor(255, 0, 0);
    case TSegmentKind::Bottom:
        return QColor(0, 0, 255);
    case TSegmentKind::Middle:
    case TSegmentKind::Bell:
        break;
    }
    return QColor(128, 128, 128);
}

// Hatches drawn as lines rather than as a pattern brush, so that they look the same on the
// screen, on paper and in a PDF file: Spacing is the distance between lines in device pixels.
void HatchBand(QPainter& P, const QRectF& Band, Qt::BrushStyle Hatch, const QColor& Colour,
               double Spacing, double Width) {
    if (Band.isEmpty() || Spacing <= 0.0)
        return;
    P.save();
    P.setClipRect(Band, Qt::IntersectClip);
    P.setPen(QPen(Colour, Width));
    const double l = Band.left(), r = Band.right(), t = Band.top(), b = Band.bottom();
    const double h = b - t;
    const bool vertical = Hatch == Qt::VerPattern || Hatch == Qt::CrossPattern;
    const bool horizontal = Hatch == Qt::HorPattern || Hatch == Qt::CrossPattern;
    const bool backward = Hatch == Qt::BDiagPattern || Hatch == Qt::DiagCrossPattern;
    const bool forward = Hatch == Qt::FDiagPattern || Hatch == Qt::DiagCrossPattern;
    // Lines keep to a grid fixed on the device, so neighbouring bands join up.
    const double first = std::floor(l / Spacing) * Spacing;
    if (vertical)
        for (double x = first; x <= r; x += Spacing)
            P.drawLine(QPointF(x, t), QPointF(x, b));
    if (horizontal)
        for (double y = std::floor(t / Spacing) * Spacing; y <= b; y += Spacing)
            P.drawLine(QPointF(l, y), QPointF(r, y));
    const double diagonalFirst = std::floor((l - h) / Spacing) * Spacing;
    for (double x = diagonalFirst; x <= r + h; x += Spacing) {
        if (backward) // rising to the right
            P.drawLine(QPointF(x, b), QPointF(x + h, t));
        if (forward) // falling to the right
            P.drawLine(QPointF(x, t), QPointF(x + h, b));
    }
    P.restore();
}

// An arrow head at Tip pointing away from From.
void ArrowHead(QPainter& P, const QPointF& From, const QPointF& Tip, double Size) {
    const QLineF line(Tip, From);
    QLineF a = line, b = line;
    a.setLength(Size);
    b.setLength(Size);
    a.setAngle(line.angle() + 25);
    b.setAngle(line.angle() - 25);
    P.drawLine(a);
    P.drawLine(b);
}

// A dimension line between A and B with arrows at both ends and Text beside its middle.
void Dimension(QPainter& P, const QPointF& A, const QPointF& B, const QString& Text, double Arrow,
               bool TextRight) {
    const QLineF span(A, B);
    if (span.length() < 3 * Arrow && span.length() > 0) {
        // Too short for arrows inside: they point in from outside, on the line drawn on.
        const QPointF out = (B - A) / span.length() * (2 * Arrow);
        P.drawLine(A - out, B + out);
        ArrowHead(P, A - out, A, Arrow);
        ArrowHead(P, B + out, B, Arrow);
    } else {
        P.drawLine(A, B);
        ArrowHead(P, B, A, Arrow);
        ArrowHead(P, A, B, Arrow);
    }
    const QFontMetricsF fm(P.font(), P.device());
    const QSizeF size(fm.horizontalAdvance(Text) + 4, fm.height());
    const QPointF mid = (A + B) / 2;
    const QRectF box =
        TextRight ? QRectF(QPointF(mid.x() + Arrow / 2, mid.y() - size.height() / 2), size)
                  : QRectF(QPointF(mid.x() - size.width() / 2, mid.y() - size.height() - 2), size);
    P.fillRect(box, Qt::white);
    P.drawText(box, Qt::AlignCenter, Text);
}

QString Length(double V, const QString& Unit) {
    return QString::fromStdString(FormatGeneral(V, 4)) + Unit;
}

} // namespace

// Where the parts of the picture go on one device: the screen (or a picture) or a page.
struct TDlgSideView::TProfileMap {
    std::function<double(double)> DepthY;             // depth -> device y
    std::function<QPointF(const TWorldPoint&)> Point; // shaft corner -> device point
    double BandLeft = 0, BandRight = 0;               // bands span this across
    double StrokeFrom = 0, StrokeTo = 0, StrokeStep = 20, StrokeSize = 5;
    double LabelX = 10;
    double PenWidth = 0; // 0 = a cosmetic pen of one pixel
    double HatchScale = 1;
    QRectF Frame; // drawn when not empty (the printed page)
};

TDlgSideView::TDlgSideView(TProjectSource Project, QWidget* Parent)
    : QWidget(Parent), fProject(std::move(Project)) {
    setWindowTitle(kCaption);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 160);
    PrintButton = new QPushButton("Print", this);
    CloseButton = new QPushButton("Close", this);
    OmitHatches = new QCheckBox("Omit Hatches", this);
    OmitHatches->setToolTip("Click to omit hatches from printing");
    for (QWidget* w : {static_cast<QWidget*>(PrintButton), static_cast<QWidget*>(CloseButton),
                       static_cast<QWidget*>(OmitHatches)})
        w->adjustSize();
    connect(PrintButton, &QPushButton::clicked, this, &TDlgSideView::PrintClick);
    connect(CloseButton, &QPushButton::clicked, this, [this] {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
            sub->close();
        else
            close();
    });
    connect(OmitHatches, &QCheckBox::toggled, this, qOverload<>(&QWidget::update));
    resize(620, 520);
}

TDlgSideView* TDlgSideView::Find(QMdiArea& Area) {
    for (QMdiSubWindow* w : Area.subWindowList())
        if (auto* view = qobject_cast<TDlgSideView*>(w->widget()))
            return view;
    return nullptr;
}

TDlgSideView* TDlgSideView::Open(QMdiArea& Area, TProjectSource Project) {
    TDlgSideView* view = Find(Area);
    QMdiSubWindow* sub = nullptr;
    if (!view) {
        view = new TDlgSideView(std::move(Project));
        sub = Area.addSubWindow(view);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->setWindowTitle(kCaption);
        sub->resize(640, 560);
        QObject::connect(&Area, &QMdiArea::subWindowActivated, view,
                         [view, sub](QMdiSubWindow* Active) {
                             if (Active == sub)
                                 view->FormActivate();
                         });
    } else {
        sub = qobject_cast<QMdiSubWindow*>(view->parentWidget());
    }
    view->FormActivate();
    if (sub) {
        if (sub->isMinimized())
            sub->showNormal();
        sub->show();
        Area.setActiveSubWindow(sub);
        sub->raise();
    }
    return view;
}

void TDlgSideView::FormActivate() {
    TProgramData& p = fProject();
    const TElevationLength length = ElevationLength(p);
    if (length.SetInProject && p.PD != length.L) {
        p.PD = length.L;
        p.DataChanged = true;
    }
    fD = p.DSTART;
    fLength = length.L;
    fData = BuildShaftSegments(ShaftDimensions(p, length.L));
    fExtent = ShaftExtent(fData, LastLayerBottom(p), fD);
    fWindow = ::WorldWindow(fExtent, PictureArea().width(), PictureArea().height());
    update();
}

QRect TDlgSideView::PictureArea() const {
    const int strip = PrintButton->height() + 8;
    return QRect(0, 0, width(), std::max(1, height() - strip));
}

QString TDlgSideView::ReadoutAt(int Row) const {
    if (fWindow.NoDraw || Row >= PictureArea().height())
        return QString();
    return QString::fromStdString(
        DepthReadout(DepthAtRow(fWindow, Row, PictureArea().height(), fD)));
}

void TDlgSideView::SetCaption(const QString& Caption) {
    setWindowTitle(Caption);
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->setWindowTitle(Caption);
}

void TDlgSideView::PaintProfile(QPainter& Painter, const TProfileMap& Map) const {
    const TProgramData& p = fProject();
    const QString unit = p.fUnits == 2 ? " m" : " ft";
    QPen pen(Qt::black);
    pen.setWidthF(Map.PenWidth);
    Painter.setPen(pen);
    Painter.setRenderHint(QPainter::Antialiasing, false);

    if (!Map.Frame.isEmpty()) {
        Painter.setBrush(Qt::NoBrush);
        Painter.drawRect(Map.Frame);
    }

    double top = 0.0;
    const bool hatches = !OmitHatches->isChecked();
    // The layers' labels go on last, over the shaft: a narrow picture keeps them readable.
    std::vector<std::pair<QRectF, QString>> labels;
    for (int i = 0; i < p.D.RowCount(); ++i) {
        const double bottom = p.D[i].Depth;
        const int soil = p.D[i].SoilType();
        const QRectF band(QPointF(Map.BandLeft, Map.DepthY(top)),
                          QPointF(Map.BandRight, Map.DepthY(bottom)));
        if (hatches) {
            const TSoilLook look = SoilLook(soil);
            HatchBand(Painter, band, look.Hatch, look.Colour, 8.0 * Map.HatchScale, Map.HatchScale);
        }
        Painter.setBrush(Qt::NoBrush);
        Painter.setPen(pen);
        Painter.drawRect(band);

        const QString label =
            QString::fromStdString(SideLayerLabel(i, top, bottom, p.fUnits, soil));
        const QFontMetricsF metrics(Painter.font());
        const QSizeF size(metrics.horizontalAdvance(label) + 4, metrics.height());
        labels.emplace_back(
            QRectF(QPointF(Map.LabelX, band.center().y() - size.height() / 2), size), label);

        if (i == 0) {
            // The ground surface, with its short strokes into the ground.
            const double y0 = Map.DepthY(0.0);
            Painter.drawLine(QPointF(Map.BandLeft, y0), QPointF(Map.BandRight, y0));
            for (double x = Map.StrokeFrom; x <= Map.StrokeTo; x += Map.StrokeStep)
                Painter.drawLine(QPointF(x, y0), QPointF(x + Map.StrokeSize, y0 + Map.StrokeSize));
        }
        top = bottom;
    }

    for (const TShaftSegment& s : fData) {
        const QPolygonF polygon{Map.Point(s.Corners[0]), Map.Point(s.Corners[1]),
                                Map.Point(s.Corners[3]), Map.Point(s.Corners[2])};
        Painter.setBrush(SegmentColour(s.Kind));
        Painter.drawPolygon(polygon);
    }
    Painter.setBrush(Qt::NoBrush);
    for (const auto& [box, label] : labels) {
        Painter.fillRect(box, Qt::white);
        Painter.drawText(box, Qt::AlignCenter, label);
    }
    PaintAnnotations(Painter, Map, top);
}

void TDlgSideView::PaintAnnotations(QPainter& Painter, const TProfileMap& Map,
                                    double Deepest) const {
    const TProgramData& p = fProject();
    const QString unit = p.fUnits == 2 ? " m" : " ft";
    const double u = Map.HatchScale; // device pixels per screen pixel
    QPen pen(Qt::black, std::max(1.0, u));
    Painter.setPen(pen);
    const QFontMetricsF fm(Painter.font(), Painter.device());

    // Depth (or elevation) scale along the right edge, with nice round steps.
    const double axisX = Map.BandRight - 8 * u;
    const double y0 = Map.DepthY(0.0), y1 = Map.DepthY(Deepest);
    Painter.drawLine(QPointF(axisX, y0), QPointF(axisX, y1));
    const int fit = std::max(1, static_cast<int>(std::abs(y1 - y0) / (3 * fm.height())));
    const double step = NiceSpacing(Deepest / fit);
    for (int i = 0; step > 0 && i * step <= Deepest * (1 + 1e-9) && i < 1000; ++i) {
        const double depth = i * step;
        const double y = Map.DepthY(depth);
        Painter.drawLine(QPointF(axisX - 6 * u, y), QPointF(axisX, y));
        const double shown = p.UseElevation == 1 ? p.ValElevation - depth : depth;
        const QString label = QString::fromStdString(FormatGeneral(shown, 4));
        const QSizeF size(fm.horizontalAdvance(label) + 4, fm.height());
        const QRectF box(QPointF(axisX - 8 * u - size.width(), y - size.height() / 2), size);
        Painter.fillRect(box, Qt::white);
        Painter.drawText(box, Qt::AlignCenter, label);
    }
    const QString title = p.UseElevation == 1 ? "Elevation (" + unit.trimmed() + ")"
                                              : "Depth (" + unit.trimmed() + ")";
    const QSizeF titleSize(fm.horizontalAdvance(title) + 4, fm.height());
    const QRectF titleBox(QPointF(axisX - titleSize.width(), y0 - 1.2 * titleSize.height()),
                          titleSize);
    Painter.fillRect(titleBox, Qt::white);
    Painter.drawText(titleBox, Qt::AlignCenter, title);

    // The water table: a blue line with its inverted triangle and its depth.
    if (p.WTD >= 0.0 && p.WTD <= Deepest) {
        const double y = Map.DepthY(p.WTD);
        const QColor blue(0, 0, 200);
        Painter.setPen(QPen(blue, std::max(1.0, 1.5 * u), Qt::DashLine));
        Painter.drawLine(QPointF(Map.BandLeft, y), QPointF(axisX, y));
        const double s = 7 * u;
        const double x = Map.BandLeft + (Map.BandRight - Map.BandLeft) * 0.3;
        Painter.setPen(QPen(blue, std::max(1.0, u)));
        Painter.setBrush(Qt::white);
        Painter.drawPolygon(
            QPolygonF{QPointF(x - s, y - 1.6 * s), QPointF(x + s, y - 1.6 * s), QPointF(x, y)});
        Painter.setBrush(Qt::NoBrush);
        const QString text = "Water table " + Length(p.WTD, unit);
        const QSizeF size(fm.horizontalAdvance(text) + 4, fm.height());
        const QRectF box(QPointF(x + 1.5 * s, y - size.height() - u), size);
        Painter.fillRect(box, Qt::white);
        Painter.drawText(box, Qt::AlignCenter, text);
    }

    // Dimensions of the shaft: its diameter above the ground, its length beside it, and the
    // bell's base diameter below the toe.
    if (fData.empty())
        return;
    Painter.setPen(pen);
    const double arrow = 6 * u;
    const TShaftSegment& first = fData.front();
    const QPointF topLeft = Map.Point(first.Corners[0]), topRight = Map.Point(first.Corners[1]);
    const double dimY = topLeft.y() - 1.5 * fm.height();
    Dimension(Painter, QPointF(topLeft.x(), dimY), QPointF(topRight.x(), dimY),
              "D = " + Length(p.DSTART, unit), arrow, false);
    double right = topRight.x(), toe = topRight.y();
    for (const TShaftSegment& s : fData) {
        right = std::max({right, Map.Point(s.Corners[1]).x(), Map.Point(s.Corners[3]).x()});
        toe = std::max(toe, Map.Point(s.Corners[3]).y());
    }
    const double dimX = right + 2 * arrow;
    Dimension(Painter, QPointF(dimX, topRight.y()), QPointF(dimX, toe),
              "L = " + Length(fLength, unit), arrow, true);
    const TShaftSegment& last = fData.back();
    if (last.Kind == TSegmentKind::Bell && p.RATIO > 1.0) {
        const QPointF a = Map.Point(last.Corners[2]), b = Map.Point(last.Corners[3]);
        if (b.x() - a.x() > 2 * arrow)
            Dimension(Painter, QPointF(a.x(), toe + 1.5 * fm.height()),
                      QPointF(b.x(), toe + 1.5 * fm.height()),
                      "Bell " + Length(p.RATIO * p.DSTART, unit), arrow, false);
    }
}

void TDlgSideView::Draw(QPainter& Painter, const QRect& Area) const {
    Painter.fillRect(Area, Qt::white);
    const int w = Area.width();
    const int h = Area.height();
    const TWorldWindow win = ::WorldWindow(fExtent, w, h);
    if (win.NoDraw)
        return;
    TProfileMap map;
    const double x0 = Area.left(), y0 = Area.top();
    map.DepthY = [&](double Depth) { return y0 + PixelY(win, Depth + 2.0 * fD, h); };
    map.Point = [&](const TWorldPoint& P) {
        return QPointF(x0 + PixelX(win, P.X, w), y0 + PixelY(win, P.Y, h));
    };
    map.BandLeft = x0;
    map.BandRight = x0 + w - 1;
    map.StrokeFrom = x0 + 20;
    map.StrokeTo = x0 + w - 25;
    map.LabelX = x0 + 10;
    PaintProfile(Painter, map);
}

void TDlgSideView::PrintPage(QPainter& Painter, const QRect& Page) const {
    TPageMap page{static_cast<double>(Page.width()), static_cast<double>(Page.height()), fExtent,
                  fD};
    if (!page.Valid())
        return;
    const double W = page.PageWidth, H = page.PageHeight;
    const double x0 = Page.left(), y0 = Page.top();
    TProfileMap map;
    map.DepthY = [&](double Depth) { return y0 + page.DepthY(Depth); };
    map.Point = [&](const TWorldPoint& P) {
        return QPointF(x0 + page.SegmentX(P.X), y0 + page.SegmentY(P.Y));
    };
    map.Frame = QRectF(x0 + 0.1 * W, y0 + 0.1 * H, 0.8 * W, 0.8 * H);
    map.BandLeft = x0 + 0.1 * W;
    map.BandRight = x0 + 0.9 * W;
    map.StrokeFrom = map.BandLeft;
    map.StrokeTo = map.BandRight - 0.02 * H;
    map.StrokeStep = 0.02 * H;
    map.StrokeSize = 0.01 * H;
    map.LabelX = map.BandLeft + 0.01 * W;
    // Lines a hundredth of an inch wide, hatches spaced as on a screen of 96 pixels per inch.
    const double dpi = Painter.device()->logicalDpiX();
    map.PenWidth = std::max(1.0, dpi / 100.0);
    map.HatchScale = std::max(1.0, dpi / 96.0);
    Painter.save();
    Painter.setClipRect(map.Frame.adjusted(-6, -6, 6, 6));
    PaintProfile(Painter, map);
    Painter.restore();
    // The project's title and the date above the frame.
    const TProgramData& p = fProject();
    const QString heading = QString::fromStdString(p.Title).trimmed();
    const QString date = QLocale::c().toString(QDate::currentDate(), "d MMMM yyyy");
    const QRectF above(x0 + 0.1 * W, y0 + 0.02 * H, 0.8 * W, 0.07 * H);
    Painter.setPen(Qt::black);
    Painter.drawText(above, Qt::AlignLeft | Qt::AlignVCenter,
                     heading.isEmpty() ? QString("Soil-Pile Profile") : heading);
    Painter.drawText(above, Qt::AlignRight | Qt::AlignVCenter, date);
}

void TDlgSideView::PrintTo(QPrinter& Printer) const {
    Printer.setPageOrientation(QPageLayout::Landscape);
    Printer.setDocName("Soil-Pile Profile");
    QPainter painter;
    if (!painter.begin(&Printer))
        return;
    painter.setFont(font());
    PrintPage(painter, QRect(0, 0, painter.device()->width(), painter.device()->height()));
    painter.end();
}

QImage TDlgSideView::RenderImage(const QSize& Size) const {
    QImage image(Size, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setFont(font());
    Draw(painter, QRect(QPoint(0, 0), Size));
    return image;
}

void TDlgSideView::PrintClick() {
    QPrinter printer(QPrinter::HighResolution);
    const TProgramData& p = fProject();
    const QString folder = QFileInfo(QString::fromStdString(p.FileName)).absolutePath();
    QPageLayout page = printer.pageLayout();
    page.setOrientation(QPageLayout::Landscape);
    if (ChoosePrinter(printer, "Soil-Pile Profile", PdfFileFor(folder, "Soil-Pile Profile"), page,
                      this))
        PrintTo(printer);
}

void TDlgSideView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    Draw(painter, PictureArea());
}

void TDlgSideView::resizeEvent(QResizeEvent* Event) {
    QWidget::resizeEvent(Event);
    fWindow = ::WorldWindow(fExtent, PictureArea().width(), PictureArea().height());
    PlaceControls();
    update();
}

void TDlgSideView::PlaceControls() {
    // Right-aligned in the strip below the picture: "Omit Hatches", Print, Close.
    int x = width() - 6;
    const int y = PictureArea().bottom() + 5;
    for (QWidget* w : {static_cast<QWidget*>(CloseButton), static_cast<QWidget*>(PrintButton),
                       static_cast<QWidget*>(OmitHatches)}) {
        x -= w->width();
        w->move(x, y + (PrintButton->height() - w->height()) / 2);
        x -= 6;
    }
}

void TDlgSideView::mouseMoveEvent(QMouseEvent* Event) {
    SetCaption(kCaption + ReadoutAt(static_cast<int>(Event->position().y())));
    QWidget::mouseMoveEvent(Event);
}
