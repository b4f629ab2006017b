// The Project Overview dock, for an ASD project with a proposed length, an LRFD project over
// several diameters and lengths and a design-load project: after opening, the layers and the
// shaft drawn where the profile puts them and the summary holding the project's values; after a
// run through the real engine, every value at a glance as the report prints it; after a layer
// changes, the out-of-date mark in the dock, on the result windows, Print, Export and the
// Calculation Package, until the next run. Also the clicks on the profile and the remembered
// View › Project Overview.
#include "TestSupport.h"

#include "gui/data/DataUnit.h"
#include "gui/data/ShaftGeometry.h"
#include "gui/dialogs/DataWindowHost.h"
#include "gui/dialogs/SoilLayers.h"
#include "gui/results/OverviewDock.h"
#include "gui/results/PlotForm.h"
#include "gui/shell/Main.h"
#include "ui/widgets/TextViewer.h"

#include <QDockWidget>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTextBlock>

#include <cmath>
#include <map>

namespace {

struct TExample {
    const char* File;
    bool Lrfd;
    bool DesignLoad;
    int Cases;
};
const TExample kExamples[] = {
    {"sand-water-table.kx8d", false, false, 1},
    {"sand-over-clay.kx8d", true, false, 24},
    {"clay-bell.kx8d", false, true, 1},
};

std::map<QString, QString> ByLabel(const std::vector<TOverviewLine>& Lines) {
    std::map<QString, QString> byLabel;
    for (const TOverviewLine& line : Lines)
        byLabel[QString::fromStdString(line.Label)] = QString::fromStdString(line.Value);
    return byLabel;
}

// The number at the front of a value ("394.4 tons" -> "394.4").
QString Number(const QString& Value) {
    return Value.section(' ', 0, 0);
}

// The first capacity table's row at Length, split into words.
QStringList ReportRowAt(const QStringList& Report, const QString& Length) {
    bool inTable = false;
    for (const QString& line : Report) {
        if (line.contains("LENGTH  VOLUME"))
            inTable = true;
        else if (inTable) {
            const QStringList words = line.simplified().split(' ', Qt::SkipEmptyParts);
            if (!words.isEmpty() && words[0] == Length)
                return words;
        }
    }
    return {};
}

// The report's first printed load-settlement line under Heading: (top load, top movement).
std::vector<std::pair<double, double>> ReportLine(const QStringList& Report,
                                                  const QString& Heading) {
    std::vector<std::pair<double, double>> points;
    // The load-settlement section, past the t-z listing's headings of the same words.
    const int section =
        static_cast<int>(Report.indexOf(QRegularExpression(".*AXIAL LOAD VS SETTLEMENT CURVES.*")));
    int i =
        section < 0
            ? -1
            : static_cast<int>(Report.indexOf(QRegularExpression(".*" + Heading + ".*"), section));
    if (i < 0)
        return points;
    for (i += 4; i < Report.size(); ++i) { // past the heading, a blank and two header lines
        const QStringList words = Report[i].simplified().split(' ', Qt::SkipEmptyParts);
        bool a = false, b = false;
        if (words.size() < 2)
            break;
        const double load = words[0].toDouble(&a), movement = words[1].toDouble(&b);
        if (!a || !b)
            break;
        points.emplace_back(load, movement);
    }
    return points;
}

// The value of a "LABEL = value" line of the report.
QString ReportValue(const QStringList& Report, const QString& Label) {
    for (const QString& line : Report)
        if (line.contains(Label) && line.contains('='))
            return line.section('=', 1).simplified().section(' ', 0, 0);
    return {};
}

} // namespace

class TOverviewTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<TTestDialogs> dialogs;
    std::unique_ptr<TMainForm> form;

    QString OpenExample(const QString& Example) {
        const QString copy = dir->filePath(Example);
        if (!QFile::exists(copy))
            QFile::copy(KOLMAR_SOURCE_DIR "/examples/" + Example, copy);
        form->OpenFileName(copy, 1);
        return copy;
    }

    TProjectOverview& Overview() { return form->Overview(); }

    void Run() {
        dialogs->Messages.clear();
        form->CompRunClick();
        QVERIFY2(!dialogs->Messages.isEmpty() &&
                     dialogs->Messages[0].startsWith("Computations are completed"),
                 qPrintable(dialogs->Messages.join("\n")));
    }

    // The layer bands stacked from the ground down, each as high as its layer is thick on one
    // scale, and the shaft from the ground to its length on that scale, about the middle.
    void CheckProfile(const TProgramData& P, double Length) {
        const TOverviewProfile& profile = *Overview().Profile;
        const std::vector<QRect>& bands = profile.LayerAreas();
        QCOMPARE(static_cast<int>(bands.size()), P.D.RowCount());
        const double scale = (bands.back().bottom() - bands.front().top()) /
                             P.D[P.D.RowCount() - 1].Depth; // pixels per length unit
        QVERIFY(scale > 0);
        double top = 0;
        for (int i = 0; i < P.D.RowCount(); ++i) {
            const QRect& band = bands[static_cast<std::size_t>(i)];
            if (i > 0) // a band begins where the one above ends
                QCOMPARE(band.top(), bands[static_cast<std::size_t>(i - 1)].bottom());
            QVERIFY2(std::abs(band.height() - (P.D[i].Depth - top) * scale) <= 2,
                     qPrintable(QString("layer %1 is %2 px high").arg(i + 1).arg(band.height())));
            top = P.D[i].Depth;
        }
        const QRect shaft = profile.ShaftArea();
        const double length = Length;
        QVERIFY(std::abs(shaft.top() - bands.front().top()) <= 1);
        QVERIFY2(std::abs(shaft.height() - length * scale) <= 3,
                 qPrintable(QString("shaft %1 px for %2").arg(shaft.height()).arg(length)));
        QVERIFY(std::abs(shaft.center().x() - profile.width() / 2) <= profile.width() / 4);
        // And painted there: the shaft's grey in the middle of its outline.
        const QImage picture = Overview().Profile->grab().toImage();
        const QColor middle = picture.pixelColor(shaft.center().x(), shaft.center().y());
        QVERIFY2(middle == QColor(128, 128, 128) || middle == QColor(255, 0, 0) ||
                     middle == QColor(0, 0, 255),
                 qPrintable(middle.name()));
    }

    // Every value at a glance as the report prints it, the settlements as read off the report's
    // printed curves (four significant digits).
    void CheckGlance(const QString& Report, const TExample& Example) {
        QFile file(Report);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromLatin1(file.readAll()).split('\n');
        QVERIFY(Overview().HasResults());
        const auto glance = ByLabel(Overview().Glance()->Lines);
        const QString length = Number(glance.at(Example.DesignLoad ? "Design length" : "Length"));
        const QStringList row = ReportRowAt(lines, length);
        QVERIFY2(row.size() == 8, qPrintable(length + ": " + row.join(' ')));
        QCOMPARE(Number(glance.at("QS")), row[2]);
        QCOMPARE(Number(glance.at("QB")), row[3]);
        QCOMPARE(Number(glance.at("QU")), row[4]);
        if (Example.Lrfd) {
            QCOMPARE(Number(glance.at("LRFD QS")), row[5]);
            QCOMPARE(Number(glance.at("LRFD QB")), row[6]);
            QCOMPARE(Number(glance.at("LRFD QU")), row[7]);
        } else {
            QCOMPARE(Number(glance.at("QBD")), row[5]);
            QCOMPARE(Number(glance.at("QDN")), row[6]);
        }
        if (Example.DesignLoad)
            QCOMPARE(Number(glance.at("Design load")), ReportValue(lines, "TOTAL LOAD"));
        const double load = Overview().Glance()->Load;
        const std::pair<const char*, const char*> curves[] = {
            {"  trend line", "RESULT FROM TREND"},
            {"  upper bound", "RESULT FROM UPPER-BOUND LINE"},
            {"  lower bound", "RESULT FROM LOWER-BOUND LINE"}};
        for (const auto& [name, heading] : curves) {
            QCOMPARE(Number(glance.at("Settlement at")),
                     QString::fromStdString(FixedText(load, 1)));
            const QString label = name;
            QVERIFY2(glance.count(label), qPrintable(label));
            const auto printed = SettlementAtLoad(ReportLine(lines, heading), load);
            QVERIFY2(printed, heading);
            const double shown = Number(glance.at(label)).toDouble();
            QVERIFY2(std::abs(shown - *printed) <= 2e-3 * *printed + 1e-4,
                     qPrintable(QString("%1: %2 shown, %3 from the report")
                                    .arg(label)
                                    .arg(shown)
                                    .arg(*printed)));
        }
        // The summary's shaft as the report prints it.
        const auto summary = ByLabel(Overview().Summary());
        const QString diameter =
            summary.count("Diameter") ? summary.at("Diameter") : summary.at("Diameters");
        QCOMPARE(Number(diameter), ReportValue(lines, "MINIMUM SHAFT DIAMETER"));
        QCOMPARE(Number(summary.at("Ignored top")), ReportValue(lines, "IGNORED TOP PORTION"));
        QCOMPARE(Number(summary.at("Ignored bottom")),
                 ReportValue(lines, "IGNORED BOTTOM PORTION"));
        QCOMPARE(Overview().CasesTable->isVisibleTo(&Overview()), Example.Cases > 1);
        if (Example.Cases > 1)
            QCOMPARE(Overview().CasesTable->rowCount(), Example.Cases);
        QVERIFY(Overview().StatusText->text().contains("normal completion"));
    }

private slots:
    void init() {
        QSettings("Tellvane", "Kolmar").clear();
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        dialogs = std::make_unique<TTestDialogs>();
        form = std::make_unique<TMainForm>(*dialogs);
        form->resize(1400, 900);
        form->show();
    }

    void cleanup() {
        form.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QDir::setCurrent(QDir::tempPath());
        dir.reset();
    }

    void openRunAndChange_data() {
        QTest::addColumn<int>("example");
        for (int i = 0; i < 3; ++i)
            QTest::newRow(kExamples[i].File) << i;
    }

    void openRunAndChange() {
        QFETCH(int, example);
        const TExample& e = kExamples[example];
        const QString project = OpenExample(e.File);
        QVERIFY(form->OverviewDock().isVisible());
        QApplication::processEvents();

        // Opened: the profile and the summary of the project, and no results yet.
        const TProgramData& p = form->Project();
        CheckProfile(p, ElevationLength(p).L);
        const auto summary = ByLabel(Overview().Summary());
        QCOMPARE(summary.at("Method"), QString(e.Lrfd ? "LRFD" : "ASD"));
        QCOMPARE(summary.at("Layers"), QString::number(p.D.RowCount()));
        QCOMPARE(Number(summary.at("Water table")).toDouble(), p.WTD);
        if (e.DesignLoad)
            QCOMPARE(Number(summary.at("Design load")).toDouble(), p.LPD);
        else if (e.Cases == 1)
            QCOMPARE(Number(summary.at("Shaft length")).toDouble(), p.PD);
        for (const auto& [label, value] : summary)
            QVERIFY2(Overview().SummaryText->text().contains(value.toHtmlEscaped()),
                     qPrintable(label));
        QVERIFY(!Overview().HasResults());
        QVERIFY(!form->GetDataChanged()); // drawing the profile changes nothing

        // Run: the results at a glance, current.
        Run();
        QVERIFY(!Overview().IsOutOfDate());
        CheckGlance(QFileInfo(project).absolutePath() + "/" +
                        QFileInfo(project).completeBaseName() + ".kx8o",
                    e);
        QVERIFY(!Overview().OutOfDateText->isVisibleTo(&Overview()));
        // A design-load shaft is drawn to the design length the run found.
        CheckProfile(p, e.DesignLoad ? Overview().Glance()->Cases.front().Length
                                     : ElevationLength(p).L);
        QVERIFY(!form->GetDataChanged());

        // The report and a graph open, then a layer changes as the layer editor changes it.
        form->CompOutputClick();
        form->Graphs().pltAxial.Show();
        auto* plot = dynamic_cast<TPlotForm*>(form->Graphs().pltAxial.Form());
        QVERIFY(plot);
        QVERIFY(!plot->windowTitle().contains("out of date"));
        const std::vector<QRect> before = Overview().Profile->LayerAreas();
        form->Project().D[0].Depth += 1.0;
        form->SetDataChanged(true);
        QVERIFY(Overview().IsOutOfDate());
        QVERIFY(Overview().OutOfDateText->isVisibleTo(&Overview()));
        QVERIFY(Overview().OutOfDateText->text().contains("out of date, run again"));
        QVERIFY(plot->windowTitle().contains("out of date, run again"));
        QVERIFY(plot->PrintItem->text().contains("out of date, run again"));
        TTextViewer* report = nullptr;
        for (QMdiSubWindow* w : form->MdiArea().subWindowList())
            if (auto* v = qobject_cast<TTextViewer*>(w->widget()))
                report = v;
        QVERIFY(report);
        QVERIFY(report->parentWidget()->windowTitle().contains("out of date, run again"));
        QVERIFY(report->btnPrint->text().contains("out of date, run again"));
        QVERIFY(qobject_cast<QMenu*>(form->FilePackagePrint->parent())
                    ->title()
                    .contains("out of date, run again"));
        form->GraphicsMenuShow();
        QVERIFY(form->GraphicsItems[giExport]->text().contains("out of date, run again"));

        // The profile followed the change at once.
        QVERIFY(Overview().Profile->LayerAreas() != before);
        CheckProfile(form->Project(), ElevationLength(form->Project()).L);

        // Saved, the project is newer than its results: still out of date, until the next run.
        QVERIFY(form->FileSaveClick());
        QVERIFY(Overview().IsOutOfDate());
        Run();
        QVERIFY(!Overview().IsOutOfDate());
        QVERIFY(!qobject_cast<QMenu*>(form->FilePackagePrint->parent())
                     ->title()
                     .contains("out of date"));
    }

    // A click on a layer opens the layer editor at that layer; on the shaft, the shaft window.
    void clicksOpenTheirWindows() {
        OpenExample("clay-bell.kx8d");
        QApplication::processEvents();
        TOverviewProfile& profile = *Overview().Profile;
        const QRect band = profile.LayerAreas().at(1);
        QTest::mouseClick(&profile, Qt::LeftButton, {}, QPoint(band.left() + 4, band.center().y()));
        TDataWindow* layers = form->DataWindows().Window(dwLayers);
        QVERIFY(layers);
        auto* editor = qobject_cast<TDlgSoilLayers*>(layers);
        QVERIFY(editor);
        QCOMPARE(editor->LayerGrid->currentRow(), 1);
        QVERIFY(!form->DataWindows().Window(dwShaft));
        QTest::mouseClick(&profile, Qt::LeftButton, {}, profile.ShaftArea().center());
        QVERIFY(form->DataWindows().Window(dwShaft));
    }

    // View › Project Overview hides and shows the dock, and the next session remembers it; New
    // and Open show it again.
    void viewCommandIsRemembered() {
        QVERIFY(form->OverviewDock().isVisible());
        QVERIFY(form->ViewOverview->isChecked());
        form->ViewOverview->trigger();
        QVERIFY(!form->OverviewDock().isVisible());
        form.reset();
        form = std::make_unique<TMainForm>(*dialogs);
        form->show();
        QVERIFY(!form->OverviewDock().isVisible());
        QVERIFY(!form->ViewOverview->isChecked());
        // A project made new comes with its overview, and the choice follows.
        form->FileNewClick();
        QVERIFY(form->OverviewDock().isVisible());
        QVERIFY(form->ViewOverview->isChecked());
        form->ViewOverview->trigger();
        QVERIFY(!form->OverviewDock().isVisible());
        form->ViewOverview->trigger();
        QVERIFY(form->OverviewDock().isVisible());
        form.reset();
        form = std::make_unique<TMainForm>(*dialogs);
        form->show();
        QVERIFY(form->OverviewDock().isVisible());
    }

    // A run that stops: its status, and its error block a link to the run notes at the block.
    void problemLinksOpenTheNotesAtTheBlock() {
        const QString copy = dir->filePath("short-profile.kx8d");
        QVERIFY(QFile::copy(KOLMAR_TEST_DATA "/data/short-profile.kx8d", copy));
        form->OpenFileName(copy, 1);
        form->CompRunClick();
        QVERIFY(Overview().HasResults());
        QCOMPARE(Overview().Glance()->Status, 7);
        QCOMPARE(Overview().Glance()->Errors, 1);
        const QString status = Overview().StatusText->text();
        QVERIFY2(status.contains("Status 7") && status.contains("1 error") &&
                     status.contains("href=\"notes:0\""),
                 qPrintable(status));
        emit Overview().StatusText->linkActivated("notes:0");
        TTextViewer* notes =
            TTextViewer::Find(form->MdiArea(), dir->filePath("short-profile.kx8r"));
        QVERIFY(notes);
        const QString line = notes->Editor->textCursor().block().text();
        QVERIFY2(line.contains("NEED ANOTHER SOIL LAYER"), qPrintable(line));
        QVERIFY(notes->Editor->textCursor().blockNumber() > 0);
    }

    // A new project shows its profile and no results.
    void newProjectHasNoResults() {
        OpenExample("sand-water-table.kx8d");
        Run();
        QVERIFY(Overview().HasResults());
        form->FileNewClick();
        QVERIFY(!Overview().HasResults());
        QVERIFY(!Overview().ReportButton->isEnabled());
        QVERIFY(!Overview().OutOfDateText->isVisibleTo(&Overview()));
    }
};

KOLMAR_GUI_TEST_MAIN(TOverviewTest)
#include "overview_test.moc"
