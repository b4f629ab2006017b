// The common load and write-back pattern of the data windows.
#include "gui/dialogs/DataWindow.h"

#include "gui/data/DataUnit.h"
#include "gui/data/ValueLimits.h"
#include "ui/widgets/DataEdit.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>

TDataEdit* AddDataField(TUserDialogs& Dialogs, QGridLayout* Grid, int Row, int Col,
                        const QString& Caption, const QString& UnitsString, double MaxVal) {
    auto* label = new QLabel;
    auto* field = new TDataEdit(Dialogs);
    field->SetCaption(Caption);
    field->SetUnitsString(UnitsString);
    field->SetEditLabel(label);
    field->SetMaxVal(MaxVal);
    field->setMinimumWidth(110);
    Grid->addWidget(label, Row, Col);
    Grid->addWidget(field, Row, Col + 1);
    return field;
}

void LimitField(TDataEdit* Field, const char* Name, double Min, double Max, bool Above) {
    Field->setObjectName(QString::fromLatin1(Name));
    Field->SetMaxVal(Max);
    Field->SetMinVal(Min);
    Field->SetMinExclusive(Above);
}

void LimitDepth(TDataEdit* Field, int Units) {
    Field->SetMaxVal(MaxDepth(Units));
}

void PrepareFields(QWidget* Window, int Units) {
    for (TDataEdit* field : Window->findChildren<TDataEdit*>()) {
        field->SetUnits(Units);
    }
}

bool CheckFields(QWidget* Window) {
    if (auto* active = qobject_cast<TDataEdit*>(Window->focusWidget())) {
        if (Window->isAncestorOf(active) && !active->CloseQuery()) {
            return false;
        }
    }
    for (TDataEdit* field : Window->findChildren<TDataEdit*>()) {
        if (!field->CloseQuery()) {
            return false;
        }
    }
    return true;
}

TDataWindow::TDataWindow(TProgramData& Project, TUserDialogs& Dialogs, QWidget* Parent)
    : QWidget(Parent), fProject(Project), fDialogs(Dialogs) {}

QString TDataWindow::QuietRefusal() const {
    for (TDataEdit* field : findChildren<TDataEdit*>()) {
        if (!field->LastExit() && field->LastRefusalQuiet()) {
            return field->RefusalMessage();
        }
    }
    return {};
}

void TDataWindow::closeEvent(QCloseEvent* Event) {
    if (StoreToProject()) {
        Committed();
        Event->accept();
    } else {
        Event->ignore();
    }
}

void TDataWindow::Changed() {
    fProject.DataChanged = true;
    if (OnChanged) {
        OnChanged();
    }
}

void TDataWindow::Committed(const std::string& Name) {
    if (OnCommitted) {
        OnCommitted(Name);
    }
}

void TDataWindow::ConnectFields() {
    for (TDataEdit* field : findChildren<TDataEdit*>()) {
        connect(field, &TDataEdit::ValueCommitted, this, &TDataWindow::FieldCommitted,
                Qt::UniqueConnection);
    }
}

void TDataWindow::FieldCommitted() {
    // The whole window is written back: a field's value may rule others (a design load clears
    // the shaft length), and the other controls hold nothing uncommitted that matters more.
    if (StoreToProject()) {
        Committed();
    }
}

void TDataWindow::PrepareFields() {
    ::PrepareFields(this, fProject.fUnits);
}
