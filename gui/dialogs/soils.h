// TDlgSoils: the modal dialog of one soil layer's parameters, the values at the top and at the
// bottom of the layer on the page of the layer's material (sand, clay or shale, strong rock,
// decomposed rock, weak rock, gravelly sand or gravel).
#pragma once

#include <QDialog>

#include <functional>
#include <vector>

class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QRadioButton;
class QTabWidget;
class TDataEdit;
class TProgramData;
class TUserDialogs;
class QVBoxLayout;

class TDlgSoils : public QDialog {
    Q_OBJECT

public:
    // Layer: the table row of the layer (0 = top layer).
    TDlgSoils(TProgramData& Project, TUserDialogs& Dialogs, int Layer, QWidget* Parent = nullptr);

    // The page of the layer's kind with the layer's values.
    void LoadFromProject();
    // Every field into the layer's parameter set (top into the first row, bottom into the
    // second); false, writing nothing, when a field fails its check.
    bool StoreToProject();
    // OK: the sand Ko check, then the write-back; the dialog stays open when either fails.
    // Cancel (and Escape, and the window's close button): the dialog's changes are discarded.
    void done(int Result) override;

    // The fields of a parameter-set column on the current page (Bottom false = top of layer);
    // null when the page has no field for the column.
    TDataEdit* Field(int Column, bool Bottom) const;
    QString PageTitle() const;

    std::function<void()> OnChanged;

    QTabWidget* pages;
    QLabel* lblTitle;
    QRadioButton* rbKoMethod;
    QRadioButton* rbBetaMethod;
    QRadioButton* rbChenMethod;
    QComboBox* cbConditionTop;
    QComboBox* cbConditionBottom;
    QPushButton* btnCopy;
    QPushButton* btnOK;
    QPushButton* btnCancel;

public slots:
    void btnCopyClick();
    // Enables the sand fields and shows the notes of the chosen side friction procedure.
    void SandProcedureClick();

private:
    struct TFieldPair {
        int Column;
        TDataEdit* Top;
        TDataEdit* Bottom;
    };
    struct TPage {
        QWidget* Widget = nullptr;
        QGridLayout* Grid = nullptr; // heading in rows 0 and 1, fields below
        QVBoxLayout* Box = nullptr;  // the grid, then the page's notes
        std::vector<TFieldPair> Fields;
    };
    enum TPageIndex { pgSand, pgClay, pgRock, pgDecomposed, pgWeakRock, pgGravel, PageCount };
    static TPageIndex PageOf(int SoilType);
    // A page with the fields (caption, column) of a kind, starting at grid row FirstRow.
    TPage& BuildPage(TPageIndex Index, const char* Name,
                     const std::vector<std::pair<const char*, int>>& Fields, int Kind,
                     int FirstRow = 2);
    // The pages of the constructor, in tab order, and the row of buttons below them.
    void BuildSandPage();
    void BuildClayPage();
    void BuildRockPage();
    void BuildDecomposedPage();
    void BuildWeakRockPage();
    void BuildGravelPage();
    QHBoxLayout* BuildButtons();
    const TPage& CurrentPage() const;
    // With the Ko procedure both Ko values must be positive; reports and returns false if not.
    bool KoCheck();

    TProgramData& fProject;
    TUserDialogs& fDialogs;
    int fLayer;
    TPage fPages[PageCount];
    QLabel* fNoteBetaEstimate = nullptr;
    QLabel* fNoteFrictionIgnored = nullptr;
    QLabel* fNoteM = nullptr;
    QLabel* fNoteFrictionEstimate = nullptr;
};
