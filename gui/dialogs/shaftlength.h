// The two windows of the computation method: TfrmPenetration ("Drilled Shaft Length", a
// proposed shaft length) and TfrmDesignLoad (a design load). A project gives
// either the length or the load; each window clears the other quantity when its own is
// positive. Both carry the type of loading, TLoadingGroup.
#pragma once

#include "gui/dialogs/DataWindow.h"

#include <QGroupBox>

class QRadioButton;
class TDataEdit;

// "Type of Loading": compression, or uplift with its reduction factor (at most 1).
class TLoadingGroup : public QGroupBox {
    Q_OBJECT

public:
    // Dialogs: where the reduction factor field reports.
    explicit TLoadingGroup(TUserDialogs& Dialogs, QWidget* Parent = nullptr);
    void Load(const TProgramData& Project);
    // The type of loading into KCYCL and RCYCL: compression always stores a reduction factor
    // of exactly 1. Returns whether either changed. Check the factor field first.
    bool Store(TProgramData& Project) const;

    QRadioButton* rbCompression;
    QRadioButton* rbUplift;
    TDataEdit* edtRCYCL;

private:
    void rbUpliftToggled(bool Checked);
};

class TfrmPenetration : public TDataWindow {
    Q_OBJECT

public:
    TfrmPenetration(TProgramData& Project, TUserDialogs& Dialogs, QWidget* Parent = nullptr);
    void LoadFromProject() override;
    bool StoreToProject() override;

    TDataEdit* edtPD;
    TLoadingGroup* grpLoading;
};

class TfrmDesignLoad : public TDataWindow {
    Q_OBJECT

public:
    TfrmDesignLoad(TProgramData& Project, TUserDialogs& Dialogs, QWidget* Parent = nullptr);
    void LoadFromProject() override;
    bool StoreToProject() override;

    TDataEdit* edtLPD;
    TLoadingGroup* grpLoading;
};
