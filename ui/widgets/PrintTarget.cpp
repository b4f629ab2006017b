// Printer or PDF file: the print and page setup dialogs over either target.
#include "ui/widgets/PrintTarget.h"

#include <QDir>
#include <QImage>
#include <QPageSetupDialog>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QSaveFile>

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

void DrawImageOnPage(QPainter& Painter, const QRect& Page, const QImage& Image,
                     const QString& Heading) {
    if (Image.isNull() || Page.isEmpty())
        return;
    QRect area = Page;
    if (!Heading.isEmpty()) {
        const int line = QFontMetrics(Painter.font(), Painter.device()).height();
        Painter.setPen(Qt::black);
        Painter.drawText(QRect(area.left(), area.top(), area.width(), line),
                         Qt::AlignLeft | Qt::AlignVCenter, Heading);
        area.setTop(area.top() + 2 * line);
    }
    const QSize fitted = Image.size().scaled(area.size(), Qt::KeepAspectRatio);
    if (fitted.isEmpty())
        return;
    const QRect target(area.left() + (area.width() - fitted.width()) / 2, area.top(),
                       fitted.width(), fitted.height());
    Painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    Painter.drawImage(target, Image);
}

bool WriteImagePdf(const QImage& Image, const QString& File, int Ppi, const QString& Title) {
    if (Image.isNull() || Ppi <= 0)
        return false;
    QSaveFile file(File);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    {
        QPdfWriter pdf(&file);
        pdf.setResolution(Ppi);
        pdf.setPageSize(QPageSize(QSizeF(static_cast<double>(Image.width()) / Ppi,
                                         static_cast<double>(Image.height()) / Ppi),
                                  QPageSize::Inch));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setTitle(Title);
        pdf.setCreator("Kolmar");
        QPainter painter;
        if (!painter.begin(&pdf))
            return false;
        painter.drawImage(QRect(0, 0, pdf.width(), pdf.height()), Image);
        if (!painter.end())
            return false;
    }
    return file.commit();
}
