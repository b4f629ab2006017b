// The common pattern of the data windows: every window edits part of one project, loads its
// controls from the project when it is activated (and after a switch of the unit system) and
// writes them back when it is deactivated or closed, unless a numeric field fails its check.
// Exports TDataWindow and the field helpers the windows and modal dialogs share.
#pragma once

#include <QWidget>

#include <functional>
#include <string>

class QCloseEvent;
class QGridLayout;
class QLabel;
class TDataEdit;
class TProgramData;
class TUserDialogs;

// A numeric field with its companion label, placed in a grid row: label in column Col, field
// in column Col + 1. The field reports to Dialogs.
TDataEdit* AddDataField(TUserDialogs& Dialogs, QGridLayout* Grid, int Row, int Col,
                        const QString& Caption, const QString& UnitsString,
                        double MaxVal = 1.18973149535723176e100);

// The physical limits of a field: values below Min are refused, and Min itself too when Above;
// values above Max are refused. Name, the project field that the field edits (e.g. "DSTART"),
// becomes its object name, by which the check before a run finds it.
void LimitField(TDataEdit* Field, const char* Name, double Min,
                double Max = 1.18973149535723176e100, bool Above = false);
// The deepest depth of the unit system as the field's upper limit (set on every activation).
void LimitDepth(TDataEdit* Field, int Units);

// Gives every numeric field of the window the unit system.
void PrepareFields(QWidget* Window, int Units);

// Runs the check of the focused numeric field of the window first, then of every other one;
// false at the first that fails (it has shown its message and has the focus again).
bool CheckFields(QWidget* Window);

// A data window: a plain widget over the project, shown as a child window of the main window.
class TDataWindow : public QWidget {
    Q_OBJECT

public:
    TDataWindow(TProgramData& Project, TUserDialogs& Dialogs, QWidget* Parent = nullptr);

    // Activation, and after a switch of the unit system: every control from the project.
    virtual void LoadFromProject() = 0;
    // Deactivation and closing: every control into the project. Returns false, writing
    // nothing, when a numeric field fails its check; the window then stays open and active.
    virtual bool StoreToProject() = 0;

    // Why the last write-back was refused when that refusal showed no message (the entry had
    // been reported already); empty otherwise. A command that the refusal stops says it.
    virtual QString QuietRefusal() const;

    // Called after every change this window makes to the project (DataChanged is set first).
    std::function<void()> OnChanged;
    // Called where the window has committed what the user did to the project: a typed value
    // taken as the user left its field, a write-back on deactivation or closing, a layer
    // inserted, added, deleted or given another kind. The name names the change ("Delete Layer
    // 3"), or is empty when what differs names it. The project's undo history records it.
    std::function<void(const std::string& Name)> OnCommitted;

    // Makes every numeric field of the window commit its typed value to the project as the
    // user leaves it (fields made later, as the layer rows, are connected by calling it again).
    void ConnectFields();

protected:
    // Closing writes back first and is refused when that fails.
    void closeEvent(QCloseEvent* Event) override;

    // Stores Value into Target; a different value marks the project changed.
    template <class T> void Put(T& Target, const T& Value) {
        if (!(Target == Value)) {
            Target = Value;
            Changed();
        }
    }
    void Changed();
    void Committed(const std::string& Name = {});
    // PrepareFields with the project's unit system.
    void PrepareFields();

    TProgramData& fProject;
    TUserDialogs& fDialogs;

private slots:
    void FieldCommitted();
};
