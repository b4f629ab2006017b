// The plot window: canvas, legend, plot menu, zoom, pointer read-out, printing and pictures.
#include "gui/results/PlotForm.h"

#include "gui/results/PlotDialogs.h"
#include "ui/model/NumberText.h"
#include "ui/widgets/PrintTarget.h"
#include "ui/widgets/UserDialogs.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QRubberBand>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The property that marks a plot window's menu in the menu bar.
constexpr const char* kPlotMenuProperty = "kolmarPlotMenu";

QString Q(const std::string& S) {
    return QString::fromStdString(S);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Legend

TPlotLegend::TPlotLegend(TPlotForm& Form, QWidget* Parent) : QWidget(Parent), fForm(Form) {
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    setCursor(Qt::SizeAllCursor);
}

void TPlotLegend::SetRows(std::vector<TRow> Rows) {
    fRows = std::move(Rows);
    update();
}

QString TPlotLegend::RowText(int Row) const {
    if (Row < 0 || Row >= static_cast<int>(fRows.size()))
        return {};
    const TRow& r = fRows[static_cast<std::size_t>(Row)];
    const TGraphPlot& g = fForm.Data;
    const bool visible = r.Curve < g.LineCount() && g.Lines(r.Curve).Visible;
    return visible ? r.Name.trimmed() + " *" : r.Name;
}

int TPlotLegend::RowAt(const QPoint& At) const {
    if (fRowHeight <= 0 || fColumnWidth <= 0 || At.y() < 0 || At.x() < 0)
        return -1;
    const int line = At.y() / fRowHeight;
    if (line >= fPerColumn)
        return -1;
    const int row = At.x() / fColumnWidth * fPerColumn + line;
    return row < static_cast<int>(fRows.size()) ? row : -1;
}

QRect TPlotLegend::RowRect(int Row) const {
    const int column = Row / fPerColumn, line = Row % fPerColumn;
    return QRect(column * fColumnWidth + 2, line * fRowHeight, fColumnWidth - 4, fRowHeight);
}

void TPlotLegend::SetupLegend(int FontSize) {
    FitLegend(FontSize, std::numeric_limits<int>::max());
}

void TPlotLegend::FitLegend(int FontSize, int MaxHeight) {
    double points = std::max(1.0, FontSize * fForm.Data.LegendFont / 10.0);
    for (; points > TPlotPainter::kMinLegendPoints; points -= 0.5) {
        QFont f = font();
        f.setPointSizeF(points);
        const QFontMetrics fm(f);
        const int row = std::max(fm.height() + 2, static_cast<int>(std::lround(1.5 * points)));
        if (static_cast<long long>(fRows.size()) * row + 3 <= MaxHeight)
            break;
    }
    QFont f = font();
    f.setPointSizeF(points);
    setFont(f);
    const QFontMetrics fm(f);
    fRowHeight = std::max(fm.height() + 2, static_cast<int>(std::lround(1.5 * points)));
    fColumnWidth = 21;
    for (int i = 0; i < static_cast<int>(fRows.size()); ++i)
        fColumnWidth = std::max(
            fColumnWidth,
            fm.horizontalAdvance(fRows[static_cast<std::size_t>(i)].Name.trimmed() + " *") +
                logicalDpiX() / 4);
    // Rows that do not fit at the smallest font go on in further columns.
    const int rows = std::max(1, static_cast<int>(fRows.size()));
    fPerColumn = std::clamp((MaxHeight - 3) / fRowHeight, 1, rows);
    const int columns = (rows + fPerColumn - 1) / fPerColumn;
    fPerColumn = (rows + columns - 1) / columns; // the columns as even as they can be
    resize(columns * fColumnWidth, fPerColumn * fRowHeight + 3);
    update();
}

void TPlotLegend::RowDoubleClicked(int Row) {
    if (Row >= 0 && Row < static_cast<int>(fRows.size()))
        fForm.ToggleCurve(fRows[static_cast<std::size_t>(Row)].Curve);
}

void TPlotLegend::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setFont(font());
    for (int i = 0; i < static_cast<int>(fRows.size()); ++i) {
        const TRgb c = CurveColour(i);
        p.setPen(QColor(c.R, c.G, c.B));
        p.drawText(RowRect(i), Qt::AlignLeft | Qt::AlignVCenter, RowText(i));
    }
    p.setPen(Qt::gray);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TPlotLegend::mousePressEvent(QMouseEvent* Event) {
    if (Event->button() == Qt::LeftButton) {
        fDragLegend = true;
        fDragPoint = Event->position().toPoint();
    }
}

void TPlotLegend::mouseMoveEvent(QMouseEvent* Event) {
    if (!fDragLegend || !parentWidget())
        return;
    QPoint to = mapToParent(Event->position().toPoint()) - fDragPoint;
    const QSize room = parentWidget()->size() - size();
    to.setX(std::clamp(to.x(), 0, std::max(0, room.width())));
    to.setY(std::clamp(to.y(), 0, std::max(0, room.height())));
    move(to);
    fForm.LegendMoved = true;
}

void TPlotLegend::mouseReleaseEvent(QMouseEvent*) {
    fDragLegend = false;
}

void TPlotLegend::mouseDoubleClickEvent(QMouseEvent* Event) {
    RowDoubleClicked(RowAt(Event->position().toPoint()));
}

// ---------------------------------------------------------------------------------------------
// Canvas

TPlotCanvas::TPlotCanvas(TPlotForm& Form, QWidget* Parent) : QWidget(Parent), fForm(Form) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(1, 1);
}

void TPlotCanvas::paintEvent(QPaintEvent*) {
    QPainter p(this);
    fForm.Painter.draw(p, rect());
}

void TPlotCanvas::resizeEvent(QResizeEvent*) {
    fForm.FormResize();
}

void TPlotCanvas::mousePressEvent(QMouseEvent* Event) {
    const QPointF at = Event->position();
    if (!fForm.Painter.DrawWindow.GraphArea.contains(at))
        return;
    if (Event->button() == Qt::LeftButton) {
        fForm.Zooming = true;
        fForm.ZoomOrigin = at;
        fForm.RubberBand->setGeometry(QRect(at.toPoint(), QSize()));
        fForm.RubberBand->show();
    } else if (Event->button() == Qt::RightButton) {
        fForm.ZoomOutAt(at);
    }
}

void TPlotCanvas::mouseMoveEvent(QMouseEvent* Event) {
    const QPointF at = Event->position();
    if (fForm.Zooming) {
        const QPointF to = fForm.HeldInside(at);
        fForm.RubberBand->setGeometry(QRectF(fForm.ZoomOrigin, to).normalized().toRect());
    }
    fForm.ShowPointer(at);
}

void TPlotCanvas::mouseReleaseEvent(QMouseEvent* Event) {
    if (!fForm.Zooming || Event->button() != Qt::LeftButton)
        return;
    fForm.Zooming = false;
    fForm.RubberBand->hide();
    fForm.ZoomBetween(fForm.ZoomOrigin, Event->position());
}

void TPlotCanvas::leaveEvent(QEvent*) {
    if (!fForm.Zooming)
        fForm.ShowCaption();
}

// ---------------------------------------------------------------------------------------------
// The window

TPlotForm::TPlotForm(QMdiArea& Area, TGraphPlot& Graph, TUserDialogs& Dialogs)
    : Data(Graph), Painter(Graph), fArea(Area), fDialogs(Dialogs),
      fPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(1, 1, 1, 1),
                  QPageLayout::Inch) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    Canvas = new TPlotCanvas(*this, this);
    setWidget(Canvas);
    Legend = new TPlotLegend(*this, Canvas);
    RubberBand = new QRubberBand(QRubberBand::Rectangle, Canvas);
    CreateMenu();

    ActivateCurves(Data);
    Data.LegendFont = 11;
    RebuildCurves();
    Legend->setVisible(Data.HasSomethingToDraw() && Data.ShowLegend);
    ShowCaption();
    fArea.addSubWindow(this);
    resize(640, 480);
}

TPlotForm::~TPlotForm() {
    // Deleted by the frame rather than by the graph: the graph must not keep a dangling window.
    if (Data.Form() == this)
        static_cast<void>(Data.ReleaseForm().release());
}

void TPlotForm::ShowForm() {
    if (!Painter.Valid) {
        // A graph without a range to show closes its window again.
        if (Data.Form() == this) {
            static_cast<void>(Data.ReleaseForm().release());
            deleteLater();
        }
        return;
    }
    ShowCaption();
    if (isMinimized())
        showNormal();
    showMaximized();
    fArea.setActiveSubWindow(this);
    raise();
    Canvas->update();
}

void TPlotForm::closeEvent(QCloseEvent* Event) {
    Event->accept();
    if (Data.Form() == this) {
        static_cast<void>(Data.ReleaseForm().release());
        deleteLater(); // still inside its own close event
    }
}

void TPlotForm::Message(const QString& Text) {
    fDialogs.Information(Text);
}

void TPlotForm::CreateMenu() {
    PlotMenu = new QMenu("&Plot", this);
    PlotMenu->menuAction()->setProperty(kPlotMenuProperty, true);
    connect(PlotMenu, &QMenu::aboutToShow, this, &TPlotForm::PlotMenuShow);

    ShowLegendItem = PlotMenu->addAction("Show &Legend", this, &TPlotForm::ShowLegendClick);
    ShowLegendItem->setCheckable(true);
    ShowLayersItem = PlotMenu->addAction("Show &Soil Layer", this, &TPlotForm::ShowLayersClick);
    ShowLayersItem->setCheckable(true);
    ShowWallItem = PlotMenu->addAction("Show &Wall Geometry");
    ShowWallItem->setCheckable(true);
    ShowWallItem->setVisible(false);

    // A submenu of values, one checked.
    auto values = [this](const QString& Title, QActionGroup*& Group,
                         std::initializer_list<std::pair<const char*, int>> Items,
                         void (TPlotForm::*Set)(int), bool SeparatorAfterFirst) {
        QMenu* menu = PlotMenu->addMenu(Title);
        Group = new QActionGroup(menu);
        bool first = true;
        for (const auto& [text, value] : Items) {
            QAction* a = menu->addAction(text);
            a->setCheckable(true);
            a->setData(value);
            Group->addAction(a);
            const int v = value;
            connect(a, &QAction::triggered, this, [this, Set, v] { (this->*Set)(v); });
            if (first && SeparatorAfterFirst)
                menu->addSeparator();
            first = false;
        }
        return menu->menuAction();
    };
    MarkersItem = values("Show &Markers", MarkerGroup,
                         {{"&Never", 0},
                          {"Every &Increment", 1},
                          {"Every &2 Increments", 2},
                          {"Every &3 Incrments", 3},
                          {"Every &5 Increments", 5},
                          {"Every &10 Incements", 10}},
                         &TPlotForm::SetMarkers, true);
    FontSizeItem = values("&Font Size", FontGroup,
                          {{"&Default", 10},
                           {"1.5 * Default", 15},
                           {"2 * Default", 20},
                           {"2.5 * Default", 25},
                           {"3 * Default", 30},
                           {"4 * Default", 40}},
                          &TPlotForm::SetSizeFont, false);
    LineWidthItem = values("&Line Width", WidthGroup,
                           {{"&Default", 1},
                            {"2 * Default", 2},
                            {"4 * Default", 4},
                            {"6 * Default", 6},
                            {"10 * Default", 10}},
                           &TPlotForm::SetWidthLine, false);
    GraphTitleItem = PlotMenu->addAction("&Graph Title", this, &TPlotForm::GraphTitleClick);
    EditLegendItem = PlotMenu->addAction("&Edit Legend", this, &TPlotForm::EditLegendClick);
    ActiveCurvesItem = PlotMenu->addAction("&Active Curves", this, &TPlotForm::ActiveCurvesClick);
    PlotMenu->addSeparator();
    PrintItem = PlotMenu->addAction("&Print...", this, &TPlotForm::PrintClick);
    PageSetupItem = PlotMenu->addAction("P&age Setup", this, &TPlotForm::PageSetupClick);
    SaveToDiskItem = PlotMenu->addAction("&Save To Disk...", this, &TPlotForm::SaveToDiskClick);
    PlotMenu->addSeparator();
}

void TPlotForm::PlotMenuShow() {
    ShowLegendItem->setChecked(Data.ShowLegend);
    ShowLayersItem->setChecked(Data.ShowLayers);
    ShowLayersItem->setVisible(Data.LayerLineCount() > 0);
    ShowWallItem->setChecked(Data.ShowWall);
    ShowWallItem->setVisible(Data.WallLineCount > 0);
    FontSizeItem->setVisible(Data.ShowFontWidth);
    LineWidthItem->setVisible(Data.ShowFontWidth);
    for (QActionGroup* group : {MarkerGroup, FontGroup, WidthGroup}) {
        const int value = group == MarkerGroup ? Data.Markers
                          : group == FontGroup ? Data.SizeFont
                                               : Data.WidthLine;
        for (QAction* a : group->actions())
            a->setChecked(a->data().toInt() == value);
    }
    // Without a printer, printing goes to a PDF file.
    PrintItem->setEnabled(true);
    PageSetupItem->setEnabled(true);
    for (QAction* a : CurveItems) {
        const int curve = a->data().toInt();
        a->setChecked(curve < Data.LineCount() && Data.Lines(curve).Visible);
    }
}

void TPlotForm::RebuildCurves() {
    for (QAction* a : CurveItems) {
        PlotMenu->removeAction(a);
        a->deleteLater();
    }
    CurveItems.clear();
    std::vector<TPlotLegend::TRow> rows;
    for (int i = 0; i < Data.LineCount(); ++i) {
        const TLine& line = Data.Lines(i);
        if (!line.Active)
            continue;
        const QString name = Q(line.LineName());
        rows.push_back({i, name});
        QAction* a = PlotMenu->addAction(name);
        a->setCheckable(true);
        a->setChecked(line.Visible);
        a->setData(i);
        connect(a, &QAction::triggered, this, [this, i] { ToggleCurve(i); });
        CurveItems.push_back(a);
    }
    Legend->SetRows(std::move(rows));
    Legend->SetupLegend(Data.SizeFont);
    FormResize();
}

QString TPlotForm::CaptionText() const {
    const QString caption = Q(Data.onGetCaption ? Data.onGetCaption(Data) : Data.Caption);
    return CaptionMark.isEmpty() ? caption : caption + " - " + CaptionMark;
}

void TPlotForm::SetCaptionMark(const QString& Mark) {
    CaptionMark = Mark;
    PrintItem->setText(Mark.isEmpty() ? QString("&Print...") : "&Print... (" + Mark + ")");
    ShowCaption();
}

void TPlotForm::ShowCaption() {
    setWindowTitle(CaptionText());
}

QPointF TPlotForm::HeldInside(const QPointF& At) const {
    const QRectF& g = Painter.DrawWindow.GraphArea;
    return {std::clamp(At.x(), g.left(), std::max(g.left(), g.right())),
            std::clamp(At.y(), g.top(), std::max(g.top(), g.bottom()))};
}

void TPlotForm::ShowPointer(const QPointF& At) {
    if (!Painter.DrawWindow.GraphArea.contains(At) && !Zooming) {
        ShowCaption();
        return;
    }
    const TFloatPoint v = Painter.ToValue(HeldInside(At));
    setWindowTitle(CaptionText() + " X: " + Q(FormatGeneral(v.X, 5)) +
                   " Y: " + Q(FormatGeneral(v.Y, 5)));
}

void TPlotForm::FormResize() {
    Painter.Layout(Canvas->rect(), Canvas);
    if (!LegendMoved) {
        // Until the user moves it, the legend's right and bottom edges touch those of the
        // graph area, and its font shrinks so that it stays below the top axis numbers.
        const QRectF& g = Painter.DrawWindow.GraphArea;
        Legend->FitLegend(Data.SizeFont, static_cast<int>(g.height()));
        Legend->move(static_cast<int>(g.right()) - Legend->width(),
                     static_cast<int>(g.bottom()) - Legend->height());
    }
    QPoint at = Legend->pos();
    at.setX(std::clamp(at.x(), 0, std::max(0, Canvas->width() - Legend->width())));
    at.setY(std::clamp(at.y(), 0, std::max(0, Canvas->height() - Legend->height())));
    Legend->move(at);
    Canvas->update();
}

void TPlotForm::AnchorLegend() {
    if (Canvas->width() > 0 && Canvas->height() > 0)
        Painter.LegendAnchor = QPointF(static_cast<double>(Legend->x()) / Canvas->width(),
                                       static_cast<double>(Legend->y()) / Canvas->height());
}

// ---------------------------------------------------------------------------------------------
// Commands

void TPlotForm::ShowLegendClick() {
    Data.ShowLegend = !Data.ShowLegend;
    Legend->setVisible(Data.HasSomethingToDraw() && Data.ShowLegend);
}

void TPlotForm::ShowLayersClick() {
    Data.ShowLayers = !Data.ShowLayers;
    FormResize();
}

void TPlotForm::SetMarkers(int Value) {
    Data.Markers = Value;
    Canvas->update();
}

void TPlotForm::SetSizeFont(int Value) {
    Data.SizeFont = Value;
    Legend->SetupLegend(Data.SizeFont);
    FormResize();
}

void TPlotForm::SetWidthLine(int Value) {
    Data.WidthLine = Value;
    Canvas->update();
}

void TPlotForm::ToggleCurve(int Curve) {
    if (Curve < 0 || Curve >= Data.LineCount())
        return;
    TLine& line = Data.Lines(Curve);
    line.Visible = !line.Visible;
    for (QAction* a : CurveItems)
        if (a->data().toInt() == Curve)
            a->setChecked(line.Visible);
    Canvas->update();
    Legend->update();
}

void TPlotForm::GraphTitleClick() {
    TPlotTitleDialog dialog(Q(Data.UserCaption), Data.UserCaptionOnTop, this);
    dialog.exec();
    Data.UserCaption = dialog.Caption().toStdString();
    Data.UserCaptionOnTop = dialog.OnTop();
    FormResize();
}

void TPlotForm::EditLegendClick() {
    QStringList names;
    for (int i = 0; i < Data.LineCount(); ++i)
        names << Q(Data.Lines(i).LineName());
    TPlotLegendDialog dialog(names, fDialogs, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QStringList result = dialog.Names();
    for (int i = 0; i < Data.LineCount() && i < result.size(); ++i)
        Data.Lines(i).fValueS = result[i].toStdString();
    RebuildCurves();
    Canvas->update();
}

void TPlotForm::ActiveCurvesClick() {
    QStringList names;
    std::vector<bool> active;
    for (int i = 0; i < Data.LineCount(); ++i) {
        names << Q(Data.Lines(i).LineName());
        active.push_back(Data.Lines(i).Active);
    }
    TPlotActiveDialog dialog(names, active, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const std::vector<bool> result = dialog.Active();
    for (int i = 0; i < Data.LineCount() && i < static_cast<int>(result.size()); ++i)
        Data.Lines(i).Active = result[static_cast<std::size_t>(i)];
    RebuildCurves();
    Legend->setVisible(Data.HasSomethingToDraw() && Data.ShowLegend);
    FormResize();
}

void TPlotForm::PrintClick() {
    QPrinter printer(QPrinter::HighResolution);
    const QString folder = Folder ? Folder() : QString();
    if (!ChoosePrinter(printer, Q(Data.Caption), PdfFileFor(folder, Q(Data.Caption)), fPageLayout,
                       this))
        return;
    AnchorLegend();
    const TDrawArea screen = Painter.DrawWindow;
    Painter.DrawWindow.PrintLegend = true;
    Painter.DrawWindow.Printing = true;
    {
        QPainter p;
        if (p.begin(&printer)) {
            // The painter starts at the printable area inside the margins.
            Painter.draw(p, QRect(0, 0, printer.width(), printer.height()));
            p.end();
        } else {
            Message("The printer could not be started.");
        }
    }
    Painter.DrawWindow = screen;
    FormResize();
}

void TPlotForm::PageSetupClick() {
    ChoosePageLayout(fPageLayout, this);
}

void TPlotForm::SaveToDiskClick() {
    const QStringList filters = {"PNG picture (*.png)", "SVG drawing (*.svg)",
                                 "PDF document (*.pdf)", "Bitmap (*.bmp)"};
    const QString file = fDialogs.SaveFileName("Save Graph", Folder ? Folder() : QString(),
                                               QString(), filters, "png");
    if (file.isEmpty())
        return;
    TSaveAttributesDialog attributes(fDialogs, this);
    if (attributes.exec() != QDialog::Accepted)
        return;
    AnchorLegend();
    QString error;
    if (!SavePicture(Painter, file, attributes.Size(), attributes.Colours(), &error))
        Message(error);
    FormResize();
}

// ---------------------------------------------------------------------------------------------
// Zoom

void TPlotForm::ZoomBetween(const QPointF& A, const QPointF& B) {
    const QPointF a = HeldInside(A), b = HeldInside(B);
    if (a.x() == b.x() || a.y() == b.y())
        return;
    const TFloatPoint va = Painter.ToValue(a), vb = Painter.ToValue(b);
    Painter.LogicBounds = ZoomTo(Painter.MaxLogicBounds, va.X, va.Y, vb.X, vb.Y);
    Canvas->update();
}

void TPlotForm::ZoomOutAt(const QPointF& At) {
    const TFloatPoint v = Painter.ToValue(HeldInside(At));
    Painter.LogicBounds = ZoomOut(Painter.MaxLogicBounds, Painter.LogicBounds, v.X, v.Y);
    Canvas->update();
}

// ---------------------------------------------------------------------------------------------
// The menu bar

void TPlotForm::MergePlotMenu(QMenuBar& Bar, QAction* Before, QMdiSubWindow* Active) {
    auto* form = qobject_cast<TPlotForm*>(Active);
    QAction* keep = form ? form->PlotMenu->menuAction() : nullptr;
    for (QAction* a : Bar.actions())
        if (a != keep && a->property(kPlotMenuProperty).toBool())
            Bar.removeAction(a);
    if (keep && !Bar.actions().contains(keep))
        Bar.insertAction(Before, keep);
}
