// The 3D view: scene extent and fit on activation, the scene rebuilt after every option
// change, the tool-button operations, the "Combined Plots" dialog and saving the picture.
#include "gui/results/View3dUnit1.h"

#include "gui/data/DataUnit.h"
#include "gui/data/FileCommands.h"
#include "gui/data/PltData.h"
#include "gui/results/PileDiagrams.h"
#include "gui/results/glWindow.h"
#include "ui/widgets/PrintTarget.h"
#include "ui/widgets/UserDialogs.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDate>
#include <QFileInfo>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QSaveFile>
#include <QVBoxLayout>

#include <filesystem>

TDlgBlock::TDlgBlock(TProjectSource Project, TResultGraphs& Graphs, TUserDialogs& Dialogs,
                     QWidget* Parent)
    : QWidget(Parent), fProject(std::move(Project)), fGraphs(Graphs), fDialogs(Dialogs),
      fPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Landscape, QMarginsF(1, 1, 1, 1),
                  QPageLayout::Inch) {
    setWindowTitle("3-D View");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    fGl = new TglWindow(this);
    layout->addWidget(fGl);
    fGl->OnResized = [this] { Refit(); };
    fExtent = SceneExtent(fProject());
    fGl->View.Pan = fExtent.CentrePan;
    resize(640, 560);
    RedrawComplete();
}

TDlgBlock::~TDlgBlock() {
    // The dialog is the main window's child, but it works on Options: it goes first.
    if (fDiagrams)
        delete fDiagrams.data();
}

TDlgBlock* TDlgBlock::Find(QMdiArea& Area) {
    for (QMdiSubWindow* w : Area.subWindowList())
        if (auto* view = qobject_cast<TDlgBlock*>(w->widget()))
            return view;
    return nullptr;
}

void TDlgBlock::Refit() {
    fGl->View.Fit = FitScale(fExtent, fGl->width(), fGl->height());
    fGl->DepthRatio = fExtent.Horizontal > 0.0 ? fExtent.Size / fExtent.Horizontal : 1.0;
    fGl->update();
}

void TDlgBlock::FormActivate() {
    const TSceneExtent previous = fExtent;
    fExtent = SceneExtent(fProject());
    // A deeper or shallower profile moves the centre; the user's own pan stays relative to it.
    TVec3& pan = fGl->View.Pan;
    pan.X += fExtent.CentrePan.X - previous.CentrePan.X;
    pan.Y += fExtent.CentrePan.Y - previous.CentrePan.Y;
    pan.Z += fExtent.CentrePan.Z - previous.CentrePan.Z;
    Refit();
    RedrawComplete();
}

bool TDlgBlock::ResultsAvailable() const {
    const TProgramData& p = fProject();
    if (!fGraphs.ShowOutput || p.FileName == NewProjectFileName)
        return false;
    std::error_code error;
    return std::filesystem::is_regular_file(
        std::filesystem::path(p.FileName).replace_extension(".kx8p"), error);
}

const TGraphPlot& TDlgBlock::DiagramGraph() const {
    return Options.ShowUltimateResults == 1 ? fGraphs.pltCombineD : fGraphs.pltCombine;
}

void TDlgBlock::RedrawComplete() {
    fGl->ShowAxes = Options.ShowLocalAxes;
    fGl->SetScene(
        BuildScene(fProject(), fExtent, Options, ResultsAvailable() ? &DiagramGraph() : nullptr));
}

void TDlgBlock::SetMouseOption(int Option, bool ZoomWindowDown) {
    fGl->MouseOption = Option;
    fGl->ZoomWindowBoxEnabled = Option == moZoomWindow && ZoomWindowDown;
    fGl->update();
}

void TDlgBlock::ZoomInClick() {
    ZoomIn(fGl->View);
    fGl->update();
}

void TDlgBlock::ZoomOutClick() {
    ZoomOut(fGl->View);
    fGl->update();
}

void TDlgBlock::RestartViewClick() {
    RestartView(fGl->View, fExtent.CentrePan);
    fGl->update();
}

TDlgPileDiagrams* TDlgBlock::ShowDiagramsDialog(QWidget* Owner) {
    if (!fDiagrams) {
        fDiagrams = new TDlgPileDiagrams(Options, Owner);
        connect(fDiagrams, &TDlgPileDiagrams::OptionsChanged, this, &TDlgBlock::RedrawComplete);
    }
    fDiagrams->show();
    fDiagrams->raise();
    return fDiagrams;
}

TDlgPileDiagrams* TDlgBlock::DiagramsDialog() const {
    return fDiagrams;
}

QImage TDlgBlock::RenderImage() {
    return fGl->RenderImage();
}

bool TDlgBlock::SavePicture(const QString& FileName) {
    const QImage image = RenderImage();
    if (image.isNull())
        return false;
    const QString kind = QFileInfo(FileName).suffix().toLower();
    if (kind == "pdf")
        return WriteImagePdf(image, FileName, kPicturePpi, windowTitle());
    if (kind != "bmp" && kind != "png")
        return false;
    QSaveFile file(FileName);
    return file.open(QIODevice::WriteOnly) && image.save(&file, kind == "bmp" ? "BMP" : "PNG") &&
           file.commit();
}

void TDlgBlock::SavePictureClick() {
    const TProgramData& p = fProject();
    const QFileInfo project(QString::fromStdString(p.FileName));
    const QString name = fDialogs.SaveFileName(
        "Save 3-D View As", project.absolutePath(), project.completeBaseName() + "-3d.png",
        {"PNG picture(*.png)", "PDF document(*.pdf)", "Bitmap(*.bmp)"}, "png");
    if (name.isEmpty())
        return;
    if (!SavePicture(name))
        fDialogs.Warning("The picture of the 3-D view could not be written to " + name + ".");
}

QString TDlgBlock::PageHeading() const {
    const QString title = QString::fromStdString(fProject().Title).trimmed();
    const QString date = QLocale::c().toString(QDate::currentDate(), "d MMMM yyyy");
    return (title.isEmpty() ? QString("3-D View") : title) + "    " + date;
}

bool TDlgBlock::PrintTo(QPrinter& Printer) {
    const QImage image = RenderImage();
    QPainter painter;
    if (image.isNull() || !painter.begin(&Printer))
        return false;
    painter.setFont(font());
    // The painter starts at the printable area inside the margins.
    DrawImageOnPage(painter, QRect(0, 0, Printer.width(), Printer.height()), image, PageHeading());
    return painter.end();
}

void TDlgBlock::PrintClick() {
    QPrinter printer(QPrinter::HighResolution);
    const QFileInfo project(QString::fromStdString(fProject().FileName));
    const QString pdf = PdfFileFor(project.absolutePath(), project.completeBaseName() + "-3d");
    if (ChoosePrinter(printer, "3-D View", pdf, fPageLayout, this) && !PrintTo(printer))
        fDialogs.Warning("The 3-D view could not be printed.");
}

void TDlgBlock::PageSetupClick() {
    ChoosePageLayout(fPageLayout, this);
}

void TDlgBlock::closeEvent(QCloseEvent* Event) {
    if (fDiagrams)
        fDiagrams->close();
    QWidget::closeEvent(Event);
}

void TDlgBlock::contextMenuEvent(QContextMenuEvent* Event) {
    QMenu menu(this);
    menu.addAction("Print...", this, &TDlgBlock::PrintClick);
    menu.addAction("Page Setup...", this, &TDlgBlock::PageSetupClick);
    menu.addAction("Save Picture...", this, &TDlgBlock::SavePictureClick);
    menu.addAction("Restart View", this, &TDlgBlock::RestartViewClick);
    menu.exec(Event->globalPos());
}
