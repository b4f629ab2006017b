// Renders the layer editor, a layer dialog and the shaft properties window of an example
// project into PNG files, offscreen: dialog_screenshots OUTPUT_DIR
// The pictures in docs/ come from here: dialog_screenshots docs
#include "ScriptedDialogs.h"
#include "gui/data/DataUnit.h"
#include "gui/dialogs/ShaftProperties.h"
#include "gui/dialogs/SoilLayers.h"
#include "gui/dialogs/soils.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>

#include <cstdio>

namespace {

bool Save(QWidget& Window, const QDir& Dir, const char* Name) {
    Window.show();
    QApplication::processEvents();
    const QString path = Dir.filePath(QString::fromLatin1(Name));
    if (!Window.grab().save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: dialog_screenshots OUTPUT_DIR\n");
        return 64;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    std::string error;
    auto project =
        TProgramData::CreateFromFile(KOLMAR_SOURCE_DIR "/examples/sand-over-clay.kx8d", 1, &error);
    if (project == nullptr || !error.empty()) {
        std::fprintf(stderr, "cannot read the example: %s\n", error.c_str());
        return 65;
    }
    // A third layer of weak rock below the clay shows more of the editor.
    project->D.Add();
    project->D[2].SetSoilType(kolmar::kWeakRock);
    project->D[2].Depth = 110;
    TScriptedDialogs dialogs;

    TDlgSoilLayers layers(*project, dialogs);
    layers.LoadFromProject();
    layers.resize(1140, 380);
    TDlgSoils sand(*project, dialogs, 0);
    TfrmShaftpeneta shaft(*project, dialogs);
    shaft.LoadFromProject();
    shaft.resize(1040, 330);
    const bool ok = Save(layers, dir, "soil-layers.png") && Save(sand, dir, "layer-dialog.png") &&
                    Save(shaft, dir, "shaft-properties.png");
    return ok ? 0 : 73;
}
