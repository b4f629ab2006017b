// The project title window.
#include "gui/dialogs/Title.h"

#include "gui/data/DataUnit.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

TdlgTitle::TdlgTitle(TProgramData& Project, TUserDialogs& Dialogs, QWidget* Parent)
    : TDataWindow(Project, Dialogs, Parent) {
    setWindowTitle(QStringLiteral("Project Title"));
    auto* layout = new QVBoxLayout(this);
    auto* prompt = new QLabel(QStringLiteral("Enter line of text for project description:"));
    edtTitle = new QLineEdit; // one line: Enter never starts a second one
    edtTitle->setMaxLength(80);
    edtTitle->setMinimumWidth(480);
    prompt->setBuddy(edtTitle);
    layout->addWidget(prompt);
    layout->addWidget(edtTitle);
    layout->addStretch();
}

void TdlgTitle::LoadFromProject() {
    edtTitle->setText(QString::fromStdString(fProject.Title));
}

bool TdlgTitle::StoreToProject() {
    Put(fProject.Title, edtTitle->text().toStdString());
    return true;
}
