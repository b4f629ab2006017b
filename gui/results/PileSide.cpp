// The shaft elevation view: the shaft built from the project on activation, the world window
// on resize, the painting of bands, ground and shaft for the screen and the printed page, the
// depth read-out and printing.
#include "gui/results/PileSide.h"

#include "gui/data/DataUnit.h"

#include <QCheckBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

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
    OmitHatches->setAutoFillBackground(true);
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
    fData = BuildShaftSegments(ShaftDimensions(p, length.L));
    fExtent = ShaftExtent(fData, LastLayerBottom(p), fD);
    fWindow = ::WorldWindow(fExtent, width(), height());
    update();
}

QString TDlgSideView::ReadoutAt(int Row) const {
    if (fWindow.NoDraw)
        return QString();
    return QString::fromStdString(DepthReadout(DepthAtRow(fWindow, Row, height(), fD)));
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
    for (int i = 0; i < p.D.RowCount(); ++i) {
        const double bottom = p.D[i].Depth;
        const int soil = p.D[i].SoilType();
        const QRectF band(QPointF(Map.BandLeft, Map.DepthY(top)),
                          QPointF(Map.BandRight, Map.DepthY(bottom)));
        if (hatches) {
            const TSoilLook look = SoilLook(soil);
            QBrush brush(look.Colour, look.Hatch);
            brush.setTransform(QTransform::fromScale(Map.HatchScale, Map.HatchScale));
            Painter.fillRect(band, brush);
        }
        Painter.setBrush(Qt::NoBrush);
        Painter.setPen(pen);
        Painter.drawRect(band);

        const QString label =
            QString::fromStdString(SideLayerLabel(i, top, bottom, p.fUnits, soil));
        const QFontMetricsF metrics(Painter.font());
        const QSizeF size(metrics.horizontalAdvance(label) + 4, metrics.height());
        const QRectF box(QPointF(Map.LabelX, band.center().y() - size.height() / 2), size);
        Painter.fillRect(box, Qt::white);
        Painter.drawText(box, Qt::AlignCenter, label);

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
    map.PenWidth = 12;
    map.HatchScale = std::max(1.0, Painter.device()->logicalDpiX() / 96.0);
    Painter.save();
    Painter.setClipRect(map.Frame.adjusted(-6, -6, 6, 6));
    PaintProfile(Painter, map);
    Painter.restore();
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
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        PrintTo(printer);
}

void TDlgSideView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Draw(painter, rect());
}

void TDlgSideView::resizeEvent(QResizeEvent* Event) {
    QWidget::resizeEvent(Event);
    fWindow = ::WorldWindow(fExtent, width(), height());
    PlaceControls();
    update();
}

void TDlgSideView::PlaceControls() {
    const int x = width() - 2 * PrintButton->width();
    int y = 6;
    for (QWidget* w : {static_cast<QWidget*>(PrintButton), static_cast<QWidget*>(CloseButton),
                       static_cast<QWidget*>(OmitHatches)}) {
        w->move(x, y);
        y += w->height() + 4;
    }
}

void TDlgSideView::mouseMoveEvent(QMouseEvent* Event) {
    SetCaption(kCaption + ReadoutAt(static_cast<int>(Event->position().y())));
    QWidget::mouseMoveEvent(Event);
}
