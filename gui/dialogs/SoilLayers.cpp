// The soil layer editor.
#include "gui/dialogs/SoilLayers.h"

#include "gui/data/DataUnit.h"
#include "gui/data/LayerKind.h"
#include "gui/data/ValueLimits.h"
#include "gui/dialogs/soils.h"
#include "ui/model/units.h"
#include "ui/widgets/DataEdit.h"
#include "ui/widgets/UserDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <string>

namespace {

// Grid columns: the layer's button, its soil type, then one field per real layer column.
enum TGridColumn : int {
    gcLayer = 0,
    gcSoilType = 1,
    gcDepth = 2,
    gcMaxSideFriction = 3,
    gcMaxEndBearing = 4,
    gcLrfdSide = 5,
    gcLrfdTip = 6,
    kColumns = 7,
};
constexpr int kDataColumns[] = {lcDepth, lcMaxSideFriction, lcMaxEndBearing, lcLrfdSide, lcLrfdTip};

int GridColumn(int LayerColumn) {
    switch (LayerColumn) {
    case lcDepth:
        return gcDepth;
    case lcMaxSideFriction:
        return gcMaxSideFriction;
    case lcMaxEndBearing:
        return gcMaxEndBearing;
    case lcLrfdSide:
        return gcLrfdSide;
    default:
        return gcLrfdTip;
    }
}

const char* const kNotes[] = {
    "Notes:",
    "* Bottom of last layer must be deeper than the shaft bottom plus two pile diameters.",
    "** If entries are left as zero, the program assumes no limits in side friction and end "
    "bearing computed by the program",
    "** Use a very small number (e.g. 0.001) for layers where load transfer should be ignored.",
};

// Under LRFD the factored side friction and end bearing of a layer are its nominal values times
// the layer's resistance factors.
const char* const kLrfdNote =
    "LRFD Res. Factor: the layer's nominal side friction and end bearing are multiplied by these "
    "resistance factors (1 = no reduction).";

// The physical limits of a grid cell: a depth from 0 to the deepest depth, maxima of 0 (no
// limit) or more, resistance factors in (0, 1].
void LimitCell(TDataEdit* Field, int LayerColumn, int Row, int Units) {
    const QString layer = QStringLiteral("Layer %1, ").arg(Row + 1);
    Field->SetMinVal(0);
    switch (LayerColumn) {
    case lcDepth:
        Field->SetFieldName(layer + QStringLiteral("depth at bottom"));
        Field->SetMaxVal(MaxDepth(Units));
        break;
    case lcMaxSideFriction:
        Field->SetFieldName(layer + QStringLiteral("max. side friction"));
        break;
    case lcMaxEndBearing:
        Field->SetFieldName(layer + QStringLiteral("max. end bearing"));
        break;
    default:
        Field->SetFieldName(layer + (LayerColumn == lcLrfdSide
                                         ? QStringLiteral("LRFD factor on side friction")
                                         : QStringLiteral("LRFD factor on end bearing")));
        Field->SetMaxVal(MaxResistanceFactor);
        Field->SetMinExclusive(true);
        break;
    }
}

} // namespace

TDlgSoilLayers::TDlgSoilLayers(TProgramData& Project, TUserDialogs& Dialogs, QWidget* Parent)
    : TDataWindow(Project, Dialogs, Parent) {
    setWindowTitle(QStringLiteral("Soill Layers"));
    auto* layout = new QVBoxLayout(this);
    LayerGrid = new QTableWidget(0, kColumns);
    LayerGrid->verticalHeader()->hide();
    LayerGrid->setSelectionMode(QAbstractItemView::NoSelection);
    LayerGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab and Shift+Tab go from one row control to the next, not through the grid's cells
    // behind them.
    LayerGrid->setTabKeyNavigation(false);
    LayerGrid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    LayerGrid->setColumnWidth(gcLayer, 110);
    LayerGrid->setColumnWidth(gcSoilType, 290);
    for (int col = gcDepth; col < kColumns; ++col) {
        LayerGrid->setColumnWidth(col, col >= gcLrfdSide ? 120 : 140);
    }
    layout->addWidget(LayerGrid, 1);

    for (const char* note : kNotes) {
        auto* label = new QLabel(QString::fromLatin1(note));
        label->setWordWrap(true);
        layout->addWidget(label);
    }
    lblLrfdNote = new QLabel(QString::fromLatin1(kLrfdNote));
    lblLrfdNote->setWordWrap(true);
    lblLrfdNote->hide();
    layout->addWidget(lblLrfdNote);

    auto* buttons = new QHBoxLayout;
    btnInsert = new QPushButton(QStringLiteral("Insert Layer"));
    btnAdd = new QPushButton(QStringLiteral("Add Layer"));
    btnDelete = new QPushButton(QStringLiteral("Delete Layer"));
    chkConfirmDeletion = new QCheckBox(QStringLiteral("Confirm Deletion"));
    chkConfirmDeletion->setChecked(true);
    btnClose = new QPushButton(QStringLiteral("Close"));
    buttons->addWidget(btnInsert);
    buttons->addWidget(btnAdd);
    buttons->addWidget(btnDelete);
    buttons->addWidget(chkConfirmDeletion);
    buttons->addStretch();
    buttons->addWidget(btnClose);
    layout->addLayout(buttons);

    connect(btnInsert, &QPushButton::clicked, this, &TDlgSoilLayers::btnInsertClick);
    connect(btnAdd, &QPushButton::clicked, this, &TDlgSoilLayers::btnAddClick);
    connect(btnDelete, &QPushButton::clicked, this, &TDlgSoilLayers::btnDeleteClick);
    connect(btnClose, &QPushButton::clicked, this, &QWidget::close);
    resize(1100, 420);
}

QString TDlgSoilLayers::Heading(int Column) const {
    const bool si = fProject.fUnits == UnitsSI;
    const QString stress =
        si ? QStringLiteral("       (kN/m^2)    ") : QStringLiteral("       (lb/ft^2)    ");
    switch (Column) {
    case gcLayer:
        return QStringLiteral("  Layer \n");
    case gcSoilType:
        return QStringLiteral(" Soil Type \n");
    case gcDepth:
        return si ? QStringLiteral("Depth at Bottom * \n of each layer (m) ")
                  : QStringLiteral("Depth at Bottom * \n of each layer (ft) ");
    case gcMaxSideFriction:
        return QStringLiteral("Max. Side Friction ** \n") + stress;
    case gcMaxEndBearing:
        return QStringLiteral("Max. End Bearing ** \n") + stress;
    case gcLrfdSide:
        return QStringLiteral("LRFD Res. Factor\n (Side Friction) ");
    default:
        return QStringLiteral("LRFD Res. Factor\n (End Bearing) ");
    }
}

QPushButton* TDlgSoilLayers::EditButton(int Row) const {
    return fRows.at(static_cast<std::size_t>(Row)).Edit;
}

QComboBox* TDlgSoilLayers::SoilTypeBox(int Row) const {
    return fRows.at(static_cast<std::size_t>(Row)).SoilType;
}

TDataEdit* TDlgSoilLayers::Field(int Row, int Column) const {
    return fRows.at(static_cast<std::size_t>(Row)).Fields.at(static_cast<std::size_t>(Column));
}

void TDlgSoilLayers::SetFocusRow(int Row) {
    fFocusRow = std::clamp(Row, 0, fProject.D.RowCount() - 1);
}

void TDlgSoilLayers::FocusCell(int Row, int Column) {
    if (Row < 0 || Row >= static_cast<int>(fRows.size())) {
        return;
    }
    SetFocusRow(Row);
    LayerGrid->scrollTo(LayerGrid->model()->index(Row, GridColumn(Column)));
    if (TDataEdit* field = Field(Row, Column)) {
        field->setFocus(Qt::OtherFocusReason);
        field->SelectAllByField();
    }
}

void TDlgSoilLayers::FocusLayer(int Row) {
    FocusCell(Row, lcDepth);
}

void TDlgSoilLayers::LoadFromProject() {
    QStringList headings;
    for (int col = 0; col < kColumns; ++col) {
        headings << Heading(col);
    }
    LayerGrid->setHorizontalHeaderLabels(headings);
    // The LRFD factors are kept in the table under ASD too; they are only not shown.
    const bool lrfd = fProject.NLRFD == 1;
    LayerGrid->setColumnHidden(gcLrfdSide, !lrfd);
    LayerGrid->setColumnHidden(gcLrfdTip, !lrfd);
    lblLrfdNote->setVisible(lrfd);
    // The grid is never narrower than its columns: every column stays in view.
    int width = 2 * LayerGrid->frameWidth() + LayerGrid->verticalScrollBar()->sizeHint().width();
    for (int col = 0; col < kColumns; ++col) {
        width += LayerGrid->isColumnHidden(col) ? 0 : LayerGrid->columnWidth(col);
    }
    LayerGrid->setMinimumWidth(width);
    fFocusRow = 0;
    Rebuild();
}

void TDlgSoilLayers::Rebuild() {
    const int layers = fProject.D.RowCount();
    LayerGrid->setRowCount(0); // drops the old row controls
    LayerGrid->setRowCount(layers);
    fRows.assign(static_cast<std::size_t>(layers), TRowControls());
    for (int row = 0; row < layers; ++row) {
        const TSoilLayer& layer = fProject.D[row];
        TRowControls& controls = fRows[static_cast<std::size_t>(row)];
        controls.Edit = new QPushButton(QStringLiteral("Edit Layer %1").arg(row + 1));
        controls.Edit->setProperty("layerRow", row);
        controls.Edit->installEventFilter(this);
        connect(controls.Edit, &QPushButton::clicked, this, [this, row] { EditLayerClick(row); });
        LayerGrid->setCellWidget(row, gcLayer, controls.Edit);

        controls.SoilType = new QComboBox;
        for (int code = MinSoilType; code <= MaxSoilType; ++code) {
            controls.SoilType->addItem(QString::fromLatin1(SoilTypeLabel(code)));
        }
        controls.SoilType->setMaxVisibleItems(MaxSoilType);
        controls.SoilType->setCurrentIndex(layer.SoilType() - 1);
        controls.SoilType->setProperty("layerRow", row);
        controls.SoilType->installEventFilter(this);
        connect(controls.SoilType, &QComboBox::currentIndexChanged, this,
                [this, row](int Index) { SoilTypeChanged(row, Index); });
        LayerGrid->setCellWidget(row, gcSoilType, controls.SoilType);

        controls.Fields.assign(kColumns, nullptr);
        for (int col : kDataColumns) {
            auto* field = new TDataEdit(fDialogs);
            field->SetUnitsString(QString::fromLatin1(LayerColumnUnits(col)));
            LimitCell(field, col, row, fProject.fUnits);
            field->SetNumber(layer.Real(col));
            field->setProperty("layerRow", row);
            field->installEventFilter(this);
            controls.Fields[static_cast<std::size_t>(col)] = field;
            LayerGrid->setCellWidget(row, GridColumn(col), field);
        }
    }
    PrepareFields();
    ConnectFields();
    fFocusRow = std::clamp(fFocusRow, 0, layers - 1);
    EnableButtons();
}

void TDlgSoilLayers::EnableButtons() {
    const int layers = fProject.D.RowCount();
    btnAdd->setEnabled(layers < MaxLayers);
    btnInsert->setEnabled(layers < MaxLayers);
    btnDelete->setEnabled(layers > MinLayers);
}

bool TDlgSoilLayers::eventFilter(QObject* Watched, QEvent* Event) {
    if (Event->type() == QEvent::FocusIn) {
        const QVariant row = Watched->property("layerRow");
        if (row.isValid()) {
            SetFocusRow(row.toInt());
            // Moving by Tab past the visible rows scrolls the grid along.
            if (auto* widget = qobject_cast<QWidget*>(Watched)) {
                const QModelIndex cell = LayerGrid->indexAt(widget->pos());
                if (cell.isValid()) {
                    LayerGrid->scrollTo(cell);
                }
            }
        }
    }
    return TDataWindow::eventFilter(Watched, Event);
}

void TDlgSoilLayers::SoilTypeChanged(int Row, int Index) {
    SetFocusRow(Row);
    if (ChangeLayerKind(fProject.D[Row], Index + 1)) {
        Changed();
        Committed();
    }
}

bool TDlgSoilLayers::StoreToProject() {
    if (!CheckFields(this)) {
        return false;
    }
    const bool lrfd = fProject.NLRFD == 1;
    for (int row = 0; row < fProject.D.RowCount(); ++row) {
        TSoilLayer& layer = fProject.D[row];
        for (int col : kDataColumns) {
            if ((col == lcLrfdSide || col == lcLrfdTip) && !lrfd) {
                continue;
            }
            const double value = Field(row, col)->Number();
            if (layer.Real(col) != value) {
                layer.SetReal(col, value);
                Changed();
            }
        }
    }
    return true;
}

void TDlgSoilLayers::btnInsertClick() {
    // The typed values are written first, so that they move with their layers.
    if (!StoreToProject()) {
        return;
    }
    Committed(); // the typed values are a change of their own
    if (fProject.D.Insert(fFocusRow, TSoilLayer())) {
        Changed();
        Committed("Insert Layer " + std::to_string(fFocusRow + 1));
        Rebuild();
        LayerGrid->scrollTo(LayerGrid->model()->index(fFocusRow, 0));
    }
}

void TDlgSoilLayers::btnAddClick() {
    if (!StoreToProject()) {
        return;
    }
    Committed();
    if (fProject.D.Add(TSoilLayer())) {
        Changed();
        Committed("Add Layer " + std::to_string(fProject.D.RowCount()));
        Rebuild();
        LayerGrid->scrollToBottom();
    }
}

void TDlgSoilLayers::btnDeleteClick() {
    if (fProject.D.RowCount() <= MinLayers || !StoreToProject()) {
        return;
    }
    if (chkConfirmDeletion->isChecked() &&
        fDialogs.Confirm(
            QStringLiteral("Do you want to delete soil layer in row %1").arg(fFocusRow + 1)) !=
            TUserDialogs::TAnswer::Yes) {
        return;
    }
    Committed();
    if (fProject.D.Delete(fFocusRow)) {
        Changed();
        Committed("Delete Layer " + std::to_string(fFocusRow + 1));
        Rebuild();
    }
}

void TDlgSoilLayers::EditLayerClick(int Row) {
    SetFocusRow(Row);
    if (!StoreToProject()) {
        return;
    }
    TDlgSoils dialog(fProject, fDialogs, Row, this);
    dialog.OnChanged = OnChanged;
    dialog.exec();
    Committed();
    Rebuild();
    // Back to this window and the layer's button: rebuilding the rows took the focus away,
    // and the frame would otherwise bring another child window to the front.
    for (QWidget* w = parentWidget(); w; w = w->parentWidget()) {
        if (auto* frame = qobject_cast<QMdiSubWindow*>(w)) {
            if (QMdiArea* mdi = frame->mdiArea()) {
                mdi->setActiveSubWindow(frame);
            }
            break;
        }
    }
    if (Row < static_cast<int>(fRows.size())) {
        EditButton(Row)->setFocus(Qt::OtherFocusReason);
    }
}
