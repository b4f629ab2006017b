// The run command: an example through the real engine library from end to end, the checks
// and refusals before the engine is called, the three ways loading can fail, and one run at
// a time while the engine computes off the user-interface thread.
#include "TestSupport.h"

#include "gui/data/DataUnit.h"
#include "gui/dialogs/DataWindowHost.h"
#include "gui/shell/Main.h"
#include "ui/widgets/TextViewer.h"

#include <QTimer>

namespace {

const char* const kScratch[] = {"names.dat", "TZDIAM.DAT"};
const char* const kStaged[] = {".kx8w", ".kx8t", ".kx8q", ".kx8l"};

// Values the run check accepts: a shaft, a concrete modulus, a sand with a unit weight.
void MakeRunnable(TSoilLayer& Layer) {
    Layer.Params.SetValue(0, SandCol::UnitWeight, 120);
    Layer.Params.SetValue(1, SandCol::UnitWeight, 120);
}
void MakeRunnable(TProgramData& Project) {
    Project.DSTART = 3;
    Project.EPILE = 4e6;
    for (TSoilLayer& layer : Project.D)
        MakeRunnable(layer);
}

} // namespace

class TRunTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<TTestDialogs> dialogs;
    std::unique_ptr<TMainForm> form;

    QString Path(const QString& Name) const { return dir->filePath(Name); }

    // Opens a copy of an example project.
    QString OpenExample(const QString& Example) {
        const QString copy = Path(Example);
        if (!QFile::exists(copy))
            QFile::copy(KOLMAR_SOURCE_DIR "/examples/" + Example, copy);
        form->OpenFileName(copy, 1);
        return copy;
    }

    // Leaves the staged files of a run in the project directory, as a crashed run would.
    void LeaveScratch(const QString& Base) {
        for (const char* name : kScratch)
            QFile(Path(name)).open(QIODevice::WriteOnly);
        for (const char* ext : kStaged)
            QFile(Path(Base + ext)).open(QIODevice::WriteOnly);
    }

    QStringList ScratchLeft(const QString& Base) const {
        QStringList left;
        for (const char* name : kScratch)
            if (QFile::exists(Path(name)))
                left << name;
        for (const char* ext : kStaged)
            if (QFile::exists(Path(Base + ext)))
                left << Base + ext;
        return left;
    }

private slots:
    void init() {
        QSettings("Tellvane", "Kolmar").clear();
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        dialogs = std::make_unique<TTestDialogs>();
        form = std::make_unique<TMainForm>(*dialogs);
    }

    void cleanup() {
        form.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QDir::setCurrent(QDir::tempPath());
        dir.reset();
    }

    void exampleThroughTheEngine() {
        OpenExample("sand-water-table.kx8d");
        QVERIFY(!form->ViewOutputButton->isEnabled());
        LeaveScratch("sand-water-table");
        form->show();
        form->Graphs().pltSkin.SetLineCount(1);
        form->Graphs().pltSkin.Show(); // child windows close after the run
        QDir::setCurrent(QDir::tempPath());

        QSignalSpy finished(form.get(), &TMainForm::RunFinished);
        form->CompRunClick();
        QCOMPARE(finished.size(), 1);
        QVERIFY(!form->Running());
        QVERIFY(!dialogs->Messages.isEmpty());
        QVERIFY2(dialogs->Messages[0].startsWith("Computations are completed"),
                 qPrintable(dialogs->Messages.join("\n")));
        // One message, whatever the run left.
        QCOMPARE(dialogs->Messages.size(), 1);

        QCOMPARE(ScratchLeft("sand-water-table"), QStringList());
        QVERIFY(QFile::exists(Path("sand-water-table.kx8o")));
        QVERIFY(form->ViewOutputButton->isEnabled());
        QVERIFY(!form->Graphs().pltSkin.FormExists());
        QCOMPARE(form->CurDir, dir->path());
        QCOMPARE(QDir::currentPath(), dir->path());
        form->ComputationMenuShow();
        QVERIFY(form->CompOutput->isEnabled());

        // A second run right after the first loads the engine afresh.
        dialogs->Messages.clear();
        form->CompRunClick();
        QVERIFY(dialogs->Messages[0].startsWith("Computations are completed"));
        QCOMPARE(finished.size(), 2);
    }

    // File › Calculation Package: results out of date are run first when the user agrees, and
    // not at all otherwise; fresh results are packaged without a question.
    void calculationPackageFromTheFileMenu() {
        using TAnswer = TUserDialogs::TAnswer;
        OpenExample("sand-water-table.kx8d");
        QDir::setCurrent(QDir::tempPath());

        // Never run: the question, and Cancel leaves everything as it was.
        form->CalcPackageClick(TMainForm::TPackageOutput::Html);
        QCOMPARE(dialogs->Questions.size(), 1);
        QVERIFY2(dialogs->Questions[0].contains("out of date"), qPrintable(dialogs->Questions[0]));
        QVERIFY(!QFile::exists(Path("sand-water-table.kx8o")));
        QVERIFY(dialogs->SaveTitles.isEmpty());

        // Yes runs the analysis, then saves the package where the user says.
        dialogs->Answers = {TAnswer::Yes};
        dialogs->SaveResults = {Path("calc.html")};
        form->CalcPackageClick(TMainForm::TPackageOutput::Html);
        QVERIFY(QFile::exists(Path("sand-water-table.kx8o")));
        QVERIFY(dialogs->Messages.join("\n").contains("Computations are completed"));
        QCOMPARE(dialogs->SaveProposals, QStringList{"sand-water-table-calc.html"});
        QFile html(Path("calc.html"));
        QVERIFY(html.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(html.readAll());
        QVERIFY(text.contains("<svg"));
        QVERIFY(text.contains("Results at the design length"));

        // Fresh results: no question.
        dialogs->SaveResults = {Path("calc.pdf")};
        form->CalcPackageClick(TMainForm::TPackageOutput::Pdf);
        QCOMPARE(dialogs->Questions.size(), 2);
        QFile pdf(Path("calc.pdf"));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(5) == "%PDF-");

        // A change after the run's save makes them out of date again; No writes nothing.
        form->Project().DataChanged = true;
        dialogs->Answers = {TAnswer::No};
        dialogs->SaveResults = {Path("stale.pdf")};
        form->CalcPackageClick(TMainForm::TPackageOutput::Pdf);
        QCOMPARE(dialogs->Questions.size(), 3);
        QVERIFY(dialogs->Questions[2].contains("changed since its last run"));
        QVERIFY(!QFile::exists(Path("stale.pdf")));
    }

    void newProjectRefusedAtTheNamedField() {
        // The default shaft has no diameter: named, its window opened at the field, before
        // anything is saved or run.
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QDir::setCurrent(dir->path());
        form->CurDir = dir->path();
        form->CompRunClick();
        QCOMPARE(dialogs->Messages,
                 QStringList{"Drilled-Shaft Properties: the Minimum Shaft Diameter, B, must be "
                             "greater than 0.\nThe analysis was not started."});
        QVERIFY(dialogs->SaveTitles.isEmpty());
        QVERIFY(form->DataWindows().Window(dwShaft));
        QCOMPARE(QApplication::focusWidget()->objectName(), "DSTART");

        // With a diameter, the next refusal is the concrete modulus, then a layer's unit
        // weight, each in its own window.
        form->HideAll();
        form->Project().DSTART = 3;
        dialogs->Messages.clear();
        form->CompRunClick();
        QVERIFY(dialogs->Messages.value(0).contains("Modulus of Elasticity"));
        form->HideAll();
        form->Project().EPILE = 4e6;
        dialogs->Messages.clear();
        form->CompRunClick();
        QVERIFY2(dialogs->Messages.value(0).startsWith(
                     "Soil Layers, layer 1: the total unit weight at the top must be greater"),
                 qPrintable(dialogs->Messages.join("|")));
        QVERIFY(form->DataWindows().Window(dwLayers));
        QVERIFY(dialogs->SaveTitles.isEmpty());
    }

    void statusSevenShowsTheRunNotesBlock() {
        // A design load the profile cannot carry: the engine ends with status 7.
        QVERIFY(QFile::copy(KOLMAR_TEST_DATA "/data/short-profile.kx8d", Path("short.kx8d")));
        form->OpenFileName(Path("short.kx8d"), 1);
        form->show();
        dialogs->TakeAction = true; // the user asks for the run notes
        form->CompRunClick();
        QCOMPARE(dialogs->Messages.size(), 1);
        const QString message = dialogs->Messages[0];
        QVERIFY2(message.startsWith("The analysis ended with status 7: the soil profile is too "
                                    "short for the design load"),
                 qPrintable(message));
        QVERIFY2(message.contains("\n*********** NEED ANOTHER SOIL LAYER ************"),
                 qPrintable(message));
        QCOMPARE(dialogs->Actions, QStringList{"Run Notes"});
        // Without an editor set, the run notes open in the program's own viewer.
        TTextViewer* notes = TTextViewer::Find(form->MdiArea(), Path("short.kx8r"));
        QVERIFY(notes);
        QVERIFY(notes->Text().contains("NEED ANOTHER SOIL LAYER"));
    }

    void nothingRunsWithoutANameOrWithBadLayers() {
        // A new project whose Save As is cancelled is not run.
        QDir::setCurrent(dir->path());
        form->CurDir = dir->path();
        MakeRunnable(form->Project());
        form->CompRunClick();
        QCOMPARE(dialogs->SaveTitles.size(), 1);
        QVERIFY(dialogs->Messages.isEmpty());
        QVERIFY(QDir(dir->path()).entryList(QDir::Files).isEmpty());

        // Layers of 2, 2 and 1.9 ft: the layer check refuses, before names.dat is written.
        auto project = TProgramData::Create();
        MakeRunnable(*project);
        project->D.SetRowCount(3);
        for (TSoilLayer& layer : project->D)
            MakeRunnable(layer);
        project->D[0].Depth = 2;
        project->D[1].Depth = 4;
        project->D[2].Depth = 5.9;
        project->FileName = Path("thin.kx8d").toStdString();
        project->Save();
        form->OpenFileName(Path("thin.kx8d"), 1);
        form->CompRunClick();
        QCOMPARE(dialogs->Messages,
                 QStringList{"Thickness of layer should be at least 2 ft\nto avoid numerical "
                             "errors. \nPlease check layer 3 . Thickness = 1.9 ft"});
        QVERIFY(!QFile::exists(Path("names.dat")));
    }

    void failedSaveStopsTheRun() {
        // The engine reads the project's file: a save that failed would leave it running on
        // what the file held before, so the run stops at the save.
        OpenExample("clay-bell.kx8d");
        QFile(Path("plain")).open(QIODevice::WriteOnly);
        form->Project().FileName = Path("plain/clay-bell.kx8d").toStdString();
        QSignalSpy finished(form.get(), &TMainForm::RunFinished);
        form->CompRunClick();
        QCOMPARE(dialogs->Messages.size(), 1);
        QVERIFY2(dialogs->Messages[0].startsWith("An error occured during saving\n"),
                 qPrintable(dialogs->Messages[0]));
        QCOMPARE(finished.size(), 0);
        QVERIFY(!QFile::exists(Path("names.dat")));
        QVERIFY(!form->Running());
    }

    void engineThatCannotBeLoaded_data() {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << "/no/such/libKolmar2017_DLL.so"
                                 << "could not be located";
        QTest::newRow("not a library") << KOLMAR_SOURCE_DIR "/README.md"
                                       << "failed to properly initialize";
        QTest::newRow("no kolmar_run") << KOLMAR_NO_ENTRY_LIB << "has no kolmar_run";
    }
    void engineThatCannotBeLoaded() {
        QFETCH(QString, engine);
        QFETCH(QString, reason);
        OpenExample("clay-bell.kx8d");
        form->EngineFile = engine;
        form->CompRunClick();
        QCOMPARE(dialogs->Messages.size(), 1);
        const QString message = dialogs->Messages[0];
        QVERIFY2(message.startsWith("Attempt to initialize DLL failed\n"), qPrintable(message));
        QVERIFY2(message.contains(reason), qPrintable(message));
        // Nothing was called: no report, and no run-control file beside the project.
        QVERIFY(!QFile::exists(Path("clay-bell.kx8o")));
        QVERIFY(!QFile::exists(Path("names.dat")));
        QVERIFY(!form->Running());
        QCOMPARE(form->CurDir, dir->path());
    }

    void oneRunAtATime() {
        OpenExample("clay-bell.kx8d");
        form->EngineFile = KOLMAR_SLOW_ENGINE_LIB;
        form->show();
        bool sawRunning = false;
        // Runs inside the run's event loop: the window stays responsive while the engine works.
        QTimer::singleShot(50, form.get(), [&] {
            sawRunning = form->Running();
            form->CompRunClick();
            QFile(Path("release.flag")).open(QIODevice::WriteOnly);
        });
        form->CompRunClick();
        QVERIFY(sawRunning);
        QVERIFY(!form->Running());
        QCOMPARE(dialogs->Messages,
                 (QStringList{"Attempt to reinitialize DLL",
                              "Computations are completed.\nPlease, check output file for "
                              "results or error messages."}));
        QVERIFY(!QFile::exists(Path("names.dat")));
    }
};

KOLMAR_GUI_TEST_MAIN(TRunTest)
#include "run_test.moc"
