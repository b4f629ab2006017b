// The export dialog and the main window's commands that reach it and the manuals: offered
// graphs, selecting, generating a workbook, the offer to open it, and the Help menu.
#include "TestSupport.h"
#include "WorkbookReader.h"
#include "gui/data/DataUnit.h"
#include "gui/data/ExcelExport.h"
#include "gui/results/ExportDlg.h"
#include "gui/shell/Main.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include <filesystem>

namespace fs = std::filesystem;

// Receives the URLs the program asks the desktop to open.
class TUrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> Urls;
public slots:
    void Open(const QUrl& Url) { Urls << Url; }
};

class TExportDlgTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void OffersEveryEnabledGraphChecked();
    void WithoutResultsNothingIsOffered();
    void SelectionDrivesTheGenerateButton();
    void GenerateWritesTheCheckedGraphsAndOffersToOpen();
    void CancelledSaveWritesNothing();
    void MainWindowOpensTheDialogAndTheManuals();

private:
    QString Project() const { return fDir->filePath("charts.kx8d"); }
    std::unique_ptr<QTemporaryDir> fDir;
    std::unique_ptr<TProgramData> fProject;
    std::unique_ptr<TResultGraphs> fGraphs;
    TTestDialogs fDialogs;
};

void TExportDlgTest::init() {
    fDir = std::make_unique<QTemporaryDir>();
    fDialogs = TTestDialogs();
    fProject = TProgramData::Create();
    TProgramData& p = *fProject;
    p.PD = 40.0;
    p.DSTART = 3.0;
    p.DIAMINCR = 0.5;
    p.NLRFD = 2;
    p.IChart = 1;
    p.NPOINTPD = 2;
    p.PDSETT[0] = 0.5;
    p.PDSETT[1] = 1.0;
    p.PrintTZCurves = 1;
    p.D.SetRowCount(2);
    p.D[0].SetSoilType(kolmar::kSand);
    p.D[0].Depth = 20.0;
    p.D[1].SetSoilType(kolmar::kClay);
    p.D[1].Depth = 60.0;
    p.FileName = Project().toStdString();
    p.Save();
    const QString plot = fDir->filePath("charts.kx8p");
    QVERIFY(QFile::copy(KOLMAR_TEST_DATA "/data/design-charts.kx8p", plot));
    fGraphs = std::make_unique<TResultGraphs>();
    std::string error;
    QVERIFY2(ReadPlotData(*fGraphs, p, plot.toStdString(), &error), error.c_str());
    fGraphs->ShowOutput = true;
}

void TExportDlgTest::OffersEveryEnabledGraphChecked() {
    TDlgExport dlg(*fGraphs, fDialogs);
    QCOMPARE(dlg.windowTitle(), QString("Export to Excel"));
    QVERIFY(dlg.chkMarkers->isChecked());
    dlg.FormShow(OfferGraphs(*fGraphs, *fProject, true), Project());
    QCOMPARE(dlg.nplotst(), 18);
    QCOMPARE(dlg.lstPlots->count(), 18);
    QCOMPARE(dlg.indices().front(), 1);
    QCOMPARE(dlg.indices().back(), 18); // the second design chart
    QCOMPARE(dlg.lstPlots->item(0)->text(), QString("Ultimate Skin Friction vs Depth"));
    QCOMPARE(dlg.lstPlots->item(6)->text(), QString("Combined Plots vs Depth (ultimate)"));
    QCOMPARE(dlg.lstPlots->item(17)->text(), QString("Design Chart (1-in movement)"));
    for (int i = 0; i < dlg.lstPlots->count(); ++i)
        QCOMPARE(dlg.lstPlots->item(i)->checkState(), Qt::Checked);
    QVERIFY(dlg.btnGenerate->isEnabled());

    // Without bound series the bound graphs are not offered.
    fProject->ID2 = 0;
    dlg.FormShow(OfferGraphs(*fGraphs, *fProject, true), Project());
    QCOMPARE(dlg.nplotst(), 15);
}

void TExportDlgTest::WithoutResultsNothingIsOffered() {
    TDlgExport dlg(*fGraphs, fDialogs);
    dlg.FormShow(OfferGraphs(*fGraphs, *fProject, false), Project());
    QCOMPARE(dlg.lstPlots->count(), 0);
    QVERIFY(!dlg.btnGenerate->isEnabled());
}

void TExportDlgTest::SelectionDrivesTheGenerateButton() {
    TDlgExport dlg(*fGraphs, fDialogs);
    dlg.FormShow(OfferGraphs(*fGraphs, *fProject, true), Project());
    QTest::mouseClick(dlg.btnUnselectAll, Qt::LeftButton);
    for (int i = 0; i < dlg.lstPlots->count(); ++i)
        QCOMPARE(dlg.lstPlots->item(i)->checkState(), Qt::Unchecked);
    QVERIFY(!dlg.btnGenerate->isEnabled());
    dlg.lstPlots->item(3)->setCheckState(Qt::Checked);
    QVERIFY(dlg.btnGenerate->isEnabled());
    dlg.lstPlots->item(3)->setCheckState(Qt::Unchecked);
    QVERIFY(!dlg.btnGenerate->isEnabled());
    QTest::mouseClick(dlg.btnSelectAll, Qt::LeftButton);
    QCOMPARE(dlg.lstPlots->item(17)->checkState(), Qt::Checked);
    QVERIFY(dlg.btnGenerate->isEnabled());
}

void TExportDlgTest::GenerateWritesTheCheckedGraphsAndOffersToOpen() {
    TDlgExport dlg(*fGraphs, fDialogs);
    QStringList opened;
    dlg.OpenFile = [&](const QString& File) {
        opened << File;
        return true;
    };
    dlg.FormShow(OfferGraphs(*fGraphs, *fProject, true), Project());
    dlg.UnselectAllClick();
    dlg.lstPlots->item(15)->setCheckState(Qt::Checked); // load distribution
    dlg.lstPlots->item(16)->setCheckState(Qt::Checked); // first design chart
    dlg.chkMarkers->setChecked(false);
    const QString file = fDir->filePath("out.xlsx");
    fDialogs.SaveResults = {file};
    fDialogs.Answers = {TUserDialogs::TAnswer::Yes};
    QTest::mouseClick(dlg.btnGenerate, Qt::LeftButton);

    QCOMPARE(fDialogs.SaveProposals, QStringList{"charts.xlsx"});
    QCOMPARE(fDialogs.SaveDirs, QStringList{fDir->path()});
    // One question tells where the finished workbook is and offers to open it.
    QVERIFY(fDialogs.Messages.isEmpty());
    QCOMPARE(fDialogs.Questions,
             QStringList{"The workbook has been written to " + file + ". Open it now?"});
    QCOMPARE(opened, QStringList{file});
    QVERIFY(!dlg.more255());

    workbook::TWorkbook book(file.toStdString());
    QVERIFY2(book.Ok(), book.Error().c_str());
    QCOMPARE(book.SheetNames().size(), std::size_t(5));
    QCOMPARE(QString::fromStdString(book.Cell("Legend", "C3")), QString("Load Distribution"));
    QCOMPARE(QString::fromStdString(book.Cell("Legend", "C4")),
             QString("Design Chart (0.5-in movement)"));
    for (const workbook::TSeries& s : workbook::TWorkbook::Series(book.Chart("Plot_1")))
        QVERIFY(s.NoMarker);
}

void TExportDlgTest::CancelledSaveWritesNothing() {
    TDlgExport dlg(*fGraphs, fDialogs);
    dlg.FormShow(OfferGraphs(*fGraphs, *fProject, true), Project());
    dlg.GenerateClick();
    QCOMPARE(fDialogs.SaveTitles.size(), 1);
    QVERIFY(fDialogs.Messages.isEmpty());
    QCOMPARE(QDir(fDir->path()).entryList({"*.xlsx"}).size(), 0);
}

void TExportDlgTest::MainWindowOpensTheDialogAndTheManuals() {
    TMainForm form(fDialogs);
    form.OpenFileName(Project(), 1);
    form.GraphicsMenuShow();
    QAction* exportItem = form.GraphicsItems[giExport];
    QCOMPARE(exportItem->text(), QString("Export Plots to Excel"));
    QVERIFY(exportItem->isEnabled());

    int offered = -1;
    QTimer::singleShot(0, [&] {
        if (auto* dlg = qobject_cast<TDlgExport*>(QApplication::activeModalWidget())) {
            offered = dlg->lstPlots->count();
            dlg->reject();
        }
    });
    exportItem->trigger();
    QCOMPARE(offered, 18);

    TUrlCatcher catcher;
    QDesktopServices::setUrlHandler("file", &catcher, "Open");
    form.HelpUsersManual->trigger();
    form.HelpTechnicalManual->trigger();
    QDesktopServices::unsetUrlHandler("file");
    QCOMPARE(catcher.Urls.size(), 2);
    QVERIFY(catcher.Urls[0].toLocalFile().endsWith("/users-guide.md"));
    QVERIFY(catcher.Urls[1].toLocalFile().endsWith("/technical-manual.md"));
    for (const QUrl& url : catcher.Urls)
        QVERIFY2(QFileInfo(url.toLocalFile()).isFile(), qPrintable(url.toLocalFile()));
    QCOMPARE(form.HelpUsersManual->text(), QString("&User's Manual"));
    QCOMPARE(form.HelpTechnicalManual->text(), QString("&Technical Manual"));
}

KOLMAR_GUI_TEST_MAIN(TExportDlgTest)
#include "exportdlg_test.moc"
