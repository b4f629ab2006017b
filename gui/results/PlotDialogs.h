// The dialogs of the plot window: the graph title ("Graph Caption"), the curve names
// ("Legend"), the active curves ("Active Curves") and the size and colours of a saved picture
// ("Save Attributes"). Each works on copies and hands its result back after OK.
#pragma once

#include "gui/results/PlotPainter.h"

#include <QDialog>
#include <QStringList>
#include <vector>

class QButtonGroup;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QRadioButton;
class TDataEdit;
class TUserDialogs;

// The graph's user title and where it goes.
class TPlotTitleDialog : public QDialog {
    Q_OBJECT
public:
    TPlotTitleDialog(const QString& Caption, bool OnTop, QWidget* Parent = nullptr);
    QString Caption() const;
    bool OnTop() const;

    QLineEdit* edtCaption = nullptr;
    QRadioButton* rbTop = nullptr;
    QRadioButton* rbBottom = nullptr;
};

// New names for the curves: a list of every curve's name and an edit for the selected one.
class TPlotLegendDialog : public QDialog {
    Q_OBJECT
public:
    // Names of all curves in curve order; Dialogs answers the empty-name message.
    TPlotLegendDialog(const QStringList& Names, TUserDialogs& Dialogs, QWidget* Parent = nullptr);
    QStringList Names() const;

    // Stores the edit's text into the selected row; refuses an empty text with "The line must
    // have a name!" and gives the edit the row's name back.
    bool StoreEdit();
    // Shows the selected row's name in the edit, in that row's colour.
    void LoadEdit();

    QListWidget* lstNames = nullptr;
    QLineEdit* edtName = nullptr;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    TUserDialogs& fDialogs;
    int fEditRow = -1; // the row the edit belongs to
};

// Which curves are active: one row per curve, " yes : " or " no  : " and the name.
class TPlotActiveDialog : public QDialog {
    Q_OBJECT
public:
    TPlotActiveDialog(const QStringList& Names, const std::vector<bool>& Active,
                      QWidget* Parent = nullptr);
    std::vector<bool> Active() const { return fActive; }

    void ToggleRow(int Row);
    void ToggleSelected();
    void SetAll(bool Value);
    // The text of a row.
    static QString RowText(bool Active, const QString& Name);

    QListWidget* lstCurves = nullptr;

private:
    void Refresh(int Row);
    QStringList fNames;
    std::vector<bool> fActive;
};

// The size, resolution and colours of a picture saved to disk.
class TSaveAttributesDialog : public QDialog {
    Q_OBJECT
public:
    explicit TSaveAttributesDialog(TUserDialogs& Dialogs, QWidget* Parent = nullptr);
    // The values after OK (the entry fields have checked them).
    TPictureSize Size() const;
    TPictureColours Colours() const;

    TDataEdit* edtHeight = nullptr;
    TDataEdit* edtWidth = nullptr;
    TDataEdit* edtPpi = nullptr;
    QButtonGroup* grpColours = nullptr;

    void accept() override;
};
