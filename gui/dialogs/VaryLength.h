// TfrmVaryLength: the "Multiple Shaft Lengths" window: the range of shaft lengths analysed for
// the specified diameter.
#pragma once

#include "gui/dialogs/DataWindow.h"

class QCheckBox;
class QLabel;
class TDataEdit;

class TfrmVaryLength : public TDataWindow {
    Q_OBJECT

public:
    TfrmVaryLength(TProgramData& Project, TUserDialogs& Dialogs, QWidget* Parent = nullptr);
    void LoadFromProject() override;
    bool StoreToProject() override;

    QCheckBox* chkIPENT;
    TDataEdit* edtPD;
    TDataEdit* edtPDMIN;
    TDataEdit* edtPDINCR;

private:
    void chkIPENTToggled(bool Checked);
    QList<QLabel*> fNotes;
};
