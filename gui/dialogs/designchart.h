// TfrmDesignCharts: the "ASD/LRFD Design Charts" window: the lengths and diameters the charts
// run over and the settlements (shaft-top movements) they are drawn for.
#pragma once

#include "gui/dialogs/DataWindow.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QTableWidget;
class QToolButton;
class TDataEdit;

class TfrmDesignCharts : public TDataWindow {
    Q_OBJECT

public:
    TfrmDesignCharts(TProgramData& Project, TUserDialogs& Dialogs, QWidget* Parent = nullptr);
    void LoadFromProject() override;
    // Refuses, writing nothing, when a settlement in use is not a number.
    bool StoreToProject() override;
    QString QuietRefusal() const override;

    // Number of settlement rows in use (the visible rows of the table).
    int SettlementRows() const { return fRows; }

    QCheckBox* chkIChart;
    TDataEdit* edtPD;
    TDataEdit* edtPDMIN;
    TDataEdit* edtPDINCR;
    TDataEdit* edtDIAMINCR;
    TDataEdit* edtNPOINTPD;
    QToolButton* btnUp;
    QToolButton* btnDown;
    QTableWidget* tblSettlements;

private:
    // The settlement cell text last reported as no number, until the cell is edited: a window
    // asked again (deactivation after closing) refuses without a second message.
    QString fReportedSettlement;
    bool fSettlementQuiet = false;
    void chkIChartToggled(bool Checked);
    void edtNPOINTPDChanged();
    void btnUpClick();
    void btnDownClick();
    void SetRowCount(int Rows);

    QGroupBox* fLengths;
    QGroupBox* fSettlements;
    int fRows = 5;
};
