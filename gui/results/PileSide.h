// TDlgSideView: the shaft elevation view, a child window of the main window captioned
// "Elevation View". It draws the soil layers as hatched bands with their labels, the ground
// surface and the shaft's segments (ignored top portion, middle part, ignored bottom portion,
// bell), shows the depth under the pointer in its caption and prints the same picture on a
// landscape page. One painting routine serves the screen, pictures and the printer.
#pragma once

#include "gui/data/ShaftGeometry.h"
#include "gui/results/PileProject.h"

#include <QImage>
#include <QWidget>

#include <vector>

class QCheckBox;
class QMdiArea;
class QPainter;
class QPrinter;
class QPushButton;

class TDlgSideView : public QWidget {
    Q_OBJECT
public:
    explicit TDlgSideView(TProjectSource Project, QWidget* Parent = nullptr);

    // The one elevation view of the frame: made as a child window if there is none, then shown
    // and brought to the front (rebuilt from the project each time it is activated).
    static TDlgSideView* Open(QMdiArea& Area, TProjectSource Project);
    // The elevation view of the frame, or null.
    static TDlgSideView* Find(QMdiArea& Area);

    // Rebuilds the shaft from the project. A proposed-length project without a length gets the
    // last layer's bottom as its length, which marks it changed.
    void FormActivate();

    // The picture of the screen in Area (the world window fitted to Area's size).
    void Draw(QPainter& Painter, const QRect& Area) const;
    // The printed picture on a page of the given size.
    void PrintPage(QPainter& Painter, const QRect& Page) const;
    // Prints on Printer: landscape, the job titled "Soil-Pile Profile".
    void PrintTo(QPrinter& Printer) const;
    // The picture of the screen at the given size.
    QImage RenderImage(const QSize& Size) const;

    const std::vector<TShaftSegment>& Data() const { return fData; }
    const TExtent& Extent() const { return fExtent; }
    // The picture's part of the client area: all of it above the strip of buttons along the
    // bottom, so that the buttons never cover the scale, the water table or a label.
    QRect PictureArea() const;
    // The world window of the picture area; NoDraw when it cannot be computed.
    TWorldWindow Window() const { return fWindow; }
    bool NoDraw() const { return fWindow.NoDraw; }
    // The read-out for a pointer at pixel row Row of the client area (the picture at its top).
    QString ReadoutAt(int Row) const;

    QPushButton* PrintButton = nullptr;
    QPushButton* CloseButton = nullptr;
    QCheckBox* OmitHatches = nullptr;

public slots:
    void PrintClick();

protected:
    void paintEvent(QPaintEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;

private:
    struct TProfileMap;
    void PaintProfile(QPainter& Painter, const TProfileMap& Map) const;
    // The depth scale, the water table and the shaft's dimensions, over the bands down to
    // Deepest (the last layer's bottom).
    void PaintAnnotations(QPainter& Painter, const TProfileMap& Map, double Deepest) const;
    void PlaceControls();
    void SetCaption(const QString& Caption);

    TProjectSource fProject;
    std::vector<TShaftSegment> fData;
    TExtent fExtent;
    double fD = 0.0;
    double fLength = 0.0; // the shaft length drawn: the project's, or the profile's depth
    TWorldWindow fWindow;
};
