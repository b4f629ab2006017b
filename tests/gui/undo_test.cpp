// Undo and redo in the main window: a sequence of edits (a value typed with units, a layer
// deleted, the units switched, a layer's kind changed) is taken back step by step and made
// again, and at every step the saved project file is the one saved at that step the first time.
// Undo back to the saved state clears the unsaved mark; New and Open clear the history.
#include "TestSupport.h"

#include "gui/data/DataUnit.h"
#include "gui/dialogs/DataWindowHost.h"
#include "gui/dialogs/ShaftProperties.h"
#include "gui/dialogs/SoilLayers.h"
#include "gui/dialogs/WaterTable.h"
#include "gui/shell/Main.h"
#include "ui/widgets/DataEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

namespace {

void Type(TDataEdit* Field, const QString& Text) {
    Field->setFocus();
    Field->selectAll();
    QTest::keyClicks(Field, Text);
    QTest::keyClick(Field, Qt::Key_Return);
}

QByteArray ReadAll(const QString& Path) {
    QFile f(Path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TUndoTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<TTestDialogs> dialogs;
    std::unique_ptr<TMainForm> form;
    QString project;

    template <class T> T* Open(QAction* Entry, TDataWindowKind Kind) {
        Entry->trigger();
        return qobject_cast<T*>(form->DataWindows().Window(Kind));
    }
    // Saves the project and returns the file's bytes.
    QByteArray Saved() {
        if (!form->FileSaveClick())
            return "save failed: " + dialogs->Messages.join("\n").toUtf8();
        return ReadAll(project);
    }
    bool Marked() const { return form->windowTitle().contains('*'); }

private slots:
    void init() {
        QSettings("Tellvane", "Kolmar").clear();
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        project = dir->filePath("bell.kx8d");
        QVERIFY(QFile::copy(QStringLiteral(KOLMAR_SOURCE_DIR "/examples/clay-bell.kx8d"), project));
        dialogs = std::make_unique<TTestDialogs>();
        form = std::make_unique<TMainForm>(*dialogs);
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->OpenFileName(project);
        QCOMPARE(form->Project().D.RowCount(), 2);
    }

    void cleanup() {
        form.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QDir::setCurrent(QDir::tempPath());
        dir.reset();
    }

    void undoAndRedoEverySaveMatchesTheFirstTime() {
        QVERIFY(!form->EditUndo->isEnabled() && !form->EditRedo->isEnabled());
        QList<QByteArray> files{Saved()};
        QStringList names;

        // 1. A value, typed with units, taken as the user presses Enter.
        auto* shaft = Open<TfrmShaftpeneta>(form->DataShaft, dwShaft);
        QVERIFY(shaft);
        Type(shaft->edtDSTART, "3 ft 6 in");
        QCOMPARE(shaft->edtDSTART->text(), "3.5");
        QCOMPARE(form->Project().DSTART, 3.5);
        names << QString::fromStdString(form->History().UndoName());
        files << Saved();

        // 2. A layer deleted (the first, after its confirmation).
        auto* layers = Open<TDlgSoilLayers>(form->DataLayers, dwLayers);
        QVERIFY(layers);
        layers->SetFocusRow(0);
        dialogs->Answers.push_back(TUserDialogs::TAnswer::Yes);
        layers->btnDelete->click();
        QCOMPARE(form->Project().D.RowCount(), 1);
        names << QString::fromStdString(form->History().UndoName());
        files << Saved();

        // 3. The units switched.
        form->DataUnitsSI->trigger();
        QCOMPARE(form->Project().fUnits, 2);
        names << QString::fromStdString(form->History().UndoName());
        files << Saved();

        // 4. The remaining layer made sand.
        layers->SoilTypeBox(0)->setCurrentIndex(0);
        QCOMPARE(form->Project().D[0].SoilType(), 1);
        names << QString::fromStdString(form->History().UndoName());
        files << Saved();

        QCOMPARE(names, QStringList({"Change Shaft Diameter", "Delete Layer 1",
                                     "Switch to SI Units", "Change Layer 1 Soil Type"}));
        for (int i = 1; i < files.size(); ++i)
            QVERIFY2(files[i] != files[i - 1],
                     qPrintable(QString("step %1 changed nothing").arg(i)));
        QCOMPARE(form->EditUndo->text(), "&Undo Change Layer 1 Soil Type");

        // 5. Undo all: every open window shows the restored project, every save is as before.
        for (int step = 4; step > 0; --step) {
            QCOMPARE(form->EditUndo->text(), "&Undo " + names[step - 1]);
            form->EditUndo->trigger();
            QCOMPARE(Saved(), files[step - 1]);
            QCOMPARE(form->EditRedo->text(), "&Redo " + names[step - 1]);
        }
        QVERIFY(!form->EditUndo->isEnabled());
        QCOMPARE(form->Project().fUnits, 1);
        QCOMPARE(layers->Field(1, lcDepth)->text(), "70"); // the deleted layer is back on screen
        QCOMPARE(shaft->edtDSTART->text(), "3");

        // 6. Redo all.
        for (int step = 1; step <= 4; ++step) {
            form->EditRedo->trigger();
            QCOMPARE(Saved(), files[step]);
        }
        QVERIFY(!form->EditRedo->isEnabled());
        QCOMPARE(layers->SoilTypeBox(0)->currentIndex(), 0);
        QCOMPARE(shaft->edtDSTART->text(), "1.0668"); // 3.5 ft in metres
        QVERIFY2(dialogs->Messages.isEmpty(), qPrintable(dialogs->Messages.join("\n")));
    }

    void undoToTheSavedStateClearsTheMark() {
        auto* water = Open<TfrmWaterDepth>(form->DataWater, dwWaterTable);
        QVERIFY(water);
        const double before = form->Project().WTD;
        Type(water->edtWTD, "12");
        QVERIFY(Marked());
        QCOMPARE(QString::fromStdString(form->History().UndoName()), "Change Water Table Depth");

        // Ctrl+Z in a field that holds no typing of its own reaches the Edit menu.
        water->edtWTD->setFocus();
        QTest::keyClick(water->edtWTD, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(form->Project().WTD, before);
        QCOMPARE(water->edtWTD->text(), TDataEdit::ValueText(before));
        QVERIFY(!Marked());
        QTest::keyClick(water->edtWTD, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(form->Project().WTD, 12.0);
        QVERIFY(Marked());

        // A change after an undo drops the redo steps.
        form->EditUndo->trigger();
        Type(water->edtWTD, "15");
        QVERIFY(!form->EditRedo->isEnabled());
        QCOMPARE(form->Project().WTD, 15.0);
    }

    void newAndOpenClearTheHistory() {
        form->DataUnitsSI->trigger();
        QVERIFY(form->EditUndo->isEnabled());
        dialogs->Answers.push_back(TUserDialogs::TAnswer::No);
        form->FileNew->trigger();
        QVERIFY(!form->EditUndo->isEnabled() && !form->EditRedo->isEnabled());
        form->DataUnitsSI->trigger();
        QVERIFY(form->EditUndo->isEnabled());
        form->OpenFileName(project);
        QVERIFY(!form->EditUndo->isEnabled());
        QCOMPARE(form->EditUndo->text(), "&Undo");
    }
};

KOLMAR_GUI_TEST_MAIN(TUndoTest)
#include "undo_test.moc"
