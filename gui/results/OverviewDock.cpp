// The Project Overview: the profile through the elevation view's painting, the summary, the
// results at a glance read from the results file, and the out-of-date mark by the calculation
// package's rule.
#include "gui/results/OverviewDock.h"

#include "gui/data/DataUnit.h"
#include "gui/data/ShaftGeometry.h"
#include "gui/results/CalcPackageFiles.h"
#include "gui/results/PileSide.h"
#include "gui/run/RunNotes.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

QString Q(const std::string& S) {
    return QString::fromStdString(S);
}

// Label and value lines as a two-column table, a bold heading for every group.
QString LinesHtml(const std::vector<TOverviewLine>& Lines) {
    QString html = "<table cellspacing=0 cellpadding=1>";
    std::string group;
    for (const TOverviewLine& line : Lines) {
        if (line.Group != group) {
            group = line.Group;
            html += "<tr><td colspan=2><b>" + Q(group).toHtmlEscaped() + "</b></td></tr>";
        }
        html += "<tr><td>" + Q(line.Label).toHtmlEscaped().replace("  ", "&nbsp;&nbsp;&nbsp;") +
                "&nbsp;&nbsp;</td><td>" + Q(line.Value).toHtmlEscaped() + "</td></tr>";
    }
    return html + "</table>";
}

std::string ReadWhole(const fs::path& Path) {
    std::ifstream in(Path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The profile

TOverviewProfile::TOverviewProfile(QWidget* Parent)
    : QWidget(Parent), fCopy(TProgramData::Create()) {
    fView = std::make_unique<TDlgSideView>([this]() -> TProgramData& { return *fCopy; });
    setMinimumSize(300, 320); // the layers' labels beside the depth scale
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setCursor(Qt::PointingHandCursor);
    setToolTip("Click a layer to edit the soil layers, the shaft to edit the shaft");
}

TOverviewProfile::~TOverviewProfile() = default;

void TOverviewProfile::Show(const TProgramData& Project) {
    *fCopy = Project;
    fView->FormActivate();
    Place();
    update();
}

QRect TOverviewProfile::PictureArea() const {
    // Room above the ground for the diameter's dimension line.
    return rect().adjusted(0, fontMetrics().height() + 4, 0, 0);
}

void TOverviewProfile::Place() {
    // The elevation's world window over the picture area, as Draw maps it.
    fLayers.clear();
    fShaft = QRect();
    const QRect area = PictureArea();
    const int w = area.width(), h = area.height(), y = area.top();
    const TWorldWindow win = ::WorldWindow(fView->Extent(), w, h);
    if (win.NoDraw)
        return;
    const double d = fCopy->DSTART;
    double top = 0.0;
    for (const TSoilLayer& layer : fCopy->D) {
        const int y0 = PixelY(win, top + 2.0 * d, h), y1 = PixelY(win, layer.Depth + 2.0 * d, h);
        fLayers.push_back(QRect(QPoint(0, y + y0), QPoint(w - 1, y + y1)));
        top = layer.Depth;
    }
    for (const TShaftSegment& s : fView->Data())
        for (const TWorldPoint& p : s.Corners)
            fShaft = fShaft.united(QRect(PixelX(win, p.X, w), y + PixelY(win, p.Y, h), 1, 1));
}

void TOverviewProfile::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setFont(font());
    fView->Draw(painter, PictureArea());
}

void TOverviewProfile::resizeEvent(QResizeEvent* Event) {
    QWidget::resizeEvent(Event);
    Place();
}

void TOverviewProfile::mousePressEvent(QMouseEvent* Event) {
    const QPoint at = Event->position().toPoint();
    // The shaft lies over the layers: it goes first, with a few pixels of grace either side.
    if (!fShaft.isNull() && fShaft.adjusted(-3, -3, 3, 3).contains(at)) {
        emit ShaftClicked();
        return;
    }
    for (std::size_t i = 0; i < fLayers.size(); ++i)
        if (fLayers[i].contains(at)) {
            emit LayerClicked(static_cast<int>(i));
            return;
        }
}

// ---------------------------------------------------------------------------------------------
// The overview

TProjectOverview::TProjectOverview(QWidget* Parent) : QWidget(Parent) {
    Profile = new TOverviewProfile;
    SummaryText = new QLabel;
    SummaryText->setObjectName("OverviewSummary");
    SummaryText->setTextFormat(Qt::RichText);
    SummaryText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    SummaryText->setTextInteractionFlags(Qt::TextSelectableByMouse);

    // The profile down the whole height; beside it the summary over the results.
    auto* side = new QVBoxLayout;
    side->addWidget(SummaryText);
    side->addWidget(MakeResultsBox(), 1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(Profile, 1);
    layout->addLayout(side);

    connect(Profile, &TOverviewProfile::LayerClicked, this, &TProjectOverview::LayerClicked);
    connect(Profile, &TOverviewProfile::ShaftClicked, this, &TProjectOverview::ShaftClicked);
    ClearResults();
}

QWidget* TProjectOverview::MakeResultsBox() {
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    OutOfDateText = new QLabel;
    OutOfDateText->setObjectName("OverviewOutOfDate");
    OutOfDateText->setStyleSheet("QLabel { color: #b00000; font-weight: bold; }");
    OutOfDateText->setWordWrap(true);
    StatusText = new QLabel;
    StatusText->setObjectName("OverviewStatus");
    StatusText->setTextFormat(Qt::RichText);
    StatusText->setWordWrap(true);
    connect(StatusText, &QLabel::linkActivated, this, [this](const QString& Link) {
        // "notes:N" is the N-th problem block of the run notes; "notes:" their top.
        const int index = Link.mid(6).toInt();
        if (Link == "notes:" || !fGlance || index < 0 ||
            index >= static_cast<int>(fGlance->Messages.size())) {
            emit NotesClicked(QString());
            return;
        }
        const QString text = Q(fGlance->Messages[static_cast<std::size_t>(index)].second);
        emit NotesClicked(text.section('\n', 0, 0).trimmed());
    });
    ResultsText = new QLabel;
    ResultsText->setObjectName("OverviewResults");
    ResultsText->setTextFormat(Qt::RichText);
    ResultsText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    CasesTable = new QTableWidget;
    CasesTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    CasesTable->verticalHeader()->hide();
    CasesTable->setMaximumHeight(160);

    auto* buttons = new QGridLayout;
    ReportButton = new QPushButton("Report");
    NotesButton = new QPushButton("Run Notes");
    CapacityButton = new QPushButton("Capacity Plot");
    SettlementButton = new QPushButton("Load vs. Settlement");
    buttons->addWidget(ReportButton, 0, 0);
    buttons->addWidget(NotesButton, 0, 1);
    buttons->addWidget(CapacityButton, 1, 0);
    buttons->addWidget(SettlementButton, 1, 1);
    connect(ReportButton, &QPushButton::clicked, this, &TProjectOverview::ReportClicked);
    connect(NotesButton, &QPushButton::clicked, this, [this] { emit NotesClicked(QString()); });
    connect(CapacityButton, &QPushButton::clicked, this, &TProjectOverview::CapacityClicked);
    connect(SettlementButton, &QPushButton::clicked, this, &TProjectOverview::SettlementClicked);

    layout->addWidget(OutOfDateText);
    layout->addWidget(StatusText);
    layout->addWidget(ResultsText);
    layout->addWidget(CasesTable);
    layout->addLayout(buttons);
    layout->addStretch();
    return box;
}

void TProjectOverview::ShowProject(const TProgramData& Project) {
    // A design-load project is drawn to its profile's depth until a current run has found its
    // design length.
    if (fGlance && fOutOfDate.isEmpty() && fGlance->DesignLoad && !fGlance->Cases.empty() &&
        Project.METHOD == 1) {
        TProgramData drawn(Project);
        drawn.PD = fGlance->Cases.front().Length;
        Profile->Show(drawn);
    } else {
        Profile->Show(Project);
    }
    fSummary = ProjectSummary(Project);
    SummaryText->setText(LinesHtml(fSummary));
}

void TProjectOverview::ClearResults() {
    fGlance.reset();
    fOutOfDate.clear();
    fReadPath.clear();
    fResults = TJson();
    ShowGlance();
}

QString TProjectOverview::ShowResults(const TRunFiles& Files, bool Changed) {
    std::error_code ec;
    const bool exists = fs::is_regular_file(Files.Results, ec);
    if (!exists) {
        ClearResults();
        return QString();
    }
    const auto time = fs::last_write_time(Files.Results, ec);
    const auto size = fs::file_size(Files.Results, ec);
    if (Files.Results != fReadPath || time != fReadTime || size != fReadSize) {
        fReadPath = Files.Results;
        fReadTime = time;
        fReadSize = size;
        fGlance.reset();
        try {
            fResults = TJsonReader(ReadWhole(Files.Results)).ReadDocument();
            fGlance = ResultsGlance(fResults);
            TakeNotesProblems(Files.Notes);
        } catch (const std::exception& e) {
            fResults = TJson();
            StatusText->setText(("The results cannot be read: " + Q(e.what())).toHtmlEscaped());
        }
    }
    fOutOfDate = fGlance ? Q(ProgramResultsOutOfDate(Changed, Files, fResults)) : QString();
    ShowGlance();
    return fOutOfDate;
}

void TProjectOverview::TakeNotesProblems(const fs::path& Notes) {
    // The run notes' own blocks, as the message at the end of a run counts them (the results
    // file does not hold every block of them), each to be found again in the notes.
    const TRunNotesSummary notes = ReadRunNotesProblems(Notes);
    if (!notes.Read)
        return;
    fGlance->Messages.clear();
    for (const std::string& block : notes.Errors)
        fGlance->Messages.emplace_back("error", block);
    for (const std::string& block : notes.Warnings)
        fGlance->Messages.emplace_back("warning", block);
    fGlance->Errors = static_cast<int>(notes.Errors.size());
    fGlance->Warnings = static_cast<int>(notes.Warnings.size());
}

void TProjectOverview::ShowGlance() {
    const bool results = fGlance.has_value();
    OutOfDateText->setVisible(results && !fOutOfDate.isEmpty());
    OutOfDateText->setText("Results " + OutOfDateMark() + " (" + fOutOfDate + ")");
    OutOfDateText->setToolTip(fOutOfDate);
    ResultsText->setVisible(results);
    for (QPushButton* b : {ReportButton, NotesButton, CapacityButton, SettlementButton})
        b->setEnabled(results);
    FillCases();
    if (!results) {
        if (fReadPath.empty())
            StatusText->setText("No results: Computation \u203a Run Analysis.");
        ResultsText->clear();
        return;
    }
    const TResultsGlance& g = *fGlance;
    QString status =
        "Status " + QString::number(g.Status) + ": " + Q(g.StatusMeaning).toHtmlEscaped();
    status += "; <a href=\"notes:\">" + QString::number(g.Warnings) +
              (g.Warnings == 1 ? " warning" : " warnings") +
              (g.Errors ? ", " + QString::number(g.Errors) + (g.Errors == 1 ? " error" : " errors")
                        : QString()) +
              "</a>";
    for (std::size_t i = 0; i < g.Messages.size(); ++i) {
        const QString first = Q(g.Messages[i].second).section('\n', 0, 0).trimmed();
        status += "<br><a href=\"notes:" + QString::number(i) + "\">" +
                  Q(g.Messages[i].first).toHtmlEscaped() + ": " + first.toHtmlEscaped() + "</a>";
    }
    StatusText->setText(status);
    ResultsText->setText(LinesHtml(g.Lines));
}

void TProjectOverview::FillCases() {
    // Runs over several diameters or lengths: one row per case.
    const bool many = fGlance && fGlance->Cases.size() > 1;
    CasesTable->setVisible(many);
    CasesTable->clear();
    if (!many)
        return;
    const TResultsGlance& g = *fGlance;
    const QString L = " (" + Q(g.LengthUnit) + ")", F = " (" + Q(g.ForceUnit) + ")";
    CasesTable->setColumnCount(5);
    CasesTable->setHorizontalHeaderLabels(
        {"Diameter" + L, "Length" + L, "QU" + F, (g.Lrfd ? "LRFD QU" : "QDN") + F, "QS" + F});
    CasesTable->setRowCount(static_cast<int>(g.Cases.size()));
    for (int row = 0; row < static_cast<int>(g.Cases.size()); ++row) {
        const TGlanceCase& c = g.Cases[static_cast<std::size_t>(row)];
        const std::string cells[] = {
            FixedText(c.Diameter, 3), FixedText(c.Length, 1), FixedText(c.QU, 1),
            g.Lrfd ? FixedText(c.QUL, 2) : FixedText(c.QDN, 1), FixedText(c.QS, 1)};
        for (int col = 0; col < 5; ++col)
            CasesTable->setItem(row, col, new QTableWidgetItem(Q(cells[col])));
    }
    CasesTable->resizeColumnsToContents();
}
