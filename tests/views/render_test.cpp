// The elevation view and the 3D view in the main window, drawn under an X server with
// OpenGL: the pictures are not blank and show the shaft, layers and diagrams; the length rule
// of the elevation, its read-out and landscape printing; the "Show 3D View" menu and the seven
// tool buttons with their rules; the "Combined Plots" dialog; mouse modes; saving pictures.
#include "../gui/TestSupport.h"
#include "../plot/RenderedPdf.h"

#include "gui/data/DataUnit.h"
#include "gui/results/PileDiagrams.h"
#include "gui/results/PileSide.h"
#include "gui/results/View3dMenu.h"
#include "gui/results/View3dUnit1.h"
#include "gui/results/glWindow.h"
#include "gui/shell/Main.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>

#include <dlfcn.h>
#include <link.h>
#include <set>
#include <string>

namespace {

// Pixels of the picture that are not the white background.
int Painted(const QImage& Image) {
    int n = 0;
    for (int y = 0; y < Image.height(); ++y)
        for (int x = 0; x < Image.width(); ++x)
            if ((Image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
                ++n;
    return n;
}

bool HasColour(const QImage& Image, QRgb Colour) {
    for (int y = 0; y < Image.height(); ++y)
        for (int x = 0; x < Image.width(); ++x)
            if ((Image.pixel(x, y) & 0xFFFFFF) == (Colour & 0xFFFFFF))
                return true;
    return false;
}

int CountColour(const QImage& Image, QRgb Colour) {
    int n = 0;
    for (int y = 0; y < Image.height(); ++y)
        for (int x = 0; x < Image.width(); ++x)
            n += (Image.pixel(x, y) & 0xFFFFFF) == (Colour & 0xFFFFFF) ? 1 : 0;
    return n;
}

// The most pixels of Colour in any one row of the picture.
int WidestRowOf(const QImage& Image, QRgb Colour) {
    int widest = 0;
    for (int y = 0; y < Image.height(); ++y) {
        int n = 0;
        for (int x = 0; x < Image.width(); ++x)
            n += (Image.pixel(x, y) & 0xFFFFFF) == (Colour & 0xFFFFFF) ? 1 : 0;
        widest = std::max(widest, n);
    }
    return widest;
}

int Differing(const QImage& A, const QImage& B) {
    if (A.size() != B.size())
        return A.width() * A.height();
    int n = 0;
    for (int y = 0; y < A.height(); ++y)
        for (int x = 0; x < A.width(); ++x)
            if (A.pixel(x, y) != B.pixel(x, y))
                ++n;
    return n;
}

void Drag(QWidget* W, QPoint From, QPoint To, Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
    QMouseEvent press(QEvent::MouseButtonPress, From, W->mapToGlobal(From), Qt::LeftButton,
                      Qt::LeftButton, Modifiers);
    QApplication::sendEvent(W, &press);
    QMouseEvent move(QEvent::MouseMove, To, W->mapToGlobal(To), Qt::NoButton, Qt::LeftButton,
                     Modifiers);
    QApplication::sendEvent(W, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, To, W->mapToGlobal(To), Qt::LeftButton,
                        Qt::NoButton, Modifiers);
    QApplication::sendEvent(W, &release);
}

} // namespace

class TViewsRenderTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<TTestDialogs> dialogs;
    std::unique_ptr<TMainForm> form;

    // The belled example in a project directory of its own, with its plot file when Plot.
    QString Example(bool Plot) {
        const QString project = dir->filePath("clay-bell.kx8d");
        QFile::copy(KOLMAR_SOURCE_DIR "/examples/clay-bell.kx8d", project);
        if (Plot)
            QFile::copy(KOLMAR_TEST_DATA "/data/clay-bell.kx8p", dir->filePath("clay-bell.kx8p"));
        return project;
    }

    void OpenExample(bool Plot) {
        form->OpenFileName(Example(Plot), 1);
        QVERIFY(dialogs->Messages.isEmpty());
        QCOMPARE(form->Graphs().ShowOutput, Plot);
    }

    TDlgBlock* Open3D() {
        form->Comp3D->trigger();
        TDlgBlock* view = TDlgBlock::Find(form->MdiArea());
        if (view) {
            QTest::qWait(50);
            QCoreApplication::processEvents();
        }
        return view;
    }

private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        dialogs = std::make_unique<TTestDialogs>();
        form = std::make_unique<TMainForm>(*dialogs);
        form->resize(1200, 900);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }

    void cleanup() {
        // Child windows close first, as when the user closes the program.
        form->HideAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        form.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QDir::setCurrent(QDir::tempPath());
        dir.reset();
    }

    void elevationOfTheExample() {
        OpenExample(false);
        QVERIFY(form->CompElevation->isEnabled());
        form->CompElevation->trigger();
        TDlgSideView* side = TDlgSideView::Find(form->MdiArea());
        QVERIFY(side);
        form->CompElevation->trigger(); // one view at a time
        QCOMPARE(form->MdiArea().subWindowList().size(), 1);
        QCOMPARE(side->parentWidget()->windowTitle(), "Elevation View");

        // A design-load project keeps its mode: drawn to the last bottom, not given a length.
        QCOMPARE(form->Project().PD, 0.0);
        QVERIFY(!form->GetDataChanged());
        QCOMPARE(side->Data().back().Corners[2].Y, 2 * 3.0 + 70.0);

        const QImage picture = side->RenderImage(QSize(640, 560));
        QVERIFY(Painted(picture) > 640 * 560 / 20);
        QVERIFY(HasColour(picture, qRgb(255, 0, 0)));     // the ignored top portion
        QVERIFY(HasColour(picture, qRgb(128, 128, 128))); // middle part and bell
        QVERIFY(HasColour(picture, qRgb(128, 128, 0)));   // the clay's hatch
        side->OmitHatches->setChecked(true);
        QVERIFY(!HasColour(side->RenderImage(QSize(640, 560)), qRgb(128, 128, 0)));

        // The buttons keep to their strip below the picture.
        for (QWidget* w : std::initializer_list<QWidget*>{side->PrintButton, side->CloseButton,
                                                          side->OmitHatches})
            QVERIFY(!side->PictureArea().intersects(w->geometry()));

        // The read-out on the ground line.
        QVERIFY(!side->NoDraw());
        const int row = PixelY(side->Window(), 2 * 3.0, side->PictureArea().height());
        QMouseEvent move(QEvent::MouseMove, QPointF(30, row), side->mapToGlobal(QPointF(30, row)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(side, &move);
        QCOMPARE(side->parentWidget()->windowTitle(), "Elevation View  Depth: 0.0");

        // Printing: a landscape page titled after the profile, with its hatches.
        side->OmitHatches->setChecked(false);
        QPrinter printer(QPrinter::ScreenResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir->filePath("profile.pdf"));
        side->PrintTo(printer);
        QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Landscape);
        QCOMPARE(printer.docName(), "Soil-Pile Profile");
        QVERIFY(QFileInfo(dir->filePath("profile.pdf")).size() > 1000);

        // The page as a reader sees it, rendered without smoothing so that colours stay exact:
        // the clay's hatch is lines (a solid fill would ink most of the band), and the water
        // table a dashed blue line across the profile.
        std::string why;
        const QImage page = RenderedPdfPage(dir->filePath("profile.pdf"), 150, &why, true);
        QVERIFY2(!page.isNull(), why.c_str());
        const QSizeF inches = printer.pageLayout().fullRect(QPageLayout::Inch).size();
        QVERIFY(std::abs(page.width() - inches.width() * 150) < 2);
        QVERIFY(std::abs(page.height() - inches.height() * 150) < 2);
        // The bands cover about half the page; their lines about a sixth of the bands.
        const int hatch = CountColour(page, qRgb(128, 128, 0));
        const int area = page.width() * page.height();
        QVERIFY2(hatch > area / 50 && hatch < area / 5, qPrintable(QString::number(hatch)));
        QVERIFY2(WidestRowOf(page, qRgb(0, 0, 200)) > page.width() / 3,
                 qPrintable(QString::number(WidestRowOf(page, qRgb(0, 0, 200)))));
        // Its words: title, scale, water table and the shaft's dimensions, the length being the
        // profile's depth drawn for this design-load project.
        const QString text = PdfText(dir->filePath("profile.pdf"), &why);
        for (const char* words : {"design load 300 tons", "Depth (ft)", "Water table 5 ft",
                                  "D = 3 ft", "L = 70 ft", "Bell 7.5 ft"})
            QVERIFY2(text.contains(words), words);

        side->CloseButton->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!TDlgSideView::Find(form->MdiArea()));
    }

    void elevationGivesALengthlessShaftTheProfileDepth() {
        TProgramData& p = form->Project();
        p.DSTART = 2.0;
        p.D[0].Depth = 30.0;
        p.PD = 0.0;
        p.METHOD = 2;
        form->CompElevation->trigger();
        QCOMPARE(p.PD, 30.0);
        QVERIFY(form->GetDataChanged());
    }

    void view3DOfTheExample() {
        OpenExample(true);
        TView3DCommands& commands = form->View3D();
        QVERIFY(!commands.Menu->menuAction()->isVisible());
        for (QAction* a : commands.Buttons())
            QVERIFY(!a->isVisible());

        TDlgBlock* view = Open3D();
        QVERIFY(view);
        QVERIFY2(view->Gl().Failure().isEmpty(), qPrintable(view->Gl().Failure()));
        QCOMPARE(view->parentWidget()->windowTitle(), "3-D View");
        QVERIFY(commands.Menu->menuAction()->isVisible());
        for (QAction* a : commands.Buttons())
            QVERIFY(a->isVisible());
        Open3D();
        QCOMPARE(form->MdiArea().subWindowList().size(), 1);

        const QImage plain = view->RenderImage();
        QVERIFY(!plain.isNull());
        QVERIFY(Painted(plain) > plain.width() * plain.height() / 10);
        // Several colours: layers blended on white, the shaft, the water, the axes.
        std::set<QRgb> colours;
        for (int y = 0; y < plain.height(); y += 3)
            for (int x = 0; x < plain.width(); x += 3)
                colours.insert(plain.pixel(x, y));
        QVERIFY(colours.size() > 20);

        // The result diagrams change the picture.
        view->Options.ShowUltimateEffects = true;
        view->Options.ShowUltimateResults = 1;
        view->RedrawComplete();
        const QImage diagrams = view->RenderImage();
        QVERIFY(Differing(plain, diagrams) > 100);

        // Tool buttons: zoom in then out leaves the product of the two factors.
        commands.ZoomInButton->trigger();
        commands.ZoomOutButton->trigger();
        QVERIFY(view->Gl().View.Zoom == static_cast<long double>(1.4142) * 0.7071135624381275633);
        QVERIFY(view->Gl().View.Zoom != 1.0L);
        commands.RestartButton->trigger();
        QVERIFY(view->Gl().View.Zoom == 1.0L);
        QCOMPARE(view->Gl().View.Pan.X, view->Extent().CentrePan.X);

        // Pictures: the PDF page is the picture itself, as large as the picture at 96 per inch.
        QVERIFY(view->SavePicture(dir->filePath("view.bmp")));
        const QImage bmp(dir->filePath("view.bmp"));
        QVERIFY(!bmp.isNull());
        QVERIFY(view->SavePicture(dir->filePath("view.pdf")));
        std::string why;
        const QImage page =
            RenderedPdfPage(dir->filePath("view.pdf"), TDlgBlock::kPicturePpi, &why);
        QVERIFY2(!page.isNull(), why.c_str());
        QCOMPARE(page.size(), bmp.size());
        const TInkDifference same =
            InkDifference(bmp.convertToFormat(QImage::Format_RGB32), page, 16);
        QVERIFY2(same.Largest < 0.1, qPrintable(QString::number(same.Largest)));
        QVERIFY(!view->SavePicture(dir->filePath("view.gif")));

        // Printing, here to a PDF file: the picture fills the page's width under the heading.
        QPrinter printer(QPrinter::ScreenResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir->filePath("printed.pdf"));
        printer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Landscape,
                                          QMarginsF(1, 1, 1, 1), QPageLayout::Inch));
        QVERIFY(view->PrintTo(printer));
        const QImage printed = RenderedPdfPage(dir->filePath("printed.pdf"), 72, &why);
        QVERIFY2(!printed.isNull(), why.c_str());
        QCOMPARE(printed.size(), QSize(792, 612)); // US letter, landscape
        QVERIFY(Painted(printed) > 792 * 612 / 10);
        // Nothing in the one-inch margins.
        QCOMPARE(Painted(printed.copy(0, 0, 72, 612)), 0);
        QCOMPARE(Painted(printed.copy(0, 0, 792, 72)), 0);
        dialogs->SaveResults = {dir->filePath("asked.png")};
        view->SavePictureClick();
        QCOMPARE(dialogs->SaveTitles.last(), "Save 3-D View As");
        QVERIFY(!QImage(dir->filePath("asked.png")).isNull());
        dialogs->SaveResults = {dir->filePath("missing/dir/view.png")};
        view->SavePictureClick();
        QCOMPARE(dialogs->Messages.size(), 1);

        // Closing hides the menu and the buttons again.
        view->parentWidget()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!TDlgBlock::Find(form->MdiArea()));
        QVERIFY(!commands.Menu->menuAction()->isVisible());
        for (QAction* a : commands.Buttons())
            QVERIFY(!a->isVisible());
    }

    void showMenuRules() {
        OpenExample(false);
        TView3DCommands& commands = form->View3D();
        TDlgBlock* view = Open3D();
        QVERIFY(view);
        commands.MenuShow();
        QVERIFY(commands.ShowShaft->isChecked());
        QVERIFY(commands.ShowSoilLayers->isChecked());
        QVERIFY(!commands.ShowLayerLabels->isChecked());
        QVERIFY(commands.ShowLayerLabels->isEnabled());
        QVERIFY2(!commands.CombinedPlots->isEnabled(), "no results");
        QVERIFY(!commands.ShowSkinFriction->isVisible());

        commands.ShowSoilLayers->trigger();
        QVERIFY(!view->Options.ShowSoilLayers);
        commands.MenuShow();
        QVERIFY(!commands.ShowLayerLabels->isEnabled());
        QVERIFY(!commands.ShowLayerDepths->isEnabled());
        commands.ShowAxes->trigger();
        QVERIFY(!view->Options.ShowLocalAxes);
        QVERIFY(!view->Gl().ShowAxes);

        // A project with results: the overlays are offered while the shaft is shown.
        OpenExample(true);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY2(!TDlgBlock::Find(form->MdiArea()), "a new project closes the view");
        view = Open3D();
        QVERIFY(view);
        QVERIFY2(view->Options.ShowSoilLayers, "a new view starts with its defaults");
        commands.MenuShow();
        QVERIFY(commands.CombinedPlots->isEnabled());
        commands.ShowShaft->trigger();
        commands.MenuShow();
        QVERIFY(!commands.CombinedPlots->isEnabled());
        commands.ShowShaft->trigger();
        // The plot file gone: no overlays.
        QFile::remove(dir->filePath("clay-bell.kx8p"));
        commands.MenuShow();
        QVERIFY(!commands.CombinedPlots->isEnabled());
    }

    void combinedPlotsDialog() {
        OpenExample(true);
        TView3DCommands& commands = form->View3D();
        TDlgBlock* view = Open3D();
        QVERIFY(view);
        commands.MenuShow();
        commands.CombinedPlots->trigger();
        TDlgPileDiagrams* dialog = view->DiagramsDialog();
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), "Combined Plots");
        QVERIFY(!dialog->OptionsBox->isEnabled());
        dialog->ShowPlots->setChecked(true);
        QVERIFY(view->Options.ShowUltimateEffects);
        QVERIFY(dialog->OptionsBox->isEnabled());
        QVERIFY(dialog->SelectPlots->isEnabled());
        dialog->DesignEffects->setChecked(true);
        QCOMPARE(view->Options.ShowUltimateResults, 1);
        QCOMPARE(&view->DiagramGraph(), &form->Graphs().pltCombineD);
        dialog->TipResistance->setChecked(false);
        QVERIFY(!view->Options.ShowTipResistance);

        dialog->SizeFactor->stepDown();
        QCOMPARE(view->Options.UltimateEffectsFactor, 0.9);
        dialog->SizeFactor->stepDown();
        QCOMPARE(view->Options.UltimateEffectsFactor, 0.8);
        dialog->SizeFactor->setValue(9);
        dialog->SizeFactor->stepUp();
        QCOMPARE(view->Options.UltimateEffectsFactor, 10.0);
        dialog->SizeFactor->stepUp();
        QCOMPARE(view->Options.UltimateEffectsFactor, 20.0);
        QCOMPARE(dialog->SizeFactor->text(), "20");
        dialog->SizeFactor->setValue(0);
        QCOMPARE(view->Options.UltimateEffectsFactor, 1.0);

        dialog->CloseButton->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!view->DiagramsDialog());
    }

    // The dialog works on the view's options: it may not outlive the view.
    void combinedPlotsGoWithTheView() {
        OpenExample(true);
        TDlgBlock* view = Open3D();
        QVERIFY(view);
        form->View3D().MenuShow();
        form->View3D().CombinedPlots->trigger();
        QPointer<TDlgPileDiagrams> dialog = view->DiagramsDialog();
        QVERIFY(dialog);
        delete view->parentWidget();
        QVERIFY(!dialog);
    }

    void mouseModes() {
        OpenExample(false);
        TView3DCommands& commands = form->View3D();
        TDlgBlock* view = Open3D();
        QVERIFY(view);
        TglWindow* gl = &view->Gl();
        const QPoint centre(gl->width() / 2, gl->height() / 2);

        commands.Panning->trigger();
        QCOMPARE(gl->MouseOption, int(moPanning));
        const TVec3 pan = gl->View.Pan;
        Drag(gl, centre, centre + QPoint(40, 0));
        QVERIFY(gl->View.Pan.Y != pan.Y);

        commands.Zooming->trigger();
        const int rows = gl->height() / 4;
        Drag(gl, centre, centre + QPoint(0, rows));
        QCOMPARE(static_cast<double>(gl->View.Zoom), 1.0 + double(rows) / gl->height());

        commands.Rotating->trigger();
        const double angleX = gl->View.AngleX;
        Drag(gl, centre, centre + QPoint(gl->width() / 9, 0));
        QVERIFY(gl->View.AngleX > angleX + 5.0);

        commands.ZoomWindow->trigger();
        QVERIFY(gl->ZoomWindowBoxEnabled);
        const TViewState before = gl->View;
        Drag(gl, centre, centre + QPoint(0, 60)); // no width: nothing happens
        QVERIFY(gl->View.Zoom == before.Zoom);
        QCOMPARE(gl->View.Pan.X, before.Pan.X);
        Drag(gl, centre - QPoint(50, 40), centre + QPoint(50, 40));
        QVERIFY(gl->View.Zoom > before.Zoom * 2);
    }
};

// The OpenGL driver unloads its libraries when the program ends, before the leak checker
// runs, and what it keeps until then would be reported without a name. Marking the loaded
// driver libraries as never unloaded lets the suppression file name them.
void KeepOpenGLDriverLoaded() {
    dl_iterate_phdr(
        [](dl_phdr_info* Info, std::size_t, void*) {
            const std::string name = Info->dlpi_name ? Info->dlpi_name : "";
            for (const char* driver : {"/dri/", "mesa", "gallium", "LLVM", "libGLX", "glapi"})
                if (name.find(driver) != std::string::npos) {
                    dlopen(name.c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
                    break;
                }
            return 0;
        },
        nullptr);
}

int main(int argc, char** argv) {
    QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", configHome.path().toUtf8());
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configHome.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, configHome.path());
    TViewsRenderTest test;
    const int result = QTest::qExec(&test, argc, argv);
    KeepOpenGLDriverLoaded();
    return result;
}

#include "render_test.moc"
