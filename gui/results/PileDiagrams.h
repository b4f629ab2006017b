// TDlgPileDiagrams: the "Combined Plots" dialog of the 3D view. It chooses whether the result
// diagrams are shown, which values (ultimate or ASD/LRFD), which curves, the maximum-value
// labels and the diagrams' size factor, which its up-down control steps 1-2-...-9 per decade.
// Kept on top of the main window; every change redraws the view completely.
#pragma once

#include <QDialog>
#include <QDoubleSpinBox>
#include <QPointer>

class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
class TDlgBlock;

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
    TDlgPileDiagrams(TDlgBlock& Block, QWidget* Owner);

    // Controls from the view's options.
    void LoadFromView();

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

private:
    // Controls into the view's options, then a complete redraw.
    void StoreToView();
    void EnableControls();
    void PlaceInOwner(QWidget* Owner);

    QPointer<TDlgBlock> fBlock;
    bool fLoading = false;
};
