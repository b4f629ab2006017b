// Painting result graphs into images (every graph of a complete plot file and of an example
// run), pictures saved to disk, and the plot window's own behaviour: the active-curve limit,
// zoom, the legend, the plot menu in the menu bar and closing.
#include "../dialogs/ScriptedDialogs.h"
#include "RenderedPdf.h"

#include "gui/data/DataUnit.h"
#include "gui/results/PlotDialogs.h"
#include "gui/results/PlotForm.h"
#include "gui/run/RunControl.h"
#include "ui/widgets/UserDialogs.h"

#include <gtest/gtest.h>

#include <QActionGroup>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTimer>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// One application for the whole program, offscreen unless told otherwise.
class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { app.reset(); }

private:
    int argc = 1;
    char name[16] = "plot_render";
    char* argv[2] = {name, nullptr};
    std::unique_ptr<QApplication> app;
};
[[maybe_unused]] ::testing::Environment* const kQt =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

std::string DataFile(const char* Name) {
    return std::string(KOLMAR_TEST_DATA) + "/data/" + Name;
}

// A white image of a size at 96 pixels per inch.
QImage Canvas(int W, int H, QColor Fill = Qt::white) {
    QImage image(W, H, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780); // 96 per inch
    image.setDotsPerMeterY(3780);
    image.fill(Fill);
    return image;
}

struct TInk {
    long long Marked = 0;   // pixels that are not white
    long long Coloured = 0; // pixels of a clear hue (curves other than the black first one)
};
TInk InkOf(const QImage& Image) {
    TInk ink;
    for (int y = 0; y < Image.height(); ++y)
        for (int x = 0; x < Image.width(); ++x) {
            const QColor c = Image.pixelColor(x, y);
            ink.Marked += c != QColor(Qt::white) ? 1 : 0;
            ink.Coloured += c.hsvSaturation() > 120 && c.value() > 60 ? 1 : 0;
        }
    return ink;
}

QImage Paint(TGraphPlot& Graph, int W = 640, int H = 480) {
    TPlotPainter painter(Graph);
    ActivateCurves(Graph);
    QImage image = Canvas(W, H);
    QPainter p(&image);
    painter.draw(p, image.rect());
    return image;
}

// The complete two-diameter run of data/: every section of the plot file.
class FullRun : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        project = TProgramData::CreateFromFile(DataFile("full-run.kx8d"), 1, &error);
        ASSERT_TRUE(project && error.empty()) << error;
        ASSERT_TRUE(ReadPlotData(graphs, *project, DataFile("full-run.kx8p"), &error)) << error;
    }
    std::unique_ptr<TProgramData> project;
    TResultGraphs graphs;
};

} // namespace

TEST_F(FullRun, EveryResultGraphPaints) {
    const QStringList names = GraphNames();
    ASSERT_EQ(names.size(), TResultGraphs::GraphCount);
    for (qsizetype i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(names[i].toStdString());
        TGraphPlot* graph = GraphByName(graphs, names[i]);
        ASSERT_EQ(graph, graphs.All()[static_cast<std::size_t>(i)]);
        ASSERT_TRUE(graph->HasSomethingToDraw());
        graph->ShowLayers = graph->LayerLineCount() > 0; // the soil band where there is one
        const QImage image = Paint(*graph);
        EXPECT_EQ(image.size(), QSize(640, 480));
        const TInk ink = InkOf(image);
        // Frame, grid, labels and curves; the second curve is blue.
        EXPECT_GT(ink.Marked, 4000);
        EXPECT_GT(ink.Coloured, 150);
    }
    EXPECT_EQ(GraphByName(graphs, "pltNothing"), nullptr);
}

TEST_F(FullRun, SoilBandIsFilledWithItsPatterns) {
    TGraphPlot& g = graphs.pltTotal;
    ASSERT_EQ(g.LayerLineCount(), 3);
    TPlotPainter painter(g);
    g.ShowLayers = true;
    QImage image = Canvas(640, 480);
    {
        QPainter p(&image);
        painter.draw(p, image.rect());
    }
    const QRect band = painter.DrawWindow.LayersArea.toRect().adjusted(2, 2, -2, -2);
    ASSERT_FALSE(band.isEmpty());
    // Each layer band carries ink of its pattern (sand grains, clay hatch, sand grains).
    for (int layer = 0; layer < 3; ++layer) {
        const double top = layer == 0 ? 0.0 : g.LayerData(layer - 1, 0).Y;
        const double bottom = g.LayerData(layer, 0).Y;
        const int y0 = static_cast<int>(painter.ToPixel(0, top).y()) + 3;
        const int y1 =
            std::min(static_cast<int>(painter.ToPixel(0, bottom).y()) - 3, band.bottom());
        long long ink = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = band.left(); x <= band.right(); ++x)
                ink += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
        EXPECT_GT(ink, 20) << "layer " << layer;
    }
    // Every pattern number has a brush; the bitmap tiles have their screen and print sizes.
    for (int pattern = 1; pattern <= 12; ++pattern)
        EXPECT_NE(BandBrush(pattern, false).style(), Qt::NoBrush) << pattern;
    EXPECT_EQ(BandBrush(0, false).style(), Qt::NoBrush);
    EXPECT_EQ(BandTile(7, false).size(), QSize(80, 80));
    EXPECT_EQ(BandTile(9, true).size(), QSize(96, 69));
    EXPECT_EQ(BandTile(12, true).size(), QSize(96, 192));
}

TEST_F(FullRun, WindowNarrowerThanAnInchPaintsOnlyWhite) {
    TPlotPainter painter(graphs.pltTotal);
    for (const QSize size : {QSize(95, 400), QSize(400, 95)}) {
        QImage image = Canvas(size.width(), size.height(), Qt::red);
        {
            QPainter p(&image);
            painter.draw(p, image.rect());
        }
        EXPECT_EQ(InkOf(image).Marked, 0) << size.width() << " x " << size.height();
    }
}

TEST_F(FullRun, ElevationsGrowUpwards) {
    project->UseElevation = 1;
    project->ValElevation = 100;
    std::string error;
    ASSERT_TRUE(ReadPlotData(graphs, *project, DataFile("full-run.kx8p"), &error)) << error;
    TPlotPainter painter(graphs.pltSkin);
    EXPECT_EQ(painter.MaxLogicBounds.Top, 100);
    EXPECT_EQ(painter.MaxLogicBounds.Bottom, 50);
    QImage image = Canvas(640, 480);
    QPainter p(&image);
    painter.draw(p, image.rect());
    EXPECT_LT(painter.ToPixel(0, 90).y(), painter.ToPixel(0, 60).y());
    // The values under a pixel come back.
    const TFloatPoint v = painter.ToValue(painter.ToPixel(123.4, 77.7));
    EXPECT_NEAR(v.X, 123.4, 1e-9);
    EXPECT_NEAR(v.Y, 77.7, 1e-9);
}

TEST_F(FullRun, SavedPictures) {
    QTemporaryDir dir;
    TPlotPainter painter(graphs.pltCombine);
    QString error;
    const TPictureSize size{6, 4, 72}; // 6 x 4 inches at 72 per inch
    EXPECT_EQ(size.Pixels(), QSize(432, 288));

    const QString bmp = dir.filePath("chart.bmp");
    ASSERT_TRUE(SavePicture(painter, bmp, size, TPictureColours::Colours16, &error))
        << error.toStdString();
    const QImage saved(bmp);
    EXPECT_EQ(saved.size(), QSize(432, 288));
    EXPECT_LE(saved.colorCount(), 16);
    EXPECT_GT(InkOf(saved).Coloured, 100);

    // Black and white keeps every mark; true colour keeps the colours.
    const QString mono = dir.filePath("mono.png");
    ASSERT_TRUE(SavePicture(painter, mono, size, TPictureColours::BlackWhite, &error));
    const QImage monoImage(mono);
    EXPECT_EQ(InkOf(monoImage).Coloured, 0);
    EXPECT_GT(InkOf(monoImage).Marked, 3000);
    const QString png = dir.filePath("chart.png");
    ASSERT_TRUE(SavePicture(painter, png, {5, 3, 150}, TPictureColours::TrueColour24, &error));
    EXPECT_EQ(QImage(png).size(), QSize(750, 450));

    for (const char* vector : {"chart.svg", "chart.pdf"}) {
        const QString file = dir.filePath(vector);
        ASSERT_TRUE(SavePicture(painter, file, size, TPictureColours::TrueColour24, &error))
            << vector << ": " << error.toStdString();
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray head = f.read(4096);
        EXPECT_TRUE(head.contains("<svg") || head.startsWith("%PDF")) << vector;
        EXPECT_GT(f.size(), 2000) << vector;
    }

    EXPECT_FALSE(SavePicture(painter, dir.filePath("chart.gif"), size,
                             TPictureColours::TrueColour24, &error));
    EXPECT_TRUE(error.contains(".png")) << error.toStdString();
    EXPECT_FALSE(SavePicture(painter, dir.filePath("huge.png"), {100, 100, 2400},
                             TPictureColours::TrueColour24, &error));
    EXPECT_EQ(error, "There is not enough memory to complete this task.");
    EXPECT_FALSE(SavePicture(painter, dir.filePath("no/such/dir/chart.png"), size,
                             TPictureColours::TrueColour24, &error));
    // The picture flags are back as they were for the window.
    EXPECT_FALSE(painter.DrawWindow.PrintLegend);
    EXPECT_FALSE(painter.DrawWindow.MessedUp);
}

// The plot window's picture of one graph in every kind Save To Disk offers, each read back the
// way a reader sees it (the SVG drawn by Qt's renderer, the PDF page rendered by poppler): one
// picture four times, the same to the pixel for the two raster files and the same in every
// block of ink for the two drawings.
TEST_F(FullRun, WindowPictureIsTheSameInEveryKind) {
    QMdiArea area;
    area.resize(900, 700);
    area.show();
    TScriptedDialogs dialogs;
    TGraphPlot& graph = graphs.pltCombine;
    graph.FormFactory = [&](TGraphPlot& G) -> std::unique_ptr<TGraphForm> {
        return std::make_unique<TPlotForm>(area, G, dialogs);
    };
    graph.Show();
    auto* form = dynamic_cast<TPlotForm*>(graph.Form());
    ASSERT_NE(form, nullptr);
    QCoreApplication::processEvents();

    QTemporaryDir dir;
    const TPictureSize size; // the dialog's default: 6 x 4 in at 150 per inch
    const QSize pixels(900, 600);
    QString error;
    for (const char* name : {"graph.bmp", "graph.png", "graph.svg", "graph.pdf"})
        ASSERT_TRUE(SavePicture(form->Painter, dir.filePath(name), size,
                                TPictureColours::TrueColour24, &error))
            << name << ": " << error.toStdString();
    graph.Hide();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    const QImage bmp = QImage(dir.filePath("graph.bmp")).convertToFormat(QImage::Format_RGB32);
    const QImage png = QImage(dir.filePath("graph.png")).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(bmp.size(), pixels);
    EXPECT_EQ(bmp, png);

    QSvgRenderer svg(dir.filePath("graph.svg"));
    ASSERT_TRUE(svg.isValid());
    EXPECT_EQ(svg.viewBox(), QRect(QPoint(0, 0), pixels));
    QImage drawn = Canvas(pixels.width(), pixels.height());
    {
        QPainter p(&drawn);
        svg.render(&p, QRectF(drawn.rect()));
    }
    std::string why;
    const QImage page = RenderedPdfPage(dir.filePath("graph.pdf"), size.Ppi, &why);
    ASSERT_FALSE(page.isNull()) << why;
    ASSERT_EQ(page.size(), pixels);

    // Blocks of 20 pixels (an eighth of an inch): a curve, label or legend entry missing or
    // moved by more than that shows as an inked block against a blank one.
    for (const auto& [label, picture] : {std::pair{"svg", drawn}, std::pair{"pdf", page}}) {
        SCOPED_TRACE(label);
        EXPECT_GT(InkOf(picture).Coloured, InkOf(png).Coloured / 2);
        const TInkDifference d = InkDifference(png, picture, 20);
        EXPECT_LT(d.Unmatched, 0.01) << "largest block difference " << d.Largest;
        EXPECT_LT(d.Largest, 0.25) << "unmatched blocks " << d.Unmatched;
    }
}

namespace {

// Answers the file dialog with File and records where it started and what it offered.
class TSaveDialogs : public TScriptedDialogs {
public:
    QString SaveFileName(const QString&, const QString& Dir, const QString&,
                         const QStringList& Filters, const QString&) override {
        StartedIn = Dir;
        Offered = Filters;
        return File;
    }
    QString File, StartedIn;
    QStringList Offered;
};

} // namespace

// Print and Page Setup enabled; Save To Disk from the window: the file dialog starts in the
// project's folder and offers the four kinds; the size dialog, confirmed as it opens, gives 6 x 4
// in at 150 pixels per inch.
TEST_F(FullRun, SaveToDiskStartsInTheProjectFolderAtSixByFour) {
    QMdiArea area;
    area.resize(900, 700);
    area.show();
    TSaveDialogs dialogs;
    QTemporaryDir dir;
    dialogs.File = dir.filePath("graph.png");
    TGraphPlot& graph = graphs.pltTotal;
    graph.FormFactory = [&](TGraphPlot& G) -> std::unique_ptr<TGraphForm> {
        return std::make_unique<TPlotForm>(area, G, dialogs);
    };
    graph.Show();
    auto* form = dynamic_cast<TPlotForm*>(graph.Form());
    ASSERT_NE(form, nullptr);
    form->Folder = [&] { return dir.path(); };
    // Printing and its page setup are there with or without a printer (a PDF file without).
    form->PlotMenuShow();
    EXPECT_TRUE(form->PrintItem->isEnabled());
    EXPECT_TRUE(form->PageSetupItem->isEnabled());
    QTimer::singleShot(0, [] {
        if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            d->accept();
    });
    form->SaveToDiskClick();
    graph.Hide();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    EXPECT_EQ(dialogs.StartedIn, dir.path());
    ASSERT_EQ(dialogs.Offered.size(), 4);
    for (const char* kind : {"*.png", "*.svg", "*.pdf", "*.bmp"})
        EXPECT_TRUE(dialogs.Offered.join(' ').contains(kind)) << kind;
    EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join('\n').toStdString();
    const QImage saved(dialogs.File);
    EXPECT_EQ(saved.size(), QSize(900, 600));
    EXPECT_NEAR(saved.dotsPerMeterX() * 0.0254, 150.0, 0.5);
}

// An example run of the engine: the graphs its plot file fills paint.
TEST(ExampleRun, CapacityGraphsPaint) {
    QTemporaryDir dir;
    const fs::path project = fs::path(dir.path().toStdString()) / "sand-water-table.kx8d";
    fs::copy_file(fs::path(KOLMAR_SOURCE_DIR) / "examples" / "sand-water-table.kx8d", project);
    const TRunFiles files = RunFilesFor(project);
    const TEngineRun run = RunEngine(files, KOLMAR_ENGINE_LIB);
    ASSERT_TRUE(run.Called) << run.Error;
    std::string error;
    auto data = TProgramData::CreateFromFile(project.string(), 1, &error);
    ASSERT_TRUE(data) << error;
    TResultGraphs graphs;
    ASSERT_TRUE(ReadPlotData(graphs, *data, files.Plot.string(), &error)) << error;
    int painted = 0;
    for (TGraphPlot* g :
         {&graphs.pltSkin, &graphs.pltTip, &graphs.pltTotal, &graphs.pltCombine, &graphs.FSpltSkin,
          &graphs.FSpltTip, &graphs.FSpltTotal, &graphs.pltCombineD}) {
        SCOPED_TRACE(g->Caption);
        ASSERT_TRUE(g->HasSomethingToDraw());
        const QImage image = Paint(*g, 500, 400);
        EXPECT_EQ(image.size(), QSize(500, 400));
        EXPECT_GT(InkOf(image).Marked, 3000);
        ++painted;
    }
    EXPECT_EQ(painted, 8);
}

// ---------------------------------------------------------------------------------------------
// The window

namespace {

class PlotWindow : public ::testing::Test {
protected:
    void SetUp() override {
        area.resize(900, 700);
        area.show();
        graph.Caption = "Test graph";
        graph.SetLineCount(25);
        graph.SetCount(11);
        for (int i = 0; i < 25; ++i)
            for (int j = 0; j < 11; ++j)
                graph.Data(i, j) = {j * 20.0, j * 5.0};
        graph.FormFactory = [this](TGraphPlot& G) -> std::unique_ptr<TGraphForm> {
            return std::make_unique<TPlotForm>(area, G, dialogs);
        };
    }
    void TearDown() override {
        graph.Hide();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    TPlotForm& Form() {
        graph.Show();
        auto* form = dynamic_cast<TPlotForm*>(graph.Form());
        EXPECT_NE(form, nullptr);
        QCoreApplication::processEvents();
        return *form;
    }
    TScriptedDialogs dialogs;
    QMdiArea area;
    TGraphPlot graph;
};

} // namespace

TEST_F(PlotWindow, OpensWithTwentyActiveCurves) {
    TPlotForm& form = Form();
    EXPECT_TRUE(form.isMaximized());
    EXPECT_EQ(form.Legend->Rows().size(), 20u);
    EXPECT_EQ(form.CurveItems.size(), 20u);
    EXPECT_EQ(form.PlotMenu->actions().size(), TPlotForm::FixedItemCount + 20);
    EXPECT_EQ(form.PlotMenu->actions().at(TPlotForm::FixedItemCount)->text(), "Curve #1");
    EXPECT_FALSE(graph.Lines(20).Active);
    EXPECT_EQ(graph.LegendFont, 11);
    EXPECT_TRUE(form.Legend->isVisible());
    // The legend starts in the graph area's lower right corner.
    const QRectF g = form.Painter.DrawWindow.GraphArea;
    EXPECT_NEAR(form.Legend->geometry().right() + 1, g.right(), 1.0);
    EXPECT_NEAR(form.Legend->geometry().bottom() + 1, g.bottom(), 1.0);
    EXPECT_EQ(form.Legend->height(), 20 * form.Legend->RowHeight() + 3);
}

TEST_F(PlotWindow, ZoomInAndOut) {
    TPlotForm& form = Form();
    const TFloatRect full = form.Painter.MaxLogicBounds;
    EXPECT_EQ(full, (TFloatRect{0, 0, 200, 50}));
    const QRectF g = form.Painter.DrawWindow.GraphArea;
    // A rectangle of a hundredth of the width is widened to a twentieth.
    const QPointF a = form.Painter.ToPixel(99.5, 10), b = form.Painter.ToPixel(101.5, 30);
    form.ZoomBetween(a, b);
    const TFloatRect zoomed = form.Painter.LogicBounds;
    EXPECT_NEAR(zoomed.Right - zoomed.Left, 10.0, 1e-6);
    EXPECT_NEAR((zoomed.Right + zoomed.Left) / 2, 100.5, 1e-6);
    EXPECT_NEAR(zoomed.Top, 10, 0.1);
    EXPECT_NEAR(zoomed.Bottom, 30, 0.1);
    // A rectangle without height changes nothing.
    form.ZoomBetween(a, QPointF(b.x(), a.y()));
    EXPECT_EQ(form.Painter.LogicBounds, zoomed);
    // Right click zooms out around the point.
    form.ZoomOutAt(form.Painter.ToPixel(100.5, 20));
    EXPECT_NEAR(form.Painter.LogicBounds.Left, 90.5, 1e-6);
    EXPECT_NEAR(form.Painter.LogicBounds.Right, 110.5, 1e-6);
    // The pointer read-out.
    form.ShowPointer(g.center());
    EXPECT_TRUE(form.windowTitle().startsWith("Test graph X: "))
        << form.windowTitle().toStdString();
    EXPECT_TRUE(form.windowTitle().contains(" Y: "));
    form.ShowPointer(QPointF(1, 1));
    EXPECT_EQ(form.windowTitle(), "Test graph");
}

TEST_F(PlotWindow, LegendAndMenuToggleCurves) {
    TPlotForm& form = Form();
    EXPECT_EQ(form.Legend->RowText(2), "Curve #3 *");
    form.Legend->RowDoubleClicked(2);
    EXPECT_FALSE(graph.Lines(2).Visible);
    EXPECT_EQ(form.Legend->RowText(2), "Curve #3");
    form.PlotMenuShow();
    EXPECT_FALSE(form.CurveItems[2]->isChecked());
    form.CurveItems[2]->trigger();
    EXPECT_TRUE(graph.Lines(2).Visible);

    // The fixed items follow the graph's settings.
    form.PlotMenuShow();
    EXPECT_TRUE(form.ShowLegendItem->isChecked());
    EXPECT_FALSE(form.ShowLayersItem->isVisible()); // no soil layer bands
    EXPECT_FALSE(form.ShowWallItem->isVisible());
    form.SetMarkers(5);
    form.PlotMenuShow();
    for (QAction* a : form.MarkerGroup->actions())
        EXPECT_EQ(a->isChecked(), a->data().toInt() == 5);
    graph.ShowFontWidth = false;
    form.PlotMenuShow();
    EXPECT_FALSE(form.FontSizeItem->isVisible());
    form.ShowLegendClick();
    EXPECT_FALSE(graph.ShowLegend);
    EXPECT_FALSE(form.Legend->isVisible());
}

// Twenty active curves in windows down to a small one: the legend stays inside the canvas and
// clear of the axis numbers and captions around the graph area.
TEST_F(PlotWindow, LegendOfTwentyCurvesFitsTheWindow) {
    TPlotForm& form = Form();
    for (const QSize size : {QSize(900, 650), QSize(560, 420), QSize(420, 320)}) {
        SCOPED_TRACE(size.width());
        form.resize(size);
        QCoreApplication::processEvents();
        const QRect legend = form.Legend->geometry();
        const QRectF g = form.Painter.DrawWindow.GraphArea;
        ASSERT_TRUE(form.Legend->isVisible());
        EXPECT_TRUE(form.Canvas->rect().contains(legend));
        EXPECT_GE(legend.top(), g.top());
        EXPECT_LE(legend.bottom(), g.bottom());
        EXPECT_GE(legend.left(), g.left());
    }
    // The smallest window takes the entries in columns; a double-click finds the row in its
    // column.
    const int columns = form.Legend->Columns();
    EXPECT_GE(columns, 2);
    ASSERT_EQ(form.Legend->Rows().size(), 20u);
    const int perColumn = (20 + columns - 1) / columns;
    const int last = (columns - 1) * perColumn;
    EXPECT_EQ(form.Legend->RowAt(QPoint(form.Legend->width() - 4, 2)), last);
    form.Legend->RowDoubleClicked(last);
    EXPECT_FALSE(graph.Lines(form.Legend->Rows()[static_cast<std::size_t>(last)].Curve).Visible);
}

TEST_F(PlotWindow, MenuJoinsTheBarWhileActive) {
    TPlotForm& form = Form();
    QMenuBar bar;
    QAction* window = bar.addMenu("&Window")->menuAction();
    TPlotForm::MergePlotMenu(bar, window, &form);
    ASSERT_EQ(bar.actions().size(), 2);
    EXPECT_EQ(bar.actions().first()->text(), "&Plot");
    TPlotForm::MergePlotMenu(bar, window, &form); // once only
    EXPECT_EQ(bar.actions().size(), 2);
    TPlotForm::MergePlotMenu(bar, window, nullptr);
    EXPECT_EQ(bar.actions().size(), 1);
}

TEST_F(PlotWindow, ClosingFreesTheWindow) {
    TPlotForm& form = Form();
    form.close();
    EXPECT_FALSE(graph.FormExists());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(area.subWindowList().isEmpty());
    // Reopening starts from the full range with every curve active again (up to 20).
    graph.Lines(0).Active = false;
    TPlotForm& again = Form();
    EXPECT_TRUE(graph.Lines(0).Active);
    EXPECT_EQ(again.Painter.LogicBounds, again.Painter.MaxLogicBounds);
}

namespace {
// Answers the dialogs' messages and keeps them.
class TRecordingDialogs : public TUserDialogs {
public:
    QStringList Messages;
    void Information(const QString& Text) override { Messages << Text; }
    void Warning(const QString& Text) override { Messages << Text; }
    TAnswer Confirm(const QString&) override { return TAnswer::Cancel; }
    QString OpenFileName(const QString&, const QStringList&, int&) override { return {}; }
    QString SaveFileName(const QString&, const QString&, const QString&, const QStringList&,
                         const QString&) override {
        return {};
    }
};
} // namespace

TEST(PlotDialogs, LegendNamesAndActiveCurves) {
    TRecordingDialogs messages;
    TPlotLegendDialog names({"  Skin Friction", "  Tip Resistance"}, messages);
    names.lstNames->setCurrentRow(1);
    names.edtName->setText("Base");
    EXPECT_TRUE(names.StoreEdit());
    EXPECT_EQ(names.Names(), (QStringList{"  Skin Friction", "Base"}));
    names.edtName->clear();
    EXPECT_FALSE(names.StoreEdit());
    EXPECT_EQ(messages.Messages, QStringList{"The line must have a name!"});
    EXPECT_EQ(names.edtName->text(), "Base");

    TPlotActiveDialog active({"a", "b", "c"}, {true, false, true});
    EXPECT_EQ(active.lstCurves->item(1)->text(), " no  :    b");
    active.ToggleRow(1);
    EXPECT_EQ(active.lstCurves->item(1)->text(), " yes :    b");
    active.lstCurves->item(0)->setSelected(true);
    active.lstCurves->item(2)->setSelected(true);
    active.ToggleSelected();
    EXPECT_EQ(active.Active(), (std::vector<bool>{false, true, false}));
    active.SetAll(true);
    EXPECT_EQ(active.Active(), (std::vector<bool>{true, true, true}));

    TSaveAttributesDialog attributes(messages);
    const TPictureSize size = attributes.Size();
    // 6 x 4 inches at 150 per inch, in true colour.
    EXPECT_EQ(size.Pixels(), QSize(900, 600));
    EXPECT_EQ(attributes.Colours(), TPictureColours::TrueColour24);
}
