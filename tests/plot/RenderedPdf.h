// A PDF page as the reader sees it: the first page of a PDF file rendered by poppler's pdftoppm
// at a resolution, read back as an image, and its text; and a comparison of two pictures by their
// ink in blocks, which overlooks the small differences of anti-aliasing and font rasterising
// between renderers but not a missing or moved curve, legend or label.
#pragma once

#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

// The first page of Pdf rendered at Dpi; a null image (and Why set) when it cannot be. Sharp
// turns anti-aliasing off, so that every drawn pixel keeps its exact colour.
inline QImage RenderedPdfPage(const QString& Pdf, int Dpi, std::string* Why, bool Sharp = false) {
    QTemporaryDir dir;
    const QString stem = dir.filePath("page");
    QStringList arguments{"-r", QString::number(Dpi), "-png", "-singlefile", "-f", "1", "-l", "1"};
    if (Sharp)
        arguments << "-aa"
                  << "no"
                  << "-aaVector"
                  << "no";
    QProcess tool;
    tool.start("pdftoppm", arguments << Pdf << stem);
    if (!tool.waitForStarted()) {
        *Why = "pdftoppm (poppler-utils) is not installed";
        return {};
    }
    tool.waitForFinished(120000);
    if (tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0) {
        *Why = "pdftoppm failed: " + tool.readAllStandardError().toStdString();
        return {};
    }
    QImage page(stem + ".png");
    if (page.isNull())
        *Why = "pdftoppm wrote no page";
    return page.convertToFormat(QImage::Format_RGB32);
}

// The text of Pdf in reading order (poppler's pdftotext); empty (and Why set) when it cannot be
// read.
inline QString PdfText(const QString& Pdf, std::string* Why) {
    QProcess tool;
    tool.start("pdftotext", {"-layout", Pdf, "-"});
    if (!tool.waitForStarted()) {
        *Why = "pdftotext (poppler-utils) is not installed";
        return {};
    }
    tool.waitForFinished(120000);
    if (tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0) {
        *Why = "pdftotext failed: " + tool.readAllStandardError().toStdString();
        return {};
    }
    return QString::fromUtf8(tool.readAllStandardOutput());
}

// Darkness (0 white .. 1 black) averaged over square blocks of Block pixels.
inline std::vector<double> BlockInk(const QImage& Image, int Block) {
    const int bw = Image.width() / Block, bh = Image.height() / Block;
    std::vector<double> ink(static_cast<std::size_t>(bw * bh), 0.0);
    for (int by = 0; by < bh; ++by)
        for (int bx = 0; bx < bw; ++bx) {
            double sum = 0.0;
            for (int y = by * Block; y < (by + 1) * Block; ++y)
                for (int x = bx * Block; x < (bx + 1) * Block; ++x)
                    sum += 1.0 - qGray(Image.pixel(x, y)) / 255.0;
            ink[static_cast<std::size_t>(by * bw + bx)] = sum / (Block * Block);
        }
    return ink;
}

// How two pictures of one size differ: the largest difference of block darkness, and the share
// of blocks inked in one picture (darker than 4 %) and blank in the other (under 0.5 %).
struct TInkDifference {
    double Largest = 0.0;
    double Unmatched = 0.0;
};
inline TInkDifference InkDifference(const QImage& A, const QImage& B, int Block) {
    const std::vector<double> a = BlockInk(A, Block), b = BlockInk(B, Block);
    TInkDifference d;
    if (a.size() != b.size() || a.empty())
        return {1.0, 1.0};
    int unmatched = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        d.Largest = std::max(d.Largest, std::abs(a[i] - b[i]));
        const auto inked = [](double V) { return V > 0.04; };
        const auto blank = [](double V) { return V < 0.005; };
        unmatched += (inked(a[i]) && blank(b[i])) || (blank(a[i]) && inked(b[i])) ? 1 : 0;
    }
    d.Unmatched = static_cast<double>(unmatched) / static_cast<double>(a.size());
    return d;
}
