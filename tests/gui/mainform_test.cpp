// The main window's file commands, recent files, settings, command line, dropped files, the
// data-changed flag, the Graphics menu with its graph windows and the text editor commands.
#include "TestSupport.h"

#include "gui/data/DataUnit.h"
#include "gui/dialogs/About.h"
#include "gui/shell/Main.h"
#include "ui/widgets/TextViewer.h"

#include <QDropEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>

namespace {

const QString kVersionGroup = "2017.8.9/";

QSettings UserSettings() {
    return QSettings("Tellvane", "Kolmar");
}

QByteArray ReadAll(const QString& Path) {
    QFile f(Path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TMainFormTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<TTestDialogs> dialogs;
    std::unique_ptr<TMainForm> form;

    QString Path(const QString& Name) const { return dir->filePath(Name); }

    // A saved project with a title of its own; with Plot, the two-diameter plot file beside it.
    QString WriteProject(const QString& Name, const std::string& Title, bool Plot = false) {
        auto project = TProgramData::Create();
        project->Title = Title;
        project->PrintTZCurves = 1;
        project->FileName = Path(Name).toStdString();
        project->Save();
        if (Plot)
            QFile::copy(KOLMAR_SOURCE_DIR "/tests/results/data/two-diameters.plt",
                        Path(QFileInfo(Name).completeBaseName() + ".kx8p"));
        return Path(Name);
    }

    void NewForm() {
        form.reset();
        form = std::make_unique<TMainForm>(*dialogs);
    }

private slots:
    void init() {
        UserSettings().clear();
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        dialogs = std::make_unique<TTestDialogs>();
        NewForm();
    }

    void cleanup() {
        form.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QDir::setCurrent(QDir::tempPath());
        dir.reset();
    }

    void caption_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("display");
        QTest::newRow("current project") << "/p/q/my.shaft.KX8D"
                                         << "My";
        QTest::newRow("older project keeps its extension") << "/p/old.kxd"
                                                           << "Old.kxd";
        QTest::newRow("one letter stays") << "x.kx8d"
                                          << "x";
        QTest::newRow("capital stays") << "Zeta.kx8d"
                                       << "Zeta";
        QTest::newRow("digit first") << "1abc.kx8d"
                                     << "1abc";
        QTest::newRow("no extension") << "/p/notes"
                                      << "Notes";
    }
    void caption() {
        QFETCH(QString, path);
        QFETCH(QString, display);
        QCOMPARE(QString::fromStdString(DisplayFileName(path.toStdString())), display);
        QCOMPARE(form->windowTitle(), "Kolmar 2017.8.9 - NewShaft");
        QCOMPARE(TMainForm::GetVersion(), "2017.8.9");
    }

    void newProject() {
        form->Project().Title = "changed";
        form->SetDataChanged(true);
        dialogs->Answers = {TUserDialogs::TAnswer::Cancel};
        form->FileNewClick();
        QCOMPARE(dialogs->Questions, QStringList{"Do you want to save any changes?"});
        QCOMPARE(form->Project().Title, "changed");

        dialogs->Answers = {TUserDialogs::TAnswer::No};
        form->Graphs().ShowOutput = true;
        form->FileNewClick();
        QCOMPARE(form->Project().Title, "New Pile");
        QVERIFY(!form->GetDataChanged());
        QVERIFY(!form->Graphs().ShowOutput);
        QVERIFY(!form->CombinedUltButton->isEnabled());
        QCOMPARE(form->windowTitle(), "Kolmar 2017.8.9 - NewShaft");
        QVERIFY(dialogs->Messages.isEmpty());
    }

    void openCurrentAndOlderFiles() {
        const QString alpha = WriteProject("alpha.kx8d", "Alpha", true);
        QFile report(Path("alpha.kx8o"));
        QVERIFY(report.open(QIODevice::WriteOnly));
        report.close();
        const QString startDir = form->CurDir;
        dialogs->OpenResults = {{alpha, 1}};
        form->FileOpenClick();
        QCOMPARE(dialogs->OpenDirs, QStringList{startDir});
        QCOMPARE(dialogs->OpenFilters, (QStringList{"Kolmar 2017(*.kx8d)", "Kolmar 2012(*.kxd)",
                                                    "Kolmar 6.0(*.kxd)", "All Files(*.*)"}));
        QCOMPARE(form->Project().Title, "Alpha");
        QCOMPARE(form->windowTitle(), "Kolmar 2017.8.9 - Alpha");
        QCOMPARE(form->CurDir, dir->path());
        QCOMPARE(QDir::currentPath(), dir->path());
        QCOMPARE(form->Recent.PrevFile[0], alpha.toStdString());
        // Its plot file was read silently: the result commands are on.
        QVERIFY(form->Graphs().ShowOutput);
        QVERIFY(form->CombinedUltButton->isEnabled());
        QVERIFY(form->TzButton->isEnabled());
        QVERIFY(form->ViewOutputButton->isEnabled());

        // A project of the previous version: Save asks for a current-format name.
        QVERIFY(QFile::copy(KOLMAR_SOURCE_DIR "/tests/model/data/old2012.kxd", Path("old.kxd")));
        dialogs->OpenResults = {{Path("old.kxd"), 2}};
        form->FileOpenClick();
        QCOMPARE(QString::fromStdString(form->Project().FileName), Path("old.kxd"));
        QCOMPARE(form->windowTitle(), "Kolmar 2017.8.9 - Old.kxd");
        QVERIFY(!form->Graphs().ShowOutput);
        QVERIFY(!form->ViewOutputButton->isEnabled());
        QVERIFY(!form->FileSaveClick()); // cancelled
        QCOMPARE(dialogs->SaveProposals.last(), "old.kx8d");
        QCOMPARE(dialogs->SaveTitles.last(), "Save Old.kxd As");
        QVERIFY(!form->filesaved);
        QVERIFY(!QFile::exists(Path("old.kx8d")));
        dialogs->SaveResults = {Path("old.kx8d")};
        QVERIFY(form->FileSaveClick());
        QVERIFY(QFile::exists(Path("old.kx8d")));
        QCOMPARE(form->windowTitle(), "Kolmar 2017.8.9 - Old");

        // "All Files" reads a current-format file as one.
        dialogs->OpenResults = {{alpha, 4}};
        form->FileOpenClick();
        QCOMPARE(form->Project().Title, "Alpha");
        QVERIFY2(dialogs->Messages.isEmpty(), qPrintable(dialogs->Messages.join("\n")));
    }

    void saveAndSaveAsNaming() {
        QVERIFY(!form->FileSaveClick());
        QCOMPARE(dialogs->SaveTitles, QStringList{"Save NewShaft As"});
        QCOMPARE(dialogs->SaveProposals, QStringList{"NewShaft.kx8d"});
        QCOMPARE(dialogs->SaveDirs, QStringList{form->CurDir});
        QCOMPARE(dialogs->SaveFilters, (QStringList{"Kolmar 2017(*.kx8d)", "All File(*.*)"}));
        QCOMPARE(dialogs->SaveSuffix, "kx8d");
        QVERIFY(!form->filesaved);
        QCOMPARE(form->Project().FileName, std::string(NewProjectFileName));
        QVERIFY(QDir(dir->path()).entryList(QDir::Files).isEmpty());

        // Save As names the project, writes it and clears what belonged to the old name.
        form->Graphs().ShowOutput = true;
        form->Graphs().pltCombine.SetLineCount(1);
        form->Graphs().pltCombine.Show();
        QVERIFY(form->Graphs().pltCombine.FormExists());
        form->Project().Title = "Named";
        form->SetDataChanged(true);
        dialogs->SaveResults = {Path("named.kx8d")};
        QVERIFY(form->FileSaveAsClick());
        QCOMPARE(QString::fromStdString(form->Project().FileName), Path("named.kx8d"));
        QCOMPARE(form->windowTitle(), "Kolmar 2017.8.9 - Named");
        QVERIFY(ReadAll(Path("named.kx8d")).contains("Named"));
        QVERIFY(!form->GetDataChanged());
        QCOMPARE(form->CurDir, dir->path());
        QCOMPARE(UserSettings().value(kVersionGroup + "Directory").toString(), dir->path());
        QVERIFY(!form->Graphs().ShowOutput);
        QVERIFY(!form->Graphs().pltCombine.FormExists());

        // Save of a named current-format project asks nothing.
        form->Project().Title = "Renamed";
        QVERIFY(form->FileSaveClick());
        QCOMPARE(dialogs->SaveTitles.size(), 2);
        QVERIFY(ReadAll(Path("named.kx8d")).contains("Renamed"));
    }

    void querySaveChanges() {
        QVERIFY(form->QuerySaveChanges()); // unchanged: nothing to ask
        QVERIFY(dialogs->Questions.isEmpty());

        form->SetDataChanged(true);
        dialogs->Answers = {TUserDialogs::TAnswer::Cancel};
        QVERIFY(!form->QuerySaveChanges());
        dialogs->Answers = {TUserDialogs::TAnswer::No};
        QVERIFY(form->QuerySaveChanges());
        QVERIFY(dialogs->SaveTitles.isEmpty());

        // Yes on a project never saved: a cancelled Save As stops the command.
        dialogs->Answers = {TUserDialogs::TAnswer::Yes};
        QVERIFY(!form->QuerySaveChanges());
        QCOMPARE(dialogs->SaveTitles.size(), 1);

        // Yes on a saved project writes it.
        form->OpenFileName(WriteProject("q.kx8d", "Before"), 1);
        form->Project().Title = "After";
        form->SetDataChanged(true);
        dialogs->Answers = {TUserDialogs::TAnswer::Yes};
        QVERIFY(form->QuerySaveChanges());
        QVERIFY(ReadAll(Path("q.kx8d")).contains("After"));
        QVERIFY(!form->GetDataChanged());

        // A save that fails keeps the command from going on, with the reason shown.
        form->Project().FileName = Path("missing-dir/q.kx8d").toStdString();
        form->SetDataChanged(true);
        dialogs->Answers = {TUserDialogs::TAnswer::Yes};
        QVERIFY(!form->QuerySaveChanges());
        QCOMPARE(dialogs->Messages.size(), 1);
        QVERIFY(form->GetDataChanged());
    }

    void recentFiles() {
        QStringList files;
        for (int i = 1; i <= 11; ++i)
            files << WriteProject(QString("p%1.kx8d").arg(i), "P" + std::to_string(i));
        for (const QString& f : files)
            form->OpenFileName(f, 1);
        // The eleventh file pushed the first one out.
        QCOMPARE(form->Recent.NumberPrevFile(), 10);
        for (int i = 0; i < 10; ++i)
            QCOMPARE(form->Recent.PrevFile[static_cast<std::size_t>(i)],
                     files[10 - i].toStdString());

        // The first again: nothing moves.
        const auto before = form->Recent.PrevFile;
        form->OpenFileName(files[10], 1);
        QVERIFY(form->Recent.PrevFile == before);

        // The fifth goes to the top; the four above it move down; the rest stay.
        form->FileRecentClick(4);
        QCOMPARE(form->Project().Title, "P7");
        const int order[] = {7, 11, 10, 9, 8, 6, 5, 4, 3, 2};
        for (int i = 0; i < 10; ++i)
            QCOMPARE(form->Recent.PrevFile[static_cast<std::size_t>(i)],
                     files[order[i] - 1].toStdString());

        form->FileMenuShow();
        QCOMPARE(form->FileRecent[0]->text(), "1 p7.kx8d"); // the current directory is left out
        QVERIFY(form->FileRecent[9]->isVisible());
        QVERIFY(form->FileRecentSeparator->isVisible());

        // The list is kept in the settings and read back at the next start.
        QCOMPARE(UserSettings().value(kVersionGroup + "File1").toString(), files[6]);
        QCOMPARE(UserSettings().value(kVersionGroup + "File10").toString(), files[1]);
        NewForm();
        form->FormShow();
        QVERIFY(form->Recent.PrevFile[0] == files[6].toStdString());

        UserSettings().clear();
        NewForm();
        form->FormShow();
        form->FileMenuShow();
        QCOMPARE(form->Recent.NumberPrevFile(), 0);
        QVERIFY(!form->FileRecent[0]->isVisible());
        QVERIFY(!form->FileRecentSeparator->isVisible());
    }

    void settings() {
        // No editor: the program's own viewer. The Open dialog starts in the examples.
        QCOMPARE(form->WordProcessor, "");
        QCOMPARE(form->CurDir, KOLMAR_SOURCE_DIR "/examples");

        QSettings s = UserSettings();
        s.setValue(kVersionGroup + "Word Processor", "my-editor");
        s.setValue(kVersionGroup + "Directory", dir->path());
        s.sync();
        NewForm();
        form->FormShow();
        QCOMPARE(form->WordProcessor, "my-editor");
        QCOMPARE(form->CurDir, dir->path());

        form->WordProcessor = "other-editor";
        form->UpdateRegister();
        QCOMPARE(UserSettings().value(kVersionGroup + "Word Processor").toString(), "other-editor");
        QVERIFY(UserSettings().contains(kVersionGroup + "File10"));
    }

    void commandLine() {
        WriteProject("proj.kx8d", "From the command line");
        form->FormShow(Path("proj")); // no dot: the current extension is added
        QCOMPARE(form->Project().Title, "From the command line");
        QCOMPARE(form->windowTitle(), "Kolmar 2017.8.9 - Proj");

        for (const QString& argument : {Path("missing"), Path("notes.txt")}) {
            QFile other(Path("notes.txt"));
            QVERIFY(other.open(QIODevice::WriteOnly));
            other.close();
            NewForm();
            form->FormShow(argument);
            QCOMPARE(form->Project().FileName, std::string(NewProjectFileName));
        }
        QVERIFY(dialogs->Messages.isEmpty());
    }

    void droppedFiles() {
        const QString project = WriteProject("dropped.kx8d", "Dropped");
        form->show();
        // A drop goes to the widget that accepted the drag entering it.
        auto drop = [&](const QString& File) {
            QMimeData mime;
            mime.setUrls({QUrl::fromLocalFile(File)});
            QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton,
                                  Qt::NoModifier);
            QApplication::sendEvent(form.get(), &enter);
            if (!enter.isAccepted())
                return false;
            QDropEvent event(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton,
                             Qt::NoModifier);
            QApplication::sendEvent(form.get(), &event);
            return event.isAccepted();
        };
        QFile text(Path("readme.txt"));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.close();
        QVERIFY(drop(Path("readme.txt"))); // taken, but not a project
        QCOMPARE(form->Project().FileName, std::string(NewProjectFileName));
        QVERIFY(drop(project));
        QCOMPARE(form->Project().Title, "Dropped");
        QCOMPARE(form->CurDir, dir->path());
    }

    void dataChangedFlag() {
        QVERIFY(!form->GetDataChanged());
        form->SetDataChanged(true);
        QVERIFY(form->Project().DataChanged);
        form->SetDataChanged(false);
        QVERIFY(!form->GetDataChanged());

        form->DataUnitsSI->trigger();
        QCOMPARE(form->Project().fUnits, 2);
        QVERIFY(form->GetDataChanged());
        form->DataMenuShow();
        QVERIFY(form->DataUnitsSI->isChecked());
        QVERIFY(!form->DataUnitsEnglish->isChecked());
        form->DataLRFD->trigger();
        QCOMPARE(form->Project().NLRFD, 1);
        form->DataMenuShow();
        QVERIFY(form->DataLRFD->isChecked());

        dialogs->SaveResults = {Path("flag.kx8d")};
        QVERIFY(form->FileSaveClick());
        QVERIFY(!form->GetDataChanged());
    }

    void graphicsMenuAndGraphWindows() {
        form->GraphicsMenuShow();
        QVERIFY(!form->GraphicsItems[giSkin]->isEnabled());

        form->OpenFileName(WriteProject("g.kx8d", "Graphs", true), 1);
        form->GraphicsMenuShow();
        QVERIFY(form->GraphicsItems[giSkin]->isEnabled());
        QVERIFY(form->GraphicsItems[giUpper]->isEnabled());
        QVERIFY(form->GraphicsItems[giTzAdd]->isEnabled());
        QVERIFY(form->GraphicsItems[giLoad]->isEnabled());
        QVERIFY(!form->GraphicsItems[giChart1]->isVisible());
        QCOMPARE(form->GraphicsItems[giCombine]->text(),
                 "Combined Plots vs Depth (Initial Diameter) (ultimate)");

        form->show();
        form->GraphicsItems[giCombine]->trigger();
        form->GraphicsItems[giCombine]->trigger();
        form->GraphicsItems[giTz]->trigger();
        QCOMPARE(form->MdiArea().subWindowList().size(), 2);
        QMdiSubWindow* window = form->MdiArea().subWindowList().first();
        QCOMPARE(window->windowTitle(), "Combined Plots vs Depth (ultimate)");
        QVERIFY(!window->grab().isNull()); // paints
        form->WindowMenuShow();
        QVERIFY(form->WindowSeparator->isVisible());

        // Closing a window frees it; the graph keeps its data.
        window->close();
        QVERIFY(!form->Graphs().pltCombine.FormExists());
        QCOMPARE(form->Graphs().pltCombine.LineCount(), 3);
        form->HideAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!form->Graphs().pltTz.FormExists());
        QVERIFY(form->MdiArea().subWindowList().isEmpty());
        form->WindowMenuShow();
        QVERIFY(!form->WindowSeparator->isVisible());

        // A plot file that is gone offers nothing.
        QVERIFY(QFile::remove(Path("g.kx8p")));
        form->GraphicsMenuShow();
        QVERIFY(!form->GraphicsItems[giSkin]->isEnabled());
    }

    void damagedPlotFile() {
        const QString project = WriteProject("bad.kx8d", "Bad");
        QFile plot(Path("bad.kx8p"));
        QVERIFY(plot.open(QIODevice::WriteOnly));
        plot.write(" 2 4 3\n   0.0  0.0  0.0\n");
        plot.close();
        form->OpenFileName(project, 1); // silently
        QVERIFY(dialogs->Messages.isEmpty());
        QVERIFY(!form->Graphs().ShowOutput);
        QVERIFY(!form->CombinedUltButton->isEnabled());
        // After a run the same failure is reported.
        QVERIFY(!form->ReadPlotData(Path("bad.kx8p"), true));
        QCOMPARE(dialogs->Messages.size(), 1);
        QVERIFY(dialogs->Messages[0].startsWith("An error occured in running the main program."));
    }

    void textEditorCommands() {
        QDir(dir->path()).mkdir("my dir");
        const QString project = WriteProject("my dir/input.kx8d", "Editor");
        form->OpenFileName(project, 1);
        form->ComputationMenuShow();
        QVERIFY(form->CompInput->isEnabled());
        QVERIFY(!form->CompKernel->isEnabled());
        QVERIFY(!form->CompOutput->isEnabled());

        // No editor set: the program's own viewer, without a word.
        form->WordProcessor.clear();
        form->CompInputClick();
        QVERIFY(dialogs->Messages.isEmpty());
        TTextViewer* viewer = TTextViewer::Find(form->MdiArea(), project);
        QVERIFY(viewer);
        QVERIFY(viewer->Text().startsWith("Editor\n"));
        viewer->parentWidget()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!TTextViewer::Find(form->MdiArea(), project));

        // An editor that cannot be started is named, with the place of the setting, and the
        // viewer shows the file all the same.
        form->WordProcessor = Path("no-such-editor") + " -n";
        form->CompInputClick();
        QCOMPARE(dialogs->Messages.size(), 1);
        const QString message = dialogs->Messages[0];
        QVERIFY2(message.startsWith("An error occurred in running the Word Processor\n\"" +
                                    Path("no-such-editor") + " -n\" could not be started"),
                 qPrintable(message));
        QVERIFY(message.contains(QString::fromUtf8("Control Options \u203a Text Editor")));
        QVERIFY(TTextViewer::Find(form->MdiArea(), project));

        // A setting with arguments is split as a shell would split it, without a shell; the
        // path comes last, blanks and all.
        dialogs->Messages.clear();
        const QString script = Path("my dir/editor.sh");
        QFile f(script);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > \"$0.args\"\n");
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        form->WordProcessor = "\"" + script + "\" -n --title 'two words' $HOME;";
        form->CompInputClick();
        QTRY_VERIFY_WITH_TIMEOUT(ReadAll(script + ".args").endsWith(".kx8d\n"), 10000);
        QCOMPARE(QString::fromUtf8(ReadAll(script + ".args")),
                 "5\n-n\n--title\ntwo words\n$HOME;\n" + project + "\n");
        QVERIFY(dialogs->Messages.isEmpty());
    }

    void closeQuery() {
        form->show();
        form->SetDataChanged(true);
        dialogs->Answers = {TUserDialogs::TAnswer::Cancel};
        QVERIFY(!form->close());
        QVERIFY(form->isVisible());
        dialogs->Answers = {TUserDialogs::TAnswer::No};
        QVERIFY(form->close());
        QVERIFY(UserSettings().contains(kVersionGroup + "Directory"));
    }

    void aboutBox() {
        TDlgAbout about;
        QCOMPARE(about.windowTitle(), "About Kolmar");
        QVERIFY(about.isModal());
        QCOMPARE(about.findChild<QLabel*>("ProductName")->text(), "Kolmar 2017");
        QCOMPARE(about.findChild<QLabel*>("Version")->text(), "Version 2017.8.9");
        QCOMPARE(about.findChild<QLabel*>("Date")->text(),
                 QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
        QCOMPARE(about.findChild<QLabel*>("Comments")->text(),
                 "A program for analyzing the axial capacity and short-term settlement of "
                 "drilled shafts under axial loading.");
    }
};

KOLMAR_GUI_TEST_MAIN(TMainFormTest)
#include "mainform_test.moc"
