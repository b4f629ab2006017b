// TfrmShaftpeneta: the "Drilled-Shaft Properties" window: diameters, bell, exclusion zones and
// the modulus of the shaft.
#pragma once

#include "gui/dialogs/DataWindow.h"

class TDataEdit;

class TfrmShaftpeneta : public TDataWindow {
    Q_OBJECT

public:
    TfrmShaftpeneta(TProgramData& Project, TUserDialogs& Dialogs, QWidget* Parent = nullptr);
    void LoadFromProject() override;
    bool StoreToProject() override;

    TDataEdit* edtDSTART;
    TDataEdit* edtDIALIM;
    TDataEdit* edtRATIO;
    TDataEdit* edtBELANGL;
    TDataEdit* edtTOPLENG;
    TDataEdit* edtBS;
    TDataEdit* edtEPILE;
    QLabel* lblDIALIMNote;
};
