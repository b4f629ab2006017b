// The pictures of the tool buttons, painted rather than loaded: a short text in a framed
// square, or a small graph with its axes and a curve, labelled in its corner.
#pragma once

#include <QColor>
#include <QIcon>
#include <QRectF>
#include <QString>

// How a framed text is drawn. The defaults are the main window's buttons.
struct TGlyphStyle {
    QColor Face = QColor(252, 252, 248); // inside of the frame
    int LetterPixels = 13;               // font height of a single character
    int TextPixels = 9;                  // of a longer text
    int Darker = 130;                    // the text colour, as QColor::darker; 0 leaves it
    QRectF TextBox = QRectF(1, 2, 22, 20);
};

// A 24 x 24 picture of Text, bold and centred in a rounded frame.
QIcon GlyphIcon(const QString& Text, const QColor& Colour, const TGlyphStyle& Style = {});

// A 24 x 24 picture of a graph: the X axis along the top, the Y axis down the left and a
// curve in Colour, labelled with Text in its lower left.
QIcon GraphIcon(const QString& Text, const QColor& Colour);
