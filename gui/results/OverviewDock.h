// TProjectOverview: the contents of the main window's "Project Overview" dock. The soil profile
// drawn to scale by the elevation view's own painting (layers with their names and kinds, the
// shaft, its bell and ignored portions, the water table) beside the project's summary; after a
// run, the results at a glance from the results file (the design row, the settlement at the
// design load, a table of the cases, the status and the warnings as links, buttons to the report,
// the run notes and the main graphs); and "out of date, run again" while the results no longer
// belong to the project. A click on a layer or on the shaft asks for its data window.
#pragma once

#include "gui/data/ProjectOverview.h"
#include "gui/results/PileProject.h"
#include "gui/run/RunControl.h"

#include <QRect>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

class QLabel;
class QPushButton;
class QTableWidget;
class TDlgSideView;
class TProgramData;

// The profile: the elevation drawing of a copy of the project, with the places of its layers
// and its shaft for the clicks.
class TOverviewProfile : public QWidget {
    Q_OBJECT
public:
    explicit TOverviewProfile(QWidget* Parent = nullptr);
    ~TOverviewProfile() override;
    // Draws Project as it stands now (a copy: the drawing never changes the project).
    void Show(const TProgramData& Project);
    // The band of every layer, top first, and the shaft's outline, in widget pixels; empty
    // when nothing can be drawn.
    const std::vector<QRect>& LayerAreas() const { return fLayers; }
    QRect ShaftArea() const { return fShaft; }

signals:
    void LayerClicked(int Layer);
    void ShaftClicked();

protected:
    void paintEvent(QPaintEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;

private:
    QRect PictureArea() const;
    void Place();
    std::unique_ptr<TProgramData> fCopy;
    std::unique_ptr<TDlgSideView> fView; // never shown: its painting only
    std::vector<QRect> fLayers;
    QRect fShaft;
};

class TProjectOverview : public QWidget {
    Q_OBJECT
public:
    explicit TProjectOverview(QWidget* Parent = nullptr);

    // The profile and the summary from the project as it stands (after ShowResults: the shaft
    // of a design-load project is drawn to the design length of a current run).
    void ShowProject(const TProgramData& Project);
    // The results of the project's last run, read again when its results file has changed;
    // Changed: the project was changed since the run saved it (or was never saved). Returns
    // why the results are out of date, empty when they are current or there are none.
    QString ShowResults(const TRunFiles& Files, bool Changed);
    // No results (a new project).
    void ClearResults();

    // The mark of results that no longer belong to the project.
    static QString OutOfDateMark() { return QStringLiteral("out of date, run again"); }
    bool HasResults() const { return fGlance.has_value(); }
    bool IsOutOfDate() const { return !fOutOfDate.isEmpty(); }
    const std::vector<TOverviewLine>& Summary() const { return fSummary; }
    const std::optional<TResultsGlance>& Glance() const { return fGlance; }

    TOverviewProfile* Profile = nullptr;
    QLabel* SummaryText = nullptr;
    QLabel* ResultsText = nullptr;
    QLabel* OutOfDateText = nullptr;
    QLabel* StatusText = nullptr; // the status, and the warnings as links
    QTableWidget* CasesTable = nullptr;
    QPushButton *ReportButton = nullptr, *NotesButton = nullptr, *CapacityButton = nullptr,
                *SettlementButton = nullptr;

signals:
    void LayerClicked(int Layer);
    void ShaftClicked();
    void ReportClicked();
    // The run notes, at the block that begins with Block (empty: from the top).
    void NotesClicked(const QString& Block);
    void CapacityClicked();
    void SettlementClicked();

private:
    void ShowGlance();
    void TakeNotesProblems(const std::filesystem::path& Notes);
    void FillCases();
    QWidget* MakeResultsBox();

    std::vector<TOverviewLine> fSummary;
    std::optional<TResultsGlance> fGlance;
    QString fOutOfDate;
    // The results file read last, by its path, time and size.
    std::filesystem::path fReadPath;
    std::filesystem::file_time_type fReadTime{};
    std::uintmax_t fReadSize = 0;
    TJson fResults;
};
