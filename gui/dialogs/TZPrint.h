// Printing of additional t-z curves: the group TTZPrintGroup (a check box and the depth table
// behind "Edit Depths"), shared by the Control Options window and the modal dialog
// TDlgTZPrint ("Option of Printing t-z Curves").
#pragma once

#include <QDialog>
#include <QGroupBox>

#include <functional>

class QCheckBox;
class QPushButton;
class TProgramData;
class TUserDialogs;

class TTZPrintGroup : public QGroupBox {
    Q_OBJECT

public:
    TTZPrintGroup(TProgramData& Project, TUserDialogs& Dialogs, QWidget* Parent = nullptr);
    void Load();
    // PrintTZCurves from the check box; returns whether it changed.
    bool Store();

    // Called when the depth table changed the project.
    std::function<void()> OnChanged;

    QCheckBox* chkPrintTZ;
    QPushButton* btnEditDepths;

private:
    void chkPrintTZToggled(bool Checked);
    void btnEditDepthsClick();

    TProgramData& fProject;
    TUserDialogs& fDialogs;
};

class TDlgTZPrint : public QDialog {
    Q_OBJECT

public:
    TDlgTZPrint(TProgramData& Project, TUserDialogs& Dialogs, QWidget* Parent = nullptr);
    void LoadFromProject();
    bool StoreToProject();
    void done(int Result) override;

    std::function<void()> OnChanged;

    TTZPrintGroup* grpTZ;
    QPushButton* btnClose;

private:
    TProgramData& fProject;
};
