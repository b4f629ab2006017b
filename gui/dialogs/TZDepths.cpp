// The table of additional t-z curve depths.
#include "gui/dialogs/TZDepths.h"

#include "gui/data/DataUnit.h"
#include "ui/model/Evaluator.h"
#include "ui/model/UnitLabel.h"
#include "ui/widgets/DataEdit.h"
#include "ui/widgets/UserDialogs.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <vector>

TDlgTZDepths::TDlgTZDepths(TProgramData& Project, TUserDialogs& Dialogs, QWidget* Parent)
    : QDialog(Parent), fProject(Project), fDialogs(Dialogs) {
    setWindowTitle(QStringLiteral("Depths of Additional t-z Curves"));
    auto* layout = new QVBoxLayout(this);
    tblDepths = new QTableWidget(0, 1);
    tblDepths->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(tblDepths);
    auto* buttons = new QHBoxLayout;
    btnInsert = new QPushButton(QStringLiteral("Insert Row"));
    btnAdd = new QPushButton(QStringLiteral("Add Row"));
    btnDelete = new QPushButton(QStringLiteral("Delete Row"));
    btnClose = new QPushButton(QStringLiteral("Close"));
    for (QPushButton* b : {btnInsert, btnAdd, btnDelete, btnClose}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    connect(btnInsert, &QPushButton::clicked, this, &TDlgTZDepths::btnInsertClick);
    connect(btnAdd, &QPushButton::clicked, this, &TDlgTZDepths::btnAddClick);
    connect(btnDelete, &QPushButton::clicked, this, &TDlgTZDepths::btnDeleteClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
    LoadFromProject();
}

void TDlgTZDepths::LoadFromProject() {
    tblDepths->setHorizontalHeaderLabels(
        {QString::fromStdString(UnitLabelText("Depth", "L2", fProject.fUnits))});
    tblDepths->setRowCount(0);
    for (double depth : fProject.TblTZDepth) {
        const int row = tblDepths->rowCount();
        tblDepths->insertRow(row);
        tblDepths->setItem(row, 0, new QTableWidgetItem(TDataEdit::ValueText(depth)));
    }
    EnableButtons();
}

void TDlgTZDepths::EnableButtons() {
    const int rows = tblDepths->rowCount();
    btnInsert->setEnabled(rows < MaxTZDepths);
    btnAdd->setEnabled(rows < MaxTZDepths);
    btnDelete->setEnabled(rows > MinTZDepths);
}

void TDlgTZDepths::InsertRowAt(int Row) {
    if (tblDepths->rowCount() >= MaxTZDepths) {
        return;
    }
    tblDepths->insertRow(Row);
    tblDepths->setItem(Row, 0, new QTableWidgetItem(QStringLiteral("0")));
    tblDepths->setCurrentCell(Row, 0);
    EnableButtons();
}

void TDlgTZDepths::btnInsertClick() {
    InsertRowAt(std::max(tblDepths->currentRow(), 0));
}

void TDlgTZDepths::btnAddClick() {
    InsertRowAt(tblDepths->rowCount());
}

void TDlgTZDepths::btnDeleteClick() {
    if (tblDepths->rowCount() <= MinTZDepths) {
        return;
    }
    tblDepths->removeRow(std::max(tblDepths->currentRow(), 0));
    EnableButtons();
}

bool TDlgTZDepths::StoreToProject() {
    std::vector<double> depths;
    for (int r = 0; r < tblDepths->rowCount(); ++r) {
        double depth = 0;
        std::string message;
        const QTableWidgetItem* item = tblDepths->item(r, 0);
        const std::string text = item != nullptr ? item->text().toStdString() : std::string();
        if (!TryEvaluateExpression(text, depth, message, "L2", fProject.fUnits)) {
            fDialogs.Information(QString::fromStdString(message) +
                                 QStringLiteral("\n(depth in row %1)").arg(r + 1));
            tblDepths->setCurrentCell(r, 0);
            return false;
        }
        depths.push_back(depth);
    }
    const auto rows = static_cast<int>(depths.size());
    bool changed = rows != fProject.TblTZDepth.RowCount();
    fProject.TblTZDepth.SetRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        changed = changed || fProject.TblTZDepth[r] != depths[static_cast<std::size_t>(r)];
        fProject.TblTZDepth[r] = depths[static_cast<std::size_t>(r)];
    }
    if (changed) {
        fProject.DataChanged = true;
        if (OnChanged) {
            OnChanged();
        }
    }
    return true;
}

void TDlgTZDepths::done(int Result) {
    if (StoreToProject()) {
        QDialog::done(Result);
    }
}
