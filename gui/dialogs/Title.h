// TdlgTitle: the "Project Title" window, one line of project description. Exports the title's
// text for the screen and back (TitleText, TitleBytes).
#pragma once

#include "gui/dialogs/DataWindow.h"

#include <QString>
#include <string>

class QLineEdit;

// The title's bytes as text: UTF-8 when they are valid UTF-8, Latin-1 otherwise.
QString TitleText(const std::string& Bytes);
// Text typed for a title, as bytes: Latin-1 when the title it replaces was not UTF-8 and every
// character fits, UTF-8 otherwise.
std::string TitleBytes(const QString& Text, const std::string& Original);

class TdlgTitle : public TDataWindow {
    Q_OBJECT

public:
    TdlgTitle(TProgramData& Project, TUserDialogs& Dialogs, QWidget* Parent = nullptr);
    void LoadFromProject() override;
    bool StoreToProject() override;

    QLineEdit* edtTitle;

private:
    QString fShown; // the title as loaded into the field
};
