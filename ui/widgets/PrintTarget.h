// Printing with or without a printer: the system's print dialog on a printer when the system
// has one, and otherwise (or when the user picks it) Qt's own PDF output into a file beside the
// project. The same page setup serves both.
#pragma once

#include <QPageLayout>
#include <QString>

class QImage;
class QPainter;
class QPrinter;
class QRect;
class QWidget;

// True when the system has at least one printer.
bool HasPrinter();

// Prepares Printer for a job titled DocName with the page layout Page: without a printer its
// output becomes the PDF file PdfFile (the dialog can still change it). Shows the print dialog
// over Parent; false when it was cancelled.
bool ChoosePrinter(QPrinter& Printer, const QString& DocName, const QString& PdfFile,
                   const QPageLayout& Page, QWidget* Parent);

// The page setup dialog over Parent, for a printer or the PDF output; Page receives the
// chosen layout when confirmed.
void ChoosePageLayout(QPageLayout& Page, QWidget* Parent);

// A PDF file named after Name (characters unfit for a file name replaced) in Folder, or in the
// current directory when Folder is empty.
QString PdfFileFor(const QString& Folder, const QString& Name);

// Draws Image as large as fits, centred and undistorted, into Page on Painter, with Heading
// (when not empty) in a line above it.
void DrawImageOnPage(QPainter& Painter, const QRect& Page, const QImage& Image,
                     const QString& Heading);

// Writes Image to the PDF file File as one page of its own size at Ppi pixels per inch, through
// a temporary file renamed into place. False when the file cannot be written.
bool WriteImagePdf(const QImage& Image, const QString& File, int Ppi, const QString& Title);
