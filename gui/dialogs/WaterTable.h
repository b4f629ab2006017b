// TfrmWaterDepth: the "Water Table" window, the depth of the water table.
#pragma once

#include "gui/dialogs/DataWindow.h"

class TDataEdit;

class TfrmWaterDepth : public TDataWindow {
    Q_OBJECT

public:
    TfrmWaterDepth(TProgramData& Project, TUserDialogs& Dialogs, QWidget* Parent = nullptr);
    void LoadFromProject() override;
    bool StoreToProject() override;

    TDataEdit* edtWTD;
};
