// The data windows inside the main window: each opens once from its Data menu entry, loads on
// activation and writes back on deactivation, keeps the activation while a field fails its
// check, follows switches of the unit system and design method, and goes with New and Open.
// A project built entirely through the windows runs through the engine to the same report as
// the same project written by hand.
#include "TestSupport.h"

#include "gui/data/DataUnit.h"
#include "gui/dialogs/DataWindowHost.h"
#include "gui/dialogs/Options.h"
#include "gui/dialogs/SafetyFactor.h"
#include "gui/dialogs/ShaftProperties.h"
#include "gui/dialogs/SoilLayers.h"
#include "gui/dialogs/TZPrint.h"
#include "gui/dialogs/Title.h"
#include "gui/dialogs/WaterTable.h"
#include "gui/dialogs/shaftlength.h"
#include "gui/dialogs/soils.h"
#include "gui/run/RunControl.h"
#include "gui/shell/Main.h"
#include "ui/widgets/DataEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimer>
#include <QToolBar>

#include <functional>

namespace {

// Types a value into a numeric field and presses Enter, as a user does.
void Type(TDataEdit* Field, const QString& Text) {
    Field->selectAll();
    QTest::keyClicks(Field, Text);
    QTest::keyClick(Field, Qt::Key_Return);
}

// Runs Script on the modal dialog of type T as soon as it shows (the caller then opens it).
// A script that leaves the dialog open closes it by force and sets *Stuck.
template <class T> void WhenModal(std::function<void(T&)> Script, bool* Stuck, int Tries = 500) {
    QTimer::singleShot(10, [Script, Stuck, Tries] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            if (Tries > 0)
                WhenModal<T>(Script, Stuck, Tries - 1);
            return;
        }
        Script(*dialog);
        if (dialog->isVisible()) {
            *Stuck = true;
            dialog->QDialog::done(QDialog::Rejected);
        }
    });
}

QByteArray ReadAll(const QString& Path) {
    QFile f(Path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A report with the lines that differ between two runs of one project blanked: the date and
// time, and the block that names the run's directory and files.
QStringList MaskedReport(const QString& Path) {
    QStringList lines = QString::fromLatin1(ReadAll(Path)).split('\n');
    for (QString& line : lines) {
        const QString t = line.trimmed();
        if (t.startsWith("Date:") || t.startsWith("Path to file locations") ||
            t.startsWith("Name of "))
            line = "<masked>";
    }
    return lines;
}

} // namespace

class TDataWindowsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<TTestDialogs> dialogs;
    std::unique_ptr<TMainForm> form;

    QString Path(const QString& Name) const { return dir->filePath(Name); }
    TDataWindowHost& Host() { return form->DataWindows(); }
    QMdiSubWindow* Active() { return form->MdiArea().activeSubWindow(); }
    template <class T> T* Window(TDataWindowKind Kind) {
        return qobject_cast<T*>(Host().Window(Kind));
    }
    // Chooses a Data menu entry and returns the window it opened.
    template <class T> T* Choose(QAction* Entry, TDataWindowKind Kind) {
        Entry->trigger();
        return Window<T>(Kind);
    }
    int OpenChildren() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return static_cast<int>(form->MdiArea().subWindowList().size());
    }

private slots:
    void init() {
        QSettings("Tellvane", "Kolmar").clear();
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        dialogs = std::make_unique<TTestDialogs>();
        form = std::make_unique<TMainForm>(*dialogs);
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }

    void cleanup() {
        form.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QDir::setCurrent(QDir::tempPath());
        dir.reset();
    }

    void eachWindowOpensOnceFromItsEntry() {
        struct TCase {
            QAction* TMainForm::*Entry;
            TDataWindowKind Kind;
            const char* Caption;
        };
        const TCase cases[] = {
            {&TMainForm::DataTitle, dwTitle, "Project Title"},
            {&TMainForm::DataShaft, dwShaft, "Drilled-Shaft Properties"},
            {&TMainForm::DataLayers, dwLayers, "Soill Layers"},
            {&TMainForm::DataFS, dwSafetyFactor, "Factor of Safety (F.S.)"},
            {&TMainForm::DataWater, dwWaterTable, "Water Table"},
            {&TMainForm::DataVaryLength, dwVaryLength, "Multiple Shaft Lengths"},
            {&TMainForm::DataCharts, dwDesignCharts, "ASD/LRFD Design Charts"},
            {&TMainForm::DataOptions, dwOptions, "Control Options"},
        };
        auto* toolBar = form->findChild<QToolBar*>("MainToolBar");
        QVERIFY(toolBar);
        for (const TCase& c : cases) {
            QAction* entry = form.get()->*c.Entry;
            QVERIFY2(entry->isEnabled(), c.Caption);
            entry->trigger();
            QMdiSubWindow* frame = Host().SubWindow(c.Kind);
            QVERIFY2(frame, c.Caption);
            QCOMPARE(frame->windowTitle(), QString(c.Caption));
            QCOMPARE(Active(), frame);
            const int children = OpenChildren();
            form->DataTitle->trigger(); // another window in front
            entry->trigger();           // the same one is brought back, not a second one
            QCOMPARE(Host().SubWindow(c.Kind), frame);
            QCOMPARE(Active(), frame);
            QCOMPARE(OpenChildren(), children);
        }
        QCOMPARE(OpenChildren(), 8);
        for (QAction* a : {form->DataTitle, form->DataShaft, form->DataLayers, form->DataFS})
            QVERIFY(toolBar->widgetForAction(a) && toolBar->widgetForAction(a)->isEnabled());
        // A checkable entry shows the project's switch, not the click that opened the window.
        QVERIFY(!form->DataVaryLength->isChecked());
        QVERIFY(!form->DataCharts->isChecked());

        // Closing frees the window and clears its slot; the entry then makes a new one.
        QPointer<QMdiSubWindow> water = Host().SubWindow(dwWaterTable);
        QVERIFY(water->close());
        QVERIFY(!Host().Window(dwWaterTable));
        QCOMPARE(OpenChildren(), 7);
        QVERIFY(water.isNull());
        form->DataWater->trigger();
        QVERIFY(Host().Window(dwWaterTable));
        QCOMPARE(OpenChildren(), 8);
        QVERIFY2(dialogs->Messages.isEmpty(), qPrintable(dialogs->Messages.join("\n")));
        QVERIFY(!form->GetDataChanged()); // looking changes nothing
    }

    void computationMethodOpensItsWindowAndClosesTheOther() {
        form->Project().PD = 40;
        auto* load = Choose<TfrmDesignLoad>(form->DataMethodLoad, dwDesignLoad);
        QVERIFY(load);
        QCOMPARE(form->Project().METHOD, 1);
        QVERIFY(form->DataMethodLoad->isChecked());
        Type(load->edtLPD, "150");

        auto* length = Choose<TfrmPenetration>(form->DataMethodLength, dwShaftLength);
        QVERIFY(length);
        QVERIFY(!Host().Window(dwDesignLoad)); // closed, and written back on the way
        QCOMPARE(form->Project().LPD, 150.0);
        QCOMPARE(form->Project().PD, 0.0); // a design load replaces the length
        QCOMPARE(form->Project().METHOD, 2);
        QVERIFY(form->DataMethodLength->isChecked());
        QCOMPARE(length->edtPD->text(), "0");
        QVERIFY(form->GetDataChanged());
    }

    void enablingAndCheckRules() {
        struct TCase {
            int NLRFD, METHOD, IPENT, IChart;
            bool Safety, VaryLength, Charts;
        } const cases[] = {
            {2, 2, 0, 0, true, true, true},   {1, 2, 0, 0, false, true, true},
            {2, 1, 0, 0, true, false, false}, {2, 2, 1, 0, true, true, false},
            {2, 2, 0, 1, true, false, true},
        };
        TProgramData& p = form->Project();
        for (const TCase& c : cases) {
            p.NLRFD = c.NLRFD;
            p.METHOD = c.METHOD;
            p.IPENT = c.IPENT;
            p.IChart = c.IChart;
            form->DataMenuShow();
            const QString row = QString("NLRFD %1 METHOD %2 IPENT %3 IChart %4")
                                    .arg(c.NLRFD)
                                    .arg(c.METHOD)
                                    .arg(c.IPENT)
                                    .arg(c.IChart);
            QVERIFY2(form->DataFS->isEnabled() == c.Safety, qPrintable(row));
            QVERIFY2(form->DataVaryLength->isEnabled() == c.VaryLength, qPrintable(row));
            QVERIFY2(form->DataCharts->isEnabled() == c.Charts, qPrintable(row));
            QVERIFY2(form->DataVaryLength->isChecked() == (c.IPENT != 0), qPrintable(row));
            QVERIFY2(form->DataCharts->isChecked() == (c.IChart != 0), qPrintable(row));
        }
        // A disabled entry opens nothing.
        p.IPENT = 1;
        p.IChart = 0;
        form->DataMenuShow();
        form->DataCharts->trigger();
        QVERIFY(!Host().Window(dwDesignCharts));

        // The factor-of-safety button follows the design method without the menu opening.
        form->DataASD->trigger();
        QVERIFY(form->DataFS->isEnabled());
        form->DataLRFD->trigger();
        QVERIFY(!form->DataFS->isEnabled());
        dialogs->Answers = {TUserDialogs::TAnswer::No};
        form->FileNewClick(); // a new project is ASD
        QVERIFY(form->DataFS->isEnabled());

        // The hidden entry for additional t-z curves opens its dialog modally.
        QVERIFY(!form->DataTZPrint->isVisible());
        bool stuck = false;
        WhenModal<TDlgTZPrint>(
            [](TDlgTZPrint& d) {
                d.grpTZ->chkPrintTZ->click();
                d.btnClose->click();
            },
            &stuck);
        form->DataTZPrint->trigger();
        QVERIFY(!stuck);
        QCOMPARE(form->Project().PrintTZCurves, 1);
        QVERIFY(form->DataTZPrint->isChecked());
        QVERIFY(form->GetDataChanged());
    }

    void failedFieldKeepsTheWindowActive() {
        auto* water = Choose<TfrmWaterDepth>(form->DataWater, dwWaterTable);
        auto* shaft = Choose<TfrmShaftpeneta>(form->DataShaft, dwShaft);
        QVERIFY(water && shaft);
        QMdiSubWindow* shaftFrame = Host().SubWindow(dwShaft);
        shaft->edtBS->setText("4");
        shaft->edtDSTART->setText("2+");

        // Another window is refused, whether asked for by its entry or by a click on it.
        form->DataWater->trigger();
        QCOMPARE(Active(), shaftFrame);
        QVERIFY(!dialogs->Messages.isEmpty());
        QVERIFY2(dialogs->Messages[0].startsWith(
                     "Minimum Shaft Diameter, B, to be Considered:\nEntry could not be evaluated:"),
                 qPrintable(dialogs->Messages[0]));
        form->MdiArea().setActiveSubWindow(Host().SubWindow(dwWaterTable));
        QCOMPARE(Active(), shaftFrame);
        QCOMPARE(QApplication::focusWidget(), shaft->edtDSTART);

        // So are the commands that act on the project, and closing.
        QVERIFY(!form->FileSaveClick());
        QVERIFY(dialogs->SaveTitles.isEmpty());
        form->CompRunClick();
        QVERIFY(dialogs->SaveTitles.isEmpty());
        form->FileNewClick();
        QVERIFY(dialogs->Questions.isEmpty());
        QVERIFY(!shaftFrame->close());
        QVERIFY(!form->close());
        QVERIFY(form->isVisible());
        QCOMPARE(form->Project().BS, 0.0); // nothing of the window was taken
        QVERIFY(!form->GetDataChanged());

        // Corrected, the window lets go and its values are in the project.
        Type(shaft->edtDSTART, "2.5");
        form->MdiArea().setActiveSubWindow(Host().SubWindow(dwWaterTable));
        QCOMPARE(Active(), Host().SubWindow(dwWaterTable));
        QCOMPARE(form->Project().DSTART, 2.5);
        QCOMPARE(form->Project().BS, 4.0);
        QVERIFY(form->GetDataChanged());
    }

    void unitSwitchRefreshesOpenWindows() {
        auto* shaft = Choose<TfrmShaftpeneta>(form->DataShaft, dwShaft);
        Type(shaft->edtDSTART, "3");
        auto* layers = Choose<TDlgSoilLayers>(form->DataLayers, dwLayers);
        QVERIFY(shaft && layers);
        QCOMPARE(form->Project().DSTART, 3.0); // written when the editor took over
        // Typed but not yet written: taken in feet before the switch.
        layers->Field(0, lcDepth)->setText("50");

        form->DataUnitsSI->trigger();
        QCOMPARE(form->Project().fUnits, 2);
        QCOMPARE(layers->Field(0, lcDepth)->text(), "15.24");
        QVERIFY2(layers->Heading(2).contains("(m)"), qPrintable(layers->Heading(2)));
        QCOMPARE(shaft->edtDSTART->text(), "0.9144");
        QVERIFY2(shaft->edtDSTART->EditLabel()->text().endsWith("(m)"),
                 qPrintable(shaft->edtDSTART->EditLabel()->text()));

        form->DataUnitsEnglish->trigger();
        QCOMPARE(shaft->edtDSTART->text(), "3");
        QCOMPARE(layers->Field(0, lcDepth)->text(), "50");
        QVERIFY2(dialogs->Messages.isEmpty(), qPrintable(dialogs->Messages.join("\n")));
    }

    void designMethodShowsTheLrfdColumns() {
        auto* layers = Choose<TDlgSoilLayers>(form->DataLayers, dwLayers);
        QVERIFY(layers);
        QVERIFY(layers->LayerGrid->isColumnHidden(5) && layers->LayerGrid->isColumnHidden(6));
        QVERIFY(layers->lblLrfdNote->isHidden());

        // Every factor still 1.0: the switch asks for them, at the first LRFD column.
        form->DataLRFD->trigger();
        QVERIFY(!layers->LayerGrid->isColumnHidden(5) && !layers->LayerGrid->isColumnHidden(6));
        QVERIFY(!layers->lblLrfdNote->isHidden());
        QCOMPARE(dialogs->Messages.size(), 1);
        QVERIFY(dialogs->Messages[0].startsWith("Every LRFD resistance factor of the soil layers "
                                                "is 1.0"));
        QCOMPARE(QApplication::focusWidget(), layers->Field(0, lcLrfdSide));
        // The window is wide enough for every column it shows.
        int columns = 0;
        for (int col = 0; col < layers->LayerGrid->columnCount(); ++col)
            columns += layers->LayerGrid->columnWidth(col);
        QVERIFY2(layers->LayerGrid->viewport()->width() >= columns,
                 qPrintable(
                     QString("%1 < %2").arg(layers->LayerGrid->viewport()->width()).arg(columns)));
        Type(layers->Field(0, lcLrfdSide), "0.6");

        form->DataASD->trigger();
        QVERIFY(layers->LayerGrid->isColumnHidden(5));
        QVERIFY(layers->lblLrfdNote->isHidden());
        QCOMPARE(form->Project().D[0].LrfdSide, 0.6); // hidden, but kept in the layer table
        form->DataLRFD->trigger();
        QCOMPARE(dialogs->Messages.size(), 1); // factors entered: nothing to ask
    }

    void layerDialogCancelDiscardsAndReturnsToTheLayers() {
        auto* layers = Choose<TDlgSoilLayers>(form->DataLayers, dwLayers);
        Choose<TfrmWaterDepth>(form->DataWater, dwWaterTable);
        auto* layersFrame = Host().SubWindow(dwLayers);
        form->MdiArea().setActiveSubWindow(layersFrame);
        bool stuck = false;
        WhenModal<TDlgSoils>(
            [&](TDlgSoils& sand) {
                Type(sand.Field(SandCol::UnitWeight, false), "999");
                sand.btnCancel->click();
            },
            &stuck);
        layers->EditButton(0)->click();
        QVERIFY(!stuck);
        QCOMPARE(form->Project().D[0].Params.Value(0, SandCol::UnitWeight), 0.0);
        QCOMPARE(form->MdiArea().activeSubWindow(), layersFrame);
        QCOMPARE(layers->focusWidget(), layers->EditButton(0));
        WhenModal<TDlgSoils>(
            [&](TDlgSoils& sand) {
                Type(sand.Field(SandCol::UnitWeight, false), "120");
                Type(sand.Field(SandCol::Ko, false), "0.5"); // the Ko method needs Ko
                sand.btnOK->click();
            },
            &stuck);
        layers->EditButton(0)->click();
        QVERIFY(!stuck);
        QCOMPARE(form->Project().D[0].Params.Value(0, SandCol::UnitWeight), 120.0);
        QCOMPARE(form->MdiArea().activeSubWindow(), layersFrame);
    }

    void newAndOpenCloseEveryWindow() {
        auto* title = Choose<TdlgTitle>(form->DataTitle, dwTitle);
        Choose<TDlgSoilLayers>(form->DataLayers, dwLayers);
        form->Graphs().pltSkin.SetLineCount(1);
        form->Graphs().pltSkin.Show();
        Choose<TdlgTitle>(form->DataTitle, dwTitle);
        title->edtTitle->setText("Typed, not yet written");
        QCOMPARE(OpenChildren(), 3);

        // New takes what was typed first, so the question is asked.
        dialogs->Answers = {TUserDialogs::TAnswer::No};
        form->FileNewClick();
        QCOMPARE(dialogs->Questions, QStringList{"Do you want to save any changes?"});
        QCOMPARE(OpenChildren(), 0);
        for (int kind = 0; kind < dwKindCount; ++kind)
            QVERIFY(!Host().Window(static_cast<TDataWindowKind>(kind)));

        auto saved = TProgramData::Create();
        saved->Title = "Opened";
        saved->FileName = Path("opened.kx8d").toStdString();
        saved->Save();
        Choose<TfrmShaftpeneta>(form->DataShaft, dwShaft);
        Choose<TdlgTitle>(form->DataTitle, dwTitle);
        form->OpenFileName(Path("opened.kx8d"), 1);
        QCOMPARE(OpenChildren(), 0);
        // A window opened now edits the project just read.
        QCOMPARE(Choose<TdlgTitle>(form->DataTitle, dwTitle)->edtTitle->text(), "Opened");
    }

    void projectBuiltInTheWindowsRunsLikeOneWrittenByHand() {
        auto* title = Choose<TdlgTitle>(form->DataTitle, dwTitle);
        title->edtTitle->selectAll();
        QTest::keyClicks(title->edtTitle, "Sand over stiff clay, Ko method, 3 ft shaft 50 ft long");
        Type(Choose<TDlgOptions>(form->DataOptions, dwOptions)->edtPINC, "2");
        auto* shaft = Choose<TfrmShaftpeneta>(form->DataShaft, dwShaft);
        Type(shaft->edtDSTART, "3");
        Type(shaft->edtTOPLENG, "5");
        Type(shaft->edtEPILE, "3.6e6");
        Type(Choose<TfrmWaterDepth>(form->DataWater, dwWaterTable)->edtWTD, "12");
        Type(Choose<TfrmPenetration>(form->DataMethodLength, dwShaftLength)->edtPD, "50");
        Type(Choose<TfrmSafetyFactor>(form->DataFS, dwSafetyFactor)->edtFST, "2");

        auto* layers = Choose<TDlgSoilLayers>(form->DataLayers, dwLayers);
        layers->btnAdd->click();
        layers->SoilTypeBox(1)->setCurrentIndex(kolmar::kClay - 1);
        Type(layers->Field(0, lcDepth), "20");
        Type(layers->Field(1, lcDepth), "80");
        const auto pair = [](TDlgSoils& d, int Column, const QString& Top, const QString& Bottom) {
            Type(d.Field(Column, false), Top);
            Type(d.Field(Column, true), Bottom);
        };
        bool stuck = false;
        WhenModal<TDlgSoils>(
            [&](TDlgSoils& sand) {
                sand.rbKoMethod->click();
                pair(sand, SandCol::UnitWeight, "115", "118");
                pair(sand, SandCol::FrictionAngle, "32", "34");
                pair(sand, SandCol::BlowCounts, "12", "18");
                pair(sand, SandCol::Ko, "0.5", "0.45");
                sand.btnOK->click();
            },
            &stuck);
        layers->EditButton(0)->click();
        WhenModal<TDlgSoils>(
            [&](TDlgSoils& clay) {
                pair(clay, ClayCol::UnitWeight, "122", "126");
                pair(clay, ClayCol::Cohesion, "1800", "3000");
                pair(clay, ClayCol::Alpha, "0.55", "0.5");
                clay.btnOK->click();
            },
            &stuck);
        layers->EditButton(1)->click();
        QVERIFY(!stuck);
        QVERIFY2(dialogs->Messages.isEmpty(), qPrintable(dialogs->Messages.join("\n")));

        // Saved, opened again and run as a user does.
        dialogs->SaveResults = {Path("windows.kx8d")};
        QVERIFY(form->FileSaveAsClick());
        QCOMPARE(OpenChildren(), 0);
        dialogs->OpenResults = {{Path("windows.kx8d"), 1}};
        form->FileOpenClick();
        QCOMPARE(form->Project().D.RowCount(), 2);
        form->CompRunClick();
        QCOMPARE(dialogs->Messages.value(0), QString::fromStdString(CompletionMessage(0)));

        // The same project typed into a file, run by the engine as it stands.
        QVERIFY(QFile::copy(KOLMAR_TEST_DATA "/data/hand-written.kx8d", Path("hand.kx8d")));
        const TEngineRun run =
            RunEngine(RunFilesFor(Path("hand.kx8d").toStdString()), form->EngineFile.toStdString());
        QVERIFY2(run.Called, run.Error.c_str());
        QCOMPARE(run.Status, 0);

        const QStringList windows = MaskedReport(Path("windows.kx8o"));
        const QStringList hand = MaskedReport(Path("hand.kx8o"));
        QVERIFY(windows.size() > 50);
        for (qsizetype i = 0; i < std::max(windows.size(), hand.size()); ++i) {
            if (windows.value(i) != hand.value(i)) {
                qWarning().noquote()
                    << "report line" << i + 1 << "\n built in the windows: " << windows.value(i)
                    << "\n written by hand:       " << hand.value(i) << "\n(compare with: diff"
                    << Path("windows.kx8o") << Path("hand.kx8o") << ")";
                dir->setAutoRemove(false);
                QFAIL("the reports differ");
            }
        }
    }
};

KOLMAR_GUI_TEST_MAIN(TDataWindowsTest)
#include "datawindows_test.moc"
