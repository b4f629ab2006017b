// TDlgPileDiagrams: the "Combined Plots" dialog of the 3D view. It chooses whether the result
// diagrams are shown, which values (ultimate or ASD/LRFD), which curves, the maximum-value
// labels and the diagrams' size factor, which its up-down control steps 1-2-...-9 per decade.
// Kept on top of the main window. It works on the view's display options and tells the view of
// every change by OptionsChanged, on which the view redraws completely.
#pragma once

#include <QDialog>
#include <QDoubleSpinBox>

class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
struct TBlockOptions;

// The size-factor field: typed numbers are taken as they are, the arrows step 1-2-...-9.
class TSizeFactorBox : public QDoubleSpinBox {
    Q_OBJECT
public:
    explicit TSizeFactorBox(QWidget* Parent = nullptr);
    void stepBy(int Steps) override;
    QString textFromValue(double Value) const override;
    double valueFromText(const QString& Text) const override;
    QValidator::State validate(QString& Text, int& Pos) const override;

protected:
    StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }
};

class TDlgPileDiagrams : public QDialog {
    Q_OBJECT
public:
    // Options: the display options of the view, read and changed here; the view that holds
    // them deletes the dialog before they go.
    TDlgPileDiagrams(TBlockOptions& Options, QWidget* Owner);

    // Controls from the options.
    void LoadFromOptions();

    QCheckBox* ShowPlots = nullptr;
    QGroupBox* SelectPlots = nullptr;
    QRadioButton* UltimateEffects = nullptr;
    QRadioButton* DesignEffects = nullptr;
    QGroupBox* SelectResults = nullptr;
    QCheckBox* SkinFriction = nullptr;
    QCheckBox* TipResistance = nullptr;
    QCheckBox* TotalCapacity = nullptr;
    QGroupBox* OptionsBox = nullptr;
    QCheckBox* ShowMaximumValues = nullptr;
    TSizeFactorBox* SizeFactor = nullptr;
    QPushButton* CloseButton = nullptr;

signals:
    // The controls were written into the options.
    void OptionsChanged();

private:
    // Controls into the options, then OptionsChanged.
    void StoreToOptions();
    void EnableControls();
    void PlaceInOwner(QWidget* Owner);

    TBlockOptions& fOptions;
    bool fLoading = false;
};
