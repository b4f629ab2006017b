// The OpenGL rendering window of the 3D view: display lists of the scene, projection, the
// drawing of each frame, the text and axes on top, and the mouse modes.
#include "gui/results/glWindow.h"

#include <QMouseEvent>
#include <QOpenGLContext>
#include <QPainter>
#include <QSurfaceFormat>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace {

GLenum GlMode(TPrimitiveKind Kind) {
    switch (Kind) {
    case TPrimitiveKind::Lines:
        return GL_LINES;
    case TPrimitiveKind::LineStrip:
        return GL_LINE_STRIP;
    case TPrimitiveKind::LineLoop:
        return GL_LINE_LOOP;
    case TPrimitiveKind::Quads:
        return GL_QUADS;
    case TPrimitiveKind::Polygon:
        return GL_POLYGON;
    }
    return GL_LINES;
}

void Emit(const TPrimitive& P) {
    glColor4f(P.Colour.R, P.Colour.G, P.Colour.B, P.Colour.A);
    glBegin(GlMode(P.Kind));
    for (const TVec3& v : P.Points)
        glVertex3d(v.X, v.Y, v.Z);
    glEnd();
    if (P.TwoSided) {
        glBegin(GlMode(P.Kind));
        for (auto v = P.Points.rbegin(); v != P.Points.rend(); ++v)
            glVertex3d(v->X, v->Y, v->Z);
        glEnd();
    }
}

QColor ToQColor(const TColour3& C) {
    return QColor::fromRgbF(C.R, C.G, C.B, C.A);
}

} // namespace

TglWindow::TglWindow(QWidget* Parent) : QOpenGLWidget(Parent) {
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setVersion(2, 1);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setDepthBufferSize(24);
    format.setSamples(4);
    setFormat(format);
    fLabelFont = QFont("Times New Roman");
    fLabelFont.setBold(true);
    fLabelFont.setPixelSize(14);
    setMouseTracking(false);
    setMinimumSize(80, 80);
}

TglWindow::~TglWindow() {
    // The base class destroys the context after this: its signal must not reach us then.
    QObject::disconnect(fContextGone);
    if (context() && isValid()) {
        makeCurrent();
        FreeLists();
        doneCurrent();
    }
}

void TglWindow::SetScene(TScene3D Scene) {
    fScene = std::move(Scene);
    fListsDirty = true;
    update();
}

void TglWindow::initializeGL() {
    if (!context() || !context()->isValid()) {
        fFailure = "ChoosePixelFormat failed";
        return;
    }
    if (context()->format().depthBufferSize() <= 0) {
        fFailure = "SetPixelFormat failed";
        return;
    }
    fFailure.clear();
    initializeOpenGLFunctions();
    // A new context has none of the old lists.
    fLists = 0;
    fListsDirty = true;
    QObject::disconnect(fContextGone);
    fContextGone = connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, [this] {
        makeCurrent();
        FreeLists();
        doneCurrent();
    });
}

void TglWindow::resizeGL(int, int) {
    if (OnResized)
        OnResized();
}

void TglWindow::FreeLists() {
    if (fLists != 0)
        glDeleteLists(fLists, 2);
    fLists = 0;
    fListsDirty = true;
}

void TglWindow::CompileLists() {
    if (fLists == 0)
        fLists = glGenLists(2);
    if (fLists == 0)
        return;
    glNewList(fLists, GL_COMPILE);
    for (const TPrimitive& p : fScene.Opaque)
        Emit(p);
    glEndList();
    glNewList(fLists + 1, GL_COMPILE);
    for (const TPrimitive& p : fScene.Translucent)
        Emit(p);
    glEndList();
    fListsDirty = false;
}

void TglWindow::DrawPrimitives(bool Translucent) {
    if (fLists != 0)
        glCallList(fLists + (Translucent ? 1 : 0));
}

void TglWindow::paintGL() {
    if (!fFailure.isEmpty())
        return;
    const int w = width();
    const int h = height();
    const qreal ratio = devicePixelRatio();
    // The scene in OpenGL of its own, then the text on top with the painter, which must know
    // that the state changed under it.
    QPainter painter(this);
    painter.beginNativePainting();
    glUseProgram(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glViewport(0, 0, static_cast<GLsizei>(w * ratio), static_cast<GLsizei>(h * ratio));

    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    // Orthographic, one unit per pixel; the depth range grows with the scene's proportions.
    const double half = std::min(w, h) / 2.0;
    const double range = std::max(1.0, DepthRatio * half * 640.0);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-w / 2.0, w / 2.0, -h / 2.0, h / 2.0, -range, range);
    glMatrixMode(GL_MODELVIEW);
    const TMatrix4 mv = ModelViewMatrix(View);
    glLoadMatrixd(mv.data());

    glShadeModel(GL_SMOOTH);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
    glLineWidth(1.0f);

    if (fListsDirty)
        CompileLists();
    // Opaque parts first, then the translucent ones blended over them without hiding what
    // lies behind.
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    DrawPrimitives(false);
    // Colours blend; the frame's own alpha stays opaque, or the window would show through.
    glEnable(GL_BLEND);
    glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ZERO, GL_ONE);
    glDepthMask(GL_FALSE);
    DrawPrimitives(true);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);

    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    if (ShowAxes)
        DrawAxes();
    // Back to the state the painter starts from.
    glBlendFunc(GL_ONE, GL_ZERO);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    painter.endNativePainting();

    DrawOverlay(painter);
}

void TglWindow::DrawAxes() {
    // A constant 80 pixels on the screen whatever the zoom.
    const double a = 80.0 / View.Scale();
    glLineWidth(2.0f);
    glBegin(GL_LINES);
    glColor3f(0, 0, 1);
    glVertex3d(0, 0, 0);
    glVertex3d(0, 0, a);
    glColor3f(0, 0.6f, 0);
    glVertex3d(0, 0, 0);
    glVertex3d(0, a, 0);
    glColor3f(1, 0, 0);
    glVertex3d(0, 0, 0);
    glVertex3d(-a, 0, 0);
    glEnd();
    glLineWidth(1.0f);
}

void TglWindow::DrawOverlay(QPainter& Painter) {
    const TMatrix4 mv = ModelViewMatrix(View);
    const double w = width();
    const double h = height();
    auto toScreen = [&](const TVec3& P) {
        const TVec3 e = Transform(mv, P);
        return QPointF(w / 2.0 + e.X, h / 2.0 - e.Y);
    };
    QPainter& painter = Painter;
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(fLabelFont);
    for (const TLabel3& label : fScene.Labels) {
        painter.setPen(ToQColor(label.Colour));
        painter.drawText(toScreen(label.At) + QPointF(3, -3), QString::fromStdString(label.Text));
    }
    if (ShowAxes) {
        const double a = 80.0 / View.Scale();
        painter.setPen(Qt::blue);
        painter.drawText(toScreen({0, 0, a}) + QPointF(3, -3), "X");
        painter.setPen(QColor(0, 153, 0));
        painter.drawText(toScreen({0, a, 0}) + QPointF(3, -3), "Y");
        painter.setPen(Qt::red);
        painter.drawText(toScreen({-a, 0, 0}) + QPointF(3, -3), "D");
    }
    if (fPressed && MouseOption == moZoomWindow && ZoomWindowBoxEnabled) {
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(fPressPoint, fCurrentPoint).normalized());
    }
}

QImage TglWindow::RenderImage() {
    return grabFramebuffer();
}

void TglWindow::mousePressEvent(QMouseEvent* Event) {
    if (Event->button() != Qt::LeftButton) {
        QOpenGLWidget::mousePressEvent(Event);
        return;
    }
    fPressed = true;
    fPressPoint = fCurrentPoint = Event->position().toPoint();
    fAtPress = View;
    Event->accept();
}

void TglWindow::mouseMoveEvent(QMouseEvent* Event) {
    if (!fPressed || !(Event->buttons() & Qt::LeftButton)) {
        QOpenGLWidget::mouseMoveEvent(Event);
        return;
    }
    Drag(Event->position().toPoint(), Event->modifiers());
    Event->accept();
}

void TglWindow::mouseReleaseEvent(QMouseEvent* Event) {
    if (!fPressed || Event->button() != Qt::LeftButton) {
        QOpenGLWidget::mouseReleaseEvent(Event);
        return;
    }
    const QPoint at = Event->position().toPoint();
    Drag(at, Event->modifiers());
    fPressed = false;
    if (MouseOption == moZoomWindow && ZoomWindowBoxEnabled)
        ZoomToBox(View, fPressPoint.x(), fPressPoint.y(), at.x(), at.y(), width(), height());
    update();
    if (OnViewChanged)
        OnViewChanged();
    Event->accept();
}

void TglWindow::Drag(const QPoint& Position, Qt::KeyboardModifiers Modifiers) {
    fCurrentPoint = Position;
    const double dx = Position.x() - fPressPoint.x();
    const double dyUp = fPressPoint.y() - Position.y();
    const bool shift = Modifiers & Qt::ShiftModifier;
    switch (MouseOption) {
    case moPanning:
        View.Pan = PanDrag(fAtPress, dx, dyUp, shift);
        break;
    case moZooming:
        View.Zoom = ZoomDrag(fAtPress.Zoom, -dyUp, height());
        break;
    case moRotating:
        RotateDrag(View, fAtPress, dx, dyUp, width(), height(), shift);
        break;
    default:
        break; // the zoom window acts on release
    }
    update();
}
