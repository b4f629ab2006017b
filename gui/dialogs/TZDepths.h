// TDlgTZDepths: the modal table of depths at which additional t-z curves are printed (1 to 50
// depths, in the project's depth unit).
#pragma once

#include <QDialog>

#include <functional>

class QPushButton;
class QTableWidget;
class TProgramData;
class TUserDialogs;

class TDlgTZDepths : public QDialog {
    Q_OBJECT

public:
    TDlgTZDepths(TProgramData& Project, TUserDialogs& Dialogs, QWidget* Parent = nullptr);

    // Fills the table from the project's t-z depth table.
    void LoadFromProject();
    // Every row into the project; false, writing nothing, when a cell is not a valid entry.
    bool StoreToProject();
    // Closing writes back and stays open when that fails.
    void done(int Result) override;

    std::function<void()> OnChanged;

    QTableWidget* tblDepths;
    QPushButton* btnInsert;
    QPushButton* btnAdd;
    QPushButton* btnDelete;
    QPushButton* btnClose;

private:
    void btnInsertClick();
    void btnAddClick();
    void btnDeleteClick();
    void InsertRowAt(int Row);
    void EnableButtons();

    TProgramData& fProject;
    TUserDialogs& fDialogs;
};
