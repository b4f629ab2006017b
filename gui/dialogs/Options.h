// TDlgOptions: the "Control Options" window: end bearing in sands, output increment, plot
// labels, the text editor and the printing of additional t-z curves.
#pragma once

#include "gui/dialogs/DataWindow.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TDataEdit;
class TTZPrintGroup;

class TDlgOptions : public TDataWindow {
    Q_OBJECT

public:
    // WordProcessor is the main window's text editor command; the window edits it in place.
    TDlgOptions(TProgramData& Project, TUserDialogs& Dialogs, QString& WordProcessor,
                QWidget* Parent = nullptr);
    void LoadFromProject() override;
    bool StoreToProject() override;

    QRadioButton* rbLinearIMOD;
    QRadioButton* rbMaximumIMOD;
    TDataEdit* edtPINC;
    QCheckBox* chkUseElevation;
    TDataEdit* edtValElevation;
    QLineEdit* edtTextEditor;
    QPushButton* btnBrowse;
    TTZPrintGroup* grpTZ;
    QPushButton* btnClose;

private:
    void chkUseElevationToggled(bool Checked);
    void btnBrowseClick();

    QString& fWordProcessor;
};
