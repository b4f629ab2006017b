// Printer or PDF file: the print and page setup dialogs over either target.
#include "ui/widgets/PrintTarget.h"

#include <QDir>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>

bool HasPrinter() {
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

bool ChoosePrinter(QPrinter& Printer, const QString& DocName, const QString& PdfFile,
                   const QPageLayout& Page, QWidget* Parent) {
    Printer.setPageLayout(Page);
    Printer.setDocName(DocName);
    if (!HasPrinter()) {
        Printer.setOutputFormat(QPrinter::PdfFormat);
        Printer.setOutputFileName(PdfFile);
    }
    QPrintDialog dialog(&Printer, Parent);
    dialog.setWindowTitle(HasPrinter() ? "Print" : "Print to PDF");
    return dialog.exec() == QDialog::Accepted;
}

void ChoosePageLayout(QPageLayout& Page, QWidget* Parent) {
    QPrinter printer(QPrinter::HighResolution);
    if (!HasPrinter())
        printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageLayout(Page);
    QPageSetupDialog dialog(&printer, Parent);
    if (dialog.exec() == QDialog::Accepted)
        Page = printer.pageLayout();
}

QString PdfFileFor(const QString& Folder, const QString& Name) {
    QString base = Name.trimmed();
    base.replace(QRegularExpression(R"([\\/:*?"<>|]+)"), "-");
    if (base.isEmpty())
        base = "Kolmar";
    return QDir(Folder.isEmpty() ? QDir::currentPath() : Folder).filePath(base + ".pdf");
}
