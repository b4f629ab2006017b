// Renders the pictures of docs/: the elevation view (its picture and its window) and the 3D view
// of the belled example with its results, as the view opens. Run under an X server with OpenGL:
// xvfb-run -a -s "-screen 0 1600x1200x24" views_pictures OUTPUT_DIR
#include "gui/data/DataUnit.h"
#include "gui/results/PileSide.h"
#include "gui/results/View3dUnit1.h"
#include "gui/results/glWindow.h"
#include "gui/shell/Main.h"
#include "ui/widgets/UserDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

// Nothing is asked while the pictures are made.
class TSilentDialogs : public TUserDialogs {
public:
    void Information(const QString& Text) override {
        std::fprintf(stderr, "%s\n", qPrintable(Text));
    }
    void Warning(const QString& Text) override { std::fprintf(stderr, "%s\n", qPrintable(Text)); }
    TAnswer Confirm(const QString&) override { return TAnswer::No; }
    QString OpenFileName(const QString&, const QStringList&, int&) override { return {}; }
    QString SaveFileName(const QString&, const QString&, const QString&, const QStringList&,
                         const QString&) override {
        return {};
    }
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: views_pictures OUTPUT_DIR\n");
        return 64;
    }
    // Absolute: opening the project makes its directory the current one.
    const QDir out(QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath());
    QTemporaryDir work;
    const QString project = work.filePath("clay-bell.kx8d");
    if (!QFile::copy(KOLMAR_SOURCE_DIR "/examples/clay-bell.kx8d", project) ||
        !QFile::copy(KOLMAR_TEST_DATA "/data/clay-bell.kx8p", work.filePath("clay-bell.kx8p"))) {
        std::fprintf(stderr, "views_pictures: the example cannot be copied\n");
        return 66;
    }

    TSilentDialogs dialogs;
    TMainForm form(dialogs);
    form.resize(1200, 900);
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return 69;
    form.OpenFileName(project, 1);

    form.CompElevation->trigger();
    TDlgSideView* side = TDlgSideView::Find(form.MdiArea());
    const bool sideOk =
        side && side->RenderImage(QSize(640, 560)).save(out.filePath("elevation-view.png"));

    const bool windowOk =
        side && side->parentWidget()->grab().save(out.filePath("elevation-window.png"));
    form.Comp3D->trigger();
    TDlgBlock* view = TDlgBlock::Find(form.MdiArea());
    if (!view)
        return 70;
    view->parentWidget()->resize(820, 640);
    QTest::qWait(100);
    view->Options.ShowUltimateEffects = true;
    view->Options.UltimateEffectsFactor = 4;
    view->Options.ShowSoilLayerLabels = true;
    view->Options.ShowSoilLayerDepthLabels = true;
    view->RedrawComplete();
    view->Gl().View.Zoom = 0.75L; // the opening angle, a little back to show the whole profile
    const bool blockOk = view->SavePicture(out.filePath("3d-view.png"));
    if (!sideOk || !windowOk || !blockOk) {
        std::fprintf(stderr, "views_pictures: a picture could not be written to %s\n", argv[1]);
        return 73;
    }
    form.HideAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}
