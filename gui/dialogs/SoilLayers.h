// TDlgSoilLayers: the "Soill Layers" window, the soil profile as a table with one row per layer
// (soil type, bottom depth, limits of side friction and end bearing, LRFD factors under LRFD),
// where layers are added, inserted and deleted and each layer's parameters are opened.
#pragma once

#include "gui/dialogs/DataWindow.h"

#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;
class TDataEdit;

class TDlgSoilLayers : public TDataWindow {
    Q_OBJECT

public:
    TDlgSoilLayers(TProgramData& Project, TUserDialogs& Dialogs, QWidget* Parent = nullptr);

    // Headings by unit system and design method, one row per layer, focus on the first layer.
    void LoadFromProject() override;
    // Depths, maxima and (under LRFD) the factors of every row into the layer table.
    bool StoreToProject() override;

    // The table row (0 = top layer) that the user last worked on; Insert and Delete act on it.
    int FocusRow() const { return fFocusRow; }
    void SetFocusRow(int Row);
    // Gives the focus to a layer's field of a layer-table column (lcDepth ... lcLrfdTip),
    // scrolled into view, its text selected; FocusLayer to the layer's depth.
    void FocusCell(int Row, int Column);
    void FocusLayer(int Row);

    // The row controls of a layer (0 = top layer).
    QPushButton* EditButton(int Row) const;
    QComboBox* SoilTypeBox(int Row) const;
    // Field of a layer-table column: lcDepth, lcMaxSideFriction ... lcLrfdTip.
    TDataEdit* Field(int Row, int Column) const;

    // The heading of a grid column (0 button, 1 soil type, 2 depth, 3 and 4 maxima, 5 and 6
    // LRFD factors), both lines joined by a line break.
    QString Heading(int Column) const;

    QTableWidget* LayerGrid;
    QPushButton* btnInsert;
    QPushButton* btnAdd;
    QPushButton* btnDelete;
    QCheckBox* chkConfirmDeletion;
    QPushButton* btnClose;
    // The note on the LRFD factor columns: the long form of the notes, shown under LRFD only.
    QLabel* lblLrfdNote;

public slots:
    void btnInsertClick();
    void btnAddClick();
    void btnDeleteClick();
    // Opens the modal layer dialog of a row and shows the layer again afterwards.
    void EditLayerClick(int Row);

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    struct TRowControls {
        QPushButton* Edit = nullptr;
        QComboBox* SoilType = nullptr;
        std::vector<TDataEdit*> Fields; // indexed by layer-table column; null for 0 and 2
    };
    void Rebuild();
    void EnableButtons();
    void SoilTypeChanged(int Row, int Index);

    std::vector<TRowControls> fRows;
    int fFocusRow = 0;
};
