// TDlgExport: the "Export to Excel" dialog. It offers the result graphs whose Graphics menu
// items are enabled in a check list, asks for a workbook name and writes the chosen graphs
// into it (gui/data/ExcelExport.h), then offers to open the workbook with the desktop's
// default program.
#pragma once

#include "gui/data/PltData.h"

#include <QDialog>
#include <QString>
#include <functional>
#include <vector>

class QCheckBox;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class TUserDialogs;

class TDlgExport : public QDialog {
    Q_OBJECT
public:
    TDlgExport(const TResultGraphs& Graphs, TUserDialogs& Dialogs, QWidget* Parent = nullptr);

    // Fills the check list: every graph whose menu item is enabled, checked. ProjectFile names
    // the project, whose directory and name the save dialog proposes.
    void FormShow(const TGraphicsMenuState& Menu, const QString& ProjectFile);

    // Controls, public so that tests can drive them.
    QListWidget* lstPlots = nullptr;
    QPushButton* btnSelectAll = nullptr;
    QPushButton* btnUnselectAll = nullptr;
    QCheckBox* chkMarkers = nullptr;
    QPushButton* btnGenerate = nullptr;
    QPushButton* btnClose = nullptr;

    // Rows (1..26) of the graphs in the check list, in list order.
    const std::vector<int>& indices() const { return fIndices; }
    int nplotst() const { return static_cast<int>(fIndices.size()); }
    // Set when the last export had to cut a chart to 255 series.
    bool more255() const { return fMore255; }

    // Opens a file with the desktop's default program; QDesktopServices unless a test sets
    // another.
    std::function<bool(const QString& File)> OpenFile;

public slots:
    void SelectAllClick();
    void UnselectAllClick();
    // Asks for the workbook's name and writes it.
    void GenerateClick();

private:
    void UpdateGenerate();
    void CheckAll(bool Checked);

    const TResultGraphs& fGraphs;
    TUserDialogs& fDialogs;
    std::vector<int> fIndices;
    QString fProjectFile;
    bool fMore255 = false;
};
