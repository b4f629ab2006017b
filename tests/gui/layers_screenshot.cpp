// Pictures the main window with an example project open and its soil layer editor in front:
//   mainwindow_layers_screenshot OUTPUT.png
// docs/main-window-layers.png comes from here (run under xvfb-run, or offscreen).
#include "gui/dialogs/DataWindowHost.h"
#include "gui/shell/Main.h"
#include "ui/widgets/UserDialogs.h"

#include <QApplication>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPixmap>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char** argv) {
    // Settings of a scratch user: the picture neither shows nor changes the real ones.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QApplication app(argc, argv);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
    if (argc != 2) {
        std::fprintf(stderr, "usage: mainwindow_layers_screenshot OUTPUT.png\n");
        return 64;
    }
    // Absolute: opening the project makes its directory the current one.
    const QString output = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();

    TQtDialogs dialogs;
    TMainForm form(dialogs);
    dialogs.SetParent(&form);
    form.resize(1280, 620);
    form.show();
    form.OpenFileName(KOLMAR_SOURCE_DIR "/examples/sand-over-clay.kx8d", 1);
    form.DataLayers->trigger();
    QMdiSubWindow* frame = form.DataWindows().SubWindow(dwLayers);
    if (frame == nullptr) {
        std::fprintf(stderr, "the layer editor did not open\n");
        return 1;
    }
    QApplication::processEvents();
    frame->setGeometry(QRect(QPoint(0, 0), form.MdiArea().viewport()->size()));
    QApplication::processEvents();

    // The window's caption above its contents, as a title bar would show it.
    const QPixmap body = form.grab();
    const int bar = 28;
    QPixmap shot(body.width(), body.height() + bar);
    shot.fill(QColor(64, 68, 78));
    QPainter painter(&shot);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, body.width(), bar), Qt::AlignCenter, form.windowTitle());
    painter.drawPixmap(0, bar, body);
    painter.end();
    if (!shot.save(output, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(output));
        return 73;
    }
    std::printf("%s\n", qPrintable(output));
    return 0;
}
