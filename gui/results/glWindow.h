// TglWindow: the OpenGL rendering window of the 3D view. It draws a TScene3D (compiled into
// display lists when the scene is set or the context is made) under an orthographic
// projection in pixels, white background, depth test and back-face culling, translucent parts
// blended over the opaque ones, the scene's labels and the axes as text and lines on top; it
// turns, pans and zooms by the mouse in one of four modes, with a rubber box for the zoom
// window. Legacy OpenGL (compatibility profile) with display lists.
#pragma once

#include "gui/data/ShaftGeometry.h"
#include "gui/results/View3dScene.h"

#include <QFont>
#include <QOpenGLFunctions>
#include <QOpenGLWidget>
#include <QPoint>
#include <QString>

#include <functional>

// Mouse modes of the 3D view.
enum TMouseOption : int { moPanning = 1, moZooming = 2, moRotating = 3, moZoomWindow = 4 };

class QPainter;

class TglWindow : public QOpenGLWidget, protected QOpenGLFunctions {
    Q_OBJECT
public:
    explicit TglWindow(QWidget* Parent = nullptr);
    ~TglWindow() override;

    // The scene to draw; its display lists are rebuilt before the next paint.
    void SetScene(TScene3D Scene);
    const TScene3D& Scene() const { return fScene; }

    // The view: turns, scale and pan. Repaint after changing it.
    TViewState View;
    bool ShowAxes = true;
    int MouseOption = moRotating;
    bool ZoomWindowBoxEnabled = false;
    // Scene size over its horizontal extent: the projection's depth range grows with it.
    double DepthRatio = 1.0;

    // The picture of the view as drawn on the screen.
    QImage RenderImage();
    // Why the rendering context could not be made; empty when it works.
    QString Failure() const { return fFailure; }

    // Called after a drag or a zoom window changed the view.
    std::function<void()> OnViewChanged;
    // Called when the window's size changes (the view refits its scene).
    std::function<void()> OnResized;

protected:
    void initializeGL() override;
    void resizeGL(int Width, int Height) override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;

private:
    void CompileLists();
    void FreeLists();
    void DrawPrimitives(bool Translucent);
    void DrawAxes();
    void DrawOverlay(QPainter& Painter);
    // A drag of the pointer from the press to Position, by the mouse mode.
    void Drag(const QPoint& Position, Qt::KeyboardModifiers Modifiers);

    TScene3D fScene;
    unsigned fLists = 0; // first of two display lists: opaque, translucent
    bool fListsDirty = true;
    QString fFailure;
    QMetaObject::Connection fContextGone;
    QFont fLabelFont;

    bool fPressed = false;
    QPoint fPressPoint;
    QPoint fCurrentPoint;
    TViewState fAtPress;
};
