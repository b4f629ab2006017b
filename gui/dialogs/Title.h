// TdlgTitle: the "Project Title" window, one line of project description.
#pragma once

#include "gui/dialogs/DataWindow.h"

class QLineEdit;

class TdlgTitle : public TDataWindow {
    Q_OBJECT

public:
    TdlgTitle(TProgramData& Project, TUserDialogs& Dialogs, QWidget* Parent = nullptr);
    void LoadFromProject() override;
    bool StoreToProject() override;

    QLineEdit* edtTitle;
};
