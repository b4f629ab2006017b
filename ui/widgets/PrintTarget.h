// Printing with or without a printer: the system's print dialog on a printer when the system
// has one, and otherwise (or when the user picks it) Qt's own PDF output into a file beside the
// project. The same page setup serves both.
#pragma once

#include <QPageLayout>
#include <QString>

class QPrinter;
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
