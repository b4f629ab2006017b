// TfrmSafetyFactor: the "Factor of Safety (F.S.)" window of allowable stress design.
#pragma once

#include "gui/dialogs/DataWindow.h"

class TDataEdit;

class TfrmSafetyFactor : public TDataWindow {
    Q_OBJECT

public:
    TfrmSafetyFactor(TProgramData& Project, TUserDialogs& Dialogs, QWidget* Parent = nullptr);
    void LoadFromProject() override;
    bool StoreToProject() override;

    TDataEdit* edtFST;
    TDataEdit* edtFSB;
};
