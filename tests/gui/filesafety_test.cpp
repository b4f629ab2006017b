// Files handled safely by the main window: older and damaged projects through every way of
// opening them, a damaged project that Save never writes over its file unasked, titles kept
// byte for byte, and Save As of an unchanged project keeping its results and windows.
#include "TestSupport.h"

#include "gui/data/DataUnit.h"
#include "gui/dialogs/DataWindowHost.h"
#include "gui/dialogs/Title.h"
#include "gui/shell/Main.h"

#include <QLineEdit>
#include <QMdiArea>

namespace {

QByteArray ReadAll(const QString& Path) {
    QFile f(Path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& Path, const QByteArray& Bytes) {
    QFile f(Path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(Bytes);
}

QByteArray DataFile(const char* Name) {
    return ReadAll(QString(KOLMAR_SOURCE_DIR "/tests/model/data/") + Name);
}

int ControlLineWords(const QByteArray& Text) {
    return static_cast<int>(Text.split('\n').value(2).trimmed().split(' ').size());
}

// A current-format project of one sand layer, 11 words on its control line; with TZ, one
// that asks for additional t-z curves, as a project whose plot file carries them does.
QByteArray CurrentProject(const std::string& Title, bool TZ = false) {
    auto p = TProgramData::Create();
    p->Title = Title;
    p->PrintTZCurves = TZ ? 1 : 0;
    return QByteArray::fromStdString(p->SaveToText());
}

} // namespace

class TFileSafetyTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<TTestDialogs> dialogs;
    std::unique_ptr<TMainForm> form;

    QString Path(const QString& Name) const { return dir->filePath(Name); }
    // The main window's caption without the name of a maximised child window.
    QString Caption() const { return form->windowTitle().section(" - [", 0, 0); }

    void NewForm() {
        form.reset();
        form = std::make_unique<TMainForm>(*dialogs);
    }

    // Opens File the way Via names: the Open dialog with filter 1 to 4, the recent list, the
    // command line or a drop.
    void OpenVia(const QString& Via, const QString& File) {
        if (Via.startsWith("menu")) {
            dialogs->OpenResults = {{File, Via.right(1).toInt()}};
            form->FileOpenClick();
        } else if (Via == "recent") {
            form->Recent.PrevFile[0] = File.toStdString();
            form->FileRecentClick(0);
        } else if (Via == "command line") {
            NewForm();
            form->FormShow(File);
        } else {
            form->FormDropFiles({File});
        }
    }

private slots:
    void init() {
        QSettings("Tellvane", "Kolmar").clear();
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

    // Every row: a file, the way it is opened, and what comes of it: the project (title and
    // design method), the caption, the damaged mark, and what a plain Save then does.
    void openedEveryWay_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("via");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("nlrfd");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("damaged");
        QTest::addColumn<QString>("save"); // "in place" or "asks a name"

        QByteArray word = CurrentProject("Bad word");
        const int line5 = static_cast<int>(word.indexOf("1 0 0 2.5 3"));
        word.replace(line5, 11, "1 ten 0 2.5 3");
        const QByteArray cut = CurrentProject("Cut short").left(40);
        const struct {
            const char* File;
            QByteArray Content;
            const char* Title;
            int NLRFD;
            const char* Caption;
            bool Damaged;
            const char* Save;
        } files[] = {
            {"six.kxd", DataFile("old60.kxd"), "Older project, 6.0 layout", 2, "Six.kxd", false,
             "asks a name"},
            {"six.kx8d", DataFile("old60.kxd"), "Older project, 6.0 layout", 2, "Six", false,
             "in place"},
            {"old.kxd", DataFile("old2012.kxd"), "Older project, 2012 layout", 2, "Old.kxd", false,
             "asks a name"},
            {"bad.kx8d", word, "Bad word", 2, "Bad (damaged)", true, "asks a name"},
            {"cut.kx8d", cut, "Cut short", 2, "Cut (damaged)", true, "asks a name"},
        };
        for (const auto& f : files)
            for (const char* via :
                 {"menu 1", "menu 2", "menu 3", "menu 4", "recent", "command line", "drop"})
                QTest::addRow("%s by %s", f.File, via)
                    << f.File << f.Content << via << f.Title << f.NLRFD
                    << QString("Kolmar 2017.8.9 - ") + f.Caption << f.Damaged << f.Save;
    }
    void openedEveryWay() {
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        QFETCH(QString, via);
        QFETCH(QString, title);
        QFETCH(int, nlrfd);
        QFETCH(QString, caption);
        QFETCH(bool, damaged);
        QFETCH(QString, save);
        WriteAll(Path(file), content);

        OpenVia(via, Path(file));
        const TProgramData& p = form->Project();
        QCOMPARE(QString::fromStdString(p.FileName), Path(file));
        QCOMPARE(QString::fromStdString(p.Title), title);
        if (!damaged)
            QCOMPARE(p.NLRFD, nlrfd); // a damaged read may stop before the design method
        QCOMPARE(form->windowTitle(), caption);
        QCOMPARE(p.Damaged, damaged);
        if (damaged) {
            QCOMPARE(dialogs->Messages.size(), 1);
            QVERIFY2(dialogs->Messages[0].contains(Path(file)), qPrintable(dialogs->Messages[0]));
            QVERIFY2(dialogs->Messages[0].contains("Error on Line "),
                     qPrintable(dialogs->Messages[0]));
        } else {
            QVERIFY2(dialogs->Messages.isEmpty(), qPrintable(dialogs->Messages.join("\n")));
        }
        if (via != "recent") // a file read with an error is not made recent
            QCOMPARE(form->Recent.PrevFile[0] == Path(file).toStdString(), !damaged);

        // Save: a name is asked (cancelled here) and the file is left alone, or it is written
        // where it is, in the current layout.
        const bool saved = form->FileSaveClick();
        if (save == "asks a name") {
            QVERIFY(!saved);
            QCOMPARE(dialogs->SaveTitles.size(), 1);
            QCOMPARE(ReadAll(Path(file)), content);
        } else {
            QVERIFY(saved);
            QVERIFY(dialogs->SaveTitles.isEmpty());
            QCOMPARE(ControlLineWords(ReadAll(Path(file))), 11);
        }
    }

    void damagedProjectSaveNeverTouchesTheOriginal() {
        QByteArray original = CurrentProject("Layers follow");
        original.replace(original.indexOf("1 0 0 2.5 3"), 11, "1 ten 0 2.5 3");
        const QString file = Path("layers.kx8d");
        WriteAll(file, original);
        form->OpenFileName(file);
        QVERIFY(form->Project().Damaged);

        // Save, Save As onto the file with the question answered No, a changed project that
        // New asks to save: each asks for a name and leaves the file alone. A run stops at its
        // check of the values (the damaged project lacks the shaft's), before it would ask.
        QVERIFY(!form->FileSaveClick());
        dialogs->SaveResults = {file};
        dialogs->Answers = {TUserDialogs::TAnswer::No};
        QVERIFY(!form->FileSaveAsClick());
        QCOMPARE(dialogs->Questions.size(), 1);
        QVERIFY2(dialogs->Questions[0].contains(file), qPrintable(dialogs->Questions[0]));
        form->Project().Title = "Edited";
        form->SetDataChanged(true);
        QCOMPARE(form->windowTitle(), "Kolmar 2017.8.9 - Layers* (damaged)");
        dialogs->Answers = {TUserDialogs::TAnswer::Yes};
        form->FileNewClick();
        QCOMPARE(form->Project().Title, "Edited"); // the cancelled Save As stopped New
        form->CompRunClick();
        QCOMPARE(dialogs->SaveTitles.size(), 3);
        QCOMPARE(ReadAll(file), original);
        QVERIFY(!QFile::exists(Path("names.dat")));

        // Another name: written there; the project is whole from now on.
        dialogs->SaveResults = {Path("rescued.kx8d")};
        QVERIFY(form->FileSaveClick());
        QCOMPARE(ReadAll(file), original);
        QVERIFY(ReadAll(Path("rescued.kx8d")).startsWith("Edited\r\n"));
        QVERIFY(!form->Project().Damaged);
        QCOMPARE(form->windowTitle(), "Kolmar 2017.8.9 - Rescued");

        // Only a Yes to the question that names the file writes over it.
        form->OpenFileName(file);
        dialogs->SaveResults = {file};
        dialogs->Answers = {TUserDialogs::TAnswer::Yes};
        QVERIFY(form->FileSaveClick());
        QCOMPARE(ControlLineWords(ReadAll(file)), 11);
        QVERIFY(ReadAll(file) != original);
    }

    // Titles are bytes: a Latin-1 title and one of 100 characters survive opening, a visit to
    // the Title window and a save, byte for byte.
    void titlesKeptAsWritten_data() {
        QTest::addColumn<QByteArray>("title");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QByteArray>("edited"); // the first ten characters and "!" typed anew
        QTest::newRow("Latin-1") << QByteArray("Pfahl M\xfchlstra\xdf"
                                               "e, \xe4u\xdf"
                                               "erer Rand")
                                 << QString::fromUtf8("Pfahl Mühlstraße, äußerer Rand")
                                 << QByteArray("Pfahl M\xfchl!");
        QTest::newRow("100 characters")
            << QByteArray(100, 'x') << QString(100, 'x') << QByteArray("xxxxxxxxxx!");
        QTest::newRow("UTF-8") << QByteArray("Pfeiler \xc3\xa4") << QString::fromUtf8("Pfeiler ä")
                               << QByteArray("Pfeiler \xc3\xa4!");
    }
    void titlesKeptAsWritten() {
        QFETCH(QByteArray, title);
        QFETCH(QString, shown);
        QFETCH(QByteArray, edited);
        const QByteArray rest = CurrentProject("x");
        const QByteArray content = title + rest.mid(rest.indexOf("\r\n"));
        const QString file = Path("titled.kx8d");
        WriteAll(file, content);
        form->show();
        form->OpenFileName(file);
        QCOMPARE(QByteArray::fromStdString(form->Project().Title), title);

        auto* window = static_cast<TdlgTitle*>(form->DataWindows().Open(dwTitle));
        QVERIFY(window);
        QCOMPARE(window->edtTitle->text(), shown);
        QVERIFY(form->DataWindows().Close(dwTitle));
        QVERIFY(!form->GetDataChanged());
        QCOMPARE(QByteArray::fromStdString(form->Project().Title), title);
        QVERIFY(form->FileSaveClick());
        QCOMPARE(ReadAll(file), content);

        // A title typed anew keeps the encoding of the one it replaces.
        window = static_cast<TdlgTitle*>(form->DataWindows().Open(dwTitle));
        window->edtTitle->setText(shown.left(10) + "!");
        QVERIFY(form->DataWindows().Close(dwTitle));
        QCOMPARE(QByteArray::fromStdString(form->Project().Title), edited);
        // Typing stops at 80 characters.
        window = static_cast<TdlgTitle*>(form->DataWindows().Open(dwTitle));
        window->edtTitle->clear();
        QTest::keyClicks(window->edtTitle, QString(120, 'y'));
        QCOMPARE(window->edtTitle->text().size(), 80);
    }

    void saveAsOfAnUnchangedProjectKeepsItsResults() {
        const QString file = Path("first.kx8d");
        WriteAll(file, CurrentProject("Results", true));
        QVERIFY(QFile::copy(KOLMAR_SOURCE_DIR "/tests/results/data/two-diameters.plt",
                            Path("first.kx8p")));
        WriteAll(Path("first.kx8o"), "report\n");
        WriteAll(Path("second.kx8r"), "stale notes of the file replaced\n");
        form->show();
        form->OpenFileName(file);
        QVERIFY(form->Graphs().ShowOutput);
        form->show();
        form->Graphs().pltCombine.Show();
        form->DataWindows().Open(dwTitle);

        dialogs->SaveResults = {Path("second.kx8d")};
        QVERIFY(form->FileSaveAsClick());
        QCOMPARE(Caption(), "Kolmar 2017.8.9 - Second");
        QVERIFY(form->Graphs().ShowOutput);
        QVERIFY(form->Graphs().pltCombine.FormExists());
        QVERIFY(form->DataWindows().Window(dwTitle));
        QCOMPARE(ReadAll(Path("second.kx8p")), ReadAll(Path("first.kx8p")));
        QCOMPARE(ReadAll(Path("second.kx8o")), QByteArray("report\n"));
        QVERIFY(!QFile::exists(Path("second.kx8r")));
        QVERIFY(form->ViewOutputButton->isEnabled());
        QCOMPARE(form->Recent.PrevFile[0], Path("second.kx8d").toStdString());
        QCOMPARE(form->Recent.PrevFile[1], file.toStdString());

        // A change is marked in the caption; Save As of the changed project drops the results.
        form->SetDataChanged(true);
        QCOMPARE(Caption(), "Kolmar 2017.8.9 - Second*");
        dialogs->SaveResults = {Path("third.kx8d")};
        QVERIFY(form->FileSaveAsClick());
        QCOMPARE(Caption(), "Kolmar 2017.8.9 - Third");
        QVERIFY(!form->Graphs().ShowOutput);
        QVERIFY(!form->Graphs().pltCombine.FormExists());
        QVERIFY(!QFile::exists(Path("third.kx8p")));
    }
};

KOLMAR_GUI_TEST_MAIN(TFileSafetyTest)
#include "filesafety_test.moc"
