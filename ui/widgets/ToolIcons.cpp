// The painted tool-button pictures.
#include "ui/widgets/ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int kSize = 24;

// The rounded frame every button picture has, filled with Face.
void DrawFrame(QPainter& P, const QColor& Face) {
    P.setRenderHint(QPainter::Antialiasing);
    P.setPen(QPen(QColor(110, 110, 110), 1));
    P.setBrush(Face);
    P.drawRoundedRect(QRectF(1.5, 1.5, 21, 21), 3, 3);
}

QFont BoldFont(const QPainter& P, int Pixels) {
    QFont f = P.font();
    f.setBold(true);
    f.setPixelSize(Pixels);
    return f;
}

QPixmap EmptyPicture() {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

} // namespace

QIcon GlyphIcon(const QString& Text, const QColor& Colour, const TGlyphStyle& Style) {
    QPixmap pixmap = EmptyPicture();
    QPainter p(&pixmap);
    DrawFrame(p, Style.Face);
    p.setFont(BoldFont(p, Text.size() > 1 ? Style.TextPixels : Style.LetterPixels));
    p.setPen(Colour.darker(Style.Darker));
    p.drawText(Style.TextBox, Qt::AlignCenter, Text);
    p.end();
    return QIcon(pixmap);
}

QIcon GraphIcon(const QString& Text, const QColor& Colour) {
    QPixmap pixmap = EmptyPicture();
    QPainter p(&pixmap);
    DrawFrame(p, TGlyphStyle().Face);
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.drawLine(QPointF(5, 5), QPointF(20, 5)); // X axis along the top
    p.drawLine(QPointF(5, 5), QPointF(5, 20));
    QPainterPath path(QPointF(5, 5));
    path.cubicTo(QPointF(13, 6), QPointF(17, 10), QPointF(19, 19));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Colour, 2));
    p.drawPath(path);
    p.setFont(BoldFont(p, 8));
    p.setPen(Colour.darker(140));
    p.drawText(QRectF(6, 12, 12, 10), Qt::AlignLeft | Qt::AlignBottom, Text);
    p.end();
    return QIcon(pixmap);
}
